// The shared implementations of the s3e services. Every function here is
// registered under its s3e name; the module reaches them only through the
// descriptor.
#include "hosts/common/host.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

#include "platform/s3e.h"

namespace host {

// ===========================================================================
// Registry

void ServiceRegistry::Add(const char* name, void* address) {
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == name) {
            addresses_[i] = address;
            return;
        }
    }
    names_.emplace_back(name);
    hashes_.push_back(platform::HashServiceName(name));
    addresses_.push_back(address);
}

bool ServiceRegistry::Has(const char* name) const {
    for (const auto& n : names_) {
        if (n == name) return true;
    }
    return false;
}

const IwAppDescriptor& ServiceRegistry::Descriptor() {
    descriptor_.serviceCount = static_cast<int32_t>(names_.size());
    descriptor_.reserved = 0;
    descriptor_.hashes = hashes_.data();
    descriptor_.addresses = addresses_.data();
    return descriptor_;
}

namespace {

// ===========================================================================
// Shared state

// A pointer step held back for a later update.
struct PointerStep {
    enum Kind { Down, Move, Up } kind;
    int32_t x, y;
};

struct Pointer {
    bool down = false;
    // Wheel travel: what arrived since the last update, and what the game
    // sees until the next one.
    int32_t scrollArrived = 0, zoomArrived = 0;
    int32_t scroll = 0, zoom = 0;
    bool pressed = false;   // latched until the next update
    bool released = false;  // latched until the next update
    int32_t x = 0, y = 0;
    int32_t state = 0;  // what the game sees since the last update
    // A press that came after a release the game has not seen yet waits for
    // the next update, with every step after it: in one update the release
    // would be read at the new press's position and the earlier tap lost.
    // Steps wait in `waiting` while their update is under way, and are
    // `ready` to be applied when the next one begins.
    std::vector<PointerStep> waiting;
    std::vector<PointerStep> ready;
};

struct Touch {
    bool down = false;
    int32_t x = 0, y = 0;
};

struct Key {
    bool down = false;
    bool pressed = false;
    bool released = false;
    int32_t state = 0;
};

struct SurfaceHandler {
    int32_t event;
    s3eCallback fn;
    void* userData;
};

struct HostState {
    HostSetup setup;
    Pointer pointer;
    Touch touches[S3E_POINTER_TOUCH_MAX];
    Key keys[S3E_KEY_COUNT];
    bool quit = false;
    int32_t exitCode = -1;
    int32_t surfaceWidth = 0, surfaceHeight = 0;
    int32_t drawableWidth = 0, drawableHeight = 0;
    std::vector<SurfaceHandler> surfaceHandlers;
    std::map<std::pair<std::string, std::string>, std::string> config;
    std::map<uint32_t, std::vector<unsigned char>> extensions;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    StorageFaults faults;
    int64_t writes = 0;
};

HostState& State() {
    static HostState state;
    return state;
}

void Log(const char* kind, const char* text) {
    if (State().setup.hooks.log) {
        State().setup.hooks.log(kind, text);
    } else {
        std::fprintf(stderr, "%s %s\n", kind, text);
    }
}

void DocumentsChanged() {
    if (State().setup.hooks.documentsChanged) State().setup.hooks.documentsChanged();
}

bool MakeDirs(const std::string& path) {
    std::string partial;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            if (!partial.empty() && partial != "/") {
                if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return false;
            }
        }
        if (i < path.size()) partial += path[i];
    }
    return true;
}

// ===========================================================================
// Files

struct FileHandle {
    FILE* fp;
    bool writable;
};

struct ListHandle {
    DIR* dir;
};

bool ReadOnly() {
    return State().faults.readOnlyDocuments;
}

