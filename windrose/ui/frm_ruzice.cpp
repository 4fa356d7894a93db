#include "frm_ruzice.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QHideEvent>
#include <QMimeData>
#include <QToolBar>
#include <QVBoxLayout>

#include <span>

#include "windrose/control/pollution_rose.h"

namespace ovd::roseui {

namespace {

const char* const kSpeedTitles[3] = {"Rychlost větru do 1.7 m/s", "Rychlost větru do 5 m/s",
                                     "Rychlost větru do 11 m/s"};
const char* const kClassTitles[5] = {"I. třída větru", "II. třída větru", "III. třída větru", "IV. třída větru",
                                     "V. třída větru"};
const char* const kSpeedShort[3] = {"1.7", "5", "11"};
const char* const kClassShort[5] = {"I", "II", "III", "IV", "V"};

QVector<float> floats(const std::vector<double>& values)
{
    QVector<float> out;
    for (double v : values)
        out.append(static_cast<float>(v));
    return out;
}

}  // namespace

frmRuzice::frmRuzice(WindRoseEditorSettings& settings, const WindRoseGrid& grid, Reporter& reporter, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_settings(settings)
    , m_grid(grid)
    , m_reporter(reporter)
{
    setObjectName("frmRuzice");
    setWindowTitle(QString::fromUtf8("Větrná růžice - graf"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName("Toolbar1");
    layout->addWidget(Toolbar1);
    // A checkable button per layer; toggling one shows or hides its layer and redraws.
    auto addLayerButtons = [this](std::span<QAction*> buttons, const char* const* labels, const char* const* titles,
                                  bool classLayers) {
        for (int k = 0; k < static_cast<int>(buttons.size()); ++k) {
            buttons[k] = Toolbar1->addAction(QString::fromUtf8(labels[k]));
            buttons[k]->setToolTip(QString::fromUtf8(titles[k]));
            buttons[k]->setCheckable(true);
            connect(buttons[k], &QAction::toggled, this, [this, k, classLayers](bool on) {
                if (classLayers)
                    m_settings.showClassLayer(k, on);
                else
                    m_settings.showSpeedLayer(k, on);
                PrekresliSchema();
            });
        }
        Toolbar1->addSeparator();
    };
    addLayerButtons(speedButtons, kSpeedShort, kSpeedTitles, false);
    addLayerButtons(classButtons, kClassShort, kClassTitles, true);
    APROXIMATION = Toolbar1->addAction(QStringLiteral("~"));
    APROXIMATION->setObjectName("APROXIMATION");
    APROXIMATION->setToolTip(QString::fromUtf8("Lineární aproximace grafu"));
    APROXIMATION->setCheckable(true);
    connect(APROXIMATION, &QAction::toggled, this, [this](bool on) {
        m_settings.methodOfAproximation = on ? 1 : 0;
        PrekresliSchema();
    });
    CLP = Toolbar1->addAction(QString::fromUtf8("Kopírovat"));
    CLP->setObjectName("CLP");
    CLP->setToolTip(QString::fromUtf8("Kopírovat"));
    connect(CLP, &QAction::triggered, this, [this] { copyPicture(); });

    uPollutionRose1 = new uPollutionRose(this);
    uPollutionRose1->setObjectName("uPollutionRose1");
    uPollutionRose1->setMinimumSize(200, 200);
    layout->addWidget(uPollutionRose1, 1);
    resize(420, 460);
    applySettings();
}

void frmRuzice::applySettings()
{
    uPollutionRose& rose = *uPollutionRose1;
    rose.setAutoRefresh(false);
    rose.setCaption({});
    rose.setDescription({});
    // The table lists N..NW clockwise; the control places values counter-clockwise from
    // its angle, so mirror it and start at the bottom to get north up and east right.
    rose.setRoseHorizontalMirror(true);
    rose.setRoseAngle(270);
    rose.setBackColor(colorFromWindows(m_settings.backColor));
    QColor raster = colorFromWindows(m_settings.rasterColor);
    rose.setAxisColor(raster);
    rose.setAxisLineColor(raster);
    rose.setAxisDescColor(raster);
    rose.setRoseLineColor(colorFromWindows(m_settings.drawColor));
    rose.setRoseFillColor(colorFromWindows(m_settings.drawColor));
    rose.setRoseLineWidth(static_cast<int>(m_settings.drawWidth));
    for (int k = 0; k < 3; ++k) {
        QSignalBlocker block(speedButtons[k]);
        speedButtons[k]->setChecked(m_settings.speedLayerShown(k));
    }
    for (int k = 0; k < 5; ++k) {
        QSignalBlocker block(classButtons[k]);
        classButtons[k]->setChecked(m_settings.classLayerShown(k));
    }
    {
        QSignalBlocker block(APROXIMATION);
        APROXIMATION->setChecked(m_settings.methodOfAproximation != 0);
    }
    rose.setAutoRefresh(true);
    PrekresliSchema();
}

void frmRuzice::PrekresliSchema()
{
    uPollutionRose& rose = *uPollutionRose1;
    rose.setAutoRefresh(false);
    rose.setMethodOfAproximation(static_cast<int>(m_settings.methodOfAproximation));
    rose.setDataArray(floats(m_grid.directionTotals()));
    QList<QVector<float>> data;
    QList<QColor> colours;
    QList<int> widths;
    QList<bool> enabled;
    for (int k = 0; k < 3; ++k)
        if (m_settings.speedLayerShown(k)) {
            data.append(floats(m_grid.speedLayer(k)));
            colours.append(colorFromWindows(m_settings.colorRychlostVetru));
        }
    for (int k = 0; k < 5; ++k)
        if (m_settings.classLayerShown(k)) {
            data.append(floats(m_grid.classLayer(k)));
            colours.append(colorFromWindows(m_settings.colorTridaiVetru));
        }
    for (int k = 0; k < data.size(); ++k) {
        widths.append(1);
        enabled.append(true);
    }
    rose.setMultiLayersData(data);
    rose.setMultiLayersColor(colours);
    rose.setMultiLayersWidth(widths);
    rose.setMultiLayersEnabled(enabled);
    rose.setMultiLayersMode(!data.isEmpty());
    rose.setAutoRefresh(true);
    rose.RefreshRose();
}

bool frmRuzice::copyPicture()
{
    QImage image = uPollutionRose1->Image();
    QByteArray png;
    QBuffer buffer(&png);
    QClipboard* clipboard = QApplication::clipboard();
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG") || !clipboard) {
        m_reporter.message(Severity::Warning, "Schránka", "Obrázek nelze zkopírovat do schránky.");
        return false;
    }
    auto* mime = new QMimeData;
    mime->setData("image/png", png);
    mime->setImageData(image);
    clipboard->setMimeData(mime);
    return true;
}

void frmRuzice::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (visibilityChanged)
        visibilityChanged(true);
}

void frmRuzice::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    if (visibilityChanged && !e->spontaneous())  // not when the desktop minimises it
        visibilityChanged(false);
}

}  // namespace ovd::roseui
