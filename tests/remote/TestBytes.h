#pragma once
// Payloads for the link's tests: a text's bytes, and random bytes that repeat from run to run.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

inline std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// `alphabet` values only (0 to alphabet - 1): a small one gives data that packs well.
inline std::vector<uint8_t> RandomBytes(size_t length, unsigned seed, unsigned alphabet = 256) {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(length);
    for (auto& byte : bytes)
        byte = static_cast<uint8_t>(random() % alphabet);
    return bytes;
}
