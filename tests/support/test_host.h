// Test helpers: the module bound to the shared host services on temporary
// folders, file helpers, and running the headless host on a script.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hosts/common/host.h"

namespace testsupport {

std::string MakeTempDir();
void RemoveTree(const std::string& path);
bool WriteFile(const std::string& path, const std::string& bytes);
// The whole file, or nullopt-like: ok is false when it cannot be read.
std::string ReadFile(const std::string& path, bool* ok = nullptr);
bool FileExists(const std::string& path);
// Writes width x height RGBA pixels (top row first) as a PNG, making its folder.
bool WritePngRGBA(const std::string& path, int width, int height, const uint8_t* rgba);

// A screenshot read back as RGB, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    bool Is(int x, int y, uint8_t r, uint8_t g, uint8_t b) const;
    // "r,g,b" of a pixel, for readable failures.
    std::string At(int x, int y) const;
    // (r, g, b) of a pixel, for comparing components.
    std::vector<int> Rgb(int x, int y) const;
};
bool ReadPicture(const std::string& path, Picture* p);

// Binds every service of the shared host implementation to the module, and the
// dialog and link extensions (without handlers: boxes stay open), with the
// player's "Documents" in a fresh temporary folder and the game data in dataDir
// (a fresh temporary folder when empty). Both temporary folders go at the end.
class BoundHost {
  public:
    explicit BoundHost(const std::string& dataDir = std::string(),
                       const host::HostHooks& hooks = host::HostHooks());
    ~BoundHost();
    BoundHost(const BoundHost&) = delete;
    BoundHost& operator=(const BoundHost&) = delete;

    const std::string& DataDir() const { return dataDir_; }
    const std::string& DocumentsDir() const { return documentsDir_; }
    // Machine paths of game paths: "tasks/..." in the data, "Documents/..." in the storage.
    std::string Path(const std::string& gamePath) const;

  private:
    std::string dataDir_;
    std::string documentsDir_;
    std::string root_;
};

// The real game data of the build tree.
std::string GameDataDir();

struct HeadlessRun {
    int exitStatus = -1;  // the process's exit status
    std::string log;      // everything it printed on standard output
    std::string errors;   // standard error
    std::vector<std::string> lines;
};

// Runs nonogram-headless with the script given as text; args are extra options
// (for example {"--size", "480x800", "--storage", dir}).
HeadlessRun RunHeadless(const std::string& script, const std::vector<std::string>& args = {});

}  // namespace testsupport
