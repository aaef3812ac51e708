#pragma once
// The program's own file dialog. It lists the ticket files or the draw files
// of both lotteries found in the work folder, lets the user pick or type a bare
// file name and hands that name to the file command it was opened for. There
// are no folders and no paths: every name is resolved in the work folder. To
// open a file kept anywhere else, "Другая папка…" opens the desktop's own file
// dialog, and the file picked there goes to the window whole, by its path.

#include "core/LotoRules.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class OpenSave : public QDialog
{
    Q_OBJECT
public:
    // The job the dialog does; the values are the ones the File menu commands use.
    enum Mode { OpenBilety = 0, SaveBilety = 1, SaveBiletyAs = 2, OpenTirag = 3, SaveTiragAs = 4 };

    // folder: the work folder whose files are listed. kind: the lottery of the
    // current set, which decides the extension a saved name gets. initialName:
    // the name offered in the box (a save mode's default name; empty to open).
    // act: the file command, called with the final bare name when the user
    // confirms; the dialog closes afterwards whatever the command did.
    OpenSave(Mode mode, const QString &folder, const Loto::Kind &kind, const QString &initialName,
             std::function<void(const QString &)> act, QWidget *parent = nullptr);

    // Builds a fresh dialog, so the lists are read anew, and shows it modally.
    // openPath, when given in an open mode, takes a file picked in another
    // folder by its whole path.
    static void Run(Mode mode, const QString &folder, const Loto::Kind &kind, const QString &initialName,
                    std::function<void(const QString &)> act, QWidget *parent = nullptr,
                    std::function<void(const QString &)> openPath = {});

    // Shows "Другая папка…" (in the open modes): a file picked with it goes to openPath.
    void OfferOtherFolder(std::function<void(const QString &)> openPath);
    // How a file of another folder is picked: the desktop's file dialog
    // (parent, caption, starting folder, filter); an empty path when the user
    // gave up. Tests put their own in its place.
    using Picker = std::function<QString(QWidget *, const QString &, const QString &, const QString &)>;
    static Picker &PickFile();

    // The controls, reachable for the window and for tests. The name box takes
    // the names of the constructor and of the lists as they are; anything else
    // that arrives in it is treated as typed and loses the characters a bare
    // file name must not hold.
    QLabel *Label1 = nullptr;             // "Русское лото:"
    std::array<QListWidget *, 2> List1{}; // 0 "Русское лото" files, 1 "Золотой ключ" files
    QLabel *Label2 = nullptr;             // "Золотой ключ:"
    QLabel *Label3 = nullptr;             // "Имя файла:"
    QLineEdit *TxtName = nullptr;         // the file name
    QPushButton *kOK = nullptr;           // "Открыть" or "Сохранить", the default button
    QPushButton *kNO = nullptr;           // "Отмена"
    QPushButton *kOther = nullptr; // "Другая папка…", shown when another folder is on offer

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Lists the files of both kinds that match the mode's extensions.
    void FillList();
    // Puts a name the program trusts (the offered one, or one picked from a list)
    // into the box unchanged.
    void PutName(const QString &name);
    // What "OK" and Enter do.
    void Confirm();
    // What "Другая папка…" does.
    void OtherFolder();
    // The extension a name without one gets in this mode; empty in the open modes.
    QString DefaultExtension() const;
    // True when a key typed into the name box must not reach it.
    bool DiscardNameKey(const QKeyEvent &key) const;

    class NameCleaner;

    Mode mode_;
    QString folder_;
    const Loto::Kind *kind_;
    std::function<void(const QString &)> act_;
    std::function<void(const QString &)> openPath_;
    NameCleaner *cleaner_ = nullptr;
};
