#pragma once
// A server found on the network, and its 172-byte record (in the hello request and in ".hosts" files):
// the name (150 bytes, NUL-terminated), the IPv4 address as dotted text (20 bytes, NUL-terminated), a
// u16 port (0 = the base port).

#include <cstdint>
#include <span>
#include <string>

struct FoundHost {
    static constexpr size_t kNameSize = 150;
    static constexpr size_t kAddressSize = 20;
    static constexpr size_t kRecordSize = kNameSize + kAddressSize + 2;
    static constexpr size_t kMaxNameLength = kNameSize - 1;

    std::string name;
    std::string address;
    uint16_t port = 0;

    // A name longer than its field is cut; the fields are NUL-padded.
    void Write(std::span<uint8_t, kRecordSize> out) const;
    // False, with nothing changed, when the address is not a dotted IPv4 address. A name field without
    // a NUL gives its first 149 bytes.
    bool Read(std::span<const uint8_t, kRecordSize> in);

    // The address in its one dotted form ("10.0.0.1"), or empty when the text is no address.
    static std::string CanonicalAddress(const std::string& text);
};
