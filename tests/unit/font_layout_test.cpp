// Text layout against hand-computed positions and measures, with the
// synthetic font: 'A' is 10 x 20 at offset (1, 2) advancing 12, 'B' 10 x 20 at
// (0, 0) advancing 10, a space advances 5 with no quad, 'g' reaches 4 below
// the others, 'C' lies on the second page; lines are 25 apart at scale 1.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_host.h"
#include "tests/unit/font_synthetic.h"
#include "text/sdf_font.h"

namespace {

class Layout : public ::testing::Test {
  protected:
    void SetUp() override {
        font = CreateFont();
        ASSERT_TRUE(LoadFont(font, fonttest::WriteSyntheticFont(host.DataDir()).c_str()));
        mesh = CreateTextMesh();
    }
    void TearDown() override {
        FreeTextMesh(mesh);
        DestroyFont(font);
    }
    bool Lay(const char* text, float x = 0.0f, float y = 0.0f, float angle = 0.0f) {
        return LayoutText(font, &mesh, x, y, text, angle);
    }
    // Left, top, right and bottom of quad q, as placed without slant or rotation.
    float Left(uint32_t q) const { return mesh->vertices[q * 8 + 2]; }
    float Top(uint32_t q) const { return mesh->vertices[q * 8 + 1]; }
    float Right(uint32_t q) const { return mesh->vertices[q * 8 + 4]; }
    float Bottom(uint32_t q) const { return mesh->vertices[q * 8 + 3]; }

