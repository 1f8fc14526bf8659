// Reading and writing the settings and points files.
#include "storage/settings.h"

#include <cstring>

#include "platform/s3e.h"
#include "storage/decimal.h"
#include "storage/file_replace.h"

uint8_t color_schema = 0;
uint8_t rate_redirected = 0;
int32_t points = 0;

namespace {

// A line is read in pieces of at most this many bytes less one; longer lines
// arrive as several pieces, each judged on its own.
constexpr uint32_t kLineBuffer = 30;

void TrimLineEnd(char* text) {
    size_t n = std::strlen(text);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r'))
        text[--n] = '\0';
}

// Calls handle(piece) for every piece of the file with its line end removed.
// False when the file is missing or cannot be opened.
template <typename Handler>
bool ForEachPiece(const char* path, Handler handle) {
    if (!s3eFileCheckExists(path)) return false;
    s3eFile* file = s3eFileOpen(path, "rb");
    if (!file) return false;
    char piece[kLineBuffer];
    while (s3eFileReadString(piece, sizeof piece, file)) {
        piece[sizeof piece - 1] = '\0';
        TrimLineEnd(piece);
        handle(piece);
    }
    s3eFileClose(file);
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

// The note holds "<value>\n<marker path>\n".
constexpr uint32_t kNoteMax = 300;

bool ReadPendingPoint(int32_t* value, char* marker, size_t size) {
    s3eFile* file = s3eFileOpen(kPendingPointPath, "rb");
    if (!file) return false;
    char text[kNoteMax + 1];
    const uint32_t length = s3eFileRead(text, 1, kNoteMax, file);
    s3eFileClose(file);
    text[length] = '\0';
    char* lineEnd = std::strchr(text, '\n');
    if (!lineEnd || text[0] < '0' || text[0] > '9') return false;
    *lineEnd = '\0';
    char* path = lineEnd + 1;
    TrimLineEnd(path);
    static const char kDocuments[] = "Documents/";
    const size_t pathLength = std::strlen(path);
    if (pathLength >= size || std::strncmp(path, kDocuments, sizeof kDocuments - 1) != 0) {
        return false;
    }
    *value = ParseDecimal(text);
    std::memcpy(marker, path, pathLength + 1);
    return true;
}

void FinishPendingPoint() {
    if (!s3eFileCheckExists(kPendingPointPath)) return;
    int32_t value = 0;
    char marker[kNoteMax];
    if (ReadPendingPoint(&value, marker, sizeof marker) && s3eFileCheckExists(marker) &&
        value > points) {
        points = value;
        // Kept for the next start while the points file cannot take the point.
        if (!WritePoints()) return;
    }
    ClearPendingPoint();
}

}  // namespace

bool ReadSettings() {
    color_schema = 0;
    return ForEachPiece(kSettingsPath, [](char* piece) {
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
    const bool read = ForEachPiece(kPointsPath, [](const char* piece) {
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
    if (!markerPath) return false;
    char text[kNoteMax];
    size_t length = 0;
    if (!AppendLine(text, sizeof text, &length, "", value)) return false;
    const size_t pathLength = std::strlen(markerPath);
    if (length + pathLength + 1 > sizeof text) return false;
    std::memcpy(text + length, markerPath, pathLength);
    text[length + pathLength] = '\n';
    return ReplaceFile(kPendingPointPath, text, static_cast<uint32_t>(length + pathLength + 1));
}

void ClearPendingPoint() {
    if (s3eFileCheckExists(kPendingPointPath)) s3eFileDelete(kPendingPointPath);
}
