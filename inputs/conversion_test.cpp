#include "conversion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "binary_inputs.h"
#include "common/file_io.h"
#include "common/le_io.h"
#include "testing/conversion_fixture.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

class ConversionTest : public ConversionFolder {
protected:
    ToolStatus convert(const ConversionSettings& s) { return convertTextInputs(s, RunContext{rep, false}, &summary); }
    std::string bytes(const std::string& name) { return readFileBytes(dir.path(name)).value_or("<missing>"); }

    // The three gas inputs written and converted with the usual settings.
    ToolStatus convertTexts(const std::string& points, const std::string& sources, const std::string& description)
    {
        write("body.txt", points);
        write("zdroje.txt", sources);
        write("popis.txt", description);
        return convert(settings());
    }

    RecordingReporter rep{{Answer::Yes, Answer::Yes}};
    ConversionSummary summary;
};

// The record laid out field by field, independent of the writer under test.
std::string gasRecord(int number, double x, double y, double z, short type, int cluster, int group, int index,
                      std::array<double, 9> v)
{
    std::string out;
    putI32(out, number);
    putF64(out, x);
    putF64(out, y);
    putF64(out, z);
    putI16(out, type);
    putI32(out, cluster);
    putI32(out, group);
    putI32(out, index);
    for (double d : v)
        putF64(out, d);
    return out;
}

std::string header(int count, int columns)
{
    std::string out;
    putI32(out, count);
    putI32(out, columns);
    return out;
}

TEST_F(ConversionTest, GasUnsortedByteExactWithZeroFillAndGroupIndexes)
{
    ASSERT_EQ(convertTexts(";SOUBOR\r\n1,10,20,300,1.5;\r\n0,1,1,1,1;\r\n\r\n2,11.5,21,301,2;x\r\n",
                           "1,100,200,300,1,0,7;\r\n2,101,201,301,2,5,3;\r\n3,102,202,302,3,0,7;\r\n4,1,1,1,1,0,9;\r\n",
                           ";POPIS\r\n1,1,2,3,4,5,6,0.5,8,0\r\n3,9,8,7,6,5,4,3,0.25,24;\r\n"),
              ToolStatus::Done);

    std::string points = header(2, 5);
    points += std::string("\x01\0\0\0", 4);
    putF64(points, 10);
    putF64(points, 20);
    putF64(points, 300);
    putF64(points, 1.5);
    putI32(points, 2);
    putF64(points, 11.5);
    putF64(points, 21);
    putF64(points, 301);
    putF64(points, 2);
    EXPECT_EQ(bytes("body.bin"), points);

    std::string sources = header(4, 13);
    sources += gasRecord(1, 100, 200, 300, 1, 0, 7, 0, {1, 2, 3, 4, 5, 6, 0.5, 8, 0});
    sources += gasRecord(2, 101, 201, 301, 2, 5, 3, 1, {});  // no description: zeros
    sources += gasRecord(3, 102, 202, 302, 3, 0, 7, 0, {9, 8, 7, 6, 5, 4, 3, 0.25, 24});
    sources += gasRecord(4, 1, 1, 1, 1, 0, 9, 2, {});
    EXPECT_EQ(bytes("zdroje.bin"), sources);
    EXPECT_EQ(sources.size(), 8u + 4 * kGasSourceRecordSize);
    EXPECT_EQ(summary.status[0], "Nesetříděno, zapsáno 2 ref. bodů.");
    EXPECT_EQ(summary.status[1], "Nesetříděno, zapsáno 4 zdrojů (z toho 2 doplněno nulami).");
    EXPECT_EQ(rep.lastStatus(1), summary.status[1]);

    std::string log = bytes("prub_mod.tmp");
    EXPECT_NE(log.find("Hlavicka souboru se zdroji :\n    Pocet radku   : 4\n    Pocet sloupcu : 13\n\n"),
              std::string::npos);
    EXPECT_NE(log.find("\nPocet zapsanych nesetridenych vet : 4\n\n\n"), std::string::npos);
}

TEST_F(ConversionTest, DescriptionOutOfOrderStaysPendingAndBlocks)
{
    ASSERT_EQ(
        convertTexts("1,0,0,0,0;\n", "1,0,0,0,1,0,0;\n2,0,0,0,1,0,0;\n", "2,1,1,1,1,1,1,1,1,1\n1,2,2,2,2,2,2,2,2,2\n"),
        ToolStatus::Done);
    auto file = readSourcesFile(dir.path("zdroje.bin"));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->records.size(), 2u);
    EXPECT_EQ(file->records[0].values[0], 0.0);
    EXPECT_EQ(file->records[1].values[0], 1.0);
    EXPECT_EQ(summary.zeroFilled, 1);
}

