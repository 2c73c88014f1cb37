#include "server/program/HelperTrayMenu.h"

std::vector<HelperTrayItem> HelperTrayMenu::Items(bool listening) {
    return {
        {kAbout, QString::fromUtf8("About Orvantis\u2122")},
        {kShowMain, QStringLiteral("Show Orvantis")},
        {kStartStopServer, listening ? QStringLiteral("Stop Server") : QStringLiteral("Start Server")},
        {kExit, QStringLiteral("Exit")},
    };
}

QString HelperTrayMenu::Tip() {
    return QStringLiteral("Orvantis");
}

QString HelperTrayMenu::ExitQuestion() {
    return QStringLiteral("Are you sure you want to exit? Your Server is currently running.\r\n"
                          "If you exit others will not be able to sync with your local iTunes.");
}

QString HelperTrayMenu::ExitTitle() {
    return QStringLiteral("Orvantis");
}
