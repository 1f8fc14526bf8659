// Picture sources for puzzles: glyphs of the icon fonts and the colour emoji
// font rendered with FreeType, and imported .non puzzles. A picture is turned
// into an ink value per cell for a given board size; thresholding that gives
// the puzzle's solution.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/forge/solver.h"

namespace forge {

enum class SourceKind { Outline, Colour, Cells };

// One source of pictures: a font (or the folder of imported puzzles) with what
// the credits say about it.
struct SourceInfo {
    std::string id;       // short key used in the manifest: "mdi", "material", "fa", "emoji", "non"
    std::string title;    // e.g. "Material Design Icons"
    std::string package;  // Debian package it comes from, or the folder
    std::string license;
    std::string author;
    std::string path;  // font file or folder
    SourceKind kind = SourceKind::Outline;
};

// A picture cropped to its ink: grey coverage (0..255) for outline glyphs and
// imported puzzles, premultiplied RGBA for colour glyphs.
struct Raster {
    int width = 0;
    int height = 0;
    bool colour = false;
    std::vector<uint8_t> pixels;  // 1 byte per pixel, or 4 (R, G, B, A) when colour
};

struct PictureRef {
    int source = 0;          // index into the source table
    uint32_t codepoint = 0;  // glyph; 0 for imported puzzles
    std::string name;        // lower-case words joined by "-": "bear-face"
    std::string credit;      // who made this picture, when it differs from the source's author
    int sourceWidth = 0;     // ink box on the rendered raster
    int sourceHeight = 0;
    double fill = 0;  // mean coverage of the ink box
    // At the reference sizes below, thresholded at one half:
    float crispness[6] = {};  // 1 = every cell clearly ink or paper
    float filled[6] = {};     // share of filled cells
    float runs[6] = {};       // mean runs per line: 1 for a plain blob, more for detail
};

constexpr int kReferenceSizes[6] = {10, 15, 20, 30, 45, 70};

class PictureLibrary {
  public:
    PictureLibrary();
    ~PictureLibrary();
    PictureLibrary(const PictureLibrary&) = delete;
    PictureLibrary& operator=(const PictureLibrary&) = delete;

    // Opens the standard sources (fonts installed by the Debian packages, the
    // Unicode names, imported .non files in importDir when it exists) and
    // lists their pictures in a fixed order. False with a message when a
    // required source is missing.
    bool Open(const std::string& importDir, std::string* error);

    const std::vector<SourceInfo>& Sources() const { return sources_; }
    const std::vector<PictureRef>& Pictures() const { return pictures_; }

    // Renders a picture cropped to its ink box. Thread-safe.
    bool Render(const PictureRef& ref, Raster* out) const;

    // Measures sizes, fill and crispness of every picture and drops blank,
    // duplicate and unwanted ones. Progress is called with (done, total).
    void Measure(void (*progress)(int done, int total, void* user), void* user);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::vector<SourceInfo> sources_;
    std::vector<PictureRef> pictures_;
};

// Ink of every cell of a rows x cols board showing the raster, fitted inside
// the board keeping its aspect and centred (cells outside it are paper). For
// colour rasters the cells' colours decide: darkness, and the edge between
// cells of clearly different colour, drawn on the darker side.
std::vector<float> CellInk(const Raster& raster, int rows, int cols);

// The board a picture fills when fitted into a box of boxRows x boxCols
// keeping its aspect (each side at least 1).
void FittedSize(int pictureWidth, int pictureHeight, int boxRows, int boxCols, int* rows,
                int* cols);

}  // namespace forge
