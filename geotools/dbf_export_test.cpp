#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "common/dbf_writer.h"
#include "common/file_io.h"
#include "common/le_io.h"
#include "dbf_export.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

struct Row {
    char flag;
    std::vector<std::string> texts;  // right-aligned to the field length
};

std::string tableBytes(const std::vector<DbfField>& fields, const std::vector<Row>& rows)
{
    std::string b = dbfHeaderBytes(fields, static_cast<std::uint32_t>(rows.size()), {2026, 3, 4});
    for (const Row& r : rows) {
        b.push_back(r.flag);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            std::string t = r.texts[i];
            b += std::string(static_cast<std::size_t>(fields[i].length) - t.size(), ' ') + t;
        }
    }
    return b + '\x1a';
}

const std::vector<DbfField> kDaily = {{"ID_POINT", 10, 0, 0}, {"X_COORD", 15, 6, 0}, {"Y_COORD", 15, 6, 0},
                                      {"Z_ELEV", 15, 6},      {"L_ELEV", 15, 6},     {"CONC_VALUE", 15, 6}};

std::vector<Row> dailyRows()
{
    return {{' ', {"1", "-745123.456789", "-1043210.987654", "250.000000", "1.500000", "3.250000"}},
            {'*', {"2", "-700000.000000", "-1000000.000000", "250.000000", "1.500000", "9.000000"}},
            {' ', {"3", "-744000.000400", "-1042000.500000", "260.000000", "1.500000", "0.125000"}}};
}

std::uint32_t be32(const std::string& b, std::size_t at)
{
    auto p = reinterpret_cast<const unsigned char*>(b.data()) + at;
    return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
double f64(const std::string& b, std::size_t at)
{
    return getF64(reinterpret_cast<const unsigned char*>(b.data()) + at);
}
std::uint32_t le32(const std::string& b, std::size_t at)
{
    return getU32(reinterpret_cast<const unsigned char*>(b.data()) + at);
}

class DbfExportTest : public ::testing::Test {
protected:
    void writeInput(const std::vector<DbfField>& fields, const std::vector<Row>& rows)
    {
        ASSERT_TRUE(writeFileAtomically(s.input, tableBytes(fields, rows)));
    }
    std::string read(const std::string& path) { return readFileBytes(path).value_or("<missing>"); }
    std::vector<std::string> folder() const { return dir.names(); }

    DbfExportTest()
    {
        s.input = dir.path("vysledky.dbf");
        s.deriveOutputNames();
    }

    TempDir dir;
    RecordingReporter rep;
    RunContext ctx{rep, false};
    DbfExportSettings s;
};

TEST_F(DbfExportTest, ShowListsLiveRecordsWithRunningNumbersAndStoredTexts)
{
    writeInput(kDaily, dailyRows());
    std::optional<DbfDisplay> d = showDbf(s.input, rep);
    ASSERT_TRUE(d);
    EXPECT_THAT(d->columns,
                ::testing::ElementsAre("#", "ID_POINT  ", "X_COORD   ", "Y_COORD   ", "Z_ELEV    ", "L_ELEV    ",
                                       "CONC_VALUE"));
    ASSERT_EQ(d->rows.size(), 2u);
    EXPECT_EQ(d->rows[1][0], "2");
    EXPECT_EQ(d->rows[1][1], "         3");
    EXPECT_EQ(d->rows[1][2], " -744000.000400");

    writeInput(kDaily, {});
    d = showDbf(s.input, rep);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->columns.size(), 7u);
    EXPECT_TRUE(d->rows.empty());
    EXPECT_TRUE(rep.messages.empty());
}

TEST_F(DbfExportTest, NamesDerivedFromTheInput)
{
    EXPECT_EQ(s.shp, dir.path("vysledky.shp"));
    EXPECT_EQ(s.txt, dir.path("vysledky.txt"));
    DbfExportSettings empty;
    empty.shp = "keep.shp";
    empty.deriveOutputNames();
    EXPECT_EQ(empty.shp, "keep.shp");
}

