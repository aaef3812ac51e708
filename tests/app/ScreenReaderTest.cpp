// What a screen reader hears of the window: names, the rows it stands on, the
// sentences said after every number, and the labels it can press.
#include "controls/ClickLabel.h"
#include "controls/ListBilet.h"
#include "dialogs/OpenSave.h"
#include "dialogs/PrizNB.h"
#include "dialogs/Zapros.h"
#include "dialogs/frmRezultat.h"
#include "dialogs/frmTIMER.h"
#include "io/BiletFile.h"
#include "support/WindowFixture.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace
{

using namespace TestSupport;

// One accessibility event as a screen reader would receive it.
struct Heard {
    QAccessible::Event type;
    QAccessible::Role role;
    QString name;
    bool selected = false;
};

std::vector<Heard> &Log()
{
    static std::vector<Heard> log;
    return log;
}

void Record(QAccessibleEvent *event)
{
    QAccessibleInterface *iface = event->accessibleInterface();
    if (!iface || !iface->isValid())
        return;
    Log().push_back(
        Heard{event->type(), iface->role(), iface->text(QAccessible::Name), bool(iface->state().selected)});
}

QString NameOf(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
}

// Every widget of the dialog that Tab can reach, with its name as a screen reader reads it.
std::vector<std::pair<QString, QString>> TabStops(QWidget *dialog)
{
    std::vector<std::pair<QString, QString>> stops;
    for (QWidget *w : dialog->findChildren<QWidget *>())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && !w->isHidden() && !w->focusProxy() &&
            w->window() == dialog)
            stops.emplace_back(
                w->objectName() + QLatin1Char('/') + QLatin1String(w->metaObject()->className()), NameOf(w));
    return stops;
}

// The platform's side of accessibility, which a screen reader's bridge switches on.
QPlatformAccessibility *Accessibility()
{
    return QGuiApplicationPrivate::platformIntegration()->accessibility();
}

class ScreenReader : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        OpenTwoTickets(QStringLiteral("first"), QStringLiteral("second"));
        // As when a screen reader runs: every event reaches the recorder.
        ASSERT_NE(Accessibility(), nullptr);
        Accessibility()->setActive(true);
        previous_ = QAccessible::installUpdateHandler(Record);
        Log().clear();
    }
    void TearDown() override
    {
        QAccessible::installUpdateHandler(previous_);
        if (Accessibility())
            Accessibility()->setActive(false);
        WindowFixture::TearDown();
    }
    // What the announcer said since the last call, in order.
    QStringList Said()
    {
        QStringList said;
        for (const Heard &h : Log())
            if (h.role == QAccessible::Notification && h.type == QAccessible::ObjectShow)
                said << h.name;
        Log().clear();
        return said;
    }

    QAccessible::UpdateHandler previous_ = nullptr;
};

TEST_F(ScreenReader, AfterEveryNumberItsResultIsSaidAndAWinAsItsBoxSaysIt)
{
    window->Ui().RegimProverka->trigger();
    ASSERT_TRUE(QAccessible::isActive());
    Said();
    // Ticket "first" has 5 15 25 35 45 in its first row; "second" none of them.
    const struct {
        int nomer;
        QStringList said;
    } steps[] = {
        {5, {QStringLiteral("5: на 1 билете, ждут один номер: 0")}},
        {15, {QStringLiteral("15: на 1 билете, ждут один номер: 0")}},
        {25, {QStringLiteral("25: на 1 билете, ждут один номер: 0")}},
        {35, {QStringLiteral("35: на 1 билете, ждут один номер: 1")}},
        {33, {QStringLiteral("33: ни на одном билете, ждут один номер: 1")}},
        {45,
         {QStringLiteral("45: на 1 билете, ждут один номер: 0. Количество выигравших билетов: 1"),
          QStringLiteral("Тур 2")}},
    };
    for (const auto &step : steps) {
        Vvod(step.nomer);
        EXPECT_EQ(Said(), step.said) << step.nomer;
    }
    // The box said the same.
    ASSERT_FALSE(messenger.shown.empty());
    EXPECT_EQ(messenger.shown.back().text, QStringLiteral("Количество выигравших билетов: 1"));

    window->Ui().RegimUndo->trigger();
    EXPECT_EQ(Said(), QStringList{QStringLiteral("Отменён номер 45")});
    // The announcer is a notification named by what it says.
    QAccessibleInterface *announcer = nullptr;
    for (QWidget *w : window->findChildren<QWidget *>())
        if (QAccessible::queryAccessibleInterface(w)->role() == QAccessible::Notification)
            announcer = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(announcer, nullptr);
    EXPECT_EQ(announcer->text(QAccessible::Name), QStringLiteral("Отменён номер 45"));

    messenger.Script({MsgAnswer::Yes, MsgAnswer::No});
    window->igra().Knopka_Click();
    const QStringList end = Said();
    ASSERT_EQ(end.size(), 1);
    EXPECT_TRUE(end[0].startsWith(QStringLiteral("Игра окончена, ходов: 5, не выпало номеров: 85")))
        << end[0].toStdString();
}

