#include "library/songlists/ADirSong.h"

#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/AReplacingFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/ErrorTexts.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/entries/AudioDataSize.h"
#include "library/entries/ColonList.h"
#include "library/entries/FileNameRule.h"
#include "library/ipod/IPodPrefs.h"
#include "library/songlists/HtmlLibraryPage.h"
#include "library/songlists/SongListTools.h"
#include "library/songlists/ToolActionPresenter.h"
#include "library/tags/ID3.h"
#include "platform/files/PathSeparator.h"

#include <algorithm>
#include <array>
#include <atomic>

namespace {


std::atomic<SongListTools*> g_libraryTools{nullptr};
std::atomic<ToolActionPresenter*> g_toolActionPresenter{nullptr};

template <typename ToolCall> int CallLibraryTools(ToolCall call) {
    SongListTools* tools = g_libraryTools.load();
    return tools ? call(*tools) : kErrorNotSupported;
}

AString TypeOf(const AString& path) {
    AString extension;
    path.GetExtension(extension);
    return extension;
}

// A tag value as a folder name: at most 40 characters; a value of blanks only keeps its blanks between
// two '_', so that it cannot become an empty or hidden name.
AString FolderName(const AString& raw) {
    AString value = raw;
    value.Trim();
    value.Truncate(ADirSong::kFolderNameLength);
    value.Trim();
    if (value.IsEmpty() && !raw.IsEmpty()) {
        const AString cut = raw.Left(ADirSong::kFolderNameLength);
        value = AString("_") + cut.Mid(1, cut.GetLength() - 2) + "_";
    }
    return SanitizedFileName(value, u'_', true);
}

void AppendFolder(AString& folder, const AString& raw) {
    folder.AppendPath(FolderName(raw));
}

AString TrackPrefix(const ID3& tags) {
    AString prefix;
    if (tags.GetDiscCount() > 1)
        prefix += AString::FromUInt(tags.GetDiscNumber());
    if (!prefix.IsEmpty())
        prefix += "-";
    if (tags.GetTrackNumber() < 10)
        prefix += "0";
    prefix += AString::FromUInt(tags.GetTrackNumber());
    prefix += " ";
    return prefix;
}

// The filters on the song's tags, in the order of the saved record.
template <typename Filters> auto TagFiltersOf(Filters& filters) {
    return std::array{&filters.genre, &filters.artist, &filters.album, &filters.title};
}

AString ShownLevel(const AString& level, const char* unknownText) {
    return level.IsChar(u'*') ? AString(unknownText) : level;
}

} // namespace

ADirSong::ADirSong(AProgress* progress) : ADir(progress) {
    m_filters.types = {SongFilter::kKeepListed, AString(kSongTypes), AString()};
}

bool ADirSong::PassesSongFilters(const AString& entry) const {
    EntryLayout layout = m_layout;
    layout.type = 1; // the title ends at the next level
    return m_filters.PassesSong(SplitEntry(entry, layout), m_layout);
}

int ADirSong::CompareNames(const AString& a, const AString& b) const {
    return a.CompareNoCase(b);
}

// With only the user's accounts wanted, a file that names no account counts as unprotected, and a
// file bought with another account loses whatever its type. While no account of the user is known,
// an account name counts neither for nor against a file: the user's own purchases would lose.
ADirSong::Protection ADirSong::CheckProtection(const AString& path) {
    Protection protection;
    protection.isProtected = ColonListContains(kProtectedTypes, TypeOf(path));
    if (!m_onlyMyAppleIDs || ColonListIsEmpty(m_allowedAppleIDs))
        return protection;
    ID3 tags;
    if (tags.Read(path) != 0)
        return protection;
    AString account;
    tags.GetAccountName(account);
    if (account.IsEmpty())
        protection.isProtected = false;
    else
        protection.foreignAccount = m_allowedAppleIDs.Find(account, 0, false) < 0;
    return protection;
}

