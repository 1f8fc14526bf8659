// Image decoding through the engine (PNG and JPEG, told apart by their first
// bytes): any file either gives pixels of a size the game can use or nothing.
// Run under a malloc limit, this also shows that no small file makes the
// decoder allocate for a size the file cannot hold.
#include "engine/iwgx.h"
#include "tests/fuzz/fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzhost::Bind(false);
    FUZZ_CHECK(fuzzhost::WriteBytes(fuzzhost::MachinePath("images/fuzz.img"), data, size));
    CIwTexture texture;
    if (texture.LoadFromFile("images/fuzz.img")) {
        FUZZ_CHECK(texture.IsLoaded());
        FUZZ_CHECK(texture.GetWidth() >= 1 && texture.GetWidth() <= 4096);
        FUZZ_CHECK(texture.GetHeight() >= 1 && texture.GetHeight() <= 4096);
    } else {
        FUZZ_CHECK(!texture.IsLoaded() && texture.GetWidth() == 0);
    }
    return 0;
}
