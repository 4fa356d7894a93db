#include "options_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "sources_editor/derived_parameters.h"
#include "ui_common/dialogs.h"
#include "ui_support.h"

namespace ovd::sourcesui {

QString productName()
{
    return QStringLiteral("OVARDIX - Zdroje znečištění ovzduší");
}
QString productVersion()
{
    return QStringLiteral(OVD_VERSION ".0");
}

namespace {

QWidget* generalTab(const EditorContext& ctx, QLineEdit*& minNewID, QCheckBox*& noDust)
{
    auto* general = new QWidget;
    auto* g = new QGridLayout(general);
    g->addWidget(new QLabel(QStringLiteral("Počáteční hodnota čísla manuálně zadávaných stanic (standardně 50000).")),
                 0, 0);
    minNewID = new QLineEdit(QString::number(ctx.settings.minNewID));
    minNewID->setObjectName("tbMinNewID");
    g->addWidget(minNewID, 1, 0);
    noDust = new QCheckBox(QStringLiteral("Nenabízej možnost práce s prachem"));
    noDust->setObjectName("chbNoPrach");
    noDust->setToolTip(QStringLiteral("Pokud nepracujete s prachem zatrhněte tuto volbu."));
    noDust->setChecked(ctx.settings.noPrach);
    g->addWidget(noDust, 2, 0);
    g->setRowStretch(3, 1);
    return general;
}

QWidget* filesTab(const EditorContext& ctx, QCheckBox*& accept)
{
    auto* files = new QWidget;
    auto* f = new QVBoxLayout(files);
    accept = new QCheckBox(QStringLiteral("Při čtení zdrojů ze souboru akceptovat i zdroje s chybějícím popisem."));
    accept->setObjectName("chbZdrojeBezPopisu");
    accept->setChecked(ctx.settings.zdrojeBezPopisu);
    f->addWidget(accept);
    f->addStretch();
    return files;
}

QWidget* aboutTab()
{
    auto* about = new QWidget;
    auto* a = new QVBoxLayout(about);
    a->addWidget(new QLabel(productName()));
    a->addWidget(new QLabel(QStringLiteral("Verze ") + productVersion()));
    a->addWidget(new QLabel(QStringLiteral("Všechna práva vyhrazena.")));
    a->addStretch();
    return about;
}

QGroupBox* valueChoice(QRadioButton* (&options)[3])
{
    auto* what = new QGroupBox(QStringLiteral("Počítaná hodnota"));
    auto* w = new QVBoxLayout(what);
    options[0] = new QRadioButton(QStringLiteral("Výpočet hodnoty 'w0'"));
    options[1] = new QRadioButton(QStringLiteral("Výpočet hodnoty 'd'"));
    options[2] = new QRadioButton(QStringLiteral("Výpočet hodnoty 'Vs'"));
    for (auto* o : options)
        w->addWidget(o);
    options[0]->setChecked(true);
    return what;
}

QGroupBox* pressureBox(QLineEdit*& pressure)
{
    auto* pressureFrame = new QGroupBox(QStringLiteral("Tlak vzduchu 'p'"));
    auto* p = new QVBoxLayout(pressureFrame);
    pressure = new QLineEdit(QStringLiteral("101325"));
    pressure->setObjectName("txtTlak");
    allowKeys(pressure, kDigits + ".,");
    p->addWidget(pressure);
    p->addWidget(new QLabel(QStringLiteral("Hodnota bude použita pouze pro tento výpočet.")));
    return pressureFrame;
}

}  // namespace

bool editOptions(EditorContext& ctx, QWidget* parent)
{
    QDialog dlg(parent);
    setDialogFrame(&dlg, "frmMoznosti", QStringLiteral("Možnosti"));
    auto* layout = new QVBoxLayout(&dlg);
    auto* tabs = new QTabWidget;
    layout->addWidget(tabs);

    QLineEdit* minNewID = nullptr;
    QCheckBox *noDust = nullptr, *accept = nullptr;
    tabs->addTab(generalTab(ctx, minNewID, noDust), QStringLiteral("Obecné"));
    tabs->addTab(filesTab(ctx, accept), QStringLiteral("Soubory"));
    tabs->addTab(aboutTab(), QStringLiteral("O programu"));

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setToolTip(QStringLiteral("Zpět s provedením změn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Storno"));
    cancel->setToolTip(QStringLiteral("Zpět bez provedení změn"));
    auto* help = new QPushButton(QStringLiteral("&Nápověda"));
    help->setToolTip(QStringLiteral("Nápověda k programu"));
    auto* row = buttonRow({ok, cancel, help});
    layout->addLayout(row);
    QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
    QObject::connect(help, &QPushButton::clicked, &dlg, [&dlg] { openHelp(&dlg); });
    QObject::connect(ok, &QPushButton::clicked, &dlg, [&] {
        auto value = minNewIDFromText(withPoint(minNewID->text()));
        if (!value) {
            QMessageBox::warning(&dlg, dlg.windowTitle(),
                                 QStringLiteral("Hodnota pole „Počáteční hodnota čísla“ je mimo povolený rozsah."));
            return;
        }
        ctx.settings.minNewID = *value;
        ctx.numbering.setMinNewID(*value);
        ctx.settings.zdrojeBezPopisu = accept->isChecked();
        ctx.settings.noPrach = noDust->isChecked();
        if (!ctx.saveWithoutAsking)
            ctx.dustOff = ctx.settings.noPrach;
        dlg.accept();
    });
    return dlg.exec() == QDialog::Accepted;
}

bool computeSelected(EditorContext& ctx, const std::vector<cZdroje*>& selected, QWidget* parent)
{
    QDialog dlg(parent);
    setDialogFrame(&dlg, "frmVypocetBZ", QStringLiteral("Výpočet hodnot bodových zdrojů"));
    auto* layout = new QVBoxLayout(&dlg);
    QRadioButton* options[3];
    layout->addWidget(valueChoice(options));
    QLineEdit* pressure = nullptr;
    layout->addWidget(pressureBox(pressure));
    layout->addWidget(new QLabel(QStringLiteral("Záznam o chybách:")));
    auto* log = new QListWidget;
    log->setObjectName("lstChyby");
    // Room for a whole error line ("Pro zdroj 000050001 nelze vypočítat 'w0', protože 'd'=0").
    log->setMinimumWidth(log->fontMetrics().horizontalAdvance(
                             QStringLiteral("Pro zdroj 000050001 nelze vypočítat 'w0', protože 'd'=0")) +
                         40);
    layout->addWidget(log);
    auto* bar = new QProgressBar;
    layout->addWidget(bar);
    auto* start = new QPushButton(QStringLiteral("&Start"));
    start->setToolTip(QStringLiteral("Spuštění výpočtu."));
    auto* cancel = new QPushButton(QStringLiteral("&Storno"));
    auto* help = new QPushButton(QStringLiteral("&Nápověda"));
    auto* row = buttonRow({start, cancel, help});
    layout->addLayout(row);
    bool changed = false;
    QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
    QObject::connect(help, &QPushButton::clicked, &dlg, [&dlg] { openHelp(&dlg); });
    QObject::connect(start, &QPushButton::clicked, &dlg, [&] {
        bool out = false;
        const float value = fromUserText(pressure->text(), &out);
        if (value == 0 || out) {
            QMessageBox::warning(&dlg, dlg.windowTitle(), QStringLiteral("Tlak 'p' nesmí být nulový."));
            return;
        }
        log->clear();
        bar->setRange(0, static_cast<int>(selected.size()));
        const DerivedValue kind = options[0]->isChecked() ? DerivedValue::W0
            : options[1]->isChecked()                     ? DerivedValue::D
                                                          : DerivedValue::Vs;
        BatchResult result = computeForSelected(selected, kind, value);
        bar->setValue(static_cast<int>(selected.size()));
        for (const auto& line : result.log)
            log->addItem(qs(line));
        changed = changed || result.changed;
        cancel->setFocus();
    });
    execAtStoredPlace(dlg, parent ? parent->window() : nullptr, ctx.settingsFile, *ctx.reporter);
    if (changed)
        ctx.modified = true;
    return changed;
}

}  // namespace ovd::sourcesui
