// The setup dialog's three pages, filled from the options as they are built.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "bank/options_file.h"
#include "engine/terca.h"
#include "engine/transmission.h"
#include "services/display.h"
#include "ui/setup_texts.h"
#include "ui/widgets/setup_form.h"
#include "ui/widgets/setup_form_parts.h"

namespace cadenzo {

namespace {

constexpr int kMixTickInterval = 4;
// What a device box shows of its name without opening (a short name in
// full, and enough of a long one to know it).
constexpr int kDeviceNameChars = 20;

}  // namespace

QWidget* TSetupForm::BuildMainPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(BuildPortGroups(page), 0, 0);
    grid->addWidget(BuildDrumGroup(page), 1, 0, 3, 1);
    grid->addWidget(BuildGmGroup(page), 0, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);

    QGridLayout* rows = nullptr;
    QGroupBox* timer = MakeGroup(page, "Audo Drum Note Off Timer Setup", rows);
    QComboBox* delay = AddList(rows, 0, "Note Off Timer Interval", "NoteOffDelayComboBox", Items(NoteOffDelayItems()));
    BindList(delay, state_.Options.NoteOffDelay, [this] {
        state_.Io.display->SetDrumTimerInterval(DrumOffIntervalMs(state_.Options.NoteOffDelay));
    });
    grid->addWidget(timer, 1, 1);

    QGroupBox* users = MakeGroup(page, "User Controllers Setup", rows);
    const QStringList userItems = Items(UserControllerItems());
    const std::array<const char*, 4> names{"UK1ComboBox", "UK2ComboBox", "UK3ComboBox", "UK4ComboBox"};
    const std::array<const char*, 4> labels{"u1", "u2", "u3", "u4"};
    const std::array<uint8_t*, 4> fields{&state_.Options.UserCC1, &state_.Options.UserCC2, &state_.Options.UserCC3,
                                         &state_.Options.UserCC4};
    for (int i = 0; i < 4; ++i) BindList(AddList(rows, i, labels[i], names[i], userItems), *fields[i]);
    grid->addWidget(users, 2, 1);

    QGroupBox* filter = MakeGroup(page, "MIDI Control Change Filter Setup", rows);
    ccFilter_ = new QListWidget(filter);
    ccFilter_->setObjectName("CheckListBoxCCFilter");
    rows->addWidget(ccFilter_, 0, 0);
    BuildFilterList();
    grid->addWidget(filter, 0, 2, 2, 1);

    QGroupBox* options = MakeGroup(page, " Options ", rows);
    AddCheck(rows, 0, 0, "PGBankCheckBox", "Change Blends With Banks", state_.Options.ChangeBlendsWithBanks);
    grid->addWidget(options, 3, 1, 1, 2);
    return page;
}

QGroupBox* TSetupForm::BuildPortGroups(QWidget* page) {
    QGridLayout* rows = nullptr;
    QGroupBox* group = MakeGroup(page, "Main MIDI In / Out Devices ", rows);
    portLists_[0] = AddList(rows, 0, "Input - Port 1", "Input1ComboBox", {});
    portLists_[1] = AddList(rows, 1, "Input - Port 2", "Input2ComboBox", {});
    portLists_[3] = AddList(rows, 2, "Output - kX Driver Synth 1 Port", "Synth1OutComboBox", {});
    portLists_[5] = AddList(rows, 3, "Output - kX Driver Control Port", "ControlOutComboBox", {});

    QGridLayout* thruRows = nullptr;
    QGroupBox* thru = MakeGroup(page, "Direct THRU MIDI In / Out Devices", thruRows);
    portLists_[2] = AddList(thruRows, 0, "Input Port", "Input3ComboBox", {});
    portLists_[4] = AddList(thruRows, 1, "Output Port", "Synth2OutComboBox", {});
    static_cast<QGridLayout*>(page->layout())->addWidget(thru, 2, 2);

    using Handler = void (TSetupForm::*)();
    constexpr std::array<Handler, 6> kHandlers{
        &TSetupForm::Input1ComboBoxChange,    &TSetupForm::Input2ComboBoxChange,
        &TSetupForm::Input3ComboBoxChange,    &TSetupForm::Synth1OutComboBoxChange,
        &TSetupForm::Synth2OutComboBoxChange, &TSetupForm::ControlOutComboBoxChange,
    };
    FillPortLists();
    for (size_t i = 0; i < portLists_.size(); ++i) {
        portLists_[i]->setMinimumContentsLength(kDeviceNameChars);
        connect(portLists_[i], &QComboBox::currentIndexChanged, this, kHandlers[i]);
        connect(portLists_[i], &QComboBox::currentIndexChanged, portLists_[i],
                [list = portLists_[i]] { ShowChoiceInFull(list); });
    }
    return group;
}

