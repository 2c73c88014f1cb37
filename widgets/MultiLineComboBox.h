#pragma once
// A combo box whose current text shows in a multi-line edit field and whose entries open in a popup
// list below it. A choice in the list puts the entry's text into the edit and posts WM_COMMAND (id,
// CBN_SELCHANGE) to the parent; a second click on the button closes the open list unchanged.

#include <QFrame>
#include <QPlainTextEdit>
#include <QRect>
#include <QStringList>

class QListWidget;

class MultiLineComboBox : public QWidget {
public:
    static constexpr int kButtonWidth = 19;
    static constexpr int kButtonHeight = 21;

    // The edit field: Tab moves the focus on instead of entering a tab.
    class MultiLineEdit : public QPlainTextEdit {
    public:
        explicit MultiLineEdit(QWidget* parent);
    };

    // The popup list; it reports a choice and its closing to its combo by private messages.
    class MultiLineListBox : public QFrame {
    public:
        explicit MultiLineListBox(MultiLineComboBox* combo);
        QListWidget* List() const { return m_list; }

    protected:
        void mousePressEvent(QMouseEvent* event) override;
        void hideEvent(QHideEvent* event) override;
        bool eventFilter(QObject* watched, QEvent* event) override;

    private:
        MultiLineComboBox* m_combo;
        QListWidget* m_list;
    };

    MultiLineComboBox(int id, QWidget* parent);

    int Id() const { return m_id; }
    // Inserts before `index`, or appends for -1; the entry's index.
    int InsertString(int index, const QString& text);
    void DeleteString(int index);
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    int GetCurSel() const { return m_selection; }
    QString GetLBText(int index) const;
    // Selects the entry and puts its text into the edit field.
    void SetCurSel(int index);
    QString GetEditText() const { return m_edit->toPlainText(); }
    void EnableWindow(bool enable);

    bool IsListShown() const { return m_listBox->isVisible(); }
    MultiLineListBox* ListBox() const { return m_listBox; }
    QRect ButtonRect() const { return m_buttonRect; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void OpenList();
    // Closed by a second click on the button: nothing is chosen.
    void CloseList();
    void ChooseHighlighted();
    void ListClosed();
    void SetPressed(bool pressed);

    int m_id;
    QStringList m_entries;
    int m_selection = -1;
    QRect m_buttonRect;
    MultiLineEdit* m_edit;
    MultiLineListBox* m_listBox;
    bool m_pressed = false;
};
