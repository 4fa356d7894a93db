#include "study_system_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/gis_services.h"
#include "gis/spatial_reference.h"
#include "ui_common/dialogs.h"
#include "ui_common/qt_text.h"

namespace ovd::mainui {

namespace {

// GDAL's name of the system, or why it is not one; an empty text is no system at all.
QString describe(const QString& text)
{
    std::string definition = text.trimmed().toStdString();
    if (definition.empty())
        return QString::fromUtf8("Bez souřadnicového systému: exporty GeoPackage, GeoJSON, KML a GeoTIFF nebudou "
                                 "možné.");
    Outcome<std::string> name = systemName(definition);
    return name ? qs(*name) : QString::fromUtf8("Tento souřadnicový systém knihovna GDAL nezná.");
}

}  // namespace

bool editStudySystem(Project& project, const GisServices* gis, Reporter& reporter, QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setObjectName("studySystem");
    dialog.setWindowTitle(QString::fromUtf8("Souřadnicový systém studie"));
    setDialogFrame(&dialog);
    auto* top = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    auto* system = new QComboBox(&dialog);
    system->setObjectName("system");
    system->setEditable(true);
    system->setInsertPolicy(QComboBox::NoInsert);
    for (const char* offered : kOfferedSystems)
        system->addItem(offered);
    system->setToolTip(QString::fromUtf8("Kód EPSG ze seznamu, nebo jiná definice, kterou zná knihovna GDAL "
                                         "(EPSG:kód, WKT, PROJ)"));
    system->setMinimumContentsLength(40);
    const std::string current = project.readString(section::kGlobal, kStudySystemKey);
    system->setEditText(qs(current));
    form->addRow(QString::fromUtf8("Souřadnicový systém :"), system);
    auto* name = new QLabel(describe(system->currentText()), &dialog);
    name->setObjectName("name");
    name->setWordWrap(true);
    form->addRow(QString::fromUtf8("Název :"), name);
    top->addLayout(form);
    QObject::connect(system, &QComboBox::currentTextChanged, &dialog,
                     [name](const QString& text) { name->setText(describe(text)); });

    auto* buttons = new QHBoxLayout;
    auto* store = new QPushButton(QString::fromUtf8("Ulož"), &dialog);
    store->setObjectName("store");
    store->setToolTip(QString::fromUtf8("Uložení souřadnicového systému do projektu"));
    auto* close = new QPushButton(QString::fromUtf8("Ukonči"), &dialog);
    buttons->addStretch(1);
    buttons->addWidget(store);
    buttons->addWidget(close);
    top->addLayout(buttons);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::reject);
    QObject::connect(store, &QPushButton::clicked, &dialog, [&] {
        // An unknown system is not stored: the exports would only refuse it later.
        std::string definition = system->currentText().trimmed().toStdString();
        if (!definition.empty()) {
            if (std::optional<Problem> p = checkStudySystem(gis, definition)) {
                p->report(reporter);
                return;
            }
        }
        if (project.writeString(section::kGlobal, kStudySystemKey, definition, reporter))
            dialog.accept();
    });
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace ovd::mainui
