#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "bank/window_title.h"
#include "engine/monitor_feed.h"
#include "services/redraw_mask.h"
#include "support/fake_timer.h"
#include "support/recorders.h"
#include "ui/widgets/main_form.h"
#include "ui/widgets/shape.h"

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

class MainWindow : public ::testing::Test {
protected:
    MainWindow() {
        InitBankDefaults(state.Bank);
        LoadMix(state.Bank, 0);
        state.Io.dialogs = &dialogs;
        state.Io.display = &form;
    }

    template <class T = QWidget>
    T* Find(const char* name) {
        T* widget = form.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    std::string Text(const char* label) { return Find<QLabel>(label)->text().toStdString(); }
    Rgb Colour(const char* shape) { return Find<TShape>(shape)->Brush(); }
    std::string Cell(int row, int column) {
        return grid->item(row - 1, column - 1)->text().toStdString();
    }
    QRect ClientRect(const char* name) {
        QWidget* w = Find(name);
        return QRect(w->mapTo(&form, QPoint()), w->size());
    }

    SystemState state;
    test::FakeTimer timer;
    test::RecordingDialogs dialogs;
    TMainForm form{state, timer, dialogs};
    QTableWidget* grid = form.findChild<QTableWidget*>("StringGrid1");
};

TEST_F(MainWindow, EveryElementExistsAndStartsBlank) {
    for (const char* name :
         {"Memo", "Shape1", "EffCGauge5", "MasterTransposeLabel", "Label29", "Shape23", "Shape3", "Shape4", "Label21",
          "Label19", "ShapeIn1", "ShapeIn2", "ShapeIn3", "ShapeOut1", "ShapeOut2", "ShapeOut3", "ShapeCh16", "Shape9",
          "Shape18", "Shape22", "Label_Ais", "Label28", "Label31", "EQ56Shape10", "ShapeEQ34Osnova", "MasterVolBar"})
        Find(name);
    EXPECT_FALSE(Find("Memo")->isVisibleTo(&form));
    for (const char* label : {"ProgramLabel", "MasterVolumeLabel", "MasterTransposeLabel", "Label28", "Label29",
                              "Label31"})
        EXPECT_EQ(Text(label), "") << label;
    EXPECT_EQ(Text("Label_C"), "C");
    EXPECT_EQ(Text("Label_Fis"), "F#");
    EXPECT_EQ(Find<QProgressBar>("EffCGauge1")->value(), 64);
    EXPECT_EQ(Find<QProgressBar>("EffCGauge1")->text(), "50%");
    EXPECT_EQ(ClientRect("EQ12Shape1"), QRect(ClientRect("EQ12Shape1").x(), 403, 9, 1));
    EXPECT_EQ(ClientRect("ShapeEQ56Osnova").top(), 371);
    EXPECT_EQ(Colour("ShapeCh1"), kSilver);

    ASSERT_EQ(grid->columnCount(), 28);
    ASSERT_EQ(grid->rowCount(), 16);
    EXPECT_EQ(grid->horizontalHeaderItem(12)->text(), "Tun");
    EXPECT_EQ(grid->verticalHeaderItem(9)->text(), "C10");
    EXPECT_EQ(Cell(1, 1), "");
}

TEST_F(MainWindow, HintsNameTheKeys) {
    EXPECT_EQ(grid->toolTip(), "[Strelki] - Cell Navigation\n[Insert]/[Del] - Change Value");
    EXPECT_EQ(Find("Shape1")->toolTip(), Find("ProgramLabel")->toolTip());
    EXPECT_EQ(Find("EffCGauge3")->toolTip(), "[3] - [E]");
    EXPECT_EQ(Find("MasterTransposeLabel")->toolTip(), "Master Transpose\n[F7 Down] - [F8 Up] - [F9 Reset to 0]");
    EXPECT_EQ(Find("Label29")->toolTip(), "[\\] - for new Terc scan");
    EXPECT_EQ(Find("Label_Dis")->toolTip(), "[Shift + S] - [Shift + X]");
    EXPECT_EQ(Find("MasterVolBar")->toolTip(), "[Num +] - [Num -] or [L] - [K]");
    EXPECT_EQ(Find("ShapeEQ56Osnova")->parentWidget()->toolTip(),
              "[Shift+Ctrl] + [1,2,3...0]/[Q,W,E...P]\n[Shift+Ctrl] + [`] - Reset All");
}

TEST_F(MainWindow, GridToolTipsNameHeadersAndValuesAndLeaveTheTextsAlone) {
    ChannelRecord& bass = state.Bank.WorkingMix.Channels[0];
    bass.In1Channel = 1;
    bass.KL = 60;  // split: below B2 and from C4 up
    bass.KH = 48;
    bass.PG = 33;
    bass.Msb = 1;
    bass.Trs = 64 - 12 - 7;
    bass.MD = 2;
    form.RefreshDisplay(RedrawAll);
    const auto tip = [&](int column) { return grid->item(0, column - 1)->toolTip().toStdString(); };
    EXPECT_EQ(Cell(1, 8), "60");
    EXPECT_EQ(tip(8), "C4 = 60; split zone: C-1..B2 and C4..G9");
    EXPECT_EQ(tip(9), "C3 = 48; split zone: C-1..B2 and C4..G9");
    EXPECT_EQ(tip(12), "-19 semitones: 1 octave and a perfect fifth down");
    EXPECT_EQ(tip(5), "Electric Bass (finger) (bank Lsb 0, Msb 1)");
    EXPECT_EQ(tip(22), "ML: monophonic legato: later keys bend the sounding note");
    EXPECT_EQ(tip(6), "") << "a plain number needs no tip";
    bass.KL = 59;
    bass.KH = 60;
    bass.Trs = 64 + 3;
    form.RefreshDisplay(1);
    EXPECT_EQ(tip(8), "B3 = 59; zone B3..C4, 2 keys");
    EXPECT_EQ(tip(12), "+3 semitones: a minor third up");
    EXPECT_EQ(grid->item(1, 7)->toolTip(), "") << "a layer that plays nothing";
    EXPECT_EQ(grid->horizontalHeaderItem(7)->toolTip().toStdString(),
              "Key zone, lowest key: 0..127 (C-1..G9, C4 = 60); above the highest key: a split zone");
    EXPECT_EQ(grid->horizontalHeaderItem(12)->toolTip().toStdString(), "Fine tune: -128..+127");
    EXPECT_EQ(grid->toolTip(), "[Strelki] - Cell Navigation\n[Insert]/[Del] - Change Value");
}

TEST_F(MainWindow, EmptyMaskRewritesOnlyTheProgramCopyTargetsAndTheProgramColour) {
    state.Bank.CurrentProgram = 12;
    state.Bank.ProgramCopyTarget = 13;
    state.Bank.ChannelCopyTarget = 15;
    state.Bank.MixModified = true;
    state.Bank.WorkingMix.Channels[0].In1Channel = 1;
    form.RefreshDisplay(0);
    EXPECT_EQ(Text("ProgramLabel"), "MIX 012");
    EXPECT_EQ(Text("Label21"), "MIX 013");
    EXPECT_EQ(Text("Label19"), "Channel 16");
    EXPECT_EQ(Colour("Shape1"), kRed);
    EXPECT_EQ(Cell(1, 1), "");
    EXPECT_EQ(Text("Label28"), "");
    EXPECT_EQ(Text("Label_C"), "C");
    EXPECT_EQ(ClientRect("EQ12Shape1").height(), 1);
}

TEST_F(MainWindow, MaskBitsRedrawTheirAreasFromTheWorkingMix) {
    Mix& mix = state.Bank.WorkingMix;
    mix.Channels[2].In2Channel = 10;
    mix.Channels[3].In1Channel = 4;
    mix.EQ12[0] = 127;
    mix.EQ56[9] = 0;
    mix.KeyboardScale[1] = 0;
    mix.PortaSpeed = 250;
    mix.BendRange = 12;
    state.Options.EffectLevels = {127, 0, 64, 1, 255};

    form.RefreshDisplay(1u << 2);
    EXPECT_EQ(Cell(3, 2), "C10");
    EXPECT_EQ(Cell(4, 1), "");  // row 4 not in the mask

    form.RefreshDisplay(RedrawAll);
    EXPECT_EQ(Cell(4, 1), "Ch4");
    EXPECT_EQ(Cell(1, 6), "---");
    EXPECT_EQ(ClientRect("EQ12Shape1"), QRect(ClientRect("EQ12Shape1").x(), 371, 9, 33));
    EXPECT_EQ(ClientRect("EQ56Shape10"), QRect(ClientRect("EQ56Shape10").x(), 403, 9, 33));
    const char* percents[] = {"100%", "0%", "50%", "0%", "100%"};
    for (int i = 0; i < 5; ++i) {
        const QByteArray name = "EffCGauge" + QByteArray::number(i + 1);
        EXPECT_EQ(Find<QProgressBar>(name.constData())->text(), percents[i]) << i;
    }
    EXPECT_EQ(Text("Label_C"), "+0");
    EXPECT_EQ(Text("Label_Cis"), "-64");
    EXPECT_EQ(Text("Label28"), "250 ms");
    EXPECT_EQ(Text("Label31"), "12 smt");
}

TEST_F(MainWindow, GmModeShowsTheGmSetUpEvenWhenTheMixWasEdited) {
    state.Bank.MixModified = true;
    state.Bank.GmMode = true;
    state.Options.GmPort = 1;
    state.Options.GmThruMode = 2;
    state.Options.GmEffectLevels[0] = 127;
    state.Bank.Bank.Slots[kGmSlot].PortaSpeed = 99;
    state.Bank.Bank.Slots[kGmSlot].EQ34[4] = 127;
    form.RefreshDisplay(RedrawAll);
    EXPECT_EQ(Text("ProgramLabel"), "GM Mode");
    EXPECT_EQ(Colour("Shape1"), kAqua);
    EXPECT_EQ(Cell(16, 1), "Thr");
    EXPECT_EQ(Cell(16, 2), "GM");
    EXPECT_EQ(Cell(16, 3), "");
    EXPECT_EQ(Cell(16, 26), "110");
    EXPECT_EQ(Text("Label28"), "99 ms");
    EXPECT_EQ(ClientRect("EQ34Shape5").top(), 371);
    EXPECT_EQ(Find<QProgressBar>("EffCGauge1")->text(), "100%");
}

TEST_F(MainWindow, MasterAndTercaDisplays) {
    form.SetMasterVolume(100);
    form.SetMasterTranspose(3);
    form.ShowTerca({3, 2, true});  // " D#harm moll" on red
    EXPECT_EQ(Text("MasterVolumeLabel"), "100");
    EXPECT_EQ(Find<QProgressBar>("MasterVolBar")->value(), 100);
    EXPECT_EQ(Text("MasterTransposeLabel"), "+3");
    EXPECT_EQ(Text("Label29"), " D#harm moll");
    EXPECT_EQ(Colour("Shape23"), kRed);
    form.SetMasterTranspose(-12);
    EXPECT_EQ(Text("MasterTransposeLabel"), "-12");
}

TEST_F(MainWindow, TheDrumTimerFollowsTheNoteOffDelayAndEmptiesTheDrumRings) {
    EXPECT_EQ(form.DrumTimerInterval(), 200u);
    form.SetDrumTimerInterval(210);
    EXPECT_EQ(form.DrumTimerInterval(), 210u);
    state.DrumOff.DrumOffPending.Push({9, 36});
    form.DrumOffTimerTimer();
    EXPECT_TRUE(state.DrumOff.DrumOffPending.Empty());
    EXPECT_FALSE(state.DrumOff.DrumOffDue.Empty());
    form.DrumOffTimerTimer();
    EXPECT_TRUE(state.DrumOff.DrumOffDue.Empty());
}

TEST_F(MainWindow, LampsLitOnAnotherThreadShowAtOnceAndGoOutAfterTwoTicks) {
    std::thread([&] { LightLamp(state.Lamps, ShapeIn3); }).join();
    for (int i = 0; i < 50 && Colour("ShapeIn3") != kYellow; ++i) QTest::qWait(5);
    EXPECT_EQ(Colour("ShapeIn3"), kYellow);
    EXPECT_EQ(Colour("ShapeIn1"), kSilver);
    form.IndicatorTimerTimer();
    EXPECT_EQ(Colour("ShapeIn3"), kYellow);
    form.IndicatorTimerTimer();
    EXPECT_EQ(Colour("ShapeIn3"), kSilver);
}

// Idle, the window costs no wake-ups of its own: its screen, lamp and
// monitor ticks rest until another thread posts something to show.
TEST_F(MainWindow, TheTicksRestWhileNothingIsNewAndALinePostedElsewhereWakesThem) {
    form.show();
    QTest::keyClick(grid, Qt::Key_F3);  // the monitor pane
    const std::array<QTimer*, 3> ticks{Find<QTimer>("ScreenTick"), Find<QTimer>("LampTick"),
                                       Find<QTimer>("MonitorTick")};
    const auto resting = [&] {
        for (int i = 0; i < 200 && std::ranges::any_of(ticks, &QTimer::isActive); ++i) QTest::qWait(10);
        return std::ranges::none_of(ticks, &QTimer::isActive);
    };
    EXPECT_TRUE(resting());
    std::thread([&] { MonitorShortMessage(state, 0x643C90); }).join();
    auto* memo = Find<QPlainTextEdit>("Memo");
    for (int i = 0; i < 100 && memo->toPlainText().isEmpty(); ++i) QTest::qWait(5);
    EXPECT_EQ(memo->toPlainText().toStdString(), "Note ON   Ch:01 060 100");
    EXPECT_TRUE(resting());
}

TEST_F(MainWindow, TheGridNeitherEditsNorSearchesAndTheWindowSeesItsKeysFirst) {
    form.show();
    grid->setFocus();
    QTest::keyClicks(grid, "ch");
    QTest::keyClick(grid, Qt::Key_F12);
    EXPECT_EQ(grid->findChild<QLineEdit*>(), nullptr);  // no cell editor was opened
    EXPECT_EQ(grid->currentRow(), 0);
    EXPECT_EQ(grid->currentColumn(), 0);

    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(state.Grid.Row, 2);
    EXPECT_EQ(state.Grid.Column, 2);

    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindow, SelectingACellMovesTheGridCursor) {
    grid->setCurrentCell(4, 21);
    EXPECT_EQ(state.Grid.Row, 5);
    EXPECT_EQ(state.Grid.Column, 22);
}

}  // namespace
}  // namespace cadenzo
