// Binding of the host's services to the module, and the module's entry point.
#pragma once

#include <cstdint>

extern "C" {

// What the host passes to the first IwAppEntry call.
struct IwAppDescriptor {
    int32_t serviceCount;    // entries in the two arrays
    int32_t reserved;        // not read by the module
    const uint32_t* hashes;  // djb2 hash of each service's name
    void* const* addresses;  // the service's address, parallel to hashes
};

// First call (descriptor): binds the services; gives null when every service
// was bound, else a warning text naming the missing ones. Second call (null):
// runs the game and gives null.
__attribute__((visibility("default"))) const char* IwAppEntry(const IwAppDescriptor* descriptor);

}  // extern "C"

namespace platform {

// djb2 over the name's bytes as unsigned values, 32-bit wrap-around. Inline, so
// that a host which loads the module as a shared library (whose only export is
// IwAppEntry) hashes the names it offers with the very same function.
inline uint32_t HashServiceName(const char* name) {
    uint32_t h = 5381;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p) {
        h = h * 33u + *p;
    }
    return h;
}

// Binds the module's service table from a descriptor (null clears every binding).
// Gives null when all were bound, else the warning text (valid until the next call).
const char* BindHostServices(const IwAppDescriptor* descriptor);

int ServiceCount();
const char* ServiceName(int index);
// The bound address of a service, or null.
void* BoundService(int index);

}  // namespace platform

// The application's main function, run by the second IwAppEntry call.
int AppMain(int argc, char** argv);