// Opens regular files only: a device, FIFO or socket in the player's folder
// (or a link to one) would hang a read or never end it. Opening never blocks
// (O_NONBLOCK), so a FIFO is refused rather than waited on. Writing follows no
// link at the last step, and "x" creates exclusively.
s3eFile* FileOpen(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    bool write = std::strchr(mode, 'w') || std::strchr(mode, 'a') || std::strchr(mode, '+');
    if (write && ReadOnly()) return nullptr;
    std::string real = ResolvePath(path, write);
    if (real.empty()) return nullptr;
    const bool append = std::strchr(mode, 'a') != nullptr;
    int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
    if (write) {
        flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        flags |= append ? O_APPEND : O_TRUNC;
        if (std::strchr(mode, 'x')) flags |= O_EXCL;
    }
    const int fd = open(real.c_str(), flags, 0644);
    if (fd < 0) return nullptr;
    struct stat st;
    FILE* fp = nullptr;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        fp = fdopen(fd, write ? (append ? "ab" : "wb") : "rb");
    }
    if (!fp) {
        close(fd);
        return nullptr;
    }
    return reinterpret_cast<s3eFile*>(new FileHandle{fp, write});
}

uint32_t FileRead(void* buffer, uint32_t itemSize, uint32_t itemCount, s3eFile* file) {
    if (!file || !buffer || itemSize == 0) return 0;
    return static_cast<uint32_t>(
        std::fread(buffer, itemSize, itemCount, reinterpret_cast<FileHandle*>(file)->fp));
}

uint32_t FileWrite(const void* buffer, uint32_t itemSize, uint32_t itemCount, s3eFile* file) {
    if (!file || !buffer || itemSize == 0) return 0;
    auto* h = reinterpret_cast<FileHandle*>(file);
    if (!h->writable) return 0;
    HostState& s = State();
    ++s.writes;
    if (s.faults.failWrites || s.writes == s.faults.failWriteNumber) return 0;
    const uint64_t bytes = static_cast<uint64_t>(itemSize) * itemCount;
    if (s.faults.diskFreeBytes >= 0 && bytes > static_cast<uint64_t>(s.faults.diskFreeBytes)) {
        // A full disk: what fits lands in the file, the rest is refused.
        const size_t fits = static_cast<size_t>(s.faults.diskFreeBytes);
        s.faults.diskFreeBytes = 0;
        std::fwrite(buffer, 1, fits, h->fp);
        return static_cast<uint32_t>(fits / itemSize);
    }
    const size_t done = std::fwrite(buffer, itemSize, itemCount, h->fp);
    if (s.faults.diskFreeBytes >= 0)
        s.faults.diskFreeBytes -= static_cast<int64_t>(done * itemSize);
    return static_cast<uint32_t>(done);
}

char* FileReadString(char* buffer, uint32_t max, s3eFile* file) {
    if (!file || !buffer || max < 2) return nullptr;
    if (max > 0x7FFFFFFFu) max = 0x7FFFFFFFu;
    return std::fgets(buffer, static_cast<int>(max), reinterpret_cast<FileHandle*>(file)->fp);
}

s3eResult FileFlush(s3eFile* file) {
    if (!file) return S3E_RESULT_ERROR;
    auto* h = reinterpret_cast<FileHandle*>(file);
    if (std::fflush(h->fp) != 0) return S3E_RESULT_ERROR;
    if (h->writable && fsync(fileno(h->fp)) != 0) return S3E_RESULT_ERROR;
    return S3E_RESULT_SUCCESS;
}

s3eResult FileClose(s3eFile* file) {
    if (!file) return S3E_RESULT_ERROR;
    auto* h = reinterpret_cast<FileHandle*>(file);
    int rc = std::fclose(h->fp);
    // Only writable files lie in the player's data.
    if (h->writable) DocumentsChanged();
    delete h;
    return rc == 0 ? S3E_RESULT_SUCCESS : S3E_RESULT_ERROR;
}

int32_t FileGetSize(s3eFile* file) {
    if (!file) return -1;
    struct stat st;
    auto* h = reinterpret_cast<FileHandle*>(file);
    std::fflush(h->fp);
    if (fstat(fileno(h->fp), &st) != 0 || st.st_size > 0x7FFFFFFF) return -1;
    return static_cast<int32_t>(st.st_size);
}

s3eBool FileCheckExists(const char* path) {
    std::string real = ResolvePath(path, false);
    struct stat st;
    return !real.empty() && stat(real.c_str(), &st) == 0 ? S3E_TRUE : S3E_FALSE;
}

s3eResult FileMakeDirectory(const char* path) {
    std::string real = ResolvePath(path, true);
    if (real.empty() || ReadOnly() || !MakeDirs(real)) return S3E_RESULT_ERROR;
    DocumentsChanged();
    return S3E_RESULT_SUCCESS;
}

