// The assessment on tables built by hand: totals, shares, flags, the summary, the background's
// gaps and every refusal before anything is written.
#include <gtest/gtest.h>

#include "assess/assessment.h"
#include "assess/background.h"
#include "assess/lattice_area.h"
#include "assess/table_output.h"
#include "common/dbf_reader.h"
#include "common/file_io.h"
#include "common/gis_services.h"
#include "common/paths.h"
#include "testing/dbf_column.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// Background layers as the test declares them: the value at a point from a function, none
// where it gives a negative number.
class FakeGis : public GisServices {
public:
    std::optional<Problem> checkSystem(const std::string&) const override { return std::nullopt; }
    Outcome<std::string> prjText(const std::string&) const override { return std::string(); }
    Outcome<std::string> mapInfoCoordSys(const std::string&) const override { return std::string(); }
    Outcome<std::unique_ptr<HeightRaster>> openHeightRaster(const std::string&, const std::string&) const override
    {
        return Problem::error("no rasters here");
    }
    Outcome<PointSamples> sampleRaster(const std::string& path, const std::string& system,
                                       std::span<const StudyPoint> points, bool bilinear) const override
    {
        lastBilinear = bilinear;
        lastSystem = system;
        return sample(path, points);
    }
    Outcome<PointSamples> samplePolygons(const std::string& path, const std::string& column, const std::string&,
                                         std::span<const StudyPoint> points) const override
    {
        lastColumn = column;
        return sample(path, points);
    }

    std::function<double(double, double)> value = [](double, double) { return 0.0; };
    mutable bool lastBilinear = false;
    mutable std::string lastSystem, lastColumn;

private:
    Outcome<PointSamples> sample(const std::string&, std::span<const StudyPoint> points) const
    {
        PointSamples out;
        for (const StudyPoint& p : points) {
            double v = value(p.x, p.y);
            out.push_back(v < 0 ? std::nullopt : std::optional<double>(v));
        }
        return out;
    }
};

struct Row {
    double id, x, y, conc, hours;
};

// A result table of the annual tool's shape with CONC_AVG and one exceedance-hours field.
void writeTable(const std::string& path, const std::vector<Row>& rows)
{
    std::vector<DbfField> fields = {{"ID", 10, 0, 0},       {"X_COORD", 15, 6, 0},     {"Y_COORD", 15, 6, 0},
                                    {"Z_ELEV", 15, 6, 1},   {"L_ELEV", 15, 6, 1},      {"CONC_AVG", 15, 6, 1},
                                    {"T1_200_0000", 15, 6, 1}};
    std::vector<OutputRow> values;
    for (const Row& r : rows)
        values.push_back({r.id, r.x, r.y, 300.0, 1.5, r.conc, r.hours});
    ASSERT_TRUE(writeFileAtomically(path, tableBytes(fields, values, {2026, 12, 9})));
}

// A 2 x 2 lattice of 100 m.
const std::vector<Row> kLattice = {
    {1, 0, 0, 2.5, 0}, {2, 100, 0, 39.9, 20}, {3, 0, 100, 0.2, 18}, {4, 100, 100, 12.000001, 3}};

class Assessment : public ::testing::Test {
public:
    void SetUp() override
    {
        table = dir.path("rocni.dbf");
        writeTable(table, kLattice);
        s.input = table;
        s.output = dir.path("hodnoceni.dbf");
        s.background = "10";
        s.limit = "50";
        files = {dir.path("study.ovd"), dir.path("profile.ini")};
    }

    ToolStatus run()
    {
        RunContext ctx{rep, true};
        ctx.gis = &gis;
        return runAssessment(s, files, ctx, summary);
    }

    // The output's value of `field` at every record.
    std::vector<std::string> column(const std::string& field) { return dbfColumnTexts(s.output, field); }
    std::string lastError() const { return rep.lastError(); }

    FakeGis gis;
    TempDir dir;
    std::string table;
    AssessSettings s;
    RunFiles files;
    RecordingReporter rep;
    std::vector<std::string> summary;
};

