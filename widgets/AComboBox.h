#pragma once
// A chooser drawn over the skin: the chosen entry's text and a small arrow; a click opens a popup menu
// of the entries. Every SetCurSel posts WM_COMBO_SELCHANGED to the parent; a choice in the popup then
// also posts WM_COMMAND (id, CBN_SELCHANGE), in that order. An entry "AComboBox_SEPARATOR" is a
// separator line in the popup and can never be chosen there. Accessors reject an index outside
// 0 to count - 1 with std::invalid_argument.

#include "widgets/SkinnedControl.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QMenu;

class AComboBox : public SkinnedControl {
public:
    static constexpr const char* kSeparatorText = "AComboBox_SEPARATOR";

    AComboBox(int id, QWidget* parent);
    ~AComboBox() override;

    void AddString(const QString& text);
    void DeleteString(int index);
    void ResetContent();
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    int GetCurSel() const { return m_selection; }
    uint32_t GetItemData(int index) const;
    void SetItemData(int index, uint32_t data);
    void GetItemText(int index, QString& text) const;
    void SetCurSel(int index);
    void SetEmptyText(const QString& text);
    // Both frame colours.
    void SetFrameColor(ColorRef color);
    void SetInnerFrame(bool inner);
    // Selecting resizes the combo to the chosen text around its centre.
    void SetAutoSize(bool autoSize) { m_autoSize = autoSize; }
    const QFont& GetFont() const { return m_font; }

    void Draw(QPainter& painter) override;
    // Opens the popup of the entries at the combo's bottom-left corner.
    virtual void DropDown(QMouseEvent* event);
    // A command of the popup: entry ids select the entry and notify the parent. True when handled.
    bool OnCommand(int commandId);

    // The popup menu of the last DropDown, or null before the first.
    QMenu* Popup() const { return m_popup.get(); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

    bool IsPressed() const { return m_pressed; }
    const QImage& ArrowPicture() const;
    // The text shown: the selection's, or the empty text without a valid selection.
    QString ShownText() const;

private:
    struct Element {
        QString text;
        uint32_t data = 0;
    };

    void CheckIndex(int index) const;
    void FitToText();
    void BuildPopup();

    std::vector<Element> m_entries;
    int m_selection = -1;
    QString m_emptyText;
    bool m_innerFrame = true;
    bool m_autoSize = false;
    bool m_pressed = false;
    ColorRef m_frameColor = 0;
    QFont m_font;
    QImage m_arrow;
    QImage m_arrowHot;
    std::unique_ptr<QMenu> m_popup;
};
