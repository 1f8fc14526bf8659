// The font file: any bytes either load a font whose glyphs all lie on its pages
// and inside its texture, which then lays text out, or leave it cleared and
// unloaded. Its folder holds one 16 x 16 page, "p.png".
#include <cmath>
#include <cstdlib>
#include <vector>

#include "hosts/common/png_writer.h"
#include "tests/fuzz/fuzz_host.h"
#include "text/sdf_font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool pageMade = false;
    fuzzhost::Bind(false);
    if (!pageMade) {
        std::vector<uint8_t> rgba(16 * 16 * 4, 0x80);
        std::string error;
        fuzzhost::MakeFolders(fuzzhost::MachinePath("images"));
        FUZZ_CHECK(host::WritePng(fuzzhost::MachinePath("images/p.png"), rgba.data(), 16, 16, false,
                                  &error));
        pageMade = true;
    }
    FUZZ_CHECK(fuzzhost::WriteBytes(fuzzhost::MachinePath("images/fuzz.fnt"), data, size));
    SdfFont* font = CreateFont();
    if (LoadFont(font, "images/fuzz.fnt")) {
        FUZZ_CHECK(font->loaded && font->pageCount > 0 && font->glyphCount > 0);
        for (uint16_t i = 0; i < font->glyphCount; ++i) {
            const SdfGlyph& g = font->glyphs[i];
            FUZZ_CHECK(g.page < font->pageCount && font->pages[g.page].texture);
            for (float uv : g.uv)
                FUZZ_CHECK(uv >= 0.0f && uv <= 1.0f);
        }
        // Laying out reads every glyph the text names, wrapped and aligned.
        float width = -1.0f, height = -1.0f;
        font->maxWidth = 40.0f;
        font->layoutFlags = 0x001;
        MeasureText(font, "Ab 0123456789 \xd0\x9f\xd1\x80\xd0\xb8\n\xe2\x82\xac x", &width,
                    &height);
        FUZZ_CHECK(std::isfinite(width) && std::isfinite(height) && width >= 0.0f);
    } else {
        FUZZ_CHECK(!font->loaded && font->pageCount == 0 && !font->pages && !font->glyphs);
    }
    DestroyFont(font);
    return 0;
}
