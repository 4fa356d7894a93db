#include "report_format.h"

#include <QBuffer>
#include <QHashFunctions>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QUrl>
#include <cmath>
#include <filesystem>

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text.h"
#include "ui_common/qt_text.h"

namespace ovd {

namespace {

// The text area of an A4 page within the 2 cm margins that the text document prints with is
// 170 mm wide; the text document lays out
// at 96 pixels per inch and the PDF is scaled from there.
constexpr double kPixelsPerMm = 96 / 25.4;

const char* const kStyle =
    "body { font-family: 'DejaVu Sans', sans-serif; font-size: 10pt; }\n"
    "h1 { font-size: 15pt; margin-top: 14pt; }\n"
    "h2 { font-size: 12pt; margin-top: 10pt; }\n"
    "p.title { font-size: 20pt; font-weight: bold; }\n"
    "p.warning { color: #b00000; font-weight: bold; }\n"
    "p.caption { font-style: italic; font-size: 9pt; }\n"
    "table { border-collapse: collapse; margin-bottom: 6pt; }\n"
    "th, td { font-size: 8pt; padding: 2px 4px; border: 1px solid #808080; }\n"
    "th { background-color: #e8e8e8; }\n"
    "td.n { text-align: right; }\n"
    "pre { font-family: 'DejaVu Sans Mono', monospace; font-size: 7pt; }\n";

// Paragraph text with its line breaks kept.
std::string paragraphHtml(std::string_view text)
{
    std::string out = htmlEscaped(text);
    for (std::size_t at = out.find('\n'); at != std::string::npos; at = out.find('\n', at + 4))
        out.replace(at, 1, "<br>");
    return out;
}

std::string tableHtml(const ReportTable& t)
{
    std::string out;
    if (!t.caption.empty())
        out += "<p class=\"caption\">" + htmlEscaped(t.caption) + "</p>\n";
    out += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\">\n";
    if (!t.header.empty()) {
        out += "<thead><tr>";
        for (const std::string& h : t.header)
            out += "<th>" + htmlEscaped(h) + "</th>";
        out += "</tr></thead>\n";
    }
    out += "<tbody>\n";
    for (const std::vector<std::string>& row : t.rows) {
        out += "<tr>";
        for (std::size_t i = 0; i < row.size(); ++i) {
            bool right = i < t.numeric.size() && t.numeric[i];
            out += std::string(right ? "<td class=\"n\" align=\"right\" style=\"white-space: nowrap\">" : "<td>") +
                htmlEscaped(row[i]) + "</td>";
        }
        out += "</tr>\n";
    }
    return out + "</tbody></table>\n";
}

struct BlockHtml {
    const std::vector<std::string>& pictures;
    std::size_t next = 0;

    std::string operator()(const ReportHeading& h) const
    {
        const char* tag = h.level == 1 ? "h1" : "h2";
        return cformat("<%s>", tag) + htmlEscaped(h.text) + cformat("</%s>\n", tag);
    }
    std::string operator()(const ReportParagraph& p) const
    {
        return std::string(p.warning ? "<p class=\"warning\">" : "<p>") + paragraphHtml(p.text) + "</p>\n";
    }
    std::string operator()(const ReportPreformatted& p) const { return "<pre>" + htmlEscaped(p.text) + "</pre>\n"; }
    std::string operator()(const ReportTable& t) const { return tableHtml(t); }
    std::string operator()(const ReportPicture& p)
    {
        const int width = static_cast<int>(std::lround(p.widthMm * kPixelsPerMm));
        const int height = p.image.isNull() || p.image.width() == 0
                               ? 0
                               : static_cast<int>(std::lround(static_cast<double>(width) * p.image.height() /
                                                              p.image.width()));
        return cformat("<p><img src=\"%s\" width=\"%d\" height=\"%d\"></p>\n", htmlEscaped(pictures[next++]).c_str(),
                       width, height) +
            "<p class=\"caption\">" + htmlEscaped(p.caption) + "</p>\n";
    }
};

void buildTextDocument(QTextDocument& doc, const ReportDocument& report)
{
    const std::vector<std::string> names = pictureNames(report, "obrazky/");
    std::size_t i = 0;
    for (const ReportBlock& b : report.blocks)
        if (const ReportPicture* p = std::get_if<ReportPicture>(&b))
            doc.addResource(QTextDocument::ImageResource, QUrl(qs(names[i++])), p->image);
    doc.setDefaultStyleSheet(kStyle);
    doc.setHtml(qs(reportHtml(report, "obrazky/")));
    doc.setMetaInformation(QTextDocument::DocumentTitle, qs(report.title));
}

QByteArray pdfBytes(QTextDocument& doc, const std::string& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(qs(title));
    pdf.setCreator("Ovardix");
    pdf.setResolution(300);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    // The text document's print adds margins of 2 cm itself.
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    doc.print(&pdf);
    return bytes;
}

QByteArray odtBytes(QTextDocument& doc)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, "odf");
    // The writer names its styles in the order of a hash set: with the deterministic seed the
    // same document gets the same content.xml in every run.
    QHashSeed::setDeterministicGlobalSeed();
    const bool written = writer.write(&doc);
    QHashSeed::resetRandomGlobalSeed();
    return written ? bytes : QByteArray();
}

