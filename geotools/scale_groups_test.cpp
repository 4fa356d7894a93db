#include <gtest/gtest.h>

#include <cmath>

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "geotools/scale_groups.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

using Rows = std::vector<std::vector<double>>;

std::string tableBytes(const std::vector<DbfField>& fields, const Rows& rows)
{
    std::string b = dbfHeaderBytes(fields, static_cast<std::uint32_t>(rows.size()), DbfDate{2026, 12, 9});
    for (const std::vector<double>& r : rows) {
        b += ' ';
        for (std::size_t i = 0; i < fields.size(); ++i)
            b += dbfFieldText(fields[i], r[i]);
    }
    return b + '\x1a';
}

std::vector<DbfField> pointFields(const char* first)
{
    return {{first, 10, 0, 0}, {"X_COORD", 15, 6, 0}, {"Y_COORD", 15, 6, 0}, {"Z_ELEV", 15, 6}, {"L_ELEV", 15, 6}};
}

std::vector<DbfField> annualFields()
{
    std::vector<DbfField> f = pointFields("ID");
    f.push_back({"CONC_AVG", 15, 6});
    f.push_back({"CM_MAX", 15, 6});
    return f;
}

std::vector<DbfField> shareFields(std::vector<std::string> groups)
{
    std::vector<DbfField> f = pointFields("ID_POINT");
    for (const std::string& g : groups)
        f.push_back({g, 15, 6, 0});
    return f;
}

// Three points: a mean split 70/30 between groups 1 and 12, one of group 12 alone whose
// shares carry the rounding residue of six decimals, and one with a mean of 0.
const Rows kAnnual = {{1, -100.5, 200.25, 300, 1.5, 12.345678, 40},
                      {2, -50, 200.25, 310, 1.5, 0.9, 3},
                      {3, 0, 200.25, 320, 1.5, 0, 0}};
const Rows kShares = {{1, -100.5, 200.25, 300, 1.5, 70, 30},
                      {2, -50, 200.25, 310, 1.5, 0.000001, 99.999998},
                      {3, 0, 200.25, 320, 1.5, 0, 0}};

DbfTable parsed(const std::string& bytes)
{
    return DbfTable::parse(bytes).value();
}

struct Tables {
    DbfTable annual = parsed(tableBytes(annualFields(), kAnnual));
    DbfTable shares = parsed(tableBytes(shareFields({"GR_000001", "GR_000012"}), kShares));

    Outcome<std::vector<ScaledPoint>> scale(std::string_view factors) const
    {
        auto f = parseGroupFactors(factors);
        if (!f)
            return f.problem();
        return scaleGroupMeans(annual, "rocni.dbf", shares, "podily.dbf", *f);
    }
};

TEST(ScaleGroups, FactorListsAsUsersWriteThem)
{
    auto f = parseGroupFactors(" 1 = 0 ; GR_000012=1,5;gr_000007=2.25;");
    ASSERT_TRUE(f) << f.problem().text;
    ASSERT_EQ(f->size(), 3u);
    EXPECT_EQ((*f)[0].group, 1);
    EXPECT_EQ((*f)[0].factor, 0.0);
    EXPECT_EQ((*f)[1].group, 12);
    EXPECT_EQ((*f)[1].factor, 1.5);
    EXPECT_EQ((*f)[2].group, 7);
    EXPECT_EQ((*f)[2].factor, 2.25);
}

TEST(ScaleGroups, FactorListsThatAreRefusedNameTheirEntry)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "Nebyly zadány faktory skupin zdrojů"},
        {" ; ", "Nebyly zadány faktory skupin zdrojů"},
        {"1=1;2", "Zadání faktoru \"2\" nemá tvar SKUPINA=FAKTOR!"},
        {"kotelny=1", "Skupina \"kotelny\""},
        {"GR_12=1", "Skupina \"GR_12\""},
        {"1234567=1", "Skupina \"1234567\""},
        {"2=-0.5", "Faktor skupiny 2 \"-0.5\" není číslo větší nebo rovné 0!"},
        {"2=", "Faktor skupiny 2 \"\""},
        {"2=nan", "Faktor skupiny 2 \"nan\""},
        {"2=1e999", "Faktor skupiny 2 \"1e999\""},
        {"2=1,5,0", "Faktor skupiny 2 \"1,5,0\""},
        {"2=1;GR_000002=3", "Skupina GR_000002 je v zadání faktorů vícekrát!"},
    };
    for (const auto& [text, message] : cases) {
        auto f = parseGroupFactors(text);
        ASSERT_FALSE(f) << text;
        EXPECT_NE(f.problem().text.find(message), std::string::npos) << text << ": " << f.problem().text;
    }
}

TEST(ScaleGroups, FactorsOfOneKeepTheMeanExactlyAndZeroClosesEverything)
{
    Tables t;
    auto same = t.scale("1=1;12=1");
    ASSERT_TRUE(same) << same.problem().text;
    ASSERT_EQ(same->size(), 3u);
    for (const ScaledPoint& p : *same)
        EXPECT_EQ(p.scaled, p.original);
    EXPECT_EQ((*same)[0].first, "         1");
    EXPECT_EQ((*same)[1].x, -50.0);
    EXPECT_EQ((*same)[1].z, 310.0);

    auto closed = t.scale("1=0;12=0");
    ASSERT_TRUE(closed);
    for (const ScaledPoint& p : *closed) {
        EXPECT_GE(p.scaled, 0.0);
        EXPECT_LE(p.scaled, 1e-6 * p.original);
    }
}

