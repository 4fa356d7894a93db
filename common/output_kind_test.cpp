#include "common/output_kind.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/le_io.h"
#include "common/output_paths.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

std::string bigEndian(std::uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

class OutputKind : public ::testing::Test {
protected:
    bool kind(const std::string& name, const std::string& bytes)
    {
        writeFileAtomically(dir.path(name), bytes);
        return isOwnOutputKind(dir.path(name));
    }
    TempDir dir;
};

// A dBASE III table of `records` rows of 11 bytes and a 65-byte header.
std::string dbf(std::uint32_t records, bool endMark)
{
    std::string b(1, '\x03');
    b += std::string("\x7e\x0c\x09", 3);
    putU32(b, records);
    putU16(b, 65);
    putU16(b, 11);
    b.resize(65, ' ');
    b += std::string(records * 11, ' ');
    return endMark ? b + '\x1a' : b;
}

TEST_F(OutputKind, DbaseTableByItsHeaderAndLength)
{
    EXPECT_TRUE(kind("a.dbf", dbf(3, true)));
    EXPECT_TRUE(kind("a.DBF", dbf(0, false)));
    EXPECT_FALSE(kind("b.dbf", dbf(3, true) + "xx"));  // longer than the header says
    std::string other = dbf(2, true);
    other[0] = 'M';
    EXPECT_FALSE(kind("c.dbf", other));
    EXPECT_FALSE(kind("d.dbf", "short"));
}

TEST_F(OutputKind, ShapefileAndIndexByFileCodeLengthAndVersion)
{
    auto shape = [](std::uint32_t words, std::size_t size, std::uint32_t version) {
        std::string b = bigEndian(9994) + std::string(20, '\0') + bigEndian(words);
        putU32(b, version);
        b.resize(size, '\0');
        return b;
    };
    EXPECT_TRUE(kind("a.shp", shape(60, 120, 1000)));
    EXPECT_TRUE(kind("a.shx", shape(50, 100, 1000)));
    EXPECT_FALSE(kind("b.shp", shape(60, 122, 1000)));
    EXPECT_FALSE(kind("c.shx", shape(50, 100, 999)));
    EXPECT_FALSE(kind("d.shp", std::string(100, 'x')));
}

TEST_F(OutputKind, GisFilesPicturesAndDocumentsByTheirFirstBytes)
{
    EXPECT_TRUE(kind("a.gpkg", std::string("SQLite format 3\0rest", 20)));
    EXPECT_FALSE(kind("b.gpkg", "SQLite format 2"));
    EXPECT_TRUE(kind("a.tif", std::string("II*\0....", 8)));
    EXPECT_TRUE(kind("a.TIFF", std::string("MM\0*....", 8)));
    EXPECT_FALSE(kind("b.tif", "GIF89a"));
    EXPECT_TRUE(kind("a.png", "\x89PNG\r\n\x1a\n...."));
    EXPECT_FALSE(kind("b.png", "PNG"));
    EXPECT_TRUE(kind("a.pdf", "%PDF-1.4\n"));
    EXPECT_FALSE(kind("b.pdf", "PDF"));
    EXPECT_TRUE(kind("a.svg", "<?xml version=\"1.0\"?>\n<svg width=\"10\">"));
    EXPECT_TRUE(kind("b.svg", "\xEF\xBB\xBF <svg xmlns=\"x\"/>"));
    EXPECT_FALSE(kind("c.svg", "<?xml version=\"1.0\"?>\n<html>"));
    EXPECT_TRUE(kind("a.kml", "<?xml version=\"1.0\"?>\n<kml xmlns=\"x\">"));
    EXPECT_FALSE(kind("b.kml", "<svg/>"));
    EXPECT_TRUE(kind("a.geojson", "{\n\"type\": \"FeatureCollection\",\n\"name\": \"a\""));
    EXPECT_FALSE(kind("b.geojson", "{\"name\": \"settings\"}"));
    EXPECT_TRUE(kind("a.csv", "X,Y,ID_POINT,CONC_VALUE\n1,2,3,4\n"));
    EXPECT_FALSE(kind("b.csv", "name,salary\n"));
    EXPECT_TRUE(kind("a.mif", "Version 300\nCharset \"WindowsLatin2\"\n"));
    const std::string odt = std::string("PK\x03\x04", 4) + std::string(26, '\0') +
        "mimetypeapplication/vnd.oasis.opendocument.text" + "rest";
    EXPECT_TRUE(kind("a.odt", odt));
    EXPECT_FALSE(kind("b.odt", std::string("PK\x03\x04", 4) + std::string(26, '\0') +
                                   "mimetypeapplication/vnd.oasis.opendocument.spreadsheet..."));
}

TEST_F(OutputKind, BinaryLayoutsByTheirExactLength)
{
    auto header = [](std::int32_t a, std::int32_t b) {
        std::string h;
        putI32(h, a);
        putI32(h, b);
        return h;
    };
    // Coefficient matrix: rows x columns floats.
    EXPECT_TRUE(kind("theta.bin", header(2, 3) + std::string(24, '\0')));
    EXPECT_FALSE(kind("theta2.bin", header(2, 3) + std::string(25, '\0')));
    // Reference points and gas sources: count and columns, then the records.
    EXPECT_TRUE(kind("body.bin", header(2, 5) + std::string(72, '\0')));
    EXPECT_FALSE(kind("body2.bin", header(2, 5) + std::string(71, '\0')));
    EXPECT_TRUE(kind("zdroje.bin", header(1, 13) + std::string(114, '\0')));
    // Dust sources: each record's pairs counted.
    std::string dust = header(2, 15);
    for (std::int32_t pairs : {1, 3}) {
        dust += std::string(122, '\0');
        putI32(dust, pairs);
        dust += std::string(16 * pairs, '\0');
    }
    EXPECT_TRUE(kind("prach.bin", dust));
    EXPECT_FALSE(kind("prach2.bin", dust + "x"));
    // Terrain: int16 elements, 3 x 2, the no-data value and six elements.
    std::string terrain;
    putU16(terrain, 0);
    putI32(terrain, 3);
    putI32(terrain, 2);
    terrain += std::string(24 + 2 + 12, '\0');
    EXPECT_TRUE(kind("teren.bin", terrain));
    EXPECT_FALSE(kind("teren2.bin", terrain.substr(1)));
    // Anything else under such a name.
    EXPECT_FALSE(kind("notes", "dear diary\n"));
    EXPECT_FALSE(kind("empty.bin", ""));
}

TEST_F(OutputKind, TextOutputsByTheirHeaderLines)
{
    EXPECT_FALSE(kind(".bashrc", "export PATH=$PATH:~/bin\n"));
}

TEST_F(OutputKind, NothingThatIsNoRegularFile)
{
    EXPECT_FALSE(isOwnOutputKind(dir.path("missing.png")));
    EXPECT_FALSE(isOwnOutputKind(dir.root()));
}

class UnaskedOverwrite : public ::testing::Test {
protected:
    UnaskedOverwrite()
    {
        std::filesystem::create_directories(dir.path("study/sub"));
        std::filesystem::create_directories(dir.path("home"));
        writeFileAtomically(dir.path("study/p.ovd"), "[Global]\nVystup = " + dir.path("home/notes.txt") + "\n");
        writeFileAtomically(dir.path("home/notes.txt"), "mine\n");
        writeFileAtomically(dir.path("home/photo.png"), "\x89PNG\r\n\x1a\nrest");
        writeFileAtomically(dir.path("study/sub/notes.txt"), "mine\n");
    }
    TempDir dir;
    RecordingReporter rep;
};

TEST_F(UnaskedOverwrite, ForeignFilesOutsideTheStudyAreRefusedNamingFileAndKey)
{
    const RunContext ctx{rep, true, dir.path("study/p.ovd")};
    EXPECT_FALSE(ctx.confirmOverwrite(dir.path("home/notes.txt")));
    ASSERT_EQ(rep.messages.size(), 1u);
    EXPECT_EQ(rep.messages[0].text,
              "Soubor " + dir.path("home/notes.txt") +
                  " (klíč [Global] Vystup) leží mimo složku projektu a není souborem, který tento program zapisuje.\n"
                  "Bez obsluhy jej nelze přepsat, nic nebylo zapsáno. Zvolte jiný výstupní soubor.");
    // Of a kind the system writes; inside the study's folder or below; not there yet.
    EXPECT_TRUE(ctx.confirmOverwrite(dir.path("home/photo.png")));
    EXPECT_TRUE(ctx.confirmOverwrite(dir.path("study/sub/notes.txt")));
    EXPECT_TRUE(ctx.confirmOverwrite(dir.path("home/new.txt")));
    // A way out of the folder through ".." is outside.
    EXPECT_FALSE(ctx.confirmOverwrite(dir.path("study/../home/notes.txt")));
    EXPECT_EQ(rep.questions.size(), 0u);
}

TEST_F(UnaskedOverwrite, AnOptionsYesIsHeldToTheSameRuleAndAPersonIsAsked)
{
    RunContext byOption{rep, false, dir.path("study/p.ovd")};
    byOption.answeredByOption = true;
    EXPECT_FALSE(byOption.confirmOverwrite(dir.path("home/notes.txt")));
    EXPECT_EQ(rep.questions.size(), 0u);
    RecordingReporter person({Answer::Yes});
    const RunContext asked{person, false, dir.path("study/p.ovd")};
    EXPECT_TRUE(asked.confirmOverwrite(dir.path("home/notes.txt")));
    EXPECT_EQ(person.questions.size(), 1u);
    // Without a project (a benchmark, a fuzzer) nothing is held back.
    EXPECT_TRUE((RunContext{rep, true}).confirmOverwrite(dir.path("home/notes.txt")));
}

TEST_F(UnaskedOverwrite, SharedFilesOfARunIncludeTheProjectProfileAndStudyFiles)
{
    RunContext ctx{rep, false, dir.path("study/p.ovd"), dir.path("profile.ini")};
    EXPECT_FALSE(refuseSharedFiles(ctx, {}, {{"výstupní soubor GIS", dir.path("study/./p.ovd")}}));
    EXPECT_FALSE(refuseSharedFiles(ctx, {}, {{"výstupní soubor GIS", dir.path("profile.ini")}}));
    ASSERT_EQ(rep.messages.size(), 2u);
    EXPECT_EQ(rep.messages[1].text, "Soubor " + dir.path("profile.ini") +
                                        " je zadán jako uživatelský profil i jako výstupní soubor GIS.\n"
                                        "Zvolte pro výstup jiný soubor.");
    const std::vector<NamedPath> study = studyFileRoles(dir.path("study/p.ovd"));
    ASSERT_EQ(study.size(), 1u);
    EXPECT_EQ(study[0].role, "soubor studie (klíč [Global] Vystup)");
    EXPECT_TRUE(studyFileRoles(dir.path("study/p.ovd"), {{"global", "VYSTUP"}}).empty());
    ctx.answeredByOption = true;
    EXPECT_FALSE(refuseSharedFiles(ctx, {}, {{"výstupní soubor GIS", dir.path("home/photo.png")}, {"x", dir.path("home/notes.txt")}}));
    EXPECT_TRUE(refuseSharedFiles(ctx, {}, {{"výstupní soubor GIS", dir.path("home/photo.png")}}));
}

}  // namespace
}  // namespace ovd
