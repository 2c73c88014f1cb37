#include "WidgetTestSupport.h"

#include "widgets/SkinnedControl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <gtest/gtest.h>

MessageRecorder::MessageRecorder(QWidget* parent) : QWidget(parent) {
    resize(400, 300);
}

bool MessageRecorder::event(QEvent* event) {
    const nativeui::PrivateMessage* message = nativeui::PrivateMessage::From(event);
    if (!message)
        return QWidget::event(event);
    RecordedMessage recorded{message->Number(), message->WParam(), message->LParam(), {}};
    if (const auto* paths = message->Payload<std::vector<AString>>())
        recorded.paths = *paths;
    messages.push_back(recorded);
    return true;
}

void Drain() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

bool SpinUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > limit.count())
            return condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void SpinFor(std::chrono::milliseconds time) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < time.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

ModalWatcher::ModalWatcher(std::function<bool(QWidget*)> handle) {
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this, handle] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && handle(modal))
            m_timer.stop();
    });
    m_timer.start();
}

QImage DrawControl(SkinnedControl& control, QColor background) {
    QImage image(control.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    control.Draw(painter);
    return image;
}

uint32_t PixelAt(const QImage& image, int x, int y) {
    return image.pixel(x, y);
}

void ExpectPaintsLikeReference(const QImage& drawn, const QString& referencePath) {
    constexpr int kChannelTolerance = 24;
    constexpr double kDifferingShare = 0.002;
    const QImage painted = drawn.convertToFormat(QImage::Format_ARGB32);
    const QImage reference = QImage(referencePath).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(reference.isNull()) << "no reference " << referencePath.toStdString();
    ASSERT_EQ(painted.size(), reference.size()) << referencePath.toStdString();
    int differing = 0;
    int worst = 0;
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x) {
            const QRgb a = painted.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            const int channel = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                          std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            worst = std::max(worst, channel);
            differing += channel > kChannelTolerance;
        }
    }
    EXPECT_LE(differing, kDifferingShare * painted.width() * painted.height())
        << referencePath.toStdString() << ": " << differing << " pixels differ, by up to " << worst;
}
