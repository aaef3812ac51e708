#pragma once
// The main window: the board of 90 numbers, the ticket card, the ticket list,
// the winners list and the entry boxes, with the File, Mode, View and Help menus.
// The window only paints and asks: the rules are the game's (GameEngine), the
// ticket set's (BiletStore), the card's and the typing's (BiletEntry,
// NomerTyping) and the list statistics' (ListStats); the game tells it cells,
// tours and the button's state, and the colours and captions it shows for them
// come from one table (controls/IgraLook.h). The board and the card are
// components that paint what they are told and say what was clicked:
// PoleBoard (the cells, the frame under the pointer, a number chosen) and
// BiletCard (a ticket, the card being keyed in, doubtful cells, a win's frame,
// a cell clicked). Its implementation is split by subject: frmForma.cpp (shell,
// menus, keys, exit), frmForma_Pole.cpp (what the board shows and what a number
// chosen on it does), frmForma_Bilet.cpp (the card and the keying of it),
// frmForma_Zagruzka.cpp (ticket entry), frmForma_File.cpp (the File menu, a
// set read put in place, a journal taken up), frmForma_Game.cpp (the mode
// layouts and the dialogs of the Mode and Help menus; the game's view on the
// labels, lists and menu items is FormaView, which leaves the board and the
// card to the window),
// frmForma_Rezultat.cpp (a published result checked at once), frmForma_Otchet.cpp
// (the report to keep or print), frmForma_Photo.cpp (tickets from photos, with
// the queue PhotoImport and the photo window PhotoPanel), frmForma_Recent.cpp
// (the recent files), frmForma_Zoom.cpp (the print size). Two components own
// their state: FormaFiles the work folder and the reading and writing of ticket
// and draw files with their messages and questions, ZhurnalKeeper the journal,
// what it names and whether it can be written; the window calls them and puts
// in place what they hand back. What the game tells (core/IgraFacts.h) reaches
// the strip, the journal and a screen reader through listeners of their own
// (GameListeners).

#include "app/BiletCard.h"
#include "app/FormaFiles.h"
#include "app/FormaView.h"
#include "app/GameListeners.h"
#include "app/PhotoImport.h"
#include "app/PhotoPanel.h"
#include "controls/IgraLook.h"
#include "core/BiletEntry.h"
#include "core/GameEngine.h"
#include "core/Messenger.h"
#include "core/ProgramState.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

struct BiletFileData;
struct ZhurnalData;
class Announcer;
class ClickLabel;
class ZhurnalKeeper;
class InfoStrip;
class ListBilet;
class NikaList;
class PoleBoard;
class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class Surface;
class ZoomedPlaces;
template <typename T> class QFutureWatcher;

// The main window's controls, by the names the rest of the program uses. The
// window owns them; outside it they are only looked at, through frmForma::Ui().
struct FormaControls {
    InfoStrip *usrReklamaX1 = nullptr; // the information strip along the top
    Surface *PolePic = nullptr;
    QLabel *Label1 = nullptr;
    ListBilet *ListBilet1 = nullptr;
    ClickLabel *Tur = nullptr;
    QLabel *Label3 = nullptr;
    NikaList *NIKA = nullptr;
    QPushButton *kBiletGotov = nullptr;
    QLabel *Label2_0 = nullptr;
    QLabel *NOMBILETlbl = nullptr;
    QLineEdit *Nombilet = nullptr;
    Surface *BiletPic = nullptr;
    QLabel *Label2_1 = nullptr;
    QLabel *NHOD = nullptr;
    ClickLabel *Knopka = nullptr;
    QLabel *VVEDNOM = nullptr;
    QLineEdit *VVOD1 = nullptr;
    QTimer *Timer1 = nullptr;

    QMenu *File = nullptr;
    QAction *FileNewBilet = nullptr;
    QAction *FileOpen = nullptr;
    QAction *FilePhoto = nullptr; // "Билеты со снимка…": tickets read from photos onto the card
    QAction *FileSaveBilet = nullptr;
    QAction *FileSaveBiletAs = nullptr;
    QAction *FileOpenTirag = nullptr;
    QAction *FileRezultat = nullptr; // "Результаты тиража…": a published result checked at once
    QAction *FileSaveTiragAs = nullptr;
    QAction *FileOtchet = nullptr; // "Отчёт…": the game in hand or just ended, to keep or print
    QMenu *FileRecent = nullptr;   // "Недавние файлы": the files opened or saved last
    QAction *FileExit = nullptr;
    QMenu *Regim = nullptr;
    QAction *RegimAddBliet = nullptr;
    QAction *RegimProverka = nullptr;
    QAction *RegimPrizPoNomeru = nullptr;
    QAction *RegimTimer = nullptr;
    QAction *RegimPovtor = nullptr;
    QAction *RegimImitator = nullptr;
    QAction *RegimUndo = nullptr;    // "Отменить"
    QAction *RegimKnopka = nullptr;  // what Knopka does: end, pause or go on
    QAction *RegimNextTur = nullptr; // what a click on the tour label does
    QMenu *View = nullptr;           // "Вид": the print size of the window
    QAction *ViewLarger = nullptr;
    QAction *ViewSmaller = nullptr;
    QAction *ViewNormal = nullptr;
    QMenu *Help = nullptr;
    QAction *HelpCallHelp = nullptr;
    QAction *HelpAbout = nullptr;
};

