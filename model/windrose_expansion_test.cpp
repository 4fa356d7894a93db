// Step, rose geometry, calm spread, interpolation and rotation.
#include <gtest/gtest.h>

#include "model/engine/concentration_preparation.h"
#include "model/windrose_expansion.h"

namespace ovd {
namespace {

std::vector<std::vector<double>> rose(int sectors, double value = 1.0, double calm = 0.0)
{
    std::vector<double> row(static_cast<std::size_t>(sectors), value);
    row.push_back(calm);
    return std::vector<std::vector<double>>(11, row);
}

std::string problemOf(const std::vector<std::vector<double>>& rows, double step)
{
    auto rose = expandWindRose(rows, step, 0);
    if (rose)
        return "";
    return rose.problem().caption + ": " + rose.problem().text;
}

TEST(WindRoseExpansion, StepMustDivide45AndBeAtLeastHalfADegree)
{
    EXPECT_FALSE(stepFitsCircle(0.7));
    EXPECT_FALSE(stepFitsCircle(0.25));
    EXPECT_FALSE(stepFitsCircle(2.0));
    for (double s : {0.5, 1.0, 3.0, 5.0, 9.0, 15.0, 45.0})
        EXPECT_TRUE(stepFitsCircle(s)) << s;
    EXPECT_TRUE(stepFitsCircle(0.1 * 5));  // 0.5 reached by arithmetic still fits
}

TEST(WindRoseExpansion, GeometryAgainstTheStep)
{
    EXPECT_EQ("Chyba: Počet sloupců růžice ( 16) nedělí 360 !!!", problemOf(rose(16), 1.0));
    EXPECT_EQ("", problemOf(rose(8), 3.0));
    EXPECT_EQ("", problemOf(rose(8), 45.0));
    EXPECT_EQ("Chyba: Krok výpočtu nedělí vytvořený výřez větrné růžice ( 10) !!!", problemOf(rose(36), 3.0));
    EXPECT_EQ("Chyba: Krok výpočtu je větší než rozdělený úsek růžice ( 10) !!!", problemOf(rose(36), 15.0));
    EXPECT_EQ("Chyba: Počet sloupců růžice ( 0) nedělí 360 !!!", problemOf(rose(0), 1.0));
    auto short10 = rose(8);
    short10.pop_back();
    EXPECT_EQ("Zpráva: Špatné rozložení vstupního souboru !!!", problemOf(short10, 1.0));
    auto mixed = rose(8);  // each row is checked on its own
    mixed[6] = std::vector<double>(17, 1.0);
    EXPECT_EQ("Chyba: Počet sloupců růžice ( 16) nedělí 360 !!!", problemOf(mixed, 1.0));
}

TEST(WindRoseExpansion, CalmIsSpreadAndSectorsInterpolated)
{
    std::vector<double> row{8.0, 4.0, 0.0, 0.0, 0.0, 0.0, 0.0, 2.0, 16.0};  // calm 16: 2 per sector
    std::vector<std::vector<double>> rows(11, row);
    auto r = expandWindRose(rows, 15.0, 0);
    ASSERT_TRUE(r);
    ASSERT_EQ(24, r->directions);
    const double scale = 15.0 / (45.0 * 100.0);
    EXPECT_DOUBLE_EQ(10.0 * scale, r->at(0, 0));                                 // north: 8 + 2
    EXPECT_DOUBLE_EQ((10.0 + 15.0 * (6.0 - 10.0) / 45.0) * scale, r->at(0, 1));  // 15 degrees
    EXPECT_DOUBLE_EQ(6.0 * scale, r->at(0, 3));                                  // NE: 4 + 2
    EXPECT_DOUBLE_EQ((4.0 + 30.0 * (10.0 - 4.0) / 45.0) * scale, r->at(0, 23));  // 345: toward north
    double total = 0;
    for (int i = 0; i < r->directions; ++i)
        total += r->at(5, i);
    EXPECT_NEAR(0.30, total, 1e-12);  // the row's 30 percent, calm included
}

TEST(WindRoseExpansion, RotationRoundsToTheStepAndShiftsTheTable)
{
    EXPECT_EQ(3, rotationSteps(10.0, 3.0));  // 10 with step 3 becomes 9
    ConcentrationStudy study;
    study.windRose = rose(8);
    ConcentrationParameters par;
    par.step = 3.0;
    par.rotation = 10.0;
    auto run = prepareConcentrationRun(study, par);
    ASSERT_TRUE(run);
    EXPECT_EQ(9.0, run->adjustedRotation);
    EXPECT_EQ(3, run->shiftSteps);
    par.rotateLeft = true;
    EXPECT_EQ(-3, prepareConcentrationRun(study, par)->shiftSteps);
    EXPECT_EQ(-2, rotationSteps(-10.0, 3.0));  // -3.33 + 0.5 cut toward zero
    EXPECT_EQ(0, rotationSteps(0.0, 3.0));

    std::vector<double> row{9.0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<std::vector<double>> rows(11, row);
    auto plain = expandWindRose(rows, 15.0, 0);
    auto turned = expandWindRose(rows, 15.0, 2);
    auto back = expandWindRose(rows, 15.0, -2);
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(plain->at(3, (i + 2) % 24), turned->at(3, i));  // direction x takes x + 30
        EXPECT_EQ(plain->at(3, (i + 22) % 24), back->at(3, i));
    }
}

}  // namespace
}  // namespace ovd
