#include "controls/DoubtMark.h"

#include "controls/Contrast.h"
#include "controls/IgraLook.h"
#include "controls/VbColor.h"

#include <QPalette>
#include <QWidget>

namespace DoubtMark
{

void Set(QWidget *box, bool doubtful)
{
    if (!doubtful) {
        box->setPalette(QPalette());
        return;
    }
    QPalette palette = box->palette();
    const QColor gold = VbColor::ToQColor(IgraLook::kDoubt);
    palette.setColor(QPalette::Base, gold);
    palette.setColor(QPalette::Text, Contrast::Readable(palette.color(QPalette::Text), gold));
    box->setPalette(palette);
}

} // namespace DoubtMark
