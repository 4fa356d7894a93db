#include "sources_editor/derived_parameters.h"

#include <gtest/gtest.h>

namespace ovd {
namespace {

TEST(DerivedParameters, FormulasAndRoundTrip)
{
    EXPECT_NEAR(*computeVs(1, 10, 0, 101325), 7.853982, 1e-6);
    EXPECT_NEAR(*computeVs(1, 10, 0, 90000), 7.853982 * 90000 / 101325, 1e-5);
    const float vs = *computeVs(1.7, 12, 150, 98000);
    EXPECT_NEAR(*computeD(vs, 12, 150, 98000), 1.7, 1e-6);
    EXPECT_NEAR(*computeW0(vs, 1.7, 150, 98000), 12, 1e-5);
    EXPECT_FALSE(computeVs(1, 10, -273.15, 101325));
    EXPECT_FALSE(computeW0(1, 0, 20, 101325));
    EXPECT_FALSE(computeD(1, 1, 20, 0));
    EXPECT_FALSE(computeD(-1, 1, 20, 101325));       // no real square root
    EXPECT_FALSE(computeVs(1e30, 1e30, 0, 101325));  // beyond the float range
}

TEST(DerivedParameters, BatchOverSelectedPointSources)
{
    std::vector<std::unique_ptr<cZdroje>> v;
    for (int i = 0; i < 3; ++i) {
        v.push_back(createSource(1));
        v.back()->ICZ(i + 1);
        v.back()->LineParameters("0, 1, 1, 10, 0, 0, 10, 0, 0");
    }
    v[1]->Parameters(5, 0);  // w0 = 0
    v.push_back(createSource(2));
    v.back()->LineParameters("0, 1, 1, 5, 20, 2, 3, 0, 0, 0");
    std::vector<cZdroje*> sel;
    for (auto& s : v)
        sel.push_back(s.get());

    BatchResult r = computeForSelected(sel, DerivedValue::D, 101325);
    EXPECT_EQ(r.log, (std::vector<std::string>{"Pro zdroj 2 nelze vypočítat 'd', protože 'w0'=0", "Hotovo."}));
    EXPECT_TRUE(r.changed);
    EXPECT_NEAR(v[0]->Parameters(4), 1.128379, 1e-6);  // sqrt(4 / pi) for Vs = w0, ts = 0
    EXPECT_EQ(v[1]->Parameters(4), 0);
    EXPECT_EQ(v[3]->Parameters(4), 2);  // the area source is untouched

    r = computeForSelected({v[3].get()}, DerivedValue::Vs, 101325);
    EXPECT_EQ(r.log, std::vector<std::string>{"Hotovo."});
    EXPECT_FALSE(r.changed);

    v[2]->Parameters(4, 1e30f);  // Vs would lie beyond the float range
    v[2]->Parameters(5, 1e30f);
    const float before = v[2]->Parameters(2);
    r = computeForSelected({v[2].get()}, DerivedValue::Vs, 101325);
    EXPECT_EQ(r.log.size(), 2u);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(v[2]->Parameters(2), before);
}

}  // namespace
}  // namespace ovd
