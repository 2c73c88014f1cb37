#include "platform/itunes/FileUrl.h"

namespace itunesapp {
namespace {

constexpr std::string_view kScheme = "file://";
constexpr std::string_view kLocalHost = "localhost";
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool KeptAsIs(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string FileUrlFromPath(std::string_view path) {
    std::string url;
    url.reserve(kScheme.size() + kLocalHost.size() + path.size() + path.size() / 4);
    url += kScheme;
    url += kLocalHost;
    for (char c : path) {
        if (KeptAsIs(c)) {
            url += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        url += '%';
        url += kHexDigits[byte >> 4];
        url += kHexDigits[byte & 0xF];
    }
    return url;
}

bool PathFromFileUrl(std::string_view url, std::string& path) {
    if (!url.starts_with(kScheme))
        return false;
    url.remove_prefix(kScheme.size());
    if (url.starts_with(kLocalHost))
        url.remove_prefix(kLocalHost.size());
    if (!url.starts_with('/'))
        return false;
    path.clear();
    path.reserve(url.size());
    for (size_t i = 0; i < url.size(); ++i) {
        const int high = url[i] == '%' && i + 2 < url.size() ? HexValue(url[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(url[i + 2]) : -1;
        if (low < 0) {
            path += url[i];
            continue;
        }
        path += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

} // namespace itunesapp
