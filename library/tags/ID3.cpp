#include "library/tags/ID3.h"

#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "foundation/RemoteFileCache.h"
#include "foundation/RemotePeer.h"
#include "library/tags/ID3v2Writer.h"
#include "library/tags/SongFileReader.h"
#include "library/tags/SongFileStream.h"

namespace {

constexpr int kRemoteTimeoutSeconds = 120;

} // namespace

int ID3::Read(const AString& songPath) {
    if (IsRemotePath(songPath))
        return ReadRemote(songPath);
    SongFileStream file;
    if (const int result = file.OpenSong(songPath))
        return result;
    m_path = songPath;
    m_fields = {};
    return SongFileReader::Read(m_fields, file, songPath);
}

int ID3::ReadRemote(const AString& remotePath) {
    m_path = remotePath;
    AString host;
    AString hostPath;
    // A remote path without a host of two characters or more.
    if (!RemoteFileCache::SplitRemotePath(remotePath, host, hostPath))
        return kErrorEndOfStream;
    RemotePeer* peer = RemoteFileCache::Instance().GetPeer();
    if (!peer)
        return kErrorNotConnected;
    AMemFile payload(AMemFile::kDefaultGrowth);
    if (const int result = hostPath.Serialize(payload))
        return result;
    std::vector<uint8_t> answer;
    int result = peer->RequestOnce(host, kRequestReadTags, payload, answer, nullptr,
                                   RemotePeer::kProgressBoth, kRemoteTimeoutSeconds);
    if (result == 0) {
        AMemFile reader(answer.data(), static_cast<uint32_t>(answer.size()));
        result = Load(reader);
        m_path = remotePath;
    }
    return result;
}

int ID3::Serialize(AFile& stream) const {
    const SongFields& f = m_fields;
    int result = recordio::WriteU32(stream, kVersion);
    const auto text = [&](const AString& value) {
        if (result == 0)
            result = value.Serialize(stream);
    };
    const auto number = [&](uint32_t value) {
        if (result == 0)
            result = recordio::WriteU32(stream, value);
    };
    const auto offset = [&](uint64_t value) {
        if (result == 0)
            result = recordio::WriteU64(stream, value);
    };
    for (const AString* value :
         {&m_path, &f.title, &f.album, &f.artist, &f.tvShow, &f.genre, &f.composer, &f.comment})
        text(*value);
    for (const uint32_t value : {f.trackNumber, f.discNumber, f.discCount, f.year, f.compilation})
        number(value);
    number(static_cast<uint32_t>(f.mediaKind));
    for (const uint32_t value : {f.podcast, f.bitRate, f.duration, f.fileSize})
        number(value);
    for (const AString* value : {&f.extension, &f.accountName, &f.displayName})
        text(*value);
    number(f.tagKinds);
    offset(f.audioStart);
    offset(f.audioEnd);
    return result;
}

int ID3::Load(AFile& stream) {
    SongFields& f = m_fields;
    f.pictures.clear();
    int result = recordio::ReadVersion(stream, kVersion);
    const auto text = [&](AString& value) {
        if (result == 0)
            result = value.Load(stream);
    };
    const auto number = [&](uint32_t& value) {
        if (result == 0)
            result = recordio::ReadU32(stream, value);
    };
    const auto offset = [&](uint64_t& value) {
        if (result == 0)
            result = recordio::ReadU64(stream, value);
    };
    for (AString* value :
         {&m_path, &f.title, &f.album, &f.artist, &f.tvShow, &f.genre, &f.composer, &f.comment})
        text(*value);
    for (uint32_t* value : {&f.trackNumber, &f.discNumber, &f.discCount, &f.year, &f.compilation})
        number(*value);
    if (result == 0)
        result = recordio::ReadI32(stream, f.mediaKind);
    for (uint32_t* value : {&f.podcast, &f.bitRate, &f.duration, &f.fileSize})
        number(*value);
    for (AString* value : {&f.extension, &f.accountName, &f.displayName})
        text(*value);
    number(f.tagKinds);
    offset(f.audioStart);
    offset(f.audioEnd);
    return result;
}

int ID3::Write(const uint8_t* picture, uint32_t pictureLength, bool force, const CancelCallback& cancel) {
    return ID3v2Writer::Write(m_path, m_fields, picture, pictureLength, force, cancel);
}

int ID3::GetAudioRange(uint64_t& start, uint64_t& end) const {
    if (m_fields.audioEnd == 0)
        return 0;
    start = m_fields.audioStart;
    end = m_fields.audioEnd;
    return 1;
}
