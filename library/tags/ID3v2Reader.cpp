#include "library/tags/ID3v2Reader.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "library/tags/GenreTable.h"
#include "library/tags/ID3v2ExtendedHeader.h"
#include "library/tags/ID3v2FrameWalk.h"
#include "library/tags/ID3v2Text.h"
#include "library/tags/ImageKind.h"
#include "library/tags/SongFieldText.h"
#include "library/tags/SongFields.h"
#include "library/tags/Unsynchronisation.h"

#include <algorithm>
#include <optional>

namespace {

struct TextFrameRule {
    const char* idV22;
    const char* idV23; // also the ID3v2.4 id
    int minVersion;
    SongField field;
};

constexpr TextFrameRule kTextFrames[] = {
    {"TT2", "TIT2", 2, SongField::Title},       {"TAL", "TALB", 2, SongField::Album},
    {"TP1", "TPE1", 2, SongField::Artist},      {"TP2", "TPE2", 2, SongField::AlbumArtist},
    {"TCO", "TCON", 2, SongField::Genre},       {"TCM", "TCOM", 2, SongField::Composer},
    {"TRK", "TRCK", 2, SongField::Track},       {"TPA", "TPOS", 2, SongField::Disc},
    {"TYE", "TYER", 2, SongField::Year},        {"", "TDRC", 4, SongField::Year},
    {"TCP", "TCMP", 2, SongField::Compilation},
};

// The frames that hold no text: an embedded picture, and the mark of a podcast.
constexpr const char* kPictureIds[] = {"PIC", "APIC"};
constexpr const char* kPodcastIds[] = {"PCS", "PCST"};

constexpr uint32_t kImageFormatLength = 3; // "JPG" in an ID3v2.2 picture frame
// How much of a picture frame is read for its fields and its image's signature, and by how much more
// while they are not all there.
constexpr uint64_t kPictureFieldsLength = 512;
constexpr uint64_t kPictureFieldsGrowth = 4;
constexpr int kYearDigits = 4;

SongFieldRules RulesFor(int version) {
    // From ID3v2.4 on the album artist (TPE2) names the artist.
    return {version == 4, &GenreTable::ResolveGenreV2, kYearDigits};
}

// An ID3v2 tag replaces every field an ID3v1 block gave; what the file itself says stays.
void ClearTagFields(SongFields& fields) {
    SongFields cleared;
    cleared.fileSize = fields.fileSize;
    cleared.extension = std::move(fields.extension);
    cleared.tagKinds = fields.tagKinds;
    cleared.audioEnd = fields.audioEnd;
    fields = std::move(cleared);
}

const TextFrameRule* TextRuleFor(const ID3v2Frame& frame, int version) {
    for (const TextFrameRule& rule : kTextFrames) {
        if (version >= rule.minVersion && frame.Is(version == 2 ? rule.idV22 : rule.idV23))
            return &rule;
    }
    return nullptr;
}

bool IsFrameOf(const ID3v2Frame& frame, int version, const char* const (&ids)[2]) {
    return frame.Is(ids[version == 2 ? 0 : 1]);
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

int ID3v2Reader::ReadID3v2(SongFields& tags, AFile& stream, uint64_t fileLength) {
    if (fileLength < ID3v2Header::kLength)
        return kErrorInconsistentSize;
    uint8_t bytes[ID3v2Header::kLength];
    if (const int result = stream.Read(bytes, sizeof bytes))
        return result;
    ID3v2Header header;
    if (!header.Parse(bytes))
        return stream.Seek(0);
    ClearTagFields(tags);
    if (header.version < 2 || header.version > 4)
        return kErrorID3v2ReadVersion;
    ID3v2Reader reader(tags, header, stream.GetPosition());
    return reader.ReadFrames(stream);
}

ID3v2Reader::ID3v2Reader(SongFields& tags, const ID3v2Header& header, uint64_t bodyPosition)
    : m_tags(tags), m_header(header), m_bodyPosition(bodyPosition) {}

int ID3v2Reader::ReadFrames(AFile& stream) {
    static constexpr uint32_t kTagKindOfVersion[] = {0, 0, SongFields::kTagID3v22, SongFields::kTagID3v23,
                                                     SongFields::kTagID3v24};
    const int version = m_header.version;
    m_tags.tagKinds |= kTagKindOfVersion[version];
    m_tags.audioStart = uint64_t(m_header.bodySize) + ID3v2Header::kLength;
    if (version == 4 && m_header.Has(ID3v2Header::kFooter))
        m_tags.audioStart += ID3v2Header::kFooterLength;
    if (version == 2 && m_header.Has(ID3v2Header::kExtendedHeader))
        return kErrorID3v2Compressed;
    if (const int result = ReadBody(stream))
        return result;
    if (version == 4 && m_header.Has(ID3v2Header::kExtendedHeader))
        return kErrorID3v2ExtendedHeader;
    if (version == 4 && m_header.Has(ID3v2Header::kFooter))
        return kErrorID3v2Footer;
    const int result = WalkFrames();
    // The stream stands after the body, where the audio may begin.
    if (const int seekResult = stream.Seek(m_bodyPosition + m_header.bodySize); result == 0)
        return seekResult;
    return result;
}

int ID3v2Reader::WalkFrames() {
    // The extended header lies within the first block, read with the first frame header anyway.
    if (!Ensure(0, std::min<uint64_t>(m_bodySize, ID3v2TagBody::kBlockLength)))
        return m_stored.Error();
    const ID3v2ExtendedHeader extended(m_header, std::span<const uint8_t>(m_body, m_bodySize));
    ID3v2FrameWalk walk(m_body, m_bodySize, m_header.version, extended.Length(), m_source);
    ID3v2Frame frame;
    while (walk.Next(frame))
        HandleFrame(frame);
    return m_stored.Error();
}

int ID3v2Reader::ReadBody(AFile& stream) {
    if (const int result = recordio::CheckRemaining(stream, m_header.bodySize))
        return result;
    if (const int result = m_stored.Allocate(stream, m_bodyPosition, m_header.bodySize))
        return result;
    // Before ID3v2.4 the whole tag is unsynchronised, and decoded whole; from ID3v2.4 on each frame says
    // so itself.
    if (m_header.version < 4 && m_header.Has(ID3v2Header::kUnsynchronisation)) {
        if (!m_stored.Ensure(0, m_stored.Size()))
            return m_stored.Error();
        m_decoded = unsynchronisation::Decode(m_stored.Data(), m_stored.Size());
        m_rawOffsets.emplace(m_stored.Data(), m_stored.Size());
        m_body = m_decoded.data();
        m_bodySize = m_decoded.size();
        return 0;
    }
    m_body = m_stored.Data();
    m_bodySize = m_stored.Size();
    m_source = &m_stored;
    return 0;
}

bool ID3v2Reader::Ensure(uint64_t offset, uint64_t length) {
    return !m_source || m_source->Ensure(offset, length);
}

bool ID3v2Reader::IsRefused(const ID3v2Frame& frame) const {
    using Header = ID3v2FrameHeader;
    const Header& header = frame.header;
    if (m_header.version == 3)
        return header.Has(Header::kV23Compression) || header.Has(Header::kV23Encryption);
    if (m_header.version == 4)
        return header.Has(Header::kV24Compression) || header.Has(Header::kV24Encryption) ||
               header.Has(Header::kV24DataLengthIndicator);
    return false;
}

bool ID3v2Reader::IsUnsynchronised(const ID3v2Frame& frame) const {
    return m_header.version == 4 && (frame.header.Has(ID3v2FrameHeader::kV24Unsynchronised) ||
                                     m_header.Has(ID3v2Header::kUnsynchronisation));
}

ID3v2Reader::FrameContent ID3v2Reader::ContentOf(const ID3v2Frame& frame) const {
    FrameContent content;
    content.tagOffset = frame.BodyOffset();
    const uint8_t* raw = m_body + frame.BodyOffset();
    if (IsUnsynchronised(frame)) {
        content.decoded = unsynchronisation::Decode(raw, frame.Size());
        content.rawOffsets.emplace(raw, frame.Size());
        content.data = content.decoded.data();
        content.size = content.decoded.size();
    } else {
        content.data = raw;
        content.size = frame.Size();
    }
    return content;
}

void ID3v2Reader::HandleFrame(const ID3v2Frame& frame) {
    const int version = m_header.version;
    // A podcast frame marks the song whatever it holds.
    if (IsFrameOf(frame, version, kPodcastIds)) {
        m_tags.podcast = 1;
        return;
    }
    if (IsFrameOf(frame, version, kPictureIds)) {
        if (!IsRefused(frame))
            HandlePicture(frame);
        return;
    }
    const TextFrameRule* rule = TextRuleFor(frame, version);
    if (!rule)
        return;
    AString text;
    if (!IsRefused(frame)) {
        if (!Ensure(frame.BodyOffset(), frame.Size()))
            return;
        const FrameContent content = ContentOf(frame);
        text = ID3v2Text::Decode(content.data, content.size, version);
    }
    ApplySongFieldText(m_tags, rule->field, text, RulesFor(version));
}

// The image is not read: the fields before it and its signature lie in the frame's first bytes, of
// which more are read only while a long description runs past them.
void ID3v2Reader::HandlePicture(const ID3v2Frame& frame) {
    // An unsynchronised frame is decoded whole.
    uint64_t visible = IsUnsynchronised(frame) ? frame.Size() : std::min(frame.Size(), kPictureFieldsLength);
    for (;;) {
        if (!Ensure(frame.BodyOffset(), visible))
            return;
        FrameContent content = ContentOf(frame);
        if (ReadPicture(content, std::min(visible, content.size)) || visible == frame.Size())
            return;
        visible = std::min(frame.Size(), visible * kPictureFieldsGrowth);
    }
}

// PIC: encoding, image format (3), picture type, description, image.
// APIC: encoding, MIME type (zero-terminated), picture type, description, image.
bool ID3v2Reader::ReadPicture(FrameContent& content, uint64_t visible) {
    const uint8_t* data = content.data;
    const uint64_t size = content.size;
    // What is not found in the bytes seen may lie in the rest of the frame.
    const bool seenWhole = visible >= size;
    if (size == 0)
        return true;
    const uint8_t encoding = data[0];
    const bool acceptedEncoding = encoding == ID3v2Text::kLatin1 || encoding == ID3v2Text::kUtf16 ||
                                  (m_header.version == 4 && ID3v2Text::IsKnownEncoding(encoding, 4));
    if (!acceptedEncoding)
        return true;
    uint64_t offset = 1;
    if (m_header.version == 2) {
        offset += kImageFormatLength;
    } else {
        const uint64_t mimeLength = ID3v2Text::TerminatedLength(data, offset, visible, ID3v2Text::kLatin1);
        if (mimeLength == 0)
            return seenWhole;
        offset += mimeLength;
    }
    ++offset; // picture type
    if (offset >= size)
        return true;
    const uint64_t descriptionLength = ID3v2Text::TerminatedLength(data, offset, visible, encoding);
    if (descriptionLength == 0)
        return seenWhole;
    if (offset + descriptionLength >= size)
        return true;
    offset += descriptionLength;
    ID3Picture picture;
    picture.length = size - offset;
    if (!seenWhole && visible - offset < std::min<uint64_t>(picture.length, kImageSignatureLength))
        return false;
    picture.kind = PictureKindOf(data + offset, std::min(picture.length, visible - offset));
    picture.start = FileOffsetOf(content.TagOffsetOf(offset));
    picture.end = FileOffsetOf(content.TagOffsetOf(size - 1));
    m_tags.pictures.push_back(picture);
    return true;
}

uint64_t ID3v2Reader::FileOffsetOf(uint64_t tagOffset) {
    if (!m_rawOffsets)
        return m_bodyPosition + tagOffset;
    return m_bodyPosition + m_rawOffsets->Of(tagOffset);
}
