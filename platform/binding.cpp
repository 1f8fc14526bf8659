// The module's table of host services, its binding from the host's descriptor,
// the dispatchers through which the game calls every s3e service, and the
// exported entry point.
#include "platform/binding.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/s3e.h"

namespace platform {
namespace {

enum ServiceIndex {
#define S3E_SERVICE(name) kService_##name,
#include "platform/services.def"
#undef S3E_SERVICE
    kServiceCount
};

const char* const kServiceNames[kServiceCount] = {
#define S3E_SERVICE(name) #name,
#include "platform/services.def"
#undef S3E_SERVICE
};

struct HostServiceRecord {
    const char* name;
    HostServiceRecord* next;  // next record in the same hash bucket
    void* address;            // empty until bound
    uint32_t hash;
};

struct HostServiceTable {
    HostServiceRecord records[kServiceCount];
    HostServiceRecord* buckets[256];
};

HostServiceTable g_table;

constexpr const char kWarningHead[] =
    "Warning: Couldn't bind the following functions (not exported by the loader). Crash is "
    "likely.:\n";
char g_warning[768];

uint32_t BucketOf(uint32_t hash) {
    return (hash ^ (hash >> 8) ^ (hash >> 16) ^ (hash >> 24)) & 0xFFu;
}

}  // namespace

const char* BindHostServices(const IwAppDescriptor* descriptor) {
    std::memset(g_table.buckets, 0, sizeof g_table.buckets);
    for (int i = 0; i < kServiceCount; ++i) {
        HostServiceRecord& r = g_table.records[i];
        r.name = kServiceNames[i];
        r.address = nullptr;
        r.hash = HashServiceName(r.name);
        uint32_t b = BucketOf(r.hash);
        r.next = g_table.buckets[b];
        g_table.buckets[b] = &r;
    }
    if (descriptor == nullptr) return nullptr;

    for (int32_t i = 0; i < descriptor->serviceCount; ++i) {
        uint32_t hash = descriptor->hashes[i];
        for (HostServiceRecord* r = g_table.buckets[BucketOf(hash)]; r; r = r->next) {
            if (r->hash == hash) {
                r->address = descriptor->addresses[i];
                break;
            }
        }
    }

    char list[512];
    size_t used = 0;
    list[0] = '\0';
    for (int i = 0; i < kServiceCount; ++i) {
        const HostServiceRecord& r = g_table.records[i];
        if (r.address) continue;
        size_t len = std::strlen(r.name);
        if (used + len + 1 > sizeof list - 1) break;
        std::memcpy(list + used, r.name, len);
        list[used + len] = '\n';
        used += len + 1;
        list[used] = '\0';
    }
    if (used == 0) return nullptr;
    std::snprintf(g_warning, sizeof g_warning, "%s%s", kWarningHead, list);
    return g_warning;
}

int ServiceCount() {
    return kServiceCount;
}

const char* ServiceName(int index) {
    return index >= 0 && index < kServiceCount ? kServiceNames[index] : nullptr;
}

void* BoundService(int index) {
    return index >= 0 && index < kServiceCount ? g_table.records[index].address : nullptr;
}

}  // namespace platform

// ---------------------------------------------------------------------------
// Dispatchers. An unbound service gives a neutral result instead of a crash.

