#include "wind_rose_reader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/recording_reporter.h"
#include "common/test_support.h"
#include "common/file_io.h"
#include "wind_rose_table_file.h"

namespace ovd {
namespace {

// Eleven data lines of the given line, each ending with CR LF.
std::string elevenLines(const std::string& line)
{
    std::string text;
    for (int i = 0; i < 11; ++i)
        text += line + "\r\n";
    return text;
}

const std::string kEight = "  1.00,  2.00,  3.00,  4.00,  5.00,  6.00,  7.00,  8.00,  0.50";

TEST(WindRoseReader, FirstLineIsACommentOnlyWhenItHasASemicolon)
{
    RecordingReporter reporter;
    std::optional<WindRose> rose = parseWindRose(elevenLines(kEight), reporter);
    ASSERT_TRUE(rose) << "no comment: the first line is data";
    EXPECT_EQ(rose->rows[0].directions, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(rose->rows[0].calm, 0.5);
    EXPECT_EQ(rose->rows[10].sectorWidth(), 45);

    // ";" anywhere in the first line makes it the comment.
    rose = parseWindRose("1,2,3,4,5,6,7,8;9\r\n" + elevenLines("9,9,9,9,9,9,9,9,1"), reporter);
    ASSERT_TRUE(rose);
    EXPECT_EQ(rose->rows[0].directions[0], 9);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(WindRoseReader, ACommentAmongTheDataBreaksTheLayout)
{
    std::string text = elevenLines(kEight);
    text.insert(text.find('\n') + 1, ";poznámka\r\n");
    RecordingReporter reporter;
    EXPECT_FALSE(parseWindRose(text, reporter));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].caption, "Zpráva");
    EXPECT_EQ(reporter.messages[0].text, "Špatné rozložení vstupního souboru !!!");
}

TEST(WindRoseReader, LayoutFailures)
{
    std::string ten = elevenLines(kEight).substr(kEight.size() + 2);
    std::string blankAmongThem = elevenLines(kEight);
    blankAmongThem.replace(0, kEight.size(), "");
    for (const std::string& text : std::vector<std::string>{"", ";jen komentář\r\n", ten, blankAmongThem}) {
        RecordingReporter reporter;
        EXPECT_FALSE(parseWindRose(text, reporter)) << text;
        EXPECT_TRUE(reporter.hasMessage(kBadWindRoseLayout)) << text;
    }
    // The last line without its line end is still read.
    RecordingReporter reporter;
    std::string unterminated = elevenLines(kEight);
    unterminated.resize(unterminated.size() - 2);
    EXPECT_TRUE(parseWindRose(unterminated, reporter));
}

TEST(WindRoseReader, MissingFiles)
{
    RecordingReporter reporter;
    EXPECT_FALSE(readWindRose("", reporter));
    EXPECT_FALSE(readWindRose("/nonexistent/ruzice.txt", reporter));
    ASSERT_EQ(reporter.messages.size(), 2u);
    EXPECT_EQ(reporter.messages[0].text, "Nebyl zadán vstupní TXT soubor s větrnou růžicí !");
    EXPECT_EQ(reporter.messages[1].text, "Vstupní soubor s větrnou růžicí nelze otevřít !");
    EXPECT_EQ(reporter.messages[1].caption, "Chyba");
}

TEST(WindRoseReader, ThirteenValuesAreTwelveDirectionsOfThirtyDegrees)
{
    RecordingReporter reporter;
    std::optional<WindRose> rose = parseWindRose(elevenLines("1,1,1,1,1,1,1,1,1,1,1,1,0.4"), reporter);
    ASSERT_TRUE(rose);
    EXPECT_EQ(rose->rows[4].directions.size(), 12u);
    EXPECT_EQ(rose->rows[4].sectorWidth(), 30);
    EXPECT_TRUE(checkWindRoseSectors(*rose, 3, reporter));
    EXPECT_FALSE(checkWindRoseSectors(*rose, 45, reporter));
    EXPECT_EQ(reporter.messages.back().text, "Krok výpočtu je větší než rozdělený úsek růžice ( 30) !!!");

    // A decimal comma splits a value: ten fields, nine directions, 40-degree sectors.
    rose = parseWindRose(elevenLines("1,2,3,4,5,6,7,8,0,5"), reporter);
    ASSERT_TRUE(rose);
    EXPECT_EQ(rose->rows[0].directions.size(), 9u);
}

TEST(WindRoseReader, SectorsAgainstTheStep)
{
    auto roseOf = [](int directions) {
        WindRose rose;
        for (WindRoseRow& row : rose.rows)
            row.directions.assign(static_cast<std::size_t>(directions), 1.0);
        return rose;
    };
    struct Case {
        int directions;
        double step;
        const char* message;  // empty when accepted
    };
    const Case cases[] = {
        {16, 1, "Počet sloupců růžice ( 16) nedělí 360 !!!"},
        {8, 3, ""},
        {8, 45, ""},
        {8, 0.5, ""},
        {36, 3, "Krok výpočtu nedělí vytvořený výřez větrné růžice ( 10) !!!"},
        {36, 15, "Krok výpočtu je větší než rozdělený úsek růžice ( 10) !!!"},
        {720, 0.5, "Počet sloupců růžice ( 720) nedělí 360 !!!"},
        {360, 0.5, ""},
    };
    for (const Case& c : cases) {
        RecordingReporter reporter;
        bool ok = checkWindRoseSectors(roseOf(c.directions), c.step, reporter);
        EXPECT_EQ(ok, *c.message == '\0') << c.directions << " / " << c.step;
        if (*c.message) {
            ASSERT_EQ(reporter.messages.size(), 1u);
            EXPECT_EQ(reporter.messages[0].text, c.message);
            EXPECT_EQ(reporter.messages[0].caption, "Chyba");
        }
    }
    // Rows are checked one by one: one bad row stops the run.
    WindRose mixed = roseOf(8);
    mixed.rows[7].directions.assign(7, 1.0);
    RecordingReporter reporter;
    EXPECT_FALSE(checkWindRoseSectors(mixed, 1, reporter));
    EXPECT_TRUE(reporter.hasMessage("Počet sloupců růžice ( 7) nedělí 360 !!!"));
}

TEST(WindRoseReader, ReadsWhatTheEditorWrote)
{
    TempDir dir;
    WindRoseTable t;
    t.comment = "Ostrava; 2000";
    for (std::size_t r = 0; r < kWindRoseRows; ++r)
        for (std::size_t c = 0; c < kWindRoseColumns; ++c)
            t.values[r][c] = 0.5 + 0.113 * static_cast<double>(r * 9 + c);
    RecordingReporter reporter({Answer::Yes});
    std::string path = dir.path("ruzice.txt");
    ASSERT_TRUE(saveWindRoseTable(path, t, false, reporter));
    std::optional<WindRose> rose = readWindRose(path, reporter);
    ASSERT_TRUE(rose);
    for (std::size_t r = 0; r < kWindRoseRows; ++r) {
        ASSERT_EQ(rose->rows[r].directions.size(), 8u);
        for (std::size_t c = 0; c < 8; ++c)
            EXPECT_DOUBLE_EQ(rose->rows[r].directions[c], std::round(t.values[r][c] * 100) / 100);
        EXPECT_DOUBLE_EQ(rose->rows[r].calm, std::round(t.values[r][8] * 100) / 100);
    }
}

}  // namespace
}  // namespace ovd
