#include "basemap_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "map_settings/map_settings.h"
#include "ui_common/dialogs.h"
#include "ui_common/qt_text.h"

namespace ovd::mainui {

namespace {

QLineEdit* field(QDialog* d, const char* name, const QString& text, const QString& hint)
{
    auto* e = new QLineEdit(text, d);
    e->setObjectName(name);
    e->setPlaceholderText(hint);
    e->setMinimumWidth(420);
    return e;
}

}  // namespace

bool chooseBasemap(QWidget* parent, BasemapChoice& current)
{
    QDialog d(parent);
    setDialogFrame(&d, "frmPodklad", QString::fromUtf8("Podklad mapy"));
    auto* form = new QFormLayout(&d);
    QLineEdit* source = field(&d, "txtPodklad", current.source,
                              QString::fromUtf8("soubor rastru, nebo služba: http://server/{z}/{x}/{y}.png, WMS:…"));
    auto* browse = new QPushButton(QString::fromUtf8("…"), &d);
    browse->setObjectName("cmdPodkladSoubor");
    QObject::connect(browse, &QPushButton::clicked, &d, [&] {
        QString p = QFileDialog::getOpenFileName(
            &d, QString::fromUtf8("Podklad mapy"), {},
            QString::fromUtf8("Rastry a popisy služeb (*.tif *.tiff *.png *.jpg *.vrt *.xml);;Všechny soubory (*)"));
        if (!p.isEmpty())
            source->setText(p);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(source);
    row->addWidget(browse);
    form->addRow(QString::fromUtf8("Soubor nebo služba:"), row);
    auto* note = new QLabel(QString::fromUtf8("Služba: šablona adres dlaždic XYZ/TMS ({-y} pro řádky od jihu), "
                                              "popis služby WMS knihovny GDAL (XML), nebo WMS:adresa či WMTS:adresa."),
                            &d);
    note->setWordWrap(true);
    form->addRow(QString(), note);
    QLineEdit* cache = field(&d, "txtPodkladMezipamet", current.cacheFolder, qs(kBasemapCacheFolder));
    form->addRow(QString::fromUtf8("Mezipaměť dlaždic (složka):"), cache);
    QLineEdit* credit = field(&d, "txtPodkladPopis", current.credit, QString::fromUtf8("např. © autoři podkladu"));
    form->addRow(QString::fromUtf8("Popis podkladu na mapě:"), credit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    form->addRow(buttons);
    if (d.exec() != QDialog::Accepted)
        return false;
    current = {source->text().trimmed(), cache->text().trimmed(), credit->text().trimmed()};
    return true;
}

}  // namespace ovd::mainui
