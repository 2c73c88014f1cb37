#include "app/dialogs/gallery/DialogScenes.h"

#include "app/dialogs/ActionListView.h"
#include "app/dialogs/PlayListChoice.h"
#include "app/dialogs/SelectPlayListsDlg.h"
#include "app/dialogs/SyncActionListDlg.h"
#include "app/dialogs/SyncPlayListsActionListDlg.h"
#include "app/dialogs/ToolActionListDlg.h"
#include "app/dialogs/ToolDupsActionListDlg.h"
#include "foundation/AArray.h"
#include "sync/ASync.h"
#include "sync/SyncAction.h"
#include "sync/SyncActionTexts.h"
#include "sync/SyncOptions.h"

#include <QApplication>

namespace {

// 2020-06-01 12:00:00 UTC as seconds since 1904.
constexpr uint64_t kSampleFileDate = 1591012800ULL + 2082830400ULL;

std::vector<SyncAction> FolderActions() {
    return {
        SampleAction(kActionCopy, kCopyTo2, 1, "\\Rock\\Band\\Album\\Song One.mp3", "\\Rock\\Band\\Album\\"),
        SampleAction(kActionCopy, kCopyTo1, 1, "\\Jazz\\Trio\\", "\\Jazz\\Trio\\Blue Night.mp3"),
        SampleAction(kActionDelete, kDeleteFrom2, 0, "", "\\Pop\\Singer\\Old Hit.mp3"),
        SampleAction(kActionReplace, kReplaceIn1, 1, "\\Folk\\Duo\\River.mp3", "\\Folk\\Duo\\River.mp3"),
        SampleAction(kActionCreateFolder, kCreateFolderIn2, 1, "\\Blues", "\\"),
        SampleAction(kActionDeleteFolder, kDeleteFolderFrom1, 1, "\\Empty", ""),
        SampleAction(kActionUndefined, kUndefinedPair, 0, "\\Soul\\Voice\\Same.mp3",
                     "\\Soul\\Voice\\Same.mp3"),
        SampleAction(kActionNone, kNoActionPair, 1, "\\Soul\\Voice\\Kept.mp3", "\\Soul\\Voice\\Kept.mp3"),
    };
}

DialogSceneWindow SyncActionListScene() {
    auto rows = std::make_shared<std::vector<SyncAction>>(FolderActions());
    auto dialog = std::make_unique<SyncActionListDlg>();
    dialog->SetActionList(PointersTo(*rows), nullptr, SyncActionTexts::ForDirectories());
    return {rows, std::move(dialog)};
}

struct PlayListRows {
    std::vector<std::unique_ptr<ASync>> songSyncs;
    std::vector<SyncAction> playLists;
};

DialogSceneWindow PlayListActionListScene() {
    auto rows = std::make_shared<PlayListRows>();
    rows->songSyncs.push_back(SampleSongSync(kDirection1To2, 0, {}));
    rows->songSyncs.push_back(SampleSongSync(
        kDirectionBoth, 1,
        std::vector<SyncAction>{
            SampleAction(kActionCopy, kCopyTo2, 1, "Band - Album - Song One", ""),
            SampleAction(kActionReplace, kReplaceIn2, 1, "Trio - Night - Blue", "Trio - Night - Blue", 1),
            SampleAction(kActionDelete, kDeleteFrom1, 0, "Singer - Hits - Old Hit", ""),
        }));
    rows->playLists = {
        SampleAction(kActionNone, kNoActionPair, 1, "iTunes Library: ", "iPod Library:   "),
        SampleAction(kActionCopy, kCopyTo2, 1, "iTunes Library: Road Trip", "iPod Library:   "),
    };
    std::vector<PlayListActionEntry> entries = {
        {&rows->playLists[0], rows->songSyncs[0].get(), 0},
        {&rows->playLists[1], rows->songSyncs[1].get(), 0},
    };
    auto dialog = std::make_unique<SyncPlayListsActionListDlg>();
    dialog->SetActionList(entries, false);
    return {rows, std::move(dialog)};
}

std::unique_ptr<SongToolAction> ToolRow(const char* text, const char* appleId, uint32_t checked) {
    auto row = std::make_unique<SongToolAction>();
    row->kind = kToolRemoveMusicNotOwned;
    row->displayText = AString(text);
    row->detail = AString(appleId);
    row->checked = checked;
    return row;
}

DialogSceneWindow ToolActionListScene() {
    auto rows = std::make_shared<SongToolActions>();
    rows->push_back(ToolRow("Band - Album - Song One", "friend@example.com", 1));
    rows->push_back(ToolRow("Trio - Night - Blue", "friend@example.com", 1));
    rows->push_back(ToolRow("Singer - Hits - Old Hit", "other@example.com", 0));
    ToolActionListRequest request;
    request.kind = kToolRemoveMusicNotOwned;
    request.title = AString("Remove Music Not Owned From iTunes - Songs to Remove");
    request.rows = rows.get();
    return {rows, std::make_unique<ToolActionListDlg>(request)};
}

struct AddSongRows {
    std::vector<SyncAction> actions;
    AArray array;
};

DialogSceneWindow AddSongsListScene() {
    auto rows = std::make_shared<AddSongRows>();
    rows->actions = {
        SampleAction(kActionCopy, kCopyTo2, 1, "/home/ann/Music/Band/Album/Song One.mp3", "iTunes:"),
        SampleAction(kActionReplace, kReplaceIn2, 1, "/home/ann/Music/Trio/Night/Blue.mp3", "iTunes:"),
        SampleAction(kActionUndefined, kUndefinedPair, 0, "/home/ann/Music/Singer/Hits/Old Hit.mp3", "iTunes:"),
    };
    for (SyncAction& action : rows->actions)
        rows->array.AddPointer(&action);
    ToolActionListRequest request;
    request.kind = kToolAddSongsList;
    request.title = AString("Add Song File(s) To iTunes - Files to Add");
    request.addActions = &rows->array;
    request.actionNames = &AddSongActionNames();
    return {rows, std::make_unique<ToolActionListDlg>(request)};
}

std::unique_ptr<SongToolAction> DuplicateRow(uint32_t group, uint32_t keep, uint32_t checked,
                                             const char* path, uint64_t size, uint32_t duration,
                                             uint32_t bitRate) {
    auto row = std::make_unique<SongToolAction>();
    row->kind = kToolRemoveDuplicates;
    row->group = group;
    row->keep = keep;
    row->checked = checked;
    row->displayText = AString(group == 1 ? "Band - Album - Song One" : "Trio - Night - Blue");
    row->fullPath = AString(path);
    row->fileDate = size ? kSampleFileDate : 0;
    row->fileSize = size;
    row->duration = duration;
    row->bitRate = bitRate;
    row->accountName = AString(group == 1 ? "me@example.com" : "");
    row->hasPictures = keep;
    return row;
}

DialogSceneWindow DuplicatesScene() {
    auto rows = std::make_shared<SongToolActions>();
    rows->push_back(DuplicateRow(1, 1, 1, "/music/Band/Album/01 Song One.mp3", 4200000, 245, 192));
    rows->push_back(DuplicateRow(1, 0, 1, "/music/Band/Album/01 Song One 1.mp3", 4100000, 244, 160));
    rows->push_back(DuplicateRow(2, 0, 0, "/music/Trio/Night/Blue.m4a", 0, 0, 0));
    rows->push_back(DuplicateRow(2, 1, 0, "/music/Trio/Night/Blue 1.m4a", 3900000, 3725, 256));
    for (size_t index = 0; index < rows->size(); ++index) {
        if ((*rows)[index]->keep)
            MakeKeptRow(*rows, index);
    }
    ToolActionListRequest request;
    request.kind = kToolRemoveDuplicates;
    request.title = AString("Remove Duplicates From iTunes - Songs to Remove");
    request.rows = rows.get();
    return {rows, std::make_unique<ToolDupsActionListDlg>(request)};
}

PlayListChoice Choice(const char* name, uint32_t selected, uint32_t inList1, uint32_t inList2,
                      uint32_t duplicate) {
    return {selected, AString(name), inList1, inList2, duplicate};
}

DialogSceneWindow PlayListsToSynchronizeScene() {
    auto rows = std::make_shared<std::vector<PlayListChoice>>(std::vector<PlayListChoice>{
        Choice("Jazz", 1, 1, 0, 0),
        Choice("Mix", 1, 1, 1, 1),
        Choice("MIX", 0, 1, 0, 1),
        Choice("Pop", 0, 0, 1, 0),
        Choice("Rock", 1, 1, 1, 0),
    });
    auto dialog = std::make_unique<SelectPlayListsDlg>(nullptr);
    dialog->SetRecords(rows.get(), SelectPlayListsDlg::kPodHeaders);
    dialog->List().selectRow(4);
    return {rows, std::move(dialog)};
}

// The sync's own action list is what a sample song sync fills.
class SongSyncWithActions : public ASync {
public:
    SongSyncWithActions(uint32_t direction, uint32_t deleteMode, std::vector<SyncAction> actions) {
        SetDirection(direction);
        SetDeleteMode(deleteMode);
        for (SyncAction& action : actions)
            AppendAction(std::make_unique<SyncAction>(std::move(action)));
    }
};

} // namespace

