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

    // Rewrites the value cells of row c + 1.
    void SetRow(int c, const std::array<std::string, kGridColumns>& texts);

    void keyboardSearch(const QString&) override {}

    static constexpr int kRowHeight = 19;

protected:
    // Keys the grid does not use go no further: the window has seen them first.
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace cadenzo
