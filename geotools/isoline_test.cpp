#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "common/dbf_writer.h"
#include "common/file_io.h"
#include "common/le_io.h"
#include "isoline_lattice.h"
#include "isoline_neighbours.h"
#include "isoline_output.h"
#include "isoline_tracing.h"
#include "isolines.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

using ::testing::ElementsAre;

TEST(IsolineLattice, SizeFromTheQuadraticAndSpacing)
{
    Outcome<Lattice> p = planLattice(121, {0, 0, 100, 100});
    ASSERT_TRUE(p);
    EXPECT_EQ(p->columns, 10);
    EXPECT_EQ(p->rows, 12);
    EXPECT_DOUBLE_EQ(p->dx, 200.0 / 19);
    EXPECT_DOUBLE_EQ(p->dy, p->dx * std::sqrt(3.0) / 2);
    // Odd rows are shifted by half a spacing; the last odd vertex reaches Xmax.
    EXPECT_DOUBLE_EQ(p->x(1, 9), 100.0);
    EXPECT_DOUBLE_EQ(p->x(2, 9), 200.0 / 19 * 9);

    p = planLattice(1000, {-300, 50, 0, 150});
    ASSERT_TRUE(p);
    EXPECT_EQ(p->columns, 50);
    EXPECT_EQ(p->rows, 20);
    EXPECT_EQ(p->x(0, 0), -300);
    EXPECT_EQ(p->y(0), 50);
}

TEST(IsolineLattice, UnbuildableLatticesAreRefused)
{
    EXPECT_FALSE(planLattice(100, {0, 0, 100, 0}));  // points on one line
    EXPECT_THAT(planLattice(100, {5, 0, 5, 100}).problem().text, ::testing::HasSubstr("na jedné přímce"));
    EXPECT_FALSE(planLattice(2, {0, 0, 100, 100}));  // fewer than 2 rows or columns
    EXPECT_FALSE(planLattice(0, {0, 0, 1000, 10}));
    EXPECT_FALSE(planLattice(1e12, {0, 0, 100, 100}));
    EXPECT_FALSE(targetFromSegmentsPerSide(0));
    EXPECT_FALSE(targetFromVertexCount(-5));
    EXPECT_FALSE(targetFromSegmentLength(0, {0, 0, 10, 10}));
    EXPECT_EQ(*targetFromSegmentsPerSide(10), 121);
    // trunc(W / d) * trunc(H / (d sqrt3 / 2)): 100 / 10 = 10 columns, 100 / 8.66 = 11 rows
    EXPECT_EQ(*targetFromSegmentLength(10, {0, 0, 100, 100}), 110);
}

TEST(IsolineNeighbours, ExactHitTakesThePointsValue)
{
    std::vector<ScatterPoint> pts;
    for (int i = 0; i < 8; ++i)
        pts.push_back({double(i % 4) * 10, double(i / 4) * 10, double(i)});
    NeighbourIndex index(pts);
    EXPECT_EQ(vertexValueBySorting(pts, 20, 10, 6), 6.0);
    EXPECT_EQ(index.vertexValue(20, 10, 6), 6.0);
    EXPECT_EQ(index.vertexValue(20.0000005, 10, 6), 6.0);
    EXPECT_NE(index.vertexValue(20.00001, 10, 6), 6.0);
}

TEST(IsolineNeighbours, PointsTiedAtTheKthDistanceAreAveragedIntoTheKthValueOnly)
{
    // Around the origin: four at distance 1 (value 1), four at distance 2. With k = 6 the
    // fifth and sixth are the first two at distance 2 in record order; the sixth is
    // averaged with the two tied after it, the fifth is not.
    std::vector<ScatterPoint> pts = {{2, 0, 10},  {0, 1, 1},  {0, 2, 20},  {1, 0, 1},
                                     {-2, 0, 30}, {-1, 0, 1}, {0, -2, 40}, {0, -1, 1}};
    const double expected = (4.0 + (10.0 + 30.0) / 4) / (4.0 + 2.0 / 4);
    EXPECT_DOUBLE_EQ(vertexValueBySorting(pts, 0, 0, 6), expected);
    EXPECT_DOUBLE_EQ(NeighbourIndex(pts).vertexValue(0, 0, 6), expected);
    // k = 8 takes all of them as they are.
    EXPECT_DOUBLE_EQ(vertexValueBySorting(pts, 0, 0, 8), (4.0 + 100.0 / 4) / (4.0 + 4.0 / 4));
}

