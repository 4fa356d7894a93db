#include <gtest/gtest.h>

#include <QImage>
#include <QXmlStreamReader>
#include <cmath>

#include "common/file_io.h"
#include "common/paths.h"
#include "common/reporter_wrapper.h"
#include "geotools/isoline_output.h"
#include "inputs/terrain_matrix.h"
#include "map_export.h"
#include "map_labels.h"
#include "map_layout.h"
#include "map_margin.h"
#include "map_test_study.h"
#include "testing/command_output.h"
#include "testing/recording_reporter.h"

namespace ovd {
namespace {

class MapLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureTestApplication();
        settings = writeTestStudy(dir);
        settings.windRose = dir.path("ruzice.txt");
        std::string rose;
        for (int q = 0; q < 11; ++q) {
            for (int d = 0; d < 36; ++d)
                rose += std::to_string(0.1 + (d % 9) * 0.05) + ",";
            rose += "0.5\n";
        }
        ASSERT_TRUE(writeFileAtomically(settings.windRose, rose));
        Outcome<MapModel> built = buildMapModel(settings, reporter);
        ASSERT_TRUE(built) << built.problem().text;
        model = std::move(*built);
        ASSERT_TRUE(model.windRose);
        all.fill(true);
    }

    TempDir dir;
    RecordingReporter reporter;
    MapSettings settings;
    MapModel model;
    LayerSet all{};
};

TEST_F(MapLayoutTest, NoPointMarkerLiesUnderTheMarginAtAnyWidth)
{
    for (int width : {400, 600, 800, 1200, 1600}) {  // under 600 the margin shrinks
        SCOPED_TRACE(width);
        MapPicture pic{MapFormat::Png, QSize(width, pictureHeight(model.box, width)), 96};
        const ViewTransform v = pictureView(model, ViewTransform::fit(model.box, pic.size, width / 20), all, pic);
        const MapLayout l = mapLayout(QSizeF(pic.size), model, all, 1);
        ASSERT_FALSE(l.rose.isEmpty());
        for (const MapPoint& p : model.points) {
            const QPointF c = v.toPixel(p.x, p.y);
            const QRectF marker(c - QPointF(kPointRadius + 1, kPointRadius + 1), QSizeF(2, 2) * (kPointRadius + 1));
            EXPECT_TRUE(l.frame.contains(marker)) << p.x << " " << p.y;
            for (const QRectF& item : {l.legend, l.rose, l.scale, l.north, l.system, l.title, l.attribution})
                EXPECT_FALSE(item.intersects(marker)) << p.x << " " << p.y;
        }
        // The items of the margin do not meet one another either.
        const QRectF items[] = {l.legend, l.rose, l.scale, l.north, l.system};
        for (std::size_t i = 0; i < std::size(items); ++i)
            for (std::size_t j = i + 1; j < std::size(items); ++j)
                EXPECT_FALSE(items[i].intersects(items[j])) << i << " " << j;
        // And in the picture every marker shows its class's colour at its centre: nothing of the
        // margin is drawn over it.
        LayerSet marks{};
        marks[static_cast<std::size_t>(MapLayer::Points)] = marks[static_cast<std::size_t>(MapLayer::WindRose)] = true;
        const ViewTransform asked = ViewTransform::fit(model.box, pic.size, width / 20);
        const QImage img = QImage::fromData(renderMapPicture(model, asked, marks, pic), "PNG");
        const ViewTransform drawn = pictureView(model, asked, marks, pic);
        for (const MapPoint& p : model.points)
            EXPECT_EQ(img.pixel(drawn.toPixel(p.x, p.y).toPoint()), model.breaks.colour(model.breaks.classOf(*p.value)).rgb())
                << p.x << " " << p.y;
    }
}

TEST_F(MapLayoutTest, PortraitPageHasTheMarginUnderTheFrame)
{
    const MapPicture pic = pagePicture(MapFormat::Png, MapPage::A4, false, 96);
    EXPECT_EQ(pic.size, QSize(794, 1123));
    const MapLayout l = mapLayout(QSizeF(pic.size), model, all, 1);
    EXPECT_TRUE(l.panelBelow);
    EXPECT_GT(l.legend.top(), l.frame.bottom());
    EXPECT_LE(l.system.bottom(), pic.size.height());
    EXPECT_FALSE(mapLayout(QSizeF(pagePicture(MapFormat::Png, MapPage::A3, true, 96).size), model, all, 1).panelBelow);
}

