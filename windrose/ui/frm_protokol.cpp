#include "frm_protokol.h"
#include "ui_common/dialogs.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ovd::roseui {

frmProtokol::frmProtokol(const QString& html, const QImage& picture, const QString& rtfPath, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmProtokol");
    setWindowTitle(QString::fromUtf8("Protokol"));
    setDialogFrame(this, true);
    rtfProtokol = new QTextBrowser(this);
    rtfProtokol->setObjectName("rtfProtokol");
    rtfProtokol->document()->addResource(QTextDocument::ImageResource, QUrl("ruzice.png"), picture);
    rtfProtokol->setHtml(html);
    cmdOtevrit = new QPushButton(QString::fromUtf8("&Otevřít"), this);
    cmdOtevrit->setEnabled(!rtfPath.isEmpty());
    auto* close = new QPushButton(QString::fromUtf8("&Zavřít"), this);
    connect(cmdOtevrit, &QPushButton::clicked, this,
            [rtfPath] { QDesktopServices::openUrl(QUrl::fromLocalFile(rtfPath)); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = buttonRow({cmdOtevrit, close});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rtfProtokol, 1);
    layout->addLayout(buttons);
    resize(720, 640);
}

}  // namespace ovd::roseui
