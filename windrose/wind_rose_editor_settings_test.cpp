#include "wind_rose_editor_settings.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/ini_file.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// The file as the editor has always written it.
const std::string kStoredWindRoseSettings = "[Form]\n"
                                            "Top=120\n"
                                            "Left=-1\n"
                                            "Width=-1\n"
                                            "Height=-1\n"
                                            "OpenPath=/r/\n"
                                            "SavePath=\n"
                                            "[Table]\n"
                                            "ColWidth_0=-1\n"
                                            "ColWidth_10=-1\n"
                                            "ColorText=0\n"
                                            "ColorSum=13682355\n"
                                            "ColorErr=255\n"
                                            "ColorRozpocet=14463853\n"
                                            "SafeSave=0\n"
                                            "EditFont=ARIAL,8,238,0,0,0,0\n"
                                            "Recount=\n"
                                            "[Graf]\n"
                                            "BackColor=16777215\n"
                                            "RasterColor=0\n"
                                            "DrawColor=0\n"
                                            "DrawWidth=2\n"
                                            "Visible=1\n"
                                            "TridyVetru=00000\n"
                                            "RychlostiVetru=100\n"
                                            "ColorRychlostVetru=0\n"
                                            "ColorTridaiVetru=0\n"
                                            "MethodOfAproximation=0\n";

TEST(WindRoseEditorSettings, DefaultsAndRoundTrip)
{
    TempDir dir;
    std::string path = dir.path("xovrruz.ini");
    WindRoseEditorSettings s = WindRoseEditorSettings::load(path);
    EXPECT_EQ(s.colorSum, 13682355);
    EXPECT_EQ(s.colorErr, 255);
    EXPECT_EQ(s.colorRozpocet, 14463853);
    EXPECT_TRUE(s.safeSave);
    EXPECT_TRUE(s.visible);
    EXPECT_EQ(s.backColor, 16777215);
    EXPECT_EQ(s.drawWidth, 2);
    EXPECT_EQ(s.editFont, "ARIAL,8,238,0,0,0,0");

    s.safeSave = false;
    s.left = 1440;
    s.openPath = "/data/ruze/";
    s.recount = "50;50;0;0;0;0;0;0;0;0;0;";
    s.showClassLayer(2, true);
    s.showSpeedLayer(2, true);
    s.methodOfAproximation = 1;
    RecordingReporter reporter;
    ASSERT_TRUE(s.save(path, reporter));
    IniFile ini(path);
    EXPECT_EQ(ini.read("Graf", "TridyVetru"), "00100");
    EXPECT_EQ(ini.read("Graf", "RychlostiVetru"), "001");
    EXPECT_EQ(ini.read("Table", "SafeSave"), "0");

    WindRoseEditorSettings back = WindRoseEditorSettings::load(path);
    EXPECT_FALSE(back.safeSave);
    EXPECT_EQ(back.left, 1440);
    EXPECT_EQ(back.openPath, "/data/ruze/");
    EXPECT_EQ(back.recount, s.recount);
    EXPECT_TRUE(back.classLayerShown(2));
    EXPECT_FALSE(back.classLayerShown(1));
    EXPECT_FALSE(back.classLayerShown(7));
    EXPECT_TRUE(back.speedLayerShown(2));
    EXPECT_EQ(back.methodOfAproximation, 1);
}

TEST(WindRoseEditorSettings, ForeignValues)
{
    TempDir dir;
    std::string path = dir.path("x.ini");
    ASSERT_TRUE(writeFileAtomically(path,
                                    "[Table]\nSafeSave=False\nColorSum=abc\n[Graf]\nVisible=True\n"
                                    "TridyVetru=1x\nRychlostiVetru=11111\n"));
    WindRoseEditorSettings s = WindRoseEditorSettings::load(path);
    EXPECT_FALSE(s.safeSave);
    EXPECT_TRUE(s.visible);
    EXPECT_EQ(s.colorSum, 13682355);
    EXPECT_EQ(s.tridyVetru, "10000");
    EXPECT_EQ(s.rychlostiVetru, "111");
}

TEST(WindRoseEditorSettings, StoredBytesAndDeclaredDefaults)
{
    TempDir dir;
    std::string path = dir.path("xovrruz.ini");
    // A file without keys gives the struct's own values, key by key.
    const WindRoseEditorSettings fresh;
    const WindRoseEditorSettings empty = WindRoseEditorSettings::load(path);
    for (const Param<WindRoseEditorSettings>& p : WindRoseEditorSettings::kParams)
        EXPECT_EQ(paramText(empty, p), paramText(fresh, p)) << p.info.key;
    WindRoseEditorSettings s;
    s.top = 120;
    s.openPath = "/r/";
    s.showSpeedLayer(0, true);
    s.safeSave = false;
    RecordingReporter reporter;
    ASSERT_TRUE(s.save(path, reporter));
    EXPECT_EQ(readFileBytes(path).value_or(""), kStoredWindRoseSettings);
}

TEST(StoredFont, ParsesBothSeparatorsAndFallsBack)
{
    StoredFont f = StoredFont::parse("ARIAL,8,238,0,0,0,0");
    EXPECT_EQ(f.name, "ARIAL");
    EXPECT_EQ(f.size, 8);
    EXPECT_EQ(f.charset, 238);
    EXPECT_FALSE(f.bold);
    f = StoredFont::parse("Courier New, 10.5, 238, 1, 0, 0, 1");
    EXPECT_EQ(f.name, "Courier New");
    EXPECT_EQ(f.size, 10.5);
    EXPECT_TRUE(f.bold);
    EXPECT_TRUE(f.underline);
    EXPECT_EQ(f.text(), "Courier New, 10.5, 238, 1, 0, 0, 1");
    f = StoredFont::parse(", -4");
    EXPECT_EQ(f.name, "ARIAL");
    EXPECT_EQ(f.size, 8);
}

}  // namespace
}  // namespace ovd
