// StringGrid1: one row per channel, one column per parameter, the row and
// column labels as fixed headers. It shows texts and reports the selection;
// it never edits, and typed letters are the main window's commands, not a
// search. Main thread only.
#pragma once

#include <QTableWidget>

#include <array>
#include <string>

#include "ui/grid_text.h"

namespace cadenzo {

class ParameterGrid final : public QTableWidget {
    Q_OBJECT
public:
    explicit ParameterGrid(QWidget* parent);

    // Rewrites the value cells of row c + 1 and their tool tips.
    void SetRow(int c, const std::array<std::string, kGridColumns>& texts,
                const std::array<std::string, kGridColumns>& tips);

    void keyboardSearch(const QString&) override {}

    static constexpr int kRowHeight = 19;

signals:
    // The wheel turned over a cell (0-based row and column) by whole
    // notches, positive away from the player.
    void CellWheeled(int row, int column, int notches);

protected:
    // Keys the grid does not use go no further: the window has seen them first.
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int wheelEighths_ = 0;  // the part of a notch turned so far, in eighths of a degree
};

}  // namespace cadenzo
