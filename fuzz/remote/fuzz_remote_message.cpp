// The bytes a connection receives, read as messages until the reader gives up: every input must end
// in messages or an error code, whether the bytes come all at once or a few at a time.
#include "../../tests/remote/MemoryChannel.h"
#include "remote/MessageReader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr size_t kSmallReads = 7;

void ReadAll(const std::vector<uint8_t>& bytes, size_t chunk) {
    MemoryChannel channel(bytes, chunk);
    MessageReader reader(channel);
    const auto never = nativesockets::Deadline::Never();
    while (reader.WaitForMessage(never) == nativesockets::IoStatus::Done) {
        WireHeader header;
        std::vector<uint8_t> payload;
        if (reader.ReadHeader(header, never) != 0 || reader.ReadPayload(header, payload, -1, nullptr) != 0)
            return;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    ReadAll(bytes, SIZE_MAX);
    ReadAll(bytes, kSmallReads);
    return 0;
}