// 0 when protection does not decide.
int ADirSong::ChooseByProtection(const AString& a, const AString& b) {
    const Protection aProtection = CheckProtection(a);
    if (aProtection.foreignAccount)
        return kKeepSecond;
    const Protection bProtection = CheckProtection(b);
    if (bProtection.foreignAccount)
        return kKeepFirst;
    if (aProtection.isProtected != bProtection.isProtected)
        return aProtection.isProtected ? kKeepFirst : kKeepSecond;
    return 0;
}

int ADirSong::ChooseKeeper(const AString& a, const AString& b) {
    const bool aExists = ::FileExists(a);
    const bool bExists = ::FileExists(b);
    if (aExists != bExists)
        return aExists ? kKeepFirst : kKeepSecond;
    if (m_protectedFiles) {
        if (const int choice = ChooseByProtection(a, b))
            return choice;
    }
    if (!m_preferredTypes.IsEmpty()) {
        const bool aPreferred = ColonListContains(m_preferredTypes, TypeOf(a));
        const bool bPreferred = ColonListContains(m_preferredTypes, TypeOf(b));
        if (aPreferred != bPreferred)
            return aPreferred ? kKeepFirst : kKeepSecond;
    }
    const uint64_t aSize = GetFileSize64(a);
    const uint64_t bSize = GetFileSize64(b);
    const uint64_t aTime = GetFileModTime(a);
    const uint64_t bTime = GetFileModTime(b);
    const bool sizeFirst = m_largestOverNewest != 0;
    for (int test = 0; test < 2; ++test) {
        const bool bySize = (test == 0) == sizeFirst;
        const uint64_t aValue = bySize ? aSize : aTime;
        const uint64_t bValue = bySize ? bSize : bTime;
        if (aValue != bValue)
            return aValue > bValue ? kKeepFirst : kKeepSecond;
    }
    return a.GetNumberBeforeExtension() > b.GetNumberBeforeExtension() ? kKeepSecond : kKeepFirst;
}

void ADirSong::GetMusicFolder(AString& out) {
    out = m_rootPath;
}

int ADirSong::SaveArtwork(const AString&, int, std::vector<uint8_t>& data) {
    data.clear();
    return 0;
}

int ADirSong::GetArtworkCount(const AString&, int& count) {
    count = 0;
    return 0;
}

int ADirSong::GetPlayListNames(std::vector<AString>&, uint32_t, uint32_t) {
    return kErrorNotSupported;
}

int ADirSong::AddSong(const AString&, const CancelCallback&) {
    return kErrorNotSupported;
}

int ADirSong::CreatePlayList(const AString&) {
    return kErrorEndOfStream;
}

int ADirSong::DeletePlayList(const AString&) {
    return kErrorEndOfStream;
}

int ADirSong::GetBitRate(const AString&) {
    return 0;
}

int ADirSong::GetDuration(const AString&) {
    return 0;
}

AString& ADirSong::BuildDisplayString(AString& out, const AString& entry, int width, uint32_t noPrefix) {
    AString prefix;
    if (width < 0)
        GetDescription(prefix, noPrefix);
    AString text = entry;
    const AString& root = m_rootPath;
    if (!root.IsEmpty() && text.Left(root.GetLength()).CompareNoCase(root) == 0) {
        text = text.Mid(root.GetLength());
        const char16_t last = root.GetAt(root.GetLength() - 1);
        if (last != kPathSeparator && last != kEntryLevelSeparator && text.Find(kEntryLevelSeparator) == 0)
            text.Delete(0);
    }
    const EntryLevels levels = SplitEntry(text, m_layout);
    struct Part {
        const AString& level;
        const char* unknownText;
        bool shown;
    };
    Part genre{levels.genre, "Unknown Genre", width < 0};
    Part artist{levels.artist, "Unknown Artist", width < 0};
    Part album{levels.album, "Unknown Album", width < 0};
    Part title{levels.title, "Unknown Title", true};
    Part type{levels.type, "Unknown Type", width < 0};
    if (width >= 0) {
        int left = width - levels.title.GetLength() - 2;
        for (Part* part : {&artist, &album, &genre, &type}) {
            if (left <= 0)
                break;
            if (part->level.IsEmpty())
                continue;
            if (part->level.GetLength() + 2 > left)
                break;
            part->shown = true;
            left -= part->level.GetLength() + 2;
        }
    }
    AString shown;
    for (const Part* part : {&genre, &artist, &album, &title, &type}) {
        if (!part->shown || part->level.IsEmpty())
            continue;
        shown += ShownLevel(part->level, part->unknownText);
        shown += "; ";
    }
    const int lastSemicolon = shown.ReverseFind(u';');
    if (lastSemicolon >= 0)
        shown.Truncate(lastSemicolon);
    out = (width < 0 && noPrefix == 0) ? prefix + ": " + shown : shown;
    return out;
}

