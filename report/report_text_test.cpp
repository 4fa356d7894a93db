// The report's numbers and its HTML, without drawing.
#include <gtest/gtest.h>

#include "report/report_chapters.h"
#include "report/report_format.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

TEST(ReportText, NumbersHaveADecimalCommaAndNoNegativeZero)
{
    EXPECT_EQ(czechNumber(87.1694321, 6), "87,169432");
    EXPECT_EQ(czechNumber(-0.0001, 2), "0,00");
    EXPECT_EQ(czechNumber(-1014000, 1), "-1014000,0");
    EXPECT_EQ(czechNumber(1.0 / 0.0, 2), "-");
    EXPECT_EQ(plainValue(49.09831), "49,09831");
    EXPECT_EQ(plainValue(-866800), "-866800");
    EXPECT_EQ(plainValue(0.0025), "0,0025");
    EXPECT_EQ(plainValue(-0.0000001), "0");
}

TEST(ReportText, HtmlEscapesTextAndNamesPicturesInOrder)
{
    ReportDocument doc;
    doc.title = "Studie <A & B>";
    doc.created = "Vytvořeno dnes";
    doc.chapter("1 Studie");
    doc.paragraph("řádek 1\nřádek 2");
    ReportTable t;
    t.header = {"Soubor", "Velikost"};
    t.numeric = {false, true};
    t.rows = {{"a\"b.dbf", "12"}};
    doc.table(t);
    doc.picture({QImage(), "mapa", 160});
    doc.picture({QImage(), "růžice", 70});
    const std::string html = reportHtml(doc, "zprava_obrazky/");
    EXPECT_NE(html.find("<title>Studie &lt;A &amp; B&gt;</title>"), std::string::npos);
    EXPECT_NE(html.find("řádek 1<br>řádek 2"), std::string::npos);
    EXPECT_NE(html.find(">a&quot;b.dbf</td>"), std::string::npos);
    EXPECT_NE(html.find("align=\"right\" style=\"white-space: nowrap\">12</td>"), std::string::npos);
    EXPECT_LT(html.find("zprava_obrazky/obrazek_01.png"), html.find("zprava_obrazky/obrazek_02.png"));
    EXPECT_EQ(pictureFolderOf("/studie/zprava.html"), "/studie/zprava_obrazky/");
    EXPECT_EQ(pictureFolderOf("zprava"), "zprava_obrazky/");
}

// An input chapter whose file is not given or is not there says which, under its heading,
// and nothing else.
TEST(ReportText, InputChaptersSayWhatIsMissing)
{
    TempDir dir;
    Project project = Project::open(dir.path("p.ovd"));
    RecordingReporter r;
    project.writeString("Global", "VstReferBodBin", "chybi.bin", r);
    const Profile profile(dir.path("profile.ini"));
    const StudyData study;
    const std::vector<std::optional<MapModel>> maps;
    const ReportContext c{project, profile, study, maps, r};
    struct Case {
        void (*chapter)(ReportDocument&, const ReportContext&);
        const char* heading;
        const char* paragraph;
    };
    const Case cases[] = {
        {sourcesChapter, "2 Zdroje znečištění",
         "Binární soubor se zdroji studie nebyl zadán, kapitola proto nic neuvádí."},
        {pointsChapter, "3 Referenční body",
         "Binární soubor s referenčními body studie (chybi.bin) chybí, kapitola proto nic neuvádí."},
    };
    for (const Case& k : cases) {
        ReportDocument doc;
        k.chapter(doc, c);
        ASSERT_EQ(doc.blocks.size(), 2u) << k.heading;
        EXPECT_EQ(std::get<ReportHeading>(doc.blocks[0]).text, k.heading);
        EXPECT_EQ(std::get<ReportParagraph>(doc.blocks[1]).text, k.paragraph);
    }
}

}  // namespace
}  // namespace ovd
