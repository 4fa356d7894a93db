#include "wind_rose_document.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/ini_file.h"
#include "common/paths.h"
#include "common/text.h"
#include "hundredths.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"
#include "wind_rose_table_file.h"

namespace ovd {
namespace {

// Fills the rose so that it sums to the given hundredths: everything in N of row 1.
void fillTotal(WindRoseDocument& d, long long total)
{
    d.grid().enter(1, 1, total);
    d.setChanged(true);
}

std::function<std::string()> target(std::string path)
{
    return [path] { return path; };
}

TEST(WindRoseDocument, SaveWritesFileAndProjectKey)
{
    TempDir dir;
    std::string project = dir.path("study.ovd");
    ASSERT_TRUE(writeFileAtomically(project, "[Global]\nVstRuziceTxt=old.txt\nJiny=1\n"));
    RecordingReporter reporter;
    WindRoseDocument d;
    d.start("", false, project, reporter);
    d.grid().enter(1, 1, parseHundredths("60,004"));
    d.grid().enter(2, 9, parseHundredths("39.995"));
    d.setComment("Lhota");
    ASSERT_TRUE(d.save(true, reporter, target(dir.path("ruze.txt"))));
    EXPECT_FALSE(d.changed());
    EXPECT_EQ(d.path(), dir.path("ruze.txt"));
    EXPECT_EQ(IniFile(project).read("Global", "VstRuziceTxt"), "ruze.txt");  // relative in the study's folder
    EXPECT_EQ(IniFile(project).read("Global", "Jiny"), "1");

    WindRoseDocument back;
    ASSERT_TRUE(back.open(dir.path("ruze.txt"), reporter));
    EXPECT_EQ(back.comment(), "Lhota");
    EXPECT_EQ(back.grid().value(1, 1), 6000);
    EXPECT_EQ(back.grid().value(2, 9), 4000);
    EXPECT_EQ(back.grid().grandTotalText(), "100/100");
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(WindRoseDocument, TotalOf9999RefusedOrAsked)
{
    TempDir dir;
    std::string file = dir.path("r.txt");
    WindRoseDocument d;
    fillTotal(d, 9999);
    RecordingReporter refusing;
    EXPECT_FALSE(d.save(true, refusing, target(file)));
    ASSERT_EQ(refusing.messages.size(), 1u);
    EXPECT_EQ(refusing.messages[0].caption, "Chyba…");
    EXPECT_EQ(refusing.messages[0].text, "Součet polí není roven 100 % !\nTabulku nemohu uložit.");
    EXPECT_FALSE(fileExists(file));

    RecordingReporter no({Answer::No});
    EXPECT_FALSE(d.save(false, no, target(file)));
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0].caption, "Varování…");
    EXPECT_EQ(no.questions[0].text, "Součet polí není roven 100 % !\nChceš přesto uložit data do souboru ?");
    EXPECT_FALSE(fileExists(file));
    EXPECT_TRUE(d.changed());

