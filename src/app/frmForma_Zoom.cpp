// The print size of the window: "Вид → Крупнее / Мельче / Обычный размер"
// (Ctrl++, Ctrl+-, Ctrl+0) scale the whole window from 100 % to 200 %;
// maximising takes the largest size the screen holds. The size chosen is
// remembered in the desktop's settings.
#include "app/frmForma.h"

#include "controls/Zoom.h"
#include "io/DeskSettings.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>

namespace
{
// The window's controls at their size; scroll bars come only when the window
// is smaller than they are, so nothing is ever cut off.
class ZoomArea : public QScrollArea
{
public:
    explicit ZoomArea(QWidget *parent) : QScrollArea(parent)
    {
        setObjectName(QStringLiteral("ZoomArea"));
        setFrameShape(QFrame::NoFrame);
        setFocusPolicy(Qt::NoFocus);
        setAlignment(Qt::AlignCenter);
        viewport()->setBackgroundRole(QPalette::Window);
    }
    QSize sizeHint() const override { return widget() ? widget()->size() : QScrollArea::sizeHint(); }
    // The whole control in view, not only its text cursor.
    void ShowWhole(QWidget *control)
    {
        if (!control || !widget()->isAncestorOf(control))
            return;
        const QRect r(control->mapTo(widget(), QPoint(0, 0)), control->size());
        ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 8, r.height() / 2 + 8);
    }
};
} // namespace

QWidget *frmForma::MakeZoomArea(QWidget *client)
{
    auto *area = new ZoomArea(this);
    area->setWidget(client);
    // The box being typed into stays in view when the window is smaller than its controls.
    connect(qApp, &QApplication::focusChanged, area,
            [area](QWidget *, QWidget *now) { area->ShowWhole(now); });
    return area;
}

void frmForma::CreateViewMenu()
{
    View = new QMenu(QStringLiteral("&Вид"), menuBar());
    View->setObjectName(QStringLiteral("View"));
    const auto item = [this](const char *name, const QString &caption, QList<QKeySequence> keys) {
        QAction *a = View->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcuts(keys);
        return a;
    };
    // Ctrl with the "=" key under "+" works without Shift too, and so does the keypad's plus.
    ViewLarger = item("ViewLarger", QStringLiteral("&Крупнее"),
                      {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    ViewSmaller = item("ViewSmaller", QStringLiteral("&Мельче"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    ViewNormal = item("ViewNormal", QStringLiteral("&Обычный размер"), {QKeySequence(Qt::CTRL | Qt::Key_0)});
    connect(ViewLarger, &QAction::triggered, this, [this] { SetZoom(Zoom::Larger(zoomChosen_)); });
    connect(ViewSmaller, &QAction::triggered, this, [this] { SetZoom(Zoom::Smaller(zoomChosen_)); });
    connect(ViewNormal, &QAction::triggered, this, [this] { SetZoom(Zoom::kNormal); });
}

void frmForma::UpdateViewMenu()
{
    const int shown = ZoomPercent();
    ViewLarger->setEnabled(shown < Zoom::kLargest);
    ViewSmaller->setEnabled(shown > Zoom::kNormal);
    ViewNormal->setEnabled(shown != Zoom::kNormal);
}

int frmForma::ZoomPercent() const
{
    return zoomed_ ? zoomed_->Percent() : Zoom::kNormal;
}

void frmForma::SetZoom(int percent)
{
    zoomChosen_ = Zoom::Step(percent);
    DeskSettings::SetZoom(zoomChosen_);
    ShowZoom(zoomChosen_);
}

void frmForma::ShowZoom(int percent)
{
    if (!zoomed_) {
        // The controls as they stand at 100 %, taken the first time the size changes.
        zoomed_ =
            std::make_unique<ZoomedPlaces>(centralWidget()->findChild<QWidget *>(QStringLiteral("client")));
        menuFont_ = menuBar()->font();
    }
    percent = Zoom::Step(percent);
    if (percent == zoomed_->Percent())
        return;
    zoomed_->Apply(percent);
    Zoom::SetOfWindow(this, percent); // the dialogs opened from the window take its size
    UpdateViewMenu();
    // The menus grow with the window; at 100 % they are the desktop's again.
    QFont menuFont = menuFont_;
    if (percent != Zoom::kNormal)
        menuFont.setPointSizeF(menuFont_.pointSizeF() * percent / Zoom::kNormal);
    // The boxes that announce a win or ask a question take the print size too.
    QFont boxFont = QApplication::font();
    boxFont.setPointSizeF(boxFont.pointSizeF() * percent / Zoom::kNormal);
    QApplication::setFont(boxFont, "QMessageBox");
    for (QWidget *w : std::initializer_list<QWidget *>{menuBar(), File, FileRecent, Regim, View, Help}) {
        w->setFont(percent == Zoom::kNormal ? menuFont_ : menuFont);
        // The desktop's style measures a caption with a shortcut a little short
        // in a larger type ("Вызов…равки  F1"): a zoomed menu gets room to spare.
        if (auto *menu = qobject_cast<QMenu *>(w)) {
            menu->setMinimumWidth(0);
            if (percent != Zoom::kNormal)
                menu->setMinimumWidth(menu->sizeHint().width() +
                                      2 * QFontMetrics(menuFont).horizontalAdvance(u'M'));
        }
    }
    centralWidget()->updateGeometry();
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        FitWindowToZoom();
    static_cast<ZoomArea *>(centralWidget())->ShowWhole(QApplication::focusWidget());
}

void frmForma::FitWindowToZoom()
{
    QWidget *client = static_cast<QScrollArea *>(centralWidget())->widget();
    QSize wanted(client->width(), client->height() + menuBar()->sizeHint().height());
    const QScreen *s = screen();
    if (!s) {
        resize(wanted);
        return;
    }
    // A window larger than the screen would be cut off by it: the area scrolls
    // instead. Before the window is shown its frame is not known yet: a title
    // bar and a border are allowed for.
    const QRect available = s->availableGeometry();
    QSize frame = frameGeometry().size() - size();
    if (!isVisible() || frame.isEmpty())
        frame = QSize(8, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8);
    wanted = wanted.boundedTo(available.size() - frame);
    resize(wanted);
    if (isVisible()) {
        // Grown past the screen's edge, it moves back onto the screen.
        const QRect outer(frameGeometry().topLeft(), wanted + frame);
        const QPoint shift(std::min(0, available.right() - outer.right()),
                           std::min(0, available.bottom() - outer.bottom()));
        if (!shift.isNull())
            move(pos() + shift);
    }
}

void frmForma::FitZoomToScreen()
{
    // The largest step at which the controls and the menu fit the maximised window.
    const QSize base(kClientWidth, kClientHeight + menuHeight_);
    ShowZoom(Zoom::Fitting(base, size()));
}

void frmForma::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        FitZoomToScreen();
    else if (ZoomPercent() != zoomChosen_)
        // Back from maximised: the size the user chose.
        ShowZoom(zoomChosen_);
}

void frmForma::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        FitZoomToScreen();
}
