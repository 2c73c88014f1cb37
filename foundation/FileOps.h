#pragma once
// The file operations through which the whole system touches files. A remote path
// ("?" + host + ":" + path on that host) is answered from the remote file-information cache.

#include "foundation/AString.h"
#include "foundation/FileInfo.h"
#include "platform/files/NativeFiles.h"

#include <cstdint>

// Seconds from 1904 to 1970 as the system counts them; saved data relies on this value.
constexpr uint64_t kMacTimeOffset = 2082830400;

uint64_t UnixToMacTime(int64_t unixSeconds);
int64_t MacToUnixTime(uint64_t macSeconds);

bool IsRemotePath(const AString& path);
bool IsReadOnly(const AString& path);
int SetReadOnly(const AString& path, bool readOnly);

void GetFileInfo(const AString& path, FileInfo& info);
// What GetFileInfo tells of a status already asked.
FileInfo FileInfoOfStatus(const nativefiles::PathStatus& status);
uint64_t GetFileModTime(const AString& path);
uint64_t GetFileSize64(const AString& path);
// A readable regular file.
bool FileExists(const AString& path);
bool DirectoryExists(const AString& path);
int CreateDirectoryPath(const AString& path);

int SetFileModTime(const AString& path, uint64_t macTime, bool force);
int DeleteFileLong(const AString& path, bool force);
// Never overwrites an existing target; across filesystems it copies, then deletes the source.
int MoveFileLong(const AString& source, const AString& target, bool force);
// Keeps the source's times and mode; an existing target is replaced only once the copy is complete.
int CopyFileLong(const AString& source, const AString& target, bool force);

// Within a minute, or an hour apart give or take a minute (a daylight-saving shift).
bool TimesMatch(uint64_t a, uint64_t b);
// Both are files (local or remote) of equal size whose times match.
bool FilesMatch(const AString& a, const AString& b);

// Free bytes on the volume that holds the path (or its nearest existing folder).
int GetFreeSpace(const AString& path, uint64_t& bytes);
// Whether the volume of `target` holds a copy of `source` beside the old target: 0, -102394 or the
// free-space code.
int CheckRoomForCopy(const AString& source, const AString& target);
int CopyFileChecked(const AString& source, const AString& target, bool force);