TEST(IsolineNeighbours, IndexGivesTheValuesOfFullSorting)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 4; ++round) {
        std::vector<ScatterPoint> pts;
        std::uniform_int_distribution<int> grid(0, 30);
        std::uniform_real_distribution<double> any(-500, 500);
        std::uniform_real_distribution<double> value(0, 100);
        int count = 40 + 150 * round;
        for (int i = 0; i < count; ++i) {
            if (round % 2 == 0)  // on a coarse grid, with duplicates: many ties
                pts.push_back({grid(rng) * 10.0, grid(rng) * 10.0, value(rng)});
            else if (i < count / 2)  // a dense cluster and a sparse spread
                pts.push_back({any(rng) / 50, any(rng) / 50, value(rng)});
            else
                pts.push_back({any(rng), any(rng), value(rng)});
        }
        NeighbourIndex index(pts);
        Outcome<Lattice> plan = planLattice(400, boundingBox(pts));
        ASSERT_TRUE(plan);
        const Lattice& l = *plan;
        for (int k = 6; k <= 12; k += 3)
            for (int j = 0; j < l.rows; ++j)
                for (int i = 0; i < l.columns; ++i)
                    ASSERT_EQ(index.vertexValue(l.x(j, i), l.y(j), k), vertexValueBySorting(pts, l.x(j, i), l.y(j), k))
                        << "round " << round << " k " << k << " vertex " << j << "," << i;
    }
}

TEST(IsolineTracing, TrianglesInTheirFixedOrder)
{
    Lattice l{2, 3, 0, 0, 1, 1};
    std::vector<std::array<std::size_t, 3>> seen;
    forEachTriangle(l, [&](std::size_t a, std::size_t b, std::size_t c) { seen.push_back({a, b, c}); });
    using T = std::array<std::size_t, 3>;
    EXPECT_THAT(seen, ElementsAre(T{0, 1, 2}, T{1, 2, 3}, T{2, 4, 5}, T{2, 3, 5}));
}