    RecordingReporter yes({Answer::Yes});
    EXPECT_TRUE(d.save(false, yes, target(file)));
    EXPECT_EQ(yes.questions.size(), 1u);  // asked once, not again by the writer
    EXPECT_TRUE(fileExists(file));
}

TEST(WindRoseDocument, EmptyTargetOrUnwritableValueKeepsChanges)
{
    TempDir dir;
    WindRoseDocument d;
    fillTotal(d, 10000);
    RecordingReporter reporter;
    EXPECT_FALSE(d.save(true, reporter, target("")));
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_TRUE(d.changed());

    std::string file = dir.path("r.txt");
    ASSERT_TRUE(writeFileAtomically(file, "puvodni"));
    d.grid().enter(1, 1, 0);
    d.grid().enter(2, 1, 100000);  // 1000: does not fit the file's field
    d.grid().enter(kSumRow, 1, 0);
    RecordingReporter yes({Answer::Yes});
    EXPECT_FALSE(d.save(false, yes, target(file)));
    EXPECT_FALSE(yes.messages.empty());
    EXPECT_EQ(*readFileBytes(file), "puvodni");
    EXPECT_TRUE(d.changed());
}

TEST(WindRoseDocument, BoundCloseAsksYesNoAndSavesWithoutRefusal)
{
    TempDir dir;
    std::string file = dir.path("new.txt");
    std::string project = dir.path("p.ovd");
    RecordingReporter reporter({Answer::Yes, Answer::Yes});
    WindRoseDocument d;
    d.start(file, true, project, reporter);  // bound to a file not yet there
    EXPECT_TRUE(d.bound());
    EXPECT_EQ(d.windowTitle("xovrruz"), "xovrruz - [" + file + "]");
    fillTotal(d, 9999);
    bool dialogOpened = false;
    EXPECT_TRUE(d.confirmClose(reporter, [&] {
        dialogOpened = true;
        return std::string();
    }));
    EXPECT_FALSE(dialogOpened);
    ASSERT_EQ(reporter.questions.size(), 2u);
    EXPECT_EQ(reporter.questions[0].text, "Uložit změny ?");
    EXPECT_EQ(reporter.questions[0].buttons, Buttons::YesNo);
    EXPECT_EQ(reporter.questions[1].caption, "Varování…");
    EXPECT_TRUE(fileExists(file));
    EXPECT_EQ(IniFile(project).read("Global", "VstRuziceTxt"), "new.txt");
}

TEST(WindRoseDocument, FreeCloseCancelAndFailedSaveKeepWindow)
{
    WindRoseDocument d;
    RecordingReporter reporter;
    d.start("", true, "", reporter);  // bound without a file starts free
    EXPECT_FALSE(d.bound());
    EXPECT_TRUE(d.confirmClose(reporter, target("")));  // nothing changed: no question
    EXPECT_TRUE(reporter.questions.empty());
    fillTotal(d, 10000);
    RecordingReporter cancel({Answer::Cancel});
    EXPECT_FALSE(d.confirmClose(cancel, target("")));
    EXPECT_EQ(cancel.questions[0].buttons, Buttons::YesNoCancel);
    RecordingReporter yesNoTarget({Answer::Yes});
    EXPECT_FALSE(d.confirmClose(yesNoTarget, target("")));
    RecordingReporter no({Answer::No});
    EXPECT_TRUE(d.confirmClose(no, target("")));
}

TEST(WindRoseDocument, OpenClearsFirstAndWarnsAboutShortFiles)
{
    TempDir dir;
    std::string full = dir.path("full.txt"), shortFile = dir.path("short.txt");
    std::string line = "  1.00,  1.00,  1.00,  1.00,  1.00,  1.00,  1.00,  1.00,  1.00\r\n";
    std::string all = ";Prvni\r\n";
    for (int i = 0; i < 11; ++i)
        all += line;
    ASSERT_TRUE(writeFileAtomically(full, all));
    ASSERT_TRUE(writeFileAtomically(shortFile, "  5.00,2\r\n;druhy\r\n\r\n"));
    RecordingReporter reporter;
    WindRoseDocument d;
    ASSERT_TRUE(d.open(full, reporter));
    EXPECT_EQ(d.grid().value(11, 1), 100);
    EXPECT_EQ(d.grid().value(kSumRow, 1), 1100);
    d.setComment("zmena");
    ASSERT_TRUE(d.open(shortFile, reporter));
    EXPECT_FALSE(d.changed());
    EXPECT_EQ(d.comment(), "druhy");
    EXPECT_EQ(d.grid().value(1, 1), 500);
    EXPECT_EQ(d.grid().value(1, 2), 200);
    EXPECT_EQ(d.grid().value(1, 3), 0);
    EXPECT_EQ(d.grid().value(11, 1), 0);  // not a row of the previous rose
    EXPECT_EQ(d.grid().value(kSumRow, 1), 500);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].caption, "Otevření souboru");

    RecordingReporter missing;
    EXPECT_FALSE(d.open(dir.path("none.txt"), missing));
    ASSERT_EQ(missing.messages.size(), 1u);
    EXPECT_EQ(missing.messages[0].caption, "Otevření souboru");
    EXPECT_EQ(d.grid().value(1, 1), 500);  // the table stays
    EXPECT_EQ(d.path(), shortFile);
}

}  // namespace
}  // namespace ovd
