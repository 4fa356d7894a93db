#include "common/ini_file.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "testing/test_support.h"

using namespace ovd;

TEST(IniDocument, FindsSectionsAndKeysWithoutRegardToCaseFirstWins)
{
    auto doc = IniDocument::parse("[Global]\r\nVstReferBodTxt = a.txt \r\nvstreferbodtxt=b.txt\r\n[global]\r\nX=1\r\n");
    EXPECT_EQ(doc.get("GLOBAL", "VSTREFERBODTXT").value(), "a.txt");
    EXPECT_FALSE(doc.get("Global", "X").has_value()) << "a duplicate section is not read";
    EXPECT_FALSE(doc.get("Other", "X").has_value());
}

TEST(IniDocument, ReplacesInPlaceAppendsToSectionAndAddsSectionAtEnd)
{
    auto doc = IniDocument::parse("; other program\n[A]\nk1=1\nk2=2\n\n[B]\nz=9\n");
    doc.set("a", "K1", "one");
    doc.set("A", "k3", "3");
    doc.set("C", "new", "x");
    EXPECT_EQ(doc.serialize(), "; other program\n[A]\nK1=one\nk2=2\nk3=3\n\n[B]\nz=9\n[C]\nnew=x\n");
}

TEST(IniDocument, KeepsCrLfAndEndsAnUnterminatedLastLine)
{
    auto doc = IniDocument::parse("[A]\r\nk=1");
    doc.set("B", "m", "2");
    EXPECT_EQ(doc.serialize(), "[A]\r\nk=1\r\n[B]\r\nm=2\r\n");
}

TEST(IniDocument, KeepsLinesItDoesNotUnderstand)
{
    std::string text = "garbage line\n[A]\n;k=commented\nnot a key\nk = v \n";
    auto doc = IniDocument::parse(text);
    EXPECT_EQ(doc.serialize(), text);
    EXPECT_EQ(doc.get("A", "k").value(), "v");
    EXPECT_FALSE(doc.get("A", ";k").has_value());
}

TEST(IniDocument, SectionListAndReplaceSection)
{
    auto doc = IniDocument::parse("[L]\n;note\na=1\nb=2\nA=3\n[M]\nq=1\n");
    auto keys = doc.section("l");
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[1].first, "b");
    doc.replaceSection("L", {{"x", "9"}});
    EXPECT_EQ(doc.serialize(), "[L]\n;note\nx=9\n[M]\nq=1\n");
}

TEST(IniFile, CreatesMissingFileAndSurvivesOtherProgramsLines)
{
    TempDir dir;
    IniFile ini(dir.path("p.ovd"));
    EXPECT_EQ(ini.read("Global", "X", "def"), "def");
    ASSERT_TRUE(ini.write("Global", "VstReferBodTxt", "/tmp/a.txt"));
    EXPECT_EQ(ini.read("global", "vstreferbodtxt"), "/tmp/a.txt");

    writeFileAtomically(ini.path(), "[Editor]\r\nPos=1,2\r\n[Global]\r\nVstReferBodTxt=/x\r\n");
    ASSERT_TRUE(ini.write("Global", "VstReferBodTxt", "/y"));
    EXPECT_EQ(readFileBytes(ini.path()).value(), "[Editor]\r\nPos=1,2\r\n[Global]\r\nVstReferBodTxt=/y\r\n");
}

TEST(IniFile, FailedWriteReturnsFalseAndLeavesNothing)
{
    TempDir dir;
    IniFile ini(dir.path("missing-folder/p.ovd"));
    EXPECT_FALSE(ini.write("A", "k", "v"));
    IniFile onDir(dir.path(""));
    EXPECT_FALSE(onDir.write("A", "k", "v"));
}

TEST(IniDocument, EachLineKeepsItsOwnEndAndValuesStayOnOneLine)
{
    std::string text = "[A]\nx=1\r\ny=2\n";
    auto doc = IniDocument::parse(text);
    EXPECT_EQ(doc.serialize(), text);
    doc.set("A", "x", "a\nb");
    EXPECT_EQ(doc.serialize(), "[A]\nx=a b\r\ny=2\n");
    EXPECT_EQ(doc.get("A", "x").value(), "a b");
}
