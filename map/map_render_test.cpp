#include <gtest/gtest.h>

#include <QImage>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdio>

#include "common/file_io.h"
#include "map_export.h"
#include "map_test_study.h"
#include "testing/command_output.h"
#include "testing/recording_reporter.h"

namespace ovd {
namespace {

class MapRenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureTestApplication();
        settings = writeTestStudy(dir);
        Outcome<MapModel> built = buildMapModel(settings, reporter);
        ASSERT_TRUE(built) << built.problem().text;
        model = std::move(*built);
    }

    LayerSet only(std::initializer_list<MapLayer> layers)
    {
        LayerSet set{};
        for (MapLayer l : layers)
            set[static_cast<std::size_t>(l)] = true;
        return set;
    }

    TempDir dir;
    RecordingReporter reporter;
    MapSettings settings;
    MapModel model;
};

TEST_F(MapRenderTest, HotPointHasTheTopColourAndAPointBelowTheLevelsTheLowest)
{
    MapPicture pic{MapFormat::Png, QSize(600, 500), 96};
    ViewTransform view = ViewTransform::fit(model.box, pic.size, 40);
    // Every layer under the points too: a point's centre shows its own class whatever lies below.
    LayerSet all{};
    all.fill(true);
    QImage img = QImage::fromData(renderMapPicture(model, view, all, pic), "PNG");
    ASSERT_EQ(img.size(), pic.size);
    const ViewTransform drawn = pictureView(model, view, all, pic);  // the view in the picture's data frame
    QPointF hot = drawn.toPixel(kHotX, kHotY), low = drawn.toPixel(kLowX, kLowY);
    EXPECT_EQ(img.pixelColor(hot.toPoint()).rgb(), rampColour(1).rgb());
    EXPECT_EQ(img.pixelColor(low.toPoint()).rgb(), rampColour(0).rgb());
    EXPECT_EQ(model.breaks.colour(model.breaks.classCount() - 1).rgb(), rampColour(1).rgb());
}

TEST_F(MapRenderTest, LegendClassesFollowTheLevels)
{
    ASSERT_EQ(model.breaks.levels, (std::vector<double>{10, 20, 50}));
    ASSERT_EQ(model.breaks.classCount(), 4u);
    QByteArray svg =
        renderMapPicture(model, ViewTransform::fit(model.box, QSize(800, 600)), layerSet(settings), {MapFormat::Svg});
    for (const char* label : {"&lt; 10", "10 – 20", "20 – 50", "≥ 50", "CONC_AVG [µg/m³]"})
        EXPECT_TRUE(svg.contains(QByteArray(label))) << label;
    EXPECT_FALSE(svg.contains("≥ 100"));
}

TEST_F(MapRenderTest, SvgIsWellFormedWithOneElementPerPoint)
{
    QByteArray svg = renderMapPicture(model, ViewTransform::fit(model.box, QSize(800, 600)),
                                      only({MapLayer::Points, MapLayer::Sources}), {MapFormat::Svg});
    QXmlStreamReader xml(svg);
    int circles = 0;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("circle"))
            ++circles;
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(circles, kStudyPoints);  // sources and decorations are drawn otherwise
}

TEST_F(MapRenderTest, PdfIsOnePageThatPdfinfoReads)
{
    std::string path = dir.path("mapa.pdf");
    MapPicture pic{MapFormat::Pdf, QSize(960, 720), 96};
    ASSERT_FALSE(writeMapPicture(path, model, ViewTransform::fit(model.box, pic.size), layerSet(settings), pic));
    int status = 0;
    std::string info = commandOutput("pdfinfo '" + path + "'", status);
    // pdfinfo pads its labels; one blank is enough to compare.
    info.erase(std::unique(info.begin(), info.end(), [](char a, char b) { return a == ' ' && b == ' '; }), info.end());
    ASSERT_EQ(status, 0) << info;
    EXPECT_NE(info.find("Pages: 1"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size: 720 x 540 pts"), std::string::npos) << info;
}

TEST_F(MapRenderTest, CommandWritesThePictureOfTheRequestedWidthAndNothingOnFailure)
{
    MapFileRequest q{settings, dir.path("mapa.png"), 640};
    RunContext ctx{reporter, true};
    ASSERT_EQ(renderMapFile(q, ctx), ToolStatus::Done);
    QImage img(QString::fromStdString(q.output));
    EXPECT_EQ(img.width(), 640);
    EXPECT_EQ(img.height(), pictureHeight(model.box, 640));

    // A column the table lacks: the previous picture stays and no temporary file is left.
    std::vector<std::string> before = dir.names();
    q.settings.column = "CONC_XYZ";
    EXPECT_EQ(renderMapFile(q, ctx), ToolStatus::Failed);
    EXPECT_TRUE(reporter.hasMessage("Soubor " + settings.table + " neobsahuje sloupec CONC_XYZ!"));
    EXPECT_EQ(dir.names(), before);

    q.settings.column.clear();
    q.output = dir.path("mapa.jpg");
    EXPECT_EQ(renderMapFile(q, ctx), ToolStatus::Failed);
    q.output = settings.table;
    EXPECT_EQ(renderMapFile(q, ctx), ToolStatus::Failed);
    EXPECT_EQ(dir.names(), before);
}

}  // namespace
}  // namespace ovd
