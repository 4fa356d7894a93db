// The checkpoint file: a run stopped at 200 degrees continues from 180 with the same
// results, and a file of another run is never taken.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "common/file_io.h"
#include "common/le_io.h"
#include "model/checkpoint_file.h"
#include "model/engine/concentration_engine.h"
#include "model/concentration_study_generator.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

struct Fixture {
    ConcentrationStudy study;
    ConcentrationParameters par;
    std::optional<PreparedRun> run;
    explicit Fixture(ConcentrationMode mode)
    {
        StudyShape shape{.points = 15, .pointSources = 2, .areaSources = 1, .lineSources = 1, .seed = 3};
        study = generateStudy(shape);
        par.mode = mode;
        par.step = 1.0;
        par.limits = {2.0, 0.0, 20.0};
        par.groupShares = true;
        if (auto prepared = prepareConcentrationRun(study, par))
            run = std::move(*prepared);
    }
};

bool sameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

TEST(CheckpointFile, StoppedAt200ContinuesFrom180WithTheSameResults)
{
    TempDir dir;
    const std::string path = dir.path("vysledky.tmp");
    for (ConcentrationMode mode : {ConcentrationMode::Annual, ConcentrationMode::Maximum}) {
        Fixture f(mode);
        ASSERT_TRUE(f.run);
        const PreparedRun& run = *f.run;
        CheckpointSignature sig{{{1234, 99}, {56, 77}}};

        ConcentrationState whole(run);
        runConcentrationEngine(run, whole, 0, 2);

        ConcentrationState broken(run);
        runConcentrationEngine(run, broken, 0, 2, [&](int i) {
            if (run.checkpointAfter(i)) {
                EXPECT_TRUE(writeCheckpoint(path, run, broken, run.direction(i), sig));
            }
            return i < 200;
        });
        auto stored = readCheckpoint(path, run, sig);
        ASSERT_TRUE(stored);
        EXPECT_EQ(180.0, stored->direction);
        EXPECT_EQ(181, restartDirectionIndex(run, stored->direction));
        EXPECT_EQ("Poslední běh tohoto výpočtu (výstupní soubor /data/v.dbf) nebyl patrně dokončen. Program je "
                  "schopen výpočet obnovit od stupně 180.00. Přejete si tuto obnovu provést ?",
                  restartQuestionText("/data/v.dbf", stored->direction));

        ConcentrationState resumed = stored->state;
        runConcentrationEngine(run, resumed, restartDirectionIndex(run, stored->direction), 1);
        EXPECT_TRUE(sameBits(whole.annual, resumed.annual));
        for (int m = 0; m < 3; ++m)
            EXPECT_TRUE(sameBits(whole.hours[static_cast<std::size_t>(m)], resumed.hours[static_cast<std::size_t>(m)]));
        EXPECT_TRUE(sameBits(whole.caseMaximum, resumed.caseMaximum));
        EXPECT_TRUE(sameBits(whole.maxConcentration, resumed.maxConcentration));
        EXPECT_TRUE(sameBits(whole.maxSpeed, resumed.maxSpeed));
        EXPECT_TRUE(sameBits(whole.maxDirection, resumed.maxDirection));
        EXPECT_EQ(whole.maxClass, resumed.maxClass);
        EXPECT_TRUE(sameBits(whole.groupAnnual, resumed.groupAnnual));
    }
}

TEST(CheckpointFile, LayoutStartsWithDirectionCountAndCaseSums)
{
    Fixture f(ConcentrationMode::Annual);
    ConcentrationState st(*f.run);
    st.caseSum[0] = 1.5;
    st.caseConcentration[14] = 2.5;
    st.exceedFlag[2][0] = 1;
    st.caseMaximum[10 * 15 + 14] = 7.0;
    std::string bytes = encodeCheckpoint(*f.run, st, 45.0, {});
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    EXPECT_EQ(45.0, getF64(p));
    EXPECT_EQ(15, getI32(p + 8));
    EXPECT_EQ(1.5, getF64(p + 12));
    EXPECT_EQ(2.5, getF64(p + 12 + 8 * 15 + 8 * 14));
    const std::size_t flags = 12 + 8 * 15 * 5;  // after sums, concentrations and three Alfa blocks
    EXPECT_EQ(1, getI32(p + flags + 4 * 15 * 2));
    const std::size_t maxima = flags + 4 * 15 * 3 + 8 * 15 * 4;  // after flags, annual and hours
    EXPECT_EQ(7.0, getF64(p + maxima + 8 * (10 * 15 + 14)));
}