TEST(FixedWidthNumber, DecodesPlacesBlanksAndSigns)
{
    EXPECT_NEAR(*decodeFixedWidthNumber(" -745123.456789", 6), -745123.456789, 1e-9);
    EXPECT_EQ(decodeFixedWidthNumber("               ", 6), 0.0);
    EXPECT_EQ(decodeFixedWidthNumber("-  12", 0), -12.0);
    EXPECT_EQ(decodeFixedWidthNumber("  12-", 0), -120.0);    // a "-" anywhere holds a place
    EXPECT_EQ(decodeFixedWidthNumber("   1234", 0), 1234.0);  // no point without decimals
    EXPECT_NEAR(*decodeFixedWidthNumber("  5.25", 2), 5.25, 1e-12);
    EXPECT_FALSE(decodeFixedWidthNumber("***************", 6));
    EXPECT_FALSE(decodeFixedWidthNumber("     1e5.000000", 6));
}

TEST_F(DbfExportTest, GisExportWritesPointsOfLiveRecordsWithTheTrueBox)
{
    writeInput(kDaily, dailyRows());
    ASSERT_EQ(exportDbfToGis(s, ctx), ToolStatus::Done);
    std::string shp = read(s.shp), shx = read(s.shx);
    ASSERT_EQ(shp.size(), 100u + 2 * 28);
    ASSERT_EQ(shx.size(), 100u + 2 * 8);
    EXPECT_EQ(be32(shp, 0), 9994u);
    for (std::size_t at = 4; at < 24; at += 4)
        EXPECT_EQ(be32(shp, at), 0u);
    EXPECT_EQ(be32(shp, 24), 50u + 14 * 2);
    EXPECT_EQ(be32(shx, 24), 50u + 4 * 2);
    EXPECT_EQ(le32(shp, 28), 1000u);
    EXPECT_EQ(le32(shp, 32), 1u);
    // Rounded to three decimals; the box is that of the points, all negative here.
    EXPECT_EQ(f64(shp, 36), -745123.457);
    EXPECT_EQ(f64(shp, 44), -1043210.988);
    EXPECT_EQ(f64(shp, 52), -744000.0);
    EXPECT_EQ(f64(shp, 60), -1042000.5);
    for (std::size_t at = 68; at < 100; at += 8)
        EXPECT_EQ(f64(shp, at), 0.0);
    EXPECT_EQ(shp.substr(0, 24), shx.substr(0, 24));
    EXPECT_EQ(shp.substr(28, 72), shx.substr(28, 72));
    // Second record: number 2 (the deleted record does not count), then the third row.
    EXPECT_EQ(be32(shp, 128), 2u);
    EXPECT_EQ(be32(shp, 132), 10u);
    EXPECT_EQ(le32(shp, 136), 1u);
    EXPECT_EQ(f64(shp, 140), -744000.0);
    EXPECT_EQ(f64(shp, 148), -1042000.5);
    EXPECT_EQ(be32(shx, 100), 50u);
    EXPECT_EQ(be32(shx, 104), 10u);
    EXPECT_EQ(be32(shx, 108), 64u);
    EXPECT_THAT(rep.messages.back().text, ::testing::StartsWith("Export do souborů pro GIS dokončen.\n"));
    EXPECT_THAT(rep.messages.back().text, ::testing::HasSubstr("kopii bez smazaných záznamů"));
    // Nothing besides the input and the two outputs stays in the folder.
    EXPECT_THAT(folder(), ::testing::ElementsAre("vysledky.dbf", "vysledky.shp", "vysledky.shx"));
}

TEST_F(DbfExportTest, GisExportOfAnEmptyTableHasAZeroBox)
{
    writeInput(kDaily, {});
    ASSERT_EQ(exportDbfToGis(s, ctx), ToolStatus::Done);
    std::string shp = read(s.shp);
    ASSERT_EQ(shp.size(), 100u);
    EXPECT_EQ(be32(shp, 24), 50u);
    for (std::size_t at = 36; at < 100; at += 8)
        EXPECT_EQ(f64(shp, at), 0.0);
    EXPECT_EQ(rep.messages.back().text, "Export do souborů pro GIS dokončen.");
}

