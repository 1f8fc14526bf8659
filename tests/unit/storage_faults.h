// Storage that misbehaves on purpose, for the tests of the file writers: the
// shared host's file services rebound through wrappers that can refuse to open
// files for writing, cut writes short, or fail the flush or the rename.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "hosts/common/host.h"
#include "platform/binding.h"
#include "platform/s3e.h"

namespace storagefaults {

struct Faults {
    bool refuseWriteOpen = false;  // s3eFileOpen for writing gives none
    bool shortWrite = false;       // s3eFileWrite writes half the bytes and reports failure
    bool failFlush = false;
    bool failRename = false;
    bool failDelete = false;
    bool failMakeDirectory = false;
};

inline Faults& Active() {
    static Faults faults;
    return faults;
}

struct Originals {
    s3eFile* (*open)(const char*, const char*);
    uint32_t (*write)(const void*, uint32_t, uint32_t, s3eFile*);
    s3eResult (*flush)(s3eFile*);
    s3eResult (*rename)(const char*, const char*);
    s3eResult (*remove)(const char*);
    s3eResult (*makeDirectory)(const char*);
};

inline Originals& Real() {
    static Originals originals;
    return originals;
}

inline s3eFile* Open(const char* path, const char* mode) {
    if (Active().refuseWriteOpen && mode && std::strchr(mode, 'w')) return nullptr;
    return Real().open(path, mode);
}
inline uint32_t Write(const void* buffer, uint32_t size, uint32_t count, s3eFile* file) {
    if (Active().shortWrite) {
        Real().write(buffer, size * count / 2, 1, file);
        return 0;
    }
    return Real().write(buffer, size, count, file);
}
inline s3eResult Flush(s3eFile* file) {
    return Active().failFlush ? S3E_RESULT_ERROR : Real().flush(file);
}
inline s3eResult Rename(const char* src, const char* dest) {
    return Active().failRename ? S3E_RESULT_ERROR : Real().rename(src, dest);
}
inline s3eResult Delete(const char* path) {
    return Active().failDelete ? S3E_RESULT_ERROR : Real().remove(path);
}
inline s3eResult MakeDirectory(const char* path) {
    return Active().failMakeDirectory ? S3E_RESULT_ERROR : Real().makeDirectory(path);
}

// While alive, the module's file services go through the wrappers above. Create
// it after the testsupport::BoundHost, so it is gone before the host unbinds.
class FaultyStorage {
  public:
    FaultyStorage() {
        Active() = Faults();
        host::ServiceRegistry registry;
        host::RegisterServices(registry);
        const IwAppDescriptor& d = registry.Descriptor();
        auto find = [&](const char* name) -> void* {
            const uint32_t hash = platform::HashServiceName(name);
            for (int i = 0; i < d.serviceCount; ++i) {
                if (d.hashes[i] == hash) return d.addresses[i];
            }
            return nullptr;
        };
        Originals& o = Real();
        o.open = reinterpret_cast<decltype(o.open)>(find("s3eFileOpen"));
        o.write = reinterpret_cast<decltype(o.write)>(find("s3eFileWrite"));
        o.flush = reinterpret_cast<decltype(o.flush)>(find("s3eFileFlush"));
        o.rename = reinterpret_cast<decltype(o.rename)>(find("s3eFileRename"));
        o.remove = reinterpret_cast<decltype(o.remove)>(find("s3eFileDelete"));
        o.makeDirectory = reinterpret_cast<decltype(o.makeDirectory)>(find("s3eFileMakeDirectory"));
        registry.Add("s3eFileOpen", reinterpret_cast<void*>(&Open));
        registry.Add("s3eFileWrite", reinterpret_cast<void*>(&Write));
        registry.Add("s3eFileFlush", reinterpret_cast<void*>(&Flush));
        registry.Add("s3eFileRename", reinterpret_cast<void*>(&Rename));
        registry.Add("s3eFileDelete", reinterpret_cast<void*>(&Delete));
        registry.Add("s3eFileMakeDirectory", reinterpret_cast<void*>(&MakeDirectory));
        platform::BindHostServices(&registry.Descriptor());
    }
    ~FaultyStorage() {
        Active() = Faults();
        host::ServiceRegistry registry;
        host::RegisterServices(registry);
        platform::BindHostServices(&registry.Descriptor());
    }
    FaultyStorage(const FaultyStorage&) = delete;
    FaultyStorage& operator=(const FaultyStorage&) = delete;

    Faults& faults() { return Active(); }
};

// Makes the player's storage read-only: with chmod when permissions apply, and,
// for root (which ignores them), by having every write, rename, delete and
// directory creation fail.
inline void MakeReadOnly(const std::string& documentsDir, FaultyStorage& storage) {
    if (geteuid() != 0) {
        namespace fs = std::filesystem;
        std::error_code ec;
        const auto noWrite =
            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        for (auto it = fs::recursive_directory_iterator(documentsDir, ec); !ec && it != fs::end(it);
             it.increment(ec)) {
            fs::permissions(it->path(), noWrite, fs::perm_options::remove, ec);
        }
        fs::permissions(documentsDir, noWrite, fs::perm_options::remove, ec);
        return;
    }
    Faults& f = storage.faults();
    f.refuseWriteOpen = f.failRename = f.failDelete = f.failMakeDirectory = true;
}

}  // namespace storagefaults
