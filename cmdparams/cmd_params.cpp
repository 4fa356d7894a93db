#include "cmd_params.h"

#include <cctype>

namespace {

constexpr char kProtectedDelimiter = '\x01';
constexpr char kProtectedBlank = '\x02';

// Blanks only, as the command-line convention has it (tabs stay).
std::string trimBlanks(std::string_view s)
{
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    std::size_t e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

std::vector<std::string> split(std::string_view s, char sep)
{
    // An empty text has no pieces; otherwise n separators give n + 1 pieces.
    std::vector<std::string> parts;
    if (s.empty())
        return parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t pos = s.find(sep, start);
        if (pos == std::string_view::npos) {
            parts.emplace_back(s.substr(start));
            return parts;
        }
        parts.emplace_back(s.substr(start, pos - start));
        start = pos + 1;
    }
}

std::string lookupKey(std::string_view key)
{
    std::string k;
    k.reserve(key.size() + 1);
    for (char c : key)
        k.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    k.push_back('#');
    return k;
}

}  // namespace

void cCMDParams::DelimiterChar(std::string_view pDelimiterChar)
{
    char d = pDelimiterChar.empty() ? ' ' : pDelimiterChar.front();
    if (d != m_delimiter) {
        m_delimiter = d;
        m_items.clear();
        m_lookupKeys.clear();
        m_parsed = false;
    }
}

void cCMDParams::CMDParams(std::string_view pCMDParams)
{
    if (pCMDParams != m_commandLine) {
        m_commandLine = std::string(pCMDParams);
        m_items.clear();
        m_lookupKeys.clear();
        m_parsed = false;
    }
}

std::int16_t cCMDParams::Count()
{
    parseIfNeeded();
    return static_cast<std::int16_t>(m_items.size());
}

bool cCMDParams::IsExistKey(std::string_view pKey)
{
    // Parses when needed, so a key is found also before the first Count or Item.
    parseIfNeeded();
    return findItem(pKey) != nullptr;
}

cCMD cCMDParams::Item(std::string_view pKey, std::string_view pDefaultValue)
{
    parseIfNeeded();
    if (const cCMD* stored = findItem(pKey))
        return cCMD(stored->Key(), stored->Value().empty() ? std::string(pDefaultValue) : stored->Value());
    return cCMD(std::string(pKey), std::string(pDefaultValue));
}

std::vector<cCMD> cCMDParams::NewEnum()
{
    parseIfNeeded();
    return m_items;
}

void cCMDParams::parseIfNeeded()
{
    if (!m_parsed)
        parse();
}

const cCMD* cCMDParams::findItem(std::string_view key) const
{
    std::string k = lookupKey(key);
    for (std::size_t i = 0; i < m_lookupKeys.size(); ++i)
        if (m_lookupKeys[i] == k)
            return &m_items[i];
    return nullptr;
}

void cCMDParams::addItem(std::string key, std::string value)
{
    key = trimBlanks(key);
    if (key.empty())
        return;
    value = trimBlanks(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    for (std::string* s : {&key, &value}) {
        for (char& c : *s) {
            if (c == kProtectedDelimiter)
                c = m_delimiter;
            else if (c == kProtectedBlank)
                c = ' ';
        }
    }
    std::string lk = lookupKey(key);
    for (const std::string& existing : m_lookupKeys)
        if (existing == lk)
            return;  // the first occurrence of a key wins
    m_lookupKeys.push_back(std::move(lk));
    m_items.emplace_back(std::move(key), std::move(value));
}

void cCMDParams::parse()
{
    m_items.clear();
    m_lookupKeys.clear();

    std::string line = trimBlanks(m_commandLine);
    std::string work;
    work.reserve(line.size());
    bool inQuotes = false;
    for (char c : line) {
        if (c == '"') {
            inQuotes = !inQuotes;
            work.push_back(c);
        } else if (inQuotes && c == ' ') {
            work.push_back(kProtectedBlank);
        } else if (inQuotes && c == m_delimiter) {
            work.push_back(kProtectedDelimiter);
        } else {
            work.push_back(c);
        }
    }

    std::vector<std::string> segments = split(work, m_delimiter);
    for (std::size_t s = 0; s < segments.size(); ++s) {
        std::vector<std::string> words = split(segments[s], ' ');
        if (words.empty())
            continue;
        if (words.size() == 1) {
            if (segments.size() > 1)
                addItem(words[0], {});
            else
                addItem("0", words[0]);
        } else if (s == 0) {
            int position = 0;
            for (const std::string& w : words)
                if (!trimBlanks(w).empty())
                    addItem(std::to_string(position++), w);
        } else {
            const std::string& seg = segments[s];
            addItem(words[0], seg.substr(words[0].size() + 1));
        }
    }
    m_parsed = true;
}

std::string joinCommandLine(const std::vector<std::string>& args, const std::vector<std::string>& switches)
{
    std::string line;
    for (const std::string& a : args) {
        if (!line.empty())
            line.push_back(' ');
        bool isSwitch = false;
        for (const std::string& sw : switches)
            isSwitch = isSwitch || a == sw;
        if (isSwitch)
            line += a;
        else
            line += "\"" + a + "\"";
    }
    return line;
}
