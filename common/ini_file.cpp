#include "ini_file.h"

#include <cerrno>

#include "file_io.h"
#include "file_lock.h"
#include "text.h"

namespace ovd {

IniDocument IniDocument::parse(std::string_view bytes)
{
    IniDocument doc;
    doc.m_bom = startsWithBom(bytes);
    bytes = stripBom(bytes);
    std::size_t nl = bytes.find('\n');
    if (nl != std::string_view::npos && nl > 0 && bytes[nl - 1] == '\r')
        doc.m_eol = "\r\n";
    doc.m_terminated = bytes.empty() || bytes.back() == '\n';
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t nl = bytes.find('\n', start);
        std::size_t end = nl == std::string_view::npos ? bytes.size() : nl;
        std::size_t cut = (nl != std::string_view::npos && end > start && bytes[end - 1] == '\r') ? end - 1 : end;
        std::string text(bytes.substr(start, cut - start));
        start = nl == std::string_view::npos ? bytes.size() : nl + 1;
        Line line;
        line.eol = std::string(bytes.substr(cut, end - cut)) + (nl == std::string_view::npos ? "" : "\n");
        std::string t = trim(text);
        if (t.size() >= 2 && t.front() == '[') {
            std::size_t close = t.find(']');
            if (close != std::string::npos) {
                line.kind = Line::Section;
                line.name = trim(std::string_view(t).substr(1, close - 1));
            }
        } else if (!t.empty() && t.front() != ';') {
            std::size_t eq = text.find('=');
            if (eq != std::string::npos) {
                line.kind = Line::Key;
                line.name = trim(std::string_view(text).substr(0, eq));
                line.value = trim(std::string_view(text).substr(eq + 1));
            }
        }
        line.text = std::move(text);
        doc.m_lines.push_back(std::move(line));
    }
    return doc;
}

std::string IniDocument::serialize() const
{
    std::string out = m_bom ? "\xEF\xBB\xBF" : "";
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        out += m_lines[i].text;
        if (!m_lines[i].eol.empty())
            out += m_lines[i].eol;
        else if (i + 1 < m_lines.size() || m_terminated)
            out += m_eol;
    }
    return out;
}

