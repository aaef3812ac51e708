// The window's part of checking a published result: the pasted text becomes the
// check game the user would have typed, and the wins are said once.
#include "app/frmForma.h"

#include "core/LotoRules.h"
#include "dialogs/frmRezultat.h"

namespace
{

// The summary lists this many winners' lines; the rest are counted.
constexpr std::size_t kSummaryLines = 20;

} // namespace

void frmForma::FileRezultat_Click()
{
    if (state_.store.BiletCount() <= 0)
        return;
    const std::optional<PublishedResult> result =
        frmRezultat::Ask(Loto::TiragNumber(state_.TiragTitle), this);
    if (!result)
        return;
    // Tickets being keyed in are asked about and readied as for "Проверка";
    // a game in hand is given up only when the user says so.
    if (state_.RegimState == Rezhim::Zagruzka) {
        if (!LeaveZagruzka())
            return;
    } else if (!igra_->AskNewRegim()) {
        return;
    }
    std::vector<std::vector<qint32>> tours;
    for (const PublishedTour &tour : result->tours)
        tours.push_back(tour.nomera);
    const GameEngine::ResultWins wins = igra_->PlayResult(tours);

    QStringList lines;
    if (wins.lines.empty()) {
        lines << QStringLiteral("Проверено чисел: %1. Выигрышей нет.").arg(result->Count());
    } else {
        lines << QStringLiteral("Проверено чисел: %1. Выигрышей: %2.")
                     .arg(result->Count())
                     .arg(wins.lines.size());
        for (std::size_t i = 0; i < wins.lines.size() && i < kSummaryLines; ++i)
            lines << IgraLook::NikaPrefix(wins.lines[i].reason) +
                         state_.store.Bilet(wins.lines[i].bilet).Nomer;
        if (wins.lines.size() > kSummaryLines)
            lines << QStringLiteral("… и ещё %1 (весь список — под «Выигрывший билет»)")
                         .arg(wins.lines.size() - kSummaryLines);
    }
    for (const QString &box : wins.boxes)
        lines << box;
    const bool won = !wins.lines.empty();
    messenger_.Tell(lines.join(QLatin1Char('\n')), won ? MsgIcon::Exclamation : MsgIcon::Information,
                    won ? Titles::Joy : Titles::App);
    // As at the end of a check typed by hand.
    if (messenger_.Ask(QStringLiteral("Сохранить тираж?")))
        SaveTiragAs();
    gameView_->FocusVVOD1();
}
