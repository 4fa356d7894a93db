// The editor's windows under the offscreen platform, questions answered by a script.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "cell_editor.h"
#include "common/file_io.h"
#include "common/ini_file.h"
#include "common/text.h"
#include "frm_nastaveni.h"
#include "frm_protokol.h"
#include "frm_ruzice.h"
#include "ovrdruz.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"
#include "windrose/control/pollution_rose.h"

namespace ovd {
namespace {

// A rose of 100 %: 10 in N of each of the ten first rows, 0 elsewhere.
std::string roseFile()
{
    std::string text = ";Zkusebni\r\n";
    for (int r = 0; r < 11; ++r)
        text +=
            std::string(r < 10 ? " 10.00" : "  0.00") + ",  0.00,  0.00,  0.00,  0.00,  0.00,  0.00,  0.00,  0.00\r\n";
    return text;
}

struct Fixture {
    TempDir dir;
    std::string rose = dir.path("ruze.txt");
    std::string project = dir.path("studie.ovd");
    std::string settings = dir.path("xovrruz.ini");
    Fixture()
    {
        writeFileAtomically(rose, roseFile());
        writeFileAtomically(project, "[Global]\nNazev=studie\n");
    }
};

void typeIntoCell(ovrdruz& w, int row, int column, const char* text)
{
    w.Tabulka->setCurrentCell(row, column);
    QTest::keyClick(w.Tabulka, text[0]);
    QTest::keyClicks(w.EditBox, text + 1);
    QTest::keyClick(w.EditBox, Qt::Key_Return);
}

TEST(Xovrruz, BoundEditCloseAndSave)
{
    Fixture f;
    RecordingReporter reporter({Answer::Yes, Answer::Yes});
    ovrdruz w(EditorArguments::parse({f.rose, "/s", "/ini", f.project}), &reporter, f.settings);
    w.show();
    EXPECT_EQ(w.windowTitle().toStdString(), "Větrná růžice - [" + f.rose + "]");
    EXPECT_FALSE(w.mnuOtevri->isVisible());
    EXPECT_FALSE(w.mnuUloz->isVisible());
    EXPECT_FALSE(w.mnuSPC1->isVisible());
    EXPECT_EQ(w.Komentar->text(), "Zkusebni");
    EXPECT_EQ(w.Tabulka->item(12, 10)->text(), "100/100");
    EXPECT_EQ(w.Tabulka->item(0, 11)->text(), QString::fromUtf8("Rozpočet"));

    typeIntoCell(w, 2, 3, "5,255");
    EXPECT_FALSE(w.EditBox->isVisible());
    EXPECT_EQ(w.Tabulka->item(2, 3)->text(), "5.26");
    EXPECT_EQ(w.Tabulka->item(2, 10)->text(), "15.26");
    EXPECT_EQ(w.Tabulka->item(12, 3)->text(), "5.26");
    EXPECT_EQ(w.Tabulka->item(12, 10)->text(), "105.26/105.26");
    EXPECT_TRUE(w.document().changed());

    EXPECT_TRUE(w.close());
    ASSERT_EQ(reporter.questions.size(), 2u);
    EXPECT_EQ(reporter.questions[0].text, "Uložit změny ?");
    EXPECT_EQ(reporter.questions[0].buttons, Buttons::YesNo);
    EXPECT_EQ(reporter.questions[1].caption, "Varování…");  // SafeSave off for this save
    std::string saved = cp1250ToUtf8(*readFileBytes(f.rose));
    EXPECT_NE(saved.find("\r\n 10.00,  0.00,  5.26,  0.00"), std::string::npos);
    EXPECT_EQ(IniFile(f.project).read("Global", "VstRuziceTxt"), f.rose);
    EXPECT_EQ(IniFile(f.project).read("Global", "Nazev"), "studie");
    EXPECT_FALSE(IniFile(f.settings).read("Form", "Width").empty());
    EXPECT_EQ(IniFile(f.settings).read("Table", "SafeSave"), "1");
}

TEST(Xovrruz, BoundCloseNoLeavesTheFile)
{
    Fixture f;
    RecordingReporter reporter({Answer::No});
    ovrdruz w(EditorArguments::parse({f.rose, "/s", "/ini", f.project}), &reporter, f.settings);
    typeIntoCell(w, 1, 1, "1");
    typeIntoCell(w, 4, 11, "62.5");
    EXPECT_EQ(w.Tabulka->item(12, 11)->text(), "62.50");
    EXPECT_TRUE(w.close());
    EXPECT_EQ(*readFileBytes(f.rose), roseFile());
    EXPECT_TRUE(IniFile(f.project).read("Global", "VstRuziceTxt").empty());

    // The "Rozpočet" shares come back in the next session.
    EXPECT_EQ(IniFile(f.settings).read("Table", "Recount"), "0;0;0;62.5;0;0;0;0;0;0;0;");
    ovrdruz again(EditorArguments::parse({f.rose, "/s", "/ini", f.project}), &reporter, f.settings);
    EXPECT_EQ(again.Tabulka->item(4, 11)->text(), "62.50");
    EXPECT_EQ(again.Tabulka->item(12, 11)->text(), "62.50");
    EXPECT_FALSE(again.document().changed());
}

TEST(Xovrruz, FreeModeMenusAndCancel)
{
    Fixture f;
    RecordingReporter reporter({Answer::Cancel});
    ovrdruz w(EditorArguments::parse({"/ini", f.project}), &reporter, f.settings);
    w.show();
    EXPECT_TRUE(w.mnuOtevri->isVisible());
    EXPECT_TRUE(w.mnuUloz->isVisible());
    EXPECT_TRUE(w.mnuSPC1->isVisible());
    EXPECT_EQ(w.mnuVetrnaRuzice->objectName(), "mnuVetrnaRuzice");
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Větrná růžice"));
    typeIntoCell(w, 12, 2, "100");  // a direction total typed directly
    EXPECT_EQ(w.Tabulka->item(12, 10)->text(), "100/0");
    EXPECT_FALSE(w.close());  // Cancel keeps the window
    EXPECT_EQ(reporter.questions.back().buttons, Buttons::YesNoCancel);
    EXPECT_TRUE(w.isVisible());
    w.document().setChanged(false);
}

TEST(Xovrruz, EditBoxKeysLockedCellsAndBlocks)
{
    Fixture f;
    RecordingReporter reporter;
    ovrdruz w(EditorArguments::parse({"/ini", f.project}), &reporter, f.settings);
    w.show();
    w.Tabulka->setCurrentCell(3, 9);  // CALM at 5 m/s
    QTest::keyClick(w.Tabulka, Qt::Key_Return);
    EXPECT_FALSE(w.EditBox->isVisible());
    w.Tabulka->setCurrentCell(1, 1);
    QTest::keyClick(w.Tabulka, Qt::Key_A);
    EXPECT_FALSE(w.EditBox->isVisible());
    QTest::keyClick(w.Tabulka, ',');
    ASSERT_TRUE(w.EditBox->isVisible());
    EXPECT_EQ(w.EditBox->text(), ",");
    QTest::keyClick(w.EditBox, Qt::Key_Escape);
    EXPECT_FALSE(w.EditBox->isVisible());
    EXPECT_EQ(w.Tabulka->item(1, 1)->text(), "0.00");

    w.Tabulka->clearSelection();
    w.Tabulka->setCurrentCell(2, 8);
    w.Tabulka->setRangeSelected(QTableWidgetSelectionRange(2, 8, 4, 9), true);
    QTest::keyClick(w.Tabulka, Qt::Key_Return);
    QTest::keyClicks(w.EditBox, "2");
    QTest::keyClick(w.EditBox, Qt::Key_Enter);
    EXPECT_EQ(w.Tabulka->item(3, 8)->text(), "2.00");
    EXPECT_EQ(w.Tabulka->item(4, 9)->text(), "2.00");
    EXPECT_EQ(w.Tabulka->item(3, 9)->text(), "0.00");  // locked, untouched
    EXPECT_EQ(w.Tabulka->item(12, 9)->text(), "4.00");
    w.document().setChanged(false);
}

TEST(Xovrruz, GraphFollowsTheTotalsAndLayers)
{
    Fixture f;
    RecordingReporter reporter;
    ovrdruz w(EditorArguments::parse({f.rose, "/ini", f.project}), &reporter, f.settings);
    uPollutionRose* rose = w.graph()->uPollutionRose1;
    EXPECT_EQ(rose->DataArray(), (QVector<float>{100, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(rose->RoseHorizontalMirror());
    EXPECT_EQ(rose->RoseAngle(), 270);
    EXPECT_TRUE(rose->Caption().isEmpty());
    EXPECT_FALSE(rose->MultiLayersMode());
    typeIntoCell(w, 5, 2, "3");
    EXPECT_FLOAT_EQ(rose->DataArray()[1], 3.0f);
    w.graph()->classButtons[2]->trigger();  // class III
    EXPECT_TRUE(rose->MultiLayersMode());
    ASSERT_EQ(rose->MultiLayersData().size(), 1);
    EXPECT_EQ(rose->MultiLayersData()[0], (QVector<float>{30, 3, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(w.settings().tridyVetru, "00100");
    w.graph()->APROXIMATION->trigger();
    EXPECT_EQ(rose->MethodOfAproximation(), 1);
    w.document().setChanged(false);
}

TEST(Xovrruz, ProtocolIsRtfInATemporaryFile)
{
    Fixture f;
    RecordingReporter reporter;
    QString path;
    {
        ovrdruz w(EditorArguments::parse({f.rose, "/ini", f.project}), &reporter, f.settings);
        path = w.writeProtocol();
        ASSERT_FALSE(path.isEmpty());
        EXPECT_TRUE(QFileInfo(path).fileName().startsWith("OVD_"));
        EXPECT_TRUE(path.endsWith(".rtf"));
        std::string rtf = *readFileBytes(path.toStdString());
        EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
        EXPECT_NE(rtf.find("\\pngblip"), std::string::npos);
        EXPECT_NE(rtf.find("Courier New"), std::string::npos);
        EXPECT_NE(rtf.find("Zkusebni"), std::string::npos);
    }
    EXPECT_FALSE(QFileInfo::exists(path));  // gone with the program
}

TEST(Xovrruz, WindowsFitALaptopScreen)
{
    Fixture f;
    RecordingReporter reporter;
    ovrdruz w(EditorArguments::parse({f.rose, "/ini", f.project}), &reporter, f.settings);
    frmNastaveni options(w.settings(), &w);
    std::unique_ptr<frmProtokol> protocol = w.protocolWindow();
    for (QWidget* window : {static_cast<QWidget*>(&w), static_cast<QWidget*>(w.graph()),
                            static_cast<QWidget*>(&options), static_cast<QWidget*>(protocol.get())}) {
        QSize hint = window->size().expandedTo(window->minimumSizeHint());
        EXPECT_LE(hint.width(), 1366) << window->objectName().toStdString();
        EXPECT_LE(hint.height(), 740) << window->objectName().toStdString();
    }
    EXPECT_FALSE(options.windowFlags() & Qt::WindowMinimizeButtonHint);
    w.document().setChanged(false);
}

TEST(Xovrruz, TenStartsKeepThePlacement)
{
    Fixture f;
    std::string first;
    for (int start = 0; start < 10; ++start) {
        RecordingReporter reporter;
        ovrdruz w(EditorArguments::parse({"/ini", f.project}), &reporter, f.settings);
        if (start == 0)
            w.setGeometry(40, 60, 600, 420);  // on the 800 x 600 offscreen screen
        w.showWithGraph();
        QApplication::processEvents();
        ASSERT_TRUE(w.close());
        std::string now = readFileBytes(f.settings).value_or("");
        if (start == 0)
            first = now;
        ASSERT_EQ(now, first) << "start " << start;
    }
    IniFile stored(f.settings);
    EXPECT_EQ(stored.read("Form", "Top"), "900");  // 60 px at 96 dpi
    EXPECT_EQ(stored.read("Form", "Left"), "600");
}

}  // namespace
}  // namespace ovd

int main(int argc, char** argv)
{
    // Listing the tests runs without the test's environment: never ask for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
