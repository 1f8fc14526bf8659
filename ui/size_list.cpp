// The size list screen.
#include "ui/size_list.h"

void DrawSizeList(SizeListScreen* list) {
    (void)list;
}
