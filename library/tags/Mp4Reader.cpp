#include "library/tags/Mp4Reader.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "library/tags/GenreTable.h"
#include "library/tags/ImageKind.h"
#include "library/tags/Mp4Atom.h"
#include "library/tags/SongFieldText.h"
#include "library/tags/SongFields.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

// What an item gives beside a text.
enum class ItemKind { Text, CoverArt, MediaData };

struct ItemRule {
    char type[5];
    ItemKind kind;
    SongField field; // of a text item
};

constexpr ItemRule kItemRules[] = {
    {"\xA9nam", ItemKind::Text, SongField::Title},
    {"\xA9"
     "alb",
     ItemKind::Text, SongField::Album},
    {"\xA9"
     "ART",
     ItemKind::Text, SongField::Artist},
    {"aART", ItemKind::Text, SongField::AlbumArtist},
    {"tvsh", ItemKind::Text, SongField::TVShow},
    {"\xA9gen", ItemKind::Text, SongField::Genre},
    {"gnre", ItemKind::Text, SongField::GenreCode},
    {"\xA9wrt", ItemKind::Text, SongField::Composer},
    {"trkn", ItemKind::Text, SongField::Track},
    {"disk", ItemKind::Text, SongField::Disc},
    {"\xA9"
     "day",
     ItemKind::Text, SongField::Year},
    {"cpil", ItemKind::Text, SongField::Compilation},
    {"stik", ItemKind::Text, SongField::MediaKind},
    {"pcst", ItemKind::Text, SongField::Podcast},
    {"apID", ItemKind::Text, SongField::AccountName},
    {"covr", ItemKind::CoverArt, {}},
    {"mdat", ItemKind::MediaData, {}},
};

// The "data" atom that opens an item's body: size, "data", type code, locale, then the value.
constexpr uint32_t kDataHeaderLength = 16;
constexpr uint32_t kDataTypeAt = 8;
constexpr uint32_t kTypeBinary = 0;
constexpr uint32_t kTypeUtf8 = 1;
constexpr uint32_t kTypeUtf16BE = 2;
constexpr uint32_t kTypeInteger = 21;
constexpr uint32_t kNumberLength = 4;
constexpr uint32_t kMetaVersionAndFlags = 4;
constexpr int kGenreNumberOffset = -1; // "gnre" counts ID3v1 genres from 1
constexpr char16_t kByteOrderMark = 0xFEFF;

const ItemRule* RuleFor(const Mp4Atom& item) {
    for (const ItemRule& rule : kItemRules) {
        if (item.Is(rule.type))
            return &rule;
    }
    return nullptr;
}

bool IsDataAtom(const uint8_t* bytes) {
    return std::memcmp(bytes + 4, "data", 4) == 0;
}

uint32_t BigEndianNumber(const uint8_t* bytes, int64_t count) {
    uint32_t number = 0;
    for (int64_t i = 0; i < count; ++i)
        number = (number << 8) | bytes[i];
    return number;
}

// One or two big-endian numbers, as "a" or "a/b".
AString NumbersText(const uint8_t* value, int64_t length) {
    const uint32_t first = BigEndianNumber(value, std::min<int64_t>(kNumberLength, length));
    const uint32_t second =
        BigEndianNumber(value + kNumberLength, std::clamp<int64_t>(length - kNumberLength, 0, kNumberLength));
    AString text = AString::FromUInt(first);
    if (second > 0)
        text += AString("/") + AString::FromUInt(second);
    return text;
}

AString Utf8Text(const uint8_t* value, uint64_t length) {
    const char* text = reinterpret_cast<const char*>(value);
    return AString::FromUtf8(std::string_view(text, std::find(text, text + length, '\0') - text));
}

// Big-endian units up to the first zero; a leading byte-order mark is skipped, an odd byte dropped.
AString Utf16Text(const uint8_t* value, uint64_t length) {
    std::u16string text;
    for (uint64_t i = 0; i + 1 < length; i += 2) {
        const char16_t unit = LoadBE16(value + i);
        if (unit == 0)
            break;
        if (!(i == 0 && unit == kByteOrderMark))
            text.push_back(unit);
    }
    return AString(text);
}

AString GenreName(const AString& text) {
    return GenreTable::ResolveGenreNumber(text, kGenreNumberOffset);
}

constexpr SongFieldRules kFieldRules{false, &GenreName, 0};

} // namespace

