#include "cmdparams/cmd_params.h"

#include <gtest/gtest.h>

namespace {

std::string dump(cCMDParams& p)
{
    std::string s;
    for (const cCMD& c : p.NewEnum())
        s += "[" + c.Key() + "=" + c.Value() + "]";
    return s;
}

std::string parsed(const std::string& line)
{
    cCMDParams p;
    p.CMDParams(line);
    return dump(p);
}

}  // namespace

TEST(CmdParams, PositionalItemsSwitchesAndKeyedItems)
{
    cCMDParams p;
    p.CMDParams("a.txt b.txt /s /ini x.ini");
    EXPECT_EQ(p.Count(), 4);
    EXPECT_EQ(dump(p), "[0=a.txt][1=b.txt][s=][ini=x.ini]");
    EXPECT_EQ(parsed("a.txt/s"), "[a.txt=][s=]");
    EXPECT_EQ(parsed("single"), "[0=single]");
    EXPECT_EQ(parsed("a  b"), "[0=a][1=b]");
    EXPECT_EQ(parsed("   "), "");
    EXPECT_EQ(parsed(""), "");
    EXPECT_EQ(parsed("/ini   spaced value  "), "[ini=spaced value]");
    EXPECT_EQ(parsed("a /"), "[0=a]");
}

TEST(CmdParams, QuotesProtectBlanksAndDelimiters)
{
    EXPECT_EQ(parsed("/ini \"/home/a b/p.ovd\""), "[ini=/home/a b/p.ovd]");
    EXPECT_EQ(parsed("\"/d/a b.txt\" \"/d/c.txt\" /s /ini \"/d/p.ovd\""),
              "[0=/d/a b.txt][1=/d/c.txt][s=][ini=/d/p.ovd]");
    // Empty quoted arguments keep their positions.
    EXPECT_EQ(parsed("\"/a.txt\" \"\" \"\" \"/d.spr\" /s"), "[0=/a.txt][1=][2=][3=/d.spr][s=]");
}

TEST(CmdParams, FirstOccurrenceWinsAndLookupIgnoresCase)
{
    cCMDParams p;
    p.CMDParams("/ini first.ini /INI second.ini");
    EXPECT_EQ(p.Count(), 1);
    EXPECT_EQ(p.Item("Ini").Value(), "first.ini");
    EXPECT_EQ(p.Item("Ini").Key(), "ini");
    cCMDParams s;
    s.CMDParams("/s");
    EXPECT_EQ(s.Count(), 1);
    EXPECT_TRUE(s.IsExistKey("S"));
    EXPECT_FALSE(s.IsExistKey("x"));
}

TEST(CmdParams, ItemDefaultsDoNotAddItems)
{
    cCMDParams p;
    p.CMDParams("a.txt /s");
    EXPECT_EQ(p.Count(), 2);
    cCMD missing = p.Item("x", "def");
    EXPECT_EQ(missing.Key(), "x");
    EXPECT_EQ(missing.Value(), "def");
    cCMD emptySwitch = p.Item("s", "d");
    EXPECT_EQ(emptySwitch.Value(), "d") << "an empty stored value gives the default";
    EXPECT_EQ(p.Count(), 2);
    // The returned item is a copy: changing it leaves the stored one alone.
    cCMD copy = p.Item("0");
    copy.Value("changed");
    EXPECT_EQ(p.Item("0").Value(), "a.txt");
}

TEST(CmdParams, IsExistKeyWorksBeforeTheFirstQuery)
{
    cCMDParams p;
    p.CMDParams("/s /ini x");
    EXPECT_TRUE(p.IsExistKey("s"));
}

TEST(CmdParams, ReparsesOnlyOnChangedValue)
{
    cCMDParams p;
    EXPECT_EQ(p.Count(), 0);
    EXPECT_EQ(p.DelimiterChar(), "/");
    p.CMDParams("a -x 1 /y 2");
    EXPECT_EQ(dump(p), "[0=a][1=-x][2=1][y=2]");
    p.CMDParams("a -x 1 /y 2");
    EXPECT_EQ(p.Count(), 4);
    p.DelimiterChar("-zz");
    EXPECT_EQ(p.DelimiterChar(), "-");
    EXPECT_EQ(dump(p), "[0=a][x=1 /y 2]");
    p.DelimiterChar("");
    EXPECT_EQ(p.DelimiterChar(), " ");
}

TEST(CmdParams, JoinQuotesEverythingButTheSwitches)
{
    std::string line = joinCommandLine({"/d/a b.txt", "", "/s", "/ini", "/p/x.ovd"});
    EXPECT_EQ(line, "\"/d/a b.txt\" \"\" /s /ini \"/p/x.ovd\"");
    cCMDParams p;
    p.CMDParams(line);
    EXPECT_EQ(dump(p), "[0=/d/a b.txt][1=][s=][ini=/p/x.ovd]");
}
