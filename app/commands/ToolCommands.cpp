#include "app/commands/ToolCommands.h"

#include "app/state/AppErrorCodes.h"
#include "foundation/AProgress.h"
#include "foundation/ASemaphore.h"
#include "library/songlists/ADirSong.h"

#include <array>

namespace {

enum ToolCode {
    kDuplicatesLibrary = 1,
    kDuplicatesDevice,
    kOrphansLibrary,
    kOrphansDevice,
    kNotOwnedLibrary,
    kNotOwnedDevice,
    kAddDisconnectedLibrary,
    kAddDisconnectedDevice,
    kRemoveDisconnectedLibrary,
    kRemoveDisconnectedDevice,
    kAlbumArtLibrary,
    kAlbumArtDevice,
};

constexpr std::array<ToolCommand, 12> kTools{{
    {32837, kDuplicatesLibrary, ToolSide::Library, "Scanning for Duplicates: iTunes..."},
    {32838, kDuplicatesDevice, ToolSide::Device, "Scanning for Duplicates: iPod..."},
    {32828, kOrphansLibrary, ToolSide::Library, "Scanning for Orphans: iTunes..."},
    {32829, kOrphansDevice, ToolSide::Device, "Scanning for Orphans: iPod..."},
    {32831, kNotOwnedLibrary, ToolSide::Library, "Scanning for Music not Owned: iTunes..."},
    {32832, kNotOwnedDevice, ToolSide::Device, "Scanning for Music not Owned: iPod..."},
    {32834, kAddDisconnectedLibrary, ToolSide::Library, "Looking for Disconnected Files: iTunes..."},
    {32835, kAddDisconnectedDevice, ToolSide::Device, "Looking for Disconnected Files: iPod..."},
    {32853, kRemoveDisconnectedLibrary, ToolSide::Library, "Looking for Disconnected Files: iTunes..."},
    {32854, kRemoveDisconnectedDevice, ToolSide::Device, "Looking for Disconnected Files: iPod..."},
    {32848, kAlbumArtLibrary, ToolSide::Library, "Scanning for mp3 Files: iTunes..."},
    {32849, kAlbumArtDevice, ToolSide::Device, "Scanning for mp3 Files: iPod..."},
}};

// The tools' own arguments: duplicates with the full removal, sorted first, ascending; every tool verbose.
constexpr uint32_t kFullDuplicates = 1;
constexpr uint32_t kSortFirst = 1;
constexpr uint32_t kAscending = 1;
constexpr uint32_t kVerbose = 1;
constexpr uint32_t kAddFiles = 1;
constexpr uint32_t kRemoveFiles = 0;
constexpr uint32_t kNotOwnedWord = 1;

bool IsDisconnectedFilesTool(int code) {
    return code >= kAddDisconnectedLibrary && code <= kRemoveDisconnectedDevice;
}

// Shown without a position: both status lines and a log line.
void ShowLine(AProgress& progress, const char* line) {
    const AString text(line);
    progress.SetPos(-1.0, &text, &text, &text);
}

// What the run switches off on the list, so that the tool sees every song; put back afterwards.
struct ListSettings {
    uint32_t typeFilterFlags = 0;
    uint32_t nameFilterFlags = 0;
    AString keepNames;
    AString dropNames;
    bool disconnectedFiles = false;
    uint32_t dontCopyWhenTagsEqual = 0;
    bool playListLimited = false;
    AString playListName;
};

ListSettings SwitchOffForTool(ADirSong& list, int code) {
    ListSettings saved;
    saved.typeFilterFlags = list.GetTypeFilterFlags();
    saved.nameFilterFlags = list.GetNameFilterFlags();
    saved.keepNames = list.GetKeepNames();
    saved.dropNames = list.GetDropNames();
    list.SetFlags(0);
    list.SetNameFilter(0, saved.keepNames, saved.dropNames);
    if (!IsDisconnectedFilesTool(code))
        return saved;
    // The disconnected files are those of no song of the whole library, not of one playlist.
    saved.disconnectedFiles = true;
    saved.dontCopyWhenTagsEqual = list.GetSizeMatchesTarget();
    list.SetSizeMatchesTarget(0);
    saved.playListLimited = list.GetType() == ADir::kTypeTunes || list.GetType() == ADir::kTypePod;
    if (saved.playListLimited) {
        list.GetPlayListName(saved.playListName);
        list.SetPlayListName(AString());
    }
    return saved;
}

void Restore(ADirSong& list, const ListSettings& saved) {
    list.SetFlags(saved.typeFilterFlags);
    list.SetNameFilter(saved.nameFilterFlags, saved.keepNames, saved.dropNames);
    if (!saved.disconnectedFiles)
        return;
    list.SetSizeMatchesTarget(saved.dontCopyWhenTagsEqual);
    if (saved.playListLimited)
        list.SetPlayListName(saved.playListName);
}

// The job's presenter shows the lists of this run only.
class PresenterForRun {
public:
    explicit PresenterForRun(ToolActionPresenter* presenter)
        : m_installed(presenter != nullptr),
          m_previous(m_installed ? ADirSong::SetToolActionPresenter(presenter) : nullptr) {}
    ~PresenterForRun() {
        if (m_installed)
            ADirSong::SetToolActionPresenter(m_previous);
    }
    PresenterForRun(const PresenterForRun&) = delete;
    PresenterForRun& operator=(const PresenterForRun&) = delete;

private:
    bool m_installed;
    ToolActionPresenter* m_previous;
};

} // namespace

