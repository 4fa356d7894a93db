#include "dust_groups.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/settings_file.h"
#include "common/text.h"
#include "real_text.h"
#include "source_files.h"

namespace ovd {

namespace {

double valueOf(std::string_view text)
{
    return readLenient(text).value;
}

std::vector<DustParticle> particlesFrom(const std::vector<std::string_view>& fields, std::size_t countField)
{
    std::vector<DustParticle> particles;
    bool out = false;
    long count = readLenientInt(fieldAt(fields, countField), &out);
    for (long i = 0; i < count; ++i) {
        std::size_t d = countField + 1 + 2 * static_cast<std::size_t>(i);
        if (d + 1 > fields.size())
            break;  // only the pairs present
        particles.push_back({trim(fields[d - 1]), trim(fields[d])});
    }
    return particles;
}

}  // namespace

DustText parseDustText(std::string_view text)
{
    DustText dust;
    const auto fields = splitFields(text.substr(0, text.find(';')), ',');
    dust.density = trim(fieldAt(fields, 1));
    if (dust.density.empty())
        dust.density = "0";
    dust.group = readLenientInt(fieldAt(fields, 2));
    if (dust.group == 0)
        dust.particles = particlesFrom(fields, 3);
    return dust;
}

std::string formatDustText(const DustText& dust)
{
    std::string text = dust.density + "," + std::to_string(dust.group);
    if (dust.group == 0) {
        text += "," + std::to_string(dust.particles.size());
        for (const auto& p : dust.particles)
            text += "," + p.diameter + "," + p.share;
    }
    return text;
}

bool addParticle(std::vector<DustParticle>& particles, std::string_view diameter, std::string_view share)
{
    const double d = valueOf(diameter), s = valueOf(share);
    auto it = std::find_if(particles.begin(), particles.end(),
                           [&](const DustParticle& p) { return valueOf(p.diameter) == d; });
    if (it != particles.end()) {
        if (s == 0)
            particles.erase(it);
        else
            it->share = trim(share);
        return true;
    }
    if (d > 0 && s > 0) {
        particles.push_back({trim(diameter), trim(share)});
        return true;
    }
    return false;
}

bool removeParticle(std::vector<DustParticle>& particles, std::string_view diameter)
{
    const double d = valueOf(diameter);
    auto it = std::find_if(particles.begin(), particles.end(),
                           [&](const DustParticle& p) { return valueOf(p.diameter) == d; });
    if (it == particles.end())
        return false;
    particles.erase(it);
    return true;
}

std::string dustGroupLine(long number, const std::string& name, const std::vector<DustParticle>& particles)
{
    std::string line = std::to_string(number) + "," + std::to_string(particles.size());
    for (const auto& p : particles)
        line += "," + p.diameter + "," + p.share;
    return line + ";" + name;
}

bool cSkupinyPrachu::OtevriSkupiny(const std::string& path, Reporter& r)
{
    auto file = readTextFile(path);
    if (!file) {
        r.message(Severity::Warning, kDustGroupsCaption, "Chyba při čtení ze souboru");
        return false;
    }
    std::vector<DustGroup> groups;
    std::string comment;
    for (const auto& raw : file->lines) {
        std::string line = trim(raw);
        if (line.empty())
            continue;
        if (line[0] == ';') {
            comment = trim(std::string_view(line).substr(1));
            continue;
        }
        DustGroup g;
        g.number = readLenientInt(fieldAt(splitFields(line, ','), 1));
        g.name = std::string(fieldAt(splitFields(line, ';'), 2));
        g.line = line;
        groups.push_back(std::move(g));
    }
    m_groups = std::move(groups);
    m_comment = std::move(comment);
    m_fileName = path;
    m_changed = false;
    return true;
}

bool cSkupinyPrachu::UlozSkupiny(const std::string& path, const std::string& projectPath, Reporter& r)
{
    std::vector<std::string> lines{";" + m_comment};
    for (const auto& g : m_groups)
        lines.push_back(g.line);
    if (!writeFileAtomically(path, encodeLines(lines))) {
        r.message(Severity::Warning, kDustGroupsCaption, "Chyba při zápisu do souboru");
        return false;
    }
    m_fileName = path;
    m_changed = false;
    if (!projectPath.empty())
        SettingsFile(projectPath).writeString("Global", "VstZdrojSkupTxt", path, r);
    return true;
}

void cSkupinyPrachu::clear()
{
    m_groups.clear();
    m_comment.clear();
    m_fileName.clear();
    m_changed = false;
}

std::string cSkupinyPrachu::SkupinaNazev(int i) const
{
    const DustGroup& g = m_groups.at(static_cast<std::size_t>(i));
    return g.name.empty() ? "(skupina " + std::to_string(g.number) + ")" : g.name;
}

std::optional<int> cSkupinyPrachu::find(long number) const
{
    for (std::size_t i = 0; i < m_groups.size(); ++i)
        if (m_groups[i].number == number)
            return static_cast<int>(i);
    return std::nullopt;
}

std::vector<DustParticle> cSkupinyPrachu::particles(int i) const
{
    const std::string& line = m_groups.at(static_cast<std::size_t>(i)).line;
    return particlesFrom(splitFields(std::string_view(line).substr(0, line.find(';')), ','), 2);
}

int cSkupinyPrachu::newGroup()
{
    long highest = 0;
    for (const auto& g : m_groups)
        highest = std::max(highest, g.number);
    const long number = highest + 1;
    store(number, "Nová skupina " + std::to_string(number), {});
    return static_cast<int>(m_groups.size()) - 1;
}

void cSkupinyPrachu::remove(int i)
{
    if (i < 0 || i >= Count())
        return;
    m_groups.erase(m_groups.begin() + i);
    m_changed = true;
}

void cSkupinyPrachu::store(long number, const std::string& name, const std::vector<DustParticle>& particles)
{
    DustGroup g{number, name, dustGroupLine(number, name, particles)};
    if (auto i = find(number))
        m_groups[static_cast<std::size_t>(*i)] = std::move(g);
    else
        m_groups.push_back(std::move(g));
    m_changed = true;
}

std::optional<std::string> cSkupinyPrachu::renumber(int i, std::string_view numberText)
{
    if (i < 0 || i >= Count())
        return std::string("Není vybrána žádná skupina.");
    auto value = parseLong(numberText);
    if (!value || *value <= 0 || *value > kMaxDustGroupNumber)
        return std::string("Číslo skupiny musí být celé číslo od 1 do 32767.");
    DustGroup& g = m_groups[static_cast<std::size_t>(i)];
    if (*value == g.number)
        return std::nullopt;
    if (find(*value))
        return "Skupina s číslem " + std::to_string(*value) + " již existuje.";
    const auto list = particles(i);
    g.number = *value;
    g.line = dustGroupLine(g.number, g.name, list);
    m_changed = true;
    return std::nullopt;
}

}  // namespace ovd
