#include "widgets/AButton.h"

#include "WidgetTestSupport.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/BitmapRoutines.h"
#include "widgets/ControlMessages.h"
#include "widgets/Skin.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kId = 1003;

class AButtonTest : public testing::Test {
protected:
    AButtonTest() : button(kId, &parent) {
        button.move(20, 20);
        button.SetImages(AButton::kNormalImage, skin::kStartButton);
        button.SetImages(AButton::kPressedImage, skin::kStartButtonPressed);
        button.SetImages(AButton::kMaskImage, skin::kStartButtonMask);
        button.SizeToImage();
        button.SetFocusStyle(2); // no focus mark, as the start button has
        parent.show();
        Drain();
    }

    int Clicks() const {
        int clicks = 0;
        for (const RecordedMessage& message : parent.messages) {
            clicks += message.number == nativeui::kWmCommand &&
                      message.wParam == nativeui::MakeWParam(kId, controlmsg::kBnClicked) &&
                      message.lParam == reinterpret_cast<intptr_t>(&button);
        }
        return clicks;
    }

    // The picture as the button draws it: premultiplied with the mask.
    static QImage Prepared(int picture) { return skin::LoadMasked(picture, skin::kStartButtonMask); }

    MessageRecorder parent;
    AButton button;
    const QPoint centre{18, 18};
};

} // namespace

TEST_F(AButtonTest, SizeToImageTakesThePicturesSizeKeepingTheTopLeft) {
    EXPECT_EQ(button.geometry(), QRect(20, 20, 36, 36));
}

TEST_F(AButtonTest, OnlyAReleaseOverTheButtonPostsOneCommand) {
    struct Case {
        const char* what;
        std::vector<QPoint> moves; // between press and release; the release is at the last point
        int clicks;
    };
    const QPoint off(60, 60);
    const Case cases[] = {
        {"press and release", {}, 1},
        {"drag off and release", {off}, 0},
        {"drag off and back on", {off, QPoint(10, 10)}, 1},
    };
    for (const Case& c : cases) {
        parent.messages.clear();
        QTest::mousePress(&button, Qt::LeftButton, {}, centre);
        QPoint last = centre;
        for (const QPoint& point : c.moves) {
            QTest::mouseMove(&button, point);
            last = point;
        }
        QTest::mouseRelease(&button, Qt::LeftButton, {}, last);
        Drain();
        EXPECT_EQ(Clicks(), c.clicks) << c.what;
        EXPECT_EQ(parent.messages.size(), static_cast<size_t>(c.clicks)) << c.what;
    }
}

TEST_F(AButtonTest, ThePressedPictureShowsOnlyWhileThePressIsOverTheButton) {
    QTest::mousePress(&button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(DrawControl(button, Qt::transparent),
              Prepared(skin::kStartButtonPressed).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    QTest::mouseMove(&button, QPoint(60, 60));
    EXPECT_EQ(DrawControl(button, Qt::transparent),
              Prepared(skin::kStartButton).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(60, 60));
}

TEST_F(AButtonTest, ADisabledButtonIsGreyedEvenWhilePressed) {
    QTest::mousePress(&button, Qt::LeftButton, {}, centre);
    button.EnableWindow(false);
    QImage greyed = Prepared(skin::kStartButton);
    BitmapMakeDisabled(Prepared(skin::kStartButton), skin::Load(skin::kStartButtonMask), greyed);
    const QImage drawn = DrawControl(button, Qt::transparent);
    EXPECT_EQ(drawn, greyed.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    EXPECT_NE(drawn,
              Prepared(skin::kStartButtonPressed).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TEST_F(AButtonTest, TheSpaceBarClicksOnlyAButtonInTheTabOrder) {
    struct Case {
        bool tabStop;
        int clicks;
    };
    for (const Case c : {Case{true, 1}, Case{false, 0}}) {
        parent.messages.clear();
        button.SetTabStop(c.tabStop);
        button.setFocus();
        QTest::keyPress(&button, Qt::Key_Space);
        QTest::keyRelease(&button, Qt::Key_Space);
        Drain();
        EXPECT_EQ(Clicks(), c.clicks) << "tab stop " << c.tabStop;
    }
}

TEST_F(AButtonTest, ADeliveredClickPostsItsCommandAfterAMoment) {
    nativeui::PrivateMessage::Post(&button, controlmsg::kWmButtonClick);
    Drain();
    EXPECT_EQ(Clicks(), 0);
    EXPECT_TRUE(SpinUntil([&] { return Clicks() == 1; }));
}
