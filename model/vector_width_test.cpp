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
    const Outcome<VectorWidth> automatic = chooseVectorWidth("");
    ASSERT_TRUE(automatic);
    EXPECT_EQ(here.front(), *automatic);
    for (const char* name : {"sse2", "avx2", "avx512"}) {
        const Outcome<VectorWidth> c = chooseVectorWidth(name);
        const bool runs = std::find(here.begin(), here.end(), *parseVectorWidth(name)) != here.end();
        ASSERT_EQ(runs, c.ok()) << name;
        if (runs)
            EXPECT_STREQ(name, vectorWidthName(*c));
        else
            EXPECT_NE(std::string::npos, c.problem().text.find(name)) << c.problem().text;
    }
    const Outcome<VectorWidth> wrong = chooseVectorWidth("AVX2");
    ASSERT_FALSE(wrong);
    EXPECT_EQ("Proměnná OVARDIX_VECTOR_WIDTH má neznámou hodnotu \"AVX2\" (povoleno sse2, avx2, avx512), výpočet "
              "nelze spustit!",
              wrong.problem().text);
}

}  // namespace
}  // namespace ovd
