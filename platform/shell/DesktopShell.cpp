#include "platform/shell/DesktopShell.h"

#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace nativeshell {
namespace {

const QString kOpener = QStringLiteral("xdg-open");
const QString kMailer = QStringLiteral("xdg-email");
const QString kAttachOption = QStringLiteral("--attach");
const QStringList kPageSchemes = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file")};

bool StartDetached(const ShellCommand& command) {
    return QProcess::startDetached(command.program, command.arguments);
}

QString FileUrl(const QString& path) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
}

} // namespace

DesktopShell::DesktopShell() : m_launch(StartDetached) {}

bool DesktopShell::OpenPage(const QString& address) {
    const QUrl url(address);
    if (!url.isValid() || url.isRelative() || !kPageSchemes.contains(url.scheme(), Qt::CaseInsensitive))
        return false;
    return m_launch({kOpener, {url.toString(QUrl::FullyEncoded)}});
}

bool DesktopShell::OpenPath(const QString& path) {
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    return m_launch({kOpener, {FileUrl(path)}});
}

bool DesktopShell::StartProgram(const QString& program, const QStringList& arguments) {
    if (program.isEmpty())
        return false;
    return m_launch({program, arguments});
}

bool DesktopShell::MailFile(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    // xdg-email hands the attachment to the mail program as a path.
    return m_launch({kMailer, {kAttachOption, QFileInfo(path).absoluteFilePath()}});
}

} // namespace nativeshell
