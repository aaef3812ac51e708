#include "dialogs/frmTIMER.h"

#include "controls/Fonts.h"
#include "controls/Zoom.h"
#include "core/LotoRules.h"
#include "core/Messenger.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QValidator>

#include <algorithm>
#include <array>

namespace
{

constexpr int MaxHodLength = 2;
constexpr qint32 LowestMaxHod = Settings::kLowestMaxHod;
constexpr qint32 HighestMaxHod = Settings::kHighestMaxHod;

// Entries of "Таймер" and the intervals they stand for, in list order.
const std::array<QString, 5> IntervalNames = {QStringLiteral("0,1 секунды"), QStringLiteral("0,5 секунды"),
                                              QStringLiteral("1 секунда"), QStringLiteral("2 секунды"),
                                              QStringLiteral("3 секунды")};
constexpr int LastIntervalIndex = static_cast<int>(IntervalNames.size()) - 1;

const QString MaxHodCaption = QStringLiteral("Максимум ходов:");
const QPoint MaxHodCaptionAt(8, 16);
const QString TimerCaption = QStringLiteral("Таймер:");
const QPoint TimerCaptionAt(8, 56);

using Loto::IsLatinDigit;

// The number a text starts with, after any spaces; 0 when it starts with none.
qint32 LeadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    // Anything this long is far out of range already; stopping keeps it from overflowing.
    constexpr qint64 Enough = 1'000'000'000;
    for (; i < text.size() && IsLatinDigit(text[i]) && value < Enough; ++i)
        value = value * 10 + (text[i].unicode() - u'0');
    return static_cast<qint32>(negative ? -value : value);
}

// Guards the maximum box against whatever does not come through the key
// filter: pasting, dropping, undoing. What the box held may stay or go; of
// what arrives only the digits are kept, and only as many as there is room
// for. The box's own length limit is not used, because it would cut a paste
// such as " 85" short before its space could be dropped.
class MaxHodGuard : public QValidator
{
public:
    explicit MaxHodGuard(QLineEdit *box) : QValidator(box), accepted_(box->text())
    {
        connect(box, &QLineEdit::textChanged, this, [this](const QString &text) { accepted_ = text; });
    }

    State validate(QString &input, int &pos) const override
    {
        // One edit replaces one stretch of the old text; what lies around it is old.
        const qsizetype common = std::min(input.size(), accepted_.size());
        qsizetype head = 0;
        while (head < common && input[head] == accepted_[head])
            ++head;
        qsizetype tail = 0;
        while (head + tail < common &&
               input[input.size() - 1 - tail] == accepted_[accepted_.size() - 1 - tail])
            ++tail;

        const qsizetype room = std::max<qsizetype>(0, MaxHodLength - head - tail);
        QString arrived;
        for (QChar c : QStringView(input).sliced(head, input.size() - head - tail)) {
            if (IsLatinDigit(c) && arrived.size() < room)
                arrived += c;
        }
        const QString cleaned = input.left(head) + arrived + input.right(tail);
        if (cleaned != input) {
            // The cursor stays put in the old parts and follows what arrived.
            if (pos >= input.size() - tail)
                pos = static_cast<int>(cleaned.size() - (input.size() - pos));
            else if (pos > head)
                pos = static_cast<int>(head + arrived.size());
            input = cleaned;
        }
        // Returning the cleaned text as acceptable, rather than refusing the
        // change, keeps the box's own validity bookkeeping from ever giving up.
        return Acceptable;
    }

private:
    QString accepted_;
};

} // namespace

