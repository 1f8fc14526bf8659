// The device facts the game runs with: the operating system and the language,
// read from the host once at start-up. Screens and services read them here
// and compare them with the service header's named identifiers.
#pragma once

#include <cstdint>

struct DeviceFacts {
    int32_t os;        // S3E_OS_ID_DESKTOP, S3E_OS_ID_IPHONE, S3E_OS_ID_ANDROID or another
    int32_t language;  // the host's language identifier
    bool russian;      // Russian texts, dialogs and storefronts
    // The desktop simulator alone has keyboard shortcuts, a debug switch and
    // a fourth promotion tile.
    bool DesktopSimulator() const;
};

// The facts of a system and a language; whether the language is Russian is
// decided here and nowhere else.
DeviceFacts MakeDeviceFacts(int32_t os, int32_t language);

// The facts as start-up read them (all zero before).
extern DeviceFacts device;
// Reads the operating system and the language from the host into `device`.
void ReadDeviceFacts();