TEST(CheckpointFile, AnotherRunsFileIsNotOffered)
{
    Fixture f(ConcentrationMode::Annual);
    const PreparedRun& run = *f.run;
    ConcentrationState st(run);
    CheckpointSignature sig{{{100, 5}}};
    std::string good = encodeCheckpoint(run, st, 90.0, sig);
    EXPECT_TRUE(decodeCheckpoint(run, good, sig));

    CheckpointSignature touched{{{100, 6}}};
    EXPECT_FALSE(decodeCheckpoint(run, good, touched));
    EXPECT_FALSE(decodeCheckpoint(run, good.substr(0, good.size() - 1), sig));
    EXPECT_FALSE(decodeCheckpoint(run, good.substr(0, 12), sig));
    EXPECT_FALSE(decodeCheckpoint(run, "", sig));
    EXPECT_FALSE(decodeCheckpoint(run, encodeCheckpoint(run, st, 0.0, sig), sig));    // nothing to continue
    EXPECT_FALSE(decodeCheckpoint(run, encodeCheckpoint(run, st, 100.0, sig), sig));  // not a checkpoint direction

    Fixture other(ConcentrationMode::Maximum);
    ConcentrationState os(*other.run);
    EXPECT_FALSE(decodeCheckpoint(run, encodeCheckpoint(*other.run, os, 90.0, sig), sig));
    ConcentrationParameters p = f.par;
    p.step = 3.0;
    auto coarse = prepareConcentrationRun(f.study, p);
    EXPECT_FALSE(decodeCheckpoint(*coarse, good, sig));
    p = f.par;
    p.limits[1] = 5.0;
    auto limits = prepareConcentrationRun(f.study, p);
    EXPECT_FALSE(decodeCheckpoint(*limits, good, sig));

    // a point count that disagrees with the length is refused, not read past the end
    std::string lying = good;
    putI32(lying, 0);
    lying.replace(8, 4, std::string("\x10\x27\x00\x00", 4));
    EXPECT_FALSE(decodeCheckpoint(run, lying, sig));
    TempDir dir;
    EXPECT_FALSE(readCheckpoint(dir.path("missing.tmp"), run, sig));
}

TEST(CheckpointFile, TheCompleteRunIsOfferedAndLeavesNoDirectionToCompute)
{
    // the checkpoint kept while a maximum's group shares are computed: after the last
    // direction, also at steps that do not divide a whole degree
    for (double step : {1.0, 0.5, 0.6, 15.0}) {
        Fixture f(ConcentrationMode::Maximum);
        ConcentrationParameters p = f.par;
        p.step = step;
        auto run = prepareConcentrationRun(f.study, p);
        ASSERT_TRUE(run);
        ConcentrationState st(*run);
        CheckpointSignature sig{{{100, 5}}};
        const double last = run->direction(run->directions - 1);
        auto stored = decodeCheckpoint(*run, encodeCheckpoint(*run, st, last, sig), sig);
        ASSERT_TRUE(stored) << step;
        EXPECT_EQ(run->directions, restartDirectionIndex(*run, stored->direction)) << step;
        EXPECT_FALSE(decodeCheckpoint(*run, encodeCheckpoint(*run, st, last - step, sig), sig)) << step;
    }
}

TEST(CheckpointFile, DamagedAndOldFilesAreNotOfferedAndSaySo)
{
    Fixture f(ConcentrationMode::Maximum);
    const PreparedRun& run = *f.run;
    ConcentrationState st(run);
    CheckpointSignature sig{{{100, 5}}};
    const std::string good = encodeCheckpoint(run, st, 90.0, sig);
    CheckpointRefusal why = CheckpointRefusal::OtherRun;
    ASSERT_TRUE(decodeCheckpoint(run, good, sig, &why));

    // A file of the layout before the checksum: all of it but the last eight bytes.
    EXPECT_FALSE(decodeCheckpoint(run, good.substr(0, good.size() - 8), sig, &why));
    EXPECT_EQ(why, CheckpointRefusal::OldLayout);
    // One slot overwritten with 1e308: the checksum tells.
    std::string damaged = good;
    damaged.replace(12, 8, std::string(8, '\x7f'));
    EXPECT_FALSE(decodeCheckpoint(run, damaged, sig, &why));
    EXPECT_EQ(why, CheckpointRefusal::Damaged);
    // Values no run writes, with a checksum that fits them.
    ConcentrationState bad = st;
    bad.annual[3] = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(decodeCheckpoint(run, encodeCheckpoint(run, bad, 90.0, sig), sig, &why));
    EXPECT_EQ(why, CheckpointRefusal::Damaged);
    bad = st;
    bad.maxClass[0] = 7;
    EXPECT_FALSE(decodeCheckpoint(run, encodeCheckpoint(run, bad, 90.0, sig), sig, &why));
    EXPECT_EQ(why, CheckpointRefusal::Damaged);
    bad = st;
    bad.exceedFlag[1][2] = 2;
    EXPECT_FALSE(decodeCheckpoint(run, encodeCheckpoint(run, bad, 90.0, sig), sig, &why));
    EXPECT_EQ(why, CheckpointRefusal::Damaged);
    // Another run's file stays a silent no.
    EXPECT_FALSE(decodeCheckpoint(run, good, CheckpointSignature{{{100, 6}}}, &why));
    EXPECT_EQ(why, CheckpointRefusal::OtherRun);
    EXPECT_TRUE(checkpointRefusalText("x.tmp", CheckpointRefusal::OtherRun).empty());
    EXPECT_EQ(
        checkpointRefusalText("x.tmp", CheckpointRefusal::OldLayout),
        "Soubor s mezivýsledky x.tmp byl zapsán starší verzí programu, výpočet z něj nelze obnovit a poběží od začátku.");
}

}  // namespace
}  // namespace ovd
