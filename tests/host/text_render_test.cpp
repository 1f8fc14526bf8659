// Text really appears on a GL surface: in each of the three techniques, through
// glyph batches, across two font pages, and not at all from a font that did
// not load. Also draws the specimen of the shipped font and images (saved as a
// PNG when NONOGRAM_SPECIMEN_PNG names a file).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "draw2d/iw2d.h"
#include "engine/iwgx.h"
#include "tests/support/gl_surface.h"
#include "tests/unit/font_synthetic.h"
#include "text/sdf_font.h"
#include "ui/images.h"

namespace {

using testsupport::GLSurface;

constexpr uint32_t kBackground = 0xFF402010u;

struct Box {
    int x0, y0, x1, y1;
};

// The pixel bounds of a mesh's quads.
Box QuadBounds(const TextMesh* m) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (uint32_t i = 0; i < m->quadCount * 4; ++i) {
        x0 = std::min(x0, m->vertices[2 * i]);
        x1 = std::max(x1, m->vertices[2 * i]);
        y0 = std::min(y0, m->vertices[2 * i + 1]);
        y1 = std::max(y1, m->vertices[2 * i + 1]);
    }
    return Box{static_cast<int>(std::floor(x0)), static_cast<int>(std::floor(y0)),
               static_cast<int>(std::ceil(x1)), static_cast<int>(std::ceil(y1))};
}

int ChannelDistance(uint32_t a, uint32_t b) {
    using namespace testsupport;
    return std::max(
        {std::abs(Red(a) - Red(b)), std::abs(Green(a) - Green(b)), std::abs(Blue(a) - Blue(b))});
}

// Pixels of box that differ from colour by more than 40 in a channel.
int CountDiffering(const GLSurface& s, Box b, uint32_t colour) {
    int n = 0;
    for (int y = b.y0; y < b.y1; ++y) {
        for (int x = b.x0; x < b.x1; ++x) {
            if (ChannelDistance(s.Pixel(x, y), colour) > 40) ++n;
        }
    }
    return n;
}
// Pixels of box within 40 of colour in every channel.
int CountNear(const GLSurface& s, Box b, uint32_t colour) {
    int n = 0;
    for (int y = b.y0; y < b.y1; ++y) {
        for (int x = b.x0; x < b.x1; ++x) {
            if (ChannelDistance(s.Pixel(x, y), colour) <= 40) ++n;
        }
    }
    return n;
}

class TextOnSurface : public ::testing::Test {
  protected:
    explicit TextOnSurface(const std::string& data = testsupport::GameDataDir())
        : surface(320, 200, data) {}
    void SetUp() override {
        ASSERT_TRUE(surface.Ok()) << surface.Error();
        InitDrawing();
        ASSERT_EQ(CreateTechniques(), 3);
        font = CreateFont();
    }
    void TearDown() override {
        DestroyFont(font);
        TerminateDrawing();
    }
    // Lays text out at (x, y), draws it on a cleared frame and shows it; gives its quad box.
    Box DrawOne(const char* text, float x, float y) {
        ClearSurface(kBackground);
        FlushDrawing();
        TextMesh* mesh = nullptr;
        EXPECT_TRUE(LayoutText(font, &mesh, x, y, text));
        Box box = QuadBounds(mesh);
        RenderText(font, mesh);
        FreeTextMesh(mesh);
        ShowSurface();
        return box;
    }

    GLSurface surface;
    SdfFont* font = nullptr;
};

