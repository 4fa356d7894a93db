#include "model/study_run.h"

#include <gtest/gtest.h>

#include "common/dbf_reader.h"
#include "common/file_io.h"
#include "common/le_io.h"
#include "common/paths.h"
#include "inputs/binary_inputs.h"
#include "model/concentration_texts.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

std::string matrixBytes(std::int32_t rows, std::int32_t columns, float value)
{
    std::string out;
    putI32(out, rows);
    putI32(out, columns);
    for (std::int32_t i = 0; i < rows * columns; ++i)
        putF32(out, value);
    return out;
}

// A gas study of one source and two points, with its outputs in the same folder.
struct Study {
    TempDir dir;
    StudyFiles files;
    Study()
    {
        files = {dir.path("body.bin"), dir.path("zdroje.bin"), dir.path("theta.bin"), dir.path("delta.bin"),
                 dir.path("zmax.bin"), dir.path("vysl.dbf"),   dir.path("vysl.vst"),  dir.path("prub.tmp")};
        writeFileAtomically(files.points, encodePoints({{1, 10, 20, 0, 0}, {2, 30, 40, 0, 0}}));
        SourceRecord s;
        s.number = 7;
        s.type = kPointSource;
        s.values = {1, 20, 1, 100, 1, 5, 1, 24, 0};
        writeFileAtomically(files.sources, encodeSources({s}, false));
        writeFileAtomically(files.theta, matrixBytes(1, 2, 0.5f));
        writeFileAtomically(files.delta, matrixBytes(1, 2, 90.0f));
        writeFileAtomically(files.zmax, matrixBytes(1, 2, 100.0f));
    }
};

TEST(StudyRun, InputsAreReadOrRefusedWithTheRunsMessages)
{
    Study st;
    RecordingReporter rep;
    {
        StudyRun run(RunContext{rep, false});
        ASSERT_TRUE(run.readInputs(st.files));
        EXPECT_EQ(run.study.points.size(), 2u);
        EXPECT_EQ(run.study.sources.front().number, 7);
        EXPECT_EQ(run.study.matrices.columns, 2);
    }
    EXPECT_TRUE(rep.messages.empty());

    // A file that is missing and a file that is not such a file say different things.
    StudyFiles missing = st.files;
    missing.points = st.dir.path("none.bin");
    writeFileAtomically(st.files.sources, "short");
    for (const StudyFiles& f : {missing, st.files}) {
        StudyRun run(RunContext{rep, false});
        EXPECT_FALSE(run.readInputs(f));
    }
    EXPECT_EQ(rep.said(),
              (std::vector<std::string>{"Chyba: Vstupní soubor s refer. body nelze otevřít !",
                                        "Chyba: Binární soubor se zdroji má chybnou délku nebo hlavičku."}));
}

TEST(StudyRun, SourceFileOfTheOtherKindIsAQuestionOnlyWhenAttended)
{
    Study st;
    struct Case {
        bool dustRun, unattended;
        Answer answer;
        ToolStatus expected;
        std::size_t questions, errors;
    };
    for (const Case& c : {Case{false, false, Answer::No, ToolStatus::Done, 0, 0},
                          Case{true, false, Answer::Yes, ToolStatus::Done, 1, 0},
                          Case{true, false, Answer::No, ToolStatus::Declined, 1, 0},
                          Case{true, true, Answer::Yes, ToolStatus::Failed, 0, 1}}) {
        RecordingReporter rep({c.answer});
        StudyRun run(RunContext{rep, c.unattended});
        ASSERT_TRUE(run.readInputs(st.files));
        EXPECT_EQ(run.confirmSourceKind(c.dustRun), c.expected) << c.dustRun << c.unattended;
        EXPECT_EQ(rep.questions.size(), c.questions);
        ASSERT_EQ(rep.messages.size(), c.errors);
        if (c.questions) {
            EXPECT_EQ(rep.questions[0].text, sourceKindQuestion(true));
        }
        if (c.errors) {
            EXPECT_EQ(rep.messages[0].text, sourceKindQuestion(true));
        }
    }
}

