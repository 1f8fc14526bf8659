// nonogram-forge: makes the game's puzzle catalogue from freely licensed
// pictures and checks, lists, exports and imports puzzles.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/forge/build.h"
#include "tools/forge/game_data.h"
#include "tools/forge/play_stats.h"
#include "tools/forge/puzzle_io.h"
#include "tools/forge/sheet.h"

namespace fs = std::filesystem;
using namespace forge;

namespace {

const char kUsage[] =
    "usage: nonogram-forge COMMAND [options]\n"
    "  build  [--root DIR] [--out DIR] [--catalogue DIR] [--only LABEL,...] [--jobs N]\n"
    "         make every puzzle file, MANIFEST.tsv and CREDITS (into --out, default\n"
    "         ROOT/data) and the catalogue tables (into --catalogue, default ROOT/puzzles);\n"
    "         --only makes the named grid sizes into --out and leaves the tables alone\n"
    "  check  [--data DIR] [--jobs N] [--each]\n"
    "         read every shipped puzzle with the game's reader and prove it unique;\n"
    "         print per size band the clues per line and the longest runs (--each: and\n"
    "         per puzzle label, index, stem, rows, cols, clues per line)\n"
    "  list   the catalogue: class, label, dirCode, index, stem, rows, cols\n"
    "  export --format non DIR [--address CLASS/GRID/INDEX] [--data DIR]\n"
    "         write puzzles as .non files into DIR/<dirCode>/<stem>.non\n"
    "  import [--into DIR] FILE.non...\n"
    "         add .non puzzles as picture sources for build (default DIR: tools/forge/imports)\n"
    "  pictures [--root DIR]\n"
    "         every picture source offers, measured: source, name, legibility, fill, then "
    "crispness,\n"
    "         filled share and runs per line at 10, 15, 20, 30, 45 and 70 cells\n"
    "  survey [--root DIR] [--jobs N] [--every N] [--out FILE]\n"
    "         try every (Nth) picture on boards of 20 and 40 cells and write how richly it\n"
    "         plays to FILE, default tools/forge/survey.tsv (slow; build reads it)\n"
    "  sheet  OUT.png [--data DIR] [--grid LABEL,...] [--count N] [--per-row N] [--tile PX]\n"
    "         [--stems FILE of DIRCODE/STEM lines]\n"
    "         draw solved puzzles of a (partial) build as a contact sheet; with\n"
    "         --stems, the listed puzzles captioned only by number (blind review)\n";

// A one-line progress bar on standard error, drawn only on a terminal.
class ProgressBar {
  public:
    explicit ProgressBar(const char* what) : what_(what), tty_(isatty(2) != 0) {}
    ~ProgressBar() { Finish(); }
    void Update(int done, int total, const std::string& item = std::string()) {
        if (!tty_ || total <= 0) return;
        const int width = 30;
        int filled = static_cast<int>(static_cast<long>(done) * width / total);
        std::fprintf(stderr, "\r%s [%s%s] %3d%% %d/%d %-12s", what_,
                     std::string(filled, '#').c_str(), std::string(width - filled, ' ').c_str(),
                     static_cast<int>(100L * done / total), done, total, item.c_str());
        std::fflush(stderr);
        drawn_ = true;
    }
    void Finish() {
        if (drawn_) std::fprintf(stderr, "\r%*s\r", 80, "");
        drawn_ = false;
    }

  private:
    const char* what_;
    bool tty_;
    bool drawn_ = false;
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct Args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::string Get(const std::string& key, const std::string& fallback) const {
        auto it = options.find(key);
        return it == options.end() ? fallback : it->second;
    }
};

bool ParseArgs(int argc, char** argv, Args* out) {
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--each") {  // the one option without a value
            out->options[a] = "1";
        } else if (a.rfind("--", 0) == 0) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "%s needs a value\n", a.c_str());
                return false;
            }
            out->options[a] = argv[++i];
        } else {
            out->positional.push_back(a);
        }
    }
    return true;
}

int Jobs(const Args& args) {
    int n = std::atoi(args.Get("--jobs", "2").c_str());
    return n < 1 ? 1 : n;
}

