#include "source_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dust_panel.h"
#include "pressure_dialog.h"
#include "sources_editor/derived_parameters.h"
#include "sources_editor/real_text.h"
#include "ui_common/dialogs.h"
#include "ui_support.h"

namespace ovd::sourcesui {

namespace {

const char* const kPointLabels[] = {"Množství látky odcházející komínem [g/s] (M):",
                                    "Výška koruny komína nad terénem [m] (H):",
                                    "Objem spalin za normálních podmínek [m3/s] (Vs):",
                                    "Teplota spalin [°C] (ts):",
                                    "Vnitřní průměr komína [m] (d):",
                                    "Výstupní rychlost spalin [m/s] (w0):",
                                    "Relativní roční využití maximálního výkonu [%/100] (Alfa):",
                                    "Počet hodin za den, kdy je zdroj v činnosti [hod] (Pd):"};
const char* const kAreaLabels[] = {"Množství látky odcházející komínem [g/s] (ME):",
                                   "Výška koruny komína nad terénem [m] (H):",
                                   "Objem spalin za normálních podmínek [m3/s] (Vs):",
                                   "",
                                   "Vnitřní průměr komína (pokud je zadáno ts) [m] (d):",
                                   "Výstupní rychlost spalin (pokud je zadáno ts) [m/s] (w0):",
                                   "Relativní roční využití maximálního výkonu [%/100] (Alfa):",
                                   "Počet hodin za den, kdy je zdroj v činnosti [hod] (Pd):",
                                   "Vzdálenost elementů zdroje od sebe [m] (Y0):"};
const char* const kLineLabels[] = {"Množství látky [g/s/m] (ML):",
                                   "X-sourad počátečního bodu úseku [m] (X1el):",
                                   "Y-sourad počátečního bodu úseku [m] (Y1el):",
                                   "X-sourad konečného bodu úseku [m] (X2el):",
                                   "Y-sourad konečného bodu úseku [m] (Y2el):",
                                   "Šířka úseku [m] (X0el):",
                                   "Výška úseku [m] (Z0el):",
                                   "Relativní roční využití maximálního výkonu [%/100] (Alfa):",
                                   "Počet hodin za den, kdy je zdroj v činnosti [hod] (Pd):"};
const QString kTemperature = QStringLiteral("Teplota spalin [°C] (ts)");
const QString kPlumeRise = QStringLiteral("Vznos vlečky [m] (Delta h)");

QLineEdit* box(const char* name, const QString& tip = {})
{
    auto* b = new QLineEdit;
    b->setObjectName(name);
    b->setToolTip(tip);
    return b;
}

class SourceDialog {
public:
    SourceDialog(cZdroje& source, EditorContext& ctx, QWidget* parent)
        : m_src(source)
        , m_ctx(ctx)
        , m_dlg(parent)
    {
        const int kind = source.TypZdrojeID();
        m_dlg.setObjectName(kind == kPointSource      ? "frmBodovyZdroj"
                                : kind == kAreaSource ? "frmPlosnyZdroj"
                                                      : "frmLiniovyZdroj");
        m_dlg.setWindowTitle(qs(source.TypZdroje()));
        setDialogFrame(&m_dlg);
        auto* layout = new QVBoxLayout(&m_dlg);
        m_tabs = new QTabWidget;
        layout->addWidget(m_tabs);
        m_tabs->addTab(describePanel(), QStringLiteral("Popis"));
        m_tabs->addTab(parameterPanel(kind), QStringLiteral("Parametry"));
        auto* dustPage = new QWidget;
        auto* dustLayout = new QVBoxLayout(dustPage);
        m_dust = new DustPanel(ctx, dustPage);
        dustLayout->addWidget(m_dust);
        if (ctx.dustOff) {
            m_dust->setEnabled(false);
            dustLayout->addWidget(new QLabel(QStringLiteral("Použití prachu bylo vypnuto v okně Soubor / Možnosti")));
        }
        m_tabs->addTab(dustPage, ctx.dustOff ? QStringLiteral("(Prach)") : QStringLiteral("Prach"));
        m_tabs->setCurrentIndex(std::clamp(ctx.lastTab, 0, 2));

        auto* ok = new QPushButton(QStringLiteral("OK"));
        ok->setObjectName("cmdOK");
        ok->setToolTip(QStringLiteral("Zpět s provedením změn"));
        ok->setDefault(true);
        auto* cancel = new QPushButton(QStringLiteral("&Storno"));
        cancel->setObjectName("cmdStorno");
        cancel->setToolTip(QStringLiteral("Zpět bez provedení změn"));
        auto* help = new QPushButton(QStringLiteral("&Nápověda"));
        help->setToolTip(QStringLiteral("Nápověda k programu"));
        auto* buttons = buttonRow({ok, cancel, help});
        layout->addLayout(buttons);
        QObject::connect(ok, &QPushButton::clicked, &m_dlg, [this] { accept(); });
        QObject::connect(cancel, &QPushButton::clicked, &m_dlg, &QDialog::reject);
        QObject::connect(help, &QPushButton::clicked, &m_dlg, [this] { openHelp(&m_dlg); });
        fill();
    }

