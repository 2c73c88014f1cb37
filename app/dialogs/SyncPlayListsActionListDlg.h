#pragma once
// "Sync Actions to Perform" of a playlist sync: a chooser of the playlists at the top, a check box that
// lets the chosen playlist take part or not, and below the song actions of that playlist's song sync,
// which behave as in the sync's own action list. It edits the caller's actions in place.

#include "app/dialogs/ActionListDialog.h"
#include "app/dialogs/PlayListActionEntry.h"
#include "sync/SyncActionTexts.h"

#include <memory>
#include <vector>

class ASync;
class ActionListView;
class DialogSplitterWnd;
class QCheckBox;
class QLabel;
class SyncActionListModel;
class SyncActionMenu;
class SyncPlayListAComboBox2;

class SyncPlayListsActionListDlg : public ActionListDialog {
public:
    enum Control { kChooserId = 1032, kLabelId = 1054, kCheckBoxId = 1055 };

    SyncPlayListsActionListDlg();
    ~SyncPlayListsActionListDlg() override;

    // The playlists in the playlist sync's order; `remote` when side 2 is another computer's library.
    void SetActionList(std::vector<PlayListActionEntry> entries, bool remote);
    // Shows the list for the playlists from any thread and waits: 0 when the user pressed "Execute",
    // 123456 otherwise.
    static int Confirm(const std::vector<PlayListActionEntry>& entries, bool remote);

    std::unique_ptr<QMenu> BuildContextMenu(const QPoint& globalPoint) override;
    void OnCommand(int id) override;

    ActionListView& View() const { return *m_view; }
    SyncActionListModel& Model() const { return *m_model; }
    SyncPlayListAComboBox2& Chooser() const { return *m_chooser; }
    QCheckBox& PlayListCheckBox() const { return *m_checkBox; }
    int CurrentEntry() const { return m_currentEntry; }

protected:
    void LayoutColumns() override;
    void PlaceListArea(int bottom) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SetUpList();
    void SetUpChooser();
    void FillChooser();
    void ShowEntry(int index);
    void ShowSongActions(ASync& songSync);
    void PlaceChooser();
    void RewriteTitle();
    int ModeOf(const ASync& songSync) const;

    std::vector<PlayListActionEntry> m_entries;
    bool m_remote = false;
    SyncActionTexts m_texts;
    ASync* m_currentSongSync = nullptr;
    int m_currentEntry = 0;
    int m_column1Width = 0;
    DialogSplitterWnd* m_splitter;
    SyncPlayListAComboBox2* m_chooser;
    QLabel* m_label;
    QCheckBox* m_checkBox;
    // In this order, so that the view goes before the model it shows.
    std::unique_ptr<SyncActionListModel> m_model;
    std::unique_ptr<ActionListView> m_view;
    std::unique_ptr<SyncActionMenu> m_menu;
};
