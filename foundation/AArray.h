#pragma once
// A growable array of byte blobs; each entry owns its bytes or only points at them. Saves itself as
// a version-worded record.

#include <cstdint>
#include <vector>

class AFile;

class AArray {
public:
    struct AArrayObject {
        uint8_t* data = nullptr;
        uint32_t length = 0;
        bool owned = false;
    };

    AArray() = default;
    AArray(const AArray&) = delete;
    AArray& operator=(const AArray&) = delete;
    ~AArray();

    int GetCount() const { return static_cast<int>(m_items.size()); }
    // An index outside 0 to count - 1 throws std::out_of_range.
    uint8_t* GetAt(int index) const;
    uint32_t GetLength(int index) const;
    // Copies at most `size` bytes and at most the entry's length; returns how many.
    uint32_t GetData(int index, void* buffer, int size) const;

    // Entries that point at the caller's bytes, which must outlive them.
    void Add(void* data, uint32_t length);
    void AddPointer(void* pointer) { Add(pointer, sizeof pointer); }
    void InsertAt(void* data, uint32_t length, int index);
    // Entries that own a copy of the bytes.
    int AddCopy(const void* data, uint32_t length);
    int InsertCopyAt(const void* data, uint32_t length, int index);

    void RemoveAt(int index);
    void RemoveAll();

    int Serialize(AFile& stream) const;
    // Empties the array first; entries read before a failure stay.
    int Load(AFile& stream);

private:
    static uint8_t* CopyOf(const void* data, uint32_t length);
    void CheckIndex(int index) const;

    std::vector<AArrayObject> m_items;
};
