// The resource group "SDFF_shaders" built into the module: three GLSL ES 1.00
// techniques that turn the distance in a page's alpha into plain, bold or
// outlined letters. The smoothing reaches them in the material's ambient red
// (x 850 / 255, so S = ambient.x / 3.333 gives it back) and the outline width
// in its ambient green (x 1700 / 255, so B = ambient.y / 6.666).
#include <cstring>

#include "engine/iwgx.h"
#include "text/sdf_font.h"
#include "text/sdf_shaders.h"

namespace {

// smoothstep needs edge0 < edge1: a smoothing or outline width that rounds to
// 0 (very large scales, outlineWidth 0) is held just above it, and the
// outline's inner colour edge is written as 1 - smoothstep(m0, m1, d), which
// is smoothstep(m1, m0, d) with its edges in the defined order.
#define SDFF_VERTEX                                                \
    "attribute vec4 inVert;\n"                                     \
    "attribute vec2 inUV0;\n"                                      \
    "uniform mat4 inPMVMat;\n"                                     \
    "uniform vec2 inUVScale;\n"                                    \
    "uniform vec4 inEmissive;\n"                                   \
    "uniform vec4 inMaterialAmbient;\n"                            \
    "varying vec2 vUV;\n"                                          \
    "varying vec4 vColour;\n"                                      \
    "varying vec2 vEdge;\n"                                        \
    "void main() {\n"                                              \
    "    gl_Position = inPMVMat * inVert;\n"                       \
    "    vUV = inUV0 * inUVScale;\n"                               \
    "    vColour = inEmissive;\n"                                  \
    "    vEdge = vec2(max(inMaterialAmbient.x / 3.333, 0.001),\n"  \
    "                 max(inMaterialAmbient.y / 6.666, 0.001));\n" \
    "}\n"

#define SDFF_FRAGMENT_HEAD              \
    "precision mediump float;\n"        \
    "uniform sampler2D inSampler0;\n"   \
    "uniform vec4 inMaterialDiffuse;\n" \
    "varying vec2 vUV;\n"               \
    "varying vec4 vColour;\n"           \
    "varying vec2 vEdge;\n"

const char kGroup[] =
    "# Distance-field font techniques\n"
    "technique sdf_font\n"
    "[vertex]\n" SDFF_VERTEX "[fragment]\n" SDFF_FRAGMENT_HEAD
    "void main() {\n"
    "    float S = vEdge.x;\n"
    "    float d = texture2D(inSampler0, vUV).a;\n"
    "    gl_FragColor = vec4(vColour.rgb, vColour.a * smoothstep(0.5 - S, 0.5 + S, d));\n"
    "}\n"
    "[end]\n"
    "technique sdf_font_bold\n"
    "[vertex]\n" SDFF_VERTEX "[fragment]\n" SDFF_FRAGMENT_HEAD
    "void main() {\n"
    "    float S = vEdge.x;\n"
    "    float d = texture2D(inSampler0, vUV).a;\n"
    "    gl_FragColor = vec4(vColour.rgb, vColour.a * smoothstep(0.4 - S, 0.4 + S, d));\n"
    "}\n"
    "[end]\n"
    "technique sdf_font_outline\n"
    "[vertex]\n" SDFF_VERTEX "[fragment]\n" SDFF_FRAGMENT_HEAD
    "void main() {\n"
    "    float S = vEdge.x;\n"
    "    float B = vEdge.y;\n"
    "    float m0 = 0.5 - B;\n"
    "    float m1 = 0.5 + B;\n"
    "    float c = m0 - B;\n"
    "    float d = texture2D(inSampler0, vUV).a;\n"
    "    vec3 rgb = mix(vColour.rgb, inMaterialDiffuse.rgb, 1.0 - smoothstep(m0, m1, d));\n"
    "    gl_FragColor = vec4(rgb, vColour.a * smoothstep(c - S, c + S, d));\n"
    "}\n"
    "[end]\n";

}  // namespace

const char kSdfShaderGroupName[] = "SDFF_shaders";
const char* const kSdfTechniqueNames[3] = {"sdf_font_outline", "sdf_font_bold", "sdf_font"};

int CreateTechniques() {
    IwResRegisterBuiltinGroup(kSdfShaderGroupName, kGroup, sizeof kGroup - 1);
    IwResLoadGroup(kSdfShaderGroupName);
    int found = 0;
    for (const char* name : kSdfTechniqueNames) {
        if (IwResFindTechnique(name)) ++found;
    }
    return found;
}
