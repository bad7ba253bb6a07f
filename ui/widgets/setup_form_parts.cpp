#include "ui/widgets/setup_form_parts.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>

#include <algorithm>

#include "bank/options_record.h"
#include "ui/setup_texts.h"

namespace cadenzo {

QStringList Items(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items) list << QString::fromStdString(item);
    return list;
}

QGroupBox* MakeGroup(QWidget* parent, const char* caption, QGridLayout*& grid) {
    auto* group = new QGroupBox(caption, parent);
    grid = new QGridLayout(group);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    return group;
}

QComboBox* AddList(QGridLayout* grid, int row, const char* label, const char* name, const QStringList& items) {
    auto* list = new QComboBox(grid->parentWidget());
    list->setObjectName(name);
    list->setEditable(false);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(6);
    list->addItems(items);
    if (label) grid->addWidget(new QLabel(label, grid->parentWidget()), row, 0);
    grid->addWidget(list, row, label ? 1 : 0, 1, label ? 1 : 2);
    return list;
}

void ShowChoiceInFull(QComboBox* list) {
    QAbstractItemView* view = list->view();
    const QFontMetrics metrics(view->font());
    int widest = 0;
    for (int i = 0; i < list->count(); ++i) widest = std::max(widest, metrics.horizontalAdvance(list->itemText(i)));
    // Room for the item's margins, the frame and a scroll bar.
    constexpr int kItemMargins = 16;
    view->setMinimumWidth(widest + kItemMargins + 2 * view->frameWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    list->setToolTip(list->currentText());
}

void BindList(QComboBox* list, uint8_t& field, std::function<void()> after) {
    list->setCurrentIndex(ItemIndex(field, static_cast<size_t>(list->count())));
    QObject::connect(list, &QComboBox::currentIndexChanged, list, [&field, after = std::move(after)](int index) {
        if (index < 0) return;
        WriteShared(field, static_cast<uint8_t>(index));
        if (after) after();
    });
}

QCheckBox* AddCheck(QGridLayout* grid, int row, int column, const char* name, const char* text, uint8_t& field) {
    auto* box = new QCheckBox(text, grid->parentWidget());
    box->setObjectName(name);
    box->setChecked(field != 0);
    QObject::connect(box, &QCheckBox::toggled, box, [&field](bool checked) { WriteShared(field, checked ? 1 : 0); });
    grid->addWidget(box, row, column, 1, 2);
    return box;
}

QSpinBox* AddSpin(QGridLayout* grid, int row, int column, const char* label, const char* name, uint8_t& field) {
    auto* spin = new QSpinBox(grid->parentWidget());
    spin->setObjectName(name);
    spin->setRange(0, 127);
    spin->setValue(field);
    spin->findChild<QLineEdit*>()->setReadOnly(true);
    QObject::connect(spin, &QSpinBox::valueChanged, spin, [&field](int value) { field = static_cast<uint8_t>(value); });
    grid->addWidget(new QLabel(label, grid->parentWidget()), row, column);
    grid->addWidget(spin, row, column + 1);
    return spin;
}

}  // namespace cadenzo
