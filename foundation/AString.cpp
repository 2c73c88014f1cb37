#include "foundation/AString.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "foundation/TextUnits.h"
#include "platform/files/PathSeparator.h"
#include "platform/text/TextCodec.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {

constexpr uint32_t kStringVersion = 0x00100002;
constexpr char16_t kByteOrderMark = 0xFEFF;

int Sign(int value) {
    return (value > 0) - (value < 0);
}

std::u16string FromEightBit(const char* text) {
    return text ? textcodec::DecodeSystem8Bit(text) : std::u16string();
}

std::u16string FromEightBitChar(char c) {
    return textcodec::DecodeSystem8Bit(std::string_view(&c, 1));
}

std::u16string WithoutByteOrderMark(const char16_t* text) {
    if (!text)
        return {};
    return std::u16string(text[0] == kByteOrderMark ? text + 1 : text);
}

// Reads what is there, up to `length` bytes: a memory stream that ends early counts as nothing read.
int ReadAvailable(AFile& stream, void* buffer, uint32_t length, uint32_t& got) {
    const int result = stream.Read(buffer, length, &got);
    if (result == stream.ShortReadError()) {
        got = 0;
        return 0;
    }
    return result;
}

void AppendUtf16LE(std::vector<uint8_t>& out, const std::u16string& text) {
    for (char16_t c : text) {
        uint8_t unit[2];
        StoreLE16(unit, c);
        out.insert(out.end(), std::begin(unit), std::end(unit));
    }
}

} // namespace

AString::AString(const char* text) : m_text(FromEightBit(text)) {}
AString::AString(const char16_t* text) : m_text(WithoutByteOrderMark(text)) {}
AString::AString(std::u16string_view text) : m_text(text) {}

AString& AString::operator=(const char* text) {
    m_text = FromEightBit(text);
    return *this;
}

AString& AString::operator=(const char16_t* text) {
    m_text = WithoutByteOrderMark(text);
    return *this;
}

AString& AString::operator=(std::u16string_view text) {
    m_text.assign(text);
    return *this;
}

AString& AString::operator=(char c) {
    m_text = FromEightBitChar(c);
    return *this;
}

void AString::Assign(const AString* other) {
    if (other != this)
        m_text = other ? other->m_text : std::u16string();
}

AString AString::FromInt(int value) {
    return AString(std::to_string(value).c_str());
}
AString AString::FromUInt(uint32_t value) {
    return AString(std::to_string(value).c_str());
}
AString AString::FromUInt64(uint64_t value) {
    return AString(std::to_string(value).c_str());
}
AString AString::FromUtf8(std::string_view bytes) {
    return AString(textcodec::DecodeUtf8(bytes));
}
AString AString::FromWindows1252(std::string_view bytes) {
    return AString(textcodec::DecodeWindows1252(bytes));
}
AString AString::FromSystem8Bit(std::string_view bytes) {
    return AString(textcodec::DecodeSystem8Bit(bytes));
}

AString AString::FromUtf16LE(const uint8_t* bytes, size_t byteCount) {
    AString result;
    result.m_text.resize(byteCount / 2);
    for (size_t i = 0; i < byteCount / 2; ++i)
        result.m_text[i] = LoadLE16(bytes + 2 * i);
    return result;
}

char16_t AString::GetAt(int index) const {
    if (index < 0 || index > GetLength())
        throw std::out_of_range("AString::GetAt");
    return m_text.c_str()[index];
}

int AString::Compare(const AString& other) const {
    return Sign(m_text.compare(other.m_text));
}
int AString::Compare(const char* other) const {
    return Compare(AString(other));
}

int AString::CompareNoCase(const AString& other) const {
    const size_t common = std::min(m_text.size(), other.m_text.size());
    for (size_t i = 0; i < common; ++i) {
        const int difference = int(FoldedToLowerAZ(m_text[i])) - int(FoldedToLowerAZ(other.m_text[i]));
        if (difference != 0)
            return difference;
    }
    return int(m_text.size() > common) - int(other.m_text.size() > common);
}

int AString::CompareNoCase(const char* other) const {
    return CompareNoCase(AString(other));
}

