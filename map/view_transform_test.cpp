#include <gtest/gtest.h>

#include "class_breaks.h"
#include "map_layers.h"
#include "view_transform.h"

namespace ovd {
namespace {

void expectNear(QPointF a, QPointF b)
{
    EXPECT_NEAR(a.x(), b.x(), 1e-6);
    EXPECT_NEAR(a.y(), b.y(), 1e-6);
}

TEST(ViewTransform, FitShowsTheWholeBoxNorthUp)
{
    StudyBox box{-867000, -1014000, -863000, -1010000};
    ViewTransform v = ViewTransform::fit(box, QSize(800, 600), 20);
    QPointF nw = v.toPixel(box.xmin, box.ymax), se = v.toPixel(box.xmax, box.ymin);
    EXPECT_NEAR(nw.y(), 20, 1e-6);  // the height limits the scale
    EXPECT_NEAR(se.y(), 580, 1e-6);
    EXPECT_GE(nw.x(), 20);
    EXPECT_LE(se.x(), 780);
    EXPECT_LT(nw.y(), se.y());  // north is up
    expectNear(v.toStudy(v.toPixel(-865123, -1011456)), QPointF(-865123, -1011456));
}

TEST(ViewTransform, ZoomKeepsThePointUnderTheCursorAndPanMovesThePicture)
{
    ViewTransform v(QSize(400, 300), 0, 0, 0.5);
    QPointF cursor(310, 40);
    QPointF under = v.toStudy(cursor);
    v.zoom(2.5, cursor);
    EXPECT_DOUBLE_EQ(v.pixelsPerMetre(), 1.25);
    expectNear(v.toStudy(cursor), under);
    QPointF before = v.toPixel(100, 100);
    v.pan(QPointF(15, -7));
    expectNear(v.toPixel(100, 100), before + QPointF(15, -7));
    v.zoom(1e12, cursor);  // clamped, never infinite
    EXPECT_DOUBLE_EQ(v.pixelsPerMetre(), kMaxPixelsPerMetre);
}

TEST(ViewTransform, DegenerateBoxesStillGiveAUsableView)
{
    ViewTransform point = ViewTransform::fit(StudyBox{5, 5, 5, 5}, QSize(100, 100), 0);
    EXPECT_DOUBLE_EQ(point.pixelsPerMetre(), 0.1);
    ViewTransform none = ViewTransform::fit(StudyBox::empty(), QSize(0, 0));
    EXPECT_EQ(none.size(), QSize(1, 1));
    ViewTransform big = ViewTransform(QSize(100, 50), 0, 0, 1).resized(QSize(400, 200));
    EXPECT_DOUBLE_EQ(big.pixelsPerMetre(), 4);  // the same extent at four times the pixels
}

TEST(ClassBreaks, ClassesAndLabels)
{
    ClassBreaks b = levelBreaks({50, 10, 20, 10, NAN});
    ASSERT_EQ(b.levels, (std::vector<double>{10, 20, 50}));
    EXPECT_EQ(b.classOf(9.99), 0u);
    EXPECT_EQ(b.classOf(10), 1u);  // a level belongs to the class above it
    EXPECT_EQ(b.classOf(1e9), 3u);
    EXPECT_EQ(b.label(0), "< 10");
    EXPECT_EQ(b.label(2), "20 – 50");
    EXPECT_EQ(b.label(3), "≥ 50");
    EXPECT_EQ(b.colour(0), rampColour(0));
    EXPECT_EQ(b.colour(3), rampColour(1));

    ClassBreaks steps = equalStepBreaks(0, 1, 4);
    EXPECT_EQ(steps.levels, (std::vector<double>{0.25, 0.5, 0.75}));
    EXPECT_TRUE(equalStepBreaks(3, 3).levels.empty());  // one class: every value alike
    EXPECT_EQ(equalStepBreaks(3, 3).label(0), "všechny hodnoty");
    EXPECT_EQ(levelText(0.000123456), "0,0001235");
    EXPECT_EQ(levelText(2.5), "2,5");
    // Round steps, each level written as the decimal it is, none on the ends.
    EXPECT_EQ(equalStepBreaks(0, 4.23).levels, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(equalStepBreaks(0.1, 105.9).levels, (std::vector<double>{25, 50, 75, 100}));
    EXPECT_EQ(equalStepBreaks(0, 0.9).levels, (std::vector<double>{0.2, 0.4, 0.6, 0.8}));
    EXPECT_EQ(equalStepBreaks(-7, 3).levels, (std::vector<double>{-6, -4, -2, 0, 2}));
    EXPECT_EQ(equalStepBreaks(0, 5).levels, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(equalStepBreaks(0.1, 0.3).label(1), "0,15 – 0,2");
    EXPECT_EQ(levelText(-0.0), "0");
}

TEST(ClassBreaks, RoundSteps)
{
    EXPECT_DOUBLE_EQ(roundStep(0.7), 1);
    EXPECT_DOUBLE_EQ(roundStep(1.2), 2);
    EXPECT_DOUBLE_EQ(roundStep(3), 5);
    EXPECT_DOUBLE_EQ(roundStep(500), 500);
    EXPECT_DOUBLE_EQ(roundStep(0), 1);
}

}  // namespace
}  // namespace ovd
