// The host's platform services, as the game calls them.
//
// Every function here is a thin dispatcher inside the module: it calls the
// address the host bound under the function's name (see binding.h), or gives a
// neutral result (0, false, none) when the host did not offer the service.
// Hosts implement the services under their own names and hand them over in the
// descriptor of IwAppEntry; the signatures below are the contract they follow.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

typedef int32_t s3eBool;
enum { S3E_FALSE = 0, S3E_TRUE = 1 };

typedef enum s3eResult { S3E_RESULT_SUCCESS = 0, S3E_RESULT_ERROR = 1 } s3eResult;

typedef int32_t (*s3eCallback)(void* systemData, void* userData);

typedef struct s3eFile s3eFile;
typedef struct s3eFileList s3eFileList;

// ---------------------------------------------------------------------------
// Files. Paths are "/"-separated and relative to the game's storage: paths that
// start with "Documents" are the player's writable data, all others read-only
// game data. Modes: "r", "w", "rb", "wb" (no line-end translation in any);
// "wbx" creates a new file and fails when anything stands at the path, a link
// included. Only regular files open: never a directory, device, FIFO or socket,
// and no link is followed when opening for writing.

s3eFile* s3eFileOpen(const char* path, const char* mode);
// Moves whole items; gives the number of complete items moved.
uint32_t s3eFileRead(void* buffer, uint32_t itemSize, uint32_t itemCount, s3eFile* file);
uint32_t s3eFileWrite(const void* buffer, uint32_t itemSize, uint32_t itemCount, s3eFile* file);
// One line with its line break, at most max - 1 bytes, zero-terminated; null at end of file.
char* s3eFileReadString(char* buffer, uint32_t max, s3eFile* file);
// Pushes written bytes to stable storage.
s3eResult s3eFileFlush(s3eFile* file);
s3eResult s3eFileClose(s3eFile* file);
// Size in bytes of an open file, or -1.
int32_t s3eFileGetSize(s3eFile* file);
// True for an existing file or directory.
s3eBool s3eFileCheckExists(const char* path);
s3eResult s3eFileMakeDirectory(const char* path);
s3eResult s3eFileDelete(const char* path);
// Replaces dest by src in one step, so a reader sees the old file or the new one, never a mix.
s3eResult s3eFileRename(const char* src, const char* dest);

enum { S3E_FILE_ISDIR = 1 };
// Property S3E_FILE_ISDIR: non-zero for a directory.
int32_t s3eFileGetFileInt(const char* path, int32_t property);

s3eFileList* s3eFileListDirectory(const char* path);
// Writes the next name (at most max - 1 bytes and a zero) and gives 0; non-zero when done.
s3eResult s3eFileListNext(s3eFileList* list, char* name, int32_t max);
s3eResult s3eFileListClose(s3eFileList* list);

// ---------------------------------------------------------------------------
// Pointer and touches. State bits: 1 down, 2 pressed since the last update,
// 4 released since the last update.

enum { S3E_POINTER_STATE_DOWN = 1, S3E_POINTER_STATE_PRESSED = 2, S3E_POINTER_STATE_RELEASED = 4 };
enum { S3E_POINTER_TOUCH_MAX = 10 };

s3eResult s3ePointerUpdate(void);
int32_t s3ePointerGetState(int32_t button);
int32_t s3ePointerGetX(void);
int32_t s3ePointerGetY(void);
// 1 while touch slot i (0..9) is down.
int32_t s3ePointerGetTouchState(int32_t touch);
int32_t s3ePointerGetTouchX(int32_t touch);
int32_t s3ePointerGetTouchY(int32_t touch);

// A mouse wheel's and a touchpad's travel since the last update, for hosts
// that have them (0 elsewhere). Scroll: surface pixels by which a list's
// content should move up (a wheel turned towards the player gives positive
// values). Zoom: thousandths of a doubling of the content's size (a touchpad
// pinch spreading, or a wheel turned away with Ctrl held, gives positive
// values). Both happen at the pointer's position.
enum { S3E_POINTER_WHEEL_SCROLL = 0, S3E_POINTER_WHEEL_ZOOM = 1 };
int32_t s3ePointerGetInt(int32_t property);

