#include "controls/InfoStrip.h"

#include "controls/Fonts.h"

#include <QLabel>

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
    // The undrawn numbers of a game ended early run to several lines.
    text_->setFont(Fonts::Make(text.size() > 180 ? 7.5 : 9, false));
    text_->setText(text);
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
    big_->setGeometry(0, 0, kBigWidth, height());
    text_->setGeometry(kBigWidth + 8, 2, width() - kBigWidth - 16, height() - 4);
}
