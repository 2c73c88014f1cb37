#include "library/tags/ID3v2Writer.h"

#include "foundation/ACrc32.h"
#include "foundation/AFile.h"
#include "foundation/AReplacingFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "library/tags/ID3v1Block.h"
#include "library/tags/ID3v2ExtendedHeader.h"
#include "library/tags/ID3v2FrameHeader.h"
#include "library/tags/ID3v2FrameWalk.h"
#include "library/tags/ID3v2Reader.h"
#include "library/tags/ID3v2Text.h"
#include "library/tags/ImageKind.h"
#include "library/tags/SongFields.h"
#include "library/tags/SongFileReader.h"
#include "library/tags/Unsynchronisation.h"

#include <cstring>
#include <span>

namespace {

constexpr uint32_t kCopyBlock = 1024;
constexpr uint8_t kPictureTypeOther = 0;
constexpr char kCommentLanguage[] = "eng";

using Bytes = std::vector<uint8_t>;

void Append(Bytes& bytes, const void* data, size_t length) {
    const uint8_t* begin = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), begin, begin + length);
}

void Append(Bytes& bytes, const char* text) {
    Append(bytes, text, std::strlen(text) + 1);
}

bool FitsLatin1(const AString& text) {
    for (const char16_t c : text.GetCString()) {
        if (c > 0xFF)
            return false;
    }
    return true;
}

// Latin-1 when every character fits, else UTF-16 with a byte-order mark.
uint8_t EncodingFor(const AString& text) {
    return FitsLatin1(text) ? ID3v2Text::kLatin1 : ID3v2Text::kUtf16;
}

void AppendText(Bytes& bytes, const AString& text, uint8_t encoding, bool terminated) {
    if (encoding == ID3v2Text::kLatin1) {
        for (const char16_t c : text.GetCString())
            bytes.push_back(static_cast<uint8_t>(c));
        if (terminated)
            bytes.push_back(0);
        return;
    }
    const std::vector<uint8_t> units = text.GetUTF16WithBOM(); // ends with a zero character
    Append(bytes, units.data(), terminated ? units.size() : units.size() - 2);
}

// The frame's header in the version's form, then its content.
Bytes Frame(const char* id, int version, const Bytes& content, uint8_t formatFlags = 0) {
    Bytes frame = ID3v2FrameHeader(id, static_cast<uint32_t>(content.size()), formatFlags).Render(version);
    Append(frame, content.data(), content.size());
    return frame;
}

Bytes TextFrameV22(const char* id, const AString& text, bool trailingZero) {
    const uint8_t encoding = EncodingFor(text);
    Bytes content{encoding};
    AppendText(content, text, encoding, false);
    if (trailingZero)
        content.push_back(0);
    return Frame(id, 2, content);
}

// "COM": encoding, language, an empty description, the text.
Bytes CommentFrameV22(const AString& text) {
    const uint8_t encoding = EncodingFor(text);
    Bytes content{encoding};
    Append(content, kCommentLanguage, 3);
    AppendText(content, AString(), encoding, true);
    AppendText(content, text, encoding, false);
    return Frame("COM", 2, content);
}

// Where a reader finds each frame of a body, and where the frames end.
struct FrameLayout {
    std::vector<uint64_t> offsets;
    uint64_t end = 0;
    bool operator==(const FrameLayout&) const = default;
};

FrameLayout LayoutOf(std::span<const uint8_t> body, int version, uint64_t start) {
    FrameLayout layout;
    ID3v2FrameWalk walk(body.data(), body.size(), version, start);
    ID3v2Frame frame;
    while (walk.Next(frame))
        layout.offsets.push_back(frame.offset);
    layout.end = walk.Offset();
    return layout;
}

// The new body of an unsynchronised tag as stored: the extended header and the new frame
// unsynchronised, the old frames (between offsets of the decoded old body) as they were stored.
Bytes StoredUnsynchronised(const Bytes& oldStored, std::span<const uint8_t> extendedHeader,
                           uint64_t framesStart, uint64_t framesEnd, const Bytes& frame) {
    Bytes stored = unsynchronisation::Encode(extendedHeader.data(), extendedHeader.size());
    unsynchronisation::RawOffsets raw(oldStored.data(), oldStored.size());
    const uint64_t rawStart = raw.Of(framesStart);
    Append(stored, oldStored.data() + rawStart, raw.Of(framesEnd) - rawStart);
    const Bytes storedFrame = unsynchronisation::Encode(frame.data(), frame.size());
    Append(stored, storedFrame.data(), storedFrame.size());
    return stored;
}

} // namespace

