// The points file and the note of a point on its way (the same bytes in both):
// any bytes give a count that is never negative, the note is gone after the
// read, and what the game then writes reads back to the same count.
#include "platform/s3e.h"
#include "storage/settings.h"
#include "tests/fuzz/fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzhost::Bind(true);
    FUZZ_CHECK(fuzzhost::WriteBytes(fuzzhost::MachinePath(kPointsPath), data, size));
    FUZZ_CHECK(fuzzhost::WriteBytes(fuzzhost::MachinePath(kPendingPointPath), data, size));
    points = -5;
    FUZZ_CHECK(ReadPoints());
    FUZZ_CHECK(points >= 0);
    FUZZ_CHECK(!s3eFileCheckExists(kPendingPointPath));
    const int32_t read = points;
    FUZZ_CHECK(WritePoints());
    points = -5;
    FUZZ_CHECK(ReadPoints());
    FUZZ_CHECK(points == read);
    return 0;
}
