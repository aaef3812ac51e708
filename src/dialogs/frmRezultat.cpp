#include "dialogs/frmRezultat.h"

#include "controls/Fonts.h"
#include "controls/Zoom.h"
#include "io/FileRead.h"

#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace
{

// A published result is a page of text; anything far larger is not one.
constexpr qint64 kMaxTextBytes = qint64(1) << 20;

QString Understood(const PublishedResult &r)
{
    // The draw, each tour with its numbers in the order drawn, the count, the problems.
    QStringList lines;
    if (!r.tirag.isEmpty())
        lines << QStringLiteral("Тираж %1").arg(r.tirag);
    for (const PublishedTour &tour : r.tours) {
        QStringList numbers;
        for (qint32 n : tour.nomera)
            numbers << QString::number(n);
        lines << QStringLiteral("Тур %1 (%2): %3")
                     .arg(tour.tur)
                     .arg(tour.nomera.size())
                     .arg(numbers.join(QLatin1Char(' ')));
    }
    if (!r.tours.empty())
        lines << QStringLiteral("Всего чисел: %1").arg(r.Count());
    for (const ResultProblem &p : r.problems)
        lines << QStringLiteral("Строка %1: %2.").arg(p.line).arg(p.text);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

frmRezultat::frmRezultat(const QString &setTirag, QWidget *parent) : QDialog(parent), setTirag_(setTirag)
{
    setWindowTitle(QStringLiteral("Результаты тиража"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const QFont font = Fonts::Make(12);
    setFont(font);

    Label1 = new QLabel(
        QStringLiteral(
            "Вставьте результаты тиража со страницы лотереи (Ctrl+V), затем Ctrl+Enter — проверить:"),
        this);
    Label1->setWordWrap(true);
    TxtText = new QPlainTextEdit(this);
    TxtText->setObjectName(QStringLiteral("TxtText"));
    TxtText->setTabChangesFocus(true);
    TxtText->setMinimumSize(560, 260);
    Label1->setBuddy(TxtText);
    TxtText->setAccessibleName(QStringLiteral("Результаты тиража"));
    LblUnderstood = new QLabel(this);
    LblUnderstood->setObjectName(QStringLiteral("LblUnderstood"));
    LblUnderstood->setWordWrap(true);
    LblUnderstood->setTextFormat(Qt::PlainText);
    LblUnderstood->setMinimumHeight(60);
    LblUnderstood->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    kFile = new QPushButton(QStringLiteral("Из файла…"), this);
    kFile->setAutoDefault(false);
    kOK = new QPushButton(QStringLiteral("Проверить"), this);
    kOK->setDefault(true);
    kNO = new QPushButton(QStringLiteral("Отмена"), this);
    kNO->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(kFile);
    buttons->addStretch(1);
    buttons->addWidget(kOK);
    buttons->addWidget(kNO);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(TxtText, 1);
    layout->addWidget(LblUnderstood);
    layout->addLayout(buttons);

    connect(TxtText, &QPlainTextEdit::textChanged, this, &frmRezultat::Reread);
    connect(kFile, &QPushButton::clicked, this, &frmRezultat::FromFile);
    connect(kOK, &QPushButton::clicked, this, [this] {
        if (result_.Playable())
            accept();
    });
    connect(kNO, &QPushButton::clicked, this, &QDialog::reject);
    // Enter makes a new line in the text, so Ctrl+Enter is the dialog's "Проверить".
    for (const QKeySequence &keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto *check = new QShortcut(keys, this);
        connect(check, &QShortcut::activated, kOK, &QPushButton::click);
    }
    resize(760, 600);
    Zoom::Dialog(this);
    Reread();
    TxtText->setFocus();
}

std::optional<PublishedResult> frmRezultat::Ask(const QString &setTirag, QWidget *parent)
{
    frmRezultat dialog(setTirag, parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.Result().Playable())
        return std::nullopt;
    return dialog.Result();
}

frmRezultat::Picker &frmRezultat::PickFile()
{
    static Picker picker = [](QWidget *parent, const QString &caption, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    };
    return picker;
}

void frmRezultat::Reread()
{
    const QString text = TxtText->toPlainText();
    result_ = ResultText::Parse(text, setTirag_);
    kOK->setEnabled(result_.Playable());
    LblUnderstood->setText(text.trimmed().isEmpty() ? QString() : Understood(result_));

    // Each problem is marked where it stands: underlined in red on a pale ground.
    QList<QTextEdit::ExtraSelection> marks;
    for (const ResultProblem &p : result_.problems) {
        if (p.length <= 0)
            continue;
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(TxtText->document());
        mark.cursor.setPosition(static_cast<int>(p.from));
        mark.cursor.setPosition(static_cast<int>(p.from + p.length), QTextCursor::KeepAnchor);
        mark.format.setBackground(QColor(255, 220, 220));
        mark.format.setForeground(Qt::black);
        mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        mark.format.setUnderlineColor(Qt::red);
        marks << mark;
    }
    TxtText->setExtraSelections(marks);
}

void frmRezultat::FromFile()
{
    const QString path =
        PickFile()(this, windowTitle(), QStringLiteral("Текст (*.txt *.csv);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    auto bytes = FileRead::Whole(path, kMaxTextBytes);
    if (const auto *failure = std::get_if<ReadFailure>(&bytes)) {
        LblUnderstood->setText(FileRead::Message(*failure));
        return;
    }
    TxtText->setPlainText(ResultText::Decode(std::get<QByteArray>(bytes)));
}
