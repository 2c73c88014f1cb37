#include "widgets/FileChooser.h"

#include <QDir>
#include <QFileDialog>

std::optional<QStringList> QtFileChooser::Choose(const FileChooserRequest& request) {
    QFileDialog dialog(request.parent);
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (request.open)
        dialog.setFileMode(request.multipleFiles ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    else
        dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, !m_native);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.nameFilters.isEmpty())
        dialog.setNameFilters(request.nameFilters);
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    if (request.showHidden)
        dialog.setFilter(dialog.filter() | QDir::Hidden);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}