int ADirSong::ConfirmStep(uint32_t& state, const AString& text) {
    if (state == kConfirmNoToAll)
        return 0;
    m_progress->SetPos(-1.0, &text, nullptr, nullptr, false);
    if (state == kConfirmYesToAll)
        return 1;
    switch (AProgress::AskYesNoAll(text, nullptr, nullptr)) {
    case AProgress::kAnswerYes:
        return 1;
    case AProgress::kAnswerYesToAll:
        state = kConfirmYesToAll;
        return 1;
    case AProgress::kAnswerNoToAll: {
        state = kConfirmNoToAll;
        const AString empty;
        m_progress->SetPos(-1.0, &empty, &empty, nullptr, false);
        return 0;
    }
    default:
        return 0;
    }
}

int ADirSong::FindDuplicates(uint32_t full, uint32_t sortFirst, uint32_t ascending,
                             const CancelCallback& callback, uint32_t verbose) {
    if (full)
        return RemoveDuplicates(callback, verbose);
    if (!m_lock.TryLock())
        return kErrorBusy;
    if (sortFirst || GetType() == kTypePodDB)
        Sort(ascending);
    const AString scanning("Scanning for Duplicates...");
    m_progress->PushRange(1.0, verbose ? &scanning : nullptr, false, verbose != 0);
    const int result = ScanNeighbours(callback, verbose);
    const AString endText(result == 0 ? "Scanning...Done. No Errors."
                                      : (result == kUserCancel ? "User Cancelled." : "Error Deleting!"));
    m_progress->PopRange(verbose ? &endText : nullptr, false, verbose != 0);
    m_lock.Unlock();
    return result;
}

// The pairs are walked from the end of the sorted list. Every removal is decided before the user is
// asked about any, and all are made at once after the questions.
int ADirSong::ScanNeighbours(const CancelCallback& callback, uint32_t verbose) {
    bool cancelled = false;
    std::vector<DuplicatePair> pairs;
    for (const DuplicateRun& run : FindNeighbourDuplicates(callback, verbose, cancelled))
        ChooseKeepers(run, pairs);
    std::vector<int> removals;
    const int firstError = ConfirmRemovals(pairs, callback, verbose, removals, cancelled);
    std::sort(removals.begin(), removals.end());
    const int removeResult = RemoveEntries(removals);
    if (cancelled)
        return kUserCancel;
    return firstError != 0 ? firstError : removeResult;
}

AString ADirSong::NameAt(int index) {
    const AString* entry = GetEntry(index);
    return entry ? EntryWithoutId(*entry) : AString();
}

double ADirSong::ScanPosition(int lower) const {
    const int count = GetCount();
    return double(count - lower - 1) / count;
}

