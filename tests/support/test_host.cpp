#include "tests/support/test_host.h"

#include <fcntl.h>
#include <png.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "hosts/common/extensions.h"
#include "hosts/common/host.h"
#include "platform/binding.h"

extern char** environ;

namespace testsupport {

namespace fs = std::filesystem;

std::string MakeTempDir() {
    std::string tmpl = (fs::temp_directory_path() / "nonogram-test-XXXXXX").string();
    char* made = mkdtemp(tmpl.data());
    return made ? std::string(made) : std::string();
}

void RemoveTree(const std::string& path) {
    std::error_code ec;
    // Tests may have made folders read-only; give write access back first.
    for (auto it = fs::recursive_directory_iterator(path, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string ReadFile(const std::string& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    if (ok) *ok = static_cast<bool>(in);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool FileExists(const std::string& path) {
    return fs::exists(path);
}

bool WritePngRGBA(const std::string& path, int width, int height, const uint8_t* rgba) {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, rgba, 0, nullptr) != 0;
}

bool Picture::Is(int x, int y, uint8_t r, uint8_t g, uint8_t b) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return rgb[i] == r && rgb[i + 1] == g && rgb[i + 2] == b;
}

std::string Picture::At(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return std::to_string(rgb[i]) + "," + std::to_string(rgb[i + 1]) + "," +
           std::to_string(rgb[i + 2]);
}

std::vector<int> Picture::Rgb(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

bool ReadPicture(const std::string& path, Picture* p) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    p->rgb.resize(PNG_IMAGE_SIZE(image));
    p->width = static_cast<int>(image.width);
    p->height = static_cast<int>(image.height);
    return png_image_finish_read(&image, nullptr, p->rgb.data(), 0, nullptr) != 0;
}

BoundHost::BoundHost(const std::string& dataDir, const host::HostHooks& hooks) {
    root_ = MakeTempDir();
    documentsDir_ = root_ + "/documents";
    dataDir_ = dataDir.empty() ? root_ + "/data" : dataDir;
    fs::create_directories(dataDir_);
    host::HostSetup setup;
    setup.dataDir = dataDir_;
    setup.documentsDir = documentsDir_;
    setup.hooks = hooks;
    host::ConfigureHost(setup);
    // The dialog and link extensions every host offers.
    host::InstallExtensions(host::ExtensionSetup());
    host::ServiceRegistry registry;
    host::RegisterServices(registry);
    platform::BindHostServices(&registry.Descriptor());
}

BoundHost::~BoundHost() {
    platform::BindHostServices(nullptr);
    RemoveTree(root_);
}

std::string BoundHost::Path(const std::string& gamePath) const {
    const std::string docs = "Documents";
    if (gamePath.compare(0, docs.size(), docs) == 0) {
        return documentsDir_ + gamePath.substr(docs.size());
    }
    return dataDir_ + "/" + gamePath;
}

std::string GameDataDir() {
    return NONOGRAM_DATA_DIR;
}

HeadlessRun RunHeadless(const std::string& script, const std::vector<std::string>& args) {
    HeadlessRun run;
    std::string dir = MakeTempDir();
    std::string scriptPath = dir + "/script.txt";
    std::string outPath = dir + "/out.txt";
    std::string errPath = dir + "/err.txt";
    WriteFile(scriptPath, script);

    std::vector<std::string> argv = {std::string(NONOGRAM_BIN_DIR) + "/nonogram-headless"};
    argv.insert(argv.end(), args.begin(), args.end());
    argv.push_back("--script");
    argv.push_back(scriptPath);
    std::vector<char*> cargv;
    for (auto& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    if (posix_spawn(&pid, cargv[0], &actions, nullptr, cargv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.log = ReadFile(outPath);
    run.errors = ReadFile(errPath);
    std::istringstream lines(run.log);
    for (std::string line; std::getline(lines, line);)
        run.lines.push_back(line);
    RemoveTree(dir);
    return run;
}

}  // namespace testsupport