bool AString::IsNumber() const {
    return !m_text.empty() &&
           std::all_of(m_text.begin(), m_text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

int AString::ToInt(int radix) const {
    if (radix != 10 && radix != 16)
        return 0;
    const std::string text = ToUtf8();
    try {
        return static_cast<int>(std::stol(text, nullptr, radix));
    } catch (const std::exception&) {
        return 0;
    }
}

int AString::Find(char16_t c, int start) const {
    if (start < 0 || start >= GetLength())
        return -1;
    const size_t found = m_text.find(c, start);
    return found == std::u16string::npos ? -1 : static_cast<int>(found);
}

int AString::Find(const char* text, int start) const {
    return Find(AString(text), start, true);
}

int AString::Find(const AString& text, int start, bool caseSensitive) const {
    if (start < 0 || start > GetLength() || text.m_text.empty())
        return -1;
    if (caseSensitive) {
        const size_t found = m_text.find(text.m_text, start);
        return found == std::u16string::npos ? -1 : static_cast<int>(found);
    }
    AString haystack(*this);
    AString needle(text);
    haystack.MakeUpper();
    needle.MakeUpper();
    return haystack.Find(needle, start, true);
}

int AString::ReverseFind(char16_t c) const {
    const size_t found = m_text.rfind(c);
    return found == std::u16string::npos ? -1 : static_cast<int>(found);
}

AString AString::Left(int count) const {
    return AString(std::u16string_view(m_text).substr(0, std::max(count, 0)));
}

AString AString::Mid(int index, int count) const {
    index = std::max(index, 0);
    if (index >= GetLength() || count <= 0)
        return AString();
    return AString(std::u16string_view(m_text).substr(index, count));
}

AString AString::Mid(int index) const {
    return Mid(index, GetLength());
}

AString AString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return AString(std::u16string_view(m_text).substr(m_text.size() - count));
}

void AString::Insert(int index, const AString& text) {
    m_text.insert(std::clamp(index, 0, GetLength()), text.m_text);
}

void AString::Delete(int index, int count) {
    if (index < 0 || index >= GetLength() || count <= 0)
        return;
    m_text.erase(index, count);
}

int AString::Replace(const char16_t* oldText, const char16_t* newText) {
    const std::u16string from = oldText ? oldText : u"";
    const std::u16string to = newText ? newText : u"";
    if (from.empty())
        return 0;
    int replaced = 0;
    for (size_t at = m_text.find(from); at != std::u16string::npos; at = m_text.find(from, at + to.size())) {
        m_text.replace(at, from.size(), to);
        ++replaced;
    }
    return replaced;
}

int AString::Replace(char16_t oldChar, char16_t newChar) {
    int replaced = 0;
    for (char16_t& c : m_text) {
        if (c == oldChar) {
            c = newChar;
            ++replaced;
        }
    }
    return replaced;
}

void AString::MakeUpper() {
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), FoldedToUpperAZ);
}
void AString::MakeLower() {
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), FoldedToLowerAZ);
}

void AString::TrimLeft() {
    const auto first = std::find_if_not(m_text.begin(), m_text.end(), IsTrimmedSpace);
    m_text.erase(m_text.begin(), first);
}

void AString::TrimRight() {
    while (!m_text.empty() && IsTrimmedSpace(m_text.back()))
        m_text.pop_back();
}

void AString::Trim() {
    TrimRight();
    TrimLeft();
}

AString AString::Trimmed() const {
    AString copy(*this);
    copy.Trim();
    return copy;
}

void AString::Truncate(int length) {
    if (length < 0)
        throw std::out_of_range("AString::Truncate");
    if (length < GetLength())
        m_text.resize(length);
}

AString& AString::operator+=(const AString& text) {
    m_text += text.m_text;
    return *this;
}

AString& AString::operator+=(const char* text) {
    m_text += FromEightBit(text);
    return *this;
}

AString& AString::operator+=(const char16_t* text) {
    if (text)
        m_text += text;
    return *this;
}

AString& AString::operator+=(char16_t c) {
    m_text.push_back(c);
    return *this;
}

AString& AString::operator+=(char c) {
    m_text += FromEightBitChar(c);
    return *this;
}

AString& AString::operator+=(int number) {
    return *this += FromInt(number);
}

AString AString::operator+(const AString& text) const {
    AString result(*this);
    return result += text;
}

AString AString::operator+(const char* text) const {
    AString result(*this);
    return result += text;
}

AString AString::operator+(const char16_t* text) const {
    AString result(*this);
    return result += text;
}

void AString::AppendPath(const AString& part) {
    if (!m_text.empty() && m_text.back() == kPathSeparator)
        m_text.pop_back();
    if (part.m_text.empty() || part.m_text.front() != kPathSeparator)
        m_text.push_back(kPathSeparator);
    m_text += part.m_text;
}

void AString::AppendPath(const char* part) {
    AppendPath(AString(part));
}

namespace {

// Where the last path level starts.
int LastLevelStart(const AString& path) {
    return std::max(path.ReverseFind(kPathSeparator), path.ReverseFind(u'\\')) + 1;
}

} // namespace

void AString::GetExtension(AString& extension) const {
    const int dot = ReverseFind(u'.');
    extension = dot < 0 || dot < LastLevelStart(*this) ? AString() : Mid(dot + 1);
}

