#include "foundation/AFileList.h"

#include "foundation/AArray.h"
#include "foundation/ByteOrder.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"

#include <algorithm>

namespace {
constexpr uint32_t kFileListVersion = 0x00100000;
} // namespace

void AFileList::SetBasePath(const AString& path) {
    m_basePath = path.WithTrailingSeparator();
}

AFileList::Entry AFileList::MakeEntry(const AString& name) const {
    AString fullPath = name;
    if (!m_basePath.IsEmpty()) {
        fullPath = m_basePath;
        fullPath.AppendPath(name);
    }
    return {GetFileModTime(fullPath), name};
}

int AFileList::Add(const AString& name) {
    m_entries.push_back(MakeEntry(name));
    return GetCount() - 1;
}

int AFileList::Add(const AString& name, uint64_t modTime) {
    m_entries.push_back({modTime, name});
    return GetCount() - 1;
}

void AFileList::InsertAt(const AString& name, int index) {
    InsertAt(name, index, MakeEntry(name).modTime);
}

void AFileList::InsertAt(const AString& name, int index, uint64_t modTime) {
    index = std::clamp(index, 0, GetCount());
    m_entries.insert(m_entries.begin() + index, {modTime, name});
}

int AFileList::Find(const AString& name) const {
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&name](const Entry& entry) {
        return entry.name.CompareNoCase(name) == 0;
    });
    return found == m_entries.end() ? -1 : static_cast<int>(found - m_entries.begin());
}

void AFileList::RemoveAt(int index) {
    if (index >= 0 && index < GetCount())
        m_entries.erase(m_entries.begin() + index);
}

void AFileList::Sort(bool ascending) {
    std::stable_sort(m_entries.begin(), m_entries.end(), [ascending](const Entry& a, const Entry& b) {
        return ascending ? a.name.CompareNoCase(b.name) < 0 : b.name.CompareNoCase(a.name) < 0;
    });
}

int AFileList::Serialize(AFile& stream) const {
    if (const int result = recordio::WriteU32(stream, kFileListVersion))
        return result;
    if (const int result = m_basePath.Serialize(stream))
        return result;
    // The entries as their 16-byte records; the name reference and the last word mean nothing stored.
    std::vector<uint8_t> records(m_entries.size() * kEntryRecordSize, 0);
    AArray array;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        StoreLE64(&records[i * kEntryRecordSize], m_entries[i].modTime);
        array.Add(std::span(records).subspan(i * kEntryRecordSize, kEntryRecordSize));
    }
    if (const int result = array.Serialize(stream))
        return result;
    for (const Entry& entry : m_entries) {
        if (const int result = entry.name.Serialize(stream))
            return result;
    }
    return 0;
}

int AFileList::Load(AFile& stream) {
    RemoveAll();
    if (const int result = recordio::ReadVersion(stream, kFileListVersion))
        return result;
    if (const int result = m_basePath.Load(stream))
        return result;
    AArray array;
    if (const int result = array.Load(stream))
        return result;
    std::vector<Entry> entries;
    for (int i = 0; i < array.GetCount(); ++i) {
        uint8_t record[kEntryRecordSize] = {};
        array.GetData(i, record);
        Entry entry{LoadLE64(record), AString()};
        if (const int result = entry.name.Load(stream)) {
            m_entries = std::move(entries);
            return result;
        }
        entries.push_back(std::move(entry));
    }
    m_entries = std::move(entries);
    return 0;
}
