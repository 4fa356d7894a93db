// Points coloured by the source group with the largest share.
#include <gtest/gtest.h>

#include <QImage>

#include "common/dbf_writer.h"
#include "common/file_io.h"
#include "map_export.h"
#include "map_test_study.h"
#include "testing/recording_reporter.h"

namespace ovd {
namespace {

// A group-shares table of four points 100 m apart on a line: group 12 dominates the first,
// group 1 the second, groups 1 and 3 tie at the third, the fourth has no share at all.
std::string writeSharesTable(const TempDir& dir, bool withGroups = true)
{
    std::vector<DbfField> f = {{"ID_POINT", 10, 0, 0}, {"X_COORD", 15, 6, 0}, {"Y_COORD", 15, 6, 0},
                               {"Z_ELEV", 15, 6},      {"L_ELEV", 15, 6}};
    for (const char* g : {"GR_000001", "GR_000012", "GR_000003"})
        f.push_back({withGroups ? g : std::string("CONC_") + g[8], 15, 6, 0});
    const double rows[4][8] = {{1, 0, 0, 300, 1.5, 10, 80, 10},
                               {2, 100, 0, 300, 1.5, 60, 25, 15},
                               {3, 200, 0, 300, 1.5, 40, 20, 40},
                               {4, 300, 0, 300, 1.5, 0, 0, 0}};
    std::string b = dbfHeaderBytes(f, 4, DbfDate{2026, 12, 9});
    for (const auto& r : rows) {
        b += ' ';
        for (std::size_t i = 0; i < f.size(); ++i)
            b += dbfFieldText(f[i], r[i]);
    }
    const std::string path = dir.path(withGroups ? "podily.dbf" : "jine.dbf");
    writeFileAtomically(path, b + '\x1a');
    return path;
}

TEST(MapGroups, PointsTakeTheirDominantGroupAndTheLegendListsTheGroups)
{
    ensureTestApplication();
    TempDir dir;
    RecordingReporter r;
    MapSettings s;
    s.table = writeSharesTable(dir);
    s.column = "skupina";
    Outcome<MapModel> m = buildMapModel(s, r);
    ASSERT_TRUE(m) << m.problem().text;
    EXPECT_EQ(m->column, "SKUPINA");
    EXPECT_EQ(m->breaks.categories, (std::vector<std::string>{"skupina 1", "skupina 12", "skupina 3"}));
    ASSERT_EQ(m->points.size(), 4u);
    EXPECT_EQ(m->points[0].value, 1.0);
    EXPECT_EQ(m->points[1].value, 0.0);
    EXPECT_EQ(m->points[2].value, 0.0);  // a tie goes to the first group of the table
    EXPECT_FALSE(m->points[3].value);
    for (std::size_t g = 0; g < 3; ++g)
        EXPECT_EQ(m->breaks.classOf(static_cast<double>(g)), g);
    EXPECT_NE(m->breaks.colour(0).rgb(), m->breaks.colour(1).rgb());
    EXPECT_NE(m->breaks.colour(1).rgb(), m->breaks.colour(2).rgb());
    EXPECT_TRUE(m->isolines.segments.empty());
    EXPECT_TRUE(m->bands.empty());

    LayerSet points{};
    points[static_cast<std::size_t>(MapLayer::Points)] = true;
    MapPicture pic{MapFormat::Png, QSize(600, 300), 96};
    ViewTransform view = ViewTransform::fit(m->box, pic.size, 60);
    QImage img = QImage::fromData(renderMapPicture(*m, view, points, pic), "PNG");
    const ViewTransform drawn = pictureView(*m, view, points, pic);
    EXPECT_EQ(img.pixelColor(drawn.toPixel(0, 0).toPoint()).rgb(), m->breaks.colour(1).rgb());
    EXPECT_EQ(img.pixelColor(drawn.toPixel(100, 0).toPoint()).rgb(), m->breaks.colour(0).rgb());

    QByteArray svg = renderMapPicture(*m, view, points, {MapFormat::Svg});
    const int first = svg.indexOf("skupina 1<"), twelfth = svg.indexOf("skupina 12"), third = svg.indexOf("skupina 3");
    EXPECT_TRUE(first >= 0 && twelfth > first && third > twelfth) << "legend in table order";
}

TEST(MapGroups, ATableWithoutGroupSharesIsRefused)
{
    ensureTestApplication();
    TempDir dir;
    RecordingReporter r;
    MapSettings s;
    s.table = writeSharesTable(dir, false);
    s.column = "SKUPINA";
    Outcome<MapModel> m = buildMapModel(s, r);
    ASSERT_FALSE(m);
    EXPECT_EQ(m.problem().text,
              "Soubor " + s.table +
                  " neobsahuje podíly skupin zdrojů (pole GR_), body nelze obarvit podle převažující "
                  "skupiny!");
}

}  // namespace
}  // namespace ovd
