// Making the puzzles of the catalogue from the plan, and writing the puzzle
// files, the catalogue tables the game compiles in, the manifest and the
// credits.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tools/forge/plan.h"

namespace forge {

// One puzzle as made.
struct Made {
    int grid = 0;
    int index = 0;
    std::string stem;
    int rows = 0;
    int cols = 0;
    int picture = -1;
    double threshold = 0;
    int cellsChanged = 0;
    bool lineSolvable = false;
    int picturesTried = 0;
    Bitmap solution;
};

// The outcome of trying one picture on one board.
struct Attempt {
    bool unique = false;
    bool lineSolvable = false;
    double threshold = 0;
    int cellsChanged = 0;
    Bitmap solution;
};

// Thresholds a picture's cell ink for a rows x cols board, sweeping the
// threshold and then flipping the fewest undecided cells (at most 2% of the
// board, or flipShare) until line logic alone solves it. False when it cannot.
bool TryPicture(const std::vector<float>& ink, int rows, int cols, Attempt* out,
                double flipShare = 0.02);

// How a picture plays on a board of about side x side cells: the most clues
// per line among its renderings that line logic alone solves, 0 when none
// does. The survey command records this for every picture.
double SurveyPicture(const Raster& raster, int side);

struct GridOutcome {
    bool ok = false;
    std::string error;
    std::vector<Made> puzzles;
};

// Makes every puzzle of one grid size, never of a banned picture; depends on
// nothing but the plan and the library, so grid sizes can be made alone and
// in any order.
GridOutcome ForgeGridSize(const PictureLibrary& lib, const Plan& plan, int grid,
                          const std::set<int>& banned);

struct BuildOptions {
    std::string dataDir;       // where tasks/ goes
    std::string catalogueDir;  // where the two .inc tables go; empty: not written
    std::vector<int> grids;    // grid sizes to make; empty: all
    int jobs = 2;
    std::function<void(int done, int total, const std::string& what)> progress;
};

struct BuildSummary {
    int puzzles = 0;
    int lineSolvable = 0;
    int changedPuzzles = 0;
    int picturesTried = 0;
};

bool BuildCatalogue(const PictureLibrary& lib, const BuildOptions& options, BuildSummary* summary,
                    std::string* error);

// The manifest's header and one row per puzzle; the regeneration test
// compares rows by their first columns.
std::string ManifestHeader();
std::string ManifestRow(const PictureLibrary& lib, const Made& m);

}  // namespace forge