class frmForma : public QMainWindow, private FormaView::Window, private FormaControls
{
    Q_OBJECT
public:
    // The window works on the program's state, asks and tells through the
    // messenger, and keeps its files in the work folder.
    frmForma(ProgramState &state, Messenger &messenger, const QString &workFolder, QWidget *parent = nullptr);
    ~frmForma() override;

    // Paints the whole board empty: grid and the 90 numbers.
    void ClearPole() override;
    // Paints the empty ticket card: two fields and the band between them.
    void BiletClear();
    // Shows ticket CurBilet on the card, drawn numbers in their colours.
    void Bilet();
    // Starts keying in a new ticket: empty board and card, focus on its number.
    void BiletNew();
    // Puts number n on the card being keyed in, or takes it off.
    void NomerToggle(int n, bool typed = false);
    // Sets the window's layout for the current mode and empties the game data.
    void PSbros();
    // Starts a new ticket set of the lottery for a draw.
    void FileNewBilet2(const Loto::Kind &kind, const QString &drawNumber);

    // Reads a ticket file of the work folder and readies the set for checking.
    void OpenBlt(const QString &name);
    // Writes the set to a ticket file of the work folder.
    void SaveBlt(const QString &name);
    // Reads a draw file of the work folder for its replay.
    void OpenTrg(const QString &name);
    // Writes the draw of the game to a draw file of the work folder.
    void SaveTrg(const QString &name);

    // The game: check, replay and simulator.
    GameEngine &igra() { return *igra_; }

    // Menu commands.
    void RegimProverka_Click();
    void RegimPovtor_Click();
    void RegimImitator_Click();
    void RegimTimer_Click();
    void HelpAbout_Click();
    void HelpCallHelp_Click();
    void RegimPrizPoNomeru_Click();
    void FileNewBilet_Click();
    void FileOpen_Click();
    void FileSaveBilet_Click();
    void FileSaveBiletAs_Click();
    void FileOpenTirag_Click();
    // A draw's published result pasted in, played as the check the user would
    // have typed, with one summary of the wins (frmForma_Rezultat.cpp).
    void FileRezultat_Click();
    void FileSaveTiragAs_Click();
    // The report on the game in hand or just ended: saved as PDF or CSV, or
    // printed (frmForma_Otchet.cpp).
    void FileOtchet_Click();
    // Writes the report on the game to path (.pdf or .csv); a failure is said.
    bool SaveOtchet(const QString &path);
    // Whether there is a game to report on: numbers drawn on the set in hand.
    bool OtchetAvailable() const;
    // Tickets from photos (frmForma_Photo.cpp): the files are picked, read off
    // the window's thread with a progress that can be cancelled, and each
    // ticket found comes onto the card in ticket entry, doubtful cells marked.
    void FilePhoto_Click();
    void ImportPhotos(const QStringList &paths);
    // What the pictures gave: files that could not be read are said, and the
    // tickets found go into ticket entry one after another.
    void PhotosRead(std::vector<PhotoImage> images);
    // The desktop's file dialog for pictures (tests put their own in).
    using PhotoPicker = std::function<QStringList(QWidget *parent, const QString &folder)>;
    static PhotoPicker &PickPhotos();
    // The queue of tickets from photos and the photo shown beside the card (none before the first import).
    const PhotoImport &Photos() const { return photos_; }
    PhotoPanel *Photo() const { return photoPanel_; }
    // Pictures are being read, or corners clicked on one are.
    bool PhotoReading() const { return photoWatcher_ != nullptr || photoCornerRead_; }
    void RegimAddBliet_Click();
    // The user chose a row of the ticket list.
    void ListBilet1_DblClick();
    // "Билет готов": stores the ticket on the card.
    void kBiletGotov_Click();

    // Where a digit typed into a check game's message box goes once the box is
    // closed by it: the entry box while a check game takes numbers, else nothing.
    QWidget *TypeThroughTarget() const;