TEST(StudyRun, ClustersKeepTheCallersWordingForAnUnreadableFile)
{
    Study st;
    RecordingReporter rep;
    StudyRun run(RunContext{rep, false});
    EXPECT_FALSE(run.readClusters(st.dir.path("shluky.txt"), "Soubor shluků chybí !"));
    writeFileAtomically(st.dir.path("shluky.txt"), std::string(2 << 20, 'x'));
    EXPECT_FALSE(run.readClusters(st.dir.path("shluky.txt"), "Soubor shluků chybí !"));
    writeFileAtomically(st.dir.path("shluky.txt"), "3, 2, 150.5\n");
    EXPECT_TRUE(run.readClusters(st.dir.path("shluky.txt"), "Soubor shluků chybí !"));
    ASSERT_EQ(rep.messages.size(), 2u);
    EXPECT_EQ(rep.messages[0].text, "Soubor shluků chybí !");
    EXPECT_EQ(rep.messages[1].text, "Řádek 1 souboru " + st.dir.path("shluky.txt") + " je delší než 1 MiB.");
    ASSERT_EQ(run.study.clusters.size(), 1u);
    EXPECT_EQ(run.study.clusters[0].number, 3);
}

std::vector<DbfField> oneField()
{
    return {DbfField{"ID", 8, 0, 0}};
}

TEST(StudyRun, CommitWritesTheSourceTableAndMakesEveryOutputFinal)
{
    Study st;
    RecordingReporter rep;
    const std::string sourceTable = st.dir.path("zdroje.dbf");
    ToolStatus status = runStudy(RunContext{rep, false}, [&](StudyRun& run) {
        if (!run.readInputs(st.files) || !run.openOutputs(st.files, oneField()) ||
            !run.openSourceTable(sourceTable, "nelze"))
            return ToolStatus::Failed;
        run.writeProtocol("protokol\n");
        for (double id : {1.0, 2.0})
            run.writeRow(run.table, std::vector<double>{id});
        EXPECT_FALSE(fileExists(st.files.output)) << "nothing is final before the commit";
        return run.commit() ? ToolStatus::Done : ToolStatus::Failed;
    });
    EXPECT_EQ(status, ToolStatus::Done);
    EXPECT_TRUE(rep.messages.empty());
    EXPECT_EQ(readFileBytes(st.files.protocol), "protokol\n");
    auto results = DbfTable::load(st.files.output);
    auto sources = DbfTable::load(sourceTable);
    ASSERT_TRUE(results && sources);
    EXPECT_EQ(results->recordCount(), 2u);
    ASSERT_EQ(sources->recordCount(), 1u);
    EXPECT_NE(sources->fieldText(0, 0).find('7'), std::string_view::npos);
}

TEST(StudyRun, AStoppedRunLeavesNoOutputsAndSaysWhyInItsLog)
{
    Study st;
    RecordingReporter rep;
    ToolStatus status = runStudy(RunContext{rep, false}, [&](StudyRun& run) {
        if (!run.readInputs(st.files) || !run.openOutputs(st.files, oneField()))
            return ToolStatus::Failed;
        run.logLine("začátek\n");
        return run.fail("Něco se nepovedlo\nna dva řádky !");
    });
    EXPECT_EQ(status, ToolStatus::Failed);
    EXPECT_FALSE(fileExists(st.files.output));
    EXPECT_FALSE(fileExists(st.files.protocol));
    EXPECT_EQ(readFileBytes(st.files.log), "začátek\nVýpočet byl zastaven: Něco se nepovedlo na dva řádky !\n");
    ASSERT_EQ(rep.messages.size(), 1u);
    EXPECT_EQ(rep.messages[0].text, "Něco se nepovedlo\nna dva řádky !");
}

}  // namespace
}  // namespace ovd
