// The zone map window: the layers of the mix drawn over an 88-key keyboard
// (ui/zone_map.h says what it shows). F11 opens and closes it; it never
// takes the keyboard focus, so every key still reaches the main window.
// Main thread only.
#pragma once

#include <QWidget>

#include "ui/zone_map.h"

namespace cadenzo {

class ZoneMapWindow final : public QWidget {
    Q_OBJECT
public:
    explicit ZoneMapWindow(QWidget* owner);

    // Shows the rows, repainting only when they changed.
    void Show(const ZoneMap& rows);

    const ZoneMap& Rows() const { return rows_; }
    // Where part `part` of row c's zone is drawn, in the window.
    QRect BarRect(int c, int part) const;
    // Where key `note` (21..108) is drawn on the keyboard.
    QRect KeyRect(int note) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintKeyboard(QPainter& painter) const;
    void PaintRow(QPainter& painter, int c) const;

    ZoneMap rows_;
};

}  // namespace cadenzo
