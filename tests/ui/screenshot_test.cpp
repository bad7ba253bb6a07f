// Pictures of the windows, written under the build folder for a look.
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QPainter>
#include <QToolTip>
#include <QPixmap>

#include <gtest/gtest.h>

#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "engine/output.h"
#include "services/redraw_mask.h"
#include "support/engine_rig.h"
#include "support/fake_timer.h"
#include "support/recorders.h"
#include "support/temp_dir.h"
#include "ui/gig.h"
#include "ui/widgets/gig_windows.h"
#include "ui/widgets/main_form.h"
#include "ui/widgets/setup_form.h"
#include "ui/widgets/start_screen.h"

namespace cadenzo {
namespace {

void Save(QWidget& widget, const char* name) {
    QDir().mkpath(CADENZO_SCREENSHOT_DIR);
    const QString path = QString(CADENZO_SCREENSHOT_DIR) + "/" + name;
    EXPECT_TRUE(widget.grab().save(path)) << path.toStdString();
}

// A performance set-up: a split piano and strings on input 1, a glide lead on
// input 2 with terca, and the external drums on channel 10.
void PlayableMix(SystemState& s) {
    InitBankDefaults(s.Bank);
    LoadMix(s.Bank, 0);
    Mix& mix = s.Bank.WorkingMix;
    mix.Channels[0] = mix.Channels[1] = mix.Channels[2] = mix.Channels[3];
    mix.Channels[0].In1Channel = 1;
    mix.Channels[0].KL = 60;
    mix.Channels[0].Pan = 40;
    mix.Channels[0].Rev = 45;
    mix.Channels[1].In1Channel = 1;
    mix.Channels[1].KH = 59;
    mix.Channels[1].PG = 48;
    mix.Channels[1].Trs = 52;
    mix.Channels[1].Dyn = 100;
    mix.Channels[1].Pan = 100;
    mix.Channels[2].In2Channel = 17;
    mix.Channels[2].MD = 3;
    mix.Channels[2].Trc = 1;
    mix.Channels[2].Tun = 0;
    mix.Channels[2].Out34 = 127;
    mix.EQ12 = {127, 100, 80, 64, 64, 60, 50, 40, 20, 0};
    mix.EQ34 = {64, 70, 76, 82, 88, 94, 100, 106, 112, 118};
    mix.KeyboardScale = {64, 60, 64, 70, 0, 127, 64, 64, 65, 63, 64, 64};
    mix.PortaSpeed = 120;
    mix.BendRange = 12;
    s.Options.UseDrumMode = 1;
    s.Options.DrumOutChannel = 9;
    s.Options.EffectLevels = {127, 64, 32, 0, 100};
    WriteU32(s.Options.ProgramDisplayMode, 2);  // the longest program texts
    s.Bank.CurrentProgram = 17;
    s.Bank.ProgramCopyTarget = 18;
    s.Bank.ChannelCopyTarget = 3;
    s.Bank.MixModified = true;
    LightLamp(s.Lamps, ShapeIn1);
    LightLamp(s.Lamps, ShapeOut1);
    LightLamp(s.Lamps, ShapeCh1);
    LightLamp(s.Lamps, static_cast<Lamp>(ShapeCh1 + 2));
}

TEST(Screenshots, MainWindowAndStartScreen) {
    static SystemState state;
    PlayableMix(state);
    test::FakeTimer timer;
    test::RecordingDialogs dialogs;
    TMainForm form(state, timer, dialogs);
    form.SetMasterVolume(110);
    form.SetMasterTranspose(2);
    form.ShowTerca({10, 3, false});  // " A# harm moll low" on silver
    form.RefreshDisplay(RedrawAll);
    form.IndicatorTimerTimer();
    form.show();
    Save(form, "main_window.png");
    form.findChild<QTableWidget*>("StringGrid1")->setCurrentCell(0, 7);  // the piano's "KL" waits for a note
    QTest::keyClick(&form, Qt::Key_Return);
    QTest::qWait(60);
    Save(form, "main_window_armed.png");
    QTest::keyClick(&form, Qt::Key_Return);

    state.Bank.GmMode = true;
    state.Options.GmPort = 1;
    state.Options.GmThruMode = 1;
    state.Options.GmEffectLevels = {90, 90, 20, 10, 10};
    state.Bank.Bank.Slots[kGmSlot].EQ56 = {90, 80, 70, 64, 64, 64, 64, 70, 80, 90};
    form.RefreshDisplay(RedrawAll);
    Save(form, "main_window_gm.png");

    StartScreenControl screens(dialogs);
    screens.ShowStartScreen("Initializing MIDI Devices...");
    Save(*screens.StartScreen(), "start_screen.png");
    screens.CloseStartScreen();
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(Screenshots, SetupDialogPages) {
    test::EngineRig rig;
    rig.s.Options.MasterVolumePort = 3;
    rig.s.Options.Mix34Level = 90;
    rig.s.Options.MonitorSource = kMonitorSynthOut;
    TSetupForm form(rig.s, nullptr);
    form.show();
    auto* pages = form.findChild<QTabWidget*>("PageControl1");
    const std::array<const char*, 3> names{"setup_main.png", "setup_remote.png", "setup_other.png"};
    for (int i = 0; i < 3; ++i) {
        pages->setCurrentIndex(i);
        Save(form, names[static_cast<size_t>(i)]);
    }
}

// Device names as real MIDI services list them, two of one maker among them.
TEST(Screenshots, SetupDialogWithLongDeviceNames) {
    test::EngineRig rig;
    VirtualMidiBackend real{{"VM USB Keyboard:VM USB Keyboard MIDI 1", "VM USB Keyboard:VM USB Keyboard MIDI 2",
                             "Midi Through:Midi Through Port-0"},
                            {"a2j:Synth [20] (playback): Synth MIDI 1", "harness:synth",
                             "a2j:Synth [20] (playback): Synth MIDI 2"}};
    rig.s.Io.midi = &real;
    EnumerateMidiDevices(rig.s);
    for (auto select : {SelectIn1Port, SelectIn2Port, SelectIn3Port, SelectSynthOutPort, SelectThruOutPort,
                        SelectControlOutPort})
        select(rig.s, 0);
    SelectIn1Port(rig.s, 2);
    SelectIn3Port(rig.s, 3);
    SelectSynthOutPort(rig.s, 1);
    SelectThruOutPort(rig.s, 2);
    SelectControlOutPort(rig.s, 3);
    {
        TSetupForm form(rig.s, nullptr);
        form.show();
        Save(form, "setup_devices.png");
    }
    CloseAllPorts(rig.s);
    rig.s.Io.midi = &rig.midi;
}

TEST(Screenshots, MonitorWithTraffic) {
    static test::EngineRig rig;
    PlayableMix(rig.s);
    rig.s.Options.MonitorSource = kMonitorIn1;
    test::FakeTimer timer;
    TMainForm form(rig.s, timer, rig.dialogs);
    form.RefreshDisplay(RedrawAll);
    form.show();
    QTest::keyClick(form.findChild<QTableWidget*>("StringGrid1"), Qt::Key_F3);
    for (ShortMessage m : {0x643C90u, 0x4007B0u, 0x0005CFu, 0x003C90u, 0xFEu, 0x2000E1u, 0x403C80u}) rig.midi.Feed(0, m);
    form.ShowMonitorLines();
    Save(form, "monitor.png");
}

// A tool tip shown at a point of a widget, drawn into a picture of the window.
void SaveWithToolTip(QWidget& window, QWidget* widget, QPoint at, const QString& tip, const char* name) {
    QToolTip::showText(widget->mapToGlobal(at), tip, widget);
    QWidget* label = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->inherits("QTipLabel") && top->isVisible()) label = top;
    ASSERT_NE(label, nullptr);
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    const QPoint place = widget->mapTo(&window, at) + QPoint(8, 12);
    painter.drawPixmap(std::min(place.x(), picture.width() - label->width()), place.y(), label->grab());
    painter.end();
    QToolTip::hideText();
    QDir().mkpath(CADENZO_SCREENSHOT_DIR);
    EXPECT_TRUE(picture.save(QString(CADENZO_SCREENSHOT_DIR) + "/" + name));
}

// The README's first split, key by key from an empty mix: bass (PG 33) up
// to B3 on layer 1, piano from C4 on layer 2, both zone edges played.
TEST(Screenshots, FirstSplitInThirtyFiveKeys) {
    test::EngineRig rig;
    test::FakeTimer timer;
    TMainForm form(rig.s, timer, rig.dialogs);
    rig.s.Io.display = &form;
    form.RefreshDisplay(RedrawAll);
    form.show();
    auto* grid = form.findChild<QTableWidget*>("StringGrid1");
    grid->setFocus();
    int presses = 0;
    const auto press = [&](Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i, ++presses) QTest::keyClick(grid, key);
    };
    const auto playToSet = [&](uint8_t note) {
        press(Qt::Key_Return);
        rig.Play(1, PackShortMessage(0x90, 0, note, 100));
        rig.Play(1, PackShortMessage(0x80, 0, note, 0));
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig.s.PlayToSet.Answer.load() == 0; }));
    };
    press(Qt::Key_Insert);      // layer 1 plays In1 channel 1
    press(Qt::Key_Right, 4);    // to PG
    press(Qt::Key_PageUp, 3);   // 30
    press(Qt::Key_Insert, 3);   // 33: Electric Bass (finger)
    press(Qt::Key_Right, 4);    // to KH
    playToSet(59);              // B3
    press(Qt::Key_Down);        // layer 2
    press(Qt::Key_Left, 8);     // to In1
    press(Qt::Key_Insert);
    press(Qt::Key_Right, 7);    // to KL
    playToSet(60);              // C4
    press(Qt::Key_Backspace);   // stored as mix 0
    EXPECT_EQ(presses, 35);
    const Mix& stored = rig.s.Bank.Bank.Slots[0];
    EXPECT_EQ(stored.Channels[0].In1Channel, 1);
    EXPECT_EQ(stored.Channels[0].PG, 33);
    EXPECT_EQ(stored.Channels[0].KH, 59);
    EXPECT_EQ(stored.Channels[1].In1Channel, 1);
    EXPECT_EQ(stored.Channels[1].KL, 60);
    EXPECT_EQ(stored.Channels[1].PG, 0);
    grid->setCurrentCell(0, 4);
    const QRect program = grid->visualItemRect(grid->item(0, 4));
    SaveWithToolTip(form, grid->viewport(), program.center(), grid->item(0, 4)->toolTip(), "first_split.png");
}