TEST_F(DbfExportTest, CoordinateFieldsAreFoundWithoutCaseForGisButExactlyForMapInfo)
{
    std::vector<DbfField> lower = {{"ID", 10, 0}, {"x_coord", 15, 6}, {"Y_Coord", 15, 6}};
    writeInput(lower, {{' ', {"1", "100.500000", "200.250000"}}});
    EXPECT_EQ(exportDbfToGis(s, ctx), ToolStatus::Done);
    EXPECT_EQ(exportDbfToMapInfo(s, ctx), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage("DBF soubor neobsahuje údaj se souřadnicí X !"));
    EXPECT_FALSE(std::filesystem::exists(s.mif));

    // X_COORD elsewhere than second: fine for GIS, refused by MapInfo.
    std::vector<DbfField> moved = {{"X_COORD", 15, 6}, {"ID", 10, 0}, {"Y_COORD", 15, 6}};
    writeInput(moved, {{' ', {"100.500000", "1", "200.250000"}}});
    RecordingReporter yes({Answer::Yes, Answer::Yes});
    EXPECT_EQ(exportDbfToGis(s, RunContext{yes, false}), ToolStatus::Done);
    EXPECT_EQ(exportDbfToMapInfo(s, ctx), ToolStatus::Failed);

    std::vector<DbfField> noY = {{"ID", 10, 0}, {"X_COORD", 15, 6}, {"Z", 15, 6}};
    writeInput(noY, {{' ', {"1", "100.500000", "200.250000"}}});
    RecordingReporter again({Answer::Yes, Answer::Yes});
    EXPECT_EQ(exportDbfToGis(s, RunContext{again, false}), ToolStatus::Failed);
    EXPECT_TRUE(again.hasMessage("Chybný název y-ového sloupce !"));
    EXPECT_TRUE(again.hasMessage("Export do souborů pro GIS neproveden."));
    EXPECT_EQ(exportDbfToMapInfo(s, ctx), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage("DBF soubor neobsahuje údaj se souřadnicí Y !"));
}

TEST_F(DbfExportTest, CoordinateFieldBeyondTheFirst1024CharactersIsRefused)
{
    std::vector<DbfField> wide;
    for (int i = 0; i < 5; ++i)
        wide.push_back({"PAD" + std::to_string(i), 250, 0});
    wide.push_back({"X_COORD", 15, 6});
    wide.push_back({"Y_COORD", 15, 6});
    std::vector<std::string> texts(5, "1");
    texts.push_back("1.000000");
    texts.push_back("2.000000");
    writeInput(wide, {{' ', texts}});
    EXPECT_EQ(exportDbfToGis(s, ctx), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage("Chybný název x-ového sloupce !"));
}

TEST_F(DbfExportTest, MapInfoPairHoldsHeaderFloatColumnsAndStoredTexts)
{
    writeInput(kDaily, dailyRows());
    ASSERT_EQ(exportDbfToMapInfo(s, ctx), ToolStatus::Done);
    EXPECT_EQ(read(s.mif),
              "Version 300\nCharset \"WindowsLatin2\"\nDelimiter \",\"\nCoordSys Earth Projection 1, 0\nColumns 6\n"
              "ID_POINT   Float\nX_COORD    Float\nY_COORD    Float\nZ_ELEV     Float\nL_ELEV     Float\n"
              "CONC_VALUE Float\nData\n\n"
              "Point  -745123.456789 -1043210.987654\nPoint  -744000.000400 -1042000.500000\n");
    EXPECT_EQ(read(s.mid),
              "         1, -745123.456789,-1043210.987654,     250.000000,       1.500000,       3.250000\n"
              "         3, -744000.000400,-1042000.500000,     260.000000,       1.500000,       0.125000\n");
    EXPECT_EQ(rep.messages.back().text, "Export do MapInfo souborů dokončen.");
}

