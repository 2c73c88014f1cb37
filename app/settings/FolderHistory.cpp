#include "app/settings/FolderHistory.h"

QString FolderHistory::WithSeparator(QString folder) {
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

void FolderHistory::Put(QStringList& folders, QString folder) {
    folder = WithSeparator(std::move(folder));
    qsizetype found = -1;
    for (qsizetype i = 0; i < folders.size() && found < 0; ++i) {
        if (folders[i].compare(folder, Qt::CaseInsensitive) == 0)
            found = i;
    }
    if (found >= 0)
        folders.removeAt(found);
    else if (folders.size() >= kMostFolders)
        folders.removeLast();
    folders.prepend(folder);
}
