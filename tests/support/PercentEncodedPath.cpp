#include "support/PercentEncodedPath.h"

#include <cctype>

std::string PercentEncodedPath(const std::string& path) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            encoded += c;
            continue;
        }
        encoded += '%';
        encoded += kHexDigits[byte >> 4];
        encoded += kHexDigits[byte & 0xF];
    }
    return encoded;
}