frmTIMER::frmTIMER(Settings &settings, Messenger &messenger, QWidget *parent)
    : QDialog(parent), settings_(settings), messenger_(messenger)
{
    setWindowTitle(QStringLiteral("Настройка"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(219, 137);
    // The drawn captions, the box and the list share this font.
    setFont(Fonts::Make(12));

    const QFont buttonFont = Fonts::Make(9.75);
    auto place = [](QWidget *widget, const char *name, int x, int y, int w, int h) {
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(x, y, w, h);
    };

    // Created in the order the Tab key should visit them.
    Text1 = new QLineEdit(this);
    place(Text1, "Text1", 160, 14, 49, 28);
    Text1->setText(Loto::NomerText(settings_.MaxHod).right(MaxHodLength));
    // Installed after the text is in, so the sign space counts as already there.
    Text1->setValidator(new MaxHodGuard(Text1));
    Text1->installEventFilter(this);
    // The captions are drawn, so the boxes are named for screen readers here.
    Text1->setAccessibleName(MaxHodCaption.chopped(1));

    Combo1 = new QComboBox(this);
    place(Combo1, "Combo1", 80, 53, 129, 28);
    Combo1->setEditable(false);
    for (const QString &name : IntervalNames)
        Combo1->addItem(name);
    Combo1->setCurrentIndex(IndexOfInterval(settings_.interval));
    // A list box is named by a label that is its buddy; the caption is drawn,
    // so an unseen label names it for screen readers.
    auto *timerLabel = new QLabel(TimerCaption, this);
    timerLabel->setBuddy(Combo1);
    timerLabel->hide();
    // A closed list leaves Esc to the dialog, which closes as "Отмена" does;
    // an open one only folds up.

    OK = new QPushButton(QStringLiteral("OK"), this);
    place(OK, "OK", 40, 96, 81, 33);
    OK->setFont(buttonFont);
    OK->setDefault(true);

    No = new QPushButton(QStringLiteral("Отмена"), this);
    place(No, "No", 128, 96, 81, 33);
    No->setFont(buttonFont);

    connect(OK, &QPushButton::clicked, this, &frmTIMER::Confirm);
    connect(No, &QPushButton::clicked, this, &QDialog::reject);

    // Takes effect when the dialog becomes active.
    zoom_ = Zoom::Dialog(this);
    Text1->setFocus();
}

void frmTIMER::Run(Settings &settings, Messenger &messenger, QWidget *parent)
{
    frmTIMER dialog(settings, messenger, parent);
    dialog.exec();
}

int frmTIMER::IntervalOfIndex(int index)
{
    index = std::clamp(index, 0, LastIntervalIndex);
    return index <= 1 ? 100 + 400 * index : 1000 * (index - 1);
}

int frmTIMER::IndexOfInterval(qint32 interval)
{
    if (interval == 500)
        return 1;
    const qint32 seconds = interval / 1000;
    if (seconds <= 0)
        return 0;
    return std::min(seconds + 1, LastIntervalIndex);
}

bool frmTIMER::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress)
        return FilterMaxHodKey(*static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

bool frmTIMER::FilterMaxHodKey(const QKeyEvent &key)
{
    switch (key.key()) {
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Backspace:
        return false;
    default:
        break;
    }
    // Shortcuts such as Ctrl+V type nothing themselves; what they paste still
    // passes the box's guard.
    if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    // Enter, Tab, arrows, Home, End and Delete carry no printable text.
    const QString text = key.text();
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); }))
        return false;
    if (!std::all_of(text.begin(), text.end(), IsLatinDigit))
        return true;
    // A selection is replaced by what is typed, so it does not count as taken room.
    const qsizetype staying = Text1->text().size() - Text1->selectedText().size();
    return staying + text.size() > MaxHodLength;
}

void frmTIMER::Confirm()
{
    const qint32 maxHod = LeadingNumber(Text1->text());
    if (maxHod < LowestMaxHod || maxHod > HighestMaxHod) {
        messenger_.Tell(QStringLiteral("Максимум ходов должно быть\nболее 80, но менее 90"), MsgIcon::Error,
                        Titles::App);
        return;
    }
    settings_.MaxHod = maxHod;
    settings_.interval = IntervalOfIndex(Combo1->currentIndex());
    accept();
}

void frmTIMER::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    // The points given are the top-left corners of the text, not its baseline.
    const int ascent = QFontMetrics(font()).ascent();
    // At a larger print size the captions stand where their places grew to, in the larger type.
    painter.drawText(Zoom::Placed(MaxHodCaptionAt, zoom_) + QPoint(0, ascent), MaxHodCaption);
    painter.drawText(Zoom::Placed(TimerCaptionAt, zoom_) + QPoint(0, ascent), TimerCaption);
}
