// The device follow watch in the Qt message loop, offscreen, on virtual devices:
// the ports follow their devices by themselves, never under a message box,
// and an open setup dialog shows the lists as they change.
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/device_follow_watch.h"
#include "support/descriptor_limit.h"
#include "support/engine_rig.h"
#include "support/fake_timer.h"
#include "ui/widgets/main_form.h"
#include "ui/widgets/setup_form.h"

namespace cadenzo {
namespace {

class DeviceWatching : public ::testing::Test {
protected:
    bool In1Open() const { return rig.s.Ports.OpenNumber(PortId::In1) != 0; }

    test::EngineRig rig;
};

TEST_F(DeviceWatching, PortsFollowTheirDevicesFromTheMessageLoop) {
    DeviceFollowWatch watch(rig.s);
    rig.midi.UnplugInput(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !In1Open(); }, 2000));
    rig.midi.PlugInput(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return In1Open(); }, 2000));
    EXPECT_TRUE(rig.dialogs.boxes.empty());
}

TEST_F(DeviceWatching, WithoutAWakeForChangesTheDevicesAreLookedAtOnceASecond) {
    std::unique_ptr<VirtualMidiBackend> starved;
    {
        test::NoNewDescriptors outOfDescriptors;
        starved = std::make_unique<VirtualMidiBackend>(std::vector<std::string>{"Keys"}, std::vector<std::string>{});
    }
    ASSERT_LT(starved->DeviceChanges().Fd(), 0);
    rig.s.Io.midi = starved.get();
    EnumerateMidiDevices(rig.s);
    SelectIn1Port(rig.s, 1);
    {
        DeviceFollowWatch watch(rig.s);
        starved->UnplugInput(0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !In1Open(); }, 2500));
        starved->PlugInput(0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return In1Open(); }, 2500));
    }
    CloseAllPorts(rig.s);
    rig.s.Io.midi = &rig.midi;
}

TEST_F(DeviceWatching, NothingMovesWhileAMessageBoxIsOpen) {
    DeviceFollowWatch watch(rig.s);
    QMessageBox box(QMessageBox::NoIcon, "Errorr...", "waiting", QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    rig.midi.UnplugInput(0);
    QTest::qWait(400);
    EXPECT_TRUE(In1Open());
    box.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !In1Open(); }, 2000));
}

TEST_F(DeviceWatching, TheSetupDialogReadsTheDevicesWhenItOpensAndWhileItIsOpen) {
    test::FakeTimer timer;
    TMainForm form(rig.s, timer, rig.dialogs);
    rig.s.Io.display = &form;
    rig.midi.UnplugInput(0);  // the program has not looked yet
    std::string whenOpened, whenBack;
    int outputsDropped = 0;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(qobject_cast<TSetupForm*>(dialog), nullptr);
        auto* in1 = dialog->findChild<QComboBox*>("Input1ComboBox");
        whenOpened = in1->currentText().toStdString();
        DeviceFollowWatch watch(rig.s);
        rig.midi.PlugInput(0);
        [[maybe_unused]] const bool back = QTest::qWaitFor([&] { return in1->currentText() == "Keys 1"; }, 2000);
        whenBack = in1->currentText().toStdString();
        auto* synthOut = dialog->findChild<QComboBox*>("Synth1OutComboBox");
        const int listed = synthOut->count();
        rig.midi.UnplugOutput(2);  // an output no port follows: only the lists change
        [[maybe_unused]] const bool gone = QTest::qWaitFor([&] { return synthOut->count() < listed; }, 2000);
        outputsDropped = listed - synthOut->count();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    SelectControlOutPort(rig.s, 0);
    form.show();
    QTest::keyClick(&form, Qt::Key_F2);
    EXPECT_EQ(whenOpened, "Keys 1 (absent)");
    EXPECT_EQ(whenBack, "Keys 1");
    EXPECT_EQ(outputsDropped, 1);
    rig.s.Io.display = &rig.display;
}

}  // namespace
}  // namespace cadenzo
