#include "substances.h"

#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/text.h"

namespace ovd {

namespace {

constexpr std::string_view kMissing = "None";

// A number at the start of the text as a C library would read it, 0 when none.
double leadingNumber(std::string_view text)
{
    return scanDouble(text).value_or(0.0);
}

}  // namespace

std::string formatSubstanceEntry(const Substance& s)
{
    return cformat("%s; %ld; %.1lf, %.1lf, %.1lf", s.name.c_str(), s.substanceClass, s.limits[0], s.limits[1],
                   s.limits[2]);
}

std::optional<Substance> parseSubstanceEntry(std::string_view entry)
{
    std::size_t first = entry.find(';');
    if (first == std::string_view::npos)
        return std::nullopt;
    Substance s;
    s.name = std::string(entry.substr(0, first));
    std::string_view rest = entry.substr(first + 1);
    std::size_t second = rest.find(';');
    std::optional<long> cls = scanLong(rest.substr(0, second));
    if (!cls || *cls < 1 || *cls > 3)
        return std::nullopt;
    s.substanceClass = *cls;
    rest = second == std::string_view::npos ? std::string_view() : rest.substr(second + 1);
    for (int i = 0; i < 3 && !rest.empty(); ++i) {
        std::size_t comma = rest.find(',');
        s.limits[i] = leadingNumber(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return s;
}

bool isUsableSubstanceName(std::string_view name)
{
    return name.find_first_of(";|\r\n") == std::string_view::npos;
}

SubstanceList SubstanceList::defaults()
{
    SubstanceList list;
    list.m_entries = {"oxid_siřičitý; 2; 60.0, 40.0, 20.0", "oxidy_dusíku; 2; 80.0, 60.0, 40.0"};
    return list;
}

SubstanceList SubstanceList::fromValue(std::string_view value)
{
    SubstanceList list;
    while (!value.empty()) {
        std::size_t bar = value.find('|');
        list.m_entries.emplace_back(value.substr(0, bar));
        value = bar == std::string_view::npos ? std::string_view() : value.substr(bar + 1);
    }
    return list;
}

SubstanceList SubstanceList::load(const Profile& profile)
{
    std::string value = profile.readString(kSubstanceSection, kSubstanceKey, kMissing);
    if (value == kMissing)
        return defaults();
    return fromValue(value);
}

std::string SubstanceList::value() const
{
    std::string joined;
    for (const std::string& e : m_entries) {
        joined += e;
        joined += '|';
    }
    return joined;
}

bool SubstanceList::save(const Profile& profile, Reporter& reporter) const
{
    return profile.writeString(kSubstanceSection, kSubstanceKey, value(), reporter);
}

bool SubstanceList::update(const Profile& profile, Reporter& reporter,
                           const std::function<bool(SubstanceList&)>& change)
{
    // A lock of its own: the profile's writes take the profile's lock themselves.
    FileLock lock;
    lock.lock(profile.path() + ".latky", true);  // without locks the change is made all the same
    SubstanceList list = load(profile);
    return change(list) && list.save(profile, reporter);
}

std::optional<std::size_t> SubstanceList::add(const Substance& s, Reporter& reporter)
{
    if (!isUsableSubstanceName(s.name)) {
        reporter.error(kBadSubstanceName);
        return std::nullopt;
    }
    if (trim(s.name).empty()) {
        reporter.error(kEmptySubstanceName);
        return std::nullopt;
    }
    for (double limit : s.limits)
        if (!(limit >= 0.0)) {
            reporter.error(kNegativeSubstanceLimit);
            return std::nullopt;
        }
    m_entries.push_back(formatSubstanceEntry(s));
    return m_entries.size() - 1;
}

bool SubstanceList::remove(std::size_t index)
{
    if (index >= m_entries.size())
        return false;
    m_entries.erase(m_entries.begin() + static_cast<long>(index));
    return true;
}

std::optional<std::size_t> SubstanceList::selectedIndex(long position) const
{
    if (m_entries.empty())
        return std::nullopt;
    if (position < 0 || static_cast<std::size_t>(position) >= m_entries.size())
        return 0;
    return static_cast<std::size_t>(position);
}

std::optional<Substance> SubstanceList::select(long position) const
{
    std::optional<std::size_t> index = selectedIndex(position);
    if (!index)
        return std::nullopt;
    return parseSubstanceEntry(m_entries[*index]);
}

}  // namespace ovd
