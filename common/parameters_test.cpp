// Settings read and written through a declaration of their keys.
#include <gtest/gtest.h>

#include <array>

#include "common/file_io.h"
#include "common/parameters.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

enum class Shape { Square = 0, Round = 1, Oval = 2 };

struct Sample {
    std::string path;
    long count = 0;
    int choice = 0;
    double ratio = 0, speed = 0;
    bool on = false, owned = false;
    std::array<double, 2> limits{};
    Shape shape = Shape::Square;

    using Self = Sample;
    static const std::vector<Param<Sample>> kParams;
};

const std::vector<Param<Sample>> Sample::kParams = {
    param("A", "Cesta", &Self::path),
    param("A", "Pocet", &Self::count, "7"),
    param("A", "Volba", &Self::choice),
    param("B", "Pomer", &Self::ratio),
    param("B", "Rychlost", &Self::speed).fixed(),
    param("B", "Zapnuto", &Self::on, "1"),
    param("B", "Cizi", &Self::owned).readOnly(),
    param(
        "B", "Mez1", +[](Self& s) -> double& { return s.limits[0]; }),
    param(
        "B", "Mez2", +[](Self& s) -> double& { return s.limits[1]; }),
    param("B", "Tvar",
          IntAccess<Self>{[](const Self& s) { return static_cast<long>(s.shape); },
                          [](Self& s, long v) { s.shape = v == 1 || v == 2 ? static_cast<Shape>(v) : Shape::Square; }}),
};

TEST(Parameters, MissingOrEmptyKeysGiveTheDeclaredDefaults)
{
    TempDir dir;
    ASSERT_TRUE(writeFileAtomically(dir.path("p.ini"), "[A]\nPocet=\n[B]\nTvar=9\n"));
    SettingsFile file(dir.path("p.ini"));
    Sample s = loadSettings<Sample>(file);
    EXPECT_EQ(s.count, 7);
    EXPECT_TRUE(s.on);
    EXPECT_EQ(s.choice, 0);
    EXPECT_EQ(s.shape, Shape::Square);  // a type the tool does not know falls back
}

TEST(Parameters, SavedValuesReadBackAndKeepTheirWrittenForm)
{
    TempDir dir;
    SettingsFile file(dir.path("p.ini"));
    Sample s;
    s.path = "vstup.txt";
    s.count = 12;
    s.choice = 2;
    s.ratio = 0.25;
    s.speed = 2.5;
    s.on = false;
    s.owned = true;
    s.limits = {1.5, 40};
    s.shape = Shape::Oval;
    RecordingReporter rep;
    ASSERT_TRUE(saveSettings(s, file, rep));
    EXPECT_EQ(*readFileBytes(dir.path("p.ini")),
              "[A]\nCesta=vstup.txt\nPocet=12\nVolba=2\n[B]\nPomer=0.25\nRychlost=2.500000\nZapnuto=0\nMez1=1.5\n"
              "Mez2=40\nTvar=2\n");
    Sample back = loadSettings<Sample>(file);
    EXPECT_EQ(back.path, "vstup.txt");
    EXPECT_EQ(back.count, 12);
    EXPECT_EQ(back.choice, 2);
    EXPECT_EQ(back.speed, 2.5);
    EXPECT_FALSE(back.on);
    EXPECT_FALSE(back.owned);  // read only: never written
    EXPECT_EQ(back.limits[1], 40);
    EXPECT_EQ(back.shape, Shape::Oval);
}

TEST(Parameters, AFailedKeyDoesNotHoldBackTheOthers)
{
    TempDir dir;
    SettingsFile file(dir.path("no/such/folder/p.ini"));
    RecordingReporter rep;
    EXPECT_FALSE(saveSettings(Sample{}, file, rep));
    EXPECT_EQ(rep.messages.size(), 9u);  // every key but the read-only one
}

TEST(Parameters, AnUnreadableRealRefusesTheCheckedLoadNamingItsKey)
{
    TempDir dir;
    ASSERT_TRUE(writeFileAtomically(dir.path("p.ini"), "[B]\nPomer=3,5\nMez2=12 m\nRychlost=x\n"));
    SettingsFile file(dir.path("p.ini"));
    Sample s = loadSettings<Sample>(file);  // lenient: the defaults stand in
    EXPECT_EQ(s.ratio, 3.5);
    Outcome<Sample> checked = readSettings<Sample>(file);
    ASSERT_FALSE(checked);
    EXPECT_EQ(checked.problem().caption, "Chyba");
    // The first one in the declaration's order, with its section.
    EXPECT_NE(checked.problem().text.find("klíče Rychlost v sekci [B]"), std::string::npos) << checked.problem().text;
    ASSERT_TRUE(writeFileAtomically(dir.path("p.ini"), "[B]\nPomer=3,5\n"));
    Outcome<Sample> good = readSettings<Sample>(file);
    ASSERT_TRUE(good);
    EXPECT_EQ(good->ratio, 3.5);
}

}  // namespace
}  // namespace ovd
