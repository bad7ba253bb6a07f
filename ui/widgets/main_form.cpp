#include "ui/widgets/main_form.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QSocketNotifier>
#include <QTimer>

#include "bank/window_title.h"
#include "engine/device_follow.h"
#include "engine/glide.h"
#include "engine/gm_drum_paths.h"
#include "engine/terca.h"
#include "engine/transmission.h"
#include "services/redraw_mask.h"
#include "ui/gig.h"
#include "ui/grid_keys.h"
#include "ui/grid_selection.h"
#include "ui/grid_text.h"
#include "ui/grid_tips.h"
#include "ui/main_form_texts.h"
#include "ui/modifier_indicators.h"
#include "ui/monitor.h"
#include "ui/play_to_set.h"
#include "ui/port_lamps.h"
#include "ui/stored_bank.h"
#include "ui/zone_map.h"
#include "ui/widgets/engine_application.h"
#include "ui/widgets/form_parts.h"
#include "ui/widgets/gig_windows.h"
#include "ui/widgets/parameter_grid.h"
#include "ui/widgets/setup_form.h"
#include "ui/widgets/shape.h"
#include "ui/widgets/virtual_key.h"
#include "ui/widgets/zone_map_window.h"

namespace cadenzo {

namespace {

constexpr int kIndicatorPeriodMs = 300;
constexpr int kDrumOffPeriodMs = 200;  // until the options set the drum note-off delay
// Lamps lit, and display calls made, on other threads reach the screen
// within this time of the window's wake.
constexpr int kScreenTickMs = 20;
// Monitor lines formed anywhere reach the pane within this time.
constexpr int kMonitorPeriodMs = 40;
constexpr std::array<uint32_t, 3> kEqMasks{RedrawEq12, RedrawEq34, RedrawEq56};
// The areas besides the refresh mask that other threads may ask to be shown.
constexpr uint32_t kDeferredVolume = 1;
constexpr uint32_t kDeferredTranspose = 2;
constexpr uint32_t kDeferredTerca = 4;

// A cell waiting for a played note, and the grid's caption meanwhile.
const QColor kArmedCell(255, 210, 0);
constexpr Rgb kArmedCaption{176, 48, 0};
constexpr Rgb kCaptionBackground{0, 0, 0};

void SetText(QLabel* label, const std::string& text) { label->setText(QString::fromStdString(text)); }

void SetHeaderBackground(QLabel* label, Rgb colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(colour.r, colour.g, colour.b));
    label->setPalette(palette);
}

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
    ShowModifierIndicators();  // as after a key release: no modifier held
    SetTitle(kMainTitle);

    grid_->installEventFilter(this);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
        if (row >= 0 && column >= 0) StringGrid1SelectCell(column + 1, row + 1);
    });
    connect(grid_, &ParameterGrid::CellWheeled, this, [this](int row, int column, int notches) {
        grid_->setCurrentCell(row, column);
        TurnGridCell(state_, notches);
        WakeTicks();
    });
    grid_->setFocus();

    // With the window's wake the screen and monitor ticks run once after
    // each wake and the lamp tick until every lamp is dark; without it
    // they run all the time.
    const int wakeFd = state_.WindowWake.Fd();
    indicatorTimer_ = new QTimer(this);
    indicatorTimer_->setObjectName("LampTick");
    indicatorTimer_->setInterval(kIndicatorPeriodMs);
    connect(indicatorTimer_, &QTimer::timeout, this, &TMainForm::IndicatorTimerTimer);
    screenTick_ = new QTimer(this);
    screenTick_->setObjectName("ScreenTick");
    screenTick_->setInterval(kScreenTickMs);
    screenTick_->setSingleShot(wakeFd >= 0);
    connect(screenTick_, &QTimer::timeout, this, &TMainForm::ScreenTick);
    LeaveUnguarded(screenTick_);  // it takes the engine only for what it reads
    drumOffTimer_ = new QTimer(this);
    connect(drumOffTimer_, &QTimer::timeout, this, &TMainForm::DrumOffTimerTimer);
    drumOffTimer_->start(kDrumOffPeriodMs);
    monitorTimer_ = new QTimer(this);
    monitorTimer_->setObjectName("MonitorTick");
    monitorTimer_->setInterval(kMonitorPeriodMs);
    monitorTimer_->setSingleShot(wakeFd >= 0);
    connect(monitorTimer_, &QTimer::timeout, this, &TMainForm::ShowMonitorLines);
    LeaveUnguarded(monitorTimer_);
    if (wakeFd >= 0) {
        wake_ = new QSocketNotifier(wakeFd, QSocketNotifier::Read, this);
        connect(wake_, &QSocketNotifier::activated, this, [this] {
            state_.WindowWake.Acknowledge();  // before the ticks look: what comes meanwhile wakes again
            WakeTicks();
        });
        LeaveUnguarded(wake_);
    }
    WakeTicks();

    glideTimer_.emplace(timer, dialogs, &GlideTick, &state_,
                        TimerRest{&GlideResting, &state_.Performance.TickWanted});
}