TEST_F(Assessment, TotalsSharesAndFlagsOnAHandBuiltTable)
{
    s.limit = "40";
    ASSERT_EQ(run(), ToolStatus::Done) << lastError();
    Outcome<DbfTable> t = DbfTable::load(s.output);
    ASSERT_TRUE(t);
    std::vector<std::string> names;
    for (const DbfFieldInfo& f : t->fields()) {
        names.push_back(f.shortName().substr(0, f.shortName().find(' ')));
        if (names.size() > 5) {
            EXPECT_EQ(f.type, 'N');
            EXPECT_EQ(f.length, 15);
            EXPECT_EQ(f.decimals, 6);
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"ID", "X_COORD", "Y_COORD", "Z_ELEV", "L_ELEV", "PRISPEVEK", "POZADI",
                                               "CELKEM", "LIMIT", "PODIL_LIM", "PODIL_PRI", "PREKROC"}));
    EXPECT_EQ(column("ID"), (std::vector<std::string>{"         1", "         2", "         3", "         4"}));
    EXPECT_EQ(column("CELKEM"), (std::vector<std::string>{"      12.500000", "      49.900000", "      10.200000",
                                                          "      22.000001"}));
    EXPECT_EQ(column("POZADI")[0], "      10.000000");
    EXPECT_EQ(column("LIMIT")[0], "      40.000000");
    // 100 * 49.9 / 40 and 100 * 39.9 / 40
    EXPECT_EQ(column("PODIL_LIM")[1], "     124.750000");
    EXPECT_EQ(column("PODIL_PRI")[1], "      99.750000");
    EXPECT_EQ(column("PODIL_PRI")[2], "       0.500000");
    EXPECT_EQ(column("PREKROC"), (std::vector<std::string>{"       0.000000", "       1.000000", "       0.000000",
                                                           "       0.000000"}));
    // The run log beside the table holds the summary too.
    std::optional<std::string> log = readFileBytes(dir.path("hodnoceni.vst"));
    ASSERT_TRUE(log);
    for (const std::string& line : summary)
        EXPECT_NE(log->find(line), std::string::npos) << line;
    EXPECT_NE(log->find("Limit: 40 µg/m³ zadaný uživatelem"), std::string::npos);
}

TEST_F(Assessment, SummaryFiguresNameTheirPoints)
{
    s.limit = "40";
    ASSERT_EQ(run(), ToolStatus::Done) << lastError();
    EXPECT_EQ(summary,
              (std::vector<std::string>{
                  "Posouzeno bodů: 4",
                  "Největší příspěvek: 39.900000 µg/m³ v bodě 2 (X 100.00, Y 0.00)",
                  "Největší celková koncentrace: 49.900000 µg/m³ v bodě 2 (X 100.00, Y 0.00)",
                  "Největší podíl na limitu: 124.75 % v bodě 2 (X 100.00, Y 0.00)",
                  "Celková koncentrace překračuje limit v 1 bodě, na ploše 0.01 km²",
                  "Příspěvek přesahuje 1 % limitu v 3 bodech",
              }));
}

TEST_F(Assessment, TotalEqualToTheLimitDoesNotExceedIt)
{
    // 39.9 + 0.1 is 40 as the table holds it, though not in binary arithmetic.
    s.background = "0.1";
    s.limit = "40";
    ASSERT_EQ(run(), ToolStatus::Done) << lastError();
    EXPECT_EQ(column("CELKEM")[1], "      40.000000");
    EXPECT_EQ(column("PREKROC")[1], "       0.000000");
}

TEST_F(Assessment, HoursColumnAddsTheHoursAndTheirFlag)
{
    s.pollutant = "NO2";
    s.limit.clear();
    s.hoursColumn = "T1_200_0000";
    ASSERT_EQ(run(), ToolStatus::Done) << lastError();
    EXPECT_EQ(column("LIMIT")[0], "      40.000000");  // the year's limit for CONC_AVG
    EXPECT_EQ(column("HOD_PREK"), (std::vector<std::string>{"       0.000000", "      20.000000", "      18.000000",
                                                            "       3.000000"}));
    // NO2 allows 18 hours above 200 µg/m³ a year.
    EXPECT_EQ(column("PREKROC_H"), (std::vector<std::string>{"       0.000000", "       1.000000", "       0.000000",
                                                             "       0.000000"}));
    EXPECT_EQ(summary.back(), "Počet hodin překročení přesahuje povolený počet v 1 bodě");
    // --allowed-hours overrides the table's count.
    s.allowedHours = "2";
    ASSERT_EQ(run(), ToolStatus::Done) << lastError();
    EXPECT_EQ(summary.back(), "Počet hodin překročení přesahuje povolený počet v 3 bodech");
    // The 1 h limit of a pollutant whose hours column counts another concentration.
    s.allowedHours.clear();
    s.pollutant = "SO2";
    s.limit = "40";
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_NE(lastError().find("počítá hodiny nad 200 µg/m³, hodinový limit látky SO2 je 350"), std::string::npos);
}

