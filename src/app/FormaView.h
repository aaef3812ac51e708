#pragma once
// The game's view in the main window. What the game shows goes onto the
// window's labels, entry box, winners list, menu items and timer, in the words
// and colours of one table (controls/IgraLook.h). The board and the card are
// painted by the window, and what the window does when the mode or the game
// changes is its own: those calls go on to it through FormaView::Window.

#include "core/GameEngine.h"

#include <QString>
#include <vector>

struct FormaControls;
class QWidget;

class FormaView : public IgraView
{
public:
    // What the view leaves to the window around it.
    class Window
    {
    public:
        // The board and the card, as the game's view paints them.
        virtual void PoleKletka(int n, Kletka kletka) = 0;
        virtual void PoleUnhighlight(int n) = 0;
        virtual void ClearPole() = 0;
        virtual void ShowBilet() = 0;
        virtual void CardKletka(int stroka, int n, Kletka kletka) = 0;
        // The mode or the game changed: menus, strip and journal follow.
        virtual void RegimChanged() = 0;
        virtual void GameChanged() = 0;
        // The draw's save dialog, and the settings dialog.
        virtual void SaveTiragAs() = 0;
        virtual void ShowSettings() = 0;

    protected:
        ~Window() = default;
    };

    // Shows the game on the controls of frame (whose caption it sets too).
    FormaView(const FormaControls &controls, QWidget &frame, Window &window);

    void PoleKletka(int n, Kletka kletka) override { window_.PoleKletka(n, kletka); }
    void PoleUnhighlight(int n) override { window_.PoleUnhighlight(n); }
    void ClearPole() override { window_.ClearPole(); }
    void ShowBilet() override { window_.ShowBilet(); }
    void CardKletka(int stroka, int n, Kletka kletka) override { window_.CardKletka(stroka, n, kletka); }

    void NikaClear() override;
    void NikaAdd(const NikaReason &reason, const std::vector<qint32> &tickets) override;
    void SetTur(qint32 tur) override;
    void SetNHOD(qint32 hod) override;
    void SetVVOD1(qint32 nomer) override;
    void SetVVEDNOM(EntryPrompt prompt) override;
    void ShowUndrawn(const std::vector<qint32> &undrawn) override;
    void SetKnopka(Knopka knopka) override;
    void SetCaption(const QString &caption) override;
    void EnableVVOD1(bool enabled, bool visible) override;
    void EnablePole(bool enabled) override;
    void EnableBiletPic(bool enabled) override;
    void EnableSaveTirag(bool enabled) override;
    void EnableAddBilety(bool enabled) override;
    void EnablePrizPoNomeru(bool enabled) override;
    void FocusVVOD1() override;
    void TimerStart() override;
    void TimerStop() override;

    void RegimChanged() override { window_.RegimChanged(); }
    void SaveTiragAs() override { window_.SaveTiragAs(); }
    void ShowSettings() override { window_.ShowSettings(); }
    void GameChanged() override { window_.GameChanged(); }

private:
    // The caption before the entry box; cut short by the card, it is shown whole as a tip.
    void ShowVvednom(const QString &text);

    const FormaControls &ui_;
    QWidget &frame_;
    Window &window_;
};
