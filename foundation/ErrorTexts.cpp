#include "foundation/ErrorTexts.h"

#include "foundation/ErrorCodes.h"

#include <algorithm>
#include <iterator>

namespace {

struct ErrorText {
    int code;
    const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {kErrorEndOfStream, ": End of file encountered."},
    {kErrorInvalidElement, ": Invalid element."},
    {kErrorNotConnected, ": Not connected to service."},
    {kErrorDuplicate, ": Duplicate encountered."},
    {kErrorInvalidPath, ": Invalid path."},
    {kErrorITunesCall, ": Communication Error With iTunes Occured."},
    {kErrorInvalidPlayList, ": Invalid PlayList."},
    {kErrorPodAutoUpdate, ": iPod on auto-update mode."},
    {kErrorIO, ": IO error."},
    {kErrorOutOfMemory, ": Out of memory."},
    {kErrorNoVersion, ": No version found."},
    {kErrorITunesRefused, ": iTunes refused to process the request."},
    {kErrorOriginalPathNotFound, ": Original file path in destination not found."},
    {kErrorFileType, ": File type error."},
    {kErrorFileNotFound, ": File not found."},
    {kErrorUnableToVerify, ": Unable to verify."},
    {kErrorUnableToCopy, ": Unable to copy."},
    {kErrorUnableToDelete, ": Unable to delete."},
    {kErrorNewerUnknown, ": Unable to determine which file is newer during Merge/Sync."},
    {kErrorDuplicateNames, ": Duplicate names."},
    {kErrorShortRead, ": End of file encountered."},
    {kErrorNotSupported, ": The request is not supported."},
    {kErrorVersion, ": Version error."},
    {kErrorBusy, ": Service is busy."},
    {kErrorObjectNotFound, ": Object not found."},
    {kErrorInconsistentSize, ": Inconsistent size."},
    {kErrorAddSongRefused, ": iTunes reported an error adding a song. Possible cause Unauthorized Music."},
    {kErrorNoSpace, ": Insufficient free space or Volume Full."},
    {kErrorAddToPlayListRefused,
     ": iTunes reported an error adding a song to a playlist. Possible cause: Unauthorized Music."},
    {kErrorLastSyncPlayList, ": Failed to add item to Last Sync playlist."},
    // What a check before a sync can end with, so that its failure always reads in words.
    {kErrorPodVolumeNotFound, ": The iPod's volume cannot be found."},
    {kErrorNoMusicHome, ": The music folder of the user cannot be found."},
    {kErrorNoLibraryIdStart, ": The music library's file names no library id."},
    {kErrorNoLibraryIdEnd, ": The music library's file names no library id."},
    {kErrorOpen, ": The file cannot be opened."},
    {kErrorSeek, ": The file cannot be read at the place asked."},
    {kErrorRead, ": The file cannot be read."},
    {kErrorWrite, ": The file cannot be written."},
    {kErrorPodMarried, ": The iPod belongs to the music library of another computer."},
    {kErrorPodPrefsUnreadable, ": The iPod's preferences cannot be read."},
    {kErrorRemoteSilent, ": The other computer stopped answering."},
    {kErrorLibraryUnreadable, ": The iTunes library file cannot be read."},
    {kErrorActionsFailed, ": Some actions of the sync failed; the log names each file and why."},
};

constexpr const char* kUnknownErrorText = ": Unknown error encountered.";
constexpr const char* kUserCancelText = "User cancel activated.";

} // namespace

AString& GetErrorText(AString& text, int code) {
    if (code == kUserCancel) {
        text = kUserCancelText;
        return text;
    }
    const auto found = std::find_if(std::begin(kErrorTexts), std::end(kErrorTexts),
                                    [code](const ErrorText& entry) { return entry.code == code; });
    text += found == std::end(kErrorTexts) ? kUnknownErrorText : found->text;
    return text;
}
