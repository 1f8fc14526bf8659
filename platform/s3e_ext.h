// The host extensions the game may use: native dialogs, two interstitial ad
// services and opening addresses. Each extension is a table of function
// pointers that s3eExtGetHash fills by the extension's id. The tables keep
// their fixed sizes; entries the game never calls are reserved slots that a
// host may leave empty, so the module must not call them.
#pragma once

#include <cstdint>

#include "platform/s3e.h"

extern "C" {

// A slot of a table that the game does not call.
typedef void (*s3eExtReservedFn)(void);

// ===========================================================================
// s3eDialog: native alert boxes. The show call returns at once; the host calls
// the registered answer handler later, between passes of the main loop, with a
// DialogAnswer as its system data.

enum : uint32_t { S3E_EXT_DIALOG_ID = 0xa6c1a5c0u };

// The box to show. Texts are zero-terminated Windows-1251 bytes (plain ASCII
// in English); a null button means the box has no such button.
struct DialogRequest {
    const char* message;
    const char* title;
    const char* button0;
    const char* button1;
    const char* button2;
    int32_t id;
};

// What the answer handler receives. button counts from 0; a box closed
// without a button gives -1.
struct DialogAnswer {
    int32_t id;
    int32_t button;
};

enum { S3E_DIALOG_CALLBACK_ANSWER = 0 };

struct s3eDialogTable {
    s3eExtReservedFn reserved0;
    s3eExtReservedFn reserved1;
    s3eResult (*Register)(int32_t kind, s3eCallback handler, void* userData);  // entry 2
    s3eResult (*UnRegister)(int32_t kind, s3eCallback handler);                // entry 3
    s3eResult (*AlertShow)(const DialogRequest* request);                      // entry 4
    s3eExtReservedFn reserved5;
    s3eExtReservedFn reserved6;
};

// ===========================================================================
// s3eGoogleAdMob: interstitials by ad handle. Callbacks get a pointer to an
// s3eGoogleAdMobEvent as their system data and return 0.

enum : uint32_t { S3E_EXT_GOOGLEADMOB_ID = 0x2fc4bf90u };

typedef uint32_t s3eGoogleAdMobId;

enum {
    S3E_GOOGLEADMOB_CALLBACK_AD_LOADED = 0,
    S3E_GOOGLEADMOB_CALLBACK_AD_CLOSED = 1,
    S3E_GOOGLEADMOB_CALLBACK_AD_FAILED = 2
};

struct s3eGoogleAdMobEvent {
    s3eGoogleAdMobId ad;
};

struct s3eGoogleAdMobTable {
    s3eResult (*Register)(int32_t kind, s3eCallback handler, void* userData);  // entry 0
    s3eExtReservedFn reserved1;
    s3eExtReservedFn reserved2;
    s3eExtReservedFn reserved3;
    // The ad unit all later ads come from; the game passes mode 1.
    s3eResult (*SetAdUnit)(const char* adUnit, int32_t mode);  // entry 4
    // Makes a new ad and writes its handle.
    s3eResult (*PrepareAd)(s3eGoogleAdMobId* ad);  // entry 5
    s3eExtReservedFn reserved6;
    s3eExtReservedFn reserved7;
    s3eExtReservedFn reserved8;
    s3eExtReservedFn reserved9;
    s3eExtReservedFn reserved10;
    s3eExtReservedFn reserved11;
    s3eExtReservedFn reserved12;
    s3eExtReservedFn reserved13;
    s3eExtReservedFn reserved14;
    s3eResult (*DestroyAd)(s3eGoogleAdMobId ad);  // entry 15
    s3eResult (*LoadAd)(s3eGoogleAdMobId ad);     // entry 16
    s3eResult (*ShowAd)(s3eGoogleAdMobId ad);     // entry 17
    // Writes 1 when the ad is loaded, else 0; the game asks right after preparing.
    s3eResult (*QueryAd)(s3eGoogleAdMobId ad, uint8_t* loaded);  // entry 18
};

// ===========================================================================
// s3eChartBoost: interstitials by location. The game registers callbacks but
// acts on none of them.

enum : uint32_t { S3E_EXT_CHARTBOOST_ID = 0x37830649u };

struct s3eChartBoostTable {
    s3eResult (*Register)(int32_t kind, s3eCallback handler, void* userData);  // entry 0
    s3eExtReservedFn reserved1;
    s3eResult (*SetAppID)(const char* appId);             // entry 2
    s3eResult (*SetAppSignature)(const char* signature);  // entry 3
    s3eResult (*StartSession)(void);                      // entry 4
    s3eExtReservedFn reserved5;
    s3eResult (*ShowInterstitial)(const char* location);  // entry 6
    s3eExtReservedFn reserved7;
    s3eExtReservedFn reserved8;
    s3eExtReservedFn reserved9;
    s3eExtReservedFn reserved10;
    // The location value for a numbered placement (the game asks for 2).
    const char* (*Location)(int32_t placement);  // entry 11
};

// ===========================================================================
// s3eOSExec: opens an address in the system's browser or store app.

enum : uint32_t { S3E_EXT_OSEXEC_ID = 0xc121bcf7u };

struct s3eOSExecTable {
    // exitAfter non-zero asks the host to end the game once the address is open.
    s3eResult (*ExecuteURL)(const char* address, s3eBool exitAfter);  // entry 0
    s3eExtReservedFn reserved1;
};

}  // extern "C"

static_assert(sizeof(s3eDialogTable) == 7 * sizeof(s3eExtReservedFn), "s3eDialog has 7 entries");
static_assert(sizeof(s3eGoogleAdMobTable) == 19 * sizeof(s3eExtReservedFn),
              "s3eGoogleAdMob has 19 entries");
static_assert(sizeof(s3eChartBoostTable) == 12 * sizeof(s3eExtReservedFn),
              "s3eChartBoost has 12 entries");
static_assert(sizeof(s3eOSExecTable) == 2 * sizeof(s3eExtReservedFn), "s3eOSExec has 2 entries");

// Fills table from the host's extension of that id; on failure the table is
// left all empty and false comes back.
template <typename Table>
inline bool s3eExtLookup(uint32_t id, Table* table) {
    if (s3eExtGetHash(id, table, sizeof(Table)) == S3E_RESULT_SUCCESS) return true;
    *table = Table{};
    return false;
}
