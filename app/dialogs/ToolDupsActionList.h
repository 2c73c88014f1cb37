#pragma once
// The list of the duplicates dialog: a click on a group's check box (on the group's first row) checks
// or clears the group, a click on a row's "Keep" radio in a checked group keeps that copy; the empty
// rows below the last continue the groups' alternating colours.

#include "app/dialogs/ActionListView.h"

class DuplicatesListModel;

class ToolDupsActionList : public ActionListView {
public:
    explicit ToolDupsActionList(QWidget* parent);

    void SetDuplicatesModel(DuplicatesListModel* model);

protected:
    bool TakePress(const QModelIndex& index, const QPoint& point) override;
    QColor BeyondColor(int row) const override;

private:
    // The x range of a picture of the check sheet as the cell draws it.
    bool InPicture(const QModelIndex& index, const QPoint& point) const;

    DuplicatesListModel* m_duplicates = nullptr;
};
