// The shared host services as the game calls them: input latched between
// updates, the two file roots, options and screenshots.
#include <gtest/gtest.h>
#include <png.h>
#include <stdlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "hosts/common/host.h"
#include "hosts/common/options.h"
#include "hosts/common/png_writer.h"
#include "platform/s3e.h"
#include "storage/file_replace.h"
#include "tests/support/test_host.h"

namespace {

TEST(HostInput, PressAndReleaseBetweenTwoUpdatesAreBothSeenOnce) {
    testsupport::BoundHost bound;
    host::PointerDown(5, 6);
    host::PointerUp(7, 8);
    s3ePointerUpdate();
    EXPECT_EQ(s3ePointerGetState(0), S3E_POINTER_STATE_PRESSED | S3E_POINTER_STATE_RELEASED);
    EXPECT_EQ(s3ePointerGetX(), 7);
    EXPECT_EQ(s3ePointerGetY(), 8);
    s3ePointerUpdate();
    EXPECT_EQ(s3ePointerGetState(0), 0);
    // Only button 0 exists.
    host::PointerDown(1, 1);
    s3ePointerUpdate();
    EXPECT_EQ(s3ePointerGetState(1), 0);
    // A second down while down is no new press.
    host::PointerDown(2, 2);
    s3ePointerUpdate();
    EXPECT_EQ(s3ePointerGetState(0), S3E_POINTER_STATE_DOWN);

    // Two quick taps before the game looks: the first tap's release is read
    // where it happened, the second tap comes whole in the next update.
    host::PointerUp(2, 2);
    host::PointerDown(40, 50);
    host::PointerUp(41, 51);
    EXPECT_TRUE(host::PointerStepsWaiting());
    s3ePointerUpdate();
    EXPECT_EQ(s3ePointerGetState(0), S3E_POINTER_STATE_RELEASED);
    EXPECT_EQ(s3ePointerGetX(), 2);
    s3ePointerUpdate();
    EXPECT_EQ(s3ePointerGetState(0), S3E_POINTER_STATE_PRESSED | S3E_POINTER_STATE_RELEASED);
    EXPECT_EQ(s3ePointerGetX(), 41);
    EXPECT_FALSE(host::PointerStepsWaiting());
}

TEST(HostInput, KeysLatchUntilTheNextUpdateAndOutOfRangeIsIgnored) {
    testsupport::BoundHost bound;
    host::KeyDown(s3eKeyEsc);
    EXPECT_EQ(s3eKeyboardGetState(s3eKeyEsc), 0);  // not before the update
    s3eKeyboardUpdate();
    EXPECT_EQ(s3eKeyboardGetState(s3eKeyEsc), S3E_KEY_STATE_DOWN | S3E_KEY_STATE_PRESSED);
    s3eKeyboardUpdate();
    EXPECT_EQ(s3eKeyboardGetState(s3eKeyEsc), S3E_KEY_STATE_DOWN);
    host::KeyUp(s3eKeyEsc);
    host::KeyUp(s3eKeyF1);  // never down: no release
    s3eKeyboardUpdate();
    EXPECT_EQ(s3eKeyboardGetState(s3eKeyEsc), S3E_KEY_STATE_RELEASED);
    EXPECT_EQ(s3eKeyboardGetState(s3eKeyF1), 0);
    host::KeyDown(-1);
    host::KeyDown(S3E_KEY_COUNT);
    host::TouchDown(S3E_POINTER_TOUCH_MAX, 1, 1);
    EXPECT_EQ(s3eKeyboardGetState(S3E_KEY_COUNT), 0);
    EXPECT_EQ(s3ePointerGetTouchState(S3E_POINTER_TOUCH_MAX), 0);
    EXPECT_EQ(s3ePointerGetTouchState(-1), 0);
}

TEST(HostFiles, GameDataIsReadOnlyAndDocumentsWritable) {
    testsupport::BoundHost bound;
    ASSERT_TRUE(testsupport::WriteFile(bound.Path("tasks/a.dmp"), "1 2\n"));
    s3eFile* f = s3eFileOpen("tasks/a.dmp", "r");
    ASSERT_NE(f, nullptr);
    char line[16];
    EXPECT_STREQ(s3eFileReadString(line, sizeof line, f), "1 2\n");
    s3eFileClose(f);
    EXPECT_EQ(s3eFileOpen("tasks/a.dmp", "w"), nullptr);
    EXPECT_NE(s3eFileDelete("tasks/a.dmp"), S3E_RESULT_SUCCESS);
    EXPECT_TRUE(testsupport::FileExists(bound.Path("tasks/a.dmp")));

    ASSERT_EQ(s3eFileMakeDirectory("Documents/black/d1010"), S3E_RESULT_SUCCESS);
    EXPECT_EQ(s3eFileGetFileInt("Documents/black/d1010", S3E_FILE_ISDIR), 1);
    f = s3eFileOpen("Documents/black/d1010/x.cel", "w");
    ASSERT_NE(f, nullptr);
    // Binary bytes pass untranslated, even in mode "w".
    EXPECT_EQ(s3eFileWrite("a\r\nb\0c", 1, 6, f), 6u);
    s3eFileClose(f);
    EXPECT_EQ(testsupport::ReadFile(bound.Path("Documents/black/d1010/x.cel")),
              std::string("a\r\nb\0c", 6));
    // A file in Documents shadows nothing of the game data and vice versa.
    EXPECT_FALSE(s3eFileCheckExists("Documents/tasks/a.dmp"));
}

int documentsChanges = 0;

// A host whose storage is not durable by itself (the browser) persists the
// player's data when told it changed: after every completed save the game
// makes (ReplaceFile: write, close, rename), never for reads or refusals.
TEST(HostFiles, CompletedChangesToThePlayersDataAreReported) {
    host::HostHooks hooks;
    hooks.documentsChanged = [] { ++documentsChanges; };
    testsupport::BoundHost bound(std::string(), hooks);
    documentsChanges = 0;

    EXPECT_EQ(s3eFileMakeDirectory("Documents/conf"), S3E_RESULT_SUCCESS);
    EXPECT_EQ(documentsChanges, 1);
    EXPECT_TRUE(ReplaceFile("Documents/conf/conf.cfg", "color_schema=1\n", 15));
    const int afterSave = documentsChanges;
    EXPECT_GE(afterSave, 3);  // the temporary file closed, then renamed

    s3eFile* f = s3eFileOpen("Documents/conf/conf.cfg", "rb");
    ASSERT_NE(f, nullptr);
    char text[32] = {};
    s3eFileReadString(text, sizeof text, f);
    s3eFileClose(f);
    EXPECT_STREQ(text, "color_schema=1\n");
    EXPECT_EQ(s3eFileOpen("Documents/missing", "rb"), nullptr);
    EXPECT_EQ(s3eFileDelete("Documents/missing"), S3E_RESULT_ERROR);
    EXPECT_EQ(s3eFileRename("Documents/missing", "Documents/other"), S3E_RESULT_ERROR);
    EXPECT_EQ(s3eFileMakeDirectory("images/new"), S3E_RESULT_ERROR);
    EXPECT_EQ(documentsChanges, afterSave);

    EXPECT_EQ(s3eFileDelete("Documents/conf/conf.cfg"), S3E_RESULT_SUCCESS);
    EXPECT_EQ(documentsChanges, afterSave + 1);
}

TEST(HostFiles, UnsafePathsResolveToNothing) {
    testsupport::BoundHost bound;
    for (const char* p : {"", "/etc/passwd", "../x", "Documents/../tasks", "tasks//a", "tasks/./a",
                          "Documents/", "tasks/.."}) {
        EXPECT_EQ(host::ResolvePath(p, false), "") << p;
        EXPECT_EQ(s3eFileOpen(p, "r"), nullptr) << p;
    }
    EXPECT_EQ(host::ResolvePath("Documentsx/a", true), "");  // not the Documents root
    EXPECT_EQ(host::ResolvePath(nullptr, false), "");
    EXPECT_EQ(host::ResolvePath("Documents/conf/conf.cfg", true),
              bound.DocumentsDir() + "/conf/conf.cfg");
}

TEST(HostOptions, SizesSystemsAndLanguages) {
    int32_t w = 0, h = 0;
    EXPECT_TRUE(host::ParseSize("480x800", &w, &h));
    EXPECT_EQ(w, 480);
    EXPECT_EQ(h, 800);
    for (const char* bad : {"", "480", "480x", "x800", "0x800", "480x0", "480X800", "-4x8",
                            "480x800x2", "9000x100", "4 80x800", "99999999999x1"}) {
        EXPECT_FALSE(host::ParseSize(bad, &w, &h)) << bad;
    }
    EXPECT_EQ(w, 480);  // failures leave the values alone

    int32_t os = 0;
    EXPECT_TRUE(host::ParseOs("ios", &os) && os == 14);
    EXPECT_TRUE(host::ParseOs("android", &os) && os == 18);
    EXPECT_TRUE(host::ParseOs("desktop", &os) && os == 3);
    EXPECT_FALSE(host::ParseOs("windows", &os));
    int32_t lang = 0;
    EXPECT_TRUE(host::ParseLanguage("ru", &lang) && lang == 16);
    EXPECT_TRUE(host::ParseLanguage("en", &lang) && lang == host::kLanguageEnglish);
    EXPECT_FALSE(host::ParseLanguage("de", &lang));

    EXPECT_EQ(host::LanguageOfLocale("ru_RU.UTF-8"), 16);
    EXPECT_EQ(host::LanguageOfLocale("en_GB.UTF-8"), host::kLanguageEnglish);
    EXPECT_EQ(host::LanguageOfLocale("C"), host::kLanguageEnglish);
    EXPECT_EQ(host::LanguageOfLocale(nullptr), host::kLanguageEnglish);
}

TEST(HostOptions, LocaleVariablesInTheirOrder) {
    struct Saved {
        const char* name;
        std::string value;
        bool set;
    } saved[] = {{"LC_ALL", "", false}, {"LC_MESSAGES", "", false}, {"LANG", "", false}};
    for (auto& s : saved) {
        if (const char* v = getenv(s.name)) s.value = v, s.set = true;
    }
    setenv("LANG", "ru_RU.UTF-8", 1);
    setenv("LC_MESSAGES", "", 1);  // empty counts as unset
    unsetenv("LC_ALL");
    EXPECT_EQ(host::LanguageFromEnvironment(), 16);
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(host::LanguageFromEnvironment(), host::kLanguageEnglish);
    for (auto& s : saved) {
        if (s.set) {
            setenv(s.name, s.value.c_str(), 1);
        } else {
            unsetenv(s.name);
        }
    }
}

// ---------------------------------------------------------------------------

std::vector<uint8_t> ReadPngRgb(const std::string& path, int* w, int* h) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> px(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, px.data(), 0, nullptr)) return {};
    *w = static_cast<int>(image.width);
    *h = static_cast<int>(image.height);
    return px;
}

