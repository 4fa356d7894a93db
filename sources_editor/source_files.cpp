#include "source_files.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "common/file_io.h"
#include "common/paths.h"
#include "common/project_paths.h"
#include "common/settings_file.h"
#include "common/text.h"
#include "real_text.h"

namespace ovd {

namespace {

struct Entry {
    std::int32_t number;
    std::string text;
};

// Entries of a description or dust table, searched from the first one not yet consumed.
class JoinTable {
public:
    void add(std::int32_t number, std::string text) { m_entries.push_back({number, std::move(text)}); }
    // The first entry from the front with this number; a hit at the front consumes it.
    const std::string* find(std::int32_t number)
    {
        for (std::size_t i = m_front; i < m_entries.size(); ++i) {
            if (m_entries[i].number != number)
                continue;
            if (i == m_front)
                ++m_front;
            return &m_entries[i].text;
        }
        return nullptr;
    }

private:
    std::vector<Entry> m_entries;
    std::size_t m_front = 0;
};

std::string ioErrorText(int code, const std::string& path, std::string_view what)
{
    return "Chyba #" + std::to_string(code) + "\n" + "Soubor " + path + " " + std::string(what);
}

std::optional<TextFile> readOrReport(const std::string& path, Reporter& r)
{
    r.status(1, "Otevírám " + path);
    errno = 0;
    auto file = readTextFile(path);
    if (!file) {
        int code = errno ? errno : EIO;
        r.message(Severity::Warning, kLoadCaption, ioErrorText(code, path, "nelze otevřít pro čtení."));
    }
    return file;
}

bool isDataLine(const std::string& trimmed)
{
    return !trimmed.empty() && trimmed[0] != ';';
}

std::string firstField(std::string_view line)
{
    return std::string(line.substr(0, line.find(',')));
}

}  // namespace

std::string dustPayload(std::string_view line)
{
    std::size_t comma = line.find(',');
    return comma == std::string_view::npos ? std::string() : std::string(line.substr(comma + 1));
}

namespace {

// The data lines of a description file (whole lines) or a dust file (the part after the
// number), by their leading numbers.
JoinTable joinTable(const TextFile& file, bool dust)
{
    JoinTable table;
    for (const auto& raw : file.lines) {
        std::string line = trim(raw);
        if (isDataLine(line))
            table.add(readLenientInt(firstField(line)), dust ? dustPayload(line) : line);
    }
    return table;
}

void reportLoadWarnings(const LoadResult& result, Reporter& r)
{
    if (result.missingDescriptions > 0)
        r.message(Severity::Warning, kLoadCaption,
                  "V popisném souboru nebylo\nnalezeno " + std::to_string(result.missingDescriptions) + " zdrojů.");
    if (result.missingDust > 0)
        r.message(Severity::Warning, kLoadCaption,
                  "V souboru s prachem nebylo\nnalezeno " + std::to_string(result.missingDust) + " zdrojů.");
    if (result.outOfRange > 0)
        r.message(Severity::Warning, kLoadCaption,
                  "U " + std::to_string(result.outOfRange) +
                      " zdrojů byl některý číselný údaj mimo povolený rozsah\na byl načten jako 0.");
}

// One line of the points file: its source with its description and dust, counted in the result.
void addSourceLine(const std::string& line, SourceList& list, SourceNumbering& numbering, JoinTable& descriptions,
                   JoinTable* dusts, bool acceptMissingDescription, LoadResult& result)
{
    const bool useDust = dusts != nullptr;
    // Field 5 is the kind; a line of another kind is passed over uncounted.
    const auto fields = splitFields(line, ',');
    auto source = createSource(readLenientInt(fieldAt(fields, 5)));
    if (!source)
        return;
    const std::int32_t number = readLenientInt(firstField(line));
    const std::string* desc = descriptions.find(number);
    if (!desc) {
        ++result.missingDescriptions;
        if (useDust)
            ++result.missingDust;
        if (!acceptMissingDescription)
            return;
    }
    source->LineSource(line);
    if (desc)
        source->LineParameters(*desc);
    if (useDust && desc) {
        if (const std::string* payload = dusts->find(number))
            source->LineDust(*payload);
        else
            ++result.missingDust;
    }
    if (source->takeOutOfRangeCount() > 0)
        ++result.outOfRange;  // counted per source
    if (list.sources.empty())
        numbering.reset();
    numbering.noteNumber(source->ICZ());
    list.sources.push_back(std::move(source));
    ++result.added;
}

// The lines of the points, description and dust files (the last empty without dust), each
// headed by the comment and the names of the others when there is a comment.
std::array<std::vector<std::string>, 3> sourceFileLines(const std::vector<const cZdroje*>& sources,
                                                        const SourcePaths& paths, const std::string& note, Reporter& r)
{
    const std::string &points = paths.points, &description = paths.description, &dust = paths.dust;
    const bool useDust = !dust.empty();
    std::vector<std::string> pointLines, descLines, dustLines;
    if (!note.empty()) {
        pointLines = {";" + note, ";SOUBOR S BODY", ";Soubor s popisem: " + description};
        descLines = {";" + note, ";SOUBOR S POPISEM (bodů)", ";Soubor s body: " + points};
        if (useDust) {
            pointLines.push_back(";Soubor s prachem: " + dust);
            descLines.push_back(";Soubor s prachem: " + dust);
            dustLines = {";" + note, ";SOUBOR S PRACHEM", ";Soubor s popisem: " + description,
                         ";Soubor s body: " + points};
        }
    }
    long done = 0;
    for (const cZdroje* s : sources) {
        pointLines.push_back(s->LineSource());
        descLines.push_back(s->LineParameters());
        if (useDust)
            dustLines.push_back(s->LineDust());
        r.progress(++done, static_cast<long>(sources.size()));
    }
    return {std::move(pointLines), std::move(descLines), std::move(dustLines)};
}

// Writes the files together: a failure leaves every previous file as it was.
bool writeSourceFiles(const std::vector<const cZdroje*>& sources, const SourcePaths& paths, const std::string& note,
                      Reporter& r)
{
    const auto lines = sourceFileLines(sources, paths, note, r);
    const std::string* targetPaths[3] = {&paths.points, &paths.description, &paths.dust};
    const int count = paths.dust.empty() ? 2 : 3;
    AtomicOutput outputs[3];
    for (int i = 0; i < count; ++i) {
        errno = 0;
        if (!outputs[i].open(*targetPaths[i]) || !outputs[i].write(encodeLines(lines[static_cast<std::size_t>(i)]))) {
            int code = errno ? errno : EIO;
            r.message(Severity::Warning, kSaveCaption, ioErrorText(code, *targetPaths[i], "nelze zapsat."));
            return false;  // every temporary file goes, every previous file stays
        }
    }
    for (int i = 0; i < count; ++i) {
        errno = 0;
        if (!outputs[i].commit()) {
            int code = errno ? errno : EIO;
            r.message(Severity::Warning, kSaveCaption, ioErrorText(code, *targetPaths[i], "nelze zapsat."));
            return false;
        }
    }
    return true;
}

}  // namespace

std::string encodeLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += utf8ToCp1250(line) + "\r\n";
    return text;
}

