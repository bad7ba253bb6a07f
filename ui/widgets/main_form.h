// The main window. It shows the engine's state, sees every key before the
// grid, and runs the glide timer for as long as it exists. Main thread only,
// but for the display calls the dispatcher makes on an input callback's
// thread or the MIDI engine thread (RefreshDisplay, SetMasterVolume,
// SetMasterTranspose, ShowTerca): those only mark what to show and ring the
// window's wake, and the window shows it on its next screen tick, from the
// state as it is then. Its screen, lamp and monitor ticks rest while
// nothing new is there to show; the wake, a key or a device change starts
// them again.
#pragma once

#include <QWidget>

#include <array>
#include <atomic>
#include <optional>
#include <thread>
#include <utility>

#include "engine/glide_timer.h"
#include "engine/system_state.h"
#include "services/display.h"
#include "ui/display_text.h"
#include "ui/grid_keys.h"
#include "ui/key_map.h"

class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QSocketNotifier;
class QProgressBar;
class QTimer;

namespace cadenzo {

class ParameterGrid;
class PerformanceView;
class SetListWindow;
class TSetupForm;
class TShape;
class ZoneMapWindow;

class TMainForm final : public QWidget, public Display, private KeyWindow {
    Q_OBJECT
public:
    TMainForm(SystemState& state, MultimediaTimer& timer, Dialogs& dialogs);
    ~TMainForm() override;

    static constexpr int kClientWidth = 808;
    static constexpr int kClientHeight = 499;
    // Where the monitor pane shows, over the copy manager.
    static constexpr QRect kMonitorPane{608, 346, 193, 105};
    static constexpr int kProgramPixels = 32;       // the program label's type
    static constexpr int kNamedProgramPixels = 22;  // ... with a name below it

    void SetTitle(const std::string& title) override;
    void SetDrumTimerInterval(uint32_t ms) override;
    void RefreshDisplay(uint32_t mask) override;
    void SetMasterVolume(uint8_t volume) override;
    void SetMasterTranspose(int32_t semitones) override;
    void ShowTerca(TercaShown terca) override;
    // The setup dialog, while it is open, shows the device lists anew.
    void DevicesChanged() override;

    // Rewrites the value cells of grid row c + 1 (c = 0..15).
    void RefreshGridRow(int c);
    // Draws all 30 equaliser bars at the value 64.
    void ResetEqBars();
    // The 300 ms indicator tick: counts the lamps down and darkens expired ones.
    void IndicatorTimerTimer();
    // The grid's selection handler, with the 1-based column and row.
    void StringGrid1SelectCell(int column, int row);
    // The drum note-off timer's tick.
    void DrumOffTimerTimer();
    // Adds the monitor lines formed since the last call to the pane.
    void ShowMonitorLines();
    // The published panic handler, bound to no control: every channel
    // silenced, then the whole mix sent again, without a refresh.
    void PanicButtonClick();

    uint32_t DrumTimerInterval() const;
    const GlideTimer& Glide() const { return *glideTimer_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void BuildGridArea();
    void BuildProgramArea();
    void BuildEffectsArea();
    void BuildTransposeAndTercaAreas();
    void BuildCopyArea();
    void BuildScaleArea();
    void BuildPortamentoAndPitchBendAreas();
    void BuildEqAreas();
    void BuildPortLamps();
    void BuildMasterVolumeBar();

    // Every key reaches these first, whichever control has the focus; a held
    // key's repeats are new presses.
    void FormKeyDown(QKeyEvent* event);
    void FormKeyUp(QKeyEvent* event);

    // What the key map asks of the window.
    void ShowModifierIndicators() override;
    void OpenSetupDialog() override;
    void ToggleMonitorPane() override;
    void CloseMainWindow() override;
    void ToggleZoneMap() override;
    void OpenNameEditor() override;
    void ToggleSetList() override;
    void TogglePerformanceView() override;
    // The program label and the title, with the current mix's name.
    void ShowProgram();
    // Places an equaliser bar for a band value, in client rows.
    void DrawEqBar(TShape* bar, uint8_t value);
    // Paints every lamp in the colour its Lit flag asks for, and a port lamp
    // whose device is absent in the absent colour, named in its tool tip.
    void ShowLamps();
    // The screen tick: the display calls made on other threads, the note
    // played for an armed grid cell, a store played through MIDI written to
    // the blend file, the lamps, and the zone map while it
    // is open.
    void ScreenTick();
    // The cell waiting for a note marked, and the grid's caption saying so,
    // for as long as it waits.
    void ShowArmedCell();
    // Whether the caller runs on the window's own thread; if not, the mask
    // and area are marked for the next screen tick.
    bool OnWindowThread(uint32_t deferredMask, uint32_t deferredArea);
    // Something may be new to show: the resting ticks start.
    void WakeTicks();

    SystemState& state_;
    QTimer* drumOffTimer_ = nullptr;
    QTimer* indicatorTimer_ = nullptr;
    QTimer* screenTick_ = nullptr;
    QSocketNotifier* wake_ = nullptr;  // the state's window wake; none without its descriptor

    ParameterGrid* grid_ = nullptr;
    TShape* programShape_ = nullptr;
    QLabel* programLabel_ = nullptr;
    QLabel* programNameLabel_ = nullptr;  // below the number while the mix has a name
    std::string title_;                   // the title as SetTitle gave it
    std::array<QProgressBar*, kEffectLevels> effectGauges_{};
    QLabel* transposeLabel_ = nullptr;
    TShape* tercaShape_ = nullptr;
    QLabel* tercaLabel_ = nullptr;
    QLabel* copyProgramLabel_ = nullptr;
    QLabel* copyChannelLabel_ = nullptr;
    std::array<QLabel*, kScaleNotes> scaleLabels_{};  // chromatic order C..H
    QLabel* portamentoLabel_ = nullptr;
    QLabel* pitchBendLabel_ = nullptr;
    std::array<std::array<TShape*, kEqBands>, 3> eqBars_{};  // outputs 1:2, 3:4, 5:6
    std::array<TShape*, kLampCount> lamps_{};
    QProgressBar* masterVolBar_ = nullptr;
    QLabel* masterVolumeLabel_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QTimer* monitorTimer_ = nullptr;
    TSetupForm* setupForm_ = nullptr;  // while the setup dialog is open
    ZoneMapWindow* zoneMap_ = nullptr;  // made at its first opening
    SetListWindow* setList_ = nullptr;   // likewise
    PerformanceView* performanceView_ = nullptr;  // likewise
    std::optional<GridCell> armedShown_;  // the play-to-set cell marked now
    std::optional<std::pair<uint32_t, bool>> indicatorsShown_;  // the modifiers and GM mode they show

    const std::thread::id windowThread_ = std::this_thread::get_id();
    std::atomic<uint32_t> deferredMask_{0};   // redraw masks asked for on other threads
    std::atomic<uint32_t> deferredAreas_{0};  // kDeferred... areas asked for on other threads

    std::optional<GlideTimer> glideTimer_;  // started last at construction, stopped first
};

}  // namespace cadenzo