TEST_F(ScreenReader, AReplayAndTheSimulatorAreFollowedNumberByNumberToo)
{
    window->Ui().RegimProverka->trigger();
    Vvod(5);
    messenger.Script({MsgAnswer::Yes, MsgAnswer::No});
    window->igra().Knopka_Click();
    messenger.Script({MsgAnswer::Yes}); // "Перейти в новый режим?"
    window->Ui().RegimPovtor->trigger();
    ASSERT_EQ(state.RegimState, Rezhim::Povtor);
    Said();
    window->igra().Timer1_Timer();
    EXPECT_EQ(Said(), QStringList{QStringLiteral("5: на 1 билете, ждут один номер: 0")});

    state.settings.MaxHod = 85;
    messenger.Script({MsgAnswer::Yes});
    window->Ui().RegimImitator->trigger();
    ASSERT_EQ(state.RegimState, Rezhim::Imitator);
    Said();
    window->igra().Timer1_Timer();
    const QStringList said = Said();
    ASSERT_EQ(said.size(), 1);
    const int n = said[0].section(QLatin1Char(':'), 0, 0).toInt();
    EXPECT_EQ(state.TiragNomera.Entries().at(0), n) << said[0].toStdString();
}

TEST_F(ScreenReader, BoardCardAndListAreNamedAndTheCardIsReadWhileItShowsATicket)
{
    window->Ui().RegimProverka->trigger();
    Vvod(5);
    EXPECT_EQ(NameOf(window->Ui().PolePic), QStringLiteral("Поле номеров"));
    EXPECT_EQ(NameOf(window->Ui().BiletPic), QStringLiteral("Билет"));
    EXPECT_EQ(NameOf(window->Ui().ListBilet1), QStringLiteral("Номера билетов и статистика"));
    // Closed to clicks in a game, yet it shows a ticket: a screen reader reads it.
    EXPECT_FALSE(window->Ui().BiletPic->isEnabled());
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(window->Ui().BiletPic)->state().disabled);
}

