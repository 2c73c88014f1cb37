#pragma once
// The request codes of the remote link and the results its transport gives. A stopped link, a lost,
// malformed or damaged message answers kErrorEndOfStream (-1); a header that could not be sent
// kErrorRemoteHeaderNotSent (-10565).

#include "foundation/ErrorCodes.h"

namespace linkcodes {

// Requests (client to server). 0 ends a connection.
constexpr int kEndOfConnection = 0;
constexpr int kHello = 1;
constexpr int kStartSession = 1002;
constexpr int kEndSession = 1003;
constexpr int kGetRemotePlayLists = 1004;
constexpr int kInitWPath = 1005;
constexpr int kAddITunesReadyFile = 1006;
constexpr int kAddSongFromDisk = 1007;
constexpr int kDeleteRemoteFile = 1008;
constexpr int kCreateRemotePlayList = 1009;
constexpr int kRemoteDeleteFile = 1010;
constexpr int kDeleteRemotePlayList = 1011;
constexpr int kUpdateRemoteSongInfo = 1012;
constexpr int kReadRemoteTags = 2001;
constexpr int kGetRemoteFileInfo = 3001;
constexpr int kCopyWithProgressRemote = 3002;
constexpr int kMoveRemoteFileLocal = 3003;

// The answer to a hello carries this code and a real payload.
constexpr int kHelloAnswer = -1;
// The word at the head of the hello answer, before the server's name.
constexpr unsigned kHelloAnswerWord = 100;

// The word beside -1 when the playlist request (1004) or the song-list request (1005) of another client
// runs: each is served one at a time. -8996 also answers a request whose session another request uses.
constexpr int kPlayListsBusy = -8997;
constexpr int kSongListBusy = -8996;

// Transport results.
constexpr int kErrorPayloadNotSent = -10566;
constexpr int kErrorAnswerHeaderShort = -10571;
constexpr int kErrorConnectFailed = -19564;

} // namespace linkcodes
