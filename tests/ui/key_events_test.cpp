// Real key events on the main window, offscreen: the translation to
// virtual-key codes, the modifier keys, repeats, and the windows the keys open.
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "bank/blend_file.h"
#include "services/redraw_mask.h"
#include "support/engine_rig.h"
#include "support/fake_timer.h"
#include "support/temp_dir.h"
#include "ui/modifier_indicators.h"
#include "ui/port_lamps.h"
#include "ui/widgets/engine_application.h"
#include "ui/widgets/main_form.h"
#include "ui/widgets/setup_form.h"
#include "ui/widgets/shape.h"
#include "ui/widgets/zone_map_window.h"

namespace cadenzo {
namespace {

class KeyEvents : public test::InTempDir {
protected:
    KeyEvents() {
        rig.s.Bank.WorkingMix.Channels[0].In1Channel = 1;
        form.show();
        grid->setFocus();
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
    TMainForm form{rig.s, timer, rig.dialogs};
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
    EXPECT_EQ(rig.s.Transmission.MasterVolume, 111);
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

// The wheel over a cell and a note played for an armed cell edit through the
// same path as Insert: one transmission and row refresh per change.
TEST_F(KeyEvents, TheWheelAndAPlayedNoteSetTheCellUnderThem) {
    ChannelRecord& layer = rig.s.Bank.WorkingMix.Channels[0];
    const QPoint overKeyLow = grid->visualItemRect(grid->item(0, 7)).center();
    QWheelEvent wheel(overKeyLow, grid->viewport()->mapToGlobal(overKeyLow), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &wheel);
    EXPECT_EQ(rig.s.Grid.Column, 8) << "the wheel selects the cell it turns";
    EXPECT_EQ(layer.KL, 2);
    EXPECT_EQ(rig.display.refreshes, (std::vector<uint32_t>{1u, 1u}));

    QTest::keyClick(grid, Qt::Key_Return);  // arms KL
    auto* caption = form.findChild<QLabel*>("GridCaption");
    const auto marked = [&] { return grid->item(0, 7)->data(Qt::BackgroundRole).isValid(); };
    ASSERT_TRUE(QTest::qWaitFor(marked));
    EXPECT_EQ(caption->text().toStdString(), "Play a note to set KL of Ch1 (any other key cancels)");
    rig.ClearSent();
    rig.Play(1, PackShortMessage(0x90, 0, 48, 90));
    EXPECT_TRUE(rig.Synth().empty()) << "the note sets the cell instead of sounding";
    ASSERT_TRUE(QTest::qWaitFor([&] { return layer.KL == 48; }));
    EXPECT_EQ(rig.display.refreshes.back(), 1u);
    EXPECT_FALSE(rig.Synth().empty()) << "the mix was transmitted";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !marked(); }));
    EXPECT_EQ(caption->text().toStdString(), "All 16 MIDI Channel Parameters");
    rig.Play(1, PackShortMessage(0x90, 0, 50, 90));
    EXPECT_EQ(layer.KL, 48) << "one note per arming";

