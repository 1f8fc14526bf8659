// The settings file "conf.cfg" (colour theme, whether the player was sent to rate
// the game) and the points file "points.pts" (puzzles solved at least once), with
// the process-wide values they fill.
#pragma once

#include <cstdint>

// Process-wide values, read at start-up and kept for the whole run.
extern uint8_t color_schema;     // 0 Light, 1 Dark, 2 Grey; other values stay as read
extern uint8_t rate_redirected;  // 1 once the player pressed the Rate sign
extern int32_t points;           // puzzles solved at least once

constexpr const char kSettingsPath[] = "Documents/conf/conf.cfg";
constexpr const char kPointsPath[] = "Documents/conf/points.pts";

// Sets color_schema to 0, then applies every "color_schema=" and "rate_redirected="
// line of the settings file in order (a later line wins). rate_redirected is left
// as it was when the file does not set it. False when the file is missing or
// cannot be opened.
bool ReadSettings();
// Rewrites the settings file from color_schema and rate_redirected; false (old file
// intact) when it cannot be written.
bool WriteSettings();
// Sets points to 0, then to the value of the last non-empty line of the points file.
// Then finishes a point a previous run left on its way (see NotePendingPoint).
bool ReadPoints();
bool WritePoints();
// A solve raised points to earned; the points file must follow. Until a write
// succeeds, every SaveEarnedPoints tries again, so the point is not lost with
// the run (nor, thanks to the note below, with a kill).
void EarnPoints(int32_t earned);
// Writes the points file when it lags behind what was earned, then drops the
// note of the point on its way; true when nothing earned is left unwritten.
bool SaveEarnedPoints();

// A point on its way. Recording a solve notes, before it creates the solved
// marker, the points value the solve leaves, the marker's path and the points
// already earned (the value in memory, which may not be in the points file yet);
// the note goes once the points file holds all of it. A run that dies or fails
// before the points file is written leaves the note behind, and the next
// ReadPoints raises points to the earned value, and to the noted value when the
// marker is there (the point was earned), then drops the note: a point is never
// lost to a kill or a failed write, nor counted twice. A null markerPath notes
// only the points already earned.
constexpr const char kPendingPointPath[] = "Documents/conf/points.pending";
bool NotePendingPoint(int32_t value, const char* markerPath);
// Before a solved marker goes: writes the points file and drops the note, or,
// when the points file cannot be written, notes the earned points without any
// marker. False when neither worked (the marker must then stay).
bool SettlePendingPoint();
void ClearPendingPoint();
