#include "sources_editor/source_files.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/ini_file.h"
#include "common/text.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

class SourceFiles : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& text)
    {
        std::string path = dir.path(name);
        writeFileAtomically(path, text);
        return path;
    }
    std::string read(const std::string& name) { return readFileBytes(dir.path(name)).value_or("<missing>"); }
    LoadResult load(const std::string& points, const std::string& desc, const std::string& dust, bool append = false,
                    bool acceptMissing = true)
    {
        return loadSources(list, numbering, {dir.path(points), dir.path(desc), dust.empty() ? "" : dir.path(dust)},
                           append, acceptMissing, reporter);
    }
    std::vector<const cZdroje*> all() const
    {
        std::vector<const cZdroje*> v;
        for (auto& s : list.sources)
            v.push_back(s.get());
        return v;
    }

    TempDir dir;
    SourceList list;
    SourceNumbering numbering;
    RecordingReporter reporter;
};

TEST_F(SourceFiles, JoinsOutOfOrderAndReusesAnUnconsumedLine)
{
    write("b.txt",
          "1, 0, 0, 0, 1, 0, 0 ;A\n2, 0, 0, 0, 2, 0, 0 ;B\n3, 0, 0, 0, 3, 0, 0 ;C\n5, 0, 0, 0, 1, 0, 0 ;D\n"
          "5, 0, 0, 0, 1, 0, 0 ;E\n4, 0, 0, 0, 4, 0, 0 ;F\n");
    write("p.txt", ";hlavicka\n3, 3\n2, 2\n1, 1\n5, 5, 55\n");
    LoadResult r = load("b.txt", "p.txt", "");
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(list.sources.size(), 5u);  // type 4 is passed over uncounted
    EXPECT_EQ(r.missingDescriptions, 0);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(list.sources[0]->Parameters(0), 1);
    EXPECT_EQ(list.sources[2]->Parameters(0), 3);
    EXPECT_EQ(list.sources[3]->Parameters(1), 55);
    EXPECT_EQ(list.sources[4]->Parameters(1), 55);
    EXPECT_EQ(list.sources[4]->NazevZdroje(), "E");
}

TEST_F(SourceFiles, MissingDescriptionsAndDustAreCounted)
{
    write("b.txt", "000000001, 0, 0, 0, 1, 0, 0 ;A\n000000002, 0, 0, 0, 1, 0, 0 ;B\n000000003, 0, 0, 0, 3, 0, 0 ;C\n");
    write("p.txt", "1, 1\n3, 3\n");
    write("d.txt", "000000001,2500,3\n12,2500,0,1,10,1\n");
    LoadResult r = load("b.txt", "p.txt", "d.txt");
    EXPECT_EQ(list.sources.size(), 3u);
    EXPECT_EQ(r.missingDescriptions, 1);
    EXPECT_EQ(r.missingDust, 2);
    EXPECT_TRUE(reporter.hasMessage("V popisném souboru nebylo\nnalezeno 1 zdrojů."));
    EXPECT_TRUE(reporter.hasMessage("V souboru s prachem nebylo\nnalezeno 2 zdrojů."));
    EXPECT_EQ(list.sources[0]->Prach(), "2500,3");

    // Without sources lacking a description the line is counted but creates nothing.
    RecordingReporter strict;
    SourceList other;
    loadSources(other, numbering, {dir.path("b.txt"), dir.path("p.txt"), ""}, false, false, strict);
    EXPECT_EQ(other.sources.size(), 2u);
    EXPECT_TRUE(strict.hasMessage("V popisném souboru nebylo\nnalezeno 1 zdrojů."));
}

TEST_F(SourceFiles, ShortNumberedDustLineKeepsItsWholePayload)
{
    write("b.txt", "12, 0, 0, 0, 1, 0, 0 ;A\n");
    write("p.txt", "12, 1\n");
    write("d.txt", "12,2500,3\n");
    load("b.txt", "p.txt", "d.txt");
    ASSERT_EQ(list.sources.size(), 1u);
    EXPECT_EQ(list.sources[0]->Prach(), "2500,3");
}