AString AString::GetFileTitle() const {
    const AString name = Mid(LastLevelStart(*this));
    const int dot = name.ReverseFind(u'.');
    return dot < 0 ? name : name.Left(dot);
}

AString AString::WithTrailingSeparator() const {
    AString path(*this);
    if (!path.IsEmpty() && path.m_text.back() != kPathSeparator)
        path.m_text.push_back(kPathSeparator);
    return path;
}

int AString::GetNumberBeforeExtension() const {
    const int blank = ReverseFind(u' ');
    const int dot = ReverseFind(u'.');
    if (blank < 0 || dot <= blank + 1)
        return 0;
    const AString digits = Mid(blank + 1, dot - blank - 1);
    return digits.IsNumber() ? digits.ToInt(10) : 0;
}

std::vector<uint8_t> AString::GetUTF16WithBOM() const {
    std::vector<uint8_t> bytes{0xFF, 0xFE};
    bytes.reserve(GetUTF16WithBOMSize());
    AppendUtf16LE(bytes, m_text);
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

std::string AString::ToUtf8() const {
    return textcodec::EncodeUtf8(m_text);
}

std::string AString::ToSystem8Bit() const {
    return textcodec::EncodeSystem8Bit(m_text);
}

uint64_t AString::RecordByteCount() const {
    return 2 * uint64_t(m_text.size()) + 2;
}

int AString::Serialize(AFile& stream) const {
    if (RecordByteCount() > kMaxRecordBytes)
        return kErrorStringTooLong;
    if (const int result = recordio::WriteU32(stream, kStringVersion))
        return result;
    return Write(stream, Form::WideRecord);
}

int AString::Load(AFile& stream) {
    if (const int result = recordio::ReadVersion(stream, kStringVersion))
        return result;
    return ReadCountedRecordBody(stream);
}

int AString::ReadCountedRecordBody(AFile& stream) {
    uint8_t countBytes[2];
    uint32_t got = 0;
    if (const int result = ReadAvailable(stream, countBytes, 2, got))
        return result;
    if (got < 2) {
        m_text.clear();
        return kErrorEndOfStream;
    }
    const uint32_t count = LoadLE16(countBytes);
    if (count > kMaxRecordBytes)
        return kErrorStringTooLong;
    uint8_t body[kMaxRecordBytes];
    if (const int result = ReadAvailable(stream, body, count, got))
        return result;
    if (got < count)
        return kErrorStringShort;
    *this = count < 2 ? AString() : FromUtf16LE(body + 2, count - 2);
    return 0;
}

namespace {

enum class Ending { None, Zero, Line };

// What each stored form is.
struct FormRule {
    AString::Form form;
    bool narrow;
    bool counted;  // a u16 count first: of the bytes (narrow), or the record's count and FF FE (wide)
    Ending ending; // written after the text; a read stops there
    bool readable;
    int writeOutOfMemory;
};

constexpr FormRule kFormRules[] = {
    {AString::Form::Narrow, true, false, Ending::None, true, kErrorStringWriteForm1},
    {AString::Form::NarrowZero, true, false, Ending::Zero, true, kErrorStringWriteForm2},
    {AString::Form::NarrowLine, true, false, Ending::Line, true, kErrorStringWriteForm3},
    {AString::Form::NarrowCounted, true, true, Ending::None, true, kErrorStringWriteForm4},
    {AString::Form::Wide, false, false, Ending::None, true, kErrorOutOfMemory},
    {AString::Form::WideZero, false, false, Ending::Zero, true, kErrorOutOfMemory},
    {AString::Form::WideLine, false, false, Ending::Line, true, kErrorOutOfMemory},
    {AString::Form::WideRecord, false, true, Ending::None, true, kErrorOutOfMemory},
    {AString::Form::WideAlias, false, false, Ending::None, false, kErrorOutOfMemory},
};

const FormRule* RuleOf(AString::Form form) {
    for (const FormRule& rule : kFormRules) {
        if (rule.form == form)
            return &rule;
    }
    return nullptr;
}

void AppendEnding(std::vector<uint8_t>& bytes, const FormRule& rule) {
    static constexpr uint8_t kNarrowLine[] = {'\r', '\n'};
    static constexpr uint8_t kWideLine[] = {'\r', 0, '\n', 0};
    if (rule.ending == Ending::Zero)
        bytes.insert(bytes.end(), rule.narrow ? 1 : 2, 0);
    else if (rule.ending == Ending::Line && rule.narrow)
        bytes.insert(bytes.end(), std::begin(kNarrowLine), std::end(kNarrowLine));
    else if (rule.ending == Ending::Line)
        bytes.insert(bytes.end(), std::begin(kWideLine), std::end(kWideLine));
}

void AppendLE16(std::vector<uint8_t>& bytes, uint64_t value) {
    uint8_t field[2];
    StoreLE16(field, static_cast<uint16_t>(value));
    bytes.insert(bytes.end(), std::begin(field), std::end(field));
}

} // namespace

int AString::Write(AFile& stream, Form form) const {
    const FormRule* rule = RuleOf(form);
    if (!rule)
        return kErrorStringWriteForm;
    std::vector<uint8_t> bytes;
    try {
        std::vector<uint8_t> text;
        if (rule->narrow) {
            const std::string narrow = ToSystem8Bit();
            text.assign(narrow.begin(), narrow.end());
        } else {
            AppendUtf16LE(text, m_text);
        }
        if (rule->counted) {
            const uint64_t count = rule->narrow ? text.size() : RecordByteCount();
            if (count > kMaxRecordBytes)
                return kErrorStringTooLong;
            AppendLE16(bytes, count);
            if (!rule->narrow)
                AppendUtf16LE(bytes, std::u16string(1, kByteOrderMark));
        }
        bytes.insert(bytes.end(), text.begin(), text.end());
        AppendEnding(bytes, *rule);
    } catch (const std::bad_alloc&) {
        return rule->writeOutOfMemory;
    }
    return stream.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

int AString::Read(AFile& stream, Form form, int max) {
    if (max > kMaxRecordBytes)
        return kErrorStringReadMax;
    const FormRule* rule = RuleOf(form);
    if (!rule || !rule->readable)
        return kErrorStringReadForm;
    if (form == Form::WideRecord)
        return ReadCountedRecordBody(stream);
    return rule->narrow ? ReadNarrow(stream, form, max) : ReadWide(stream, form, max);
}

int AString::ReadNarrow(AFile& stream, Form form, int max) {
    const FormRule& rule = *RuleOf(form);
    m_text.clear();
    std::string bytes;
    uint32_t got = 0;
    if (rule.counted) {
        uint8_t countBytes[2];
        if (const int result = ReadAvailable(stream, countBytes, 2, got))
            return result;
        if (got < 2)
            return stream.ShortReadError();
        max = LoadLE16(countBytes);
        if (max > kMaxRecordBytes)
            return kErrorStringTooLong;
    }
    if (max <= 0)
        return 0;
    if (rule.ending == Ending::None) {
        bytes.resize(max);
        if (const int result = ReadAvailable(stream, bytes.data(), max, got))
            return result;
        bytes.resize(got);
        *this = FromSystem8Bit(bytes);
        if (got == 0)
            return stream.ShortReadError();
        return (rule.counted && got < static_cast<uint32_t>(max)) ? kErrorStringShort : 0;
    }
    // Byte by byte up to the ending.
    const char last = rule.ending == Ending::Zero ? '\0' : '\n';
    for (int i = 0; i < max; ++i) {
        char byte;
        if (const int result = ReadAvailable(stream, &byte, 1, got))
            return result;
        if (got == 0) {
            if (i == 0)
                return stream.ShortReadError();
            break;
        }
        if (byte == last)
            break;
        bytes.push_back(byte);
    }
    if (rule.ending == Ending::Line && !bytes.empty() && bytes.back() == '\r')
        bytes.pop_back();
    *this = FromSystem8Bit(bytes);
    return 0;
}

int AString::ReadWide(AFile& stream, Form form, int max) {
    const FormRule& rule = *RuleOf(form);
    m_text.clear();
    uint32_t got = 0;
    if (rule.ending == Ending::None) {
        if (max <= 0)
            return 0;
        std::vector<uint8_t> bytes(max);
        if (const int result = ReadAvailable(stream, bytes.data(), max, got))
            return result;
        *this = FromUtf16LE(bytes.data(), got);
        return got == 0 ? stream.ShortReadError() : 0;
    }
    // Character by character up to the ending, at most the record limit.
    std::u16string text;
    for (int bytesRead = 0; bytesRead < kMaxRecordBytes; bytesRead += 2) {
        uint8_t unit[2];
        if (const int result = ReadAvailable(stream, unit, 2, got))
            return result;
        if (got < 2) {
            if (bytesRead == 0)
                return stream.ShortReadError();
            break;
        }
        const char16_t c = LoadLE16(unit);
        if (rule.ending == Ending::Zero && c == 0)
            break;
        if (rule.ending == Ending::Line && c == u'\n' && !text.empty() && text.back() == u'\r') {
            text.pop_back();
            break;
        }
        text.push_back(c);
    }
    m_text = std::move(text);
    return 0;
}
