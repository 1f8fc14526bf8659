// The main menu: layout, drawing, hit test and taps.
#include "ui/main_menu.h"

#include <initializer_list>

#include "draw2d/iw2d.h"
#include "platform/s3e.h"
#include "services/device.h"
#include "services/dialogs.h"
#include "services/links.h"
#include "services/promo.h"
#include "storage/settings.h"
#include "text/sdf_font.h"
#include "ui/images.h"
#include "ui/look.h"
#include "ui/text_fit.h"

namespace {

constexpr MenuMetrics kStartMetrics = {20,  20,  30, 0,  20, 20, 256, 256, 10,
                                       200, 100, 30, 50, 20, 20, 10,  30};
constexpr ScreenRect kHidden = {-1, -1, -1, -1};

constexpr ColourWord kFrameColour = MakeColour(237, 177, 105);
constexpr ColourWord kPanelColour = MakeColour(11, 165, 95);
constexpr ColourWord kPostColour = MakeColour(158, 113, 95);
constexpr ColourWord kSignColour = MakeColour(218, 84, 78);
constexpr ColourWord kSignTextColour = MakeColour(48, 76, 90);
constexpr ColourWord kLabelColour = MakeColour(230, 230, 230);
constexpr ColourWord kPromoOutline = MakeColour(60, 74, 89);

// The Rate text in Russian; it also sizes the sign texts in both languages.
const char kRateRussian[] = "Oцeнить";
const char kHelpRussian[] = "Cпpaвкa";

// v * 10 / 11; true when the value fell.
bool ShrinkValue(int32_t* v) {
    const int32_t next = *v * 10 / 11;
    const bool fell = next != *v;
    *v = next;
    return fell;
}

bool ShrinkTiles(MenuMetrics* m) {
    bool fell = false;
    for (int32_t* v : {&m->marginX, &m->marginTop, &m->tileGapX, &m->tileGapY, &m->panelPadX,
                       &m->panelPadY, &m->tileW, &m->tileH}) {
        fell = ShrinkValue(v) || fell;
    }
    const int32_t frame = m->frame;
    m->frame = frame * 10 / 11 < 2 ? 2 : frame * 10 / 11;
    return fell || m->frame != frame;
}

bool ShrinkSigns(MenuMetrics* m) {
    bool fell = false;
    for (int32_t* v : {&m->signW, &m->signH, &m->signGap, &m->postBelow, &m->postAbove, &m->postW,
                       &m->signBottom, &m->spare}) {
        fell = ShrinkValue(v) || fell;
    }
    return fell;
}

int32_t TilesWidth(const MenuMetrics& m, bool portrait) {
    return portrait ? 2 * (m.tileW + m.frame + m.panelPadX + m.marginX) + m.tileGapX
                    : 3 * m.tileW + 2 * (m.frame + m.panelPadX + m.tileGapX + m.marginX);
}

int32_t PanelHeight(const MenuMetrics& m, bool portrait) {
    return portrait ? 3 * m.tileH + 2 * (m.frame + m.panelPadY + m.tileGapY)
                    : m.tileGapY + 2 * (m.frame + m.tileH + m.panelPadY);
}

// Everything stacked above the promotion row: panel, signs and posts.
int32_t MenuHeight(const MenuMetrics& m, bool portrait) {
    return m.marginTop + PanelHeight(m, portrait) + m.signBottom + m.postBelow + m.postAbove +
           m.signH;
}

}  // namespace

bool RateSignShown(int32_t rateRedirected, int32_t pointsSolved, int32_t os, int32_t debugSwitch) {
    if (rateRedirected != 0 || pointsSolved < 5) return false;
    return os != S3E_OS_ID_DESKTOP || debugSwitch != 0;
}

