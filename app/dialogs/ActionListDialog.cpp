#include "app/dialogs/ActionListDialog.h"

#include "app/dialogs/ActionListView.h"
#include "platform/ui/GuiThread.h"
#include "platform/ui/WindowMessages.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QWheelEvent>

namespace {

// "Cancel" keeps this distance to the client's right edge.
constexpr int kCancelRightMargin = 6;

} // namespace

const ActionListDialog::Template ActionListDialog::kListTemplate = {
    {0, 0, 400, 240}, {276, 220, 58, 15}, {337, 220, 58, 15},
    {4, 220, 58, 15}, {65, 220, 58, 15},  {0, 0, 400, 210},
};

ActionListDialog::ActionListDialog(const Template& layout, int checkAllCommand, int uncheckAllCommand)
    : CodedDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    // Modal to no window of its own: the run waiting on it stays cancellable from the main window.
    setWindowModality(Qt::WindowModal);
    setSizeGripEnabled(true);
    resize(Pixels(layout.client).size());
    m_execute = AddButton(kExecuteButton, QStringLiteral("Execute"), layout.execute);
    m_cancel = AddButton(kCancelButton, QStringLiteral("Cancel"), layout.cancel);
    m_checkAll = AddButton(kCheckAllButton, QStringLiteral("Check All"), layout.checkAll);
    m_uncheckAll = AddButton(kUncheckAllButton, QStringLiteral("UnCheck All"), layout.uncheckAll);
    m_execute->setDefault(true);
    connect(m_execute, &QPushButton::clicked, this, [this] { done(nativeui::kIdOk); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { done(nativeui::kIdCancel); });
    connect(m_checkAll, &QPushButton::clicked, this, [this, checkAllCommand] { OnCommand(checkAllCommand); });
    connect(m_uncheckAll, &QPushButton::clicked, this,
            [this, uncheckAllCommand] { OnCommand(uncheckAllCommand); });
}

QPushButton* ActionListDialog::AddButton(int id, const QString& text, const QRect& units) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QStringLiteral("ctl_%1").arg(id));
    button->setAutoDefault(false);
    button->setGeometry(Pixels(units));
    return button;
}

QPushButton* ActionListDialog::ButtonById(int id) const {
    switch (id) {
    case kExecuteButton:
        return m_execute;
    case kCancelButton:
        return m_cancel;
    case kCheckAllButton:
        return m_checkAll;
    case kUncheckAllButton:
        return m_uncheckAll;
    default:
        return nullptr;
    }
}

bool ActionListDialog::Confirm(const std::function<std::unique_ptr<ActionListDialog>()>& make) {
    return nativeui::GuiThread::RunModal([&] { return make()->Run(); }) == nativeui::kIdOk;
}

void ActionListDialog::CancelShown() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* list = dynamic_cast<ActionListDialog*>(window);
        if (list && list->isVisible())
            list->done(nativeui::kIdCancel);
    }
}

int ActionListDialog::CommandOf(const QAction* action) {
    return action ? action->data().toInt() : 0;
}

void ActionListDialog::SetListArea(QWidget* area, ActionListView* list) {
    m_listArea = area;
    m_list = list;
    list->SetClientResized([this] { LayoutColumns(); });
}

void ActionListDialog::FinishOpening() {
    setMinimumSize(width() / 2, height() / 2);
    Layout();
    resize(width() + 2, height() + 2);
}

void ActionListDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Layout();
}

// The gap between the list and the buttons stays as the template has it; the buttons keep their sizes.
void ActionListDialog::Layout() {
    if (!m_listArea || width() <= 0 || height() <= 0)
        return;
    const int gap = m_execute->geometry().top() - m_listArea->geometry().bottom() - 1;
    const int buttonTop = height() - gap - m_execute->height();
    const int cancelLeft = width() - kCancelRightMargin - m_cancel->width();
    const int executeDistance = m_cancel->x() - m_execute->x();
    m_cancel->move(cancelLeft, buttonTop);
    m_execute->move(cancelLeft - executeDistance, buttonTop);
    m_checkAll->move(m_checkAll->x(), buttonTop);
    m_uncheckAll->move(m_uncheckAll->x(), buttonTop);
    PlaceListArea(buttonTop - gap);
    LayoutColumns();
    update();
}

void ActionListDialog::PlaceListArea(int bottom) {
    const QRect area = m_listArea->geometry();
    m_listArea->setGeometry(0, area.top(), width(), bottom - area.top());
}

void ActionListDialog::SetBaseTitle(const QString& title) {
    m_baseTitle = title;
    setWindowTitle(title);
}

void ActionListDialog::WriteCountTitle(int checked, int rows, const char* things, const QString& tail) {
    const QString text = QStringLiteral("%1 - %2 / %3 %4 selected")
                             .arg(m_baseTitle)
                             .arg(checked)
                             .arg(rows)
                             .arg(QLatin1String(things)) +
                         tail;
    if (windowTitle() != text)
        setWindowTitle(text);
}

void ActionListDialog::wheelEvent(QWheelEvent* event) {
    if (!m_list) {
        QDialog::wheelEvent(event);
        return;
    }
    QWheelEvent forwarded(m_list->viewport()->mapFromGlobal(event->globalPosition()), event->globalPosition(),
                          event->pixelDelta(), event->angleDelta(), event->buttons(), event->modifiers(),
                          event->phase(), event->inverted());
    QApplication::sendEvent(m_list->viewport(), &forwarded);
    event->accept();
}

void ActionListDialog::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu = BuildContextMenu(event->globalPos());
    if (!menu)
        return;
    if (const QAction* chosen = menu->exec(event->globalPos()))
        OnCommand(CommandOf(chosen));
}
