// Stands in for libFuzzer in the normal build: runs the target once on every
// file named on the command line, or in the folders named there (committed seed
// corpora and past findings), so they replay as an ordinary test. As under
// `make fuzz`, a single allocation above 80 MiB is a finding: here the process's
// malloc is wrapped for that (the sanitizer build sets max_allocation_size_mb).
// An input that takes more than a few seconds is a finding too: every file the
// game reads is handled in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_host.h"

#ifndef __SANITIZE_ADDRESS__
// Defined in the program, these take the place of the C library's for every
// library it loads too (libpng and libjpeg allocate their own buffers).
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);

namespace {
constexpr size_t kAllocationMax = 80u << 20;

void CheckAllocation(size_t bytes) {
    if (bytes > kAllocationMax) {
        char text[96];
        const int n = std::snprintf(text, sizeof text, "allocation of %zu bytes\n", bytes);
        fwrite(text, 1, static_cast<size_t>(n), stderr);
        fuzzhost::Fail("no allocation above 80 MiB", __FILE__, __LINE__);
    }
}
}  // namespace

void* malloc(size_t size) {
    CheckAllocation(size);
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    if (size != 0 && count > SIZE_MAX / size) return nullptr;
    CheckAllocation(count * size);
    return __libc_calloc(count, size);
}
void* realloc(void* pointer, size_t size) {
    CheckAllocation(size);
    return __libc_realloc(pointer, size);
}
}  // extern "C"
#endif

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (fs::is_directory(argv[i], ec)) {
            for (const auto& entry : fs::directory_iterator(argv[i], ec)) {
                if (entry.is_regular_file()) files.push_back(entry.path().string());
            }
        } else if (fs::exists(argv[i], ec)) {
            files.push_back(argv[i]);
        } else {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 2;
        }
    }
    std::sort(files.begin(), files.end());
    for (const std::string& path : files) {
        std::ifstream in(path, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        std::fprintf(stderr, "%s\n", path.c_str());
        const auto start = std::chrono::steady_clock::now();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(3)) {
            fuzzhost::Fail("no input takes more than 3 seconds", __FILE__, __LINE__);
        }
    }
    std::printf("replayed %zu inputs\n", files.size());
    return files.empty() ? 1 : 0;
}
