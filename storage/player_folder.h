// The player's folder: where settings, points and every puzzle's progress
// live, and its set-up at start-up.
#pragma once

constexpr const char kPlayerDataRoot[] = "Documents";

// Whether a file, not a directory, stands at path. Every file the game keeps
// there is one; a directory of that name (the game never makes one) counts
// as nothing.
bool FileIsThere(const char* path);
// Creates path when it is not a directory yet; true when it is one afterwards.
bool EnsureDirectory(const char* path);
// "Documents", "Documents/black" and "Documents/conf"; true when all exist.
bool PrepareStorage();
