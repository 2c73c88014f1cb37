#pragma once
// The one text type of the system: UTF-16 text. The system's 8-bit text (paths, logs, 8-bit input
// and the narrow stored forms) converts without loss: valid UTF-8 as UTF-8, and each byte that does
// not decode as a reserved code point (U+DC80 to U+DCFF) that converts back to that very byte.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class AFile;

class AString {
public:
    static constexpr int kMaxRecordBytes = 2048;

    // The stored forms of a text, with the numbers the record formats give them. Narrow forms hold
    // the system's 8-bit text, wide forms UTF-16LE.
    enum class Form : int {
        Narrow = 1,        // the bytes, nothing after them
        NarrowZero = 2,    // then a zero byte
        NarrowLine = 3,    // then CR LF; read up to a line end
        NarrowCounted = 4, // a u16 count of the bytes first
        Wide = 5,          // the characters, nothing after them
        WideZero = 6,      // then a zero character
        WideLine = 7,      // then CR LF as two characters
        WideRecord = 8,    // the string record without its version word
        WideAlias = 9,     // written as Wide; not read
    };

    AString() = default;
    AString(const char* text);
    AString(const char16_t* text); // skips one leading byte-order mark
    explicit AString(std::u16string_view text);
    explicit AString(std::u16string&& text) : m_text(std::move(text)) {}
    explicit AString(const std::string& text) : AString(text.c_str()) {}

    AString& operator=(const char* text);
    AString& operator=(const char16_t* text);
    AString& operator=(char c);
    // Keeps the string's room: a buffer handed out again and again is not reallocated.
    AString& operator=(std::u16string_view text);
    void Assign(const AString* other);

    static AString FromInt(int value);
    static AString FromUInt(uint32_t value);
    static AString FromUInt64(uint64_t value);
    static AString FromUtf8(std::string_view bytes); // invalid sequences give U+FFFD
    static AString FromWindows1252(std::string_view bytes);
    static AString FromSystem8Bit(std::string_view bytes);              // lossless; see above
    static AString FromUtf16LE(const uint8_t* bytes, size_t byteCount); // an odd last byte is dropped

    const std::u16string& GetCString() const { return m_text; }
    const char16_t* GetString() const { return m_text.c_str(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    // Index 0 to the length (which gives the terminating zero); any other throws std::out_of_range.
    char16_t GetAt(int index) const;

    int Compare(const AString& other) const;
    int Compare(const char* other) const;
    int CompareNoCase(const AString& other) const; // folds A-Z only
    int CompareNoCase(const char* other) const;
    bool operator==(const AString& other) const { return m_text == other.m_text; }
    bool operator==(const char* other) const { return Compare(other) == 0; }
    bool IsChar(char16_t c) const { return m_text.size() == 1 && m_text[0] == c; }
    bool IsNumber() const;
    int ToInt(int radix) const;

    int Find(char16_t c, int start = 0) const;
    int Find(const char* text, int start = 0) const;
    int Find(const AString& text, int start, bool caseSensitive) const;
    int ReverseFind(char16_t c) const;

    AString Left(int count) const;
    AString Mid(int index, int count) const;
    AString Mid(int index) const;
    AString Right(int count) const;
    void Insert(int index, const AString& text);
    void Delete(int index, int count = 1);
    int Replace(const char16_t* oldText, const char16_t* newText);
    int Replace(char16_t oldChar, char16_t newChar);
    void MakeUpper(); // a-z only
    void MakeLower(); // A-Z only
    void TrimLeft();
    void TrimRight();
    void Trim();
    AString Trimmed() const;
    // A length at or above the current one leaves the text as it is.
    void Truncate(int length);
    void AppendChar(char16_t c) { m_text.push_back(c); }

    AString& operator+=(const AString& text);
    AString& operator+=(const char* text);
    AString& operator+=(const char16_t* text);
    AString& operator+=(char16_t c);
    AString& operator+=(char c);
    AString& operator+=(int number);
    AString operator+(const AString& text) const;
    AString operator+(const char* text) const;
    AString operator+(const char16_t* text) const;

    // Joins with exactly one path separator at the seam.
    void AppendPath(const AString& part);
    void AppendPath(const char* part);
    // The text after the last '.' of the last path level; empty without one. The levels of a path
    // end at the native separator or at '\\', which another computer's paths use.
    void GetExtension(AString& extension) const;
    // The last path level without its extension.
    AString GetFileTitle() const;
    // The path with the separator at its end; an empty path stays empty, since "/" names the whole disk.
    AString WithTrailingSeparator() const;
    int GetNumberBeforeExtension() const;

    // FF FE, the UTF-16LE characters and one zero character.
    std::vector<uint8_t> GetUTF16WithBOM() const;
    uint32_t GetUTF16WithBOMSize() const { return 2 * static_cast<uint32_t>(m_text.size()) + 4; }
    // Valid UTF-8 (the reserved code points of undecodable bytes give U+FFFD): for formats that
    // must hold UTF-8. Paths and other text for the operating system take ToSystem8Bit.
    std::string ToUtf8() const;
    // The system's 8-bit text, the inverse of FromSystem8Bit: the bytes of a name read from a folder.
    std::string ToSystem8Bit() const;

    // The string record: u32 version, u16 byte count, FF FE, UTF-16LE characters.
    int Serialize(AFile& stream) const;
    int Load(AFile& stream);
    int Read(AFile& stream, Form form, int max);
    int Write(AFile& stream, Form form) const;

private:
    // The count field of the string record: the characters and the byte-order mark, in bytes.
    uint64_t RecordByteCount() const;
    int ReadNarrow(AFile& stream, Form form, int max);
    int ReadWide(AFile& stream, Form form, int max);
    int ReadCountedRecordBody(AFile& stream);

    std::u16string m_text;
};
