// The fitting search of every screen's texts.
#include "ui/text_fit.h"

#include "text/sdf_font.h"

void SetTextBox(SdfFont* font, float maxWidth, float maxHeight, uint16_t layoutFlags,
                ColourWord colour, float scale) {
    if (!font) return;
    font->maxWidth = maxWidth < 0.0f ? 0.0f : maxWidth;
    font->maxHeight = maxHeight < 0.0f ? 0.0f : maxHeight;
    font->layoutFlags = layoutFlags;
    font->colour = colour;
    font->scale = scale;
}

float FitTextScale(SdfFont* font, const char* sample, float startScale, float step, FitTest test,
                   const void* context) {
    if (!font) return startScale;
    font->scale = startScale;
    if (!test) return startScale;
    for (;;) {
        float width = 0.0f, height = 0.0f;
        MeasureText(font, sample, &width, &height);
        if (test(width, height, context)) break;
        const float lowered = font->scale - step;
        // Also ends a search whose step is not positive or too small to move the scale.
        if (!(lowered > 0.0f) || !(lowered < font->scale)) break;
        font->scale = lowered;
    }
    return font->scale;
}

bool FitsBelow(float width, float height, const void* context) {
    const float* bounds = static_cast<const float*>(context);
    return width < bounds[0] && height < bounds[1];
}
