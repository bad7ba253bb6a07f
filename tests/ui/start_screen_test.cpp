#include <QFile>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include "app/qt_shell.h"
#include "support/fake_timer.h"
#include "support/recorders.h"
#include "ui/widgets/jpeg_image.h"
#include "ui/widgets/start_screen.h"

namespace cadenzo {
namespace {

const test::ShownBox kNotShown{"Pointer to StartScreen is NULL while attempt to closing", "Errorr...",
                               MessageIcon::None};

TEST(StartScreen, ABorderlessPictureWindowOnTopWithYellowBoldStatus) {
    test::RecordingDialogs dialogs;
    StartScreenControl screens(dialogs);
    screens.ShowStartScreen("Loading...");
    TStartScreen* screen = screens.StartScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(screen->size(), QSize(312, 266));
    EXPECT_TRUE(screen->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(screen->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(screen->windowTitle(), "About");

    const auto* image = screen->findChild<QLabel*>("Image1");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().size(), QSize(304, 258));
    EXPECT_EQ(image->geometry(), QRect(4, 4, 304, 258));
    const auto* label = screen->findChild<QLabel*>("Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Loading...");
    EXPECT_EQ(label->pos(), QPoint(16, 16));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_TRUE(label->font().bold());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(StartScreen, MisuseIsReportedAndChangesNothing) {
    test::RecordingDialogs dialogs;
    StartScreenControl screens(dialogs);
    screens.SetStartScreenText("Load Options...");
    screens.CloseStartScreen();
    EXPECT_EQ(dialogs.boxes, (std::vector<test::ShownBox>{kNotShown, kNotShown}));
    EXPECT_EQ(screens.StartScreen(), nullptr);

    screens.ShowStartScreen("Loading...");
    TStartScreen* first = screens.StartScreen();
    screens.ShowStartScreen("Closing...");
    EXPECT_EQ(dialogs.boxes.back(), (test::ShownBox{"StartScreen pointer is NOT NULL", "Errorr...", MessageIcon::None}));
    EXPECT_EQ(screens.StartScreen(), first);
    EXPECT_EQ(first->Text(), "Loading...");
    screens.CloseStartScreen();
    EXPECT_EQ(screens.StartScreen(), nullptr);
    EXPECT_EQ(dialogs.boxes.size(), 3u);
}

TEST(StartScreen, AClickOnThePictureHidesTheWindowWhichStillTakesTexts) {
    test::RecordingDialogs dialogs;
    StartScreenControl screens(dialogs);
    screens.ShowStartScreen("Loading...");
    QTest::mouseClick(screens.StartScreen()->findChild<QLabel*>("Image1"), Qt::LeftButton);
    ASSERT_NE(screens.StartScreen(), nullptr);
    EXPECT_FALSE(screens.StartScreen()->isVisible());
    screens.SetStartScreenText("Load Blends...");
    EXPECT_EQ(screens.StartScreen()->Text(), "Load Blends...");
    screens.CloseStartScreen();
    EXPECT_EQ(screens.StartScreen(), nullptr);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(StartScreen, TheShellShowsItAroundStartUpAndShutdown) {
    SystemState state;
    test::FakeTimer timer;
    test::RecordingDialogs dialogs;
    QtShell shell(state, timer, dialogs);
    shell.ShowStartScreen("Loading...");
    shell.SetStartScreenText("Initialize Blends...");
    ASSERT_NE(shell.StartScreen(), nullptr);
    EXPECT_EQ(shell.StartScreen()->Text(), "Initialize Blends...");
    shell.CloseStartScreen();
    EXPECT_EQ(shell.StartScreen(), nullptr);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(JpegImage, DecodesThePictureAndRefusesWhatIsNotAJpeg) {
    QFile file(":/assets/start_screen.jpg");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QImage picture = DecodeJpeg(bytes);
    EXPECT_EQ(picture.size(), QSize(304, 258));
    EXPECT_LT(qGray(picture.pixel(4, 4)), 80);  // a dark sky behind the status text

    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray(500, 'x')).isNull());
    EXPECT_TRUE(DecodeJpeg(bytes.left(2)).isNull());
}

}  // namespace
}  // namespace cadenzo