QGroupBox* TSetupForm::BuildDrumGroup(QWidget* page) {
    OptionsRecord& o = state_.Options;
    QGridLayout* rows = nullptr;
    QGroupBox* group = MakeGroup(page, "External Drum Mode Setup", rows);
    BindList(AddList(rows, 0, "External Drums Input Port", "ExDInPortComboBox", Items(kInPortItems)), o.DrumInPort);
    BindList(AddList(rows, 1, "Ext. Dr. In MIDI Channel", "ExDInChComboBox", Items(ChannelItems(false))),
             o.DrumInChannel);
    BindList(AddList(rows, 2, "Ext Dr. Out MIDI Channel", "ExDOutChComboBox", Items(ChannelItems(false))),
             o.DrumOutChannel);
    auto* sends = new QWidget(group);
    auto* spins = new QGridLayout(sends);
    spins->setContentsMargins(0, 0, 0, 0);
    const std::array<const char*, 6> labels{"Reverb", "Chorus", "Delay", "Out1:2", "Out3:4", "Out5:6"};
    const std::array<const char*, 6> names{"ExDCSpinEdit1", "ExDCSpinEdit2", "ExDCSpinEdit3",
                                           "ExDCSpinEdit4", "ExDCSpinEdit5", "ExDCSpinEdit6"};
    const std::array<uint8_t*, 6> fields{&o.DrumReverb, &o.DrumChorus, &o.DrumDelay,
                                         &o.DrumOut12,  &o.DrumOut34,  &o.DrumOut56};
    for (int i = 0; i < 6; ++i) AddSpin(spins, i % 3, 2 * (i / 3), labels[i], names[i], *fields[i]);
    rows->addWidget(sends, 3, 0, 1, 2);
    AddCheck(rows, 4, 0, "UseDrumModeCheckBox", "Use External Drum", o.UseDrumMode);
    AddCheck(rows, 5, 0, "EDAutoNoteOffCheckBox", "Auto Drum Note OFF", o.DrumAutoNoteOff);
    return group;
}

QGroupBox* TSetupForm::BuildGmGroup(QWidget* page) {
    OptionsRecord& o = state_.Options;
    QGridLayout* rows = nullptr;
    QGroupBox* group = MakeGroup(page, "General MIDI Mode Setup", rows);
    AddCheck(rows, 0, 0, "GMStartModeCheckBox", "Program Start Direct in General MIDI Mode", o.GmStartMode);
    BindList(AddList(rows, 1, "Main General MIDI Input Port", "GMPortComboBox", Items(kInPortItems)), o.GmPort);
    BindList(AddList(rows, 2, "Other Input port to GM THRU", "GMThruModeComboBox", Items(kGmThruItems)),
             o.GmThruMode);
    gmMidiThru_ = AddCheck(rows, 3, 0, "GMMidiThruCheckBox", "In 1 to THRU Out", o.GmMidiThru);
    connect(gmMidiThru_, &QCheckBox::toggled, this, &TSetupForm::ApplyThruInterlock);
    AddCheck(rows, 4, 0, "GMAutoNoteOffCheckBox", "Ch10 Auto Drum OFF", o.GmAutoNoteOff);
    ApplyThruInterlock();
    return group;
}

