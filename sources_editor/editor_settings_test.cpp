#include "sources_editor/editor_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// The file as the editor has always written it.
const std::string kStoredEditorSettings = "[Soubory]\n"
                                          "LastPathFile:1=/a/b.txt\n"
                                          "LastPathFile:2=\n"
                                          "LastPathFile:3=\n"
                                          "ZdrojeBezPopisu=1\n"
                                          "SouborSkupinPrachu=\n"
                                          "[Tabulky]\n"
                                          "Tab1Sl1=1755\n"
                                          "Tab1Sl2=3360\n"
                                          "[Ostatni]\n"
                                          "MinNewID=50000\n"
                                          "AutoCalcXY=0\n"
                                          "TlakVzduchu=98000.5\n"
                                          "NoPrach=1\n";

TEST(EditorSettings, DefaultsRoundTripAndSections)
{
    TempDir dir;
    RecordingReporter r;
    SettingsFile f(dir.path("xovrzdr.ini"));
    EditorSettings s = EditorSettings::load(f);
    EXPECT_EQ(s.tab1Sl1, 1755);
    EXPECT_EQ(s.tab1Sl2, 3360);
    EXPECT_TRUE(s.noPrach);
    EXPECT_TRUE(s.zdrojeBezPopisu);
    EXPECT_EQ(s.minNewID, 50000);
    EXPECT_EQ(s.tlakVzduchu, 101325.0f);

    s.lastPoints = "/data/zdroje body.txt";
    s.minNewID = 60000;
    s.tlakVzduchu = 98000.5f;
    s.noPrach = false;
    s.autoCalcXY = true;
    ASSERT_TRUE(s.save(f, r));
    ASSERT_TRUE(saveDialogPath(f, 1, "/dlg/points.txt", r));
    EditorSettings back = EditorSettings::load(f);
    EXPECT_EQ(back.lastPoints, "/data/zdroje body.txt");
    EXPECT_EQ(back.minNewID, 60000);
    EXPECT_EQ(back.tlakVzduchu, 98000.5f);
    EXPECT_FALSE(back.noPrach);
    EXPECT_TRUE(back.autoCalcXY);
    // The file dialog's path lives apart from the remembered file of the same number.
    EXPECT_EQ(lastDialogPath(f, 1), "/dlg/points.txt");
    EXPECT_EQ(f.readString("Soubory", "LastPathFile:1"), "/data/zdroje body.txt");

    writeFileAtomically(f.path(), "[Ostatni]\nMinNewID=250000\nTlakVzduchu=1e300\n");
    EditorSettings capped = EditorSettings::load(f);
    EXPECT_EQ(capped.minNewID, 99998);
    EXPECT_EQ(capped.tlakVzduchu, 101325.0f);
}

// The first failed write makes the folder, so a chain that stops at a failure shows.
class FolderOnFirstFailure : public RecordingReporter {
public:
    explicit FolderOnFirstFailure(std::string folder)
        : m_folder(std::move(folder))
    { }
    void message(Severity s, std::string_view caption, std::string_view text) override
    {
        std::filesystem::create_directories(m_folder);
        RecordingReporter::message(s, caption, text);
    }

private:
    std::string m_folder;
};

TEST(EditorSettings, AFailedKeyDoesNotStopTheOthers)
{
    TempDir dir;
    SettingsFile f(dir.path("later/xovrzdr.ini"));
    FolderOnFirstFailure r(dir.path("later"));
    EditorSettings s;
    s.lastDust = "/d/prach.txt";
    s.noPrach = false;
    EXPECT_FALSE(s.save(f, r));
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "Nepodařilo se zapsat do ini souboru");
    EXPECT_EQ(f.readString("Soubory", "LastPathFile:1", "none"), "none");  // the one that failed
    EXPECT_EQ(f.readString("Soubory", "LastPathFile:3"), "/d/prach.txt");
    EXPECT_EQ(f.readString("Ostatni", "NoPrach"), "0");  // the last key
}

TEST(EditorSettings, StoredBytesAndLenientReading)
{
    TempDir dir;
    RecordingReporter r;
    SettingsFile f(dir.path("xovrzdr.ini"));
    // A file without keys gives the struct's own values, key by key.
    const EditorSettings fresh;
    for (const Param<EditorSettings>& p : EditorSettings::kParams)
        EXPECT_EQ(paramText(EditorSettings::load(f), p), paramText(fresh, p)) << p.info.key;
    EditorSettings s;
    s.lastPoints = "/a/b.txt";
    s.tlakVzduchu = 98000.5f;
    ASSERT_TRUE(s.save(f, r));
    EXPECT_EQ(readFileBytes(f.path()).value_or(""), kStoredEditorSettings);
    // Switches are numbers: any but 0 is on; a text that is none keeps the default.
    ASSERT_TRUE(writeFileAtomically(f.path(),
                                    "[Soubory]\nZdrojeBezPopisu=0\n[Ostatni]\nAutoCalcXY=2\nNoPrach=ne\n"
                                    "MinNewID=-4\nTlakVzduchu=abc\n"));
    EditorSettings back = EditorSettings::load(f);
    EXPECT_FALSE(back.zdrojeBezPopisu);
    EXPECT_TRUE(back.autoCalcXY);
    EXPECT_TRUE(back.noPrach);
    EXPECT_EQ(back.minNewID, 0);
    EXPECT_EQ(back.tlakVzduchu, 101325.0f);
}

TEST(EditorSettings, WindowGeometry)
{
    TempDir dir;
    RecordingReporter r;
    SettingsFile f(dir.path("x.ini"));
    EXPECT_FALSE(loadFormGeometry(f, "frmOVRDZDR").stored);
    ASSERT_TRUE(saveFormGeometry(f, "frmOVRDZDR", {10, 20, 800, 600, 2, true}, r));
    WindowGeometry g = loadFormGeometry(f, "frmOVRDZDR");
    EXPECT_TRUE(g.stored);
    EXPECT_EQ(g.left, 20);
    EXPECT_EQ(g.windowState, 2);
    ASSERT_TRUE(saveSubFormGeometry(f, "frmBodovyZdroj", {-5, 40, 0, 0, 0, true}, false, r));
    WindowGeometry d = loadSubFormGeometry(f, "frmBodovyZdroj");
    EXPECT_TRUE(d.stored);
    EXPECT_EQ(d.top, -5);
    EXPECT_EQ(f.readString("SubForm:frmBodovyZdroj", "Width", "none"), "none");
}

}  // namespace
}  // namespace ovd