TEST_F(ScreenReader, UpAndDownInTheListMoveTheFocusAndTheSelectionFromRowToRow)
{
    window->Ui().RegimProverka->trigger();
    Vvod(5);
    QWidget *rows = window->Ui().ListBilet1->Picture();
    rows->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(rows->hasFocus());
    // The keyboard stands on a named row, not on a nameless picture.
    QAccessibleInterface *focus = QAccessible::queryAccessibleInterface(rows);
    EXPECT_EQ(focus->role(), QAccessible::ListItem);
    EXPECT_EQ(focus->text(QAccessible::Name), QStringLiteral("first: совпадений 1, лидер"));
    EXPECT_TRUE(focus->state().focused);
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(window->Ui().ListBilet1);
    EXPECT_EQ(list->indexOfChild(focus), 0);
    EXPECT_TRUE(list->child(0)->state().selected);
    EXPECT_TRUE(list->child(0)->state().focused);

    for (const auto &[key, row, name] :
         {std::tuple{Qt::Key_Down, 1, QStringLiteral("second: совпадений 0")},
          std::tuple{Qt::Key_Up, 0, QStringLiteral("first: совпадений 1, лидер")}}) {
        Log().clear();
        QTest::keyClick(rows, key);
        ASSERT_EQ(window->Ui().ListBilet1->ListIndex(), row);
        bool left = false, selected = false, focused = false;
        for (const Heard &h : Log()) {
            left |= h.type == QAccessible::SelectionRemove && h.role == QAccessible::ListItem && !h.selected;
            selected |= h.type == QAccessible::SelectionAdd && h.name == name && h.selected;
            focused |= h.type == QAccessible::Focus && h.name == name;
        }
        EXPECT_TRUE(left) << row;
        EXPECT_TRUE(selected) << row;
        EXPECT_TRUE(focused) << row;
        EXPECT_FALSE(list->child(1 - row)->state().selected);
    }
}

TEST_F(ScreenReader, TabNeverLandsOnANamelessObject)
{
    window->Ui().RegimProverka->trigger();
    Vvod(5);
    window->Ui().VVOD1->setFocus();
    QStringList visited;
    for (int i = 0; i < 8; ++i) {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        visited << NameOf(focus);
        EXPECT_FALSE(visited.back().isEmpty()) << focus->objectName().toStdString();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    EXPECT_TRUE(visited.contains(QStringLiteral("first: совпадений 1, лидер")))
        << visited.join('|').toStdString();

    // Every box of every dialog, on the same terms.
    Settings settings;
    RecordingMessenger asked;
    frmTIMER timer(settings, asked);
    PrizNB prize;
    Zapros zapros;
    OpenSave open(OpenSave::OpenBilety, dir.path(), Loto::RusLoto(), QString(), [](const QString &) {});
    open.OfferOtherFolder([](const QString &) {});
    frmRezultat rezultat(QStringLiteral("Тираж77"));
    for (QWidget *dialog : std::initializer_list<QWidget *>{&timer, &prize, &zapros, &open, &rezultat})
        for (const auto &[widget, name] : TabStops(dialog))
            EXPECT_FALSE(name.isEmpty()) << dialog->metaObject()->className() << ": " << widget.toStdString();
    EXPECT_EQ(NameOf(timer.Text1), QStringLiteral("Максимум ходов"));
    // A list box's name is its value; its label comes by relation, as from a label beside it.
    const auto labels = QAccessible::queryAccessibleInterface(timer.Combo1)->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0].first->text(QAccessible::Name), QStringLiteral("Таймер:"));
    EXPECT_EQ(NameOf(prize.TxtNB), QStringLiteral("Выигрышный номер"));
}

TEST_F(ScreenReader, TheTourLabelAndTheButtonUnderTheBoardArePressedByAScreenReader)
{
    window->Ui().RegimProverka->trigger();
    // Enough numbers for the tour to be moved on by hand; no row is complete.
    for (int n : {5, 6, 7, 8, 9})
        Vvod(n);
    const auto press = [](QWidget *label) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(label);
        EXPECT_EQ(iface->role(), QAccessible::Button);
        QAccessibleActionInterface *actions = iface->actionInterface();
        ASSERT_NE(actions, nullptr);
        ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
        QApplication::processEvents();
    };
    EXPECT_EQ(NameOf(window->Ui().Tur), QStringLiteral("Тур-1"));
    messenger.Script({MsgAnswer::Yes});
    press(window->Ui().Tur);
    EXPECT_EQ(window->igra().TurNomer, 2);
    EXPECT_EQ(NameOf(window->Ui().Knopka), QStringLiteral("Конец"));
    messenger.Script({MsgAnswer::Yes, MsgAnswer::No});
    press(window->Ui().Knopka);
    EXPECT_EQ(state.RegimState, Rezhim::None);
}

} // namespace
