#include "app/commands/SongFileDialog.h"

#include "foundation/FileOps.h"
#include "library/songlists/ADirPodDB.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/AFileDialog.h"
#include "widgets/QtText.h"

#include <vector>

bool SongFileDialog::PodTakesVideo(uint32_t family) {
    return family == ADirPodDB::kVideoFamily;
}

AString SongFileDialog::TypeList(bool withVideo) {
    const AString songTypes(ADirSong::kSongTypes);
    return withVideo ? ADirPodDB::WithVideoTypes(songTypes) : songTypes;
}

// ":mp3:m4p:" gives ";*.mp3;*.m4p;*." and, without its first character and last three, the patterns.
QString SongFileDialog::Filter(bool withVideo) {
    QString patterns = ToQString(TypeList(withVideo));
    patterns.replace(QLatin1Char(':'), QLatin1String(";*."));
    patterns = patterns.mid(1, patterns.size() - 4);
    return QLatin1String(kFilterName) + QLatin1Char('|') + patterns + QLatin1String("||");
}

// The dialog names one file by its full path, several by their folder first and then their names.
std::optional<SongFileSelection> SongFileDialog::Run(QWidget* parent, bool withVideo, const QString& folder) {
    AFileDialog dialog(true, QString(), QString(), AFileDialog::kAllowMultiSelect, Filter(withVideo), parent);
    dialog.SetTitle(QLatin1String(kTitle));
    dialog.SetShowHidden(true);
    dialog.SetFolder(folder);
    if (dialog.DoModal() != nativeui::kIdOk)
        return std::nullopt;
    AString first;
    if (!dialog.GetFirstFile(first))
        return std::nullopt;
    std::vector<AString> paths;
    if (!DirectoryExists(first)) {
        paths.push_back(first);
        return SongFileSelection::FromPaths(paths);
    }
    for (AString name; dialog.GetNextFile(name);) {
        if (name.IsEmpty())
            continue;
        AString path = first;
        path.AppendPath(name);
        paths.push_back(path);
    }
    return SongFileSelection::FromPaths(paths);
}
