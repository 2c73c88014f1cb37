#include "platform/itunes/ArtworkCollection.h"

#include "platform/itunes/Artwork.h"
#include "platform/itunes/Call.h"

namespace itunesapp {

ArtworkCollection::ArtworkCollection(HandleCore core, std::vector<std::vector<uint8_t>> pictures)
    : m_core(std::move(core)) {
    for (std::vector<uint8_t>& picture : pictures)
        m_pictures.push_back(std::make_shared<const std::vector<uint8_t>>(std::move(picture)));
}

Status ArtworkCollection::GetCount(int32_t& count) const {
    return CountEntries(m_core, m_pictures.size(), count);
}

Status ArtworkCollection::GetItem(int32_t index, std::shared_ptr<Artwork>& artwork) const {
    return EntryAt(m_core, m_pictures, index, artwork,
                   [this](const std::shared_ptr<const std::vector<uint8_t>>& bytes) {
                       return std::make_shared<Artwork>(m_core, bytes);
                   });
}

} // namespace itunesapp