// Bass below middle C and piano above, strings layered over both, a
// vibraphone on a split zone; two keys held, then the synthesiser unplugged.
TEST(Screenshots, ZoneMapToolTipsAndAbsentLamp) {
    test::EngineRig rig;
    Mix& mix = rig.s.Bank.WorkingMix;
    for (int c : {0, 1, 2, 3}) mix.Channels[c].In1Channel = 1;
    mix.Channels[0].KH = 59;
    mix.Channels[0].PG = 33;
    mix.Channels[1].KL = 60;
    mix.Channels[2].PG = 48;
    mix.Channels[2].VL = 40;
    mix.Channels[2].Trs = 64 + 12;
    mix.Channels[3].KL = 96;
    mix.Channels[3].KH = 36;
    mix.Channels[3].PG = 11;
    test::FakeTimer timer;
    TMainForm form(rig.s, timer, rig.dialogs);
    form.RefreshDisplay(RedrawAll);
    form.show();
    rig.Play(1, PackShortMessage(0x90, 0, 43, 100));
    rig.Play(1, PackShortMessage(0x90, 0, 67, 100));
    auto* grid = form.findChild<QTableWidget*>("StringGrid1");
    QTest::keyClick(grid, Qt::Key_F11);
    Save(*form.findChild<QWidget*>("ZoneMap"), "zone_map.png");
    QTest::keyClick(grid, Qt::Key_F11);

    const QRect keyHigh = grid->visualItemRect(grid->item(0, 8));
    SaveWithToolTip(form, grid->viewport(), keyHigh.center(), grid->item(0, 8)->toolTip(), "grid_tip_key_zone.png");
    const QRect program = grid->visualItemRect(grid->item(0, 4));
    SaveWithToolTip(form, grid->viewport(), program.center(), grid->item(0, 4)->toolTip(), "grid_tip_program.png");
    QHeaderView* header = grid->horizontalHeader();
    SaveWithToolTip(form, header, QPoint(header->sectionViewportPosition(11) + 8, 8),
                    grid->horizontalHeaderItem(11)->toolTip(), "grid_tip_header.png");

    rig.midi.UnplugOutput(0);
    rig.FollowDevices();
    form.IndicatorTimerTimer();
    auto* lamp = form.findChild<QWidget*>("ShapeOut1");
    SaveWithToolTip(form, lamp, QPoint(4, 4), lamp->toolTip(), "absent_lamp.png");
}

