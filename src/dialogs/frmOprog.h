#pragma once
// "О программе": who made the program, how to reach them, its version and its
// dates. The site line is a link; clicking it hands the site's address to
// whatever the window chose for opening web addresses.

#include <QDialog>
#include <QString>

#include <array>
#include <functional>

class ClickLabel;
class QFrame;
class QLabel;
class QPushButton;
class Surface;

class frmOprog : public QDialog
{
    Q_OBJECT
public:
    // openSite: called with SiteAddress when the link is clicked.
    explicit frmOprog(std::function<void(const QString &)> openSite, QWidget *parent = nullptr);

    // Builds a fresh dialog and shows it modally.
    static void Run(std::function<void(const QString &)> openSite, QWidget *parent);

    // The address the link leads to.
    static const QString SiteAddress;

    // The controls, reachable for tests.
    // 0 author, 1 e-mail, 2 "Сайт:", 3 version, 4 and 5 the dates.
    std::array<QLabel *, 6> Label2{};
    ClickLabel *Label1 = nullptr; // the link to the site, showing the slogan
    QFrame *Line1 = nullptr;      // the dark half of the separator
    QFrame *Line2 = nullptr;      // the light half, just below it
    Surface *Picture1 = nullptr;  // white, with a blue and a red band
    QPushButton *OK = nullptr;

private:
    // What a click on the link does: the hourglass while the site is being opened.
    void OpenSite();

    std::function<void(const QString &)> openSite_;
};
