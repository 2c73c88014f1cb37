#include "library/tags/ID3v2Reader.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "library/tags/GenreTable.h"
#include "library/tags/ID3.h"
#include "library/tags/ID3v2FrameWalk.h"
#include "library/tags/ID3v2Text.h"
#include "library/tags/ImageKind.h"
#include "library/tags/TagNumbers.h"
#include "library/tags/Unsynchronisation.h"

#include <new>
#include <optional>

namespace {

enum Field {
    kTitle,
    kAlbum,
    kArtist,
    kAlbumArtist,
    kGenre,
    kComposer,
    kPicture,
    kTrack,
    kDisc,
    kYear,
    kCompilation,
    kPodcast
};

struct FrameRule {
    const char* idV22;
    const char* idV23; // also the ID3v2.4 id
    int minVersion;
    Field field;
};

constexpr FrameRule kFrameRules[] = {
    {"TT2", "TIT2", 2, kTitle},       {"TAL", "TALB", 2, kAlbum}, {"TP1", "TPE1", 2, kArtist},
    {"TP2", "TPE2", 2, kAlbumArtist}, {"TCO", "TCON", 2, kGenre}, {"TCM", "TCOM", 2, kComposer},
    {"PIC", "APIC", 2, kPicture},     {"TRK", "TRCK", 2, kTrack}, {"TPA", "TPOS", 2, kDisc},
    {"TYE", "TYER", 2, kYear},        {"", "TDRC", 4, kYear},     {"TCP", "TCMP", 2, kCompilation},
    {"PCS", "PCST", 2, kPodcast},
};

// Second flag byte of a frame.
constexpr uint8_t kV23Compression = 0x80;
constexpr uint8_t kV23Encryption = 0x40;
constexpr uint8_t kV24Compression = 0x08;
constexpr uint8_t kV24Encryption = 0x04;
constexpr uint8_t kV24Unsynchronised = 0x02;
constexpr uint8_t kV24DataLengthIndicator = 0x01;

constexpr uint32_t kImageFormatLength = 3; // "JPG" in an ID3v2.2 picture frame
constexpr int kYearDigits = 4;

const FrameRule* RuleFor(const ID3v2Frame& frame, int version) {
    for (const FrameRule& rule : kFrameRules) {
        if (version >= rule.minVersion && frame.Is(version == 2 ? rule.idV22 : rule.idV23))
            return &rule;
    }
    return nullptr;
}

} // namespace

struct ID3v2Reader::FrameContent {
    const uint8_t* data = nullptr;
    uint64_t size = 0;
    std::vector<uint8_t> decoded;
    std::optional<unsynchronisation::RawOffsets> rawOffsets; // when the frame was unsynchronised
    uint64_t tagOffset = 0;                                  // of the frame body in the tag body

    uint64_t TagOffsetOf(uint64_t offset) {
        return tagOffset + (rawOffsets ? rawOffsets->Of(offset) : offset);
    }
};

int ID3v2Reader::ReadID3v2(ID3& tags, AFile& stream, uint64_t fileLength) {
    if (fileLength < ID3v2Header::kLength)
        return kErrorInconsistentSize;
    uint8_t bytes[ID3v2Header::kLength];
    if (const int result = stream.Read(bytes, sizeof bytes))
        return result;
    ID3v2Header header;
    if (!header.Parse(bytes))
        return stream.Seek(0);
    tags.ResetTagFields();
    if (header.version < 2 || header.version > 4)
        return kErrorVersion;
    ID3v2Reader reader(tags, header, stream.GetPosition());
    return reader.ReadFrames(stream);
}

ID3v2Reader::ID3v2Reader(ID3& tags, const ID3v2Header& header, uint64_t bodyPosition)
    : m_tags(tags), m_header(header), m_bodyPosition(bodyPosition) {}

int ID3v2Reader::ReadFrames(AFile& stream) {
    static constexpr uint32_t kTagKindOfVersion[] = {0, 0, ID3::kTagID3v22, ID3::kTagID3v23, ID3::kTagID3v24};
    const int version = m_header.version;
    m_tags.tagKinds |= kTagKindOfVersion[version];
    m_tags.audioStart = uint64_t(m_header.bodySize) + ID3v2Header::kLength;
    if (version == 4 && m_header.Has(ID3v2Header::kFooter))
        m_tags.audioStart += ID3v2Header::kFooterLength;
    if (version == 2 && m_header.Has(ID3v2Header::kExtendedHeader))
        return kErrorCompressed;
    if (const int result = ReadBody(stream))
        return result;
    if (version == 4 && m_header.Has(ID3v2Header::kExtendedHeader))
        return kErrorExtendedHeader;
    if (version == 4 && m_header.Has(ID3v2Header::kFooter))
        return kErrorFooter;
    ID3v2FrameWalk walk(m_body, m_bodySize, version, m_header.FramesStart(m_body, m_bodySize));
    ID3v2Frame frame;
    while (walk.Next(frame))
        HandleFrame(frame);
    return 0;
}

