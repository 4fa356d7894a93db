#include "wind_rose_table_file.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/file_io.h"
#include "common/paths.h"
#include "common/text.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// A rose that sums to 100 with two-decimal values and no calm in the fast rows.
WindRoseTable sampleRose()
{
    WindRoseTable t;
    t.comment = "  Stanice Dolní Lhota 1991-2000  ";
    double cents = 0;
    for (std::size_t r = 0; r < kWindRoseRows; ++r)
        for (std::size_t c = 0; c < kWindRoseColumns; ++c) {
            t.values[r][c] = (c == 8 && (r == 2 || r == 4)) ? 0 : 1.01 + 0.01 * static_cast<double>(r + c);
            cents += std::round(t.values[r][c] * 100);
        }
    t.values[0][8] += (10000 - cents) / 100;  // makes the total exactly 100.00
    return t;
}

TEST(WindRoseFile, ValueFieldsAreSixCharacters)
{
    EXPECT_EQ(formatWindRoseValue(12.35), " 12.35");
    EXPECT_EQ(formatWindRoseValue(-0.001), "  0.00");
    EXPECT_EQ(formatWindRoseValue(100), "100.00");
    EXPECT_EQ(formatWindRoseValue(-99.99), "-99.99");
    EXPECT_EQ(formatWindRoseValue(1000), std::nullopt);
    EXPECT_EQ(formatWindRoseValue(8.8e307), std::nullopt);  // overflows in hundredths
    EXPECT_EQ(formatWindRoseValue(999.996), std::nullopt);
    EXPECT_EQ(formatWindRoseValue(std::nan("")), std::nullopt);
}

TEST(WindRoseFile, WriterLayout)
{
    WindRoseTable t = sampleRose();
    Outcome<std::string> bytes = formatWindRoseFile(t);
    ASSERT_TRUE(bytes);
    ASSERT_FALSE(isValidUtf8(*bytes)) << "the comment is written in Windows-1250";
    std::string text = cp1250ToUtf8(*bytes);
    std::vector<std::string> lines = splitLines(text);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], ";Stanice Dolní Lhota 1991-2000");
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].size(), 62u) << lines[i];
    EXPECT_EQ(lines[3], "  1.03,  1.04,  1.05,  1.06,  1.07,  1.08,  1.09,  1.10,  0.00");
    EXPECT_EQ(text.size(), lines[0].size() + 11 * 62 + 12 * 2) << "every line ends with CR LF";

    t.comment = " \t ";
    lines = splitLines(*formatWindRoseFile(t));
    EXPECT_EQ(lines.size(), 11u) << "a blank comment writes no comment line";
    t.comment = "dva\r\nřádky";
    lines = splitLines(cp1250ToUtf8(*formatWindRoseFile(t)));
    EXPECT_EQ(lines[0], ";dva  řádky");
}

TEST(WindRoseFile, RoundTripKeepsValuesToTwoDecimals)
{
    TempDir dir;
    WindRoseTable t = sampleRose();
    t.values[5][3] = 1.234;
    t.values[6][3] = 5.678;
    RecordingReporter reporter({Answer::Yes});  // the total is no longer 100
    std::string path = dir.path("ruzice.txt");
    ASSERT_TRUE(saveWindRoseTable(path, t, false, reporter));
    WindRoseTable back;
    back.values[10][0] = 77;
    ASSERT_TRUE(loadWindRoseTable(path, back, reporter));
    EXPECT_EQ(back.comment, "Stanice Dolní Lhota 1991-2000");
    for (std::size_t r = 0; r < kWindRoseRows; ++r)
        for (std::size_t c = 0; c < kWindRoseColumns; ++c)
            EXPECT_DOUBLE_EQ(back.values[r][c], std::round(t.values[r][c] * 100) / 100) << r << "," << c;
    EXPECT_EQ(back.values[6][3], 5.68);
}

TEST(WindRoseFile, TotalOtherThan100NeedsConfirmation)
{
    TempDir dir;
    std::string path = dir.path("r.txt");
    WindRoseTable t = sampleRose();
    t.values[1][1] -= 0.01;  // 99.99
    EXPECT_FALSE(totalIs100(t));

    RecordingReporter safe;
    EXPECT_FALSE(saveWindRoseTable(path, t, true, safe));
    EXPECT_EQ(safe.said(), std::vector<std::string>{"Chyba…: Součet polí není roven 100 % !\nTabulku nemohu uložit."});
    EXPECT_FALSE(fileExists(path));

    RecordingReporter no({Answer::No});
    EXPECT_FALSE(saveWindRoseTable(path, t, false, no));
    EXPECT_EQ(
        no.said(),
        std::vector<std::string>{"Varování…: Součet polí není roven 100 % !\nChceš přesto uložit data do souboru ?"});
    EXPECT_FALSE(fileExists(path));

    RecordingReporter yes({Answer::Yes});
    EXPECT_TRUE(saveWindRoseTable(path, t, false, yes));
    EXPECT_TRUE(fileExists(path));
}

TEST(WindRoseFile, ValueOutsideTheFieldIsRefusedAndTheOldFileKept)
{
    TempDir dir;
    std::string path = dir.path("r.txt");
    ASSERT_TRUE(writeFileAtomically(path, "old"));
    WindRoseTable t = sampleRose();
    t.values[3][2] = 1000;
    RecordingReporter reporter({Answer::Yes});
    EXPECT_FALSE(saveWindRoseTable(path, t, false, reporter));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text,
              "Hodnota 1000 v řádku III.tř. v=1.7 m/s, sloupci E se nevejde do šesti znaků (lze zapsat -99.99 až "
              "999.99).\nTabulku nemohu uložit.");
    EXPECT_EQ(readFileBytes(path).value(), "old");

    RecordingReporter failing;
    EXPECT_FALSE(saveWindRoseTable(dir.path("no/such/folder.txt"), sampleRose(), true, failing));
    ASSERT_EQ(failing.messages.size(), 1u);
    EXPECT_EQ(failing.messages[0].caption, "Ulož soubor");
}

TEST(WindRoseFile, EditorReader)
{
    WindRoseTable t;
    t.comment = "old";
    for (auto& row : t.values)
        row.fill(9);
    std::string text = "5.5;x,2\r\n"                       // ";" after the first column: data
                       "  ;first\r\n;second\r\n"           // the first comment is kept
                       " 1.5 , x,,3,4,5,6,7,8,99,100\r\n"  // extra fields ignored
                       "\r\n"                              // a blank line is a row of zeros
                       "12,5\r\n";                         // a decimal comma splits the value
    parseWindRoseTable(text, t);
    EXPECT_EQ(t.comment, "first");
    EXPECT_EQ(t.values[0][0], 5.5);
    EXPECT_EQ(t.values[0][1], 2);
    EXPECT_EQ(t.values[1][0], 1.5);
    EXPECT_EQ(t.values[1][1], 0);
    EXPECT_EQ(t.values[1][8], 8);
    EXPECT_EQ(t.values[2][4], 0);
    EXPECT_EQ(t.values[3][1], 5);
    EXPECT_EQ(t.values[3][2], 0);
    EXPECT_EQ(t.values[4][0], 9) << "rows the file does not reach keep their values";

    RecordingReporter reporter;
    EXPECT_FALSE(loadWindRoseTable("/nonexistent/ruzice.txt", t, reporter));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].caption, "Otevření souboru");
}

}  // namespace
}  // namespace ovd
