// Building blocks of the setup dialog: labelled lists, check boxes and
// spin boxes bound to one option byte each. Main thread only.
#pragma once

#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QSpinBox;
class QWidget;

namespace cadenzo {

QStringList Items(const std::vector<std::string>& items);
template <class Array>
QStringList Items(const Array& items) {
    QStringList list;
    for (const char* item : items) list << QString::fromUtf8(item);
    return list;
}

// A group box with a grid of rows.
QGroupBox* MakeGroup(QWidget* parent, const char* caption, QGridLayout*& grid);

// A drop-down list that cannot be typed into, with a label before it in
// row `row` of the grid.
QComboBox* AddList(QGridLayout* grid, int row, const char* label, const char* name, const QStringList& items);

// A device list shows its names in full where the box is too narrow: its
// drop-down list as wide as its longest name, its tool tip the name chosen.
// Call whenever its items or its choice change.
void ShowChoiceInFull(QComboBox* list);

// Shows the option's item and writes the item index back on every change,
// then runs `after`.
void BindList(QComboBox* list, uint8_t& field, std::function<void()> after = {});

// A check box showing option != 0 that writes 1 or 0.
QCheckBox* AddCheck(QGridLayout* grid, int row, int column, const char* name, const char* text, uint8_t& field);

// A 0..127 spin box moved with its arrows only.
QSpinBox* AddSpin(QGridLayout* grid, int row, int column, const char* label, const char* name, uint8_t& field);

}  // namespace cadenzo
