// Chapter 9, the annex: every file of the study with its size and SHA-256, the run logs as
// they stand, and the protocols listed with their checksums.
#include <QCryptographicHash>
#include <QFile>
#include <algorithm>

#include "common/czech_plural.h"
#include "common/file_io.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "common/text.h"
#include "report_chapters.h"
#include "ui_common/qt_text.h"

namespace ovd {

namespace {

// Run logs longer than this are cut in the report: the file itself is listed whole.
constexpr std::size_t kMaxLogLines = 400;

constexpr const char* kRunLogs[] = {"prub_mod.tmp", "pru_mode.tmp", "prub_vys.tmp", "prub_koe.tmp",
                                    "prub_roc.tmp", "prub_max.tmp", "prub_den.tmp", "prub_sou.tmp"};

struct Listed {
    std::string path, role;
};

void addOnce(std::vector<Listed>& files, const std::string& path, const std::string& role)
{
    if (path.empty() || !isRegularFile(path))
        return;
    const std::string resolved = resolvedPath(path);
    for (const Listed& f : files)
        if (resolvedPath(f.path) == resolved)
            return;
    files.push_back({path, role});
}

ReportTable checksumTable(const std::vector<Listed>& files, Reporter& r)
{
    ReportTable t;
    t.header = {"Soubor", "Význam", "Velikost [B]", "SHA-256"};
    t.numeric = {false, false, true, false};
    for (const Listed& f : files) {
        if (r.cancelled())
            break;
        std::string sum = sha256Hex(f.path).value_or("nelze přečíst");
        t.rows.push_back({f.path, f.role, czechWhole(fileSize(f.path).value_or(0)), sum});
    }
    return t;
}

std::string logText(const std::string& bytes)
{
    std::vector<std::string> lines = splitLines(bytes);
    if (lines.size() <= kMaxLogLines)
        return bytes;
    std::string out;
    for (std::size_t i = 0; i < kMaxLogLines; ++i)
        out += lines[i] + "\n";
    const auto left = static_cast<long long>(lines.size() - kMaxLogLines);
    return out + "… (" + czechPlural(left, "další ", "další ", "dalších ") +
        czechCount(left, "řádek", "řádky", "řádků") + czechPlural(left, " vynechán", " vynechány", " vynecháno") +
        ")\n";
}

}  // namespace

std::optional<std::string> sha256Hex(const std::string& path)
{
    QFile f(qs(path));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!h.addData(&f))
        return std::nullopt;
    return h.result().toHex().toStdString();
}

void annexChapter(ReportDocument& doc, const ReportContext& c)
{
    doc.chapter("9 Příloha: soubory studie");
    std::vector<Listed> files;
    addOnce(files, c.project.path(), kProjectFileRole);
    for (const ProjectValue& v : projectValues(c.project.path()))
        if (!equalsIgnoreCase(v.section, "Podpisy"))
            addOnce(files, v.value, "[" + v.section + "] " + v.key);
    for (const StudyTable& t : c.study.tables)
        addOnce(files, t.path, t.role);
    doc.paragraph("Vstupní a výsledné soubory studie s velikostí a kontrolním součtem SHA-256 (ověří jej například "
                  "příkaz sha256sum):");
    doc.table(checksumTable(files, c.reporter));

    std::vector<Listed> protocols;
    for (const StudyTable& t : c.study.tables)
        addOnce(protocols, derivedName(t.path, "vst"), "protokol tabulky " + t.path);
    doc.section("9.1 Protokoly");
    if (protocols.empty()) {
        doc.paragraph("Studie nemá žádný protokol.");
    } else {
        doc.paragraph("Protokoly obsahují řádek pro každý bod, proto se netisknou; jsou uvedeny s kontrolním součtem:");
        doc.table(checksumTable(protocols, c.reporter));
    }

    doc.section("9.2 Průběhy výpočtů");
    const std::string folder = folderOf(c.project.path());
    int shown = 0;
    for (const char* name : kRunLogs) {
        const std::string path = folder + name;
        if (!isRegularFile(path))
            continue;
        std::optional<std::string> bytes = readFileBytes(path);
        if (!bytes)
            continue;
        doc.paragraph("Soubor " + std::string(name) + " (SHA-256 " + sha256Hex(path).value_or("") + "):");
        doc.preformatted(logText(*bytes));
        ++shown;
    }
    if (shown == 0)
        doc.paragraph("Ve složce projektu není žádný soubor s průběhem výpočtu.");
}

}  // namespace ovd
