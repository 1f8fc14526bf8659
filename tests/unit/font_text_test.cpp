// Reading characters from UTF-8 and byte texts, and the text hash.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/sdf_font.h"

namespace {

// Decodes a whole text; stops at the first refusal like the layout does.
std::vector<uint32_t> Decode(const char* text, bool byteText = false) {
    std::vector<uint32_t> codes;
    uint32_t pos = 0, code = 0;
    while (DecodeTextChar(text, &pos, byteText, &code))
        codes.push_back(code);
    return codes;
}

const char kRate[] =
    "O\xD1\x86"
    "e\xD0\xBD\xD0\xB8\xD1\x82\xD1\x8C";  // the Rate text, Latin O and e

TEST(FontChars, DecodesEachSequenceLength) {
    EXPECT_EQ(Decode("Az"), (std::vector<uint32_t>{'A', 'z'}));
    EXPECT_EQ(Decode("\xD0\x96"), (std::vector<uint32_t>{0x416}));            // 2 bytes
    EXPECT_EQ(Decode("\xE2\x82\xAC"), (std::vector<uint32_t>{0x20AC}));       // 3 bytes
    EXPECT_EQ(Decode("\xEF\xBF\xBD"), (std::vector<uint32_t>{0xFFFD}));       // EF lead
    EXPECT_EQ(Decode("\xF1\x80\x80\x81"), (std::vector<uint32_t>{0x40001}));  // 4 bytes
    EXPECT_EQ(Decode(kRate), (std::vector<uint32_t>{'O', 0x446, 'e', 0x43D, 0x438, 0x442, 0x44C}));
}

TEST(FontChars, RefusedSequencesEndTheText) {
    // Leads the decoder refuses outright, each followed by what would be a valid tail.
    const char* refused[] = {
        "A\x80"
        "B",  // a lone continuation byte
        "A\xC0\x80"
        "B",  // overlong two-byte leads
        "A\xC1\xBF"
        "B",
        "A\xE0\xA0\x80"
        "B",  // E0 and ED are refused as a whole
        "A\xED\x9F\xBF"
        "B",
        "A\xF0\x90\x80\x80"
        "B",  // F0 and F4 too
        "A\xF4\x80\x80\x80"
        "B",
        "A\xF5\x80\x80\x80"
        "B",  // beyond any lead
        "A\xFF"
        "B",
        "A\xD0"
        "B",  // continuation missing
        "A\xE2\x82"
        "B",
        "A\xF1\x80\x80",  // cut short by the end of the text
    };
    for (const char* text : refused) {
        EXPECT_EQ(Decode(text), (std::vector<uint32_t>{'A'})) << testing::PrintToString(text);
    }
    // A refusal leaves the position where it was.
    uint32_t pos = 0, code = 0;
    EXPECT_FALSE(DecodeTextChar("\xC0\x80", &pos, false, &code));
    EXPECT_EQ(pos, 0u);
    EXPECT_FALSE(DecodeTextChar("", &pos, false, &code));
}

TEST(FontChars, ByteTextMakesEveryByteACharacter) {
    EXPECT_EQ(Decode("\xD0\x96", true), (std::vector<uint32_t>{0xD0, 0x96}));
    EXPECT_EQ(Decode("\xFF\x80", true), (std::vector<uint32_t>{0xFF, 0x80}));
}

TEST(FontChars, CountsCharactersNotBytes) {
    EXPECT_EQ(CountTextChars(kRate, false), 7u);
    EXPECT_EQ(CountTextChars(kRate, true), 12u);
    EXPECT_EQ(CountTextChars("", false), 0u);
    EXPECT_EQ(CountTextChars(nullptr, false), 0u);
    // Continuation bytes never count, even stray ones.
    EXPECT_EQ(CountTextChars("\x80\x80"
                             "A",
                             false),
              1u);
}

TEST(FontChars, HashOfKnownTexts) {
    EXPECT_EQ(TextHash(""), 1315423911u);
    EXPECT_EQ(TextHash("Themes"), 3135466913u);
    EXPECT_EQ(TextHash(kRate), 1592131696u);
    EXPECT_NE(TextHash("Themes"), TextHash("themes"));
}

}  // namespace
