#pragma once
// OKRA_PollutionRose: the control uPollutionRose draws a rose of values spaced evenly
// around the circle (direction labels, axes, scale rings, the outline and extra layers,
// a caption above and a description below). Colours are QColor here and Windows
// integers in the property bag; fonts default to the host's font.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QVariantMap>
#include <QVector>
#include <QWidget>

#include <vector>

#if defined(OKRA_POLLUTIONROSE_BUILD)
#define OKRA_POLLUTIONROSE_API __attribute__((visibility("default")))
#else
#define OKRA_POLLUTIONROSE_API
#endif

// The persisted properties of a control, by name.
using PropertyBag = QVariantMap;

struct OKRA_POLLUTIONROSE_API RoseVersion {
    int Major = 1, Minor = 0, Revision = 0;
};

class QPainter;
namespace ovd {
struct RoseShape;
}

class OKRA_POLLUTIONROSE_API uPollutionRose : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabledProperty)
    Q_PROPERTY(QFont Font READ Font WRITE setFontProperty)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(int Appearance READ Appearance WRITE setAppearance)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE setMouseIcon)
    Q_PROPERTY(bool AutoRefresh READ AutoRefresh WRITE setAutoRefresh)
    Q_PROPERTY(bool AxisEnabled READ AxisEnabled WRITE setAxisEnabled)
    Q_PROPERTY(bool AxisDescEnabled READ AxisDescEnabled WRITE setAxisDescEnabled)
    Q_PROPERTY(bool AxisLineEnabled READ AxisLineEnabled WRITE setAxisLineEnabled)
    Q_PROPERTY(int ActiveLayer READ ActiveLayer WRITE setActiveLayer)
    Q_PROPERTY(int MethodOfAproximation READ MethodOfAproximation WRITE setMethodOfAproximation)
    Q_PROPERTY(bool MultiLayersMode READ MultiLayersMode WRITE setMultiLayersMode)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QFont CaptionFont READ CaptionFont WRITE setCaptionFont)
    Q_PROPERTY(QColor CaptionColor READ CaptionColor WRITE setCaptionColor)
    Q_PROPERTY(QString Description READ Description WRITE setDescription)
    Q_PROPERTY(QFont DescriptionFont READ DescriptionFont WRITE setDescriptionFont)
    Q_PROPERTY(QColor DescriptionColor READ DescriptionColor WRITE setDescriptionColor)
    Q_PROPERTY(QColor AxisColor READ AxisColor WRITE setAxisColor)
    Q_PROPERTY(QFont AxisFont READ AxisFont WRITE setAxisFont)
    Q_PROPERTY(QColor AxisDescColor READ AxisDescColor WRITE setAxisDescColor)
    Q_PROPERTY(QFont AxisDescFont READ AxisDescFont WRITE setAxisDescFont)
    Q_PROPERTY(QColor AxisLineColor READ AxisLineColor WRITE setAxisLineColor)
    Q_PROPERTY(QColor RoseFillColor READ RoseFillColor WRITE setRoseFillColor)
    Q_PROPERTY(QColor RoseLineColor READ RoseLineColor WRITE setRoseLineColor)
    Q_PROPERTY(int RoseLineWidth READ RoseLineWidth WRITE setRoseLineWidth)
    Q_PROPERTY(int RoseAngle READ RoseAngle WRITE setRoseAngle)
    Q_PROPERTY(QString AxesAbbrev READ AxesAbbrev WRITE setAxesAbbrev)
    Q_PROPERTY(int SegmentCount READ SegmentCount WRITE setSegmentCount)
    Q_PROPERTY(bool RoseHorizontalMirror READ RoseHorizontalMirror WRITE setRoseHorizontalMirror)
    Q_PROPERTY(QVector<float> DataArray READ DataArray WRITE setDataArray)
    Q_PROPERTY(QList<QVector<float>> MultiLayersData READ MultiLayersData WRITE setMultiLayersData)
    Q_PROPERTY(QList<QColor> MultiLayersColor READ MultiLayersColor WRITE setMultiLayersColor)
    Q_PROPERTY(QList<int> MultiLayersWidth READ MultiLayersWidth WRITE setMultiLayersWidth)
    Q_PROPERTY(QList<bool> MultiLayersEnabled READ MultiLayersEnabled WRITE setMultiLayersEnabled)

