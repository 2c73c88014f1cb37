#include "library/tools/NotOwnedScan.h"

#include "foundation/ErrorCodes.h"
#include "library/entries/ColonList.h"
#include "library/songlists/ADirSong.h"
#include "library/tags/ID3.h"
#include "library/tools/SongFileChecks.h"
#include "library/tools/ToolRun.h"

namespace {

constexpr const char* kNoAppleIdKnown =
    "No Apple ID is known yet, so no music can be told apart as not owned. Add your Apple IDs on the page "
    "\"Apple IDs\" of the sync properties first.";

} // namespace

const char* NotOwnedScan::Refusal(const ADirSong& source) const {
    return ColonListIsEmpty(source.GetAllowedAppleIDs()) ? kNoAppleIdKnown : nullptr;
}

// The error of an entry is that of naming its file; it is asked about before the next entry.
int NotOwnedScan::Run(ToolRun& run) {
    ADirSong& source = run.Source();
    int error = 0;
    for (int i = 0; i < source.GetCount(); ++i) {
        if (error != 0 && source.AskQuitAfterError())
            return error;
        const AString entry = *source.GetEntry(i);
        run.ShowStep(i + 1, source.GetCount());
        const SongPath song = UsableSongPath(source, entry);
        error = song.result;
        if (song.usable) {
            const AString account = ForeignAccount(source, song.path);
            if (!account.IsEmpty())
                run.AddSongRow(entry).detail = account;
        }
        if (run.Cancelled())
            return kUserCancel;
    }
    return error;
}

// The user's accounts are searched as one text: an account that is part of an allowed one is owned. A
// file whose tags cannot be read, or that names no account, is passed over.
AString NotOwnedScan::ForeignAccount(const ADirSong& source, const AString& path) {
    AString extension;
    path.GetExtension(extension);
    if (!ColonListContains(AString(ADirSong::kProtectedTypes), extension))
        return AString();
    ID3 tags;
    if (tags.Read(path) != 0)
        return AString();
    AString account;
    tags.GetAccountName(account);
    if (account.IsEmpty() || source.GetAllowedAppleIDs().Find(account, 0, false) >= 0)
        return AString();
    return account;
}
