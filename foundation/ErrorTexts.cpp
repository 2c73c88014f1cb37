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
    {-1, ": End of file encountered."},
    {-2, ": Invalid element."},
    {-3, ": Not connected to service."},
    {-4, ": Duplicate encountered."},
    {-5, ": Invalid path."},
    {-6, ": Communication Error With iTunes Occured."},
    {-8, ": Invalid PlayList."},
    {-9, ": iPod on auto-update mode."},
    {-36, ": IO error."},
    {-108, ": Out of memory."},
    {-8546, ": No version found."},
    {-10001, ": iTunes refused to process the request."},
    {-10003, ": Original file path in destination not found."},
    {-11159, ": File type error."},
    {-11160, ": File not found."},
    {-11161, ": Unable to verify."},
    {-11162, ": Unable to copy."},
    {-11163, ": Unable to delete."},
    {-11164, ": Unable to determine which file is newer during Merge/Sync."},
    {-11165, ": Duplicate names."},
    {-11166, ": End of file encountered."},
    {-11167, ": The request is not supported."},
    {-102389, ": Version error."},
    {-102390, ": Service is busy."},
    {-102391, ": Object not found."},
    {-102392, ": Inconsistent size."},
    {-102393, ": iTunes reported an error adding a song. Possible cause Unauthorized Music."},
    {-102394, ": Insufficient free space or Volume Full."},
    {-102395, ": iTunes reported an error adding a song to a playlist. Possible cause: Unauthorized Music."},
    {-102396, ": Failed to add item to Last Sync playlist."},
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