    // At start-up: offers to take up a check game, or to restore tickets keyed
    // in and not saved, that a crash cut short; clears what saves cut short left.
    void OfferZhurnal();
    // Opens a ticket file, or a draw file for its replay, given by its path (on
    // the command line or dropped on the window). A file in another folder
    // makes that folder the work folder, as if the program had started there.
    // askedAlready: unsaved tickets were asked about already (by the command
    // whose file dialog picked the file in another folder).
    void OpenPath(const QString &path, bool askedAlready = false);
    // A file of "Недавние файлы" chosen: opened by OpenPath, or, when it is
    // gone, said so and left out of the list (frmForma_Recent.cpp).
    void OpenRecent(const QString &path);
    // "Отменить" (Ctrl+Z): takes back the last thing done in the check game,
    // or the last change to the card being keyed in.
    void RegimUndo_Click();

    // The window's print size in percent (100 to 200 in steps of 25), chosen
    // and remembered; and the size shown, which a maximised window fits to the screen.
    void SetZoom(int percent);
    int ZoomPercent() const;

    // Puts the settings in force (the timer's pace).
    void ApplySettings();
    // Asks "Закрыть программу?" and writes the settings; 1 means stay open.
    int SaveINIM();
    // Before the set in hand is let go: tickets not in a file are offered to
    // be saved (Save, Don't save, Cancel). True when the command may go on.
    bool MaySaveBilety();

    // The controls, for tests and benchmarks that look at them or press them.
    const FormaControls &Ui() const { return *this; }

    ProgramState &state() { return state_; }
    const QString &workFolder() const { return files_.Folder(); }

    // Client area of the window.
    static constexpr int kClientWidth = 632;
    static constexpr int kClientHeight = 508;

    // Colours, as 0x00BBGGRR.
    // A number on the ticket being keyed in: the colour of a number on some ticket.
    static constexpr quint32 kUsedColor = IgraLook::ColorOf(Kletka::OnCard);
    // A cell of a ticket from a photo that the reader was not sure of: gold.
    static constexpr quint32 kDoubtColor = BiletCard::kDoubtColor;

    // The card being keyed in.
    BiletEntry entry;

    // What the game's view (FormaView, which shows the rest) leaves to the
    // window: the board and the card painted, and what follows a change of the
    // mode or the game.
    void PoleKletka(int n, Kletka kletka) override;
    void PoleUnhighlight(int n) override;
    void ShowBilet() override;
    void CardKletka(int stroka, int n, Kletka kletka) override;
    void RegimChanged() override;
    void SaveTiragAs() override;
    void ShowSettings() override;
    void GameChanged() override;

    // Sets a label's caption; labels that are sized to their text follow it.
    static void SetLabel(QLabel *label, const QString &caption);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // A number chosen on the board, or a cell of the card clicked.
    void PoleChosen(int n);
    void BiletPic_Click(int stroka, int column);
    // Paints what a change of the card did, on the board and the card.
    void PaintEntryChange(const BiletEntry::Change &change);
    void Nombilet_Change();
    bool VVOD1_KeyPress(QKeyEvent *event);
    // A number typed, pasted or clicked: to the check, or onto the card.
    void VvodNomer(int n, bool typed);
    // Numbers pasted into the entry box go onto the card one after another.
    void PasteNomera(const QString &text);
    // What the strip says of a ticket number the set holds already (ticket twin),
    // and of a change to the card taken back.
    static QString TwinNote(const QString &nomer, qint32 twin);
    static QString UndoneNote(const BiletEntry::Change &change);
    // Esc on a stored ticket loaded for editing: it stays as it was, a new card is ready.
    bool AbandonEdit();
    // Delete on a row of the list in ticket entry: the ticket leaves the set, once confirmed.
    bool DeleteBilet();
    bool Nombilet_KeyPress(QKeyEvent *event);
    // Puts a ticket set read from a file in place of the one in hand; name is
    // the file's, which gives the kind.
    void ApplyBilety(const QString &name, const Loto::Kind &kind, BiletFileData &data, bool unsaved = false);
    // The ticket set of an interrupted entry, back in ticket entry and unsaved.
    void RestoreZagruzka(ZhurnalData &data);
    // A check game's tickets: its ticket file when unchanged, else the
    // journal's copy of them. False when neither is there.
    bool RestoreBilety(const ZhurnalData &data);
    // A ticket was stored, corrected or deleted.
    void BiletyChanged();
    // Ticket entry is left for a mode, after the save question unless the
    // command asked it already: the set in hand is listed and indexed for
    // checking as an opened file is. False when the user stays.
    bool LeaveZagruzka(bool ask = true);
    // In ticket entry the Mode menu is on offer once the set has a ticket.
    void UpdateRegimMenu();
    // The strip's lines about the set's file and the journal.
    QString FileNotes() const;
    // "Отменить" is on offer while there is something to take back.
    void UpdateUndo();
    // The information strip shows the mode's news.
    void UpdateStrip();
    // The whole card and board of the ticket being keyed in, drawn afresh.
    void RepaintEntry();
    // Enables "Билет готов" or not; a button losing the keyboard hands it to the
    // entry box, never to the ticket number.
    void SetBiletGotovEnabled(bool enabled);
    // In a check game the keyboard belongs to the entry box: it goes back there
    // after a list was used.
    void RefocusVVOD1();
    // Screen readers read the board, the card and the list cell by cell.
    void ExposeCells();
    // A digit typed into a list during a check game goes to the entry box.
    bool ForwardDigit(QKeyEvent *event);
    // Shows the controls of ticket entry, shared by both ways into it.
    void EnterZagruzka();
    // The save items of the File menu follow the mode: only a set being keyed in is saved.
    void UpdateFileMenu();
    void FillRecentMenu();
    // A line of the winners list chosen: its ticket on the card.
    void NIKA_DblClick();
    // A line of the winners list chosen: its ticket on the card, what won it
    // framed (its row, its field, the whole ticket) and said in words on the strip.
    void NIKA_Show();

