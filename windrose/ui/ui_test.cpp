// The editor's windows under the offscreen platform, questions answered by a script.
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTableWidget>
#include <QTest>

#include "common/file_io.h"
#include "common/ini_file.h"
#include "common/text.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"
#include "ui_common/menus.h"
#include "windrose/control/pollution_rose.h"
#include "windrose/ui/cell_editor.h"
#include "windrose/ui/frm_nastaveni.h"
#include "windrose/ui/frm_protokol.h"
#include "windrose/ui/frm_ruzice.h"
#include "windrose/ui/ovrdruz.h"

namespace ovd::roseui {
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

}  // namespace

class RoseEditorTest : public QObject {
    Q_OBJECT

private slots:
    void boundEditCloseAndSave()
    {
        Fixture f;
        RecordingReporter reporter({Answer::Yes, Answer::Yes});
        ovrdruz w(EditorArguments::parse({f.rose, "/s", "/ini", f.project}), &reporter, f.settings);
        w.show();
        QCOMPARE(w.windowTitle().toStdString(), "Větrná růžice - [" + f.rose + "]");
        QVERIFY(!findAction(&w, "mnuOtevri")->isVisible());
        QVERIFY(!findAction(&w, "mnuUloz")->isVisible());
        QVERIFY(!findAction(&w, "mnuSPC1")->isVisible());
        QCOMPARE(w.Komentar->text(), "Zkusebni");
        QCOMPARE(w.Tabulka->item(12, 10)->text(), "100/100");
        QCOMPARE(w.Tabulka->item(0, 11)->text(), QString::fromUtf8("Rozpočet"));

        typeIntoCell(w, 2, 3, "5,255");
        QVERIFY(!w.EditBox->isVisible());
        QCOMPARE(w.Tabulka->item(2, 3)->text(), "5.26");
        QCOMPARE(w.Tabulka->item(2, 10)->text(), "15.26");
        QCOMPARE(w.Tabulka->item(12, 3)->text(), "5.26");
        QCOMPARE(w.Tabulka->item(12, 10)->text(), "105.26/105.26");
        QVERIFY(w.document().changed());

        QVERIFY(w.close());
        QCOMPARE(reporter.questions.size(), 2u);
        QCOMPARE(reporter.questions[0].text, "Uložit změny ?");
        QCOMPARE(reporter.questions[0].buttons, Buttons::YesNo);
        QCOMPARE(reporter.questions[1].caption, "Varování…");  // SafeSave off for this save
        std::string saved = cp1250ToUtf8(*readFileBytes(f.rose));
        QVERIFY(saved.find("\r\n 10.00,  0.00,  5.26,  0.00") != std::string::npos);
        QCOMPARE(IniFile(f.project).read("Global", "VstRuziceTxt"), std::string("ruze.txt"));
        QCOMPARE(IniFile(f.project).read("Global", "Nazev"), "studie");
        QVERIFY(!(IniFile(f.settings).read("Form", "Width").empty()));
        QCOMPARE(IniFile(f.settings).read("Table", "SafeSave"), "1");
    }

    void boundCloseNoLeavesTheFile()
    {
        Fixture f;
        RecordingReporter reporter({Answer::No});
        ovrdruz w(EditorArguments::parse({f.rose, "/s", "/ini", f.project}), &reporter, f.settings);
        typeIntoCell(w, 1, 1, "1");
        typeIntoCell(w, 4, 11, "62.5");
        QCOMPARE(w.Tabulka->item(12, 11)->text(), "62.50");
        QVERIFY(w.close());
        QCOMPARE(*readFileBytes(f.rose), roseFile());
        QVERIFY(IniFile(f.project).read("Global", "VstRuziceTxt").empty());

        // The "Rozpočet" shares come back in the next session.
        QCOMPARE(IniFile(f.settings).read("Table", "Recount"), "0;0;0;62.5;0;0;0;0;0;0;0;");
        ovrdruz again(EditorArguments::parse({f.rose, "/s", "/ini", f.project}), &reporter, f.settings);
        QCOMPARE(again.Tabulka->item(4, 11)->text(), "62.50");
        QCOMPARE(again.Tabulka->item(12, 11)->text(), "62.50");
        QVERIFY(!(again.document().changed()));
    }

