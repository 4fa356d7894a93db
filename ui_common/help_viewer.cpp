#include "help_viewer.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "common/reporter.h"
#include "dialogs.h"

namespace ovd {

QString userGuideFolder()
{
    const QString bin = QCoreApplication::applicationDirPath();
    for (const QString& folder : {bin + "/../share/ovardix", QStringLiteral(OVD_DOCS_DIR)})
        if (QFileInfo::exists(folder + "/guide.html"))
            return QFileInfo(folder).canonicalFilePath();
    return {};
}

QWidget* showHelp(QWidget* parent, const QString& chapter, Reporter& reporter)
{
    const QString folder = userGuideFolder();
    const QString path = folder + "/" + chapter;
    if (folder.isEmpty() || !QFileInfo::exists(path)) {
        reporter.error("Soubor s nápovědou aplikace nebyl nalezen.");
        return nullptr;
    }
    auto* window = parent ? parent->findChild<QDialog*>("help", Qt::FindDirectChildrenOnly) : nullptr;
    QTextBrowser* browser = window ? window->findChild<QTextBrowser*>() : nullptr;
    if (!window || !browser) {
        window = new QDialog(parent);
        window->setObjectName("help");
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(QStringLiteral("Nápověda"));
        setDialogFrame(window, true);
        auto* layout = new QVBoxLayout(window);
        browser = new QTextBrowser(window);
        browser->setOpenExternalLinks(true);
        layout->addWidget(browser, 1);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
        buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Zavřít"));
        // Back to the chapter a link left, as in a browser.
        QPushButton* back = buttons->addButton(QStringLiteral("Z&pět"), QDialogButtonBox::ActionRole);
        back->setObjectName("back");
        back->setEnabled(false);
        QObject::connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
        QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
        layout->addWidget(buttons);
        // The title names the chapter: the page's title, or a Markdown chapter's first heading.
        QObject::connect(browser, &QTextBrowser::sourceChanged, window, [window, browser] {
            QString chapter = browser->documentTitle();
            if (chapter.isEmpty())
                chapter = browser->document()->firstBlock().text().trimmed();
            window->setWindowTitle(chapter.isEmpty() ? QStringLiteral("Nápověda")
                                                     : QStringLiteral("Nápověda - ") + chapter);
        });
        window->resize(780, 620);
        centreOn(window, parent);
    }
    // The suffix tells HTML from Markdown; both are shown formatted.
    browser->setSource(QUrl::fromLocalFile(QFileInfo(path).canonicalFilePath()));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace ovd
