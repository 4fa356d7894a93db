#include "input_checks.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

bool contains(const std::vector<std::string>& lines, const std::string& text)
{
    for (const auto& l : lines)
        if (l == text)
            return true;
    return false;
}

TEST(PointCheck, SummaryAndVerdicts)
{
    TempDir dir;
    RecordingReporter rep;
    CheckReport report;
    writeFileAtomically(dir.path("b.txt"), ";SOUBOR S BODY\r\n1,1,2,3,4;\r\n0,1,2,3,4;\r\n");
    EXPECT_EQ(checkPointsFile({dir.path("b.txt")}, RunContext{rep, false}, report), ToolStatus::Done);
    std::vector<std::string> tail(report.results.end() - 9, report.results.end());
    std::vector<std::string> expected = {"",
                                         "Syntaktická kontrola souboru s referenčními body :",
                                         "    Počet zkontrolovaných údajů : 3",
                                         "    Počet komentářů a poznámek  : 1",
                                         "    Počet správných údajů       : 2",
                                         "    Počet chybných údajů        : 0",
                                         "Syntaktická kontrola souboru provedena, soubor vyhovuje.",
                                         "",
                                         "Soubor lze použít pro výpočet."};
    EXPECT_EQ(tail, expected);
    ASSERT_EQ(report.tables[0].rows.size(), 3u);
    EXPECT_EQ(report.tables[0].rows[0].icon, LineIcon::Comment);

    writeFileAtomically(dir.path("c.txt"), ";only\n   ;comments\n");
    EXPECT_EQ(checkPointsFile({dir.path("c.txt")}, RunContext{rep, false}, report), ToolStatus::Unusable);
    EXPECT_EQ(report.results.back(), "Soubor není vhodný pro výpočet.");

    EXPECT_EQ(checkPointsFile({dir.path("none.txt")}, RunContext{rep, false}, report), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage("Vstupní soubor s refer. body nelze otevřít !"));
}

class SourceCheckTest : public ::testing::Test {
protected:
    SourceCheckSettings settings(bool dust = false)
    {
        return {dir.path("z.txt"), dir.path("p.txt"), dir.path("d.txt"), dir.path("s.spr"), dust};
    }
    TempDir dir;
    RecordingReporter rep;
    CheckReport report;
};

TEST_F(SourceCheckTest, CrossReferenceCountsMissingLinks)
{
    writeFileAtomically(dir.path("z.txt"), "1,0,0,0,1,0,0;\n2,0,0,0,1,0,0;\n3,0,0,0,3,0,0;\n");
    writeFileAtomically(dir.path("p.txt"), "1,1,1,1,1,1,1,1,1,0\n3,1,0,0,1,1,1,1,1,1\n");
    EXPECT_EQ(checkSourceFiles(settings(), RunContext{rep, false}, report), ToolStatus::Unusable);
    EXPECT_TRUE(contains(report.results, "    Počet potencionálních zdrojů : 3"));
    EXPECT_TRUE(contains(report.results, "    Počet chybějících odkazů : 1"));
    EXPECT_EQ(report.results.back(), "Pokud budou soubory přesto použity, chybějící údaje budou doplněny nulami.");
    EXPECT_TRUE(contains(report.results, "Syntaktická kontrola souboru s popisem zdrojů provedena, soubor vyhovuje."));
    ASSERT_EQ(report.tables.size(), 2u);

    writeFileAtomically(dir.path("p.txt"), "1,1,1,1,1,1,1,1,1,0\n2,1,1,1,1,1,1,1,1,0\n3,1,0,0,1,1,1,1,1,1\n");
    EXPECT_EQ(checkSourceFiles(settings(), RunContext{rep, false}, report), ToolStatus::Done);
    EXPECT_EQ(report.results.back(), "Soubory lze použít pro výpočet.");
}

TEST_F(SourceCheckTest, SyntaxFailureStopsBeforeCrossReference)
{
    writeFileAtomically(dir.path("z.txt"), "1,0,0,0,1,0,0;\n");
    writeFileAtomically(dir.path("p.txt"), "7,1,1,1,1,1,1,1,1,0\n");
    EXPECT_EQ(checkSourceFiles(settings(), RunContext{rep, false}, report), ToolStatus::Unusable);
    EXPECT_EQ(report.tables[1].rows[0].correctness, Correctness::NoLink);
    EXPECT_FALSE(contains(report.results, "Referenční kontrola souborů :"));
    EXPECT_EQ(report.results.back(), "Opravte syntaktické chyby a spusťte kontrolu souborů znovu");
}

TEST_F(SourceCheckTest, DustTableAndGroupsFile)
{
    writeFileAtomically(dir.path("z.txt"), "1,0,0,0,1,0,0;\n2,0,0,0,2,0,0;\n");
    writeFileAtomically(dir.path("p.txt"), "1,1,1,1,1,1,1,1,1,0\n2,1,1,1,1,1,1,1,1,0\n");
    writeFileAtomically(dir.path("d.txt"), ";SOUBOR S PRACHEM\n1,2500,3\n2\n");
    EXPECT_EQ(checkSourceFiles(settings(true), RunContext{rep, false}, report), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage("Vstupní soubor se skupinami prachu nelze otevřít !"));

    writeFileAtomically(dir.path("s.spr"), ";skupiny\n3,1,20,1;hrubý\n");
    EXPECT_EQ(checkSourceFiles(settings(true), RunContext{rep, false}, report), ToolStatus::Done);
    ASSERT_EQ(report.tables.size(), 3u);
    EXPECT_EQ(report.tables[2].rows.size(), 2u);  // the number-only line has no row
    EXPECT_TRUE(contains(report.results, "Syntaktická kontrola souboru s popisem prachu provedena, soubor vyhovuje."));
}

}  // namespace
}  // namespace ovd
