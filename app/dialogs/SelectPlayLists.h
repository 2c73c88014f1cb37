#pragma once
// The list of "Playlists to Synchronize": each playlist's name under both sides, grey where that side
// has no such playlist and red where its name clashes, with its check box between the two. Clicking
// the check box toggles it; rows keep their order.

#include "app/dialogs/ActionListModel.h"
#include "app/dialogs/ActionListView.h"
#include "app/dialogs/ArrowHeaderCtrl.h"
#include "app/dialogs/PlayListChoice.h"

#include <vector>

class SelectPlayLists : public ActionListView {
public:
    enum Column { kHiddenColumn = 0, kSide1Column = 1, kCheckColumn = 2, kSide2Column = 3 };

    // The header draws a check box over the check column.
    class CMyHeaderCtrl : public ArrowHeaderCtrl {
    public:
        explicit CMyHeaderCtrl(QWidget* parent) : ArrowHeaderCtrl(parent) {}

    protected:
        void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

    private:
        int m_state = 0;
    };

    // The check boxes as the user leaves them; the records change only through Apply.
    class Rows : public ActionListModel {
    public:
        Rows();
        void SetRecords(std::vector<PlayListChoice>* records);
        void Apply() const;

    protected:
        int SourceCount() const override;
        bool SourceChecked(int source) const override { return m_boxes[source] != 0; }
        void WriteCheck(int source, bool checked) override { m_boxes[source] = checked ? 1 : 0; }
        QVariant CellData(int source, int column, int role) const override;
        int CompareSources(int, int, int, bool) const override { return 0; }

    private:
        std::vector<PlayListChoice>* m_records = nullptr;
        std::vector<uint8_t> m_boxes;
    };

    explicit SelectPlayLists(QWidget* parent);

    // The check column's width, and the two names sharing the rest of `width`, the right one taking the
    // odd pixel.
    void LayoutColumns(int width);
};
