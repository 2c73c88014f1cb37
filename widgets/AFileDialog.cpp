#include "widgets/AFileDialog.h"

#include "platform/ui/WindowMessages.h"
#include "widgets/FileChooser.h"
#include "widgets/QtText.h"

#include <QFileInfo>
#include <atomic>

namespace {

std::atomic<FileChooser*> g_chooser{nullptr};

FileChooser& Chooser() {
    static QtFileChooser qtChooser;
    FileChooser* chooser = g_chooser.load();
    return chooser ? *chooser : qtChooser;
}

} // namespace

AFileDialog::AFileDialog(bool open, const QString& defaultExtension, const QString& fileName, unsigned flags,
                         const QString& filter, QWidget* parent)
    : m_open(open), m_defaultExtension(defaultExtension), m_fileName(fileName), m_flags(flags),
      m_filter(filter), m_parent(parent) {}

void AFileDialog::SetChooser(FileChooser* chooser) {
    g_chooser.store(chooser);
}

QStringList AFileDialog::ToNameFilters(const QString& filter) {
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.simplified());
    }
    return filters;
}

int AFileDialog::DoModal() {
    FileChooserRequest request;
    request.open = m_open;
    request.defaultExtension = m_defaultExtension;
    request.fileName = m_fileName;
    request.multipleFiles = m_flags & kAllowMultiSelect;
    request.confirmOverwrite = m_flags & kOverwritePrompt;
    request.nameFilters = ToNameFilters(m_filter);
    request.title = m_title;
    request.showHidden = m_showHidden;
    request.folder = m_folder;
    request.parent = m_parent;
    const std::optional<QStringList> chosen = Chooser().Choose(request);
    m_names.clear();
    m_position = 0;
    if (!chosen || chosen->isEmpty())
        return nativeui::kIdCancel;
    TakeChoice(*chosen);
    return nativeui::kIdOk;
}

void AFileDialog::TakeChoice(const QStringList& paths) {
    if (paths.size() == 1) {
        m_names.push_back(PathToAString(paths.front()));
        return;
    }
    m_names.push_back(PathToAString(QFileInfo(paths.front()).absolutePath()));
    for (const QString& path : paths)
        m_names.push_back(PathToAString(QFileInfo(path).fileName()));
}

bool AFileDialog::GetFirstFile(AString& file) {
    m_position = 0;
    return GetNextFile(file);
}

bool AFileDialog::GetNextFile(AString& file) {
    if (m_position >= m_names.size()) {
        file = AString();
        m_position = 0;
        return false;
    }
    file = m_names[m_position++];
    return true;
}
