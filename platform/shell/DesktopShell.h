#pragma once
// The desktop's own tools behind the shell: "xdg-open" for pages, files and folders, "xdg-email
// --attach" for a new mail, a detached process for a program. Addresses and paths reach those tools
// only as absolute URLs or absolute paths, so no text is ever taken for one of their options.

#include "platform/shell/Shell.h"

#include <functional>

namespace nativeshell {

struct ShellCommand {
    QString program;
    QStringList arguments;
    bool operator==(const ShellCommand&) const = default;
};

class DesktopShell : public Shell {
public:
    // Starts a command detached from this process; false when it could not be started.
    using Launcher = std::function<bool(const ShellCommand&)>;

    DesktopShell();
    explicit DesktopShell(Launcher launcher) : m_launch(std::move(launcher)) {}

    bool OpenPage(const QString& address) override;
    bool OpenPath(const QString& path) override;
    bool StartProgram(const QString& program, const QStringList& arguments) override;
    bool MailFile(const QString& path) override;

private:
    Launcher m_launch;
};

} // namespace nativeshell