TMainForm::~TMainForm() { glideTimer_.reset(); }

void TMainForm::SetTitle(const std::string& title) {
    title_ = title;
    setWindowTitle(QString::fromStdString(TitleWithMixName(title_, state_)));
}

void TMainForm::SetDrumTimerInterval(uint32_t ms) { drumOffTimer_->setInterval(static_cast<int>(ms)); }

uint32_t TMainForm::DrumTimerInterval() const { return static_cast<uint32_t>(drumOffTimer_->interval()); }

void TMainForm::DrumOffTimerTimer() { cadenzo::DrumOffTimerTimer(state_); }

bool TMainForm::OnWindowThread(uint32_t deferredMask, uint32_t deferredArea) {
    if (std::this_thread::get_id() == windowThread_) return true;
    deferredMask_.fetch_or(deferredMask, std::memory_order_relaxed);
    deferredAreas_.fetch_or(deferredArea, std::memory_order_relaxed);
    state_.WindowWake.Signal();
    return false;
}

void TMainForm::WakeTicks() {
    if (!screenTick_->isActive()) screenTick_->start();
    if (!indicatorTimer_->isActive()) indicatorTimer_->start();
    if (memo_->isVisible() && !monitorTimer_->isActive()) monitorTimer_->start();
}

void TMainForm::ScreenTick() {
    {
        const EngineAccess access(state_.Engine);
        if (const uint32_t mask = deferredMask_.exchange(0, std::memory_order_relaxed)) RefreshDisplay(mask);
        const uint32_t areas = deferredAreas_.exchange(0, std::memory_order_relaxed);
        if (areas & kDeferredVolume) SetMasterVolume(state_.Transmission.MasterVolume);
        if (areas & kDeferredTranspose) SetMasterTranspose(state_.Performance.MasterTranspose);
        if (areas & kDeferredTerca) ShowTerca(TercaShownNow(state_));
        ApplyPlayedNote(state_);
        if (zoneMap_ && zoneMap_->isVisible()) {
            zoneMap_->Show(ZoneMapRows(state_));
            zoneMap_->setWindowTitle(QString::fromStdString(ZoneMapTitle(state_)));
        }
        if (setList_ && setList_->isVisible()) setList_->Refresh();
        if (performanceView_ && performanceView_->isVisible()) performanceView_->Refresh();
        ShowArmedCell();
        WriteStoredBank(state_);  // lets the engine go while it writes
    }
    ShowLamps();  // atomics and the window's own device state
}

void TMainForm::ShowArmedCell() {
    const std::optional<GridCell> armed = ArmedGridCell(state_);
    const auto same = [](std::optional<GridCell> a, std::optional<GridCell> b) {
        return a.has_value() == b.has_value() && (!a || (a->column == b->column && a->row == b->row));
    };
    if (same(armed, armedShown_)) return;
    const auto mark = [this](std::optional<GridCell> cell, const QVariant& brush) {
        if (cell) grid_->item(cell->row - 1, cell->column - 1)->setData(Qt::BackgroundRole, brush);
    };
    mark(armedShown_, QVariant());
    mark(armed, QBrush(kArmedCell));
    auto* caption = findChild<QLabel*>("GridCaption");
    caption->setText(QString::fromStdString(armed ? PlayToSetStatus(*armed) : kGridCaption));
    SetHeaderBackground(caption, armed ? kArmedCaption : kCaptionBackground);
    armedShown_ = armed;
}

