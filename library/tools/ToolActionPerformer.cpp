#include "library/tools/ToolActionPerformer.h"

#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/ErrorTexts.h"
#include "library/songlists/ADirSong.h"
#include "library/tags/ID3.h"
#include "library/tools/SongFileChecks.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// By SongToolKind.
constexpr const char* kRowLogTexts[] = {
    "Adding Song File: ",   "Adding Disconnected File: ", "Removing Disconnected File: ",
    "Removing Duplicate: ", "Removing Unowned Music: ",   "Removing Orphan: ",
    "Inserting Artwork: ",
};

constexpr const char* kDamagedFileQuestion =
    "A disconnected file was found that iTunes/iPod does not want to accept. Delete the Damaged File?";

bool IsKeptDuplicate(const SongToolAction& row) {
    return row.kind == kToolRemoveDuplicates && row.keep == 1;
}

int64_t RemovalIndex(const SongToolAction& row) {
    return row.kind == kToolRemoveDuplicates ? int64_t(row.entryIndex) : -1;
}

// Duplicate rows remove entries by index: they run from the highest index down, whatever order the
// rows stand in, so that no removal moves an entry that is still to go.
std::vector<SongToolAction*> PerformingOrder(const SongToolActions& rows) {
    std::vector<SongToolAction*> order;
    for (const std::unique_ptr<SongToolAction>& row : rows)
        order.push_back(row.get());
    std::stable_sort(order.begin(), order.end(), [](const SongToolAction* a, const SongToolAction* b) {
        return RemovalIndex(*a) > RemovalIndex(*b);
    });
    return order;
}

AString RowLogText(const SongToolAction& row) {
    const AString prefix(row.kind < std::size(kRowLogTexts) ? kRowLogTexts[row.kind] : "");
    return prefix + row.displayText;
}

AString EndText(int result) {
    if (result == 0)
        return AString("Actions completed.");
    if (result == kUserCancel)
        return AString("Terminated by user cancel.");
    AString text = AString("Error: ") + AString::FromInt(result);
    return GetErrorText(text, result);
}

} // namespace

ToolActionPerformer::ToolActionPerformer(ADirSong& source, const CancelCallback& callback)
    : m_source(source), m_callback(callback) {}

int ToolActionPerformer::Perform() {
    const AString performing("Performing actions...");
    m_source.GetProgress().PushRange(1.0, &performing, false, true);
    const std::vector<SongToolAction*> order = PerformingOrder(m_source.GetToolActions());
    const int count = static_cast<int>(order.size());
    m_result = 0;
    for (int step = 0; step < count; ++step) {
        // An unchecked row is neither performed nor followed by a cancel check.
        if (order[step]->checked && PerformRow(*order[step], step, count) == RowEnd::Stop)
            break;
    }
    const AString end = EndText(m_result);
    m_source.GetProgress().PopRange(&end);
    return m_result;
}

ToolActionPerformer::RowEnd ToolActionPerformer::PerformRow(SongToolAction& row, int step, int count) {
    AProgress& progress = m_source.GetProgress();
    const double position = double(step + 1) / count;
    if (!IsKeptDuplicate(row)) {
        const AString action =
            AString("Action ") + AString::FromInt(step + 1) + " of " + AString::FromInt(count);
        const AString line = RowLogText(row);
        progress.SetPos(position, &action, &line, &line, m_source.GetLogTime() != 0);
    }
    bool rowEnded = false;
    m_result = CarryOut(row, rowEnded);
    if (rowEnded)
        return RowEnd::Go;
    progress.SetPos(position);
    if (m_result == kErrorNoSpace)
        return RowEnd::Stop;
    if (m_result != 0) {
        if (!m_source.GetAskOnError())
            m_result = 0;
        else if (m_source.AskQuitAfterError())
            return RowEnd::Stop;
    }
    if (m_callback && m_callback()) {
        m_result = kUserCancel;
        return RowEnd::Stop;
    }
    return RowEnd::Go;
}

// `rowEnded`: an artwork row that could not be written ends without the error question and the cancel
// check; its errors were logged.
int ToolActionPerformer::CarryOut(SongToolAction& row, bool& rowEnded) {
    if (IsKeptDuplicate(row) || (row.kind == kToolRemoveDuplicates && !row.keptRow))
        return 0;
    ++m_performed;
    switch (row.kind) {
    case kToolAddSongFiles:
        return m_source.AddSong(row.entry, m_callback);
    case kToolAddDisconnectedFiles:
        return AddDisconnectedFile(row);
    case kToolRemoveDisconnectedFiles:
        // The disk file itself, by the rule of the plain list (deleted, or moved to "Removed Files").
        return m_source.ADir::DeleteFile(row.entry, 0, 0);
    case kToolRemoveDuplicates:
        return RemoveDuplicate(row);
    case kToolRemoveMusicNotOwned:
    case kToolRemoveOrphans:
        return DeleteSong(row);
    case kToolSaveAlbumArt:
        return SaveArtwork(row, rowEnded);
    default:
        --m_performed;
        return 0;
    }
}

