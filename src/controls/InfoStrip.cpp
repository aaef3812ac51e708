#include "controls/InfoStrip.h"

#include "controls/Fonts.h"

#include <QLabel>
#include <algorithm>

namespace
{
constexpr int kBigWidth = 90;
}

InfoStrip::InfoStrip(QWidget *parent) : QWidget(parent), big_(new QLabel(this)), text_(new QLabel(this))
{
    setFocusPolicy(Qt::NoFocus);
    big_->setObjectName(QStringLiteral("InfoBig"));
    big_->setFont(Fonts::Make(30));
    big_->setAlignment(Qt::AlignCenter);
    text_->setObjectName(QStringLiteral("InfoText"));
    text_->setFont(Fonts::Make(9, false));
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (QLabel *label : {big_, text_}) {
        label->setFocusPolicy(Qt::NoFocus);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
    }
}

void InfoStrip::Show(const QString &big, const QString &text)
{
    big_->setText(big);
    text_->setText(text);
    SetTextFont();
}

void InfoStrip::SetTextFont()
{
    // The undrawn numbers of a game ended early run to several lines.
    text_->setFont(Fonts::Make((text_->text().size() > 180 ? 7.5 : 9) * zoom_, false));
}

void InfoStrip::SetZoom(qreal zoom)
{
    zoom_ = std::clamp<qreal>(zoom, 1, 2);
    big_->setFont(Fonts::Make(30 * zoom_));
    SetTextFont();
    resizeEvent(nullptr);
}

QString InfoStrip::Big() const
{
    return big_->text();
}

QString InfoStrip::Text() const
{
    return text_->text();
}

void InfoStrip::resizeEvent(QResizeEvent *)
{
    const int big = qRound(kBigWidth * zoom_);
    big_->setGeometry(0, 0, big, height());
    text_->setGeometry(big + qRound(8 * zoom_), qRound(2 * zoom_), width() - big - qRound(16 * zoom_),
                       height() - qRound(4 * zoom_));
}
