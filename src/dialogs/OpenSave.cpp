#include "dialogs/OpenSave.h"

#include "controls/Fonts.h"
#include "controls/Zoom.h"
#include "core/LotoRules.h"
#include "io/DeskSettings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QValidator>

#include <algorithm>
#include <utility>

namespace
{

struct ModeTexts {
    QString caption;
    QString okCaption;
    std::array<QString, 2> patterns; // "Русское лото" files, then "Золотой ключ" files
};

ModeTexts TextsOf(OpenSave::Mode mode)
{
    const QString open = QStringLiteral("Открыть");
    const QString save = QStringLiteral("Сохранить");
    const std::array<QString, 2> ticketFiles{QLatin1Char('*') + Loto::RusLoto().biletExtension,
                                             QLatin1Char('*') + Loto::ZolotoyKlyuch().biletExtension};
    const std::array<QString, 2> drawFiles{QLatin1Char('*') + Loto::RusLoto().tiragExtension,
                                           QLatin1Char('*') + Loto::ZolotoyKlyuch().tiragExtension};
    switch (mode) {
    case OpenSave::OpenBilety:
        break;
    case OpenSave::SaveBilety:
        return {QStringLiteral("Сохранить билеты"), save, ticketFiles};
    case OpenSave::SaveBiletyAs:
        return {QStringLiteral("Сохранить билеты как..."), save, ticketFiles};
    case OpenSave::OpenTirag:
        return {QStringLiteral("Открыть тираж"), open, drawFiles};
    case OpenSave::SaveTiragAs:
        return {QStringLiteral("Сохранить тираж как..."), save, drawFiles};
    }
    return {QStringLiteral("Открыть билеты"), open, ticketFiles};
}

// The characters the name box refuses to type: those a file name on the
// systems our files travel between cannot hold, and the dot, so that a typed
// name never carries an extension of its own.
bool IsRefusedInName(QChar c)
{
    return QStringView(u",.\\/:*?<>|\"").contains(c);
}

// Text that arrives by other ways than typing may also bring control
// characters, which no key types.
bool IsRefusedInArrivingText(QChar c)
{
    return IsRefusedInName(c) || c.category() == QChar::Other_Control;
}

// The last guard before a name reaches a file command: it must name a file
// right in the work folder. A name offered by the window comes from a title
// read out of a file, so it is not trusted to be bare.
bool IsBareFileName(const QString &name)
{
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QChar(u'\0')) && name != QLatin1String(".") && name != QLatin1String("..");
}

// The lists order names by their letters, whatever their case.
class FileNameItem final : public QListWidgetItem
{
public:
    explicit FileNameItem(const QString &name) : QListWidgetItem(name) {}

    bool operator<(const QListWidgetItem &other) const override
    {
        const int byLetters = QString::compare(text(), other.text(), Qt::CaseInsensitive);
        // Names that differ only in case still get one fixed order.
        return byLetters != 0 ? byLetters < 0 : text() < other.text();
    }
};

} // namespace

// Stops pasted, dropped or otherwise inserted text from bringing in what the
// key filter keeps out. Only the stretch an edit has inserted is cleaned, so a
// name that came with a dot keeps it while the user edits around it, and going
// back (undo) to a text the box has already held is always allowed.
class OpenSave::NameCleaner final : public QValidator
{
public:
    explicit NameCleaner(QLineEdit *box) : QValidator(box)
    {
        connect(box, &QLineEdit::textChanged, this, [this](const QString &text) {
            previous_ = text;
            held_.insert(text);
        });
    }

    // Lets the box take this text unchanged.
    void Trust(const QString &text) { held_.insert(text); }