MainMenuLayout LayoutMainMenu(int32_t width, int32_t height, bool rateShown) {
    const int32_t W = width, H = height;
    const int32_t hW = W / 2;
    MainMenuLayout l{};
    MenuMetrics& m = l.metrics;
    m = kStartMetrics;
    l.portrait = W <= H;
    l.avail = H - 105;

    // The promotion row.
    const int32_t rowY = H - 105;
    l.promoCorner = {5, rowY, 100, 100};
    l.promoTiles[0] = {W - 105, rowY, 100, 100};
    l.promoTiles[2] = kHidden;
    if (W < 426) {
        l.promoTiles[1] = {hW - 50, rowY, 100, 100};
    } else {
        l.promoGap = (W - 410) / 6;
        l.promoTiles[2] = {hW + l.promoGap, rowY, 100, 100};
        l.promoTiles[1] = {hW - l.promoGap - 100, rowY, 100, 100};
    }

    // Shrink to the width, then to the height; a surface too small for the
    // smallest metrics stops once nothing falls further.
    while (W < TilesWidth(m, l.portrait) && ShrinkTiles(&m)) {
    }
    while (W < 3 * m.signW + 2 * (m.signGap + m.marginX) && ShrinkSigns(&m)) {
    }
    while (l.avail < MenuHeight(m, l.portrait)) {
        const bool tilesFell = ShrinkTiles(&m);
        const bool signsFell = ShrinkSigns(&m);
        if (!tilesFell && !signsFell) break;
    }

    // Share the spare height among the row gaps and the pads, then the spare width.
    if (MenuHeight(m, l.portrait) < l.avail) {
        MenuMetrics tight = m;
        tight.tileGapY = tight.panelPadY = 0;
        const int32_t spare = l.avail - MenuHeight(tight, l.portrait);
        m.tileGapY = m.panelPadY = spare / (l.portrait ? 4 : 3);
    }
    m.tileGapX = m.panelPadX = l.portrait ? (W - 2 * (m.frame + m.marginX + m.tileW)) / 3
                                          : (W - 3 * m.tileW - 2 * (m.marginX + m.frame)) / 4;

    // Signs on their posts.
    const int32_t signY = l.avail - m.signH - m.postBelow - m.signBottom;
    l.themesSign = {m.marginX, signY, m.signW, m.signH};
    l.helpSign = {W - m.signW - m.marginX, signY, m.signW, m.signH};
    l.rateSign = rateShown ? ScreenRect{hW - m.signW / 2, signY, m.signW, m.signH} : kHidden;
    const ScreenRect* signs[3] = {&l.themesSign, &l.helpSign, &l.rateSign};
    for (int i = 0; i < 3; ++i) {
        l.posts[i] = signs[i]->w < 0
                         ? kHidden
                         : ScreenRect{signs[i]->x + m.signW / 2 - m.postW / 2, signY - m.postAbove,
                                      m.postW, m.postAbove + m.signH + m.postBelow};
    }

    // Tiles: 3 + 2 in landscape, 2 + 2 + 1 in portrait.
    const int32_t y0 = m.marginTop + m.frame + m.panelPadY;
    const int32_t rowStep = m.tileH + m.tileGapY;
    const int32_t pairLeft = hW - m.tileGapX / 2 - m.tileW, pairRight = hW + m.tileGapX / 2;
    if (l.portrait) {
        for (int32_t i = 0; i < 4; ++i) {
            l.tiles[i] = {i % 2 == 0 ? pairLeft : pairRight, y0 + (i / 2) * rowStep, m.tileW,
                          m.tileH};
        }
        l.tiles[4] = {hW - m.tileW / 2, y0 + 2 * rowStep, m.tileW, m.tileH};
    } else {
        const int32_t mid = hW - m.tileW / 2;
        l.tiles[0] = {mid - m.tileW - m.tileGapX, y0, m.tileW, m.tileH};
        l.tiles[1] = {mid, y0, m.tileW, m.tileH};
        l.tiles[2] = {hW + m.tileW / 2 + m.tileGapX, y0, m.tileW, m.tileH};
        l.tiles[3] = {pairLeft, y0 + rowStep, m.tileW, m.tileH};
        l.tiles[4] = {pairRight, y0 + rowStep, m.tileW, m.tileH};
    }
    l.panel = {m.marginX, m.marginTop, W - 2 * m.marginX, PanelHeight(m, l.portrait)};
    return l;
}

// ===========================================================================
// Drawing

namespace {

void Fill(const ScreenRect& r) {
    FillRect(static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.w),
             static_cast<float>(r.h));
}

