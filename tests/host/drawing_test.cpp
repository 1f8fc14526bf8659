// The 2D drawing layer and the engine beneath it, checked by the pixels of
// real frames on the software renderer.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <png.h>

#include "draw2d/iw2d.h"
#include "engine/iwgx.h"
#include "tests/support/gl_surface.h"

namespace {

using testsupport::GLSurface;
using testsupport::Near;

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kRed = 0xFF0000FFu;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kBlue = 0xFFFF0000u;

bool WritePng(const std::string& path, int w, int h, const std::vector<uint8_t>& rgba) {
    return testsupport::WritePngRGBA(path, w, h, rgba.data());
}

bool WriteJpeg(const std::string& path, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = static_cast<JDIMENSION>(w);
    info.image_height = static_cast<JDIMENSION>(h);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    for (int x = 0; x < w; ++x) {
        row[x * 3] = r;
        row[x * 3 + 1] = g;
        row[x * 3 + 2] = b;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(f);
    return true;
}

class Drawing : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface.Ok()) << surface.Error();
        InitDrawing();
        SetDrawColour(kWhite);
    }
    void TearDown() override { TerminateDrawing(); }

    // Writes a PNG into the game data and loads it as an image.
    CIw2DImage* MakeImage(const std::string& name, int w, int h, const std::vector<uint8_t>& px) {
        EXPECT_TRUE(WritePng(surface.Host().Path("images/" + name), w, h, px));
        return CreateImage(("images/" + name).c_str());
    }

    GLSurface surface{160, 120};
};

TEST_F(Drawing, ClearFillsTheWholeSurface) {
    ClearSurface(0xFF3C4A59u);
    ShowSurface();
    EXPECT_EQ(surface.FramesShown(), 1);
    for (auto [x, y] : {std::pair{0, 0}, {159, 0}, {0, 119}, {159, 119}, {80, 60}}) {
        EXPECT_TRUE(Near(surface.Pixel(x, y), 0xFF3C4A59u, 0)) << x << "," << y;
    }
}

TEST_F(Drawing, FillRectCoversExactlyItsPixels) {
    ClearSurface(kBlack);
    SetDrawColour(kRed);
    FillRect(10, 20, 30, 40);
    ShowSurface();
    EXPECT_TRUE(Near(surface.Pixel(10, 20), kRed));
    EXPECT_TRUE(Near(surface.Pixel(39, 59), kRed));
    EXPECT_TRUE(Near(surface.Pixel(9, 20), kBlack));
    EXPECT_TRUE(Near(surface.Pixel(40, 20), kBlack));
    EXPECT_TRUE(Near(surface.Pixel(10, 19), kBlack));
    EXPECT_TRUE(Near(surface.Pixel(10, 60), kBlack));
}

TEST_F(Drawing, OutlinesAndLinesAreOnePixelOnTheirCoordinates) {
    ClearSurface(kBlack);
    SetDrawColour(kGreen);
    DrawRect(10, 10, 40, 30);  // edges at x 10 and 50, y 10 and 40
    SetDrawColour(kBlue);
    DrawLine(60, 80, 150, 80);
    DrawLine(100, 50, 100, 70);
    ShowSurface();
    EXPECT_TRUE(Near(surface.Pixel(30, 10), kGreen));
    EXPECT_TRUE(Near(surface.Pixel(30, 40), kGreen));
    EXPECT_TRUE(Near(surface.Pixel(10, 25), kGreen));
    EXPECT_TRUE(Near(surface.Pixel(50, 25), kGreen));
    EXPECT_TRUE(Near(surface.Pixel(50, 40), kGreen));  // the closing corner
    EXPECT_TRUE(Near(surface.Pixel(30, 25), kBlack));  // inside stays empty
    EXPECT_TRUE(Near(surface.Pixel(30, 11), kBlack));
    EXPECT_TRUE(Near(surface.Pixel(51, 25), kBlack));

    EXPECT_TRUE(Near(surface.Pixel(100, 80), kBlue));
    EXPECT_TRUE(Near(surface.Pixel(100, 79), kBlack));
    EXPECT_TRUE(Near(surface.Pixel(100, 81), kBlack));
    EXPECT_TRUE(Near(surface.Pixel(100, 60), kBlue));
    EXPECT_TRUE(Near(surface.Pixel(99, 60), kBlack));
    EXPECT_TRUE(Near(surface.Pixel(101, 60), kBlack));
}

