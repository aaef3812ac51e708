#pragma once
// The report on a game as a table for a spreadsheet: UTF-8 (with the mark that
// tells spreadsheets so), a header row, then one row per ticket: its number,
// its best count in each tour, the number it waits for while the game is on,
// and what it won. Fields are separated by ";", as spreadsheets in a Russian
// locale expect, and quoted where they hold one.

#include "core/IgraReport.h"

#include <QByteArray>

namespace ReportCsv
{

QByteArray Write(const IgraReport &report);

} // namespace ReportCsv
