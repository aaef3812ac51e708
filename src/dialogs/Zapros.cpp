#include "dialogs/Zapros.h"

#include "controls/DoubtMark.h"
#include "controls/Fonts.h"
#include "controls/Zoom.h"
#include "core/LotoRules.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace
{

constexpr int DrawNumberMaxLength = 6;

using Loto::IsLatinDigit;

} // namespace

Zapros::Zapros(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Запрос"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // 16 px free at the sides of the controls, 8 px above and below them.
    setFixedSize(225, 145);

    const QFont captionFont = Fonts::Make(9.75);
    const QFont buttonFont = Fonts::Make(8.25);
    auto place = [](QWidget *widget, const char *name, const QFont &font, int x, int y, int w, int h) {
        widget->setObjectName(QLatin1String(name));
        widget->setFont(font);
        widget->setGeometry(x, y, w, h);
    };

    // Created in the order the Tab key should visit them.
    Option1[0] = new QRadioButton(QStringLiteral("Русское лото"), this);
    place(Option1[0], "Option1_0", captionFont, 16, 8, 193, 25);
    Option1[0]->setChecked(true);
    Option1[1] = new QRadioButton(QStringLiteral("Золотой ключ"), this);
    place(Option1[1], "Option1_1", captionFont, 16, 32, 193, 25);

    Label2 = new QLabel(QStringLiteral("Номер тиража:"), this);
    place(Label2, "Label2", captionFont, 16, 67, 113, 17);

    TxtTIRAG = new QLineEdit(this);
    Label2->setBuddy(TxtTIRAG); // names the box for a screen reader
    place(TxtTIRAG, "TxtTIRAG", captionFont, 152, 64, 57, 24);
    TxtTIRAG->setMaxLength(DrawNumberMaxLength);
    // The key filter stops typed characters; this stops pasted and dropped ones.
    TxtTIRAG->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(DrawNumberMaxLength)), TxtTIRAG));
    TxtTIRAG->installEventFilter(this);

    OK = new QPushButton(QStringLiteral("OK"), this);
    place(OK, "OK", buttonFont, 56, 104, 73, 33);
    OK->setDefault(true);
    OK->setEnabled(false);

    kNO = new QPushButton(QStringLiteral("Отмена"), this);
    place(kNO, "kNO", buttonFont, 144, 104, 65, 33);

    connect(TxtTIRAG, &QLineEdit::textChanged, this,
            [this](const QString &text) { OK->setEnabled(!text.isEmpty()); });
    connect(OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(kNO, &QPushButton::clicked, this, &QDialog::reject);

    Zoom::Dialog(this);

    // Takes effect when the dialog becomes active.
    TxtTIRAG->setFocus();
}

std::optional<std::pair<const Loto::Kind *, QString>> Zapros::Ask(QWidget *parent, const QString &drawNumber,
                                                                  bool drawNumberDoubtful)
{
    Zapros dialog(parent);
    // Offered selected: a number read wrongly is typed over at once.
    int at = 0;
    QString offered = drawNumber;
    if (dialog.TxtTIRAG->validator()->validate(offered, at) == QValidator::Acceptable) {
        dialog.TxtTIRAG->setText(offered);
        dialog.TxtTIRAG->selectAll();
        if (drawNumberDoubtful)
            dialog.MarkDrawNumberDoubtful();
    }
    dialog.exec();
    return dialog.Choice();
}

void Zapros::MarkDrawNumberDoubtful()
{
    DoubtMark::Set(TxtTIRAG, true);
    const QString note = QStringLiteral("Номер тиража прочитан со снимка неуверенно: сверьте его с билетом");
    TxtTIRAG->setToolTip(note);
    TxtTIRAG->setAccessibleDescription(note);
    // Whatever the user types is his own number.
    connect(TxtTIRAG, &QLineEdit::textEdited, this, [this] {
        DoubtMark::Set(TxtTIRAG, false);
        TxtTIRAG->setToolTip({});
        TxtTIRAG->setAccessibleDescription({});
    });
}

bool Zapros::IsRusLoto() const
{
    return Option1[0]->isChecked();
}

QString Zapros::DrawNumber() const
{
    return TxtTIRAG->text();
}

std::optional<std::pair<const Loto::Kind *, QString>> Zapros::Choice() const
{
    if (result() != QDialog::Accepted)
        return std::nullopt;
    return std::make_pair(IsRusLoto() ? &Loto::RusLoto() : &Loto::ZolotoyKlyuch(), DrawNumber());
}

bool Zapros::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TxtTIRAG && event->type() == QEvent::KeyPress)
        return FilterDrawNumberKey(*static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

bool Zapros::FilterDrawNumberKey(const QKeyEvent &key)
{
    switch (key.key()) {
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter travels on to the dialog, which presses "OK" only while it is enabled.
        return false;
    default:
        break;
    }
    // Shortcuts such as Ctrl+V type nothing themselves; whatever they paste
    // still has to pass the validator.
    if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    // Arrows, Home, End and Delete carry no printable text and may move or edit freely.
    const QString text = key.text();
    for (QChar c : text) {
        if (c.isPrint() && !IsLatinDigit(c))
            return true;
    }
    return false;
}
