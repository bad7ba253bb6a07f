// The main window's areas, built once at construction. Positions are in
// client pixels; the equaliser panels sit where the bar geometry expects them.
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>

#include "ui/main_form_texts.h"
#include "ui/widgets/engine_application.h"
#include "ui/widgets/form_parts.h"
#include "ui/widgets/main_form.h"
#include "ui/widgets/parameter_grid.h"
#include "ui/widgets/shape.h"

namespace cadenzo {

namespace {

constexpr int kGridAreaWidth = 617;
constexpr int kRightColumnX = kGridAreaWidth + 2;
constexpr int kRightColumnWidth = TMainForm::kClientWidth - kRightColumnX;
constexpr int kTopRowHeight = 348;
constexpr int kBottomRowY = 352;  // the equaliser captions stand above the panels
constexpr int kBottomRowHeight = 92;
constexpr int kEqPanelTop = kEqCentreRow - 32;  // client rows 371..436
constexpr int kEqPanelHeight = 66;
constexpr int kEqBarWidth = 9;
constexpr int kEqBarPitch = 12;
constexpr Rgb kEqPanelColour{0, 0, 0};
constexpr Rgb kEqBarColour{0, 255, 0};
constexpr Rgb kKeyboardColour{64, 64, 64};
constexpr Rgb kWhiteKey{255, 255, 255};
constexpr Rgb kBlackKey{0, 0, 0};

QProgressBar* MakeBar(QWidget* parent, const char* name, const QRect& geometry) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setGeometry(geometry);
    bar->setRange(0, kLevelMax);
    return bar;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace

void TMainForm::BuildGridArea() {
    QFrame* area = MakeArea(this, kGridCaption, QRect(0, 0, kGridAreaWidth, kTopRowHeight), nullptr, "GridCaption");
    grid_ = new ParameterGrid(area);
    const int width = grid_->verticalHeader()->width() + grid_->horizontalHeader()->length() + 2 * grid_->frameWidth();
    const int height = ParameterGrid::kRowHeight * (kChannels + 1) + 2 * grid_->frameWidth();
    grid_->setGeometry(3, 19, width, height);
    grid_->setToolTip(kGridHint);

    // One lamp beside each channel row.
    const int lampX = grid_->geometry().right() + 4;
    for (int c = 0; c < kChannels; ++c) {
        const int rowTop = grid_->y() + grid_->frameWidth() + ParameterGrid::kRowHeight * (c + 1);
        const QByteArray name = "ShapeCh" + QByteArray::number(c + 1);
        lamps_[ShapeCh1 + c] = new TShape(area, name.constData(), QRect(lampX, rowTop + 4, 12, 11), kSilver);
    }

    // The MIDI monitor's pane, shown over the copy manager on request.
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("Memo");
    memo_->setGeometry(kMonitorPane);
    memo_->setReadOnly(true);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(11);
    memo_->setFont(fixed);
    memo_->setFocusPolicy(Qt::NoFocus);
    LeaveUnguarded(memo_);  // its text layout never holds up the engine
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setBackgroundRole(QPalette::ToolTipBase);
    QPalette palette = memo_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    memo_->setPalette(palette);
    memo_->hide();
}

void TMainForm::BuildProgramArea() {
    QFrame* area = MakeArea(this, kProgramCaption, QRect(kRightColumnX, 0, kRightColumnWidth, 66));
    programShape_ = new TShape(area, "Shape1", QRect(4, 19, kRightColumnWidth - 8, 43), kSilver);
    programShape_->setToolTip(kProgramHint);
    programLabel_ = MakeLabel(programShape_, "ProgramLabel", programShape_->rect(), kProgramPixels, true);
    programLabel_->setToolTip(kProgramHint);
    programNameLabel_ = MakeLabel(programShape_, "ProgramNameLabel", programShape_->rect(), 14, true);
    programNameLabel_->setToolTip(kProgramHint);
    programNameLabel_->hide();
}

void TMainForm::BuildEffectsArea() {
    QFrame* area = MakeArea(this, kEffectsCaption, QRect(kRightColumnX, 68, kRightColumnWidth, 110));
    for (int i = 0; i < kEffectLevels; ++i) {
        const int y = 19 + 18 * i;
        MakeLabel(area, nullptr, QRect(5, y, 60, 16), 12, true, Qt::AlignLeft | Qt::AlignVCenter)
            ->setText(kEffectCaptions[i]);
        const QByteArray name = "EffCGauge" + QByteArray::number(i + 1);
        QProgressBar* gauge = MakeBar(area, name.constData(), QRect(66, y + 1, kRightColumnWidth - 70, 15));
        gauge->setStyleSheet(QString("QProgressBar { border: 1px solid black; background: white; text-align: center; }"
                                     "QProgressBar::chunk { background: rgb(%1, %2, %3); }")
                                 .arg(kAqua.r)
                                 .arg(kAqua.g)
                                 .arg(kAqua.b));
        ShowGaugeLevel(gauge, 64);
        gauge->setToolTip(kEffectHints[i]);
        effectGauges_[i] = gauge;
    }
}

void TMainForm::BuildTransposeAndTercaAreas() {
    QFrame* transpose = MakeArea(this, kTransposeCaption, QRect(kRightColumnX, 180, kRightColumnWidth, 40));
    transposeLabel_ = MakeLabel(transpose, "MasterTransposeLabel", QRect(4, 17, kRightColumnWidth - 8, 21), 18, true);
    transposeLabel_->setToolTip(kTransposeHint);

    QFrame* terca = MakeArea(this, kTercaCaption, QRect(kRightColumnX, 222, kRightColumnWidth, 40));
    tercaShape_ = new TShape(terca, "Shape23", QRect(4, 18, kRightColumnWidth - 8, 19), kSilver);
    tercaLabel_ = MakeLabel(tercaShape_, "Label29", tercaShape_->rect(), 13, true);
    tercaLabel_->setToolTip(kTercaHint);
}

void TMainForm::BuildCopyArea() {
    QFrame* area = MakeArea(this, kCopyCaption, QRect(kRightColumnX, 264, kRightColumnWidth, kTopRowHeight - 264),
                           nullptr, "Label18");
    const int half = kRightColumnWidth / 2;
    const auto destination = [area, half](int x, const char* boxName, const char* caption, const char* labelName,
                                          const char* hint) {
        auto* box = new TShape(area, boxName, QRect(x + 6, 20, half - 12, 19), kSilver);
        MakeLabel(box, nullptr, box->rect(), 12, true)->setText(caption);
        MakeLabel(area, nullptr, QRect(x, 39, half, 14), 12, true)->setText("v");
        QLabel* label = MakeLabel(area, labelName, QRect(x, 54, half, 24), 14, true);
        label->setToolTip(hint);
        return label;
    };
    copyProgramLabel_ = destination(0, "Shape3", "Program", "Label21", kCopyProgramHint);
    copyChannelLabel_ = destination(half, "Shape4", "MIDI CH", "Label19", kCopyChannelHint);
}

void TMainForm::BuildScaleArea() {
    QFrame* area = MakeArea(this, kScaleCaption, QRect(0, kBottomRowY, 198, kBottomRowHeight), kScaleHint);
    auto* keyboard = new TShape(area, "Shape9", QRect(4, 19, 190, 69), kKeyboardColour);
    constexpr int kWhiteKeyPitch = 26;
    constexpr int kBlackKeyWidth = 18;
    constexpr int kKeysX = 4;
    int white = 0;
    int black = 0;
    // White keys first so that the black keys lie on top of them.
    for (const ScaleKey& key : kScaleKeys) {
        if (key.black) continue;
        const int x = kKeysX + kWhiteKeyPitch * white++;
        new TShape(keyboard, nullptr, QRect(x, 3, kWhiteKeyPitch - 1, 63), kWhiteKey);
    }
    white = 0;
    for (int n = 0; n < kScaleNotes; ++n) {
        const ScaleKey& key = kScaleKeys[n];
        QLabel* label = nullptr;
        if (key.black) {
            const int x = kKeysX + kWhiteKeyPitch * white - kBlackKeyWidth / 2;
            const QByteArray name = "Shape" + QByteArray::number(18 + black++);
            auto* cap = new TShape(keyboard, name.constData(), QRect(x, 3, kBlackKeyWidth, 38), kBlackKey);
            label = MakeLabel(keyboard, key.name, QRect(x - 2, 24, kBlackKeyWidth + 4, 14), 11, true);
            SetTextColour(label, Qt::white);
            cap->setToolTip(key.hint);
        } else {
            const int x = kKeysX + kWhiteKeyPitch * white++;
            label = MakeLabel(keyboard, key.name, QRect(x, 46, kWhiteKeyPitch - 1, 16), 11, true);
        }
        label->setText(key.caption);
        label->setToolTip(key.hint);
        scaleLabels_[n] = label;
    }
}

void TMainForm::BuildPortamentoAndPitchBendAreas() {
    QFrame* portamento = MakeArea(this, kPortamentoCaption, QRect(200, kBottomRowY, 76, 45), kPortamentoHint, "Label1");
    portamentoLabel_ = MakeLabel(portamento, "Label28", QRect(2, 18, 72, 24), 14, true);
    portamentoLabel_->setToolTip(kPortamentoHint);
    QFrame* pitchBend = MakeArea(this, kPitchBendCaption, QRect(200, kBottomRowY + 47, 76, 45), kPitchBendHint,
                                   "Label30");
    pitchBendLabel_ = MakeLabel(pitchBend, "Label31", QRect(2, 18, 72, 24), 14, true);
    pitchBendLabel_->setToolTip(kPitchBendHint);
}

void TMainForm::BuildEqAreas() {
    static constexpr std::array<const char*, 3> kPanelNames{"ShapeEQ12Osnova", "ShapeEQ34Osnova", "ShapeEQ56Osnova"};
    static constexpr std::array<const char*, 3> kBarPrefixes{"EQ12Shape", "EQ34Shape", "EQ56Shape"};
    static constexpr std::array<const char*, 3> kCaptionNames{"Label14", "Label15", "Label4"};
    for (int p = 0; p < 3; ++p) {
        QFrame* area =
            MakeArea(this, kEqCaptions[p], QRect(278 + 138 * p, kBottomRowY, 136, kBottomRowHeight), kEqHints[p],
                     kCaptionNames[p]);
        auto* panel = new TShape(area, kPanelNames[p], QRect(4, kEqPanelTop - kBottomRowY, 128, kEqPanelHeight),
                                 kEqPanelColour, TShape::Outline::None);
        for (int k = 0; k < kEqBands; ++k) {
            const QByteArray name = kBarPrefixes[p] + QByteArray::number(k + 1);
            eqBars_[p][k] = new TShape(panel, name.constData(), QRect(5 + kEqBarPitch * k, 0, kEqBarWidth, 1),
                                       kEqBarColour, TShape::Outline::None);
        }
    }
}

void TMainForm::BuildPortLamps() {
    auto* area = new QFrame(this);
    area->setFrameStyle(QFrame::Box | QFrame::Plain);
    area->setGeometry(692, kBottomRowY, 116, kBottomRowHeight);
    struct Pair {
        const char* caption;
        Lamp left, right;
        const char* leftName;
        const char* rightName;
    };
    static constexpr std::array<Pair, 3> kPairs{{
        {kInLampsCaption, ShapeIn1, ShapeIn2, "ShapeIn1", "ShapeIn2"},
        {kOutLampsCaption, ShapeOut1, ShapeOut3, "ShapeOut1", "ShapeOut3"},
        {kThruLampsCaption, ShapeIn3, ShapeOut2, "ShapeIn3", "ShapeOut2"},
    }};
    for (int i = 0; i < 3; ++i) {
        const int y = 4 + 29 * i;
        MakeLabel(area, nullptr, QRect(0, y, 116, 13), 11, true)->setText(kPairs[i].caption);
        lamps_[kPairs[i].left] = new TShape(area, kPairs[i].leftName, QRect(36, y + 14, 16, 11), kSilver);
        lamps_[kPairs[i].right] = new TShape(area, kPairs[i].rightName, QRect(64, y + 14, 16, 11), kSilver);
    }
}

void TMainForm::BuildMasterVolumeBar() {
    auto* area = new QFrame(this);
    area->setFrameStyle(QFrame::Box | QFrame::Plain);
    area->setGeometry(0, 448, kClientWidth, kClientHeight - 448);
    QLabel* caption = MakeLabel(area, nullptr, QRect(0, 0, 118, 51), 13, true);
    caption->setText(kMasterVolumeCaption);
    StyleAsHeader(caption);
    masterVolBar_ = MakeBar(area, "MasterVolBar", QRect(126, 13, 610, 25));
    masterVolBar_->setTextVisible(false);
    masterVolumeLabel_ = MakeLabel(area, "MasterVolumeLabel", QRect(742, 8, 60, 35), 22, true);
    for (QWidget* w : {static_cast<QWidget*>(caption), static_cast<QWidget*>(masterVolBar_),
                       static_cast<QWidget*>(masterVolumeLabel_)})
        w->setToolTip(kMasterVolumeHint);
}

}  // namespace cadenzo
