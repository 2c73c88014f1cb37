#include "DialogTestSupport.h"

#include "app/dialogs/ActionListModel.h"
#include "app/dialogs/ArrowHeaderCtrl.h"

#include <QEvent>
#include <QMenu>
#include <QTest>

namespace {

void AppendLines(const QMenu& menu, const QString& indent, QStringList& lines) {
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            lines << indent + QStringLiteral("---");
        } else if (action->menu()) {
            lines << indent + action->text() + QStringLiteral(":");
            AppendLines(*action->menu(), indent + QStringLiteral("  "), lines);
        } else {
            lines << indent + QStringLiteral("%1 #%2%3")
                                  .arg(action->text())
                                  .arg(action->data().toInt())
                                  .arg(action->isEnabled() ? QString() : QStringLiteral(" (greyed)"));
        }
    }
}

} // namespace

QStringList MenuLines(const QMenu& menu) {
    QStringList lines;
    AppendLines(menu, QString(), lines);
    return lines;
}

void SelectRows(ActionListView& view, const std::vector<int>& rows) {
    view.clearSelection();
    for (const int row : rows)
        view.selectionModel()->select(view.model()->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (!rows.empty())
        view.selectionModel()->setCurrentIndex(view.model()->index(rows.front(), 0),
                                               QItemSelectionModel::NoUpdate);
}

void ClickHeader(ActionListView& view, int column) {
    QHeaderView& header = view.Header();
    const QPoint point(header.sectionViewportPosition(column) + header.sectionSize(column) / 2,
                       header.height() / 2);
    QTest::mouseClick(header.viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

void ClickCell(ActionListView& view, int row, int column, QPoint offset) {
    const QRect cell = view.visualRect(view.model()->index(row, column));
    const QPoint point = offset == QPoint(-1, -1) ? cell.center() : cell.topLeft() + offset;
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

void ClickCheckBox(ActionListView& view, int row) {
    ClickCell(view, row, view.ListModel()->CheckColumn());
}

QStringList ColumnTexts(const ActionListView& view, int column) {
    QStringList texts;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        texts << view.model()->index(row, column).data().toString();
    return texts;
}

void DragDivider(ActionListView& view, int column, int distance) {
    QHeaderView& header = view.Header();
    const int x = header.sectionViewportPosition(column) + header.sectionSize(column) - 1;
    const QPoint start(x, header.height() / 2);
    QTest::mousePress(header.viewport(), Qt::LeftButton, Qt::NoModifier, start);
    QMouseEvent move(QEvent::MouseMove, start + QPoint(distance, 0), header.viewport()->mapToGlobal(start),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(header.viewport(), &move);
    QTest::mouseRelease(header.viewport(), Qt::LeftButton, Qt::NoModifier, start + QPoint(distance, 0));
}

TitleChanges::TitleChanges(QWidget& window) {
    window.installEventFilter(this);
}

bool TitleChanges::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::WindowTitleChange)
        ++count;
    return false;
}