std::vector<ADirSong::DuplicateRun> ADirSong::FindNeighbourDuplicates(const CancelCallback& callback,
                                                                      uint32_t verbose, bool& cancelled) {
    const int count = GetCount();
    std::vector<DuplicateRun> runs;
    AString upperName = count > 0 ? NameAt(count - 1) : AString();
    for (int lower = count - 2; lower >= 0; --lower) {
        const AString step =
            verbose ? AString::FromInt(count - lower - 1) + " of " + AString::FromInt(count) : AString();
        m_progress->SetPos(ScanPosition(lower), verbose ? &step : nullptr, nullptr, nullptr, false);
        AString lowerName = NameAt(lower);
        const bool equal = CompareNames(upperName, lowerName) == 0;
        upperName = std::move(lowerName);
        if (equal) {
            if (!runs.empty() && runs.back().low == lower + 1)
                runs.back().low = lower;
            else
                runs.push_back({lower, lower + 1});
        }
        if (callback && callback()) {
            cancelled = true;
            break;
        }
    }
    return runs;
}

// The survivor of the run so far meets each next entry down; the keep rule decides which one leaves.
// Both entries naming the same file leave the survivor.
void ADirSong::ChooseKeepers(const DuplicateRun& run, std::vector<DuplicatePair>& pairs) {
    int survivor = run.high;
    for (int lower = run.high - 1; lower >= run.low; --lower) {
        DuplicatePair pair;
        pair.lower = lower;
        AString survivorPath;
        AString lowerPath;
        pair.error = GetFullPath(*GetEntry(survivor), survivorPath, 1);
        if (pair.error == 0)
            pair.error = GetFullPath(*GetEntry(lower), lowerPath, 1);
        if (pair.error != 0) {
            pairs.push_back(std::move(pair));
            survivor = lower;
            continue;
        }
        const bool removeSurvivor =
            survivorPath.CompareNoCase(lowerPath) == 0 || ChooseKeeper(survivorPath, lowerPath) != kKeepFirst;
        pair.removed = removeSurvivor ? survivor : lower;
        pair.message = AString("Detected Dup: ") + NameAt(pair.removed) + " from " +
                       (removeSurvivor ? survivorPath : lowerPath);
        pairs.push_back(std::move(pair));
        if (removeSurvivor)
            survivor = lower;
    }
}

int ADirSong::ConfirmRemovals(const std::vector<DuplicatePair>& pairs, const CancelCallback& callback,
                              uint32_t verbose, std::vector<int>& removals, bool& cancelled) {
    uint32_t confirmState = kConfirmAsk;
    int firstError = 0;
    for (const DuplicatePair& pair : pairs) {
        // Once the user stopped, nothing more is asked; without questions the scan takes no time.
        if (cancelled && verbose)
            break;
        if (pair.error != 0) {
            if (firstError == 0)
                firstError = pair.error;
            // Asked only when pairs of the list follow.
            if (pair.lower > 0 && AskQuitAfterError())
                break;
            continue;
        }
        if (!verbose || ConfirmStep(confirmState, pair.message))
            removals.push_back(pair.removed);
        if (!verbose)
            continue;
        m_progress->SetPos(ScanPosition(pair.lower), &pair.message, nullptr,
                           m_logTime ? &pair.message : nullptr, m_logTime != 0);
        cancelled = callback && callback();
    }
    return firstError;
}

int ADirSong::PlaceFileInLibrary(const AString&, const AString& file, AString& target, uint32_t& copied,
                                 const CancelCallback&) {
    target = file;
    copied = 0;
    return 0;
}

int ADirSong::AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback&) {
    const AString& root = m_rootPath;
    const bool underRoot = !m_fullPathEntries && !root.IsEmpty() && file.Left(root.GetLength()) == root;
    const int index = AddEntry(underRoot ? file.Mid(root.GetLength()) : file, 0);
    if (index < 0)
        return index;
    keptFile = file;
    return 0;
}

void ADirSong::SetLibraryTools(SongListTools* tools) {
    g_libraryTools.store(tools);
}

int ADirSong::RemoveDuplicates(const CancelCallback& callback, uint32_t verbose) {
    return CallLibraryTools(
        [&](SongListTools& tools) { return tools.RemoveDuplicates(*this, callback, verbose); });
}

