// The player's folder, made on the host's file service.
#include "storage/player_folder.h"

#include <cstdio>

#include "platform/s3e.h"

bool FileIsThere(const char* path) {
    return s3eFileCheckExists(path) && s3eFileGetFileInt(path, S3E_FILE_ISDIR) == 0;
}

bool EnsureDirectory(const char* path) {
    if (s3eFileGetFileInt(path, S3E_FILE_ISDIR) != 0) return true;
    s3eFileMakeDirectory(path);
    return s3eFileGetFileInt(path, S3E_FILE_ISDIR) != 0;
}

bool PrepareStorage() {
    char path[64];
    bool ok = EnsureDirectory(kPlayerDataRoot);
    std::snprintf(path, sizeof path, "%s/black", kPlayerDataRoot);
    ok = EnsureDirectory(path) && ok;
    std::snprintf(path, sizeof path, "%s/conf", kPlayerDataRoot);
    ok = EnsureDirectory(path) && ok;
    return ok;
}
