#include "app/dialogs/SelectPlayLists.h"

#include "app/dialogs/DialogPictures.h"
#include "widgets/ColorRef.h"
#include "widgets/QtText.h"

#include <QPainter>

namespace {

const ActionRowDelegate::Colors kColors{QColor(227, 233, 244), QColor(255, 255, 255), QColor(49, 106, 197),
                                        false, true};
const QColor kClashColor(255, 0, 0);
const QColor kSelectedClashColor(255, 192, 192);
// The check column is half the check sheet's width and some room on either side.
constexpr int kBoxColumnWidth = dialogpictures::kSheetCell + 12;

} // namespace

// The style's header painting leaves the painter clipped to nothing, so the picture sets its own clip.
void SelectPlayLists::CMyHeaderCtrl::paintSection(QPainter* painter, const QRect& rect,
                                                  int logicalIndex) const {
    ArrowHeaderCtrl::paintSection(painter, rect, logicalIndex);
    if (logicalIndex != kCheckColumn)
        return;
    const QImage& check = dialogpictures::HeaderCheckImage(m_state);
    painter->save();
    painter->setClipRect(rect);
    painter->drawImage(rect.left() + (rect.width() - check.width()) / 2,
                       rect.top() + (rect.height() - check.height()) / 2, check);
    painter->restore();
}

SelectPlayLists::Rows::Rows() : ActionListModel({QString(), QString(), QString(), QString()}, kCheckColumn) {
    for (const int column : {kSide1Column, kCheckColumn, kSide2Column})
        SetHeaderAlignment(column, Qt::AlignHCenter);
}

void SelectPlayLists::Rows::SetRecords(std::vector<PlayListChoice>* records) {
    m_records = records;
    m_boxes.clear();
    for (size_t index = 0; records && index < records->size(); ++index)
        m_boxes.push_back((*records)[index].selected ? 1 : 0);
    Fill();
}

void SelectPlayLists::Rows::Apply() const {
    for (int source = 0; source < SourceCount(); ++source)
        (*m_records)[source].selected = m_boxes[source];
}

int SelectPlayLists::Rows::SourceCount() const {
    return static_cast<int>(m_boxes.size());
}

// A clashing name is red on the sides that have it; a side without the playlist shows it grey.
QVariant SelectPlayLists::Rows::CellData(int source, int column, int role) const {
    if (column != kSide1Column && column != kSide2Column)
        return {};
    const PlayListChoice& record = (*m_records)[source];
    const bool present = (column == kSide1Column ? record.inList1 : record.inList2) != 0;
    const bool clash = record.duplicate && present;
    switch (role) {
    case Qt::DisplayRole:
        return ToQString(record.name);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (clash)
            return kClashColor;
        return present ? QVariant() : QVariant(ToQColor(syscolor::kGrayText));
    case kSelectedForegroundRole:
        return clash ? QVariant(kSelectedClashColor) : QVariant();
    default:
        return {};
    }
}

SelectPlayLists::SelectPlayLists(QWidget* parent)
    : ActionListView(parent, kColors, new CMyHeaderCtrl(nullptr)) {
    SetSortableColumns({});
}

void SelectPlayLists::LayoutColumns(int width) {
    setColumnWidth(kHiddenColumn, 0);
    setColumnWidth(kCheckColumn, kBoxColumnWidth);
    setColumnWidth(kSide1Column, (width - kBoxColumnWidth) / 2);
    setColumnWidth(kSide2Column, (width - kBoxColumnWidth + 1) / 2);
}
