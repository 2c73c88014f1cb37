#pragma once
// The rows of a library tool (`SongToolAction`, kinds 0 to 6 but duplicates): the song, and for music
// not owned the Apple ID that its tag names. A row's check box is its checked flag.

#include "app/dialogs/SongToolRowsModel.h"

class ToolActionListModel : public SongToolRowsModel {
public:
    enum Column { kCheckColumn = 0, kSongColumn = 1, kAppleIdColumn = 2 };

    // The columns of the tool's kind: "Song", and "Song Apple ID" for music not owned.
    explicit ToolActionListModel(uint32_t kind);

    // The rows of this Apple ID (ignoring case) leave the list and are not acted on. How many left.
    int RemoveAppleId(const AString& appleId);

protected:
    QVariant CellData(int source, int column, int role) const override;
    int CompareSources(int a, int b, int column, bool ascending) const override;
};
