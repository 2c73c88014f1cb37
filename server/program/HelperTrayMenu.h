#pragma once
// The tray icon's menu, built anew at each click: its commands, their texts for the server's state,
// and the question "Exit" asks while the server listens. Apart from the tray itself, so that it can be
// driven without one.

#include <QString>
#include <vector>

struct HelperTrayItem {
    int id;
    QString text;
};

class HelperTrayMenu {
public:
    enum Command { kAbout = 32772, kShowMain = 32776, kStartStopServer = 32778, kExit = 32779 };
    static constexpr int kIconId = 100565;

    static std::vector<HelperTrayItem> Items(bool listening);
    static QString Tip();
    static QString ExitQuestion();
    static QString ExitTitle();
};
