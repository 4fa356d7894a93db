#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/le_io.h"
#include "common/paths.h"
#include "model/coefficient_pair.h"
#include "model/coefficient_run.h"
#include "model/coefficient_study.h"
#include "model/matrix_file.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

struct CoefficientRunTest : ::testing::Test {
    TempDir dir;
    CoefficientSettings s;
    GeneratedTerrain terrain = generateTerrain(40, 30, 25, TerrainElement::Int16, 5, 1000, 2000);
    std::vector<ReferencePoint> points = scatterPoints(37, 1000, 2000, 2000, 2750, 8);
    std::vector<SourceRecord> sources = scatterSources(5, 1000, 2000, 2000, 2750, 9);

    CoefficientRunTest()
    {
        s.terrain = dir.path("t.bin");
        s.points = dir.path("body.bin");
        s.sources = dir.path("zdroje.bin");
        s.deriveOutputNames();
        s.step = 25;
        s.interpolate = true;
    }
    void writeInputs(bool dust = false)
    {
        writeFileAtomically(s.terrain, terrain.bytes);
        writeFileAtomically(s.points, encodePoints(points));
        writeFileAtomically(s.sources, encodeSources(sources, dust));
    }
    ToolStatus run(RecordingReporter& rep, unsigned threads = 0, bool unattended = false)
    {
        return computeCoefficients(s, RunContext{rep, unattended}, threads);
    }
    std::vector<float> values(const std::string& path)
    {
        MatrixFileReader r;
        EXPECT_EQ(r.open(path), MatrixFileReader::OpenResult::Ok);
        std::vector<float> all, row;
        for (std::int32_t i = 0; i < r.rows(); ++i) {
            r.readRow(i, row);
            all.insert(all.end(), row.begin(), row.end());
        }
        return all;
    }
    std::string log() { return readFileBytes(dir.path("prub_koe.tmp")).value_or(""); }
    std::string outputs()
    {
        return readFileBytes(dir.path("theta.bin")).value_or("-") + readFileBytes(dir.path("delta.bin")).value_or("-") +
            readFileBytes(dir.path("zmax.bin")).value_or("-");
    }
};

TEST_F(CoefficientRunTest, MatricesHoldEveryPairInFileOrder)
{
    points[3].x = 2001;                                    // 1 m beyond the east edge
    points[5] = {77, sources[1].x, sources[1].y, 600, 0};  // on top of source 101
    writeInputs();
    RecordingReporter rep;
    ASSERT_EQ(run(rep), ToolStatus::Done);
    EXPECT_TRUE(rep.messages.empty());
    EXPECT_EQ(rep.lastStatus(0), "Výpočet koeficientů dokončen, nalezeny zdroje a ref. body mimo oblast výškopisu.");
    EXPECT_EQ(rep.lastProgress, 5);

    auto theta = values(s.theta), delta = values(s.delta), zmax = values(s.zmax);
    ASSERT_EQ(theta.size(), 5u * 37);
    auto matrix = TerrainMatrix::open(s.terrain);
    int rising = 0;
    for (std::size_t r = 0; r < 5; ++r)
        for (std::size_t c = 0; c < 37; ++c) {
            Site src{sources[r].number, sources[r].x, sources[r].y, sources[r].z};
            Site ref{points[c].number, points[c].x, points[c].y, points[c].z};
            ComputedPair p;
            if (c != 3)
                p = computePair(matrix->header(), src, ref, 25,
                                [&](double x, double y) { return matrix->lookup(x, y, true); });
            std::size_t i = r * 37 + c;
            ASSERT_EQ(theta[i], p.theta) << r << "," << c;
            ASSERT_EQ(delta[i], p.delta) << r << "," << c;
            ASSERT_EQ(zmax[i], p.zmax) << r << "," << c;
            rising += p.theta > 0;
        }
    EXPECT_GT(rising, 20);
    EXPECT_EQ(delta[1 * 37 + 5], 180);  // coincident

    std::string text = log();
    EXPECT_EQ(text.rfind("Parametr Vzd  : 25\n\rZapsane hlavicky do vystupnich matic :\n"
                         "    Pocet radku   : 5 \n    Pocet sloupcu : 37 \n",
                         0),
              0u);
    EXPECT_NE(text.find("REF: 4 - mimo ohr. oblast, nahrazeno nulami\n"
                        "XllCorner :1000.000000 X_ref:2001.000000 (NCols*CellSize):1000.000000\n"
                        "YllCorner :2000.000000 Y_ref:"),
              std::string::npos);
    EXPECT_NE(text.find("ZDR: 101, REF: 77 - vzdalenost mimo rozsah, nahrazeno nulami\n"), std::string::npos);
    // Every source logs the point outside once.
    std::size_t count = 0;
    for (std::size_t at = 0; (at = text.find("REF: 4 -", at)) != std::string::npos; ++at)
        ++count;
    EXPECT_EQ(count, 5u);
}

