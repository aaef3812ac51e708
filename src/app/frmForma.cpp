#include "app/frmForma.h"

#include "app/PoleBoard.h"
#include "app/ZhurnalKeeper.h"
#include "controls/AccessibleCells.h"
#include "controls/Announcer.h"
#include "controls/AppIcon.h"
#include "controls/ClickLabel.h"
#include "controls/Contrast.h"
#include "controls/Fonts.h"
#include "controls/InfoStrip.h"
#include "controls/ListBilet.h"
#include "controls/MenuKeys.h"
#include "controls/NikaList.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"
#include "controls/WrapButton.h"
#include "controls/Zoom.h"
#include "core/LotoRules.h"
#include "io/DeskSettings.h"
#include "io/SaveINIM.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <random>

namespace
{

// Sizes of the window's three typefaces, in points.
constexpr double kWindowPt = 18;
constexpr double kLabelPt = 13.5;
constexpr double kSmallPt = 8.25;

// The tour label's colour before any game: red 255, green 128, blue 128.
constexpr quint32 kTurStartColor = 0x8080FF;

template <typename W> W *Place(W *w, const char *name, int x, int y, int width, int height, double pt)
{
    w->setObjectName(QLatin1String(name));
    w->setGeometry(x, y, width, height);
    // The small captions are plain, as their width needs; the rest is bold.
    w->setFont(Fonts::Make(pt, pt > kSmallPt));
    return w;
}

} // namespace

frmForma::frmForma(ProgramState &state, Messenger &messenger, const QString &workFolder, QWidget *parent)
    : QMainWindow(parent), entry(state.NomerColor), state_(state), messenger_(messenger),
      files_(state, messenger, workFolder)
{
    setObjectName(QStringLiteral("frmForma"));
    setWindowTitle(Titles::Window);
    InstallAccessibleCells();
    setWindowIcon(AppIcon());

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    client->setFont(Fonts::Make(kWindowPt));
    setCentralWidget(MakeZoomArea(client));
    CreateControls(client);
    CreateMenus();
    // A ticket or draw file dropped on the window opens.
    setAcceptDrops(true);
    ExposeCells();
    // What the view leaves to the window comes back here (a base only the window itself reaches).
    FormaView::Window &rest = *this;
    gameView_ = std::make_unique<FormaView>(Ui(), *this, rest);
    igra_ = std::make_unique<GameEngine>(state_, *gameView_, messenger_);
    // One generator for the simulator, seeded once per run.
    igra_->random.seed(std::random_device{}());
    stripFacts_ = std::make_unique<StripFacts>(state_.store);
    igra_->Listen(*stripFacts_);
    zhurnal_ = std::make_unique<ZhurnalKeeper>(state_, *igra_, files_, messenger_, [this] { UpdateStrip(); });
    announcer_ = new Announcer(client);
    readerFacts_ = std::make_unique<ReaderFacts>(state_.store, state_.stats,
                                                 [this](const QString &text) { announcer_->Say(text); });
    igra_->Listen(*readerFacts_);
    Connect();
    // The window opens at the size of its controls and menu, at the print size
    // last chosen; the menu's height is known once the desktop's style is applied.
    ensurePolished();
    menuHeight_ = menuBar()->sizeHint().height();
    resize(kClientWidth, kClientHeight + menuHeight_);
    layout()->activate();
    zoomChosen_ = Zoom::Step(DeskSettings::Zoom());
    if (zoomChosen_ != Zoom::kNormal)
        ShowZoom(zoomChosen_);
}

frmForma::~frmForma() = default;

