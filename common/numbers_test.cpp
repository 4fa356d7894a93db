#include "common/numbers.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace ovd;

namespace {

// Number helpers must write "." even when the process runs in a comma locale.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Linux names the locales by language and encoding, Windows by its own names.
        for (const char* name :
             {"cs_CZ.UTF-8", "cs_CZ.utf8", "de_DE.UTF-8", "de_DE.utf8", "Czech_Czechia.1250", "Czech", "German"}) {
            if (std::setlocale(LC_ALL, name)) {
                m_active = true;
                return;
            }
        }
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
    bool m_active = false;
};

}  // namespace

TEST_F(CommaLocale, FormatsAndParsesWithPoint)
{
    if (!m_active)
        GTEST_SKIP() << "no comma locale installed (the test script generates cs_CZ.UTF-8)";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", 1.5);
    ASSERT_STREQ(buf, "1,5") << "the locale really uses a comma";
    EXPECT_EQ(cformat("%11.5lf ", 3.25), "    3.25000 ");
    EXPECT_EQ(cformat("%s; %ld; %.1lf", "x", 2L, 12.34), "x; 2; 12.3");
    EXPECT_DOUBLE_EQ(parseDouble("12.75").value(), 12.75);
    EXPECT_EQ(formatDecimal(0.75), "0.75");
}

TEST(Numbers, StrictParsingTakesTheWholeTextOnly)
{
    EXPECT_DOUBLE_EQ(parseDouble("  -1.5e2 ").value(), -150.0);
    EXPECT_DOUBLE_EQ(parseDouble("+.5").value(), 0.5);
    EXPECT_FALSE(parseDouble("1.5x"));
    EXPECT_FALSE(parseDouble(""));
    EXPECT_FALSE(parseDouble("1,5"));
    EXPECT_EQ(parseLong(" 42 ").value(), 42);
    EXPECT_FALSE(parseLong("4.2"));
    EXPECT_FALSE(parseLong("99999999999999999999"));
}

TEST(Numbers, NanAndInfinityAreNeverNumbers)
{
    for (const char* t : {"nan", "NaN", "inf", "-inf", "infinity", "1e999"}) {
        EXPECT_FALSE(parseDouble(t)) << t;
        EXPECT_FALSE(scanDouble(t)) << t;
    }
}

TEST(Numbers, ScanningReadsTheLeadingNumberLikeStrtod)
{
    std::size_t used = 0;
    EXPECT_DOUBLE_EQ(scanDouble("  12.5abc", &used).value(), 12.5);
    EXPECT_EQ(used, 6u);
    EXPECT_DOUBLE_EQ(scanDouble("3e", &used).value(), 3.0);
    EXPECT_EQ(used, 1u);
    EXPECT_FALSE(scanDouble("abc", &used));
    EXPECT_EQ(used, 0u);
    EXPECT_EQ(scanLong("-17;x", &used).value(), -17);
    EXPECT_EQ(used, 3u);
    EXPECT_FALSE(scanLong("- 5"));
}

TEST(Numbers, DecimalSettingsRoundTrip)
{
    EXPECT_EQ(formatDecimal(12.3), "12.3");
    EXPECT_EQ(formatDecimal(2), "2");
    EXPECT_EQ(formatDecimal(-0.0), "0");
    for (double v : {0.1, 1.0 / 3.0, 1e-7, 123456.789})
        EXPECT_EQ(parseDouble(formatDecimal(v)).value(), v);
}

TEST(Numbers, DecimalCommaReadsAsThePointItMeans)
{
    EXPECT_DOUBLE_EQ(parseDecimal("3,5").value(), 3.5);
    EXPECT_DOUBLE_EQ(parseDecimal(" -12,25 ").value(), -12.25);
    EXPECT_DOUBLE_EQ(parseDecimal("1.7").value(), 1.7);
    // Not one number as a whole: refused, never cut at the comma.
    for (const char* t : {"3,5,1", "1,234.5", "3,5x", "abc", "", "1 2", "nan"})
        EXPECT_FALSE(parseDecimal(t)) << t;
}
