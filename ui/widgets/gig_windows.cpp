#include "ui/widgets/gig_windows.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "engine/system_state.h"
#include "ui/key_map.h"
#include "ui/port_lamps.h"
#include "ui/virtual_keys.h"
#include "ui/widgets/engine_application.h"
#include "ui/widgets/shape.h"
#include "ui/widgets/virtual_key.h"

namespace cadenzo {

namespace {

constexpr int kLampSize = 36;
constexpr QColor kStageBackground{0, 0, 0};

QString Qs(const std::string& text) { return QString::fromStdString(text); }

QLabel* StageLabel(QWidget* parent, const char* name, int pixelSize, bool bold, QColor colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

void SetIfChanged(QLabel* label, const std::string& text) {
    const QString shown = Qs(text);
    if (label->text() != shown) label->setText(shown);
}

}  // namespace

TextEditor::TextEditor(QWidget* owner, const std::string& caption, const std::string& text, size_t characters)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("TextEditor");
    setWindowTitle(Qs(caption));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(Qs(caption), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    edit_ = new QLineEdit(Qs(text), this);
    edit_->setObjectName("TextEdit");
    edit_->setMinimumWidth(edit_->fontMetrics().averageCharWidth() * static_cast<int>(characters + 4));
    layout->addWidget(edit_);
    auto* hint = new QLabel(Qs(EditorHint(characters)), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    connect(edit_, &QLineEdit::returnPressed, this, &QDialog::accept);
    edit_->selectAll();
}

std::string TextEditor::Text() const { return edit_->text().toStdString(); }

std::optional<std::string> EditText(QWidget* owner, const std::string& caption, const std::string& text,
                                    size_t characters) {
    TextEditor editor(owner, caption, text, characters);
    if (RunModal(editor, false) != QDialog::Accepted) return std::nullopt;
    return editor.Text();
}

SetListWindow::SetListWindow(SystemState& state, QWidget* owner) : QWidget(owner, Qt::Tool), state_(state) {
    setObjectName("SetList");
    setWindowTitle("Set List");
    resize(520, 420);
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName("SetListRows");
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->installEventFilter(this);
    QFont rows = list_->font();
    rows.setPixelSize(15);
    list_->setFont(rows);
    layout->addWidget(list_, 1);
    auto* help = new QLabel(kSetListHelp, this);
    help->setWordWrap(true);
    layout->addWidget(help);
    Refresh();
}

int SetListWindow::Selected() const { return std::max(0, list_->currentRow()); }

void SetListWindow::Refresh() {
    const std::vector<std::string> rows = SetListRows(state_);
    bool same = list_->count() == static_cast<int>(rows.size());
    for (int i = 0; same && i < list_->count(); ++i) same = list_->item(i)->text() == Qs(rows[static_cast<size_t>(i)]);
    if (same) return;
    const int selected = Selected();
    list_->clear();
    for (const std::string& row : rows) list_->addItem(Qs(row));
    list_->setCurrentRow(std::min(selected, list_->count() - 1));
}

// Every key of the list comes here; the list never moves by itself, so the
// chosen row is the one the key map chose.
bool SetListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != list_ || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const uint16_t code = VirtualKey(key->key(), key->modifiers());
    const uint32_t chosen = SetListKey(state_, *this, code, key->modifiers() & Qt::ShiftModifier,
                                       static_cast<uint32_t>(Selected()));
    Refresh();
    list_->setCurrentRow(std::min(static_cast<int>(chosen), list_->count() - 1));
    return true;
}

void SetListWindow::EditTitle(uint32_t index) {
    const std::string& title = state_.Songs.Entries[index].Title;
    if (auto text = EditText(this, TitleEditorCaption(state_, index), title, kTitleCharacters))
        RetitleEntry(state_, index, *text);
}

void SetListWindow::CloseSetList() { hide(); }

PerformanceView::PerformanceView(SystemState& state, KeyWindow& keys, QWidget* owner)
    : QWidget(owner, Qt::Window), state_(state), keys_(keys) {
    setObjectName("PerformanceView");
    setWindowTitle("Performance");
    resize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kStageBackground);
    setPalette(palette);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    position_ = StageLabel(this, "Position", 34, false, QColor(200, 200, 200));
    song_ = StageLabel(this, "Song", 96, true, Qt::white);
    mix_ = StageLabel(this, "Mix", 48, true, QColor(255, 220, 0));
    next_ = StageLabel(this, "NextEntry", 40, false, QColor(120, 200, 255));
    layout->addWidget(position_);
    layout->addWidget(song_, 3);
    layout->addWidget(mix_, 1);
    layout->addWidget(next_, 1);

    auto* lampRow = new QWidget(this);
    auto* lamps = new QHBoxLayout(lampRow);
    for (size_t i = 0; i < lamps_.size(); ++i) {
        auto* cell = new QVBoxLayout;
        lamps_[i] = new TShape(lampRow, nullptr, QRect(0, 0, kLampSize, kLampSize), kSilver);
        lamps_[i]->setFixedSize(kLampSize, kLampSize);
        cell->addWidget(lamps_[i], 0, Qt::AlignHCenter);
        cell->addWidget(StageLabel(lampRow, nullptr, 18, false, QColor(200, 200, 200)));
        static_cast<QLabel*>(cell->itemAt(1)->widget())->setText(kPerformanceLampCaptions[i]);
        lamps->addLayout(cell);
    }
    layout->addWidget(lampRow);
    auto* help = StageLabel(this, nullptr, 14, false, QColor(140, 140, 140));
    help->setText(kPerformanceHelp);
    layout->addWidget(help);
    Refresh();
}

void PerformanceView::Refresh() {
    const PerformanceTexts texts = PerformanceViewTexts(state_);
    SetIfChanged(position_, texts.position);
    SetIfChanged(song_, texts.song);
    SetIfChanged(mix_, texts.mix);
    SetIfChanged(next_, texts.next);
    for (size_t i = 0; i < lamps_.size(); ++i) ShowLamp(lamps_[i], LookOfLamp(state_, static_cast<Lamp>(i)));
}

// Escape and F12 close the view, never the program; every other key plays
// as in the main window.
void PerformanceView::keyPressEvent(QKeyEvent* event) {
    const uint16_t code = VirtualKey(event->key(), event->modifiers());
    if (code == vk::Escape || code == vk::F12) {
        hide();
        return;
    }
    KeyDown(state_, keys_, code);
    Refresh();
}

void PerformanceView::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) KeyUp(state_, keys_, VirtualKey(event->key(), event->modifiers()));
}

}  // namespace cadenzo