    bool run(QWidget* main)
    {
        const bool ok = execAtStoredPlace(m_dlg, main, m_ctx.settingsFile, *m_ctx.reporter) == QDialog::Accepted;
        m_ctx.lastTab = m_tabs->currentIndex();
        if (m_auto)
            m_ctx.settings.autoCalcXY = m_auto->isChecked();
        return ok;
    }

private:
    QWidget* describePanel()
    {
        auto* w = new QWidget;
        w->setObjectName("uscPopis");
        auto* f = new QFormLayout(w);
        m_number = box("txtCisloZdroje");
        m_chimney = box("txtCisloKomina");
        m_name = box("txtNazevZdroje", QStringLiteral("Orientační název zdroje"));
        m_x = box("txtX", QStringLiteral("X souřadnice zdroje"));
        m_y = box("txtY", QStringLiteral("Y souřadnice zdroje"));
        m_z = box("txtZ", QStringLiteral("Nadmořská výška zdroje"));
        m_group = box("txtSkupina");
        m_cluster = box("txtShluk");
        // Coordinates take a decimal point or comma (the height fill writes decimals).
        allowKeys(m_x, kDigits + "-.,");
        allowKeys(m_y, kDigits + "-.,");
        allowKeys(m_z, kDigits + ".,");
        for (QLineEdit* b : {m_group, m_cluster, m_number, m_chimney})
            allowKeys(b, kDigits);
        f->addRow(QStringLiteral("Číslo zdroje"), m_number);
        f->addRow(QStringLiteral("Číslo komína"), m_chimney);
        f->addRow(QStringLiteral("Název zdroje"), m_name);
        f->addRow(QStringLiteral("X"), m_x);
        f->addRow(QStringLiteral("Y"), m_y);
        f->addRow(QStringLiteral("Z"), m_z);
        f->addRow(QStringLiteral("Indikace skupiny:"), m_group);
        f->addRow(QStringLiteral("Indikace shluku:"), m_cluster);
        return w;
    }

    QWidget* parameterPanel(int kind)
    {
        auto* w = new QWidget;
        auto* g = new QGridLayout(w);
        const char* const* labels = kind == kPointSource ? kPointLabels
            : kind == kAreaSource                        ? kAreaLabels
                                                         : kLineLabels;
        for (int i = 0; i < m_src.parameterCount(); ++i) {
            QWidget* label;
            if (kind == kAreaSource && i == StackParam::kTemperature) {
                m_riseCombo = new QComboBox;
                m_riseCombo->setObjectName("cboTeplotaVznos");
                m_riseCombo->addItems({kTemperature, kPlumeRise});
                label = m_riseCombo;
            } else {
                auto* l = new QLabel(QString::fromUtf8(labels[i]));
                l->setObjectName(QStringLiteral("lbPar%1").arg(i));
                label = l;
            }
            auto* b = box("", QStringLiteral("Parametry zdroje"));
            b->setObjectName(QStringLiteral("tPar%1").arg(i));
            // Only the end points of a line segment may be negative.
            const bool endPoint = kind == kLineSource && i >= LineParam::kStartX && i <= LineParam::kEndY;
            allowKeys(b, kDigits + ".," + (endPoint ? "-" : ""));
            g->addWidget(label, i, 0);
            g->addWidget(b, i, 1);
            m_par.push_back(b);
            m_labels.push_back(label);
        }
        const int row = m_src.parameterCount();
        if (kind == kPointSource)
            addPointButtons(g, row);
        else if (kind == kAreaSource)
            QObject::connect(m_riseCombo, &QComboBox::currentIndexChanged, &m_dlg, [this] { riseChosen(); });
        else
            addLineMiddle(g, row);
        return w;
    }

