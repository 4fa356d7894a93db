#include "pollution_rose.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

namespace {

// Pixels that differ from the background inside a rectangle.
int inkIn(const QImage& image, QRect area, QColor background)
{
    int count = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) != background ? 1 : 0;
    return count;
}

QImage plainRose(uPollutionRose& rose, QVector<float> data)
{
    rose.setCaption({});
    rose.setDescription({});
    rose.setAxisDescEnabled(false);
    rose.setAxisLineEnabled(false);
    rose.setAxisEnabled(false);
    rose.setBackColor(Qt::white);
    rose.setRoseLineWidth(3);
    rose.setDataArray(data);
    return rose.render(QSize(200, 200));
}

TEST(PollutionRose, Defaults)
{
    uPollutionRose rose;
    EXPECT_TRUE(rose.AutoRefresh());
    EXPECT_EQ(rose.RoseAngle(), 90);
    EXPECT_EQ(rose.SegmentCount(), 8);
    EXPECT_EQ(rose.AxesAbbrev(), "*E|NE|*N|NW|*W|SW|*S|SE");
    EXPECT_EQ(rose.ActiveLayer(), -1);
    EXPECT_EQ(rose.RoseLineWidth(), 1);
    EXPECT_EQ(rose.Caption(), "Caption");
    EXPECT_EQ(rose.Appearance(), 1);
    EXPECT_FALSE(rose.RoseHorizontalMirror());
    EXPECT_EQ(rose.property("RoseAngle").toInt(), 90);  // reachable as Qt properties
    EXPECT_TRUE(rose.setProperty("SegmentCount", 12));
    EXPECT_EQ(rose.SegmentCount(), 12);
    EXPECT_EQ(rose.Version().Major, 1);
}

TEST(PollutionRose, EmptyOrZeroDataDrawsNoRose)
{
    uPollutionRose rose;
    QImage empty = plainRose(rose, {});
    EXPECT_EQ(inkIn(empty, empty.rect(), Qt::white), 0);
    QImage zeros = plainRose(rose, QVector<float>(8, 0.0f));
    EXPECT_EQ(inkIn(zeros, zeros.rect(), Qt::white), 0);
    QImage drawn = plainRose(rose, {1, 1, 1, 1, 1, 1, 1, 1});
    EXPECT_GT(inkIn(drawn, drawn.rect(), Qt::white), 100);
}

TEST(PollutionRose, LabelsAndCaptionWithoutData)
{
    uPollutionRose rose;
    rose.setBackColor(Qt::white);
    rose.setAxisLineEnabled(false);
    rose.setDescription({});
    QImage image = rose.render(QSize(300, 300));
    EXPECT_GT(inkIn(image, QRect(120, 0, 60, 20), Qt::white), 0);    // caption / "N" at the top
    EXPECT_GT(inkIn(image, QRect(270, 140, 30, 20), Qt::white), 0);  // "E" on the right
    EXPECT_EQ(inkIn(image, QRect(120, 120, 60, 60), Qt::white), 0);  // no rose in the middle
}

TEST(PollutionRose, EditorSettingPointsNorthEastUpRight)
{
    uPollutionRose rose;
    rose.setRoseHorizontalMirror(true);
    rose.setRoseAngle(270);
    QImage image = plainRose(rose, {0, 10, 0, 0, 0, 0, 0, 0});
    EXPECT_GT(inkIn(image, QRect(150, 10, 40, 40), Qt::white), 0);  // upper right
    EXPECT_EQ(inkIn(image, QRect(10, 10, 40, 40), Qt::white), 0);
    EXPECT_EQ(inkIn(image, QRect(150, 150, 40, 40), Qt::white), 0);
}

