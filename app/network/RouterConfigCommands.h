#pragma once
// "Save Router Config" and "Email Router Config": the router test runs, and when the router can be
// reached from the internet its configuration is saved where the user chooses, or written into
// "SyncSets" under this computer's name and handed to a new mail. A router without a usable external
// address, or one behind another router, gives its message and nothing is written; a file that cannot
// be written is reported and nothing is mailed.

#include "app/network/RouterConfiguration.h"

#include <QString>
#include <optional>

class HelperProgram;
class QWidget;
class RouterTest;
namespace nativeshell {
class Shell;
}

class RouterConfigCommands {
public:
    // `shell` (may be null: nothing is mailed) opens the new mail.
    RouterConfigCommands(RouterTest& test, const HelperProgram& helper, nativeshell::Shell* shell)
        : m_test(test), m_helper(helper), m_shell(shell) {}

    // The router test and the status it left; none, after telling the user why, when no
    // configuration can be had (nothing is said when the user cancelled the wait).
    std::optional<RouterConfiguration> ShowRouterStatus(QWidget* parent);
    void SaveRouterConfig(QWidget* parent);
    void EmailRouterConfig(QWidget* parent);

    static QString WriteFailureMessage(const QString& path);
    // This computer's name, as the name service gives it.
    static std::string ComputerName();

private:
    bool WriteOrTell(const RouterConfiguration& configuration, const QString& path, QWidget* parent) const;

    RouterTest& m_test;
    const HelperProgram& m_helper;
    nativeshell::Shell* m_shell;
};
