// Making puzzles from pictures and writing everything the game ships.
#include "tools/forge/build.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "tools/forge/play_stats.h"
#include "tools/forge/puzzle_io.h"

namespace forge {

namespace fs = std::filesystem;

namespace {

constexpr double kThresholds[] = {0.5, 0.45, 0.55, 0.4, 0.6, 0.35, 0.65};
constexpr double kFillMin = 0.15;
constexpr double kFillMax = 0.85;
constexpr int kFlipTrials = 6;  // candidate cells weighed before each flip
// Boards of 30 cells and more on both sides take no picture with fewer clues
// per line than this while another may do better...
constexpr double kBigBoardLeastClues = 2.5;
// ...take the first picture with this many, else the richest of this many
// pictures tried at their own size...
constexpr double kBigBoardAim = 3.6;
constexpr int kBigBoardTries = 2;
// ...and after this many pictures without a rich enough one the richest of
// those they refused.
constexpr int kPicturesBeforePlain = 30;
// Mid-sized boards keep their few clues per line by trying a few pictures
// and keeping the richest when none reaches the aim: the pictures people
// name at these sizes are often plain silhouettes.
constexpr double kMidBoardAim = 2.8;
constexpr int kMidBoardTries = 4;
constexpr double kMidBoardLeastClues = 1.8;
constexpr float kDarkLevels[] = {0.25f, 0.4f, 0.55f, 0.7f};
// Boards under 30 cells a side take no picture with more speckle than this.
constexpr double kSpeckleMax = 0.03;

Bitmap Threshold(const std::vector<float>& ink, int rows, int cols, double t) {
    Bitmap b(rows, cols);
    for (size_t i = 0; i < ink.size(); ++i)
        b.cells[i] = ink[i] >= t;
    return b;
}

bool FillInRange(const Bitmap& b) {
    double f = static_cast<double>(b.FilledCount()) / b.cells.size();
    return f >= kFillMin && f <= kFillMax;
}

// Flips undecided cells, least certain first, choosing each time the flip
// that leaves line logic the fewest undecided cells.
bool FlipToLineSolvable(const std::vector<float>& ink, double t, Bitmap* b, int budget,
                        int* flips) {
    *flips = 0;
    std::vector<int> undecided = UndecidedByLines(CluesOf(*b));
    while (!undecided.empty()) {
        if (*flips >= budget) return false;
        std::vector<int> order = undecided;
        std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
            return std::fabs(ink[x] - t) < std::fabs(ink[y] - t);
        });
        if (order.size() > static_cast<size_t>(kFlipTrials)) order.resize(kFlipTrials);
        int bestCell = -1;
        size_t bestLeft = SIZE_MAX;
        std::vector<int> bestUndecided;
        for (int cell : order) {
            b->cells[cell] ^= 1;
            std::vector<int> left = UndecidedByLines(CluesOf(*b));
            b->cells[cell] ^= 1;
            if (left.size() < bestLeft) {
                bestLeft = left.size();
                bestCell = cell;
                bestUndecided = std::move(left);
            }
        }
        b->cells[bestCell] ^= 1;
        ++*flips;
        undecided = std::move(bestUndecided);
    }
    return FillInRange(*b);
}

// A picture that falls apart into specks at this size does not read as a
// picture: at most a few runs of one or two cells standing alone.
bool Coherent(const Bitmap& b) {
    std::vector<int> label(b.cells.size(), 0);
    std::vector<int> stack;
    int specks = 0;
    for (size_t start = 0; start < b.cells.size(); ++start) {
        if (!b.cells[start] || label[start]) continue;
        int size = 0;
        stack.push_back(static_cast<int>(start));
        label[start] = 1;
        while (!stack.empty()) {
            int cell = stack.back();
            stack.pop_back();
            ++size;
            const int r = cell / b.cols, c = cell % b.cols;
            // Diagonal neighbours count: a slanted line drawn in cells is a
            // staircase of corners.
            const int nr[8] = {r - 1, r + 1, r, r, r - 1, r - 1, r + 1, r + 1};
            const int nc[8] = {c, c, c - 1, c + 1, c - 1, c + 1, c - 1, c + 1};
            for (int k = 0; k < 8; ++k) {
                if (nr[k] < 0 || nr[k] >= b.rows || nc[k] < 0 || nc[k] >= b.cols) continue;
                const int n = nr[k] * b.cols + nc[k];
                if (b.cells[n] && !label[n]) {
                    label[n] = 1;
                    stack.push_back(n);
                }
            }
        }
        specks += size <= 2;
    }
    return specks <= std::max(3, b.FilledCount() / 60);
}

