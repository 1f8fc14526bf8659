// Names of the font's shader group and techniques, shared by the group's
// definition and the renderer that picks a technique.
#pragma once

extern const char kSdfShaderGroupName[];
// In fallback order: outline, bold, plain.
extern const char* const kSdfTechniqueNames[3];
