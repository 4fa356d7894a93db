// The shared window pieces under the offscreen platform: Czech Qt texts, placement round
// trips, close requests by signal, the help window.
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <csignal>

#include "dialogs.h"
#include "help_viewer.h"
#include "menus.h"
#include "termination.h"
#include "testing/recording_reporter.h"
#include "window_placement.h"

using namespace ovd;

namespace {

// A window whose close box asks, as the editors' windows do.
class AskingWindow : public QWidget {
public:
    int asked = 0;
    bool allowClose = true;

protected:
    void closeEvent(QCloseEvent* e) override
    {
        ++asked;
        allowClose ? e->accept() : e->ignore();
    }
};

}  // namespace

class UiCommonTest : public QObject {
    Q_OBJECT

private slots:
    void questionBoxButtonsAreCzech()
    {
        QVERIFY(installCzechQtTranslations(*qApp));
        QMessageBox box(QMessageBox::Question, "Otázka", "Uložit změny ?",
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), QString("Ano"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove('&'), QString("Ne"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove('&'), QString::fromUtf8("Zrušit"));
    }

    void twipsRoundTripKeepsEveryPixel()
    {
        for (int dpi : {72, 96, 110, 120, 144, 192})
            for (int px = -50; px < 3000; ++px)
                if (twipsToPixels(pixelsToTwips(px, dpi), dpi) != px)
                    QFAIL(qPrintable(QStringLiteral("%1 px at %2 dpi comes back changed").arg(px).arg(dpi)));
    }

    void placementRestoredTenTimesStaysPut()
    {
        TwipsPlacement stored{1500, 3000, 9000, 6000};
        for (int start = 0; start < 10; ++start) {
            QWidget w;
            restorePlacement(&w, stored);
            w.show();
            QApplication::processEvents();
            TwipsPlacement now = placementOf(&w);
            QCOMPARE(now.left, stored.left);
            QCOMPARE(now.top, stored.top);
            QCOMPARE(now.width, stored.width);
            QCOMPARE(now.height, stored.height);
            stored = now;
        }
        // A placement left far off the screen comes back onto it.
        QWidget w;
        restorePlacement(&w, {2000000, 2000000, 9000, 6000});
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(w.geometry()));
    }

    void dialogCentredOnItsWindow()
    {
        QWidget main;
        main.setGeometry(100, 100, 600, 400);
        main.show();
        QDialog d(&main);
        d.resize(200, 100);
        centreOn(&d, &main);
        QCOMPARE(d.frameGeometry().center().x() / 10, main.frameGeometry().center().x() / 10);
        QCOMPARE(d.frameGeometry().center().y() / 10, main.frameGeometry().center().y() / 10);
    }

    void menusFromADeclaration()
    {
        QMainWindow w;
        int opened = 0, exported = 0;
        const std::vector<MenuEntry> entries = {
            {"&Soubor", "", "mnuOtevri", "&Otevři", [&] { ++opened; }, "Ctrl+O"},
            {"&Soubor", "&Export", "mnuExportA", "A", [&] { ++exported; }},
            {"&Soubor", "", "mnuSep", "-", {}},
            {"&Okna", "", "mnuGraf", "&Graf", {}, "", true},
            {"&Soubor", "&Export", "mnuExportB", "B", [&] { exported += 10; }},
            {"&Soubor", "", "mnuKonec", "&Konec", {}},
        };
        std::map<QString, QMenu*> menus = buildMenus(w.menuBar(), entries, &w);

        // Menus in the order first named; a submenu made once, where it was first named.
        QCOMPARE(w.menuBar()->actions().size(), 2);
        QCOMPARE(w.menuBar()->actions()[0]->text(), QString("&Soubor"));
        QCOMPARE(w.menuBar()->actions()[1]->text(), QString("&Okna"));
        QCOMPARE(menus.size(), std::size_t(3));
        QMenu* file = menus.at("&Soubor");
        const QList<QAction*> items = file->actions();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items[1]->menu(), menus.at("&Soubor/&Export"));
        QCOMPARE(menus.at("&Soubor/&Export")->actions().size(), 2);
        QVERIFY(items[2]->isSeparator());
        QCOMPARE(items[2], findAction(&w, "mnuSep"));
        QCOMPARE(items[3], findAction(&w, "mnuKonec"));

