#include "ui/widgets/start_screen.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

#include <new>

#include "services/dialogs.h"
#include "ui/widgets/jpeg_image.h"

namespace cadenzo {

namespace {

constexpr int kWidth = 312;
constexpr int kHeight = 266;
constexpr int kPanelBorder = 3;  // inside the panel's raised edge, around the picture
constexpr const char* kPicture = ":/assets/start_screen.jpg";
constexpr const char* kCaption = "Errorr...";
constexpr const char* kAlreadyShown = "StartScreen pointer is NOT NULL";
constexpr const char* kNoMemory = "Error while rezerve memory fot StartScreen form";
constexpr const char* kNotShown = "Pointer to StartScreen is NULL while attempt to closing";

QImage LoadPicture() {
    QFile file(kPicture);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return DecodeJpeg(file.readAll());
}

}  // namespace

TStartScreen::TStartScreen()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("StartScreen");
    setWindowTitle("About");
    setFixedSize(kWidth, kHeight);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setGeometry(rect());
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(kPanelBorder, kPanelBorder, kPanelBorder, kPanelBorder);

    image1_ = new QLabel(panel);
    image1_->setObjectName("Image1");
    image1_->setScaledContents(true);
    image1_->setPixmap(QPixmap::fromImage(LoadPicture()));
    image1_->installEventFilter(this);
    layout->addWidget(image1_);

    label1_ = new QLabel(panel);
    label1_->setObjectName("Label1");
    label1_->move(16, 16);
    label1_->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font = label1_->font();
    font.setPixelSize(13);
    font.setBold(true);
    label1_->setFont(font);
    QPalette palette = label1_->palette();
    palette.setColor(QPalette::WindowText, Qt::yellow);
    label1_->setPalette(palette);
}

void TStartScreen::SetText(const std::string& text) {
    label1_->setText(QString::fromStdString(text));
    label1_->adjustSize();
    label1_->raise();
    PaintNow();
}

std::string TStartScreen::Text() const { return label1_->text().toStdString(); }

void TStartScreen::Image1Click() { close(); }

bool TStartScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == image1_ && event->type() == QEvent::MouseButtonPress) Image1Click();
    return QWidget::eventFilter(watched, event);
}

void TStartScreen::PaintNow() {
    repaint();
    // A window shown just now is on screen only once the window system has
    // been heard; user input waits for the message loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

StartScreenControl::StartScreenControl(Dialogs& dialogs) : dialogs_(dialogs) {}

void StartScreenControl::ShowStartScreen(const std::string& text) {
    if (startScreen_) {
        dialogs_.MessageBox(kAlreadyShown, kCaption);
        return;
    }
    try {
        startScreen_ = std::make_unique<TStartScreen>();
    } catch (const std::bad_alloc&) {
        dialogs_.MessageBox(kNoMemory, kCaption);
        return;
    }
    startScreen_->move(QGuiApplication::primaryScreen()->availableGeometry().center() - startScreen_->rect().center());
    startScreen_->show();
    startScreen_->SetText(text);
}

void StartScreenControl::SetStartScreenText(const std::string& text) {
    if (!startScreen_) {
        dialogs_.MessageBox(kNotShown, kCaption);
        return;
    }
    startScreen_->SetText(text);
}

void StartScreenControl::CloseStartScreen() {
    if (!startScreen_) {
        dialogs_.MessageBox(kNotShown, kCaption);
        return;
    }
    startScreen_->hide();
    startScreen_.reset();
}

}  // namespace cadenzo
