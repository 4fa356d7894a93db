// A source entered in the sources editor reaches the model with every parameter in its place:
// the editor's description line, read as the conversion reads it, gives the model the values
// the editor's fields were given.
#include <gtest/gtest.h>

#include "inputs/input_lines.h"
#include "model/dispersion_formulas.h"
#include "sources_editor/source.h"

namespace ovd {
namespace {

// The editor's description line of `edited`, read back into the model's source record.
ModelSource throughDescriptionLine(const cZdroje& edited)
{
    DescriptionLine line = parseDescriptionLine(edited.LineParameters());
    EXPECT_TRUE(line.complete) << edited.LineParameters();
    EXPECT_EQ(edited.ICZ(), line.number);
    SourceRecord record;
    record.number = static_cast<std::int32_t>(line.number);
    record.type = static_cast<std::int16_t>(edited.TypZdrojeID());
    record.values = line.values;
    return modelSource(record);
}

TEST(SourceLayout, PointSourceFieldsReachTheModelByName)
{
    auto point = createSource(kPointSource);
    point->ICZ(7);
    point->Parameters(StackParam::kEmission, 12.5f);
    point->Parameters(StackParam::kHeight, 80);
    point->Parameters(StackParam::kGasFlow, 30);
    point->Parameters(StackParam::kTemperature, 150);
    point->Parameters(StackParam::kDiameter, 2.5f);
    point->Parameters(StackParam::kExitVelocity, 9);
    point->Parameters(StackParam::kAlfa, 0.75f);
    point->Parameters(StackParam::kHours, 16);
    ASSERT_EQ(kPointParamCount, point->parameterCount());

    const ModelSource s = throughDescriptionLine(*point);
    EXPECT_EQ(12.5, s.emission);
    EXPECT_EQ(80, s.h);
    EXPECT_EQ(30, s.vs);
    EXPECT_EQ(150, s.ts);
    EXPECT_EQ(2.5, s.d);
    EXPECT_EQ(9, s.w0);
    EXPECT_EQ(0.75, s.alfa);
    EXPECT_EQ(16, s.pd);
    EXPECT_EQ(0, s.y0);  // a point source writes its ninth value as 0
    EXPECT_FALSE(s.givenRise);
}

TEST(SourceLayout, AreaSourcePlumeRiseMeansTheSameInEditorAndModel)
{
    auto area = createSource(kAreaSource);
    area->ICZ(8);
    area->Parameters(StackParam::kHeight, 5);
    area->Parameters(StackParam::kGasFlow, 44);
    area->Parameters(StackParam::kTemperature, 12);  // read as the plume rise
    area->Parameters(StackParam::kElementSpacing, 25);
    ASSERT_EQ(kAreaParamCount, area->parameterCount());
    ASSERT_TRUE(static_cast<cPlosnyZdroj&>(*area).plumeRise());

    ModelSource s = throughDescriptionLine(*area);
    EXPECT_TRUE(s.givenRise);
    EXPECT_EQ(12, s.ts);
    EXPECT_EQ(0, s.vs);  // an area source's flue gas volume is not used
    EXPECT_EQ(25, s.y0);

    area->Parameters(StackParam::kExitVelocity, 3);
    EXPECT_FALSE(static_cast<cPlosnyZdroj&>(*area).plumeRise());
    s = throughDescriptionLine(*area);
    EXPECT_FALSE(s.givenRise);
    EXPECT_EQ(3, s.w0);
}

TEST(SourceLayout, LineSegmentEndsAndSizeReachTheModelByName)
{
    auto line = createSource(kLineSource);
    line->ICZ(9);
    line->Parameters(LineParam::kEmission, 0.5f);
    line->Parameters(LineParam::kStartX, -100);
    line->Parameters(LineParam::kStartY, 200);
    line->Parameters(LineParam::kEndX, 300);
    line->Parameters(LineParam::kEndY, 500);
    line->Parameters(LineParam::kWidth, 12);
    line->Parameters(LineParam::kHeight, 2);
    line->Parameters(LineParam::kAlfa, 0.5f);
    line->Parameters(LineParam::kHours, 20);
    ASSERT_EQ(kLineParamCount, line->parameterCount());

    const ModelSource s = throughDescriptionLine(*line);
    EXPECT_EQ(0.5, s.emission);
    EXPECT_EQ(-100, s.x1);
    EXPECT_EQ(200, s.y1);
    EXPECT_EQ(300, s.x2);
    EXPECT_EQ(500, s.y2);
    EXPECT_EQ(12, s.width);
    EXPECT_EQ(2, s.emissionHeight);
    EXPECT_EQ(0.5, s.alfa);
    EXPECT_EQ(20, s.pd);
    EXPECT_EQ(500, s.length);  // the 400 x 300 segment

    // The editor's middle of the segment is where the model puts the source.
    std::int32_t x = 0, y = 0;
    ASSERT_TRUE(middlePoint(line->Parameters(LineParam::kStartX), line->Parameters(LineParam::kStartY),
                            line->Parameters(LineParam::kEndX), line->Parameters(LineParam::kEndY), x, y));
    EXPECT_EQ(s.x, x);
    EXPECT_EQ(s.y, y);
}

}  // namespace
}  // namespace ovd
