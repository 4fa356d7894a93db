#include "wind_rose_protocol.h"

#include "common/numbers.h"
#include "common/text.h"

namespace ovd {

namespace {

// UTF-8 to RTF: ASCII as it is (with \, { and } escaped), everything else as \uN?.
std::string rtfText(std::string_view utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned long code = c;
        std::size_t length = 1;
        if (c >= 0xF0 && i + 3 < utf8.size()) {
            code = ((c & 0x07UL) << 18) | ((utf8[i + 1] & 0x3FUL) << 12) | ((utf8[i + 2] & 0x3FUL) << 6) |
                (utf8[i + 3] & 0x3FUL);
            length = 4;
        } else if (c >= 0xE0 && i + 2 < utf8.size()) {
            code = ((c & 0x0FUL) << 12) | ((utf8[i + 1] & 0x3FUL) << 6) | (utf8[i + 2] & 0x3FUL);
            length = 3;
        } else if (c >= 0xC0 && i + 1 < utf8.size()) {
            code = ((c & 0x1FUL) << 6) | (utf8[i + 1] & 0x3FUL);
            length = 2;
        } else if (c >= 0x80) {
            code = '?';
        }
        i += length;
        if (code == '\\' || code == '{' || code == '}') {
            out += '\\';
            out += static_cast<char>(code);
        } else if (code == '\n') {
            out += "\\line ";
        } else if (code < 0x20) {
            out += ' ';
        } else if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x10000) {
            out += "\\u" + std::to_string(static_cast<long>(static_cast<short>(code))) + "?";
        } else {
            out += '?';
        }
    }
    return out;
}

// Pads a UTF-8 text with blanks to the given count of characters.
std::string padRight(std::string text, std::size_t width)
{
    std::size_t characters = 0;
    for (char c : text)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    if (characters < width)
        text.append(width - characters, ' ');
    return text;
}

constexpr std::size_t kLabelWidth = 19;

}  // namespace

std::vector<std::string> windRoseTableLines(const WindRoseGrid& grid)
{
    std::vector<std::string> lines;
    std::string header = padRight("", kLabelWidth);
    for (int c = 1; c <= kRowSumColumn; ++c)
        header += padRight(std::string(8 - std::min<std::size_t>(8, kGridColumnTitles[c].size()), ' ') +
                               std::string(kGridColumnTitles[c]),
                           8);
    lines.push_back(header);
    for (int r = 1; r <= kSumRow; ++r) {
        std::string line = padRight(WindRoseGrid::title(r, 0), kLabelWidth);
        for (int c = 1; c <= kRowSumColumn; ++c) {
            std::string cell = grid.cellText(r, c);
            line += std::string(cell.size() < 8 ? 8 - cell.size() : 1, ' ') + cell;
        }
        lines.push_back(line);
    }
    return lines;
}

std::string windRoseProtocolRtf(const WindRoseGrid& grid, const WindRoseProtocol& p)
{
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}\n";
    rtf += "\\f0\\fs20\n";
    auto heading = [&](std::string_view text) {
        rtf += "{\\pard\\sb240\\sa120\\b\\fs28 " + rtfText(text) + "\\par}\n";
    };
    heading("Grafická prezentace větrné růžice");
    if (!p.png.empty() && p.pictureWidth > 0 && p.pictureHeight > 0) {
        // Shown at 15 twips a pixel (96 pixels an inch).
        rtf += cformat("{\\pard\\qc{\\pict\\pngblip\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d\n", p.pictureWidth,
                       p.pictureHeight, p.pictureWidth * 15, p.pictureHeight * 15);
        static const char kHex[] = "0123456789abcdef";
        for (std::size_t i = 0; i < p.png.size(); ++i) {
            unsigned char b = static_cast<unsigned char>(p.png[i]);
            rtf += kHex[b >> 4];
            rtf += kHex[b & 15];
            if (i % 64 == 63)
                rtf += '\n';
        }
        rtf += "}\\par}\n";
    }
    heading("Tabulka hodnot větrné růžice");
    rtf += "{\\pard\\f1\\fs16 ";
    for (const std::string& line : windRoseTableLines(grid))
        rtf += rtfText(line) + "\\line\n";
    rtf += "\\par}\n";
    heading("Ostatní údaje");
    rtf += "{\\pard " + rtfText("Datum: " + p.date) + "\\par}\n";
    rtf += "{\\pard " + rtfText("Růžice: " + p.comment) + "\\par}\n";
    rtf += "{\\pard " + rtfText("Soubor: " + p.path) + "\\par}\n";
    rtf += "}\n";
    return rtf;
}

std::string windRoseProtocolHtml(const WindRoseGrid& grid, const WindRoseProtocol& p, const std::string& imageSource)
{
    std::string html = "<html><body style=\"font-family: Arial\">";
    html += "<h3>Grafická prezentace větrné růžice</h3>";
    if (!imageSource.empty())
        html += "<p align=\"center\"><img src=\"" + htmlEscaped(imageSource) + "\"></p>";
    html += "<h3>Tabulka hodnot větrné růžice</h3><pre style=\"font-family: 'Courier New'\">";
    for (const std::string& line : windRoseTableLines(grid))
        html += htmlEscaped(line) + "\n";
    html += "</pre><h3>Ostatní údaje</h3>";
    html += "<p>" + htmlEscaped("Datum: " + p.date) + "<br>" + htmlEscaped("Růžice: " + p.comment) + "<br>" +
        htmlEscaped("Soubor: " + p.path) + "</p></body></html>";
    return html;
}

}  // namespace ovd