// The renderings of a picture a board tries, richest first: colour pictures
// from outlines to fuller dark shapes, glyphs on boards of 15 cells and more
// as outlines before filled shapes.
std::vector<float> Renderings(const Raster& raster, int rows, int cols) {
    if (raster.colour) return std::vector<float>(std::begin(kDarkLevels), std::end(kDarkLevels));
    if (std::max(rows, cols) >= 15 && !raster.lineDrawing) {
        return {kOutlinesOnly, kDefaultDarkLuminance};
    }
    return {kDefaultDarkLuminance};
}

}  // namespace

bool TryPicture(const std::vector<float>& ink, int rows, int cols, Attempt* out, double flipShare) {
    struct Candidate {
        double t;
        size_t undecided;
        Bitmap b;
    };
    std::vector<Candidate> candidates;
    for (double t : kThresholds) {
        Bitmap b = Threshold(ink, rows, cols, t);
        if (!FillInRange(b) || !Coherent(b)) {
            if (std::getenv("FORGE_DEBUG"))
                std::fprintf(stderr, "  t %.2f fill %.2f coherent %d\n", t,
                             double(b.FilledCount()) / b.cells.size(), Coherent(b));
            continue;
        }
        std::vector<int> undecided = UndecidedByLines(CluesOf(b));
        if (undecided.empty()) {
            out->unique = out->lineSolvable = true;
            out->threshold = t;
            out->cellsChanged = 0;
            out->solution = b;
            return true;
        }
        candidates.push_back({t, undecided.size(), b});
    }
    if (candidates.empty()) {
        if (std::getenv("FORGE_DEBUG")) std::fprintf(stderr, "  no threshold fits\n");
        return false;
    }
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const Candidate& x, const Candidate& y) { return x.undecided < y.undecided; });
    const int budget = std::max(1, static_cast<int>(rows * cols * flipShare));
    int bestFlips = -1;
    for (size_t i = 0; i < candidates.size() && i < 2; ++i) {
        Bitmap b = candidates[i].b;
        int flips = 0;
        if (FlipToLineSolvable(ink, candidates[i].t, &b, budget, &flips) &&
            (bestFlips < 0 || flips < bestFlips)) {
            bestFlips = flips;
            out->unique = out->lineSolvable = true;
            out->threshold = candidates[i].t;
            out->cellsChanged = flips;
            out->solution = b;
        }
    }
    return bestFlips >= 0;
}

double SurveyPicture(const Raster& raster, int side) {
    int rows = 0, cols = 0;
    FittedSize(raster.width, raster.height, side, side, &rows, &cols);
    double best = 0;
    for (float level : Renderings(raster, rows, cols)) {
        Attempt a;
        if (TryPicture(CellInk(raster, rows, cols, level), rows, cols, &a))
            best = std::max(best, MeasurePlay(CluesOf(a.solution)).cluesPerLine);
    }
    return best;
}

// ---------------------------------------------------------------------------
// One grid size

namespace {

std::string Truncate(const std::string& s, size_t n) {
    std::string t = s.substr(0, std::min(n, s.size()));
    while (!t.empty() && (t.back() == '-' || t.back() == '_'))
        t.pop_back();
    return t;
}

std::string MakeStem(const Slot& slot, const std::string& name, int rows, int cols, int number,
                     const std::set<std::string>& taken) {
    if (!slot.pinnedStem.empty()) return slot.pinnedStem;
    const std::string base = name.empty() ? "picture" : name;
    std::string prefix;
    if (slot.style == StemStyle::Label) {
        prefix = std::to_string(cols) + "x" + std::to_string(rows) + "_";
    } else if (slot.style == StemStyle::Number) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%05d_", number % 100000);
        prefix = buf;
    }
    for (int n = 1;; ++n) {
        std::string suffix = n == 1 ? "" : "-" + std::to_string(n);
        std::string stem = prefix + Truncate(base, 25 - prefix.size() - suffix.size()) + suffix;
        if (!taken.count(stem)) return stem;
    }
}

}  // namespace