// "-748 km" or "1200 m" in metres.
double coordinateOf(const QString& text)
{
    const QStringList parts = text.split(' ');
    EXPECT_EQ(parts.size(), 2) << text.toStdString();
    return parts[0].toDouble() * (parts[1] == "km" ? 1000 : 1);
}

TEST_F(MapLayoutTest, FrameTickLabelsAreTheCoordinatesOfTheirPositions)
{
    const QRectF frame(60, 40, 500, 400);
    // Metres at a close view, whole kilometres in S-JTSK at a far one.
    for (double scale : {1.5, 0.004}) {
        SCOPED_TRACE(scale);
        const ViewTransform v(QSize(700, 500), -748300, -1043200, scale);
        const std::vector<FrameTick> ticks = frameTicks(v, frame, 1);
        int xs = 0, ys = 0;
        for (const FrameTick& t : ticks) {
            const QPointF at = t.vertical ? QPointF(t.pixel, frame.center().y()) : QPointF(frame.center().x(), t.pixel);
            const QPointF study = v.toStudy(at);
            EXPECT_NEAR(coordinateOf(t.text), t.vertical ? study.x() : study.y(), 1e-6 / scale) << t.text.toStdString();
            EXPECT_TRUE(t.vertical ? t.pixel >= frame.left() && t.pixel <= frame.right()
                                   : t.pixel >= frame.top() && t.pixel <= frame.bottom());
            (t.vertical ? xs : ys)++;
        }
        EXPECT_GE(xs, 2);
        EXPECT_GE(ys, 2);
        EXPECT_EQ(ticks.front().text.endsWith(" km"), scale < 0.01);
    }
    EXPECT_EQ(coordinateText(-748000, 1000), "-748 km");
    EXPECT_EQ(coordinateText(-748500, 500), "-748500 m");
}

double distanceToSegment(QPointF p, const IsolineSegment& s)
{
    const QPointF a(s.x1, s.y1), d = QPointF(s.x2, s.y2) - a;
    const double len2 = QPointF::dotProduct(d, d);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0) : 0;
    const QPointF q = a + t * d;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

TEST_F(MapLayoutTest, IsolineLabelsLieInsideTheFrameApartFromEachOther)
{
    const QRectF frame(50, 40, 700, 500);
    const ViewTransform v = fitToFrame(model.box, QSize(900, 600), frame, 20);
    std::vector<QPolygonF> taken;
    const std::vector<LineLabel> labels = placeLineLabels(model.isolines, v, frame, mapFont(10), 120, taken);
    ASSERT_GE(labels.size(), 3u);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        for (const QPointF& corner : labels[i].box)
            EXPECT_TRUE(frame.contains(corner));
        for (std::size_t j = i + 1; j < labels.size(); ++j)
            EXPECT_FALSE(labels[i].box.intersects(labels[j].box)) << i << " " << j;
        // On its line: the label's centre lies on a segment of its level.
        const QPointF c = v.toStudy(labels[i].centre);
        double nearest = 1e9;
        for (const IsolineSegment& s : model.isolines.segments)
            if (levelText(s.level) == labels[i].text.toStdString())
                nearest = std::min(nearest, distanceToSegment(c, s));
        EXPECT_LT(nearest, 1e-3) << labels[i].text.toStdString();
    }
}

// A colour of a band as it lies over white.
QRgb overWhite(QColor c)
{
    const double a = kBandAlpha / 255.0;
    auto mix = [&](int v) { return static_cast<int>(std::lround(v * a + 255 * (1 - a))); };
    return qRgb(mix(c.red()), mix(c.green()), mix(c.blue()));
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 && std::abs(qBlue(a) - qBlue(b)) <= 2;
}

