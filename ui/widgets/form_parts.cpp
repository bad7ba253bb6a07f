#include "ui/widgets/form_parts.h"

#include "ui/display_text.h"

namespace cadenzo {

QFrame* MakeArea(QWidget* parent, const char* caption, const QRect& geometry, const char* hint,
                 const char* headerName) {
    auto* area = new QFrame(parent);
    area->setGeometry(geometry);
    area->setFrameStyle(QFrame::Box | QFrame::Plain);
    QLabel* header = MakeLabel(area, headerName, QRect(0, 0, geometry.width(), kAreaHeaderHeight), 11, true);
    header->setText(caption);
    StyleAsHeader(header);
    if (hint) area->setToolTip(hint);
    return area;
}

void StyleAsHeader(QLabel* label) {
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, int pixelSize, bool bold,
                  Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    if (name) label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

void ShowGaugeLevel(QProgressBar* gauge, uint8_t level) {
    gauge->setValue(BarValue(level));
    gauge->setFormat(QString::fromStdString(GaugeText(level)));
}

}  // namespace cadenzo
