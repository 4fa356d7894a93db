// The sources editor's window under the offscreen platform: start-up, commands, keys,
// dialogs and closing with saving.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "common/file_io.h"
#include "common/ini_file.h"
#include "common/text.h"
#include "dust_groups_dialog.h"
#include "file_dialogs.h"
#include "main_window.h"
#include "options_dialog.h"
#include "pressure_dialog.h"
#include "source_dialog.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"
#include "ui_common/menus.h"

using namespace ovd;
using namespace ovd::sourcesui;

namespace {

// Runs `work` on the next modal dialog as soon as it is shown.
void onNextDialog(std::function<void(QWidget*)> work)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, work] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            work(w);
            // A failed check must not leave the dialog waiting for ever.
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
                d->done(QDialog::Rejected);
        }
    });
    timer->start();
}

void clickButton(QWidget* dialog, const QString& objectName)
{
    auto* button = dialog->findChild<QPushButton*>(objectName);
    QVERIFY(button);
    button->click();
}

}  // namespace

class SourcesEditorTest : public QObject {
    Q_OBJECT

private:
    TempDir m_dir;
    std::string path(const char* name) { return m_dir.path(name); }
    void writeStudy()
    {
        writeFileAtomically(path("body.txt"),
                            utf8ToCp1250(";Údolí\r\n1, 100, 200, 300, 1, 0, 0 ;Komín\r\n"
                                         "2, 0, 0, 0, 3, 0, 0 ;Silnice\r\n"));
        writeFileAtomically(path("popis.txt"),
                            "1, 1.5, 40, 2.3, 150, 1.2, 8.5, 0.8, 24, 0\r\n"
                            "2, 0.1, 0, 0, 100, 100, 10, 2, 1, 24\r\n");
        writeFileAtomically(path("prach.txt"), "000000001,2500,7\r\n000000002\r\n");
        writeFileAtomically(path("skupiny.spr"), ";sk\r\n1,1,10,1;Jemný\r\n");
        writeFileAtomically(path("study.ovd"), "[Global]\nVstZdrojBodTxt=old.txt\n");
    }

private slots:
    void startWithFilesEditAndSaveOnClose()
    {
        writeStudy();
        RecordingReporter r({Answer::Yes});
        MainWindow w(path("x1.ini"));
        w.setReporter(&r);
        w.start({path("body.txt"), path("popis.txt"), path("prach.txt"), path("skupiny.spr"), "/s", "/ini",
                 path("study.ovd")});
        QCOMPARE(w.list()->topLevelItemCount(), 2);
        QCOMPARE(w.list()->topLevelItem(0)->text(0), QStringLiteral("000000001"));
        QVERIFY(!findAction(&w, "mnuOtevri")->isVisible());
        QVERIFY(!findAction(&w, "mnuSkupinyPrachu")->isVisible());
        QVERIFY(!findAction(&w, "mnuUlozVse")->isVisible());
        QVERIFY(!findAction(&w, "mnuUlozOznacene")->isVisible());
        QVERIFY(!w.context().dustOff);  // a groups file was given

        w.list()->setCurrentItem(w.list()->topLevelItem(0));
        onNextDialog([](QWidget* dlg) {
            QCOMPARE(dlg->objectName(), QStringLiteral("frmBodovyZdroj"));
            // The group the file does not hold is shown and kept.
            auto* groups = dlg->findChild<QComboBox*>("cboSkupiny");
            QVERIFY(groups);
            QCOMPARE(groups->currentText(), QStringLiteral("(skupina 7)"));
            dlg->findChild<QLineEdit*>("txtNazevZdroje")->setText(QStringLiteral("Komín teplárny"));
            dlg->findChild<QLineEdit*>("tPar1")->setText(QStringLiteral("45,5"));
            clickButton(dlg, "cmdOK");
        });
        QTest::keyClick(w.list(), Qt::Key_Return);
        QVERIFY(w.context().modified);
        QCOMPARE(w.list()->topLevelItem(0)->text(1), QStringLiteral("Komín teplárny"));

        QVERIFY(w.close());
        QCOMPARE(r.questions.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(r.questions[0].text), QStringLiteral("Uložit změny ?"));
        QCOMPARE(QString::fromStdString(cp1250ToUtf8(readFileBytes(path("body.txt")).value())),
                 QStringLiteral(";Údolí\r\n;SOUBOR S BODY\r\n;Soubor s popisem: %1\r\n;Soubor s prachem: %2\r\n"
                                "000000001, 0000100, 0000200, 0300, 1, 0, 0 ;Komín teplárny\r\n"
                                "000000002, 0000000, 0000000, 0000, 3, 0, 0 ;Silnice\r\n")
                     .arg(QString::fromStdString(path("popis.txt")), QString::fromStdString(path("prach.txt"))));
        QVERIFY(readFileBytes(path("popis.txt")).value().find("000000001, 1.5, 45.5, 2.3,") != std::string::npos);
        QVERIFY(readFileBytes(path("prach.txt")).value().find("000000001,2500,7\r\n000000002\r\n") !=
                std::string::npos);
        IniFile project(path("study.ovd"));
        QCOMPARE(project.read("Global", "VstZdrojBodTxt"), std::string("body.txt"));
        QCOMPARE(project.read("Global", "VstZdrojPrachTxt"), std::string("prach.txt"));
        // The run's dust switch is not written back.
        QCOMPARE(IniFile(path("x1.ini")).read("Ostatni", "NoPrach"), std::string("1"));
    }

