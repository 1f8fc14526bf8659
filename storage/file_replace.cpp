// Atomic replacement of a file through a flushed temporary file and a rename.
#include "storage/file_replace.h"

#include <cstdio>

#include "platform/s3e.h"

namespace {
constexpr uint32_t kPathBuffer = 300;
}

bool TemporaryPathFor(const char* path, char* out, uint32_t size) {
    if (!path || !out || size == 0) return false;
    const int n = std::snprintf(out, size, "%s.tmp", path);
    return n > 0 && static_cast<uint32_t>(n) < size;
}

bool ReplaceFile(const char* path, const void* data, uint32_t length) {
    if (!path || (length > 0 && !data)) return false;
    char temporary[kPathBuffer];
    if (!TemporaryPathFor(path, temporary, sizeof temporary)) return false;

    // A temporary file left by an earlier run, or put there as a link to a file
    // elsewhere, goes first; the new one is then created afresh, and the host
    // refuses to create it where anything (a link included) still stands, so
    // these bytes never land outside the player's folder.
    s3eFileDelete(temporary);
    s3eFile* file = s3eFileOpen(temporary, "wbx");
    if (!file) return false;
    bool ok = length == 0 || s3eFileWrite(data, length, 1, file) == 1;
    ok = ok && s3eFileFlush(file) == S3E_RESULT_SUCCESS;
    ok = s3eFileClose(file) == S3E_RESULT_SUCCESS && ok;
    ok = ok && s3eFileRename(temporary, path) == S3E_RESULT_SUCCESS;
    if (!ok) s3eFileDelete(temporary);
    return ok;
}
