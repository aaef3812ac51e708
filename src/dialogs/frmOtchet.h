#pragma once
// "Отчёт": what the report on the game holds, in brief, and how to keep it:
// a PDF for paper, a CSV table for a spreadsheet, or straight to the printer.

#include "core/IgraReport.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

class frmOtchet : public QDialog
{
    Q_OBJECT
public:
    enum class Choice { None, Pdf, Csv, Print };

    explicit frmOtchet(const IgraReport &report, QWidget *parent = nullptr);

    // Opens a fresh dialog modally; what the user chose.
    static Choice Ask(const IgraReport &report, QWidget *parent);

    // How the report's file is named (parent, caption, suggested path, filter):
    // the desktop's save dialog; empty when the user gave up. Tests put their own.
    using Picker = std::function<QString(QWidget *, const QString &, const QString &, const QString &)>;
    static Picker &PickFile();

    Choice chosen() const { return chosen_; }

    QLabel *LblSummary = nullptr;  // the draw, the moves, the wins and the tickets
    QPushButton *kPdf = nullptr;   // "Сохранить PDF…", the default button
    QPushButton *kCsv = nullptr;   // "Сохранить CSV…"
    QPushButton *kPrint = nullptr; // "Печать…"
    QPushButton *kNO = nullptr;    // "Отмена"

private:
    Choice chosen_ = Choice::None;
};