void frmForma::CreateControls(QWidget *client)
{
    // The advertisement panel's place carries the information strip.
    usrReklamaX1 = new InfoStrip(client);
    usrReklamaX1->setObjectName(QStringLiteral("usrReklamaX1"));
    usrReklamaX1->setGeometry(0, 0, 633, 73);

    PolePic = Place(new Surface(client), "PolePic", 4, 80, 316, 341, kWindowPt);
    PolePic->SetBackColor(VbColor::ToQColor(VbColor::ButtonFace));
    PolePic->SetForeColor(VbColor::ToQColor(VbColor::ButtonText));
    PolePic->SetSurfaceSize(316, 341);
    PolePic->setEnabled(false);
    board_ = new PoleBoard(*PolePic, this);
    // In a check a drawn number is neither framed nor chosen again.
    board_->SetChoosable([this](int n) {
        return state_.RegimState != Rezhim::Proverka || !IsDrawn(state_.NomerColor[std::size_t(n)]);
    });

    Label1 = Place(new QLabel(QStringLiteral("Номера билетов и статистика"), client), "Label1", 336, 80, 0, 0,
                   kSmallPt);
    Label1->adjustSize();
    Label1->setProperty("sizedToText", true);

    ListBilet1 = new ListBilet(state_, client);
    ListBilet1->setGeometry(336, 96, 169, 154);

    Tur = Place(new ClickLabel(QStringLiteral(" Тур-1"), client), "Tur", 512, 80, 105, 33, kWindowPt);
    Tur->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Tur->setAutoFillBackground(true);
    {
        QPalette pal = Tur->palette();
        pal.setColor(QPalette::Window, VbColor::ToQColor(kTurStartColor));
        Tur->setPalette(pal);
        Contrast::MakeReadable(Tur, QPalette::WindowText, QPalette::Window);
    }

    Label3 =
        Place(new QLabel(QStringLiteral("Выигрывший билет"), client), "Label3", 512, 120, 105, 17, kSmallPt);

    NIKA = Place(new NikaList(state_.store, client), "NIKA", 512, 136, 113, 108, kSmallPt);

    kBiletGotov = Place(new WrapButton(QStringLiteral("Билет готов"), client), "kBiletGotov", 512, 152, 113,
                        65, kWindowPt);
    kBiletGotov->hide();
    kBiletGotov->setEnabled(false);
    // Enter on the focused button stores the ticket, so a ticket can be keyed in
    // from the keyboard alone.
    kBiletGotov->setAutoDefault(true);

    Label2_0 =
        Place(new QLabel(QStringLiteral("Билет номер:"), client), "Label2_0", 336, 264, 137, 25, kLabelPt);
    NOMBILETlbl = Place(new QLabel(client), "NOMBILETlbl", 472, 264, 0, 0, kLabelPt);
    SetLabel(NOMBILETlbl, QString());

    Nombilet = Place(new QLineEdit(client), "Nombilet", 480, 262, 145, 32, kLabelPt);
    // Typed or pasted, a ticket number stays within what the list shows and a
    // ticket file holds.
    Nombilet->setMaxLength(Loto::kNomerMaxLength);
    Nombilet->hide();

    BiletPic = Place(new Surface(client), "BiletPic", 336, 306, 289, 198, kLabelPt);
    BiletPic->SetBackColor(VbColor::ToQColor(VbColor::HighlightText));
    BiletPic->SetForeColor(VbColor::ToQColor(VbColor::ButtonText));
    BiletPic->SetSurfaceSize(289, 198);
    BiletPic->setEnabled(false);
    card_ = new BiletCard(*BiletPic, this);

    Label2_1 =
        Place(new QLabel(QStringLiteral("Номер  хода:"), client), "Label2_1", 8, 432, 137, 25, kLabelPt);
    NHOD = Place(new QLabel(QStringLiteral(" 0"), client), "NHOD", 144, 432, 33, 25, kLabelPt);

    Knopka = Place(new ClickLabel(client), "Knopka", 232, 432, 81, 33, kLabelPt);
    Knopka->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Knopka->hide();

    VVEDNOM = Place(new QLabel(client), "VVEDNOM", 8, 472, 0, 0, kLabelPt);
    SetLabel(VVEDNOM, QString());
    // The undrawn numbers at the end of a game can run past the card; the card
    // stays on top and the whole list is in the label's tooltip.
    BiletPic->raise();

    VVOD1 = Place(new QLineEdit(client), "VVOD1", 192, 469, 49, 32, kLabelPt);
    // Two digits at most when typed or pasted; a replay still shows " 61" here.
    VVOD1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), VVOD1));
    VVOD1->hide();
    VVOD1->setEnabled(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    ApplySettings();
}

