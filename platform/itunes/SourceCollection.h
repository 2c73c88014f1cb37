#pragma once
// The sources of the application as they were when it was asked for them; items count from 1.

#include "platform/itunes/HandleCore.h"
#include "platform/itunes/ITunesTypes.h"

#include <memory>
#include <vector>

namespace itunesapp {

class Source;

class SourceCollection {
public:
    SourceCollection(HandleCore core, std::vector<int32_t> sourceIDs)
        : m_core(std::move(core)), m_sourceIDs(std::move(sourceIDs)) {}

    Status GetCount(int32_t& count) const;
    Status GetItem(int32_t index, std::shared_ptr<Source>& source) const;

private:
    HandleCore m_core;
    std::vector<int32_t> m_sourceIDs;
};

} // namespace itunesapp