void TSetupForm::BuildFilterList() {
    for (int n = 0; n < 128; ++n) {
        auto* item = new QListWidgetItem(QString::fromStdString(ControllerItem(n)), ccFilter_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(state_.Options.CCBlocked[static_cast<size_t>(n)] != 0 ? Qt::Checked : Qt::Unchecked);
    }
    connect(ccFilter_, &QListWidget::itemChanged, this, &TSetupForm::CCFilterChanged);
}

QWidget* TSetupForm::BuildRemotePage() {
    OptionsRecord& o = state_.Options;
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    const QStringList ports = Items(kPortFilterItems);
    const QStringList channels = Items(ChannelItems(true));

    QGridLayout* rows = nullptr;
    QGroupBox* program = MakeGroup(page, "Program (MIX) Select Options", rows);
    BindList(AddList(rows, 0, "Program Select MIDI Port", "MixChangeComboBox", ports), o.ProgramSelectPort);
    BindList(AddList(rows, 1, "Program Select MIDI Chnnel", "MixChangeChannelComboBox", channels),
             o.ProgramSelectChannel);
    grid->addWidget(program, 0, 0);

    QGroupBox* volume = MakeGroup(page, "Master Volume Control Options", rows);
    QStringList controllers;
    for (int n = 0; n < 128; ++n) controllers << QString::fromStdString(ControllerItem(n));
    const auto rule = [this] { ApplyMasterVolumeRule(); };
    BindList(AddList(rows, 0, "Master Volume MIDI Port", "MasterVolumePortComboBox", ports), o.MasterVolumePort, rule);
    BindList(AddList(rows, 1, "Master Volume MIDI Channel", "MasterVolumeChComboBox", channels),
             o.MasterVolumeChannel);
    BindList(AddList(rows, 2, "Master Volume Ctrl Change", "MasterVolumeCcComboBox", controllers), o.MasterVolumeCC,
             rule);
    ApplyMasterVolumeRule();
    grid->addWidget(volume, 0, 1);

    QGroupBox* terci = MakeGroup(page, "Terci Select Options", rows);
    BindList(AddList(rows, 0, "Terci Select MIDI Port", "TerciPortComboBox", ports), o.TerciPort,
             [this] { TerciPortChanged(state_); });
    BindList(AddList(rows, 1, "Terci Select MIDI Chnnel", "TerciChannelComboBox", channels), o.TerciChannel);
    grid->addWidget(terci, 1, 0);
    grid->addWidget(BuildFootswitchGroup(page), 1, 1);
    grid->setRowStretch(2, 1);
    return page;
}

QGroupBox* TSetupForm::BuildFootswitchGroup(QWidget* page) {
    QGridLayout* rows = nullptr;
    QGroupBox* group = MakeGroup(page, "Footswitch: Next / Previous Mix", rows);
    const QStringList items = Items(FootswitchItems());
    const std::array<const char*, 2> names{"NextMixComboBox", "PreviousMixComboBox"};
    const std::array<const char*, 2> buttons{"NextMixLearnButton", "PreviousMixLearnButton"};
    const std::array<uint8_t*, 2> fields{&state_.Footswitch.NextController, &state_.Footswitch.PreviousController};
    for (size_t i = 0; i < fields.size(); ++i) {
        const int row = static_cast<int>(i);
        footswitchLists_[i] = AddList(rows, row, kFootswitchLabels[i], names[i], items);
        BindList(footswitchLists_[i], *fields[i]);
        learnButtons_[i] = new QPushButton(kLearnCaption, group);
        learnButtons_[i]->setObjectName(buttons[i]);
        rows->addWidget(learnButtons_[i], row, 2);
        connect(learnButtons_[i], &QPushButton::clicked, this, [this, i] { LearnClicked(i); });
    }
    learnTimer_ = new QTimer(this);
    connect(learnTimer_, &QTimer::timeout, this, &TSetupForm::LearnTick);
    return group;
}

QSlider* TSetupForm::BuildMixSlider(QWidget* parent, const char* name, uint8_t& field) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setRange(0, 127);
    slider->setSingleStep(1);
    slider->setTickInterval(kMixTickInterval);
    slider->setTickPosition(QSlider::TicksBelow);
    connect(slider, &QSlider::valueChanged, this, [this, &field](int position) {
        field = static_cast<uint8_t>(position);
        SendOutputMix(state_);
    });
    // Like the list boxes' first selection, a non-zero level reports a change
    // while it is set, so opening the dialog sends the output mixing once.
    slider->setValue(field);
    return slider;
}

QWidget* TSetupForm::BuildOtherPage() {
    OptionsRecord& o = state_.Options;
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);

    QGridLayout* rows = nullptr;
    QGroupBox* monitor = MakeGroup(page, "Monitor Display - Conections", rows);
    BindList(AddList(rows, 0, nullptr, "MonitorComboBox", Items(kMonitorSourceItems)), o.MonitorSource);
    AddCheck(rows, 1, 0, "MonitorChOnlyCheckBox", "View Channel Voice Message Only", o.MonitorVoiceOnly);
    grid->addWidget(monitor, 0, 0);

    QGroupBox* display = MakeGroup(page, "Program Number Display Mode", rows);
    QComboBox* mode = AddList(rows, 0, nullptr, "PGLabelComboBox", Items(kDisplayModeItems));
    mode->setCurrentIndex(ItemIndex(ReadU32(o.ProgramDisplayMode), kDisplayModeItems.size()));
    connect(mode, &QComboBox::currentIndexChanged, this, [&o](int index) {
        if (index >= 0) WriteU32(o.ProgramDisplayMode, static_cast<uint32_t>(index));
    });
    grid->addWidget(display, 0, 1);

    QGroupBox* mixing = MakeGroup(page, "Audio Outputs Mixing Setup", rows);
    rows->addWidget(new QLabel("Mix Output 3:4 to Output 1:2", mixing), 0, 0);
    rows->addWidget(BuildMixSlider(mixing, "Mix34TrackBar", o.Mix34Level), 1, 0);
    rows->addWidget(new QLabel("Mix Output 5:6 to Output 1:2", mixing), 2, 0);
    rows->addWidget(BuildMixSlider(mixing, "Mix56TrackBar", o.Mix56Level), 3, 0);
    grid->addWidget(mixing, 1, 0, 1, 2);

    QGroupBox* playing = MakeGroup(page, "Performance", rows);
    AddCheck(rows, 0, 0, "RingAcrossCheckBox", "Held and Sustained Notes Ring Across a Mix Change",
             state_.RingAcross.Enabled);
    AddCheck(rows, 1, 0, "EscapeAsksCheckBox", "Escape asks before quitting", state_.EscapeAsksBeforeQuitting);
    grid->addWidget(playing, 2, 0, 1, 2);

    QGroupBox* synth = MakeGroup(page, "General MIDI Synthesiser", rows);
    AddCheck(rows, 0, 0, "EffectSendsToSynthCheckBox", "Effect sends and master volume also to Synth Out",
             state_.Transmission.EffectSendsToSynth);
    grid->addWidget(synth, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    return page;
}

}  // namespace cadenzo