int ID3v2Writer::Write(const AString& path, SongFields& tags, const uint8_t* picture, uint32_t pictureLength,
                       bool force, const CancelCallback& cancel) {
    AFile source;
    if (const int result = source.Open(path, AFile::kModeRead, false))
        return result;
    switch (SongFileReader::FormatOf(tags.extension)) {
    case SongFileReader::Format::Mp4:
    case SongFileReader::Format::Aiff:
    case SongFileReader::Format::Aac:
        return kErrorNotSupported;
    case SongFileReader::Format::Mp3:
        return ID3v2Writer(path, tags, source, picture, pictureLength, force, cancel).WriteTag();
    case SongFileReader::Format::Other:
        break;
    }
    return 0;
}

int ID3v2Writer::WriteTag() {
    if (m_source.GetLength() < ID3v2Header::kLength)
        return kErrorInconsistentSize;
    uint8_t bytes[ID3v2Header::kLength];
    if (const int result = m_source.Read(bytes, sizeof bytes))
        return result;
    ID3v2Header header;
    if (!header.Parse(bytes))
        return BuildFramesV22();
    if (header.version < 2 || header.version > 4)
        return kErrorID3v2WriteVersion;
    if (header.version == 2 && header.Has(ID3v2Header::kExtendedHeader))
        return kErrorID3v2Compressed;
    Bytes body;
    if (const int result = AddPicture(header, body))
        return result;
    return ReplaceAudio(header, body);
}

bool ID3v2Writer::IsJpeg() const {
    return IsJpegData(m_picture, m_pictureLength);
}

int ID3v2Writer::AddPicture(ID3v2Header& header, Bytes& body) {
    static constexpr int kPictureErrors[] = {0, 0, kErrorPictureV22, kErrorPictureV23, kErrorPictureV24};
    if (!IsJpeg() && !IsPngData(m_picture, m_pictureLength))
        return kPictureErrors[header.version];
    if (const int result = recordio::CheckRemaining(m_source, header.bodySize))
        return result;
    if (const int result = recordio::ReadBytes(m_source, header.bodySize, body, kErrorOutOfMemory))
        return result;
    const Bytes frame = PictureFrame(header);
    if (frame.empty())
        return kErrorInconsistentSize;
    return AppendFrame(header, body, frame);
}

// The body becomes its extended header written anew, its frames as they are stored and the new frame;
// the padding goes. Before ID3v2.4 an unsynchronised tag is walked in its decoded form, which is also
// the form its CRC covers.
int ID3v2Writer::AppendFrame(ID3v2Header& header, Bytes& body, const Bytes& frame) {
    const bool wholeTagUnsynchronised = header.version < 4 && header.Has(ID3v2Header::kUnsynchronisation);
    const Bytes decoded =
        wholeTagUnsynchronised ? unsynchronisation::Decode(body.data(), body.size()) : Bytes();
    const std::span<const uint8_t> walked = wholeTagUnsynchronised ? std::span(decoded) : std::span(body);
    const ID3v2ExtendedHeader extended(header, walked);
    // Readers would look for the new frame past the end of the body.
    if (extended.Length() > walked.size())
        return kErrorInconsistentSize;
    const uint64_t framesStart = extended.Length();
    const FrameLayout old = LayoutOf(walked, header.version, framesStart);
    const std::span<const uint8_t> frames = walked.subspan(framesStart, old.end - framesStart);
    Bytes newBody = extended.Rewritten(extended.HasCrc() ? FramesCrc(frames, frame) : 0);
    Append(newBody, frames.data(), frames.size());
    Append(newBody, frame.data(), frame.size());
    // ID3v2.4 frame sizes are read by what follows them (they were written both ways): where the new
    // frame would change how the old ones read, the tag is left as it is.
    FrameLayout expected = old;
    expected.offsets.push_back(old.end);
    expected.end = newBody.size();
    if (LayoutOf(newBody, header.version, framesStart) != expected)
        return kErrorInconsistentSize;
    if (wholeTagUnsynchronised)
        newBody =
            StoredUnsynchronised(body, std::span(newBody).first(framesStart), framesStart, old.end, frame);
    if (newBody.size() > ID3v2Header::kMaxSynchsafe)
        return kErrorInconsistentSize;
    body = std::move(newBody);
    header.bodySize = static_cast<uint32_t>(body.size());
    return 0;
}

uint32_t ID3v2Writer::FramesCrc(std::span<const uint8_t> oldFrames, const Bytes& newFrame) {
    ACrc32 crc;
    crc.Update(oldFrames.data(), static_cast<uint32_t>(oldFrames.size()));
    crc.Update(newFrame.data(), static_cast<uint32_t>(newFrame.size()));
    return crc.GetValue();
}

