#include "model/coefficient_matrices_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "common/file_io.h"
#include "common/le_io.h"
#include "testing/matrix_bytes.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// Two sources by three points; Theta, Delta and ZMax files in a temporary folder.
struct Matrices {
    TempDir dir;
    std::vector<float> theta{0, 0.5f, 1}, delta{0, 180, 360}, zmax{0, 10, 2000};
    bool read(RecordingReporter& rep, CoefficientMatrices& m)
    {
        auto both = [](const std::vector<float>& row) {
            std::vector<float> v = row;
            v.insert(v.end(), row.begin(), row.end());
            return v;
        };
        writeFileAtomically(dir.path("theta.bin"), matrixBytes(2, 3, both(theta)));
        writeFileAtomically(dir.path("delta.bin"), matrixBytes(2, 3, both(delta)));
        writeFileAtomically(dir.path("zmax.bin"), matrixBytes(2, 3, both(zmax)));
        return readCoefficientMatrices(dir.path("theta.bin"), dir.path("delta.bin"), dir.path("zmax.bin"), m, rep);
    }
};

TEST(CoefficientMatricesReader, ValuesAtTheEndsOfTheirRangesAreRead)
{
    Matrices files;
    RecordingReporter rep;
    CoefficientMatrices m;
    ASSERT_TRUE(files.read(rep, m));
    EXPECT_EQ(m.rows, 2);
    EXPECT_EQ(m.delta[5], 360.0f);
    EXPECT_TRUE(rep.messages.empty());
}

TEST(CoefficientMatricesReader, ValuesNoFormulaCanUseAreRefusedByFileRowAndColumn)
{
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    struct Case {
        char matrix;  // T, D or Z
        float value;
        const char* tail;
    };
    const Case cases[] = {
        {'T', nan, "THETA (%s) obsahuje v řádku 1, sloupci 2 hodnotu, která není konečné číslo!"},
        {'T', 1.5f, "THETA (%s) obsahuje v řádku 1, sloupci 2 hodnotu 1.5 mimo rozsah 0 až 1!"},
        {'T', -0.25f, "THETA (%s) obsahuje v řádku 1, sloupci 2 hodnotu -0.25 mimo rozsah 0 až 1!"},
        {'D', nan, "DELTA (%s) obsahuje v řádku 1, sloupci 2 hodnotu, která není konečné číslo!"},
        {'D', 400.0f, "DELTA (%s) obsahuje v řádku 1, sloupci 2 hodnotu 400 mimo rozsah 0 až 360!"},
        {'D', -1.0f, "DELTA (%s) obsahuje v řádku 1, sloupci 2 hodnotu -1 mimo rozsah 0 až 360!"},
        {'Z', inf, "ZMAX (%s) obsahuje v řádku 1, sloupci 2 hodnotu, která není konečné číslo!"},
        {'Z', -3.0f, "ZMAX (%s) obsahuje v řádku 1, sloupci 2 zápornou hodnotu -3!"},
    };
    for (const Case& c : cases) {
        Matrices files;
        (c.matrix == 'T' ? files.theta : c.matrix == 'D' ? files.delta : files.zmax)[1] = c.value;
        const std::string path = files.dir.path(c.matrix == 'T'       ? "theta.bin"
                                                    : c.matrix == 'D' ? "delta.bin"
                                                                      : "zmax.bin");
        RecordingReporter rep;
        CoefficientMatrices m;
        EXPECT_FALSE(files.read(rep, m)) << c.tail;
        ASSERT_EQ(rep.messages.size(), 1u);
        EXPECT_EQ(rep.messages[0].caption, "Chyba");
        char expected[400];
        std::snprintf(expected, sizeof expected, c.tail, path.c_str());
        EXPECT_EQ(rep.messages[0].text, std::string("Vstupní soubor s maticí ") + expected);
    }
}

TEST(CoefficientMatricesReader, ALengthOtherThanTheHeaderSaysIsRefused)
{
    Matrices files;
    RecordingReporter rep;
    CoefficientMatrices m;
    ASSERT_TRUE(files.read(rep, m));
    m = CoefficientMatrices{};  // a mapped file cannot be replaced on Windows
    std::string bytes = *readFileBytes(files.dir.path("delta.bin"));
    for (std::size_t length : {bytes.size() - 1, bytes.size() + 1, std::size_t(8)}) {
        std::string changed = bytes.substr(0, std::min(length, bytes.size()));
        changed.resize(length, '\0');
        writeFileAtomically(files.dir.path("delta.bin"), changed);
        RecordingReporter r;
        CoefficientMatrices again;
        EXPECT_FALSE(readCoefficientMatrices(files.dir.path("theta.bin"), files.dir.path("delta.bin"),
                                             files.dir.path("zmax.bin"), again, r));
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].text, "Vstupní soubor s maticí DELTA nemá délku odpovídající své hlavičce!");
    }
}

}  // namespace
}  // namespace ovd

namespace ovd {
namespace {

// The values are mapped from the files, not copied; changing one copies the matrix into
// memory and leaves the file as it was; a replaced file does not change what was mapped.
TEST(CoefficientMatricesReader, MatricesAreMappedAndCopiedOnlyWhenChanged)
{
    Matrices files;
    RecordingReporter rep;
    CoefficientMatrices m;
    ASSERT_TRUE(files.read(rep, m));
    ASSERT_TRUE(m.theta.mapped() && m.delta.mapped() && m.zmax.mapped());
    EXPECT_EQ(std::vector<float>(m.zmax.begin(), m.zmax.end()), (std::vector<float>{0, 10, 2000, 0, 10, 2000}));
    CoefficientMatrices copy = m;
    copy.delta[4] = 90.0f;
    EXPECT_FALSE(copy.delta.mapped());
    EXPECT_EQ(copy.delta[4], 90.0f);
    EXPECT_EQ(m.delta[4], 180.0f);
    // the writers replace a file by renaming a new one over it: the mapping keeps the old data
    writeFileAtomically(files.dir.path("delta.bin"), matrixBytes(1, 1, {7.0f}));
    EXPECT_EQ(m.delta[5], 360.0f);
    EXPECT_EQ(readFileBytes(files.dir.path("delta.bin"))->size(), 12u);
}

}  // namespace
}  // namespace ovd
