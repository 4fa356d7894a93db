// A source entered in the sources editor reaches the model with every parameter in its place:
// the editor's description line, read as the conversion reads it, gives the model the values
// the editor's fields were given.
#include <gtest/gtest.h>

#include <vector>

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

// Gives the editor's parameters 0, 1, ... of `edited` the values and expects each in the
// model's field named at the same place.
ModelSource expectCarried(cZdroje& edited, const std::vector<float>& values,
                          const std::vector<double ModelSource::*>& fields)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        edited.Parameters(static_cast<int>(i), values[i]);
    const ModelSource s = throughDescriptionLine(edited);
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(static_cast<double>(values[i]), s.*fields[i]) << "parameter " << i;
    return s;
}

using M = ModelSource;

TEST(SourceLayout, PointSourceFieldsReachTheModelByName)
{
    auto point = createSource(kPointSource);
    point->ICZ(7);
    ASSERT_EQ(kPointParamCount, point->parameterCount());
    // M, H, Vs, ts, d, w0, alfa, Pd
    const ModelSource s = expectCarried(*point, {12.5f, 80, 30, 150, 2.5f, 9, 0.75f, 16},
                                        {&M::emission, &M::h, &M::vs, &M::ts, &M::d, &M::w0, &M::alfa, &M::pd});
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
    ASSERT_EQ(kLineParamCount, line->parameterCount());
    // ML, X1el, Y1el, X2el, Y2el, X0el, Z0el, alfa, Pd
    const ModelSource s =
        expectCarried(*line, {0.5f, -100, 200, 300, 500, 12, 2, 0.5f, 20},
                      {&M::emission, &M::x1, &M::y1, &M::x2, &M::y2, &M::width, &M::emissionHeight, &M::alfa, &M::pd});
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