    // The point source's buttons that compute a stack value from the others.
    void addPointButtons(QGridLayout* g, int row)
    {
        auto* bar = new QHBoxLayout;
        auto* calcD = new QPushButton(QStringLiteral("Vypočítej (d)"));
        auto* calcW0 = new QPushButton(QStringLiteral("Vypočítej (w0)"));
        auto* calcVs = new QPushButton(QStringLiteral("Vypočítej (Vs)"));
        m_pressure = new QPushButton(QStringLiteral("Nastavit &tlak"));
        m_pressure->setObjectName("cmdTlak");
        for (auto* b : {calcD, calcW0, calcVs, m_pressure})
            bar->addWidget(b);
        g->addLayout(bar, row, 0, 1, 2);
        QObject::connect(calcD, &QPushButton::clicked, &m_dlg, [this] { compute(DerivedValue::D); });
        QObject::connect(calcW0, &QPushButton::clicked, &m_dlg, [this] { compute(DerivedValue::W0); });
        QObject::connect(calcVs, &QPushButton::clicked, &m_dlg, [this] { compute(DerivedValue::Vs); });
        QObject::connect(m_pressure, &QPushButton::clicked, &m_dlg, [this] {
            if (auto p = askPressure(m_ctx.settings.tlakVzduchu, m_pressure))
                m_ctx.settings.tlakVzduchu = *p;
            updatePressureTip();
        });
        updatePressureTip();
    }

    // The line source's middle of the segment, computed on request or as the end points change.
    void addLineMiddle(QGridLayout* g, int row)
    {
        m_auto = new QCheckBox(QStringLiteral("Automatický výpočet středu úseku (X,Y)"));
        m_auto->setObjectName("chbAutoCalcXY");
        m_calc = new QPushButton(QStringLiteral("Vypočítej střed úseku (X,Y)"));
        m_calc->setObjectName("cmdCalcXY");
        g->addWidget(m_auto, row, 0);
        g->addWidget(m_calc, row, 1);
        m_auto->setChecked(m_ctx.settings.autoCalcXY);
        m_calc->setVisible(!m_auto->isChecked());
        QObject::connect(m_auto, &QCheckBox::toggled, &m_dlg, [this](bool on) { m_calc->setVisible(!on); });
        QObject::connect(m_calc, &QPushButton::clicked, &m_dlg, [this] { calcMiddle(); });
    }

    void fill()
    {
        m_number->setText(QString::number(m_src.ICZ()));
        m_chimney->setText(QString::number(m_src.Komin()));
        m_name->setText(qs(m_src.NazevZdroje()));
        m_x->setText(qs(m_src.coordinateX().shown()));
        m_y->setText(qs(m_src.coordinateY().shown()));
        m_z->setText(qs(m_src.coordinateZ().shown()));
        m_group->setText(QString::number(m_src.Skupina()));
        m_cluster->setText(QString::number(m_src.Shluk()));
        for (int i = 0; i < m_src.parameterCount(); ++i)
            m_par[static_cast<std::size_t>(i)]->setText(toUserText(m_src.Parameters(i)));
        m_dust->setPrach(m_src.Prach());
        if (m_riseCombo) {
            const bool rise = givesPlumeRise(par(StackParam::kDiameter), par(StackParam::kExitVelocity));
            m_riseCombo->setCurrentIndex(rise ? 1 : 0);
            riseChosen();
        }
    }

    void riseChosen()
    {
        const bool temperature = m_riseCombo->currentIndex() == 0;
        for (int i : {StackParam::kDiameter, StackParam::kExitVelocity}) {
            m_par[static_cast<std::size_t>(i)]->setEnabled(temperature);
            m_labels[static_cast<std::size_t>(i)]->setEnabled(temperature);
        }
    }

    void updatePressureTip()
    {
        m_pressure->setToolTip(QStringLiteral("Tlak (p) = ") + toUserText(m_ctx.settings.tlakVzduchu) +
                               QStringLiteral(" Pa"));
    }

    float par(int i) const { return fromUserText(m_par[static_cast<std::size_t>(i)]->text()); }

    void compute(DerivedValue what)
    {
        const double vs = par(StackParam::kGasFlow), ts = par(StackParam::kTemperature), d = par(StackParam::kDiameter),
                     w0 = par(StackParam::kExitVelocity), p = m_ctx.settings.tlakVzduchu;
        const QString title = what == DerivedValue::D ? QStringLiteral("Vypočet (d)")
            : what == DerivedValue::W0                ? QStringLiteral("Vypočet (w0)")
                                                      : QStringLiteral("Vypočet (Vs)");
        std::optional<float> value;
        if (what == DerivedValue::D) {
            if (w0 == 0)
                return void(QMessageBox::warning(&m_dlg, title, QStringLiteral("Parametr 'w0' nesmí být nulový.")));
            if (p == 0)
                return void(QMessageBox::warning(&m_dlg, title, QStringLiteral("Tlak vzduchu nesmí být nulový.")));
            value = computeD(vs, w0, ts, p);
        } else if (what == DerivedValue::W0) {
            if (d == 0)
                return void(QMessageBox::warning(&m_dlg, title, QStringLiteral("Parametr 'd' nesmí být nulový.")));
            if (p == 0)
                return void(QMessageBox::warning(&m_dlg, title, QStringLiteral("Tlak vzduchu nesmí být nulový.")));
            value = computeW0(vs, d, ts, p);
        } else {
            value = computeVs(d, w0, ts, p);
        }
        if (!value)
            return void(QMessageBox::warning(&m_dlg, title, qs(kNoFiniteResult)));
        const int target = what == DerivedValue::D ? StackParam::kDiameter
            : what == DerivedValue::W0             ? StackParam::kExitVelocity
                                                   : StackParam::kGasFlow;
        m_par[static_cast<std::size_t>(target)]->setText(toUserText(*value));
        if (what == DerivedValue::D)
            m_par[StackParam::kExitVelocity]->setFocus();
        else if (what == DerivedValue::Vs)
            m_par[StackParam::kTemperature]->setFocus();
    }

