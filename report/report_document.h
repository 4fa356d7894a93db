#pragma once
// The study report as data: headings, paragraphs, tables and pictures in reading order. The
// chapters build it once; the writers turn the same document into ODT, PDF and HTML.
#include <QImage>
#include <string>
#include <variant>
#include <vector>

namespace ovd {

struct ReportHeading {
    int level = 1;  // 1 a chapter, 2 a section of it
    std::string text;
};
struct ReportParagraph {
    std::string text;
    bool warning = false;  // printed as a warning (a table whose inputs changed)
};
// Text kept as it stands, line by line (a run log).
struct ReportPreformatted {
    std::string text;
};
struct ReportTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> numeric;  // per column: right-aligned
    std::string caption;
};
struct ReportPicture {
    QImage image;
    std::string caption;
    double widthMm = 160;  // as printed on the page
};
using ReportBlock = std::variant<ReportHeading, ReportParagraph, ReportPreformatted, ReportTable, ReportPicture>;

struct ReportDocument {
    std::string title;
    std::string created;  // "Vytvořeno 10. 12. 2026": the only line that differs between two runs
    std::vector<ReportBlock> blocks;

    void chapter(const std::string& text) { add<ReportHeading>(1, text); }
    void section(const std::string& text) { add<ReportHeading>(2, text); }
    void paragraph(const std::string& text, bool warning = false) { add<ReportParagraph>(text, warning); }
    void preformatted(const std::string& text) { add<ReportPreformatted>(text); }
    void table(ReportTable t) { add<ReportTable>(std::move(t)); }
    void picture(ReportPicture p) { add<ReportPicture>(std::move(p)); }

private:
    template <class B, class... A> void add(A&&... a)
    {
        blocks.emplace_back(std::in_place_type<B>, B{std::forward<A>(a)...});
    }
};

// A number as a Czech text writes it: a decimal comma, `decimals` places, "−" for minus
// avoided (plain "-", so that the text can be copied into a spreadsheet).
std::string czechNumber(double value, int decimals);
// A whole number.
std::string czechWhole(long long value);
// A table of two columns: a label and its value.
ReportTable labelTable(const std::vector<std::pair<std::string, std::string>>& rows, const std::string& caption = {});

}  // namespace ovd