// The picture library of the forge at root; with the survey unless asked not
// to.
bool OpenLibrary(PictureLibrary* lib, const Args& args, bool survey = true) {
    const std::string root = args.Get("--root", ".");
    if (survey) lib->UseSurvey(root + "/tools/forge/survey.tsv");
    lib->UseReview(root + "/tools/forge/review.tsv");
    std::string error;
    if (!lib->Open(args.Get("--imports", root + "/tools/forge/imports"),
                   root + "/tools/forge/node_modules", &error)) {
        std::fprintf(stderr, "nonogram-forge: %s\n", error.c_str());
        return false;
    }
    ProgressBar bar("measuring pictures");
    lib->Measure([](int d, int t, void* u) { static_cast<ProgressBar*>(u)->Update(d, t); }, &bar);
    return true;
}

// ---------------------------------------------------------------------------

int Build(const Args& args) {
    const auto start = std::chrono::steady_clock::now();
    const std::string root = args.Get("--root", ".");
    PictureLibrary lib;
    if (!OpenLibrary(&lib, args)) return 1;
    BuildOptions options;
    options.jobs = Jobs(args);
    std::string only = args.Get("--only", "");
    if (only.empty()) {
        options.dataDir = args.Get("--out", root + "/data");
        options.catalogueDir = args.Get("--catalogue", root + "/puzzles");
    } else {
        std::stringstream ss(only);
        for (std::string label; std::getline(ss, label, ',');) {
            int g = FindGridSize(label);
            if (g < 0) {
                std::fprintf(stderr, "nonogram-forge: no grid size %s\n", label.c_str());
                return 2;
            }
            options.grids.push_back(g);
        }
        if (!args.options.count("--out")) {
            std::fprintf(stderr, "nonogram-forge: --only needs --out\n");
            return 2;
        }
        options.dataDir = args.Get("--out", "");
    }
    ProgressBar bar("making puzzles");
    options.progress = [&](int d, int t, const std::string& what) { bar.Update(d, t, what); };
    BuildSummary summary;
    std::string error;
    bool ok = BuildCatalogue(lib, options, &summary, &error);
    bar.Finish();
    if (!ok) {
        std::fprintf(stderr, "nonogram-forge: %s\n", error.c_str());
        return 1;
    }
    std::printf(
        "made %d puzzles from %d pictures tried (%zu available) in %.1f s: %d line-solvable "
        "(%.1f%%), "
        "%d with cells changed\n",
        summary.puzzles, summary.picturesTried, lib.Pictures().size(), Seconds(start),
        summary.lineSolvable, 100.0 * summary.lineSolvable / std::max(1, summary.puzzles),
        summary.changedPuzzles);
    return 0;
}

int Pictures(const Args& args) {
    const auto start = std::chrono::steady_clock::now();
    const std::string root = args.Get("--root", ".");
    PictureLibrary lib;
    if (!OpenLibrary(&lib, args)) return 1;
    for (const PictureRef& p : lib.Pictures()) {
        std::printf("%s\t%s\t%d\t%.2f", lib.Sources()[p.source].id.c_str(), p.name.c_str(),
                    p.legible, p.fill);
        for (int k = 0; k < 6; ++k)
            std::printf("\t%.2f %.2f %.2f", p.crispness[k], p.filled[k], p.runs[k]);
        std::printf("\n");
    }
    std::fprintf(stderr, "%zu pictures in %.1f s\n", lib.Pictures().size(), Seconds(start));
    return 0;
}