TEST_F(TextOnSurface, EachTechniqueDrawsTheText) {
    ASSERT_TRUE(LoadFont(font, "images/calibri_new.fnt"));
    font->colour = 0xFFFFFFFFu;
    font->outlineColour = 0xFF0000FFu;  // red
    font->scale = 1.5f;

    EXPECT_STREQ(TechniqueNameForStyle(0), "sdf_font");
    Box box = DrawOne("Help", 20.0f, 20.0f);
    const int plain = CountDiffering(surface, box, kBackground);
    EXPECT_GT(plain, 200);
    EXPECT_GT(CountNear(surface, box, 0xFFFFFFFFu), 100);  // solid letter cores
    // Nothing lands outside the quads.
    EXPECT_EQ(CountDiffering(surface, Box{box.x1 + 2, 0, 320, 200}, kBackground), 0);
    EXPECT_EQ(CountDiffering(surface, Box{0, box.y1 + 2, 320, 200}, kBackground), 0);

    font->style = kStyleBold;
    EXPECT_STREQ(TechniqueNameForStyle(font->style), "sdf_font_bold");
    box = DrawOne("Help", 20.0f, 20.0f);
    const int bold = CountDiffering(surface, box, kBackground);
    EXPECT_GT(bold, plain + plain / 10);  // the same letters, visibly heavier

    font->style = kStyleOutline;
    EXPECT_STREQ(TechniqueNameForStyle(font->style), "sdf_font_outline");
    box = DrawOne("Help", 20.0f, 20.0f);
    EXPECT_GT(CountNear(surface, box, 0xFF0000FFu), 100);  // the red outline
    EXPECT_GT(CountNear(surface, box, 0xFFFFFFFFu), 30);   // white inside it
    EXPECT_GT(CountDiffering(surface, box, kBackground), bold);
}

TEST_F(TextOnSurface, TextColourAndTransparency) {
    ASSERT_TRUE(LoadFont(font, "images/calibri_new.fnt"));
    font->scale = 2.0f;
    font->colour = 0xFF00FF00u;  // green
    Box box = DrawOne("H", 20.0f, 20.0f);
    EXPECT_GT(CountNear(surface, box, 0xFF00FF00u), 100);
    EXPECT_EQ(CountNear(surface, box, 0xFFFFFFFFu), 0);
    font->colour = 0x0000FF00u;  // alpha 0
    box = DrawOne("H", 20.0f, 20.0f);
    EXPECT_EQ(CountDiffering(surface, box, kBackground), 0);
}

TEST_F(TextOnSurface, BatchDrawsManyDigitsInOneCall) {
    ASSERT_TRUE(LoadFont(font, "images/calibri_new.fnt"));
    ClearSurface(kBackground);
    FlushDrawing();
    const int before = IwGxGetDrawCallCount();
    GlyphBatch* batch = CreateGlyphBatch(4);
    SetGlyphBatch(font, batch);
    const char* digits[5] = {"1", "2", "3", "4", "5"};
    Box boxes[5];
    for (int i = 0; i < 5; ++i) {
        TextMesh* mesh = nullptr;
        LayoutText(font, &mesh, 20.0f + 50.0f * i, 40.0f, digits[i]);
        boxes[i] = QuadBounds(mesh);
        RenderText(font, mesh);
        FreeTextMesh(mesh);
    }
    EXPECT_EQ(IwGxGetDrawCallCount(), before);  // gathered, not drawn yet
    FlushGlyphBatch(font, batch);
    SetGlyphBatch(font, nullptr);
    IwGxFlush();  // the engine hands text draws to GL once nothing more joins them
    EXPECT_EQ(IwGxGetDrawCallCount(), before + 1);
    ShowSurface();
    for (int i = 0; i < 4; ++i)
        EXPECT_GT(CountDiffering(surface, boxes[i], kBackground), 20) << digits[i];
    // The batch was sized for four: the fifth digit is not drawn.
    EXPECT_EQ(CountDiffering(surface, boxes[4], kBackground), 0);
}

TEST_F(TextOnSurface, TextsThatShareAMaterialJoinIntoOneDrawInTheirPlace) {
    ASSERT_TRUE(LoadFont(font, "images/calibri_new.fnt"));
    ClearSurface(kBackground);
    FlushDrawing();
    const int before = IwGxGetDrawCallCount();
    font->colour = 0xFF000000u;
    Box first{}, last{};
    for (int i = 0; i < 40; ++i) {
        TextMesh* mesh = nullptr;
        LayoutText(font, &mesh, 10.0f + 30.0f * (i % 10), 10.0f + 40.0f * (i / 10), "12");
        (i == 0 ? first : last) = QuadBounds(mesh);
        RenderText(font, mesh);
        FreeTextMesh(mesh);
    }
    font->colour = 0xFF0000FFu;  // another colour is another material
    DrawText(font, 10.0f, 170.0f, "34");
    IwGxFlush();
    EXPECT_EQ(IwGxGetDrawCallCount(), before + 2);
    // A shape drawn after the texts still covers them: joining keeps the order.
    SetDrawColour(0xFF00FF00u);
    FillRect(static_cast<float>(first.x0), static_cast<float>(first.y0),
             static_cast<float>(first.x1 - first.x0), static_cast<float>(first.y1 - first.y0));
    ShowSurface();
    EXPECT_EQ(CountDiffering(surface, first, 0xFF00FF00u), 0);
    EXPECT_GT(CountDiffering(surface, last, kBackground), 20);
}

