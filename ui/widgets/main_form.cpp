#include "ui/widgets/main_form.h"

#include <QKeyEvent>
#include <QLabel>

#include "engine/glide.h"
#include "ui/window_title.h"

namespace cadenzo {

namespace {
constexpr int kClientWidth = 808;
constexpr int kClientHeight = 499;
}  // namespace

TMainForm::TMainForm(SystemState& state, MultimediaTimer& timer, Dialogs& dialogs)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint),
      state_(state) {
    setObjectName("MainForm");
    setFixedSize(kClientWidth, kClientHeight);
    setWindowTitle(QString::fromUtf8(kMainTitle));
    label29_ = new QLabel(this);
    label29_->setObjectName("Label29");
    label29_->setAutoFillBackground(true);
    glideTimer_.emplace(timer, dialogs, &GlideTick, &state_);
}

TMainForm::~TMainForm() { glideTimer_.reset(); }

void TMainForm::SetTitle(const std::string& title) { setWindowTitle(QString::fromStdString(title)); }

void TMainForm::SetDrumTimerInterval(uint32_t ms) { drumTimerInterval_ = ms; }

void TMainForm::RefreshDisplay(uint32_t) { update(); }

void TMainForm::ShowTerca(std::string_view text, uint32_t rgb) {
    label29_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    QPalette palette = label29_->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(rgb));
    label29_->setPalette(palette);
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) close();
}

}  // namespace cadenzo
