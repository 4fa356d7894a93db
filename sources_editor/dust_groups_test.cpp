#include "sources_editor/dust_groups.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/ini_file.h"
#include "common/text.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

TEST(DustText, BothWays)
{
    DustText g = parseDustText("2500,3");
    EXPECT_EQ(g.density, "2500");
    EXPECT_EQ(g.group, 3);
    EXPECT_TRUE(g.particles.empty());
    EXPECT_EQ(formatDustText(g), "2500,3");

    DustText m = parseDustText("2500,0,2,10,0.6,50,0.4");
    ASSERT_EQ(m.particles.size(), 2u);
    EXPECT_EQ(m.particles[1].diameter, "50");
    EXPECT_EQ(m.particles[1].share, "0.4");
    EXPECT_EQ(formatDustText(m), "2500,0,2,10,0.6,50,0.4");

    DustText shortList = parseDustText("1800,0,3,10,0.5");  // count above the pairs present
    EXPECT_EQ(shortList.particles.size(), 1u);
    EXPECT_EQ(formatDustText(shortList), "1800,0,1,10,0.5");
    EXPECT_EQ(formatDustText(parseDustText("")), "0,0,0");
}

TEST(DustText, ParticleRules)
{
    std::vector<DustParticle> list;
    EXPECT_FALSE(addParticle(list, "10", "0"));
    EXPECT_FALSE(addParticle(list, "0", "0.5"));
    EXPECT_TRUE(addParticle(list, "10", "0.5"));
    EXPECT_TRUE(addParticle(list, "50", "0.5"));
    EXPECT_TRUE(addParticle(list, "10.0", "0.3"));  // same diameter: new share
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].share, "0.3");
    EXPECT_TRUE(addParticle(list, "10", "0"));  // share 0 removes
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].diameter, "50");
    EXPECT_FALSE(removeParticle(list, "10"));
    EXPECT_TRUE(removeParticle(list, "50"));
    EXPECT_TRUE(list.empty());
}

TEST(DustGroups, FileReadEditAndSave)
{
    TempDir dir;
    RecordingReporter r;
    const std::string path = dir.path("g.spr");
    writeFileAtomically(path, utf8ToCp1250(";první\r\n3,2,10,0.6,50,0.4;Cement\r\n\r\n;Popis skupin\r\n5,1,20,1;\r\n"));
    cSkupinyPrachu g;
    ASSERT_TRUE(g.OtevriSkupiny(path, r));
    ASSERT_EQ(g.Count(), 2);
    EXPECT_EQ(g.Komentar(), "Popis skupin");
    EXPECT_EQ(g.SkupinaNazev(0), "Cement");
    EXPECT_EQ(g.SkupinaNazev(1), "(skupina 5)");
    EXPECT_EQ(g.SkupinaCislo(1), 5);
    EXPECT_EQ(g.particles(0).size(), 2u);
    EXPECT_FALSE(g.changed());

    EXPECT_EQ(g.newGroup(), 2);
    EXPECT_EQ(g.SkupinaNazev(2), "Nová skupina 6");
    EXPECT_EQ(g.groups()[2].line, "6,0;Nová skupina 6");
    EXPECT_TRUE(g.changed());

    EXPECT_TRUE(g.renumber(2, "3").has_value());  // taken
    EXPECT_TRUE(g.renumber(2, "0").has_value());
    EXPECT_TRUE(g.renumber(2, "32768").has_value());
    EXPECT_TRUE(g.renumber(2, "1x").has_value());
    EXPECT_FALSE(g.renumber(2, "12").has_value());
    EXPECT_EQ(g.groups()[2].line, "12,0;Nová skupina 6");
    g.store(5, "Popílek", {{"20", "1"}});
    EXPECT_EQ(g.groups()[1].line, "5,1,20,1;Popílek");
    g.remove(0);

    writeFileAtomically(dir.path("p.ovd"), "[Global]\n");
    ASSERT_TRUE(g.UlozSkupiny(dir.path("out.spr"), dir.path("p.ovd"), r));
    EXPECT_EQ(readFileBytes(dir.path("out.spr")).value(),
              utf8ToCp1250(";Popis skupin\r\n5,1,20,1;Popílek\r\n12,0;Nová skupina 6\r\n"));
    EXPECT_EQ(IniFile(dir.path("p.ovd")).read("Global", "VstZdrojSkupTxt"), dir.path("out.spr"));
    EXPECT_EQ(g.FileName(), dir.path("out.spr"));
    EXPECT_FALSE(g.changed());
    EXPECT_TRUE(r.messages.empty());
}

TEST(DustGroups, EmptyFileAndFailuresKeepTheList)
{
    TempDir dir;
    RecordingReporter r;
    writeFileAtomically(dir.path("e.spr"), ";\r\n");
    cSkupinyPrachu g;
    ASSERT_TRUE(g.OtevriSkupiny(dir.path("e.spr"), r));
    EXPECT_EQ(g.Count(), 0);
    g.newGroup();
    EXPECT_EQ(g.SkupinaNazev(0), "Nová skupina 1");
    EXPECT_FALSE(g.OtevriSkupiny(dir.path("none.spr"), r));
    EXPECT_FALSE(g.UlozSkupiny(dir.path("no/dir/x.spr"), "", r));
    EXPECT_EQ(g.Count(), 1);
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].text, "Chyba při čtení ze souboru");
    EXPECT_EQ(r.messages[1].text, "Chyba při zápisu do souboru");
}

}  // namespace
}  // namespace ovd
