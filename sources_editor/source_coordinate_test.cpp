#include "sources_editor/source_coordinate.h"

#include <gtest/gtest.h>

namespace ovd {
namespace {

TEST(Coordinate, WholeValuesAreWrittenPaddedAsBefore)
{
    EXPECT_EQ(Coordinate::read("-865400").written(7), "-0865400");
    EXPECT_EQ(Coordinate::read(" 371").written(4), "0371");
    // Zero decimals are a whole value: the height fill's "%lf" of a whole X stays as it was.
    EXPECT_EQ(Coordinate::read("-865400.000000").written(7), "-0865400");
    EXPECT_EQ(Coordinate::read("12345678").written(4), "12345678");
    EXPECT_EQ(Coordinate::whole(-745000).written(7), "-0745000");
    EXPECT_FALSE(Coordinate::read("250.0").hasFraction());
}

TEST(Coordinate, DecimalsAreKeptAsLoaded)
{
    EXPECT_EQ(Coordinate::read("370.950000").written(4), "0370.950000");
    EXPECT_EQ(Coordinate::read("-865400.5").written(7), "-0865400.5");
    EXPECT_EQ(Coordinate::read("-865400.500000").written(7), "-0865400.500000");
    EXPECT_DOUBLE_EQ(Coordinate::read("370.950000").value(), 370.95);
    // A value between -1 and 0 keeps its sign although its whole part is 0.
    EXPECT_EQ(Coordinate::read("-0.25").written(7), "-0000000.25");
    EXPECT_DOUBLE_EQ(Coordinate::read("-0.25").value(), -0.25);
    EXPECT_EQ(Coordinate::read("-0").written(4), "0000");
    EXPECT_EQ(Coordinate::read("-0.000").written(4), "0000");
}

TEST(Coordinate, DialogTextTakesPointOrComma)
{
    EXPECT_EQ(Coordinate::read("370,95"), Coordinate::read("370.95"));
    EXPECT_EQ(Coordinate::read("370,95").shown(), "370.95");
    EXPECT_EQ(Coordinate::read("-0865400.500000").shown(), "-865400.500000");
    EXPECT_EQ(Coordinate::read("").shown(), "0");
    EXPECT_EQ(Coordinate::read("abc").written(4), "0000");
}

TEST(Coordinate, OtherFormsAreTakenByTheirValueWithSixDecimalsAtMost)
{
    EXPECT_EQ(Coordinate::read("1.5E+03").written(4), "1500");
    EXPECT_EQ(Coordinate::read("1.25e1").written(4), "0012.5");
    EXPECT_EQ(Coordinate::read("1.23456789").written(4), "0001.234568");
    EXPECT_EQ(Coordinate::read("0.0000001").written(4), "0000");
    EXPECT_EQ(Coordinate::of(-2.5).written(7), "-0000002.5");
}

TEST(Coordinate, WholePartBeyondThirtyTwoBitsIsOutOfRange)
{
    bool out = false;
    EXPECT_EQ(Coordinate::read("2147483647.5", &out).written(1), "2147483647.5");
    EXPECT_FALSE(out);
    EXPECT_EQ(Coordinate::read("-2147483647", &out).written(1), "-2147483647");
    EXPECT_FALSE(out);
    EXPECT_EQ(Coordinate::read("2147483648", &out).written(1), "0");
    EXPECT_TRUE(out);
    out = false;
    EXPECT_EQ(Coordinate::read("1e12", &out).value(), 0);
    EXPECT_TRUE(out);
    out = false;
    Coordinate::read("1e999", &out);
    EXPECT_TRUE(out);
}

}  // namespace
}  // namespace ovd
