// The start screen: a borderless picture window, on top in the middle of the
// screen, that shows which step runs while the program starts and stops.
// Main thread only.
#pragma once

#include <QWidget>

#include <memory>
#include <string>

class QLabel;

namespace cadenzo {

class Dialogs;

class TStartScreen final : public QWidget {
    Q_OBJECT
public:
    TStartScreen();

    // Shows the text in Label1 and paints the window before returning: the
    // steps that follow keep the message loop from painting.
    void SetText(const std::string& text);
    std::string Text() const;

    // A click on the picture hides the window; it still exists.
    void Image1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintNow();

    QLabel* image1_;
    QLabel* label1_;
};

// The one start screen (StartScreen) and the three operations on it; each
// reports misuse in a message box and then leaves things as they were.
class StartScreenControl {
public:
    explicit StartScreenControl(Dialogs& dialogs);

    void ShowStartScreen(const std::string& text);
    void SetStartScreenText(const std::string& text);
    void CloseStartScreen();

    TStartScreen* StartScreen() const { return startScreen_.get(); }

private:
    Dialogs& dialogs_;
    std::unique_ptr<TStartScreen> startScreen_;
};

}  // namespace cadenzo