    testsupport::BoundHost host;
    SdfFont* font = nullptr;
    TextMesh* mesh = nullptr;
};

TEST_F(Layout, EmptyTextIsOneLineOfIndentWidth) {
    font->indent = 5.0f;
    ASSERT_TRUE(Lay("", 100.0f, 50.0f));
    EXPECT_EQ(mesh->lineCount, 1u);
    EXPECT_EQ(mesh->quadCount, 0u);
    EXPECT_EQ(mesh->textHeight, 0.0f);
    EXPECT_EQ(mesh->widestLine, 5.0f);
    // Flags that measure from the highest glyph must not see the "no glyph yet" marker.
    font->layoutFlags = kLayoutCentreV;
    font->maxHeight = 40.0f;
    ASSERT_TRUE(Lay("   "));
    EXPECT_EQ(mesh->textHeight, 0.0f);
}

TEST_F(Layout, QuadsWidthsAndHeightsAtScale) {
    ASSERT_TRUE(Lay("AB", 100.0f, 50.0f));
    ASSERT_EQ(mesh->quadCount, 2u);
    // Vertex order: top-left, bottom-left, bottom-right, top-right.
    const float a[8] = {101, 52, 101, 72, 111, 72, 111, 52};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(mesh->vertices[i], a[i]) << i;
    EXPECT_EQ(Left(1), 112.0f);
    EXPECT_EQ(mesh->widestLine, 22.0f);
    EXPECT_EQ(mesh->textHeight, 22.0f);  // lowest bottom - y
    EXPECT_EQ(mesh->lineCount, 1u);
    EXPECT_FLOAT_EQ(mesh->uvs[8 + 0], 12 / 64.0f);  // 'B' texture corner follows its quad

    font->scale = 2.0f;
    font->tracking = 1.0f;
    ASSERT_TRUE(Lay("AB g", 0.0f, 0.0f));
    EXPECT_EQ(mesh->widestLine, (13 + 11 + 6 + 10) * 2.0f);
    EXPECT_EQ(mesh->textHeight, 56.0f);  // 'g' bottom: (4 + 24) x 2
    EXPECT_EQ(Left(2), (13 + 11 + 6) * 2.0f);

    // With a glyph-extent flag the height runs from the highest top.
    font->scale = 1.0f;
    font->tracking = 0.0f;
    font->layoutFlags = kLayoutTopAtY;
    ASSERT_TRUE(Lay("Ag", 0.0f, 0.0f));
    EXPECT_EQ(mesh->textHeight, 26.0f);  // 28 - 2
}

TEST_F(Layout, MissingGlyphsAndRefusedBytes) {
    ASSERT_TRUE(Lay("A?B"));  // no '?' in the font: no quad, no room
    EXPECT_EQ(mesh->quadCount, 2u);
    EXPECT_EQ(mesh->widestLine, 22.0f);
    ASSERT_TRUE(
        Lay("A\xC0\x80"
            "B"));  // the refused sequence ends the text
    EXPECT_EQ(mesh->quadCount, 1u);
    EXPECT_EQ(mesh->widestLine, 12.0f);
    font->byteText = 1;  // the two bytes of U+0416 are two characters, both unknown
    ASSERT_TRUE(Lay("\xD0\x96"));
    EXPECT_EQ(mesh->quadCount, 0u);
    font->byteText = 0;
    ASSERT_TRUE(Lay("\xD0\x96"));
    EXPECT_EQ(mesh->quadCount, 1u);
    EXPECT_EQ(mesh->widestLine, 14.0f);
}

TEST_F(Layout, LineFeedsIndentAndLineSpacing) {
    font->indent = 5.0f;
    font->lineSpacing = 0.8f;
    ASSERT_TRUE(Lay("B\nB", 10.0f, 0.0f));
    ASSERT_EQ(mesh->quadCount, 2u);
    EXPECT_EQ(mesh->lineCount, 2u);
    EXPECT_EQ(Left(0), 15.0f);  // both lines start 5 right of x
    EXPECT_EQ(Left(1), 15.0f);
    EXPECT_FLOAT_EQ(Top(1), 20.0f);  // 25 x 0.8
    EXPECT_EQ(mesh->widestLine, 15.0f);

    // A line that wrapped starts at x, without the indent.
    font->lineSpacing = 1.0f;
    font->maxWidth = 30.0f;
    ASSERT_TRUE(Lay("BB BB", 10.0f, 0.0f));
    ASSERT_EQ(mesh->quadCount, 4u);
    EXPECT_EQ(Left(0), 15.0f);
    EXPECT_EQ(Left(2), 10.0f);
    EXPECT_EQ(Top(2), 25.0f);
}

TEST_F(Layout, WrappingRules) {
    font->maxWidth = 30.0f;
    // Back to the last space: "AB" fits (22), the space too (27), the next 'A' does not.
    ASSERT_TRUE(Lay("AB AB"));
    EXPECT_EQ(mesh->lineCount, 2u);
    EXPECT_EQ(mesh->widestLine, 22.0f);  // the trailing space takes no room
    EXPECT_EQ(Left(2), 1.0f);
    EXPECT_EQ(Top(2), 27.0f);

    // Wrap anywhere: the line ends before the overflowing character, space included.
    font->layoutFlags = kLayoutWrapAnywhere;
    ASSERT_TRUE(Lay("AB AB"));
    EXPECT_EQ(mesh->lineCount, 2u);
    EXPECT_EQ(mesh->widestLine, 27.0f);

    // A word longer than maxWidth stays whole with 0x100, and breaks before the
    // overflowing character without it.
    font->layoutFlags = kLayoutKeepWords;
    ASSERT_TRUE(Lay("AAAA"));
    EXPECT_EQ(mesh->lineCount, 1u);
    EXPECT_EQ(mesh->widestLine, 48.0f);
    font->layoutFlags = 0;
    ASSERT_TRUE(Lay("AAAA"));
    EXPECT_EQ(mesh->lineCount, 2u);
    EXPECT_EQ(mesh->widestLine, 24.0f);
    EXPECT_EQ(Left(2), 1.0f);

    // With 0x100, a line without a space ends at the first space that overflows,
    // and the run of spaces is skipped.
    font->layoutFlags = kLayoutKeepWords;
    ASSERT_TRUE(Lay("AAA   B"));
    EXPECT_EQ(mesh->lineCount, 2u);
    EXPECT_EQ(Left(3), 0.0f);
    EXPECT_EQ(Top(3), 25.0f);
}

TEST_F(Layout, OverflowingSpaceKeepsTheWordThatFits) {
    font->maxWidth = 49.0f;
    // "AB AB" is exactly 49 wide; the space after it overflows. The second "AB"
    // fits, so it stays on the first line.
    ASSERT_TRUE(Lay("AB AB AB"));
    EXPECT_EQ(mesh->lineCount, 2u);
    EXPECT_EQ(mesh->widestLine, 49.0f);
    EXPECT_EQ(Top(3), 0.0f);  // the second "AB"'s B, still on the first line
    EXPECT_EQ(Top(4), 27.0f);
}

TEST_F(Layout, GlyphWiderThanTheBoxStillEnds) {
    font->maxWidth = 5.0f;  // narrower than any glyph: one glyph a line
    ASSERT_TRUE(Lay("AAAA"));
    EXPECT_EQ(mesh->lineCount, 4u);
    EXPECT_EQ(mesh->quadCount, 4u);
    font->layoutFlags = kLayoutWrapAnywhere;
    ASSERT_TRUE(Lay("ABAB"));
    EXPECT_EQ(mesh->lineCount, 4u);
}

TEST_F(Layout, HorizontalAlignment) {
    font->maxWidth = 100.0f;
    font->layoutFlags = kLayoutCentre;
    ASSERT_TRUE(Lay("AB", 10.0f, 0.0f));
    EXPECT_EQ(Left(0), 10.0f + 39.0f + 1.0f);  // (100 - 22) / 2
    EXPECT_EQ(mesh->widestLine, 22.0f);        // measured before alignment
    font->layoutFlags = kLayoutRight;
    ASSERT_TRUE(Lay("AB\nB", 10.0f, 0.0f));
    EXPECT_EQ(Right(1), 110.0f);
    EXPECT_EQ(Right(2), 110.0f);
    // Without a box, centring centres the line on x.
    font->maxWidth = 0.0f;
    font->layoutFlags = kLayoutCentre;
    ASSERT_TRUE(Lay("B", 10.0f, 0.0f));
    EXPECT_EQ(Left(0), 5.0f);
}

TEST_F(Layout, VerticalPlacement) {
    font->maxHeight = 40.0f;
    font->layoutFlags = kLayoutTopAtY;
    ASSERT_TRUE(Lay("A", 0.0f, 100.0f));
    EXPECT_EQ(Top(0), 100.0f);
    font->layoutFlags = kLayoutCentreV;  // extent 2..22 centred in 0..40
    ASSERT_TRUE(Lay("A", 0.0f, 100.0f));
    EXPECT_EQ(Top(0), 110.0f);
    EXPECT_EQ(Bottom(0), 130.0f);
    EXPECT_EQ(mesh->textHeight, 20.0f);
    font->layoutFlags = kLayoutBottom;
    ASSERT_TRUE(Lay("A", 0.0f, 100.0f));
    EXPECT_EQ(Bottom(0), 140.0f);
    // The lowest bit decides when several are set.
    font->layoutFlags = kLayoutTopAtY | kLayoutBottom;
    ASSERT_TRUE(Lay("A", 0.0f, 100.0f));
    EXPECT_EQ(Top(0), 100.0f);
}

TEST_F(Layout, FirstLineOnlyAndClipBottom) {
    font->layoutFlags = kLayoutFirstLineOnly;
    ASSERT_TRUE(Lay("AB\nAB\nAB"));
    EXPECT_EQ(mesh->lineCount, 1u);
    EXPECT_EQ(mesh->quadCount, 2u);

    // The second line reaches 47 > 30: it is dropped and the layout stops.
    font->layoutFlags = kLayoutClipBottom;
    font->maxHeight = 30.0f;
    ASSERT_TRUE(Lay("A\nA\nA"));
    EXPECT_EQ(mesh->lineCount, 1u);
    EXPECT_EQ(mesh->quadCount, 1u);
    EXPECT_EQ(mesh->textHeight, 22.0f);
}

TEST_F(Layout, RightToLeftPlacesTheFirstGlyphRightmost) {
    font->layoutFlags = kLayoutRightToLeft;
    ASSERT_TRUE(Lay("AB", 100.0f, 0.0f));
    ASSERT_EQ(mesh->quadCount, 2u);
    EXPECT_EQ(Left(1), 100.0f);  // 'B' first from the left
    EXPECT_EQ(Left(0), 111.0f);  // 'A' after B's advance, plus its offset
    EXPECT_EQ(mesh->widestLine, 22.0f);
}

TEST_F(Layout, ItalicSlantsTheTopCorners) {
    font->style = kStyleItalic;
    ASSERT_TRUE(Lay("B"));
    const float slant = 0.33f * 20.0f;
    EXPECT_FLOAT_EQ(mesh->vertices[0], slant);       // top-left
    EXPECT_FLOAT_EQ(mesh->vertices[2], 0.0f);        // bottom-left
    EXPECT_FLOAT_EQ(mesh->vertices[6], 10 + slant);  // top-right
}

TEST_F(Layout, RotationTurnsClockwiseAboutTheBoxCentreOrThePosition) {
    ASSERT_TRUE(Lay("B", 100.0f, 50.0f, 90.0f));
    // Top-left corner (100, 50) is the pivot; bottom-left (100, 70) turns to (80, 50).
    EXPECT_NEAR(mesh->vertices[0], 100.0f, 1e-3);
    EXPECT_NEAR(mesh->vertices[1], 50.0f, 1e-3);
    EXPECT_NEAR(mesh->vertices[2], 80.0f, 1e-3);
    EXPECT_NEAR(mesh->vertices[3], 50.0f, 1e-3);
    // Top-right (110, 50) turns downwards: clockwise on a y-down screen.
    EXPECT_NEAR(mesh->vertices[6], 100.0f, 1e-3);
    EXPECT_NEAR(mesh->vertices[7], 60.0f, 1e-3);

    font->maxWidth = 20.0f;
    font->maxHeight = 20.0f;
    ASSERT_TRUE(Lay("B", 0.0f, 0.0f, 180.0f));  // about (10, 10)
    EXPECT_NEAR(mesh->vertices[0], 20.0f, 1e-3);
    EXPECT_NEAR(mesh->vertices[1], 20.0f, 1e-3);
}

TEST_F(Layout, SameTextElsewhereOnlyMovesTheVertices) {
    ASSERT_TRUE(Lay("AB g", 0.0f, 0.0f));
    const float* vertices = mesh->vertices;
    const uint16_t* indices = mesh->indices;
    std::string before(reinterpret_cast<const char*>(mesh->vertices), 3 * 8 * sizeof(float));
    std::string uvs(reinterpret_cast<const char*>(mesh->uvs), 3 * 8 * sizeof(float));
    ASSERT_TRUE(Lay("AB g", 7.0f, -3.0f));
    EXPECT_EQ(mesh->vertices, vertices);  // the same arrays
    EXPECT_EQ(mesh->indices, indices);
    EXPECT_EQ(mesh->x, 7.0f);
    EXPECT_EQ(mesh->y, -3.0f);
    const float* old = reinterpret_cast<const float*>(before.data());
    for (int i = 0; i < 3 * 4; ++i) {
        EXPECT_EQ(mesh->vertices[2 * i], old[2 * i] + 7.0f);
        EXPECT_EQ(mesh->vertices[2 * i + 1], old[2 * i + 1] - 3.0f);
    }
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(mesh->uvs), uvs.size()), uvs);

    // Another scale keeps the arrays but lays out afresh.
    font->scale = 2.0f;
    ASSERT_TRUE(Lay("AB g", 7.0f, -3.0f));
    EXPECT_EQ(mesh->vertices, vertices);
    EXPECT_EQ(mesh->widestLine, 72.0f);
    // So does another indent, which the mesh remembers too.
    font->indent = 4.0f;
    ASSERT_TRUE(Lay("AB g", 7.0f, -3.0f));
    EXPECT_EQ(mesh->widestLine, 76.0f);
    EXPECT_EQ(Left(0), 7.0f + 4.0f + 2.0f);
    // A different text of the same length is a new layout.
    ASSERT_TRUE(Lay("BA g", 7.0f, -3.0f));
    EXPECT_EQ(Left(0), 7.0f + 4.0f);
}

