#pragma once
// The move-to folders a combo offers: the latest first, each once (ignoring letter case), at most
// five, every one ending with the separator.

#include <QString>
#include <QStringList>

class FolderHistory {
public:
    static constexpr int kMostFolders = 5;

    // Puts the folder at the top: an equal entry moves up, else the oldest goes when five are there.
    static void Put(QStringList& folders, QString folder);
    static QString WithSeparator(QString folder);
};