s3eResult FileDelete(const char* path) {
    std::string real = ResolvePath(path, true);
    if (real.empty() || ReadOnly() || std::remove(real.c_str()) != 0) return S3E_RESULT_ERROR;
    DocumentsChanged();
    return S3E_RESULT_SUCCESS;
}

s3eResult FileRename(const char* src, const char* dest) {
    std::string a = ResolvePath(src, true);
    std::string b = ResolvePath(dest, true);
    if (a.empty() || b.empty() || ReadOnly() || State().faults.failRename) return S3E_RESULT_ERROR;
    if (std::rename(a.c_str(), b.c_str()) != 0) return S3E_RESULT_ERROR;
    // Make the new directory entry durable too.
    std::string dir = b.substr(0, b.find_last_of('/'));
    int fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
    DocumentsChanged();
    return S3E_RESULT_SUCCESS;
}

int32_t FileGetFileInt(const char* path, int32_t property) {
    if (property != S3E_FILE_ISDIR) return 0;
    std::string real = ResolvePath(path, false);
    struct stat st;
    return !real.empty() && stat(real.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 1 : 0;
}

s3eFileList* FileListDirectory(const char* path) {
    std::string real = ResolvePath(path, false);
    if (real.empty()) return nullptr;
    DIR* dir = opendir(real.c_str());
    if (!dir) return nullptr;
    return reinterpret_cast<s3eFileList*>(new ListHandle{dir});
}

s3eResult FileListNext(s3eFileList* list, char* name, int32_t max) {
    if (!list || !name || max < 1) return S3E_RESULT_ERROR;
    auto* h = reinterpret_cast<ListHandle*>(list);
    while (dirent* e = readdir(h->dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        std::snprintf(name, static_cast<size_t>(max), "%s", e->d_name);
        return S3E_RESULT_SUCCESS;
    }
    return S3E_RESULT_ERROR;
}

s3eResult FileListClose(s3eFileList* list) {
    if (!list) return S3E_RESULT_ERROR;
    auto* h = reinterpret_cast<ListHandle*>(list);
    closedir(h->dir);
    delete h;
    return S3E_RESULT_SUCCESS;
}

// ===========================================================================
// Pointer and keys

void ApplyPointerStep(Pointer& p, const PointerStep& step) {
    p.x = step.x;
    p.y = step.y;
    if (step.kind == PointerStep::Down) {
        if (!p.down) p.pressed = true;
        p.down = true;
    } else if (step.kind == PointerStep::Up) {
        if (p.down) p.released = true;
        p.down = false;
    }
}

// Applies a step now, or keeps it waiting behind earlier ones, or behind a
// release the game has not read yet when it is a press.
void PointerStepArrived(const PointerStep& step) {
    Pointer& p = State().pointer;
    const bool blocked = step.kind == PointerStep::Down && p.released && !p.down;
    if (blocked || !p.waiting.empty() || !p.ready.empty()) {
        p.waiting.push_back(step);
    } else {
        ApplyPointerStep(p, step);
    }
}

s3eResult PointerUpdate() {
    Pointer& p = State().pointer;
    // The steps held back at the last update come first, up to the next
    // press that follows a release.
    std::vector<PointerStep> ready;
    ready.swap(p.ready);
    size_t i = 0;
    for (; i < ready.size(); ++i) {
        if (ready[i].kind == PointerStep::Down && p.released && !p.down) break;
        ApplyPointerStep(p, ready[i]);
    }
    p.waiting.insert(p.waiting.begin(), ready.begin() + static_cast<std::ptrdiff_t>(i),
                     ready.end());
    p.state = (p.down ? S3E_POINTER_STATE_DOWN : 0) | (p.pressed ? S3E_POINTER_STATE_PRESSED : 0) |
              (p.released ? S3E_POINTER_STATE_RELEASED : 0);
    p.pressed = p.released = false;
    p.ready.swap(p.waiting);
    p.scroll = p.scrollArrived;
    p.zoom = p.zoomArrived;
    p.scrollArrived = p.zoomArrived = 0;
    return S3E_RESULT_SUCCESS;
}

int32_t PointerGetState(int32_t button) {
    return button == 0 ? State().pointer.state : 0;
}
int32_t PointerGetX() {
    return State().pointer.x;
}
int32_t PointerGetY() {
    return State().pointer.y;
}

int32_t PointerGetInt(int32_t property) {
    switch (property) {
        case S3E_POINTER_WHEEL_SCROLL:
            return State().pointer.scroll;
        case S3E_POINTER_WHEEL_ZOOM:
            return State().pointer.zoom;
        default:
            return 0;
    }
}

bool ValidTouch(int32_t t) {
    return t >= 0 && t < S3E_POINTER_TOUCH_MAX;
}
int32_t PointerGetTouchState(int32_t t) {
    return ValidTouch(t) && State().touches[t].down ? 1 : 0;
}
int32_t PointerGetTouchX(int32_t t) {
    return ValidTouch(t) ? State().touches[t].x : 0;
}
int32_t PointerGetTouchY(int32_t t) {
    return ValidTouch(t) ? State().touches[t].y : 0;
}

s3eResult KeyboardUpdate() {
    for (Key& k : State().keys) {
        k.state = (k.down ? S3E_KEY_STATE_DOWN : 0) | (k.pressed ? S3E_KEY_STATE_PRESSED : 0) |
                  (k.released ? S3E_KEY_STATE_RELEASED : 0);
        k.pressed = k.released = false;
    }
    return S3E_RESULT_SUCCESS;
}

int32_t KeyboardGetState(int32_t key) {
    return key >= 0 && key < S3E_KEY_COUNT ? State().keys[key].state : 0;
}

// ===========================================================================
// Device, time, surface, configuration, extensions, debug

s3eBool DeviceCheckQuitRequest() {
    return State().quit ? S3E_TRUE : S3E_FALSE;
}

s3eResult DeviceYieldUntilEvent(int32_t ms) {
    if (State().setup.hooks.yield) State().setup.hooks.yield(ms);
    return S3E_RESULT_SUCCESS;
}

int32_t DeviceGetInt(int32_t property) {
    switch (property) {
        case S3E_DEVICE_OS:
            return State().setup.os;
        case S3E_DEVICE_LANGUAGE:
            return State().setup.language;
        default:
            return 0;
    }
}

s3eResult DeviceSetInt(int32_t property, int32_t value) {
    if (property != S3E_DEVICE_EXIT_CODE) return S3E_RESULT_ERROR;
    State().exitCode = value;
    return S3E_RESULT_SUCCESS;
}

s3eResult ConfigGetString(const char* group, const char* name, char* value) {
    if (!group || !name || !value) return S3E_RESULT_ERROR;
    auto it = State().config.find({group, name});
    if (it == State().config.end()) return S3E_RESULT_ERROR;
    std::snprintf(value, S3E_CONFIG_STRING_MAX, "%s", it->second.c_str());
    return S3E_RESULT_SUCCESS;
}

s3eResult ConfigSetString(const char* group, const char* name, const char* value) {
    if (!group || !name || !value) return S3E_RESULT_ERROR;
    State().config[{group, name}] = value;
    if (State().setup.hooks.configChanged) State().setup.hooks.configChanged(group, name, value);
    return S3E_RESULT_SUCCESS;
}

uint64_t TimerGetMs() {
    if (State().setup.hooks.timerMs) return State().setup.hooks.timerMs();
    auto elapsed = std::chrono::steady_clock::now() - State().start;
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

uint64_t TimerGetUTC() {
    if (State().setup.hooks.timerUtc) return State().setup.hooks.timerUtc();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::system_clock::now().time_since_epoch())
                                     .count());
}

s3eResult SurfaceRegister(int32_t event, s3eCallback fn, void* userData) {
    if (!fn) return S3E_RESULT_ERROR;
    State().surfaceHandlers.push_back({event, fn, userData});
    return S3E_RESULT_SUCCESS;
}

s3eResult SurfaceUnRegister(int32_t event, s3eCallback fn) {
    auto& hs = State().surfaceHandlers;
    for (auto it = hs.begin(); it != hs.end(); ++it) {
        if (it->event == event && it->fn == fn) {
            hs.erase(it);
            return S3E_RESULT_SUCCESS;
        }
    }
    return S3E_RESULT_ERROR;
}

int32_t SurfaceGetInt(int32_t property) {
    switch (property) {
        case S3E_SURFACE_WIDTH:
            return State().surfaceWidth;
        case S3E_SURFACE_HEIGHT:
            return State().surfaceHeight;
        case S3E_SURFACE_DRAWABLE_WIDTH:
            return State().drawableWidth;
        case S3E_SURFACE_DRAWABLE_HEIGHT:
            return State().drawableHeight;
        default:
            return 0;
    }
}

void SurfaceShow(int32_t drawCalls) {
    if (State().setup.hooks.show) State().setup.hooks.show(drawCalls);
}

s3eResult ExtGetHash(uint32_t id, void* table, uint32_t bytes) {
    auto it = State().extensions.find(id);
    if (it == State().extensions.end() || !table || bytes > it->second.size()) {
        return S3E_RESULT_ERROR;
    }
    std::memcpy(table, it->second.data(), bytes);
    return S3E_RESULT_SUCCESS;
}

void DebugAssertShow(int32_t, const char* text) {
    Log("warning", text ? text : "");
}
int32_t DebugGetInt(int32_t property) {
    return property == 0 ? State().setup.debugInt : 0;
}
void DebugOutputString(const char* text) {
    Log("warning", text ? text : "");
}

// Whether a folder between root and the last step of path is a link: writing
// through one could land anywhere on the machine.
bool LinkedFolderBelow(const std::string& root, const std::string& path) {
    for (size_t i = root.size() + 1; i < path.size(); ++i) {
        if (path[i] != '/') continue;
        struct stat st;
        if (lstat(path.substr(0, i).c_str(), &st) == 0 && S_ISLNK(st.st_mode)) return true;
    }
    return false;
}

}  // namespace

