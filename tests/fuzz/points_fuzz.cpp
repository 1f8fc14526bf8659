// The points file: any bytes give a count that is never negative, and what the
// game then writes reads back to the same count.
#include "storage/settings.h"
#include "tests/fuzz/fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzhost::Bind(true);
    FUZZ_CHECK(fuzzhost::WriteBytes(fuzzhost::MachinePath(kPointsPath), data, size));
    points = -5;
    FUZZ_CHECK(ReadPoints());
    FUZZ_CHECK(points >= 0);
    const int32_t read = points;
    FUZZ_CHECK(WritePoints());
    points = -5;
    FUZZ_CHECK(ReadPoints());
    FUZZ_CHECK(points == read);
    return 0;
}