TEST_F(ConversionTest, UnreadableRecordsAreSkippedCountedAndLogged)
{
    ASSERT_EQ(convertTexts("1,0,0,0,0;\n2,0,0,0;\n3,nan,0,0,0;\n4,1,1,1,1,9;\n", "1,0,0,0,1,0,0;\n2,0,0,x,1,0,0;\n",
                           "1,2,2,2,2,2,2,2,2,2\n"),
              ToolStatus::Done);
    auto points = readPointsFile(dir.path("body.bin"));
    ASSERT_TRUE(points);
    ASSERT_EQ(points->size(), 2u);  // the extra field on point 4 does not stop it
    EXPECT_EQ((*points)[1].number, 4);
    EXPECT_EQ(summary.sources, 1);
    EXPECT_EQ(summary.skippedLines, 3);
    std::string log = bytes("prub_mod.tmp");
    EXPECT_NE(log.find("Radek 2 souboru s referencnimi body nelze precist, neprevedeno : 2,0,0,0;"), std::string::npos);
    EXPECT_NE(log.find("Radek 2 souboru se zdroji nelze precist, neprevedeno : 2,0,0,x,1,0,0;"), std::string::npos);
    ASSERT_EQ(rep.messages.size(), 1u);
    EXPECT_EQ(rep.messages[0].caption, "Upozornění");
}

TEST_F(ConversionTest, UnreadableCoordinatesLineUsesUpItsOwnDescriptionOnly)
{
    write("body.txt", "1,0,0,0,0;\n");
    // 2 is unreadable and has its description; 4 is unreadable without one (3 stays
    // pending for source 3); 3000000000 has no readable number and uses up the next one.
    write("zdroje.txt",
          "1,0,0,0,1,0,0;\n2,abc,1,1,1,0,1;\n4,x;\n3,0,0,0,1,0,0;\n"
          "3000000000,0,0,0,1,0,0;\n5,0,0,0,1,0,0;\n");
    write("popis.txt",
          "1,1,1,1,1,1,1,1,1,1\n2,2,2,2,2,2,2,2,2,2\n3,3,3,3,3,3,3,3,3,3\n"
          "9,9,9,9,9,9,9,9,9,9\n5,5,5,5,5,5,5,5,5,5\n");
    write("prach.txt", "1,1000,0,0\n2,2000,0,0\n3,3000,0,0\n9,9000,0,0\n5,5000,0,0\n");
    write("skupiny.spr", ";skupiny\n");
    for (bool dust : {false, true}) {
        ASSERT_EQ(convert(settings(dust)), ToolStatus::Done);
        auto file = readSourcesFile(dir.path("zdroje.bin"));
        ASSERT_TRUE(file);
        ASSERT_EQ(file->records.size(), 3u);
        for (const SourceRecord& s : file->records) {
            EXPECT_EQ(s.values[0], s.number) << s.number;
            if (dust) {
                EXPECT_EQ(s.density, 1000.0 * s.number) << s.number;
            }
        }
        EXPECT_EQ(summary.zeroFilled, 0);
        EXPECT_EQ(summary.skippedLines, 3);
    }
}

TEST_F(ConversionTest, SortedByAlfaInTextOrderWithSixDecimals)
{
    write("body.txt", "1,0,0,0,0;\n");
    write("zdroje.txt", "1,0.1234567,0,0,1,0,0;\n2,0,0,0,1,0,0;\n3,0,0,0,3,0,0;\n4,0,0,0,1,0,0;\n5,0,0,0,1,0,0;\n");
    write("popis.txt",
          "1,0.123456789012345678,2.0000004,0,0,0,0,0.5,0,0\n"
          "3,1,1,1,1,1,1,1,1,24\n4,1,1,1,1,1,1,0.25,1,0\n5,1,1,1,1,1,1,10,1,0\n");
    ASSERT_EQ(convert(settings(false, true)), ToolStatus::Done);
    auto file = readSourcesFile(dir.path("zdroje.bin"));
    ASSERT_TRUE(file);
    std::vector<int> order;
    for (const auto& s : file->records)
        order.push_back(s.number);
    // zero-filled source 2 (ALFA 0) first; ALFA 10 follows 1 because "." sorts before "0"
    EXPECT_EQ(order, (std::vector<int>{2, 4, 1, 3, 5}));
    const SourceRecord& one = file->records[2];
    EXPECT_DOUBLE_EQ(one.x, 0.123457);
    EXPECT_DOUBLE_EQ(one.values[0], 0.123456789012346);
    EXPECT_DOUBLE_EQ(one.values[1], 2.0);
    EXPECT_DOUBLE_EQ(one.values[6], 0.5);
    EXPECT_DOUBLE_EQ(file->records[3].values[7], 1.0);  // line source: ALFA is value 8
    EXPECT_DOUBLE_EQ(file->records[3].values[8], 24.0);
    EXPECT_EQ(summary.status[1], "Setříděno, zapsáno 5 zdrojů (z toho 1 doplněno nulami).");
}

