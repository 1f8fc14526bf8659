// Reading, writing, deleting and scanning the per-puzzle state files.
#include "puzzles/board_state.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/s3e.h"
#include "storage/file_replace.h"

namespace {

// ===========================================================================
// Board shape

int32_t UsedSide(int32_t side) {
    if (side < 0) return 0;
    return side > kBoardMaxSide ? kBoardMaxSide : side;
}

int32_t RecordBytes(int32_t cols) {
    return (UsedSide(cols) + 4) / 5;
}

int32_t LineCount(const ClueLine& line) {
    return line.values && line.count > 0 ? line.count : 0;
}

// Calls visit(clueByte) for every clue of the board in marks-file order: every
// row's clues, then every column's. The clue tables are owned by the board but
// not part of its record, so a const board still hands out writable bytes; only
// the readers change them.
template <typename Visit>
void ForEachClue(const Board* board, Visit visit) {
    if (board->rowClues) {
        for (int32_t r = 0; r < board->rows; ++r) {
            for (int32_t k = 0; k < LineCount(board->rowClues[r]); ++k) {
                visit(board->rowClues[r].values[k]);
            }
        }
    }
    if (board->colClues) {
        for (int32_t c = 0; c < board->cols; ++c) {
            for (int32_t k = 0; k < LineCount(board->colClues[c]); ++k) {
                visit(board->colClues[c].values[k]);
            }
        }
    }
}

int64_t CountClues(const Board* board) {
    int64_t n = 0;
    ForEachClue(board, [&](uint8_t&) { ++n; });
    return n;
}

// ===========================================================================
// Paths

const char* const kSuffixes[] = {"res", "hdr", "rsv"};

bool SameText(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

bool Exists(const char* path) {
    return s3eFileCheckExists(path) == S3E_TRUE;
}

// ===========================================================================
// Reading

// Restores up to rows records of the cells file; false when a record was unusable.
bool ReadCells(const char* path, Board* board) {
    s3eFile* file = s3eFileOpen(path, "rb");
    if (!file) return false;
    const int32_t rows = UsedSide(board->rows);
    const int32_t cols = UsedSide(board->cols);
    const int32_t bytes = RecordBytes(cols);
    if (bytes == 0) {
        s3eFileClose(file);
        return false;
    }
    // Fewer whole records than rows restore the rows they hold (an empty file is the
    // marks writer's placeholder); a record cut short or records past the last row
    // are damage.
    const int32_t size = s3eFileGetSize(file);
    bool sound = size >= 0 && size % bytes == 0 && size <= rows * bytes;
    uint8_t record[(kBoardMaxSide + 4) / 5];
    for (int32_t r = 0; r < rows; ++r) {
        if (s3eFileRead(record, static_cast<uint32_t>(bytes), 1, file) != 1) break;
        bool valid = true;
        for (int32_t j = 0; j < bytes; ++j)
            valid = valid && record[j] <= 242;
        if (!valid) {
            sound = false;
            continue;
        }
        for (int32_t j = 0; j < bytes; ++j) {
            int32_t value = record[j];
            for (int32_t k = 0; k < 5 && 5 * j + k < cols; ++k) {
                board->cells[r * kBoardMaxSide + 5 * j + k] = static_cast<uint8_t>(value % 3);
                value /= 3;
            }
        }
    }
    s3eFileClose(file);
    return sound;
}

bool ReadMarks(const char* path, Board* board) {
    const int64_t clues = CountClues(board);
    const int64_t needed = (clues + 7) / 8;
    if (needed == 0) return true;
    if (needed > kMarksBytesMax) return false;
    s3eFile* file = s3eFileOpen(path, "rb");
    if (!file) return false;
    uint8_t bits[kMarksBytesMax];
    const bool whole = s3eFileRead(bits, static_cast<uint32_t>(needed), 1, file) == 1;
    s3eFileClose(file);
    if (!whole) return false;
    int64_t i = 0;
    ForEachClue(board, [&](uint8_t& clue) {
        const bool marked = bits[i / 8] & (0x80 >> (i % 8));
        ++i;
        const uint8_t value = ClueValue(clue);
        // A value that cannot carry the mark in one byte is no clue of a real line.
        if (marked && value <= 255 - ClueMarkOffset) {
            clue = static_cast<uint8_t>(value + ClueMarkOffset);
        }
    });
    return true;
}

// ===========================================================================
// Scanning a state directory

struct StemKey {
    int32_t length;  // -1: no stem (a puzzle the catalogue could not name)
    int32_t sum;
    char stem[kFileNameMax];
};

int32_t ByteSum(const char* text, int32_t length) {
    int32_t sum = 0;
    for (int32_t i = 0; i < length; ++i)
        sum += static_cast<unsigned char>(text[i]);
    return sum;
}

// Whether the listed name in dir is a solved marker (a file, not a directory).
bool MarkerFileIn(const char* dir, const char* name) {
    char path[kPathMax];
    const int n = std::snprintf(path, sizeof path, "%s/%s", dir, name);
    return n > 0 && n < kPathMax && FileIsThere(path);
}

// Calls found(puzzleIndex, status) for every name in the grid size's state
// directory that is a cells file or a solved marker of one of its puzzles. False
// when the directory is missing or cannot be listed.
template <typename Found>
bool ScanStateDirectory(const char* base, int32_t sizeClass, int32_t gridIndex, Found found) {
    GridSizeInfo grid{};
    char dir[kPathMax];
    if (!GetGridSizeInfo(sizeClass, gridIndex, &grid) || grid.puzzleCount <= 0 ||
        !BuildStateDirPath(base, grid.dirCode, dir)) {
        return false;
    }
    if (s3eFileGetFileInt(dir, S3E_FILE_ISDIR) == 0) return false;

    const int32_t count = grid.puzzleCount;
    auto* stems = static_cast<StemKey*>(std::calloc(static_cast<size_t>(count), sizeof(StemKey)));
    if (!stems) return false;
    for (int32_t p = 0; p < count; ++p) {
        char fileName[kFileNameMax] = {};
        StemKey& key = stems[p];
        key.length = -1;
        if (!GetPuzzleInfo({sizeClass, gridIndex, p}, nullptr, nullptr, fileName)) continue;
        const int32_t n = static_cast<int32_t>(std::strlen(fileName));
        if (n < 4) continue;
        key.length = n - 4;  // without ".dmp"
        std::memcpy(key.stem, fileName, static_cast<size_t>(key.length));
        key.sum = ByteSum(key.stem, key.length);
    }

    s3eFileList* listing = s3eFileListDirectory(dir);
    if (!listing) {
        std::free(stems);
        return false;
    }
    char name[50];
    while (s3eFileListNext(listing, name, sizeof name) == S3E_RESULT_SUCCESS) {
        name[sizeof name - 1] = '\0';
        const int32_t n = static_cast<int32_t>(std::strlen(name));
        // "<stem>.rsv" or "<stem>.res" with a stem of at least one character.
        if (n < 5 || name[n - 4] != '.') continue;
        int32_t status;
        if (SameText(name + n - 3, "rsv")) {
            status = Solved;
        } else if (SameText(name + n - 3, "res")) {
            status = InProgress;
        } else {
            continue;
        }
        const int32_t length = n - 4;
        const int32_t sum = ByteSum(name, length);
        for (int32_t p = 0; p < count; ++p) {
            const StemKey& key = stems[p];
            if (key.length == length && key.sum == sum &&
                std::memcmp(key.stem, name, static_cast<size_t>(length)) == 0 &&
                (status != Solved || MarkerFileIn(dir, name))) {
                found(p, status);
            }
        }
    }
    s3eFileListClose(listing);
    std::free(stems);
    return true;
}

}  // namespace

// ===========================================================================
// Directories and paths

bool BuildStateFilePath(const char* base, const PuzzleAddress& at, StateFileKind kind, char* out) {
    if (!out) return false;
    out[0] = '\0';
    if (kind < CellsFile || kind > SolvedMarker) return false;
    GridSizeInfo grid{};
    char fileName[kFileNameMax] = {};
    char dir[kPathMax];
    if (!GetGridSizeInfo(at.sizeClass, at.gridIndex, &grid) ||
        !GetPuzzleInfo(at, nullptr, nullptr, fileName) ||
        !BuildStateDirPath(base, grid.dirCode, dir)) {
        return false;
    }
    const int32_t n = static_cast<int32_t>(std::strlen(fileName));
    if (n < 3) return false;
    const int written =
        std::snprintf(out, kPathMax, "%s/%.*s%s", dir, n - 3, fileName, kSuffixes[kind]);
    if (written <= 0 || written >= kPathMax) {
        out[0] = '\0';
        return false;
    }
    return true;
}

// ===========================================================================
// Formats

int32_t PackCells(const Board* board, uint8_t* out, int32_t capacity) {
    if (!board || !out) return -1;
    const int32_t rows = UsedSide(board->rows);
    const int32_t cols = UsedSide(board->cols);
    if (rows * RecordBytes(cols) > capacity) return -1;
    static const int32_t kPlace[5] = {1, 3, 9, 27, 81};
    int32_t length = 0;
    for (int32_t r = 0; r < rows; ++r) {
        int32_t sum = 0;
        for (int32_t c = 0; c < cols; ++c) {
            const uint8_t code = board->cells[r * kBoardMaxSide + c];
            sum += (code <= CellCross ? code : 0) * kPlace[c % 5];
            if (c % 5 == 4) {
                out[length++] = static_cast<uint8_t>(sum);
                sum = 0;
            }
        }
        if (cols % 5 != 0) out[length++] = static_cast<uint8_t>(sum);
    }
    return length;
}

int32_t PackMarks(const Board* board, uint8_t* out, int32_t capacity) {
    if (!board || !out) return -1;
    const int64_t clues = CountClues(board);
    const int64_t length = (clues + 7) / 8;
    if (length > capacity) return -1;
    std::memset(out, 0, static_cast<size_t>(length));
    int64_t i = 0;
    ForEachClue(board, [&](uint8_t& clue) {
        if (clue >= ClueMarkOffset) out[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
        ++i;
    });
    return static_cast<int32_t>(length);
}

// ===========================================================================
// Reading and writing

bool ReadBoardState(const char* base, const PuzzleAddress& at, Board* board) {
    if (!board) return false;
    char path[kPathMax];
    bool sound = true;
    if (BuildStateFilePath(base, at, CellsFile, path) && Exists(path)) {
        sound = ReadCells(path, board) && sound;
    }
    if (BuildStateFilePath(base, at, MarksFile, path) && Exists(path)) {
        sound = ReadMarks(path, board) && sound;
    }
    return sound;
}

bool SaveCells(const char* base, const PuzzleAddress& at, const Board* board) {
    char path[kPathMax];
    uint8_t bytes[kCellsBytesMax];
    if (!BuildStateFilePath(base, at, CellsFile, path)) {
        return false;
    }
    const int32_t length = PackCells(board, bytes, kCellsBytesMax);
    if (length < 0) return false;
    return ReplaceFile(path, bytes, static_cast<uint32_t>(length));
}

bool SaveMarks(const char* base, const PuzzleAddress& at, Board* board) {
    char path[kPathMax];
    uint8_t bytes[kMarksBytesMax];
    if (!BuildStateFilePath(base, at, MarksFile, path)) {
        return false;
    }
    const int32_t length = PackMarks(board, bytes, kMarksBytesMax);
    if (length < 0 || !ReplaceFile(path, bytes, static_cast<uint32_t>(length))) return false;
    if (board->stateFileCreated) return true;
    if (!BuildStateFilePath(base, at, CellsFile, path)) {
        return false;
    }
    if (!Exists(path) && !ReplaceFile(path, nullptr, 0)) return false;
    board->stateFileCreated = 1;
    return true;
}

bool EnsureSolvedMarker(const char* base, const PuzzleAddress& at, bool* created) {
    if (created) *created = false;
    char path[kPathMax];
    if (!BuildStateFilePath(base, at, SolvedMarker, path)) {
        return false;
    }
    if (FileIsThere(path)) return true;
    if (Exists(path)) s3eFileDelete(path);
    if (!ReplaceFile(path, nullptr, 0)) return false;
    if (created) *created = true;
    return true;
}

bool DeleteBoardState(const char* base, const PuzzleAddress& at, bool keepSolvedMarker) {
    bool gone = true;
    const StateFileKind kinds[] = {CellsFile, SolvedMarker, MarksFile};
    for (StateFileKind kind : kinds) {
        if (kind == SolvedMarker && keepSolvedMarker) continue;
        char path[kPathMax];
        if (!BuildStateFilePath(base, at, kind, path)) {
            gone = false;
            continue;
        }
        if (Exists(path)) s3eFileDelete(path);
        gone = gone && !Exists(path);
    }
    return gone;
}

// ===========================================================================
// Statuses

bool ReadPuzzleStatuses(const char* base, int32_t sizeClass, int32_t gridIndex,
                        PuzzleEntry* entries, int32_t entryCount) {
    if (!entries || entryCount <= 0) return false;
    for (int32_t i = 0; i < entryCount; ++i)
        entries[i].status = NotStarted;
    return ScanStateDirectory(base, sizeClass, gridIndex, [&](int32_t p, int32_t status) {
        if (p < entryCount && status > entries[p].status) entries[p].status = status;
    });
}

int32_t CountSolvedPuzzles(const char* base, int32_t sizeClass, int32_t gridIndex) {
    int32_t solved = 0;
    ScanStateDirectory(base, sizeClass, gridIndex, [&](int32_t, int32_t status) {
        if (status == Solved) ++solved;
    });
    return solved;
}