std::optional<Problem> writeBytes(const std::string& path, const QByteArray& bytes)
{
    AtomicOutput out;
    if (bytes.isEmpty() || !out.open(path) || !out.write(std::string_view(bytes.constData(), bytes.size())) ||
        !out.commit())
        return Problem::error("Zprávu nelze zapsat do souboru " + path + "!");
    return std::nullopt;
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

std::string pictureFolderOf(const std::string& htmlPath)
{
    return folderOf(htmlPath) + stemOf(htmlPath) + "_obrazky/";
}

std::vector<std::string> pictureNames(const ReportDocument& report, const std::string& folder)
{
    std::vector<std::string> names;
    for (const ReportBlock& b : report.blocks)
        if (std::holds_alternative<ReportPicture>(b))
            names.push_back(folder + cformat("obrazek_%02zu.png", names.size() + 1));
    return names;
}

std::string reportHtml(const ReportDocument& report, const std::string& folder)
{
    const std::vector<std::string> names = pictureNames(report, folder);
    std::string out = "<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
        htmlEscaped(report.title) + "</title>\n<style>\n" + kStyle + "</style>\n</head>\n<body>\n";
    out += "<p class=\"title\">" + htmlEscaped(report.title) + "</p>\n";
    out += "<p>" + htmlEscaped(report.created) + "</p>\n";
    BlockHtml html{names};
    for (const ReportBlock& b : report.blocks)
        out += std::visit(html, b);
    return out + "</body>\n</html>\n";
}

QByteArray reportBytes(const ReportDocument& report, ReportFormat format)
{
    if (format == ReportFormat::Html)
        return QByteArray::fromStdString(reportHtml(report, {}));
    QTextDocument doc;
    buildTextDocument(doc, report);
    return format == ReportFormat::Pdf ? pdfBytes(doc, report.title) : odtBytes(doc);
}

std::optional<Problem> writeReport(const ReportDocument& report, const std::string& path, ReportFormat format)
{
    if (format != ReportFormat::Html)
        return writeBytes(path, reportBytes(report, format));
    const std::string folder = pictureFolderOf(path);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return Problem::error("Složku obrázků zprávy " + folder + " nelze vytvořit!");
    const std::vector<std::string> names = pictureNames(report, folder);
    std::size_t i = 0;
    for (const ReportBlock& b : report.blocks)
        if (const ReportPicture* p = std::get_if<ReportPicture>(&b))
            if (std::optional<Problem> failed = writeBytes(names[i++], pngBytes(p->image)))
                return failed;
    const std::string relative = fileNameOf(folder.substr(0, folder.size() - 1)) + "/";
    return writeBytes(path, QByteArray::fromStdString(reportHtml(report, relative)));
}

}  // namespace ovd