// ===========================================================================
// Public

bool ConfigureHost(const HostSetup& setup) {
    HostState& s = State();
    s = HostState();
    s.setup = setup;
    return setup.documentsDir.empty() || MakeDirs(setup.documentsDir);
}

void SetStorageFaults(const StorageFaults& faults) {
    State().faults = faults;
    State().writes = 0;
}

int64_t StorageWriteCount() {
    return State().writes;
}

std::string ResolvePath(const char* gamePath, bool forWriting) {
    if (!gamePath || !*gamePath || gamePath[0] == '/') return {};
    // Reject "..", "." and empty components: the game never builds them.
    const char* p = gamePath;
    while (*p) {
        const char* end = std::strchr(p, '/');
        size_t len = end ? static_cast<size_t>(end - p) : std::strlen(p);
        if (len == 0 || (len == 1 && p[0] == '.') || (len == 2 && p[0] == '.' && p[1] == '.')) {
            return {};
        }
        if (!end) break;
        p = end + 1;
        if (!*p) return {};  // trailing slash
    }
    static const char kDocuments[] = "Documents";
    const size_t n = sizeof kDocuments - 1;
    const HostSetup& setup = State().setup;
    if (std::strncmp(gamePath, kDocuments, n) == 0 && (gamePath[n] == '\0' || gamePath[n] == '/')) {
        if (setup.documentsDir.empty()) return {};
        std::string real = setup.documentsDir + (gamePath + n);
        if (forWriting && LinkedFolderBelow(setup.documentsDir, real)) return {};
        return real;
    }
    if (forWriting || setup.dataDir.empty()) return {};
    std::string real = setup.dataDir + "/" + gamePath;
    if (setup.hooks.dataWanted) setup.hooks.dataWanted(real.c_str());
    return real;
}

