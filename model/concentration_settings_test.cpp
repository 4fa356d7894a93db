// The settings of the concentration tools: every key is written, and a key that cannot be
// written is reported once and does not hold back the keys after it.
#include <gtest/gtest.h>

#include "model/concentration_settings.h"
#include "model/daily_settings.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

TEST(ConcentrationSettings, EachFailedKeyIsReportedOnceAndTheRestAreTried)
{
    TempDir dir;
    Project unwritable = Project::open(dir.path("no/such/folder/p.ovd"));
    RecordingReporter rep;
    EXPECT_FALSE(saveSettings(ConcentrationSettings{}, unwritable, rep));
    EXPECT_EQ(rep.messages.size(), 24u);  // the keys of the annual and maximum tool
    RecordingReporter daily;
    EXPECT_FALSE(saveSettings(DailySettings{}, unwritable, daily));
    EXPECT_EQ(daily.messages.size(), 14u);
    for (const auto& m : daily.messages)
        EXPECT_EQ(m.text, "Nepodařilo se zapsat do ini souboru");

    Project p = Project::open(dir.path("p.ovd"));
    ConcentrationSettings s;
    s.limits = {1.5, 0, 12.5};
    s.output = "rocni.dbf";
    ASSERT_TRUE(saveSettings(s, p, rep));
    ConcentrationSettings back = loadSettings<ConcentrationSettings>(p);
    EXPECT_EQ(back.limits[2], 12.5);
    EXPECT_EQ(back.output, "rocni.dbf");
}

}  // namespace
}  // namespace ovd
