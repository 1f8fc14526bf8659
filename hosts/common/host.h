// What every host shares: the implementations of the s3e services (files with
// two roots, input state, device facts, timers, surface events, configuration,
// extension registry, debug output) and the descriptor handed to IwAppEntry.
// Each host fills in what differs (window and events, clock, present, logging)
// through HostHooks and drives the input and surface state from its events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/binding.h"
#include "platform/s3e_ext.h"

namespace host {

// The descriptor of IwAppEntry, built from (name, address) pairs, each offered
// under the hash the module looks it up by.
class ServiceRegistry {
  public:
    void Add(const char* name, void* address);
    const IwAppDescriptor& Descriptor();
    int Count() const { return static_cast<int>(names_.size()); }
    bool Has(const char* name) const;

  private:
    std::vector<std::string> names_;
    std::vector<uint32_t> hashes_;
    std::vector<void*> addresses_;
    IwAppDescriptor descriptor_{};
};

// What differs between hosts. Null members fall back to harmless defaults
// (yield returns at once, show does nothing, the clock is the real one).
struct HostHooks {
    // Sleeps until an event arrives or ms pass; applies the host's events.
    void (*yield)(int32_t ms) = nullptr;
    // Presents the current GL frame.
    void (*show)(int32_t drawCalls) = nullptr;
    uint64_t (*timerMs)() = nullptr;
    uint64_t (*timerUtc)() = nullptr;
    // One line of diagnostics from the module (kind: "warning").
    void (*log)(const char* kind, const char* text) = nullptr;
    // The player's data changed and is complete: a written file was closed, or
    // a file was renamed or deleted, or a folder made. A host whose storage is
    // not durable by itself persists it from here (not inside this call).
    void (*documentsChanged)() = nullptr;
    // A file of the game data (its real path) is about to be read or looked
    // for. A host whose data arrives after the start makes it present here,
    // waiting for it if need be; when it cannot, the read fails as for a
    // missing file.
    void (*dataWanted)(const char* path) = nullptr;
    // The module set a configuration value (s3eConfigSetString).
    void (*configChanged)(const char* group, const char* name, const char* value) = nullptr;
};

struct HostSetup {
    std::string dataDir;       // read-only game data: every path outside "Documents"
    std::string documentsDir;  // the player's data: "Documents/..."
    int32_t os = 3;            // 3 desktop simulator, 14 iOS, 18 Android
    int32_t language = 2;      // 16 Russian
    int32_t debugInt = 1;      // s3eDebugGetInt(0)
    HostHooks hooks;
};

// Resets every piece of shared state and applies the setup. Creates documentsDir.
bool ConfigureHost(const HostSetup& setup);

// Adds every s3e service of the shared implementation to the registry.
void RegisterServices(ServiceRegistry& registry);

// ---------------------------------------------------------------------------
// Storage faults on purpose, for tests and the headless host's options. They
// apply to the file services from the moment they are set (ConfigureHost clears
// them); counts start again with every SetStorageFaults.
struct StorageFaults {
    bool failWrites = false;         // every s3eFileWrite fails and writes nothing
    int64_t failWriteNumber = 0;     // when > 0, only that s3eFileWrite (1 = the next) fails
    bool failRename = false;         // every s3eFileRename fails
    int64_t diskFreeBytes = -1;      // when >= 0, bytes the disk still takes: a write that
                                     // needs more stores what fits and fails
    bool readOnlyDocuments = false;  // nothing under "Documents" can be created, written,
                                     // renamed or deleted
};
void SetStorageFaults(const StorageFaults& faults);
// s3eFileWrite calls since the faults were last set.
int64_t StorageWriteCount();

// Maps a game path to a path on this machine; empty when the path is unsafe
// (absolute, "..", empty components) or would write into the read-only root.
std::string ResolvePath(const char* gamePath, bool forWriting);

// ---------------------------------------------------------------------------
// Input, as the host's events arrive. The bits seen by the game are latched
// until the next s3ePointerUpdate / s3eKeyboardUpdate.
void PointerDown(int32_t x, int32_t y);
void PointerMove(int32_t x, int32_t y);
void PointerUp(int32_t x, int32_t y);
// A press that followed a release within one update waits for the next one;
// true while such steps wait (the host must not sleep on them).
bool PointerStepsWaiting();
// Wheel or touchpad travel at the pointer's position (see s3ePointerGetInt):
// scroll in surface pixels, zoom in thousandths of a doubling.
void PointerWheel(int32_t scroll, int32_t zoom);
void TouchDown(int32_t slot, int32_t x, int32_t y);
void TouchMove(int32_t slot, int32_t x, int32_t y);
void TouchUp(int32_t slot);

// The fingers of a touch screen, by the identifiers the device gives them, in
// the game's touch slots: a new finger takes the lowest free slot (an eleventh
// is ignored), slot 0 also drives the single pointer, and a finger lifted or
// taken by the system is released where it was last seen. Each call gives the
// finger's slot, or -1 for one the slots do not hold.
class TouchSlots {
  public:
    int32_t Down(int64_t id, int32_t x, int32_t y);
    int32_t Move(int64_t id, int32_t x, int32_t y);
    int32_t Up(int64_t id, int32_t x, int32_t y);
    bool Held(int32_t slot) const { return slot >= 0 && slot < kSlots && used_[slot]; }

  private:
    static constexpr int32_t kSlots = S3E_POINTER_TOUCH_MAX;
    int32_t SlotOf(int64_t id) const;
    int64_t ids_[kSlots] = {};
    bool used_[kSlots] = {};
};

void KeyDown(int32_t key);
void KeyUp(int32_t key);
// The key is up, with no release for the game to act on: one let go while a
// dialog had the keyboard.
void KeyLost(int32_t key);

// ---------------------------------------------------------------------------
// Device and surface.
void RequestQuit();
bool QuitRequested();
// The value the module set with s3eDeviceSetInt(15, result); -1 until set.
int32_t ExitCode();
// The surface the game lays out on; the drawable, when the host draws that
// surface on more device pixels (0 x 0: pixel for pixel).
void SetSurfaceSize(int32_t width, int32_t height, int32_t drawableWidth = 0,
                    int32_t drawableHeight = 0);
// Changes the device facts the module reads (tests that simulate another device).
void SetDevice(int32_t os, int32_t language);
// Calls the module's handlers registered for the event (1 size change, 2 other).
void RaiseSurfaceEvent(int32_t event);
void SetConfigString(const std::string& group, const std::string& name, const std::string& value);

// ---------------------------------------------------------------------------
// Extensions: a function table the module fetches by id with s3eExtGetHash.
void RegisterExtension(uint32_t id, const void* table, uint32_t bytes);

// Extension ids (the tables are in platform/s3e_ext.h).
constexpr uint32_t kExtDialog = S3E_EXT_DIALOG_ID;
constexpr uint32_t kExtAdMob = S3E_EXT_GOOGLEADMOB_ID;
constexpr uint32_t kExtChartBoost = S3E_EXT_CHARTBOOST_ID;
constexpr uint32_t kExtOSExec = S3E_EXT_OSEXEC_ID;

// The per-user data directory for the game: $XDG_DATA_HOME or ~/.local/share, then the name.
std::string UserDataDir(const std::string& gameName);

}  // namespace host
