#include "dust_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dust_groups_dialog.h"
#include "ui_support.h"

namespace ovd::sourcesui {

namespace {

// A stored particle value ("." always) in the user's decimal format.
QString shown(const std::string& value)
{
    return qs(value).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

}  // namespace

DustPanel::DustPanel(EditorContext& ctx, QWidget* parent)
    : QWidget(parent)
    , m_ctx(ctx)
{
    setObjectName("uscPrach");
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Prachová skupina:")), 0, 0);
    m_groups = new QComboBox;
    m_groups->setObjectName("cboSkupiny");
    m_groups->setToolTip(QStringLiteral("Seznam skupin prachu"));
    layout->addWidget(m_groups, 0, 1);
    m_groupsButton = new QPushButton(QStringLiteral("Editace prachových skupin"));
    m_groupsButton->setObjectName("cmdSkupinyPrachu");
    // The whole caption with the button's padding, however the tab pages share the width.
    m_groupsButton->setMinimumWidth(m_groupsButton->fontMetrics().horizontalAdvance(m_groupsButton->text()) + 32);
    layout->addWidget(m_groupsButton, 0, 2);
    layout->addWidget(new QLabel(QStringLiteral("Hustota prachových částic [kg/m3]:")), 1, 0);
    m_density = new QLineEdit;
    m_density->setObjectName("txtHustota");
    allowKeys(m_density, kDigits);
    layout->addWidget(m_density, 1, 1);

    m_particleFrame = new QGroupBox(QStringLiteral("Popis prašné částice"));
    auto* frame = new QGridLayout(m_particleFrame);
    frame->addWidget(new QLabel(QStringLiteral("Průměr prašné částice [um]:")), 0, 0);
    m_diameter = new QLineEdit;
    m_diameter->setObjectName("txtPrumer");
    allowKeys(m_diameter, kDigits + ".,");
    frame->addWidget(m_diameter, 0, 1);
    frame->addWidget(new QLabel(QStringLiteral("Zastoupení částice [%/100]:")), 1, 0);
    m_share = new QLineEdit;
    m_share->setObjectName("txtZastoupeni");
    allowKeys(m_share, kDigits + ".,");
    frame->addWidget(m_share, 1, 1);
    auto* add = new QPushButton(QStringLiteral("Přidej prachovou částici"));
    add->setObjectName("cmdAdd");
    frame->addWidget(add, 2, 1);
    frame->addWidget(new QLabel(QStringLiteral("Uživatelem definované prachové částice")), 3, 0, 1, 2);
    m_list = new QTreeWidget;
    m_list->setObjectName("lsvPrach");
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Průměr"), QStringLiteral("Zastoupení")});
    frame->addWidget(m_list, 4, 0, 1, 2);
    m_count = new QLabel;
    frame->addWidget(m_count, 5, 0, 1, 2);
    layout->addWidget(m_particleFrame, 2, 0, 1, 3);

    connect(m_groups, &QComboBox::currentIndexChanged, this, [this] { groupChosen(); });
    connect(add, &QPushButton::clicked, this, [this] {
        addParticle(m_particles, withPoint(m_diameter->text()), withPoint(m_share->text()));
        fillParticles();
    });
    connect(m_groupsButton, &QPushButton::clicked, this, [this] {
        const std::string text = Prach();
        editDustGroups(m_ctx, this);
        reloadGroups();
        setPrach(text);
    });
    reloadGroups();
    setPrach("0,0,0");
}

void DustPanel::reloadGroups()
{
    m_groups->clear();
    m_groups->addItem(QStringLiteral("(manuálně)"), 0);
    for (int i = 0; i < m_ctx.groups.Count(); ++i)
        m_groups->addItem(qs(m_ctx.groups.SkupinaNazev(i)), static_cast<qlonglong>(m_ctx.groups.SkupinaCislo(i)));
    m_groupsButton->setToolTip(qs("Soubor s prachovými skupinami (" + m_ctx.groups.FileName() + ")"));
}

void DustPanel::setPrach(const std::string& text)
{
    DustText dust = parseDustText(text);
    m_density->setText(qs(dust.density));
    m_group = dust.group;
    m_particles = dust.particles;
    int index = m_groups->findData(static_cast<qlonglong>(dust.group));
    if (index < 0) {
        m_groups->addItem(qs("(skupina " + std::to_string(dust.group) + ")"), static_cast<qlonglong>(dust.group));
        index = m_groups->count() - 1;
    }
    m_groups->setCurrentIndex(index);
    groupChosen();
}

std::string DustPanel::Prach() const
{
    if (m_groups->count() == 0)
        return {};
    DustText dust;
    dust.density = withPoint(m_density->text());
    if (dust.density.empty())
        dust.density = "0";
    dust.group = m_groups->currentData().toLongLong();
    if (dust.group == 0)
        dust.particles = m_particles;
    return formatDustText(dust);
}

void DustPanel::groupChosen()
{
    const bool manual = m_groups->currentData().toLongLong() == 0;
    m_particleFrame->setEnabled(manual);
    fillParticles();
}

void DustPanel::fillParticles()
{
    m_list->clear();
    for (const auto& p : m_particles)
        m_list->addTopLevelItem(new QTreeWidgetItem({shown(p.diameter), shown(p.share)}));
    m_count->setText(QStringLiteral("Počet: %1").arg(m_particles.size()));
}

}  // namespace ovd::sourcesui
