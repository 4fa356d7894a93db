#include "sources_editor/source_coordinate.h"

#include <gtest/gtest.h>

namespace ovd {
namespace {

// A coordinate as loaded, the width of its whole part, and how it is written back.
struct Written {
    const char* text;
    int width;
    const char* written;
};

TEST(Coordinate, WholeValuesAreWrittenPaddedAsBeforeAndDecimalsAsLoaded)
{
    const Written cases[] = {// Whole values, padded as before; zero decimals are a whole value (the height fill's
                             // "%lf" of a whole X stays as it was).
                             {"-865400", 7, "-0865400"},
                             {" 371", 4, "0371"},
                             {"-865400.000000", 7, "-0865400"},
                             {"12345678", 4, "12345678"},
                             // Decimals kept as loaded; a value between -1 and 0 keeps its sign.
                             {"370.950000", 4, "0370.950000"},
                             {"-865400.5", 7, "-0865400.5"},
                             {"-865400.500000", 7, "-0865400.500000"},
                             {"-0.25", 7, "-0000000.25"},
                             {"-0", 4, "0000"},
                             {"-0.000", 4, "0000"},
                             // Other forms by their value, with six decimals at most.
                             {"1.5E+03", 4, "1500"},
                             {"1.25e1", 4, "0012.5"},
                             {"1.23456789", 4, "0001.234568"},
                             {"0.0000001", 4, "0000"},
                             {"abc", 4, "0000"}};
    for (const Written& c : cases)
        EXPECT_EQ(Coordinate::read(c.text).written(c.width), c.written) << c.text;
    EXPECT_EQ(Coordinate::whole(-745000).written(7), "-0745000");
    EXPECT_EQ(Coordinate::of(-2.5).written(7), "-0000002.5");
    EXPECT_FALSE(Coordinate::read("250.0").hasFraction());
    EXPECT_DOUBLE_EQ(Coordinate::read("370.950000").value(), 370.95);
    EXPECT_DOUBLE_EQ(Coordinate::read("-0.25").value(), -0.25);
}

TEST(Coordinate, DialogTextTakesPointOrComma)
{
    EXPECT_EQ(Coordinate::read("370,95"), Coordinate::read("370.95"));
    EXPECT_EQ(Coordinate::read("370,95").shown(), "370.95");
    EXPECT_EQ(Coordinate::read("-0865400.500000").shown(), "-865400.500000");
    EXPECT_EQ(Coordinate::read("").shown(), "0");
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
