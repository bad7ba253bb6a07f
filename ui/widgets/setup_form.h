// The setup dialog: ports, drum and GM set-ups, user controllers, the
// controller filter, MIDI remote control, the monitor, the program display
// and the output mixing. Every control writes its option the moment it
// changes; nothing is kept in the dialog. Modal, on top, and closed only by
// Esc or F2. Main thread only.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

#include "engine/system_state.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QListWidget;
class QPushButton;
class QTimer;
class QSlider;
class QString;

namespace cadenzo {

class TSetupForm final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 753;
    static constexpr int kClientHeight = 481;

    TSetupForm(SystemState& state, QWidget* owner);
    // A learn button still waiting gives up.
    ~TSetupForm() override;

    // Esc or F2 closes the dialog; every other key is left to the focused control.
    void FormKeyDown(uint16_t key);
    // The save button: the options file with the ports actually open.
    void Button1Click();

    // Fills the six port lists from the device lists as they are now: on
    // each the device open on the port, or the one it waits for, shown absent.
    void ShowDeviceLists();

    void Input1ComboBoxChange();
    void Input2ComboBoxChange();
    void Input3ComboBoxChange();
    void Synth1OutComboBoxChange();
    void Synth2OutComboBoxChange();
    void ControlOutComboBoxChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override {}  // only FormKeyDown closes the dialog

private:
    QWidget* BuildMainPage();
    QWidget* BuildRemotePage();
    QWidget* BuildOtherPage();
    QGroupBox* BuildPortGroups(QWidget* page);
    QGroupBox* BuildDrumGroup(QWidget* page);
    QGroupBox* BuildGmGroup(QWidget* page);
    QGroupBox* BuildFootswitchGroup(QWidget* page);
    // A learn button: the next controller moved becomes footswitch i's (0
    // next, 1 previous); the list shows it once it has come.
    void LearnClicked(size_t i);
    void LearnTick();
    void BuildFilterList();
    QSlider* BuildMixSlider(QWidget* parent, const char* name, uint8_t& field);

    void FillPortLists();
    // Selects on the list the device really open on its port, or the absent
    // device the port waits for, as an extra item after the devices.
    void ShowOpenPort(QComboBox* list, PortId port);
    // How many items of a port list are devices (item 0 "no device" included).
    int DeviceItemCount(PortId port) const;
    void PortChanged(QComboBox* list, PortId port, void (*select)(SystemState&, uint32_t));
    void ApplyThruInterlock();
    void ApplyMasterVolumeRule();
    void CCFilterChanged();

    SystemState& state_;
    PerPort<QComboBox*> portLists_{};  // In1, In2, In3, SynthOut, ThruOut, ControlOut
    QCheckBox* gmMidiThru_ = nullptr;
    QListWidget* ccFilter_ = nullptr;
    std::array<QComboBox*, 2> footswitchLists_{};
    std::array<QPushButton*, 2> learnButtons_{};
    QTimer* learnTimer_ = nullptr;
};

}  // namespace cadenzo
