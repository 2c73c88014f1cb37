#include "app/dialogs/DuplicatesListModel.h"

#include "app/dialogs/DialogPictures.h"
#include "app/dialogs/KeyOrder.h"
#include "widgets/ColorRef.h"
#include "widgets/QtText.h"

#include <QColor>
#include <ctime>

namespace {

constexpr ColorRef kGroupColorA = Rgb(237, 243, 254);
constexpr ColorRef kGroupColorB = Rgb(255, 255, 255);
// A file date less this is Unix time.
constexpr uint64_t kFileDateEpochShift = 2082830400;
constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
const QString kUnknown = QStringLiteral("?");

QString NumberOrUnknown(uint64_t value) {
    return value == 0 ? kUnknown : QString::number(value);
}

} // namespace

DuplicatesListModel::DuplicatesListModel()
    : SongToolRowsModel({QString(), QStringLiteral("Song"), QStringLiteral("Keep"), QStringLiteral("File"),
                         QStringLiteral("Last Modified"), QStringLiteral("Size"), QStringLiteral("Duration"),
                         QStringLiteral("Bitrate"), QStringLiteral("Apple ID"), QStringLiteral("Album Art")},
                        -1) {
    SetHeaderAlignment(kKeepColumn, Qt::AlignHCenter);
    for (const int column : {kSizeColumn, kDurationColumn, kBitRateColumn})
        SetHeaderAlignment(column, Qt::AlignRight);
    SetHeaderAlignment(kAlbumArtColumn, Qt::AlignHCenter);
}

int DuplicatesListModel::GroupCount() const {
    int groups = 0;
    for (int source = 0; source < SourceCount(); ++source)
        groups += source == 0 || Source(source).group != Source(source - 1).group;
    return groups;
}

bool DuplicatesListModel::CountsWhenChecked(int source) const {
    return Source(source).keep != 0;
}

std::pair<int, int> DuplicatesListModel::CheckGroup(int source) const {
    const uint32_t group = Source(source).group;
    int first = source;
    while (first > 0 && Source(first - 1).group == group)
        --first;
    int end = source + 1;
    while (end < SourceCount() && Source(end).group == group)
        ++end;
    return {first, end};
}

bool DuplicatesListModel::SourceStartsGroup(int source) const {
    const int row = m_rowOfSource[source];
    const int above = SourceAbove(row);
    return above < 0 || Source(above).group != Source(source).group;
}

bool DuplicatesListModel::StartsGroup(int row) const {
    return SourceStartsGroup(SourceOf(row));
}

bool DuplicatesListModel::KeepRow(int row) {
    const int source = SourceOf(row);
    if (!SourceChecked(source))
        return false;
    MakeKeptRow(Rows(), static_cast<size_t>(source));
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    return true;
}

// Each group takes the colour other than the group above it.
void DuplicatesListModel::OrderChanged() {
    m_rowOfSource.assign(SourceCount(), -1);
    for (int row = 0; row < ListRowCount(); ++row) {
        const int source = SourceOf(row);
        m_rowOfSource[source] = row;
        const int above = SourceAbove(row);
        SongToolAction& current = Source(source);
        if (above < 0)
            current.shade = kGroupColorA;
        else if (Source(above).group == current.group)
            current.shade = Source(above).shade;
        else
            current.shade = Source(above).shade == kGroupColorA ? kGroupColorB : kGroupColorA;
    }
}

QString DuplicatesListModel::FormatFileDate(uint64_t fileDate) {
    if (fileDate == 0)
        return kUnknown;
    const std::time_t unixTime = static_cast<std::time_t>(fileDate - kFileDateEpochShift);
    std::tm local{};
    char text[64];
    if (!localtime_r(&unixTime, &local) ||
        std::strftime(text, sizeof text, "%m/%d/%Y %H:%M:%S %p", &local) == 0)
        return kUnknown;
    return QString::fromLocal8Bit(text);
}

QString DuplicatesListModel::FormatDuration(uint32_t seconds) {
    if (seconds == 0)
        return kUnknown;
    const auto twoDigits = [](uint32_t value) {
        return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
    };
    if (seconds < kSecondsPerHour)
        return QStringLiteral("%1:%2")
            .arg(seconds / kSecondsPerMinute)
            .arg(twoDigits(seconds % kSecondsPerMinute));
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / kSecondsPerHour)
        .arg(twoDigits(seconds / kSecondsPerMinute % kSecondsPerMinute))
        .arg(twoDigits(seconds % kSecondsPerMinute));
}

QVariant DuplicatesListModel::DisplayText(const SongToolAction& row, bool startsGroup, int column) const {
    switch (column) {
    case kSongColumn:
        return startsGroup ? ToQString(row.displayText) : QString();
    case kFileColumn:
        return ToQString(row.fullPath);
    case kDateColumn:
        return FormatFileDate(row.fileDate);
    case kSizeColumn:
        return NumberOrUnknown(row.fileSize);
    case kDurationColumn:
        return FormatDuration(row.duration);
    case kBitRateColumn:
        return NumberOrUnknown(row.bitRate);
    case kAppleIdColumn:
        return ToQString(row.accountName);
    case kAlbumArtColumn:
        return row.hasPictures ? QStringLiteral("YES") : QStringLiteral("NO");
    default:
        return {};
    }
}

QVariant DuplicatesListModel::CellData(int source, int column, int role) const {
    const SongToolAction& row = Source(source);
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText(row, SourceStartsGroup(source), column);
    case Qt::BackgroundRole:
        return ToQColor(row.shade);
    case Qt::ForegroundRole:
        return row.checked ? QVariant() : QVariant(ToQColor(syscolor::kGrayText));
    case Qt::TextAlignmentRole:
        if (column == kSizeColumn || column == kDurationColumn || column == kBitRateColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (column == kAlbumArtColumn)
            return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
        return {};
    case kImageRole:
        if (column == kCheckColumn && SourceStartsGroup(source))
            return dialogpictures::SheetImage(dialogpictures::kSheetCheckBox, row.checked != 0);
        if (column == kKeepColumn)
            return dialogpictures::SheetImage(
                row.checked ? dialogpictures::kSheetRadio : dialogpictures::kSheetGreyedRadio, row.keep != 0);
        return {};
    case kImageInsetRole:
        return column == kCheckColumn ? QVariant(kCheckBoxInset) : QVariant();
    default:
        return {};
    }
}

int DuplicatesListModel::CompareSources(int a, int b, int column, bool ascending) const {
    const SongToolAction& first = Source(a);
    const SongToolAction& second = Source(b);
    const auto checkedFirst = [&] {
        return static_cast<int>(second.checked) - static_cast<int>(first.checked);
    };
    const auto higherGroupFirst = [&] {
        return first.group == second.group ? 0 : (first.group > second.group ? -1 : 1);
    };
    const auto keptLast = [&] { return static_cast<int>(first.keep) - static_cast<int>(second.keep); };
    const auto path = [&] { return first.fullPath.CompareNoCase(second.fullPath); };
    int order = 0;
    if (column == kCheckColumn)
        order = FirstDifference(checkedFirst, higherGroupFirst, keptLast);
    else if (column == kSongColumn)
        order = FirstDifference(higherGroupFirst, checkedFirst, keptLast);
    else if (column == kFileColumn)
        order = FirstDifference(higherGroupFirst, path, checkedFirst, keptLast);
    return ascending ? order : -order;
}
