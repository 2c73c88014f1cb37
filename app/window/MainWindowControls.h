#pragma once
// The controls of the main window, made and laid out over its client area, below the caption and
// the menu bar: the bars, the library and device pictures, the sync-setting picture with its two
// sentences, the device chooser, the playlist combos, the start button, the status strip, the
// buttons of the button row, the local address and the log pane under the panel.

#include "widgets/ABar.h"
#include "widgets/ABitmap.h"
#include "widgets/AButton.h"
#include "widgets/AComboBox.h"
#include "widgets/AMenu.h"
#include "widgets/ASyncSettingBitmap.h"
#include "widgets/AStatic.h"
#include "widgets/AStatus.h"
#include "widgets/LogPane.h"
#include "widgets/SeparatorComboBox.h"

#include <QFont>

class QWidget;

struct MainWindowControls {
    static constexpr int kWidth = 500;
    static constexpr int kMenuHeight = 19;
    static constexpr int kClientTop = 22 + kMenuHeight;
    // The window's bottom edge with the log pane hidden (the log pane's top) and shown.
    static constexpr int kLogTop = kClientTop + 266;
    static constexpr int kFullHeight = kLogTop + 156;

    explicit MainWindowControls(QWidget& window);

    // Every control that an operation disables (the sync-setting picture, both playlist combos, the
    // chooser and the four buttons of the button row).
    void EnableOperationControls(bool enable, bool rightSide);
    // Turns the log button into its shown or hidden look.
    void SetLogButtonLook(bool shown);
    // The start button as "Cancel" while an operation runs, else as "Start Now": its pictures, its
    // caption and its tooltip.
    void SetStartButtonLook(bool cancel);

    QFont textFont;
    QFont boldFont;
    QFont captionFont;

    AMenu menu;
    ABar topBar;       // 1017
    ABar separator;    // 1016
    ABar buttonBand;   // 1018
    ABar panelEdge;    // 1013
    ABar bottomBar;    // 1019
    ABitmap libraryPicture; // 1001
    ABitmap devicePicture;  // 1002
    ASyncSettingBitmap syncPicture; // 1012
    AStatic leftInfo;  // 1048
    AStatic rightInfo; // 1049
    AComboBox chooser; // 1014
    SeparatorComboBox leftPlayLists;  // 1005
    SeparatorComboBox rightPlayLists; // 1032
    AButton startButton;   // 1003
    AStatic startCaption;  // 1042
    AButton syncOptions;   // 1015
    AStatic syncOptionsCaption;
    AButton selectPlayLists; // 1050
    AStatic selectPlayListsCaption;
    AButton newTunesPlayList; // 1033
    AButton newPodPlayList;   // 1030
    AButton logButton;        // 1008
    AStatus status;    // 1000
    AStatic localAddress; // 1037
    LogPane log;       // 1009
};
