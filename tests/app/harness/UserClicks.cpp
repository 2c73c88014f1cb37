#include "harness/UserClicks.h"

#include "widgets/AMenu.h"
#include "widgets/WidgetTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QTest>

namespace {

// Text is black, or grey while the window is not active; the bar's fill is lighter than both.
constexpr int kTextLightness = 160;
// Letters of one title lie closer together than this.
constexpr int kTitleGap = 6;

bool HasTextPixel(const QImage& image, int x) {
    for (int y = 0; y < image.height(); ++y) {
        if (qGray(image.pixel(x, y)) < kTextLightness)
            return true;
    }
    return false;
}

} // namespace

std::vector<QRect> PaintedTitles(AMenu& bar) {
    const QImage image = bar.grab().toImage();
    std::vector<QRect> titles;
    int last = -kTitleGap;
    for (int x = 0; x < image.width(); ++x) {
        if (!HasTextPixel(image, x))
            continue;
        if (titles.empty() || x - last >= kTitleGap)
            titles.emplace_back(x, 0, 1, image.height());
        else
            titles.back().setRight(x);
        last = x;
    }
    return titles;
}

QString ShownTitle(const QMenu& menu) {
    return QString(menu.title()).remove(QLatin1Char('&'));
}

QMenu* OpenMenu() {
    SpinUntil([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; },
              std::chrono::milliseconds(2000));
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

void CloseMenus() {
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    Drain();
}

bool Activate(QWidget& window) {
    window.activateWindow();
    return SpinUntil([&window] { return QApplication::activeWindow() == &window; }, std::chrono::milliseconds(2000));
}

// Through the window the widget lies in, as the desktop delivers a click: a window that a modal
// dialog blocks takes none, and the widget under the point (whichever it is) gets it.
void ClickAt(QWidget& widget, const QPoint& point) {
    QWidget* window = widget.window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, widget.mapTo(window, point));
    Drain();
}

QMenu* OpenMenuByTitle(AMenu& bar, const QString& title) {
    const QStringList titles = {QStringLiteral("File"), QStringLiteral("Sync"), QStringLiteral("Tools"),
                                QStringLiteral("Help")};
    const std::vector<QRect> painted = PaintedTitles(bar);
    const qsizetype index = titles.indexOf(title);
    if (index < 0 || static_cast<size_t>(index) >= painted.size())
        return nullptr;
    ClickAt(bar, painted[static_cast<size_t>(index)].center());
    return OpenMenu();
}

QMenu* ClickMenuEntry(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() != text)
            continue;
        ClickAt(menu, menu.actionGeometry(action).center());
        if (!action->menu())
            return nullptr;
        SpinUntil([action] { return action->menu()->isVisible(); }, std::chrono::milliseconds(2000));
        return action->menu()->isVisible() ? action->menu() : nullptr;
    }
    return nullptr;
}