TEST(IsolineTracing, CrossingsDivideEdgesFromTheSecondVertex)
{
    const double r3 = std::sqrt(3.0);
    Lattice l{2, 2, 0, 0, 2, r3};  // (0,0) (2,0) / (1,r3) (3,r3)
    std::vector<double> v = {0, 4, 0, 4};
    std::vector<IsolineSegment> out;
    traceLevel(l, v, 1, out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_DOUBLE_EQ(out[0].x1, 0.5);
    EXPECT_DOUBLE_EQ(out[0].y1, 0);
    EXPECT_DOUBLE_EQ(out[0].x2, 1.25);
    EXPECT_DOUBLE_EQ(out[0].y2, 0.75 * r3);
    EXPECT_DOUBLE_EQ(out[1].x1, 1.25);
    EXPECT_DOUBLE_EQ(out[1].x2, 1.5);
    EXPECT_DOUBLE_EQ(out[1].y2, r3);
    EXPECT_EQ(out[1].level, 1);

    // A level equal to a vertex value crosses only edges whose ends lie strictly on both
    // sides: one crossed edge makes no segment; a flat triangle makes none either.
    out.clear();
    traceLevel(l, {0, 1, 2, 2}, 1, out);
    traceLevel(l, {1, 1, 1, 1}, 1, out);
    traceLevel(l, {0, 4, 0, 4}, 4, out);
    EXPECT_TRUE(out.empty());
}

TEST(IsolineTracing, ScaleLevels)
{
    EXPECT_THAT(*scaleLevels(0, 1, 0, 3.5), ElementsAre(0, 1, 2, 3, 4));
    EXPECT_THAT(*scaleLevels(0.5, 0.25, 1, 1.5), ElementsAre(0.5, 0.75));
    EXPECT_TRUE(scaleLevels(5, 1, 10, 11)->empty());
    EXPECT_TRUE(scaleLevels(1e30, 1e-30, 0, 1)->empty());
    auto tooMany = scaleLevels(0, 1e-6, 0, 1);
    ASSERT_FALSE(tooMany);
    EXPECT_EQ(tooMany.problem().caption, "Chyba !");
    EXPECT_THAT(tooMany.problem().text, ::testing::HasSubstr("izolinií"));
}

TEST(IsolineOutput, TableBytes)
{
    std::vector<IsolineSegment> segs = {{0, 0, 1, 1, 2.5}, {1, 1, 2, 2, -0.125}};
    std::string b = isolineTableBytes(segs, {2001, 1, 31});
    std::string expected("\x03\x65\x01\x1f\x02\x00\x00\x00\x61\x00\x1a\x00", 12);
    expected += std::string(20, '\0');
    expected += std::string("ID_LINE\0\0\0\0N\0\0\0\0\x0a\0", 18) + std::string(14, '\0');
    expected += std::string("VALUE\0\0\0\0\0\0N\0\0\0\0\x0f\x06", 18) + std::string(14, '\0');
    expected += "\r";
    expected += "          1       2.500000";
    expected += "          2      -0.125000";
    EXPECT_EQ(b, expected);
}

class IsolineToolTest : public ::testing::Test {
protected:
    // A daily table (6 fields) of a smooth hill on a 10 x 10 grid, or any other field set.
    void writeTable(int fieldCount, int side)
    {
        std::vector<DbfField> f = {
            {"ID_POINT", 10, 0, 0}, {"X_COORD", 15, 6, 0}, {"Y_COORD", 15, 6, 0}, {"Z_ELEV", 15, 6}, {"L_ELEV", 15, 6}};
        while (static_cast<int>(f.size()) < fieldCount)
            f.push_back({"V" + std::to_string(f.size() + 1), 15, 6});
        DbfWriter w;
        ASSERT_TRUE(w.open(s.input, f, static_cast<std::uint32_t>(side * side), {2026, 1, 1}));
        for (int j = 0; j < side; ++j)
            for (int i = 0; i < side; ++i) {
                std::vector<double> row = {double(j * side + i + 1), -700000.0 + 100 * i, -1100000.0 + 100 * j, 300,
                                           1.5};
                while (row.size() < f.size())
                    row.push_back(10 * std::exp(-((i - 4.5) * (i - 4.5) + (j - 4.5) * (j - 4.5)) / 8));
                ASSERT_TRUE(w.writeRecord(row));
            }
        ASSERT_TRUE(w.finish());
    }
    ToolStatus run() { return makeIsolines(s, ctx); }

    TempDir dir;
    RecordingReporter rep;
    RunContext ctx{rep, false};
    IsolineSettings s = [this] {
        IsolineSettings d;
        d.input = dir.path("rocni.dbf");
        d.deriveOutputNames();
        d.column = 5;
        d.segmentsPerSide = 20;
        d.scaleFrom = 1;
        d.scaleStep = 2;
        return d;
    }();
};

TEST_F(IsolineToolTest, WritesShapefileAndTableOfTheSegments)
{
    EXPECT_EQ(s.shp, dir.path("rocni_izolinie.shp"));
    writeTable(6, 10);
    ASSERT_EQ(run(), ToolStatus::Done);
    EXPECT_EQ(rep.messages.back().text, "Vytváření izolinií dokončeno.");
    std::string shp = *readFileBytes(s.shp), shx = *readFileBytes(s.shx), dbf = *readFileBytes(s.dbf);
    auto* p = reinterpret_cast<const unsigned char*>(shp.data());
    std::uint32_t segments = getU32(reinterpret_cast<const unsigned char*>(dbf.data()) + 4);
    ASSERT_GT(segments, 0u);
    EXPECT_EQ(shp.size(), 100 + 88 * std::size_t(segments));
    EXPECT_EQ(shx.size(), 100 + 8 * std::size_t(segments));
    EXPECT_EQ(dbf.size(), 97 + 26 * std::size_t(segments));  // no end-of-file byte
    EXPECT_EQ(getU32(p + 32), 3u);
    EXPECT_EQ(getF64(p + 36), -700000.0);  // the box of the input points
    EXPECT_EQ(getF64(p + 60), -1100000.0 + 900);
    EXPECT_EQ(p[27] | (p[26] << 8) | (p[25] << 16), 50u + 44 * segments);
    EXPECT_EQ(std::string(shp.data() + 100, 8), std::string("\0\0\0\x01\0\0\0\x28", 8));
    EXPECT_EQ(getU32(p + 108), 3u);
    EXPECT_EQ(getU32(p + 144), 1u);  // parts
    EXPECT_EQ(getU32(p + 148), 2u);  // points
    EXPECT_EQ(std::string(shx.data() + 100, 16), std::string("\0\0\0\x32\0\0\0\x28\0\0\0\x5e\0\0\0\x28", 16));
    EXPECT_EQ(dbf.substr(97, 26), "          1       1.000000");
    // Levels 1, 3, ... 9: the last segment carries the highest level reached.
    EXPECT_EQ(dbf.substr(dbf.size() - 15), "       9.000000");
}

TEST_F(IsolineToolTest, LevelsThatCrossNothingStillGiveValidFiles)
{
    writeTable(6, 10);
    s.levelMode = static_cast<int>(LevelMode::List);
    s.nominalList = "50.000000;-3.000000";
    ASSERT_EQ(run(), ToolStatus::Done);
    EXPECT_THAT(rep.messages.back().text, ::testing::HasSubstr("Žádná izolinie nevznikla"));
    EXPECT_EQ(readFileBytes(s.shp)->size(), 100u);
    EXPECT_EQ(readFileBytes(s.shx)->size(), 100u);
    EXPECT_EQ(readFileBytes(s.dbf)->size(), 97u);
}

TEST_F(IsolineToolTest, InputChecks)
{
    struct Case {
        int fields, column, side, position;
        const char* message;
    };
    const Case cases[] = {
        {14, 5, 4, 0, "Nejedná se o soubor vytvořený programe Ovard - nesprávný počet sloupců."},
        {12, 6, 4, 0, "Nebyl vybrán sloupec s hodnotami, které je možné zobrazit jako izolinie."},
        {12, 12, 4, 0, "Nebyl vybrán sloupec s hodnotami, které je možné zobrazit jako izolinie."},
        {6, 4, 4, 0, "Nebyl vybrán sloupec s hodnotami, které je možné zobrazit jako izolinie."},
        {6, 5, 0, 0, "DBF soubor je neobashuje žádné záznamy."},
        {6, 5, 3, 6,
         "Počet okolních bodů pro dopočet hodnot vrcholů trojúhelníků je větší než celkový počet "
         "referenčních bodů."},
    };
    for (const Case& c : cases) {
        writeTable(c.fields, c.side);
        s.column = c.column;
        s.neighbourPosition = c.position;
        RecordingReporter r;
        EXPECT_EQ(makeIsolines(s, RunContext{r, false}), ToolStatus::Failed) << c.message;
        ASSERT_FALSE(r.messages.empty());
        EXPECT_EQ(r.messages.back().text, c.message);
    }
    // The tenth field of a 12-field table is a value column.
    writeTable(12, 4);
    s.column = 9;
    s.neighbourPosition = 0;
    EXPECT_EQ(run(), ToolStatus::Done);
    EXPECT_FALSE(std::filesystem::exists(dir.path("rocni.hla")));
}

TEST_F(IsolineToolTest, ValueThatIsNoNumberIsRefusedNotReadAsZero)
{
    writeTable(6, 10);
    std::string bytes = *readFileBytes(s.input);
    const std::size_t header = getU16(reinterpret_cast<const unsigned char*>(bytes.data()) + 8);
    const std::size_t record = getU16(reinterpret_cast<const unsigned char*>(bytes.data()) + 10);
    bytes.replace(header + 2 * record + 1 + 10 + 4 * 15, 15, "            inf");
    ASSERT_TRUE(writeFileAtomically(s.input, bytes));
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_EQ(rep.lastError(),
              "Záznam 3 DBF souboru " + s.input + " má v poli V6 hodnotu \"inf\", která není konečné číslo!");
    EXPECT_FALSE(std::filesystem::exists(s.shp));
}

TEST_F(IsolineToolTest, ParameterChecksComeBeforeAnyFile)
{
    s.scaleStep = 0;
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_EQ(rep.messages.back().caption, "Chyba !");
    EXPECT_EQ(rep.messages.back().text, "Krok stupnice izolinií musí být větší než 0!");
    s.levelMode = static_cast<int>(LevelMode::List);
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_EQ(rep.messages.back().text, "Seznam jmenovitých hodnot izolinií je prázdný! ");
    s.nominalList = "1;x";
    EXPECT_EQ(run(), ToolStatus::Failed);
    s.nominalList = "1";
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_EQ(rep.messages.back().text, "Nelze otevřít vstupní DBF soubor.");

    // A single point spans no area.
    writeTable(6, 1);
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_THAT(rep.messages.back().text, ::testing::HasSubstr("na jedné přímce"));
    // Nor do the two live points of a square whose upper row is deleted.
    writeTable(6, 2);
    std::string b = *readFileBytes(s.input);
    b[225 + 2 * 86] = b[225 + 3 * 86] = '*';
    ASSERT_TRUE(writeFileAtomically(s.input, b));
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_THAT(rep.messages.back().text, ::testing::HasSubstr("na jedné přímce"));
}

TEST_F(IsolineToolTest, ExistingOutputsAreAskedAboutInOrder)
{
    writeTable(6, 10);
    ASSERT_TRUE(writeFileAtomically(s.shx, "old"));
    ASSERT_TRUE(writeFileAtomically(s.dbf, "old"));
    RecordingReporter r({Answer::Yes, Answer::No});
    EXPECT_EQ(makeIsolines(s, RunContext{r, false}), ToolStatus::Declined);
    ASSERT_EQ(r.questions.size(), 2u);
    EXPECT_EQ(r.questions[1].text, overwriteQuestionText(s.dbf));
    EXPECT_EQ(*readFileBytes(s.shx), "old");
    EXPECT_FALSE(std::filesystem::exists(s.shp));
}

TEST(IsolineSettingsTest, NominalListAndNames)
{
    IsolineSettings s;
    RecordingReporter r;
    s.nominalValue = 2.5;
    EXPECT_TRUE(s.addNominalValue(r));
    s.nominalValue = 1;
    EXPECT_TRUE(s.addNominalValue(r));
    s.nominalValue = 2.5;
    EXPECT_FALSE(s.addNominalValue(r));
    EXPECT_EQ(r.messages.back().caption, "Chyba !");
    EXPECT_EQ(s.nominalList, "2.500000;1.000000");
    EXPECT_THAT(*parseNominalList(s.nominalList), ElementsAre(2.5, 1.0));
    s.removeNominalValue(0);
    EXPECT_EQ(s.nominalList, "1.000000");
    s.deriveOutputNames();
    EXPECT_TRUE(s.shp.empty());
}

TEST(IsolineSettingsTest, NominalValuesTypedWithADecimalCommaAreTheDecimalsTheyMean)
{
    EXPECT_THAT(*parseNominalList("0,2;0,5;1"), ElementsAre(0.2, 0.5, 1.0));
    EXPECT_THAT(*parseNominalList("0,5"), ElementsAre(0.5));  // one value, not 0 and 5
    EXPECT_TRUE(parseNominalList("")->empty());
    EXPECT_FALSE(parseNominalList("1,2,5"));
    EXPECT_FALSE(parseNominalList("1;;2"));
}

}  // namespace
}  // namespace ovd
