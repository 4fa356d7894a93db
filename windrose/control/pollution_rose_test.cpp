#include "pollution_rose.h"

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

}  // namespace

class PollutionRoseTest : public QObject {
    Q_OBJECT

private slots:
    void defaults()
    {
        uPollutionRose rose;
        QVERIFY(rose.AutoRefresh());
        QCOMPARE(rose.RoseAngle(), 90);
        QCOMPARE(rose.SegmentCount(), 8);
        QCOMPARE(rose.AxesAbbrev(), "*E|NE|*N|NW|*W|SW|*S|SE");
        QCOMPARE(rose.ActiveLayer(), -1);
        QCOMPARE(rose.RoseLineWidth(), 1);
        QCOMPARE(rose.Caption(), "Caption");
        QCOMPARE(rose.Appearance(), 1);
        QVERIFY(!rose.RoseHorizontalMirror());
        QCOMPARE(rose.property("RoseAngle").toInt(), 90);  // reachable as Qt properties
        QVERIFY(rose.setProperty("SegmentCount", 12));
        QCOMPARE(rose.SegmentCount(), 12);
        QCOMPARE(rose.Version().Major, 1);
    }

    void emptyOrZeroDataDrawsNoRose()
    {
        uPollutionRose rose;
        QImage empty = plainRose(rose, {});
        QCOMPARE(inkIn(empty, empty.rect(), Qt::white), 0);
        QImage zeros = plainRose(rose, QVector<float>(8, 0.0f));
        QCOMPARE(inkIn(zeros, zeros.rect(), Qt::white), 0);
        QImage drawn = plainRose(rose, {1, 1, 1, 1, 1, 1, 1, 1});
        QVERIFY(inkIn(drawn, drawn.rect(), Qt::white) > 100);
    }

    void labelsAndCaptionWithoutData()
    {
        uPollutionRose rose;
        rose.setBackColor(Qt::white);
        rose.setAxisLineEnabled(false);
        rose.setDescription({});
        QImage image = rose.render(QSize(300, 300));
        QVERIFY(inkIn(image, QRect(120, 0, 60, 20), Qt::white) > 0);    // caption / "N" at the top
        QVERIFY(inkIn(image, QRect(270, 140, 30, 20), Qt::white) > 0);  // "E" on the right
        QCOMPARE(inkIn(image, QRect(120, 120, 60, 60), Qt::white), 0);  // no rose in the middle
    }

    void editorSettingPointsNorthEastUpRight()
    {
        uPollutionRose rose;
        rose.setRoseHorizontalMirror(true);
        rose.setRoseAngle(270);
        QImage image = plainRose(rose, {0, 10, 0, 0, 0, 0, 0, 0});
        QVERIFY(inkIn(image, QRect(150, 10, 40, 40), Qt::white) > 0);  // upper right
        QCOMPARE(inkIn(image, QRect(10, 10, 40, 40), Qt::white), 0);
        QCOMPARE(inkIn(image, QRect(150, 150, 40, 40), Qt::white), 0);
    }

    void layersDrawnOnlyWhenEnabled()
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
        QCOMPARE(redPixels(off), 0);
        rose.setMultiLayersMode(true);
        QVERIFY(redPixels(rose.render(QSize(200, 200))) > 10);
        rose.setMultiLayersEnabled({false});
        QCOMPARE(redPixels(rose.render(QSize(200, 200))), 0);

        rose.setActiveLayer(0);
        QCOMPARE(rose.SemiDataArray(), (QVector<float>{1, 1, 1, 1}));
        rose.setActiveLayer(2);
        rose.setSemiDataArray({5});
        QCOMPARE(rose.MultiLayersData().size(), 3);
        rose.setActiveLayer(-1);
        QCOMPARE(rose.SemiDataArray(), (QVector<float>{4, 4, 4, 4}));
    }

    void propertiesRoundTripThroughTheBag()
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
        QCOMPARE(bag.value("BackColor").toLongLong(), kSystemWindowColor);
        QCOMPARE(bag.value("RoseLineColor").toLongLong(), 255 + 128 * 65536);

        uPollutionRose other;
        other.UserControl_ReadProperties(bag);
        QCOMPARE(other.RoseAngle(), 270);
        QVERIFY(other.RoseHorizontalMirror());
        QCOMPARE(other.Caption(), "Lhota");
        QCOMPARE(other.RoseLineColor(), QColor(255, 0, 128));
        QCOMPARE(other.AxesAbbrev(), "*N|S");
        QVERIFY(!other.AutoRefresh());

        uPollutionRose fresh;
        fresh.UserControl_ReadProperties({});  // an empty bag gives the defaults
        QCOMPARE(fresh.RoseAngle(), 90);
        QVERIFY(fresh.AutoRefresh());
    }

    void autoRefreshKeepsTheImageCurrent()
    {
        uPollutionRose rose;
        rose.resize(120, 120);
        rose.setBackColor(Qt::white);
        rose.setCaption({});
        rose.setDescription({});
        rose.setAxisDescEnabled(false);
        rose.setAxisLineEnabled(false);
        QCOMPARE(rose.Image().size(), QSize(120, 120));
        QCOMPARE(inkIn(rose.Image(), rose.Image().rect(), Qt::white), 0);
        rose.setAutoRefresh(false);
        rose.setDataArray({3, 3, 3});
        QCOMPARE(inkIn(rose.Image(), rose.Image().rect(), Qt::white), 0);
        rose.RefreshRose();
        QVERIFY(inkIn(rose.Image(), rose.Image().rect(), Qt::white) > 0);
    }

    void mouseAndKeysReachTheHost()
    {
        uPollutionRose rose;
        rose.resize(100, 100);
        QSignalSpy clicks(&rose, &uPollutionRose::Click);
        QSignalSpy downs(&rose, &uPollutionRose::MouseDown);
        QSignalSpy keys(&rose, &uPollutionRose::KeyPress);
        QTest::mouseClick(&rose, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(downs.count(), 1);
        QCOMPARE(downs[0][0].toInt(), 1);
        QCOMPARE(downs[0][1].toInt(), 1);
        QCOMPARE(downs[0][3].toFloat(), 20.0f);
        QTest::keyClick(&rose, Qt::Key_A);
        QCOMPARE(keys.count(), 1);
    }

    void windowsColours()
    {
        QCOMPARE(colorFromWindows(255), QColor(255, 0, 0));
        QCOMPARE(colorFromWindows(13682355), QColor(179, 198, 208));
        QCOMPARE(windowsFromColor(QColor(0, 0, 255)), 16711680);
    }
};

QTEST_MAIN(PollutionRoseTest)
#include "pollution_rose_test.moc"