TEST_F(Drawing, ImagesStretchAndTakeTheColourAsTint) {
    // Left pixel white, right pixel red.
    CIw2DImage* image = MakeImage("two.png", 2, 1, {255, 255, 255, 255, 255, 0, 0, 255});
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 2.0f);
    ClearSurface(kBlack);
    SetDrawColour(kWhite);
    DrawImage(image, 0, 0, 100, 50);
    SetDrawColour(0xFF00FFFFu);  // yellow tint
    DrawImage(image, 0, 60, 100, 50);
    ShowSurface();
    EXPECT_TRUE(Near(surface.Pixel(5, 25), kWhite));
    EXPECT_TRUE(Near(surface.Pixel(95, 25), kRed));
    EXPECT_TRUE(Near(surface.Pixel(99, 25), kRed));
    EXPECT_TRUE(Near(surface.Pixel(101, 25), kBlack));     // stretched to exactly 100 wide
    EXPECT_TRUE(Near(surface.Pixel(5, 85), 0xFF00FFFFu));  // white times yellow
    EXPECT_TRUE(Near(surface.Pixel(95, 85), kRed));        // red times yellow
    // Bilinear filtering: the middle is a blend of both texels.
    uint32_t mid = surface.Pixel(50, 25);
    EXPECT_GT(testsupport::Green(mid), 40);
    EXPECT_LT(testsupport::Green(mid), 215);
    delete image;
}

TEST_F(Drawing, TranslucentColoursBlendBelow254) {
    ClearSurface(kBlack);
    SetDrawColour(0x80FFFFFFu);
    FillRect(0, 0, 50, 50);
    SetDrawColour(0xFEFFFFFFu);  // nearly opaque: written as is
    FillRect(60, 0, 50, 50);
    // A transparent image pixel lets the background through.
    CIw2DImage* image = MakeImage("holes.png", 2, 1, {255, 0, 0, 255, 255, 0, 0, 0});
    SetDrawColour(kWhite);
    DrawImage(image, 0, 60, 20, 20);
    ShowSurface();
    uint32_t half = surface.Pixel(25, 25);
    EXPECT_NEAR(testsupport::Red(half), 128, 3);
    EXPECT_NEAR(testsupport::Blue(half), 128, 3);
    EXPECT_TRUE(Near(surface.Pixel(85, 25), kWhite, 1));
    EXPECT_TRUE(Near(surface.Pixel(1, 70), kRed, 8));
    EXPECT_TRUE(Near(surface.Pixel(19, 70), kBlack, 8));
    delete image;
}

TEST_F(Drawing, BatchesFlushOnlyWhenMaterialOrKindChanges) {
    ClearSurface(kBlack);
    SetDrawColour(kRed);
    FillRect(0, 0, 10, 10);
    FillRect(20, 0, 10, 10);
    FillRect(40, 0, 10, 10);
    ShowSurface();
    EXPECT_EQ(surface.LastDrawCalls(), 1);

    CIw2DImage* image = MakeImage("w.png", 1, 1, {255, 255, 255, 255});
    ClearSurface(kBlack);
    SetDrawColour(kRed);
    FillRect(0, 0, 10, 10);
    SetDrawColour(kRed);  // the same colour keeps the batch
    FillRect(20, 0, 10, 10);
    SetDrawColour(kGreen);  // a new colour drops the material: new batch
    FillRect(40, 0, 10, 10);
    DrawLine(0, 50, 100, 50);          // another kind: new batch
    DrawRect(0, 60, 20, 20);           // outlines join the lines
    DrawImage(image, 60, 60, 10, 10);  // the image's material
    DrawImage(image, 80, 60, 10, 10);
    FlushDrawing();  // an explicit flush ends the batch
    DrawImage(image, 100, 60, 10, 10);
    ShowSurface();
    EXPECT_EQ(surface.LastDrawCalls(), 5);
    EXPECT_TRUE(Near(surface.Pixel(5, 5), kRed));
    EXPECT_TRUE(Near(surface.Pixel(45, 5), kGreen));
    EXPECT_TRUE(Near(surface.Pixel(105, 65), kGreen));  // tinted by the colour in force
    delete image;
}

