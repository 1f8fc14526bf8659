#include "tests/fuzz/fuzz_host.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "hosts/common/host.h"
#include "platform/binding.h"

namespace fuzzhost {

namespace fs = std::filesystem;

namespace {

std::string g_root;
std::string g_data;
std::string g_documents;

void RemoveRoot() {
    std::error_code ec;
    if (!g_root.empty()) fs::remove_all(g_root, ec);
}

// In memory when the machine offers it: the targets write a file per input.
std::string TempParent() {
    const char* tmp = std::getenv("TMPDIR");
    if (tmp && *tmp) return tmp;
    if (access("/dev/shm", W_OK) == 0) return "/dev/shm";
    return fs::temp_directory_path().string();
}

}  // namespace

void Bind(bool realData) {
    if (!g_root.empty()) return;
    std::string tmpl = TempParent() + "/nonogram-fuzz-XXXXXX";
    if (!mkdtemp(tmpl.data())) Fail("cannot make a temporary folder", __FILE__, __LINE__);
    g_root = tmpl;
    std::atexit(RemoveRoot);
    g_documents = g_root + "/documents";
    g_data = realData ? std::string(NONOGRAM_DATA_DIR) : g_root + "/data";
    MakeFolders(g_data);
    host::HostSetup setup;
    setup.dataDir = g_data;
    setup.documentsDir = g_documents;
    // The module's warnings would flood the fuzzer's output.
    setup.hooks.log = [](const char*, const char*) {};
    if (!host::ConfigureHost(setup)) Fail("cannot set up the host", __FILE__, __LINE__);
    static host::ServiceRegistry registry;
    host::RegisterServices(registry);
    platform::BindHostServices(&registry.Descriptor());
    MakeFolders(g_documents + "/black");
    MakeFolders(g_documents + "/conf");
}

std::string MachinePath(const std::string& gamePath) {
    static const std::string kDocs = "Documents";
    if (gamePath.compare(0, kDocs.size(), kDocs) == 0) {
        return g_documents + gamePath.substr(kDocs.size());
    }
    return g_data + "/" + gamePath;
}

bool MakeFolders(const std::string& machinePath) {
    std::error_code ec;
    fs::create_directories(machinePath, ec);
    return !ec;
}

bool WriteBytes(const std::string& machinePath, const uint8_t* data, size_t size) {
    int fd = open(machinePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 && errno == ENOENT) {
        MakeFolders(fs::path(machinePath).parent_path().string());
        fd = open(machinePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    if (fd < 0) return false;
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    close(fd);
    return done == size;
}

void RemoveFile(const std::string& machinePath) {
    unlink(machinePath.c_str());
}

void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, file, line);
    std::fflush(stderr);
    std::abort();
}

}  // namespace fuzzhost

namespace fuzzhost {

PuzzleAddress PickPuzzle(uint8_t a, uint8_t b) {
    PuzzleAddress address{};
    const int32_t classes = GetSizeClassCount();
    if (classes <= 0) Fail("empty catalogue", __FILE__, __LINE__);
    address.sizeClass = a % classes;
    const int32_t grids = GetGridSizeCount(address.sizeClass);
    address.gridIndex = (b & 0x7F) % (grids > 0 ? grids : 1);
    GridSizeInfo grid{};
    GetGridSizeInfo(address.sizeClass, address.gridIndex, &grid);
    address.puzzleIndex = (b & 0x80) && grid.puzzleCount > 0 ? grid.puzzleCount - 1 : 0;
    return address;
}

}  // namespace fuzzhost
