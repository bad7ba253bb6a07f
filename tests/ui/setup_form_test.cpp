// The setup dialog offscreen, over a whole program state on virtual devices.
#include <QCheckBox>
#include <QComboBox>
#include <QAbstractItemView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "bank/settings_file.h"
#include "bank/setup_save.h"

#include "support/engine_rig.h"
#include "support/key_window.h"
#include "support/temp_dir.h"
#include "ui/key_map.h"
#include "ui/virtual_keys.h"
#include "ui/widgets/setup_form.h"

namespace cadenzo {
namespace {

class SetupDialog : public test::InTempDir {
protected:
    template <class T = QComboBox>
    T* Find(TSetupForm& form, const char* name) {
        T* widget = form.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    test::EngineRig rig;
};

TEST_F(SetupDialog, AFixedOnTopDialogWithoutTitleBarButtonsThatOnlyEscOrF2Close) {
    TSetupForm form(rig.s, nullptr);
    EXPECT_EQ(form.windowTitle().toStdString(), "Program Setup Dialog");
    form.show();
    EXPECT_GE(form.width(), 753);
    EXPECT_GE(form.height(), 481);
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint));
    auto* pages = Find<QTabWidget>(form, "PageControl1");
    ASSERT_EQ(pages->count(), 3);
    EXPECT_EQ(pages->tabText(1).toStdString(), "MIDI Remote Control Setup");
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(Find<QPushButton>(form, "Button1")->text().toStdString(),
              "Save settings as \"Deffault settings\" and AUTO LOAD this settings on program startup");