namespace {

// What a slot asks of its puzzle's clues per line: a picture reaching `reach`
// is taken at once; otherwise, after `tries` pictures, the richest that
// reached `least`.
struct PlayAim {
    double reach = 0;
    double least = 0;
    int tries = 1;
};

PlayAim AimFor(const GridSize& g, const Slot& slot) {
    const int shorter = std::min(g.width, g.height);
    if (slot.pinnedRows || !slot.pinnedPictures.empty()) return {};
    if (shorter >= 30) return {kBigBoardAim, kBigBoardLeastClues, kBigBoardTries};
    const int longer = std::max(g.width, g.height);
    if (longer >= 15 && longer < 30) return {kMidBoardAim, kMidBoardLeastClues, kMidBoardTries};
    return {};
}

// The first rendering of a picture that line logic alone solves, with its
// clues per line.
bool RenderPuzzle(const Raster& raster, int rows, int cols, Attempt* out, double* clues) {
    for (float level : Renderings(raster, rows, cols)) {
        if (TryPicture(CellInk(raster, rows, cols, level), rows, cols, out)) {
            *clues = MeasurePlay(CluesOf(out->solution)).cluesPerLine;
            return true;
        }
    }
    return false;
}

// A tried picture becomes the slot's puzzle; grid, index, stem and the count of
// pictures tried are the caller's.
void TakeAttempt(const Attempt& a, int picture, int rows, int cols, Made* made) {
    made->rows = rows;
    made->cols = cols;
    made->picture = picture;
    made->threshold = a.threshold;
    made->cellsChanged = a.cellsChanged;
    made->lineSolvable = a.lineSolvable;
    made->solution = a.solution;
}
}  // namespace

