#pragma once
// A private folder for the targets that read their input from a file, as the code reads it in use:
// made at the first call, removed with everything in it when the program ends.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fuzzcommon {

inline const std::string& FuzzFolder() {
    static const std::string folder = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/orvantis-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    static const bool removedAtExit = [] {
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(FuzzFolder(), ignored);
        });
        return true;
    }();
    (void)removedAtExit;
    return folder;
}

// Writes the bytes to `relative` below the folder, making its folders; its full path.
inline std::string WriteFuzzFile(const std::string& relative, const uint8_t* data, size_t size) {
    const std::filesystem::path path = std::filesystem::path(FuzzFolder()) / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file)
        std::abort();
    return path.string();
}

} // namespace fuzzcommon