const ToolCommand* ToolCommands::Find(int command) {
    for (const ToolCommand& tool : kTools) {
        if (tool.command == command)
            return &tool;
    }
    return nullptr;
}

const ToolCommand* ToolCommands::FindCode(int code) {
    return code >= 1 && code <= static_cast<int>(kTools.size()) ? &kTools[code - 1] : nullptr;
}

bool ToolCommands::ExtendsAppleIds(const ToolCommand& tool) {
    return tool.code == kNotOwnedLibrary || tool.code == kNotOwnedDevice;
}

ToolStart ToolCommands::TryStart(const ToolCommand& tool, bool deviceChosen, ASemaphore& busy) {
    if (tool.side == ToolSide::Device && !deviceChosen)
        return ToolStart::NoDevice;
    return busy.TryLock() ? ToolStart::Started : ToolStart::Busy;
}

int ToolCommands::Run(const ToolJob& job, AProgress& progress) {
    progress.ClearLog();
    const ToolCommand* tool = FindCode(job.code);
    if (tool)
        ShowLine(progress, tool->scanText);
    ADirSong* list = nullptr;
    if (const int refused = ChooseList(job, tool, list)) {
        ShowLine(progress, kErrorOccured);
        return refused;
    }
    const PresenterForRun presenter(job.presenter);
    const ListSettings saved = SwitchOffForTool(*list, tool->code);
    progress.Start();
    int result = list->Open(nullptr, 0, job.cancel);
    progress.Finish();
    if (result == 0)
        result = RunTool(tool->code, *list, job.cancel);
    if (result == 0)
        result = list->SaveDatabase();
    Restore(*list, saved);
    // A failure after the list was chosen was logged where it happened.
    if (result == 0)
        ShowLine(progress, kDone);
    return result;
}

int ToolCommands::ChooseList(const ToolJob& job, const ToolCommand* tool, ADirSong*& list) {
    if (!tool)
        return kErrorToolCode;
    if (tool->side == ToolSide::Library) {
        if (!job.library || job.library->GetType() != ADir::kTypeTunes)
            return kErrorToolNotOnLibrary;
        list = dynamic_cast<ADirSong*>(job.library);
        return list ? 0 : kErrorToolNotOnLibrary;
    }
    const uint32_t type = job.device ? job.device->GetType() : 0;
    if (type != ADir::kTypePod && type != ADir::kTypePodDB)
        return kErrorToolNotOnPod;
    list = dynamic_cast<ADirSong*>(job.device);
    return list ? 0 : kErrorToolNotOnPod;
}

int ToolCommands::RunTool(int code, ADirSong& list, const CancelCallback& cancel) {
    switch (code) {
    case kDuplicatesLibrary:
    case kDuplicatesDevice:
        return list.FindDuplicates(kFullDuplicates, kSortFirst, kAscending, cancel, kVerbose);
    case kOrphansLibrary:
    case kOrphansDevice:
        return list.RemoveOrphans(cancel, kVerbose);
    case kNotOwnedLibrary:
    case kNotOwnedDevice:
        return list.RemoveMusicNotOwned(kNotOwnedWord, cancel, kVerbose);
    case kAddDisconnectedLibrary:
    case kAddDisconnectedDevice:
        return list.ScanDisconnectedFiles(kAddFiles, cancel, kVerbose);
    case kRemoveDisconnectedLibrary:
    case kRemoveDisconnectedDevice:
        return list.ScanDisconnectedFiles(kRemoveFiles, cancel, kVerbose);
    default:
        return list.SaveAlbumArt(cancel, kVerbose);
    }
}
