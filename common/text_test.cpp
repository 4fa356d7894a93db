#include "common/text.h"

#include <gtest/gtest.h>

#include "common/czech_plural.h"
#include "common/file_io.h"
#include "testing/test_support.h"

using namespace ovd;

TEST(Text, Cp1250RoundTripOfCzechLetters)
{
    std::string czech = "Příliš žluťoučký kůň úpěl ďábelské ódy ŠČŘŽÝÁÍÉŮÚŤĎŇĚ";
    std::string bytes = utf8ToCp1250(czech);
    EXPECT_EQ(bytes.size(), 53u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xF8) << "ř";
    EXPECT_FALSE(isValidUtf8(bytes));
    EXPECT_EQ(cp1250ToUtf8(bytes), czech);
    EXPECT_EQ(decodeText(bytes), czech);
    EXPECT_EQ(decodeText(czech), czech);
    EXPECT_EQ(utf8ToCp1250("µ→x"), "\xB5?x");
}

TEST(Text, Utf8ValidationRejectsOverlongAndSurrogates)
{
    EXPECT_TRUE(isValidUtf8("a\xC5\xA1"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(isValidUtf8("\xE2\x82"));
}

TEST(Text, LinesSplitAtBothEnds)
{
    EXPECT_EQ(splitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\n\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(splitLines("").empty());
}

TEST(Text, LineReaderReadsLongLinesWhole)
{
    TempDir dir;
    std::string longLine(100000, 'x');
    writeFileAtomically(dir.path("t.txt"), longLine + "\r\nshort\nlast");
    File f(dir.path("t.txt"), "rb");
    LineReader r(f.get());
    std::string line;
    ASSERT_TRUE(r.next(line));
    EXPECT_EQ(line, longLine);
    ASSERT_TRUE(r.next(line));
    EXPECT_EQ(line, "short");
    ASSERT_TRUE(r.next(line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(r.next(line));
    EXPECT_EQ(r.lineNumber(), 3);
}

TEST(Text, ReadTextFileAndAppendInfo)
{
    TempDir dir;
    writeFileAtomically(dir.path("w.txt"), utf8ToCp1250("Náměstí\r\nx"));
    auto tf = readTextFile(dir.path("w.txt"));
    ASSERT_TRUE(tf);
    EXPECT_EQ(tf->lines[0], "Náměstí");
    EXPECT_TRUE(tf->crlf);
    EXPECT_FALSE(tf->terminated);
    AppendInfo info = inspectForAppend(dir.path("w.txt"));
    EXPECT_TRUE(info.exists && info.crlf && !info.terminated);
    EXPECT_FALSE(inspectForAppend(dir.path("none")).exists);
}

TEST(FileIo, AtomicOutputLeavesTheOldFileUntilCommit)
{
    TempDir dir;
    std::string target = dir.path("out.bin");
    writeFileAtomically(target, "old");
    {
        AtomicOutput out(target);
        ASSERT_TRUE(out.isOpen());
        out.write("half");
    }  // abandoned: a failed run
    EXPECT_EQ(readFileBytes(target).value(), "old");
    {
        AtomicOutput out(target);
        out.write("new");
        ASSERT_TRUE(out.commit());
    }
    EXPECT_EQ(readFileBytes(target).value(), "new");
    EXPECT_EQ(dir.names().size(), 1u) << "no temporary file is left behind";
}

TEST(FileIo, CopyOntoItselfKeepsTheContent)
{
    TempDir dir;
    writeFileAtomically(dir.path("a"), "content");
    EXPECT_TRUE(copyFile(dir.path("a"), dir.path("a")));
    EXPECT_EQ(readFileBytes(dir.path("a")).value(), "content");
    EXPECT_TRUE(copyFile(dir.path("a"), dir.path("b")));
    EXPECT_EQ(readFileBytes(dir.path("b")).value(), "content");
}

TEST(CzechPlural, TheCountAsAWholeChoosesTheForm)
{
    const char* forms[] = {"dlaždice", "dlaždice", "dlaždic"};
    EXPECT_EQ(ovd::czechCount(0, forms[0], forms[1], forms[2]), "0 dlaždic");
    EXPECT_EQ(ovd::czechCount(1, "zdroj", "zdroje", "zdrojů"), "1 zdroj");
    EXPECT_EQ(ovd::czechCount(4, "zdroj", "zdroje", "zdrojů"), "4 zdroje");
    EXPECT_EQ(ovd::czechCount(5, "záznam", "záznamy", "záznamů"), "5 záznamů");
    EXPECT_EQ(ovd::czechCount(22, "záznam", "záznamy", "záznamů"), "22 záznamů");
    EXPECT_EQ(ovd::czechCount(12, "bod", "body", "bodů"), "12 bodů");
}
