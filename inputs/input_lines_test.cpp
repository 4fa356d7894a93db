#include "input_lines.h"

#include <gtest/gtest.h>

namespace ovd {
namespace {

TEST(LineSyntax, CommentsRecordsAndCommas)
{
    EXPECT_TRUE(isCommentLine(";SOUBOR S BODY"));
    EXPECT_TRUE(isCommentLine("   ;any text, with, commas"));
    EXPECT_FALSE(isCommentLine("\t;tab is not a blank here"));
    EXPECT_FALSE(isCommentLine("12,1,2,3,4;remark"));
    EXPECT_FALSE(isCommentLine(""));
    EXPECT_EQ(recordNumber("  12,1,2,3,4;"), 12);
    EXPECT_FALSE(recordNumber("0,1,2,3,4;"));
    EXPECT_FALSE(recordNumber("-3,1,2,3,4;"));
    EXPECT_FALSE(recordNumber("x1,2"));
    EXPECT_EQ(commaCount("1,2,3;4,5,6"), 2);
    EXPECT_EQ(commaCount("1,2,3"), 2);
}

TEST(PointLine, ParsesLikeTheScannerAndStopsAtTheFirstBadField)
{
    PointLine p = parsePointLine("12,1, 2,3.5e1,4;remark");
    EXPECT_TRUE(p.complete);
    EXPECT_EQ(p.number, 12);
    EXPECT_DOUBLE_EQ(p.z, 35.0);
    // a blank before a comma ends the scan: that field is read, the rest keep their sentinels
    PointLine q = parsePointLine("12,1 ,2,3,4;");
    EXPECT_FALSE(q.complete);
    EXPECT_DOUBLE_EQ(q.x, 1.0);
    EXPECT_EQ(q.y, kMissingReal);
    EXPECT_FALSE(parsePointLine("12,nan,2,3,4;").complete);
    EXPECT_FALSE(parsePointLine("12,inf,2,3,4;").complete);
    EXPECT_FALSE(parsePointLine("99999999999,1,2,3,4;").complete);
}

std::string verdictText(const LineVerdict& v)
{
    return std::string(classLabel(v.lineClass)) + "/" + std::string(correctnessLabel(v.correctness)) +
        (v.messages.empty() ? "" : ": " + v.messages.front());
}

TEST(PointLine, CheckClassifiesEveryKindOfLine)
{
    EXPECT_EQ(verdictText(checkPointLine(";SOUBOR S BODY", 1)), "Komentář/OK");
    EXPECT_EQ(verdictText(checkPointLine("12,1,2,3,4;remark", 2)), "Parametry/OK");
    EXPECT_EQ(verdictText(checkPointLine("0,1,2,3,4;", 2)), "Parametry/OK");
    EXPECT_EQ(verdictText(checkPointLine("", 3)),
              "Parametry/Chybí: Řádek 3 souboru s referenčními body : zadán nedostatečný počet vstupních parametrů");
    EXPECT_EQ(verdictText(checkPointLine("12,1,2,3;", 4)),
              "Parametry/Chybí: Řádek 4 souboru s referenčními body : zadán nedostatečný počet vstupních parametrů");
    EXPECT_EQ(verdictText(checkPointLine("12,1,2,3,4,5;", 5)),
              "Parametry/Navíc: Řádek 5 souboru s referenčními body : zadán nadbytečný počet vstupních parametrů");
    EXPECT_EQ(verdictText(checkPointLine("-4,1,2,3,4;", 6)),
              "Parametry/Mimo rozsah: Řádek 6 souboru s referenčními body : číslo referenčního bodu : -4 - mimo "
              "povolený rozsah");
    EXPECT_EQ(verdictText(checkPointLine("a,1,2,3,4;", 6)),
              "Parametry/Mimo rozsah: Řádek 6 souboru s referenčními body : číslo referenčního bodu : -999 - mimo "
              "povolený rozsah");
    EXPECT_EQ(verdictText(checkPointLine("4,1,y,3,4;", 7)),
              "Parametry/Mimo rozsah: Řádek 7 souboru s referenčními body : Y-souřadnice mimo povolený rozsah");
    EXPECT_EQ(verdictText(checkPointLine("4,1,2,3,;", 8)),
              "Parametry/Mimo rozsah: Řádek 8 souboru s referenčními body : Z,L-souřadnice mimo povolený rozsah");
}

TEST(CoordinateLine, EditorFormatAndTypeRange)
{
    CoordinateLine c = parseCoordinateLine("000000017, 0001500, 0002500, 0310, 1, 0, 4 ;Komín teplárny");
    EXPECT_TRUE(c.complete);
    EXPECT_EQ(c.number, 17);
    EXPECT_DOUBLE_EQ(c.x, 1500);
    EXPECT_EQ(c.group, 4);
    EXPECT_EQ(verdictText(checkCoordinateLine("5,100,200,300,4,1,1;", 9)),
              "Parametry/Mimo rozsah: Řádek 9 souboru se souřadnicemi : Typ zdroje mimo povolený rozsah");
    EXPECT_EQ(verdictText(checkCoordinateLine("5,100,200,300,1,1,;", 9)),
              "Parametry/Mimo rozsah: Řádek 9 souboru se souřadnicemi : Indikace shluku/skupiny mimo povolený rozsah");
    EXPECT_EQ(verdictText(checkCoordinateLine("5,100,200,300,1,1;", 2)),
              "Parametry/Chybí: Řádek 2 souboru se souřadnicemi : zadán nedostatečný počet vstupních parametrů");
}

TEST(DescriptionLine, PointSourceRules)
{
    // d = 1, w0 = 10, ts = 0 gives Vn of about 7.854 m3/s: 15.7 passes, 15.8 does not
    EXPECT_NEAR(normalFlueGasVolume(1, 10, 0), 7.854, 0.001);
    EXPECT_EQ(verdictText(checkDescriptionLine("1, 10, 50, 15.7, 0, 1, 10, 0.5, 24, 0", 1, 1)), "Parametry/OK");
    EXPECT_EQ(verdictText(checkDescriptionLine("1, 10, 50, 15.8, 0, 1, 10, 0.5, 24, 0;", 1, 1)),
              "Parametry/Mimo rozsah: Řádek 1 souboru s popisem : parametr Vs - objem spalin mimo rozsah <zavislost na "
              "d,w0,ts>");
    // a tenth comma is tolerated, an eleventh is not
    EXPECT_EQ(verdictText(checkDescriptionLine("1,1,50,1,0,1,10,0.5,24,0,;", 1, 1)), "Parametry/OK");
    EXPECT_EQ(checkDescriptionLine("1,1,50,1,0,1,10,0.5,24,0,,;", 1, 1).correctness, Correctness::Extra);
    // H over 500 reports only H; otherwise every broken rule in order
    LineVerdict high = checkDescriptionLine("2,1,501,1,400,20,10,2,30,0", 4, 2);
    ASSERT_EQ(high.messages.size(), 1u);
    EXPECT_EQ(high.messages[0], "Řádek 4 souboru s popisem : parametr H - výška komína mimo rozsah <0 - 500>");
    LineVerdict many = checkDescriptionLine("2,1,50,1,400,20,101,-0.1,25,0", 4, 2);
    std::vector<std::string> expected = {
        "Řádek 4 souboru s popisem : parametr ts - teplota spalin mimo rozsah <0 - 350>",
        "Řádek 4 souboru s popisem : parametr d - průměr komína mimo rozsah <0 - 15>",
        "Řádek 4 souboru s popisem : parametr w0 - výstupní rychlost mimo rozsah <0 - 100>",
        "Řádek 4 souboru s popisem : parametr alfa - rel. roční využití mimo rozsah <0 - 1>",
        "Řádek 4 souboru s popisem : parametr Pd - počet hodin mimo rozsah <0 - 24>",
    };
    EXPECT_EQ(many.messages, expected);
}

TEST(DescriptionLine, LineSourcesLinksAndUnreadableValues)
{
    EXPECT_EQ(verdictText(checkDescriptionLine("3, 0.01, 0, 0, 100, 100, 100, 10, 1, 24", 2, 3)), "Parametry/OK");
    EXPECT_EQ(verdictText(checkDescriptionLine("3, 0.01, 0, 0, 100, 100, 101, 10, 1, 24", 2, 3)),
              "Parametry/Mimo rozsah: Řádek 2 souboru s popisem : jeden parametrů X0el,Y0el,Alfa,Y0 mimo rozsah");
    EXPECT_EQ(verdictText(checkDescriptionLine("7,1,1,1,1,1,1,1,1,1;", 2, std::nullopt)), "Parametry/Chybí odkaz");
    EXPECT_EQ(verdictText(checkDescriptionLine("7,1,1,1,x,1,1,1,1,1", 2, 1)),
              "Parametry/Mimo rozsah: Řádek 2 souboru s popisem : některý z parametrů mimo povolený rozsah");
}

TEST(DustLine, ExpansionWithGroupsAndCommaCount)
{
    std::vector<std::string> groups = {";skupiny", "2,2,10,0.4,20,0.6;jemný", "5,1,50,1;hrubý"};
    DustLine d = parseDustLine("4,2500,2");
    ASSERT_TRUE(d.complete);
    EXPECT_EQ(expandDustLine("4,2500,2", d, groups), "4,2500,2,2,10,0.4,20,0.6;jemný");
    ExpandedDust e = parseExpandedDust("4,2500,2,2,10,0.4,20,0.6;jemný");
    ASSERT_TRUE(e.complete);
    ASSERT_EQ(e.fractions.size(), 2u);
    EXPECT_DOUBLE_EQ(e.fractions[1].diameter, 20);
    EXPECT_DOUBLE_EQ(e.fractions[1].share, 0.6);
    EXPECT_TRUE(parseDustLine("000000009").numberOnly);

    EXPECT_FALSE(checkDustLine("9", 1, groups));  // passed over: no row
    EXPECT_EQ(checkDustLine(";SOUBOR S PRACHEM", 1, groups)->lineClass, LineClass::Comment);
    EXPECT_EQ(verdictText(*checkDustLine("4,2500,2", 2, groups)), "Parametry/OK");
    EXPECT_EQ(verdictText(*checkDustLine("4,2500,0,1,10,1", 2, groups)), "Parametry/OK");
    EXPECT_EQ(verdictText(*checkDustLine("4,2500,0,1,10,1,5", 3, groups)),
              "Parametry/Navíc: Řádek 3 souboru s popisem prachu : zadán nadbytečný počet vstupních parametrů");
    EXPECT_EQ(verdictText(*checkDustLine("4,2500,0,2,10,1", 3, groups)),
              "Parametry/Chybí: Řádek 3 souboru s popisem prachu : zadán nedostatečný počet vstupních parametrů");
    EXPECT_EQ(checkDustLine("4,2500,0,1,10,x", 3, groups)->correctness, Correctness::OutOfRange);
    EXPECT_EQ(checkDustLine("4,2500,8", 3, groups)->correctness, Correctness::OutOfRange);  // no such group
    // an absurd count is refused by the comma count, not allocated
    EXPECT_EQ(checkDustLine("4,2500,0,2000000000,1,1", 3, groups)->correctness, Correctness::Missing);
}

}  // namespace
}  // namespace ovd
