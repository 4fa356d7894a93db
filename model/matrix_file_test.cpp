#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <random>

#include "common/file_io.h"
#include "common/le_io.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "model/matrix_file.h"
#include "model/matrix_text.h"
#include "model/matrix_view.h"
#include "testing/matrix_bytes.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

TEST(MatrixFile, LengthRuleUsesSixtyFourBits)
{
    EXPECT_EQ(matrixFileLength(2, 3), 32u);
    EXPECT_EQ(matrixFileLength(0, 5), 8u);
    EXPECT_EQ(matrixFileLength(32767, 32767), 8u + 4ull * 32767 * 32767);
    // 2^31-1 squared times four overflows 32 and even 63 bits unless done unsigned.
    EXPECT_EQ(matrixFileLength(INT32_MAX, INT32_MAX), 8u + 4ull * INT32_MAX * static_cast<std::uint64_t>(INT32_MAX));
    EXPECT_FALSE(matrixFileLength(-1, 4));
    EXPECT_FALSE(matrixFileLength(4, -1));
}

TEST(MatrixFile, ValidOnlyWithTheExactLength)
{
    TempDir dir;
    std::string ok = matrixBytes(2, 3, {1, 2, 3, 4, 5, 6});
    ASSERT_EQ(ok.size(), 32u);
    for (std::size_t size : {31u, 32u, 33u}) {
        std::string bytes = ok;
        bytes.resize(size, '\0');
        writeFileAtomically(dir.path("m.bin"), bytes);
        MatrixFileReader r;
        EXPECT_EQ(r.open(dir.path("m.bin")),
                  size == 32 ? MatrixFileReader::OpenResult::Ok : MatrixFileReader::OpenResult::NotMatrix)
            << size;
        EXPECT_TRUE(r.headerRead());
        EXPECT_EQ(r.rows(), 2);
    }
    // Negative counts whose product would fit the length are refused too.
    writeFileAtomically(dir.path("n.bin"), matrixBytes(-1, -1, {0}));
    MatrixFileReader neg;
    EXPECT_EQ(neg.open(dir.path("n.bin")), MatrixFileReader::OpenResult::NotMatrix);
    writeFileAtomically(dir.path("s.bin"), std::string(5, '\0'));
    MatrixFileReader shortFile;
    EXPECT_EQ(shortFile.open(dir.path("s.bin")), MatrixFileReader::OpenResult::NotMatrix);
    EXPECT_FALSE(shortFile.headerRead());
    MatrixFileReader missing;
    EXPECT_EQ(missing.open(dir.path("none.bin")), MatrixFileReader::OpenResult::CannotOpen);
}

TEST(MatrixFile, UnfinishedWriterLeavesThePreviousFile)
{
    TempDir dir;
    writeFileAtomically(dir.path("m.bin"), "old");
    {
        MatrixFileWriter w;
        ASSERT_TRUE(w.open(dir.path("m.bin"), 2, 1));
        ASSERT_TRUE(w.writeRow(std::vector<float>{1}));
        EXPECT_FALSE(w.commit());  // one row missing
    }
    {
        MatrixFileWriter w;
        ASSERT_TRUE(w.open(dir.path("m.bin"), 1, 1));
        ASSERT_TRUE(w.writeRow(std::vector<float>{1}));
    }  // destroyed without commit
    EXPECT_EQ(*readFileBytes(dir.path("m.bin")), "old");
    EXPECT_EQ(dir.names().size(), 1u);
}

TEST(MatrixText, ValueFormatMatchesPrintf)
{
    EXPECT_EQ(formatMatrixValue(12.5f), "   12.50000");
    EXPECT_EQ(formatMatrixValue(0), "    0.00000");
    EXPECT_EQ(formatMatrixValue(-0.000004f), "   -0.00000");
    EXPECT_EQ(formatMatrixValue(123456.5f), "123456.50000");  // wider than eleven: not cut
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> mant(-1, 1);
    std::uniform_int_distribution<int> exp(-8, 12);
    for (int i = 0; i < 20000; ++i) {
        float v = static_cast<float>(std::ldexp(mant(gen), exp(gen) * 3));
        ASSERT_EQ(formatMatrixValue(v), cformat("%11.5lf", static_cast<double>(v))) << v;
    }
    // Ties that are exact in binary round as printf does.
    for (float v : {0.015625f, 1.000005f, 2.5e-6f, 3e38f, -3e38f})
        EXPECT_EQ(formatMatrixValue(v), cformat("%11.5lf", static_cast<double>(v)));
}

struct MatrixExport : ::testing::Test {
    TempDir dir;
    RecordingReporter rep;
    MatrixExportSettings settings{dir.path("m.bin"), dir.path("m.txt")};
    ToolStatus run() { return exportMatrixText(settings, RunContext{rep, false}); }
};

TEST_F(MatrixExport, WritesHeaderAndRows)
{
    writeFileAtomically(settings.binaryInput, matrixBytes(2, 3, {12.5f, 0, -1, 359.99f, 1e-6f, 100}));
    ASSERT_EQ(run(), ToolStatus::Done);
    EXPECT_EQ(*readFileBytes(settings.textOutput),
              "Pocet radku   : 2\nPocet sloupcu : 3\n"
              "   12.50000     0.00000    -1.00000 \n"
              "  359.98999     0.00000   100.00000 \n");
    EXPECT_EQ(rep.lastStatus(0), "Převod proběhl OK. ");
    EXPECT_EQ(rep.lastProgress, 2);
    EXPECT_TRUE(rep.messages.empty());
}

