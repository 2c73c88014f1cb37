#include "app/dialogs/SongToolRowsModel.h"

void SongToolRowsModel::SetRows(SongToolActions* rows) {
    m_rows = rows;
    Fill();
}

int SongToolRowsModel::SourceCount() const {
    return m_rows ? static_cast<int>(m_rows->size()) : 0;
}

bool SongToolRowsModel::SourceChecked(int source) const {
    return Source(source).checked != 0;
}

void SongToolRowsModel::WriteCheck(int source, bool checked) {
    Source(source).checked = checked ? 1 : 0;
}
