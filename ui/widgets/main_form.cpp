#include "ui/widgets/main_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "engine/glide.h"
#include "engine/gm_drum_paths.h"
#include "ui/grid_selection.h"
#include "ui/grid_text.h"
#include "ui/redraw_mask.h"
#include "ui/widgets/form_parts.h"
#include "ui/widgets/parameter_grid.h"
#include "ui/widgets/shape.h"
#include "ui/window_title.h"

namespace cadenzo {

namespace {

constexpr int kIndicatorPeriodMs = 300;
constexpr int kDrumOffPeriodMs = 200;  // until the options set the drum note-off delay
// Lamps lit on the MIDI and glide threads reach the screen within this time.
constexpr int kLampPaintPeriodMs = 20;
constexpr std::array<uint32_t, 3> kEqMasks{RedrawEq12, RedrawEq34, RedrawEq56};

void SetText(QLabel* label, const std::string& text) { label->setText(QString::fromStdString(text)); }

}  // namespace

TMainForm::TMainForm(SystemState& state, MultimediaTimer& timer, Dialogs& dialogs)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint),
      state_(state) {
    setObjectName("MainForm");
    setFixedSize(kClientWidth, kClientHeight);
    QFont narrow = font();
    narrow.setFamilies({"DejaVu Sans Condensed", "Liberation Sans Narrow", "Arial Narrow"});
    setFont(narrow);
    BuildGridArea();
    BuildProgramArea();
    BuildEffectsArea();
    BuildTransposeAndTercaAreas();
    BuildCopyArea();
    BuildScaleArea();
    BuildPortamentoAndPitchBendAreas();
    BuildEqAreas();
    BuildPortLamps();
    BuildMasterVolumeBar();
    ResetEqBars();
    setWindowTitle(QString::fromUtf8(kMainTitle));

    grid_->installEventFilter(this);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
        if (row >= 0 && column >= 0) StringGrid1SelectCell(column + 1, row + 1);
    });
    grid_->setFocus();

    auto* indicatorTimer = new QTimer(this);
    connect(indicatorTimer, &QTimer::timeout, this, &TMainForm::IndicatorTimerTimer);
    indicatorTimer->start(kIndicatorPeriodMs);
    auto* lampPaintTimer = new QTimer(this);
    connect(lampPaintTimer, &QTimer::timeout, this, &TMainForm::ShowLamps);
    lampPaintTimer->start(kLampPaintPeriodMs);
    drumOffTimer_ = new QTimer(this);
    connect(drumOffTimer_, &QTimer::timeout, this, &TMainForm::DrumOffTimerTimer);
    drumOffTimer_->start(kDrumOffPeriodMs);

    glideTimer_.emplace(timer, dialogs, &GlideTick, &state_);
}

TMainForm::~TMainForm() { glideTimer_.reset(); }

void TMainForm::SetTitle(const std::string& title) { setWindowTitle(QString::fromStdString(title)); }

void TMainForm::SetDrumTimerInterval(uint32_t ms) { drumOffTimer_->setInterval(static_cast<int>(ms)); }

uint32_t TMainForm::DrumTimerInterval() const { return static_cast<uint32_t>(drumOffTimer_->interval()); }

void TMainForm::DrumOffTimerTimer() { cadenzo::DrumOffTimerTimer(state_); }

void TMainForm::RefreshDisplay(uint32_t mask) {
    const BankState& bank = state_.Bank;
    SetText(programLabel_, ProgramLabelText(bank, state_.Options));
    SetText(copyProgramLabel_, CopyProgramText(bank, state_.Options));
    SetText(copyChannelLabel_, CopyChannelText(bank.ChannelCopyTarget));
    programShape_->SetBrush(ProgramShapeColour(bank));
    for (int c = 0; c < kChannels; ++c)
        if (mask & (1u << c)) RefreshGridRow(c);

    const Mix& mix = DisplayedMix(bank);
    const std::array<const std::array<uint8_t, kEqBands>*, 3> eqs{&mix.EQ12, &mix.EQ34, &mix.EQ56};
    for (size_t p = 0; p < eqs.size(); ++p) {
        if (!(mask & kEqMasks[p])) continue;
        for (int k = 0; k < kEqBands; ++k) DrawEqBar(eqBars_[p][k], (*eqs[p])[k]);
    }
    if (mask & RedrawEffects) {
        const auto& levels = DisplayedEffectLevels(bank, state_.Options);
        for (int i = 0; i < kEffectLevels; ++i) ShowGaugeLevel(effectGauges_[i], levels[i]);
    }
    if (mask & RedrawScale)
        for (int n = 0; n < kScaleNotes; ++n) SetText(scaleLabels_[n], DetuneText(mix.KeyboardScale[n]));
    if (mask & RedrawPortamento) SetText(portamentoLabel_, PortamentoText(mix.PortaSpeed));
    if (mask & RedrawPitchBend) SetText(pitchBendLabel_, PitchBendText(mix.BendRange));
}

void TMainForm::SetMasterVolume(uint8_t volume) {
    SetText(masterVolumeLabel_, MasterVolumeText(volume));
    masterVolBar_->setValue(BarValue(volume));
}

void TMainForm::SetMasterTranspose(int32_t semitones) { SetText(transposeLabel_, MasterTransposeText(semitones)); }

void TMainForm::ShowTerca(std::string_view text, Rgb colour) {
    tercaLabel_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    tercaShape_->SetBrush(colour);
}

void TMainForm::RefreshGridRow(int c) { grid_->SetRow(c, GridRowTexts(state_.Bank, state_.Options, c)); }

void TMainForm::ResetEqBars() {
    for (const auto& panel : eqBars_)
        for (TShape* bar : panel) DrawEqBar(bar, 64);
}

void TMainForm::DrawEqBar(TShape* bar, uint8_t value) {
    const BarGeometry geometry = EqBarGeometry(value);
    const int panelTop = bar->parentWidget()->mapTo(this, QPoint()).y();
    bar->setGeometry(bar->x(), geometry.top - panelTop, bar->width(), geometry.height);
}

void TMainForm::IndicatorTimerTimer() {
    IndicatorTick(state_.Lamps);
    ShowLamps();
}

void TMainForm::ShowLamps() {
    for (int i = 0; i < kLampCount; ++i)
        lamps_[i]->SetBrush(state_.Lamps.Lit[i].load(std::memory_order_relaxed) ? kYellow : kSilver);
}

void TMainForm::StringGrid1SelectCell(int column, int row) {
    SelectGridCell(state_, static_cast<uint8_t>(column), static_cast<uint8_t>(row));
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) FormKeyDown(static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

void TMainForm::keyPressEvent(QKeyEvent* event) { FormKeyDown(event); }

void TMainForm::FormKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) close();
}

}  // namespace cadenzo
