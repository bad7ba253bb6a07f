// The main window. It shows the engine's state and runs the glide timer for
// as long as it exists. Main thread only.
#pragma once

#include <QWidget>

#include <optional>
#include <string_view>

#include "app/glide_timer.h"
#include "engine/system_state.h"
#include "ui/display.h"

class QLabel;

namespace cadenzo {

class TMainForm final : public QWidget, public Display {
    Q_OBJECT
public:
    TMainForm(SystemState& state, MultimediaTimer& timer, Dialogs& dialogs);
    ~TMainForm() override;

    void SetTitle(const std::string& title) override;
    void SetDrumTimerInterval(uint32_t ms) override;
    void RefreshDisplay(uint32_t mask) override;
    void ShowTerca(std::string_view text, uint32_t rgb) override;

    uint32_t DrumTimerInterval() const { return drumTimerInterval_; }
    const GlideTimer& Glide() const { return *glideTimer_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    SystemState& state_;
    uint32_t drumTimerInterval_ = 0;
    QLabel* label29_;  // the terca scale; its background is the shape behind it (Shape23)
    std::optional<GlideTimer> glideTimer_;  // started last at construction, stopped first
};

}  // namespace cadenzo
