// Orvantis, the desktop program.

#include "app/CHalvendorApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvantis"));
    QApplication::setOrganizationName(QStringLiteral("Quelloran"));
    QApplication::setQuitOnLastWindowClosed(false);
    CHalvendorApp program(QApplication::arguments(), nativeipc::PeerAddress::ForCurrentUser());
    return program.Run();
}
