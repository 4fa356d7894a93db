#include "common/project.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "common/file_io.h"
#include "common/paths.h"
#include "common/profile.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

using namespace ovd;

TEST(Project, UntitledLivesInATemporaryOvdFile)
{
    TempDir dir;
    auto p = Project::createUntitled(dir.root());
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->untitled());
    EXPECT_EQ(fileNameOf(p->path()).rfind("OVD_", 0), 0u);
    EXPECT_EQ(p->windowTitle(), "Bez názvu - Ovardix");
}

TEST(Project, SaveAsCopiesEveryByteAndBecomesTitled)
{
    TempDir dir;
    RecordingReporter rep;
    auto p = Project::createUntitled(dir.root());
    std::string longValue(3000, 'v');
    ASSERT_TRUE(p->writeString("Global", "VstReferBodTxt", longValue, rep));
    ASSERT_TRUE(p->writeDouble("VypocetRocni", "KoncDobyPrek1", 12.3, rep));
    std::string before = readFileBytes(p->path()).value();

    std::string target = dir.path("study.ovd");
    EXPECT_EQ(p->saveAs(target, rep), Project::SaveResult::Saved);
    EXPECT_EQ(readFileBytes(target).value(), before) << "long lines are not cut";
    EXPECT_FALSE(p->untitled());
    EXPECT_EQ(p->path(), target);
    EXPECT_EQ(p->windowTitle(), target + " - Ovardix");
    EXPECT_DOUBLE_EQ(p->readDouble("VypocetRocni", "KoncDobyPrek1"), 12.3);
    EXPECT_TRUE(rep.questions.empty());
}

TEST(Project, SaveOverExistingFileAsksAndNoKeepsBoth)
{
    TempDir dir;
    writeFileAtomically(dir.path("a.ovd"), "[Global]\nA=1\n");
    writeFileAtomically(dir.path("b.ovd"), "[Global]\nB=2\n");
    Project p = Project::open(dir.path("a.ovd"));
    RecordingReporter no({Answer::No});
    EXPECT_EQ(p.saveAs(dir.path("b.ovd"), no), Project::SaveResult::Declined);
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0].text, "Soubor " + dir.path("b.ovd") + " již existuje.\nChcete jej přepsat ?");
    EXPECT_EQ(no.questions[0].caption, "Upozornění");
    EXPECT_EQ(no.questions[0].defaultAnswer, Answer::No);
    EXPECT_EQ(readFileBytes(dir.path("b.ovd")).value(), "[Global]\nB=2\n");
    EXPECT_EQ(p.path(), dir.path("a.ovd"));

    RecordingReporter yes({Answer::Yes});
    EXPECT_EQ(p.saveAs(dir.path("b.ovd"), yes), Project::SaveResult::Saved);
    EXPECT_EQ(readFileBytes(dir.path("b.ovd")).value(), "[Global]\nA=1\n");
}

TEST(Project, SaveOntoItsOwnPathChangesNothing)
{
    TempDir dir;
    writeFileAtomically(dir.path("a.ovd"), "[Global]\nA=1\n");
    Project p = Project::open(dir.path("a.ovd"));
    RecordingReporter rep;
    EXPECT_EQ(p.saveAs(dir.path("./a.ovd"), rep), Project::SaveResult::Saved);
    EXPECT_EQ(readFileBytes(dir.path("a.ovd")).value(), "[Global]\nA=1\n");
    EXPECT_TRUE(rep.questions.empty());
}

TEST(Project, ValuesAndDefaults)
{
    TempDir dir;
    writeFileAtomically(dir.path("p.ovd"), "[K]\nEmpty=\nStep=0.75\nWhole=3 m\nBad=abc\nFlag=1\n");
    Project p = Project::open(dir.path("p.ovd"));
    EXPECT_EQ(p.readInt("K", "Empty", 7), 7);
    EXPECT_EQ(p.readInt("K", "Missing", 5), 5);
    EXPECT_EQ(p.readInt("K", "Whole"), 3);
    EXPECT_EQ(p.readInt("K", "Bad", 9), 9);
    EXPECT_DOUBLE_EQ(p.readDouble("k", "step"), 0.75);
    EXPECT_TRUE(p.readBool("K", "Flag"));
    EXPECT_EQ(p.readString("Missing", "x", "d"), "d");
}