TEST_F(Assessment, LimitComesFromTheTableByTheColumn)
{
    s.limit.clear();
    s.pollutant = "PM10";
    ASSERT_EQ(run(), ToolStatus::Done) << lastError();
    EXPECT_EQ(column("LIMIT")[0], "      40.000000");
    s.column = "T1_200_0000";  // an hours field taken as a 1 h column: the 1 h limit
    s.pollutant = "NO2";
    ASSERT_EQ(run(), ToolStatus::Done) << lastError();
    EXPECT_EQ(column("LIMIT")[0], "     200.000000");
    s.pollutant = "PM2.5";  // no 1 h limit
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_NE(lastError().find("PM2.5 nemá v tabulce imisních limitů"), std::string::npos);
    EXPECT_NE(lastError().find("dobou průměrování 1 h"), std::string::npos);
    s.limit = "25";  // the user's limit overrides
    ASSERT_EQ(run(), ToolStatus::Done) << lastError();
    EXPECT_EQ(column("LIMIT")[0], "      25.000000");
}

TEST_F(Assessment, BackgroundFromALayerAndItsGaps)
{
    s.background = dir.path("pozadi.tif");
    ASSERT_TRUE(writeFileAtomically(s.background, "raster"));
    s.coordinateSystem = "EPSG:5514";
    s.bilinear = true;
    gis.value = [](double x, double y) { return x > 50 && y > 50 ? -1.0 : 1 + x / 100 + y / 1000; };
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_TRUE(gis.lastBilinear);
    EXPECT_EQ(gis.lastSystem, "EPSG:5514");
    EXPECT_EQ(lastError(),
              "Pozadí " + s.background +
                  " nemá hodnotu u bodu 4 (záznam 4, X 100.00, Y 100.00): bod leží mimo pozadí nebo na buňce bez "
                  "hodnoty. Takových bodů je 1 z 4. Zadejte hodnotu pozadí pro tyto body (volba --fill HODNOTA, klíč "
                  "PozadiMimo v sekci Hodnoceni).");
    EXPECT_FALSE(fileExists(s.output));
    s.fill = "7.25";
    ASSERT_EQ(run(), ToolStatus::Done) << lastError();
    EXPECT_EQ(column("POZADI"), (std::vector<std::string>{"       1.000000", "       2.000000", "       1.100000",
                                                          "       7.250000"}));
    s.backgroundColumn = "PM10";
    ASSERT_EQ(run(), ToolStatus::Done) << lastError();
    EXPECT_EQ(gis.lastColumn, "PM10");
}

// A change of the settings or files that the assessment refuses with a message holding `error`.
struct Refusal {
    const char* what;
    std::function<void(AssessSettings&, RunFiles&)> change;
    std::string error;
};

// Each refusal fails, says why, and leaves neither the output nor the log behind.
void expectRefused(Assessment& t, const std::vector<Refusal>& cases)
{
    const std::string out = t.dir.path("hodnoceni.dbf");
    for (const Refusal& c : cases) {
        AssessSettings keep = t.s;
        RunFiles keepFiles = t.files;
        c.change(t.s, t.files);
        const std::string log = t.dir.path("hodnoceni.vst");
        const bool logBefore = fileExists(log);
        t.rep.messages.clear();
        EXPECT_EQ(t.run(), ToolStatus::Failed) << c.what;
        EXPECT_NE(t.lastError().find(c.error), std::string::npos) << c.what << ": " << t.lastError();
        EXPECT_FALSE(fileExists(out)) << c.what;
        EXPECT_EQ(fileExists(log), logBefore) << c.what;
        std::remove(log.c_str());
        t.s = keep;
        t.files = keepFiles;
    }
}

TEST_F(Assessment, OutputsThatAreInputsAreRefused)
{
    const std::string out = dir.path("hodnoceni.dbf");
    expectRefused(
        *this,
        {
            {"output is the input", [&](AssessSettings& a, RunFiles&) { a.output = a.input; },
             "je zadán jako vstupní DBF"},
            {"output is the project", [&](AssessSettings&, RunFiles& f) { f.project = out; }, "jako soubor projektu i"},
            {"output is the profile", [&](AssessSettings&, RunFiles& f) { f.profile = out; }, "jako soubor profilu i"},
            {"log is the background",
             [&](AssessSettings& a, RunFiles&) {
                 a.background = dir.path("hodnoceni.vst");
                 writeFileAtomically(a.background, "x");
             },
             "jako soubor pozadí i jako protokol o hodnocení"},
            {"output is the limit table",
             [&](AssessSettings& a, RunFiles&) {
                 a.pollutant = "NO2";
                 a.limits = out;
             },
             "jako tabulka imisních limitů i"},
        });
}