TEST_F(Layout, TwoPagesMakeTwoRunsInPageOrder) {
    ASSERT_TRUE(Lay("ACA"));
    ASSERT_EQ(mesh->quadCount, 3u);
    ASSERT_EQ(mesh->runCount, 2u);
    EXPECT_EQ(mesh->runs[0], 0);  // page 0 from place 0
    EXPECT_EQ(mesh->runs[1], 0);
    EXPECT_EQ(mesh->runs[2], 1);  // page 1 from place 2
    EXPECT_EQ(mesh->runs[3], 2);
    const uint16_t expected[18] = {0, 1, 2, 2, 3, 0, 8, 9, 10, 10, 11, 8, 4, 5, 6, 6, 7, 4};
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(mesh->indices[i], expected[i]) << i;
    ASSERT_TRUE(Lay("AB"));
    EXPECT_EQ(mesh->runCount, 1u);
}

TEST_F(Layout, RefusalsLeaveAnEmptyMesh) {
    ASSERT_TRUE(Lay("AB"));
    // 16-bit indices reach 16383 quads; one more is refused whole.
    std::string many(kMaxTextQuads, 'A');
    ASSERT_TRUE(Lay(many.c_str()));
    EXPECT_EQ(mesh->quadCount, kMaxTextQuads);
    EXPECT_EQ(mesh->indices[6 * (kMaxTextQuads - 1)], 4 * (kMaxTextQuads - 1));
    many += 'A';
    EXPECT_FALSE(Lay(many.c_str()));
    EXPECT_EQ(mesh->quadCount, 0u);
    EXPECT_EQ(mesh->widestLine, 0.0f);
    // Spaces make no quads, so a long text of few glyphs is fine...
    std::string spaced(30000, ' ');
    spaced += "AB";
    EXPECT_TRUE(Lay(spaced.c_str()));
    EXPECT_EQ(mesh->quadCount, 2u);
    // ...up to 65535 characters.
    std::string tooLong(kMaxTextChars + 1, ' ');
    EXPECT_FALSE(Lay(tooLong.c_str()));
    EXPECT_EQ(mesh->lineCount, 0u);
    EXPECT_FALSE(Lay(nullptr));
}

TEST_F(Layout, MeasureTextIgnoresPosition) {
    float w = 0.0f, h = 0.0f;
    font->indent = 3.0f;
    MeasureText(font, "AB\nABAB", &w, &h);
    EXPECT_EQ(w, 47.0f);  // 3 + 44
    EXPECT_EQ(h, 47.0f);  // 25 + 22
}

}  // namespace