void TMainForm::RefreshDisplay(uint32_t mask) {
    if (!OnWindowThread(mask, 0)) return;
    const BankState& bank = state_.Bank;
    ShowProgram();
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

// The program label as it always was; with the mix's name below the
// number in smaller type when it has one. The title names it too.
void TMainForm::ShowProgram() {
    const std::string& name = MixName(state_, CurrentSlot(state_));
    const QRect whole = programShape_->rect();
    const int numberHeight = name.empty() ? whole.height() : 26;
    programLabel_->setGeometry(whole.x(), whole.y(), whole.width(), numberHeight);
    QFont font = programLabel_->font();
    font.setPixelSize(name.empty() ? kProgramPixels : kNamedProgramPixels);
    programLabel_->setFont(font);
    SetText(programLabel_, ProgramLabelText(state_.Bank, state_.Options));
    programNameLabel_->setGeometry(whole.x(), numberHeight - 2, whole.width(), whole.height() - numberHeight + 2);
    SetText(programNameLabel_, name);
    programNameLabel_->setVisible(!name.empty());
    setWindowTitle(QString::fromStdString(TitleWithMixName(title_, state_)));
}

void TMainForm::SetMasterVolume(uint8_t volume) {
    if (!OnWindowThread(0, kDeferredVolume)) return;
    SetText(masterVolumeLabel_, MasterVolumeText(volume));
    masterVolBar_->setValue(BarValue(volume));
}

void TMainForm::SetMasterTranspose(int32_t semitones) {
    if (OnWindowThread(0, kDeferredTranspose)) SetText(transposeLabel_, MasterTransposeText(semitones));
}

void TMainForm::ShowTerca(TercaShown terca) {
    if (!OnWindowThread(0, kDeferredTerca)) return;
    SetText(tercaLabel_, TercaText(terca));
    tercaShape_->SetBrush(TercaColour(terca));
}

void TMainForm::RefreshGridRow(int c) {
    grid_->SetRow(c, GridRowTexts(state_.Bank, state_.Options, c), GridRowTips(state_.Bank, state_.Options, c));
}

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
    // A lamp lit from now on wakes the window again.
    if (wake_ && AllLampsDark(state_.Lamps)) indicatorTimer_->stop();
}

void TMainForm::ShowLamps() {
    for (int i = 0; i < kLampCount; ++i) ShowLamp(lamps_[i], LookOfLamp(state_, static_cast<Lamp>(i)));
}

void TMainForm::StringGrid1SelectCell(int column, int row) {
    const EngineAccess access(state_.Engine);
    SelectGridCell(state_, static_cast<uint8_t>(column), static_cast<uint8_t>(row));
}

// The grid's keys come here first. The grid then gets the key itself, and a
// key it does not use stops there instead of rising to the window, which
// would run its command a second time.
bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    if (watched != grid_ || (!press && event->type() != QEvent::KeyRelease))
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (press)
        FormKeyDown(key);
    else
        FormKeyUp(key);
    {
        // Moving the grid's cursor is the grid's own work, which takes the
        // engine only for the cell it selects.
        const EngineReleased released(state_.Engine);
        static_cast<QObject*>(grid_)->event(event);
    }
    event->accept();
    return true;
}

void TMainForm::keyPressEvent(QKeyEvent* event) { FormKeyDown(event); }
void TMainForm::keyReleaseEvent(QKeyEvent* event) { FormKeyUp(event); }

void TMainForm::FormKeyDown(QKeyEvent* event) {
    KeyDown(state_, *this, VirtualKey(event->key(), event->modifiers()));
    WakeTicks();
}

// A held key repeats key-downs only; the releases some platforms put
// between the repeats are not key-ups.
void TMainForm::FormKeyUp(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;
    KeyUp(state_, *this, VirtualKey(event->key(), event->modifiers()));
    WakeTicks();
}