public:
    explicit uPollutionRose(QWidget* parent = nullptr);

    QColor BackColor() const { return m_BackColor; }
    void setBackColor(const QColor&);
    bool Enabled() const { return isEnabled(); }
    void setEnabledProperty(bool);
    QFont Font() const { return font(); }
    void setFontProperty(const QFont&);

    // The data of the active layer: the base data for ActiveLayer -1, else that layer's.
    QVector<float> SemiDataArray() const;
    void setSemiDataArray(const QVector<float>&);

    // The picture as last drawn.
    QImage Image() const { return m_image; }
    RoseVersion Version() const { return {}; }

    int BorderStyle() const { return m_BorderStyle; }
    void setBorderStyle(int v)
    {
        m_BorderStyle = v;
        changed();
    }
    int Appearance() const { return m_Appearance; }
    void setAppearance(int v)
    {
        m_Appearance = v;
        changed();
    }
    int MousePointer() const { return m_MousePointer; }
    void setMousePointer(int v)
    {
        m_MousePointer = v;
        changed();
    }
    QPixmap MouseIcon() const { return m_MouseIcon; }
    void setMouseIcon(const QPixmap& v)
    {
        m_MouseIcon = v;
        changed();
    }
    bool AutoRefresh() const { return m_AutoRefresh; }
    void setAutoRefresh(bool v)
    {
        m_AutoRefresh = v;
        changed();
    }
    bool AxisEnabled() const { return m_AxisEnabled; }
    void setAxisEnabled(bool v)
    {
        m_AxisEnabled = v;
        changed();
    }
    bool AxisDescEnabled() const { return m_AxisDescEnabled; }
    void setAxisDescEnabled(bool v)
    {
        m_AxisDescEnabled = v;
        changed();
    }
    bool AxisLineEnabled() const { return m_AxisLineEnabled; }
    void setAxisLineEnabled(bool v)
    {
        m_AxisLineEnabled = v;
        changed();
    }
    int ActiveLayer() const { return m_ActiveLayer; }
    void setActiveLayer(int v)
    {
        m_ActiveLayer = v;
        changed();
    }
    int MethodOfAproximation() const { return m_MethodOfAproximation; }
    void setMethodOfAproximation(int v)
    {
        m_MethodOfAproximation = v;
        changed();
    }
    bool MultiLayersMode() const { return m_MultiLayersMode; }
    void setMultiLayersMode(bool v)
    {
        m_MultiLayersMode = v;
        changed();
    }
    QString Caption() const { return m_Caption; }
    void setCaption(const QString& v)
    {
        m_Caption = v;
        changed();
    }
    QFont CaptionFont() const { return m_CaptionFont; }
    void setCaptionFont(const QFont& v)
    {
        m_CaptionFont = v;
        changed();
    }
    QColor CaptionColor() const { return m_CaptionColor; }
    void setCaptionColor(const QColor& v)
    {
        m_CaptionColor = v;
        changed();
    }
    QString Description() const { return m_Description; }
    void setDescription(const QString& v)
    {
        m_Description = v;
        changed();
    }
    QFont DescriptionFont() const { return m_DescriptionFont; }
    void setDescriptionFont(const QFont& v)
    {
        m_DescriptionFont = v;
        changed();
    }
    QColor DescriptionColor() const { return m_DescriptionColor; }
    void setDescriptionColor(const QColor& v)
    {
        m_DescriptionColor = v;
        changed();
    }
    QColor AxisColor() const { return m_AxisColor; }
    void setAxisColor(const QColor& v)
    {
        m_AxisColor = v;
        changed();
    }
    QFont AxisFont() const { return m_AxisFont; }
    void setAxisFont(const QFont& v)
    {
        m_AxisFont = v;
        changed();
    }
    QColor AxisDescColor() const { return m_AxisDescColor; }
    void setAxisDescColor(const QColor& v)
    {
        m_AxisDescColor = v;
        changed();
    }
    QFont AxisDescFont() const { return m_AxisDescFont; }
    void setAxisDescFont(const QFont& v)
    {
        m_AxisDescFont = v;
        changed();
    }
    QColor AxisLineColor() const { return m_AxisLineColor; }
    void setAxisLineColor(const QColor& v)
    {
        m_AxisLineColor = v;
        changed();
    }
    QColor RoseFillColor() const { return m_RoseFillColor; }
    void setRoseFillColor(const QColor& v)
    {
        m_RoseFillColor = v;
        changed();
    }
    QColor RoseLineColor() const { return m_RoseLineColor; }
    void setRoseLineColor(const QColor& v)
    {
        m_RoseLineColor = v;
        changed();
    }
    int RoseLineWidth() const { return m_RoseLineWidth; }
    void setRoseLineWidth(int v)
    {
        m_RoseLineWidth = v;
        changed();
    }
    int RoseAngle() const { return m_RoseAngle; }
    void setRoseAngle(int v)
    {
        m_RoseAngle = v;
        changed();
    }
    QString AxesAbbrev() const { return m_AxesAbbrev; }
    void setAxesAbbrev(const QString& v)
    {
        m_AxesAbbrev = v;
        changed();
    }
    int SegmentCount() const { return m_SegmentCount; }
    void setSegmentCount(int v)
    {
        m_SegmentCount = v;
        changed();
    }
    bool RoseHorizontalMirror() const { return m_RoseHorizontalMirror; }
    void setRoseHorizontalMirror(bool v)
    {
        m_RoseHorizontalMirror = v;
        changed();
    }
    QVector<float> DataArray() const { return m_DataArray; }
    void setDataArray(const QVector<float>& v)
    {
        m_DataArray = v;
        changed();
    }
    QList<QVector<float>> MultiLayersData() const { return m_MultiLayersData; }
    void setMultiLayersData(const QList<QVector<float>>& v)
    {
        m_MultiLayersData = v;
        changed();
    }
    QList<QColor> MultiLayersColor() const { return m_MultiLayersColor; }
    void setMultiLayersColor(const QList<QColor>& v)
    {
        m_MultiLayersColor = v;
        changed();
    }
    QList<int> MultiLayersWidth() const { return m_MultiLayersWidth; }
    void setMultiLayersWidth(const QList<int>& v)
    {
        m_MultiLayersWidth = v;
        changed();
    }
    QList<bool> MultiLayersEnabled() const { return m_MultiLayersEnabled; }
    void setMultiLayersEnabled(const QList<bool>& v)
    {
        m_MultiLayersEnabled = v;
        changed();
    }

    void RefreshRose();

    void UserControl_InitProperties();
    void UserControl_ReadProperties(const PropertyBag&);
    void UserControl_WriteProperties(PropertyBag&) const;

    // The picture at any size, as RefreshRose draws it.
    QImage render(QSize size) const;

