#include "sources_editor/editor_settings.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

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