    // Tickets from photos: the set they go to, the ticket in hand onto the
    // card, the marks of its doubtful cells and number.
    bool PhotoSet(const QString &tirag, bool tiragDoubtful);
    void PhotoBilet();
    void PhotoNext();
    void PhotoStop(const QString &note = {});
    void PhotoCorners(const PhotoPanel::Corners &corners);
    // A ticket of the picture in hand the reader missed: its corners are
    // clicked after the picture's tickets.
    void PhotoMissed();
    QString PhotoCaption() const;
    // The import's own keys (F9, Shift+F9, Ctrl+F9) work exactly while it runs.
    void EnablePhotoKeys(bool on);
    void PaintDoubts();
    // Takes back the last change to the card: with a ticket from a photo,
    // the rows a completed row brought on go with it.
    std::optional<BiletEntry::Change> UndoEntry();
    void UpdateNombiletDoubt();
    QString PhotoNote() const;

    void CreateControls(QWidget *client);
    void CreateMenus();
    // The print size (frmForma_Zoom.cpp): the area that holds the controls and
    // scrolls when the window is smaller than they are, the "Вид" menu, the size shown.
    QWidget *MakeZoomArea(QWidget *client);
    void CreateViewMenu();
    void UpdateViewMenu();
    void ShowZoom(int percent);
    void FitWindowToZoom();
    void FitZoomToScreen();
    void Connect();

    ProgramState &state_;
    Messenger &messenger_;
    // The work folder and the ticket and draw files read and written there.
    FormaFiles files_;
    // The board and the card, painted on PolePic and BiletPic.
    PoleBoard *board_ = nullptr;
    BiletCard *card_ = nullptr;
    // What the last take-back, number refused or prize not found was, and what
    // the last key on the card did, for the strip.
    QString undoNote_;
    QString entryNote_;
    // What won the line of the winners list last chosen, or where the report went, for the strip.
    QString winNote_;
    // Quick typing in the entry box: where a number ended and what it did.
    NomerTyping typing_;
    // Listeners of the game: the strip's record of it.
    std::unique_ptr<StripFacts> stripFacts_;
    // What a screen reader says of the game, and where it hears it.
    Announcer *announcer_ = nullptr;
    std::unique_ptr<ReaderFacts> readerFacts_;
    // What the game shows, on the window's controls.
    std::unique_ptr<FormaView> gameView_;
    std::unique_ptr<GameEngine> igra_;
    // The journal, a listener of the game: made after the game, gone before it.
    std::unique_ptr<ZhurnalKeeper> zhurnal_;
    // The controls scaled to the print size; the size chosen; the menu's height and type at 100 %.
    std::unique_ptr<ZoomedPlaces> zoomed_;
    int zoomChosen_ = 100;
    int menuHeight_ = 0;
    QFont menuFont_;
    // Tickets from photos.
    PhotoImport photos_;
    PhotoPanel *photoPanel_ = nullptr;
    QFutureWatcher<PhotoImage> *photoWatcher_ = nullptr;
    bool photoCornerRead_ = false;
    // The card holds the queue's ticket in hand (not a ticket of the list being corrected).
    bool photoOnCard_ = false;
    int photoSerial_ = 0; // changes with every ticket in hand: a late corner read is dropped
    QAction *photoSkip_ = nullptr;
    QAction *photoStop_ = nullptr;
    QAction *photoMissed_ = nullptr;
};
