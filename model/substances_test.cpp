#include "substances.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

using ::testing::ElementsAre;

TEST(Substances, FreshProfileHasTheTwoDefaults)
{
    TempDir dir;
    Profile profile(dir.path("profile.ini"));
    SubstanceList list = SubstanceList::load(profile);
    EXPECT_THAT(list.entries(), ElementsAre("oxid_siřičitý; 2; 60.0, 40.0, 20.0", "oxidy_dusíku; 2; 80.0, 60.0, 40.0"));
    std::optional<Substance> first = list.select(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->name, "oxid_siřičitý");
    EXPECT_EQ(first->substanceClass, 2);
    EXPECT_THAT(first->limits, ElementsAre(60, 40, 20));
}

TEST(Substances, AddFormatsOneDecimalAndSurvivesSaving)
{
    TempDir dir;
    Profile profile(dir.path("profile.ini"));
    RecordingReporter reporter;
    SubstanceList list = SubstanceList::load(profile);
    EXPECT_EQ(list.add({"benzen", 1, {12.34, 0, 7}}, reporter), 2u);
    ASSERT_TRUE(list.save(profile, reporter));
    EXPECT_EQ(profile.readString("Latky", "SeznamLatek"),
              "oxid_siřičitý; 2; 60.0, 40.0, 20.0|oxidy_dusíku; 2; 80.0, 60.0, 40.0|benzen; 1; 12.3, 0.0, 7.0|");
    SubstanceList again = SubstanceList::load(profile);
    EXPECT_EQ(again.entries(), list.entries());
    std::optional<Substance> b = again.select(2);
    ASSERT_TRUE(b);
    EXPECT_THAT(b->limits, ElementsAre(12.3, 0, 7));
}

TEST(Substances, NamesThatWouldBreakTheListAreRefused)
{
    RecordingReporter reporter;
    SubstanceList list = SubstanceList::fromValue("");
    EXPECT_FALSE(list.add({"a;b", 1, {}}, reporter));
    EXPECT_FALSE(list.add({"a|b", 1, {}}, reporter));
    EXPECT_TRUE(list.entries().empty());
    ASSERT_EQ(reporter.messages.size(), 2u);
    EXPECT_EQ(reporter.messages[0].caption, "Chyba");
    EXPECT_EQ(reporter.messages[0].text, kBadSubstanceName);
}

TEST(Substances, DeletingEverythingKeepsAnEmptyList)
{
    TempDir dir;
    Profile profile(dir.path("profile.ini"));
    RecordingReporter reporter;
    SubstanceList list = SubstanceList::load(profile);
    EXPECT_TRUE(list.remove(1));
    EXPECT_TRUE(list.remove(0));
    ASSERT_TRUE(list.save(profile, reporter));
    SubstanceList again = SubstanceList::load(profile);
    EXPECT_TRUE(again.entries().empty()) << "the defaults come back only when the key is missing";
    EXPECT_EQ(again.select(0), std::nullopt);
}

TEST(Substances, EntryParsingAndSelection)
{
    SubstanceList list = SubstanceList::fromValue("PM10 částice; 3; 50.0, 0.5, 1e3|x;2;7.5|x; 1; abc, 2|bad; 4; 1|");
    std::optional<Substance> s = list.select(0);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->name, "PM10 částice");
    EXPECT_EQ(s->substanceClass, 3);
    EXPECT_THAT(s->limits, ElementsAre(50, 0.5, 1000));
    // Missing or unreadable limits read as 0, like the C library would.
    EXPECT_THAT(list.select(1)->limits, ElementsAre(7.5, 0, 0));
    EXPECT_THAT(list.select(2)->limits, ElementsAre(0, 2, 0));
    EXPECT_FALSE(list.select(3)) << "class outside 1 to 3";
    EXPECT_FALSE(parseSubstanceEntry("no separators"));
    // A stored position past the end (after deletions) selects the first entry.
    EXPECT_EQ(list.selectedIndex(4), 0u);
    EXPECT_EQ(list.selectedIndex(-1), 0u);
}

TEST(Substances, TheListGrowsWithoutLimit)
{
    TempDir dir;
    Profile profile(dir.path("profile.ini"));
    RecordingReporter reporter;
    SubstanceList list = SubstanceList::fromValue("");
    for (int i = 0; i < 400; ++i)
        ASSERT_TRUE(list.add({"látka_s_dlouhým_názvem_" + std::to_string(i), 1 + i % 3, {i * 1.0, 0, 0}}, reporter));
    ASSERT_TRUE(list.save(profile, reporter));
    SubstanceList again = SubstanceList::load(profile);
    ASSERT_EQ(again.entries().size(), 400u);
    EXPECT_EQ(again.select(399)->name, "látka_s_dlouhým_názvem_399");
    EXPECT_EQ(again.select(399)->limits[0], 399);
}

}  // namespace
}  // namespace ovd