TEST_F(TextOnSurface, WithoutTechniquesTheQuadsStillDraw) {
    ASSERT_TRUE(LoadFont(font, "images/calibri_new.fnt"));
    IwResManagerTerminate();  // drops the techniques the engine holds
    EXPECT_EQ(TechniqueNameForStyle(kStyleOutline), nullptr);
    font->scale = 2.0f;
    Box box = DrawOne("H", 20.0f, 20.0f);
    EXPECT_GT(CountDiffering(surface, box, kBackground), 50);
    IwResManagerInit();
}

TEST_F(TextOnSurface, NullMeshPointerGivesAFrameMesh) {
    ASSERT_TRUE(LoadFont(font, "images/calibri_new.fnt"));
    TextMesh* mesh = nullptr;
    ASSERT_TRUE(LayoutText(font, &mesh, 0.0f, 0.0f, "Help"));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->inFrameMemory, 1);
    EXPECT_EQ(mesh->quadCount, 4u);
    EXPECT_GT(mesh->widestLine, 0.0f);
    FreeTextMesh(mesh);
}

TEST_F(TextOnSurface, FailedFontDrawsNothing) {
    EXPECT_FALSE(LoadFont(font, "images/none.fnt"));
    ClearSurface(kBackground);
    FlushDrawing();
    const int before = IwGxGetDrawCallCount();
    DrawText(font, 10.0f, 10.0f, "Help");
    // Measuring still gets a mesh to read, with zero sizes.
    TextMesh* mesh = nullptr;
    EXPECT_FALSE(LayoutText(font, &mesh, 10.0f, 10.0f, "Help"));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->widestLine, 0.0f);
    EXPECT_EQ(mesh->textHeight, 0.0f);
    EXPECT_EQ(mesh->quadCount, 0u);
    RenderText(font, mesh);
    FreeTextMesh(mesh);
    GlyphBatch* batch = CreateGlyphBatch(4);
    SetGlyphBatch(font, batch);
    DrawText(font, 10.0f, 10.0f, "1");
    FlushGlyphBatch(font, batch);
    EXPECT_EQ(IwGxGetDrawCallCount(), before);
    ShowSurface();
    EXPECT_EQ(CountDiffering(surface, Box{0, 0, 320, 200}, kBackground), 0);
}

// The synthetic font: solid glyph rectangles, 'C' on the second page.
class SyntheticTextOnSurface : public TextOnSurface {
  protected:
    SyntheticTextOnSurface() : TextOnSurface(std::string()) {}
};

TEST_F(SyntheticTextOnSurface, TwoPagesDrawAsTwoRunsEachWithItsTexture) {
    const std::string path = fonttest::WriteSyntheticFont(surface.Host().DataDir());
    ASSERT_TRUE(LoadFont(font, path.c_str()));
    font->scale = 2.0f;
    font->smoothing = 0.05f;
    ClearSurface(kBackground);
    FlushDrawing();
    const int before = IwGxGetDrawCallCount();
    TextMesh* mesh = nullptr;
    LayoutText(font, &mesh, 10.0f, 10.0f, "ACA");
    ASSERT_EQ(mesh->runCount, 2u);
    RenderText(font, mesh);
    IwGxFlush();
    EXPECT_EQ(IwGxGetDrawCallCount(), before + 2);
    ShowSurface();
    // The centre of each glyph's quad is inside its solid rectangle on its own page.
    for (uint32_t q = 0; q < 3; ++q) {
        const float* v = mesh->vertices + q * 8;
        const int cx = static_cast<int>((v[2] + v[4]) / 2),
                  cy = static_cast<int>((v[1] + v[3]) / 2);
        EXPECT_TRUE(testsupport::Near(surface.Pixel(cx, cy), 0xFFFFFFFFu, 8)) << q;
    }
    FreeTextMesh(mesh);
}

