// Real key events on the main window, offscreen: the translation to
// virtual-key codes, the modifier keys, repeats, and the windows the keys open.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/engine_rig.h"
#include "support/fake_timer.h"
#include "ui/modifier_indicators.h"
#include "services/redraw_mask.h"
#include "ui/widgets/main_form.h"
#include "ui/widgets/setup_form.h"
#include "ui/widgets/shape.h"

namespace cadenzo {
namespace {

uint8_t masterVolume = 110;

class KeyEvents : public ::testing::Test {
protected:
    KeyEvents() {
        rig.s.Bank.WorkingMix.Channels[0].In1Channel = 1;
        form.show();
        grid->setFocus();
        masterVolume = 110;
    }
    static KeyActions Actions() {
        KeyActions actions;
        actions.MasterVolume = [](SystemState&) { return &masterVolume; };
        return actions;
    }
    // QTest presses and releases the modifiers a key event names around it,
    // so a held modifier key is pressed and released on its own.
    void Hold(Qt::Key key) { QTest::keyPress(grid, key); }
    void Release(Qt::Key key) { QTest::keyRelease(grid, key); }
    void Repeat(Qt::Key key) {
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(grid, &release);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(grid, &press);
    }
    size_t Transmissions() const { return rig.display.refreshes.size(); }
    QColor Background(const char* label) {
        return form.findChild<QLabel*>(label)->palette().color(QPalette::Window);
    }

    test::EngineRig rig;
    test::FakeTimer timer;
    TMainForm form{rig.s, timer, rig.dialogs, Actions()};
    QTableWidget* grid = form.findChild<QTableWidget*>("StringGrid1");
};

TEST_F(KeyEvents, ShiftOneRaisesTheFirstEqualiserBandNotHallAndLightsTheIndicators) {
    Hold(Qt::Key_Shift);
    EXPECT_EQ(form.findChild<TShape*>("Shape3")->Brush(), kIndicatorRed);
    EXPECT_EQ(Background("Label14"), QColor(Qt::blue));
    EXPECT_EQ(form.findChild<TShape*>("Shape18")->Brush(), kIndicatorBlue);
    QTest::keyClick(grid, Qt::Key_Exclam);
    Release(Qt::Key_Shift);
    EXPECT_EQ(rig.s.Bank.WorkingMix.EQ12[0], 65);
    EXPECT_EQ(rig.s.Options.EffectLevels[0], 0);
    EXPECT_EQ(rig.s.ModifierState, 0u);
    EXPECT_EQ(form.findChild<TShape*>("Shape3")->Brush(), kIndicatorGrey);
    EXPECT_EQ(Background("Label14"), QColor(Qt::black));

    QTest::keyClick(grid, Qt::Key_Exclam, Qt::ShiftModifier);  // Shift down, '!', Shift up
    EXPECT_EQ(rig.s.Bank.WorkingMix.EQ12[0], 66);
    EXPECT_EQ(rig.s.ModifierState, 0u);
}

TEST_F(KeyEvents, ShiftedSymbolsAndKeypadKeysReachTheirCommands) {
    Hold(Qt::Key_Shift);
    QTest::keyClick(grid, Qt::Key_Underscore);  // program copy target up
    QTest::keyClick(grid, Qt::Key_Greater);     // portamento up
    rig.s.Bank.WorkingMix.EQ12[3] = 10;
    QTest::keyClick(grid, Qt::Key_AsciiTilde);  // EQ 1:2 to 64
    Release(Qt::Key_Shift);
    EXPECT_EQ(rig.s.Bank.ProgramCopyTarget, 1);
    EXPECT_EQ(rig.s.Bank.WorkingMix.EQ12[3], 64);
    Hold(Qt::Key_Control);
    const uint8_t range = rig.s.Bank.WorkingMix.BendRange;
    QTest::keyClick(grid, Qt::Key_Comma);
    Release(Qt::Key_Control);
    EXPECT_EQ(rig.s.Bank.WorkingMix.BendRange, range - 1);

    QTest::keyClick(grid, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(grid, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(grid, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(masterVolume, 111);
}

TEST_F(KeyEvents, RefusedKeysTransmitNothing) {
    rig.s.Bank.CurrentProgram = 127;
    QTest::keyClick(grid, Qt::Key_0);
    EXPECT_EQ(Transmissions(), 0u);
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 127u);

    Hold(Qt::Key_Shift);
    Hold(Qt::Key_Control);
    QTest::keyClick(grid, Qt::Key_Backspace);
    Release(Qt::Key_Control);
    Release(Qt::Key_Shift);
    EXPECT_EQ(Transmissions(), 0u);
    EXPECT_NE(rig.s.Bank.Bank.Slots[127].Channels[0].In1Channel, 1) << "nothing was stored";

    rig.s.Bank.GmMode = true;
    rig.s.Grid = {6, 1};
    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClick(grid, Qt::Key_F5);
    EXPECT_EQ(Transmissions(), 0u);
    EXPECT_TRUE(rig.dialogs.fileDialogs.empty());
}

TEST_F(KeyEvents, RepeatedKeyDownsStepOncePerRepeatAndHeldShiftStaysHeld) {
    rig.s.Grid = {1, 1};  // "In1", from 1 up to 17
    QTest::keyPress(grid, Qt::Key_Insert);
    for (int i = 0; i < 20; ++i) Repeat(Qt::Key_Insert);
    QTest::keyRelease(grid, Qt::Key_Insert);
    EXPECT_EQ(rig.s.Bank.WorkingMix.Channels[0].In1Channel, 17);
    EXPECT_EQ(Transmissions(), 16u);

    Hold(Qt::Key_Shift);
    Repeat(Qt::Key_Shift);
    QTest::keyClick(grid, Qt::Key_Exclam);
    EXPECT_EQ(rig.s.Bank.WorkingMix.EQ12[0], 65);
    Release(Qt::Key_Shift);
}

TEST_F(KeyEvents, F3ShowsTheMonitorPaneOverTheCopyManagerWithKeyLines) {
    rig.s.Options.MonitorSource = 8;
    auto* memo = form.findChild<QPlainTextEdit*>("Memo");
    QTest::keyClick(grid, Qt::Key_F3);
    EXPECT_TRUE(memo->isVisible());
    EXPECT_EQ(QRect(memo->mapTo(&form, QPoint()), memo->size()), QRect(608, 346, 193, 105));
    EXPECT_EQ(memo->focusPolicy(), Qt::NoFocus);
    Hold(Qt::Key_Shift);
    Release(Qt::Key_Shift);
    form.ShowMonitorLines();
    EXPECT_EQ(memo->toPlainText().toStdString(),
              "Key: 114,  Flags: 0x00\nKey: 114,  Flags: 0x00\nKey: 016,  Flags: 0x01\nKey: 016,  Flags: 0x00");
    QTest::keyClick(grid, Qt::Key_F3);
    EXPECT_FALSE(memo->isVisible());
    EXPECT_TRUE(memo->toPlainText().isEmpty());
}

TEST_F(KeyEvents, F2OpensTheSetupDialogModallyAndTransmitsWhenItCloses) {
    QString title;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(qobject_cast<TSetupForm*>(dialog), nullptr);
        title = dialog->windowTitle();
        QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_F2);
    });
    QTest::keyClick(grid, Qt::Key_F2);
    EXPECT_EQ(title.toStdString(), "Program Setup Dialog");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(rig.display.refreshes, std::vector<uint32_t>{RedrawAll});
}

}  // namespace
}  // namespace cadenzo
