// The settings file: any bytes read into the two values without harm, and what
// the game then writes reads back to the same values.
#include "storage/settings.h"
#include "tests/fuzz/fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzhost::Bind(true);
    FUZZ_CHECK(fuzzhost::WriteBytes(fuzzhost::MachinePath(kSettingsPath), data, size));
    color_schema = 9;
    rate_redirected = 0;
    FUZZ_CHECK(ReadSettings());
    const uint8_t schema = color_schema;
    const uint8_t rated = rate_redirected;
    FUZZ_CHECK(WriteSettings());
    color_schema = 9;
    rate_redirected = 9;
    FUZZ_CHECK(ReadSettings());
    FUZZ_CHECK(color_schema == schema && rate_redirected == rated);
    return 0;
}