TEST_F(ConversionTest, DustWithOwnFractionsGroupsNumberOnlyAndMismatch)
{
    write("body.txt", "1,0,0,0,0;\n");
    write("zdroje.txt", "1,0,0,0,1,0,0;\n2,0,0,0,1,0,0;\n3,0,0,0,2,0,0;\n4,0,0,0,1,0,0;\n");
    write("popis.txt", "1,1,1,1,1,1,1,1,1,1\n2,1,1,1,1,1,1,1,1,1\n3,1,1,1,1,1,1,1,1,1\n4,1,1,1,1,1,1,1,1,1\n");
    write("prach.txt", ";SOUBOR S PRACHEM\r\n1,2500,0,2,5,0.25,10,0.75\r\n2,1800.1234567,3\r\n3\r\n9,1,0,0\r\n");
    write("skupiny.spr", ";skupiny\r\n3,1,20,1;hrubý\r\n");
    ASSERT_EQ(convert(settings(true)), ToolStatus::Done);

    std::string expected = header(4, 15);
    auto dust = [&](double density, std::vector<double> pairs) {
        putF64(expected, density);
        putI32(expected, static_cast<int>(pairs.size() / 2));
        for (double v : pairs)
            putF64(expected, v);
    };
    std::array<double, 9> ones;
    ones.fill(1);
    expected += gasRecord(1, 0, 0, 0, 1, 0, 0, 0, ones);
    dust(2500, {5, 0.25, 10, 0.75});
    expected += gasRecord(2, 0, 0, 0, 1, 0, 0, 0, ones);
    dust(1800.123457, {20, 1});  // density passes through "%lf"
    expected += gasRecord(3, 0, 0, 0, 2, 0, 0, 0, ones);
    dust(2000, {});
    expected += gasRecord(4, 0, 0, 0, 1, 0, 0, 0, ones);
    dust(2000, {20, 1});  // dust line 9 does not match: the first group
    EXPECT_EQ(bytes("zdroje.bin"), expected);
    EXPECT_TRUE(rep.hasMessage("1 zdroj nemá popis prachových frakcí, ve výpočtu prachu nepřispívá."));
    EXPECT_NE(bytes("pru_mode.tmp").find("Zdroj 3 nema popis prachovych frakci"), std::string::npos);

    // the sorted path reads the same dust records back
    ASSERT_EQ(convert(settings(true, true)), ToolStatus::Done);
    auto file = readSourcesFile(dir.path("zdroje.bin"));
    ASSERT_TRUE(file && file->dust);
    EXPECT_EQ(file->records[1].fractions.size(), 1u);
    EXPECT_DOUBLE_EQ(file->records[1].density, 1800.123457);
    EXPECT_EQ(file->records[0].fractions.size(), 2u);
}

TEST_F(ConversionTest, FailuresLeavePreviousOutputsAndAnswerNo)
{
    write("body.txt", "1,0,0,0,0;\n");
    write("zdroje.txt", "1,0,0,0,1,0,0;\n");
    write("popis.txt", "1,1,1,1,1,1,1,1,1,1\n");
    write("prach.txt", "1,2000,4\n");
    write("zdroje.bin", "previous");
    ASSERT_EQ(convert(settings(true)), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage("Vstupní soubor se skupinami prachu nelze otevřít !"));
    EXPECT_EQ(bytes("zdroje.bin"), "previous");
    EXPECT_EQ(bytes("body.bin"), "<missing>");

    RecordingReporter no{{Answer::No}};
    EXPECT_EQ(convertTextInputs(settings(), RunContext{no, false}), ToolStatus::Declined);
    EXPECT_EQ(bytes("zdroje.bin"), "previous");

    ConversionSettings missing = settings();
    missing.descriptionText = dir.path("none.txt");
    RecordingReporter r2{{Answer::Yes}};
    EXPECT_EQ(convertTextInputs(missing, RunContext{r2, true}), ToolStatus::Failed);
    EXPECT_TRUE(r2.questions.empty());  // unattended: no overwrite question
    EXPECT_TRUE(r2.hasMessage("Vstupní soubor s popisem zdrojů nelze otevřít !"));
}

