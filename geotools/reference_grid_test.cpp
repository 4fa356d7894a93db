#include "reference_grid.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/paths.h"
#include "common/project.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

GridSettings grid(const std::string& out, int nx, int ny, bool append = false)
{
    return {.startX = 1000,
            .startY = 2000,
            .stepX = 100,
            .stepY = 50,
            .countX = nx,
            .countY = ny,
            .heightL = 1.5,
            .firstNumber = 1,
            .output = out,
            .append = append};
}

TEST(ReferenceGrid, NewFileRowsFromTheLowerLeft)
{
    TempDir dir;
    RecordingReporter rep;
    long written = 0;
    ASSERT_EQ(makeReferenceGrid(grid(dir.path("g.txt"), 2, 2), RunContext{rep, false}, &written), ToolStatus::Done);
    EXPECT_EQ(written, 4);
    EXPECT_EQ(*readFileBytes(dir.path("g.txt")),
              "1, 1000.000000, 2000.000000, 0.000000, 1.500000\n"
              "2, 1100.000000, 2000.000000, 0.000000, 1.500000\n"
              "3, 1000.000000, 2050.000000, 0.000000, 1.500000\n"
              "4, 1100.000000, 2050.000000, 0.000000, 1.500000\n");
    EXPECT_TRUE(rep.hasMessage("Počet zapsaných refer. bodů :4"));
}

TEST(ReferenceGrid, AppendContinuesNumberingAndEndsTheLastLine)
{
    TempDir dir;
    RecordingReporter rep;
    writeFileAtomically(dir.path("g.txt"), "249, 0, 0, 0, 0\r\n250, 1, 1, 0, 0");
    ASSERT_EQ(makeReferenceGrid(grid(dir.path("g.txt"), 1, 1, true), RunContext{rep, false}), ToolStatus::Done);
    EXPECT_EQ(*readFileBytes(dir.path("g.txt")),
              "249, 0, 0, 0, 0\r\n250, 1, 1, 0, 0\r\n251, 1000.000000, 2000.000000, 0.000000, 1.500000\r\n");

    writeFileAtomically(dir.path("e.txt"), "");
    GridSettings s = grid(dir.path("e.txt"), 1, 1, true);
    s.firstNumber = 77;
    ASSERT_EQ(makeReferenceGrid(s, RunContext{rep, false}), ToolStatus::Done);
    EXPECT_EQ(readFileBytes(dir.path("e.txt"))->substr(0, 4), "77, ");

    EXPECT_EQ(makeReferenceGrid(grid(dir.path("none/g.txt"), 1, 1, true), RunContext{rep, false}), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage("Výstupní soubor pro refer. body - připojeni nelze otevřít !"));
}

TEST(ReferenceGrid, LimitsStepsAndRounding)
{
    TempDir dir;
    RecordingReporter rep;
    EXPECT_EQ(makeReferenceGrid(grid(dir.path("a.txt"), 100, 300), RunContext{rep, false}), ToolStatus::Done);
    EXPECT_EQ(makeReferenceGrid(grid(dir.path("b.txt"), 101, 300), RunContext{rep, false}), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage("Výsledný počet referenčních bodů souboru nesmí být větší než 30000 !"));
    EXPECT_FALSE(fileExists(dir.path("b.txt")));

    GridSettings neg = grid(dir.path("n.txt"), 3, 3);
    neg.stepX = -10;
    long written = -1;
    EXPECT_EQ(makeReferenceGrid(neg, RunContext{rep, false}, &written), ToolStatus::Done);
    EXPECT_EQ(written, 0);

    GridSettings zero = grid(dir.path("z.txt"), 3, 3);
    zero.stepY = 0;
    EXPECT_EQ(makeReferenceGrid(zero, RunContext{rep, false}), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage("Velikost úseku na ose Y nesmí být nulová !"));
    EXPECT_EQ(makeReferenceGrid(grid("", 1, 1), RunContext{rep, false}), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage("Nebyl zadán výstupní textový soubor !"));

    // ten steps of 0.1 summed fall short of 1.0: the counts still bound the rows
    GridSettings fine = grid(dir.path("f.txt"), 1, 10);
    fine.startY = 0;
    fine.stepY = 0.1;
    EXPECT_EQ(makeReferenceGrid(fine, RunContext{rep, false}, &written), ToolStatus::Done);
    EXPECT_EQ(written, 10);
}

TEST(ReferenceGrid, CountsBeyondSixteenBitsAreRefusedNotCut)
{
    TempDir dir;
    writeFileAtomically(dir.path("g.txt"), "old");
    Project p = Project::open(dir.path("p.ovd"));
    RecordingReporter quiet;
    p.writeString("NovyRefer", "VystTxt", dir.path("g.txt"), quiet);
    p.writeString("NovyRefer", "KrokX", "1", quiet);
    p.writeString("NovyRefer", "KrokY", "1", quiet);
    // 70000 cut to 16 bits is 4464 points; 40000 is negative there and gave an empty file
    for (const char* counts : {"70000 1", "40000 1", "1 40000", "65537 65537", "-40000 5"}) {
        std::string c = counts;
        p.writeString("NovyRefer", "PocetX", c.substr(0, c.find(' ')), quiet);
        p.writeString("NovyRefer", "PocetY", c.substr(c.find(' ') + 1), quiet);
        for (bool append : {false, true}) {
            GridSettings s = loadSettings<GridSettings>(p);
            s.append = append;
            RecordingReporter rep{{Answer::Yes}};
            EXPECT_EQ(makeReferenceGrid(s, RunContext{rep, false}), ToolStatus::Failed) << counts;
            EXPECT_TRUE(rep.hasMessage("Výsledný počet referenčních bodů souboru nesmí být větší než 30000 !"))
                << counts;
            EXPECT_TRUE(rep.questions.empty()) << counts;
            EXPECT_EQ(*readFileBytes(dir.path("g.txt")), "old") << counts;
        }
    }
}

TEST(ReferenceGrid, ReplaceAsksFirst)
{
    TempDir dir;
    writeFileAtomically(dir.path("g.txt"), "old");
    RecordingReporter no{{Answer::No}};
    EXPECT_EQ(makeReferenceGrid(grid(dir.path("g.txt"), 1, 1), RunContext{no, false}), ToolStatus::Declined);
    EXPECT_EQ(*readFileBytes(dir.path("g.txt")), "old");
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0].text, "Soubor " + dir.path("g.txt") + " již existuje.\nChcete jej přepsat ?");
}

}  // namespace
}  // namespace ovd