    void freeModeMenusAndCancel()
    {
        Fixture f;
        RecordingReporter reporter({Answer::Cancel});
        ovrdruz w(EditorArguments::parse({"/ini", f.project}), &reporter, f.settings);
        w.show();
        QVERIFY(findAction(&w, "mnuOtevri")->isVisible());
        QVERIFY(findAction(&w, "mnuUloz")->isVisible());
        QVERIFY(findAction(&w, "mnuSPC1")->isVisible());
        QVERIFY(findAction(&w, "mnuVetrnaRuzice")->isCheckable());
        QCOMPARE(w.windowTitle(), QString::fromUtf8("Větrná růžice"));
        typeIntoCell(w, 12, 2, "100");  // a direction total typed directly
        QCOMPARE(w.Tabulka->item(12, 10)->text(), "100/0");
        QVERIFY(!w.close());  // Cancel keeps the window
        QCOMPARE(reporter.questions.back().buttons, Buttons::YesNoCancel);
        QVERIFY(w.isVisible());
        w.document().setChanged(false);
    }

    void editBoxKeysLockedCellsAndBlocks()
    {
        Fixture f;
        RecordingReporter reporter;
        ovrdruz w(EditorArguments::parse({"/ini", f.project}), &reporter, f.settings);
        w.show();
        w.Tabulka->setCurrentCell(3, 9);  // CALM at 5 m/s
        QTest::keyClick(w.Tabulka, Qt::Key_Return);
        QVERIFY(!w.EditBox->isVisible());
        w.Tabulka->setCurrentCell(1, 1);
        QTest::keyClick(w.Tabulka, Qt::Key_A);
        QVERIFY(!w.EditBox->isVisible());
        QTest::keyClick(w.Tabulka, ',');
        QVERIFY(w.EditBox->isVisible());
        QCOMPARE(w.EditBox->text(), ",");
        QTest::keyClick(w.EditBox, Qt::Key_Escape);
        QVERIFY(!w.EditBox->isVisible());
        QCOMPARE(w.Tabulka->item(1, 1)->text(), "0.00");

        w.Tabulka->clearSelection();
        w.Tabulka->setCurrentCell(2, 8);
        w.Tabulka->setRangeSelected(QTableWidgetSelectionRange(2, 8, 4, 9), true);
        QTest::keyClick(w.Tabulka, Qt::Key_Return);
        QTest::keyClicks(w.EditBox, "2");
        QTest::keyClick(w.EditBox, Qt::Key_Enter);
        QCOMPARE(w.Tabulka->item(3, 8)->text(), "2.00");
        QCOMPARE(w.Tabulka->item(4, 9)->text(), "2.00");
        QCOMPARE(w.Tabulka->item(3, 9)->text(), "0.00");  // locked, untouched
        QCOMPARE(w.Tabulka->item(12, 9)->text(), "4.00");
        w.document().setChanged(false);
    }