GridOutcome ForgeGridSize(const PictureLibrary& lib, const Plan& plan, int grid,
                          const std::set<int>& banned) {
    GridOutcome outcome;
    const GridSize& g = CatalogueGridSizes()[grid];
    const auto& pics = lib.Pictures();
    size_t nextExact = 0, nextSmaller = 0;
    std::vector<int> ownExact, ownSmaller;
    // Pictures a slot tried and made a puzzle of but passed over for a richer
    // one: later slots of the same kind try them once their own run out,
    // before any picture another grid size planned.
    std::deque<int> spareExact, spareSmaller;
    std::set<std::string> taken;
    std::set<int> usedHere;
    int number = 0;
    // Below 30 cells a picture people did not name stands in for a plain
    // silhouette in at most one puzzle of fifteen.
    const bool big = std::min(g.width, g.height) >= 30;
    int unnamedLeft = big ? g.count : g.count / 15;
    for (int i = 0; i < g.count; ++i) {
        const Slot& slot = plan.slots[plan.firstSlot[grid] + i];
        const bool exactKind = slot.exact || slot.pinnedRows;
        std::vector<int> queue = slot.pinnedPictures;
        if (slot.primary >= 0) queue.push_back(slot.primary);
        // Then this grid size's reserves, then its overflow list.
        // Then this grid size's own pictures: reserves, drafts and, on big
        // boards, line drawings nobody planned; then pictures another grid
        // size planned.
        const auto& overflow = exactKind ? plan.overflowExact[grid] : plan.overflowSmaller[grid];
        const size_t drafted = exactKind ? plan.sharedExact[grid] : plan.sharedSmaller[grid];
        std::vector<int>& own = exactKind ? ownExact : ownSmaller;
        if (own.empty()) {
            own = exactKind ? plan.reserveExact[grid] : plan.reserveSmaller[grid];
            own.insert(own.end(), overflow.begin(), overflow.begin() + drafted);
            own.insert(own.end(), plan.lastResort[grid].begin(), plan.lastResort[grid].end());
            // Then what this grid size planned for its other kind of slot,
            // before any picture another grid size may show.
            const auto& otherReserve =
                exactKind ? plan.reserveSmaller[grid] : plan.reserveExact[grid];
            const auto& otherOverflow =
                exactKind ? plan.overflowSmaller[grid] : plan.overflowExact[grid];
            const size_t otherDrafted =
                exactKind ? plan.sharedSmaller[grid] : plan.sharedExact[grid];
            own.insert(own.end(), otherReserve.begin(), otherReserve.end());
            own.insert(own.end(), otherOverflow.begin(), otherOverflow.begin() + otherDrafted);
            own.insert(own.end(), overflow.begin() + drafted, overflow.end());
        }
        const size_t shared = own.size() - (overflow.size() - drafted);
        size_t& next = exactKind ? nextExact : nextSmaller;
        std::deque<int>& spare = exactKind ? spareExact : spareSmaller;
        std::vector<int> madeHere;  // pictures this slot made a puzzle of
        bool have = false;
        Made made;
        // Boards that should play richly try several pictures at their own
        // size and take the first that reaches the aim, else the richest.
        // Only puzzles that line logic alone solves are taken: a player is
        // never asked to guess.
        const PlayAim aim = AimFor(g, slot);
        Made richest, plainest;  // plainest: the richest of those under aim.least
        Made unnamed;            // the richest of those people did not name at this size
        double unnamedClues = -1;
        double richestClues = -1, plainClues = -1;
        int tried = 0;
        for (size_t q = 0; !have; ++q) {
            if (richestClues >= 0 && tried >= aim.tries) break;
            // A plain picture would break a big board's floor of clues a line:
            // there only a rich one, named or not, ends the search early.
            // Below 30 cells only a named one does: a picture nobody named is
            // what a player cannot make out once solved.
            const bool fallback = big ? unnamedClues >= aim.least : plainClues >= 0;
            if (fallback && tried >= kPicturesBeforePlain) break;
            int p = -1;
            if (q < queue.size()) {
                p = queue[q];
            } else if (next < shared) {
                p = own[next++];
            } else if (!spare.empty()) {
                p = spare.front();
                spare.pop_front();
            } else if (next < own.size()) {
                // Pictures another grid size planned (which may show twice)
                // only when nothing else made a good enough puzzle; below 30
                // cells a named one planned elsewhere beats one nobody named.
                if (richestClues >= 0 || (big && unnamedClues >= aim.least)) break;
                p = own[next++];
                if (std::getenv("FORGE_DEBUG")) {
                    std::fprintf(stderr, "%s #%d: %s from another grid size's plan\n",
                                 g.Label().c_str(), i, pics[p].name.c_str());
                }
            } else {
                break;
            }
            if (usedHere.count(p) || banned.count(p)) continue;
            ++tried;
            Raster raster;
            if (!lib.Render(pics[p], &raster)) continue;
            int rows = 0, cols = 0;
            SlotBoardSize(slot, pics[p], &rows, &cols);
            if (!slot.exact && !slot.pinnedRows && rows == g.height && cols == g.width) continue;
            Attempt a;
            double clues = 0;
            if (!RenderPuzzle(raster, rows, cols, &a, &clues)) {
                if (std::getenv("FORGE_DEBUG")) {
                    std::fprintf(stderr, "%s #%d: %s failed\n", g.Label().c_str(), i,
                                 pics[p].name.c_str());
                }
                continue;
            }
            if (std::min(rows, cols) < 30 && Speckle(a.solution) > kSpeckleMax) {
                if (std::getenv("FORGE_DEBUG")) {
                    std::fprintf(stderr, "%s #%d: %s speckled\n", g.Label().c_str(), i,
                                 pics[p].name.c_str());
                }
                continue;
            }
            Made m;
            m.grid = grid;
            m.index = i;
            TakeAttempt(a, p, rows, cols, &m);
            madeHere.push_back(p);
            if (pics[p].review[ReviewBand(rows, cols)] == kNotRecognised) {
                // People did not name it at this size: only if nothing else
                // makes a puzzle here.
                if (clues > unnamedClues) {
                    unnamedClues = clues;
                    unnamed = m;
                }
            } else if (clues >= aim.reach) {
                made = m;
                have = true;
            } else if (clues >= aim.least) {
                if (clues > richestClues) {
                    richestClues = clues;
                    richest = m;
                }
            } else if (clues > plainClues) {  // a silhouette where detail was wanted
                plainClues = clues;
                plainest = m;
            }
        }
        if (!have && richestClues >= 0) {
            made = richest;
            have = true;
        }
        // An unnamed picture rich enough for the board before a silhouette
        // that is not.
        if (!have && unnamedClues >= aim.least && unnamedLeft > 0) {
            made = unnamed;
            have = true;
            --unnamedLeft;
        }
        if (!have && plainClues >= 0) {
            made = plainest;
            have = true;
        }
        if (!have && unnamedClues >= 0) {
            made = unnamed;
            have = true;
        }
        if (!have) {
            outcome.error = g.Label() + " puzzle " + std::to_string(i) +
                            ": no picture left that makes a unique puzzle";
            return outcome;
        }
        made.picturesTried = tried;
        usedHere.insert(made.picture);
        for (int p : madeHere) {
            if (p != made.picture) spare.push_back(p);
        }
        if (slot.style == StemStyle::Number) ++number;
        made.stem = MakeStem(slot, pics[made.picture].name, made.rows, made.cols, number, taken);
        taken.insert(made.stem);
        outcome.puzzles.push_back(made);
    }
    outcome.ok = true;
    return outcome;
}