int ADirSong::RemoveOrphans(const CancelCallback& callback, uint32_t verbose) {
    return CallLibraryTools(
        [&](SongListTools& tools) { return tools.RemoveOrphans(*this, callback, verbose); });
}

int ADirSong::RemoveMusicNotOwned(uint32_t, const CancelCallback& callback, uint32_t verbose) {
    return CallLibraryTools(
        [&](SongListTools& tools) { return tools.RemoveMusicNotOwned(*this, callback, verbose); });
}

int ADirSong::ScanDisconnectedFiles(uint32_t addMode, const CancelCallback& callback, uint32_t verbose) {
    return CallLibraryTools(
        [&](SongListTools& tools) { return tools.ScanDisconnectedFiles(*this, addMode, callback, verbose); });
}

int ADirSong::SaveAlbumArt(const CancelCallback& callback, uint32_t verbose) {
    return CallLibraryTools(
        [&](SongListTools& tools) { return tools.SaveAlbumArt(*this, callback, verbose); });
}

ToolActionPresenter* ADirSong::SetToolActionPresenter(ToolActionPresenter* presenter) {
    return g_toolActionPresenter.exchange(presenter);
}

int ADirSong::ShowToolActionList(uint32_t kind) {
    if (kind > kToolSaveAlbumArt)
        return kErrorToolKind;
    ToolActionListRequest request;
    request.kind = kind;
    request.title = ToolActionListTitle(kind, GetType());
    request.source = this;
    request.rows = &m_toolActions;
    if (kind == kToolAddSongFiles)
        request.actionNames = &AddSongActionNames();
    ToolActionPresenter* presenter = g_toolActionPresenter.load();
    if (!presenter)
        return kUserCancel;
    const bool confirmed = kind == kToolRemoveDuplicates ? presenter->ShowDuplicatesList(request)
                                                         : presenter->ShowActionList(request);
    return confirmed ? 0 : kUserCancel;
}

int ADirSong::ShowAddSongsActionList(ADirSong& target, AArray& actions, uint32_t reserved) {
    if (reserved != 0)
        return kErrorAddListReserved;
    ToolActionListRequest request;
    request.kind = kToolAddSongsList;
    request.title = ToolActionListTitle(kToolAddSongsList, target.GetType());
    request.source = &target;
    request.addActions = &actions;
    request.actionNames = &AddSongActionNames();
    ToolActionPresenter* presenter = g_toolActionPresenter.load();
    return presenter && presenter->ShowActionList(request) ? 0 : kUserCancel;
}

bool ADirSong::AskQuitAfterError() {
    return m_askOnError &&
           AProgress::AskYesNo(AString("Error occured! Quit operation?")) == AProgress::kAnswerYes;
}

int ADirSong::IsSameSong(const AString& a, const AString& b, uint32_t checkTags) {
    ID3 aTags;
    ID3 bTags;
    const bool aRead = aTags.Read(a) == 0;
    const bool bRead = bTags.Read(b) == 0;
    const uint64_t aSize = aRead ? AudioDataSize(aTags) : 0;
    const uint64_t bSize = bRead ? AudioDataSize(bTags) : 0;
    if (aSize == 0 || aSize != bSize)
        return 0;
    if (!checkTags)
        return 1;
    AString aArtist;
    AString bArtist;
    aTags.GetArtist(aArtist);
    bTags.GetArtist(bArtist);
    return aArtist.IsEmpty() && bArtist.IsEmpty() ? 1 : 0;
}

int ADirSong::GetPodAutoUpdate(const AString& podRoot, uint32_t& flag) {
    return IPodPrefs::ReadAutoUpdate(podRoot, flag);
}