        QCOMPARE(findAction(&w, "mnuOtevri")->shortcut(), QKeySequence("Ctrl+O"));
        QVERIFY(findAction(&w, "mnuGraf")->isCheckable());
        QVERIFY(!findAction(&w, "mnuOtevri")->isCheckable());
        findAction(&w, "mnuOtevri")->trigger();
        findAction(&w, "mnuExportB")->trigger();
        findAction(&w, "mnuKonec")->trigger();  // wired by nobody: nothing runs
        QCOMPARE(opened, 1);
        QCOMPARE(exported, 10);
        QVERIFY(!findAction(&w, "mnuChybi"));
    }

    void sigtermClosesLikeTheCloseBox()
    {
        AskingWindow w;
        w.show();
        onTerminationRequest([&w] { closeWhenFree(&w); });

        w.allowClose = false;  // the user keeps the window
        std::raise(SIGTERM);
        QTRY_COMPARE(w.asked, 1);
        QVERIFY(w.isVisible());

        // A question already on the screen is the user's: the request is dropped.
        QTimer::singleShot(0, [] {
            std::raise(SIGTERM);
            QTimer::singleShot(300, [] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    box->done(QMessageBox::No);
            });
        });
        QMessageBox question(QMessageBox::Question, "", "Uložit změny ?", QMessageBox::Yes | QMessageBox::No, &w);
        question.exec();
        QApplication::processEvents();
        QCOMPARE(w.asked, 1);

        // Another dialog is waited for, then the window is asked.
        w.allowClose = true;
        QDialog other(&w);
        int askedWhileOpen = -1;
        QTimer::singleShot(0, [&] {
            std::raise(SIGTERM);
            QTimer::singleShot(100, [&] {
                askedWhileOpen = w.asked;
                other.reject();
            });
        });
        other.exec();
        QCOMPARE(askedWhileOpen, 1);
        QTRY_COMPARE(w.asked, 2);
        QVERIFY(!w.isVisible());
        onTerminationRequest({});
    }

    void helpShowsChaptersFormatted()
    {
        QVERIFY(!userGuideFolder().isEmpty());
        RecordingReporter r;
        QWidget main;
        QWidget* help = showHelp(&main, "guide/xovrruz.md", r);
        QVERIFY(help);
        auto* browser = help->findChild<QTextBrowser*>();
        // Markdown is rendered: the heading has no "#".
        QVERIFY(browser->toPlainText().startsWith(QString::fromUtf8("Editor větrné růžice xovrruz")));
        // The title names the chapter; Back is there once a second chapter was shown.
        QCOMPARE(help->windowTitle(), QString::fromUtf8("Nápověda - Editor větrné růžice xovrruz"));
        auto* back = help->findChild<QPushButton*>("back");
        QVERIFY(back && !back->isEnabled());
        // The same window shows the next chapter.
        QCOMPARE(showHelp(&main, "guide.html", r), help);
        QVERIFY(browser->toPlainText().contains(QString::fromUtf8("Výpočet bez obsluhy")));
        QCOMPARE(help->windowTitle(), QString::fromUtf8("Nápověda - Ovardix – uživatelská příručka"));
        QVERIFY(back->isEnabled());
        back->click();
        QVERIFY(browser->toPlainText().startsWith(QString::fromUtf8("Editor větrné růžice xovrruz")));
        QVERIFY(r.messages.empty());
        QVERIFY(!showHelp(&main, "guide/chybi.md", r));
        QCOMPARE(r.messages.size(), std::size_t(1));
    }
};

QTEST_MAIN(UiCommonTest)
#include "ui_common_test.moc"
