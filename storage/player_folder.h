// The player's folder: where settings, points and every puzzle's progress
// live, and its set-up at start-up.
#pragma once

constexpr const char kPlayerDataRoot[] = "Documents";

// Creates path when it is not a directory yet; true when it is one afterwards.
bool EnsureDirectory(const char* path);
// "Documents", "Documents/black" and "Documents/conf"; true when all exist.
bool PrepareStorage();
