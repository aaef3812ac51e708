#include "controls/ListBilet.h"

#include "controls/VbColor.h"

#include <QPainter>

namespace
{
constexpr int kScrollWidth = 17;
}

ListBilet::ListBilet(BiletStore &store, QWidget *parent) : QWidget(parent), store_(store)
{
    setObjectName(QStringLiteral("ListBilet1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    vscroll_ = new QScrollBar(Qt::Vertical, this);
    vscroll_->hide();
    Clear();
}

void ListBilet::Clear()
{
    store_.BiletCount = 0;
    listIndex_ = 0;
    vscroll_->hide();
    setFocusPolicy(Qt::NoFocus);
    update();
}

void ListBilet::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), VbColor::ToQColor(VbColor::WindowBackground, palette()));
}

void ListBilet::resizeEvent(QResizeEvent *)
{
    vscroll_->setGeometry(width() - kScrollWidth, 0, kScrollWidth, height());
}
