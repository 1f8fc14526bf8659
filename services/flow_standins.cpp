// Stand-ins until the dialog, link and promotion services land.
#include "services/ads.h"
#include "services/dialogs.h"
#include "services/links.h"

void ShowDialog(int32_t) {}
void OpenLink(int32_t) {}
void OpenPromo(int32_t) {}
