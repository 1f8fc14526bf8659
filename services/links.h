// Sending the player out of the game: the store page to rate it, the help
// page, the paid edition's page and the sibling apps' pages, opened through
// the host's s3eOSExec extension while the game keeps running.
#pragma once

#include <cstdint>

enum LinkKind : int32_t {
    kLinkRate = 1,
    kLinkHelp = 2,
    kLinkPaidEdition = 4,
};

// Opens the address of a kind, chosen by operating system and device
// language. Any other kind opens nothing.
void OpenLink(int32_t kind);

// Opens one address. The extension is looked up at the first open; without it
// "error loading extension: s3eOSExec" is shown once and every open does nothing.
void OpenAddress(const char* address);

// Forgets the extension at shut-down; a later open looks it up again.
void StopLinks();