// The shipped font at the scales the screens use, and the images at 100 px.
TEST(TextSpecimen, ShippedFontAndImages) {
    GLSurface surface(1000, 820, testsupport::GameDataDir());
    ASSERT_TRUE(surface.Ok()) << surface.Error();
    InitDrawing();
    ASSERT_EQ(CreateTechniques(), 3);
    SdfFont* font = CreateFont();
    ASSERT_TRUE(LoadFont(font, "images/calibri_new.fnt"));
    LoadImageSet();

    const uint32_t background = 0xFFF1F0ECu;  // the Light theme
    ClearSurface(background);
    const CIw2DImage* images[kImageSetCount] = {
        imageSet.back,       imageSet.undo,     imageSet.drawBlank, imageSet.drawFull,
        imageSet.drawX,      imageSet.clearAll, imageSet.question,  imageSet.completed,
        imageSet.moveScale,  imageSet.opened,   imageSet.closed,    imageSet.completedSolid,
        imageSet.borderElem, imageSet.premium};
    SetDrawColour(0xFFFFFFFFu);
    for (int i = 0; i < kImageSetCount; ++i) {
        ASSERT_NE(images[i], nullptr);
        DrawImage(const_cast<CIw2DImage*>(images[i]), 10.0f + 110.0f * (i % 9),
                  600.0f + 110.0f * (i / 9), 100.0f, 100.0f);
    }
    FlushDrawing();

    font->style = kStyleSoft;
    font->lineSpacing = 0.8f;
    font->colour = 0xFF5A4C30u;  // the sign text colour (48, 76, 90)
    const char* texts[3] = {"Themes", "Help",
                            "O\xD1\x86"
                            "e\xD0\xBD\xD0\xB8\xD1\x82\xD1\x8C"};
    const float scales[4] = {0.5f, 1.0f, 2.0f, 3.0f};
    const float rows[4] = {10.0f, 45.0f, 110.0f, 240.0f};
    Box boxes[4][3];
    for (int s = 0; s < 4; ++s) {
        font->scale = scales[s];
        float x = 10.0f, y = rows[s];
        for (int t = 0; t < 3; ++t) {
            if (s == 3 && t == 2) {  // scale 3 takes two rows
                x = 10.0f;
                y += 160.0f;
            }
            TextMesh* mesh = nullptr;
            LayoutText(font, &mesh, x, y, texts[t]);
            boxes[s][t] = QuadBounds(mesh);
            x += mesh->widestLine + 30.0f * scales[s];
            RenderText(font, mesh);
            FreeTextMesh(mesh);
        }
    }
    ShowSurface();
    if (const char* out = std::getenv("NONOGRAM_SPECIMEN_PNG")) surface.SavePng(out);

    for (int s = 0; s < 4; ++s) {
        for (int t = 0; t < 3; ++t) {
            const Box& b = boxes[s][t];
            const int area = (b.x1 - b.x0) * (b.y1 - b.y0);
            const int ink = CountDiffering(surface, b, background);
            // Letters cover a real share of their box, and never all of it.
            EXPECT_GT(ink, area / 12) << texts[t] << " at " << scales[s];
            EXPECT_LT(ink, area * 2 / 3) << texts[t] << " at " << scales[s];
        }
    }
    for (int i = 0; i < kImageSetCount; ++i) {
        const int x = 10 + 110 * (i % 9), y = 600 + 110 * (i / 9);
        EXPECT_GT(CountDiffering(surface, Box{x, y, x + 100, y + 100}, background), 2000)
            << ImageSetPath(i);
    }

    ReleaseImageSet();
    DestroyFont(font);
    TerminateDrawing();
}

}  // namespace
