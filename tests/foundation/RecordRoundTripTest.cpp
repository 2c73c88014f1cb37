// The round trip that the record fuzz targets require of every record.
#include "foundation/RecordIO.h"
#include "fuzz/common/RecordRoundTrip.h"

#include <gtest/gtest.h>

namespace {

// A record whose writer drops its second field the same way every time: its saves are alike.
struct DroppingRecord {
    uint32_t kept = 0;
    uint32_t dropped = 0;

    int Serialize(AFile& stream) const {
        const int result = recordio::WriteU32(stream, kept);
        return result != 0 ? result : recordio::WriteU32(stream, 0);
    }
    int Load(AFile& stream) {
        const int result = recordio::ReadU32(stream, kept);
        return result != 0 ? result : recordio::ReadU32(stream, dropped);
    }
};

void RoundTrip(DroppingRecord record) {
    fuzzcommon::RequireRoundTrip(
        record, [](DroppingRecord& r, AMemFile& out) { return r.Serialize(out); },
        [](DroppingRecord& r, AMemFile& in) { return r.Load(in); },
        [](const DroppingRecord& a, const DroppingRecord& b) { return a.kept == b.kept && a.dropped == b.dropped; });
}

} // namespace

TEST(RecordRoundTripDeathTest, AWriterThatDropsAFieldIsCaughtThoughItsSavesAreAlike) {
    RoundTrip({7, 0});
    EXPECT_DEATH(RoundTrip({7, 9}), "");
}
