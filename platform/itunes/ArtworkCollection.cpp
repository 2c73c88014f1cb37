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
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    count = static_cast<int32_t>(m_pictures.size());
    return Status::Ok;
}

Status ArtworkCollection::GetItem(int32_t index, std::shared_ptr<Artwork>& artwork) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    if (index < 1 || static_cast<size_t>(index) > m_pictures.size())
        return Status::Failed;
    artwork = std::make_shared<Artwork>(m_core, m_pictures[static_cast<size_t>(index) - 1]);
    return Status::Ok;
}

} // namespace itunesapp
