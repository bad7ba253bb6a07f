#include "ui/widgets/shape.h"

#include <QPainter>

namespace cadenzo {

TShape::TShape(QWidget* parent, const char* name, const QRect& geometry, Rgb brush, Outline outline)
    : QWidget(parent), brush_(brush), outline_(outline) {
    if (name) setObjectName(name);
    setGeometry(geometry);
}

void TShape::SetBrush(Rgb brush) {
    if (brush == brush_) return;
    brush_ = brush;
    update();
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(brush_.r, brush_.g, brush_.b));
    if (outline_ == Outline::Black) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ShowLamp(TShape* lamp, const LampLook& look) {
    lamp->SetBrush(look.colour);
    const QString tip = QString::fromStdString(look.tip);
    if (lamp->toolTip() != tip) lamp->setToolTip(tip);
}

}  // namespace cadenzo