TEST_F(MapLayoutTest, BandsOnTheTwoSidesOfAnIsolineAreTheClassesItSeparates)
{
    LayerSet bands{};
    bands[static_cast<std::size_t>(MapLayer::Isobands)] = true;
    MapPicture pic{MapFormat::Png, QSize(1600, 1300), 96};
    const ViewTransform v = pictureView(model, ViewTransform::fit(model.box, pic.size, 40), bands, pic);
    // A quarter of the lattice's spacing is still pixels apart.
    ASSERT_GE(model.lattice.dx / 4 * v.pixelsPerMetre(), 2.0);
    const QImage img = QImage::fromData(renderMapPicture(model, ViewTransform::fit(model.box, pic.size, 40), bands, pic),
                                        "PNG");
    const std::vector<double>& levels = model.breaks.levels;
    int sampled = 0;
    for (std::size_t i = 0; i < model.isolines.segments.size(); i += 7) {
        const IsolineSegment& s = model.isolines.segments[i];
        // Where a line crosses a triangle, not where it cuts a corner (the other side there is
        // beyond the corner's vertex, a quarter spacing off).
        if (std::hypot(s.x2 - s.x1, s.y2 - s.y1) < model.lattice.dx / 2)
            continue;
        const QPointF mid((s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2);
        QPointF normal(s.y1 - s.y2, s.x2 - s.x1);
        normal *= model.lattice.dx / 4 / std::hypot(normal.x(), normal.y());
        const std::size_t k = static_cast<std::size_t>(std::find(levels.begin(), levels.end(), s.level) - levels.begin());
        std::vector<std::size_t> sides;
        for (QPointF at : {mid + normal, mid - normal}) {
            std::optional<std::size_t> cls = latticeClassAt(model.lattice, model.latticeValues, levels, at.x(), at.y());
            ASSERT_TRUE(cls);
            sides.push_back(*cls);
            const QRgb px = img.pixel(v.toPixel(at.x(), at.y()).toPoint());
            EXPECT_TRUE(near(px, overWhite(model.breaks.colour(*cls))))
                << "level " << s.level << " class " << *cls << " " << QColor(px).name().toStdString();
        }
        std::sort(sides.begin(), sides.end());
        EXPECT_EQ(sides, (std::vector<std::size_t>{k, k + 1})) << s.level;
        ++sampled;
    }
    EXPECT_GE(sampled, 20);
}

// A 50 x 50 terrain of 10 m cells over the study, a slope with a ridge.
void writeTerrain(const std::string& path)
{
    TerrainHeader h;
    h.element = TerrainElement::Int16;
    h.ncols = h.nrows = 50;
    h.xOrigin = h.yOrigin = -25;
    h.cellSize = 10;
    h.noData = -9999;
    std::string bytes = h.encode();
    for (int r = 0; r < 50; ++r)
        for (int c = 0; c < 50; ++c)
            putTerrainElement(bytes, h.element, 300 + 2 * c + std::abs(r - 25), 0);
    ASSERT_TRUE(writeFileAtomically(path, bytes));
}

TEST_F(MapLayoutTest, SvgKeepsBandsAndTextAsVectorsAndLabelsTheRose)
{
    // With a terrain: its hillshade is the picture's one image.
    settings.terrain = dir.path("teren.bin");
    writeTerrain(settings.terrain);
    Outcome<MapModel> built = buildMapModel(settings, reporter);
    ASSERT_TRUE(built) << built.problem().text;
    model = std::move(*built);
    ASSERT_FALSE(model.hillshade.empty());
    ASSERT_FALSE(model.contours.segments.empty());
    const QByteArray svg =
        renderMapPicture(model, ViewTransform::fit(model.box, QSize(1000, 800), 40), all, {MapFormat::Svg, QSize(1000, 800)});
    QXmlStreamReader xml(svg);
    int images = 0, bandPaths = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("image"))
            ++images;
        if (xml.name() == QLatin1String("g") &&
            xml.attributes().value("fill-opacity").toDouble() == std::round(kBandAlpha / 255.0 * 1e6) / 1e6)
            ++bandPaths;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(images, 1);
    // The frame's coordinates are written as text (all but those too near a corner to fit).
    const MapPicture pic{MapFormat::Svg, QSize(1000, 800)};
    const ViewTransform drawn = pictureView(model, ViewTransform::fit(model.box, pic.size, 40), all, pic);
    const std::vector<FrameTick> ticks = frameTicks(drawn, mapLayout(QSizeF(pic.size), model, all, 1).frame, 1);
    std::size_t written = 0;
    for (const FrameTick& t : ticks)
        written += svg.contains(">" + t.text.toUtf8() + "<") ? 1 : 0;
    EXPECT_GE(written + 2, ticks.size());
    EXPECT_GE(written, 4u);
    EXPECT_GE(bandPaths, 3);
    for (const char* text : {"Větrná růžice", "vnější kružnice", ">S<", ">V<", ">J<", ">Z<", "izolinie v hladinách tříd",
                             "vrstevnice po "})
        EXPECT_TRUE(svg.contains(text)) << text;
}