// PIC: encoding, "JPG" or "PNG", picture type, empty description, image.
// APIC: encoding, "image/jpg" or "image/png", picture type, empty description, image.
// The frame as it stands in the tag before any whole-tag unsynchronisation.
Bytes ID3v2Writer::PictureFrame(const ID3v2Header& header) const {
    const int version = header.version;
    Bytes content{ID3v2Text::kLatin1};
    if (version == 2)
        Append(content, IsJpeg() ? "JPG" : "PNG", 3);
    else
        Append(content, IsJpeg() ? "image/jpg" : "image/png");
    content.push_back(kPictureTypeOther);
    content.push_back(0);
    Append(content, m_picture, m_pictureLength);
    // ID3v2.4 unsynchronises each frame's content; older versions the whole tag, headers included.
    const bool unsynchronised = version == 4 && header.Has(ID3v2Header::kUnsynchronisation);
    if (unsynchronised)
        content = unsynchronisation::Encode(content.data(), content.size());
    if (content.size() > ID3v2FrameHeader::MaxSize(version))
        return Bytes();
    const uint8_t flags = unsynchronised ? ID3v2FrameHeader::kV24Unsynchronised : 0;
    return Frame(version == 2 ? "PIC" : "APIC", version, content, flags);
}

int ID3v2Writer::BuildFramesV22() {
    if (const int result = m_source.Seek(0))
        return result;
    const uint64_t fileLength = m_source.GetLength();
    m_tags.fileSize = static_cast<uint32_t>(fileLength);
    if (fileLength == 0)
        return kErrorInconsistentSize;
    if (const int result = ID3v1Block::ReadID3v1(m_tags, m_source, fileLength))
        return result;
    if (const int result = m_source.Seek(0))
        return result;
    const SongFields& tags = m_tags;
    if (tags.title.IsEmpty() && tags.artist.IsEmpty() && tags.album.IsEmpty() && tags.comment.IsEmpty() &&
        tags.genre.IsEmpty() && tags.year == 0 && tags.trackNumber == 0)
        return kErrorNotSupported;
    if (!IsJpeg() && !IsPngData(m_picture, m_pictureLength))
        return kErrorNewTagPicture;
    enum class Layout { Text, TextAndZero, Comment };
    struct TextField {
        const char* id;
        AString text;
        Layout layout;
    };
    const TextField fields[] = {
        {"TT2", tags.title, Layout::Text},
        {"TP1", tags.artist, Layout::Text},
        {"TAL", tags.album, Layout::Text},
        {"TYE", tags.year ? AString::FromUInt(tags.year) : AString(), Layout::Text},
        {"COM", tags.comment, Layout::Comment},
        {"TRK", tags.trackNumber ? AString::FromUInt(tags.trackNumber) : AString(), Layout::TextAndZero},
        {"TCO", tags.genre, Layout::Text},
    };
    Bytes body;
    for (const TextField& field : fields) {
        if (field.text.IsEmpty())
            continue;
        const Bytes frame = field.layout == Layout::Comment
                                ? CommentFrameV22(field.text)
                                : TextFrameV22(field.id, field.text, field.layout == Layout::TextAndZero);
        if (frame.size() - ID3v2FrameHeader::kLengthV22 > ID3v2FrameHeader::MaxSize(2))
            return kErrorInconsistentSize;
        Append(body, frame.data(), frame.size());
    }
    ID3v2Header header;
    header.version = 2;
    const Bytes picture = PictureFrame(header);
    if (picture.empty() || body.size() + picture.size() > ID3v2Header::kMaxSynchsafe)
        return kErrorInconsistentSize;
    Append(body, picture.data(), picture.size());
    header.bodySize = static_cast<uint32_t>(body.size());
    return ReplaceAudio(header, body);
}

// The source stands at the first byte after the old tag (or at 0 when it had none): everything from
// there follows the new tag unchanged.
int ID3v2Writer::ReplaceAudio(const ID3v2Header& header, const Bytes& body) {
    AReplacingFile target;
    if (const int result = target.Begin(m_path, m_force))
        return result;
    uint8_t bytes[ID3v2Header::kLength];
    header.Store(bytes);
    if (const int result = target.Write(bytes, sizeof bytes))
        return result;
    if (const int result = target.Write(body.data(), static_cast<uint32_t>(body.size())))
        return result;
    if (header.version == 4 && header.Has(ID3v2Header::kFooter)) {
        header.StoreFooter(bytes);
        if (const int result = target.Write(bytes, sizeof bytes))
            return result;
        if (const int result = m_source.Seek(m_source.GetPosition() + ID3v2Header::kFooterLength))
            return result;
    }
    if (const int result = CopyAudio(target))
        return result;
    m_source.Close(false);
    return target.Commit();
}

int ID3v2Writer::CopyAudio(AFile& target) {
    uint8_t block[kCopyBlock];
    for (;;) {
        if (m_cancel && m_cancel() != 0)
            return kUserCancel;
        uint32_t got = 0;
        if (const int result = m_source.Read(block, sizeof block, &got))
            return result;
        if (const int result = target.Write(block, got))
            return result;
        if (got < sizeof block)
            return 0;
    }
}