// The evening's windows, played by their keys: the name editor (Ctrl+N),
// the set-list window (F10) and the performance view (F12), whose Escape
// closes it and leaves the program running.
class GigScreenshots : public test::InTempDir {};  // the names and set list are written here

TEST_F(GigScreenshots, NameEditorSetListAndPerformanceView) {
    test::EngineRig rig;
    ParseSetList("2 Opening song\n5 The ballad\n9\n", rig.s.Songs);
    rig.s.Names.Names[5] = "Ballad strings";
    rig.s.Names.Names[9] = "Organ and bass";
    rig.s.Footswitch.NextController = 0;
    test::FakeTimer timer;
    TMainForm form(rig.s, timer, rig.dialogs);
    struct DisplayedBy {  // the window shows what the keys change, until it goes
        SystemState& s;
        Display* before;
        ~DisplayedBy() { s.Io.display = before; }
    } displayed{rig.s, std::exchange(rig.s.Io.display, &form)};
    form.RefreshDisplay(RedrawAll);
    form.show();
    auto* grid = form.findChild<QTableWidget*>("StringGrid1");

    QTimer::singleShot(0, [] {
        QWidget* editor = QApplication::activeModalWidget();
        ASSERT_NE(editor, nullptr);
        auto* line = editor->findChild<QLineEdit*>("TextEdit");
        QTest::keyClicks(line, "Warm pad");
        Save(*editor, "name_editor.png");
        QTest::keyClick(line, Qt::Key_Return);
    });
    QTest::keyClick(grid, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(MixName(rig.s, 0), "Warm pad");
    Save(form, "main_window_named.png");
    EXPECT_TRUE(form.windowTitle().endsWith("  -  MIX 000  Warm pad"));

    QTest::keyClick(grid, Qt::Key_F10);
    auto* rows = form.findChild<QListWidget*>("SetListRows");
    ASSERT_NE(rows, nullptr);
    QTest::keyClick(rows, Qt::Key_End);
    QTest::keyClick(rows, Qt::Key_Insert);  // mix 0 after the last entry
    QTest::keyClick(rows, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(rows, Qt::Key_Up);
    QTest::keyClick(rows, Qt::Key_Return);  // to "The ballad"
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 5u);
    static_cast<SetListWindow*>(form.findChild<QWidget*>("SetList"))->Refresh();
    Save(*form.findChild<QWidget*>("SetList"), "set_list.png");
    QTest::keyClick(rows, Qt::Key_Escape);
    EXPECT_FALSE(form.findChild<QWidget*>("SetList")->isVisible());

    QTest::keyClick(grid, Qt::Key_F12);
    auto* view = form.findChild<QWidget*>("PerformanceView");
    ASSERT_NE(view, nullptr);
    LightLamp(rig.s.Lamps, ShapeIn1);
    rig.midi.UnplugOutput(2);
    rig.FollowDevices();
    QTest::keyClick(view, Qt::Key_Apostrophe);  // the next entry: mix 0, "Warm pad"
    QTest::keyClick(view, Qt::Key_Semicolon);   // and back
    EXPECT_EQ(rig.s.Bank.CurrentProgram, 5u);
    static_cast<PerformanceView*>(view)->Refresh();
    EXPECT_EQ(view->findChild<QLabel*>("Song")->text(), "The ballad");
    EXPECT_EQ(view->findChild<QLabel*>("NextEntry")->text(), "Next: MIX 000  Warm pad");
    Save(*view, "performance_view.png");
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(view->isVisible());
    EXPECT_TRUE(form.isVisible());
}

}  // namespace
}  // namespace cadenzo
