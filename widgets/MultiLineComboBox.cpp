#include "widgets/MultiLineComboBox.h"

#include "platform/ui/PrivateMessage.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/ControlId.h"
#include "widgets/ControlMessages.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVBoxLayout>

namespace {

constexpr int kFocusInset = 2;

} // namespace

MultiLineComboBox::MultiLineEdit::MultiLineEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

MultiLineComboBox::MultiLineListBox::MultiLineListBox(MultiLineComboBox* combo)
    : QFrame(combo, Qt::Popup), m_combo(combo), m_list(new QListWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    m_list->setMouseTracking(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->viewport()->installEventFilter(this);
    m_list->installEventFilter(this);
}

void MultiLineComboBox::MultiLineListBox::mousePressEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (rect().contains(mapFromGlobal(global))) {
        QFrame::mousePressEvent(event);
        return;
    }
    // A press on the combo's own button closes the list and goes no further, so it does not open the
    // list again.
    if (m_combo->ButtonRect().contains(m_combo->mapFromGlobal(global))) {
        setAttribute(Qt::WA_NoMouseReplay);
        m_combo->CloseList();
        return;
    }
    hide();
}

void MultiLineComboBox::MultiLineListBox::hideEvent(QHideEvent* event) {
    setAttribute(Qt::WA_NoMouseReplay, false);
    nativeui::PrivateMessage::Post(m_combo, controlmsg::kWmDropListClose);
    QFrame::hideEvent(event);
}

bool MultiLineComboBox::MultiLineListBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            const QPoint point = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (QListWidgetItem* item = m_list->itemAt(point))
                m_list->setCurrentItem(item);
        } else if (event->type() == QEvent::MouseButtonPress) {
            const QPoint point = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (QListWidgetItem* item = m_list->itemAt(point))
                m_list->setCurrentItem(item);
            nativeui::PrivateMessage::Post(m_combo, controlmsg::kWmDropListSelect);
            return true;
        }
    } else if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            nativeui::PrivateMessage::Post(m_combo, controlmsg::kWmDropListSelect);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

MultiLineComboBox::MultiLineComboBox(int id, QWidget* parent)
    : QWidget(parent), m_id(id), m_edit(new MultiLineEdit(this)), m_listBox(new MultiLineListBox(this)) {
    SetControlId(*this, id);
    setFocusPolicy(Qt::StrongFocus);
}

int MultiLineComboBox::InsertString(int index, const QString& text) {
    if (index < 0 || index > GetCount())
        index = GetCount();
    m_entries.insert(index, text);
    return index;
}

void MultiLineComboBox::DeleteString(int index) {
    if (index < 0 || index >= GetCount())
        return;
    m_entries.removeAt(index);
    if (m_selection == index)
        m_selection = -1;
    else if (m_selection > index)
        --m_selection;
}

QString MultiLineComboBox::GetLBText(int index) const {
    return (index >= 0 && index < GetCount()) ? m_entries[index] : QString();
}

void MultiLineComboBox::SetCurSel(int index) {
    m_selection = (index >= 0 && index < GetCount()) ? index : -1;
    m_edit->setPlainText(GetLBText(m_selection));
}

void MultiLineComboBox::EnableWindow(bool enable) {
    m_edit->setEnabled(enable);
    setEnabled(enable);
    update();
}

void MultiLineComboBox::resizeEvent(QResizeEvent* event) {
    m_buttonRect = QRect(width() - kButtonWidth, 0, kButtonWidth, kButtonHeight);
    m_edit->setGeometry(0, 0, width() - kButtonWidth, height());
    QWidget::resizeEvent(event);
}

void MultiLineComboBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = m_buttonRect;
    if (m_pressed)
        option.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, this);
    option.rect = m_buttonRect.adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, this);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = option.rect;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void MultiLineComboBox::SetPressed(bool pressed) {
    m_pressed = pressed;
    update();
}

void MultiLineComboBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_buttonRect.contains(event->position().toPoint())) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (IsListShown()) {
        CloseList();
        return;
    }
    SetPressed(true);
    OpenList();
}

void MultiLineComboBox::mouseReleaseEvent(QMouseEvent* event) {
    SetPressed(false);
    QWidget::mouseReleaseEvent(event);
}

void MultiLineComboBox::focusInEvent(QFocusEvent* event) {
    m_pressed = false;
    update();
    m_edit->setFocus();
    QWidget::focusInEvent(event);
}

void MultiLineComboBox::focusOutEvent(QFocusEvent* event) {
    SetPressed(false);
    QWidget::focusOutEvent(event);
}

void MultiLineComboBox::OpenList() {
    QListWidget* list = m_listBox->List();
    list->clear();
    list->addItems(m_entries);
    if (m_selection >= 0 && m_entries[m_selection] == m_edit->toPlainText())
        list->setCurrentRow(m_selection);
    const QRect edit = m_edit->geometry();
    m_listBox->setGeometry(
        QRect(mapToGlobal(QPoint(edit.left(), edit.bottom() + 1)), QSize(edit.width(), 2 * edit.height())));
    m_listBox->show();
    list->setFocus();
}

void MultiLineComboBox::CloseList() {
    m_listBox->hide();
    SetPressed(false);
    setFocus();
}

void MultiLineComboBox::ChooseHighlighted() {
    const int row = m_listBox->List()->currentRow();
    if (row >= 0 && row < GetCount()) {
        m_selection = row;
        m_edit->setPlainText(m_entries[row]);
    }
    controlmsg::PostCommand(*this, m_id, controlmsg::kCbnSelChange);
    m_listBox->hide();
    setFocus();
}

void MultiLineComboBox::ListClosed() {
    // A close that arrives after the list was opened again is stale.
    if (m_listBox->isVisible())
        return;
    m_edit->setFocus();
}

bool MultiLineComboBox::event(QEvent* event) {
    if (nativeui::PrivateMessage::Is(event, controlmsg::kWmDropListSelect)) {
        ChooseHighlighted();
        return true;
    }
    if (nativeui::PrivateMessage::Is(event, controlmsg::kWmDropListClose)) {
        ListClosed();
        return true;
    }
    return QWidget::event(event);
}
