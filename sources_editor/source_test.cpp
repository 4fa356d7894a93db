#include "sources_editor/source.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>

#include "sources_editor/real_text.h"

namespace ovd {
namespace {

TEST(RealText, LenientReaderReadsPrefixesAndRefusesWhatStrtodWouldTake)
{
    EXPECT_DOUBLE_EQ(readLenient("  12.5abc").value, 12.5);
    EXPECT_DOUBLE_EQ(readLenient("1.5E3").value, 1500);
    EXPECT_DOUBLE_EQ(readLenient("-2e-1;").value, -0.2);
    EXPECT_DOUBLE_EQ(readLenient("1000,5").value, 1000);  // the comma ends the number
    EXPECT_DOUBLE_EQ(readLenient("5e").value, 5);
    EXPECT_DOUBLE_EQ(readLenient(".5").value, 0.5);
    for (const char* text : {"", "abc", "inf", "nan", "-", ".", "0x10"}) {
        LenientNumber n = readLenient(text);
        EXPECT_EQ(n.value, 0) << text;
        EXPECT_FALSE(n.outOfRange) << text;
    }
    EXPECT_TRUE(readLenient("1e400").outOfRange);
    EXPECT_TRUE(readLenient("-123456789e999").outOfRange);
    EXPECT_FALSE(readLenient("1e-400").outOfRange);
    EXPECT_EQ(readLenient("0.000e999").value, 0);
}

TEST(RealText, RoundingAndRanges)
{
    EXPECT_EQ(toInt32(2.5), 2);
    EXPECT_EQ(toInt32(3.5), 4);
    EXPECT_EQ(toInt32(-2.5), -2);
    bool out = false;
    EXPECT_EQ(toInt32(2147483647.4, &out), 2147483647);
    EXPECT_FALSE(out);
    EXPECT_EQ(toInt32(2147483648.0, &out), 0);
    EXPECT_TRUE(out);
    out = false;
    EXPECT_EQ(readLenientFloat("1e39", &out), 0);
    EXPECT_TRUE(out);
}

TEST(RealText, GeneralFormWithSevenDigitsReadsBack)
{
    EXPECT_EQ(formatReal(1.5f), "1.5");
    EXPECT_EQ(formatReal(40), "40");
    EXPECT_EQ(formatReal(0.8f), "0.8");
    EXPECT_EQ(formatReal(-0.0f), "0");
    EXPECT_EQ(formatReal(1234567), "1234567");
    EXPECT_EQ(formatReal(12345678), "1.234568E+07");
    EXPECT_EQ(formatReal(0.00001f), "1E-05");
    for (float v : {3.4e38f, 1.17549435e-38f, 7.853982f, 0.1f, 123.456f}) {
        float back = readLenientFloat(formatReal(v));
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-6f) << formatReal(v);
    }
    EXPECT_EQ(zeroPadded(123, 9), "000000123");
    EXPECT_EQ(zeroPadded(-745000, 7), "-0745000");
    EXPECT_EQ(zeroPadded(12345678, 4), "12345678");
}

TEST(Source, PointsLineBothWays)
{
    cBodovyZdroj p;
    p.ICZ(123);
    EXPECT_EQ(p.NazevZdroje(), "Bodový zdroj 123");
    p.x(745000);
    p.Y(1045000);
    p.finishEdit(true, SourceEdit{"Bodový zdroj 123", Coordinate::whole(745000), Coordinate::whole(1045000), Coordinate::whole(250), 0, 0, std::vector<float>(8, 0), "0,0,0"});
    EXPECT_EQ(p.LineSource(), "000000123, 0745000, 1045000, 0250, 1, 0, 0 ;Bodový zdroj 123");

    cLiniovyZdroj l;
    l.LineSource("000099999, -0745000, 1045000, 0250, 3, 7, -2 ;Silnice; úsek A");
    EXPECT_EQ(l.ICZ(), 99999);
    EXPECT_EQ(l.x(), -745000);
    EXPECT_EQ(l.Shluk(), 7);
    EXPECT_EQ(l.Skupina(), -2);
    EXPECT_EQ(l.NazevZdroje(), "Silnice");  // cut at the second ";"
    EXPECT_EQ(l.LineSource(), "000099999, -0745000, 1045000, 0250, 3, 7, -2 ;Silnice");

    cPlosnyZdroj a;
    a.LineSource("12,1000.5,2001.5,-3");  // few fields, decimals kept, no name
    EXPECT_EQ(a.x(), 1000.5);
    EXPECT_EQ(a.Y(), 2001.5);
    EXPECT_EQ(a.Z(), -3);
    EXPECT_EQ(a.Shluk(), 0);
    EXPECT_EQ(a.NazevZdroje(), "");

    cBodovyZdroj big;
    big.LineSource("1, 1e12, 5, 5, 1, 0, 0 ;x");
    EXPECT_EQ(big.x(), 0);
    EXPECT_EQ(big.takeOutOfRangeCount(), 1);
    EXPECT_EQ(big.takeOutOfRangeCount(), 0);
}

TEST(Source, DescriptionLineBothWays)
{
    const std::string line = "000000123, 1.5, 40, 2.3, 150, 1.2, 8.5, 0.8, 24, 0";
    cBodovyZdroj p;
    p.ICZ(123);
    p.LineParameters(line);
    EXPECT_EQ(p.LineParameters(), line);

    cPlosnyZdroj a;
    a.ICZ(7);
    a.LineParameters("999, 1, 2, 3, 4");  // the number stays the points line's
    EXPECT_EQ(a.LineParameters(), "000000007, 1, 2, 3, 4, 0, 0, 0, 0, 0");
    EXPECT_TRUE(a.plumeRise());
    a.LineParameters("7, 1, 2, 3, 4, 5, 6, 7, 8, 9;remark, 99");
    EXPECT_EQ(a.Parameters(8), 9);
    EXPECT_FALSE(a.plumeRise());
    a.LineParameters("");
    EXPECT_EQ(a.LineParameters(), "000000007, 0, 0, 0, 0, 0, 0, 0, 0, 0");
}

TEST(Source, DustLineByKind)
{
    cBodovyZdroj p;
    p.ICZ(12);
    EXPECT_EQ(p.LineDust(), "000000012,0,0,0");
    p.LineDust("2500,0,2,10,0.6,50,0.4");
    EXPECT_EQ(p.LineDust(), "000000012,2500,0,2,10,0.6,50,0.4");
    cLiniovyZdroj l;
    l.ICZ(13);
    l.LineDust("2500,3");
    EXPECT_EQ(l.LineDust(), "000000013");
    EXPECT_EQ(l.Prach(), "2500,3");
}

TEST(Source, KindsAndOutOfRangeIndex)
{
    EXPECT_EQ(createSource(4), nullptr);
    auto p = createSource(1), a = createSource(2), l = createSource(3);
    EXPECT_EQ(p->Icon(), 1);
    EXPECT_EQ(a->Icon(), 3);
    EXPECT_EQ(l->Icon(), 2);
    EXPECT_EQ(p->Komin(), 1);
    EXPECT_EQ(l->Komin(), 0);
    EXPECT_EQ(p->parameterCount(), 8);
    EXPECT_EQ(a->parameterCount(), 9);
    EXPECT_EQ(l->CKU(), 0);
#ifndef NDEBUG
    EXPECT_DEATH(p->Parameters(8), "");
#endif
}

TEST(Source, CancelledEditChangesNothing)
{
    cBodovyZdroj p;
    p.ICZ(5);
    SourceEdit e{"X", Coordinate::whole(1), Coordinate::whole(2), Coordinate::whole(3), 4, 5, std::vector<float>(8, 9.0f), "1,2"};
    p.finishEdit(false, e);
    EXPECT_FALSE(p.EditOk());
    EXPECT_EQ(p.x(), 0);
    p.finishEdit(true, e);
    EXPECT_TRUE(p.EditOk());
    EXPECT_EQ(p.NazevZdroje(), "X");
    EXPECT_EQ(p.Parameters(7), 9);
    EXPECT_EQ(p.Prach(), "1,2");
}

TEST(Source, LinesKeepThePointInACommaLocale)
{
    bool active = false;
    for (const char* name : {"cs_CZ.UTF-8", "cs_CZ.utf8", "de_DE.UTF-8", "de_DE.utf8"})
        if ((active = std::setlocale(LC_ALL, name) != nullptr))
            break;
    if (!active)
        GTEST_SKIP() << "no comma locale installed (the test script generates cs_CZ.UTF-8)";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", 1.5);
    EXPECT_STREQ(buf, "1,5");
    cBodovyZdroj p;
    p.ICZ(1);
    p.LineParameters("1, 1.5, 2.5E-05, 1234567.5, 3, 0, 0, 0.8, 24");
    EXPECT_EQ(p.LineParameters(), "000000001, 1.5, 2.5E-05, 1234568, 3, 0, 0, 0.8, 24, 0");
    EXPECT_EQ(readLenient("1,5").value, 1);  // files carry "." only
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace ovd