void Image(CIw2DImage* image, const ScreenRect& r) {
    DrawImage(image, static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.w),
              static_cast<float>(r.h));
}

// A promotion tile's two-pixel outline.
void Outline(const ScreenRect& r) {
    SetDrawColour(kPromoOutline);
    DrawRect(static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.w),
             static_cast<float>(r.h));
    DrawRect(static_cast<float>(r.x - 1), static_cast<float>(r.y - 1), static_cast<float>(r.w + 2),
             static_cast<float>(r.h + 2));
}

void DrawPromotionRow(const MainMenuLayout& l) {
    if (l.promoTiles[2].w > 0) {
        SetDrawColour(kColourWhite);
        Image(PromoImage(2), l.promoTiles[2]);
        Outline(l.promoTiles[2]);
    }
    SetDrawColour(kColourWhite);
    Image(PromoImage(0), l.promoTiles[0]);
    Image(PromoImage(1), l.promoTiles[1]);
    Image(device.DesktopSimulator() ? PromoImage(3) : imageSet.premium, l.promoCorner);
    Outline(l.promoTiles[0]);
    Outline(l.promoTiles[1]);
    Outline(l.promoCorner);
}

void DrawSigns(const MainMenuLayout& l) {
    const ScreenRect* faces[3] = {&l.themesSign, &l.helpSign, &l.rateSign};
    for (int i = 0; i < 3; ++i) {
        if (faces[i]->w < 0) continue;
        SetDrawColour(kPostColour);
        Fill(l.posts[i]);
        SetDrawColour(kSignColour);
        Fill(*faces[i]);
    }
}

void DrawPanel(const MainMenuLayout& l) {
    const MenuMetrics& m = l.metrics;
    SetDrawColour(kFrameColour);
    Fill(l.panel);
    SetDrawColour(kPanelColour);
    Fill({l.panel.x + m.frame, l.panel.y + m.frame, l.panel.w - 2 * m.frame,
          l.panel.h - 2 * m.frame});
    SetDrawColour(kColourWhite);
    for (const ScreenRect& tile : l.tiles)
        Image(imageSet.borderElem, tile);
}

void DrawTexts(const MainMenuLayout& l, const MainMenuScreen* menu) {
    SdfFont* font = g_font;
    if (!font) return;
    const MenuMetrics& m = l.metrics;
    font->style = kStyleSoft;
    font->lineSpacing = 0.8f;

    // Labels in the lower two thirds of each tile.
    const int32_t labelH = 2 * m.tileH / 3;
    SetTextBox(font, static_cast<float>(m.tileW), static_cast<float>(labelH),
               kLayoutCentre | kLayoutCentreV, kLabelColour, 3.0f);
    const float labelBounds[2] = {static_cast<float>(4 * m.tileW / 5),
                                  static_cast<float>(23 * labelH / 28)};
    FitTextScale(font, "Medium", 3.0f, 0.05f, FitsBelow, labelBounds);
    const int32_t labels = menu->sizeClassTiles ? menu->sizeClassCount : 0;
    for (int32_t i = 0; i < kMenuTileCount && i < labels; ++i) {
        const ScreenRect& t = l.tiles[i];
        DrawText(font, static_cast<float>(t.x), static_cast<float>(t.y + m.tileH / 3),
                 menu->sizeClassTiles[i].label);
    }

    SetTextBox(font, static_cast<float>(m.signW), static_cast<float>(m.signH),
               kLayoutCentre | kLayoutCentreV, kSignTextColour, 2.0f);
    const float signBounds[2] = {static_cast<float>(4 * m.signW / 5),
                                 static_cast<float>(23 * m.signH / 28)};
    FitTextScale(font, kRateRussian, 2.0f, 0.05f, FitsBelow, signBounds);
    DrawText(font, static_cast<float>(l.themesSign.x), static_cast<float>(l.themesSign.y),
             "Themes");
    DrawText(font, static_cast<float>(l.helpSign.x), static_cast<float>(l.helpSign.y),
             LocalText("Help", kHelpRussian));
    if (l.rateSign.w >= 0) {
        DrawText(font, static_cast<float>(l.rateSign.x), static_cast<float>(l.rateSign.y),
                 LocalText("Rate", kRateRussian));
    }
}

}  // namespace

