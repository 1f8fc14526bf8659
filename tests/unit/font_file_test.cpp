// Loading the font file: what a good file gives, and clean failures for every
// kind of damaged file.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_host.h"
#include "tests/unit/font_synthetic.h"
#include "text/sdf_font.h"

namespace {

using fonttest::FontBytes;
using fonttest::FontFileParts;

class FontFile : public ::testing::Test {
  protected:
    void SetUp() override {
        font = CreateFont();
        path = fonttest::WriteSyntheticFont(host.DataDir());
    }
    void TearDown() override { DestroyFont(font); }

    // Replaces the font file's bytes and loads it.
    bool LoadBytes(const std::string& bytes) {
        testsupport::WriteFile(host.DataDir() + "/fonts/synth.fnt", bytes);
        return LoadFont(font, path.c_str());
    }
    void ExpectUnusable() {
        EXPECT_FALSE(font->loaded);
        EXPECT_EQ(font->pages, nullptr);
        EXPECT_EQ(font->glyphs, nullptr);
        EXPECT_EQ(font->glyphCount, 0);
        float w = -1.0f, h = -1.0f;
        MeasureText(font, "AB", &w, &h);
        EXPECT_EQ(w, 0.0f);
        EXPECT_EQ(h, 0.0f);
    }

    testsupport::BoundHost host;
    SdfFont* font = nullptr;
    std::string path;
};

TEST_F(FontFile, GoodFileGivesHeaderGlyphsPagesAndDefaults) {
    ASSERT_TRUE(LoadFont(font, path.c_str()));
    EXPECT_TRUE(font->loaded);
    EXPECT_EQ(font->fontSize, 20);
    EXPECT_EQ(font->lineHeight, 25);
    EXPECT_EQ(font->smoothRef, 4);
    EXPECT_EQ(font->pageCount, 2);
    ASSERT_EQ(font->glyphCount, 6);
    EXPECT_STREQ(font->pages[1].name, "synth_1.png");
    ASSERT_NE(font->pages[1].texture, nullptr);

    const SdfGlyph& b = font->glyphs[1];  // 'B' at (12, 0), 10 x 20 on 64 x 64
    EXPECT_EQ(b.code, static_cast<uint32_t>('B'));
    const float expected[8] = {12 / 64.f, 0.f,       12 / 64.f, 20 / 64.f,
                               22 / 64.f, 20 / 64.f, 22 / 64.f, 0.f};
    for (int i = 0; i < 8; ++i)
        EXPECT_FLOAT_EQ(b.uv[i], expected[i]) << i;
    EXPECT_EQ(font->glyphs[0].xOffset, 1);
    EXPECT_EQ(font->glyphs[0].yOffset, 2);
    EXPECT_EQ(font->glyphs[5].page, 1);

    EXPECT_EQ(font->scale, 1.0f);
    EXPECT_EQ(font->lineSpacing, 1.0f);
    EXPECT_EQ(font->colour, 0xFFFFFFFFu);
    EXPECT_EQ(font->outlineColour, 0xFF000000u);
    EXPECT_EQ(font->smoothing, kSmoothingAuto);
    EXPECT_FLOAT_EQ(font->outlineWidth, 0.15f);
    EXPECT_EQ(font->byteText, 0);
    EXPECT_EQ(font->batch, nullptr);
}

TEST_F(FontFile, MissingFileOrPathFails) {
    EXPECT_FALSE(LoadFont(font, "fonts/none.fnt"));
    ExpectUnusable();
    EXPECT_FALSE(LoadFont(font, nullptr));
    EXPECT_FALSE(LoadFont(nullptr, path.c_str()));
}

TEST_F(FontFile, ShortOrLyingFilesFailCleanly) {
    const std::string good = FontBytes(FontFileParts());
    // Cut inside the header, the page records and the last glyph record.
    for (size_t cut :
         {size_t(0), size_t(10), size_t(16 + 30), size_t(16 + 136 + 5), good.size() - 1}) {
        SCOPED_TRACE(cut);
        EXPECT_FALSE(LoadBytes(good.substr(0, cut)));
        ExpectUnusable();
    }
    // Counts that claim more records than the file holds.
    FontFileParts lying;
    lying.header[7] = 9;
    EXPECT_FALSE(LoadBytes(FontBytes(lying)));
    ExpectUnusable();
    lying = FontFileParts();
    lying.header[6] = 40;  // the glyph records are then read as pages, and run out
    EXPECT_FALSE(LoadBytes(FontBytes(lying)));
    ExpectUnusable();
}

TEST_F(FontFile, ZeroCountsOrTextureSizeFail) {
    for (int field : {4, 5, 6, 7}) {
        SCOPED_TRACE(field);
        FontFileParts parts;
        parts.header[field] = 0;
        if (field == 6) parts.pageNames.clear();
        if (field == 7) parts.glyphs.clear();
        EXPECT_FALSE(LoadBytes(FontBytes(parts)));
        ExpectUnusable();
    }
}

TEST_F(FontFile, BadPagesFail) {
    FontFileParts parts;
    parts.glyphs[2].page = 2;  // only pages 0 and 1 exist
    EXPECT_FALSE(LoadBytes(FontBytes(parts)));
    ExpectUnusable();

    parts = FontFileParts();
    parts.pageNames[0] = std::string(64, 'p') + "ng\0\0";  // no zero inside 64 bytes
    EXPECT_FALSE(LoadBytes(FontBytes(parts)));
    ExpectUnusable();

    parts = FontFileParts();
    parts.pageNames[1] = "";
    EXPECT_FALSE(LoadBytes(FontBytes(parts)));
    ExpectUnusable();

    parts = FontFileParts();
    parts.pageNames[1] = "missing.png";
    EXPECT_FALSE(LoadBytes(FontBytes(parts)));
    ExpectUnusable();

    // A page whose size is not the header's would misplace every glyph.
    fonttest::WritePage(host.DataDir() + "/fonts/synth_1.png", 1, 32);
    EXPECT_FALSE(LoadBytes(FontBytes(FontFileParts())));
    ExpectUnusable();
}

TEST_F(FontFile, GlyphRectangleOutsideTheTextureFails) {
    FontFileParts parts;
    parts.glyphs[0].x = 60;  // 60 + 10 > 64
    EXPECT_FALSE(LoadBytes(FontBytes(parts)));
    ExpectUnusable();
    parts = FontFileParts();
    parts.glyphs[3].y = 41;  // 41 + 24 > 64
    EXPECT_FALSE(LoadBytes(FontBytes(parts)));
    ExpectUnusable();
    parts = FontFileParts();
    parts.glyphs[0].x = 54;  // 54 + 10 == 64 is still inside
    EXPECT_TRUE(LoadBytes(FontBytes(parts)));
}

TEST_F(FontFile, FailedReloadClearsTheOldFont) {
    ASSERT_TRUE(LoadFont(font, path.c_str()));
    font->scale = 2.0f;
    EXPECT_FALSE(LoadBytes("short"));
    ExpectUnusable();
    EXPECT_EQ(font->scale, 0.0f);
    // And a good file loads again afterwards.
    EXPECT_TRUE(LoadBytes(FontBytes(FontFileParts())));
}

TEST_F(FontFile, PagesAreFoundBesideAFontWithoutDirectory) {
    testsupport::WriteFile(host.DataDir() + "/top.fnt", FontBytes(FontFileParts()));
    fonttest::WritePage(host.DataDir() + "/synth_0.png", 0);
    fonttest::WritePage(host.DataDir() + "/synth_1.png", 1);
    EXPECT_TRUE(LoadFont(font, "top.fnt"));
}

TEST(FontFileShipped, GameFontLoadsWithLatinAndCyrillic) {
    testsupport::BoundHost host(testsupport::GameDataDir());
    SdfFont* font = CreateFont();
    ASSERT_TRUE(LoadFont(font, "images/calibri_new.fnt"));
    int found = 0;
    const uint32_t needed[] = {'A', 'z', '0',   '9',   '(',   ')',  '/',
                               '&', 'x', 0x401, 0x410, 0x44F, 0x451};
    for (uint32_t code : needed) {
        for (uint16_t i = 0; i < font->glyphCount; ++i) {
            if (font->glyphs[i].code == code) {
                ++found;
                break;
            }
        }
    }
    EXPECT_EQ(found, static_cast<int>(sizeof needed / sizeof needed[0]));
    EXPECT_GT(font->smoothRef, 0);
    EXPECT_GT(font->lineHeight, font->fontSize);
    DestroyFont(font);
}

}  // namespace
