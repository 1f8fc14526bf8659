// Reading and writing the settings and points files.
#include "storage/settings.h"

#include <cstring>

#include "platform/s3e.h"
#include "storage/decimal.h"
#include "storage/file_replace.h"
#include "storage/player_folder.h"

uint8_t color_schema = 0;
uint8_t rate_redirected = 0;
int32_t points = 0;

namespace {

// Longer than anything the game writes into either file (two settings lines
// of at most 21 bytes, one points line of at most 11, carriage returns that
// another system may add included). Readers take no more than this, so a huge
// file, or a link to an endless device, costs nothing at start-up.
constexpr uint32_t kTextFileMax = 64;
// Lines are built in buffers of this size.
constexpr uint32_t kLineBuffer = 30;

// Points were earned in this run that the points file does not hold yet.
bool pointsUnsaved = false;

void TrimLineEnd(char* text) {
    size_t n = std::strlen(text);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r'))
        text[--n] = '\0';
}

// Calls handle(line) for every whole line of the file's first kTextFileMax bytes,
// with its line end removed; a last line without a line feed counts only when
// the file ends there. False when the file is missing or cannot be opened.
template <typename Handler>
bool ForEachLine(const char* path, Handler handle) {
    if (!s3eFileCheckExists(path)) return false;
    s3eFile* file = s3eFileOpen(path, "rb");
    if (!file) return false;
    char text[kTextFileMax + 2];
    const uint32_t length = s3eFileRead(text, 1, kTextFileMax + 1, file);
    s3eFileClose(file);
    const bool whole = length <= kTextFileMax;
    text[whole ? length : kTextFileMax] = '\0';
    char* line = text;
    while (*line) {
        char* end = std::strchr(line, '\n');
        if (!end && !whole) break;
        if (end) *end = '\0';
        TrimLineEnd(line);
        handle(line);
        if (!end) break;
        line = end + 1;
    }
    return true;
}

// Appends "<key><value>\n" to out at *length; false when it does not fit.
bool AppendLine(char* out, size_t capacity, size_t* length, const char* key, int32_t value) {
    char digits[kDecimalBufferSize];
    FormatDecimal(value, digits, sizeof digits);
    const size_t keyLength = std::strlen(key);
    const size_t digitsLength = std::strlen(digits);
    if (*length + keyLength + digitsLength + 1 > capacity) return false;
    std::memcpy(out + *length, key, keyLength);
    std::memcpy(out + *length + keyLength, digits, digitsLength);
    out[*length + keyLength + digitsLength] = '\n';
    *length += keyLength + digitsLength + 1;
    return true;
}

// The note holds "<value>\n<marker path>\n<points already earned>\n"; the
// path is empty when the note vouches for earned points only, and a note from
// before the third line counts nothing as earned.
constexpr uint32_t kNoteMax = 300;

struct PendingPoint {
    int32_t value;
    int32_t earned;
    char marker[kNoteMax];
};

// Takes the text up to the next line feed (or the end) off *cursor.
char* NextLine(char** cursor) {
    char* line = *cursor;
    char* end = std::strchr(line, '\n');
    if (end) {
        *end = '\0';
        *cursor = end + 1;
    } else {
        *cursor = line + std::strlen(line);
    }
    TrimLineEnd(line);
    return line;
}

// A solved marker as the game names one: "Documents/black/<dir>/<name>.rsv".
// Anything else in a note (another of the player's files, say) vouches for
// nothing.
bool IsMarkerPath(const char* path) {
    static const char kPrefix[] = "Documents/black/";
    static const char kSuffix[] = ".rsv";
    const size_t n = std::strlen(path);
    if (std::strncmp(path, kPrefix, sizeof kPrefix - 1) != 0 || n < sizeof kPrefix + 5 ||
        std::strcmp(path + n - (sizeof kSuffix - 1), kSuffix) != 0) {
        return false;
    }
    const char* dir = path + sizeof kPrefix - 1;
    const char* slash = std::strchr(dir, '/');
    // One directory, one name, neither starting with a dot (no "." or "..").
    return slash && slash > dir && dir[0] != '.' && slash[1] != '.' && !std::strchr(slash + 1, '/');
}

bool ReadPendingPoint(PendingPoint* note) {
    s3eFile* file = s3eFileOpen(kPendingPointPath, "rb");
    if (!file) return false;
    char text[kNoteMax + 1];
    const uint32_t length = s3eFileRead(text, 1, kNoteMax, file);
    s3eFileClose(file);
    text[length] = '\0';
    if (!std::strchr(text, '\n') || text[0] < '0' || text[0] > '9') return false;
    char* cursor = text;
    note->value = ParseDecimal(NextLine(&cursor));
    const char* path = NextLine(&cursor);
    note->earned = ParseDecimal(NextLine(&cursor));
    note->marker[0] = '\0';
    if (path[0] == '\0') return true;
    if (!IsMarkerPath(path) || std::strlen(path) >= sizeof note->marker) return false;
    std::strcpy(note->marker, path);
    return true;
}

void FinishPendingPoint() {
    if (!s3eFileCheckExists(kPendingPointPath)) return;
    PendingPoint note{};
    if (ReadPendingPoint(&note)) {
        int32_t due = note.earned;
        if (note.marker[0] && note.value > due && FileIsThere(note.marker)) due = note.value;
        if (due > points) {
            points = due;
            // Kept for the next start while the points file cannot take the point.
            if (!WritePoints()) return;
        }
    }
    ClearPendingPoint();
}

// The points file takes all that was earned, and the note of a point on its
// way goes with it; false (note kept) when the file cannot be written.
bool WritePointsAndDropNote() {
    if (!WritePoints()) return false;
    pointsUnsaved = false;
    ClearPendingPoint();
    return true;
}

}  // namespace

