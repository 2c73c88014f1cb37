#pragma once
// The pictures of a song file, read when the track was asked for them; items count from 1.

#include "platform/itunes/HandleCore.h"
#include "platform/itunes/ITunesTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace itunesapp {

class Artwork;

class ArtworkCollection {
public:
    ArtworkCollection(HandleCore core, std::vector<std::vector<uint8_t>> pictures);

    Status GetCount(int32_t& count) const;
    Status GetItem(int32_t index, std::shared_ptr<Artwork>& artwork) const;

private:
    HandleCore m_core;
    std::vector<std::shared_ptr<const std::vector<uint8_t>>> m_pictures;
};

} // namespace itunesapp
