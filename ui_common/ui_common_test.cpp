// The shared window pieces under the offscreen platform: Czech Qt texts, placement round
// trips, close requests by signal, the help window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <csignal>

#include "dialogs.h"
#include "help_viewer.h"
#include "termination.h"
#include "testing/recording_reporter.h"
#include "window_placement.h"

namespace ovd {
namespace {

TEST(UiCommon, QuestionBoxButtonsAreCzech)
{
    ASSERT_TRUE(installCzechQtTranslations(*qApp));
    QMessageBox box(QMessageBox::Question, "Otázka", "Uložit změny ?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&').toStdString(), "Ano");
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove('&').toStdString(), "Ne");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove('&').toStdString(), "Zrušit");
}

TEST(UiCommon, TwipsRoundTripKeepsEveryPixel)
{
    for (int dpi : {72, 96, 110, 120, 144, 192})
        for (int px = -50; px < 3000; ++px)
            ASSERT_EQ(twipsToPixels(pixelsToTwips(px, dpi), dpi), px) << "dpi " << dpi;
}

TEST(UiCommon, PlacementRestoredTenTimesStaysPut)
{
    TwipsPlacement stored{1500, 3000, 9000, 6000};
    for (int start = 0; start < 10; ++start) {
        QWidget w;
        restorePlacement(&w, stored);
        w.show();
        QApplication::processEvents();
        TwipsPlacement now = placementOf(&w);
        ASSERT_EQ(now.left, stored.left) << "start " << start;
        ASSERT_EQ(now.top, stored.top) << "start " << start;
        ASSERT_EQ(now.width, stored.width);
        ASSERT_EQ(now.height, stored.height);
        stored = now;
    }
    // A placement left far off the screen comes back onto it.
    QWidget w;
    restorePlacement(&w, {2000000, 2000000, 9000, 6000});
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(w.geometry()));
}

TEST(UiCommon, DialogCentredOnItsWindow)
{
    QWidget main;
    main.setGeometry(100, 100, 600, 400);
    main.show();
    QDialog d(&main);
    d.resize(200, 100);
    centreOn(&d, &main);
    EXPECT_EQ(d.frameGeometry().center().x() / 10, main.frameGeometry().center().x() / 10);
    EXPECT_EQ(d.frameGeometry().center().y() / 10, main.frameGeometry().center().y() / 10);
}

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

TEST(UiCommon, SigtermClosesLikeTheCloseBox)
{
    AskingWindow w;
    w.show();
    onTerminationRequest([&w] { closeWhenFree(&w); });

    w.allowClose = false;  // the user keeps the window
    std::raise(SIGTERM);
    QTRY_COMPARE(w.asked, 1);
    EXPECT_TRUE(w.isVisible());

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
    EXPECT_EQ(w.asked, 1);

    // Another dialog is waited for, then the window is asked.
    w.allowClose = true;
    QDialog other(&w);
    QTimer::singleShot(0, [&] {
        std::raise(SIGTERM);
        QTimer::singleShot(100, [&] {
            EXPECT_EQ(w.asked, 1);
            other.reject();
        });
    });
    other.exec();
    QTRY_COMPARE(w.asked, 2);
    EXPECT_FALSE(w.isVisible());
    onTerminationRequest({});
}

TEST(UiCommon, HelpShowsChaptersFormatted)
{
    ASSERT_FALSE(userGuideFolder().isEmpty());
    RecordingReporter r;
    QWidget main;
    QWidget* help = showHelp(&main, "guide/xovrruz.md", r);
    ASSERT_TRUE(help);
    auto* browser = help->findChild<QTextBrowser*>();
    // Markdown is rendered: the heading has no "#".
    EXPECT_TRUE(browser->toPlainText().startsWith(QString::fromUtf8("Editor větrné růžice xovrruz")));
    // The same window shows the next chapter.
    EXPECT_EQ(showHelp(&main, "guide.html", r), help);
    EXPECT_TRUE(browser->toPlainText().contains(QString::fromUtf8("Výpočet bez obsluhy")));
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(showHelp(&main, "guide/chybi.md", r), nullptr);
    ASSERT_EQ(r.messages.size(), 1u);
}

}  // namespace
}  // namespace ovd

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
