// Native dialogs: the four questions the game puts to the player.
#pragma once

#include <cstdint>

enum DialogId : int32_t {
    kDialogQuit = 1,
    kDialogClearBoard = 2,
    kDialogTheme = 3,
    kDialogPaidEdition = 4,
};

void ShowDialog(int32_t id);
