// The settings and points files: their exact bytes, the lines other systems
// write, damaged values, and writes that fail.
#include <gtest/gtest.h>

#include <string>

#include "puzzles/board_state.h"
#include "storage/decimal.h"
#include "storage/settings.h"
#include "tests/support/test_host.h"
#include "tests/unit/storage_faults.h"

namespace {

using testsupport::BoundHost;
using testsupport::FileExists;
using testsupport::ReadFile;
using testsupport::WriteFile;

class SettingsFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        color_schema = 0;
        rate_redirected = 0;
        points = 0;
        ASSERT_TRUE(PrepareStorage());
    }
    std::string Settings() const { return host.Path(kSettingsPath); }
    std::string Points() const { return host.Path(kPointsPath); }

    BoundHost host;
};

TEST(Decimal, ParsesDigitsAndSaturatesLongRuns) {
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("0"), 0);
    EXPECT_EQ(ParseDecimal("7"), 7);
    EXPECT_EQ(ParseDecimal("0042"), 42);
    EXPECT_EQ(ParseDecimal("2147483647"), 2147483647);
    EXPECT_EQ(ParseDecimal("2147483648"), 2147483647);
    EXPECT_EQ(ParseDecimal("99999999999999999999999999"), 2147483647);
    // Only digits count: no sign, nothing after the first other character.
    EXPECT_EQ(ParseDecimal("-1"), 0);
    EXPECT_EQ(ParseDecimal("12a5"), 12);
    EXPECT_EQ(ParseDecimal(" 3"), 0);
}

TEST(Decimal, FormatsEveryDigitAndNeverANegative) {
    char buffer[kDecimalBufferSize];
    struct Case {
        int32_t value;
        const char* text;
    };
    const Case cases[] = {{0, "0"},       {9, "9"},
                          {10, "10"},     {100, "100"},
                          {1203, "1203"}, {2147483647, "2147483647"},
                          {-1, "0"},      {-2147483647 - 1, "0"}};
    for (const Case& c : cases) {
        EXPECT_EQ(FormatDecimal(c.value, buffer, sizeof buffer),
                  static_cast<int32_t>(std::string(c.text).size()));
        EXPECT_STREQ(buffer, c.text) << c.value;
        EXPECT_EQ(ParseDecimal(buffer), c.value < 0 ? 0 : c.value);
    }
    char small[3];
    EXPECT_EQ(FormatDecimal(100, small, sizeof small), 0);
    EXPECT_STREQ(small, "");
    EXPECT_EQ(FormatDecimal(99, small, sizeof small), 2);
    EXPECT_STREQ(small, "99");
}

TEST_F(SettingsFiles, WritesExactBytesAndReadsThemBack) {
    color_schema = 2;
    rate_redirected = 1;
    ASSERT_TRUE(WriteSettings());
    EXPECT_EQ(ReadFile(Settings()), "color_schema=2\nrate_redirected=1\n");
    points = 1234;
    ASSERT_TRUE(WritePoints());
    EXPECT_EQ(ReadFile(Points()), "1234\n");

    color_schema = 0;
    rate_redirected = 0;
    points = 0;
    EXPECT_TRUE(ReadSettings());
    EXPECT_TRUE(ReadPoints());
    EXPECT_EQ(color_schema, 2);
    EXPECT_EQ(rate_redirected, 1);
    EXPECT_EQ(points, 1234);
    EXPECT_FALSE(FileExists(Settings() + ".tmp"));
}

TEST_F(SettingsFiles, MissingFilesGiveTheDefaults) {
    color_schema = 2;
    points = 9;
    EXPECT_FALSE(ReadSettings());
    EXPECT_FALSE(ReadPoints());
    EXPECT_EQ(color_schema, 0);
    EXPECT_EQ(rate_redirected, 0);
    EXPECT_EQ(points, 0);
}

TEST_F(SettingsFiles, ReadsOtherSystemsLinesAndLetsTheLastLineWin) {
    WriteFile(Settings(), "color_schema=1\r\nrate_redirected=1\r\n");
    ReadSettings();
    EXPECT_EQ(color_schema, 1);
    EXPECT_EQ(rate_redirected, 1);

    rate_redirected = 0;
    WriteFile(Settings(), "color_schema=2\nother=5\nno equals sign\n=3\ncolor_schema=1");
    ReadSettings();
    EXPECT_EQ(color_schema, 1);
    EXPECT_EQ(rate_redirected, 0);

    // Values keep their low 8 bits; a value outside 0-2 stays as read.
    WriteFile(Settings(), "color_schema=258\n");
    ReadSettings();
    EXPECT_EQ(color_schema, 2);
    WriteFile(Settings(), "color_schema=7\n");
    ReadSettings();
    EXPECT_EQ(color_schema, 7);
}

TEST_F(SettingsFiles, ReadsWholeLinesAndNothingPastWhatTheGameCouldHaveWritten) {
    // A long line is judged whole; past the first 64 bytes nothing is read.
    WriteFile(Settings(), "color_schema=0000000000000000000000000002\nrate_redirected=1\n" +
                              std::string(200, 'x') + "\ncolor_schema=1\n");
    ReadSettings();
    EXPECT_EQ(color_schema, 2);
    EXPECT_EQ(rate_redirected, 1);
}

TEST_F(SettingsFiles, PointsFileVariants) {
    struct Case {
        const char* bytes;
        int32_t points;
    };
    const Case cases[] = {
        {"7", 7},
        {"", 0},
        {"12\r\n", 12},
        {"3\n5\n", 5},
        {"5\n\n\n", 5},
        {"garbage\n", 0},
        {"-4\n", 0},
        {"99999999999999\n", 2147483647},
        {"000000000000000000000000000017\n", 17},
        {"\x01\xff\x80", 0},
    };
    for (const Case& c : cases) {
        WriteFile(Points(), c.bytes);
        points = 77;
        ReadPoints();
        EXPECT_EQ(points, c.points) << c.bytes;
    }
}

TEST_F(SettingsFiles, FailedWritesKeepTheOldFiles) {
    color_schema = 1;
    points = 3;
    ASSERT_TRUE(WriteSettings());
    ASSERT_TRUE(WritePoints());
    storagefaults::FaultyStorage storage;

    color_schema = 2;
    points = 4;
    // Interrupted between the temporary file and the rename, a cut-short write, a
    // failed flush, and a storage that cannot be written at all.
    const auto faults = {&storagefaults::Faults::failRename, &storagefaults::Faults::shortWrite,
                         &storagefaults::Faults::failFlush,
                         &storagefaults::Faults::refuseWriteOpen};
    for (auto fault : faults) {
        storage.faults() = storagefaults::Faults();
        storage.faults().*fault = true;
        EXPECT_FALSE(WriteSettings());
        EXPECT_FALSE(WritePoints());
        EXPECT_EQ(ReadFile(Settings()), "color_schema=1\nrate_redirected=0\n");
        EXPECT_EQ(ReadFile(Points()), "3\n");
        EXPECT_FALSE(FileExists(Settings() + ".tmp"));
        EXPECT_FALSE(FileExists(Points() + ".tmp"));
    }
    // The values in memory are kept for the next attempt.
    EXPECT_EQ(color_schema, 2);
    EXPECT_EQ(points, 4);
    storage.faults() = storagefaults::Faults();
    EXPECT_TRUE(WriteSettings());
    EXPECT_EQ(ReadFile(Settings()), "color_schema=2\nrate_redirected=0\n");
}

}  // namespace