// Tries every picture on boards of about 20 and 40 cells a side and writes
// how richly it plays to tools/forge/survey.tsv, which build then reads.
int Survey(const Args& args) {
    const auto start = std::chrono::steady_clock::now();
    PictureLibrary lib;
    if (!OpenLibrary(&lib, args, false)) return 1;
    const auto& pics = lib.Pictures();
    std::vector<double> at20(pics.size(), 0), at40(pics.size(), 0);
    std::atomic<size_t> next{0};
    std::atomic<int> done{0};
    const size_t every = std::max(1, std::atoi(args.Get("--every", "1").c_str()));
    auto worker = [&] {
        for (size_t k = next++; k < pics.size(); k = next++) {
            if (k % every) continue;
            Raster r;
            if (!lib.Render(pics[k], &r)) continue;
            at20[k] = SurveyPicture(r, 20);
            at40[k] = SurveyPicture(r, 40);
            if (++done % 250 == 0) std::fprintf(stderr, "surveyed %d\n", done.load());
        }
    };
    std::vector<std::thread> threads;
    for (int j = 1; j < Jobs(args); ++j)
        threads.emplace_back(worker);
    worker();
    for (auto& t : threads)
        t.join();
    std::string out;
    for (size_t k = 0; k < pics.size(); k += every) {
        char figures[64];
        std::snprintf(figures, sizeof figures, "\t%.2f\t%.2f\n", at20[k], at40[k]);
        out += lib.Sources()[pics[k].source].id + "\t" + pics[k].name + figures;
    }
    const std::string path = args.Get("--out", args.Get("--root", ".") + "/tools/forge/survey.tsv");
    if (!WriteFileAtomically(path, out)) {
        std::fprintf(stderr, "nonogram-forge: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("surveyed %zu pictures in %.1f s into %s\n", pics.size(), Seconds(start),
                path.c_str());
    return 0;
}

int Check(const Args& args) {
    const auto start = std::chrono::steady_clock::now();
    GameData game;
    std::string error;
    if (!game.Open(args.Get("--data", "data"), &error)) {
        std::fprintf(stderr, "nonogram-forge: %s\n", error.c_str());
        return 1;
    }
    const std::vector<Address> all = GameData::Addresses();
    std::vector<Clues> clues(all.size());
    std::vector<char> loaded(all.size(), 0);
    for (size_t i = 0; i < all.size(); ++i)
        loaded[i] = game.Load(all[i], &clues[i]);

    std::vector<Analysis> results(all.size());
    std::atomic<size_t> next{0};
    std::atomic<int> done{0};
    auto worker = [&] {
        for (size_t i = next++; i < all.size(); i = next++) {
            if (loaded[i]) results[i] = Analyse(clues[i]);
            ++done;
        }
    };
    std::vector<std::thread> threads;
    for (int j = 1; j < Jobs(args); ++j)
        threads.emplace_back(worker);
    {
        ProgressBar bar("checking");
        std::thread watcher;
        if (isatty(2)) {
            watcher = std::thread([&] {
                while (done < static_cast<int>(all.size())) {
                    bar.Update(done, static_cast<int>(all.size()));
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                }
            });
        }
        worker();
        for (auto& t : threads)
            t.join();
        if (watcher.joinable()) watcher.join();
    }
    int unique = 0, lineSolvable = 0, failing = 0;
    BandTable bands;
    const bool each = args.options.count("--each") != 0;
    for (size_t i = 0; i < all.size(); ++i) {
        const Address& a = all[i];
        std::string where =
            GameData::Label(a) + " " + std::to_string(a.index) + " " + GameData::Stem(a);
        if (!loaded[i]) {
            ++failing;
            std::printf("FAIL %s: the game cannot read its puzzle file\n", where.c_str());
            continue;
        }
        const Analysis& r = results[i];
        if (r.verdict != Verdict::Unique) {
            ++failing;
            const char* why = r.verdict == Verdict::Multiple     ? "more than one solution"
                              : r.verdict == Verdict::NoSolution ? "no solution"
                                                                 : "uniqueness not proven";
            std::printf("FAIL %s: %s\n", where.c_str(), why);
            continue;
        }
        ++unique;
        lineSolvable += r.lineSolvable;
        const PlayFigures play = MeasurePlay(clues[i]);
        bands.Add(clues[i].rows, clues[i].cols, play, r.lineSolvable);
        if (each) {
            std::printf("%s\t%d\t%s\t%d\t%d\t%.2f\n", GameData::Label(a).c_str(), a.index,
                        GameData::Stem(a).c_str(), clues[i].rows, clues[i].cols, play.cluesPerLine);
        }
    }
    std::fputs(bands.Format().c_str(), stdout);
    std::printf("checked %zu puzzles in %.2f s: %d unique, %d line-solvable (%.1f%%), %d failing\n",
                all.size(), Seconds(start), unique, lineSolvable,
                100.0 * lineSolvable / std::max<size_t>(1, all.size()), failing);
    return failing == 0 && !all.empty() ? 0 : 1;
}

int List() {
    for (const Address& a : GameData::Addresses()) {
        int rows = 0, cols = 0;
        GameData::Size(a, &rows, &cols);
        std::printf("%s\t%s\t%s\t%d\t%s\t%d\t%d\n", SizeClassName(a.sizeClass),
                    GameData::Label(a).c_str(), GameData::DirCode(a).c_str(), a.index,
                    GameData::Stem(a).c_str(), rows, cols);
    }
    return 0;
}

int Export(const Args& args) {
    if (args.Get("--format", "non") != "non" || args.positional.size() != 1) {
        std::fprintf(stderr, "usage: nonogram-forge export --format non DIR [--address C/G/I]\n");
        return 2;
    }
    GameData game;
    std::string error;
    if (!game.Open(args.Get("--data", "data"), &error)) {
        std::fprintf(stderr, "nonogram-forge: %s\n", error.c_str());
        return 1;
    }
    std::vector<Address> which = GameData::Addresses();
    std::string address = args.Get("--address", "");
    if (!address.empty()) {
        Address a;
        if (std::sscanf(address.c_str(), "%d/%d/%d", &a.sizeClass, &a.grid, &a.index) != 3) {
            std::fprintf(stderr, "nonogram-forge: address is CLASS/GRID/INDEX\n");
            return 2;
        }
        bool known = false;
        for (const Address& b : which)
            known |= b.sizeClass == a.sizeClass && b.grid == a.grid && b.index == a.index;
        if (!known) {
            std::fprintf(stderr, "nonogram-forge: no puzzle at %s\n", address.c_str());
            return 2;
        }
        which = {a};
    }
    int written = 0, failed = 0;
    for (const Address& a : which) {
        NonPuzzle p;
        if (!game.Load(a, &p.clues)) {
            std::fprintf(stderr, "cannot read %s %d\n", GameData::Label(a).c_str(), a.index);
            ++failed;
            continue;
        }
        p.title = GameData::Stem(a);
        std::string path = args.positional[0] + "/" + GameData::DirCode(a) + "/" + p.title + ".non";
        if (!WriteFileAtomically(path, FormatNon(p))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failed;
            continue;
        }
        ++written;
    }
    std::printf("exported %d puzzles, %d failed\n", written, failed);
    return failed ? 1 : 0;
}

int Import(const Args& args) {
    const std::string into = args.Get("--into", "tools/forge/imports");
    if (args.positional.empty()) {
        std::fprintf(stderr, "usage: nonogram-forge import [--into DIR] FILE.non...\n");
        return 2;
    }
    int added = 0, refused = 0;
    for (const std::string& file : args.positional) {
        NonPuzzle p;
        std::string error;
        if (!ReadNonFile(file, &p, &error)) {
            std::printf("refused %s: %s\n", file.c_str(), error.c_str());
            ++refused;
            continue;
        }
        Analysis a = Analyse(p.clues);
        if (a.verdict != Verdict::Unique) {
            std::printf("refused %s: %s\n", file.c_str(),
                        a.verdict == Verdict::Multiple ? "more than one solution"
                                                       : "no provable single solution");
            ++refused;
            continue;
        }
        std::string name = fs::path(file).filename().string();
        if (!WriteFileAtomically(into + "/" + name, FormatNon(p))) {
            std::printf("refused %s: cannot write into %s\n", file.c_str(), into.c_str());
            ++refused;
            continue;
        }
        std::printf("added %s: %dx%d, %s\n", name.c_str(), p.clues.cols, p.clues.rows,
                    a.lineSolvable ? "line-solvable" : "needs lookahead");
        ++added;
    }
    std::printf("imported %d, refused %d\n", added, refused);
    return refused ? 1 : 0;
}

int Sheet(const Args& args) {
    if (args.positional.size() != 1) {
        std::fprintf(
            stderr,
            "usage: nonogram-forge sheet OUT.png [--data DIR] [--grid LABEL,...] [--count N]\n");
        return 2;
    }
    const std::string data = args.Get("--data", "data");
    bool ok = false;
    std::string manifest = ReadWholeFile(data + "/tasks/MANIFEST.tsv", &ok);
    if (!ok) {
        std::fprintf(stderr, "nonogram-forge: no %s/tasks/MANIFEST.tsv\n", data.c_str());
        return 1;
    }
    struct Row {
        std::string label, dir, stem, source, picture;
        int rows, cols;
    };
    std::vector<Row> rows;
    std::stringstream ss(manifest);
    std::string line;
    std::getline(ss, line);  // header
    const std::string grid = args.Get("--grid", "");
    while (std::getline(ss, line)) {
        std::vector<std::string> f;
        std::stringstream ls(line);
        for (std::string x; std::getline(ls, x, '\t');)
            f.push_back(x);
        if (f.size() < 9 ||
            (!grid.empty() && ("," + grid + ",").find("," + f[1] + ",") == std::string::npos)) {
            continue;
        }
        rows.push_back(
            {f[1], f[2], f[4], f[7], f[8], std::atoi(f[5].c_str()), std::atoi(f[6].c_str())});
    }
    // A blind review draws a chosen list of puzzles, in the list's order, captioned
    // with numbers only so a reviewer cannot read the answer off the sheet.
    const std::string stems = args.Get("--stems", "");
    if (!stems.empty()) {
        std::string list = ReadWholeFile(stems, &ok);
        if (!ok) {
            std::fprintf(stderr, "nonogram-forge: cannot read %s\n", stems.c_str());
            return 1;
        }
        std::vector<Row> chosen;
        std::stringstream ls(list);
        for (std::string path; std::getline(ls, path);) {  // DIRCODE/STEM, as under tasks/
            auto it = std::find_if(rows.begin(), rows.end(),
                                   [&](const Row& r) { return r.dir + "/" + r.stem == path; });
            if (it == rows.end()) {
                std::fprintf(stderr, "nonogram-forge: no puzzle %s\n", path.c_str());
                return 1;
            }
            chosen.push_back(*it);
        }
        rows = chosen;
    }
    const int count = stems.empty() ? std::atoi(args.Get("--count", "60").c_str())
                                    : static_cast<int>(rows.size());
    std::vector<SheetTile> tiles;
    const size_t n = rows.size();
    const size_t want = std::min(n, static_cast<size_t>(std::max(1, count)));
    for (size_t k = 0; k < want; ++k) {
        const Row& r = rows[k * n / want];
        Clues clues;
        std::string bytes =
            ReadWholeFile(data + "/tasks/black/" + r.dir + "/" + r.stem + ".dmp", &ok);
        SheetTile tile;
        tile.caption = !stems.empty() ? std::to_string(k + 1) : r.label + " " + r.stem;
        if (ok && DecodePuzzleFile(bytes, r.rows, r.cols, &clues))
            tile.picture = Analyse(clues).solution;
        tiles.push_back(tile);
    }
    std::string error;
    const int perRow = std::max(1, std::atoi(args.Get("--per-row", "8").c_str()));
    const int tile = std::atoi(args.Get("--tile", "168").c_str());
    if (!WriteContactSheet(args.positional[0], tiles, perRow, tile, &error)) {
        std::fprintf(stderr, "nonogram-forge: %s\n", error.c_str());
        return 1;
    }
    std::printf("drew %zu puzzles into %s\n", tiles.size(), args.positional[0].c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string command = argv[1];
    Args args;
    if (!ParseArgs(argc, argv, &args)) return 2;
    if (command == "build") return Build(args);
    if (command == "check") return Check(args);
    if (command == "list") return List();
    if (command == "export") return Export(args);
    if (command == "import") return Import(args);
    if (command == "sheet") return Sheet(args);
    if (command == "pictures") return Pictures(args);
    if (command == "survey") return Survey(args);
    std::fputs(kUsage, stderr);
    return 2;
}
