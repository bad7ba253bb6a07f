// A filled rectangle: lamps, key caps, equaliser bars and the backgrounds
// behind labels. Main thread only.
#pragma once

#include <QWidget>

#include "services/colours.h"
#include "ui/port_lamps.h"

namespace cadenzo {

class TShape final : public QWidget {
    Q_OBJECT
public:
    enum class Outline { Black, None };

    TShape(QWidget* parent, const char* name, const QRect& geometry, Rgb brush, Outline outline = Outline::Black);

    // Repaints only when the colour changes.
    void SetBrush(Rgb brush);
    Rgb Brush() const { return brush_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Rgb brush_;
    Outline outline_;
};

// A lamp in the look it has now, its tool tip naming an absent device.
void ShowLamp(TShape* lamp, const LampLook& look);

}  // namespace cadenzo
