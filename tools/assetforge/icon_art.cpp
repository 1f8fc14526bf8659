// Paints each image of the game from shapes and Material Design Icons glyphs.
#include "icon_art.h"

namespace forge {
namespace {

// Code points of the Material Design Icons webfont 1.6.
enum : uint32_t {
    kMdiArrowLeft = 0xF04D,
    kMdiUndo = 0xF54C,
    kMdiEraser = 0xF1FE,
    kMdiClose = 0xF156,
    kMdiDelete = 0xF1C0,
    kMdiHelp = 0xF2D6,
    kMdiArrowAll = 0xF041,
    kMdiCheck = 0xF12C,
    kMdiCrown = 0xF1A5,
    kMdiCards = 0xF638,
    kMdiDice5 = 0xF1CE,
    kMdiPuzzle = 0xF431,
    kMdiCalculator = 0xF0EC,
    kMdiAlphabetical = 0xF02C,
    kMdiGamepadVariant = 0xF297,
};

const Colour kSlate = Rgb(60, 74, 89);
const Colour kInk = Rgb(44, 62, 80);
const Colour kPaper = Rgb(250, 250, 250);
const Colour kWhite = Rgb(255, 255, 255);

// A light button tile with a dark rim: reads on every theme background and on the white footer.
void ButtonTile(Canvas& c) {
    float s = static_cast<float>(c.Width());
    float m = s * 0.03f, r = s * 0.2f;
    FillRoundRect(c, m, m, s - m, s - m, r, kPaper);
    StrokeRoundRect(c, m, m, s - m, s - m, r, s * 0.035f, kSlate);
}

void ButtonGlyph(Canvas& c, GlyphPainter& icons, uint32_t code, Colour colour) {
    ButtonTile(c);
    float s = static_cast<float>(c.Width());
    icons.Draw(c, code, s * 0.5f, s * 0.5f, s * 0.56f, colour);
}

// A coloured tile with a white glyph: status icons, premium and promotion tiles.
void ColourTile(Canvas& c, Colour fill, Colour rim) {
    float s = static_cast<float>(c.Width());
    float m = s * 0.03f, r = s * 0.2f;
    FillRoundRect(c, m, m, s - m, s - m, r, fill);
    StrokeRoundRect(c, m, m, s - m, s - m, r, s * 0.035f, rim);
}

// A small grid of n x n cells inside the square (x0, y0, side); filled marks which are black.
void MiniGrid(Canvas& c, float x0, float y0, float side, int n, const char* filled, Colour line,
              Colour fill, float lineWidth) {
    float cell = side / n;
    for (int i = 0; i < n * n; ++i) {
        if (filled && filled[i] == '#') {
            float x = x0 + (i % n) * cell, y = y0 + (i / n) * cell;
            FillRect(c, x, y, x + cell, y + cell, fill);
        }
    }
    for (int i = 0; i <= n; ++i) {
        float p = i * cell;
        FillRect(c, x0 + p - lineWidth / 2, y0 - lineWidth / 2, x0 + p + lineWidth / 2,
                 y0 + side + lineWidth / 2, line);
        FillRect(c, x0 - lineWidth / 2, y0 + p - lineWidth / 2, x0 + side + lineWidth / 2,
                 y0 + p + lineWidth / 2, line);
    }
}

// --- Toolbar buttons -------------------------------------------------------

void PaintBack(Canvas& c, GlyphPainter& i) {
    ButtonGlyph(c, i, kMdiArrowLeft, kInk);
}
void PaintUndo(Canvas& c, GlyphPainter& i) {
    ButtonGlyph(c, i, kMdiUndo, kInk);
}
void PaintErase(Canvas& c, GlyphPainter& i) {
    ButtonGlyph(c, i, kMdiEraser, kInk);
}
void PaintSetX(Canvas& c, GlyphPainter& i) {
    ButtonGlyph(c, i, kMdiClose, Rgb(10, 10, 10));
}
void PaintClearAll(Canvas& c, GlyphPainter& i) {
    ButtonGlyph(c, i, kMdiDelete, Rgb(200, 60, 50));
}
void PaintQuestion(Canvas& c, GlyphPainter& i) {
    ButtonGlyph(c, i, kMdiHelp, kInk);
}
void PaintMoveScale(Canvas& c, GlyphPainter& i) {
    ButtonGlyph(c, i, kMdiArrowAll, kInk);
}

// The Drawing tool paints filled cells: a filled cell is its picture.
void PaintDrawFull(Canvas& c, GlyphPainter&) {
    ButtonTile(c);
    float s = static_cast<float>(c.Width());
    FillRoundRect(c, s * 0.27f, s * 0.27f, s * 0.73f, s * 0.73f, s * 0.04f, Rgb(30, 30, 30));
}

// --- Puzzle-list status icons ----------------------------------------------

void PaintClosed(Canvas& c, GlyphPainter&) {
    float s = static_cast<float>(c.Width());
    ColourTile(c, kPaper, Rgb(150, 150, 150));
    MiniGrid(c, s * 0.24f, s * 0.24f, s * 0.52f, 3, nullptr, Rgb(150, 150, 150), kInk, s * 0.03f);
}

void PaintOpened(Canvas& c, GlyphPainter&) {
    float s = static_cast<float>(c.Width());
    ColourTile(c, kPaper, Rgb(230, 126, 34));
    MiniGrid(c, s * 0.24f, s * 0.24f, s * 0.52f, 3, "#.##.....", Rgb(150, 150, 150),
             Rgb(30, 30, 30), s * 0.03f);
}

void PaintCompleted(Canvas& c, GlyphPainter& i) {
    float s = static_cast<float>(c.Width());
    ColourTile(c, Rgb(39, 146, 58), Rgb(25, 110, 40));
    i.Draw(c, kMdiCheck, s * 0.5f, s * 0.5f, s * 0.6f, kWhite);
}

// --- Board badge, main menu tile face and premium tile ----------------------

void PaintCompletedSolid(Canvas& c, GlyphPainter& i) {
    float s = static_cast<float>(c.Width());
    FillCircle(c, s * 0.5f, s * 0.5f, s * 0.48f, kWhite);
    FillCircle(c, s * 0.5f, s * 0.5f, s * 0.42f, Rgb(39, 174, 96));
    i.Draw(c, kMdiCheck, s * 0.5f, s * 0.52f, s * 0.5f, kWhite);
}

// The face of a size-class tile: the label goes in the lower two thirds, in
// light grey, so the face is a darker green than the panel with a nonogram
// clue row as an ornament in the top third.
void PaintBorderElem(Canvas& c, GlyphPainter&) {
    float s = static_cast<float>(c.Width());
    float m = s * 0.02f, r = s * 0.12f;
    FillRoundRect(c, m, m, s - m, s - m, r, Rgb(8, 122, 70));
    StrokeRoundRect(c, m, m, s - m, s - m, r, s * 0.03f, Rgb(230, 230, 230, 220));
    const char* row = "##.#.";
    float cell = s * 0.1f, x0 = (s - 5 * cell) / 2, y0 = s * 0.13f;
    for (int k = 0; k < 5; ++k) {
        float x = x0 + k * cell;
        Colour fill = row[k] == '#' ? Rgb(230, 230, 230, 210) : Rgb(230, 230, 230, 40);
        FillRoundRect(c, x + cell * 0.1f, y0 + cell * 0.1f, x + cell * 0.9f, y0 + cell * 0.9f,
                      cell * 0.12f, fill);
    }
}

void PaintPremium(Canvas& c, GlyphPainter& i) {
    float s = static_cast<float>(c.Width());
    ColourTile(c, Rgb(243, 156, 18), Rgb(211, 84, 0));
    i.Draw(c, kMdiCrown, s * 0.5f, s * 0.48f, s * 0.58f, kWhite);
}

// --- Promotion tiles ---------------------------------------------------------

template <int R, int G, int B, uint32_t Code>
void PromoGlyph(Canvas& c, GlyphPainter& i) {
    float s = static_cast<float>(c.Width());
    ColourTile(c, Rgb(R, G, B), Rgb(R * 3 / 4, G * 3 / 4, B * 3 / 4));
    i.Draw(c, Code, s * 0.5f, s * 0.5f, s * 0.6f, kWhite);
}

// This game's own tile: a solved nonogram of a heart.
template <int R, int G, int B>
void PromoNonogram(Canvas& c, GlyphPainter&) {
    float s = static_cast<float>(c.Width());
    ColourTile(c, Rgb(R, G, B), Rgb(R * 3 / 4, G * 3 / 4, B * 3 / 4));
    const char* heart =
        "......."
        ".##.##."
        "#######"
        "#######"
        ".#####."
        "..###.."
        "...#...";
    MiniGrid(c, s * 0.18f, s * 0.18f, s * 0.64f, 7, heart, Rgb(255, 255, 255, 120), kWhite,
             s * 0.015f);
}

}  // namespace

const std::vector<ImageArt>& GameImages() {
    static const std::vector<ImageArt> images = {
        {"back.png", 128, "back button", PaintBack},
        {"undo.png", 128, "Undo button", PaintUndo},
        {"draw_blank.png", 128, "Erase tool button", PaintErase},
        {"draw_full.png", 128, "Drawing tool button", PaintDrawFull},
        {"draw_x.png", 128, "Set X tool button", PaintSetX},
        {"clear_all.png", 128, "Clear All button", PaintClearAll},
        {"question.png", 128, "legend toggle button", PaintQuestion},
        {"completed.png", 128, "solved puzzle icon", PaintCompleted},
        {"move_scale.png", 128, "Scale & Move toggle", PaintMoveScale},
        {"opened.png", 128, "puzzle in progress icon", PaintOpened},
        {"closed.png", 128, "puzzle not started icon", PaintClosed},
        {"completed_solid.png", 128, "solved badge", PaintCompletedSolid},
        {"border_elem.png", 256, "size-class tile face", PaintBorderElem},
        {"premium.png", 128, "premium offer tile", PaintPremium},
    };
    return images;
}

const std::vector<ImageArt>& PromoImages() {
    static const std::vector<ImageArt> images = {
        {"ad_alder_1.png", 128, "promotion tile", PromoGlyph<41, 128, 185, kMdiCards>},
        {"ad_alder_2.png", 128, "promotion tile", PromoGlyph<142, 68, 173, kMdiCards>},
        {"ad_alder_3.png", 128, "promotion tile", PromoGlyph<22, 160, 133, kMdiCards>},
        {"ad_birch_1.png", 128, "promotion tile", PromoNonogram<11, 165, 95>},
        {"ad_birch_2.png", 128, "promotion tile", PromoNonogram<52, 73, 94>},
        {"ad_birch_3.png", 128, "promotion tile", PromoNonogram<192, 57, 43>},
        {"ad_cedar_1.png", 128, "promotion tile", PromoGlyph<211, 84, 0, kMdiDice5>},
        {"ad_cedar_2.png", 128, "promotion tile", PromoGlyph<39, 174, 96, kMdiDice5>},
        {"ad_cedar_3.png", 128, "promotion tile", PromoGlyph<52, 73, 94, kMdiDice5>},
        {"ad_maple1_ru_1.png", 128, "promotion tile", PromoGlyph<230, 126, 34, kMdiPuzzle>},
        {"ad_maple2_ru_1.png", 128, "promotion tile", PromoGlyph<155, 89, 182, kMdiCalculator>},
        {"ad_maple8_ru_1.png", 128, "promotion tile", PromoGlyph<26, 188, 156, kMdiAlphabetical>},
        {"maple_us_100.png", 128, "promotion tile", PromoGlyph<231, 76, 60, kMdiPuzzle>},
        {"ad_aspen_1.png", 128, "promotion tile", PromoGlyph<52, 152, 219, kMdiGamepadVariant>},
    };
    return images;
}

}  // namespace forge