    bool calcMiddle()
    {
        std::int32_t x = 0, y = 0;
        if (!middlePoint(par(LineParam::kStartX), par(LineParam::kStartY), par(LineParam::kEndX), par(LineParam::kEndY),
                         x, y))
            return false;
        m_x->setText(QString::number(x));
        m_y->setText(QString::number(y));
        return true;
    }

    // Refuses a value beyond its type's range, naming the field.
    bool refuse(const QString& field)
    {
        QMessageBox::warning(&m_dlg, qs(m_src.TypZdroje()),
                             QStringLiteral("Hodnota pole „%1“ je mimo povolený rozsah.").arg(field));
        return false;
    }

    void accept()
    {
        if (m_auto && m_auto->isChecked())
            calcMiddle();
        SourceEdit e;
        e.name = ss(m_name->text());
        struct CoordinateField {
            QLineEdit* box;
            Coordinate* value;
            const char* label;
        } coordinates[] = {{m_x, &e.x, "X"}, {m_y, &e.y, "Y"}, {m_z, &e.z, "Z"}};
        for (auto& f : coordinates) {
            bool out = false;
            *f.value = Coordinate::read(ss(f.box->text()), &out);
            if (out)
                return void(refuse(QString::fromUtf8(f.label)));
        }
        struct IntField {
            QLineEdit* box;
            std::int32_t* value;
            const char* label;
        } ints[] = {{m_cluster, &e.cluster, "Indikace shluku"},
                    {m_group, &e.group, "Indikace skupiny"}};
        for (auto& f : ints) {
            bool out = false;
            *f.value = readLenientInt(ss(f.box->text()), &out);
            if (out)
                return void(refuse(QString::fromUtf8(f.label)));
        }
        for (int i = 0; i < m_src.parameterCount(); ++i) {
            bool out = false;
            e.parameters.push_back(fromUserText(m_par[static_cast<std::size_t>(i)]->text(), &out));
            if (out) {
                auto* label = qobject_cast<QLabel*>(m_labels[static_cast<std::size_t>(i)]);
                return void(refuse(label ? label->text() : m_riseCombo->currentText()));
            }
        }
        if (m_riseCombo && m_riseCombo->currentIndex() == 1)
            e.parameters[StackParam::kDiameter] = e.parameters[StackParam::kExitVelocity] = 0;
        e.dust = m_ctx.dustOff ? m_src.Prach() : m_dust->Prach();
        m_src.finishEdit(true, e);
        m_dlg.accept();
    }

    cZdroje& m_src;
    EditorContext& m_ctx;
    QDialog m_dlg;
    QTabWidget* m_tabs = nullptr;
    QLineEdit *m_number = nullptr, *m_chimney = nullptr, *m_name = nullptr, *m_x = nullptr, *m_y = nullptr,
              *m_z = nullptr, *m_group = nullptr, *m_cluster = nullptr;
    std::vector<QLineEdit*> m_par;
    std::vector<QWidget*> m_labels;
    QComboBox* m_riseCombo = nullptr;
    QCheckBox* m_auto = nullptr;
    QPushButton* m_calc = nullptr;
    QPushButton* m_pressure = nullptr;
    DustPanel* m_dust = nullptr;
};

}  // namespace

bool editSource(cZdroje& source, EditorContext& ctx, QWidget* parent)
{
    SourceDialog dialog(source, ctx, parent);
    const bool ok = dialog.run(parent ? parent->window() : nullptr);
    if (!ok) {
        source.finishEdit(false, {});
        return false;
    }
    if (source.TypZdrojeID() == kLineSource)
        ctx.lineDefaults.remember(source);
    ctx.modified = true;
    return true;
}

}  // namespace ovd::sourcesui
