#pragma once
// A list over a library tool's rows (`SongToolAction`): a row's check box is its checked flag.

#include "app/dialogs/ActionListModel.h"
#include "library/songlists/SongToolAction.h"

class SongToolRowsModel : public ActionListModel {
public:
    using ActionListModel::ActionListModel;

    void SetRows(SongToolActions* rows);
    SongToolAction& RowAt(int row) const { return Source(SourceOf(row)); }

protected:
    int SourceCount() const override;
    bool SourceChecked(int source) const override;
    void WriteCheck(int source, bool checked) override;
    SongToolAction& Source(int source) const { return *(*m_rows)[source]; }
    SongToolActions& Rows() const { return *m_rows; }

private:
    SongToolActions* m_rows = nullptr;
};