TEST(PollutionRose, LayersDrawnOnlyWhenEnabled)
{
    uPollutionRose rose;
    rose.setRoseLineColor(Qt::black);
    rose.setMultiLayersData({QVector<float>{1, 1, 1, 1}});
    rose.setMultiLayersColor({Qt::red});
    rose.setMultiLayersWidth({2});
    rose.setMultiLayersEnabled({true});
    QImage off = plainRose(rose, {4, 4, 4, 4});
    auto redPixels = [](const QImage& im) {
        int n = 0;
        for (int y = 0; y < im.height(); ++y)
            for (int x = 0; x < im.width(); ++x) {
                QColor c = im.pixelColor(x, y);
                n += c.red() > 200 && c.green() < 80 ? 1 : 0;
            }
        return n;
    };
    EXPECT_EQ(redPixels(off), 0);
    rose.setMultiLayersMode(true);
    EXPECT_GT(redPixels(rose.render(QSize(200, 200))), 10);
    rose.setMultiLayersEnabled({false});
    EXPECT_EQ(redPixels(rose.render(QSize(200, 200))), 0);

    rose.setActiveLayer(0);
    EXPECT_EQ(rose.SemiDataArray(), (QVector<float>{1, 1, 1, 1}));
    rose.setActiveLayer(2);
    rose.setSemiDataArray({5});
    EXPECT_EQ(rose.MultiLayersData().size(), 3);
    rose.setActiveLayer(-1);
    EXPECT_EQ(rose.SemiDataArray(), (QVector<float>{4, 4, 4, 4}));
}

TEST(PollutionRose, PropertiesRoundTripThroughTheBag)
{
    uPollutionRose rose;
    rose.setRoseAngle(270);
    rose.setRoseHorizontalMirror(true);
    rose.setCaption("Lhota");
    rose.setRoseLineColor(QColor(255, 0, 128));
    rose.setAxesAbbrev("*N|S");
    rose.setAutoRefresh(false);
    PropertyBag bag;
    rose.UserControl_WriteProperties(bag);
    EXPECT_EQ(bag.value("BackColor").toLongLong(), kSystemWindowColor);
    EXPECT_EQ(bag.value("RoseLineColor").toLongLong(), 255 + 128 * 65536);

    uPollutionRose other;
    other.UserControl_ReadProperties(bag);
    EXPECT_EQ(other.RoseAngle(), 270);
    EXPECT_TRUE(other.RoseHorizontalMirror());
    EXPECT_EQ(other.Caption(), "Lhota");
    EXPECT_EQ(other.RoseLineColor(), QColor(255, 0, 128));
    EXPECT_EQ(other.AxesAbbrev(), "*N|S");
    EXPECT_FALSE(other.AutoRefresh());

    uPollutionRose fresh;
    fresh.UserControl_ReadProperties({});  // an empty bag gives the defaults
    EXPECT_EQ(fresh.RoseAngle(), 90);
    EXPECT_TRUE(fresh.AutoRefresh());
}

TEST(PollutionRose, AutoRefreshKeepsTheImageCurrent)
{
    uPollutionRose rose;
    rose.resize(120, 120);
    rose.setBackColor(Qt::white);
    rose.setCaption({});
    rose.setDescription({});
    rose.setAxisDescEnabled(false);
    rose.setAxisLineEnabled(false);
    EXPECT_EQ(rose.Image().size(), QSize(120, 120));
    EXPECT_EQ(inkIn(rose.Image(), rose.Image().rect(), Qt::white), 0);
    rose.setAutoRefresh(false);
    rose.setDataArray({3, 3, 3});
    EXPECT_EQ(inkIn(rose.Image(), rose.Image().rect(), Qt::white), 0);
    rose.RefreshRose();
    EXPECT_GT(inkIn(rose.Image(), rose.Image().rect(), Qt::white), 0);
}

TEST(PollutionRose, MouseAndKeysReachTheHost)
{
    uPollutionRose rose;
    rose.resize(100, 100);
    QSignalSpy clicks(&rose, &uPollutionRose::Click);
    QSignalSpy downs(&rose, &uPollutionRose::MouseDown);
    QSignalSpy keys(&rose, &uPollutionRose::KeyPress);
    QTest::mouseClick(&rose, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
    EXPECT_EQ(clicks.count(), 1);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs[0][0].toInt(), 1);
    EXPECT_EQ(downs[0][1].toInt(), 1);
    EXPECT_FLOAT_EQ(downs[0][3].toFloat(), 20.0f);
    QTest::keyClick(&rose, Qt::Key_A);
    EXPECT_EQ(keys.count(), 1);
}

TEST(PollutionRose, WindowsColours)
{
    EXPECT_EQ(colorFromWindows(255), QColor(255, 0, 0));
    EXPECT_EQ(colorFromWindows(13682355), QColor(179, 198, 208));
    EXPECT_EQ(windowsFromColor(QColor(0, 0, 255)), 16711680);
}

}  // namespace

int main(int argc, char** argv)
{
    // Listing the tests runs without the test's environment: never ask for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
