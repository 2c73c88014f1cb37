#pragma once
// A growable array of byte blobs; each entry owns a copy of its bytes or only points at the caller's.
// Saves itself as a version-worded record.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class AFile;

class AArray {
public:
    AArray() = default;
    AArray(const AArray&) = delete;
    AArray& operator=(const AArray&) = delete;

    int GetCount() const { return static_cast<int>(m_items.size()); }
    // An index outside 0 to count - 1 throws std::out_of_range.
    uint8_t* GetAt(int index) const;
    uint32_t GetLength(int index) const;
    // Copies at most the buffer's size and at most the entry's length; returns how many.
    uint32_t GetData(int index, std::span<uint8_t> buffer) const;

    // Entries that point at the caller's bytes, which must outlive them.
    void Add(std::span<uint8_t> bytes);
    void AddPointer(void* pointer) { Add({static_cast<uint8_t*>(pointer), sizeof pointer}); }
    void InsertAt(std::span<uint8_t> bytes, int index);
    // Entries that own a copy of the bytes; 0, or -108 when there is no memory for it.
    int AddCopy(std::span<const uint8_t> bytes);
    int InsertCopyAt(std::span<const uint8_t> bytes, int index);

    void RemoveAt(int index);
    void RemoveAll();

    int Serialize(AFile& stream) const;
    // Empties the array first; entries read before a failure stay.
    int Load(AFile& stream);

private:
    struct Item {
        std::unique_ptr<uint8_t[]> copy; // the entry's own bytes; null for the caller's
        std::span<uint8_t> bytes;
    };

    static Item CopyOf(std::span<const uint8_t> bytes);
    void CheckIndex(int index) const;
    void Insert(Item item, int index);

    std::vector<Item> m_items;
};
