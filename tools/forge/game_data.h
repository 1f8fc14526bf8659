// The shipped puzzles as the game reads them: the game's own catalogue and
// puzzle reader, bound to the shared host file services on a data folder.
#pragma once

#include <string>
#include <vector>

#include "tools/forge/solver.h"

namespace forge {

// One puzzle address of the catalogue compiled into the game.
struct Address {
    int sizeClass = 0;
    int grid = 0;
    int index = 0;
};

class GameData {
  public:
    GameData() = default;
    ~GameData();
    GameData(const GameData&) = delete;
    GameData& operator=(const GameData&) = delete;

    // Binds the file services with dataDir as the game data ("tasks/...").
    bool Open(const std::string& dataDir, std::string* error);

    // Reads a puzzle with the game's LoadPuzzle. False when the game refuses it.
    bool Load(const Address& a, Clues* out) const;

    // Every address of the compiled catalogue, in order.
    static std::vector<Address> Addresses();
    static std::string Stem(const Address& a);
    static std::string Label(const Address& a);
    static std::string DirCode(const Address& a);
    static void Size(const Address& a, int* rows, int* cols);

  private:
    std::string documents_;
    bool bound_ = false;
};

}  // namespace forge