// ---------------------------------------------------------------------------
// Writing

std::string ManifestHeader() {
    return "class\tlabel\tdirCode\tindex\tstem\trows\tcols\tsource\tpicture\tcodepoint\tthreshold\t"
           "cellsChanged\tlineSolvable\tpicturesTried\n";
}

std::string ManifestRow(const PictureLibrary& lib, const Made& m) {
    const GridSize& g = CatalogueGridSizes()[m.grid];
    const PictureRef& p = lib.Pictures()[m.picture];
    char cp[16] = "-";
    if (p.codepoint) std::snprintf(cp, sizeof cp, "U+%04X", p.codepoint);
    char t[16];
    std::snprintf(t, sizeof t, "%.2f", m.threshold);
    std::ostringstream o;
    o << SizeClassName(g.sizeClass) << '\t' << g.Label() << '\t' << g.DirCode() << '\t' << m.index
      << '\t' << m.stem << '\t' << m.rows << '\t' << m.cols << '\t' << lib.Sources()[p.source].id
      << '\t' << p.name << '\t' << cp << '\t' << t << '\t' << m.cellsChanged << '\t'
      << (m.lineSolvable ? "yes" : "no") << '\t' << m.picturesTried << '\n';
    return o.str();
}

namespace {

std::string CatalogueGridsInc() {
    std::ostringstream o;
    o << "// Generated by nonogram-forge: the grid sizes in class, then width, then height order.\n"
         "// {sizeClass, width, height, puzzleCount}\n";
    for (const GridSize& g : CatalogueGridSizes()) {
        o << "{" << g.sizeClass << ", " << g.width << ", " << g.height << ", " << g.count << "},\n";
    }
    return o.str();
}

std::string CataloguePuzzlesInc(const std::vector<GridOutcome>& grids) {
    std::ostringstream o;
    o << "// Generated by nonogram-forge: every puzzle of the catalogue in grid order.\n"
         "// {stem, rows, cols}\n";
    for (const GridOutcome& go : grids) {
        if (go.puzzles.empty()) continue;
        o << "// " << CatalogueGridSizes()[go.puzzles[0].grid].Label() << "\n";
        for (const Made& m : go.puzzles) {
            o << "{\"" << m.stem << "\", " << m.rows << ", " << m.cols << "},\n";
        }
    }
    return o.str();
}

std::string Credits(const PictureLibrary& lib, const std::vector<GridOutcome>& grids) {
    std::map<int, std::set<std::string>> used;  // source -> pictures
    for (const GridOutcome& go : grids) {
        for (const Made& m : go.puzzles) {
            const PictureRef& p = lib.Pictures()[m.picture];
            char cp[16] = "";
            if (p.codepoint) std::snprintf(cp, sizeof cp, " (U+%04X)", p.codepoint);
            std::string line = p.name + cp;
            if (!p.credit.empty()) line += " by " + p.credit;
            used[p.source].insert(line);
        }
    }
    std::ostringstream o;
    o << "Pictures of the puzzles\n"
         "=======================\n\n"
         "Every puzzle under tasks/black is a picture from one of the sources below,\n"
         "rendered, fitted to its board and thresholded by nonogram-forge (tools/forge);\n"
         "MANIFEST.tsv says which picture each puzzle shows and how it was made. The\n"
         "puzzle files hold only the clues derived from these pictures.\n";
    for (const auto& [source, names] : used) {
        const SourceInfo& s = lib.Sources()[source];
        o << "\n" << s.title << "\n" << std::string(s.title.size(), '-') << "\n";
        o << "Package: " << s.package << "\nLicense: " << s.license << "\nAuthor: " << s.author
          << "\nPictures used (" << names.size() << "):\n";
        for (const std::string& n : names)
            o << "  " << n << "\n";
    }
    return o.str();
}

}  // namespace