TEST_F(CoefficientRunTest, ResultsDoNotDependOnTheThreadCount)
{
    // More rows than the run keeps in flight, some sources and points outside.
    sources = scatterSources(80, 900, 2100, 1900, 2800, 3);
    points = scatterPoints(300, 950, 2050, 1950, 2800, 4);
    writeInputs();
    RecordingReporter one, many({Answer::Yes, Answer::Yes, Answer::Yes});
    ASSERT_EQ(run(one, 1), ToolStatus::Done);
    std::string first = outputs(), firstLog = log();
    ASSERT_EQ(run(many, 5), ToolStatus::Done);
    EXPECT_EQ(outputs(), first);
    EXPECT_EQ(log(), firstLog);
    EXPECT_NE(firstLog.find("ZDR: "), std::string::npos);
}

TEST_F(CoefficientRunTest, DustFilesAreReadRecordByRecord)
{
    sources[0].density = 2000;
    sources[0].fractions = {{1, 0.5}, {10, 0.5}};
    sources[2].fractions = {{5, 1}};
    writeInputs(true);
    RecordingReporter rep;
    ASSERT_EQ(run(rep), ToolStatus::Done);
    std::string gasOutputs = outputs();
    writeInputs(false);
    ASSERT_EQ(run(rep, 0, true), ToolStatus::Done);
    EXPECT_EQ(outputs(), gasOutputs);  // the same positions, whatever the record length
    EXPECT_TRUE(rep.questions.empty());
}

TEST_F(CoefficientRunTest, StrangeColumnCountAsksFirst)
{
    writeInputs();
    std::string bytes = *readFileBytes(s.sources);
    bytes[4] = 14;
    writeFileAtomically(s.sources, bytes);
    RecordingReporter no;
    EXPECT_EQ(run(no), ToolStatus::Declined);
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0].caption, "Ovardix");
    EXPECT_EQ(
        no.questions[0].text,
        "Vstupní soubor se zdroji pravděpodobně neobsahuje hodnoty zdrojů s plynnými látkami, chcete jej přesto použít ?");
    EXPECT_FALSE(fileExists(s.theta));
    RecordingReporter yes({Answer::Yes});
    EXPECT_EQ(run(yes), ToolStatus::Done);  // read as gas records
    RecordingReporter unattended({Answer::Yes});
    EXPECT_EQ(run(unattended, 0, true), ToolStatus::Declined);
    EXPECT_TRUE(unattended.questions.empty());
}

