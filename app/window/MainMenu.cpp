#include "app/window/MainMenu.h"

#include "app/window/MainMessages.h"
#include "platform/ui/PrivateMessage.h"
#include "widgets/AMenu.h"

#include <QAction>
#include <QMenu>
#include <array>

namespace {

constexpr int kSeparator = 0;

struct Item {
    const char* text;
    int commandId; // kSeparator: a separator line
};

constexpr std::array kFileItems = {
    Item{"New iTunes Playlist...", 1033}, Item{"New iPod Playlist...", 1030},  Item{nullptr, kSeparator},
    Item{"Save Router Config", 32862},    Item{"Load Router Config", 32863},   Item{"Email Router Config", 32864},
    Item{nullptr, kSeparator},            Item{"Exit", mainmsg::kIdCancel},
};

// The six sync types in setting order 0 to 5.

struct SubMenu {
    const char* title;
    Item first;
    Item second;
};

constexpr std::array kToolSubMenus = {
    SubMenu{"Add Song File(s)", {"To iTunes", 32843}, {"To iPod", 32787}},
    SubMenu{"Remove Duplicates", {"From iTunes", 32837}, {"From iPod", 32838}},
    SubMenu{"Remove Orphans", {"From iTunes", 32828}, {"From iPod", 32829}},
    SubMenu{"Remove Music Not Owned", {"From iTunes", 32831}, {"From iPod", 32832}},
    SubMenu{"Add Disconnected Files", {"In iTunes", 32834}, {"In iPod", 32835}},
    SubMenu{"Remove Disconnected Files", {"In iTunes", 32853}, {"In iPod", 32854}},
};
constexpr Item kSaveAlbumArt{"Save Album Art to Music Files", 32848};
constexpr Item kLinkShuffle{"Link Shuffle to local iTunes", mainmsg::kCmdLinkShuffle};

constexpr std::array kHelpItems = {
    Item{"Orvantis Help...", 57670}, Item{"Report a Bug", 32846},         Item{"Check for Updates", 32803},
    Item{"Find other Tavisholt Products ", 32866}, Item{nullptr, kSeparator},
    Item{"About Orvantis...", mainmsg::kCmdAbout},
};

QAction* FindIn(const QMenu& menu, int commandId) {
    for (QAction* action : menu.actions()) {
        if (action->menu()) {
            if (QAction* found = FindIn(*action->menu(), commandId))
                return found;
        } else if (!action->isSeparator() && action->data().toInt() == commandId) {
            return action;
        }
    }
    return nullptr;
}

} // namespace

MainMenu::MainMenu(AMenu& bar, QWidget& window, StateOf stateOf, SyncTypeName syncTypeName)
    : m_bar(bar), m_window(window), m_stateOf(std::move(stateOf)), m_syncTypeName(std::move(syncTypeName)) {
    QMenu* file = AddMenu(QStringLiteral("&File"));
    for (const Item& item : kFileItems)
        AddItem(*file, QLatin1String(item.text), item.commandId);

    QMenu* sync = AddMenu(QStringLiteral("&Sync"));
    AddItem(*sync, QStringLiteral("&Start Now"), mainmsg::kCmdStartNow);
    AddItem(*sync, QStringLiteral("Cancel"), mainmsg::kCmdCancelSync);
    m_syncTypes = sync->addMenu(QStringLiteral("Set Sync Type"));
    for (size_t setting = 0; setting < mainmsg::kSyncTypeCommands.size(); ++setting)
        AddItem(*m_syncTypes, m_syncTypeName(static_cast<int>(setting)), mainmsg::kSyncTypeCommands[setting]);
    AddItem(*sync, QStringLiteral("Sync Options..."), mainmsg::kCmdSyncOptions);

    m_tools = AddMenu(QStringLiteral("&Tools"));
    for (const SubMenu& sub : kToolSubMenus) {
        QMenu* menu = m_tools->addMenu(QLatin1String(sub.title));
        AddItem(*menu, QLatin1String(sub.first.text), sub.first.commandId);
        AddItem(*menu, QLatin1String(sub.second.text), sub.second.commandId);
    }
    AddItem(*m_tools, QLatin1String(kSaveAlbumArt.text), kSaveAlbumArt.commandId);

    QMenu* help = AddMenu(QStringLiteral("&Help"));
    for (const Item& item : kHelpItems)
        AddItem(*help, QLatin1String(item.text), item.commandId);
    UpdateStates();
}

QMenu* MainMenu::AddMenu(const QString& title) {
    QMenu* menu = m_bar.addMenu(title);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] { UpdateMenu(*menu); });
    return menu;
}

void MainMenu::AddItem(QMenu& menu, const QString& text, int commandId) {
    if (commandId == kSeparator) {
        menu.addSeparator();
        return;
    }
    QAction* action = menu.addAction(text);
    action->setData(commandId);
    QObject::connect(action, &QAction::triggered, &m_window, [this, commandId] {
        nativeui::PrivateMessage::Post(&m_window, nativeui::kWmCommand, nativeui::MakeWParam(commandId, 0), 0);
    });
}

void MainMenu::ShowLinkShuffle(bool show) {
    QAction* present = FindIn(*m_tools, kLinkShuffle.commandId);
    if (show && !present)
        AddItem(*m_tools, QLatin1String(kLinkShuffle.text), kLinkShuffle.commandId);
    if (!show && present)
        m_tools->removeAction(present);
}

bool MainMenu::IsLinkShuffleShown() const {
    return FindIn(*m_tools, kLinkShuffle.commandId) != nullptr;
}

QAction* MainMenu::Action(int commandId) const {
    for (QAction* top : m_bar.actions()) {
        if (top->menu()) {
            if (QAction* found = FindIn(*top->menu(), commandId))
                return found;
        }
    }
    return nullptr;
}

void MainMenu::UpdateStates() {
    for (QAction* top : m_bar.actions()) {
        if (top->menu())
            UpdateMenu(*top->menu());
    }
}

void MainMenu::UpdateMenu(QMenu& menu) {
    for (QAction* action : menu.actions()) {
        if (action->menu()) {
            UpdateMenu(*action->menu());
            continue;
        }
        if (action->isSeparator())
            continue;
        const ItemState state = m_stateOf(action->data().toInt());
        action->setEnabled(state.enabled);
        action->setCheckable(state.checked.has_value());
        action->setChecked(state.checked.value_or(false));
    }
    if (&menu == m_syncTypes) {
        for (size_t setting = 0; setting < mainmsg::kSyncTypeCommands.size(); ++setting) {
            if (QAction* action = FindIn(menu, mainmsg::kSyncTypeCommands[setting]))
                action->setText(m_syncTypeName(static_cast<int>(setting)));
        }
    }
}