bool ReadSettings() {
    color_schema = 0;
    return ForEachLine(kSettingsPath, [](char* piece) {
        char* equals = std::strchr(piece, '=');
        if (!equals) return;
        *equals = '\0';
        const uint8_t value = static_cast<uint8_t>(ParseDecimal(equals + 1) & 0xFF);
        if (std::strcmp(piece, "color_schema") == 0) {
            color_schema = value;
        } else if (std::strcmp(piece, "rate_redirected") == 0) {
            rate_redirected = value;
        }
    });
}

bool WriteSettings() {
    char text[2 * kLineBuffer];
    size_t length = 0;
    if (!AppendLine(text, sizeof text, &length, "color_schema=", color_schema) ||
        !AppendLine(text, sizeof text, &length, "rate_redirected=", rate_redirected)) {
        return false;
    }
    return ReplaceFile(kSettingsPath, text, static_cast<uint32_t>(length));
}

bool ReadPoints() {
    points = 0;
    const bool read = ForEachLine(kPointsPath, [](const char* piece) {
        // A blank line says nothing; it must not wipe the count.
        if (piece[0] != '\0') points = ParseDecimal(piece);
    });
    FinishPendingPoint();
    return read;
}

bool WritePoints() {
    char text[kLineBuffer];
    size_t length = 0;
    if (!AppendLine(text, sizeof text, &length, "", points)) return false;
    return ReplaceFile(kPointsPath, text, static_cast<uint32_t>(length));
}

bool NotePendingPoint(int32_t value, const char* markerPath) {
    char text[kNoteMax];
    size_t length = 0;
    if (!AppendLine(text, sizeof text, &length, "", value)) return false;
    const size_t pathLength = markerPath ? std::strlen(markerPath) : 0;
    if (length + pathLength + 1 > sizeof text) return false;
    if (pathLength > 0) std::memcpy(text + length, markerPath, pathLength);
    text[length + pathLength] = '\n';
    length += pathLength + 1;
    if (!AppendLine(text, sizeof text, &length, "", points)) return false;
    return ReplaceFile(kPendingPointPath, text, static_cast<uint32_t>(length));
}

void EarnPoints(int32_t earned) {
    points = earned;
    pointsUnsaved = true;
}

bool SaveEarnedPoints() {
    return !pointsUnsaved || WritePointsAndDropNote();
}

bool SettlePendingPoint() {
    if (!s3eFileCheckExists(kPendingPointPath)) return true;
    return WritePointsAndDropNote() || NotePendingPoint(points, nullptr);
}

void ClearPendingPoint() {
    if (s3eFileCheckExists(kPendingPointPath)) s3eFileDelete(kPendingPointPath);
}