TEST(ScaleGroups, OneGroupChangedMovesOnlyItsShare)
{
    Tables t;
    auto doubled = t.scale("1=2");
    ASSERT_TRUE(doubled);
    EXPECT_NEAR((*doubled)[0].scaled, 12.345678 * 1.7, 1e-12);
    EXPECT_NEAR((*doubled)[1].scaled, 0.9 * (1 + 0.000001 / 100), 1e-15);
    EXPECT_EQ((*doubled)[2].scaled, 0.0);  // nothing to scale where the mean is 0

    auto closed = t.scale("GR_000012=0");
    ASSERT_TRUE(closed);
    EXPECT_NEAR((*closed)[0].scaled, 12.345678 * 0.7, 1e-12);
    EXPECT_NEAR((*closed)[1].scaled, 0.9 * 0.000002 / 100, 1e-15);  // the residue stays with no group
}

TEST(ScaleGroups, TablesThatDoNotBelongTogetherAreRefusedAtTheFirstMismatch)
{
    auto refusal = [](const DbfTable& annual, const DbfTable& shares, std::string_view factors = "1=2") {
        auto f = parseGroupFactors(factors);
        auto r = scaleGroupMeans(annual, "rocni.dbf", shares, "podily.dbf", *f);
        return r ? std::string("accepted") : r.problem().text;
    };
    Tables t;
    const auto has = [](const std::string& text, const char* part) {
        return text.find(part) != std::string::npos;
    };

    Rows shorter(kShares.begin(), kShares.begin() + 2);
    std::string text = refusal(t.annual, parsed(tableBytes(shareFields({"GR_000001", "GR_000012"}), shorter)));
    EXPECT_TRUE(has(text, "nejsou výsledky téže studie: první má 3 body, druhý 2")) << text;

    Rows moved = kShares;
    moved[1][3] = 311;  // another altitude of the second point
    text = refusal(t.annual, parsed(tableBytes(shareFields({"GR_000001", "GR_000012"}), moved)));
    EXPECT_TRUE(has(text, "2. záznam je v prvním bod 2 (X_COORD -50.000000")) << text;
    EXPECT_TRUE(has(text, "Z_ELEV 311.000000")) << text;

    Rows renumbered = kShares;
    renumbered[2][0] = 4;
    text = refusal(t.annual, parsed(tableBytes(shareFields({"GR_000001", "GR_000012"}), renumbered)));
    EXPECT_TRUE(has(text, "3. záznam je v prvním bod 3")) << text;

    text = refusal(t.annual, t.shares, "1=2;5=0");
    EXPECT_TRUE(has(text, "Skupina 5 není v tabulce podílů skupin zdrojů podily.dbf (jsou v ní skupiny 1, 12)")) << text;

    Rows otherRun = kShares;
    otherRun[0][5] = 0;  // point 1: shares of a run where its mean was 0
    otherRun[0][6] = 0;
    text = refusal(t.annual, parsed(tableBytes(shareFields({"GR_000001", "GR_000012"}), otherRun)));
    EXPECT_TRUE(has(text, "nepatří k výsledkům v souboru rocni.dbf: bod 1")) << text;
    EXPECT_TRUE(has(text, "součet podílů skupin je ale 0.000000 %")) << text;

    std::vector<DbfField> maxShares = pointFields("ID_POINT");
    maxShares.push_back({"CONC_MAX", 15, 6});
    maxShares.push_back({"GR_000001", 15, 6, 0});
    text = refusal(t.annual, parsed(tableBytes(maxShares, {{1, -100.5, 200.25, 300, 1.5, 9, 100}})));
    EXPECT_TRUE(has(text, "podíly skupin zdrojů na maximální koncentraci")) << text;

    text = refusal(t.annual, t.annual);
    EXPECT_TRUE(has(text, "Soubor podily.dbf není tabulkou podílů skupin zdrojů")) << text;
    text = refusal(t.shares, t.shares);
    EXPECT_TRUE(has(text, "Soubor rocni.dbf není tabulkou ročních koncentrací")) << text;
    std::vector<DbfField> maxTable = pointFields("ID_POINT");
    maxTable.push_back({"CONC_MAX", 15, 6});
    maxTable.push_back({"CONC_AVG", 15, 6});
    text = refusal(parsed(tableBytes(maxTable, {{1, -100.5, 200.25, 300, 1.5, 9, 1}})), t.shares);
    EXPECT_TRUE(has(text, "je tabulkou maximálních koncentrací")) << text;

    // A value that overflowed its field is no number.
    std::string bytes = tableBytes(annualFields(), kAnnual);
    const std::size_t secondMean = dbfHeaderLength(7) + dbfRecordLength(annualFields()) + 1 + 10 + 4 * 15;
    bytes.replace(secondMean, 15, std::string(15, '*'));
    text = refusal(parsed(bytes), t.shares);
    EXPECT_TRUE(has(text, "Soubor rocni.dbf: hodnota pole CONC_AVG v 2. záznamu není číslo")) << text;
}

