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

namespace {

constexpr int kRemoteTimeoutSeconds = 120;
constexpr int kErrorNoHost = -1; // a remote path without a host of two characters or more

} // namespace

int ID3::Read(const AString& songPath) {
    if (IsRemotePath(songPath))
        return ReadRemote(songPath);
    if (!FileExists(songPath))
        return kErrorFileNotFound;
    AFile file;
    if (const int result = file.Open(songPath, AFile::kModeRead, false)) {
        Reset(songPath);
        return result;
    }
    return SongFileReader::Read(*this, file, songPath);
}

int ID3::ReadRemote(const AString& remotePath) {
    path = remotePath;
    AString host;
    AString hostPath;
    if (!RemoteFileCache::SplitRemotePath(remotePath, host, hostPath))
        return kErrorNoHost;
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
        path = remotePath;
    }
    return result;
}

void ID3::Reset(const AString& newPath) {
    path = newPath;
    ResetTagFields();
    fileSize = 0;
    extension = AString();
    accountName = AString();
    displayName = AString();
    tagKinds = 0;
    audioStart = 0;
    audioEnd = 0;
}

void ID3::ResetTagFields() {
    title = AString();
    album = AString();
    artist = AString();
    tvShow = AString();
    genre = AString();
    composer = AString();
    comment = AString();
    pictures.clear();
    trackNumber = 0;
    discNumber = 0;
    discCount = 0;
    year = 0;
    compilation = 0;
    mediaKind = kMediaKindUnset;
    podcast = 0;
    bitRate = 0;
    duration = 0;
}

void ID3::SetDisplayName() {
    displayName = title;
    if (!displayName.IsEmpty())
        return;
    displayName = path.Mid(path.ReverseFind(u'/') + 1);
    const int dot = displayName.ReverseFind(u'.');
    if (dot >= 0)
        displayName.Truncate(dot);
}

int ID3::Serialize(AFile& stream) const {
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
    for (const AString* value : {&path, &title, &album, &artist, &tvShow, &genre, &composer, &comment})
        text(*value);
    for (const uint32_t value : {trackNumber, discNumber, discCount, year, compilation})
        number(value);
    number(static_cast<uint32_t>(mediaKind));
    for (const uint32_t value : {podcast, bitRate, duration, fileSize})
        number(value);
    for (const AString* value : {&extension, &accountName, &displayName})
        text(*value);
    number(tagKinds);
    offset(audioStart);
    offset(audioEnd);
    return result;
}

int ID3::Load(AFile& stream) {
    pictures.clear();
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
    for (AString* value : {&path, &title, &album, &artist, &tvShow, &genre, &composer, &comment})
        text(*value);
    for (uint32_t* value : {&trackNumber, &discNumber, &discCount, &year, &compilation})
        number(*value);
    if (result == 0)
        result = recordio::ReadI32(stream, mediaKind);
    for (uint32_t* value : {&podcast, &bitRate, &duration, &fileSize})
        number(*value);
    for (AString* value : {&extension, &accountName, &displayName})
        text(*value);
    number(tagKinds);
    offset(audioStart);
    offset(audioEnd);
    return result;
}

int ID3::Write(const uint8_t* picture, uint32_t pictureLength, bool force, const CancelCallback& cancel) {
    return ID3v2Writer::Write(*this, picture, pictureLength, force, cancel);
}

int ID3::GetAudioRange(uint64_t& start, uint64_t& end) const {
    if (audioEnd == 0)
        return 0;
    start = audioStart;
    end = audioEnd;
    return 1;
}
