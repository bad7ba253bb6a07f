#include "ui/widgets/parameter_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include "ui/grid_tips.h"

namespace cadenzo {

namespace {

constexpr int kRowLabelWidth = 28;
constexpr int kColumnWidth = 20;
constexpr int kTuneColumnWidth = 26;  // "-128"
constexpr int kTuneColumn = 12;
const QColor kPlaceholderText(150, 150, 150);  // "---" and "E/D": nothing to play or edit
constexpr int kEighthsPerNotch = 120;  // a wheel notch is 15 degrees

// The keys that edit the cell under the cursor instead of moving it.
bool EditingKey(int key) {
    return key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End;
}

// Draws a cell's text centred without the style's side margins, so that
// three characters fit the narrow columns.
class TightCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QString text = cell.text;
        cell.text.clear();
        // A cell marked with a background of its own (one waiting for a
        // played note) shows it under the cursor too.
        if (index.data(Qt::BackgroundRole).isValid()) cell.state &= ~QStyle::State_Selected;
        const QWidget* view = cell.widget;
        view->style()->drawControl(QStyle::CE_ItemViewItem, &cell, painter, view);
        const bool selected = cell.state & QStyle::State_Selected;
        painter->setPen(selected ? cell.palette.color(QPalette::HighlightedText)
                                 : cell.palette.color(QPalette::Text));
        const QVariant foreground = index.data(Qt::ForegroundRole);
        if (!selected && foreground.isValid()) painter->setPen(foreground.value<QBrush>().color());
        painter->setFont(cell.font);
        painter->drawText(cell.rect, Qt::AlignCenter, text);
    }
};

void FixSections(QHeaderView* header, int size) {
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(0);
    header->setDefaultSectionSize(size);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
}

}  // namespace

ParameterGrid::ParameterGrid(QWidget* parent) : QTableWidget(kChannels, kGridColumns, parent) {
    setObjectName("StringGrid1");
    QFont cellFont = font();
    cellFont.setPixelSize(10);
    setFont(cellFont);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    setItemDelegate(new TightCellDelegate(this));
    const QString sectionStyle =
        "QHeaderView::section { padding: 0px; border: none; border-right: 1px solid palette(mid);"
        " border-bottom: 1px solid palette(mid); background-color: palette(button); }";
    horizontalHeader()->setStyleSheet(sectionStyle);
    verticalHeader()->setStyleSheet(sectionStyle);
    FixSections(horizontalHeader(), kColumnWidth);
    FixSections(verticalHeader(), kRowHeight);
    horizontalHeader()->setFixedHeight(kRowHeight);
    verticalHeader()->setFixedWidth(kRowLabelWidth);
    setColumnWidth(kTuneColumn, kTuneColumnWidth);

    QStringList headers;
    for (const GridColumn& column : kGridColumnTable) headers << column.header;
    setHorizontalHeaderLabels(headers);
    for (int k = 0; k < kGridColumns; ++k)
        horizontalHeaderItem(k)->setToolTip(QString::fromStdString(ColumnTip(k)));
    QStringList rowLabels;
    for (int c = 0; c < kChannels; ++c) rowLabels << QString::fromStdString(ChannelText(static_cast<uint8_t>(c + 1)));
    setVerticalHeaderLabels(rowLabels);

    for (int c = 0; c < kChannels; ++c) {
        for (int k = 0; k < kGridColumns; ++k) {
            auto* cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            cell->setTextAlignment(Qt::AlignCenter);
            setItem(c, k, cell);
        }
    }
    setCurrentCell(0, 0);
}

void ParameterGrid::SetRow(int c, const std::array<std::string, kGridColumns>& texts,
                           const std::array<std::string, kGridColumns>& tips) {
    for (int k = 0; k < kGridColumns; ++k) {
        QTableWidgetItem* cell = item(c, k);
        cell->setToolTip(QString::fromStdString(tips[k]));
        const QString text = QString::fromStdString(texts[k]);
        if (cell->text() == text) continue;
        cell->setText(text);
        const bool placeholder = texts[k] == "---" || texts[k] == "E/D";
        cell->setData(Qt::ForegroundRole, placeholder ? QVariant(QBrush(kPlaceholderText)) : QVariant());
    }
}

void ParameterGrid::keyPressEvent(QKeyEvent* event) {
    if (!EditingKey(event->key())) QTableWidget::keyPressEvent(event);
    event->accept();
}

void ParameterGrid::wheelEvent(QWheelEvent* event) {
    event->accept();
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (!cell.isValid()) return;
    wheelEighths_ += event->angleDelta().y();
    const int notches = wheelEighths_ / kEighthsPerNotch;
    wheelEighths_ -= notches * kEighthsPerNotch;
    if (notches != 0) emit CellWheeled(cell.row(), cell.column(), notches);
}

}  // namespace cadenzo