void RegisterServices(ServiceRegistry& r) {
    r.Add("s3eFileOpen", reinterpret_cast<void*>(&FileOpen));
    r.Add("s3eFileRead", reinterpret_cast<void*>(&FileRead));
    r.Add("s3eFileWrite", reinterpret_cast<void*>(&FileWrite));
    r.Add("s3eFileReadString", reinterpret_cast<void*>(&FileReadString));
    r.Add("s3eFileFlush", reinterpret_cast<void*>(&FileFlush));
    r.Add("s3eFileClose", reinterpret_cast<void*>(&FileClose));
    r.Add("s3eFileGetSize", reinterpret_cast<void*>(&FileGetSize));
    r.Add("s3eFileCheckExists", reinterpret_cast<void*>(&FileCheckExists));
    r.Add("s3eFileMakeDirectory", reinterpret_cast<void*>(&FileMakeDirectory));
    r.Add("s3eFileDelete", reinterpret_cast<void*>(&FileDelete));
    r.Add("s3eFileRename", reinterpret_cast<void*>(&FileRename));
    r.Add("s3eFileGetFileInt", reinterpret_cast<void*>(&FileGetFileInt));
    r.Add("s3eFileListDirectory", reinterpret_cast<void*>(&FileListDirectory));
    r.Add("s3eFileListNext", reinterpret_cast<void*>(&FileListNext));
    r.Add("s3eFileListClose", reinterpret_cast<void*>(&FileListClose));
    r.Add("s3ePointerUpdate", reinterpret_cast<void*>(&PointerUpdate));
    r.Add("s3ePointerGetState", reinterpret_cast<void*>(&PointerGetState));
    r.Add("s3ePointerGetX", reinterpret_cast<void*>(&PointerGetX));
    r.Add("s3ePointerGetY", reinterpret_cast<void*>(&PointerGetY));
    r.Add("s3ePointerGetTouchState", reinterpret_cast<void*>(&PointerGetTouchState));
    r.Add("s3ePointerGetTouchX", reinterpret_cast<void*>(&PointerGetTouchX));
    r.Add("s3ePointerGetTouchY", reinterpret_cast<void*>(&PointerGetTouchY));
    r.Add("s3ePointerGetInt", reinterpret_cast<void*>(&PointerGetInt));
    r.Add("s3eKeyboardUpdate", reinterpret_cast<void*>(&KeyboardUpdate));
    r.Add("s3eKeyboardGetState", reinterpret_cast<void*>(&KeyboardGetState));
    r.Add("s3eDeviceCheckQuitRequest", reinterpret_cast<void*>(&DeviceCheckQuitRequest));
    r.Add("s3eDeviceYieldUntilEvent", reinterpret_cast<void*>(&DeviceYieldUntilEvent));
    r.Add("s3eDeviceGetInt", reinterpret_cast<void*>(&DeviceGetInt));
    r.Add("s3eDeviceSetInt", reinterpret_cast<void*>(&DeviceSetInt));
    r.Add("s3eConfigGetString", reinterpret_cast<void*>(&ConfigGetString));
    r.Add("s3eConfigSetString", reinterpret_cast<void*>(&ConfigSetString));
    r.Add("s3eTimerGetMs", reinterpret_cast<void*>(&TimerGetMs));
    r.Add("s3eTimerGetUTC", reinterpret_cast<void*>(&TimerGetUTC));
    r.Add("s3eSurfaceRegister", reinterpret_cast<void*>(&SurfaceRegister));
    r.Add("s3eSurfaceUnRegister", reinterpret_cast<void*>(&SurfaceUnRegister));
    r.Add("s3eSurfaceGetInt", reinterpret_cast<void*>(&SurfaceGetInt));
    r.Add("s3eSurfaceShow", reinterpret_cast<void*>(&SurfaceShow));
    r.Add("s3eExtGetHash", reinterpret_cast<void*>(&ExtGetHash));
    r.Add("s3eDebugAssertShow", reinterpret_cast<void*>(&DebugAssertShow));
    r.Add("s3eDebugGetInt", reinterpret_cast<void*>(&DebugGetInt));
    r.Add("s3eDebugOutputString", reinterpret_cast<void*>(&DebugOutputString));
}

