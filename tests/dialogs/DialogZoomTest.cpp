// Every dialog opens at the print size of the window it is opened from: larger
// as a whole, nothing outside it, no text cut off, its own drawing larger too.
#include "controls/Fonts.h"
#include "controls/Zoom.h"
#include "core/LotoRules.h"
#include "dialogs/OpenSave.h"
#include "dialogs/PrizNB.h"
#include "dialogs/Zapros.h"
#include "dialogs/frmOprog.h"
#include "dialogs/frmOtchet.h"
#include "dialogs/frmRezultat.h"
#include "dialogs/frmTIMER.h"
#include "support/Ink.h"
#include "support/RecordingMessenger.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace
{

using namespace TestSupport;

Settings settings;
RecordingMessenger messenger;

IgraReport Report()
{
    IgraReport r;
    r.lottery = QStringLiteral("Русское лото");
    r.tirag = QStringLiteral("Тираж1473");
    r.ended = true;
    r.hod = 75;
    r.tur = 3;
    r.bilety.resize(12);
    return r;
}

struct Case {
    const char *name;
    std::function<std::unique_ptr<QDialog>(QWidget *)> make;
    // Built with a layout, it grows at least that many times; built at fixed places, exactly.
    bool laidOut = false;
};

const Case kCases[] = {
    {"Zapros", [](QWidget *p) { return std::make_unique<Zapros>(p); }},
    {"OpenSave",
     [](QWidget *p) {
         auto d = std::make_unique<OpenSave>(OpenSave::OpenBilety, QDir::tempPath(), Loto::RusLoto(),
                                             QStringLiteral("Тираж1473.rlb"), nullptr, p);
         d->OfferOtherFolder([](const QString &) {});
         return d;
     }},
    {"frmTIMER", [](QWidget *p) { return std::make_unique<frmTIMER>(settings, messenger, p); }},
    {"PrizNB", [](QWidget *p) { return std::make_unique<PrizNB>(p); }},
    {"frmOprog", [](QWidget *p) { return std::make_unique<frmOprog>(nullptr, p); }},
    {"frmRezultat", [](QWidget *p) { return std::make_unique<frmRezultat>(QStringLiteral("1473"), p); },
     true},
    {"frmOtchet", [](QWidget *p) { return std::make_unique<frmOtchet>(Report(), p); }, true},
};

// A dialog opened from a window shown at a print size, shown itself.
std::unique_ptr<QDialog> Open(const Case &c, QWidget &window, int percent)
{
    Zoom::SetOfWindow(&window, percent);
    auto dialog = c.make(&window);
    dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get())) << c.name;
    return dialog;
}

TEST(DialogZoom, EveryDialogGrowsWithTheWindowAndKeepsItsControlsAndTextsWhole)
{
    // Measured in the typeface the program itself puts in place of its own.
    Fonts::InstallSubstitutes();
    constexpr int kPercent = 150;
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        const auto normal = Open(c, window, Zoom::kNormal);
        const QSize base = normal->size();
        const auto large = Open(c, window, kPercent);
        const QSize expected(Zoom::Scaled(base.width(), kPercent), Zoom::Scaled(base.height(), kPercent));
        if (c.laidOut) {
            // As large as the screen holds, and never beyond it.
            const QSize screen = large->screen()->availableGeometry().size();
            EXPECT_GE(large->width(), std::min(expected.width(), screen.width() * 9 / 10));
            EXPECT_GE(large->height(), std::min(expected.height(), screen.height() * 9 / 10));
            EXPECT_LE(large->width(), screen.width());
            EXPECT_LE(large->height(), screen.height());
        } else {
            EXPECT_EQ(large->size(), expected);
        }
        EXPECT_DOUBLE_EQ(large->font().pointSizeF(), normal->font().pointSizeF() * 1.5);

        for (QWidget *w : large->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (w->isWindow())
                continue;
            EXPECT_TRUE(large->rect().contains(w->geometry())) << w->objectName().toStdString();
            auto *label = qobject_cast<QLabel *>(w);
            if (!label || !label->isVisible() || label->text().isEmpty())
                continue;
            const QRect room = label->contentsRect();
            const QFontMetrics metrics(label->font());
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height())
                    << label->text().toStdString();
            } else {
                EXPECT_LE(metrics.horizontalAdvance(label->text()), room.width())
                    << label->text().toStdString();
                // The letters themselves, not the gap kept below them.
                EXPECT_LE(metrics.tightBoundingRect(label->text()).height(), room.height())
                    << label->text().toStdString();
            }
        }

        // What the dialog draws itself stands where it stood, that many times farther and larger.
        const QImage normalInk = SurfaceOf(*normal), largeInk = SurfaceOf(*large);
        const QRgb back = normalInk.pixel(0, 0);
        const auto before = InkIn(normalInk, normalInk.rect(), back);
        const auto after = InkIn(largeInk, largeInk.rect(), largeInk.pixel(0, 0));
        ASSERT_EQ(before.has_value(), after.has_value());
        if (!before)
            continue;
        const auto near = [](int scaled, int at) {
            return std::abs(scaled - Zoom::Scaled(at, kPercent)) <= 3;
        };
        EXPECT_TRUE(near(after->left(), before->left()) && near(after->top(), before->top()) &&
                    near(after->right(), before->right()) && near(after->bottom(), before->bottom()))
            << "ink at 100 %: " << before->x() << "," << before->y() << " " << before->width() << "x"
            << before->height() << "; at 150 %: " << after->x() << "," << after->y() << " " << after->width()
            << "x" << after->height();
    }
}

} // namespace