TEST_F(MatrixExport, ValueThatIsNoNumberIsRefusedAndTheOldTextKept)
{
    writeFileAtomically(settings.textOutput, "previous");
    for (float bad : {std::nanf(""), INFINITY, -INFINITY}) {
        writeFileAtomically(settings.binaryInput, matrixBytes(2, 3, {1, 2, 3, 4, bad, 6}));
        RecordingReporter yes({Answer::Yes});
        EXPECT_EQ(exportMatrixText(settings, RunContext{yes, false}), ToolStatus::Failed);
        EXPECT_EQ(yes.lastError(),
                  "Binární matice " + settings.binaryInput + " má v řádku 2, sloupci 2 hodnotu, která není číslo!");
        EXPECT_EQ(*readFileBytes(settings.textOutput), "previous");
    }
}

TEST_F(MatrixExport, EmptyMatrixGivesOnlyTheHeader)
{
    writeFileAtomically(settings.binaryInput, matrixBytes(0, 7, {}));
    ASSERT_EQ(run(), ToolStatus::Done);
    EXPECT_EQ(*readFileBytes(settings.textOutput), "Pocet radku   : 0\nPocet sloupcu : 7\n");
    // No empty lines for rows without values, however many the header claims.
    writeFileAtomically(settings.binaryInput, matrixBytes(1000000, 0, {}));
    ASSERT_EQ(exportMatrixText(settings, RunContext{rep, true}), ToolStatus::Done);
    EXPECT_EQ(*readFileBytes(settings.textOutput), "Pocet radku   : 1000000\nPocet sloupcu : 0\n");
}

TEST_F(MatrixExport, BadInputWritesNothing)
{
    writeFileAtomically(settings.textOutput, "previous");
    writeFileAtomically(settings.binaryInput, matrixBytes(2, 3, {1, 2, 3, 4, 5}));  // 28 bytes
    RecordingReporter yes({Answer::Yes});
    EXPECT_EQ(exportMatrixText(settings, RunContext{yes, false}), ToolStatus::Failed);
    EXPECT_TRUE(yes.hasMessage("Nejedná se o binární soubor s maticí koeficientů theta, delta nebo zmax !"));
    EXPECT_EQ(yes.lastStatus(0), "Převod neuskutečněn, chybný soubor.");
    EXPECT_EQ(*readFileBytes(settings.textOutput), "previous");

    std::filesystem::remove(settings.textOutput);
    settings.binaryInput = dir.path("missing.bin");
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_EQ(rep.messages.at(0).caption, "Chyba");
    EXPECT_EQ(rep.messages.at(0).text, "Vstupní soubor s binární maticí nelze otevřít !");
    EXPECT_FALSE(fileExists(settings.textOutput));

    writeFileAtomically(settings.binaryInput, matrixBytes(1, 1, {1}));
    settings.textOutput = dir.path("no/such/folder.txt");
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_TRUE(rep.hasMessage("Výstupní soubor s textovou maticí nelze otevřít !"));
}

TEST_F(MatrixExport, OverwriteQuestionNoKeepsTheFile)
{
    writeFileAtomically(settings.binaryInput, matrixBytes(1, 1, {1}));
    writeFileAtomically(settings.textOutput, "previous");
    EXPECT_EQ(run(), ToolStatus::Declined);
    ASSERT_EQ(rep.questions.size(), 1u);
    EXPECT_EQ(rep.questions[0].text, "Soubor " + settings.textOutput + " již existuje.\nChcete jej přepsat ?");
    EXPECT_EQ(*readFileBytes(settings.textOutput), "previous");
}

TEST(MatrixView, HeaderAndRowsAsTheViewerShowsThem)
{
    TempDir dir;
    RecordingReporter rep;
    writeFileAtomically(dir.path("m.bin"), matrixBytes(2, 2, {1, 2.25f, -3, 45}));
    MatrixView view;
    ASSERT_TRUE(view.open(dir.path("m.bin"), rep));
    EXPECT_EQ(view.headerLines(), (std::vector<std::string>{"Počet řádků   : 2", "Počet sloupců : 2"}));
    EXPECT_EQ(view.columnHeadings(), (std::vector<std::string>{"#", "1", "2"}));
    std::vector<std::string> cells;
    ASSERT_TRUE(view.row(1, cells));
    EXPECT_EQ(cells, (std::vector<std::string>{"2", "   -3.00000", "   45.00000"}));

    // A matrix without values lists its header and an empty table, however large its counts.
    writeFileAtomically(dir.path("empty.bin"), matrixBytes(0, INT32_MAX, {}));
    ASSERT_TRUE(view.open(dir.path("empty.bin"), rep));
    EXPECT_EQ(view.headerLines().at(1), "Počet sloupců : 2147483647");
    EXPECT_EQ(view.columnHeadings().size(), 1u);
    EXPECT_EQ(view.rowCount(), 0);
    writeFileAtomically(dir.path("empty.bin"), matrixBytes(INT32_MAX, 0, {}));
    ASSERT_TRUE(view.open(dir.path("empty.bin"), rep));
    EXPECT_EQ(view.rowCount(), 0);

    writeFileAtomically(dir.path("bad.bin"), matrixBytes(2, 2, {1, 2, 3}));
    EXPECT_FALSE(view.open(dir.path("bad.bin"), rep));
    EXPECT_EQ(view.headerLines().size(), 2u);  // the header read is still listed
    EXPECT_EQ(view.rowCount(), 0);
    EXPECT_FALSE(view.row(0, cells));
    EXPECT_TRUE(rep.hasMessage("Nejedná se o binární soubor s maticí koeficientů theta, delta nebo zmax !"));
}

}  // namespace
}  // namespace ovd
