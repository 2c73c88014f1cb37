#include "sync/PlayListSyncRecordList.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "library/songlists/ADirSong.h"

#include <algorithm>

namespace {

bool NameBefore(const AString& a, const AString& b) {
    return a.CompareNoCase(b) < 0;
}

PlayListSyncRecord NewRecord(const AString& name, bool inList1, bool inList2, const AString& name2 = AString()) {
    PlayListSyncRecord record;
    record.name = name;
    record.name2 = name2;
    record.inList1 = inList1 ? 1 : 0;
    record.inList2 = inList2 ? 1 : 0;
    return record;
}

// Walks both sorted name lists in step: one record per name, side 1's spelling where both have it.
std::vector<PlayListSyncRecord> MergedRecords(const std::vector<AString>& names1,
                                              const std::vector<AString>& names2) {
    std::vector<PlayListSyncRecord> records;
    records.reserve(names1.size() + names2.size());
    size_t i = 0;
    size_t j = 0;
    while (i < names1.size() || j < names2.size()) {
        const int order = i == names1.size()   ? 1
                          : j == names2.size() ? -1
                                               : names1[i].CompareNoCase(names2[j]);
        if (order < 0)
            records.push_back(NewRecord(names1[i++], true, false));
        else if (order > 0)
            records.push_back(NewRecord(names2[j++], false, true));
        else
            records.push_back(NewRecord(names1[i++], true, true, names2[j++]));
    }
    return records;
}

} // namespace

int PlayListSyncRecordList::Save(AFile& stream) const {
    using namespace recordio;
    if (const int result = WriteU32(stream, kRecordVersion))
        return result;
    if (const int result = WriteU32(stream, static_cast<uint32_t>(m_records.size())))
        return result;
    for (const PlayListSyncRecord& record : m_records) {
        if (const int result = WriteU32(stream, record.selected))
            return result;
        if (const int result = record.name.Serialize(stream))
            return result;
        for (const uint32_t word : {record.inList1, record.inList2}) {
            if (const int result = WriteU32(stream, word))
                return result;
        }
    }
    return 0;
}

int PlayListSyncRecordList::Load(AFile& stream) {
    using namespace recordio;
    if (const int result = ReadVersion(stream, kRecordVersion))
        return result;
    m_records.clear();
    uint32_t count = 0;
    if (const int result = ReadU32(stream, count))
        return result;
    if (count > kMaxRecords)
        return kErrorInconsistentSize;
    for (uint32_t i = 0; i < count; ++i) {
        PlayListSyncRecord record;
        if (const int result = ReadU32(stream, record.selected))
            return result;
        if (const int result = record.name.Load(stream))
            return result;
        for (uint32_t* word : {&record.inList1, &record.inList2}) {
            if (const int result = ReadU32(stream, *word))
                return result;
        }
        m_records.push_back(std::move(record));
    }
    return 0;
}

int PlayListSyncRecordList::Merge(ADirSong& list1, ADirSong& list2) {
    const uint32_t remote =
        list1.GetType() == ADir::kTypeTunesRemote || list2.GetType() == ADir::kTypeTunesRemote ? 1 : 0;
    std::vector<AString> names1;
    std::vector<AString> names2;
    if (const int result = list1.GetPlayListNames(names1, 0, remote))
        return result;
    if (const int result = list2.GetPlayListNames(names2, 0, remote))
        return result;
    std::stable_sort(names1.begin(), names1.end(), NameBefore);
    std::stable_sort(names2.begin(), names2.end(), NameBefore);
    std::vector<PlayListSyncRecord> records = MergedRecords(names1, names2);
    for (PlayListSyncRecord& record : records) {
        const auto old =
            std::find_if(m_records.begin(), m_records.end(), [&record](const PlayListSyncRecord& kept) {
                return kept.name.CompareNoCase(record.name) == 0;
            });
        if (old != m_records.end())
            record.selected = old->selected;
    }
    for (size_t i = 1; i < records.size(); ++i) {
        if (records[i - 1].name.CompareNoCase(records[i].name) == 0)
            records[i - 1].duplicate = records[i].duplicate = 1;
    }
    m_records = std::move(records);
    return 0;
}