void DrawMainMenu(MainMenuScreen* menu) {
    if (!menu) return;
    const int32_t W = surfaceSize.width, H = surfaceSize.height;
    menu->themesSign = menu->rateSign = menu->helpSign = kHidden;
    menu->promoTiles[0] = menu->promoTiles[1] = menu->promoTiles[2] = kHidden;
    menu->promoCorner = {0, 0, -1, -1};
    for (int32_t i = 0; menu->sizeClassTiles && i < menu->sizeClassCount; ++i)
        menu->sizeClassTiles[i].rect = kHidden;
    if (W <= 0 || H <= 0) return;

    // The debug switch is the desktop simulator's alone; other hosts are not asked.
    const int32_t debugSwitch = device.DesktopSimulator() ? s3eDebugGetInt(0) : 0;
    const bool rate = RateSignShown(rate_redirected, points, device.os, debugSwitch);
    const MainMenuLayout l = LayoutMainMenu(W, H, rate);
    menu->metrics = l.metrics;
    menu->themesSign = l.themesSign;
    menu->helpSign = l.helpSign;
    menu->rateSign = l.rateSign;
    menu->promoCorner = l.promoCorner;
    for (int i = 0; i < 3; ++i)
        menu->promoTiles[i] = l.promoTiles[i];
    for (int32_t i = 0; menu->sizeClassTiles && i < menu->sizeClassCount && i < kMenuTileCount; ++i)
        menu->sizeClassTiles[i].rect = l.tiles[i];

    ClearSurface(palette.background);
    DrawPromotionRow(l);
    DrawSigns(l);
    DrawPanel(l);
    FlushDrawing();
    DrawTexts(l, menu);
}

// ===========================================================================
// Hit test

namespace {

// Signs and promotion tiles: all four edges inside; a hidden (or empty) one never.
bool InsideClosed(const ScreenRect& r, int32_t x, int32_t y) {
    return r.w > 0 && r.h > 0 && RectHolds(r, x, y, kAllEdges);
}

}  // namespace

MainMenuHit HitMainMenu(const MainMenuScreen* menu, int32_t x, int32_t y) {
    if (!menu) return {kMenuNone, 0};
    if (InsideClosed(menu->rateSign, x, y)) return {kMenuRate, 0};
    if (InsideClosed(menu->helpSign, x, y)) return {kMenuHelp, 0};
    if (InsideClosed(menu->promoCorner, x, y)) return {kMenuCorner, 0};
    for (int32_t i = 0; menu->sizeClassTiles && i < menu->sizeClassCount; ++i) {
        const ScreenRect& r = menu->sizeClassTiles[i].rect;
        if (RectHolds(r, x, y, kLeftTopEdges)) return {kMenuSizeClass, i};
    }
    if (InsideClosed(menu->themesSign, x, y)) return {kMenuThemes, 0};
    for (int32_t i = 0; i < 3; ++i) {
        if (InsideClosed(menu->promoTiles[i], x, y)) return {kMenuPromo, i};
    }
    return {kMenuNone, 0};
}

MainMenuHit TapMainMenu(const MainMenuScreen* menu, int32_t x, int32_t y) {
    const MainMenuHit hit = HitMainMenu(menu, x, y);
    switch (hit.target) {
        case kMenuRate:
            rate_redirected = 1;
            WriteSettings();
            OpenLink(kLinkRate);
            break;
        case kMenuHelp:
            OpenLink(kLinkHelp);
            break;
        case kMenuCorner:
            // On the desktop simulator the corner is a fourth promotion tile.
            if (device.DesktopSimulator()) {
                OpenPromo(3);
            } else {
                ShowDialog(kDialogPaidEdition);
            }
            break;
        case kMenuThemes:
            ShowDialog(kDialogTheme);
            break;
        case kMenuPromo:
            OpenPromo(hit.index);
            break;
        case kMenuSizeClass:
        case kMenuNone:
            break;
    }
    return hit;
}