void ADirSong::BuildTargetFolder(const ID3& tags, AString& folder, uint32_t* unknownArtist,
                                 uint32_t iTunesVersion) {
    if (unknownArtist)
        *unknownArtist = 0;
    AString album;
    tags.GetAlbum(album);
    if (iTunesVersion >= kVersionWithMediaFolders) {
        if (tags.IsPodcast()) {
            folder.AppendPath("Podcasts");
            if (!tags.IsMovie() && !tags.IsTVShow())
                AppendFolder(folder, album.IsEmpty() ? AString("Unknown Podcast") : album);
            return;
        }
        if (tags.IsMovie()) {
            folder.AppendPath("Movies");
            return;
        }
        if (tags.IsTVShow()) {
            folder.AppendPath("TV Shows");
            AString show;
            tags.GetTVShow(show);
            if (!show.IsEmpty())
                AppendFolder(folder, show);
            return;
        }
    }
    AString extension;
    tags.GetExtension(extension);
    if (extension.CompareNoCase("mp4") == 0 || extension.CompareNoCase("m4v") == 0) {
        folder.AppendPath("Movies");
        return;
    }
    AString artist;
    tags.GetArtist(artist);
    if (tags.IsCompilation()) {
        artist = "Compilations";
    } else if (artist.IsEmpty()) {
        artist = "Unknown Artist";
        if (unknownArtist)
            *unknownArtist = 1;
    }
    AppendFolder(folder, artist);
    AppendFolder(folder, album.IsEmpty() ? AString("Unknown Album") : album);
}

bool ADirSong::IsSameSongAtTarget(const AString& source, uint64_t sourceAudioSize, const AString& target,
                                  bool unknownArtist, bool compilation) {
    if (FilesMatch(source, target))
        return true;
    const bool bySize = (m_sizeMatchesTarget && !unknownArtist && !compilation) || unknownArtist;
    return bySize && sourceAudioSize != 0 && sourceAudioSize == AudioDataSizeOf(target);
}

int ADirSong::MakeTargetName(const AString& source, AString& folder, AString& name, uint32_t iTunesVersion) {
    ID3 tags;
    if (const int result = tags.Read(source))
        return result;
    uint32_t unknownArtist = 0;
    BuildTargetFolder(tags, folder, &unknownArtist, iTunesVersion);
    AString title;
    tags.GetTitle(title);
    title.Trim();
    if (title.IsEmpty())
        title = name.IsEmpty() ? source.GetFileTitle() : name;
    if (title.IsEmpty())
        title = "Unknown Title";
    AString extension;
    source.GetExtension(extension);
    if (!extension.IsEmpty())
        extension.Insert(0, AString("."));
    if (tags.GetTrackNumber() > 0) {
        const AString prefix = TrackPrefix(tags);
        if (title.Find(prefix, 0, true) < 0)
            title = prefix + title;
    }
    if (iTunesVersion < kVersionWithMediaFolders && title.GetLength() > kShortTitleLength)
        title.Truncate(kShortTitleLength);
    title.Trim();
    SanitizeFileName(title, u'_', false);

    const uint64_t audioSize = AudioDataSize(tags);
    AString candidate = title + extension;
    AString target = folder;
    target.AppendPath(candidate);
    if (PathExists(target) &&
        !IsSameSongAtTarget(source, audioSize, target, unknownArtist != 0, tags.IsCompilation())) {
        // Only a file match or, for a song without artist, its audio size makes a numbered name the same
        // song.
        for (uint32_t n = 1;; ++n) {
            candidate = title + " " + AString::FromUInt(n) + extension;
            target = folder;
            target.AppendPath(candidate);
            if (!PathExists(target) || FilesMatch(source, target))
                break;
            if (unknownArtist && audioSize != 0 && audioSize == AudioDataSizeOf(target))
                break;
        }
    }
    name = candidate;
    return 0;
}

