#include "platform/itunes/SourceCollection.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/Source.h"

namespace itunesapp {

Status SourceCollection::GetCount(int32_t& count) const {
    return CountEntries(m_core, m_sourceIDs.size(), count);
}

Status SourceCollection::GetItem(int32_t index, std::shared_ptr<Source>& source) const {
    return EntryAt(m_core, m_sourceIDs, index, source,
                   [this](int32_t sourceID) { return std::make_shared<Source>(m_core, sourceID); });
}

} // namespace itunesapp
