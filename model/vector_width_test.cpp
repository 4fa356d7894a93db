// The vector width switch: names, the widest width by default, refusals.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/vector_width.h"

namespace ovd {
namespace {

TEST(VectorWidth, TheSettingFixesAWidthThisProcessorRuns)
{
    const std::vector<VectorWidth> here = supportedWidths();
    ASSERT_FALSE(here.empty());
    EXPECT_EQ(VectorWidth::Sse2, here.back());
    const VectorWidthChoice automatic = chooseVectorWidth("");
    EXPECT_TRUE(automatic.problem.empty());
    EXPECT_EQ(here.front(), automatic.width);
    for (const char* name : {"sse2", "avx2", "avx512"}) {
        const VectorWidthChoice c = chooseVectorWidth(name);
        const bool runs = std::find(here.begin(), here.end(), *parseVectorWidth(name)) != here.end();
        if (runs) {
            EXPECT_TRUE(c.problem.empty()) << name;
            EXPECT_STREQ(name, vectorWidthName(c.width));
        } else {
            EXPECT_NE(std::string::npos, c.problem.find(name)) << c.problem;
        }
    }
    const VectorWidthChoice wrong = chooseVectorWidth("AVX2");
    EXPECT_EQ("Proměnná OVARDIX_VECTOR_WIDTH má neznámou hodnotu \"AVX2\" (povoleno sse2, avx2, avx512), výpočet "
              "nelze spustit !",
              wrong.problem);
}

}  // namespace
}  // namespace ovd