    // Started by the main program with its project alone: a dust study has dust work on for
    // the run (a fresh profile's NoPrach=1 would unlink its dust file), the option unchanged.
    void projectAloneOfADustStudyTurnsDustWorkOnForTheRun()
    {
        for (const char* kind : {"1", "0", ""}) {
            writeFileAtomically(path("dust.ovd"), std::string("[Global]\nTypVypoctu = ") + kind + "\n");
            RecordingReporter r;
            MainWindow w(path("x10.ini"));
            w.setReporter(&r);
            w.start({"/ini", path("dust.ovd")});
            QCOMPARE(w.context().dustOff, std::string(kind) != "1");
            QCOMPARE(w.context().projectPath, std::string("dust.ovd"));  // from its own folder
            QVERIFY(w.close());
            QCOMPARE(IniFile(path("x10.ini")).read("Ostatni", "NoPrach", "1"), std::string("1"));
        }
    }

    // A file the height fill wrote, one value edited in the dialog (with a decimal comma):
    // every other coordinate is saved as it was loaded.
    void heightFilledCoordinatesSurviveAnEditOfAnotherValue()
    {
        writeFileAtomically(path("hb.txt"), ";Z\r\n1, -865400.000000, -1045000.000000, 370.950000, 1, 0, 0 ;Komin\r\n"
                                            "2, -865400.500000, -1045000.250000, 402.125000, 1, 0, 0 ;Druhy\r\n");
        writeFileAtomically(path("hp.txt"), "1, 1, 2, 3, 4, 5, 6, 7, 8, 0\r\n2, 1, 2, 3, 4, 5, 6, 7, 8, 0\r\n");
        RecordingReporter r({Answer::Yes});
        MainWindow w(path("x9.ini"));
        w.setReporter(&r);
        w.start({path("hb.txt"), path("hp.txt"), "", "", "/s"});
        QCOMPARE(w.list()->topLevelItemCount(), 2);
        w.list()->setCurrentItem(w.list()->topLevelItem(1));
        onNextDialog([](QWidget* dlg) {
            QCOMPARE(dlg->findChild<QLineEdit*>("txtX")->text(), QStringLiteral("-865400.500000"));
            QCOMPARE(dlg->findChild<QLineEdit*>("txtZ")->text(), QStringLiteral("402.125000"));
            dlg->findChild<QLineEdit*>("txtY")->setText(QStringLiteral("-1045001,75"));
            clickButton(dlg, "cmdOK");
        });
        QTest::keyClick(w.list(), Qt::Key_Return);
        QVERIFY(w.context().modified);
        QVERIFY(w.close());
        const std::string saved = readFileBytes(path("hb.txt")).value();
        QVERIFY2(saved.find("000000001, -0865400, -1045000, 0370.950000, 1, 0, 0 ;Komin\r\n"
                            "000000002, -0865400.500000, -1045001.75, 0402.125000, 1, 0, 0 ;Druhy\r\n") !=
                     std::string::npos,
                 saved.c_str());
    }

