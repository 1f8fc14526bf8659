// The main menu: the size-class panel, the signs and the promotion row.
#include "ui/main_menu.h"

#include "platform/iw2d.h"
#include "ui/look.h"

void DrawMainMenu(MainMenuScreen* menu) {
    (void)menu;
    ClearSurface(palette.background);
}
