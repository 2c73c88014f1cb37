#pragma once
// Base64 with the standard alphabet and "=" padding, no line breaks. One coder keeps its two buffers
// and is reused for many messages; the encoded text is always followed by a zero byte.

#include <cstddef>
#include <cstdint>
#include <vector>

class Base64Coder {
public:
    void Encode(const void* data, uint32_t length);
    void EncodeText(const char* text);
    // White space is dropped; padding decodes to zero bytes that are counted, as peers expect.
    void Decode(const char* text, uint32_t length);
    void DecodeText(const char* text);

    const uint8_t* GetDecoded() const { return m_decoded.data(); }
    uint32_t GetDecodedLength() const { return m_decodedLength; }
    const char* GetEncoded() const { return m_encoded.data(); }
    uint32_t GetEncodedLength() const { return m_encodedLength; }
    size_t GetEncodedCapacity() const { return m_encoded.size(); }
    size_t GetDecodedCapacity() const { return m_decoded.size(); }

private:
    // Grows to the next multiple of 4096 above `size` (never shrinks), zero-filled, length 0.
    template <typename Buffer> static void Allocate(Buffer& buffer, uint64_t size);
    void AllocEncoded(uint64_t size);
    void AllocDecoded(uint64_t size);
    void SetDecoded(const void* data, uint32_t length);
    void SetEncoded(const char* text, uint32_t length);
    void EncodeGroup(const uint8_t* group, uint32_t count);
    void DecodeGroup(const uint8_t* characters, uint32_t count);

    std::vector<uint8_t> m_decoded;
    std::vector<char> m_encoded;
    uint32_t m_decodedLength = 0;
    uint32_t m_encodedLength = 0;
};