signals:
    void Click();
    void DblClick();
    void KeyDown(int keyCode, int shift);
    void KeyPress(int keyAscii);
    void KeyUp(int keyCode, int shift);
    void MouseDown(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);
    void MouseUp(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;

private:
    void changed();
    void emitMouse(QMouseEvent*, int kind);
    // The parts of the picture, in the order they are drawn.
    void drawTexts(QPainter&, double width, double height) const;
    void drawAxes(QPainter&, const ovd::RoseShape&) const;
    void drawRings(QPainter&, const ovd::RoseShape&, double maximum) const;
    void drawOutlines(QPainter&, const ovd::RoseShape&, const std::vector<double>& base, double maximum) const;

    QColor m_BackColor;
    int m_BorderStyle{};
    int m_Appearance{};
    int m_MousePointer{};
    QPixmap m_MouseIcon{};
    bool m_AutoRefresh{};
    bool m_AxisEnabled{};
    bool m_AxisDescEnabled{};
    bool m_AxisLineEnabled{};
    int m_ActiveLayer{};
    int m_MethodOfAproximation{};
    bool m_MultiLayersMode{};
    QString m_Caption{};
    QFont m_CaptionFont{};
    QColor m_CaptionColor{};
    QString m_Description{};
    QFont m_DescriptionFont{};
    QColor m_DescriptionColor{};
    QColor m_AxisColor{};
    QFont m_AxisFont{};
    QColor m_AxisDescColor{};
    QFont m_AxisDescFont{};
    QColor m_AxisLineColor{};
    QColor m_RoseFillColor{};
    QColor m_RoseLineColor{};
    int m_RoseLineWidth{};
    int m_RoseAngle{};
    QString m_AxesAbbrev{};
    int m_SegmentCount{};
    bool m_RoseHorizontalMirror{};
    QVector<float> m_DataArray{};
    QList<QVector<float>> m_MultiLayersData{};
    QList<QColor> m_MultiLayersColor{};
    QList<int> m_MultiLayersWidth{};
    QList<bool> m_MultiLayersEnabled{};
    bool m_backColorIsSystem = true;
    bool m_pressed = false;
    QImage m_image;
};

// Windows colour integers (red + 256 green + 65536 blue; the 0x80000000 range names
// system colours, of which 5, the window colour, is the one the control uses).
OKRA_POLLUTIONROSE_API QColor colorFromWindows(long value);
OKRA_POLLUTIONROSE_API long windowsFromColor(const QColor&);
inline constexpr long kSystemWindowColor = -2147483643L;  // &H80000005 as a 32-bit value