TEST_F(CoefficientRunTest, FailuresLeaveThePreviousMatrices)
{
    writeInputs();
    for (const std::string* out : {&s.theta, &s.delta, &s.zmax})
        writeFileAtomically(*out, "previous");
    auto expectFailure = [&](const std::string& message) {
        RecordingReporter rep({Answer::Yes, Answer::Yes, Answer::Yes});
        EXPECT_EQ(run(rep), ToolStatus::Failed) << message;
        EXPECT_TRUE(rep.hasMessage(message)) << message << (rep.messages.empty() ? "" : " got " + rep.messages[0].text);
        EXPECT_EQ(outputs(), "previouspreviousprevious") << message;
        for (const auto& entry : std::filesystem::directory_iterator(dir.root()))  // no temporary left
            EXPECT_EQ(entry.path().string().find(".ovdtmp."), std::string::npos) << message;
    };
    s.step = 0;
    expectFailure("Vzdálenost mezi body nesmí být nulová !");
    s.step = -25;
    expectFailure("Vzdálenost mezi body nesmí být nulová !");
    s.step = 25;

    sources[3].type = 4;
    writeInputs();
    expectFailure("Typ zdroje musí nabývat hodnoty 1, 2, 3");
    EXPECT_NE(log().find("Pocet radku   : 5"), std::string::npos);  // the log stays

    sources[3].type = 2;
    writeInputs();
    std::string bytes = *readFileBytes(s.sources);
    writeFileAtomically(s.sources, bytes.substr(0, bytes.size() - 1));
    expectFailure("Binární soubor se zdroji má chybnou délku nebo hlavičku.");
    writeFileAtomically(s.sources, bytes.substr(0, 6));
    expectFailure("Binární soubor se zdroji má chybnou délku nebo hlavičku.");
    bytes.replace(0, 4, std::string("\x00\x80\x00\x00", 4));  // 32768 sources
    writeFileAtomically(s.sources, bytes);
    expectFailure("Počet zdrojů 32768 je větší než 32767, koeficienty nelze vypočítat!");
    writeInputs();
    std::string pointBytes = *readFileBytes(s.points);
    writeFileAtomically(s.points, pointBytes + "x");
    expectFailure("Binární soubor s referenčními body má chybnou délku nebo hlavičku.");
    pointBytes.replace(0, 4, std::string("\xff\xff\x00\x00", 4));
    writeFileAtomically(s.points, pointBytes);
    expectFailure("Počet referenčních bodů 65535 je větší než 32767, koeficienty nelze vypočítat!");
    writeInputs();
    writeFileAtomically(s.terrain, terrain.bytes.substr(0, 100));
    expectFailure("Vstupní soubor s výškopisem není platná binární matice výškopisu!");
    std::filesystem::remove(s.terrain);
    expectFailure("Vstupní soubor s vyškopisem nelze otevřít !");
    writeInputs();
    s.delta = s.theta;
    expectFailure("Výstupní matice THETA, DELTA a ZMAX musí být tři různé soubory, odlišné od vstupních souborů!");
    s.deriveOutputNames();
    s.zmax = s.points;
    expectFailure("Výstupní matice THETA, DELTA a ZMAX musí být tři různé soubory, odlišné od vstupních souborů!");
    s.deriveOutputNames();
}

TEST_F(CoefficientRunTest, CancelledOrDeclinedRunLeavesThePreviousMatrices)
{
    writeInputs();
    for (const std::string* out : {&s.theta, &s.delta, &s.zmax})
        writeFileAtomically(*out, "previous");
    RecordingReporter cancel({Answer::Yes, Answer::Yes, Answer::Yes});
    cancel.cancelRequested = true;
    EXPECT_EQ(run(cancel), ToolStatus::Failed);
    EXPECT_EQ(outputs(), "previouspreviousprevious");

    RecordingReporter no;  // the overwrite question defaults to No
    EXPECT_EQ(run(no), ToolStatus::Declined);
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0].text, "Soubor " + s.theta + " již existuje.\nChcete jej přepsat ?");
    RecordingReporter unattended;
    EXPECT_EQ(run(unattended, 0, true), ToolStatus::Done);
    EXPECT_TRUE(unattended.questions.empty());
    EXPECT_EQ(readFileBytes(s.theta)->size(), 8u + 4 * 5 * 37);
}

TEST_F(CoefficientRunTest, NonFiniteTerrainStopsNamingThePair)
{
    terrain = generateTerrain(40, 30, 25, TerrainElement::Real, 5, 1000, 2000);
    for (std::size_t i = terrain.header.dataOffset(); i < terrain.bytes.size(); i += 8)
        terrain.bytes.replace(i, 8, std::string("\x00\x00\x00\x00\x00\x00\xf0\x7f", 8));  // +inf
    points.resize(2);
    writeInputs();
    RecordingReporter rep;
    EXPECT_EQ(run(rep), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage(
        "Koeficienty zdroje 100 a ref. bodu 1 nelze vypočítat, výškopis na jejich spojnici neobsahuje konečná čísla!"));
    EXPECT_FALSE(fileExists(s.theta));
}

TEST_F(CoefficientRunTest, EmptyInputsGiveHeaderOnlyMatrices)
{
    points.clear();
    writeInputs();
    RecordingReporter rep;
    ASSERT_EQ(run(rep), ToolStatus::Done);
    std::string expected;
    putI32(expected, 5);
    putI32(expected, 0);
    EXPECT_EQ(*readFileBytes(s.delta), expected);
    EXPECT_EQ(rep.lastStatus(0), "Výpočet koeficientů dokončen.");
}

}  // namespace
}  // namespace ovd