// A file the library will not take is no error: the user decides whether it goes. When the library
// took a copy of its own, the found file goes; the very file the library now lists always stays.
int ToolActionPerformer::AddDisconnectedFile(const SongToolAction& row) {
    const AString& file = row.entry;
    AString musicFolder;
    m_source.GetMusicFolder(musicFolder);
    AString target;
    uint32_t copied = 0;
    int result = m_source.PlaceFileInLibrary(musicFolder, file, target, copied, m_callback);
    AString kept;
    if (result == 0) {
        result = m_source.AddFileToLibrary(target, kept, m_callback);
        if (result == kErrorLastSyncPlayList)
            result = 0;
        if (result != 0 && copied && !IsSameFile(target, file))
            DeleteFoundFile(target);
    }
    if (result != 0) {
        HandleDamagedFile(file);
        return 0;
    }
    if (!IsSameFile(kept, file))
        DeleteFoundFile(file);
    LogRowLine(AString("Disconnected File Added: ") + file, true);
    return 0;
}

// Only Yes and Yes to All delete the file; No, No to All and a box closed without an answer keep it.
void ToolActionPerformer::HandleDamagedFile(const AString& file) {
    if (m_damagedAnswer == AProgress::kAnswerNoToAll)
        return;
    LogRowLine(AString("Disconnected Damaged File: ") + file, true);
    if (m_damagedAnswer == AProgress::kAnswerYesToAll) {
        DeleteFoundFile(file);
        return;
    }
    const int answer = AProgress::AskYesNoAll(AString(kDamagedFileQuestion), &file, nullptr);
    if (answer == AProgress::kAnswerYesToAll || answer == AProgress::kAnswerNoToAll)
        m_damagedAnswer = answer;
    if (answer == AProgress::kAnswerYes || answer == AProgress::kAnswerYesToAll) {
        DeleteFoundFile(file);
    } else if (answer == AProgress::kAnswerNoToAll) {
        const AString empty;
        m_source.GetProgress().SetPos(-1.0, nullptr, &empty);
    }
}

// The entry goes; its file goes too unless it is the file of the kept copy. A kept copy whose file
// cannot be named removes nothing: it might be this very file.
int ToolActionPerformer::RemoveDuplicate(const SongToolAction& row) {
    AString keptPath;
    AString path;
    if (const int result = m_source.GetFullPath(row.keptRow->entry, keptPath, 1))
        return result;
    if (const int result = m_source.GetFullPath(row.entry, path, 1))
        return result;
    return m_source.RemoveEntry(static_cast<int>(row.entryIndex), 1, IsSameFile(keptPath, path) ? 1 : 0);
}

int ToolActionPerformer::DeleteSong(const SongToolAction& row) {
    AString path = m_source.GetRootPath();
    path.AppendPath(row.entry);
    return m_source.DeleteFile(path, 1, 0);
}

int ToolActionPerformer::SaveArtwork(const SongToolAction& row, bool& rowEnded) {
    rowEnded = true;
    std::vector<uint8_t> picture;
    if (const int result = m_source.SaveArtwork(row.entry, 0, picture)) {
        LogRowLine(AString("Error Retrieving Image Data: ") + row.displayText, false);
        return result;
    }
    if (picture.empty())
        return 0;
    ID3 tags;
    if (const int result = tags.Read(row.detail)) {
        LogRowLine(AString("Error Retrieving File Data: ") + row.displayText, false);
        return result;
    }
    const uint32_t length = static_cast<uint32_t>(picture.size());
    if (const int result = tags.Write(picture.data(), length, m_source.GetCopyMode() != 0, m_callback)) {
        LogRowLine(AString("Error Writing Image Data: ") + row.displayText, false);
        return result;
    }
    rowEnded = false;
    return 0;
}

void ToolActionPerformer::LogRowLine(const AString& text, bool showInStatus) {
    m_source.GetProgress().SetPos(-1.0, nullptr, showInStatus ? &text : nullptr, &text,
                                  m_source.GetLogTime() != 0);
}

void ToolActionPerformer::DeleteFoundFile(const AString& file) {
    const int result = m_source.ADir::DeleteFile(file, 0, 0);
    m_source.GetProgress().LogError(result, AString("Deleting "), file);
}
