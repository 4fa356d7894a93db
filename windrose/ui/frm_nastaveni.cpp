#include "frm_nastaveni.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui_common/dialogs.h"
#include "windrose/control/pollution_rose.h"

namespace ovd::roseui {

namespace {

void showSwatch(QPushButton* button, long colour)
{
    QPixmap swatch(16, 16);
    swatch.fill(colorFromWindows(colour));
    button->setIcon(QIcon(swatch));
}

}  // namespace

QPushButton* frmNastaveni::colourButton(QWidget* page, const char* name, const char* text, long& colour)
{
    auto* button = new QPushButton(QString::fromUtf8(text), page);
    button->setObjectName(name);
    showSwatch(button, colour);
    connect(button, &QPushButton::clicked, this, [this, button, &colour] {
        QColor chosen = QColorDialog::getColor(colorFromWindows(colour), this);
        if (!chosen.isValid())
            return;
        colour = windowsFromColor(chosen);
        showSwatch(button, colour);
    });
    page->layout()->addWidget(button);
    return button;
}

void frmNastaveni::chooseTableFont()
{
    StoredFont stored = StoredFont::parse(m_settings.editFont);
    QFont font(QString::fromStdString(stored.name));
    font.setPointSizeF(stored.size);
    font.setBold(stored.bold);
    font.setItalic(stored.italic);
    font.setStrikeOut(stored.strikethrough);
    font.setUnderline(stored.underline);
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, font, this);
    if (!ok)
        return;
    stored.name = chosen.family().toStdString();
    stored.size = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : stored.size;
    stored.bold = chosen.bold();
    stored.italic = chosen.italic();
    stored.strikethrough = chosen.strikeOut();
    stored.underline = chosen.underline();
    m_settings.editFont = stored.text();
}

QWidget* frmNastaveni::tablePage(QWidget* tabs)
{
    auto* table = new QWidget(tabs);
    table->setLayout(new QVBoxLayout);
    btmFontTabulky = new QPushButton(QString::fromUtf8("&Písmo tabulky..."), table);
    btmFontTabulky->setObjectName("btmFontTabulky");
    table->layout()->addWidget(btmFontTabulky);
    connect(btmFontTabulky, &QPushButton::clicked, this, [this] { chooseTableFont(); });
    btmColorText = colourButton(table, "btmColorText", "&Text", m_settings.colorText);
    btmColorSum = colourButton(table, "btmColorSum", "&Sum (Graf)", m_settings.colorSum);
    btmColorErr = colourButton(table, "btmColorErr", "&Chyby", m_settings.colorErr);
    btmColorRozpocet = colourButton(table, "btmColorRozpocet", "&Rozpočet", m_settings.colorRozpocet);
    return table;
}

QWidget* frmNastaveni::graphPage(QWidget* tabs)
{
    auto* graph = new QWidget(tabs);
    graph->setLayout(new QVBoxLayout);
    btmBarvaPozadi = colourButton(graph, "btmBarvaPozadi", "&Pozadí", m_settings.backColor);
    btmBarvaOs = colourButton(graph, "btmBarvaOs", "&Osy", m_settings.rasterColor);
    btmBarvaCary = colourButton(graph, "btmBarvaCary", "Č&ára", m_settings.drawColor);
    cmdBarvaVetru = colourButton(graph, "cmdBarvaVetru", "Barva pro rychlost větru", m_settings.colorRychlostVetru);
    cmdBarvaTrid = colourButton(graph, "cmdBarvaTrid", "Barva pro třídy větru", m_settings.colorTridaiVetru);
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(new QLabel(QString::fromUtf8("Šířka čáry:"), graph));
    SirkaCary = new QSpinBox(graph);
    SirkaCary->setObjectName("SirkaCary");
    SirkaCary->setRange(0, 20);
    SirkaCary->setValue(static_cast<int>(m_settings.drawWidth));
    widthRow->addWidget(SirkaCary);
    static_cast<QVBoxLayout*>(graph->layout())->addLayout(widthRow);
    return graph;
}

QWidget* frmNastaveni::generalPage(QWidget* tabs)
{
    auto* general = new QWidget(tabs);
    general->setLayout(new QVBoxLayout);
    chSafeSave = new QCheckBox(QString::fromUtf8("Umožnit uložit tabulku se součtem různým od 100%"), general);
    chSafeSave->setObjectName("chSafeSave");
    chSafeSave->setChecked(!m_settings.safeSave);
    general->layout()->addWidget(chSafeSave);
    auto* lblVerze = new QLabel(QString::fromUtf8("Verze: ") + QStringLiteral(OVD_VERSION), general);
    lblVerze->setObjectName("lblVerze");
    general->layout()->addWidget(lblVerze);
    return general;
}

frmNastaveni::frmNastaveni(const WindRoseEditorSettings& settings, QWidget* parent)
    : QDialog(parent)
    , m_settings(settings)
{
    setObjectName("frmNastaveni");
    setWindowTitle(QString::fromUtf8("Možnosti"));
    setDialogFrame(this);
    auto* tabs = new QTabWidget(this);
    tabs->addTab(tablePage(tabs), QString::fromUtf8("Tabulka"));
    tabs->addTab(graphPage(tabs), QString::fromUtf8("Graf"));
    tabs->addTab(generalPage(tabs), QString::fromUtf8("Obecné"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    Storno = new QPushButton(QStringLiteral("Storno"), this);
    Storno->setObjectName("Storno");
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        m_settings.drawWidth = SirkaCary->value();
        m_settings.safeSave = !chSafeSave->isChecked();
        accept();
    });
    connect(Storno, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = buttonRow({cmdOK, Storno});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
}

}  // namespace ovd::roseui
