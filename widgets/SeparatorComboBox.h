#pragma once
// A standard combo box whose list ignores clicks on separator rows (item data kSeparatorData): such a
// row shows, but cannot be chosen. A choice posts WM_COMMAND (id, CBN_SELCHANGE) to the parent;
// SetCurSel posts WM_COMBO_SELCHANGED.

#include <QComboBox>
#include <QObject>

class SeparatorComboBox : public QComboBox {
public:
    static constexpr int kSeparatorData = 1;

    // Watches the list's clicks and swallows those on separator rows.
    class SeparatorListBox : public QObject {
    public:
        explicit SeparatorListBox(SeparatorComboBox* combo);

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override;

    private:
        SeparatorComboBox* m_combo;
    };

    SeparatorComboBox(int id, QWidget* parent);

    int Id() const { return m_id; }
    bool IsSeparator(int index) const;
    // Remembers the index as current and as the one to apply later; selects nothing.
    void SetIndex(int index);
    // Remembers and selects the index, then posts WM_COMBO_SELCHANGED (the combo, 0). The index, or -1
    // when there is no such row.
    int SetCurSel(int index);
    void ApplyCurSel();
    int GetIndex() const { return m_current; }

private:
    int m_id;
    SeparatorListBox m_listWatcher;
    int m_current = -1;
    int m_toApply = -1;
};
