#include "wind_rose_reader.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

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

    // ";" anywhere in the first line makes it the comment.
    rose = parseWindRose("1,2,3,4,5,6,7,8;9\r\n" + elevenLines("9,9,9,9,9,9,9,9,1"), reporter);
    ASSERT_TRUE(rose);
    EXPECT_EQ(rose->rows[0].directions[0], 9);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(WindRoseReader, LayoutFailures)
{
    std::string ten = elevenLines(kEight).substr(kEight.size() + 2);
    std::string blankAmongThem = elevenLines(kEight);
    blankAmongThem.replace(0, kEight.size(), "");
    // Only the first line can be a comment: one further down is a data line without fields.
    std::string commentAmongThem = elevenLines(kEight);
    commentAmongThem.insert(kEight.size() + 2, ";poznámka\r\n");
    for (const std::string& text : {std::string(), ten, blankAmongThem, commentAmongThem}) {
        RecordingReporter reporter;
        EXPECT_FALSE(parseWindRose(text, reporter)) << text;
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages[0].caption, "Zpráva");
        EXPECT_EQ(reporter.messages[0].text, "Špatné rozložení vstupního souboru !!!");
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
    EXPECT_EQ(reporter.said(),
              (std::vector<std::string>{"Chyba: Nebyl zadán vstupní TXT soubor s větrnou růžicí !",
                                        "Chyba: Vstupní soubor s větrnou růžicí nelze otevřít !"}));
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

}  // namespace
}  // namespace ovd

namespace ovd {
namespace {

TEST(WindRoseReader, EveryFieldIsOneNumberNotNegative)
{
    struct Case {
        const char* field;
        const char* message;
    };
    const Case cases[] = {
        {"abc", "Hodnota \"abc\" v řádku 4, sloupci 3 souboru s větrnou růžicí není číslo!"},
        {" nan", "Hodnota \"nan\" v řádku 4, sloupci 3 souboru s větrnou růžicí není číslo!"},
        {"0.5 6", "Hodnota \"0.5 6\" v řádku 4, sloupci 3 souboru s větrnou růžicí není číslo!"},
        {"", "Hodnota \"\" v řádku 4, sloupci 3 souboru s větrnou růžicí není číslo!"},
        {"1e999", "Hodnota \"1e999\" v řádku 4, sloupci 3 souboru s větrnou růžicí není číslo!"},
        {"  -5", "Hodnota \"-5\" v řádku 4, sloupci 3 souboru s větrnou růžicí je záporná!"},
        {"1e308",
         "Hodnota \"1e308\" v řádku 4, sloupci 3 souboru s větrnou růžicí je větší než 100 % (četnost se "
         "udává v procentech roku)!"},
        {"100.01",
         "Hodnota \"100.01\" v řádku 4, sloupci 3 souboru s větrnou růžicí je větší než 100 % (četnost "
         "se udává v procentech roku)!"},
    };
    for (const Case& c : cases) {
        // A comment, two good lines, then the bad field in the third column of line 4.
        std::string text = ";komentář\r\n" + kEight + "\r\n" + kEight + "\r\n1,2," + c.field + ",4,5,6,7,8,0.5\r\n";
        for (int i = 0; i < 8; ++i)
            text += kEight + "\r\n";
        RecordingReporter reporter;
        EXPECT_FALSE(parseWindRose(text, reporter)) << c.field;
        ASSERT_EQ(reporter.messages.size(), 1u) << c.field;
        EXPECT_EQ(reporter.messages[0].caption, "Chyba");
        EXPECT_EQ(reporter.messages[0].text, c.message);
    }
}

TEST(WindRoseReader, ReadsOnlyTheLinesItNeedsAndRefusesOverlongOnesAndDevices)
{
    TempDir dir;
    // Eleven good lines after a byte-order mark, then anything: the rest is never looked at.
    writeFileAtomically(dir.path("ruzice.txt"), "\xEF\xBB\xBF" + elevenLines(kEight) + std::string(3 << 20, 'x'));
    RecordingReporter reporter;
    std::optional<WindRose> rose = readWindRose(dir.path("ruzice.txt"), reporter);
    ASSERT_TRUE(rose);
    EXPECT_EQ(rose->rows[0].directions[0], 1.0);
    EXPECT_EQ(rose->rows[10].calm, 0.5);
    EXPECT_TRUE(reporter.messages.empty());

    // A line over 1 MiB among the eleven is refused by its number, not read whole.
    writeFileAtomically(dir.path("ruzice.txt"),
                        kEight + "\r\n" + std::string(3 << 20, '1') + "\r\n" + elevenLines(kEight));
    EXPECT_FALSE(readWindRose(dir.path("ruzice.txt"), reporter));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, "Řádek 2 souboru " + dir.path("ruzice.txt") + " je delší než 1 MiB.");
    // A device would never end.
    EXPECT_FALSE(readWindRose("/dev/zero", reporter));
    EXPECT_EQ(reporter.messages.back().text, "Vstupní soubor s větrnou růžicí nelze otevřít !");
}

}  // namespace
}  // namespace ovd
