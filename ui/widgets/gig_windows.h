// The windows of the names and the set list: the small text editor (a mix
// name, a song title), the set-list window (F10) and the performance view
// (F12). What they show comes from ui/gig.h. Main thread only.
#pragma once

#include <QDialog>
#include <QWidget>

#include <array>
#include <string>

#include "engine/lamps.h"
#include "ui/gig.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace cadenzo {

class KeyWindow;
class TShape;

// One line of text, up to `characters` characters as the hint says; Enter
// keeps it, Escape leaves it as it was.
class TextEditor final : public QDialog {
    Q_OBJECT
public:
    TextEditor(QWidget* owner, const std::string& caption, const std::string& text, size_t characters);
    std::string Text() const;

private:
    QLineEdit* edit_ = nullptr;
};

// Runs the editor modally; the text when Enter kept it.
std::optional<std::string> EditText(QWidget* owner, const std::string& caption, const std::string& text,
                                    size_t characters);

class SetListWindow final : public QWidget, private SetListView {
    Q_OBJECT
public:
    SetListWindow(SystemState& state, QWidget* owner);
    // Shows the rows as they are now, keeping the chosen one.
    void Refresh();
    int Selected() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EditTitle(uint32_t index) override;
    void CloseSetList() override;

    SystemState& state_;
    QListWidget* list_ = nullptr;
};

class PerformanceView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 600;

    PerformanceView(SystemState& state, KeyWindow& keys, QWidget* owner);
    // Shows the texts and lamps as they are now.
    void Refresh();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    SystemState& state_;
    KeyWindow& keys_;
    QLabel* position_ = nullptr;
    QLabel* song_ = nullptr;
    QLabel* mix_ = nullptr;
    QLabel* next_ = nullptr;
    std::array<TShape*, ShapeCh1> lamps_{};  // the three inputs and the three outputs
};

}  // namespace cadenzo