void frmForma::Connect()
{
    // Boxes and lists are named by their labels (for screen readers), and Tab
    // goes through them in the order they are used.
    VVEDNOM->setBuddy(VVOD1);
    Label2_0->setBuddy(Nombilet);
    Label3->setBuddy(NIKA);
    Label1->setBuddy(ListBilet1);
    ListBilet1->setAccessibleName(QStringLiteral("Номера билетов и статистика"));
    NIKA->setAccessibleName(QStringLiteral("Выигрывший билет"));
    PolePic->setAccessibleName(QStringLiteral("Поле номеров"));
    BiletPic->setAccessibleName(QStringLiteral("Билет"));
    setTabOrder(Nombilet, VVOD1);
    setTabOrder(VVOD1, kBiletGotov);
    setTabOrder(kBiletGotov, ListBilet1);
    setTabOrder(ListBilet1, NIKA);
    connect(board_, &PoleBoard::Chosen, this, [this](int n) { PoleChosen(n); });
    connect(card_, &BiletCard::Clicked, this,
            [this](int stroka, int column) { BiletPic_Click(stroka, column); });
    connect(Nombilet, &QLineEdit::textChanged, this, [this] { Nombilet_Change(); });
    Nombilet->installEventFilter(this);
    VVOD1->installEventFilter(this);
    connect(kBiletGotov, &QPushButton::clicked, this, [this] { kBiletGotov_Click(); });
    connect(ListBilet1, &ListBilet::DblClick, this, [this] { ListBilet1_DblClick(); });
    connect(File, &QMenu::aboutToShow, this, [this] { UpdateFileMenu(); });
    connect(Regim, &QMenu::aboutToShow, this, [this] { RegimPovtor->setEnabled(igra_->PovtorAvailable()); });
    // A command's key works where its menu item could be chosen.
    const auto whenRegim = [this](void (frmForma::*command)()) {
        return [this, command] {
            if (Regim->menuAction()->isEnabled())
                (this->*command)();
        };
    };
    connect(RegimProverka, &QAction::triggered, this, whenRegim(&frmForma::RegimProverka_Click));
    connect(RegimPovtor, &QAction::triggered, this, [this] {
        if (Regim->menuAction()->isEnabled() && igra_->PovtorAvailable())
            RegimPovtor_Click();
    });
    connect(RegimImitator, &QAction::triggered, this, whenRegim(&frmForma::RegimImitator_Click));
    connect(RegimTimer, &QAction::triggered, this, whenRegim(&frmForma::RegimTimer_Click));
    connect(RegimUndo, &QAction::triggered, this, [this] { RegimUndo_Click(); });
    connect(RegimKnopka, &QAction::triggered, this, [this] {
        if (Regim->menuAction()->isEnabled())
            igra_->Knopka_Click();
    });
    connect(RegimNextTur, &QAction::triggered, this, [this] {
        if (Regim->menuAction()->isEnabled())
            igra_->Tur_Click();
    });
    connect(HelpAbout, &QAction::triggered, this, [this] { HelpAbout_Click(); });
    connect(HelpCallHelp, &QAction::triggered, this, [this] { HelpCallHelp_Click(); });
    connect(RegimPrizPoNomeru, &QAction::triggered, this, whenRegim(&frmForma::RegimPrizPoNomeru_Click));
    connect(Tur, &ClickLabel::Clicked, this, [this] { igra_->Tur_Click(); });
    connect(Knopka, &ClickLabel::Clicked, this, [this] { igra_->Knopka_Click(); });
    connect(Timer1, &QTimer::timeout, this, [this] { igra_->Timer1_Timer(); });
    connect(NIKA, &NikaList::LineChosen, this, [this] { NIKA_DblClick(); });
    NIKA->installEventFilter(this);
    ListBilet1->Picture()->installEventFilter(this);
    // A menu closed with Esc leaves the keyboard in the menu bar, where the next
    // called number would open a menu and pick from it.
    for (QMenu *menu : {File, Regim, View, Help})
        connect(menu, &QMenu::aboutToHide, this, [this] {
            QTimer::singleShot(0, this, [this] {
                if (!QApplication::activePopupWidget())
                    RefocusVVOD1();
            });
        });
    connect(FileNewBilet, &QAction::triggered, this, [this] { FileNewBilet_Click(); });
    connect(FileOpen, &QAction::triggered, this, [this] { FileOpen_Click(); });
    connect(FilePhoto, &QAction::triggered, this, [this] { FilePhoto_Click(); });
    // The photo's window has the keys of its buttons too, wherever the keyboard is.
    photoSkip_ = new QAction(QStringLiteral("Следующий билет со снимка"), this);
    photoSkip_->setObjectName(QStringLiteral("PhotoSkip"));
    photoSkip_->setShortcut(QKeySequence(Qt::Key_F9));
    photoStop_ = new QAction(QStringLiteral("Закончить ввод со снимков"), this);
    photoStop_->setObjectName(QStringLiteral("PhotoStop"));
    photoStop_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9));
    photoMissed_ = new QAction(QStringLiteral("Пропущен билет на снимке"), this);
    photoMissed_->setObjectName(QStringLiteral("PhotoMissed"));
    photoMissed_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F9));
    for (QAction *a : {photoSkip_, photoStop_, photoMissed_}) {
        a->setShortcutContext(Qt::ApplicationShortcut);
        a->setEnabled(false);
        addAction(a);
    }
    connect(photoSkip_, &QAction::triggered, this, [this] { PhotoNext(); });
    connect(photoMissed_, &QAction::triggered, this, [this] { PhotoMissed(); });
    connect(photoStop_, &QAction::triggered, this,
            [this] { PhotoStop(QStringLiteral("Ввод со снимков закончен")); });
    connect(FileSaveBilet, &QAction::triggered, this, [this] { FileSaveBilet_Click(); });
    connect(FileSaveBiletAs, &QAction::triggered, this, [this] { FileSaveBiletAs_Click(); });
    connect(FileOpenTirag, &QAction::triggered, this, [this] { FileOpenTirag_Click(); });
    connect(FileRezultat, &QAction::triggered, this, [this] { FileRezultat_Click(); });
    // A published result is checked whenever a recorded draw could be.
    connect(FileOpenTirag, &QAction::enabledChanged, FileRezultat, &QAction::setEnabled);
    connect(FileSaveTiragAs, &QAction::triggered, this, [this] { FileSaveTiragAs_Click(); });
    connect(FileOtchet, &QAction::triggered, this, [this] { FileOtchet_Click(); });
    connect(RegimAddBliet, &QAction::triggered, this, whenRegim(&frmForma::RegimAddBliet_Click));
    connect(FileExit, &QAction::triggered, this, &QWidget::close);
}