TEST_F(Assessment, MissingOrWrongValuesAreRefused)
{
    expectRefused(
        *this,
        {
            {"no input", [&](AssessSettings& a, RunFiles&) { a.input.clear(); }, "Nebyl zadán vstupní DBF soubor"},
            {"no background", [&](AssessSettings& a, RunFiles&) { a.background.clear(); }, "Nebylo zadáno pozadí"},
            {"missing background file", [&](AssessSettings& a, RunFiles&) { a.background = dir.path("x.tif"); },
             "Soubor pozadí " + dir.path("x.tif") + " neexistuje"},
            {"no limit", [&](AssessSettings& a, RunFiles&) { a.limit.clear(); }, "Není zadán limit"},
            {"limit not a number", [&](AssessSettings& a, RunFiles&) { a.limit = "čtyřicet"; },
             "Limit čtyřicet není číslo"},
            {"limit zero", [&](AssessSettings& a, RunFiles&) { a.limit = "0"; }, "Limit 0 není kladné číslo"},
            {"negative fill", [&](AssessSettings& a, RunFiles&) { a.fill = "-1"; }, "je záporná"},
            {"unknown pollutant", [&](AssessSettings& a, RunFiles&) { a.pollutant = "oxidy_dusíku"; },
             "Látka oxidy_dusíku není v tabulce imisních limitů"},
            {"unknown column", [&](AssessSettings& a, RunFiles&) { a.column = "CONC_XX"; },
             "nemá sloupec CONC_XX (má sloupce ID, X_COORD"},
            {"column with no averaging time",
             [&](AssessSettings& a, RunFiles&) {
                 a.column = "Z_ELEV";
                 a.limit.clear();
                 a.pollutant = "NO2";
             },
             "U sloupce Z_ELEV nelze určit dobu průměrování"},
            {"hours without a count", [&](AssessSettings& a, RunFiles&) { a.hoursColumn = "T1_200_0000"; },
             "Není zadán povolený počet hodin překročení"},
        });
}

TEST_F(Assessment, InputsThatAreNotResultTablesAreRefused)
{
    expectRefused(*this,
                  {
                      {"not a result table",
                       [&](AssessSettings& a, RunFiles&) {
                           a.input = dir.path("jina.dbf");
                           writeFileAtomically(
                               a.input,
                               tableBytes({{"NAME", 10, 0, 0}, {"X_COORD", 15, 6, 0}}, {{1.0, 2.0}}, {2026, 1, 1}));
                       },
                       "není tabulkou výsledků"},
                      {"not a table at all",
                       [&](AssessSettings& a, RunFiles&) {
                           a.input = dir.path("text.dbf");
                           writeFileAtomically(a.input, "hello");
                       },
                       "text.dbf"},
                  });
}

TEST_F(Assessment, TextColumnIsNotNumeric)
{
    const std::string path = dir.path("text_sloupec.dbf");
    std::string bytes = tableBytes({{"ID", 10, 0, 0}, {"X_COORD", 15, 6, 0}, {"Y_COORD", 15, 6, 0},
                                    {"Z_ELEV", 15, 6, 1}, {"L_ELEV", 15, 6, 1}, {"POZN", 5, 0, 1}},
                                   {{1.0, 0.0, 0.0, 0.0, 0.0, 7.0}}, {2026, 1, 1});
    // The last descriptor's type byte: header 32 bytes, six descriptors, type at offset 11.
    bytes[32 + 5 * 32 + 11] = 'C';
    ASSERT_TRUE(writeFileAtomically(path, bytes));
    s.input = path;
    s.column = "POZN";
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_EQ(lastError(), "Sloupec POZN DBF souboru " + path + " neobsahuje čísla!");
}

TEST(LatticeArea, OnlyAFullRegularLatticeHasAnArea)
{
    auto points = [](std::vector<std::pair<double, double>> xy) {
        std::vector<TablePoint> out;
        for (auto [x, y] : xy)
            out.push_back({0, "", 0, x, y, 0, 0});
        return out;
    };
    EXPECT_EQ(latticeCellArea(points({{0, 0}, {100, 0}, {0, 50}, {100, 50}, {0, 100}, {100, 100}})), 5000.0);
    EXPECT_FALSE(latticeCellArea(points({{0, 0}, {100, 0}, {0, 50}})));                 // a node missing
    EXPECT_FALSE(latticeCellArea(points({{0, 0}, {100, 0}, {0, 50}, {0, 50}})));        // a node twice
    EXPECT_FALSE(latticeCellArea(points({{0, 0}, {100, 0}, {300, 0}, {0, 1}, {100, 1}, {300, 1}})));  // uneven
    EXPECT_FALSE(latticeCellArea(points({{0, 0}, {100, 0}, {200, 0}, {300, 0}})));      // one row
}

}  // namespace
}  // namespace ovd