TEST_F(SourceFiles, AppendJoinsCommentsAndOutOfRangeIsCounted)
{
    write("b1.txt", ";A\n1, 0, 0, 0, 1, 0, 0 ;X\n");
    write("b2.txt", "  ;  \n;B\n;C\n2, 1e20, 0, 0, 1, 0, 0 ;Y\n");
    write("p.txt", "1, 1\n2, 1e39\n");
    load("b1.txt", "p.txt", "");
    EXPECT_EQ(list.comment, "A");
    LoadResult r = load("b2.txt", "p.txt", "", true);
    EXPECT_EQ(list.comment, "A * B");
    EXPECT_EQ(list.sources.size(), 2u);
    EXPECT_EQ(r.outOfRange, 1);
    EXPECT_EQ(list.sources[1]->x(), 0);
    EXPECT_EQ(list.sources[1]->Parameters(0), 0);
    load("b2.txt", "p.txt", "");  // replace
    EXPECT_EQ(list.comment, "B");
    EXPECT_EQ(list.sources.size(), 1u);
}

TEST_F(SourceFiles, MissingFileIsReportedAndLeavesTheList)
{
    write("b.txt", "1, 0, 0, 0, 1, 0, 0 ;X\n");
    write("p.txt", "1, 1\n");
    load("b.txt", "p.txt", "");
    LoadResult r = load("b.txt", "none.txt", "");
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].caption, kLoadCaption);
    EXPECT_EQ(reporter.messages[0].text.rfind("Chyba #", 0), 0u);
    EXPECT_EQ(list.sources.size(), 1u);
}

TEST_F(SourceFiles, SaveWritesHeadersCrLfCp1250AndProjectKeys)
{
    write("b.txt", "1, 100, 200, 300, 1, 0, 0 ;Komín č. 1\n2, 0, 0, 0, 3, 0, 0 ;L\n");
    write("p.txt", "1, 1.5, 40, 2.3, 150, 1.2, 8.5, 0.8, 24, 0\n2, 1, 2, 3, 4, 5, 6, 7, 8, 9\n");
    write("d.txt", "000000001,2500,0,1,10,1\n");
    load("b.txt", "p.txt", "d.txt");
    write("study.ovd", "[Global]\nVstZdrojBodTxt=old\n");
    ASSERT_TRUE(saveSources(all(), {dir.path("ob.txt"), dir.path("op.txt"), dir.path("od.txt")}, "  Studie  ",
                            dir.path("study.ovd"), reporter));
    const std::string ob = dir.path("ob.txt"), op = dir.path("op.txt"), od = dir.path("od.txt");
    EXPECT_EQ(read("ob.txt"),
              utf8ToCp1250(";Studie\r\n;SOUBOR S BODY\r\n;Soubor s popisem: " + op + "\r\n;Soubor s prachem: " + od +
                           "\r\n000000001, 0000100, 0000200, 0300, 1, 0, 0 ;Komín č. 1\r\n"
                           "000000002, 0000000, 0000000, 0000, 3, 0, 0 ;L\r\n"));
    EXPECT_EQ(read("op.txt"),
              utf8ToCp1250(";Studie\r\n;SOUBOR S POPISEM (bodů)\r\n;Soubor s body: " + ob +
                           "\r\n;Soubor s prachem: " + od +
                           "\r\n000000001, 1.5, 40, 2.3, 150, 1.2, 8.5, 0.8, 24, 0\r\n"
                           "000000002, 1, 2, 3, 4, 5, 6, 7, 8, 9\r\n"));
    EXPECT_EQ(read("od.txt"),
              ";Studie\r\n;SOUBOR S PRACHEM\r\n;Soubor s popisem: " + op + "\r\n;Soubor s body: " + ob +
                  "\r\n000000001,2500,0,1,10,1\r\n000000002\r\n");
    IniFile project(dir.path("study.ovd"));
    // Files in the project's folder are kept relative to it, so the study can be moved.
    EXPECT_EQ(project.read("Global", "VstZdrojBodTxt"), "ob.txt");
    EXPECT_EQ(project.read("Global", "VstZdrojPopTxt"), "op.txt");
    EXPECT_EQ(project.read("Global", "VstZdrojPrachTxt"), "od.txt");

    // A blank comment writes no header; without dust the dust key is emptied.
    ASSERT_TRUE(saveSources({}, {ob, op, ""}, "   ", dir.path("study.ovd"), reporter));
    EXPECT_EQ(read("ob.txt"), "");
    EXPECT_EQ(project.read("Global", "VstZdrojPrachTxt", "x"), "");
}

