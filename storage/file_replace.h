// The one way the game replaces a file in the player's storage: the new bytes go
// to a temporary file beside it, are flushed to disk, and the temporary file is
// then renamed over the old one. A crash or power loss at any moment leaves
// either the old file or the new one, never a truncated mix.
#pragma once

#include <cstdint>

// Writes length bytes of data (none for an empty file) as the new content of
// path. The temporary file is always a new one ("wbx": created exclusively,
// never through a link). On any failure the temporary file is removed, the old
// file stays as it was, and the result is false.
bool ReplaceFile(const char* path, const void* data, uint32_t length);

// The name of the temporary file ReplaceFile uses for path ("<path>.tmp") into
// out (size bytes); false when it does not fit.
bool TemporaryPathFor(const char* path, char* out, uint32_t size);