// The whole tool in a folder: files written, files refused, nothing half done.
class ScaleGroupsTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeFileAtomically(dir.path("rocni.dbf"), tableBytes(annualFields(), kAnnual));
        writeFileAtomically(dir.path("podily.dbf"), tableBytes(shareFields({"GR_000001", "GR_000012"}), kShares));
        writeFileAtomically(dir.path("study.ovd"), "[Global]\n");
        s = {dir.path("podily.dbf"), dir.path("rocni.dbf"), "12=0", dir.path("zmena.dbf")};
    }
    ToolStatus run(ScaleGroupsSummary* summary = nullptr)
    {
        return scaleGroups(s, {{"soubor projektu", dir.path("study.ovd")}}, RunContext{r, false}, summary);
    }
    TempDir dir;
    RecordingReporter r;
    ScaleGroupsSettings s;
};

TEST_F(ScaleGroupsTool, WritesTheChangedMeansAndSaysWhatItDoesNotRecompute)
{
    ScaleGroupsSummary summary;
    ASSERT_EQ(run(&summary), ToolStatus::Done);
    EXPECT_EQ(summary.points, 3u);
    EXPECT_NEAR(summary.lowestChange, -12.345678 * 0.3, 1e-12);
    EXPECT_NEAR(summary.highestChange, 0.0, 1e-15);
    DbfTable out = DbfTable::parse(readFileBytes(dir.path("zmena.dbf")).value()).value();
    const char* names[] = {"ID", "X_COORD", "Y_COORD", "Z_ELEV", "L_ELEV", "PUVODNI", "UPRAVENA", "ROZDIL"};
    ASSERT_EQ(out.fields().size(), std::size(names));
    for (std::size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(out.findField(names[i]), i) << names[i];
    EXPECT_EQ(out.fields()[0].length, 10);
    EXPECT_EQ(out.fields()[7].length, 15);
    EXPECT_EQ(out.fields()[7].decimals, 6);
    EXPECT_EQ(out.recordLength(), 1 + 10 + 7 * 15);
    ASSERT_EQ(out.recordCount(), 3u);
    EXPECT_EQ(out.fieldText(0, 0), "         1");
    EXPECT_EQ(out.fieldText(0, 5), "      12.345678");
    EXPECT_EQ(out.fieldText(0, 6), "       8.641975");  // 12.345678 * 0.7
    EXPECT_EQ(out.fieldText(0, 7), "      -3.703703");
    EXPECT_EQ(out.fieldText(2, 7), "       0.000000");
    std::string log = readFileBytes(dir.path(kScaleGroupsLogName)).value();
    EXPECT_NE(log.find("GR_000012 : 0.000000\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Maxima a doby prekroceni se takto neprepocitavaji"), std::string::npos) << log;
    EXPECT_NE(r.lastStatus(0).find("Maxima a doby překročení se takto nepřepočítávají"), std::string::npos);
}

TEST_F(ScaleGroupsTool, RefusedRunsWriteNothing)
{
    const std::vector<std::string> before = dir.names();
    auto refused = [&](const char* what, const std::string& message) {
        r.messages.clear();
        EXPECT_EQ(run(), ToolStatus::Failed) << what;
        EXPECT_TRUE(!r.messages.empty() && r.messages.back().text.find(message) != std::string::npos)
            << what << ": " << (r.messages.empty() ? "no message" : r.messages.back().text);
        EXPECT_EQ(dir.names(), before) << what;
        SetUp();
    };
    s.output = dir.path("study.ovd");
    refused("output on the project", "je zadán jako soubor projektu i jako výstupní DBF soubor");
    s.output = dir.path("rocni.dbf");
    refused("output on an input", "je zadán jako vstupní DBF soubor s ročními koncentracemi i jako výstupní");
    s.output = dir.path(kScaleGroupsLogName);
    refused("output on the run log", "i jako soubor s průběhem přepočtu");
    s.factors = "3=1";
    refused("unknown group", "Skupina 3 není v tabulce podílů");
    s.factors = "12=-1";
    refused("negative factor", "není číslo větší nebo rovné 0");
    s.shares = dir.path("neni.dbf");
    refused("missing input", "neni.dbf nelze otevřít");
    s.output.clear();
    refused("no output", "Nebyl zadán výstupní DBF soubor");
}

TEST_F(ScaleGroupsTool, ADeclinedOverwriteKeepsTheOldOutput)
{
    writeFileAtomically(dir.path("zmena.dbf"), "old");
    r.answerNext({Answer::No});
    EXPECT_EQ(run(), ToolStatus::Declined);
    EXPECT_EQ(readFileBytes(dir.path("zmena.dbf")).value(), "old");
    EXPECT_FALSE(fileExists(dir.path(kScaleGroupsLogName)));
}

}  // namespace
}  // namespace ovd
