// OrvantisHelper, the server program: hidden, with a tray icon.

#include "server/program/CHalvendorHelper2App.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("OrvantisHelper"));
    QApplication::setOrganizationName(QStringLiteral("Quelloran"));
    QApplication::setQuitOnLastWindowClosed(false);
    CHalvendorHelper2App program(QApplication::arguments(), nativeipc::PeerAddress::ForCurrentUser());
    return program.Run();
}
