// The application's main function (start-up, main loop, shut-down).
#include "platform/binding.h"

int AppMain(int, char**) {
    return 0;
}