bool sameFilePath(const std::string& a, const std::string& b)
{
    if (samePath(a, b))
        return true;
    std::error_code ea, eb;
    auto ca = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ea), ea);
    auto cb = std::filesystem::weakly_canonical(std::filesystem::absolute(b, eb), eb);
    if (ea || eb)
        return a == b;
    return ca == cb;
}

LoadResult loadSources(SourceList& list, SourceNumbering& numbering, const SourcePaths& paths, bool append,
                       bool acceptMissingDescription, Reporter& r)
{
    LoadResult result;
    auto points = readOrReport(paths.points, r);
    if (!points)
        return result;
    auto description = readOrReport(paths.description, r);
    if (!description)
        return result;
    std::optional<TextFile> dust;
    const bool useDust = !paths.dust.empty();
    if (useDust && !(dust = readOrReport(paths.dust, r)))
        return result;

    if (!append) {
        list.sources.clear();
        list.comment.clear();
    }

    JoinTable descriptions = joinTable(*description, false);
    JoinTable dusts = useDust ? joinTable(*dust, true) : JoinTable{};

    r.status(1, "Porovnávám…");
    long total = 0;
    for (const auto& line : points->lines)
        total += static_cast<long>(line.size()) + 1;
    long done = 0;
    std::string fileComment;
    for (const auto& raw : points->lines) {
        done += static_cast<long>(raw.size()) + 1;
        r.progress(done, total);
        const std::string line = trim(raw);
        if (line.empty())
            continue;
        if (line[0] == ';') {
            if (!fileComment.empty())
                continue;
            fileComment = trim(std::string_view(line).substr(1));
            if (fileComment.empty())
                continue;
            std::string old = trim(list.comment);
            list.comment = (append && !old.empty()) ? old + " * " + fileComment : fileComment;
            continue;
        }
        addSourceLine(line, list, numbering, descriptions, useDust ? &dusts : nullptr, acceptMissingDescription,
                      result);
    }
    r.status(1, "");
    r.progress(0, total);
    reportLoadWarnings(result, r);
    result.ok = true;
    return result;
}

std::string firstComment(const std::string& pointsPath)
{
    auto file = readTextFile(pointsPath);
    if (!file)
        return {};
    for (const auto& raw : file->lines) {
        std::string line = trim(raw);
        if (!line.empty() && line[0] == ';')
            return trim(std::string_view(line).substr(1));
    }
    return {};
}

bool saveSources(const std::vector<const cZdroje*>& sources, const SourcePaths& paths, const std::string& comment,
                 const std::string& projectPath, Reporter& r)
{
    const std::string points = trim(paths.points), description = trim(paths.description), dust = trim(paths.dust);
    if (points.empty() || description.empty()) {
        r.message(Severity::Warning, kSaveCaption, "Není zadán soubor se zdroji nebo soubor s popisem zdrojů.");
        return false;
    }
    const bool useDust = !dust.empty();
    if (sameFilePath(points, description) ||
        (useDust && (sameFilePath(points, dust) || sameFilePath(description, dust)))) {
        r.message(Severity::Warning, kSaveCaption,
                  "Soubor se zdroji, soubor s popisem a soubor s prachem musí být různé soubory.");
        return false;
    }

    if (!writeSourceFiles(sources, {points, description, dust}, trim(comment), r))
        return false;
    if (!projectPath.empty()) {
        SettingsFile project(projectPath);
        // Files in the study's folder stay relative, so the study can be moved; each key is
        // written even when one before it failed.
        project.writeString("Global", "VstZdrojBodTxt", pathForProject(points, projectPath), r);
        project.writeString("Global", "VstZdrojPopTxt", pathForProject(description, projectPath), r);
        project.writeString("Global", "VstZdrojPrachTxt", pathForProject(dust, projectPath), r);
    }
    return true;
}

}  // namespace ovd
