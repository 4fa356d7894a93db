#pragma once
// A tool's project keys, declared once beside its settings struct: where each key lives, how
// it is read, its default and how the tool writes it back. Loading, saving and the dialogs'
// forms all go through that declaration.
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "project_sections.h"
#include "reporter.h"
#include "settings_file.h"

namespace ovd {

// How a value is read: text as it stands, a whole number (like atoi), a real quantity (a
// value that is not a number is refused by the tool), a flag ("1" is on, anything else off).
enum class ParamKind { Text, Integer, Decimal, Flag };

// How a tool that stores its settings writes the key back.
enum class ParamWrite {
    Plain,  // text as it stands, whole numbers, flags "1"/"0", reals as the shortest "." decimal
    Fixed,  // reals as "%lf"
    Never,  // read only: another tool owns the key
};

// What a dialog does with a key beyond showing and storing it.
enum class ParamRole {
    None,
    SubstancePosition,  // the chosen entry of the pollutant list
    SubstanceClass,     // filled in from the chosen pollutant
    SubstanceLimit,     // ditto (the three exceedance limits)
    RunMinimized,       // the main window is minimised while the tool runs
};

struct ParamInfo {
    std::string_view section;
    std::string_view key;  // in the case the tool writes it
    ParamKind kind = ParamKind::Text;
    std::string_view def;  // the default as the project would store it
    ParamWrite write = ParamWrite::Plain;
    ParamRole role = ParamRole::None;
};

// A whole number held in another form (an enum): how it is read from and given to the struct.
template <class S> struct IntAccess {
    long (*get)(const S&);
    void (*set)(S&, long);
};

// One declared key bound to the member of the settings struct S that holds it. Members that
// are not plain fields (an element of an array, an enum) are reached through an accessor.
template <class S> struct Param {
    using Member =
        std::variant<std::string S::*, long S::*, int S::*, double S::*, bool S::*, double& (*)(S&), IntAccess<S>>;
    ParamInfo info;
    Member member;

    constexpr Param fixed() const { return with(ParamWrite::Fixed); }
    constexpr Param readOnly() const { return with(ParamWrite::Never); }
    constexpr Param role(ParamRole r) const
    {
        Param p = *this;
        p.info.role = r;
        return p;
    }

private:
    constexpr Param with(ParamWrite w) const
    {
        Param p = *this;
        p.info.write = w;
        return p;
    }
};

template <class S> Param<S> param(std::string_view section, std::string_view key, std::string S::*m)
{
    return {{section, key, ParamKind::Text, ""}, m};
}
template <class S>
Param<S> param(std::string_view section, std::string_view key, long S::*m, std::string_view def = "0")
{
    return {{section, key, ParamKind::Integer, def}, m};
}
template <class S> Param<S> param(std::string_view section, std::string_view key, int S::*m, std::string_view def = "0")
{
    return {{section, key, ParamKind::Integer, def}, m};
}
template <class S>
Param<S> param(std::string_view section, std::string_view key, double S::*m, std::string_view def = "0")
{
    return {{section, key, ParamKind::Decimal, def}, m};
}
template <class S>
Param<S> param(std::string_view section, std::string_view key, double& (*m)(S&), std::string_view def = "0")
{
    return {{section, key, ParamKind::Decimal, def}, m};
}
template <class S>
Param<S> param(std::string_view section, std::string_view key, IntAccess<S> m, std::string_view def = "0")
{
    return {{section, key, ParamKind::Integer, def}, m};
}
template <class S>
Param<S> param(std::string_view section, std::string_view key, bool S::*m, std::string_view def = "0")
{
    return {{section, key, ParamKind::Flag, def}, m};
}

// A key whose section is given by the group it is declared in (see inSection).
template <class M> auto key(std::string_view name, M member)
{
    return param(std::string_view{}, name, member);
}
template <class M> auto key(std::string_view name, M member, std::string_view def)
{
    return param(std::string_view{}, name, member, def);
}

// Keys that lie in one section, in the order the tool keeps them.
template <class S> std::vector<Param<S>> inSection(std::string_view section, std::initializer_list<Param<S>> keys)
{
    std::vector<Param<S>> group(keys);
    for (Param<S>& p : group)
        p.info.section = section;
    return group;
}

// A tool's whole declaration: its groups one after another. Each settings struct names itself
// `Self` so that its declaration reads `declare<Self>({inSection(..., {key("K", &Self::m)})})`.
template <class S> std::vector<Param<S>> declare(std::initializer_list<std::vector<Param<S>>> groups)
{
    std::vector<Param<S>> all;
    for (const std::vector<Param<S>>& g : groups)
        all.insert(all.end(), g.begin(), g.end());
    return all;
}

// The type-independent part of one key's handling, shared by every settings struct.
std::string readParamText(const SettingsFile&, const ParamInfo&);
long readParamInt(const SettingsFile&, const ParamInfo&);
double readParamDouble(const SettingsFile&, const ParamInfo&);
bool readParamFlag(const SettingsFile&, const ParamInfo&);
bool writeParamText(const SettingsFile&, const ParamInfo&, std::string_view, Reporter&);
bool writeParamInt(const SettingsFile&, const ParamInfo&, long, Reporter&);
bool writeParamDouble(const SettingsFile&, const ParamInfo&, double, Reporter&);
bool writeParamFlag(const SettingsFile&, const ParamInfo&, bool, Reporter&);

// The settings a declaration reads from a file; an empty or missing key gives its default.
template <class S> S loadSettings(const SettingsFile& file)
{
    S s;
    for (const Param<S>& p : S::kParams) {
        const ParamInfo& i = p.info;
        std::visit(
            [&](auto m) {
                using M = decltype(m);
                if constexpr (std::is_same_v<M, std::string S::*>)
                    s.*m = readParamText(file, i);
                else if constexpr (std::is_same_v<M, long S::*>)
                    s.*m = readParamInt(file, i);
                else if constexpr (std::is_same_v<M, int S::*>)
                    s.*m = static_cast<int>(readParamInt(file, i));
                else if constexpr (std::is_same_v<M, double S::*>)
                    s.*m = readParamDouble(file, i);
                else if constexpr (std::is_same_v<M, bool S::*>)
                    s.*m = readParamFlag(file, i);
                else if constexpr (std::is_same_v<M, IntAccess<S>>)
                    m.set(s, readParamInt(file, i));
                else
                    m(s) = readParamDouble(file, i);
            },
            p.member);
    }
    return s;
}

// Writes every key the tool writes back; each failed write is reported once by the file and
// the others are still tried. False when any failed.
template <class S> bool saveSettings(const S& settings, const SettingsFile& file, Reporter& reporter)
{
    bool ok = true;
    S& s = const_cast<S&>(settings);  // the accessors are shared with loading; nothing is changed
    for (const Param<S>& p : S::kParams) {
        const ParamInfo& i = p.info;
        if (i.write == ParamWrite::Never)
            continue;
        ok = std::visit(
                 [&](auto m) {
                     using M = decltype(m);
                     if constexpr (std::is_same_v<M, std::string S::*>)
                         return writeParamText(file, i, s.*m, reporter);
                     else if constexpr (std::is_same_v<M, long S::*> || std::is_same_v<M, int S::*>)
                         return writeParamInt(file, i, s.*m, reporter);
                     else if constexpr (std::is_same_v<M, double S::*>)
                         return writeParamDouble(file, i, s.*m, reporter);
                     else if constexpr (std::is_same_v<M, bool S::*>)
                         return writeParamFlag(file, i, s.*m, reporter);
                     else if constexpr (std::is_same_v<M, IntAccess<S>>)
                         return writeParamInt(file, i, m.get(s), reporter);
                     else
                         return writeParamDouble(file, i, m(s), reporter);
                 },
                 p.member) &&
            ok;
    }
    return ok;
}

// The declaration without the struct, for the dialogs.
template <class S> std::vector<ParamInfo> paramInfos()
{
    std::vector<ParamInfo> infos;
    for (const Param<S>& p : S::kParams)
        infos.push_back(p.info);
    return infos;
}

const ParamInfo* findParam(std::span<const ParamInfo>, std::string_view key);

// The key declared for a member of S, so that code outside the declaration names no key.
template <class S, class T> std::string_view keyOf(T S::*member)
{
    for (const Param<S>& p : S::kParams)
        if (auto* held = std::get_if<T S::*>(&p.member); held && *held == member)
            return p.info.key;
    return {};
}

}  // namespace ovd
