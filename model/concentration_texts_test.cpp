// Status and title texts, the run log date, the protocol's fixed lines, the clusters file
// and the step of the settings.
#include <gtest/gtest.h>

#include "model/concentration_clusters.h"
#include "model/concentration_settings.h"
#include "model/concentration_study_generator.h"
#include "model/concentration_texts.h"

namespace ovd {
namespace {

TEST(ConcentrationTexts, StatusAndTitleByMode)
{
    EXPECT_EQ("Výpočet koncentrace škodlivin pro směr větru  7.50°/360°", directionStatusText(false, 7.5));
    EXPECT_EQ("Výpočet koncentrace škodlivin pro směr větru    7.50°/360°", directionStatusText(true, 7.5));
    EXPECT_EQ("181.00°/360° - Výpočet ročních koncentrací znečištujících látek", directionTitleText(false, 181));
    EXPECT_EQ("  3.00°/360° - Výpočet maximálních koncentrací znečišťujících látek", directionTitleText(true, 3));
    // dust: one decimal in the annual run, the maximum run as for gases
    EXPECT_EQ("Výpočet koncentrace škodlivin pro směr větru  7.5°/360°", directionStatusText(false, 7.5, true));
    EXPECT_EQ("181.0°/360° - Výpočet ročních koncentrací znečištujících látek", directionTitleText(false, 181, true));
    EXPECT_EQ("Výpočet koncentrace škodlivin pro směr větru    7.50°/360°", directionStatusText(true, 7.5, true));
    EXPECT_EQ("  3.00°/360° - Výpočet maximálních koncentrací znečišťujících látek", directionTitleText(true, 3, true));
    EXPECT_EQ("Výpočet koncentrace škodlivin pro směr větru  180.0°/360°", restartStatusText(180));
    EXPECT_EQ("180.0°/360° - Výpočet ročních koncentrací znečištujících látek", restartTitleText(180));
    EXPECT_EQ("Dnesni datum :  1.  2. 2001\n", runLogDateLine({2001, 2, 1}));
}

TEST(ConcentrationTexts, ProtocolHeaderAndPointLines)
{
    StudyShape shape{.points = 2};
    ConcentrationStudy study = generateStudy(shape);
    ConcentrationParameters par;
    par.step = 3.0;
    par.rotation = 10.0;
    par.rotateLeft = true;
    par.limits = {5.0, 0.0, 0.0};
    par.substanceClass = 2;
    auto run = prepareConcentrationRun(study, par);
    ASSERT_TRUE(run);
    ConcentrationState st(*run);
    st.annual[1] = 0.25;
    st.hours[0][1] = 12.5;
    ProtocolFiles files{"b.bin", "z.bin", "t.bin", "d.bin", "m.bin", "s.txt",
                        "r.txt", "v.dbf", "v.vst", "z.dbf", "p.dbf"};
    std::string text = protocolText(*run, st, files, {2026, 12, 8}, false);
    EXPECT_EQ(0u, text.find("Vypocet probehl v poradku.\nVypocet ze dne :  8.12.2026 \n\nVstupni soubory : \n"));
    EXPECT_NE(std::string::npos,
              text.find("Otoceni vetrne ruzice     : 10.000000    - vlevo  \n"
                        "             Upraveno     : 9.000000\n"));
    EXPECT_NE(std::string::npos, text.find("\nTrida latky               : 2\nKrok cyklu ve stupnich    : 3.000000\n"));
    EXPECT_EQ(std::string::npos, text.find("TXT popis shluku"));  // only with nearby sources
    EXPECT_EQ(std::string::npos, text.find("podily"));
    const ReferencePoint& p = study.points[1];
    char line[400];
    std::snprintf(line, sizeof line,
                  "Cislo Ref : 2,XREF : %f,  YRef : %f,  ZREF : %f,  LRef : %f .... CROC : "
                  "0.2500000000000000000000000, Doby prek. 1 : 12.500000, 2 : 0.000000, 3 : 0.000000 \n",
                  p.x, p.y, p.z, p.l);
    EXPECT_NE(std::string::npos, text.find(line));
}

TEST(ConcentrationTexts, ClustersFileLines)
{
    auto lines = parseClusters(
        ";shluky\r\n12, 3, 40.5 ;komín\r\n  7,2,10\r\nbez cisla\r\n9\r\n1005,4,x\r\n1,2,nan\r\n3,2,inf\r\n");
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ(12, lines[0].number);
    EXPECT_EQ(3, lines[0].count);
    EXPECT_EQ(40.5, lines[0].distance);
    EXPECT_EQ(7, lines[1].number);
    EXPECT_EQ(10.0, lines[1].distance);
    // a number without the rest is kept, so that using it is refused, not silently wrong
    EXPECT_EQ(9, lines[2].number);
    EXPECT_EQ(0, lines[2].count);
    EXPECT_EQ(1005, lines[3].number);
    EXPECT_EQ(4, lines[3].count);
    EXPECT_EQ(-1.0, lines[3].distance);
    // a distance that is no number is as unusable as a missing one
    EXPECT_EQ(-1.0, lines[4].distance);
    EXPECT_EQ(-1.0, lines[5].distance);
}

TEST(ConcentrationTexts, StepAndParametersFromTheSettings)
{
    ConcentrationSettings s;
    EXPECT_EQ(1.0, s.step());
    s.stepChoice = 0;
    EXPECT_EQ(0.5, s.step());
    s.stepChoice = 2;
    EXPECT_EQ(3.0, s.step());
    s.stepChoice = 3;
    s.customStep = 9.0;
    EXPECT_EQ(9.0, s.step());
    s.substanceClass = 2;
    s.maximum = true;
    ConcentrationParameters p = s.parameters({2.0, 4.0, 8.0});
    EXPECT_EQ(3, p.substanceClass);
    EXPECT_EQ(ConcentrationMode::Maximum, p.mode);
    EXPECT_EQ(4.0, p.speeds[1]);
}

}  // namespace
}  // namespace ovd
