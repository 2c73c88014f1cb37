#pragma once
// One picture of a song file.

#include "platform/itunes/HandleCore.h"
#include "platform/itunes/ITunesTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace itunesapp {

class Artwork {
public:
    Artwork(HandleCore core, std::shared_ptr<const std::vector<uint8_t>> bytes)
        : m_core(std::move(core)), m_bytes(std::move(bytes)) {}

    // Writes the picture's bytes into the file, which is made or replaced.
    Status SaveToFile(const std::string& path) const;

private:
    HandleCore m_core;
    std::shared_ptr<const std::vector<uint8_t>> m_bytes;
};

} // namespace itunesapp