int Mp4Reader::ReadMP4(SongFields& tags, AFile& stream, uint64_t fileLength) {
    Mp4Reader reader(tags, stream, fileLength);
    Mp4Atom atom;
    bool found = false;
    if (const int result = Mp4Atom::ReadAt(stream, 0, fileLength, atom, found))
        return result;
    if (!found || !atom.Is("ftyp") || atom.size >= fileLength)
        return 0;
    static constexpr const char* kPath[] = {"moov", "udta", "meta", "ilst"};
    uint64_t from = atom.End();
    for (const char* type : kPath) {
        if (const int result = reader.FindAtom(from, type, atom, found))
            return result;
        if (!found)
            return 0;
        from = atom.BodyPosition();
        if (atom.Is("meta"))
            from += kMetaVersionAndFlags;
    }
    return reader.WalkItems(from);
}

int Mp4Reader::FindAtom(uint64_t from, const char* type, Mp4Atom& atom, bool& found) {
    found = false;
    uint64_t position = from;
    while (position < m_fileLength) {
        bool valid = false;
        if (const int result = Mp4Atom::ReadAt(m_stream, position, m_fileLength, atom, valid))
            return result;
        if (!valid)
            return 0;
        if (atom.Is(type)) {
            found = true;
            return 0;
        }
        // An atom reaching past the file ends the search; its end could wrap around to an earlier atom.
        if (atom.size > m_fileLength - position)
            return 0;
        position = atom.End();
    }
    return 0;
}

// The walk is not bounded by "ilst": it goes on over whatever follows, so that a "mdat" after the
// metadata gives where the media data lies.
int Mp4Reader::WalkItems(uint64_t from) {
    int result = 0;
    uint64_t position = from;
    while (position < m_fileLength) {
        Mp4Atom item;
        bool valid = false;
        if (const int readResult = Mp4Atom::ReadAt(m_stream, position, m_fileLength, item, valid))
            return readResult;
        if (!valid || item.size > m_fileLength - position)
            return result;
        result = HandleItem(item);
        if (result != 0)
            return result;
        position = item.End();
    }
    m_tags.tagKinds |= SongFields::kTagMP4WalkComplete;
    return result;
}

int Mp4Reader::HandleItem(const Mp4Atom& item) {
    const ItemRule* rule = RuleFor(item);
    if (!rule)
        return 0;
    if (rule->kind == ItemKind::MediaData) {
        m_tags.audioStart = item.BodyPosition();
        m_tags.audioEnd = item.End() - 1;
        return 0;
    }
    if (rule->kind == ItemKind::CoverArt)
        return ReadCoverArt(item);
    AString text;
    bool hasValue = false;
    if (const int result = ReadDataAtom(item, text, hasValue))
        return result;
    if (hasValue)
        ApplySongFieldText(m_tags, rule->field, text, kFieldRules);
    return 0;
}

int Mp4Reader::ReadDataAtom(const Mp4Atom& item, AString& text, bool& hasValue) {
    hasValue = false;
    if (item.BodySize() < kDataHeaderLength || item.BodySize() > UINT32_MAX)
        return 0;
    if (const int result = m_stream.Seek(item.BodyPosition()))
        return result;
    std::vector<uint8_t>& body = m_itemBody;
    if (const int result = recordio::ReadBytes(m_stream, item.BodySize(), body, kErrorOutOfMemory))
        return result;
    if (!IsDataAtom(body.data()))
        return 0;
    const uint8_t* value = body.data() + kDataHeaderLength;
    const uint64_t length = body.size() - kDataHeaderLength;
    switch (LoadBE32(body.data() + kDataTypeAt)) {
    case kTypeBinary:
    case kTypeInteger:
        text = NumbersText(value, static_cast<int64_t>(length));
        break;
    case kTypeUtf8:
        text = Utf8Text(value, length);
        break;
    case kTypeUtf16BE:
        text = Utf16Text(value, length);
        break;
    default:
        return 0;
    }
    hasValue = true;
    return 0;
}

// Every "data" atom of "covr" is one picture.
int Mp4Reader::ReadCoverArt(const Mp4Atom& item) {
    uint64_t position = item.BodyPosition();
    uint64_t remaining = item.BodySize();
    while (remaining >= kDataHeaderLength) {
        uint8_t header[kDataHeaderLength];
        if (const int result = m_stream.Seek(position))
            return result;
        if (const int result = m_stream.Read(header, sizeof header))
            return result;
        const uint64_t atomSize = LoadBE32(header);
        if (!IsDataAtom(header) || atomSize < kDataHeaderLength + kImageSignatureLength ||
            atomSize > remaining)
            return 0;
        ID3Picture picture;
        picture.start = position + kDataHeaderLength;
        picture.length = atomSize - kDataHeaderLength;
        picture.end = picture.start + picture.length - 1;
        uint8_t signature[kImageSignatureLength];
        if (const int result = m_stream.Read(signature, sizeof signature))
            return result;
        picture.kind = PictureKindOf(signature, sizeof signature);
        m_tags.pictures.push_back(picture);
        remaining -= atomSize;
        position += atomSize;
    }
    return 0;
}