TEST_F(Drawing, MissingOrCorruptImagesDrawNothingAndWarnOnce) {
    testsupport::WriteFile(surface.Host().Path("images/bad.png"), "\x89PNG\r\n\x1a\nnot really");
    CIw2DImage* missing = CreateImage("images/missing.png");
    CIw2DImage* corrupt = CreateImage("images/bad.png");
    ASSERT_NE(missing, nullptr);
    ASSERT_NE(corrupt, nullptr);
    ASSERT_EQ(surface.warnings.size(), 2u);
    EXPECT_NE(surface.warnings[0].find("images/missing.png"), std::string::npos);
    ClearSurface(kBlack);
    DrawImage(missing, 0, 0, 50, 50);
    DrawImage(corrupt, 0, 0, 50, 50);
    ShowSurface();
    EXPECT_EQ(surface.LastDrawCalls(), 0);
    EXPECT_TRUE(Near(surface.Pixel(10, 10), kBlack));
    EXPECT_EQ(surface.warnings.size(), 2u);  // drawing adds no further warnings
    delete missing;
    delete corrupt;
}

TEST_F(Drawing, JpegImagesLoadOpaque) {
    ASSERT_TRUE(WriteJpeg(surface.Host().Path("images/j.jpg"), 16, 16, 0, 0, 255));
    CIwTexture texture;
    ASSERT_TRUE(texture.LoadFromFile("images/j.jpg"));
    EXPECT_EQ(texture.GetWidth(), 16);
    EXPECT_FALSE(texture.HasAlpha());
    CIw2DImage* image = CreateImage("images/j.jpg");
    ClearSurface(kBlack);
    DrawImage(image, 0, 0, 40, 40);
    ShowSurface();
    EXPECT_TRUE(Near(surface.Pixel(20, 20), kBlue, 6));
    delete image;

    // A truncated JPEG is refused, not half-decoded.
    std::string bytes = testsupport::ReadFile(surface.Host().Path("images/j.jpg"));
    testsupport::WriteFile(surface.Host().Path("images/cut.jpg"), bytes.substr(0, 40));
    CIwTexture cut;
    EXPECT_FALSE(cut.LoadFromFile("images/cut.jpg"));
}

// A PNG of another format than RGBA (PNG_FORMAT_GRAY, _GA, _RGB).
bool WritePngAs(const std::string& path, int w, int h, const std::vector<uint8_t>& px,
                uint32_t format) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = format;
    return png_image_write_to_file(&image, path.c_str(), 0, px.data(), 0, nullptr) != 0;
}

