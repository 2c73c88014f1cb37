#pragma once
// The rows of the duplicates tool: one row per song file, the files of a group together, with a check
// box per group (on the group's first row) and a "Keep" radio per row. Checking any row of a group
// checks the whole group; a group counts once, through its kept row. Each row's background is its
// group's colour, the groups alternating, kept in the row's shade.

#include "app/dialogs/SongToolRowsModel.h"

#include <QString>
#include <cstdint>

class DuplicatesListModel : public SongToolRowsModel {
public:
    enum Column {
        kCheckColumn = 0,
        kSongColumn = 1,
        kKeepColumn = 2,
        kFileColumn = 3,
        kDateColumn = 4,
        kSizeColumn = 5,
        kDurationColumn = 6,
        kBitRateColumn = 7,
        kAppleIdColumn = 8,
        kAlbumArtColumn = 9,
        kColumnCount = 10,
    };
    static constexpr int kCheckBoxInset = 6;

    DuplicatesListModel();

    // A row that begins its group in the list's order carries the group's check box and song.
    bool StartsGroup(int row) const;
    int GroupCount() const;
    // The row becomes the kept copy of its group, when its group is checked. True when it did.
    bool KeepRow(int row);

    // A file date (seconds since 1904) as the list shows it, in local time; "?" for 0.
    static QString FormatFileDate(uint64_t fileDate);
    // Minutes and seconds, or hours, minutes and seconds from an hour on; "?" for 0.
    static QString FormatDuration(uint32_t seconds);

protected:
    bool CountsWhenChecked(int source) const override;
    std::pair<int, int> CheckGroup(int source) const override;
    QVariant CellData(int source, int column, int role) const override;
    int CompareSources(int a, int b, int column, bool ascending) const override;
    void OrderChanged() override;

private:
    bool SourceStartsGroup(int source) const;
    QVariant DisplayText(const SongToolAction& row, bool startsGroup, int column) const;

    // The list row of each of the caller's rows.
    std::vector<int> m_rowOfSource;
};
