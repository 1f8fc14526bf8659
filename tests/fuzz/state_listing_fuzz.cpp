// The state-directory listing: the input is a list of file names (one a line)
// made in a grid size's state folder. Every puzzle's status and the solved count
// must follow from exactly the names "<stem>.rsv" and "<stem>.res"; nothing else
// there (leftover temporary files, foreign or overlong names) may count.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "puzzles/board_state.h"
#include "tests/fuzz/fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzhost::Bind(true);
    if (size < 2) return 0;
    const PuzzleAddress a = fuzzhost::PickPuzzle(data[0], data[1]);
    GridSizeInfo grid{};
    char dirPath[kPathMax];
    FUZZ_CHECK(GetGridSizeInfo(a.sizeClass, a.gridIndex, &grid));
    FUZZ_CHECK(BuildStateDirPath(kPlayerDataRoot, grid.dirCode, dirPath));
    const std::string dir = fuzzhost::MachinePath(dirPath);

    // Names a folder can hold; at most 32 of them.
    std::set<std::string> names;
    const char* text = reinterpret_cast<const char*>(data + 2);
    const size_t length = size - 2;
    for (size_t start = 0; start <= length && names.size() < 32;) {
        const char* end = static_cast<const char*>(std::memchr(text + start, '\n', length - start));
        const size_t stop = end ? static_cast<size_t>(end - text) : length;
        std::string name(text + start, stop - start);
        if (!name.empty() && name != "." && name != ".." && name.size() < 200 &&
            name.find('/') == std::string::npos && name.find('\0') == std::string::npos) {
            names.insert(name);
        }
        start = stop + 1;
    }
    // No names: no folder at all, as before the first save in a grid size.
    const bool haveFolder = !names.empty();
    if (!haveFolder) rmdir(dir.c_str());
    if (haveFolder) {
        fuzzhost::MakeFolders(dir);
        for (const std::string& name : names)
            FUZZ_CHECK(fuzzhost::WriteBytes(dir + "/" + name, nullptr, 0));
    }

    const int32_t count = grid.puzzleCount;
    auto* entries =
        static_cast<PuzzleEntry*>(std::calloc(static_cast<size_t>(count), sizeof(PuzzleEntry)));
    for (int32_t p = 0; p < count; ++p)
        entries[p].status = 77;
    const bool listed =
        ReadPuzzleStatuses(kPlayerDataRoot, a.sizeClass, a.gridIndex, entries, count);
    const int32_t solved = CountSolvedPuzzles(kPlayerDataRoot, a.sizeClass, a.gridIndex);
    FUZZ_CHECK(listed == haveFolder);

    int32_t expectedSolved = 0;
    for (int32_t p = 0; p < count; ++p) {
        char fileName[kFileNameMax] = {};
        FUZZ_CHECK(GetPuzzleInfo({a.sizeClass, a.gridIndex, p}, nullptr, nullptr, fileName));
        const std::string stem(fileName, std::strlen(fileName) - 4);
        int32_t expected = NotStarted;
        if (names.count(stem + ".rsv")) {
            expected = Solved;
            ++expectedSolved;
        } else if (names.count(stem + ".res")) {
            expected = InProgress;
        }
        FUZZ_CHECK(entries[p].status == expected);
    }
    FUZZ_CHECK(solved == expectedSolved);

    std::free(entries);
    for (const std::string& name : names)
        fuzzhost::RemoveFile(dir + "/" + name);
    return 0;
}
