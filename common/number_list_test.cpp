#include "common/number_list.h"

#include <gtest/gtest.h>

namespace ovd {
namespace {

std::vector<double> listOf(std::string_view text)
{
    Outcome<std::vector<double>> o = parseNumberList(text);
    EXPECT_TRUE(o.ok()) << text;
    return o ? *o : std::vector<double>{};
}

TEST(NumberList, ReadsADecimalCommaAsTheDecimalItMeans)
{
    EXPECT_EQ(listOf("0,2;0,5;1"), (std::vector<double>{0.2, 0.5, 1}));
    EXPECT_EQ(listOf("0,5"), (std::vector<double>{0.5}));  // one level, not 0 and 5
    EXPECT_EQ(listOf("1;2.5; 5 "), (std::vector<double>{1, 2.5, 5}));
    EXPECT_EQ(listOf("-1,5;-0.25"), (std::vector<double>{-1.5, -0.25}));
    EXPECT_EQ(listOf("10;1"), (std::vector<double>{10, 1}));  // kept in the order typed
}

TEST(NumberList, BlankIsEmpty)
{
    EXPECT_TRUE(listOf("").empty());
    EXPECT_TRUE(listOf("  ").empty());
}

TEST(NumberList, RefusesAnythingElseNamingTheText)
{
    for (std::string_view bad : {"1;;2", "1;2;", ";1", "1,2,5", "2,5.5", "1;x", "1 2", "nan", "inf", "1e400", ";"}) {
        Outcome<std::vector<double>> o = parseNumberList(bad);
        ASSERT_FALSE(o.ok()) << bad;
        EXPECT_NE(o.problem().text.find("\"" + std::string(bad) + "\""), std::string::npos) << o.problem().text;
    }
}

}  // namespace
}  // namespace ovd
