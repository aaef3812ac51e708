#include "app/FormaView.h"

#include "app/frmForma.h"
#include "controls/ClickLabel.h"
#include "controls/Contrast.h"
#include "controls/IgraLook.h"
#include "controls/NikaList.h"
#include "controls/Surface.h"
#include "controls/VbColor.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

FormaView::FormaView(const FormaControls &controls, QWidget &frame, Window &window)
    : ui_(controls), frame_(frame), window_(window)
{
}

void FormaView::NikaClear()
{
    ui_.NIKA->Clear();
}

void FormaView::NikaAdd(const NikaReason &reason, const std::vector<qint32> &tickets)
{
    ui_.NIKA->AddLines(IgraLook::NikaPrefix(reason), tickets);
}

void FormaView::SetTur(qint32 tur)
{
    ClickLabel *label = ui_.Tur;
    label->setText(IgraLook::TurCaption(tur));
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, VbColor::ToQColor(IgraLook::TurColor(tur)));
    label->setPalette(pal);
    Contrast::MakeReadable(label, QPalette::WindowText, QPalette::Window);
}

void FormaView::SetNHOD(qint32 hod)
{
    ui_.NHOD->setText(IgraLook::NhodText(hod));
}

void FormaView::SetVVOD1(qint32 nomer)
{
    ui_.VVOD1->setText(IgraLook::VvodText(nomer));
}

void FormaView::SetVVEDNOM(EntryPrompt prompt)
{
    ShowVvednom(IgraLook::PromptText(prompt));
}

void FormaView::ShowUndrawn(const std::vector<qint32> &undrawn)
{
    ShowVvednom(IgraLook::UndrawnText(undrawn));
}

void FormaView::ShowVvednom(const QString &text)
{
    QLabel *label = ui_.VVEDNOM;
    frmForma::SetLabel(label, text);
    label->setToolTip(label->x() + label->width() > ui_.BiletPic->x() ? text : QString());
}

void FormaView::SetKnopka(Knopka knopka)
{
    const bool shown = knopka != Knopka::Hidden;
    ui_.Knopka->setText(IgraLook::KnopkaCaption(knopka));
    ui_.Knopka->setVisible(shown);
    // Its key does what a click does, and says so in the menu.
    QAction *item = ui_.RegimKnopka;
    item->setEnabled(shown);
    if (knopka == Knopka::Stop)
        item->setText(QStringLiteral("&Пауза"));
    else if (knopka == Knopka::Dalee)
        item->setText(QStringLiteral("Продол&жить"));
    else
        item->setText(QStringLiteral("&Конец игры"));
}

void FormaView::SetCaption(const QString &caption)
{
    frame_.setWindowTitle(caption);
}

void FormaView::EnableVVOD1(bool enabled, bool visible)
{
    ui_.VVOD1->setEnabled(enabled);
    ui_.VVOD1->setVisible(visible);
}

void FormaView::EnablePole(bool enabled)
{
    ui_.PolePic->setEnabled(enabled);
}

void FormaView::EnableBiletPic(bool enabled)
{
    ui_.BiletPic->setEnabled(enabled);
}

void FormaView::EnableSaveTirag(bool enabled)
{
    ui_.FileSaveTiragAs->setEnabled(enabled);
}

void FormaView::EnableAddBilety(bool enabled)
{
    ui_.RegimAddBliet->setEnabled(enabled);
}

void FormaView::EnablePrizPoNomeru(bool enabled)
{
    ui_.RegimPrizPoNomeru->setEnabled(enabled);
}

void FormaView::FocusVVOD1()
{
    ui_.VVOD1->setFocus();
}

void FormaView::TimerStart()
{
    ui_.Timer1->start();
}

void FormaView::TimerStop()
{
    ui_.Timer1->stop();
}