bool PointerStepsWaiting() {
    return !State().pointer.waiting.empty() || !State().pointer.ready.empty();
}

void PointerDown(int32_t x, int32_t y) {
    PointerStepArrived({PointerStep::Down, x, y});
}

void PointerMove(int32_t x, int32_t y) {
    PointerStepArrived({PointerStep::Move, x, y});
}

void PointerUp(int32_t x, int32_t y) {
    PointerStepArrived({PointerStep::Up, x, y});
}

void PointerWheel(int32_t scroll, int32_t zoom) {
    // Sums saturate: a flood of events between two passes is still one
    // large turn, never a wrapped-around one.
    auto add = [](int32_t& sum, int32_t v) {
        sum = static_cast<int32_t>(
            std::clamp<int64_t>(static_cast<int64_t>(sum) + v, -1000000, 1000000));
    };
    add(State().pointer.scrollArrived, scroll);
    add(State().pointer.zoomArrived, zoom);
}

void TouchDown(int32_t slot, int32_t x, int32_t y) {
    if (!ValidTouch(slot)) return;
    State().touches[slot] = Touch{true, x, y};
}

void TouchMove(int32_t slot, int32_t x, int32_t y) {
    if (!ValidTouch(slot)) return;
    State().touches[slot].x = x;
    State().touches[slot].y = y;
}