int ID3v2Reader::ReadBody(AFile& stream) {
    if (const int result = recordio::CheckRemaining(stream, m_header.bodySize))
        return result;
    try {
        m_raw.resize(m_header.bodySize);
    } catch (const std::bad_alloc&) {
        return kErrorOutOfMemory;
    }
    if (const int result = stream.Read(m_raw.data(), m_header.bodySize))
        return result;
    // Before ID3v2.4 the whole tag is unsynchronised; from ID3v2.4 on each frame says so itself.
    if (m_header.version < 4 && m_header.Has(ID3v2Header::kUnsynchronisation)) {
        m_decoded = unsynchronisation::Decode(m_raw.data(), m_raw.size());
        m_rawOffsets.emplace(m_raw.data(), m_raw.size());
        m_body = m_decoded.data();
        m_bodySize = m_decoded.size();
    } else {
        m_body = m_raw.data();
        m_bodySize = m_raw.size();
    }
    return 0;
}

bool ID3v2Reader::IsRefused(const ID3v2Frame& frame) const {
    if (m_header.version == 3)
        return (frame.formatFlags & (kV23Compression | kV23Encryption)) != 0;
    if (m_header.version == 4)
        return (frame.formatFlags & (kV24Compression | kV24Encryption | kV24DataLengthIndicator)) != 0;
    return false;
}

ID3v2Reader::FrameContent ID3v2Reader::ContentOf(const ID3v2Frame& frame) const {
    FrameContent content;
    content.tagOffset = frame.BodyOffset();
    const uint8_t* raw = m_body + frame.BodyOffset();
    const bool unsynchronised = m_header.version == 4 && ((frame.formatFlags & kV24Unsynchronised) != 0 ||
                                                          m_header.Has(ID3v2Header::kUnsynchronisation));
    if (unsynchronised) {
        content.decoded = unsynchronisation::Decode(raw, frame.size);
        content.rawOffsets.emplace(raw, frame.size);
        content.data = content.decoded.data();
        content.size = content.decoded.size();
    } else {
        content.data = raw;
        content.size = frame.size;
    }
    return content;
}

void ID3v2Reader::HandleFrame(const ID3v2Frame& frame) {
    const FrameRule* rule = RuleFor(frame, m_header.version);
    if (!rule)
        return;
    if (rule->field == kPodcast) {
        m_tags.podcast = 1;
        return;
    }
    const bool refused = IsRefused(frame);
    if (rule->field == kPicture) {
        if (!refused) {
            FrameContent content = ContentOf(frame);
            ReadPicture(content);
        }
        return;
    }
    if (refused) {
        ApplyText(rule->field, AString());
        return;
    }
    const FrameContent content = ContentOf(frame);
    ApplyText(rule->field, ID3v2Text::Decode(content.data, content.size, m_header.version));
}

void ID3v2Reader::ApplyText(int field, const AString& text) {
    const bool v24 = m_header.version == 4;
    switch (field) {
    case kTitle:
        m_tags.title = text;
        break;
    case kAlbum:
        m_tags.album = text;
        break;
    case kArtist:
        if (!v24 || m_tags.artist.IsEmpty())
            m_tags.artist = text;
        break;
    case kAlbumArtist:
        if (v24 || m_tags.artist.IsEmpty())
            m_tags.artist = text;
        break;
    case kGenre:
        m_tags.genre = GenreTable::ResolveGenreV2(text);
        break;
    case kComposer:
        m_tags.composer = text;
        break;
    case kTrack:
        m_tags.trackNumber = TrackNumberOf(text);
        break;
    case kDisc:
        DiscNumbersOf(text, m_tags.discNumber, m_tags.discCount);
        break;
    case kYear:
        m_tags.year = text.GetLength() < kYearDigits ? 0 : LeadingNumber(text);
        break;
    case kCompilation:
        m_tags.compilation = LeadingNumber(text);
        break;
    }
}

// PIC: encoding, image format (3), picture type, description, image.
// APIC: encoding, MIME type (zero-terminated), picture type, description, image.
void ID3v2Reader::ReadPicture(FrameContent& content) {
    const uint8_t* data = content.data;
    const uint64_t size = content.size;
    if (size == 0)
        return;
    const uint8_t encoding = data[0];
    const bool acceptedEncoding = encoding == ID3v2Text::kLatin1 || encoding == ID3v2Text::kUtf16 ||
                                  (m_header.version == 4 && ID3v2Text::IsKnownEncoding(encoding, 4));
    if (!acceptedEncoding)
        return;
    uint64_t offset = 1;
    if (m_header.version == 2) {
        offset += kImageFormatLength;
    } else {
        const uint64_t mimeLength = ID3v2Text::TerminatedLength(data, offset, size, ID3v2Text::kLatin1);
        if (mimeLength == 0)
            return;
        offset += mimeLength;
    }
    ++offset; // picture type
    if (offset >= size)
        return;
    const uint64_t descriptionLength = ID3v2Text::TerminatedLength(data, offset, size, encoding);
    if (descriptionLength == 0 || offset + descriptionLength >= size)
        return;
    offset += descriptionLength;
    ID3Picture picture;
    picture.length = size - offset;
    picture.kind = PictureKindOf(data + offset, picture.length);
    picture.start = FileOffsetOf(content.TagOffsetOf(offset));
    picture.end = FileOffsetOf(content.TagOffsetOf(size - 1));
    m_tags.pictures.push_back(picture);
}

uint64_t ID3v2Reader::FileOffsetOf(uint64_t tagOffset) {
    if (!m_rawOffsets)
        return m_bodyPosition + tagOffset;
    return m_bodyPosition + m_rawOffsets->Of(tagOffset);
}
