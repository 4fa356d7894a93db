// The journal that finishes an output set a killed run left half renamed, as both systems
// replay it (on Windows it is all that covers such a kill), with Czech names.
#include "common/rename_together.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "common/file_io.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/rename_journal.h"
#include "common/temporary_files.h"
#include "testing/file_bytes.h"
#include "testing/test_support.h"

using namespace ovd;

namespace {


// The set of two targets as a run killed after its first rename leaves it: the journal beside
// both targets, the first target new, the second's temporary file waiting.
struct HalfRenamedSet {
    std::string first, second, secondTemp;
    explicit HalfRenamedSet(const TempDir& dir)
        : first(dir.path("roční.dbf"))
        , second(dir.path("roční.vst"))
        , secondTemp(second + ".ovdtmp.AbC123")
    {
        const std::string firstTemp = first + ".ovdtmp.XyZ789";
        const std::vector<RenameStep> steps = {{firstTemp.c_str(), first.c_str()},
                                               {secondTemp.c_str(), second.c_str()}};
        const std::string journal = journalText(steps);
        ok = writeInPlace(first, "new dbf") && writeInPlace(second, "old vst") && writeInPlace(secondTemp, "new vst") &&
            writeInPlace(journalOf(first), journal) && writeInPlace(journalOf(second), journal);
    }
    bool ok = false;
};

}  // namespace

TEST(RenameTogether, EveryStepIsRenamedAndNoJournalStays)
{
    TempDir dir;
    const std::string a = dir.path("výsledky.dbf"), b = dir.path("výsledky.shp");
    const std::string ta = a + ".ovdtmp.AAAAAA", tb = b + ".ovdtmp.BBBBBB";
    ASSERT_TRUE(writeInPlace(a, "old a") && writeInPlace(ta, "new a") && writeInPlace(tb, "new b"));
    const std::vector<char> done = renameTogether({{ta.c_str(), a.c_str()}, {tb.c_str(), b.c_str()}});
    EXPECT_EQ(done, (std::vector<char>{1, 1}));
    EXPECT_EQ(contentOf(a), "new a");
    EXPECT_EQ(contentOf(b), "new b");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"výsledky.dbf", "výsledky.shp"}));
}

TEST(RenameTogether, AStepThatCannotBeRenamedIsReportedAndItsTemporaryGoes)
{
    TempDir dir;
    const std::string a = dir.path("a.dbf"), ta = a + ".ovdtmp.AAAAAA";
    const std::string missing = dir.path("b.dbf.ovdtmp.BBBBBB"), b = dir.path("b.dbf");
    const std::string intoNowhere = dir.path("chybí/c.dbf"), tc = dir.path("c.dbf.ovdtmp.CCCCCC");
    ASSERT_TRUE(writeInPlace(ta, "new a") && writeInPlace(tc, "new c"));
    const std::vector<char> done =
        renameTogether({{ta.c_str(), a.c_str()}, {missing.c_str(), b.c_str()}, {tc.c_str(), intoNowhere.c_str()}});
    EXPECT_EQ(done, (std::vector<char>{1, 0, 0}));
    EXPECT_EQ(contentOf(a), "new a");
    EXPECT_EQ(pathKind(tc), PathKind::Missing);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"a.dbf"});
}

TEST(RenameTogether, TheNextWriterOfAnyTargetFinishesAHalfRenamedSet)
{
    for (int which = 0; which < 2; ++which) {
        TempDir dir;
        HalfRenamedSet set(dir);
        ASSERT_TRUE(set.ok);
        finishInterruptedRenames(which == 0 ? set.first : set.second);
        EXPECT_EQ(contentOf(set.first), "new dbf");
        EXPECT_EQ(contentOf(set.second), "new vst") << "from the journal of target " << which;
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"roční.dbf", "roční.vst"}));
    }
    // Through an output opened on one of them, as every tool does.
    TempDir dir;
    HalfRenamedSet set(dir);
    ASSERT_TRUE(set.ok);
    AtomicOutput out(set.first);
    ASSERT_TRUE(out.isOpen());
    EXPECT_EQ(contentOf(set.second), "new vst");
    ASSERT_TRUE(out.write("newest dbf") && out.commit());
    EXPECT_EQ(contentOf(set.first), "newest dbf");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"roční.dbf", "roční.vst"}));
}

TEST(RenameTogether, ATemporaryFileALiveWriterHoldsIsNotTakenForTheSets)
{
    TempDir dir;
    HalfRenamedSet set(dir);
    ASSERT_TRUE(set.ok);
    ASSERT_TRUE(removeFile(set.secondTemp));
    // A live run writes the second target and holds its temporary file open; the journal
    // names that file (as when the new run drew the killed one's name).
    std::string held;
    std::FILE* fp = createHeldTemporary(set.second, ".ovdtmp.", "", held);
    ASSERT_NE(fp, nullptr);
    ASSERT_GT(std::fputs("being written", fp), -1);
    ASSERT_EQ(std::fflush(fp), 0);
    const std::string firstTemp = set.first + ".ovdtmp.XyZ789";
    const std::string journal =
        journalText({{firstTemp.c_str(), set.first.c_str()}, {held.c_str(), set.second.c_str()}});
    ASSERT_TRUE(writeInPlace(journalOf(set.first), journal) && writeInPlace(journalOf(set.second), journal));
    finishInterruptedRenames(set.second);
    EXPECT_EQ(contentOf(set.second), "old vst") << "a live writer's file was renamed";
    EXPECT_EQ(pathKind(held), PathKind::Regular);
    // The journals are done with all the same.
    EXPECT_EQ(pathKind(journalOf(set.first)), PathKind::Missing);
    EXPECT_EQ(pathKind(journalOf(set.second)), PathKind::Missing);
    std::fclose(fp);
    removeFile(held);
}

TEST(RenameTogether, JournalTextReadsBackAndACutOrForeignOneIsNotValid)
{
    const std::vector<RenameStep> steps = {{"/s/a.dbf.ovdtmp.AAAAAA", "/s/a.dbf"},
                                           {"/s/Žďár.vst.ovdtmp.B", "/s/Žďár.vst"}};
    const std::string text = journalText(steps);
    const JournalSteps read = readJournalText(text);
    ASSERT_TRUE(read.valid);
    ASSERT_EQ(read.steps.size(), 2u);
    EXPECT_EQ(read.steps[1], (std::pair<std::string, std::string>{"/s/Žďár.vst.ovdtmp.B", "/s/Žďár.vst"}));
    EXPECT_FALSE(readJournalText(text.substr(0, text.size() - 1)).valid);
    EXPECT_FALSE(readJournalText("").valid);
    // A step whose temporary file lies in another folder, or is no temporary of its target.
    EXPECT_FALSE(readJournalText(journalText({{"/t/a.dbf.ovdtmp.AAAAAA", "/s/a.dbf"}})).valid);
    EXPECT_FALSE(readJournalText(journalText({{"/s/b.dbf", "/s/a.dbf"}})).valid);
}
