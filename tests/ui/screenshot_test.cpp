// Pictures of the windows, written under the build folder for a look.
#include <QDir>
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
    form.ShowTerca(" A# harm moll low", kSilver);
    form.RefreshDisplay(RedrawAll);
    form.IndicatorTimerTimer();
    form.show();
    Save(form, "main_window.png");

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
    rig.s.Options.MonitorSource = 5;
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
    rig.s.Options.MonitorSource = 1;
    test::FakeTimer timer;
    TMainForm form(rig.s, timer, rig.dialogs);
    form.RefreshDisplay(RedrawAll);
    form.show();
    QTest::keyClick(form.findChild<QTableWidget*>("StringGrid1"), Qt::Key_F3);
    for (ShortMessage m : {0x643C90u, 0x4007B0u, 0x0005CFu, 0x003C90u, 0xFEu, 0x2000E1u, 0x403C80u}) rig.midi.Feed(0, m);
    form.ShowMonitorLines();
    Save(form, "monitor.png");
}

}  // namespace
}  // namespace cadenzo
