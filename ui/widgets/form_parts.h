// Building blocks of the main window's areas. Main thread only.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QProgressBar>

#include <cstdint>

namespace cadenzo {

inline constexpr int kAreaHeaderHeight = 16;

// A framed area whose caption heads it in bold white text on black; the
// caption label takes headerName when one is given.
QFrame* MakeArea(QWidget* parent, const char* caption, const QRect& geometry, const char* hint = nullptr,
                 const char* headerName = nullptr);

// White text on black, the look of every area caption.
void StyleAsHeader(QLabel* label);

// A label with a pixel-sized font; name may be null.
QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, int pixelSize, bool bold,
                  Qt::Alignment alignment = Qt::AlignCenter);

// An effect gauge at a level 0..127, with its percentage as text.
void ShowGaugeLevel(QProgressBar* gauge, uint8_t level);

}  // namespace cadenzo
