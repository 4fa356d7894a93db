#include "rose_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ovd {
namespace {

RoseShape shape(double w = 200, double h = 100)
{
    RoseShape s;
    s.width = w;
    s.height = h;
    return s;
}

TEST(RoseGeometry, DefaultLabelsNorthTopEastRight)
{
    std::vector<RoseLabel> labels = roseLabels(shape());
    ASSERT_EQ(labels.size(), 8u);
    EXPECT_EQ(labels[0].text, "E");
    EXPECT_TRUE(labels[0].bold);
    EXPECT_NEAR(labels[0].at.x, 100 + 0.47 * 200, 1e-9);  // 0.47 of the width
    EXPECT_NEAR(labels[0].at.y, 50, 1e-9);
    EXPECT_EQ(labels[2].text, "N");
    EXPECT_NEAR(labels[2].at.x, 100, 1e-9);
    EXPECT_NEAR(labels[2].at.y, 50 - 0.47 * 100, 1e-9);  // 0.47 of the height
    EXPECT_EQ(labels[1].text, "NE");
    EXPECT_FALSE(labels[1].bold);
    EXPECT_GT(labels[1].at.x, 100);
    EXPECT_LT(labels[1].at.y, 50);
    EXPECT_EQ(roseAxisEnds(shape()).size(), 8u);
}

TEST(RoseGeometry, FewerLabelsThanSegments)
{
    RoseShape s = shape();
    s.axesAbbrev = "*A|B";
    std::vector<RoseLabel> labels = roseLabels(s);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[1].text, "B");
    s.axesAbbrev = "a|b|c";
    s.segmentCount = 2;
    EXPECT_EQ(roseLabels(s).size(), 2u);
    s.segmentCount = 0;
    EXPECT_TRUE(roseLabels(s).empty());
    EXPECT_TRUE(roseAxisEnds(s).empty());
}

TEST(RoseGeometry, FirstValueAtRoseAngle)
{
    RoseShape s = shape();
    std::vector<double> values = {4, 0, 2, 0};
    std::vector<RosePoint> p = roseOutline(s, values, roseMaximum(values));
    ASSERT_EQ(p.size(), 4u);
    EXPECT_NEAR(p[0].x, 100, 1e-9);  // angle 90: top, full radius
    EXPECT_NEAR(p[0].y, 50 - 0.42 * 100, 1e-9);
    EXPECT_NEAR(p[2].y, 50 + 0.42 * 100 / 2, 1e-9);  // half the maximum, at the bottom
    EXPECT_NEAR(p[1].x, 100, 1e-9);

    s.roseAngle = 0;
    p = roseOutline(s, values, 4);
    EXPECT_NEAR(p[0].x, 100 + 0.42 * 200, 1e-9);
    EXPECT_NEAR(p[0].y, 50, 1e-9);
}

TEST(RoseGeometry, EmptyAndZeroDataDrawNoRose)
{
    RoseShape s = shape();
    EXPECT_TRUE(roseOutline(s, {}, 1).empty());
    std::vector<double> zeros(8, 0.0);
    EXPECT_EQ(roseMaximum(zeros), 0);
    EXPECT_TRUE(roseOutline(s, zeros, roseMaximum(zeros)).empty());
    EXPECT_TRUE(roseRings(s, 0).empty());
    EXPECT_EQ(roseMaximum({}), 0);
    EXPECT_EQ(roseMaximum({-3, -1}), -1);
    EXPECT_TRUE(roseOutline(s, {-3, -1}, -1).empty());
    EXPECT_EQ(roseMaximum({NAN, 2}), 2);
}

TEST(RoseGeometry, EditorSettingNorthEastPointsUpperRight)
{
    // The editor passes N..NW clockwise, with the mirror on and the first value at 270.
    RoseShape s = shape(300, 300);
    s.mirror = true;
    s.roseAngle = 270;
    std::vector<double> values(8, 0.0);
    values[1] = 5;  // NE only
    std::vector<RosePoint> p = roseOutline(s, values, 5);
    ASSERT_EQ(p.size(), 8u);
    EXPECT_GT(p[1].x, 150 + 80);
    EXPECT_LT(p[1].y, 150 - 80);
    values = {5, 0, 0, 0, 0, 0, 0, 0};
    p = roseOutline(s, values, 5);
    EXPECT_NEAR(p[0].x, 150, 1e-9);
    EXPECT_NEAR(p[0].y, 150 - 0.42 * 300, 1e-9);  // N at the top
    values = {0, 0, 5, 0, 0, 0, 0, 0};
    p = roseOutline(s, values, 5);
    EXPECT_GT(p[2].x, 150 + 100);  // E on the right
    // Without the mirror the order turns counter-clockwise: NE lands lower right.
    s.mirror = false;
    values = {0, 5, 0, 0, 0, 0, 0, 0};
    p = roseOutline(s, values, 5);
    EXPECT_GT(p[1].y, 150 + 80);
}

TEST(RoseGeometry, LinearApproximationFollowsTheRadius)
{
    RoseShape s = shape(200, 200);
    s.approximation = 1;
    std::vector<double> values = {2, 2, 2, 2};
    std::vector<RosePoint> p = roseOutline(s, values, 2);
    ASSERT_EQ(p.size(), 4u * kApproximationSteps);
    for (const RosePoint& q : p)  // a constant radius gives a circle
        EXPECT_NEAR(std::hypot(q.x - 100, q.y - 100), 0.42 * 200, 1e-9);
    values = {2, 0, 0, 0};
    p = roseOutline(s, values, 2);
    const RosePoint& mid = p[kApproximationSteps / 2];  // half way from the first to the second value
    EXPECT_NEAR(std::hypot(mid.x - 100, mid.y - 100), 0.42 * 200 / 2, 1e-9);
}

TEST(RoseGeometry, RingsUpToTheMaximum)
{
    std::vector<RoseRing> rings = roseRings(shape(), 12.5);
    ASSERT_EQ(rings.size(), static_cast<std::size_t>(kRingCount));
    EXPECT_NEAR(rings.back().radiusX, 0.42 * 200, 1e-9);
    EXPECT_NEAR(rings.back().radiusY, 0.42 * 100, 1e-9);
    EXPECT_DOUBLE_EQ(rings.back().value, 12.5);
    EXPECT_EQ(ringValueText(rings[0].value), "3.13");
    EXPECT_EQ(ringValueText(10), "10");
}

}  // namespace
}  // namespace ovd
