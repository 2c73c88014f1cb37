#include "library/tools/ToolTestLists.h"

#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/entries/EntryText.h"
#include "library/tools/LibraryTools.h"

#include <filesystem>

int StandInList::SaveDatabase() {
    ++saves;
    return 0;
}

// A song is deleted by its root joined with its entry: the entry starts at the first '\'.
std::string StandInList::TitleOf(const AString& entry) const {
    const int levels = entry.Find(kEntryLevelSeparator);
    return SplitEntry(levels < 0 ? entry : entry.Mid(levels), GetEntryLayout()).title.ToUtf8();
}

int StandInList::GetFullPath(const AString& entry, AString& out, uint32_t byIndex) {
    int64_t id = -1;
    if (ParseEntryId(entry, id) && unnamed.count(id))
        return kErrorUnknownSongEntry;
    return ADirSongDir::GetFullPath(entry, out, byIndex);
}

int StandInList::DeleteFile(const AString& entry, uint32_t byIndex, uint32_t skip) {
    const std::string title = TitleOf(entry);
    if (!skip)
        deletedTitles.push_back(title);
    const auto result = deleteResults.find(title);
    if (result != deleteResults.end())
        return result->second;
    return ADirSongDir::DeleteFile(entry, byIndex, skip);
}

int StandInList::GetArtworkCount(const AString& entry, int& count) {
    if (artworkUnknown.count(TitleOf(entry)))
        return kErrorITunesCall;
    count = artwork.count(TitleOf(entry)) ? 1 : 0;
    return 0;
}

int StandInList::SaveArtwork(const AString& entry, int, std::vector<uint8_t>& data) {
    const auto found = artwork.find(TitleOf(entry));
    data = found == artwork.end() ? std::vector<uint8_t>() : found->second;
    return 0;
}

int StandInList::AddSong(const AString& file, const CancelCallback&) {
    addedSongs.push_back(file.ToUtf8());
    return 0;
}

int StandInList::PlaceFileInLibrary(const AString& musicFolder, const AString& file, AString& target,
                                    uint32_t& copied, const CancelCallback& callback) {
    if (placeFolder.empty())
        return ADirSongDir::PlaceFileInLibrary(musicFolder, file, target, copied, callback);
    target = AString(placeFolder);
    target.AppendPath(AString(std::filesystem::path(file.ToUtf8()).filename().string()));
    CreateDirectoryPath(AString(placeFolder));
    copied = 1;
    return CopyFileLong(file, target, false);
}

int StandInList::AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback& callback) {
    const std::string name = std::filesystem::path(file.ToUtf8()).filename().string();
    if (refused.count(name))
        return kErrorITunesRefused;
    if (m_type == kTypePod || m_type == kTypePodDB) {
        AString copy = GetRootPath();
        copy.AppendPath(AString("iPod_Control/Music/F01"));
        CreateDirectoryPath(copy);
        copy.AppendPath(AString(name));
        keptFile = AString();
        return CopyFileLong(file, copy, false);
    }
    const int result = ADirSongDir::AddFileToLibrary(file, keptFile, callback);
    if (result == 0 && !keptFileOverride.IsEmpty())
        keptFile = keptFileOverride;
    return result;
}

ToolTest::ToolTest() {
    LibraryTools::Install();
    ADirSong::SetToolActionPresenter(&presenter);
}

ToolTest::~ToolTest() {
    ADirSong::SetToolActionPresenter(nullptr);
    ADirSong::SetLibraryTools(nullptr);
}

void ToolTest::Put(const std::string& name, const TestSongTags& tags) {
    WriteSongFile(dir.File("music/" + name), MakeMp3(tags));
}

void ToolTest::PutBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteSongFile(dir.File("music/" + name), bytes);
}

AString ToolTest::Music(const std::string& name) const {
    return dir.Text(name.empty() ? "music" : "music/" + name);
}

void ToolTest::Open(StandInList& list) {
    const AString root = Music();
    list.SetKeepRemovedFiles(0);
    ASSERT_EQ(list.Open(&root, 0, CancelCallback()), 0);
}

bool ToolTest::Exists(const std::string& name) const {
    return std::filesystem::exists(dir.File("music/" + name));
}

void ToolTest::RemoveFile(const std::string& name) const {
    std::filesystem::remove(dir.File("music/" + name));
}

AString ToolTest::Shown(StandInList& list, const std::string& levels) const {
    return list.GetRootPath() + ": " + AString(levels);
}

HeadlessToolActionPresenter::ShownList ToolTest::LastList() const {
    const std::vector<HeadlessToolActionPresenter::ShownList> shown = presenter.Shown();
    return shown.empty() ? HeadlessToolActionPresenter::ShownList() : shown.back();
}

std::vector<std::string> ToolTest::RowEntries(const HeadlessToolActionPresenter::ShownList& list) const {
    std::vector<std::string> entries;
    for (const SongToolAction& row : list.rows)
        entries.push_back(row.entry.ToUtf8());
    return entries;
}
