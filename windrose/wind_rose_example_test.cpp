// The example study's wind rose: what the editor would save, and a valid input for the
// computation.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "testing/recording_reporter.h"
#include "wind_rose_reader.h"
#include "wind_rose_table_file.h"

namespace ovd {
namespace {

TEST(WindRoseExample, StudyRoseIsTheEditorsOutputAndAValidInput)
{
    std::string path = std::string(OVD_SOURCE_DIR) + "/examples/study/ruzice.txt";
    std::optional<std::string> bytes = readFileBytes(path);
    ASSERT_TRUE(bytes);
    WindRoseTable table;
    parseWindRoseTable(*bytes, table);
    EXPECT_FALSE(table.comment.empty());
    EXPECT_TRUE(totalIs100(table));
    for (std::size_t r : kRowsWithoutCalm)
        EXPECT_EQ(table.values[r][8], 0) << kWindRoseRowLabels[r];
    EXPECT_EQ(*formatWindRoseFile(table), *bytes) << "written again, the file is the same";

    RecordingReporter reporter;
    std::optional<WindRose> rose = readWindRose(path, reporter);
    ASSERT_TRUE(rose);
    EXPECT_TRUE(checkWindRoseSectors(*rose, 1.0, reporter));
    EXPECT_TRUE(reporter.messages.empty());
}

}  // namespace
}  // namespace ovd
