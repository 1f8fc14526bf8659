// Addresses outside the game: rating, help and the paid edition.
#pragma once

#include <cstdint>

enum LinkKind : int32_t { kLinkRate = 1, kLinkHelp = 2, kLinkPaidEdition = 4 };

void OpenLink(int32_t kind);
