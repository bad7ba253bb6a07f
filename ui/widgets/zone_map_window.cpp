#include "ui/widgets/zone_map_window.h"

#include <QPainter>

namespace cadenzo {

namespace {

constexpr int kKeyWidth = 10;
constexpr int kLabelWidth = 36;   // "Ch16" left of each row
constexpr int kKeyboardTop = 6;
constexpr int kKeyboardHeight = 44;
constexpr int kRowsTop = kKeyboardTop + kKeyboardHeight + 6;
constexpr int kRowHeight = 20;
constexpr int kKeys = kHighestKey - kLowestKey + 1;
constexpr int kWidth = kLabelWidth + kKeys * kKeyWidth + 6;
constexpr int kHeight = kRowsTop + kChannels * kRowHeight + 6;

bool BlackKey(int note) {
    const int pitch = note % 12;
    return pitch == 1 || pitch == 3 || pitch == 6 || pitch == 8 || pitch == 10;
}

QColor Colour(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

}  // namespace

ZoneMapWindow::ZoneMapWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowDoesNotAcceptFocus) {
    setObjectName("ZoneMap");
    setWindowTitle("Zone Map");
    setFixedSize(kWidth, kHeight);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void ZoneMapWindow::Show(const ZoneMap& rows) {
    if (rows == rows_) return;
    rows_ = rows;
    update();
}

QRect ZoneMapWindow::KeyRect(int note) const {
    return QRect(kLabelWidth + (note - kLowestKey) * kKeyWidth, kKeyboardTop, kKeyWidth, kKeyboardHeight);
}

QRect ZoneMapWindow::BarRect(int c, int part) const {
    const KeyRange& range = rows_[c].zone[part];
    const int left = KeyRect(range.low).left();
    return QRect(left, kRowsTop + c * kRowHeight + 2, KeyRect(range.high).right() + 1 - left, kRowHeight - 4);
}

void ZoneMapWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    PaintKeyboard(painter);
    for (int c = 0; c < kChannels; ++c) PaintRow(painter, c);
}

void ZoneMapWindow::PaintKeyboard(QPainter& painter) const {
    for (int note = kLowestKey; note <= kHighestKey; ++note) {
        const QRect key = KeyRect(note);
        painter.fillRect(key, BlackKey(note) ? Qt::black : Qt::white);
        painter.setPen(Qt::gray);
        painter.drawRect(key.adjusted(0, 0, -1, -1));
        if (note % 12 == 0) {  // every C, named
            painter.setPen(Qt::black);
            painter.drawText(key.adjusted(-6, key.height() - 14, 6, 0), Qt::AlignCenter, QString("C%1").arg(note / 12 - 1));
        }
    }
}

void ZoneMapWindow::PaintRow(QPainter& painter, int c) const {
    const ZoneRow& row = rows_[c];
    const QRect line(0, kRowsTop + c * kRowHeight, width(), kRowHeight);
    painter.setPen(Qt::black);
    painter.drawText(QRect(4, line.top(), kLabelWidth - 6, line.height()), Qt::AlignVCenter,
                     QString("Ch%1").arg(c + 1));
    if (row.parts == 0) {
        painter.setPen(Qt::gray);
        painter.drawText(line.adjusted(kLabelWidth, 0, 0, 0), Qt::AlignVCenter, QString::fromStdString(row.text));
        return;
    }
    const QColor colour = Colour(row.colour);
    for (int part = 0; part < row.parts; ++part) {
        const QRect bar = BarRect(c, part);
        painter.fillRect(bar, colour);
        for (int note = row.zone[part].low; note <= row.zone[part].high; ++note)  // keys held now: a lit edge
            if (row.sounding.test(note))
                painter.fillRect(KeyRect(note).left(), bar.bottom() - 3, kKeyWidth, 4, Qt::yellow);
    }
    // The text stands on the widest bar, or beside the bars where it is too wide for them.
    const QString text = QString::fromStdString(row.text);
    const int textWidth = painter.fontMetrics().horizontalAdvance(text) + 8;
    const int widest = row.parts == 2 && BarRect(c, 1).width() > BarRect(c, 0).width() ? 1 : 0;
    const QRect on = BarRect(c, widest);
    if (textWidth <= on.width()) {
        painter.setPen(Qt::white);
        painter.drawText(on.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
        return;
    }
    const QRect first = BarRect(c, 0);
    const QRect last = BarRect(c, row.parts - 1);
    const QRect after(last.right() + 4, line.top(), width() - last.right() - 4, line.height());
    const QRect between(first.right() + 4, line.top(), last.left() - first.right() - 4, line.height());
    const QRect before(kLabelWidth, line.top(), first.left() - kLabelWidth - 4, line.height());
    QRect beside = after;
    if (row.parts == 2 && between.width() > beside.width()) beside = between;
    if (before.width() > beside.width()) beside = before;
    painter.setPen(colour.darker(130));
    painter.drawText(beside, Qt::AlignVCenter | (beside == before ? Qt::AlignRight : Qt::AlignLeft), text);
}

}  // namespace cadenzo
