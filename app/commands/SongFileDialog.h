#pragma once
// The file dialog of "Add Song File(s)": the song file types a target takes, the one filter made of
// them, and the chosen files as a selection.

#include "app/commands/SongFileSelection.h"
#include "foundation/AString.h"

#include <QString>
#include <cstdint>
#include <optional>

class QWidget;

class SongFileDialog {
public:
    static constexpr const char* kTitle = "Select Music File(s)";
    static constexpr const char* kFilterName = "All valid File Types";

    // The local library takes video; an iPod only when its family plays it.
    static bool LibraryTakesVideo() { return true; }
    static bool PodTakesVideo(uint32_t family);
    // The colon list of the types offered: the song types, then the video types.
    static AString TypeList(bool withVideo);
    // The dialog's filter in the "name|patterns||" form: "*.mp3;*.m4p;..." made of the type list.
    static QString Filter(bool withVideo);

    // Runs the multi-selection dialog modally on the GUI thread, opened in `folder`; nothing when the
    // user cancelled.
    static std::optional<SongFileSelection> Run(QWidget* parent, bool withVideo, const QString& folder);
};