TEST(HostPng, GlRowsComeOutTopFirstAndOpaque) {
    std::string dir = testsupport::MakeTempDir();
    // Two rows as GL reads them: bottom row (red) first, then the top row (half-transparent blue).
    const uint8_t rgba[] = {255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 10, 0, 0, 255, 10};
    std::string error;
    ASSERT_TRUE(host::WritePng(dir + "/a.png", rgba, 2, 2, true, &error)) << error;
    int w = 0, h = 0;
    std::vector<uint8_t> px = ReadPngRgb(dir + "/a.png", &w, &h);
    ASSERT_EQ(px.size(), 12u);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);
    EXPECT_EQ((std::vector<uint8_t>(px.begin(), px.begin() + 3)),
              (std::vector<uint8_t>{0, 0, 255}));
    EXPECT_EQ((std::vector<uint8_t>(px.begin() + 6, px.begin() + 9)),
              (std::vector<uint8_t>{255, 0, 0}));
    ASSERT_TRUE(host::WritePng(dir + "/b.png", rgba, 2, 2, false, &error));
    px = ReadPngRgb(dir + "/b.png", &w, &h);
    ASSERT_EQ(px.size(), 12u);
    EXPECT_EQ(px[0], 255);
    testsupport::RemoveTree(dir);
}

TEST(HostPng, AFailedWriteKeepsTheOldFile) {
    std::string dir = testsupport::MakeTempDir();
    const uint8_t rgba[4] = {1, 2, 3, 255};
    std::string error;
    EXPECT_FALSE(host::WritePng(dir + "/missing/a.png", rgba, 1, 1, true, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(host::WritePng(dir + "/a.png", rgba, 0, 1, true, &error));
    EXPECT_FALSE(host::WritePng(dir + "/a.png", nullptr, 1, 1, true, &error));
    // The target is a directory: the new picture cannot replace it, and no part file is left.
    ASSERT_TRUE(testsupport::WriteFile(dir + "/d.png/keep", "x"));
    EXPECT_FALSE(host::WritePng(dir + "/d.png", rgba, 1, 1, true, &error));
    EXPECT_TRUE(testsupport::FileExists(dir + "/d.png/keep"));
    EXPECT_FALSE(testsupport::FileExists(dir + "/d.png.part"));
    testsupport::RemoveTree(dir);
}

}  // namespace