bool BuildCatalogue(const PictureLibrary& lib, const BuildOptions& options, BuildSummary* summary,
                    std::string* error) {
    Plan plan = MakePlan(lib);
    const int gridCount = static_cast<int>(CatalogueGridSizes().size());
    std::vector<int> grids = options.grids;
    const bool whole = grids.empty();
    if (whole) {
        for (int g = 0; g < gridCount; ++g)
            grids.push_back(g);
    }
    // Larger boards first so that the last job to finish is a short one.
    std::vector<int> order = grids;
    std::stable_sort(order.begin(), order.end(), [](int a, int b) {
        const auto& s = CatalogueGridSizes();
        return s[a].width * s[a].height * s[a].count > s[b].width * s[b].height * s[b].count;
    });
    std::vector<GridOutcome> outcomes(gridCount);
    std::atomic<int> next{0}, done{0};
    std::mutex progressMutex;
    auto worker = [&] {
        for (int k = next++; k < static_cast<int>(order.size()); k = next++) {
            outcomes[order[k]] = ForgeGridSize(lib, plan, order[k], {});
            int d = ++done;
            if (options.progress) {
                std::lock_guard<std::mutex> lock(progressMutex);
                options.progress(d, static_cast<int>(order.size()),
                                 CatalogueGridSizes()[order[k]].Label());
            }
        }
    };
    std::vector<std::thread> threads;
    for (int j = 1; j < std::max(1, options.jobs); ++j)
        threads.emplace_back(worker);
    worker();
    for (auto& t : threads)
        t.join();

    // Two grid sizes that fell back on the same picture: the first keeps it,
    // the others are made again without it (which may move the clash on).
    // Only grid sizes made together can clash, so a grid size made alone
    // matches the whole build only where the whole build printed no clash.
    std::vector<std::set<int>> banned(gridCount);
    for (int round = 0; round < 8; ++round) {
        std::map<int, int> shownBy;
        std::vector<int> redo;
        for (int g : grids) {
            bool clash = false;
            for (const Made& m : outcomes[g].puzzles) {
                if (!shownBy.emplace(m.picture, g).second) {
                    std::fprintf(stderr, "%s made again without %s\n",
                                 CatalogueGridSizes()[g].Label().c_str(),
                                 lib.Pictures()[m.picture].name.c_str());
                    banned[g].insert(m.picture);
                    clash = true;
                }
            }
            if (clash) redo.push_back(g);
        }
        if (redo.empty()) break;
        for (int g : redo)
            outcomes[g] = ForgeGridSize(lib, plan, g, banned[g]);
    }

    std::vector<GridOutcome> made;
    for (int g : grids) {
        if (!outcomes[g].ok) {
            *error = outcomes[g].error;
            return false;
        }
        made.push_back(outcomes[g]);
    }

    // Puzzle files: the black/ tree is replaced whole when everything was made.
    const std::string black = options.dataDir + "/tasks/black";
    std::error_code ec;
    if (whole) fs::remove_all(black, ec);
    std::string manifest = ManifestHeader();
    for (const GridOutcome& go : made) {
        for (const Made& m : go.puzzles) {
            const GridSize& g = CatalogueGridSizes()[m.grid];
            std::string bytes = EncodePuzzleFile(CluesOf(m.solution));
            if (bytes.empty() ||
                !WriteFileAtomically(black + "/" + g.DirCode() + "/" + m.stem + ".dmp", bytes)) {
                *error = "cannot write " + g.Label() + " " + m.stem;
                return false;
            }
            manifest += ManifestRow(lib, m);
            ++summary->puzzles;
            summary->lineSolvable += m.lineSolvable;
            summary->changedPuzzles += m.cellsChanged > 0;
            summary->picturesTried += m.picturesTried;
        }
    }
    bool ok = WriteFileAtomically(options.dataDir + "/tasks/MANIFEST.tsv", manifest) &&
              WriteFileAtomically(options.dataDir + "/tasks/CREDITS", Credits(lib, made));
    if (ok && !options.catalogueDir.empty()) {
        ok = WriteFileAtomically(options.catalogueDir + "/catalogue_grids.inc",
                                 CatalogueGridsInc()) &&
             WriteFileAtomically(options.catalogueDir + "/catalogue_puzzles.inc",
                                 CataloguePuzzlesInc(made));
    }
    if (!ok) *error = "cannot write the manifest, credits or catalogue tables";
    return ok;
}

}  // namespace forge