TEST_F(ConversionTest, MoreThan200GroupsIsReportedAndFilesKept)
{
    std::string coords, desc;
    for (int i = 1; i <= 201; ++i) {
        coords += std::to_string(i) + ",0,0,0,1,0," + std::to_string(i * 3) + ";\n";
        desc += std::to_string(i) + ",1,1,1,1,1,1,1,1,1\n";
    }
    ASSERT_EQ(convertTexts("1,0,0,0,0;\n", coords, desc), ToolStatus::Done);
    ASSERT_EQ(rep.messages.size(), 1u);
    EXPECT_EQ(rep.messages[0].caption, "Chyba");
    EXPECT_EQ(rep.messages[0].severity, Severity::Info);
    EXPECT_EQ(readSourcesFile(dir.path("zdroje.bin"))->records.back().groupIndex, 200);
}

TEST(BinaryInputs, ReadersRefuseTruncatedOrInconsistentFiles)
{
    SourceRecord s;
    s.number = 3;
    s.fractions = {{1, 0.5}, {2, 0.5}};
    std::string dust = encodeSources({s, s}, true);
    EXPECT_EQ(dust.size(), 8u + 2 * (126 + 32));
    auto back = decodeSources(dust);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->records[1].fractions[1].diameter, 2.0);
    EXPECT_FALSE(decodeSources(dust.substr(0, dust.size() - 1)));
    EXPECT_FALSE(decodeSources(dust + "x"));
    std::string huge = header(1 << 30, 13);
    EXPECT_FALSE(decodeSources(huge));
    std::string points = encodePoints({ReferencePoint{1, 2, 3, 4, 5}});
    EXPECT_TRUE(decodePoints(points));
    EXPECT_FALSE(decodePoints(points.substr(0, 40)));
    points[4] = 6;
    EXPECT_FALSE(decodePoints(points));
}

TEST(BinaryInputs, ValuesNoComputationCanUseAreRefusedByRecordAndField)
{
    TempDir dir;
    // National-grid coordinates are negative; altitudes and heights above terrain may be too.
    ReferencePoint p{7, -742000.5, -1043000.25, -3, -1};
    SourceRecord s;
    s.number = 12;
    s.x = -742000;
    s.y = -1043000;
    s.z = -5;
    s.type = kPointSource;
    s.values = {1, 50, 1, -10, 1, 5, 0.5, 24, 0};  // ts may be below zero
    SourceRecord line = s;
    line.type = kLineSource;
    line.values = {0.01, -742000, -1043000, -742100, -1043100, 10, 2, 1, 24};
    EXPECT_TRUE(decodePoints(encodePoints({p, p})));
    EXPECT_TRUE(decodeSources(encodeSources({s, line}, false)));

    writeFileAtomically(dir.path("b.bin"), encodePoints({p, ReferencePoint{8, 0, std::nan(""), 0, 0}}));
    auto points = readPointsFile(dir.path("b.bin"));
    ASSERT_FALSE(points);
    EXPECT_EQ(points.problem().text,
              "Binární soubor s referenčními body " + dir.path("b.bin") +
                  " : věta 2 (referenční bod č. 8), pole Y : hodnota nan není přípustná!");

    struct Case {
        SourceRecord record;
        bool dust;
        std::string field;
    };
    std::vector<Case> cases;
    auto with = [&](SourceRecord r, std::size_t i, double v, std::string field) {
        r.values[i] = v;
        cases.push_back({r, false, std::move(field)});
    };
    with(s, 0, -1, "M (emise) : hodnota -1");
    with(s, 1, -0.5, "H (výška komína) : hodnota -0.5");
    with(s, 4, -1, "d (průměr komína) : hodnota -1");
    with(s, 5, -2, "w0 (výstupní rychlost) : hodnota -2");
    with(s, 2, INFINITY, "Vs (objem spalin) : hodnota inf");
    with(line, 0, -1, "ML (emise) : hodnota -1");
    with(line, 6, -5.5e303, "Z0el (výška úseku) : hodnota -5.5e+303");
    with(line, 1, std::nan(""), "X1el : hodnota nan");
    SourceRecord z = s;
    z.z = -INFINITY;
    cases.push_back({z, false, "Z : hodnota -inf"});
    SourceRecord dust = s;
    dust.density = 2000;
    dust.fractions = {{10, 0.5}, {INFINITY, 0.5}};
    cases.push_back({dust, true, "průměr frakce 2 : hodnota inf"});
    for (const Case& c : cases) {
        writeFileAtomically(dir.path("z.bin"), encodeSources({s, c.record}, c.dust));
        auto sources = readSourcesFile(dir.path("z.bin"));
        ASSERT_FALSE(sources) << c.field;
        EXPECT_EQ(sources.problem().text,
                  "Binární soubor se zdroji " + dir.path("z.bin") + " : věta 2 (zdroj č. 12), pole " + c.field +
                      " není přípustná!");
    }
    dust.fractions[1].diameter = 20;
    EXPECT_TRUE(decodeSources(encodeSources({dust}, true)));
}

}  // namespace
}  // namespace ovd
