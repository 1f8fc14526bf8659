// What every fuzz target shares: the module bound to the shared host's real file
// services on a temporary folder, quick file helpers for the harness's own side,
// and a check that stops the run (a finding) when an invariant breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzhost {

// Binds the shared host services once per process. The player's "Documents" is a
// fresh temporary folder; the game data is the shipped data (realData) or a fresh
// temporary folder the target fills itself. The folders go at exit.
void Bind(bool realData);

// The machine path of a game path ("Documents/..." or a data path).
std::string MachinePath(const std::string& gamePath);

// Writes the bytes as the whole file (folders made as needed); false on failure.
bool WriteBytes(const std::string& machinePath, const uint8_t* data, size_t size);
void RemoveFile(const std::string& machinePath);
bool MakeFolders(const std::string& machinePath);

// Prints what broke and aborts, so libFuzzer and the replay both report it.
[[noreturn]] void Fail(const char* what, const char* file, int line);

}  // namespace fuzzhost

#define FUZZ_CHECK(condition)                                             \
    do {                                                                  \
        if (!(condition)) fuzzhost::Fail(#condition, __FILE__, __LINE__); \
    } while (0)

// The entry point every target defines; libFuzzer or the replay main calls it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

#include "puzzles/catalogue.h"

namespace fuzzhost {

// A puzzle address of the catalogue chosen by two input bytes: every grid size
// is reachable, and its first or last puzzle.
PuzzleAddress PickPuzzle(uint8_t a, uint8_t b);

}  // namespace fuzzhost
