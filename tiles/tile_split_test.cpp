#include "tiles/tile_split.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/project.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"
#include "tiles/study_signature.h"
#include "tiles/tile_stamp.h"
#include "tiles/tile_tree.h"

namespace ovd {
namespace {

constexpr std::array<double, 3> kSpeeds{1.7, 5.0, 11.0};

// A study whose inputs lie in its folder, named there by absolute paths.
struct Study {
    TempDir dir;
    Project project;
    RecordingReporter rep;
    RunContext ctx{rep};

    Study()
    {
        project = Project::open(dir.path("kraj.ovd"));
        for (const char* f : {"zdroje.txt", "popis.txt", "teren.bin", "ruzice.txt", "prach.txt"})
            EXPECT_TRUE(writeFileAtomically(dir.path(f), std::string("obsah ") + f));
        set("Global", "VstReferBodTxt", dir.path("body.txt"));
        set("Global", "VstZdrojBodTxt", dir.path("zdroje.txt"));
        set("Global", "VstZdrojPopTxt", dir.path("popis.txt"));
        set("Global", "VstVyskoBin", dir.path("teren.bin"));
        set("Global", "VstRuziceTxt", dir.path("ruzice.txt"));
        set("Global", "VstThetaBin", dir.path("theta.bin"));
        set("VypocetRocni", "VystDbf", dir.path("rocni.dbf"));
        set("VypocetRocni", "KrokVypoctu", "2");
    }
    void set(const char* section, const char* key, const std::string& value)
    {
        EXPECT_TRUE(project.writeString(section, key, value, rep));
    }
    std::string signature() { return *studySignature(project, kSpeeds); }
    std::string read(const std::string& name) { return readFileBytes(dir.path(name)).value_or("<none>"); }
};

TEST(TileStudy, RecordsInOrderAndBytesKeptCommentsLeftOut)
{
    Study s;
    writeFileAtomically(s.dir.path("body.txt"),
                        "\xEF\xBB\xBF"
                        "1, 10, 20, 0, 1.5\r\n;komentář\r\n2, 11, 20, 0, 1.5\r\n"
                        "0, 9, 9, 0, 0\r\n3, 12, 20, 0, 1.5\r\n4, 13, 20, 0, 1.5\r\n"
                        "5, 14, 20, 0, 1.5\r\n6, 15, 20, 0, 1.5\r\n7, 16, 20, 0, 1.5");
    Outcome<TileManifest> m = tileStudy(s.project, kSpeeds, {3, ""}, s.ctx);
    ASSERT_TRUE(m.ok()) << m.problem().text;
    EXPECT_EQ(m->points, 7);
    ASSERT_EQ(m->tiles.size(), 3u);
    EXPECT_EQ(s.read("kraj_dlazdice/001/body.txt"), "1, 10, 20, 0, 1.5\r\n2, 11, 20, 0, 1.5\r\n3, 12, 20, 0, 1.5\r\n");
    EXPECT_EQ(s.read("kraj_dlazdice/003/body.txt"), "7, 16, 20, 0, 1.5");
    EXPECT_EQ(m->tiles[2].firstPoint, 7);
    // the manifest on the disk is the one returned
    EXPECT_EQ(s.read("kraj_dlazdice/manifest.txt"), m->text());
    EXPECT_EQ(m->signature, s.signature());
}

TEST(TileStudy, TileProjectReachesSharedInputsAndKeepsItsOwnFiles)
{
    Study s;
    writeFileAtomically(s.dir.path("body.txt"), "1, 10, 20, 0, 1.5\n");
    TempDir elsewhere;  // outside the study: named by its absolute path
    writeFileAtomically(elsewhere.path("ruzice.txt"), "růžice");
    s.set("Global", "VstRuziceTxt", elsewhere.path("ruzice.txt"));
    ASSERT_TRUE(tileStudy(s.project, kSpeeds, {30000, "avx2"}, s.ctx).ok());
    Project tile = Project::open(s.dir.path("kraj_dlazdice/001/study.ovd"));
    EXPECT_EQ(tile.readString("Global", "VstZdrojBodTxt"), "../../zdroje.txt");
    EXPECT_EQ(tile.readString("Global", "VstRuziceTxt"), elsewhere.path("ruzice.txt"));
    EXPECT_EQ(tile.readString("Global", "VstReferBodTxt"), "body.txt");
    EXPECT_EQ(tile.readString("Global", "VstThetaBin"), "theta.bin");
    EXPECT_EQ(tile.readString("VypocetRocni", "VystDbf"), "vysledky.dbf");
    EXPECT_EQ(tile.readString("VypocetRocni", "KrokVypoctu"), "2");
    EXPECT_EQ(tileWidthOf(tile), "avx2");
    EXPECT_TRUE(isTileProject(tile));
    EXPECT_FALSE(isTileProject(s.project));
}

TEST(TileStudy, TilingAgainKeepsOnlyResultsThatStillHold)
{
    Study s;
    writeFileAtomically(s.dir.path("body.txt"), "1, 1, 1, 0, 1\n2, 2, 2, 0, 1\n3, 3, 3, 0, 1\n4, 4, 4, 0, 1\n");
    ASSERT_TRUE(tileStudy(s.project, kSpeeds, {1, ""}, s.ctx).ok());
    ASSERT_TRUE(std::filesystem::exists(s.dir.path("kraj_dlazdice/004")));
    ASSERT_TRUE(tileStudy(s.project, kSpeeds, {2, ""}, s.ctx).ok());
    EXPECT_FALSE(std::filesystem::exists(s.dir.path("kraj_dlazdice/004"))) << "a tile of the earlier split stays";
    const std::string stamp = "kraj_dlazdice/001/hotovo.txt", checkpoint = "kraj_dlazdice/001/vysledky.tmp";
    auto complete = [&] {  // as a finished run of tile 001 leaves it
        Project tile = Project::open(s.dir.path("kraj_dlazdice/001/study.ovd"));
        const auto back = std::filesystem::current_path();
        std::filesystem::current_path(s.dir.path("kraj_dlazdice/001"));
        ASSERT_FALSE(recordTileRun(Project::open("study.ovd"), kSpeeds, "sse2").has_value());
        std::filesystem::current_path(back);
        writeFileAtomically(s.dir.path(checkpoint), "x");
    };
    complete();
    ASSERT_TRUE(tileStudy(s.project, kSpeeds, {2, ""}, s.ctx).ok());
    EXPECT_EQ(readTileStamp(s.dir.path(stamp))->width, "sse2") << "an unchanged tile lost its results";
    EXPECT_TRUE(std::filesystem::exists(s.dir.path(checkpoint)));
    // another shared input: the results go, after a question naming the tile
    writeFileAtomically(s.dir.path("popis.txt"), "jiný popis");
    s.rep.answerNext({Answer::Yes});
    ASSERT_TRUE(tileStudy(s.project, kSpeeds, {2, ""}, s.ctx).ok());
    EXPECT_FALSE(std::filesystem::exists(s.dir.path(stamp)));
    complete();
    // another setting changes the tile's project: record and checkpoint go
    s.set("VypocetRocni", "TridaLatky", "2");
    s.rep.answerNext({Answer::Yes});
    ASSERT_TRUE(tileStudy(s.project, kSpeeds, {2, ""}, s.ctx).ok());
    EXPECT_FALSE(std::filesystem::exists(s.dir.path(stamp)));
    EXPECT_FALSE(std::filesystem::exists(s.dir.path(checkpoint)));
}

TEST(TileStudy, Refusals)
{
    Study s;
    writeFileAtomically(s.dir.path("body.txt"), ";jen komentář\n0, 1, 1, 0, 0\n");
    EXPECT_FALSE(tileStudy(s.project, kSpeeds, {30000, ""}, s.ctx).ok());  // no point
    writeFileAtomically(s.dir.path("body.txt"), "1, 1, 1, 0, 1\n");
    EXPECT_FALSE(tileStudy(s.project, kSpeeds, {0, ""}, s.ctx).ok());
    EXPECT_FALSE(tileStudy(s.project, kSpeeds, {30001, ""}, s.ctx).ok());
    EXPECT_FALSE(tileStudy(s.project, kSpeeds, {10, "avx3"}, s.ctx).ok());
    std::filesystem::remove(s.dir.path("teren.bin"));
    Outcome<TileManifest> m = tileStudy(s.project, kSpeeds, {10, ""}, s.ctx);
    ASSERT_FALSE(m.ok());
    EXPECT_NE(m.problem().text.find("VstVyskoBin"), std::string::npos) << m.problem().text;
    EXPECT_FALSE(std::filesystem::exists(s.dir.path("kraj_dlazdice"))) << "a refused split left tiles";
}

TEST(TileStudy, PointsTheConversionCannotReadAreLeftOutAndCounted)
{
    Study s;
    writeFileAtomically(s.dir.path("body.txt"), "1, 1, 1, 0, 1\n2, nan, 2, 0, 1\n3, 3, 3, 0, 1\n4, 4, 4\n5, 5, 5, 0, 1\n");
    Outcome<TileManifest> m = tileStudy(s.project, kSpeeds, {2, ""}, s.ctx);
    ASSERT_TRUE(m.ok()) << m.problem().text;
    EXPECT_EQ(m->points, 3);
    EXPECT_EQ(m->skipped, 2);
    EXPECT_EQ(s.read("kraj_dlazdice/001/body.txt"), "1, 1, 1, 0, 1\n3, 3, 3, 0, 1\n");
    EXPECT_EQ(s.read("kraj_dlazdice/002/body.txt"), "5, 5, 5, 0, 1\n");
    Outcome<TileManifest> back = TileManifest::parse(s.read("kraj_dlazdice/manifest.txt"), "manifest.txt");
    ASSERT_TRUE(back.ok()) << back.problem().text;
    EXPECT_EQ(back->skipped, 2);
    EXPECT_EQ(back->text(), m->text());
}

TEST(TileStudy, RemovingComputedResultsIsAskedAndNoKeepsTheOldTree)
{
    Study s;
    writeFileAtomically(s.dir.path("body.txt"), "1, 1, 1, 0, 1\n2, 2, 2, 0, 1\n3, 3, 3, 0, 1\n");
    ASSERT_TRUE(tileStudy(s.project, kSpeeds, {1, ""}, s.ctx).ok());
    writeFileAtomically(s.dir.path("kraj_dlazdice/002/vysledky.dbf"), "výsledky 2");
    writeFileAtomically(s.dir.path("kraj_dlazdice/003/vysledky.dbf"), "výsledky 3");
    writeFileAtomically(s.dir.path("kraj_dlazdice/poznamka.txt"), "moje");
    const std::string manifest = s.read("kraj_dlazdice/manifest.txt");
    // Into two tiles: 002 gets other points, 003 is no longer a tile.
    s.rep.answerNext({Answer::No});
    Outcome<TileManifest> refused = tileStudy(s.project, kSpeeds, {2, ""}, s.ctx);
    ASSERT_FALSE(refused.ok());
    ASSERT_EQ(s.rep.questions.size(), 1u);
    EXPECT_NE(s.rep.questions[0].text.find("dlaždic 002, 003"), std::string::npos) << s.rep.questions[0].text;
    EXPECT_EQ(s.read("kraj_dlazdice/manifest.txt"), manifest);
    EXPECT_EQ(s.read("kraj_dlazdice/003/vysledky.dbf"), "výsledky 3");
    EXPECT_FALSE(std::filesystem::exists(s.dir.path("kraj_dlazdice.ovdnew")));
    // Unattended without a Yes to every question: the same refusal.
    RunContext unattended{s.rep, true};
    EXPECT_FALSE(tileStudy(s.project, kSpeeds, {2, ""}, unattended).ok());
    EXPECT_EQ(s.read("kraj_dlazdice/002/vysledky.dbf"), "výsledky 2");

    s.rep.answerNext({Answer::Yes});
    ASSERT_TRUE(tileStudy(s.project, kSpeeds, {2, ""}, s.ctx).ok());
    EXPECT_FALSE(std::filesystem::exists(s.dir.path("kraj_dlazdice/002/vysledky.dbf")));
    EXPECT_FALSE(std::filesystem::exists(s.dir.path("kraj_dlazdice/003")));
    EXPECT_EQ(s.read("kraj_dlazdice/poznamka.txt"), "moje") << "a file of the user's in the tiles folder was lost";
    EXPECT_TRUE(s.rep.hasMessage("Odstraněny výsledky dlaždic 002, 003."));
    // Tiling the same way again asks nothing: nothing is removed.
    const std::size_t asked = s.rep.questions.size();
    ASSERT_TRUE(tileStudy(s.project, kSpeeds, {2, ""}, s.ctx).ok());
    EXPECT_EQ(s.rep.questions.size(), asked);
}

TEST(TileStudy, WhatAKilledSplitLeftIsClearedOrPutBack)
{
    Study s;
    writeFileAtomically(s.dir.path("body.txt"), "1, 1, 1, 0, 1\n2, 2, 2, 0, 1\n");
    ASSERT_TRUE(tileStudy(s.project, kSpeeds, {1, ""}, s.ctx).ok());
    writeFileAtomically(s.dir.path("kraj_dlazdice/001/vysledky.tmp"), "kontrolní bod");
    // Killed while building its new tree: the half-built tree is not the study's.
    std::filesystem::create_directories(s.dir.path("kraj_dlazdice.ovdnew/009"));
    ASSERT_TRUE(tileStudy(s.project, kSpeeds, {1, ""}, s.ctx).ok());
    EXPECT_FALSE(std::filesystem::exists(s.dir.path("kraj_dlazdice.ovdnew")));
    EXPECT_EQ(s.read("kraj_dlazdice/001/vysledky.tmp"), "kontrolní bod");
    // Killed between the two renames where the file system cannot exchange folders.
    std::filesystem::rename(s.dir.path("kraj_dlazdice"), s.dir.path("kraj_dlazdice.ovdold"));
    ASSERT_TRUE(tileStudy(s.project, kSpeeds, {1, ""}, s.ctx).ok());
    EXPECT_EQ(s.read("kraj_dlazdice/001/vysledky.tmp"), "kontrolní bod") << "the old tree was not put back";
    EXPECT_FALSE(std::filesystem::exists(s.dir.path("kraj_dlazdice.ovdold")));
}

TEST(TileStudy, AnotherTileOrMergeRunHoldsTheTiles)
{
    Study s;
    writeFileAtomically(s.dir.path("body.txt"), "1, 1, 1, 0, 1\n");
    FileLock other;
    ASSERT_FALSE(lockTiledStudy(other, s.project.path()).has_value());
    Outcome<TileManifest> m = tileStudy(s.project, kSpeeds, {1, ""}, s.ctx);
    ASSERT_FALSE(m.ok());
    EXPECT_NE(m.problem().text.find("jiný běh programu"), std::string::npos) << m.problem().text;
    EXPECT_FALSE(std::filesystem::exists(s.dir.path("kraj_dlazdice/manifest.txt")));
    other.unlock();
    EXPECT_TRUE(tileStudy(s.project, kSpeeds, {1, ""}, s.ctx).ok());
}

TEST(StudySignature, FollowsWhatResultsDependOn)
{
    Study s;
    const std::string base = s.signature();
    s.set("VypocetRocni", "SpustMinim", "1");                    // the window during the run
    s.set("VypocetRocni", "VystDbf", s.dir.path("x.dbf"));       // where results go
    s.set("Global", "VstZdrojPrachTxt", s.dir.path("nic.txt"));  // dust files of a gas run
    EXPECT_EQ(s.signature(), base);
    s.set("VypocetRocni", "KoncDobyPrek2", "7");
    const std::string limit = s.signature();
    EXPECT_NE(limit, base);
    s.set("VypocetRocni", "KoncDobyPrek2", "7.000000");  // the same value written as the run writes it back
    EXPECT_EQ(s.signature(), limit);
    writeFileAtomically(s.dir.path("ruzice.txt"), "jiná růžice");
    EXPECT_NE(s.signature(), limit);
    EXPECT_NE(*studySignature(s.project, {1.7, 5.0, 10.0}), s.signature());
    s.set("Global", "TypVypoctu", "1");  // dust reads the dust files, one of which is missing
    EXPECT_FALSE(studySignature(s.project, kSpeeds).ok());
}

}  // namespace
}  // namespace ovd