void TouchUp(int32_t slot) {
    if (ValidTouch(slot)) State().touches[slot].down = false;
}

int32_t TouchSlots::SlotOf(int64_t id) const {
    for (int32_t i = 0; i < kSlots; ++i) {
        if (used_[i] && ids_[i] == id) return i;
    }
    return -1;
}

int32_t TouchSlots::Down(int64_t id, int32_t x, int32_t y) {
    if (SlotOf(id) >= 0) return -1;
    int32_t slot = 0;
    while (slot < kSlots && used_[slot])
        ++slot;
    if (slot == kSlots) return -1;
    used_[slot] = true;
    ids_[slot] = id;
    TouchDown(slot, x, y);
    if (slot == 0) PointerDown(x, y);
    return slot;
}

int32_t TouchSlots::Move(int64_t id, int32_t x, int32_t y) {
    const int32_t slot = SlotOf(id);
    if (slot < 0) return -1;
    TouchMove(slot, x, y);
    if (slot == 0) PointerMove(x, y);
    return slot;
}

int32_t TouchSlots::Up(int64_t id, int32_t x, int32_t y) {
    const int32_t slot = SlotOf(id);
    if (slot < 0) return -1;
    used_[slot] = false;
    TouchMove(slot, x, y);
    TouchUp(slot);
    if (slot == 0) PointerUp(x, y);
    return slot;
}

void KeyDown(int32_t key) {
    if (key < 0 || key >= S3E_KEY_COUNT) return;
    Key& k = State().keys[key];
    if (!k.down) k.pressed = true;
    k.down = true;
}

void KeyUp(int32_t key) {
    if (key < 0 || key >= S3E_KEY_COUNT) return;
    Key& k = State().keys[key];
    if (k.down) k.released = true;
    k.down = false;
}

void KeyLost(int32_t key) {
    if (key < 0 || key >= S3E_KEY_COUNT) return;
    State().keys[key].down = false;
}

void RequestQuit() {
    State().quit = true;
}
bool QuitRequested() {
    return State().quit;
}
int32_t ExitCode() {
    return State().exitCode;
}

void SetDevice(int32_t os, int32_t language) {
    State().setup.os = os;
    State().setup.language = language;
}

void SetSurfaceSize(int32_t width, int32_t height, int32_t drawableWidth, int32_t drawableHeight) {
    HostState& s = State();
    s.surfaceWidth = width;
    s.surfaceHeight = height;
    const bool scaled = drawableWidth > 0 && drawableHeight > 0 &&
                        (drawableWidth != width || drawableHeight != height);
    s.drawableWidth = scaled ? drawableWidth : 0;
    s.drawableHeight = scaled ? drawableHeight : 0;
}

void RaiseSurfaceEvent(int32_t event) {
    // Copy: a handler may unregister itself.
    std::vector<SurfaceHandler> handlers = State().surfaceHandlers;
    for (const auto& h : handlers) {
        if (h.event == event) h.fn(nullptr, h.userData);
    }
}

void SetConfigString(const std::string& group, const std::string& name, const std::string& value) {
    State().config[{group, name}] = value;
}

void RegisterExtension(uint32_t id, const void* table, uint32_t bytes) {
    const auto* b = static_cast<const unsigned char*>(table);
    State().extensions[id].assign(b, b + bytes);
}

std::string UserDataDir(const std::string& gameName) {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) return std::string(xdg) + "/" + gameName;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/" + gameName;
}

}  // namespace host