TEST_F(Drawing, GreyPagesLoadAsWhiteWithTheirGreyAsAlpha) {
    const std::vector<uint8_t> grey = {0, 70, 160, 255};
    std::vector<uint8_t> rgb;
    for (uint8_t g : grey)
        rgb.insert(rgb.end(), {g, g, g});
    ASSERT_TRUE(WritePngAs(surface.Host().Path("images/grey.png"), 4, 1, grey, PNG_FORMAT_GRAY));
    ASSERT_TRUE(WritePngAs(surface.Host().Path("images/rgb.png"), 4, 1, rgb, PNG_FORMAT_RGB));
    ASSERT_TRUE(
        WritePngAs(surface.Host().Path("images/ga.png"), 2, 1, {90, 128, 90, 255}, PNG_FORMAT_GA));
    // Read as one channel, or as RGBA turned afterwards: the same texture.
    CIwTexture direct, turned, withAlpha;
    ASSERT_TRUE(direct.LoadFromFile("images/grey.png", true));
    ASSERT_TRUE(turned.LoadFromFile("images/rgb.png"));
    ASSERT_TRUE(turned.GreyToAlpha());
    EXPECT_TRUE(direct.HasAlpha());
    EXPECT_EQ(direct.GetWidth(), 4);
    // An image with its own alpha keeps its colours.
    ASSERT_TRUE(withAlpha.LoadFromFile("images/ga.png", true));
    EXPECT_FALSE(withAlpha.GreyToAlpha());

    const uint16_t indices[] = {0, 1, 2, 0, 2, 3};
    const float uv[] = {0, 0, 0, 1, 1, 1, 1, 0};
    ClearSurface(kBlack);
    int top = 0;
    for (CIwTexture* t : {&direct, &turned, &withAlpha}) {
        const float quad[] = {0,   float(top),      0,   float(top + 20),
                              160, float(top + 20), 160, float(top)};
        CIwMaterial* m = IwGxAllocFrameMaterial();
        m->SetTexture(t);
        m->SetAlphaMode(CIwMaterial::ALPHA_BLEND);
        m->SetColEmissive(kWhite);
        IwGxSetMaterial(m);
        IwGxSetVertStreamScreenSpace(quad, 4);
        IwGxSetUVStream(uv);
        IwGxDrawPrims(IW_GX_TRI_LIST, indices, 6);
        top += 40;
    }
    ShowSurface();
    // Each texel's centre: white at the grey level's opacity over black.
    for (int i = 0; i < 4; ++i) {
        const uint32_t expected = 0xFF000000u | grey[i] * 0x010101u;
        EXPECT_TRUE(Near(surface.Pixel(20 + 40 * i, 10), expected, 2)) << i;
        EXPECT_EQ(surface.Pixel(20 + 40 * i, 10), surface.Pixel(20 + 40 * i, 50)) << i;
    }
    // Grey 90 at half opacity, then opaque.
    EXPECT_TRUE(Near(surface.Pixel(20, 90), 0xFF2D2D2Du, 2));
    EXPECT_TRUE(Near(surface.Pixel(140, 90), 0xFF5A5A5Au, 2));
}

TEST_F(Drawing, ScratchMemoryLivesForOneFrame) {
    auto* a = static_cast<unsigned char*>(IwGxScratchAlloc(100));
    auto* b = static_cast<unsigned char*>(IwGxScratchAlloc(3));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % 16, 0u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % 16, 0u);
    EXPECT_GE(b - a, 100);
    EXPECT_EQ(a[99], 0);
    void* big = IwGxScratchAlloc(3u * 1024u * 1024u);  // larger than a block
    ASSERT_NE(big, nullptr);
    EXPECT_GE(IwGxScratchUsed(), 3u * 1024u * 1024u);
    ShowSurface();
    EXPECT_EQ(IwGxScratchUsed(), 0u);
    a[0] = 7;  // the block is kept for the next frame, so this stays valid memory
    auto* again = static_cast<unsigned char*>(IwGxScratchAlloc(1));
    EXPECT_EQ(again[0], 0);  // handed out zeroed
}

TEST_F(Drawing, StartAndEndAreReferenceCounted) {
    InitDrawing();  // second reference
    TerminateDrawing();
    ClearSurface(kBlack);
    SetDrawColour(kRed);
    FillRect(0, 0, 10, 10);
    ShowSurface();
    EXPECT_TRUE(Near(surface.Pixel(5, 5), kRed));
    EXPECT_TRUE(IwGxIsStarted());
}

