#pragma once
// What the fuzz targets check with: a broken promise stops the run at once,
// so the fuzzer keeps the input that broke it.

#include "core/BILETCls.h"
#include "core/LotoRules.h"

#include <QByteArray>
#include <QList>
#include <array>
#include <cstdlib>
#include <vector>

inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Lines of a file as the readers count them: text after the last line end is a line too.
inline qsizetype LineCount(const QByteArray &bytes)
{
    return bytes.count('\n') + (bytes.isEmpty() || bytes.endsWith('\n') ? 0 : 1);
}

// Whether every line after the first lines ones holds nothing but spaces and tabs.
inline bool BlankAfter(const QByteArray &bytes, qsizetype lines)
{
    qsizetype at = 0;
    for (qsizetype l = 0; l < lines && at <= bytes.size(); ++l) {
        const qsizetype lf = bytes.indexOf('\n', at);
        at = lf < 0 ? bytes.size() + 1 : lf + 1;
    }
    for (const QByteArray &line : bytes.mid(at).split('\n')) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        for (const char c : text)
            if (c != ' ' && c != '\t')
                return false;
    }
    return true;
}

// A ticket as printed, written out here on its own so that the reader is held
// to the rule rather than to itself: thirty different numbers 1..90, each
// row's five in five different columns, left to right, and a number text the
// ticket-number box could hold.
inline bool PrintedTicket(const BILETCls &bilet)
{
    if (bilet.Nomer.size() > Loto::kNomerMaxLength)
        return false;
    std::array<bool, 91> seen{};
    for (int k = 0; k < 30; ++k) {
        const int n = bilet.NomeraList(k);
        if (n < 1 || n > 90 || seen[static_cast<std::size_t>(n)])
            return false;
        seen[static_cast<std::size_t>(n)] = true;
        const auto column = [](int v) { return v == 90 ? 8 : v / 10; };
        if (k % 5 != 0 && column(bilet.NomeraList(k - 1)) >= column(n))
            return false;
    }
    return true;
}

// A draw the program could have saved: each number once, two tour changes at
// most, 94 always followed by a ticket index of 0 or more and no more than
// 10,000 of them, and 93 only last.
inline bool SavedDraw(const std::vector<qint32> &entries)
{
    std::array<bool, 91> drawn{};
    int turs = 0;
    int prizy = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const qint32 v = entries[i];
        if (v == 94) {
            if (++i == entries.size() || entries[i] < 0 || ++prizy > 10000)
                return false;
        } else if (v == 93) {
            if (i + 1 != entries.size())
                return false;
        } else if (v == 91) {
            if (++turs > 2)
                return false;
        } else if (v < 1 || v > 90 || drawn[static_cast<std::size_t>(v)]) {
            return false;
        } else {
            drawn[static_cast<std::size_t>(v)] = true;
        }
    }
    return true;
}
