#include "ui/widgets/setup_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "bank/file_io.h"
#include "bank/options_file.h"
#include "midi/port_manager.h"
#include "services/dialogs.h"
#include "ui/setup_texts.h"
#include "ui/virtual_keys.h"
#include "ui/widgets/setup_form_parts.h"
#include "ui/widgets/virtual_key.h"

namespace cadenzo {

namespace {

constexpr const char* kCaption = "Program Setup Dialog";
constexpr const char* kSaveCaption =
    "Save settings as \"Deffault settings\" and AUTO LOAD this settings on program startup";

size_t PortIndex(PortId port) { return static_cast<size_t>(port); }

}  // namespace

TSetupForm::TSetupForm(SystemState& state, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      state_(state) {
    setObjectName("SetupForm");
    setWindowTitle(kCaption);
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);
    // A narrow face, so that the long captions fit the fixed dialog.
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
    layout->addWidget(pages, 1);
    layout->addWidget(button);

    // Keyboard preview: Esc and F2 reach the dialog whichever control has the focus.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
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
    try {
        SaveOptions(state_.Options, state_.Ports.OpenPortNumbers(), *state_.Io.dialogs);
    } catch (const FileError& e) {
        ShowException(*state_.Io.dialogs, e.what());
    }
}

void TSetupForm::ShowOpenPort(QComboBox* list, PortId port) {
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(ItemIndex(state_.Ports.OpenPortNumbers()[PortIndex(port)], static_cast<size_t>(list->count())));
}

void TSetupForm::PortChanged(QComboBox* list, PortId port, void (*select)(SystemState&, uint32_t)) {
    if (list->currentIndex() < 0) return;
    select(state_, static_cast<uint32_t>(list->currentIndex()));
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
    const ThruInterlock interlock = ThruInterlockFor(gmMidiThru_->isChecked(), state_.Ports.OpenPortNumbers()[2]);
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