TEST(Project, RealValuesReadTheirDecimalCommaAndRefuseTheRest)
{
    TempDir dir;
    writeFileAtomically(dir.path("p.ovd"), "[VypocetRocni]\nKoncDobyPrek3=12,5\nKoncDobyPrek2=12.5 m\nOtoceni=abc\n");
    Project p = Project::open(dir.path("p.ovd"));
    EXPECT_DOUBLE_EQ(p.readDouble("VypocetRocni", "KoncDobyPrek3"), 12.5);
    ASSERT_TRUE(p.readDecimal("VypocetRocni", "KoncDobyPrek3"));
    EXPECT_DOUBLE_EQ(*p.readDecimal("VypocetRocni", "Chybi", 4.0), 4.0);
    // Not cut at the first character that is not a number: the default, and the key named.
    EXPECT_DOUBLE_EQ(p.readDouble("VypocetRocni", "KoncDobyPrek2", 7.0), 7.0);
    EXPECT_DOUBLE_EQ(p.readDouble("VypocetRocni", "Otoceni"), 0.0);
    Outcome<double> refused = p.readDecimal("VypocetRocni", "KoncDobyPrek2", 7.0);
    ASSERT_FALSE(refused);
    RecordingReporter rep;
    refused.problem().report(rep);
    ASSERT_EQ(rep.messages.size(), 1u);
    EXPECT_EQ(rep.messages[0].caption, "Chyba");
    EXPECT_EQ(rep.messages[0].text,
              "Hodnota \"12.5 m\" klíče KoncDobyPrek2 v sekci [VypocetRocni] souboru " + dir.path("p.ovd") +
                  " není číslo!");
    // Each reading answers for itself: nothing an earlier reading met is left behind.
    EXPECT_TRUE(p.readDecimal("VypocetRocni", "KoncDobyPrek3"));
}

TEST(Profile, WindSpeedsAreWrittenBackAsTheValueRead)
{
    TempDir dir;
    writeFileAtomically(dir.path("p.ini"), "[RychlostRuzice]\nRychlost1=1,7\nRychlost3=12,25\n");
    Profile prof(dir.path("p.ini"));
    Profile::WindSpeeds w = prof.windSpeeds();
    ASSERT_TRUE(prof.checkedWindSpeeds());
    EXPECT_DOUBLE_EQ(prof.checkedWindSpeeds()->speed[2], 12.25);
    EXPECT_DOUBLE_EQ(w.speed[0], 1.7);
    EXPECT_DOUBLE_EQ(w.speed[1], 5.0);
    RecordingReporter rep;
    ASSERT_TRUE(prof.saveWindSpeeds(w, rep));
    EXPECT_EQ(prof.readString("RychlostRuzice", "Rychlost1"), "1.700000");
    EXPECT_EQ(prof.readString("RychlostRuzice", "Rychlost3"), "12.250000");
}

TEST(Project, EveryFailedKeyWriteIsReportedOnce)
{
    TempDir dir;
    Project p = Project::open(dir.path("no/such/folder/p.ovd"));
    RecordingReporter rep;
    EXPECT_FALSE(p.writeInt("A", "x", 1, rep));
    EXPECT_FALSE(p.writeBool("A", "y", true, rep));
    ASSERT_EQ(rep.messages.size(), 2u);
    EXPECT_EQ(rep.messages[0].text, "Nepodařilo se zapsat do ini souboru");
    EXPECT_EQ(rep.messages[0].caption, "Chyba");
    EXPECT_EQ(rep.messages[0].severity, Severity::Error);
}

TEST(Profile, LocationAndPlacementDefaults)
{
    TempDir dir;
    EXPECT_EQ(Profile::locate("/x/p.ini"), "/x/p.ini");
    setEnvironment("OVARDIX_PROFILE", dir.path("env.ini"));
    EXPECT_EQ(Profile::locate(), dir.path("env.ini"));
    setEnvironment("OVARDIX_PROFILE", "");
    // The user's settings folder: XDG_CONFIG_HOME on Linux, APPDATA on Windows.
#ifdef _WIN32
    const char* settingsVariable = "APPDATA";
#else
    const char* settingsVariable = "XDG_CONFIG_HOME";
#endif
    const char* before = std::getenv(settingsVariable);
    const std::string saved = before ? before : "";
    setEnvironment(settingsVariable, dir.root());
    EXPECT_EQ(Profile::locate(), dir.path("ovardix/ovardix.ini"));

    Profile prof = Profile::openDefault();
    Profile::Placement pl = prof.placement();
    EXPECT_EQ(pl.x, 100);
    EXPECT_EQ(pl.cy, 250);
    RecordingReporter rep;
    pl.cx = 640;
    ASSERT_TRUE(prof.savePlacement(pl, rep));
    EXPECT_EQ(prof.readString("mainframe", "CX"), "640");

    EXPECT_DOUBLE_EQ(prof.windSpeeds().speed[2], 11.0);
    ASSERT_TRUE(prof.writeString("RychlostRuzice", "Rychlost1", "2.5", rep));
    Profile::WindSpeeds w = prof.windSpeeds();
    EXPECT_DOUBLE_EQ(w.speed[0], 2.5);
    ASSERT_TRUE(prof.saveWindSpeeds(w, rep));
    EXPECT_EQ(prof.readString("RychlostRuzice", "Rychlost2"), "5.000000");
    setEnvironment(settingsVariable, saved);
}
