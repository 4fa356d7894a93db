#include "help_viewer.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
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
        QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
        layout->addWidget(buttons);
        QObject::connect(browser, &QTextBrowser::sourceChanged, window,
                         [window, browser] { window->setWindowTitle("Nápověda - " + browser->documentTitle()); });
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