SyncAction SampleAction(uint32_t code, uint32_t displayIndex, uint32_t enabled, const char* text1,
                        const char* text2, uint32_t fieldsOnly) {
    SyncAction action;
    action.code = code;
    action.displayIndex = displayIndex;
    action.enabled = enabled;
    action.text1 = AString(text1);
    action.text2 = AString(text2);
    action.fieldsOnly = fieldsOnly;
    return action;
}

std::vector<SyncAction*> PointersTo(std::vector<SyncAction>& actions) {
    std::vector<SyncAction*> pointers;
    for (SyncAction& action : actions)
        pointers.push_back(&action);
    return pointers;
}

std::unique_ptr<ASync> SampleSongSync(uint32_t direction, uint32_t deleteMode,
                                      std::vector<SyncAction> actions) {
    return std::make_unique<SongSyncWithActions>(direction, deleteMode, std::move(actions));
}

std::vector<DialogScene> DialogScenes() {
    return {
        {QStringLiteral("sync_action_list"), SyncActionListScene},
        {QStringLiteral("playlist_sync_action_list"), PlayListActionListScene},
        {QStringLiteral("tool_action_list_not_owned"), ToolActionListScene},
        {QStringLiteral("tool_action_list_add_songs"), AddSongsListScene},
        {QStringLiteral("duplicates_action_list"), DuplicatesScene},
        {QStringLiteral("playlists_to_synchronize"), PlayListsToSynchronizeScene},
    };
}

QImage RenderDialog(QWidget& dialog) {
    dialog.show();
    QApplication::processEvents();
    QImage image(dialog.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    dialog.render(&image);
    return image;
}