    grid->setCurrentCell(0, 11);  // "Trs": the interval from middle C
    QTest::keyClick(grid, Qt::Key_Return);
    rig.Play(2, PackShortMessage(0x90, 0, 67, 90));
    ASSERT_TRUE(QTest::qWaitFor([&] { return layer.Trs == 64 + 7; }));
    grid->setCurrentCell(0, 10);  // "VH": the velocity
    QTest::keyClick(grid, Qt::Key_Return);
    rig.Play(1, PackShortMessage(0x90, 0, 67, 99));
    ASSERT_TRUE(QTest::qWaitFor([&] { return layer.VH == 99; }));
    QTest::keyClick(grid, Qt::Key_Return);  // Enter twice disarms
    QTest::keyClick(grid, Qt::Key_Return);
    rig.Play(1, PackShortMessage(0x90, 0, 67, 90));
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClick(grid, Qt::Key_Down);  // another key disarms as well
    grid->setCurrentCell(0, 10);
    rig.Play(1, PackShortMessage(0x90, 0, 67, 90));
    grid->setCurrentCell(1, 7);  // an unassigned layer's KL cannot be armed
    QTest::keyClick(grid, Qt::Key_Return);
    rig.Play(1, PackShortMessage(0x90, 0, 40, 90));
    QTest::qWait(60);
    EXPECT_EQ(layer.VH, 99);
    EXPECT_EQ(rig.s.Bank.WorkingMix.Channels[1].KL, 0);
    EXPECT_EQ(grid->currentColumn(), 7) << "PgUp and End edit, they do not move the cursor";
    QTest::keyClick(grid, Qt::Key_End);
    QTest::keyClick(grid, Qt::Key_PageUp);
    EXPECT_EQ(grid->currentRow(), 1);
}

TEST_F(KeyEvents, AnAbsentDeviceShowsOnItsPortLampUntilItIsBack) {
    auto* synthLamp = form.findChild<TShape*>("ShapeOut1");
    rig.midi.UnplugOutput(0);
    rig.FollowDevices();
    form.IndicatorTimerTimer();
    EXPECT_EQ(synthLamp->Brush(), kAbsentLamp);
    EXPECT_EQ(synthLamp->toolTip(), "SynthOut: Synth (absent)");
    EXPECT_EQ(form.findChild<TShape*>("ShapeIn1")->Brush(), kSilver);
    EXPECT_EQ(form.findChild<TShape*>("ShapeIn1")->toolTip(), "");
    rig.Play(1, PackShortMessage(0x90, 0, 60, 100));
    form.IndicatorTimerTimer();
    EXPECT_EQ(synthLamp->Brush(), kAbsentLamp) << "nothing can be sent to it";

    rig.midi.PlugOutput(0);
    rig.FollowDevices();
    rig.FollowDevices();
    form.IndicatorTimerTimer();
    EXPECT_EQ(synthLamp->toolTip(), "");
    EXPECT_NE(synthLamp->Brush(), kAbsentLamp);
}

TEST_F(KeyEvents, F11OpensAZoneMapThatFollowsTheMixAndTheKeysHeld) {
    Mix& mix = rig.s.Bank.WorkingMix;
    mix.Channels[0].KL = 60;  // split: up to B2, and from C4 up
    mix.Channels[0].KH = 48;
    mix.Channels[1].In1Channel = 1;  // plain: C2..B3
    mix.Channels[1].KL = 36;
    mix.Channels[1].KH = 59;
    QTest::keyClick(grid, Qt::Key_F11);
    auto* map = form.findChild<ZoneMapWindow*>("ZoneMap");
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(map->isVisible());
    EXPECT_TRUE(map->windowFlags() & Qt::WindowDoesNotAcceptFocus) << "keys still reach the main window";
    const auto span = [&](int c, int part) {
        const QRect bar = map->BarRect(c, part);
        return std::pair{bar.left(), bar.right()};
    };
    EXPECT_EQ(map->Rows()[0].parts, 2);
    EXPECT_EQ(span(0, 0), std::pair(map->KeyRect(21).left(), map->KeyRect(47).right()));
    EXPECT_EQ(span(0, 1), std::pair(map->KeyRect(60).left(), map->KeyRect(108).right()));
    EXPECT_EQ(map->Rows()[1].parts, 1);
    EXPECT_EQ(span(1, 0), std::pair(map->KeyRect(36).left(), map->KeyRect(59).right()));
    EXPECT_LT(map->BarRect(0, 0).bottom(), map->BarRect(1, 0).top()) << "one row per layer";
    EXPECT_EQ(map->Rows()[2].parts, 0);

    mix.Channels[1].VH = 80;
    rig.Play(1, PackShortMessage(0x90, 0, 40, 80));
    rig.Play(1, PackShortMessage(0x90, 0, 41, 110));
    rig.Play(1, PackShortMessage(0x90, 0, 72, 100));
    ASSERT_TRUE(QTest::qWaitFor([&] { return map->Rows()[1].sounding.test(40); }));
    EXPECT_TRUE(map->Rows()[0].sounding.test(40) && map->Rows()[0].sounding.test(72));
    EXPECT_FALSE(map->Rows()[1].sounding.test(72)) << "outside its zone";
    EXPECT_TRUE(map->Rows()[0].sounding.test(41));
    EXPECT_FALSE(map->Rows()[1].sounding.test(41)) << "above its velocity zone";
    grid->setCurrentCell(0, 7);
    QTest::keyClick(grid, Qt::Key_PageUp);  // KL of layer 1 up an octave
    ASSERT_TRUE(QTest::qWaitFor([&] { return map->Rows()[0].zone[1].low == 72; }));
    QTest::keyClick(grid, Qt::Key_F4);  // GM mode: no bars
    ASSERT_TRUE(QTest::qWaitFor([&] { return map->Rows()[0].parts == 0; }));
    QTest::keyClick(grid, Qt::Key_F11);
    EXPECT_FALSE(map->isVisible());
}

TEST_F(KeyEvents, F3ShowsTheMonitorPaneOverTheCopyManagerWithKeyLines) {
    rig.s.Options.MonitorSource = kMonitorKeyboard;
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

TEST_F(KeyEvents, ShiftAndCtrlHeldMakeAProgramChangeStoreTheWorkingMix) {
    rig.s.Bank.WorkingMix.Channels[2].Vol = 17;
    Hold(Qt::Key_Shift);
    Hold(Qt::Key_Control);
    rig.Play(1, PackShortMessage(0xC0, 0, 12, 0));
    Release(Qt::Key_Control);
    Release(Qt::Key_Shift);
    EXPECT_EQ(rig.s.Bank.Bank.Slots[12].Channels[2].Vol, 17) << "stored, not loaded over the edit";
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 12u);

    rig.s.Bank.WorkingMix.Channels[2].Vol = 18;  // no modifier held any more: a load
    rig.Play(1, PackShortMessage(0xC0, 0, 12, 0));
    EXPECT_EQ(rig.s.Bank.WorkingMix.Channels[2].Vol, 17);

    // The window writes the store while the program runs.
    std::vector<uint8_t> onDisk;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        onDisk = ReadBytes(kDefaultBlendFile);
        return onDisk.size() == sizeof(MixBank);
    }));
    MixBank stored{};
    std::memcpy(&stored, onDisk.data(), sizeof(MixBank));
    EXPECT_EQ(stored.Slots[12].Channels[2].Vol, 17);
}

