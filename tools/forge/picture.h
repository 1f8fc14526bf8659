// Picture sources for puzzles: glyphs of the icon fonts and the colour emoji
// font rendered with FreeType, vector emoji sets rasterised with librsvg, and
// imported .non puzzles. A picture is turned
// into an ink value per cell for a given board size; thresholding that gives
// the puzzle's solution.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/forge/play_stats.h"
#include "tools/forge/solver.h"

namespace forge {

// Outline: grey glyphs; Colour: colour bitmap glyphs; Vector: colour SVG
// icons; Shape: one-colour SVG icons, kept as grey coverage like glyphs;
// Cells: imported puzzles.
enum class SourceKind { Outline, Colour, Vector, Shape, Cells };

inline bool IsColour(SourceKind kind) {
    return kind == SourceKind::Colour || kind == SourceKind::Vector;
}

// One source of pictures: a font (or the folder of imported puzzles) with what
// the credits say about it.
struct SourceInfo {
    std::string id;       // short key used in the manifest: "mdi", "material", "fa", "emoji",
                          // "twemoji", "fluent", "non"
    std::string title;    // e.g. "Material Design Icons"
    std::string package;  // Debian or npm package it comes from, or the folder
    std::string license;
    std::string author;
    std::string path;  // font file, icon set file or folder
    SourceKind kind = SourceKind::Outline;
    bool lineDrawing = false;  // drawn as lines already: never traced into outlines
};

// A picture cropped to its ink: grey coverage (0..255) for outline glyphs and
// imported puzzles, premultiplied RGBA for colour glyphs.
struct Raster {
    int width = 0;
    int height = 0;
    bool colour = false;
    bool lineDrawing = false;     // see SourceInfo
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
    // Clues per line of the richest line-solvable puzzle the picture made on
    // a board of about 20 and 40 cells a side (survey.tsv): 0 when none was
    // line-solvable, -1 when not surveyed.
    float played20 = -1;
    float played40 = -1;
    int legible = 0;  // Legibility of the name (subjects.h)
    // What people who saw only the solved picture made of it, by the band of
    // the board's longer side (ReviewBand): a Review value.
    int8_t review[3] = {};
};

// Verdicts of the blind review (review.tsv): a picture people named holds how
// sure that is (kRecognised or more), one they did not kNotRecognised.
enum Review : int8_t { kNotReviewed = 0, kRecognised = 1, kNotRecognised = -1 };
// What `seen` namings and `missed` misses of a picture at one size make of it.
// Reviewers vary: the more of them look, the likelier one misses even a
// picture nine in ten name at once. So a picture stays named while its
// namings outnumber its misses six to one; each miss then costs three namings
// of sureness.
inline int ReviewVerdict(int seen, int missed) {
    if (seen == 0 && missed == 0) return kNotReviewed;
    if (seen < 6 * missed) return kNotRecognised;
    return std::min(seen - 3 * missed, 100);  // at least 1 here; int8_t holds it
}
// Review bands by the board's longer side: under 15, 15 to 29, 30 and more
// (the size bands of the goals, the three with a side of 30 taken together).
inline int ReviewBand(int rows, int cols) {
    const SizeBand band = BandOf(rows, cols);
    return band == SizeBand::Under15 ? 0 : band == SizeBand::From15To29 ? 1 : 2;
}
extern const char* const kReviewBandNames[3];

constexpr int kReferenceSizes[6] = {10, 15, 20, 30, 45, 70};

class PictureLibrary {
  public:
    PictureLibrary();
    ~PictureLibrary();
    PictureLibrary(const PictureLibrary&) = delete;
    PictureLibrary& operator=(const PictureLibrary&) = delete;

    // Opens the standard sources (fonts installed by the Debian packages, the
    // Unicode names, the vector emoji sets that npm installed into iconDir,
    // imported .non files in importDir when it exists), rasterises the vector
    // icons and lists every picture in a fixed order. False with a message
    // when a required source is missing.
    bool Open(const std::string& importDir, const std::string& iconDir, std::string* error);

    // Reads the survey (lines "source<TAB>name<TAB>clues at 20<TAB>at 40") before
    // Open: vector icons it knows too little of are then not rasterised at
    // all, and every surveyed picture gets its figure. Without a survey every
    // icon is rasterised.
    void UseSurvey(const std::string& path);

    // Reads the blind review (lines "source<TAB>name<TAB>band<TAB>verdict",
    // band one of kReviewBandNames, verdict "seen" or "missed") before Measure.
    void UseReview(const std::string& path);

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
// colour rasters the cells' colours decide: regions darker than
// darkLuminance are ink, lighter ones paper, and the edge between cells of
// clearly different colour is drawn on the darker side. A low darkLuminance
// draws a picture mostly as outlines (many clues), a high one as dark shapes;
// kOutlinesOnly draws nothing but the edges, of grey glyphs too.
constexpr float kDefaultDarkLuminance = 0.5f;
constexpr float kOutlinesOnly = -1.0f;
std::vector<float> CellInk(const Raster& raster, int rows, int cols,
                           float darkLuminance = kDefaultDarkLuminance);

// The board a picture fills when fitted into a box of boxRows x boxCols
// keeping its aspect (each side at least 1).
void FittedSize(int pictureWidth, int pictureHeight, int boxRows, int boxCols, int* rows,
                int* cols);

}  // namespace forge
