// The palette and its themes, the language choice, numbers as text, the image
// set's files, and the text-fitting search with its stop rules.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "services/device.h"
#include "tests/support/test_host.h"
#include "tests/unit/font_synthetic.h"
#include "text/sdf_font.h"
#include "ui/images.h"
#include "ui/look.h"
#include "ui/text_fit.h"

namespace {

bool SamePalette(const Palette& a, const Palette& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(LookColours, WordsAreAlphaBlueGreenRed) {
    EXPECT_EQ(MakeColour(0x11, 0x22, 0x33, 0x44), 0x44332211u);
    EXPECT_EQ(MakeColour(236, 240, 241), 0xFFF1F0ECu);
    EXPECT_EQ(MakeColour(0, 0, 255), kColourBlue);
}

TEST(LookPalette, ThemesChangeOnlyTheirFourEntries) {
    ApplyColorSchema(kSchemaLight);
    const Palette light = palette;
    EXPECT_EQ(light.background, MakeColour(236, 240, 241));
    EXPECT_EQ(light.listText, MakeColour(39, 146, 58));
    EXPECT_EQ(light.listLine, MakeColour(21, 126, 251));
    EXPECT_EQ(light.iconTint, 0xFFFFFFFFu);
    EXPECT_EQ(light.footerFill, 0xFFFFFFFFu);
    EXPECT_EQ(light.footerLine, MakeColour(100, 100, 100));
    EXPECT_EQ(light.scrollTrack, MakeColour(255, 255, 255));
    EXPECT_EQ(light.scrollThumb, MakeColour(30, 144, 255));
    EXPECT_EQ(light.clueBand, MakeColour(200, 200, 200));
    EXPECT_EQ(light.filledCell, MakeColour(30, 30, 30));
    EXPECT_EQ(light.gridLine, MakeColour(100, 100, 100));
    EXPECT_EQ(light.clueText, MakeColour(0, 0, 0));
    EXPECT_EQ(light.crossMark, MakeColour(10, 10, 10));

    ApplyColorSchema(kSchemaDark);
    Palette dark = palette;
    EXPECT_EQ(dark.background, MakeColour(60, 74, 89));
    EXPECT_EQ(dark.listText, MakeColour(236, 240, 241));
    EXPECT_EQ(dark.listLine, MakeColour(236, 240, 241));
    EXPECT_EQ(dark.iconTint, 0xAAFFFFFFu);

    ApplyColorSchema(kSchemaGrey);
    Palette grey = palette;
    EXPECT_EQ(grey.background, MakeColour(140, 140, 140));
    EXPECT_EQ(grey.listText, MakeColour(236, 240, 241));
    EXPECT_EQ(grey.listLine, MakeColour(100, 100, 100));
    EXPECT_EQ(grey.iconTint, 0xAAAAAAAAu);

    // Apart from the four themed entries, every theme is the same.
    for (Palette* p : {&dark, &grey}) {
        p->background = light.background;
        p->listText = light.listText;
        p->listLine = light.listLine;
        p->iconTint = light.iconTint;
        EXPECT_TRUE(SamePalette(*p, light));
    }
    ApplyColorSchema(kSchemaLight);
    EXPECT_TRUE(SamePalette(palette, light));
}

TEST(LookPalette, UnknownIndicesGiveLight) {
    ApplyColorSchema(kSchemaLight);
    const Palette light = palette;
    for (int32_t index : {7, 3, -1, 0x7FFFFFFF}) {
        ApplyColorSchema(kSchemaDark);
        ApplyColorSchema(index);
        EXPECT_TRUE(SamePalette(palette, light)) << index;
    }
}

TEST(LookLanguage, OnlySixteenIsRussian) {
    device = MakeDeviceFacts(0, 16);
    EXPECT_TRUE(device.russian);
    EXPECT_STREQ(LocalText("Help", "ru"), "ru");
    for (int32_t language : {0, 2, 15, 17, 21}) {
        device = MakeDeviceFacts(0, language);
        EXPECT_FALSE(device.russian) << language;
    }
    EXPECT_STREQ(LocalText("Help", "ru"), "Help");
}

TEST(LookImages, FourteenFilesInLoadingOrder) {
    EXPECT_STREQ(ImageSetPath(0), "images/back.png");
    EXPECT_STREQ(ImageSetPath(3), "images/draw_full.png");
    EXPECT_STREQ(ImageSetPath(11), "images/completed_solid.png");
    EXPECT_STREQ(ImageSetPath(13), "images/premium.png");
    EXPECT_EQ(ImageSetPath(14), nullptr);
    EXPECT_EQ(ImageSetPath(-1), nullptr);
    // Every one of them ships with the game.
    const std::string data = testsupport::GameDataDir();
    for (int i = 0; i < kImageSetCount; ++i) {
        EXPECT_TRUE(testsupport::FileExists(data + "/" + ImageSetPath(i))) << ImageSetPath(i);
    }
}

class Fit : public ::testing::Test {
  protected:
    void SetUp() override {
        font = CreateFont();
        ASSERT_TRUE(LoadFont(font, fonttest::WriteSyntheticFont(host.DataDir()).c_str()));
    }
    void TearDown() override { DestroyFont(font); }
    testsupport::BoundHost host;
    SdfFont* font = nullptr;
};

struct Recorder {
    std::vector<float> widths;
    float bound;
};

bool RecordAndFail(float width, float, const void* context) {
    Recorder* r = static_cast<Recorder*>(const_cast<void*>(context));
    r->widths.push_back(width);
    return width < r->bound;
}

TEST_F(Fit, SetTextBoxClampsNegativeSizes) {
    SetTextBox(font, -5.0f, 30.0f, kLayoutCentre | kLayoutCentreV, 0xFF112233u, 3.0f);
    EXPECT_EQ(font->maxWidth, 0.0f);
    EXPECT_EQ(font->maxHeight, 30.0f);
    EXPECT_EQ(font->layoutFlags, 0x009);
    EXPECT_EQ(font->colour, 0xFF112233u);
    EXPECT_EQ(font->scale, 3.0f);
}

TEST_F(Fit, LowersByTheStepUntilTheTestHolds) {
    // "AB" is 22 wide at scale 1: below 30 first at scale 1.3 (28.6), after 3.0 ... 1.4.
    const float bounds[2] = {30.0f, 1000.0f};
    float scale = FitTextScale(font, "AB", 3.0f, 0.1f, FitsBelow, bounds);
    EXPECT_NEAR(scale, 1.3f, 1e-4);
    EXPECT_EQ(font->scale, scale);
    // A measure equal to its bound is too large: 22 at scale 1 against 22.
    const float equal[2] = {22.0f, 1000.0f};
    EXPECT_NEAR(FitTextScale(font, "AB", 1.5f, 0.5f, FitsBelow, equal), 0.5f, 1e-6);
    // Both measures must fit: the height keeps the search going.
    const float tall[2] = {1000.0f, 11.0f};  // 'A' is 22 high at scale 1
    EXPECT_NEAR(FitTextScale(font, "A", 1.0f, 0.25f, FitsBelow, tall), 0.25f, 1e-6);
}

TEST_F(Fit, StopsAtTheSmallestPositiveScale) {
    Recorder r{{}, 0.0f};  // nothing is narrower than 0: the test never holds
    float scale = FitTextScale(font, "AB", 1.0f, 0.3f, RecordAndFail, &r);
    EXPECT_NEAR(scale, 0.1f, 1e-5);  // 1.0, 0.7, 0.4, 0.1; -0.2 is never taken
    EXPECT_GT(scale, 0.0f);
    EXPECT_EQ(r.widths.size(), 4u);
    // A step that lands exactly on zero stops one short of it.
    r.widths.clear();
    EXPECT_EQ(FitTextScale(font, "AB", 1.0f, 0.5f, RecordAndFail, &r), 0.5f);
    EXPECT_EQ(r.widths.size(), 2u);
    // A step that cannot lower the scale ends at once.
    r.widths.clear();
    EXPECT_EQ(FitTextScale(font, "AB", 2.0f, 0.0f, RecordAndFail, &r), 2.0f);
    EXPECT_EQ(r.widths.size(), 1u);
    r.widths.clear();
    EXPECT_EQ(FitTextScale(font, "AB", 2.0f, -1.0f, RecordAndFail, &r), 2.0f);
    EXPECT_EQ(r.widths.size(), 1u);
}

TEST_F(Fit, UnloadedFontMeasuresZero) {
    SdfFont* empty = CreateFont();
    const float bounds[2] = {1.0f, 1.0f};
    EXPECT_EQ(FitTextScale(empty, "Medium", 3.0f, 0.05f, FitsBelow, bounds), 3.0f);
    DestroyFont(empty);
}

}  // namespace