std::optional<std::pair<std::size_t, std::size_t>> IniDocument::findSection(std::string_view section) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Line::Section && equalsIgnoreCase(m_lines[i].name, section)) {
            std::size_t end = i + 1;
            while (end < m_lines.size() && m_lines[end].kind != Line::Section)
                ++end;
            return std::make_pair(i + 1, end);
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const
{
    auto range = findSection(section);
    if (!range)
        return std::nullopt;
    for (std::size_t i = range->first; i < range->second; ++i)
        if (m_lines[i].kind == Line::Key && equalsIgnoreCase(m_lines[i].name, key))
            return m_lines[i].value;
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> IniDocument::section(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> out;
    auto range = findSection(section);
    if (!range)
        return out;
    for (std::size_t i = range->first; i < range->second; ++i) {
        const Line& l = m_lines[i];
        if (l.kind != Line::Key)
            continue;
        bool seen = false;
        for (const auto& kv : out)
            seen = seen || equalsIgnoreCase(kv.first, l.name);
        if (!seen)
            out.emplace_back(l.name, l.value);
    }
    return out;
}

void IniDocument::appendSection(std::string_view section)
{
    m_terminated = true;
    Line head;
    head.kind = Line::Section;
    head.name = std::string(section);
    head.text = "[" + std::string(section) + "]";
    m_lines.push_back(std::move(head));
}

IniDocument::Line IniDocument::makeKeyLine(std::string_view key, std::string_view value)
{
    Line line;
    line.kind = Line::Key;
    line.name = std::string(key);
    line.text = std::string(key) + "=" + std::string(value);
    // A line break in a value would make lines of its own.
    for (char& c : line.text)
        if (c == '\r' || c == '\n')
            c = ' ';
    line.value = trim(std::string_view(line.text).substr(key.size() + 1));
    return line;  // its line end is the file's
}

// New keys go after the section's last non-blank line, so blank separator lines stay
// between sections.
std::size_t IniDocument::insertionPoint(std::size_t first, std::size_t last) const
{
    std::size_t at = last;
    while (at > first && trim(m_lines[at - 1].text).empty())
        --at;
    return at;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value)
{
    m_terminated = true;
    auto range = findSection(section);
    if (range) {
        for (std::size_t i = range->first; i < range->second; ++i) {
            Line& l = m_lines[i];
            if (l.kind == Line::Key && equalsIgnoreCase(l.name, key)) {
                std::string eol = std::move(l.eol);
                l = makeKeyLine(key, value);
                l.eol = std::move(eol);
                return;
            }
        }
        m_lines.insert(m_lines.begin() + static_cast<long>(insertionPoint(range->first, range->second)),
                       makeKeyLine(key, value));
        return;
    }
    appendSection(section);
    m_lines.push_back(makeKeyLine(key, value));
}

bool IniDocument::remove(std::string_view section, std::string_view key)
{
    auto range = findSection(section);
    if (!range)
        return false;
    for (std::size_t i = range->first; i < range->second; ++i) {
        if (m_lines[i].kind == Line::Key && equalsIgnoreCase(m_lines[i].name, key)) {
            m_lines.erase(m_lines.begin() + static_cast<long>(i));
            return true;
        }
    }
    return false;
}

void IniDocument::replaceSection(std::string_view section, const std::vector<std::pair<std::string, std::string>>& keys)
{
    auto range = findSection(section);
    if (!range) {
        for (const auto& kv : keys)
            set(section, kv.first, kv.second);
        if (keys.empty())
            appendSection(section);
        return;
    }
    // The new key lines take the place of the first old one, or the end of the section.
    std::vector<Line> body;
    std::optional<std::size_t> at;
    for (std::size_t i = range->first; i < range->second; ++i) {
        if (m_lines[i].kind != Line::Key)
            body.push_back(m_lines[i]);
        else if (!at)
            at = body.size();
    }
    if (!at)
        at = insertionPoint(range->first, range->second) - range->first;
    std::vector<Line> keyLines;
    for (const auto& kv : keys)
        keyLines.push_back(makeKeyLine(kv.first, kv.second));
    body.insert(body.begin() + static_cast<long>(*at), keyLines.begin(), keyLines.end());
    m_lines.erase(m_lines.begin() + static_cast<long>(range->first),
                  m_lines.begin() + static_cast<long>(range->second));
    m_lines.insert(m_lines.begin() + static_cast<long>(range->first), body.begin(), body.end());
}

std::optional<IniDocument> IniFile::load(bool forWrite) const
{
    auto bytes = readFileBytes(m_path);
    if (bytes)
        return IniDocument::parse(*bytes);
    // A missing file reads as empty and is created by the first write.
    if (errno == ENOENT || !forWrite)
        return IniDocument::parse({});
    return std::nullopt;
}

template <class Change> bool IniFile::update(Change change) const
{
    FileLock lock;
    lock.lock(m_path, true);  // without locks (some network file systems) the write goes on
    auto doc = load(true);
    if (!doc)
        return false;
    if (!change(*doc))
        return true;
    return writeFileAtomically(m_path, doc->serialize());
}

std::string IniFile::read(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    auto v = find(section, key);
    return v ? *v : std::string(defaultValue);
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const
{
    auto doc = load(false);
    return doc ? doc->get(section, key) : std::nullopt;
}

std::vector<std::pair<std::string, std::string>> IniFile::readSection(std::string_view section) const
{
    auto doc = load(false);
    return doc ? doc->section(section) : std::vector<std::pair<std::string, std::string>>{};
}

bool IniFile::write(std::string_view section, std::string_view key, std::string_view value) const
{
    return update([&](IniDocument& doc) {
        doc.set(section, key, value);
        return true;
    });
}

bool IniFile::remove(std::string_view section, std::string_view key) const
{
    return update([&](IniDocument& doc) { return doc.remove(section, key); });
}

bool IniFile::writeSection(std::string_view section, const std::vector<std::pair<std::string, std::string>>& keys) const
{
    return update([&](IniDocument& doc) {
        doc.replaceSection(section, keys);
        return true;
    });
}

}  // namespace ovd
