#include "foundation/AArray.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

namespace {
constexpr uint32_t kArrayVersion = 0x00100002;
}

AArray::~AArray() {
    RemoveAll();
}

void AArray::CheckIndex(int index) const {
    if (index < 0 || index >= GetCount())
        throw std::out_of_range("AArray index");
}

uint8_t* AArray::GetAt(int index) const {
    CheckIndex(index);
    return m_items[index].data;
}

uint32_t AArray::GetLength(int index) const {
    CheckIndex(index);
    return m_items[index].length;
}

uint32_t AArray::GetData(int index, void* buffer, int size) const {
    CheckIndex(index);
    if (size < 1)
        return 0;
    const uint32_t count = std::min<uint32_t>(static_cast<uint32_t>(size), m_items[index].length);
    if (count > 0)
        std::memcpy(buffer, m_items[index].data, count);
    return count;
}

void AArray::Add(void* data, uint32_t length) {
    m_items.push_back({static_cast<uint8_t*>(data), length, false});
}

void AArray::InsertAt(void* data, uint32_t length, int index) {
    index = std::clamp(index, 0, GetCount());
    m_items.insert(m_items.begin() + index, {static_cast<uint8_t*>(data), length, false});
}

uint8_t* AArray::CopyOf(const void* data, uint32_t length) {
    auto* copy = new (std::nothrow) uint8_t[std::max<uint32_t>(length, 1)];
    if (copy && length > 0)
        std::memcpy(copy, data, length);
    return copy;
}

int AArray::AddCopy(const void* data, uint32_t length) {
    uint8_t* copy = CopyOf(data, length);
    if (!copy)
        return kErrorOutOfMemory;
    m_items.push_back({copy, length, true});
    return 0;
}

int AArray::InsertCopyAt(const void* data, uint32_t length, int index) {
    uint8_t* copy = CopyOf(data, length);
    if (!copy)
        return kErrorOutOfMemory;
    index = std::clamp(index, 0, GetCount());
    m_items.insert(m_items.begin() + index, {copy, length, true});
    return 0;
}

void AArray::RemoveAt(int index) {
    CheckIndex(index);
    if (m_items[index].owned)
        delete[] m_items[index].data;
    m_items.erase(m_items.begin() + index);
}

void AArray::RemoveAll() {
    for (const AArrayObject& item : m_items) {
        if (item.owned)
            delete[] item.data;
    }
    m_items.clear();
    m_items.shrink_to_fit();
}

int AArray::Serialize(AFile& stream) const {
    if (const int result = recordio::WriteU32(stream, kArrayVersion))
        return result;
    if (const int result = recordio::WriteU32(stream, static_cast<uint32_t>(m_items.size())))
        return result;
    for (const AArrayObject& item : m_items) {
        if (const int result = recordio::WriteU32(stream, item.length))
            return result;
        if (const int result = stream.Write(item.data, item.length))
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
        std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[std::max<uint32_t>(length, 1)]);
        if (!block)
            return kErrorArrayLoadAlloc;
        if (const int result = stream.Read(block.get(), length))
            return result;
        m_items.push_back({block.release(), length, true});
    }
    return 0;
}
