#pragma once
// What the programs ask of the desktop: open a web page, a file or a folder in the application the
// user chose for it, start a program, start a new mail with a file attached. Each returns whether it
// could be started; none waits for what it started. Tests put a recorder in its place, so that they
// never launch anything.

#include <QString>
#include <QStringList>

namespace nativeshell {

class Shell {
public:
    virtual ~Shell() = default;
    // An http, https or file address.
    virtual bool OpenPage(const QString& address) = 0;
    // A file or a folder on this computer.
    virtual bool OpenPath(const QString& path) = 0;
    virtual bool StartProgram(const QString& program, const QStringList& arguments) = 0;
    // An existing file.
    virtual bool MailFile(const QString& path) = 0;
};

} // namespace nativeshell
