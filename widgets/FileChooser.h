#pragma once
// The seam behind the file dialog: shows a chooser for one request and answers the chosen full paths.
// The desktop uses QtFileChooser; tests put a scripted one in its place.

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

struct FileChooserRequest {
    bool open = true;
    QString defaultExtension;
    QString fileName;
    bool multipleFiles = false;
    bool confirmOverwrite = false;
    // Qt's filter list: "Songs (*.mp3 *.m4a)", ...
    QStringList nameFilters;
    // The dialog's own title when not empty.
    QString title;
    // The folder the chooser opens in; empty: the working folder.
    QString folder;
    bool showHidden = false;
    QWidget* parent = nullptr;
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Runs modally on the GUI thread; the chosen full paths, or nothing when the user cancelled.
    virtual std::optional<QStringList> Choose(const FileChooserRequest& request) = 0;
};

// QFileDialog; the platform's native dialog unless asked for Qt's own.
class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(bool nativeDialog = true) : m_native(nativeDialog) {}
    std::optional<QStringList> Choose(const FileChooserRequest& request) override;

private:
    bool m_native;
};