    void graphFollowsTheTotalsAndLayers()
    {
        Fixture f;
        RecordingReporter reporter;
        ovrdruz w(EditorArguments::parse({f.rose, "/ini", f.project}), &reporter, f.settings);
        uPollutionRose* rose = w.graph()->uPollutionRose1;
        QCOMPARE(rose->DataArray(), (QVector<float>{100, 0, 0, 0, 0, 0, 0, 0}));
        QVERIFY(rose->RoseHorizontalMirror());
        QCOMPARE(rose->RoseAngle(), 270);
        QVERIFY(rose->Caption().isEmpty());
        QVERIFY(!rose->MultiLayersMode());
        typeIntoCell(w, 5, 2, "3");
        QCOMPARE(rose->DataArray()[1], 3.0f);
        w.graph()->classButtons[2]->trigger();  // class III
        QVERIFY(rose->MultiLayersMode());
        QCOMPARE(rose->MultiLayersData().size(), 1);
        QCOMPARE(rose->MultiLayersData()[0], (QVector<float>{30, 3, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(w.settings().tridyVetru, "00100");
        w.graph()->APROXIMATION->trigger();
        QCOMPARE(rose->MethodOfAproximation(), 1);
        w.document().setChanged(false);
    }

    void protocolIsRtfInATemporaryFile()
    {
        Fixture f;
        RecordingReporter reporter;
        QString path;
        {
            ovrdruz w(EditorArguments::parse({f.rose, "/ini", f.project}), &reporter, f.settings);
            path = w.writeProtocol();
            QVERIFY(!path.isEmpty());
            QVERIFY(QFileInfo(path).fileName().startsWith("OVD_"));
            QVERIFY(path.endsWith(".rtf"));
            std::string rtf = *readFileBytes(path.toStdString());
            QCOMPARE(rtf.rfind("{\\rtf1", 0), 0u);
            QVERIFY(rtf.find("\\pngblip") != std::string::npos);
            QVERIFY(rtf.find("Courier New") != std::string::npos);
            QVERIFY(rtf.find("Zkusebni") != std::string::npos);
        }
        QVERIFY(!(QFileInfo::exists(path)));  // gone with the program
    }

    void windowsFitALaptopScreen()
    {
        Fixture f;
        RecordingReporter reporter;
        ovrdruz w(EditorArguments::parse({f.rose, "/ini", f.project}), &reporter, f.settings);
        frmNastaveni options(w.settings(), &w);
        std::unique_ptr<frmProtokol> protocol = w.protocolWindow();
        for (QWidget* window : {static_cast<QWidget*>(&w), static_cast<QWidget*>(w.graph()),
                                static_cast<QWidget*>(&options), static_cast<QWidget*>(protocol.get())}) {
            QSize hint = window->size().expandedTo(window->minimumSizeHint());
            QVERIFY2(hint.width() <= 1366, qPrintable(window->objectName()));
            QVERIFY2(hint.height() <= 740, qPrintable(window->objectName()));
        }
        QVERIFY(!(options.windowFlags() & Qt::WindowMinimizeButtonHint));
        w.document().setChanged(false);
    }

    // Under a window manager (tests/gui/with_window_manager.sh): a window stored with its client
    // area at the bottom of a 768 px screen opens with its frame (title bar and borders) on the
    // screen, and a second start opens it where the first left it.
    void editorFrameOnTheScreenUnderAWindowManager()
    {
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            QSKIP("needs a window manager's frames: run under tests/gui/with_window_manager.sh");
        Fixture f;
        // 900 x 480 px client area whose bottom is the screen's: top 288 px = 4320 twips.
        writeFileAtomically(f.settings, "[Form]\r\nLeft=3000\r\nTop=4320\r\nWidth=13500\r\nHeight=7200\r\n");
        QRect frames[2];
        for (QRect& frame : frames) {
            RecordingReporter reporter;
            ovrdruz w(EditorArguments::parse({"/ini", f.project}), &reporter, f.settings);
            w.showWithGraph();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QTest::qWait(400);  // framed and moved by the window manager
            frame = w.frameGeometry();
            const QRect screen = w.screen()->geometry();
            QVERIFY2(screen.contains(frame),
                     qPrintable(QStringLiteral("frame %1,%2 %3x%4")
                                    .arg(frame.x())
                                    .arg(frame.y())
                                    .arg(frame.width())
                                    .arg(frame.height())));
            QVERIFY(w.close());
        }
        QCOMPARE(frames[1].topLeft(), frames[0].topLeft());
    }

    void tenStartsKeepThePlacement()
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
            QVERIFY(w.close());
            std::string now = readFileBytes(f.settings).value_or("");
            if (start == 0)
                first = now;
            QVERIFY2(now == first, qPrintable(QStringLiteral("start %1").arg(start)));
        }
        IniFile stored(f.settings);
        QCOMPARE(stored.read("Form", "Top"), "900");  // 60 px at 96 dpi
        QCOMPARE(stored.read("Form", "Left"), "600");
    }
};

}  // namespace ovd::roseui

QTEST_MAIN(ovd::roseui::RoseEditorTest)
#include "ui_test.moc"
