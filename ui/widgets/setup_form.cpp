#include "ui/widgets/setup_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "bank/file_io.h"
#include "bank/settings_file.h"
#include "bank/setup_save.h"
#include "engine/port_manager.h"
#include "engine/program_settings.h"
#include "services/dialogs.h"
#include "ui/setup_texts.h"
#include "ui/virtual_keys.h"
#include "ui/widgets/setup_form_parts.h"
#include "ui/widgets/virtual_key.h"

namespace cadenzo {

namespace {

constexpr const char* kCaption = "Program Setup Dialog";
constexpr int kLearnTickMs = 50;
constexpr const char* kSaveCaption =
    "Save settings as \"Deffault settings\" and AUTO LOAD this settings on program startup";

}  // namespace

TSetupForm::TSetupForm(SystemState& state, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      state_(state) {
    setObjectName("SetupForm");
    setWindowTitle(kCaption);
    setModal(true);
    // A narrow face where one is installed, so that the dialog stays compact.
    QFont narrow = font();
    narrow.setFamilies({"DejaVu Sans Condensed", "Liberation Sans Narrow", "Arial Narrow"});
    narrow.setPixelSize(11);
    setFont(narrow);

    auto* pages = new QTabWidget(this);
    pages->setObjectName("PageControl1");
    pages->addTab(BuildMainPage(), "Main MIDI Setup");
    pages->addTab(BuildRemotePage(), "MIDI Remote Control Setup");
    pages->addTab(BuildOtherPage(), "Other Setups");
    pages->setCurrentIndex(0);

    auto* button = new QPushButton(kSaveCaption, this);
    button->setObjectName("Button1");
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    connect(button, &QPushButton::clicked, this, &TSetupForm::Button1Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    // Fixed at the size its controls need, never smaller than it always was:
    // no caption is cut, whatever the font.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    pages->setMinimumSize(kClientWidth - 8, kClientHeight - 8 - button->sizeHint().height() - layout->spacing());
    layout->addWidget(pages, 1);
    layout->addWidget(button);

    // Keyboard preview: Esc and F2 reach the dialog whichever control has the focus.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

TSetupForm::~TSetupForm() { state_.Footswitch.Learning.store(0, std::memory_order_release); }

void TSetupForm::LearnClicked(size_t i) {
    state_.Footswitch.Learning.store(static_cast<uint8_t>(i + 1), std::memory_order_release);
    for (size_t k = 0; k < learnButtons_.size(); ++k) learnButtons_[k]->setText(k == i ? kLearningCaption : kLearnCaption);
    learnTimer_->start(kLearnTickMs);
}

void TSetupForm::LearnTick() {
    if (state_.Footswitch.Learning.load(std::memory_order_acquire) != 0) return;
    learnTimer_->stop();
    const std::array<uint8_t, 2> chosen{ReadShared(state_.Footswitch.NextController),
                                        ReadShared(state_.Footswitch.PreviousController)};
    for (size_t i = 0; i < footswitchLists_.size(); ++i) {
        const QSignalBlocker quiet(footswitchLists_[i]);
        footswitchLists_[i]->setCurrentIndex(chosen[i]);
        learnButtons_[i]->setText(kLearnCaption);
    }
}

void TSetupForm::FormKeyDown(uint16_t key) {
    if (key == vk::Escape || key == vk::F2) done(QDialog::Accepted);
}

bool TSetupForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const uint16_t code = VirtualKey(key->key(), key->modifiers());
        if (code == vk::Escape || code == vk::F2) {
            FormKeyDown(code);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TSetupForm::keyPressEvent(QKeyEvent* event) { FormKeyDown(VirtualKey(event->key(), event->modifiers())); }

void TSetupForm::Button1Click() {
    state_.SettingsUnsaved = !SaveSetup(SetupOf(state_), *state_.Io.dialogs);
}

void TSetupForm::ShowDeviceLists() {
    FillPortLists();
    ApplyThruInterlock();
}

void TSetupForm::FillPortLists() {
    for (PortId port : kAllPorts) {
        QComboBox* list = portLists_[PortIndex(port)];
        const QSignalBlocker quiet(list);
        list->clear();
        const std::vector<std::string>& names = state_.Ports.DeviceNames(port);
        // The lists exist once the devices were enumerated; item 0 is always "no device".
        list->addItems(names.empty() ? QStringList{IsInput(port) ? kNoInputDevice : kNoOutputDevice} : Items(names));
        ShowOpenPort(list, port);
    }
}

int TSetupForm::DeviceItemCount(PortId port) const {
    return std::max(1, static_cast<int>(state_.Ports.DeviceNames(port).size()));
}

void TSetupForm::ShowOpenPort(QComboBox* list, PortId port) {
    const QSignalBlocker quiet(list);
    const int devices = DeviceItemCount(port);
    while (list->count() > devices) list->removeItem(list->count() - 1);
    const uint32_t open = state_.Ports.OpenNumber(port);
    const std::string& followed = state_.Ports.RememberedDevices[PortIndex(port)];
    if (open == 0 && !followed.empty()) {
        list->addItem(QString::fromStdString(AbsentDeviceItem(followed)));
        static_cast<QStandardItemModel*>(list->model())->item(devices)->setEnabled(false);
        list->setCurrentIndex(devices);
        ShowChoiceInFull(list);
        return;
    }
    list->setCurrentIndex(ItemIndex(open, static_cast<size_t>(devices)));
    ShowChoiceInFull(list);
}

void TSetupForm::PortChanged(QComboBox* list, PortId port, void (*select)(SystemState&, uint32_t)) {
    const int index = list->currentIndex();
    if (index < 0) return;
    if (index < DeviceItemCount(port)) select(state_, static_cast<uint32_t>(index));
    ShowOpenPort(list, port);
}

void TSetupForm::Input1ComboBoxChange() { PortChanged(portLists_[0], PortId::In1, &SelectIn1Port); }
void TSetupForm::Input2ComboBoxChange() { PortChanged(portLists_[1], PortId::In2, &SelectIn2Port); }
void TSetupForm::Input3ComboBoxChange() {
    PortChanged(portLists_[2], PortId::In3, &SelectIn3Port);
    ApplyThruInterlock();
}
void TSetupForm::Synth1OutComboBoxChange() { PortChanged(portLists_[3], PortId::SynthOut, &SelectSynthOutPort); }
void TSetupForm::Synth2OutComboBoxChange() { PortChanged(portLists_[4], PortId::ThruOut, &SelectThruOutPort); }
void TSetupForm::ControlOutComboBoxChange() { PortChanged(portLists_[5], PortId::ControlOut, &SelectControlOutPort); }

void TSetupForm::ApplyThruInterlock() {
    // An absent device the thru input waits for counts as chosen.
    const int input3Item = std::max(0, portLists_[PortIndex(PortId::In3)]->currentIndex());
    const ThruInterlock interlock = ThruInterlockFor(gmMidiThru_->isChecked(), static_cast<uint32_t>(input3Item));
    gmMidiThru_->setEnabled(interlock.checkBoxEnabled);
    portLists_[2]->setEnabled(interlock.input3Enabled);
}

void TSetupForm::ApplyMasterVolumeRule() {
    const QSignalBlocker quiet(ccFilter_);
    for (int n = 0; n < ccFilter_->count(); ++n) {
        QListWidgetItem* item = ccFilter_->item(n);
        item->setFlags(item->flags() | Qt::ItemIsEnabled);
    }
    if (const auto blocked = cadenzo::ApplyMasterVolumeRule(state_.Options)) {
        QListWidgetItem* item = ccFilter_->item(*blocked);
        item->setCheckState(Qt::Checked);
        item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
}

void TSetupForm::CCFilterChanged() {
    for (int n = 0; n < ccFilter_->count(); ++n)
        state_.Options.CCBlocked[static_cast<size_t>(n)] = ccFilter_->item(n)->checkState() == Qt::Checked ? 1 : 0;
}

}  // namespace cadenzo