    form.show();
    QComboBox* list = Find(form, "MixChangeComboBox");
    QTest::keyClick(list, Qt::Key_A);
    QTest::keyClick(&form, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_FALSE(form.isVisible());
    form.show();
    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_FALSE(form.isVisible()) << "F2 reaches the dialog from a focused control";
}

TEST_F(SetupDialog, FillingShowsTheOptionsAndWritesNothing) {
    rig.s.Options.MasterVolumePort = 1;  // the rule holds already: controller 7 is blocked
    const OptionsRecord before = rig.s.Options;
    TSetupForm form(rig.s, nullptr);
    EXPECT_EQ(std::memcmp(&before, &rig.s.Options, sizeof before), 0);
    EXPECT_EQ(Find(form, "Input2ComboBox")->currentText().toStdString(), "Keys 2");
    EXPECT_EQ(Find(form, "NoteOffDelayComboBox")->currentText().toStdString(), " 210 ms");
    EXPECT_EQ(Find(form, "MixChangeChannelComboBox")->currentText().toStdString(), "All  Channels");
    EXPECT_EQ(Find(form, "UK1ComboBox")->count(), 129);
    auto* filter = Find<QListWidget>(form, "CheckListBoxCCFilter");
    EXPECT_EQ(filter->item(11)->checkState(), Qt::Unchecked);
    EXPECT_EQ(filter->item(2)->checkState(), Qt::Checked);
    EXPECT_FALSE(filter->item(7)->flags() & Qt::ItemIsEnabled);
}

TEST_F(SetupDialog, MasterVolumeControllerIsBlockedAndGreyedWhileAPortIsChosen) {
    TSetupForm form(rig.s, nullptr);
    auto* filter = Find<QListWidget>(form, "CheckListBoxCCFilter");
    Find(form, "MasterVolumePortComboBox")->setCurrentIndex(3);
    Find(form, "MasterVolumeCcComboBox")->setCurrentIndex(11);
    EXPECT_EQ(rig.s.Options.CCBlocked[11], 1);
    EXPECT_EQ(filter->item(11)->checkState(), Qt::Checked);
    EXPECT_FALSE(filter->item(11)->flags() & Qt::ItemIsEnabled);
    EXPECT_EQ(rig.s.Options.CCBlocked[7], 1) << "the controller chosen before stays blocked";
    EXPECT_TRUE(filter->item(7)->flags() & Qt::ItemIsEnabled);

    Find(form, "MasterVolumePortComboBox")->setCurrentIndex(0);
    EXPECT_TRUE(filter->item(11)->flags() & Qt::ItemIsEnabled);
    EXPECT_EQ(filter->item(11)->checkState(), Qt::Checked);
    filter->item(11)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(rig.s.Options.CCBlocked[11], 0);
}

TEST_F(SetupDialog, ThruInterlockLetsOneSourceFeedTheThruOutput) {
    TSetupForm form(rig.s, nullptr);
    auto* thruInput = Find(form, "Input3ComboBox");
    auto* in1ToThru = Find<QCheckBox>(form, "GMMidiThruCheckBox");
    EXPECT_EQ(thruInput->currentIndex(), 3);
    EXPECT_FALSE(in1ToThru->isEnabled()) << "the thru input is in use";
    thruInput->setCurrentIndex(0);
    EXPECT_TRUE(in1ToThru->isEnabled());
    in1ToThru->setChecked(true);
    EXPECT_EQ(rig.s.Options.GmMidiThru, 1);
    EXPECT_FALSE(thruInput->isEnabled());
    in1ToThru->setChecked(false);
    EXPECT_TRUE(thruInput->isEnabled());
    EXPECT_TRUE(in1ToThru->isEnabled());
}

TEST_F(SetupDialog, PortListsShowWhatReallyOpened) {
    TSetupForm form(rig.s, nullptr);
    rig.midi.FailNextOpen(kMidiAllocated);
    auto* in1 = Find(form, "Input1ComboBox");
    in1->setCurrentIndex(2);
    EXPECT_EQ(in1->currentIndex(), 0);
    EXPECT_EQ(in1->currentText().toStdString(), "NO Selected IN Device");
    EXPECT_EQ(rig.dialogs.boxes.size(), 1u);
    auto* synth = Find(form, "Synth1OutComboBox");
    synth->setCurrentIndex(0);
    EXPECT_EQ(rig.s.Ports.SynthOut.OpenNumber(), 0u);
    synth->setCurrentIndex(1);
    EXPECT_EQ(rig.s.Ports.SynthOut.OpenNumber(), 1u);
    EXPECT_EQ(synth->currentText().toStdString(), "Synth");
}

TEST_F(SetupDialog, ControlsActAtOnceAndOnlyTheButtonSaves) {
    TSetupForm form(rig.s, nullptr);
    Find(form, "NoteOffDelayComboBox")->setCurrentIndex(49);
    EXPECT_EQ(rig.display.drumIntervals.back(), 500u);
    Find<QSlider>(form, "Mix34TrackBar")->setValue(100);
    EXPECT_EQ(rig.s.Options.Mix34Level, 100);
    Find<QCheckBox>(form, "GMStartModeCheckBox")->setChecked(true);
    EXPECT_EQ(rig.s.Options.GmStartMode, 1);
    EXPECT_FALSE(rig.s.Bank.GmMode);
    Find(form, "PGLabelComboBox")->setCurrentIndex(3);
    EXPECT_EQ(ReadU32(rig.s.Options.ProgramDisplayMode), 3u);
    EXPECT_FALSE(std::filesystem::exists("Ostinata.opt"));

    auto* ringAcross = Find<QCheckBox>(form, "RingAcrossCheckBox");
    EXPECT_FALSE(ringAcross->isChecked()) << "off by default";
    ringAcross->setChecked(true);
    EXPECT_EQ(rig.s.RingAcross.Enabled, 1);
    auto* escapeAsks = Find<QCheckBox>(form, "EscapeAsksCheckBox");
    EXPECT_FALSE(escapeAsks->isChecked()) << "off by default";
    escapeAsks->setChecked(true);
    auto* effectSends = Find<QCheckBox>(form, "EffectSendsToSynthCheckBox");
    EXPECT_FALSE(effectSends->isChecked()) << "off by default";
    effectSends->setChecked(true);
    EXPECT_EQ(rig.s.Transmission.EffectSendsToSynth, 1);

    Find<QPushButton>(form, "Button1")->click();
    const auto settings = ReadBytes("Cadenzo.settings");
    EXPECT_EQ(std::string(settings.begin(), settings.end()),
              "RingAcrossMixChange=1\nEscapeAsksBeforeQuitting=1\nEffectSendsToSynth=1\n");
    EXPECT_EQ(ReadSettingsFile().RingAcrossMixChange, 1);
    EXPECT_EQ(ReadSettingsFile().EscapeAsksBeforeQuitting, 1);
    EXPECT_EQ(ReadSettingsFile().EffectSendsToSynth, 1);
    const auto bytes = ReadBytes("Ostinata.opt");
    ASSERT_EQ(bytes.size(), 200u);
    EXPECT_EQ(bytes[64], 49);
    EXPECT_EQ(bytes[12], 1) << "the synthesiser output's open device";
}

// A learn button takes the next controller moved on a playing input; the
// list shows it, and the save keeps both footswitches.
TEST_F(SetupDialog, TheLearnButtonTakesTheNextControllerMovedAndTheSaveKeepsIt) {
    TSetupForm form(rig.s, nullptr);
    Find(form, "PreviousMixComboBox")->setCurrentIndex(67);
    Find<QPushButton>(form, "NextMixLearnButton")->click();
    EXPECT_EQ(Find<QPushButton>(form, "NextMixLearnButton")->text(), "Move it...");
    rig.Play(2, PackShortMessage(0xB0, 3, 85, 127));
    for (int i = 0; i < 50 && Find(form, "NextMixComboBox")->currentIndex() != 85; ++i) QTest::qWait(10);
    EXPECT_EQ(Find(form, "NextMixComboBox")->currentIndex(), 85);
    EXPECT_EQ(Find<QPushButton>(form, "NextMixLearnButton")->text(), "Learn");
    Find<QPushButton>(form, "Button1")->click();
    const auto settings = ReadBytes("Cadenzo.settings");
    EXPECT_EQ(std::string(settings.begin(), settings.end()),
              "RingAcrossMixChange=0\nNextMixController=85\nPreviousMixController=67\n");
}

TEST_F(SetupDialog, TheButtonAlsoSavesWhichDeviceEachPortFollowsAbsentOnesIncluded) {
    rig.midi.UnplugOutput(0);
    rig.FollowDevices();
    TSetupForm form(rig.s, nullptr);
    Find(form, "Input2ComboBox")->setCurrentIndex(0);
    Find<QPushButton>(form, "Button1")->click();
    const auto text = ReadBytes("Ostinata.ports");
    EXPECT_EQ(std::string(text.begin(), text.end()),
              "In1=Keys 1\nIn2=\nIn3=Thru In\nSynthOut=Synth\nThruOut=Thru Out\nControlOut=Control\n");
    const auto options = ReadBytes("Ostinata.opt");
    ASSERT_EQ(options.size(), 200u);
    EXPECT_EQ(options[12], 0) << "the options keep the number of what is open";
    EXPECT_EQ(options[16], 1) << "Thru Out moved up in the list";
}

// A file that cannot be written: the message says which one failed and
// what the next start will do, and the run is to end with a failure status.
TEST_F(SetupDialog, AFailedSaveSaysWhatTheNextStartWillDo) {
    struct Case {
        const char* blocked;  // a folder where the file should go
        const char* last;     // the last message box
        bool portsWritten;
    };
    for (const Case& c : {Case{"Ostinata.ports", kNothingSavedText, false},
                          Case{"Ostinata.opt", kOnlyPortsSavedText, true}}) {
        std::filesystem::create_directory(c.blocked);
        TSetupForm form(rig.s, nullptr);
        Find<QPushButton>(form, "Button1")->click();
        ASSERT_GE(rig.dialogs.boxes.size(), 2u);
        EXPECT_EQ(rig.dialogs.boxes[rig.dialogs.boxes.size() - 2].text, std::string("Cannot create file ") + c.blocked);
        EXPECT_EQ(rig.dialogs.boxes.back().text, c.last);
        EXPECT_EQ(std::filesystem::is_regular_file("Ostinata.ports"), c.portsWritten);
        EXPECT_FALSE(std::filesystem::is_regular_file("Ostinata.opt"));
        EXPECT_FALSE(std::filesystem::is_regular_file("Cadenzo.settings")) << "nothing is written after a failure";
        EXPECT_TRUE(rig.s.SettingsUnsaved);
        std::filesystem::remove_all(c.blocked);
    }
    TSetupForm form(rig.s, nullptr);
    Find<QPushButton>(form, "Button1")->click();
    EXPECT_FALSE(rig.s.SettingsUnsaved) << "saved at last";
}

// No caption is cut at the default font; a device box cut short shows its
// whole list when opened and its choice in full as its tool tip.
TEST_F(SetupDialog, EveryCaptionAndDeviceNameCanBeReadInFull) {
    TSetupForm form(rig.s, nullptr);
    form.show();
    auto* pages = Find<QTabWidget>(form, "PageControl1");
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        for (const QLabel* label : form.findChildren<QLabel*>()) {
            if (!label->isVisible()) continue;
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        }
    }
    for (const char* name : {"Input1ComboBox", "Input2ComboBox", "Input3ComboBox", "Synth1OutComboBox",
                             "Synth2OutComboBox", "ControlOutComboBox"}) {
        QComboBox* list = Find(form, name);
        const QFontMetrics metrics(list->view()->font());
        for (int i = 0; i < list->count(); ++i)
            EXPECT_GT(list->view()->minimumWidth(), metrics.horizontalAdvance(list->itemText(i))) << name;
        EXPECT_EQ(list->toolTip(), list->currentText()) << name;
        list->setCurrentIndex(list->currentIndex() == 0 ? 1 : 0);
        EXPECT_EQ(list->toolTip(), list->currentText()) << name << ", once chosen again";
    }
}

TEST_F(SetupDialog, AnAbsentDeviceCanOnlyBeLetGoOf) {
    rig.midi.UnplugInput(0);
    rig.midi.UnplugInput(2);
    rig.FollowDevices();
    TSetupForm form(rig.s, nullptr);
    EXPECT_EQ(Find(form, "Input3ComboBox")->currentText().toStdString(), "Thru In (absent)");
    EXPECT_FALSE(Find<QCheckBox>(form, "GMMidiThruCheckBox")->isEnabled()) << "the thru input is still chosen";
    auto* in1 = Find(form, "Input1ComboBox");
    ASSERT_EQ(in1->count(), 3) << "no device, Keys 2, and the absent one";
    EXPECT_EQ(in1->currentText().toStdString(), "Keys 1 (absent)");
    EXPECT_EQ(Find(form, "Input2ComboBox")->count(), 2);
    in1->setCurrentIndex(2);
    EXPECT_EQ(rig.s.Ports.RememberedDevices[0], "Keys 1");
    in1->setCurrentIndex(0);
    EXPECT_EQ(rig.s.Ports.RememberedDevices[0], "");
    EXPECT_EQ(in1->count(), 2);
    EXPECT_EQ(in1->currentIndex(), 0);
    EXPECT_TRUE(rig.dialogs.boxes.empty());
}

TEST_F(SetupDialog, BytesBeyondTheListsSelectNothingAndBreakNothing) {
    rig.s.Options.NoteOffDelay = 60;
    rig.s.Options.MonitorSource = 12;
    rig.s.Options.UserCC2 = 200;
    rig.s.Options.MasterVolumePort = 3;
    rig.s.Options.MasterVolumeCC = 200;
    WriteU32(rig.s.Options.ProgramDisplayMode, 7);
    TSetupForm form(rig.s, nullptr);
    EXPECT_EQ(Find(form, "NoteOffDelayComboBox")->currentIndex(), -1);
    EXPECT_EQ(Find(form, "MonitorComboBox")->currentIndex(), -1);
    EXPECT_EQ(Find(form, "UK2ComboBox")->currentIndex(), -1);
    EXPECT_EQ(Find(form, "MasterVolumeCcComboBox")->currentIndex(), -1);
    EXPECT_EQ(Find(form, "PGLabelComboBox")->currentIndex(), -1);
    EXPECT_EQ(rig.s.Options.NoteOffDelay, 60);
}

TEST_F(SetupDialog, DisablingTheTerciPortEndsARunningScanSoNoteOffsPassAgain) {
    rig.s.Options.TerciPort = 1;
    rig.s.Bank.WorkingMix.Channels[0].In1Channel = 17;
    test::CountingKeyWindow window;
    KeyDown(rig.s, window, vk::OemBackslash);  // the scan starts
    rig.Play(1, PackShortMessage(0x90, 0, 60, 100));  // taken by the scan
    {
        TSetupForm form(rig.s, nullptr);
        Find(form, "TerciPortComboBox")->setCurrentIndex(0);  // "Disabled"
    }
    EXPECT_EQ(rig.display.tercas.back().colour, kSilver);
    rig.ClearSent();
    rig.Play(1, PackShortMessage(0x90, 0, 64, 100));
    rig.Play(1, PackShortMessage(0x80, 0, 64, 0));
    EXPECT_EQ(rig.Synth(), (std::vector<ShortMessage>{PackShortMessage(0x90, 0, 64, 100), PackShortMessage(0x80, 0, 64, 0)}));
}

}  // namespace
}  // namespace cadenzo