// Input that reached the program before a key is played before the key's
// command, even while the engine thread has not taken it yet.
TEST_F(KeyEvents, MidiQueuedBeforeAKeyIsPlayedBeforeItsCommand) {
    // While the engine is busy elsewhere, input waits in the queue.
    const auto arriveWhileBusy = [&](ShortMessage m) {
        const EngineAccess busy(rig.s.Engine);
        rig.midi.Feed(0, m);
    };
    rig.s.Bank.WorkingMix.Channels[2].Vol = 17;
    Hold(Qt::Key_Shift);
    Hold(Qt::Key_Control);
    arriveWhileBusy(PackShortMessage(0xC0, 0, 12, 0));
    Release(Qt::Key_Control);
    Release(Qt::Key_Shift);
    EXPECT_EQ(rig.s.Bank.Bank.Slots[12].Channels[2].Vol, 17) << "stored while the modifiers were held";

    rig.ClearSent();
    arriveWhileBusy(PackShortMessage(0x90, 0, 60, 100));
    QTest::keyClick(grid, Qt::Key_Space);  // silences every channel, then sends the mix
    ASSERT_FALSE(rig.Synth().empty());
    EXPECT_EQ(rig.Synth().front(), PackShortMessage(0x90, 0, 60, 100));
}

// An arrow key: the grid moves its cursor with the engine let go, and
// takes it only for the cell it selects, so playing never waits for the
// grid's own work.
TEST_F(KeyEvents, AnArrowKeyMovesTheCursorWithTheEngineLetGoButForTheCellItSelects) {
    static_cast<EngineApplication*>(qApp)->Guard(&rig.s);
    std::vector<bool> heldWhileMoving;
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentChanged,
                     [&] { heldWhileMoving.push_back(rig.s.Engine.HeldByThisThread()); });
    const uint8_t column = rig.s.Grid.Column;
    QTest::keyClick(grid, Qt::Key_Right);
    static_cast<EngineApplication*>(qApp)->Guard(nullptr);
    EXPECT_EQ(heldWhileMoving, std::vector<bool>{false});
    EXPECT_EQ(rig.s.Grid.Column, column + 1);
}

TEST_F(KeyEvents, KeysWithoutACommandOrAUsLayoutNameStillHaveTheirMonitorLines) {
    rig.s.Options.MonitorSource = kMonitorKeyboard;
    QTest::keyClick(grid, Qt::Key_F3);
    form.ShowMonitorLines();
    auto* memo = form.findChild<QPlainTextEdit*>("Memo");
    memo->clear();
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::NoModifier},
                                         std::pair{Qt::Key_Clear, Qt::KeypadModifier},  // keypad 5 without NumLock
                                         std::pair{Qt::Key_unknown, Qt::NoModifier}}) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(grid, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(grid, &release);
    }
    form.ShowMonitorLines();
    EXPECT_EQ(memo->toPlainText().toStdString(),
              "Key: 093,  Flags: 0x00\nKey: 093,  Flags: 0x00\nKey: 012,  Flags: 0x00\nKey: 012,  Flags: 0x00\n"
              "Key: 000,  Flags: 0x00\nKey: 000,  Flags: 0x00");
}

TEST_F(KeyEvents, TheIndicatorsStartAsAfterAKeyRelease) {
    TMainForm fresh(rig.s, timer, rig.dialogs);
    for (const char* shape : {"Shape3", "Shape4", "Shape18", "Shape19", "Shape20", "Shape21", "Shape22"})
        EXPECT_EQ(fresh.findChild<TShape*>(shape)->Brush(), kIndicatorGrey) << shape;
    for (const char* label : {"Label18", "Label14", "Label15", "Label4", "Label1", "Label30"})
        EXPECT_EQ(fresh.findChild<QLabel*>(label)->palette().color(QPalette::Window), QColor(Qt::black)) << label;
}

TEST_F(KeyEvents, PanicSilencesEveryChannelThenSendsTheMixWithoutARefresh) {
    rig.s.Bank.WorkingMix.Channels[0].PG = 33;
    form.PanicButtonClick();
    const auto sent = rig.Synth();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](ShortMessage m) { return (m & 0xFFF0) == 0x78B0; }), 16);
    const auto programChange = std::find(sent.begin(), sent.end(), PackShortMessage(0xC0, 0, 33, 0));
    ASSERT_NE(programChange, sent.end());
    EXPECT_GT(programChange - sent.begin(), 16 * 6 - 1) << "the mix follows the reset";
    EXPECT_TRUE(rig.display.refreshes.empty());
}

}  // namespace
}  // namespace cadenzo
