// The edge smoothing and outline width that reach the shaders through the
// material's ambient colour.
#include <gtest/gtest.h>

#include "text/sdf_font.h"

namespace {

TEST(FontSmoothing, AutomaticFollowsScaleAndStyleUpToItsCap) {
    SdfFont font{};
    font.smoothRef = 8;
    TextMesh mesh{};
    mesh.smoothing = kSmoothingAuto;
    mesh.scale = 1.0f;
    EXPECT_FLOAT_EQ(EffectiveSmoothing(&font, &mesh), 0.25f / 8.0f);
    mesh.style = kStyleSoft;
    EXPECT_FLOAT_EQ(EffectiveSmoothing(&font, &mesh), 0.25f / 8.0f * 1.5f);
    mesh.scale = 2.0f;
    EXPECT_FLOAT_EQ(EffectiveSmoothing(&font, &mesh), 0.25f / 8.0f / 2.0f * 1.5f);
    mesh.scale = 0.05f;  // tiny text: capped
    EXPECT_FLOAT_EQ(EffectiveSmoothing(&font, &mesh), 0.3f);
    mesh.scale = 0.0f;  // no division by zero
    EXPECT_FLOAT_EQ(EffectiveSmoothing(&font, &mesh), 0.3f);
    font.smoothRef = 0;
    mesh.scale = 1.0f;
    EXPECT_LE(EffectiveSmoothing(&font, &mesh), 0.3f);
    // An explicit smoothing is used as it is.
    mesh.smoothing = 0.07f;
    EXPECT_FLOAT_EQ(EffectiveSmoothing(&font, &mesh), 0.07f);
}

TEST(FontSmoothing, AmbientCarriesSmoothingInRedAndOutlineInGreen) {
    // Both bytes reach 255 at the largest automatic smoothing and the default outline.
    EXPECT_EQ(SmoothingAmbient(0.3f, 0.15f), 0x0000FFFFu);
    // trunc(0.046875 x 850) = 39; trunc(0.1 x 1700) = 170.
    EXPECT_EQ(SmoothingAmbient(0.046875f, 0.1f), (170u << 8) | 39u);
    EXPECT_EQ(SmoothingAmbient(0.0f, 0.0f), 0u);
    // Out-of-range values saturate instead of spilling into the next byte.
    EXPECT_EQ(SmoothingAmbient(5.0f, 1.0f), 0x0000FFFFu);
    EXPECT_EQ(SmoothingAmbient(-1.0f, -0.5f), 0u);
}

}  // namespace
