#include "app/commands/ShuffleLink.h"

#include "app/state/AppErrorCodes.h"
#include "foundation/ErrorTexts.h"
#include "foundation/ProgressUserInterface.h"
#include "library/ipod/IPodPrefs.h"
#include "library/itunes/LibraryPersistentId.h"

#include <cstdint>

namespace {

constexpr int kButtonYes = 0;
constexpr LibraryIdCodes kLinkCodes{kErrorLinkNoMusicHome, kErrorLinkNoLibraryId, kErrorLinkLibraryIdEnd,
                                    kErrorLinkNoLibraryId};

bool AskYesNo(ProgressUserInterface& user, const AString& question) {
    AlertRequest request;
    request.message = question;
    request.buttons = {AString("Yes"), AString("No"), AString(), AString()};
    return user.RunAlert(request) == kButtonYes;
}

} // namespace

void ShuffleLink::Run(const ShuffleLinkChoice& choice, ProgressUserInterface& user) {
    if (!choice.selected) {
        user.ShowMessage(AString(kNoIPodConnected));
        return;
    }
    if (!choice.hasRecord)
        return;
    if (!choice.isPodDatabase) {
        user.ShowMessage(AString(kCannotLink));
        return;
    }
    if (AskYesNo(user, Question(choice.podName)))
        user.ShowMessage(ResultText(Link(choice.podRoot)));
}

int ShuffleLink::Link(const AString& podRoot) {
    uint64_t id = 0;
    if (const int result = LibraryPersistentId::Read(kLinkCodes, id))
        return result;
    return IPodPrefs::WriteLibraryId(podRoot, id);
}

AString ShuffleLink::Question(const AString& podName) {
    return AString("Link iPod \"") + podName +
           "\" to local iTunes?\nDoing so will cause iTunes to delete all songs currently in this iPod.\nProceed?";
}

AString ShuffleLink::ResultText(int result) {
    if (result == 0)
        return AString(kLinked);
    AString text = AString(kFailed) + AString::FromInt(result);
    return GetErrorText(text, result);
}