// ---------------------------------------------------------------------------
// Keys: same three state bits.

enum {
    s3eKeyEsc = 1,
    s3eKeyBackspace = 3,
    s3eKeyLeftControl = 6,
    s3eKeyZ = 48,
    s3eKeyF1 = 49,
    s3eKeyRightControl = 100,
    s3eKeyDelete = 123,
    s3eKeyBack = 126,
    S3E_KEY_COUNT = 256
};
enum { S3E_KEY_STATE_DOWN = 1, S3E_KEY_STATE_PRESSED = 2, S3E_KEY_STATE_RELEASED = 4 };

s3eResult s3eKeyboardUpdate(void);
int32_t s3eKeyboardGetState(int32_t key);

// ---------------------------------------------------------------------------
// Device.

enum {
    S3E_DEVICE_OS = 0,         // 3 desktop simulator, 14 iOS, 18 Android
    S3E_DEVICE_LANGUAGE = 4,   // 16 Russian
    S3E_DEVICE_EXIT_CODE = 15  // set once by the module with the run's result
};
enum { S3E_OS_ID_DESKTOP = 3, S3E_OS_ID_IPHONE = 14, S3E_OS_ID_ANDROID = 18 };
enum { S3E_DEVICE_LANGUAGE_RUSSIAN = 16 };

s3eBool s3eDeviceCheckQuitRequest(void);
// Sleeps until input or a system event arrives, or ms milliseconds pass.
s3eResult s3eDeviceYieldUntilEvent(int32_t ms);
int32_t s3eDeviceGetInt(int32_t property);
s3eResult s3eDeviceSetInt(int32_t property, int32_t value);

enum { S3E_CONFIG_STRING_MAX = 256 };
// Copies the value of name in group into value (S3E_CONFIG_STRING_MAX bytes); error when unset.
s3eResult s3eConfigGetString(const char* group, const char* name, char* value);
// Sets a value that a host may keep for the next start of this session (a
// reloaded browser tab); error when the host keeps none.
s3eResult s3eConfigSetString(const char* group, const char* name, const char* value);

// ---------------------------------------------------------------------------
// Time.

uint64_t s3eTimerGetMs(void);   // milliseconds since start
uint64_t s3eTimerGetUTC(void);  // milliseconds of calendar time

// ---------------------------------------------------------------------------
// Surface: the GL surface the host made current before the second IwAppEntry.

enum { S3E_SURFACE_SCREENSIZE = 1, S3E_SURFACE_SCREENSIZE_2 = 2 };  // events
// Properties. The width and height are the surface the game lays out on, in
// its own pixels. A host may draw that surface at a higher resolution (a phone
// lays the game out at a comfortable density and shows it at its full one):
// the drawable's width and height are then its size in device pixels, and 0
// when the host draws the surface pixel for pixel.
enum {
    S3E_SURFACE_WIDTH = 0,
    S3E_SURFACE_HEIGHT = 1,
    S3E_SURFACE_DRAWABLE_WIDTH = 2,
    S3E_SURFACE_DRAWABLE_HEIGHT = 3
};

s3eResult s3eSurfaceRegister(int32_t event, s3eCallback handler, void* userData);
s3eResult s3eSurfaceUnRegister(int32_t event, s3eCallback handler);
int32_t s3eSurfaceGetInt(int32_t property);
// Presents the frame drawn into the current GL surface. drawCalls is the number
// of draw calls the frame took, for hosts that log their frames.
void s3eSurfaceShow(int32_t drawCalls);

// ---------------------------------------------------------------------------
// Extensions: a function table found by a 32-bit id. Fills tableBytes bytes of
// table and gives 0 on success.

s3eResult s3eExtGetHash(uint32_t id, void* table, uint32_t tableBytes);

// ---------------------------------------------------------------------------
// Debug.

enum { S3E_MESSAGE_CONTINUE = 2 };
void s3eDebugAssertShow(int32_t type, const char* text);
int32_t s3eDebugGetInt(int32_t property);
// One line of diagnostics (a missing image, say); hosts log it as a warning.
void s3eDebugOutputString(const char* text);

}  // extern "C"
