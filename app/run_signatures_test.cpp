// The signatures of a run's inputs in the project, and their check against the files now.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/run_signatures.h"
#include "common/file_io.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

constexpr ParamInfo kKeys[] = {{"S", "VstA", ParamKind::Text, {}, {}, {}},
                               {"S", "VystB", ParamKind::Text, {}, {}, {}},
                               {"S", "Krok", ParamKind::Integer, {}, {}, {}}};

struct Study {
    TempDir dir;
    std::string project = dir.path("study.ovd");

    void put(const std::string& name, const std::string& bytes) const
    {
        ASSERT_TRUE(writeFileAtomically(dir.path(name), bytes));
    }
    // One run: reads VstA, writes VystB.
    void compute(const std::string& input, const std::string& output, const std::string& result) const
    {
        SettingsFile p(project);
        RecordingReporter r;
        p.writeString("S", "VstA", dir.path(input), r);
        p.writeString("S", "VystB", dir.path(output), r);
        RunSignatures before = RunSignatures::before(p, kKeys, {}, CommandArgs{});
        put(output, result);
        ASSERT_TRUE(before.record(p, r));
    }
};

TEST(RunSignatures, TextRoundTripsNamesWithSeparators)
{
    std::vector<SignedInput> in{{"a=b;c|d%e.txt", "0123456789abcdef"}, {" mezera ", "fedcba9876543210"}};
    std::optional<std::vector<SignedInput>> back = parseSignature(signatureText(in));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[0].name, "a=b;c|d%e.txt");
    EXPECT_EQ((*back)[1].name, " mezera ");
    EXPECT_EQ((*back)[1].hash, "fedcba9876543210");
    EXPECT_FALSE(parseSignature("bez-otisku"));
    EXPECT_FALSE(parseSignature("a%Zz|0123"));
}

TEST(RunSignatures, AnOutputIsSignedWithTheContentOfItsInputs)
{
    Study s;
    s.put("vstup.txt", "1");
    s.put("vysledek.dbf", "stary");
    s.compute("vstup.txt", "vysledek.dbf", "novy vysledek");
    SettingsFile p(s.project);
    EXPECT_EQ(p.readString("Podpisy", "vysledek.dbf").rfind("vstup.txt|", 0), 0u) << p.readString("Podpisy", "vysledek.dbf");
    SignatureCheck fresh = checkSignature(p, s.dir.path("vysledek.dbf"));
    EXPECT_TRUE(fresh.signedOutput);
    EXPECT_TRUE(fresh.changed.empty());

    // The same bytes written again change nothing; other bytes name the input.
    s.put("vstup.txt", "1");
    EXPECT_TRUE(checkSignature(p, s.dir.path("vysledek.dbf")).changed.empty());
    s.put("vstup.txt", "2");
    EXPECT_EQ(checkSignature(p, s.dir.path("vysledek.dbf")).changed, std::vector<std::string>{"vstup.txt"});
    std::filesystem::remove(s.dir.path("vstup.txt"));
    EXPECT_EQ(checkSignature(p, s.dir.path("vysledek.dbf")).changed, std::vector<std::string>{"vstup.txt"});
}

TEST(RunSignatures, AnOutputKeyNeverSignsAsAnInputAndNothingWrittenSignsNothing)
{
    Study s;
    s.put("vstup.txt", "1");
    s.put("vysledek.dbf", "x");
    SettingsFile p(s.project);
    RecordingReporter r;
    p.writeString("S", "VstA", s.dir.path("vstup.txt"), r);
    p.writeString("S", "VystB", s.dir.path("vysledek.dbf"), r);
    RunSignatures::before(p, kKeys, {}, CommandArgs{}).record(p, r);
    EXPECT_TRUE(p.ini().readSection("Podpisy").empty());  // a run that wrote nothing

    s.compute("vstup.txt", "jiny.dbf", "y");
    EXPECT_EQ(p.readString("Podpisy", "jiny.dbf").find("vysledek.dbf"), std::string::npos)
        << "an existing output of the tool is not its input";
}

TEST(RunSignatures, ACopiedFolderStaysCurrentAndAChangeIsFoundThroughATableItRead)
{
    Study s;
    s.put("vstup.txt", "1");
    s.compute("vstup.txt", "matice.bin", "matice");
    s.compute("matice.bin", "vysledek.dbf", "vysledek");
    TempDir copy;
    std::filesystem::copy(s.dir.root(), copy.root(), std::filesystem::copy_options::recursive |
                                                        std::filesystem::copy_options::overwrite_existing);
    SettingsFile copied(copy.path("study.ovd"));
    EXPECT_TRUE(checkSignature(copied, copy.path("vysledek.dbf")).changed.empty());

    ASSERT_TRUE(writeFileAtomically(copy.path("vstup.txt"), "2"));
    EXPECT_EQ(checkSignature(copied, copy.path("vysledek.dbf")).changed, std::vector<std::string>{"vstup.txt"});
    EXPECT_TRUE(checkSignature(SettingsFile(s.project), s.dir.path("vysledek.dbf")).changed.empty())
        << "the original folder is not touched by its copy";
}

}  // namespace
}  // namespace ovd
