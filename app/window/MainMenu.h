#pragma once
// The main window's menu bar ("File", "Sync", "Tools", "Help", each also opened by Alt and its first
// letter), built from one table of its items and their command ids. A chosen item posts WM_COMMAND (id)
// to the window. Each time a menu opens, its items are enabled and checked as the window says; a
// command the window does not handle stays disabled, so no item offers what the program cannot do.

#include <QString>
#include <functional>
#include <optional>

class AMenu;
class QAction;
class QMenu;
class QWidget;

class MainMenu {
public:
    struct ItemState {
        bool enabled = false;
        std::optional<bool> checked; // none: the item carries no check mark
    };
    using StateOf = std::function<ItemState(int commandId)>;
    // The name of sync type 0 to 5 as the menu shows it now (iPod or remote wording).
    using SyncTypeName = std::function<QString(int setting)>;

    MainMenu(AMenu& bar, QWidget& window, StateOf stateOf, SyncTypeName syncTypeName);

    // "Link Shuffle to local iTunes" in the Tools menu, present only while an iPod database is chosen.
    void ShowLinkShuffle(bool show);
    bool IsLinkShuffleShown() const;
    // The item of that command, or null.
    QAction* Action(int commandId) const;
    // Runs the enabling rules over every item, as opening the menus would.
    void UpdateStates();

private:
    QMenu* AddMenu(const QString& title);
    void AddItem(QMenu& menu, const QString& text, int commandId);
    void UpdateMenu(QMenu& menu);

    AMenu& m_bar;
    QWidget& m_window;
    StateOf m_stateOf;
    SyncTypeName m_syncTypeName;
    QMenu* m_tools = nullptr;
    QMenu* m_syncTypes = nullptr;
};
