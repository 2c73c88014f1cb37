#pragma once
// The file dialog that accepts a selection of any length and lets the caller walk the chosen names:
// one file gives its full path; several give their folder first, then each name.

#include "foundation/AString.h"

#include <QString>
#include <QStringList>
#include <vector>

class FileChooser;
class QWidget;

class AFileDialog {
public:
    // Flags as the callers give them.
    static constexpr unsigned kOverwritePrompt = 0x2;
    static constexpr unsigned kAllowMultiSelect = 0x200;

    // `filter` in the form "Songs|*.mp3;*.m4a|All Files|*.*||".
    AFileDialog(bool open, const QString& defaultExtension, const QString& fileName, unsigned flags,
                const QString& filter, QWidget* parent);

    void SetTitle(const QString& title) { m_title = title; }
    void SetShowHidden(bool show) { m_showHidden = show; }
    // The folder the dialog opens in (none: the working folder).
    void SetFolder(const QString& folder) { m_folder = folder; }

    // IDOK with a choice, IDCANCEL without.
    int DoModal();
    bool GetFirstFile(AString& file);
    // False at the end, and the walk starts over.
    bool GetNextFile(AString& file);

    // The chooser every file dialog of the process uses; null restores Qt's file dialog.
    static void SetChooser(FileChooser* chooser);
    // "Songs|*.mp3;*.m4a||" as Qt's name filters: "Songs (*.mp3 *.m4a)".
    static QStringList ToNameFilters(const QString& filter);

private:
    void TakeChoice(const QStringList& paths);

    bool m_open;
    QString m_defaultExtension;
    QString m_fileName;
    unsigned m_flags;
    QString m_filter;
    QWidget* m_parent;
    QString m_title;
    QString m_folder;
    bool m_showHidden = false;
    std::vector<AString> m_names;
    size_t m_position = 0;
};
