#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "support/fake_timer.h"
#include "support/recorders.h"
#include "ui/widgets/main_form.h"
#include "ui/window_title.h"

namespace cadenzo {
namespace {

TEST(MainForm, FixedSizeWindowWithTheMainTitleAndARunningGlideTimer) {
    SystemState state;
    test::FakeTimer timer;
    test::RecordingDialogs dialogs;
    {
        TMainForm form(state, timer, dialogs);
        EXPECT_EQ(form.size(), QSize(808, 499));
        EXPECT_EQ(form.minimumSize(), form.maximumSize());
        EXPECT_EQ(form.windowTitle().toStdString(), kMainTitle);
        EXPECT_EQ(form.Glide().Id(), 42u);
        EXPECT_NE(timer.callback, nullptr);
    }
    EXPECT_EQ(timer.calls.back(), "end 1");
    EXPECT_EQ(timer.callback, nullptr);
}

TEST(MainForm, EscapeClosesTheWindow) {
    SystemState state;
    test::FakeTimer timer;
    test::RecordingDialogs dialogs;
    TMainForm form(state, timer, dialogs);
    form.show();
    ASSERT_TRUE(form.isVisible());
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
}

}  // namespace
}  // namespace cadenzo
