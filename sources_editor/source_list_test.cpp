#include "sources_editor/source_list.h"

#include <gtest/gtest.h>

namespace ovd {
namespace {

TEST(SourceNumbering, LimitCancelAndMinNewID)
{
    SourceNumbering n;
    LineDefaults none;
    auto first = newSource(1, n, none);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->ICZ(), 50001);
    EXPECT_EQ(first->NazevZdroje(), "Bodový zdroj 50001");
    n.giveBack();  // cancelled: the number is not used up
    EXPECT_EQ(newSource(2, n, none)->ICZ(), 50001);

    n.setCounter(99998);
    EXPECT_EQ(newSource(1, n, none)->ICZ(), 99999);
    EXPECT_EQ(newSource(1, n, none), nullptr);
    EXPECT_EQ(n.counter(), 99999);

    n.setMinNewID(60000);  // lowering below the counter keeps the counter
    EXPECT_EQ(n.counter(), 99999);
    n.reset();
    EXPECT_EQ(n.next(), 60001);
    n.setMinNewID(70000);
    EXPECT_EQ(n.next(), 70001);
}

TEST(SourceNumbering, NextNumberLiesAboveEveryNumberInTheList)
{
    SourceNumbering n;
    n.noteNumber(50001);   // loaded
    n.noteNumber(120);     // below the counter: no effect
    n.noteNumber(150000);  // beyond the automatic range: no effect
    EXPECT_EQ(n.next(), 50002);
    n.noteNumber(50010);  // typed into a dialog
    EXPECT_EQ(n.next(), 50011);
    n.noteNumber(99999);
    EXPECT_EQ(n.next(), std::nullopt);  // the limit message, never a duplicate
    n.reset();
    EXPECT_EQ(n.next(), 50001);
}

TEST(SourceNumbering, MinNewIDFromOptionsText)
{
    EXPECT_EQ(minNewIDFromText("-60000"), 60000);
    EXPECT_EQ(minNewIDFromText("50000.5"), 50000);
    EXPECT_EQ(minNewIDFromText("50001.5"), 50002);
    EXPECT_EQ(minNewIDFromText("250000"), 99998);
    EXPECT_EQ(minNewIDFromText("1e12"), std::nullopt);
    EXPECT_EQ(minNewIDFromText("1e999"), std::nullopt);
}

TEST(LineDefaults, NextSegmentStartsAtTheLastEnd)
{
    SourceNumbering n;
    LineDefaults defaults;
    auto first = newSource(3, n, defaults);
    first->LineParameters("1, 0.5, 0, 0, 1000, 2000, 12, 3, 0.7, 16");
    defaults.remember(*first);
    auto next = newSource(3, n, defaults);
    EXPECT_EQ(next->LineParameters(), "000050002, 0.5, 1000, 2000, 0, 0, 12, 3, 0.7, 16");
}

std::vector<const cZdroje*> view(const std::vector<std::unique_ptr<cZdroje>>& v)
{
    std::vector<const cZdroje*> out;
    for (auto& s : v)
        out.push_back(s.get());
    return out;
}

TEST(Duplicates, SameNumberAndKindOnlyTheLaterSelected)
{
    std::vector<std::unique_ptr<cZdroje>> v;
    for (int kind : {1, 3, 1, 2, 1})
        v.push_back(createSource(kind));
    v[0]->ICZ(12);
    v[1]->ICZ(12);
    v[2]->ICZ(12);
    v[3]->ICZ(5);
    v[4]->ICZ(7);
    EXPECT_EQ(findDuplicates(view(v)), std::vector<std::size_t>{2});

    v[2]->ICZ(13);  // point 12 beside line 12 is no duplicate
    EXPECT_TRUE(findDuplicates(view(v)).empty());
    v[3]->ICZ(12);  // area and line share Komin 0
    EXPECT_EQ(findDuplicates(view(v)).size(), 1u);
}

TEST(MiddlePoints, OnlySelectedLinesRoundedToEven)
{
    auto line = createSource(3), point = createSource(1);
    line->LineParameters("1, 0, 1000, 2000, 1001, 2003, 0, 0, 0, 0");
    point->x(5);
    EXPECT_TRUE(computeMiddlePoints({line.get(), point.get()}));
    EXPECT_EQ(line->x(), 1000);  // 1000.5 -> 1000
    EXPECT_EQ(line->Y(), 2002);  // 2001.5 -> 2002
    EXPECT_EQ(point->x(), 5);
    EXPECT_FALSE(computeMiddlePoints({line.get()}));  // already there: nothing changed
}

TEST(Clipboard, NumberTabNameCrLf)
{
    auto a = createSource(1), b = createSource(2);
    a->ICZ(50001);
    b->ICZ(50002);
    a->finishEdit(true, {"A", {}, {}, {}, 0, 0, {}, ""});
    b->finishEdit(true, {"B", {}, {}, {}, 0, 0, {}, ""});
    EXPECT_EQ(clipboardText({a.get(), b.get()}), "000050001\tA\r\n000050002\tB\r\n");
    EXPECT_EQ(clipboardText({}), "");
}

}  // namespace
}  // namespace ovd
