// Planning the catalogue: which puzzles are smaller than their grid size, how
// each stem is formed, and which pictures each grid size gets, crisp simple
// pictures for small boards and detailed or colourful ones for large boards.
#include "tools/forge/plan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

namespace forge {

namespace {

// {class, W, H, puzzles}
constexpr int kGridTable[][4] = {
    {0, 10, 10, 155}, {0, 10, 15, 12}, {0, 15, 10, 8},  {0, 15, 15, 132}, {1, 10, 20, 5},
    {1, 10, 25, 1},   {1, 15, 20, 25}, {1, 15, 25, 7},  {1, 20, 10, 3},   {1, 20, 15, 27},
    {1, 20, 20, 103}, {1, 20, 25, 45}, {1, 25, 10, 1},  {1, 25, 15, 11},  {1, 25, 20, 68},
    {1, 25, 25, 117}, {2, 15, 30, 11}, {2, 15, 35, 7},  {2, 20, 30, 23},  {2, 20, 35, 7},
    {2, 25, 30, 53},  {2, 25, 35, 34}, {2, 30, 10, 2},  {2, 30, 15, 12},  {2, 30, 20, 19},
    {2, 30, 25, 21},  {2, 30, 30, 66}, {2, 30, 35, 24}, {2, 35, 15, 3},   {2, 35, 20, 14},
    {2, 35, 25, 24},  {2, 35, 30, 44}, {2, 35, 35, 54}, {3, 10, 40, 1},   {3, 15, 40, 2},
    {3, 15, 50, 1},   {3, 20, 40, 2},  {3, 20, 45, 2},  {3, 25, 40, 18},  {3, 25, 45, 1},
    {3, 30, 40, 30},  {3, 30, 45, 7},  {3, 30, 50, 1},  {3, 35, 40, 15},  {3, 35, 45, 13},
    {3, 35, 50, 5},   {3, 40, 15, 4},  {3, 40, 20, 3},  {3, 40, 25, 4},   {3, 40, 30, 8},
    {3, 40, 35, 7},   {3, 40, 40, 8},  {3, 40, 45, 8},  {3, 40, 50, 4},   {3, 45, 10, 1},
    {3, 45, 15, 2},   {3, 45, 20, 3},  {3, 45, 25, 4},  {3, 45, 30, 4},   {3, 45, 35, 14},
    {3, 45, 40, 4},   {3, 45, 45, 3},  {3, 45, 50, 3},  {3, 50, 15, 1},   {3, 50, 20, 3},
    {3, 50, 25, 1},   {3, 50, 30, 3},  {3, 50, 35, 8},  {3, 50, 40, 3},   {3, 50, 50, 26},
    {4, 40, 55, 14},  {4, 40, 60, 3},  {4, 45, 55, 4},  {4, 45, 65, 3},   {4, 50, 60, 2},
    {4, 50, 65, 1},   {4, 50, 75, 4},  {4, 55, 35, 2},  {4, 55, 40, 1},   {4, 55, 45, 1},
    {4, 55, 65, 16},  {4, 55, 75, 24}, {4, 60, 15, 1},  {4, 60, 35, 1},   {4, 60, 45, 1},
    {4, 60, 55, 1},   {4, 60, 80, 1},  {4, 65, 30, 1},  {4, 65, 35, 3},   {4, 65, 50, 2},
    {4, 65, 65, 3},   {4, 65, 75, 1},  {4, 70, 35, 1},  {4, 70, 50, 1},   {4, 75, 35, 1},
    {4, 75, 60, 1},   {4, 75, 65, 1},  {4, 80, 55, 1},  {4, 80, 60, 1},   {4, 80, 80, 1},
};

struct Pin {
    const char* label;
    int index;
    const char* stem;
    int rows, cols;  // 0: the grid size's own or the picture's
    bool smaller;
    StemStyle style;
    const char* pictures[3];  // "source:name"
};

// The puzzles every copy of the catalogue has in the same place.
const Pin kPins[] = {
    {"10x10", 0, "image25534", 0, 0, false, StemStyle::Other, {"mdi:cat", "fa:paw", nullptr}},
    {"10x10",
     154,
     "6x10_boy",
     10,
     6,
     true,
     StemStyle::Label,
     {"mdi:human-child", "mdi:human-male", "fa:child"}},
    {"25x25",
     0,
     "00001_bear",
     0,
     0,
     false,
     StemStyle::Number,
     {"hc:bear", "hc:teddy-bear", nullptr}},
    {"15x35", 0, "15x35_full_dwnld_0041", 31, 15, true, StemStyle::Label, {nullptr}},
    {"80x80",
     0,
     "80x80_girl",
     77,
     80,
     true,
     StemStyle::Label,
     {"fluent:girl", "twemoji:girl", "emoji:girl"}},
};

double Aspect(double rows, double cols) {
    return std::log(rows / cols);
}

// How well a picture reads on a board of about this many cells a side:
// crisp cells, neither a blot nor a speck, and more than one plain blob.
double LooksAt(const PictureRef& p, double side) {
    int s = 0;
    for (int k = 1; k < 6; ++k) {
        if (std::fabs(kReferenceSizes[k] - side) < std::fabs(kReferenceSizes[s] - side)) s = k;
    }
    double score = p.crispness[s];
    score -= 1.5 * std::max(0.0, p.filled[s] - 0.6) + 1.5 * std::max(0.0, 0.3 - p.filled[s]);
    if (side < 15) {
        score -= 0.25 * std::max(0.0, 1.8 - p.runs[s]);
    } else if (side < 30) {
        // Mid-sized boards: a few clues per line, still a clean picture.
        const double rich = p.played20 >= 0 ? p.played20 : p.runs[s];
        score += 1.5 * std::min(rich, 4.0) - 1.0 * std::max(0.0, 2.5 - rich);
    } else {
        // Big boards are worth playing only with detail: many clues per line,
        // as the survey found them in a solvable puzzle.
        const double rich = p.played40 >= 0 ? p.played40 : p.runs[s];
        score += 0.8 * std::min(rich, 5.5) - 1.0 * std::max(0.0, 2.8 - rich);
    }
    return score;
}

// A board twice as long as it is wide, or nearly: few pictures have its shape.
bool Stretched(const GridSize& g) {
    return 10 * std::max(g.width, g.height) >= 17 * std::min(g.width, g.height);
}

std::string Family(const std::string& name) {
    return name.substr(0, name.find('-'));
}
constexpr int kFamilyMax = 5;  // pictures whose names start with the same word

// How well a picture suits a slot (higher is better); kCannotServe when it
// cannot serve the slot at all.
constexpr double kCannotServe = -1e9;
double Score(const PictureLibrary& lib, const PictureRef& p, const Slot& slot, const GridSize& g) {
    const SourceKind kind = lib.Sources()[p.source].kind;
    int rows = 0, cols = 0;
    SlotBoardSize(slot, p, &rows, &cols);
    // A picture drawn on cells shows only cell for cell: blown up, each cell
    // would become a block; shrunk, its details (one cell wide) are lost.
    if (kind == SourceKind::Cells) {
        int shownRows = 0, shownCols = 0;
        FittedSize(p.sourceWidth, p.sourceHeight, rows, cols, &shownRows, &shownCols);
        if (shownRows != p.sourceHeight || shownCols != p.sourceWidth) return kCannotServe;
    }
    // The blind review has the last word on what a picture shows at a size:
    // one people did not name there serves only when nothing else is left.
    const int verdict = p.review[ReviewBand(rows, cols)];
    const int minSide = std::min(g.width, g.height);
    if (minSide >= 30) {
        // Big boards keep the detailed colour pictures the survey measured,
        // and glyphs only of things a player can name.
        if (kind == SourceKind::Shape || (!IsColour(kind) && p.legible == 0)) return kCannotServe;
    } else if (verdict < kRecognised) {
        // Below 30 cells colour edges turn to speckle, and only a thing a
        // player can name reads as a picture; the smallest boards want bold
        // simple objects. What people named at this size needs no guess.
        // Colour pictures serve these boards only where people named them:
        // the big boards need every one the review left them.
        if (IsColour(kind)) return kCannotServe;
        if (std::max(rows, cols) < 15 && (p.legible < 2 || p.filled[0] < 0.4f)) return kCannotServe;
        if (p.legible == 0) return kCannotServe;
    }
    const double side = std::sqrt(static_cast<double>(rows) * cols);
    double score = LooksAt(p, side);
    if (slot.pinnedRows || slot.exact) {
        int tr = slot.pinnedRows ? slot.pinnedRows : g.height;
        int tc = slot.pinnedCols ? slot.pinnedCols : g.width;
        double mismatch = std::fabs(Aspect(p.sourceHeight, p.sourceWidth) - Aspect(tr, tc));
        // On a big board the bands a picture of another shape leaves empty
        // are lines without clues.
        score -= (minSide >= 30 ? 1.5 : 0.6) * mismatch;
    } else {
        if (rows == g.height && cols == g.width) return kCannotServe;
        double kept =
            std::min(static_cast<double>(rows) / g.height, static_cast<double>(cols) / g.width);
        if (kept < 0.55) return kCannotServe;
        score -= 0.3 * (1.0 - kept);
    }
    if (p.fill < 0.12 || p.fill > 0.9) score -= 0.3;
    // Colour emoji serve boards under 30 cells only once the icons run out.
    if (IsColour(kind) && minSide < 30) score -= 5.0;
    // A picture people named at this size beats one nobody has looked at,
    // one a second reviewer named too beats one a single reviewer did, and
    // one many named beats one few have seen yet.
    if (verdict >= kRecognised)
        score += verdict > kRecognised ? 4.0 + 0.25 * std::min(verdict - 2, 10) : 2.0;
    // Most pictures people name at mid sizes are plain silhouettes; among
    // those the richer ones keep these boards worth playing.
    if (verdict >= kRecognised && side >= 15 && side < 30) {
        score += 1.5 * std::min<double>(p.played20 >= 0 ? p.played20 : p.runs[2], 4.0);
    }
    if (verdict == kNotRecognised) score -= 20.0;
    return score;
}

int FindPicture(const PictureLibrary& lib, const std::string& key) {
    size_t colon = key.find(':');
    std::string source = key.substr(0, colon), name = key.substr(colon + 1);
    const auto& pics = lib.Pictures();
    for (size_t i = 0; i < pics.size(); ++i) {
        if (pics[i].name == name && lib.Sources()[pics[i].source].id == source) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Marks `want` of the `free` positions, spread evenly, the last one included.
std::vector<int> Spread(const std::vector<int>& free, int want) {
    std::vector<int> chosen;
    const int n = static_cast<int>(free.size());
    if (want <= 0 || n == 0) return chosen;
    for (int i = 0; i < n; ++i) {
        if (static_cast<long>(i + 1) * want / n > static_cast<long>(i) * want / n)
            chosen.push_back(free[i]);
    }
    return chosen;
}

// Spare pictures a grid size keeps for this many slots of one kind: big
// boards try several pictures at their own size for each puzzle.
int Reserves(const GridSize& g, int slots) {
    if (std::min(g.width, g.height) >= 30) return slots / 2 + 10;
    return std::max(6, slots / 2 + 3);
}

// Pictures a grid size drafts for its overflow list, for this many slots of
// one kind. Big boards try several pictures at their own size for each
// puzzle; drafts of their own keep them from showing another puzzle's
// picture.
int Drafts(const GridSize& g, int slots) {
    if (std::min(g.width, g.height) >= 30) return 6 * slots + 20;
    return 2 * slots + 4;
}

}  // namespace

std::string GridSize::Label() const {
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string GridSize::DirCode() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d", (width / 5 - 2) * 15 + (height / 5 - 2) + 1);
    return buf;
}

const std::vector<GridSize>& CatalogueGridSizes() {
    static const std::vector<GridSize> sizes = [] {
        std::vector<GridSize> v;
        for (const auto& row : kGridTable)
            v.push_back({row[0], row[1], row[2], row[3]});
        return v;
    }();
    return sizes;
}

const char* SizeClassName(int sizeClass) {
    static const char* const kNames[] = {"XSmall", "Small", "Medium", "Large", "XLarge"};
    return sizeClass >= 0 && sizeClass < 5 ? kNames[sizeClass] : "";
}

int FindGridSize(const std::string& label) {
    const auto& sizes = CatalogueGridSizes();
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i].Label() == label) return static_cast<int>(i);
    }
    return -1;
}

