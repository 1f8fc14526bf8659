// The player's progress on each puzzle: the three state
// files of a puzzle (cells, clue marks, solved marker) and the scan that gives
// every puzzle of a grid size its status.
//
// Formats, all in "<base>/black/<dirCode>/" and named by the puzzle's file name
// with its last three characters replaced:
//   cells  ("res"): rows records of ceil(cols / 5) bytes; byte j of a row holds the
//                   cells of columns 5j..5j+4 as base-3 digits, leftmost least
//                   significant (so 0..242);
//   marks  ("hdr"): one bit per clue, every row's clues then every column's, the
//                   first clue in the most significant bit of the first byte;
//   solved ("rsv"): empty; present once the puzzle was solved.
#pragma once

#include <cstdint>

#include "board/board.h"
#include "puzzles/catalogue.h"
#include "storage/player_folder.h"

enum StateFileKind : int32_t { CellsFile = 0, MarksFile = 1, SolvedMarker = 2 };

// Largest encodings: 100 rows of 20 bytes, and one bit for each of at most 100
// clues on each of 200 lines.
constexpr int32_t kCellsBytesMax = kBoardMaxSide * ((kBoardMaxSide + 4) / 5);
constexpr int32_t kMarksBytesMax = (2 * kBoardMaxSide * kBoardMaxSide) / 8;

// "<base>/black/<dirCode>/<stem>.<res|hdr|rsv>" of a catalogue puzzle into out
// (kPathMax bytes); false for a puzzle outside the catalogue or a path too long.
bool BuildStateFilePath(const char* base, const PuzzleAddress& at, StateFileKind kind, char* out);

// The cells file's bytes for the board into out; gives their number, or -1 when
// they do not fit in capacity.
int32_t PackCells(const Board* board, uint8_t* out, int32_t capacity);
// The marks file's bytes for the board into out (all of it rewritten); gives their
// number, or -1 when they do not fit in capacity.
int32_t PackMarks(const Board* board, uint8_t* out, int32_t capacity);

// Restores the cells and clue marks of an earlier visit into a board that was
// just reset. Only what is sound is taken: at most rows records, never a record
// with a byte above 242 or one cut short, marks only from a file that holds them
// all. False when a file was there but not wholly usable.
bool ReadBoardState(const char* base, const PuzzleAddress& at, Board* board);

// Each writer replaces its file atomically and reports whether the new file is in
// place; on false the old file is untouched.
bool SaveCells(const char* base, const PuzzleAddress& at, const Board* board);
// Also makes sure, once per board, that a cells file exists (empty if need be), so
// a puzzle with only clue marks counts as in progress. stateFileCreated is set
// only once that is done.
bool SaveMarks(const char* base, const PuzzleAddress& at, Board* board);
// Creates the empty solved marker when it is missing (an empty directory in
// its place is removed first). *created (optional) tells
// whether this call made it; true when the marker exists afterwards.
bool EnsureSolvedMarker(const char* base, const PuzzleAddress& at, bool* created);
// Deletes the cells file, the solved marker (unless keepSolvedMarker) and the
// marks file; true when none of those remains.
bool DeleteBoardState(const char* base, const PuzzleAddress& at, bool keepSolvedMarker = false);

// Sets the status of entries[0 .. entryCount) (puzzle index order) from the files
// of the grid size's state directory: Solved with a solved marker, else InProgress
// with a cells file, else NotStarted. Names that match no puzzle are passed over.
// False when the directory is missing or cannot be listed (all NotStarted).
bool ReadPuzzleStatuses(const char* base, int32_t sizeClass, int32_t gridIndex,
                        PuzzleEntry* entries, int32_t entryCount);
// The number of solved markers in the state directory that belong to puzzles of
// the grid size; 0 when it is missing or cannot be listed.
int32_t CountSolvedPuzzles(const char* base, int32_t sizeClass, int32_t gridIndex);
