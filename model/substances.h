#pragma once
// The list of pollutants offered by the concentration dialogs, kept in the per-user
// profile (section "Latky", key "SeznamLatek") as entries each followed by "|". An entry
// is the text "name; class; limit1, limit2, limit3" (limits with one decimal).
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/profile.h"
#include "common/reporter.h"

namespace ovd {

inline constexpr std::string_view kSubstanceSection = "Latky";
inline constexpr std::string_view kSubstanceKey = "SeznamLatek";
inline constexpr std::string_view kDeleteSubstanceQuestion = "Opravdu chcete smazat vybraný záznam ?";
inline constexpr std::string_view kDeleteSubstanceCaption = "Potvrzení ";
inline constexpr std::string_view kBadSubstanceName =
    "Název látky nesmí obsahovat znaky \";\" a \"|\" ani konec řádku.";
inline constexpr std::string_view kEmptySubstanceName = "Název látky nesmí být prázdný.";
inline constexpr std::string_view kNegativeSubstanceLimit = "Koncentrace pro dobu překročení nesmí být záporná.";

struct Substance {
    std::string name;
    long substanceClass = 1;         // 1 "I - 20 hodin", 2 "II - 6 dní", 3 "III - 2 roky"
    std::array<double, 3> limits{};  // µg/m³, 0 = not used
};

// "%s; %ld; %.1lf, %.1lf, %.1lf".
std::string formatSubstanceEntry(const Substance&);
// The name up to the first ";", the class up to the next ";", then three numbers split at
// ","; a missing or unreadable number is 0. Nothing when the entry has no ";" or its
// class is not 1, 2 or 3.
std::optional<Substance> parseSubstanceEntry(std::string_view entry);
// A name that would break an entry or the list (";", "|", a line break).
bool isUsableSubstanceName(std::string_view name);

class SubstanceList {
public:
    // The profile's list; the two default entries when the key is missing. An empty value
    // is an empty list.
    static SubstanceList load(const Profile&);
    static SubstanceList fromValue(std::string_view value);
    static SubstanceList defaults();
    // The profile value: every entry followed by "|".
    std::string value() const;
    bool save(const Profile&, Reporter&) const;
    // Loads the profile's list, lets `change` alter it and saves it, all while holding the
    // list's lock, so changes made at the same time by other processes are all kept.
    // `change` returns false to save nothing; the result is false then and when saving failed.
    static bool update(const Profile&, Reporter&, const std::function<bool(SubstanceList&)>& change);

    const std::vector<std::string>& entries() const { return m_entries; }
    // Appends the formatted entry and returns its index; refuses (with a message) a name
    // that is empty or would break the list, and a negative limit.
    std::optional<std::size_t> add(const Substance&, Reporter&);
    bool remove(std::size_t index);
    // The entry a stored "PoziceLatky" selects: that index, the first entry when the index
    // lies outside the list, nothing when the list is empty.
    std::optional<std::size_t> selectedIndex(long position) const;
    std::optional<Substance> select(long position) const;

private:
    std::vector<std::string> m_entries;
};

}  // namespace ovd