TEST_F(Drawing, TechniquesComeFromBuiltInGroups) {
    static const char kGroup[] =
        "# a test group\n"
        "technique paint_green\n"
        "[vertex]\n"
        "attribute vec4 inVert;\nuniform mat4 inPMVMat;\n"
        "void main() { gl_Position = inPMVMat * inVert; }\n"
        "[fragment]\n"
        "precision mediump float;\nuniform vec4 inEmissive;\n"
        "void main() { gl_FragColor = vec4(0.0, 1.0, 0.0, 1.0) * inEmissive.a; }\n"
        "[end]\n"
        "technique broken\n"
        "[vertex]\nthis is not glsl\n[fragment]\nnor this\n[end]\n"
        "technique broken_fragment\n"
        "[vertex]\nvoid main() { gl_Position = vec4(0.0); }\n"
        "[fragment]\nnot glsl either\n[end]\n"
        // Each stage compiles; the fragment stage reads a varying the vertex
        // stage lacks, which only the link finds.
        "technique unlinked\n"
        "[vertex]\nvoid main() { gl_Position = vec4(0.0); }\n"
        "[fragment]\nprecision mediump float;\nvarying vec4 vMissing;\n"
        "void main() { gl_FragColor = vMissing; }\n[end]\n";
    static const char kMalformed[] = "technique t\n[fragment]\n[end]\n";
    IwResRegisterBuiltinGroup("test_group", kGroup, sizeof kGroup - 1);
    IwResRegisterBuiltinGroup("bad_group", kMalformed, sizeof kMalformed - 1);
    EXPECT_FALSE(IwResLoadGroup("no_such_group"));
    EXPECT_FALSE(IwResLoadGroup("bad_group"));
    ASSERT_TRUE(IwResLoadGroup("test_group"));
    CIwGxShaderTechnique* green = IwResFindTechnique("paint_green");
    CIwGxShaderTechnique* broken = IwResFindTechnique("broken");
    ASSERT_NE(green, nullptr);
    ASSERT_NE(broken, nullptr);
    EXPECT_EQ(IwResFindTechnique("t"), nullptr);

    const float quad[] = {0, 0, 0, 40, 40, 40, 40, 0};
    const uint16_t indices[] = {0, 1, 2, 0, 2, 3};
    ClearSurface(kBlack);
    CIwMaterial* m = IwGxAllocFrameMaterial();
    m->SetColEmissive(kRed);
    m->SetShaderTechnique(green);
    IwGxSetMaterial(m);
    IwGxSetVertStreamScreenSpace(quad, 4);
    IwGxDrawPrims(IW_GX_TRI_LIST, indices, 6);
    // A technique that does not compile falls back to the engine's own program,
    // which paints the emissive colour.
    const float quad2[] = {50, 0, 50, 40, 90, 40, 90, 0};
    CIwMaterial* m2 = IwGxAllocFrameMaterial();
    m2->SetColEmissive(kBlue);
    m2->SetShaderTechnique(broken);
    IwGxSetMaterial(m2);
    IwGxSetVertStreamScreenSpace(quad2, 4);
    IwGxDrawPrims(IW_GX_TRI_LIST, indices, 6);
    size_t warningsAfterFirst = surface.warnings.size();
    IwGxDrawPrims(IW_GX_TRI_LIST, indices, 6);
    ShowSurface();
    EXPECT_TRUE(Near(surface.Pixel(20, 20), kGreen));
    EXPECT_TRUE(Near(surface.Pixel(70, 20), kBlue));
    EXPECT_EQ(surface.LastDrawCalls(), 3);
    EXPECT_EQ(surface.warnings.size(), warningsAfterFirst);  // the fault is reported once
    ASSERT_FALSE(surface.warnings.empty());
    EXPECT_NE(surface.warnings.back().find("broken: vertex shader does not compile"),
              std::string::npos)
        << surface.warnings.back();

    // Each fault is named by the stage that has it.
    const struct {
        const char* technique;
        const char* warning;
    } kFaults[] = {{"broken_fragment", "broken_fragment: fragment shader does not compile"},
                   {"unlinked", "unlinked does not link"}};
    for (const auto& fault : kFaults) {
        CIwGxShaderTechnique* t = IwResFindTechnique(fault.technique);
        ASSERT_NE(t, nullptr);
        const size_t before = surface.warnings.size();
        EXPECT_FALSE(t->Prepare());
        EXPECT_FALSE(t->Prepare());
        ASSERT_EQ(surface.warnings.size(), before + 1) << fault.technique;
        EXPECT_NE(surface.warnings.back().find(fault.warning), std::string::npos)
            << surface.warnings.back();
    }
}

}  // namespace
