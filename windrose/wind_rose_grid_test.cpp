#include "wind_rose_grid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "hundredths.h"

namespace ovd {
namespace {

TEST(Hundredths, EntryRoundsHalvesUpOnTheDecimalText)
{
    EXPECT_EQ(parseHundredths("12.345"), 1235);
    EXPECT_EQ(parseHundredths("12,345"), 1235);
    EXPECT_EQ(parseHundredths("1.005"), 101);  // 1.005 is below the half as a double
    EXPECT_EQ(parseHundredths("0.285"), 29);
    EXPECT_EQ(parseHundredths("0.2849999"), 28);
    EXPECT_EQ(parseHundredths("  7"), 700);
    EXPECT_EQ(parseHundredths("-1.005"), -100);  // halves go up, also below zero
    EXPECT_EQ(parseHundredths("-1.0051"), -101);
    EXPECT_EQ(parseHundredths("-0.004"), 0);
    EXPECT_EQ(parseHundredths(".5"), 50);
}

TEST(Hundredths, NumericPrefixOfOtherTexts)
{
    EXPECT_EQ(parseHundredths("12.3abc"), 1230);
    EXPECT_EQ(parseHundredths("abc"), 0);
    EXPECT_EQ(parseHundredths(""), 0);
    EXPECT_EQ(parseHundredths("-"), 0);
    EXPECT_EQ(parseHundredths("1e2"), 10000);
    EXPECT_EQ(parseHundredths("2,5e1"), 2500);
    EXPECT_EQ(parseHundredths("3e"), 300);
    long long huge = parseHundredths("99999999999999999999999");
    EXPECT_GT(huge, 0);
    EXPECT_EQ(parseHundredths("-99999999999999999999999"), -huge);
}

TEST(Hundredths, Formats)
{
    EXPECT_EQ(formatHundredths(1235), "12.35");
    EXPECT_EQ(formatHundredths(1235, ','), "12,35");
    EXPECT_EQ(formatHundredths(0), "0.00");
    EXPECT_EQ(formatHundredths(-50), "-0.50");
    EXPECT_EQ(formatHundredthsGeneral(10000), "100");
    EXPECT_EQ(formatHundredthsGeneral(9999), "99.99");
    EXPECT_EQ(formatHundredthsGeneral(1250, ','), "12,5");
    EXPECT_EQ(formatHundredthsGeneral(-3), "-0.03");
    EXPECT_EQ(divideRoundHalfUp(5, 10), 1);
    EXPECT_EQ(divideRoundHalfUp(-5, 10), 0);
    EXPECT_EQ(divideRoundHalfUp(-6, 10), -1);
}

TEST(WindRoseGrid, LockedCells)
{
    for (int r : {3, 5, 6, 8, 9, 11})
        EXPECT_FALSE(WindRoseGrid::isEditable(r, kCalmColumn)) << r;
    for (int r : {1, 2, 4, 7, 10})
        EXPECT_TRUE(WindRoseGrid::isEditable(r, kCalmColumn)) << r;
    for (int r = 1; r <= 12; ++r)
        EXPECT_FALSE(WindRoseGrid::isEditable(r, kRowSumColumn));
    EXPECT_FALSE(WindRoseGrid::isEditable(12, 11));
    EXPECT_TRUE(WindRoseGrid::isEditable(12, 9));
    EXPECT_TRUE(WindRoseGrid::isEditable(11, 11));
    EXPECT_FALSE(WindRoseGrid::isEditable(0, 1));
    EXPECT_FALSE(WindRoseGrid::isEditable(1, 0));
    EXPECT_EQ(WindRoseGrid::title(0, 11), "Rozpočet");
    EXPECT_EQ(WindRoseGrid::title(12, 0), " Sum (Graf)");
    EXPECT_EQ(WindRoseGrid::title(3, 0), " II.tř. v=5 m/s");
}

TEST(WindRoseGrid, BlockEntryFillsEditableCellsAndKeepsSums)
{
    WindRoseGrid g;
    EXPECT_EQ(g.enterBlock(4, 9, 2, 8, parseHundredths("1,5")), 5);  // (3, 9) is locked
    EXPECT_EQ(g.value(3, kCalmColumn), 0);
    EXPECT_EQ(g.value(2, kCalmColumn), 150);
    EXPECT_EQ(g.value(3, 8), 150);
    EXPECT_EQ(g.value(2, kRowSumColumn), 300);
    EXPECT_EQ(g.value(3, kRowSumColumn), 150);
    EXPECT_EQ(g.value(kSumRow, 8), 450);
    EXPECT_EQ(g.value(kSumRow, kCalmColumn), 300);
    EXPECT_EQ(g.grandTotalText(), "7.5/7.5");
    EXPECT_FALSE(g.enter(12, 10, 5));
    EXPECT_FALSE(g.enter(5, 9, 5));
}

TEST(WindRoseGrid, RowTwelveAndBudgetEditsUpdateOnlyTheirTotals)
{
    WindRoseGrid g;
    g.enter(1, 1, 1000);
    g.enter(kSumRow, 2, 9000);  // typed direction total: not a column sum
    EXPECT_EQ(g.value(kSumRow, 1), 1000);
    EXPECT_EQ(g.firstTotal(), 10000);
    EXPECT_EQ(g.secondTotal(), 1000);
    EXPECT_FALSE(g.totalsAre100());
    EXPECT_EQ(g.grandTotalText(','), "100/10");
    g.enter(2, kBudgetColumn, 4000);
    g.enter(7, kBudgetColumn, 2550);
    EXPECT_EQ(g.value(kSumRow, kBudgetColumn), 6550);
    EXPECT_EQ(g.secondTotal(), 1000);
}

TEST(WindRoseGrid, ExactHundredFromNinetyNineValues)
{
    WindRoseGrid g;
    // 98 cells of 1.01 would not sum exactly in binary; hundredths must give 100.
    long long left = 10000;
    for (int r = 1; r <= 11; ++r)
        for (int c = 1; c <= 9; ++c) {
            if (!WindRoseGrid::isEditable(r, c))
                continue;
            long long v = (r == 1 && c == 1) ? 0 : 101;
            g.enter(r, c, v);
            left -= v;
        }
    g.enter(1, 1, left);
    EXPECT_EQ(g.secondTotal(), 10000);
    EXPECT_TRUE(g.totalsAre100());
    EXPECT_EQ(g.grandTotalText(), "100/100");
}

TEST(WindRoseGrid, DistributionKeepsDirectionAndCalmTotals)
{
    WindRoseGrid g;
    const long long shares[11] = {500, 1200, 800, 1500, 900, 300, 1700, 1100, 600, 900, 500};  // 100 %
    std::array<long long, 11> budget{};
    for (int r = 0; r < 11; ++r)
        budget[r] = shares[r];
    g.setBudgets(budget);
    EXPECT_EQ(g.value(kSumRow, kBudgetColumn), 10000);
    const long long totals[9] = {1234, 987, 1501, 1333, 777, 1111, 1049, 1208, 800};
    for (int c = 1; c <= 9; ++c)
        g.enter(kSumRow, c, totals[c - 1]);
    g.distribute();
    for (int c = 1; c <= 9; ++c)
        EXPECT_LE(std::llabs(g.value(kSumRow, c) - totals[c - 1]), 6) << c;  // within the rounding of 11 cells
    for (int r : {3, 5, 6, 8, 9, 11})
        EXPECT_EQ(g.value(r, kCalmColumn), 0);
    // Calm of a slow row: its own share plus a fifth of the faster rows' (4200 / 5 = 840).
    EXPECT_EQ(g.value(1, kCalmColumn), divideRoundHalfUp(800LL * (500 + 840), 10000));
    EXPECT_EQ(g.value(4, 3), divideRoundHalfUp(1501LL * 1500, 10000));
    EXPECT_EQ(g.value(4, kRowSumColumn), [&] {
        long long s = 0;
        for (int c = 1; c <= 9; ++c)
            s += g.value(4, c);
        return s;
    }());
}

TEST(WindRoseGrid, DistributionOfExactSharesIsExact)
{
    WindRoseGrid g;
    std::array<long long, 11> budget{};
    budget[0] = 5000;
    budget[2] = 5000;  // a fast row: its calm share goes to the five slow rows
    g.setBudgets(budget);
    g.enter(kSumRow, 1, 6000);
    g.enter(kSumRow, kCalmColumn, 4000);
    g.distribute();
    EXPECT_EQ(g.value(1, 1), 3000);
    EXPECT_EQ(g.value(3, 1), 3000);
    EXPECT_EQ(g.value(1, kCalmColumn), 2400);  // 40 * (50 + 10) / 100
    EXPECT_EQ(g.value(2, kCalmColumn), 400);   // 40 * 10 / 100
    EXPECT_EQ(g.value(3, kCalmColumn), 0);
    EXPECT_TRUE(g.totalsAre100());
}

TEST(WindRoseGrid, BudgetsTextRoundTrip)
{
    WindRoseGrid g;
    std::array<long long, 11> budget{};
    budget[0] = 1250;
    budget[10] = 8750;
    g.setBudgets(budget);
    EXPECT_EQ(g.budgetsText(), "12.5;0;0;0;0;0;0;0;0;0;87.5;");
    EXPECT_EQ(WindRoseGrid::parseBudgets(g.budgetsText()), budget);
    EXPECT_EQ(WindRoseGrid::parseBudgets(""), (std::array<long long, 11>{}));
    auto partial = WindRoseGrid::parseBudgets("1,5;x;3");
    EXPECT_EQ(partial[0], 150);
    EXPECT_EQ(partial[1], 0);
    EXPECT_EQ(partial[2], 300);
}

TEST(WindRoseGrid, LayersSumRowsOfAClass)
{
    WindRoseGrid g;
    g.enter(4, 2, 100);   // III, 1.7 m/s, NE
    g.enter(6, 2, 250);   // III, 11 m/s, NE
    g.enter(9, 2, 1000);  // IV, 11 m/s, NE
    EXPECT_DOUBLE_EQ(g.classLayer(2)[1], 3.5);
    EXPECT_DOUBLE_EQ(g.classLayer(3)[1], 10.0);
    EXPECT_DOUBLE_EQ(g.speedLayer(2)[1], 12.5);
    EXPECT_DOUBLE_EQ(g.speedLayer(0)[1], 1.0);
    EXPECT_DOUBLE_EQ(g.directionTotals()[1], 13.5);
    EXPECT_EQ(g.directionTotals().size(), 8u);
}

}  // namespace
}  // namespace ovd
