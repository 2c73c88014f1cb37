#include "widgets/SeparatorComboBox.h"

#include "platform/ui/PrivateMessage.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/ControlId.h"
#include "widgets/ControlMessages.h"

#include <QAbstractItemView>
#include <QMouseEvent>

SeparatorComboBox::SeparatorListBox::SeparatorListBox(SeparatorComboBox* combo) : m_combo(combo) {}

bool SeparatorComboBox::SeparatorListBox::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease && event->type() != QEvent::MouseButtonDblClick)
        return false;
    const QModelIndex row = m_combo->view()->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    return row.isValid() && m_combo->IsSeparator(row.row());
}

SeparatorComboBox::SeparatorComboBox(int id, QWidget* parent)
    : QComboBox(parent), m_id(id), m_listWatcher(this) {
    SetControlId(*this, id);
    // The combo's own handling of the list is installed with the view; ours, installed after it, runs
    // first.
    view()->viewport()->installEventFilter(&m_listWatcher);
    connect(this, &QComboBox::activated, this,
            [this] { controlmsg::PostCommand(*this, m_id, controlmsg::kCbnSelChange); });
}

bool SeparatorComboBox::IsSeparator(int index) const {
    return itemData(index).toInt() == kSeparatorData;
}

void SeparatorComboBox::SetIndex(int index) {
    m_current = index;
    m_toApply = index;
}

int SeparatorComboBox::SetCurSel(int index) {
    m_current = index;
    setCurrentIndex(index);
    nativeui::PrivateMessage::Post(parentWidget(), controlmsg::kWmComboSelChanged,
                                   reinterpret_cast<intptr_t>(this), 0);
    return currentIndex() == index ? index : -1;
}

void SeparatorComboBox::ApplyCurSel() {
    setCurrentIndex(m_toApply);
}