    void ctrlDigitCreatesNumberedSourceAndCancelGivesTheNumberBack()
    {
        RecordingReporter r;
        MainWindow w(path("x2.ini"));
        w.setReporter(&r);
        w.start({});
        QVERIFY(findAction(&w, "mnuOtevri")->isVisible());
        QVERIFY(!findAction(&w, "mnuSkupinyPrachu")->isVisible());  // dust work is off at first
        onNextDialog([](QWidget* dlg) { clickButton(dlg, "cmdStorno"); });
        QTest::keyClick(w.list(), Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(w.list()->topLevelItemCount(), 0);
        QVERIFY(!w.context().modified);
        onNextDialog([](QWidget* dlg) {
            QCOMPARE(dlg->findChild<QLineEdit*>("txtCisloZdroje")->text(), QStringLiteral("50001"));
            clickButton(dlg, "cmdOK");
        });
        QTest::keyClick(w.list(), Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(w.list()->topLevelItemCount(), 1);
        QCOMPARE(w.list()->topLevelItem(0)->text(0), QStringLiteral("000050001"));
        QCOMPARE(w.list()->topLevelItem(0)->text(1), QStringLiteral("Bodový zdroj 50001"));
        QVERIFY(w.list()->topLevelItem(0)->isSelected());
        QVERIFY(w.context().modified);
        w.context().modified = false;
        QVERIFY(w.close());
    }

    void nextNumberLiesAboveTheLoadedNumbers()
    {
        writeFileAtomically(path("n.txt"), "50001, 0, 0, 0, 1, 0, 0 ;A\r\n7, 0, 0, 0, 2, 0, 0 ;B\r\n");
        writeFileAtomically(path("np.txt"), "50001, 1\r\n7, 1\r\n");
        RecordingReporter r;
        MainWindow w(path("x6.ini"));
        w.setReporter(&r);
        w.start({path("n.txt"), path("np.txt"), "", ""});
        QCOMPARE(w.list()->topLevelItemCount(), 2);
        QString offered;
        onNextDialog([&](QWidget* dlg) {
            offered = dlg->findChild<QLineEdit*>("txtCisloZdroje")->text();
            clickButton(dlg, "cmdOK");
        });
        QTest::keyClick(w.list(), Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(offered, QStringLiteral("50002"));  // not 50001 again
        onNextDialog([&](QWidget* dlg) {
            offered = dlg->findChild<QLineEdit*>("txtCisloZdroje")->text();
            clickButton(dlg, "cmdStorno");
        });
        QTest::keyClick(w.list(), Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(offered, QStringLiteral("50003"));
        w.context().modified = false;
        QVERIFY(w.close());
    }

    void dialogsFitALaptopScreen()
    {
        RecordingReporter r;
        MainWindow w(path("x8.ini"));
        w.setReporter(&r);
        w.start({});
        EditorContext& ctx = w.context();
        ctx.dustOff = false;
        QStringList tooLarge;
        int measured = 0;
        auto measureNext = [&] {
            onNextDialog([&](QWidget* dlg) {
                ++measured;
                const QSize hint = dlg->sizeHint().expandedTo(dlg->minimumSizeHint());
                if (hint.width() > 1366 || hint.height() > 740 || (dlg->windowFlags() & Qt::WindowMinimizeButtonHint))
                    tooLarge << QStringLiteral("%1 %2x%3").arg(dlg->objectName()).arg(hint.width()).arg(hint.height());
            });
        };
        for (int kind = 1; kind <= 3; ++kind) {
            auto source = createSource(kind);
            measureNext();
            editSource(*source, ctx, &w);
        }
        measureNext();
        askLoadFiles(ctx, &w);
        measureNext();
        askSaveFiles(ctx, &w);
        measureNext();
        editOptions(ctx, &w);
        measureNext();
        computeSelected(ctx, {}, &w);
        measureNext();
        editDustGroups(ctx, &w);
        measureNext();
        askPressure(101325, &w);
        QCOMPARE(measured, 9);
        QVERIFY2(tooLarge.isEmpty(), qPrintable(tooLarge.join(", ")));
        QVERIFY(w.close());
    }

    void tenStartsKeepThePlacement()
    {
        const std::string settings = path("x7.ini");
        std::string first;
        for (int start = 0; start < 10; ++start) {
            RecordingReporter r;
            MainWindow w(settings);
            w.setReporter(&r);
            w.start({});
            if (start == 0)
                w.setGeometry(30, 50, 600, 420);  // on the 800 x 600 offscreen screen
            w.show();
            QApplication::processEvents();
            QVERIFY(w.close());
            const std::string now = readFileBytes(settings).value_or("");
            if (start == 0)
                first = now;
            QCOMPARE(QString::fromStdString(now), QString::fromStdString(first));
        }
        QVERIFY(first.find("Top=750") != std::string::npos);  // 50 px at 96 dpi
    }

    // Under a window manager (tests/gui/with_window_manager.sh): a source dialog opened again
    // and again stays where it was, its title bar on the screen.
    void sourceDialogKeepsItsPlaceUnderAWindowManager()
    {
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            QSKIP("needs a window manager's frames: run under tests/gui/with_window_manager.sh");
        RecordingReporter r;
        MainWindow w(path("x9.ini"));
        w.setReporter(&r);
        w.start({});
        w.setGeometry(200, 150, 700, 450);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // the dialogs are placed by the main window's frame: wait until it has one (on a
        // loaded machine the window manager frames it well after it is exposed)
        QTRY_VERIFY_WITH_TIMEOUT(w.frameGeometry().top() < w.geometry().top(), 5000);
        QTest::qWait(300);
        QList<QRect> frames;
        // The first opening is not measured: on a loaded machine it is placed before the
        // toolkit knows how large the window manager's frames are, and may sit off by a frame.
        for (int opening = -1; opening < 4; ++opening) {
            auto source = createSource(1);
            onNextDialog([&](QWidget* dlg) {
                // framed and placed by the window manager: its title bar above the client area
                // and the frame still for a moment (a loaded machine takes its time)
                QRect last;
                for (int waited = 0; waited < 5000; waited += 100) {
                    QTest::qWait(100);
                    const QRect now = dlg->frameGeometry();
                    if (now.top() < dlg->geometry().top() && now == last)
                        break;
                    last = now;
                }
                if (opening >= 0)
                    frames << dlg->frameGeometry();
                clickButton(dlg, "cmdStorno");
            });
            editSource(*source, w.context(), &w);
        }
        QCOMPARE(frames.size(), 4);
        const QRect screen = w.screen()->availableGeometry();
        for (const QRect& frame : frames) {
            QVERIFY2(screen.contains(frame.topLeft()),
                     qPrintable(QStringLiteral("%1,%2").arg(frame.x()).arg(frame.y())));
            QCOMPARE(frame.topLeft(), frames.first().topLeft());
        }
        w.context().modified = false;
        QVERIFY(w.close());
    }

    void duplicatesSelectOnlyTheSecondPointSourceAndMenusFollowTheSelection()
    {
        writeFileAtomically(path("dup.txt"),
                            "12, 0, 0, 0, 1, 0, 0 ;A\r\n12, 0, 0, 0, 3, 0, 0 ;B\r\n"
                            "12, 0, 0, 0, 1, 0, 0 ;C\r\n5, 0, 0, 0, 2, 0, 0 ;D\r\n");
        writeFileAtomically(path("dupp.txt"), "12, 1\r\n5, 1\r\n");
        RecordingReporter r;
        MainWindow w(path("x3.ini"));
        w.setReporter(&r);
        w.start({path("dup.txt"), path("dupp.txt"), "", ""});
        QCOMPARE(w.list()->topLevelItemCount(), 4);
        QVERIFY(!findAction(&w, "mnuNastavZdroj")->isEnabled());
        QVERIFY(findAction(&w, "mnuDuplicity")->isEnabled());
        w.checkDuplicates(true);
        QCOMPARE(QString::fromStdString(r.messages.back().text), QStringLiteral("Bylo nalezeno 1 duplicit."));
        const auto selected = w.list()->selectedItems();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected[0]->text(1), QStringLiteral("C"));
        QVERIFY(findAction(&w, "mnuNastavZdroj")->isEnabled());
        QTest::keyClick(w.list(), Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(w.list()->selectedItems().size(), 4);
        QVERIFY(!findAction(&w, "mnuNastavZdroj")->isEnabled());
        QVERIFY(findAction(&w, "mnuUlozOznacene")->isEnabled());
        findAction(&w, "mnuKopiruj")->trigger();
        QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("000000005\tD\r\n000000012\tA\r\n")));
        QTest::keyClick(w.list(), Qt::Key_Minus, Qt::KeypadModifier);
        QCOMPARE(w.list()->selectedItems().size(), 0);
        QTest::keyClick(w.list(), Qt::Key_Delete);  // nothing selected: nothing goes
        QCOMPARE(w.list()->topLevelItemCount(), 4);
        QVERIFY(!w.context().modified);
        QVERIFY(w.close());
        QVERIFY(r.questions.empty());  // an unmodified window asks nothing
    }

    void dustGroupsDialogAndPanel()
    {
        writeFileAtomically(path("g.spr"), utf8ToCp1250(";sk\r\n3,1,10,1;Jemný\r\n"));
        RecordingReporter r({Answer::Cancel, Answer::No});
        MainWindow w(path("x5.ini"));
        w.setReporter(&r);
        w.start({});
        EditorContext& ctx = w.context();
        ctx.dustOff = false;
        QVERIFY(ctx.groups.OtevriSkupiny(path("g.spr"), r));
        bool closedEarly = false;
        onNextDialog([&](QWidget* dlg) {
            clickButton(dlg, "cmdNew");
            QCOMPARE(ctx.groups.Count(), 2);
            QCOMPARE(ctx.groups.SkupinaNazev(1), std::string("Nová skupina 4"));
            static_cast<QDialog*>(dlg)->reject();  // Cancel: the dialog stays
            closedEarly = !dlg->isVisible();
            static_cast<QDialog*>(dlg)->reject();  // No: the changes go
        });
        editDustGroups(ctx, &w);
        QVERIFY(!closedEarly);
        QCOMPARE(r.questions.size(), std::size_t(2));
        QCOMPARE(ctx.groups.Count(), 1);

        auto point = createSource(1);
        point->ICZ(9);
        point->LineDust("2500,3");
        onNextDialog([](QWidget* dlg) {
            auto* groups = dlg->findChild<QComboBox*>("cboSkupiny");
            QCOMPARE(groups->currentText(), QStringLiteral("Jemný"));
            QVERIFY(!dlg->findChild<QLineEdit*>("txtPrumer")->isEnabled());
            groups->setCurrentIndex(0);  // by hand
            QVERIFY(dlg->findChild<QLineEdit*>("txtPrumer")->isEnabled());
            clickButton(dlg, "cmdOK");
        });
        QVERIFY(editSource(*point, ctx, &w));
        QCOMPARE(point->Prach(), std::string("2500,0,0"));
        ctx.modified = false;
        QVERIFY(w.close());
    }

    void czechNumbersInTheBoxes()
    {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        QCOMPARE(toUserText(1.5), QStringLiteral("1,5"));
        QCOMPARE(toUserText(1234567), QStringLiteral("1234567"));
        QCOMPARE(fromUserText(QStringLiteral("1,5")), 1.5f);
        QCOMPARE(fromUserText(QStringLiteral("1.5")), 1.5f);
        QCOMPARE(fromUserText(toUserText(0.00001)), 0.00001f);
        bool out = false;
        fromUserText(QStringLiteral("1e39"), &out);
        QVERIFY(out);
        auto line = createSource(3);
        line->ICZ(1);
        RecordingReporter r;
        MainWindow w(path("x6.ini"));
        w.setReporter(&r);
        onNextDialog([](QWidget* dlg) {
            dlg->findChild<QLineEdit*>("tPar1")->setText(QStringLiteral("1000,5"));
            dlg->findChild<QLineEdit*>("tPar3")->setText(QStringLiteral("1001,5"));
            dlg->findChild<QLineEdit*>("tPar0")->setText(QStringLiteral("0,25"));
            dlg->findChild<QPushButton*>("cmdCalcXY")->click();
            QCOMPARE(dlg->findChild<QLineEdit*>("txtX")->text(), QStringLiteral("1001"));
            clickButton(dlg, "cmdOK");
        });
        QVERIFY(editSource(*line, w.context(), &w));
        QCOMPARE(line->LineParameters(), std::string("000000001, 0.25, 1000.5, 0, 1001.5, 0, 0, 0, 0, 0"));
        QCOMPARE(line->x(), 1001);
        // The next segment starts at this one's end.
        auto next = ovd::newSource(3, w.context().numbering, w.context().lineDefaults);
        QCOMPARE(next->Parameters(1), 1001.5f);
        QLocale::setDefault(QLocale::c());
        w.context().modified = false;
        QVERIFY(w.close());
    }

    void failedSaveOnCloseKeepsTheWindow()
    {
        writeStudy();
        RecordingReporter r({Answer::Yes});
        MainWindow w(path("x4.ini"));
        w.setReporter(&r);
        w.start({path("body.txt"), path("popis.txt"), path("no/such/dir/prach.txt"), "", "/s"});
        QVERIFY(!r.messages.empty());  // the dust file cannot be read
        w.context().settings.lastDust = path("no/such/dir/prach.txt");
        w.context().modified = true;
        QVERIFY(!w.close());
        QVERIFY(w.context().modified);
        w.context().modified = false;
        QVERIFY(w.close());
    }
};

QTEST_MAIN(SourcesEditorTest)
#include "ui_test.moc"
