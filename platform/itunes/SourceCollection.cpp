#include "platform/itunes/SourceCollection.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/Source.h"

namespace itunesapp {

Status SourceCollection::GetCount(int32_t& count) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    count = static_cast<int32_t>(m_sourceIDs.size());
    return Status::Ok;
}

Status SourceCollection::GetItem(int32_t index, std::shared_ptr<Source>& source) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    if (index < 1 || static_cast<size_t>(index) > m_sourceIDs.size())
        return Status::Failed;
    source = std::make_shared<Source>(m_core, m_sourceIDs[static_cast<size_t>(index) - 1]);
    return Status::Ok;
}

} // namespace itunesapp
