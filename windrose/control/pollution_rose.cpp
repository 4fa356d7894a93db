#include "pollution_rose.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPolygonF>
#include <cmath>
#include <vector>

#include "windrose/rose_geometry.h"

namespace {

std::vector<double> toDoubles(const QVector<float>& values)
{
    return std::vector<double>(values.begin(), values.end());
}

int shiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

int buttonCode(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

QFont fontOr(const QVariant& v, const QFont& fallback)
{
    QFont f;
    return v.isValid() && f.fromString(v.toString()) ? f : fallback;
}

void drawCentred(QPainter& p, QPointF at, const QString& text)
{
    QRectF box = p.fontMetrics().boundingRect(text);
    p.drawText(QPointF(at.x() - box.width() / 2, at.y() + p.fontMetrics().ascent() / 2.0 - 1), text);
}

QPolygonF polygon(const std::vector<ovd::RosePoint>& points)
{
    QPolygonF poly;
    for (const ovd::RosePoint& q : points)
        poly << QPointF(q.x, q.y);
    return poly;
}

}  // namespace

QColor colorFromWindows(long value)
{
    if (static_cast<std::uint32_t>(value) & 0x80000000U)
        return QApplication::palette().color(QPalette::Base);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

long windowsFromColor(const QColor& c)
{
    return c.red() + 256L * c.green() + 65536L * c.blue();
}

uPollutionRose::uPollutionRose(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    UserControl_InitProperties();
}

void uPollutionRose::UserControl_InitProperties()
{
    m_AutoRefresh = false;  // one redraw at the end
    m_backColorIsSystem = true;
    m_BackColor = colorFromWindows(kSystemWindowColor);
    setEnabled(true);
    QFont ambient = parentWidget() ? parentWidget()->font() : QApplication::font();
    setFont(ambient);
    m_BorderStyle = 0;
    m_Appearance = 1;
    m_MousePointer = 0;
    m_MouseIcon = QPixmap();
    m_AxisEnabled = m_AxisDescEnabled = m_AxisLineEnabled = true;
    m_ActiveLayer = -1;
    m_MethodOfAproximation = 0;
    m_MultiLayersMode = false;
    m_Caption = QStringLiteral("Caption");
    m_Description = QStringLiteral("Description");
    m_CaptionFont = m_DescriptionFont = m_AxisFont = m_AxisDescFont = ambient;
    m_CaptionColor = m_DescriptionColor = m_AxisColor = m_AxisDescColor = m_AxisLineColor = QColor(0, 0, 0);
    m_RoseFillColor = m_RoseLineColor = QColor(0, 0, 0);
    m_RoseLineWidth = 1;
    m_RoseAngle = 90;
    m_AxesAbbrev = QStringLiteral("*E|NE|*N|NW|*W|SW|*S|SE");
    m_SegmentCount = 8;
    m_RoseHorizontalMirror = false;
    m_AutoRefresh = true;
    RefreshRose();
}

void uPollutionRose::setBackColor(const QColor& c)
{
    m_BackColor = c;
    m_backColorIsSystem = false;
    changed();
}

void uPollutionRose::setEnabledProperty(bool on)
{
    setEnabled(on);
    changed();
}

void uPollutionRose::setFontProperty(const QFont& f)
{
    setFont(f);
    changed();
}

QVector<float> uPollutionRose::SemiDataArray() const
{
    if (m_ActiveLayer < 0)
        return m_DataArray;
    return m_ActiveLayer < m_MultiLayersData.size() ? m_MultiLayersData[m_ActiveLayer] : QVector<float>();
}

void uPollutionRose::setSemiDataArray(const QVector<float>& values)
{
    if (m_ActiveLayer < 0) {
        m_DataArray = values;
    } else {
        while (m_MultiLayersData.size() <= m_ActiveLayer)
            m_MultiLayersData.append(QVector<float>());
        m_MultiLayersData[m_ActiveLayer] = values;
    }
    changed();
}

void uPollutionRose::changed()
{
    if (m_AutoRefresh)
        RefreshRose();
}

void uPollutionRose::RefreshRose()
{
    m_image = render(size().expandedTo(QSize(1, 1)));
    update();
}

void uPollutionRose::drawTexts(QPainter& p, double w, double h) const
{
    if (!m_Caption.isEmpty()) {
        p.setFont(m_CaptionFont);
        p.setPen(m_CaptionColor);
        p.drawText(QRectF(0, 2, w, h), Qt::AlignHCenter | Qt::AlignTop, m_Caption);
    }
    if (!m_Description.isEmpty()) {
        p.setFont(m_DescriptionFont);
        p.setPen(m_DescriptionColor);
        p.drawText(QRectF(0, 0, w, h - 2), Qt::AlignHCenter | Qt::AlignBottom, m_Description);
    }
}

void uPollutionRose::drawAxes(QPainter& p, const ovd::RoseShape& shape) const
{
    const QPointF centre(shape.width / 2, shape.height / 2);
    if (m_AxisLineEnabled) {
        p.setPen(QPen(m_AxisLineColor, 1));
        for (const ovd::RosePoint& end : ovd::roseAxisEnds(shape))
            p.drawLine(centre, QPointF(end.x, end.y));
    }
    if (m_AxisDescEnabled) {
        p.setPen(m_AxisDescColor);
        for (const ovd::RoseLabel& label : ovd::roseLabels(shape)) {
            QFont f = m_AxisDescFont;
            f.setBold(label.bold || f.bold());
            p.setFont(f);
            drawCentred(p, QPointF(label.at.x, label.at.y), QString::fromStdString(label.text));
        }
    }
}

void uPollutionRose::drawRings(QPainter& p, const ovd::RoseShape& shape, double maximum) const
{
    if (!m_AxisEnabled)
        return;
    const QPointF centre(shape.width / 2, shape.height / 2);
    p.setFont(m_AxisFont);
    for (const ovd::RoseRing& ring : ovd::roseRings(shape, maximum)) {
        p.setPen(QPen(m_AxisColor, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, ring.radiusX, ring.radiusY);
        p.setPen(m_AxisColor);
        p.drawText(QPointF(ring.labelAt.x + 2, ring.labelAt.y), QString::fromStdString(ovd::ringValueText(ring.value)));
    }
}

void uPollutionRose::drawOutlines(QPainter& p, const ovd::RoseShape& shape, const std::vector<double>& base,
                                  double maximum) const
{
    p.setBrush(Qt::NoBrush);
    QPen outline = m_RoseLineWidth >= 1 ? QPen(m_RoseLineColor, m_RoseLineWidth) : QPen(m_RoseFillColor, 1);
    outline.setJoinStyle(Qt::RoundJoin);
    p.setPen(outline);
    p.drawPolygon(polygon(ovd::roseOutline(shape, base, maximum)));
    if (!m_MultiLayersMode)
        return;
    for (int k = 0; k < m_MultiLayersData.size(); ++k) {
        if (k < m_MultiLayersEnabled.size() && !m_MultiLayersEnabled[k])
            continue;
        QColor colour = k < m_MultiLayersColor.size() ? m_MultiLayersColor[k] : m_RoseLineColor;
        int width = k < m_MultiLayersWidth.size() ? m_MultiLayersWidth[k] : m_RoseLineWidth;
        p.setPen(QPen(colour, std::max(1, width)));
        p.drawPolygon(polygon(ovd::roseOutline(shape, toDoubles(m_MultiLayersData[k]), maximum)));
    }
}

QImage uPollutionRose::render(QSize size) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(m_backColorIsSystem ? colorFromWindows(kSystemWindowColor) : m_BackColor);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width(), h = size.height();
    drawTexts(p, w, h);
    ovd::RoseShape shape;
    shape.width = w;
    shape.height = h;
    shape.roseAngle = m_RoseAngle;
    shape.mirror = m_RoseHorizontalMirror;
    shape.approximation = m_MethodOfAproximation;
    shape.axesAbbrev = m_AxesAbbrev.toStdString();
    shape.segmentCount = m_SegmentCount;
    drawAxes(p, shape);
    std::vector<double> base = toDoubles(m_DataArray);
    const double maximum = ovd::roseMaximum(base);
    if (m_DataArray.isEmpty() || !(maximum > 0))
        return image;
    drawRings(p, shape, maximum);
    drawOutlines(p, shape, base, maximum);
    return image;
}

void uPollutionRose::UserControl_ReadProperties(const PropertyBag& bag)
{
    bool autoRefresh = bag.value("AutoRefresh", true).toBool();
    m_AutoRefresh = false;
    UserControl_InitProperties();
    m_AutoRefresh = false;
    QFont ambient = font();
    long back = bag.value("BackColor", static_cast<qlonglong>(kSystemWindowColor)).toLongLong();
    m_BackColor = colorFromWindows(back);
    m_backColorIsSystem = (static_cast<std::uint32_t>(back) & 0x80000000U) != 0;
    setEnabled(bag.value("Enabled", true).toBool());
    setFont(fontOr(bag.value("Font"), ambient));
    m_BorderStyle = bag.value("BorderStyle", 0).toInt();
    m_Appearance = bag.value("Appearance", 1).toInt();
    m_MousePointer = bag.value("MousePointer", 0).toInt();
    m_MouseIcon = bag.value("MouseIcon").value<QPixmap>();
    m_AxisEnabled = bag.value("AxisEnabled", true).toBool();
    m_AxisDescEnabled = bag.value("AxisDescEnabled", true).toBool();
    m_AxisLineEnabled = bag.value("AxisLineEnabled", true).toBool();
    m_ActiveLayer = bag.value("ActiveLayer", -1).toInt();
    m_MethodOfAproximation = bag.value("MethodOfAproximation", 0).toInt();
    m_MultiLayersMode = bag.value("MultiLayersMode", false).toBool();
    m_Caption = bag.value("Caption", QStringLiteral("Caption")).toString();
    m_CaptionFont = fontOr(bag.value("CaptionFont"), ambient);
    m_CaptionColor = colorFromWindows(bag.value("CaptionColor", 0).toLongLong());
    m_Description = bag.value("Description", QStringLiteral("Description")).toString();
    m_DescriptionFont = fontOr(bag.value("DescriptionFont"), ambient);
    m_DescriptionColor = colorFromWindows(bag.value("DescriptionColor", 0).toLongLong());
    m_AxisColor = colorFromWindows(bag.value("AxisColor", 0).toLongLong());
    m_AxisFont = fontOr(bag.value("AxisFont"), ambient);
    m_AxisDescColor = colorFromWindows(bag.value("AxisDescColor", 0).toLongLong());
    m_AxisDescFont = fontOr(bag.value("AxisDescFont"), ambient);
    m_AxisLineColor = colorFromWindows(bag.value("AxisLineColor", 0).toLongLong());
    m_RoseFillColor = colorFromWindows(bag.value("RoseFillColor", 0).toLongLong());
    m_RoseLineColor = colorFromWindows(bag.value("RoseLineColor", 0).toLongLong());
    m_RoseLineWidth = bag.value("RoseLineWidth", 1).toInt();
    m_RoseAngle = bag.value("RoseAngle", 90).toInt();
    m_AxesAbbrev = bag.value("AxesAbbrev", QStringLiteral("*E|NE|*N|NW|*W|SW|*S|SE")).toString();
    m_SegmentCount = bag.value("SegmentCount", 8).toInt();
    m_RoseHorizontalMirror = bag.value("RoseHorizontalMirror", false).toBool();
    m_AutoRefresh = autoRefresh;
    RefreshRose();
}

void uPollutionRose::UserControl_WriteProperties(PropertyBag& bag) const
{
    bag["BackColor"] = static_cast<qlonglong>(m_backColorIsSystem ? kSystemWindowColor : windowsFromColor(m_BackColor));
    bag["Enabled"] = isEnabled();
    bag["Font"] = font().toString();
    bag["BorderStyle"] = m_BorderStyle;
    bag["Appearance"] = m_Appearance;
    bag["MousePointer"] = m_MousePointer;
    bag["MouseIcon"] = m_MouseIcon;
    bag["AutoRefresh"] = m_AutoRefresh;
    bag["AxisEnabled"] = m_AxisEnabled;
    bag["AxisDescEnabled"] = m_AxisDescEnabled;
    bag["AxisLineEnabled"] = m_AxisLineEnabled;
    bag["ActiveLayer"] = m_ActiveLayer;
    bag["MethodOfAproximation"] = m_MethodOfAproximation;
    bag["MultiLayersMode"] = m_MultiLayersMode;
    bag["Caption"] = m_Caption;
    bag["CaptionFont"] = m_CaptionFont.toString();
    bag["CaptionColor"] = static_cast<qlonglong>(windowsFromColor(m_CaptionColor));
    bag["Description"] = m_Description;
    bag["DescriptionFont"] = m_DescriptionFont.toString();
    bag["DescriptionColor"] = static_cast<qlonglong>(windowsFromColor(m_DescriptionColor));
    bag["AxisColor"] = static_cast<qlonglong>(windowsFromColor(m_AxisColor));
    bag["AxisFont"] = m_AxisFont.toString();
    bag["AxisDescColor"] = static_cast<qlonglong>(windowsFromColor(m_AxisDescColor));
    bag["AxisDescFont"] = m_AxisDescFont.toString();
    bag["AxisLineColor"] = static_cast<qlonglong>(windowsFromColor(m_AxisLineColor));
    bag["RoseFillColor"] = static_cast<qlonglong>(windowsFromColor(m_RoseFillColor));
    bag["RoseLineColor"] = static_cast<qlonglong>(windowsFromColor(m_RoseLineColor));
    bag["RoseLineWidth"] = m_RoseLineWidth;
    bag["RoseAngle"] = m_RoseAngle;
    bag["AxesAbbrev"] = m_AxesAbbrev;
    bag["SegmentCount"] = m_SegmentCount;
    bag["RoseHorizontalMirror"] = m_RoseHorizontalMirror;
}

void uPollutionRose::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_image.size() != size())
        p.fillRect(rect(), m_backColorIsSystem ? colorFromWindows(kSystemWindowColor) : m_BackColor);
    p.drawImage(0, 0, m_image);
    if (m_BorderStyle != 0) {
        p.setPen(palette().color(QPalette::Dark));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void uPollutionRose::resizeEvent(QResizeEvent*)
{
    RefreshRose();
}

void uPollutionRose::emitMouse(QMouseEvent* e, int kind)
{
    int button = buttonCode(kind == 1 ? e->buttons() : Qt::MouseButtons(e->button()));
    float x = static_cast<float>(e->position().x()), y = static_cast<float>(e->position().y());
    int shift = shiftState(e->modifiers());
    if (kind == 0)
        emit MouseDown(button, shift, x, y);
    else if (kind == 1)
        emit MouseMove(button, shift, x, y);
    else
        emit MouseUp(button, shift, x, y);
}

void uPollutionRose::mousePressEvent(QMouseEvent* e)
{
    m_pressed = true;
    emitMouse(e, 0);
}

void uPollutionRose::mouseMoveEvent(QMouseEvent* e)
{
    emitMouse(e, 1);
}

void uPollutionRose::mouseReleaseEvent(QMouseEvent* e)
{
    emitMouse(e, 2);
    if (m_pressed && rect().contains(e->position().toPoint()))
        emit Click();
    m_pressed = false;
}

void uPollutionRose::mouseDoubleClickEvent(QMouseEvent* e)
{
    emitMouse(e, 0);
    emit DblClick();
}

void uPollutionRose::keyPressEvent(QKeyEvent* e)
{
    emit KeyDown(e->key(), shiftState(e->modifiers()));
    if (!e->text().isEmpty())
        emit KeyPress(e->text().at(0).unicode());
}

void uPollutionRose::keyReleaseEvent(QKeyEvent* e)
{
    emit KeyUp(e->key(), shiftState(e->modifiers()));
}