bool frmForma::eventFilter(QObject *watched, QEvent *event)
{
    // The entry boxes would take Ctrl+Z as their own undo; here it takes back
    // a number or a change to the card.
    if (event->type() == QEvent::ShortcutOverride && (watched == VVOD1 || watched == Nombilet) &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Undo)) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == VVOD1)
            return VVOD1_KeyPress(key);
        if (watched == Nombilet)
            return Nombilet_KeyPress(key);
        if (watched == NIKA && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            NIKA_DblClick();
            return true;
        }
        if (watched == ListBilet1->Picture() && key->key() == Qt::Key_Delete)
            return DeleteBilet();
        if (watched == NIKA || watched == ListBilet1->Picture())
            return ForwardDigit(key);
    }
    // A middle click pastes the selection: its numbers go onto the card.
    if (watched == VVOD1 && state_.RegimState == Rezhim::Zagruzka &&
        (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonPress) &&
        static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton) {
        if (event->type() == QEvent::MouseButtonRelease)
            PasteNomera(QGuiApplication::clipboard()->text(QClipboard::Selection));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmForma::ExposeCells()
{
    const auto drawn = [this](int n) {
        return state_.RegimState != Rezhim::Zagruzka && state_.TiragNomera.HodCount() > 0 &&
               IsDrawn(state_.NomerColor[std::size_t(n)]);
    };
    // Where a cell stands at the window's print size, from its place at 100 %.
    const auto zoomed = [this](int x, int y, int w, int h) {
        const int z = ZoomPercent();
        return QRect(Zoom::Scaled(x, z), Zoom::Scaled(y, z), Zoom::Scaled(w, z), Zoom::Scaled(h, z));
    };
    // The board: each number with what it is now.
    SetAccessibleCells(PolePic, {[] { return Loto::kMaxNomer; },
                                 [this, drawn](int i) {
                                     const int n = i + 1;
                                     QString text = QString::number(n);
                                     if (state_.RegimState == Rezhim::Zagruzka && entry.OnCard(n))
                                         text += QStringLiteral(", на билете");
                                     else if (drawn(n))
                                         text += QStringLiteral(", выпал");
                                     else if (igra_->Highlighted(n))
                                         text += QStringLiteral(", ожидается");
                                     return text;
                                 },
                                 [zoomed](int i) { return zoomed(35 * (i / 10), 34 * (i % 10), 35, 34); }});
    // The card: its ticket number, then its rows, drawn numbers marked.
    SetAccessibleCells(
        BiletPic,
        {[] { return 1 + Loto::kStroki; },
         [this, drawn](int i) {
             const BiletStore &store = state_.store;
             const bool keying = state_.RegimState == Rezhim::Zagruzka;
             if (i == 0)
                 return QStringLiteral("Билет номер ") + (keying ? Nombilet->text() : NOMBILETlbl->text());
             const int r = i - 1;
             QStringList numbers;
             for (int c = 0; c < Loto::kColumns; ++c) {
                 qint32 n = 0;
                 if (keying) {
                     n = entry.Kletka(r, c);
                 } else if (store.CurBilet() >= 0 && std::size_t(store.CurBilet()) < store.Bilety().size()) {
                     const BILETCls &bilet = store.Bilet(store.CurBilet());
                     for (int k = r * 5; k < r * 5 + 5; ++k)
                         if (bilet.NomeraList(k) != 0 && Loto::ColumnOfNomer(bilet.NomeraList(k)) == c)
                             n = bilet.NomeraList(k);
                 }
                 if (n != 0)
                     numbers << QString::number(n) + (drawn(n) ? QStringLiteral(" (выпал)") : QString());
             }
             return QStringLiteral("Строка %1: ").arg(i) + numbers.join(QStringLiteral(", "));
         },
         [zoomed](int i) {
             if (i == 0)
                 return zoomed(0, 0, 289, 198);
             const int r = i - 1;
             return zoomed(0, 31 * r + (r >= 3 ? 11 : 0), 289, 31);
         },
         // Closed to clicks during a game, the card is still read while it shows a ticket.
         [this] {
             const BiletStore &store = state_.store;
             return state_.RegimState == Rezhim::Zagruzka ||
                    (store.CurBilet() >= 0 && store.CurBilet() < store.BiletCount());
         }});
    // The list: each ticket with its statistics.
    SetAccessibleCells(ListBilet1,
                       {[this] { return state_.store.BiletCount(); },
                        [this](int i) {
                            const ListBilet::RowView row = ListBilet1->Row(i);
                            QString text = state_.store.Bilet(i).Nomer;
                            if (row.count)
                                text += QStringLiteral(": совпадений %1").arg(*row.count);
                            if (row.awaited)
                                text += QStringLiteral(", ждёт %1").arg(*row.awaited);
                            if (row.lider)
                                text += QStringLiteral(", лидер");
                            return text;
                        },
                        [this](int i) {
                            const int z = ZoomPercent();
                            const int row = Zoom::Scaled(ListBilet::kRowHeight, z);
                            return QRect(0, (i - ListBilet1->ScrollValue()) * row, ListBilet1->width(), row);
                        },
                        {},
                        [this] { return state_.store.BiletCount() > 0 ? ListBilet1->ListIndex() : -1; }});
}

void frmForma::RefocusVVOD1()
{
    if (state_.RegimState == Rezhim::Proverka && VVOD1->isEnabled() && VVOD1->isVisible())
        VVOD1->setFocus();
}

bool frmForma::ForwardDigit(QKeyEvent *event)
{
    const QString typed = event->text();
    if (!Loto::IsDigitKey(typed) || state_.RegimState != Rezhim::Proverka || !VVOD1->isEnabled() ||
        !VVOD1->isVisible())
        return false;
    VVOD1->setFocus();
    QKeyEvent copy(QEvent::KeyPress, event->key(), event->modifiers(), typed);
    QCoreApplication::sendEvent(VVOD1, &copy);
    return true;
}

QWidget *frmForma::TypeThroughTarget() const
{
    if (state_.RegimState == Rezhim::Proverka && VVOD1->isEnabled() && VVOD1->isVisible())
        return VVOD1;
    return nullptr;
}

void frmForma::CreateMenus()
{
    auto item = [this](QMenu *menu, const char *name, const QString &caption, bool enabled,
                       const QKeySequence &shortcut = {}) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(shortcut);
        a->setEnabled(enabled);
        return a;
    };

    File = menuBar()->addMenu(QStringLiteral("&Файл"));
    File->setObjectName(QStringLiteral("File"));
    FileNewBilet =
        item(File, "FileNewBilet", QStringLiteral("&Создать"), true, QKeySequence(Qt::CTRL | Qt::Key_N));
    FileOpen =
        item(File, "FileOpen", QStringLiteral("&Открыть билеты"), true, QKeySequence(Qt::CTRL | Qt::Key_O));
    FilePhoto = item(File, "FilePhoto", QStringLiteral("&Билеты со снимка…"), true,
                     QKeySequence(Qt::CTRL | Qt::Key_I));
    FileSaveBilet = item(File, "FileSaveBilet", QStringLiteral("Со&хранить билет"), false,
                         QKeySequence(Qt::CTRL | Qt::Key_S));
    FileSaveBiletAs = item(File, "FileSaveBiletAs", QStringLiteral("Сохранить &как.."), false);
    File->addSeparator()->setObjectName(QStringLiteral("FileSep1"));
    FileOpenTirag = item(File, "FileOpenTirag", QStringLiteral("Открыть &тираж"), false);
    FileRezultat = item(File, "FileRezultat", QStringLiteral("&Результаты тиража…"), false,
                        QKeySequence(Qt::CTRL | Qt::Key_R));
    FileSaveTiragAs = item(File, "FileSaveTiragAs", QStringLiteral("Сохранить т&ираж как..."), false);
    FileOtchet =
        item(File, "FileOtchet", QStringLiteral("Отч&ёт…"), false, QKeySequence(Qt::CTRL | Qt::Key_P));
    FileRecent = File->addMenu(QStringLiteral("&Недавние файлы"));
    FileRecent->setObjectName(QStringLiteral("FileRecent"));
    connect(FileRecent, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
    File->addSeparator()->setObjectName(QStringLiteral("FileSep2"));
    FileExit = item(File, "FileExit", QStringLiteral("В&ыход"), true);

    Regim = menuBar()->addMenu(QStringLiteral("&Режим"));
    Regim->setObjectName(QStringLiteral("Regim"));
    // Keys that typing numbers cannot hit: the menu's commands get the function keys.
    RegimAddBliet =
        item(Regim, "RegimAddBliet", QStringLiteral("&Добавить билеты"), false, QKeySequence(Qt::Key_F8));
    Regim->addSeparator()->setObjectName(QStringLiteral("RegimSep1"));
    RegimProverka = item(Regim, "RegimProverka", QStringLiteral("&Проверка"), true, QKeySequence(Qt::Key_F2));
    RegimPrizPoNomeru = item(Regim, "RegimPrizPoNomeru", QStringLiteral("При&з по номеру билета"), true,
                             QKeySequence(Qt::Key_F6));
    Regim->addSeparator()->setObjectName(QStringLiteral("RegimSep2"));
    RegimTimer = item(Regim, "RegimTimer", QStringLiteral("&Настройка"), true, QKeySequence(Qt::Key_F7));
    RegimPovtor = item(Regim, "RegimPovtor", QStringLiteral("П&овтор"), true, QKeySequence(Qt::Key_F3));
    RegimImitator = item(Regim, "RegimImitator", QStringLiteral("&Имитатор"), true, QKeySequence(Qt::Key_F4));
    Regim->addSeparator()->setObjectName(QStringLiteral("RegimSep3"));
    RegimUndo =
        item(Regim, "RegimUndo", QStringLiteral("Отм&енить"), false, QKeySequence(Qt::CTRL | Qt::Key_Z));
    RegimKnopka =
        item(Regim, "RegimKnopka", QStringLiteral("&Конец игры"), false, QKeySequence(Qt::CTRL | Qt::Key_K));
    RegimNextTur = item(Regim, "RegimNextTur", QStringLiteral("Следующий т&ур"), false,
                        QKeySequence(Qt::CTRL | Qt::Key_T));
    // Ctrl+Z also takes back a change to the card, while the menu is closed to ticket entry.
    addAction(RegimUndo);
    // Nothing to check until a ticket file is opened.
    Regim->menuAction()->setEnabled(false);

    CreateViewMenu();
    menuBar()->addMenu(View);
    UpdateViewMenu();

    Help = menuBar()->addMenu(QStringLiteral("&Справка"));
    Help->setObjectName(QStringLiteral("Help"));
    HelpCallHelp =
        item(Help, "HelpCallHelp", QStringLiteral("&Вызов справки"), true, QKeySequence(Qt::Key_F1));
    HelpAbout = item(Help, "HelpAbout", QStringLiteral("О про&грамме"), true);
    // Alt and the key of a menu's letter open it whatever the keyboard layout; F10 the first.
    new MenuKeys(menuBar());
}

void frmForma::SetLabel(QLabel *label, const QString &caption)
{
    label->setText(caption);
    label->adjustSize();
    label->setProperty("sizedToText", true);
}

void frmForma::ApplySettings()
{
    // A zero or negative pace from a hand-edited file would spin the timer.
    Timer1->setInterval(std::max<qint32>(1, state_.settings.interval));
}

int frmForma::SaveINIM()
{
    return ::SaveINIM(messenger_, files_.Folder(), state_.settings);
}

bool frmForma::event(QEvent *event)
{
    // A dialog or box over the window has closed: the window takes the
    // keyboard back, its keys with it, even where no window manager hands it back.
    if (event->type() == QEvent::WindowUnblocked)
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !QApplication::activeModalWidget())
                activateWindow();
        });
    return QMainWindow::event(event);
}

void frmForma::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void frmForma::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    const QString path = urls.first().toLocalFile();
    // The drop ends before the file's questions and messages come.
    QTimer::singleShot(0, this, [this, path] { OpenPath(path); });
}

void frmForma::closeEvent(QCloseEvent *event)
{
    // Tickets not in a file are asked about instead of "Закрыть программу?".
    if (state_.store.Unsaved() && state_.store.BiletCount() > 0) {
        if (!MaySaveBilety()) {
            event->ignore();
            return;
        }
        // Not saved on purpose: nothing is left to restore at the next start.
        if (state_.RegimState == Rezhim::Zagruzka)
            zhurnal_->Remove();
        WriteINIM(messenger_, files_.Folder(), state_.settings);
        event->accept();
        return;
    }
    if (SaveINIM() == 1) {
        event->ignore();
        return;
    }
    event->accept();
}