#define S3E_BOUND(name) \
    reinterpret_cast<decltype(&::name)>(platform::BoundService(platform::kService_##name))

#define S3E_CALL(name, neutral, ...) \
    do {                             \
        auto fn_ = S3E_BOUND(name);  \
        if (!fn_) return neutral;    \
        return fn_(__VA_ARGS__);     \
    } while (0)

#define S3E_CALL_VOID(name, ...)    \
    do {                            \
        auto fn_ = S3E_BOUND(name); \
        if (fn_) fn_(__VA_ARGS__);  \
    } while (0)

extern "C" {

s3eFile* s3eFileOpen(const char* path, const char* mode) {
    S3E_CALL(s3eFileOpen, nullptr, path, mode);
}
uint32_t s3eFileRead(void* buffer, uint32_t itemSize, uint32_t itemCount, s3eFile* file) {
    S3E_CALL(s3eFileRead, 0u, buffer, itemSize, itemCount, file);
}
uint32_t s3eFileWrite(const void* buffer, uint32_t itemSize, uint32_t itemCount, s3eFile* file) {
    S3E_CALL(s3eFileWrite, 0u, buffer, itemSize, itemCount, file);
}
char* s3eFileReadString(char* buffer, uint32_t max, s3eFile* file) {
    S3E_CALL(s3eFileReadString, nullptr, buffer, max, file);
}
s3eResult s3eFileFlush(s3eFile* file) {
    S3E_CALL(s3eFileFlush, S3E_RESULT_ERROR, file);
}
s3eResult s3eFileClose(s3eFile* file) {
    S3E_CALL(s3eFileClose, S3E_RESULT_ERROR, file);
}
int32_t s3eFileGetSize(s3eFile* file) {
    S3E_CALL(s3eFileGetSize, -1, file);
}
s3eBool s3eFileCheckExists(const char* path) {
    S3E_CALL(s3eFileCheckExists, S3E_FALSE, path);
}
s3eResult s3eFileMakeDirectory(const char* path) {
    S3E_CALL(s3eFileMakeDirectory, S3E_RESULT_ERROR, path);
}
s3eResult s3eFileDelete(const char* path) {
    S3E_CALL(s3eFileDelete, S3E_RESULT_ERROR, path);
}
s3eResult s3eFileRename(const char* src, const char* dest) {
    S3E_CALL(s3eFileRename, S3E_RESULT_ERROR, src, dest);
}
int32_t s3eFileGetFileInt(const char* path, int32_t property) {
    S3E_CALL(s3eFileGetFileInt, 0, path, property);
}
s3eFileList* s3eFileListDirectory(const char* path) {
    S3E_CALL(s3eFileListDirectory, nullptr, path);
}
s3eResult s3eFileListNext(s3eFileList* list, char* name, int32_t max) {
    S3E_CALL(s3eFileListNext, S3E_RESULT_ERROR, list, name, max);
}
s3eResult s3eFileListClose(s3eFileList* list) {
    S3E_CALL(s3eFileListClose, S3E_RESULT_ERROR, list);
}

s3eResult s3ePointerUpdate(void) {
    S3E_CALL(s3ePointerUpdate, S3E_RESULT_ERROR);
}
int32_t s3ePointerGetState(int32_t button) {
    S3E_CALL(s3ePointerGetState, 0, button);
}
int32_t s3ePointerGetX(void) {
    S3E_CALL(s3ePointerGetX, 0);
}
int32_t s3ePointerGetY(void) {
    S3E_CALL(s3ePointerGetY, 0);
}
int32_t s3ePointerGetTouchState(int32_t touch) {
    S3E_CALL(s3ePointerGetTouchState, 0, touch);
}
int32_t s3ePointerGetTouchX(int32_t touch) {
    S3E_CALL(s3ePointerGetTouchX, 0, touch);
}
int32_t s3ePointerGetTouchY(int32_t touch) {
    S3E_CALL(s3ePointerGetTouchY, 0, touch);
}
int32_t s3ePointerGetInt(int32_t property) {
    S3E_CALL(s3ePointerGetInt, 0, property);
}

s3eResult s3eKeyboardUpdate(void) {
    S3E_CALL(s3eKeyboardUpdate, S3E_RESULT_ERROR);
}
int32_t s3eKeyboardGetState(int32_t key) {
    S3E_CALL(s3eKeyboardGetState, 0, key);
}

s3eBool s3eDeviceCheckQuitRequest(void) {
    S3E_CALL(s3eDeviceCheckQuitRequest, S3E_FALSE);
}
s3eResult s3eDeviceYieldUntilEvent(int32_t ms) {
    S3E_CALL(s3eDeviceYieldUntilEvent, S3E_RESULT_ERROR, ms);
}
int32_t s3eDeviceGetInt(int32_t property) {
    S3E_CALL(s3eDeviceGetInt, 0, property);
}
s3eResult s3eDeviceSetInt(int32_t property, int32_t value) {
    S3E_CALL(s3eDeviceSetInt, S3E_RESULT_ERROR, property, value);
}
s3eResult s3eConfigGetString(const char* group, const char* name, char* value) {
    S3E_CALL(s3eConfigGetString, S3E_RESULT_ERROR, group, name, value);
}
s3eResult s3eConfigSetString(const char* group, const char* name, const char* value) {
    S3E_CALL(s3eConfigSetString, S3E_RESULT_ERROR, group, name, value);
}

uint64_t s3eTimerGetMs(void) {
    S3E_CALL(s3eTimerGetMs, 0u);
}
uint64_t s3eTimerGetUTC(void) {
    S3E_CALL(s3eTimerGetUTC, 0u);
}

s3eResult s3eSurfaceRegister(int32_t event, s3eCallback handler, void* userData) {
    S3E_CALL(s3eSurfaceRegister, S3E_RESULT_ERROR, event, handler, userData);
}
s3eResult s3eSurfaceUnRegister(int32_t event, s3eCallback handler) {
    S3E_CALL(s3eSurfaceUnRegister, S3E_RESULT_ERROR, event, handler);
}
int32_t s3eSurfaceGetInt(int32_t property) {
    S3E_CALL(s3eSurfaceGetInt, 0, property);
}
void s3eSurfaceShow(int32_t drawCalls) {
    S3E_CALL_VOID(s3eSurfaceShow, drawCalls);
}

s3eResult s3eExtGetHash(uint32_t id, void* table, uint32_t tableBytes) {
    S3E_CALL(s3eExtGetHash, S3E_RESULT_ERROR, id, table, tableBytes);
}

void s3eDebugAssertShow(int32_t type, const char* text) {
    S3E_CALL_VOID(s3eDebugAssertShow, type, text);
}
int32_t s3eDebugGetInt(int32_t property) {
    S3E_CALL(s3eDebugGetInt, 0, property);
}
void s3eDebugOutputString(const char* text) {
    S3E_CALL_VOID(s3eDebugOutputString, text);
}

// ---------------------------------------------------------------------------

const char* IwAppEntry(const IwAppDescriptor* descriptor) {
    if (descriptor) return platform::BindHostServices(descriptor);

    // The host glue's start-up arguments: the caption, then commandline argv[1..30].
    static char args[31][S3E_CONFIG_STRING_MAX];
    static char* argv[32];
    int argc = 0;
    std::snprintf(args[0], sizeof args[0], "S3E");
    s3eConfigGetString("s3e", "SysAppCaption", args[0]);
    argv[argc++] = args[0];
    for (int i = 1; i <= 30; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "argv[%d]", i);
        if (s3eConfigGetString("commandline", key, args[i]) != S3E_RESULT_SUCCESS) break;
        argv[argc++] = args[i];
    }
    argv[argc] = nullptr;
    int result = AppMain(argc, argv);
    s3eDeviceSetInt(S3E_DEVICE_EXIT_CODE, result);
    return nullptr;
}

}  // extern "C"