    State validate(QString &input, int &pos) const override
    {
        if (held_.contains(input))
            return Acceptable;

        // An insertion leaves the cursor right after what it inserted, so the
        // common tail is measured from there first; what lies between it and
        // the common head is new. Measuring the tail first keeps a pasted dot
        // from being mistaken for one the name already had next to it.
        const qsizetype shorter = std::min(input.size(), previous_.size());
        qsizetype tail = 0;
        const qsizetype tailLimit = std::clamp<qsizetype>(input.size() - pos, 0, shorter);
        while (tail < tailLimit && input[input.size() - 1 - tail] == previous_[previous_.size() - 1 - tail])
            ++tail;
        qsizetype head = 0;
        while (head < shorter - tail && input[head] == previous_[head])
            ++head;
        const qsizetype insertedEnd = input.size() - tail;

        QString cleaned;
        cleaned.reserve(input.size());
        int cursor = pos;
        for (qsizetype i = 0; i < input.size(); ++i) {
            if (i >= head && i < insertedEnd && IsRefusedInArrivingText(input[i])) {
                if (i < pos)
                    --cursor;
                continue;
            }
            cleaned.append(input[i]);
        }
        input = cleaned;
        pos = cursor;
        return Acceptable;
    }

private:
    QString previous_;
    QSet<QString> held_{QString()};
};

OpenSave::OpenSave(Mode mode, const QString &folder, const Loto::Kind &kind, const QString &initialName,
                   std::function<void(const QString &)> act, QWidget *parent)
    : QDialog(parent), mode_(mode), folder_(folder), kind_(&kind), act_(std::move(act))
{
    const ModeTexts texts = TextsOf(mode_);
    setWindowTitle(texts.caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(521, 356);

    const QFont font = Fonts::Make(12);
    auto place = [&font](QWidget *widget, const char *name, int x, int y, int w, int h) {
        widget->setObjectName(QLatin1String(name));
        widget->setFont(font);
        widget->setGeometry(x, y, w, h);
    };

    Label1 = new QLabel(QStringLiteral("Русское лото:"), this);
    place(Label1, "Label1", 8, 4, 117, 20);
    Label2 = new QLabel(QStringLiteral("Золотой ключ:"), this);
    place(Label2, "Label2", 264, 4, 126, 20);
    Label3 = new QLabel(QStringLiteral("Имя файла:"), this);
    place(Label3, "Label3", 8, 280, 101, 20);

    TxtName = new QLineEdit(this);
    place(TxtName, "TxtName", 112, 280, 401, 28);
    cleaner_ = new NameCleaner(TxtName);
    TxtName->setValidator(cleaner_);
    TxtName->installEventFilter(this);
    // A screen reader names the box by its label.
    Label3->setBuddy(TxtName);

    kOK = new QPushButton(texts.okCaption, this);
    place(kOK, "kOK", 264, 316, 121, 33);
    kOK->setDefault(true);
    kNO = new QPushButton(QStringLiteral("Отмена"), this);
    place(kNO, "kNO", 392, 316, 121, 33);
    kOther = new QPushButton(QStringLiteral("Другая папка…"), this);
    place(kOther, "kOther", 8, 316, 161, 33);
    kOther->setAutoDefault(false);
    kOther->hide();
    connect(kOther, &QPushButton::clicked, this, &OpenSave::OtherFolder);

    List1[0] = new QListWidget(this);
    place(List1[0], "List1_0", 8, 24, 249, 244);
    List1[1] = new QListWidget(this);
    Label1->setBuddy(List1[0]);
    Label2->setBuddy(List1[1]);
    // A list takes no name from its label: screen readers are told it here.
    List1[0]->setAccessibleName(QStringLiteral("Русское лото"));
    List1[1]->setAccessibleName(QStringLiteral("Золотой ключ"));
    place(List1[1], "List1_1", 264, 24, 249, 244);
    for (QListWidget *list : List1) {
        list->setSortingEnabled(true);
        list->installEventFilter(this);
        // A click puts the name into the box even when the item is already
        // selected; moving through a list with the keys does the same.
        connect(list, &QListWidget::itemClicked, this,
                [this](QListWidgetItem *item) { PutName(item->text()); });
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
            const QList<QListWidgetItem *> picked = list->selectedItems();
            if (!picked.isEmpty())
                PutName(picked.first()->text());
        });
        connect(list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
            PutName(item->text());
            Confirm();
        });
    }

    setTabOrder(TxtName, kOK);
    setTabOrder(kOK, kNO);
    setTabOrder(kNO, List1[0]);
    setTabOrder(List1[0], List1[1]);

    // "OK" does not simply accept: an empty name keeps the dialog open.
    connect(kOK, &QPushButton::clicked, this, &OpenSave::Confirm);
    connect(kNO, &QPushButton::clicked, this, &QDialog::reject);

    FillList();
    PutName(initialName);
    Zoom::Dialog(this);
    // Takes effect when the dialog becomes active.
    TxtName->setFocus();
}

