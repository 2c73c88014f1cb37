#include "foundation/AArray.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {
constexpr uint32_t kArrayVersion = 0x00100002;

// An empty entry still gets a block of its own, so that an owned entry never points at nothing.
std::unique_ptr<uint8_t[]> NewBlock(uint32_t length) {
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[std::max<uint32_t>(length, 1)]);
}
} // namespace

void AArray::CheckIndex(int index) const {
    if (index < 0 || index >= GetCount())
        throw std::out_of_range("AArray index");
}

uint8_t* AArray::GetAt(int index) const {
    CheckIndex(index);
    return m_items[index].bytes.data();
}

uint32_t AArray::GetLength(int index) const {
    CheckIndex(index);
    return static_cast<uint32_t>(m_items[index].bytes.size());
}

uint32_t AArray::GetData(int index, std::span<uint8_t> buffer) const {
    CheckIndex(index);
    const std::span<const uint8_t> bytes = m_items[index].bytes;
    const size_t count = std::min(buffer.size(), bytes.size());
    std::copy_n(bytes.begin(), count, buffer.begin());
    return static_cast<uint32_t>(count);
}

void AArray::Insert(Item item, int index) {
    index = std::clamp(index, 0, GetCount());
    m_items.insert(m_items.begin() + index, std::move(item));
}

void AArray::Add(std::span<uint8_t> bytes) {
    m_items.push_back({nullptr, bytes});
}

void AArray::InsertAt(std::span<uint8_t> bytes, int index) {
    Insert({nullptr, bytes}, index);
}

AArray::Item AArray::CopyOf(std::span<const uint8_t> bytes) {
    Item item{NewBlock(static_cast<uint32_t>(bytes.size())), {}};
    if (item.copy) {
        std::copy(bytes.begin(), bytes.end(), item.copy.get());
        item.bytes = {item.copy.get(), bytes.size()};
    }
    return item;
}

int AArray::AddCopy(std::span<const uint8_t> bytes) {
    Item copy = CopyOf(bytes);
    if (!copy.copy)
        return kErrorOutOfMemory;
    m_items.push_back(std::move(copy));
    return 0;
}

int AArray::InsertCopyAt(std::span<const uint8_t> bytes, int index) {
    Item copy = CopyOf(bytes);
    if (!copy.copy)
        return kErrorOutOfMemory;
    Insert(std::move(copy), index);
    return 0;
}

void AArray::RemoveAt(int index) {
    CheckIndex(index);
    m_items.erase(m_items.begin() + index);
}

void AArray::RemoveAll() {
    m_items.clear();
    m_items.shrink_to_fit();
}

int AArray::Serialize(AFile& stream) const {
    if (const int result = recordio::WriteU32(stream, kArrayVersion))
        return result;
    if (const int result = recordio::WriteU32(stream, static_cast<uint32_t>(m_items.size())))
        return result;
    for (const Item& item : m_items) {
        if (const int result = recordio::WriteU32(stream, static_cast<uint32_t>(item.bytes.size())))
            return result;
        if (const int result = stream.Write(item.bytes.data(), static_cast<uint32_t>(item.bytes.size())))
            return result;
    }
    return 0;
}

int AArray::Load(AFile& stream) {
    RemoveAll();
    if (const int result = recordio::ReadVersion(stream, kArrayVersion))
        return result;
    uint32_t count = 0;
    if (const int result = recordio::ReadU32(stream, count))
        return result;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        if (const int result = recordio::ReadU32(stream, length))
            return result;
        if (const int result = recordio::CheckRemaining(stream, length))
            return result;
        Item item{NewBlock(length), {}};
        if (!item.copy)
            return kErrorArrayLoadAlloc;
        if (const int result = stream.Read(item.copy.get(), length))
            return result;
        item.bytes = {item.copy.get(), length};
        m_items.push_back(std::move(item));
    }
    return 0;
}