TEST_F(DbfExportTest, TextExportKeepsFieldOrderAndRefusesUnknownOrNoColumns)
{
    writeInput(kDaily, dailyRows());
    std::vector<int> columns{6, 1, 6};
    ASSERT_EQ(exportDbfToText(s, columns, ctx), ToolStatus::Done);
    EXPECT_EQ(read(s.txt), "         1,       3.250000\n         3,       0.125000\n");

    RecordingReporter r({Answer::Yes, Answer::Yes});
    EXPECT_EQ(exportDbfToText(s, {}, RunContext{r, false}), ToolStatus::Declined);
    EXPECT_TRUE(r.hasMessage("Nebyly vybrány žádné sloupce."));
    std::vector<int> bad{7};
    EXPECT_EQ(exportDbfToText(s, bad, RunContext{r, false}), ToolStatus::Failed);
    EXPECT_EQ(read(s.txt), "         1,       3.250000\n         3,       0.125000\n");

    DbfTable t = *DbfTable::load(s.input);
    EXPECT_EQ(textExportLabels(t)[5], "06 .. CONC_VALUE");
}

TEST_F(DbfExportTest, ExistingOutputIsKeptWhenTheUserSaysNo)
{
    writeInput(kDaily, dailyRows());
    ASSERT_TRUE(writeFileAtomically(s.shx, "old"));
    RecordingReporter no({Answer::No});
    EXPECT_EQ(exportDbfToGis(s, RunContext{no, false}), ToolStatus::Declined);
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0].text, overwriteQuestionText(s.shx));
    EXPECT_EQ(read(s.shx), "old");
    EXPECT_FALSE(std::filesystem::exists(s.shp));
}

TEST_F(DbfExportTest, BadTablesGetClearMessagesAndNoOutput)
{
    s.target = static_cast<int>(DbfExportTarget::Gis);
    EXPECT_EQ(exportDbf(s, {}, ctx), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage("Vstupní dbf soubor se nepodařilo otevřít !"));

    ASSERT_TRUE(writeFileAtomically(s.input, "this is a plain text file, not a table of results at all\n"));
    EXPECT_EQ(exportDbf(s, {}, ctx), ToolStatus::Failed);
    EXPECT_THAT(rep.messages.back().text, ::testing::HasSubstr("není platný DBF soubor"));

    // The header promises three records; the file ends in the middle of the second.
    std::string bytes = tableBytes(kDaily, dailyRows());
    ASSERT_TRUE(writeFileAtomically(s.input, bytes.substr(0, 225 + 86 + 40)));
    for (int target = 0; target < 3; ++target) {
        s.target = target;
        std::vector<int> one{1};
        EXPECT_EQ(exportDbf(s, one, ctx), ToolStatus::Failed);
        EXPECT_THAT(rep.messages.back().text, ::testing::HasSubstr("je zkrácený"));
    }
    // The display shows what is there after a warning.
    std::optional<DbfDisplay> d = showDbf(s.input, rep);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->rows.size(), 1u);
    EXPECT_EQ(rep.messages.back().severity, Severity::Warning);

    std::string lying = tableBytes(kDaily, dailyRows());
    lying[8] = static_cast<char>(0xFF);  // a header length past the end of the file
    lying[9] = static_cast<char>(0x7F);
    ASSERT_TRUE(writeFileAtomically(s.input, lying));
    EXPECT_EQ(exportDbf(s, {}, ctx), ToolStatus::Failed);
    EXPECT_THAT(folder(), ::testing::ElementsAre("vysledky.dbf"));
}

}  // namespace
}  // namespace ovd

namespace ovd {
namespace {

TEST_F(DbfExportTest, CoordinateSystemWithoutTheGisLibraryIsRefusedBeforeWriting)
{
    // No services are registered in this program: a .prj cannot be made, so nothing is.
    writeInput(kDaily, dailyRows());
    s.coordinateSystem = "EPSG:5514";
    const std::vector<std::string> before = folder();
    for (int target : {0, 1}) {
        s.target = target;
        EXPECT_EQ(exportDbf(s, {}, ctx), ToolStatus::Failed);
        EXPECT_NE(rep.messages.front().text.find("nemá k dispozici knihovnu GIS"), std::string::npos);
        rep.messages.clear();
    }
    EXPECT_EQ(folder(), before);
}

}  // namespace
}  // namespace ovd