void TMainForm::ShowModifierIndicators() {
    const std::pair shown{state_.ModifierState.load(), state_.Bank.GmMode.load()};
    if (indicatorsShown_ == shown) return;  // a key release that changed neither
    indicatorsShown_ = shown;
    const ModifierIndicators colours = IndicatorsFor(shown.first, shown.second);
    findChild<TShape*>("Shape3")->SetBrush(colours.programCopyBox);
    findChild<TShape*>("Shape4")->SetBrush(colours.channelCopyBox);
    SetHeaderBackground(findChild<QLabel*>("Label18"), colours.copyCaption);
    SetHeaderBackground(findChild<QLabel*>("Label14"), colours.eqCaptions[0]);
    SetHeaderBackground(findChild<QLabel*>("Label15"), colours.eqCaptions[1]);
    SetHeaderBackground(findChild<QLabel*>("Label4"), colours.eqCaptions[2]);
    for (int n = 18; n <= 22; ++n)
        findChild<TShape*>(QString("Shape%1").arg(n))->SetBrush(colours.scaleSharps);
    SetHeaderBackground(findChild<QLabel*>("Label1"), colours.portamentoCaption);
    SetHeaderBackground(findChild<QLabel*>("Label30"), colours.pitchBendCaption);
}

void TMainForm::DevicesChanged() {
    if (setupForm_) setupForm_->ShowDeviceLists();
    WakeTicks();  // a port lamp may show its device absent, or no longer
}

void TMainForm::OpenSetupDialog() {
    FollowDeviceChanges(state_, std::chrono::steady_clock::now());  // the lists as they are now
    TSetupForm dialog(state_, this);
    dialog.move(QGuiApplication::primaryScreen()->availableGeometry().center() - dialog.rect().center());
    setupForm_ = &dialog;
    RunModal(dialog, false);
    setupForm_ = nullptr;
    WakeTicks();
}

void TMainForm::ToggleMonitorPane() {
    memo_->setGeometry(kMonitorPane);
    memo_->clear();
    const bool visible = ToggleMonitor(state_);
    memo_->setVisible(visible);
    memo_->raise();
    if (visible)
        monitorTimer_->start();
    else
        monitorTimer_->stop();
}

void TMainForm::ShowMonitorLines() {
    const bool voiceOnly = state_.Options.MonitorVoiceOnly != 0;
    // Forming the lines and laying them out takes a while and needs nothing
    // more of the engine's.
    const EngineReleased released(state_.Engine);
    for (const std::string& line : TakeMonitorLines(state_, voiceOnly))
        memo_->appendPlainText(QString::fromStdString(line));
    memo_->verticalScrollBar()->setValue(memo_->verticalScrollBar()->maximum());
}

void TMainForm::CloseMainWindow() { close(); }

void TMainForm::ToggleZoneMap() {
    if (!zoneMap_) {
        zoneMap_ = new ZoneMapWindow(this);
        zoneMap_->move(frameGeometry().bottomLeft());
    }
    zoneMap_->Show(ZoneMapRows(state_));
    zoneMap_->setVisible(!zoneMap_->isVisible());
}

void TMainForm::OpenNameEditor() {
    const uint32_t slot = CurrentSlot(state_);
    if (auto text = EditText(this, NameEditorCaption(state_, slot), MixName(state_, slot), kNameCharacters))
        RenameMix(state_, slot, *text);
}

void TMainForm::ToggleSetList() {
    if (!setList_) {
        setList_ = new SetListWindow(state_, this);
        setList_->move(frameGeometry().topRight());
    }
    setList_->Refresh();
    setList_->setVisible(!setList_->isVisible());
    if (setList_->isVisible()) setList_->activateWindow();
}

void TMainForm::TogglePerformanceView() {
    if (!performanceView_) performanceView_ = new PerformanceView(state_, *this, this);
    performanceView_->Refresh();
    performanceView_->setVisible(!performanceView_->isVisible());
    if (performanceView_->isVisible()) performanceView_->activateWindow();
}

void TMainForm::PanicButtonClick() {
    ResetAllChannels(state_);
    TransmitMix(state_);
}

}  // namespace cadenzo