TEST_F(SourceFiles, RefusedSavesLeaveEveryFileAsItWas)
{
    write("ob.txt", "old points\r\n");
    write("op.txt", "old description\r\n");
    auto s = createSource(1);
    s->ICZ(1);
    std::vector<const cZdroje*> v{s.get()};
    EXPECT_FALSE(saveSources(v, {dir.path("ob.txt"), dir.path("./ob.txt"), ""}, "", "", reporter));
    EXPECT_FALSE(saveSources(v, {dir.path("ob.txt"), " ", ""}, "", "", reporter));
    // The dust file cannot be written: neither of the other two changes.
    EXPECT_FALSE(
        saveSources(v, {dir.path("ob.txt"), dir.path("op.txt"), dir.path("no/such/dir/od.txt")}, "", "", reporter));
    EXPECT_EQ(reporter.messages.size(), 3u);
    EXPECT_EQ(reporter.messages.back().caption, kSaveCaption);
    EXPECT_EQ(reporter.messages.back().text.rfind("Chyba #", 0), 0u);
    EXPECT_EQ(read("ob.txt"), "old points\r\n");
    EXPECT_EQ(read("op.txt"), "old description\r\n");
}

TEST_F(SourceFiles, SavedFilesLoadBackUnchanged)
{
    write("b.txt", ";K\n1, -745000, 1045000, 250, 2, 3, 4 ;Plocha\n7, 0, 0, 0, 1, 0, 0 ;Bod\n");
    write("p.txt", "1, 0.001, 2.5, 1e-05, 1234567, 0, 0, 0.25, 12, 40\n7, 1, 2, 3, 4, 5, 6, 7, 8\n");
    load("b.txt", "p.txt", "");
    ASSERT_TRUE(saveSources(all(), {dir.path("b2.txt"), dir.path("p2.txt"), ""}, list.comment, "", reporter));
    SourceList again;
    loadSources(again, numbering, {dir.path("b2.txt"), dir.path("p2.txt"), ""}, false, true, reporter);
    ASSERT_EQ(again.sources.size(), 2u);
    EXPECT_EQ(again.comment, "K");
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(again.sources[i]->LineSource(), list.sources[i]->LineSource());
        EXPECT_EQ(again.sources[i]->LineParameters(), list.sources[i]->LineParameters());
    }
    EXPECT_EQ(firstComment(dir.path("b2.txt")), "K");
}

// A file the height fill wrote ("%ld, %lf, %lf, %lf, " before the rest of the line), one
// source edited: every other value is read back as the same number.
TEST_F(SourceFiles, HeightFilledFileKeepsItsValuesWhenAnotherIsEdited)
{
    write("b.txt", ";Zdroje\r\n1, -865400.000000, -1045000.000000, 370.950000, 1, 0, 0 ;Komin\r\n"
                   "2, -865400.500000, -1045000.250000, 0371, 2, 0, 0 ;Plocha\r\n"
                   "3, -865000, -1044000, 402.125000, 3, 0, 0 ;Silnice\r\n");
    write("p.txt", "1, 1, 2, 3, 4, 5, 6, 7, 8\r\n2, 1, 2, 3, 4, 5, 6, 7\r\n3, 1, 2, 3, 4, 5, 6, 7\r\n");
    load("b.txt", "p.txt", "");
    ASSERT_EQ(list.sources.size(), 3u);
    cZdroje& edited = *list.sources[1];
    SourceEdit e{edited.NazevZdroje(), edited.coordinateX(), Coordinate::read("-1045001"), edited.coordinateZ(),
                 0, 0, std::vector<float>(7, 1.0f), ""};
    edited.finishEdit(true, e);
    ASSERT_TRUE(saveSources(all(), {dir.path("b.txt"), dir.path("p.txt"), ""}, list.comment, "", reporter));
    const std::string saved = read("b.txt");
    EXPECT_NE(saved.find("\r\n000000001, -0865400, -1045000, 0370.950000, 1, 0, 0 ;Komin\r\n"
                         "000000002, -0865400.500000, -1045001, 0371, 2, 0, 0 ;Plocha\r\n"
                         "000000003, -0865000, -1044000, 0402.125000, 3, 0, 0 ;Silnice\r\n"),
              std::string::npos)
        << saved;
    SourceList again;
    loadSources(again, numbering, {dir.path("b.txt"), dir.path("p.txt"), ""}, false, true, reporter);
    ASSERT_EQ(again.sources.size(), 3u);
    const double expected[3][3] = {{-865400, -1045000, 370.95}, {-865400.5, -1045001, 371}, {-865000, -1044000, 402.125}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(again.sources[i]->x(), expected[i][0]) << i;
        EXPECT_EQ(again.sources[i]->Y(), expected[i][1]) << i;
        EXPECT_EQ(again.sources[i]->Z(), expected[i][2]) << i;
    }
}

}  // namespace
}  // namespace ovd
