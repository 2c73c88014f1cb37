#include "widgets/DialogSplitterWnd.h"

#include "platform/ui/PrivateMessage.h"

#include <QApplication>
#include <QCoreApplication>

DialogSplitterWnd::DialogSplitterWnd(QWidget* parent) : QSplitter(parent) {}

bool DialogSplitterWnd::event(QEvent* event) {
    nativeui::PrivateMessage* message = nativeui::PrivateMessage::From(event);
    if (message && parentWidget()) {
        nativeui::PrivateMessage forwarded(message->Number(), message->WParam(), message->LParam(),
                                           message->TakePayload());
        QCoreApplication::sendEvent(parentWidget(), &forwarded);
        message->SetResult(forwarded.Result());
        return true;
    }
    return QSplitter::event(event);
}

int DialogSplitterWnd::PaneIndex(int row, int column) const {
    return orientation() == Qt::Horizontal ? column : row;
}

QWidget* DialogSplitterWnd::GetActivePane(int* row, int* column) const {
    const QWidget* focus = QApplication::focusWidget();
    for (int i = 0; i < count(); ++i) {
        QWidget* pane = widget(i);
        if (!focus || (focus != pane && !pane->isAncestorOf(focus)))
            continue;
        if (row)
            *row = orientation() == Qt::Horizontal ? 0 : i;
        if (column)
            *column = orientation() == Qt::Horizontal ? i : 0;
        return pane;
    }
    return nullptr;
}

void DialogSplitterWnd::SetActivePane(int row, int column, QWidget* window) {
    QWidget* target = window ? window : widget(PaneIndex(row, column));
    if (target)
        target->setFocus();
}