void SlotBoardSize(const Slot& slot, const PictureRef& picture, int* rows, int* cols) {
    const GridSize& g = CatalogueGridSizes()[slot.grid];
    if (slot.pinnedRows) {
        *rows = slot.pinnedRows;
        *cols = slot.pinnedCols;
    } else if (slot.exact) {
        *rows = g.height;
        *cols = g.width;
    } else {
        FittedSize(picture.sourceWidth, picture.sourceHeight, g.height, g.width, rows, cols);
    }
}

Plan MakePlan(const PictureLibrary& lib) {
    const auto& sizes = CatalogueGridSizes();
    const int gridCount = static_cast<int>(sizes.size());
    Plan plan;

    // Slots in catalogue order, with the pinned ones.
    std::vector<std::vector<int>> slotsOf(gridCount);
    for (int g = 0; g < gridCount; ++g) {
        plan.firstSlot.push_back(static_cast<int>(plan.slots.size()));
        for (int i = 0; i < sizes[g].count; ++i) {
            Slot s;
            s.grid = g;
            s.index = i;
            slotsOf[g].push_back(static_cast<int>(plan.slots.size()));
            plan.slots.push_back(s);
        }
    }
    std::vector<char> pinned(plan.slots.size(), 0);
    for (const Pin& pin : kPins) {
        int g = FindGridSize(pin.label);
        Slot& s = plan.slots[plan.firstSlot[g] + pin.index];
        s.exact = !pin.smaller;
        s.pinnedRows = pin.rows;
        s.pinnedCols = pin.cols;
        s.pinnedStem = pin.stem;
        s.style = pin.style;
        for (const char* key : pin.pictures) {
            if (!key) break;
            int p = FindPicture(lib, key);
            if (p >= 0) s.pinnedPictures.push_back(p);
        }
        pinned[plan.firstSlot[g] + pin.index] = 1;
    }

    // Smaller puzzles per grid size: in proportion to its count, largest
    // remainders first, then spread over its free slots.
    std::vector<int> smaller(gridCount, 0);
    std::vector<std::pair<double, int>> remainders;
    int given = 0;
    for (int g = 0; g < gridCount; ++g) {
        double share = static_cast<double>(sizes[g].count) * kSmallerTotal / kPuzzleTotal;
        smaller[g] = static_cast<int>(share);
        int forced = 0;
        for (int s : slotsOf[g])
            forced += pinned[s] && !plan.slots[s].exact;
        if (smaller[g] < forced) smaller[g] = forced;
        given += smaller[g];
        remainders.push_back({-(share - std::floor(share)), g});
    }
    std::stable_sort(remainders.begin(), remainders.end());
    for (size_t i = 0; given < kSmallerTotal && i < remainders.size(); ++i) {
        int g = remainders[i].second;
        if (smaller[g] < sizes[g].count) {
            ++smaller[g];
            ++given;
        }
    }
    for (int g = 0; g < gridCount; ++g) {
        std::vector<int> free;
        int forced = 0;
        for (int s : slotsOf[g]) {
            if (pinned[s]) {
                forced += !plan.slots[s].exact;
            } else {
                free.push_back(s);
            }
        }
        for (int s : free)
            plan.slots[s].exact = true;
        for (int s : Spread(free, smaller[g] - forced))
            plan.slots[s].exact = false;
    }

    // Stem styles over the whole catalogue.
    std::vector<int> free;
    int numbers = kNumberStemTotal, others = kOtherStemTotal;
    for (size_t s = 0; s < plan.slots.size(); ++s) {
        if (!pinned[s]) {
            free.push_back(static_cast<int>(s));
        } else if (plan.slots[s].style == StemStyle::Number) {
            --numbers;
        } else if (plan.slots[s].style == StemStyle::Other) {
            --others;
        }
    }
    for (int s : Spread(free, numbers))
        plan.slots[s].style = StemStyle::Number;
    std::vector<int> rest;
    for (int s : free) {
        if (plan.slots[s].style == StemStyle::Label) rest.push_back(s);
    }
    for (int s : Spread(rest, others))
        plan.slots[s].style = StemStyle::Other;

    // Pictures: small boards choose first, each picture serves once.
    const auto& pics = lib.Pictures();
    std::vector<char> used(pics.size(), 0);
    std::map<std::string, int> families;
    // Every picture serves one slot. The same subject drawn by two sets is
    // two pictures: the colour emoji alone could not fill the big boards'
    // lists otherwise, and no drawing shows twice.
    std::set<std::string> subjects;
    auto subject = [&](int p) { return lib.Sources()[pics[p].source].id + ":" + pics[p].name; };
    // Below 30 cells one grid size's list shows a thing once: three trophies
    // from three icon sets among the 10x10 puzzles read as a repeat. (Big
    // boards' emoji share first words across different things: "man-cook",
    // "man-pilot".)
    std::set<std::string> gridFamilies;
    auto gridFamily = [&](int grid, int p) {
        const GridSize& g = sizes[grid];
        if (std::min(g.width, g.height) >= 30) return std::string();
        return std::to_string(grid) + ":" + Family(pics[p].name);
    };
    auto familyShown = [&](int grid, int p) {
        const std::string key = gridFamily(grid, p);
        return !key.empty() && gridFamilies.count(key) > 0;
    };
    for (const Slot& s : plan.slots) {
        for (int p : s.pinnedPictures) {
            used[p] = 1;
            ++families[Family(pics[p].name)];
            subjects.insert(subject(p));
            gridFamilies.insert(gridFamily(s.grid, p));
        }
    }
    std::vector<int> order(gridCount);
    for (int g = 0; g < gridCount; ++g)
        order[g] = g;
    // Big boards choose first among the detailed colour pictures, then the
    // others share the icons that name a thing; smallest first in both, as
    // the fewest pictures read (and solve by line logic) on the smallest
    // boards. Among big boards those of 45 cells and more a side go first
    // all the same: many named pictures fail line logic there, and chosen
    // last they were left with pictures nobody named. Then the stretched
    // ones, which few pictures fit.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int shortA = std::min(sizes[a].width, sizes[a].height);
        const int shortB = std::min(sizes[b].width, sizes[b].height);
        const int areaA = sizes[a].width * sizes[a].height;
        const int areaB = sizes[b].width * sizes[b].height;
        if ((shortA >= 30) != (shortB >= 30)) return shortA >= 30;
        if (shortA >= 30) {
            if ((shortA >= 45) != (shortB >= 45)) return shortA >= 45;
            const bool wideA = Stretched(sizes[a]), wideB = Stretched(sizes[b]);
            if (wideA != wideB) return wideA;
        }
        return areaA < areaB;
    });
    auto best = [&](const Slot& slot) {
        int chosen = -1;
        double top = kCannotServe;
        for (size_t p = 0; p < pics.size(); ++p) {
            if (used[p] || families[Family(pics[p].name)] >= kFamilyMax ||
                subjects.count(subject(static_cast<int>(p))) ||
                familyShown(slot.grid, static_cast<int>(p))) {
                continue;
            }
            double sc = Score(lib, pics[p], slot, sizes[slot.grid]);
            if (sc == kCannotServe) continue;
            if (sc > top) {
                top = sc;
                chosen = static_cast<int>(p);
            }
        }
        if (chosen >= 0) {
            used[chosen] = 1;
            ++families[Family(pics[chosen].name)];
            subjects.insert(subject(chosen));
            gridFamilies.insert(gridFamily(slot.grid, chosen));
        }
        return chosen;
    };
    for (int g : order) {
        for (int s : slotsOf[g])
            plan.slots[s].primary = best(plan.slots[s]);
    }
    // How many slots of each grid size take an exact and a smaller puzzle.
    std::vector<int> exactSlots(gridCount, 0), smallSlots(gridCount, 0);
    for (int g : order) {
        for (int s : slotsOf[g])
            (plan.slots[s].exact ? exactSlots[g] : smallSlots[g]) += 1;
    }
    plan.reserveExact.assign(gridCount, {});
    plan.reserveSmaller.assign(gridCount, {});
    // Reserves and drafts are drawn in turns, one a round for each grid size
    // and kind of slot until it has want(size, slots) of them, so the grid
    // sizes planned last are not left with none once the pictures that suit
    // several sizes are gone.
    auto drawInTurns = [&](int (*want)(const GridSize&, int),
                           std::vector<std::vector<int>>& exactLists,
                           std::vector<std::vector<int>>& smallerLists) {
        int rounds = 0;
        for (int g : order)
            rounds = std::max(rounds, want(sizes[g], std::max(exactSlots[g], smallSlots[g])));
        for (int round = 0; round < rounds; ++round) {
            for (int g : order) {
                const int exact = exactSlots[g], small = smallSlots[g];
                Slot probe;
                probe.grid = g;
                probe.exact = true;
                if (round < want(sizes[g], exact)) {
                    int p = best(probe);
                    if (p >= 0) exactLists[g].push_back(p);
                }
                probe.exact = false;
                if (small && round < want(sizes[g], small)) {
                    int p = best(probe);
                    if (p >= 0) smallerLists[g].push_back(p);
                }
            }
        }
    };
    drawInTurns(Reserves, plan.reserveExact, plan.reserveSmaller);
    // Overflow lists, for grid sizes whose reserves run out: first the
    // pictures nobody planned, drafted in turns so grid sizes do not share
    // them; then, as a last resort, spares another grid size planned, those
    // it is least likely to show first.
    plan.overflowExact.assign(gridCount, {});
    plan.overflowSmaller.assign(gridCount, {});
    // How likely a planned picture is to be shown by the grid size that
    // planned it: primaries surely, reserves soon, late drafts hardly.
    constexpr double kClaimPrimary = 10.0;
    constexpr double kClaimReserve = 6.0;
    std::vector<double> claim(pics.size(), 0.0);
    for (int g = 0; g < gridCount; ++g) {
        for (int p : plan.reserveExact[g])
            claim[p] = kClaimReserve;
        for (int p : plan.reserveSmaller[g])
            claim[p] = kClaimReserve;
    }
    for (const Slot& s : plan.slots) {
        if (s.primary >= 0) claim[s.primary] = kClaimPrimary;
        for (int p : s.pinnedPictures)
            claim[p] = kClaimPrimary;
    }
    drawInTurns(Drafts, plan.overflowExact, plan.overflowSmaller);
    for (int g = 0; g < gridCount; ++g) {
        for (const auto* drafts : {&plan.overflowExact[g], &plan.overflowSmaller[g]}) {
            for (size_t k = 0; k < drafts->size(); ++k)
                claim[(*drafts)[k]] = 4.0 * (1.0 - static_cast<double>(k) / drafts->size());
        }
    }
    const std::vector<char> planned = used;
    plan.lastResort.assign(gridCount, {});
    // The pictures nobody planned (mostly a subject another picture already
    // shows) are dealt out in turns, each to one grid size it can serve, best
    // first: what a grid size tries last of its own, before any picture
    // another grid size planned. Big boards are dealt first, but not what the
    // review could not name on them, which may still serve a smaller board.
    auto deal = [&](bool big) {
        std::vector<int> grids;
        for (int g : order) {
            if ((std::min(sizes[g].width, sizes[g].height) >= 30) == big) grids.push_back(g);
        }
        std::vector<std::vector<std::pair<double, int>>> dealt(gridCount);
        size_t turn = 0;
        for (size_t p = 0; p < pics.size() && !grids.empty(); ++p) {
            if (used[p] || (big && pics[p].review[2] == kNotRecognised)) continue;
            for (size_t k = 0; k < grids.size(); ++k) {
                const int g = grids[(turn + k) % grids.size()];
                Slot probe;
                probe.grid = g;
                probe.exact = true;
                const double sc = Score(lib, pics[p], probe, sizes[g]);
                if (sc == kCannotServe) continue;
                dealt[g].push_back({-sc, static_cast<int>(p)});
                used[p] = 1;
                turn += k + 1;
                break;
            }
        }
        for (int g : grids) {
            std::sort(dealt[g].begin(), dealt[g].end());
            for (const auto& d : dealt[g])
                plan.lastResort[g].push_back(d.second);
        }
    };
    deal(true);
    deal(false);
    for (int g = 0; g < gridCount; ++g) {
        plan.sharedExact.push_back(plan.overflowExact[g].size());
        plan.sharedSmaller.push_back(plan.overflowSmaller[g].size());
    }
    std::vector<int> listed(pics.size(), 0);  // grid sizes that listed a picture
    for (int g : order) {
        for (int kind = 0; kind < 2; ++kind) {
            Slot probe;
            probe.grid = g;
            probe.exact = kind == 0;
            std::vector<std::pair<double, int>> ranked;
            for (size_t p = 0; p < pics.size(); ++p) {
                // Another slot's own picture, or one of its reserves, would
                // surely show twice.
                if (!planned[p] || claim[p] >= kClaimReserve) continue;
                double sc = Score(lib, pics[p], probe, sizes[g]);
                if (sc == kCannotServe) continue;
                ranked.push_back({claim[p] + listed[p] - sc, static_cast<int>(p)});
            }
            const int big = std::min(sizes[g].width, sizes[g].height) >= 30;
            const size_t keep =
                std::min(ranked.size(), static_cast<size_t>((1 + big) * sizes[g].count + 12));
            std::partial_sort(ranked.begin(), ranked.begin() + keep, ranked.end());
            auto& list = kind == 0 ? plan.overflowExact[g] : plan.overflowSmaller[g];
            for (size_t k = 0; k < keep; ++k)
                list.push_back(ranked[k].second);
            for (size_t k = 0; k < keep; ++k)
                ++listed[ranked[k].second];
        }
    }

    if (std::getenv("FORGE_DEBUG")) {
        int none = 0;
        for (const Slot& s : plan.slots)
            none += s.primary < 0;
        std::fprintf(stderr, "plan: %d slots without a picture, families %zu\n", none,
                     families.size());
        for (int g = 0; g < gridCount; ++g) {
            Slot probe;
            probe.grid = g;
            probe.exact = true;
            int eligible = 0;
            for (const PictureRef& p : pics)
                eligible += Score(lib, p, probe, sizes[g]) != kCannotServe;
            std::fprintf(stderr, "  %s eligible %d\n", sizes[g].Label().c_str(), eligible);
            std::fprintf(stderr, "  %s reserves %zu + %zu, overflow %zu + %zu\n",
                         sizes[g].Label().c_str(), plan.reserveExact[g].size(),
                         plan.reserveSmaller[g].size(), plan.overflowExact[g].size(),
                         plan.overflowSmaller[g].size());
        }
    }
    return plan;
}

}  // namespace forge
