#include "app/dialogs/ToolActionListModel.h"

#include "app/dialogs/KeyOrder.h"
#include "widgets/QtText.h"

namespace {

QStringList HeadersOf(uint32_t kind) {
    QStringList headers = {QString(), QStringLiteral("Song")};
    if (kind == kToolRemoveMusicNotOwned)
        headers << QStringLiteral("Song Apple ID");
    return headers;
}

} // namespace

ToolActionListModel::ToolActionListModel(uint32_t kind) : SongToolRowsModel(HeadersOf(kind)) {
    SetHeaderAlignment(kCheckColumn, Qt::AlignHCenter);
}

int ToolActionListModel::RemoveAppleId(const AString& appleId) {
    const auto ofAppleId = [&](int source) { return Source(source).detail.CompareNoCase(appleId) == 0; };
    const int removed = RemoveRowsWhere(ofAppleId);
    for (int source = 0; source < SourceCount(); ++source) {
        if (ofAppleId(source))
            Source(source).checked = 0;
    }
    return removed;
}

QVariant ToolActionListModel::CellData(int source, int column, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (column == kSongColumn)
        return ToQString(Source(source).displayText);
    if (column == kAppleIdColumn)
        return ToQString(Source(source).detail);
    return {};
}

int ToolActionListModel::CompareSources(int a, int b, int column, bool ascending) const {
    const SongToolAction& first = Source(a);
    const SongToolAction& second = Source(b);
    const auto checkedFirst = [&] {
        return static_cast<int>(second.checked) - static_cast<int>(first.checked);
    };
    const auto song = [&] { return first.displayText.CompareNoCase(second.displayText); };
    const auto appleId = [&] { return first.detail.CompareNoCase(second.detail); };
    int order = 0;
    if (column == kCheckColumn)
        order = FirstDifference(checkedFirst, song);
    else if (column == kSongColumn)
        order = FirstDifference(song, checkedFirst);
    else if (column == kAppleIdColumn)
        order = FirstDifference(appleId, song, checkedFirst);
    return ascending ? order : -order;
}
