#pragma once

#include "core/BILETCls.h"
#include "core/LotoRules.h"

#include <QString>
#include <algorithm>
#include <array>
#include <numeric>
#include <random>
#include <vector>

namespace TestSupport
{

// A ticket as printed: six rows of five numbers, each row in five different
// columns and ascending, all thirty numbers different.
inline BILETCls RandomValidBilet(std::mt19937 &rng, const QString &nomer)
{
    // One shuffled pool of numbers per column; a column is used at most six times
    // and the smallest one (1..9) has nine numbers, so a pool never runs dry.
    std::array<std::vector<int>, Loto::kColumns> pools;
    for (int n = 1; n <= Loto::kMaxNomer; ++n)
        pools[static_cast<std::size_t>(Loto::ColumnOfNomer(n))].push_back(n);
    for (auto &pool : pools)
        std::shuffle(pool.begin(), pool.end(), rng);

    BILETCls bilet;
    bilet.Nomer = nomer;
    std::array<int, Loto::kColumns> columns{};
    std::iota(columns.begin(), columns.end(), 0);
    for (int r = 0; r < Loto::kStroki; ++r) {
        std::shuffle(columns.begin(), columns.end(), rng);
        std::array<int, Loto::kNomeraPerStroka> row{};
        for (int i = 0; i < Loto::kNomeraPerStroka; ++i) {
            auto &pool = pools[static_cast<std::size_t>(columns[static_cast<std::size_t>(i)])];
            row[static_cast<std::size_t>(i)] = pool.back();
            pool.pop_back();
        }
        // Columns partition the values, so ascending value is ascending column.
        std::sort(row.begin(), row.end());
        for (int i = 0; i < Loto::kNomeraPerStroka; ++i)
            bilet.NomeraAdd(r * Loto::kNomeraPerStroka + i, row[static_cast<std::size_t>(i)]);
    }
    return bilet;
}

// A ticket written out row by row, for tests that need to see the numbers.
inline BILETCls BiletFromRows(const std::array<std::array<int, 5>, 6> &rows, const QString &nomer)
{
    BILETCls bilet;
    bilet.Nomer = nomer;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t i = 0; i < rows[r].size(); ++i)
            bilet.NomeraAdd(static_cast<int>(r * 5 + i), rows[r][i]);
    return bilet;
}

// Whether a ticket is laid out as printed: thirty different numbers 1..90,
// and each row's five in five different columns, left to right.
inline bool IsPrintedLayout(const BILETCls &bilet)
{
    std::array<bool, Loto::kMaxNomer + 1> seen{};
    for (int r = 0; r < Loto::kStroki; ++r) {
        for (int i = 0; i < Loto::kNomeraPerStroka; ++i) {
            const int n = bilet.NomeraList(r * Loto::kNomeraPerStroka + i);
            if (n < 1 || n > Loto::kMaxNomer || seen[static_cast<std::size_t>(n)])
                return false;
            seen[static_cast<std::size_t>(n)] = true;
            if (i > 0 && Loto::ColumnOfNomer(bilet.NomeraList(r * Loto::kNomeraPerStroka + i - 1)) >=
                             Loto::ColumnOfNomer(n))
                return false;
        }
    }
    return true;
}

} // namespace TestSupport
