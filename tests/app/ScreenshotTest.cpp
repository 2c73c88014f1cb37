// The main window's pictures at start-up, idle, with its log shown and with a remote host chosen,
// compared with the references in references/. Text is drawn by the system's font rasteriser, so a
// few pixels may differ a little. With ORVANTIS_WRITE_APP_REFERENCES set to a folder, the pictures
// are written there instead (to renew the references after a change of the look).

#include "app/window/MainMessages.h"
#include "harness/AppTestHome.h"
#include "harness/FakePod.h"
#include "harness/WindowUnderTest.h"
#include "platform/ui/PrivateMessage.h"
#include "remote/HostListFile.h"
#include "widgets/WidgetTestSupport.h"

#include <QDir>
#include <QImage>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr int kChannelTolerance = 24;
constexpr double kDifferingShare = 0.003;

// The pixels that differ by more than the tolerance in any channel.
int DifferingPixels(const QImage& drawn, const QImage& reference) {
    int differing = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb a = drawn.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            differing += std::abs(qRed(a) - qRed(b)) > kChannelTolerance ||
                         std::abs(qGreen(a) - qGreen(b)) > kChannelTolerance ||
                         std::abs(qBlue(a) - qBlue(b)) > kChannelTolerance;
        }
    }
    return differing;
}

void ExpectLooksLikeReference(QWidget& window, const QString& name) {
    const QImage drawn = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString written = qEnvironmentVariable("ORVANTIS_WRITE_APP_REFERENCES");
    if (!written.isEmpty()) {
        QDir().mkpath(written);
        ASSERT_TRUE(drawn.save(QDir(written).filePath(name + QStringLiteral(".png"))));
        return;
    }
    const QString path = QDir(QStringLiteral(ORVANTIS_APP_REFERENCES)).filePath(name + QStringLiteral(".png"));
    const QImage reference = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(reference.isNull()) << "no reference " << path.toStdString();
    ASSERT_EQ(drawn.size(), reference.size()) << name.toStdString();
    const int differing = DifferingPixels(drawn, reference);
    EXPECT_LE(differing, kDifferingShare * drawn.width() * drawn.height())
        << name.toStdString() << ": " << differing << " pixels differ";
}

class ScreenshotTest : public testing::Test {
protected:
    void MountPod() {
        const std::string root = home.Folder().File("pod");
        WriteFakePod(root, {u"My iPod", {u"Favourites"}, 3, "MA002", false});
        home.MountVolume(root);
    }

    AppTestHome home;
};

TEST_F(ScreenshotTest, StartUp) {
    MountPod();
    WindowUnderTest test(home);
    test.Window().OnInitDialog();
    ExpectLooksLikeReference(test.Window(), QStringLiteral("startup"));
    test.WaitIdle();
}

TEST_F(ScreenshotTest, Idle) {
    MountPod();
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    ExpectLooksLikeReference(test.Window(), QStringLiteral("idle"));
}

TEST_F(ScreenshotTest, LogShown) {
    MountPod();
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    QTest::mouseClick(&test.Controls().logButton, Qt::LeftButton);
    ASSERT_TRUE(SpinUntil([&] { return test.Window().height() == MainWindowControls::kFullHeight; }));
    Drain();
    ExpectLooksLikeReference(test.Window(), QStringLiteral("log_shown"));
}

TEST_F(ScreenshotTest, RemoteHost) {
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    test.AnnounceHost({"studio", "127.0.0.2", 0}, 5);
    ASSERT_TRUE(SpinUntil([&] { return test.Window().IsRemoteInUse() && test.IsIdle(); }));
    Drain();
    ExpectLooksLikeReference(test.Window(), QStringLiteral("remote_host"));
}

} // namespace
