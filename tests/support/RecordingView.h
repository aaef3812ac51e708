#pragma once
// A game view that writes down every call in order as a readable line
// ("PoleKletka 27 9803263", "NikaAdd (номер 27)  017", "TimerStart") and
// keeps what a user would see: the board's colours, the winners list, the
// labels, Knopka and the timer. With quiet set it keeps nothing at all.

#include "controls/IgraLook.h"
#include "core/GameEngine.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

namespace TestSupport
{

class RecordingView : public IgraView
{
public:
    RecordingView() = default;
    explicit RecordingView(const BiletStore *set) : store(set) {}

    // When set, calls leave no trace and cost next to nothing; only the timer
    // state is still kept.
    bool quiet = false;
    // The set whose ticket numbers the winners' lines show (else the indices).
    const BiletStore *store = nullptr;

    QStringList calls;
    QStringList nika;
    // Board colour per number as last painted; 0 = empty.
    std::array<quint32, 91> pole{};
    QString tur;
    quint32 turColor = 0;
    QString nhod;
    QString vvod1;
    QString vvednom;
    QString knopka;
    QString caption;
    bool timerActive = false;
    int saveTiragAsCount = 0;
    int showSettingsCount = 0;
    // Runs inside ShowSettings, standing for what the user does in the dialog.
    std::function<void()> onShowSettings;

    // The recorded calls that begin with prefix (a call's name, say).
    QStringList Calls(const QString &prefix) const
    {
        QStringList out;
        for (const QString &c : calls)
            if (c.startsWith(prefix))
                out << c;
        return out;
    }
    int CountOf(const QString &prefix) const { return int(Calls(prefix).size()); }

    // Cells, the tour label and Knopka are written down as the window shows them.
    void PoleKletka(int n, Kletka kletka) override
    {
        const quint32 color = IgraLook::ColorOf(kletka);
        if (Note([&] { return QStringLiteral("PoleKletka %1 %2").arg(n).arg(color); }))
            Paint(n, color);
    }
    void PoleUnhighlight(int n) override
    {
        if (Note([&] { return QStringLiteral("PoleUnhighlight %1").arg(n); }))
            Paint(n, IgraLook::kOpened);
    }
    void ClearPole() override
    {
        if (Note([] { return QStringLiteral("ClearPole"); }))
            pole.fill(0);
    }
    void ShowBilet() override
    {
        Note([] { return QStringLiteral("ShowBilet"); });
    }
    void CardKletka(int stroka, int n, Kletka kletka) override
    {
        Note([&] {
            return QStringLiteral("CardKletka %1 %2 %3").arg(stroka).arg(n).arg(IgraLook::ColorOf(kletka));
        });
    }

    void NikaClear() override
    {
        if (Note([] { return QStringLiteral("NikaClear"); }))
            nika.clear();
    }
    // The winners' lines, the move label and the caption before the entry box
    // are written down as the window writes them.
    void NikaAdd(const NikaReason &reason, const std::vector<qint32> &tickets) override
    {
        const QString prefix = IgraLook::NikaPrefix(reason);
        for (qint32 t : tickets) {
            const QString line = prefix + (store ? store->Bilet(t).Nomer : QString::number(t));
            if (Note([&] { return QStringLiteral("NikaAdd ") + line; }))
                nika << line;
        }
    }

    void SetTur(qint32 turNomer) override
    {
        const QString text = IgraLook::TurCaption(turNomer);
        const quint32 color = IgraLook::TurColor(turNomer);
        if (!Note([&] { return QStringLiteral("SetTur %1 %2").arg(text).arg(color); }))
            return;
        tur = text;
        turColor = color;
    }
    void SetNHOD(qint32 hod) override
    {
        const QString text = IgraLook::NhodText(hod);
        if (Note([&] { return QStringLiteral("SetNHOD ") + text; }))
            nhod = text;
    }
    void SetVVOD1(qint32 nomer) override
    {
        const QString text = IgraLook::VvodText(nomer);
        if (Note([&] { return QStringLiteral("SetVVOD1 ") + text; }))
            vvod1 = text;
    }
    void SetVVEDNOM(EntryPrompt prompt) override { Vvednom(IgraLook::PromptText(prompt)); }
    void ShowUndrawn(const std::vector<qint32> &undrawn) override { Vvednom(IgraLook::UndrawnText(undrawn)); }
    void SetKnopka(Knopka shown) override
    {
        const QString text = IgraLook::KnopkaCaption(shown);
        if (Note([&] { return QStringLiteral("SetKnopka ") + text; }))
            knopka = text;
    }
    void SetCaption(const QString &text) override
    {
        if (Note([&] { return QStringLiteral("SetCaption ") + text; }))
            caption = text;
    }

    void EnableVVOD1(bool enabled, bool visible) override
    {
        Note([&] { return QStringLiteral("EnableVVOD1 %1 %2").arg(int(enabled)).arg(int(visible)); });
    }
    void EnablePole(bool enabled) override
    {
        Note([&] { return QStringLiteral("EnablePole %1").arg(int(enabled)); });
    }
    void EnableBiletPic(bool enabled) override
    {
        Note([&] { return QStringLiteral("EnableBiletPic %1").arg(int(enabled)); });
    }
    void EnableSaveTirag(bool enabled) override
    {
        Note([&] { return QStringLiteral("EnableSaveTirag %1").arg(int(enabled)); });
    }
    void EnableAddBilety(bool enabled) override
    {
        Note([&] { return QStringLiteral("EnableAddBilety %1").arg(int(enabled)); });
    }
    void EnablePrizPoNomeru(bool enabled) override
    {
        Note([&] { return QStringLiteral("EnablePrizPoNomeru %1").arg(int(enabled)); });
    }
    void FocusVVOD1() override
    {
        Note([] { return QStringLiteral("FocusVVOD1"); });
    }

    void TimerStart() override
    {
        timerActive = true;
        Note([] { return QStringLiteral("TimerStart"); });
    }
    void TimerStop() override
    {
        timerActive = false;
        Note([] { return QStringLiteral("TimerStop"); });
    }

    void RegimChanged() override
    {
        Note([] { return QStringLiteral("RegimChanged"); });
    }
    void SaveTiragAs() override
    {
        if (Note([] { return QStringLiteral("SaveTiragAs"); }))
            ++saveTiragAsCount;
    }
    void ShowSettings() override
    {
        if (Note([] { return QStringLiteral("ShowSettings"); }))
            ++showSettingsCount;
        if (onShowSettings)
            onShowSettings();
    }

private:
    void Vvednom(const QString &text)
    {
        if (Note([&] { return QStringLiteral("SetVVEDNOM ") + text; }))
            vvednom = text;
    }
    // Writes down one call unless quiet; the text is only built when it is kept.
    template <typename MakeText> bool Note(MakeText makeText)
    {
        if (quiet)
            return false;
        calls << makeText();
        return true;
    }
    void Paint(int n, quint32 color)
    {
        if (n >= 0 && n < int(pole.size()))
            pole[std::size_t(n)] = color;
    }
};

} // namespace TestSupport
