// The main window's protocol and settings windows.
#include <QBuffer>
#include <QDateTime>
#include <QTableWidget>

#include "common/paths.h"
#include "frm_nastaveni.h"
#include "frm_protokol.h"
#include "frm_ruzice.h"
#include "ovrdruz.h"
#include "windrose/control/pollution_rose.h"
#include "windrose/wind_rose_protocol.h"

namespace ovd::roseui {

namespace {

constexpr int kPictureSize = 400;

WindRoseProtocol protocolData(const WindRoseDocument& document, const QImage& picture)
{
    WindRoseProtocol p;
    p.date = QDateTime::currentDateTime().toString("d.M.yyyy H:mm").toStdString();
    p.comment = document.comment();
    p.path = document.path();
    QByteArray png;
    QBuffer buffer(&png);
    if (buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "PNG")) {
        p.png = png.toStdString();
        p.pictureWidth = picture.width();
        p.pictureHeight = picture.height();
    }
    return p;
}

}  // namespace

QString ovrdruz::writeProtocol()
{
    QImage picture = m_graph->uPollutionRose1->render(QSize(kPictureSize, kPictureSize));
    if (!m_protocol) {
        m_protocol = std::make_unique<QTemporaryFile>(QString::fromStdString(tempFolder()) + "OVD_XXXXXX.rtf");
        m_protocol->setAutoRemove(true);  // removed when the program ends
    }
    std::string rtf = windRoseProtocolRtf(m_document.grid(), protocolData(m_document, picture));
    if (!m_protocol->open() || !m_protocol->resize(0) ||
        m_protocol->write(rtf.data(), static_cast<qint64>(rtf.size())) != static_cast<qint64>(rtf.size()) ||
        !m_protocol->flush()) {
        m_reporter->message(Severity::Warning, kCaptionWarning,
                            "Protokol nelze zapsat: " + m_protocol->errorString().toStdString());
        m_protocol->close();
        return {};
    }
    m_protocol->close();
    return m_protocol->fileName();
}

std::unique_ptr<frmProtokol> ovrdruz::protocolWindow()
{
    QString rtfPath = writeProtocol();
    QImage picture = m_graph->uPollutionRose1->render(QSize(kPictureSize, kPictureSize));
    std::string html = windRoseProtocolHtml(m_document.grid(), protocolData(m_document, QImage()), "ruzice.png");
    return std::make_unique<frmProtokol>(QString::fromStdString(html), picture, rtfPath, this);
}

void ovrdruz::showProtocolWindow()
{
    protocolWindow()->exec();
}

void ovrdruz::showSettingsWindow()
{
    frmNastaveni window(m_settings, this);
    if (window.exec() != QDialog::Accepted)
        return;
    m_settings = window.settings();
    m_settings.recount = m_document.grid().budgetsText();
    applySettings();
    m_settings.save(m_settingsPath, *m_reporter);
}

}  // namespace ovd::roseui
