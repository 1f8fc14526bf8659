// Reading shipped puzzles through the game's own catalogue and reader.
#include "tools/forge/game_data.h"

#include <stdlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "board/board.h"
#include "hosts/common/host.h"
#include "platform/binding.h"
#include "puzzles/catalogue.h"
#include "puzzles/puzzle_file.h"

namespace forge {

namespace fs = std::filesystem;

GameData::~GameData() {
    if (bound_) platform::BindHostServices(nullptr);
    std::error_code ec;
    if (!documents_.empty()) fs::remove_all(documents_, ec);
}

bool GameData::Open(const std::string& dataDir, std::string* error) {
    std::error_code ec;
    if (!fs::is_directory(dataDir + "/tasks", ec)) {
        *error = "no tasks folder in " + dataDir;
        return false;
    }
    std::string tmpl = (fs::temp_directory_path() / "nonogram-forge-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
        *error = "cannot make a temporary folder";
        return false;
    }
    documents_ = tmpl;
    host::HostSetup setup;
    setup.dataDir = dataDir;
    setup.documentsDir = documents_ + "/documents";
    if (!host::ConfigureHost(setup)) {
        *error = "cannot set up the file services";
        return false;
    }
    static host::ServiceRegistry registry;
    static bool registered = false;
    if (!registered) {
        host::RegisterServices(registry);
        registered = true;
    }
    platform::BindHostServices(&registry.Descriptor());
    bound_ = true;
    return true;
}

bool GameData::Load(const Address& a, Clues* out) const {
    auto* board = static_cast<Board*>(std::calloc(1, sizeof(Board)));
    if (!board) return false;
    bool ok = LoadPuzzle({a.sizeClass, a.grid, a.index}, board);
    if (ok) {
        Clues c;
        c.rows = board->rows;
        c.cols = board->cols;
        auto take = [](const ClueLine& line) {
            std::vector<int> runs;
            for (int32_t k = 0; k < line.count; ++k) {
                if (ClueValue(line.values[k])) runs.push_back(ClueValue(line.values[k]));
            }
            return runs;
        };
        for (int r = 0; r < board->rows; ++r)
            c.rowClues.push_back(take(board->rowClues[r]));
        for (int col = 0; col < board->cols; ++col)
            c.colClues.push_back(take(board->colClues[col]));
        *out = c;
    }
    ReleaseBoard(board);
    std::free(board);
    return ok;
}

std::vector<Address> GameData::Addresses() {
    std::vector<Address> all;
    for (int c = 0; c < GetSizeClassCount(); ++c) {
        for (int g = 0; g < GetGridSizeCount(c); ++g) {
            GridSizeInfo info = {};
            GetGridSizeInfo(c, g, &info);
            for (int i = 0; i < info.puzzleCount; ++i)
                all.push_back({c, g, i});
        }
    }
    return all;
}

std::string GameData::Stem(const Address& a) {
    char name[kFileNameMax] = {};
    int32_t rows = 0, cols = 0;
    GetPuzzleInfo({a.sizeClass, a.grid, a.index}, &rows, &cols, name);
    std::string s = name;
    return s.size() > 4 ? s.substr(0, s.size() - 4) : s;
}

std::string GameData::Label(const Address& a) {
    GridSizeInfo info = {};
    GetGridSizeInfo(a.sizeClass, a.grid, &info);
    return info.label;
}

std::string GameData::DirCode(const Address& a) {
    GridSizeInfo info = {};
    GetGridSizeInfo(a.sizeClass, a.grid, &info);
    return info.dirCode;
}

void GameData::Size(const Address& a, int* rows, int* cols) {
    int32_t r = 0, c = 0;
    GetPuzzleSize({a.sizeClass, a.grid, a.index}, &r, &c);
    *rows = r;
    *cols = c;
}

}  // namespace forge
