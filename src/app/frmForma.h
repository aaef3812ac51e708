#pragma once
// The main window: the board of 90 numbers, the ticket card, the ticket list,
// the winners list and the entry boxes, with the File, Mode and Help menus.
// Its implementation is split by subject: frmForma.cpp (shell, menus, exit),
// frmForma_Pole.cpp (the board), frmForma_Bilet.cpp (the card).

#include "core/Messenger.h"
#include "core/ProgramState.h"

#include <QMainWindow>

class ClickLabel;
class ListBilet;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;
class Surface;

class frmForma : public QMainWindow
{
    Q_OBJECT
public:
    // The window works on the program's state, asks and tells through the
    // messenger, and keeps its files in the work folder.
    frmForma(ProgramState &state, Messenger &messenger, const QString &workFolder, QWidget *parent = nullptr);
    ~frmForma() override;

    // Paints the whole board empty: grid and the 90 numbers.
    void ClearPole();
    // Paints the empty ticket card: two fields and the band between them.
    void BiletClear();

    // Puts the settings in force (the timer's pace).
    void ApplySettings();
    // Asks "Закрыть программу?" and writes the settings; 1 means stay open.
    int SaveINIM();

    ProgramState &state() { return state_; }
    const QString &workFolder() const { return workFolder_; }

    // Client area of the window.
    static constexpr int kClientWidth = 632;
    static constexpr int kClientHeight = 508;

    // Controls, by the names the rest of the program uses.
    QWidget *usrReklamaX1 = nullptr;
    Surface *PolePic = nullptr;
    QLabel *Label1 = nullptr;
    ListBilet *ListBilet1 = nullptr;
    ClickLabel *Tur = nullptr;
    QLabel *Label3 = nullptr;
    QListWidget *NIKA = nullptr;
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
    QTimer *PoleTimer = nullptr;
    QTimer *Timer1 = nullptr;

    QMenu *File = nullptr;
    QAction *FileNewBilet = nullptr;
    QAction *FileOpen = nullptr;
    QAction *FileSaveBilet = nullptr;
    QAction *FileSaveBiletAs = nullptr;
    QAction *FileOpenTirag = nullptr;
    QAction *FileSaveTiragAs = nullptr;
    QAction *FileExit = nullptr;
    QMenu *Regim = nullptr;
    QAction *RegimAddBliet = nullptr;
    QAction *RegimProverka = nullptr;
    QAction *RegimPrizPoNomeru = nullptr;
    QAction *RegimTimer = nullptr;
    QAction *RegimPovtor = nullptr;
    QAction *RegimImitator = nullptr;
    QMenu *Help = nullptr;
    QAction *HelpCallHelp = nullptr;
    QAction *HelpAbout = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateControls(QWidget *client);
    void CreateMenus();
    // Sets a label's caption; labels that are sized to their text follow it.
    static void SetCaption(QLabel *label, const QString &caption);

    ProgramState &state_;
    Messenger &messenger_;
    QString workFolder_;
};