int ADirSong::WriteHtmlLibrary(AFile& file, const CancelCallback&) {
    const HtmlLibraryPage page(m_layout);
    const std::string header = page.Header();
    if (const int result = file.Write(header.data(), static_cast<uint32_t>(header.size())))
        return result;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const AString* entry = GetEntry(i);
        const std::string block = page.Block(i + 1, entry ? *entry : AString());
        if (const int result = file.Write(block.data(), static_cast<uint32_t>(block.size())))
            return result;
    }
    const std::string footer = HtmlLibraryPage::Footer();
    return file.Write(footer.data(), static_cast<uint32_t>(footer.size()));
}

int ADirSong::BuildDirectoryList(const AString& htmlPath, const CancelCallback& callback) {
    const AString building("Building Directory List...");
    m_progress->PushRange(0.5, &building, false, false);
    const int readResult = Open(nullptr, 0, callback);
    if (readResult != 0) {
        AString text = AString("Error building directory: ") + AString::FromInt(readResult);
        GetErrorText(text, readResult);
        m_progress->PopRange(&text, false, false);
        return readResult;
    }
    const AString built("Building Directory List: complete");
    m_progress->PopRange(&built, false, false);
    Sort(1);

    const AString creating("Creating HTML Library...");
    m_progress->PushRange(0.5, &creating, false, false);
    AReplacingFile page;
    int result = page.Begin(htmlPath, false);
    if (result == 0)
        result = WriteHtmlLibrary(page, callback);
    if (result == 0)
        result = page.Commit();
    else
        page.Abandon();
    const AString endText(result == 0 ? "Done. No Errors." : "Error encountered!");
    m_progress->PopRange(&endText, false, false);
    return result;
}

int ADirSong::Save(AFile& stream, uint32_t flag) {
    using namespace recordio;
    if (const int result = WriteU32(stream, kSongRecordVersion))
        return result;
    if (const int result = ADir::Save(stream, flag))
        return result;
    if (const int result = m_preferredTypes.Serialize(stream))
        return result;
    for (const SongFilter* filter : TagFiltersOf(m_filters)) {
        if (const int result = filter->Serialize(stream))
            return result;
    }
    for (const uint32_t word :
         {m_largestOverNewest, m_sizeMatchesTarget, m_layout.type, m_layout.genre, m_layout.option,
          m_layout.track, m_layout.album, m_protectedFiles, m_onlyMyAppleIDs, m_addState}) {
        if (const int result = WriteU32(stream, word))
            return result;
    }
    return m_allowedAppleIDs.Serialize(stream);
}

int ADirSong::Load(AFile& stream, uint32_t flag) {
    using namespace recordio;
    if (const int result = ReadVersion(stream, kSongRecordVersion))
        return result;
    if (const int result = ADir::Load(stream, flag))
        return result;
    if (const int result = m_preferredTypes.Load(stream))
        return result;
    for (SongFilter* filter : TagFiltersOf(m_filters)) {
        if (const int result = filter->Load(stream))
            return result;
    }
    for (uint32_t* word :
         {&m_largestOverNewest, &m_sizeMatchesTarget, &m_layout.type, &m_layout.genre, &m_layout.option,
          &m_layout.track, &m_layout.album, &m_protectedFiles, &m_onlyMyAppleIDs, &m_addState}) {
        if (const int result = ReadU32(stream, *word))
            return result;
    }
    return m_allowedAppleIDs.Load(stream);
}

void ADirSong::CopySettings(const ADir& other) {
    ADir::CopySettings(other);
    const auto* song = dynamic_cast<const ADirSong*>(&other);
    if (!song)
        return;
    m_sizeMatchesTarget = song->m_sizeMatchesTarget;
    m_largestOverNewest = song->m_largestOverNewest;
    m_layout = song->m_layout;
    m_protectedFiles = song->m_protectedFiles;
    m_onlyMyAppleIDs = song->m_onlyMyAppleIDs;
    m_filters = song->m_filters;
    m_preferredTypes = song->m_preferredTypes;
    m_allowedAppleIDs = song->m_allowedAppleIDs;
}
