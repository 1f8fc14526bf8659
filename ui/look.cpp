// The palette, the texts by language, the surface size and the language flag.
#include "ui/look.h"

#include "draw2d/iw2d.h"
#include "services/device.h"

Palette palette;
SurfaceSize surfaceSize;

namespace {

struct ThemeColours {
    ColourWord background, listText, listLine, iconTint;
};

const ThemeColours kThemes[3] = {
    {MakeColour(236, 240, 241), MakeColour(39, 146, 58), MakeColour(21, 126, 251), 0xFFFFFFFFu},
    {MakeColour(60, 74, 89), MakeColour(236, 240, 241), MakeColour(236, 240, 241), 0xAAFFFFFFu},
    {MakeColour(140, 140, 140), MakeColour(236, 240, 241), MakeColour(100, 100, 100), 0xAAAAAAAAu},
};

}  // namespace

void ApplyColorSchema(int32_t index) {
    palette.footerFill = 0xFFFFFFFFu;
    palette.footerLine = MakeColour(100, 100, 100);
    palette.scrollTrack = MakeColour(255, 255, 255);
    palette.scrollThumb = MakeColour(30, 144, 255);
    palette.clueBand = MakeColour(200, 200, 200);
    palette.filledCell = MakeColour(30, 30, 30);
    palette.gridLine = MakeColour(100, 100, 100);
    palette.clueText = MakeColour(0, 0, 0);
    palette.crossMark = MakeColour(10, 10, 10);

    const ThemeColours& t = kThemes[index == kSchemaDark ? 1 : index == kSchemaGrey ? 2 : 0];
    palette.background = t.background;
    palette.listText = t.listText;
    palette.listLine = t.listLine;
    palette.iconTint = t.iconTint;
}

const char* LocalText(const char* english, const char* russian) {
    return device.russian ? russian : english;
}

void ReadSurfaceSize() {
    surfaceSize.width = GetSurfaceWidth();
    surfaceSize.height = GetSurfaceHeight();
}
