// The four questions put to the player in native alert boxes of the host's
// dialog extension. A box is shown and the call returns at once; the answer
// arrives later, between passes of the main loop, through the handler given
// to StartDialogs.
#pragma once

#include <cstdint>

enum DialogId : int32_t {
    kDialogQuit = 1,
    kDialogClearBoard = 2,
    kDialogTheme = 3,
    kDialogPaidEdition = 4,
};

// Looks the extension up and registers the answer handler; the frame calls it
// once, just before the main loop. onAnswer gets the box's id and the pressed
// button (0 is the first; -1 when a box was closed without one). Without the
// extension "error loading extension: s3eDialog" is shown once and every later
// ShowDialog does nothing.
void StartDialogs(void (*onAnswer)(int32_t id, int32_t button));
// Unregisters the handler; after the main loop.
void StopDialogs();

// Shows box id (1 to 4) in Russian when the device language is Russian, else
// in English. Does nothing for other ids, before StartDialogs, or without the
// extension.
void ShowDialog(int32_t id);
