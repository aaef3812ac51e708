#include "dialogs/PrizNB.h"

#include "controls/Fonts.h"
#include "controls/Zoom.h"
#include "core/PrizMatch.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace
{

constexpr int XKey = 10;
constexpr int BackKey = 11;

const QString KeypadTitle = QStringLiteral("Набор номера");
const QPoint KeypadTitleAt(8, 8);
const QString NumberTitle = QStringLiteral("Выигрышный номер");
const QPoint NumberTitleAt(8, 168);

// Keys are 33 px squares on a 40 px pitch, two rows of six.
constexpr int KeySide = 33;
constexpr int KeyPitch = 40;
constexpr int KeyLeft = 8;
constexpr int UpperKeyRow = 32;
constexpr int LowerKeyRow = 72;

// Where key 0..11 sits: X and "<" open the upper row, the digits follow it and fill the lower row.
QPoint KeyPlace(int index)
{
    if (index == XKey)
        return {KeyLeft, UpperKeyRow};
    if (index == BackKey)
        return {KeyLeft + KeyPitch, UpperKeyRow};
    if (index <= 3)
        return {KeyLeft + (index + 2) * KeyPitch, UpperKeyRow};
    return {KeyLeft + (index - 4) * KeyPitch, LowerKeyRow};
}

QString KeyCaption(int index)
{
    if (index == XKey)
        return QStringLiteral("X");
    if (index == BackKey)
        return QStringLiteral("<");
    return QString::number(index);
}

// How many code units the character at the start (atEnd false) or at the end
// of text takes, so that "<" never leaves half of a surrogate pair behind.
qsizetype CharWidthAt(const QString &text, bool atEnd)
{
    if (text.size() < 2)
        return text.size();
    const bool pair = atEnd ? text.back().isLowSurrogate() && text[text.size() - 2].isHighSurrogate()
                            : text.front().isHighSurrogate() && text[1].isLowSurrogate();
    return pair ? 2 : 1;
}

} // namespace

PrizNB::PrizNB(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Приз по номеру билета"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // 8 px free around the controls on every side.
    setFixedSize(249, 273);
    // The drawn titles, the keypad and the number box share this font.
    setFont(Fonts::Make(12));

    const QFont smallFont = Fonts::Make(9.75);
    auto place = [](QWidget *widget, const QString &name, int x, int y, int w, int h) {
        widget->setObjectName(name);
        widget->setGeometry(x, y, w, h);
    };

    for (int i = 0; i < static_cast<int>(Knopka.size()); ++i) {
        QPushButton *key = new QPushButton(KeyCaption(i), this);
        const QPoint at = KeyPlace(i);
        place(key, QStringLiteral("Knopka_%1").arg(i), at.x(), at.y(), KeySide, KeySide);
        // Keys never take the focus: it stays in the box, where Enter means "OK".
        key->setFocusPolicy(Qt::NoFocus);
        key->setAutoDefault(false);
        key->installEventFilter(this);
        connect(key, &QPushButton::clicked, this, [this, i] { Knopka_Click(i); });
        // A screen reader says what the two signs do.
        if (i == XKey)
            key->setAccessibleName(QStringLiteral("X, любая цифра"));
        else if (i == BackKey)
            key->setAccessibleName(QStringLiteral("Стереть"));
        Knopka[static_cast<std::size_t>(i)] = key;
    }
    Knopka[BackKey]->setEnabled(false);

    // Created in the order the Tab key should visit them.
    Storona[0] = new QRadioButton(QStringLiteral("Проверка слева"), this);
    place(Storona[0], QStringLiteral("Storona_0"), 8, 112, 161, 20);
    Storona[0]->setFont(smallFont);
    Storona[0]->setChecked(true);
    Storona[1] = new QRadioButton(QStringLiteral("Проверка справа"), this);
    place(Storona[1], QStringLiteral("Storona_1"), 8, 136, 169, 20);
    Storona[1]->setFont(smallFont);

    TxtNB = new QLineEdit(this);
    place(TxtNB, QStringLiteral("TxtNB"), 8, 192, 233, 28);
    TxtNB->installEventFilter(this);
    // The title above the box is drawn, so the box is named for screen readers here.
    TxtNB->setAccessibleName(NumberTitle);

    OK = new QPushButton(QStringLiteral("OK"), this);
    place(OK, QStringLiteral("OK"), 88, 232, 73, 33);
    OK->setFont(smallFont);
    OK->setDefault(true);

    kNo = new QPushButton(QStringLiteral("Отмена"), this);
    place(kNo, QStringLiteral("kNo"), 168, 232, 73, 33);
    kNo->setFont(smallFont);

    connect(OK, &QPushButton::clicked, this, &PrizNB::OK_Click);
    connect(kNo, &QPushButton::clicked, this, &QDialog::reject);

    // Takes effect when the dialog becomes active.
    zoom_ = Zoom::Dialog(this);
    TxtNB->setFocus();
}

QString PrizNB::Ask(QWidget *parent)
{
    PrizNB dialog(parent);
    dialog.exec();
    return dialog.Pattern();
}

QString PrizNB::Pattern() const
{
    return result() == QDialog::Accepted ? TxtNB->text() : QString();
}

bool PrizNB::FromRight() const
{
    return Storona[1]->isChecked();
}

void PrizNB::Knopka_Click(int index)
{
    QString text = TxtNB->text();
    const bool fromRight = FromRight();
    if (index == BackKey) {
        const qsizetype width = CharWidthAt(text, !fromRight);
        text.remove(fromRight ? 0 : text.size() - width, width);
    } else {
        Knopka[BackKey]->setEnabled(true);
        // Switching sides halfway would scramble what is already keyed in.
        for (QRadioButton *side : Storona)
            side->setEnabled(false);
        const QString key = KeyCaption(index);
        text = fromRight ? key + text : text + key;
    }
    TxtNB->setText(text);
}

void PrizNB::OK_Click()
{
    const QString text = TxtNB->text();
    if (text.isEmpty()) {
        reject();
        return;
    }
    // The user sees the number the way it is looked up.
    TxtNB->setText(PrizMatch::Normalised(text));
    accept();
}

bool PrizNB::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    const bool isKeypad = std::find(Knopka.begin(), Knopka.end(), watched) != Knopka.end();
    if ((watched == TxtNB || isKeypad) && key == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (watched == TxtNB && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        OK_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PrizNB::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    // The points given are the top-left corners of the text, not its baseline.
    const int ascent = QFontMetrics(font()).ascent();
    // At a larger print size the titles stand where their places grew to, in the larger type.
    painter.drawText(Zoom::Placed(KeypadTitleAt, zoom_) + QPoint(0, ascent), KeypadTitle);
    painter.drawText(Zoom::Placed(NumberTitleAt, zoom_) + QPoint(0, ascent), NumberTitle);
}