TEST_F(MapLayoutTest, TheIsolineToolsFileIsALayerTheLegendNames)
{
    std::vector<IsolineSegment> lines = model.isolines.segments;
    for (IsolineSegment& l : lines)
        l.level += 1;  // the tool's own levels
    settings.isolineShp = dir.path("rocni_izolinie.shp");
    settings.isolineDbf = dir.path("rocni_izolinie.dbf");
    NullReporter quiet;
    ASSERT_TRUE(writeIsolineFiles(settings.isolineShp, dir.path("rocni_izolinie.shx"), settings.isolineDbf,
                                  ShapeBox{0, 0, 400, 400}, lines, "", nullptr, quiet));
    Outcome<MapModel> built = buildMapModel(settings, reporter);
    ASSERT_TRUE(built) << built.problem().text;
    EXPECT_EQ(built->fileIsolines.segments.size(), lines.size());
    EXPECT_TRUE(built->warnings.empty());
    LayerSet fileLines = all;
    fileLines[static_cast<std::size_t>(MapLayer::Isolines)] = false;
    const auto svgOf = [&](const LayerSet& l) {
        return renderMapPicture(*built, ViewTransform::fit(built->box, QSize(900, 700), 40), l,
                                {MapFormat::Svg, QSize(900, 700)});
    };
    QByteArray svg = svgOf(fileLines);
    EXPECT_TRUE(svg.contains("izolinie ze souboru"));
    EXPECT_FALSE(svg.contains("izolinie v hladinách tříd"));
    fileLines[static_cast<std::size_t>(MapLayer::FileIsolines)] = false;
    EXPECT_FALSE(svgOf(fileLines).contains("izolinie ze souboru"));

    // A file that is no shapefile: the map is drawn, the layer is said to be missing.
    ASSERT_TRUE(writeFileAtomically(settings.isolineShp, "nothing of the kind"));
    built = buildMapModel(settings, reporter);
    ASSERT_TRUE(built);
    ASSERT_EQ(built->warnings.size(), 1u);
    EXPECT_EQ(built->warnings[0].rfind("Izolinie ze souboru: ", 0), 0u) << built->warnings[0];
}

TEST(MapRoseTest, TheOuterRingIsARoundShareAtOrAboveTheLargestDirection)
{
    EXPECT_EQ(roseRingPercent({1, 2, 3, 4}), 40);     // 40 % of the year, in steps of 10
    EXPECT_EQ(roseRingPercent({1, 1, 1, 1.2}), 30);   // 28.6 %, in steps of 10
    EXPECT_EQ(roseRingPercent(std::vector<double>(36, 1)), 3);  // 2.8 %, in steps of 1
    EXPECT_EQ(roseRingPercent({0, 0}), 0);
}

TEST_F(MapLayoutTest, PdfOfAPageIsThatPage)
{
    const std::string path = dir.path("mapa.pdf");
    const MapPicture pic = pagePicture(MapFormat::Pdf, MapPage::A4, true, 150);
    ASSERT_FALSE(writeMapPicture(path, model, ViewTransform::fit(model.box, pic.size), all, pic));
    int status = 0;
    const std::string info = commandOutput("pdfinfo '" + path + "'", status);
    ASSERT_EQ(status, 0) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    EXPECT_NE(info.find("842 x 595 pts"), std::string::npos) << info;

    // An A3 page at 1200 DPI would be a PNG of 278 million pixels: refused, nothing written;
    // as a PDF it is a page like any other.
    const MapPicture huge = pagePicture(MapFormat::Png, MapPage::A3, false, 1200);
    std::optional<Problem> refused = writeMapPicture(dir.path("a3.png"), model, ViewTransform(), all, huge);
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->text.find("14031 x 19843 pixelů"), std::string::npos) << refused->text;
    EXPECT_FALSE(fileExists(dir.path("a3.png")));
    EXPECT_FALSE(writeMapPicture(dir.path("a3.pdf"), model, ViewTransform::fit(model.box, huge.size), all,
                                 pagePicture(MapFormat::Pdf, MapPage::A3, false, 1200)));
}

}  // namespace
}  // namespace ovd