void OpenSave::Run(Mode mode, const QString &folder, const Loto::Kind &kind, const QString &initialName,
                   std::function<void(const QString &)> act, QWidget *parent,
                   std::function<void(const QString &)> openPath)
{
    OpenSave dialog(mode, folder, kind, initialName, std::move(act), parent);
    if (openPath)
        dialog.OfferOtherFolder(std::move(openPath));
    dialog.exec();
}

void OpenSave::OfferOtherFolder(std::function<void(const QString &)> openPath)
{
    openPath_ = std::move(openPath);
    const bool opens = mode_ == OpenBilety || mode_ == OpenTirag;
    kOther->setVisible(opens && openPath_);
    if (kOther->isVisible()) {
        setTabOrder(kNO, kOther);
        setTabOrder(kOther, List1[0]);
    }
}

OpenSave::Picker &OpenSave::PickFile()
{
    static Picker picker = [](QWidget *parent, const QString &caption, const QString &dir,
                              const QString &filter) {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    };
    return picker;
}

void OpenSave::OtherFolder()
{
    const bool bilety = mode_ == OpenBilety;
    const QString kinds =
        bilety ? QStringLiteral("Билеты (*%1 *%2)")
                     .arg(Loto::RusLoto().biletExtension, Loto::ZolotoyKlyuch().biletExtension)
               : QStringLiteral("Тиражи (*%1 *%2)")
                     .arg(Loto::RusLoto().tiragExtension, Loto::ZolotoyKlyuch().tiragExtension);
    // The desktop's dialog opens where a file was picked last, while that folder is there.
    const QString last = DeskSettings::LastFolder();
    const QString start = !last.isEmpty() && QFileInfo(last).isDir() ? last : folder_;
    const QString path = PickFile()(this, windowTitle(), start, kinds + QStringLiteral(";;Все файлы (*)"));
    if (path.isEmpty())
        return; // the user gave up there: this dialog stays
    DeskSettings::SetLastFolder(QFileInfo(path).absolutePath());
    accept();
    if (openPath_)
        openPath_(QFileInfo(path).absoluteFilePath());
}

void OpenSave::FillList()
{
    const ModeTexts texts = TextsOf(mode_);
    const QDir dir(folder_);
    for (std::size_t i = 0; i < List1.size(); ++i) {
        List1[i]->clear();
        // Name filters match without regard to case unless asked otherwise, so
        // a file that came as "ТИРАЖ1.RLB" is listed too. Hidden files, folders,
        // links and special files are left out: only ordinary files are offered.
        const QStringList names =
            dir.entryList(QStringList{texts.patterns[i]}, QDir::Files | QDir::NoSymLinks, QDir::NoSort);
        for (const QString &name : names)
            List1[i]->addItem(new FileNameItem(name));
    }
}

void OpenSave::PutName(const QString &name)
{
    cleaner_->Trust(name);
    TxtName->setText(name);
}

QString OpenSave::DefaultExtension() const
{
    switch (mode_) {
    case SaveBilety:
    case SaveBiletyAs:
        return kind_->biletExtension;
    case SaveTiragAs:
        return kind_->tiragExtension;
    case OpenBilety:
    case OpenTirag:
        break;
    }
    return {};
}

void OpenSave::Confirm()
{
    QString name = TxtName->text();
    if (name.isEmpty())
        return;
    if (!name.contains(QLatin1Char('.')))
        name += DefaultExtension();
    if (!IsBareFileName(name))
        return;
    PutName(name);
    if (act_)
        act_(name);
    accept();
}

bool OpenSave::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto &key = *static_cast<QKeyEvent *>(event);
        if (key.key() == Qt::Key_Escape &&
            (watched == TxtName || watched == List1[0] || watched == List1[1])) {
            reject();
            return true;
        }
        if (watched == TxtName)
            return DiscardNameKey(key);
    }
    return QDialog::eventFilter(watched, event);
}

bool OpenSave::DiscardNameKey(const QKeyEvent &key) const
{
    // Shortcuts such as Ctrl+V type nothing themselves; what they paste is
    // cleaned on arrival.
    if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    const QString text = key.text();
    return std::any_of(text.begin(), text.end(), IsRefusedInName);
}
