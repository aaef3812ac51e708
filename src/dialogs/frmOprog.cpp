#include "dialogs/frmOprog.h"

#include "controls/ClickLabel.h"
#include "controls/Contrast.h"
#include "controls/Fonts.h"
#include "controls/Surface.h"
#include "controls/Zoom.h"
#include "core/LotoRules.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include <utility>

const QString frmOprog::SiteAddress = QStringLiteral("https://example.org/zhrebikon");

namespace
{

const QColor Background(224, 224, 224);
const QColor LinkColor(0, 0, 192);
const QColor SeparatorDark(128, 128, 128);
const QColor SeparatorLight(255, 255, 255);
const QColor BandBlue(0, 0, 255);
const QColor BandRed(255, 0, 0);

constexpr int DialogWidth = 356;
constexpr int DialogHeight = 209;
// Text lines are 24 pixels apart; a label takes a little less than that.
constexpr int LineHeight = 22;
// Lines without a width of their own run to here.
constexpr int TextRight = DialogWidth - 4;

// Restores the pointer however the call it covers ends.
class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

QFrame *SeparatorLine(QWidget *parent, const char *name, int y, const QColor &color)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::NoFrame);
    line->setGeometry(8, y, 344 - 8 + 1, 1);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, color);
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    return line;
}

} // namespace

frmOprog::frmOprog(std::function<void(const QString &)> openSite, QWidget *parent)
    : QDialog(parent), openSite_(std::move(openSite))
{
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(DialogWidth, DialogHeight);
    setFont(Fonts::Make(12));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Background);
    setPalette(palette);
    setAutoFillBackground(true);
    // The dialog's own grey under the desktop's text colour, which a dark desktop makes light.
    Contrast::MakeReadable(this, QPalette::WindowText, QPalette::Window);

    auto line = [this](int index, const QString &text, int x, int y, int width) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("Label2_%1").arg(index));
        label->setGeometry(x, y, width, LineHeight);
        Label2[index] = label;
    };
    line(0, QStringLiteral("Команда Жребикона"), 104, 8, TextRight - 104);
    line(1, QStringLiteral("zhrebikon@example.org"), 104, 32, TextRight - 104);
    line(2, QStringLiteral("Сайт:"), 104, 56, 48);
    line(3, QStringLiteral("Версия: v") + QLatin1String(Loto::kVersion), 104, 80, TextRight - 104);
    line(4, QStringLiteral("Дата: в марте 2001 год -"), 104, 104, TextRight - 104);
    line(5, QStringLiteral("27 августа 2015 год"), 156, 128, TextRight - 156);

    Label1 = new ClickLabel(QStringLiteral("Жребикон в сети"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(152, 56, 183, LineHeight);
    QPalette linkPalette = Label1->palette();
    linkPalette.setColor(QPalette::WindowText, LinkColor);
    Label1->setPalette(linkPalette);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->setToolTip(SiteAddress);
    connect(Label1, &ClickLabel::Clicked, this, &frmOprog::OpenSite);

    Line1 = SeparatorLine(this, "Line1", 152, SeparatorDark);
    Line2 = SeparatorLine(this, "Line2", 153, SeparatorLight);

    Picture1 = new Surface(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->SetBackColor(Qt::white);
    Picture1->SetSurfaceSize(80, 45);
    Picture1->move(8, 160);
    // The surface keeps what is drawn, so the bands are drawn once.
    Picture1->FillRect(0, 15, 79, 30, BandBlue);
    Picture1->FillRect(0, 31, 79, 45, BandRed);

    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(256, 164, 89, 33);
    OK->setDefault(true);
    connect(OK, &QPushButton::clicked, this, &QDialog::accept);

    Zoom::Dialog(this);
    OK->setFocus();
}

void frmOprog::Run(std::function<void(const QString &)> openSite, QWidget *parent)
{
    frmOprog dialog(std::move(openSite), parent);
    dialog.exec();
}

void frmOprog::OpenSite()
{
    if (!openSite_)
        return;
    BusyPointer busy;
    openSite_(SiteAddress);
}
