#pragma once
// A tool's project keys, declared once beside its settings struct: where each key lives, how
// it is read, its default and how the tool writes it back. Loading, saving and the dialogs'
// forms all go through that declaration.
#include <initializer_list>
#include <optional>
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
    bool operator==(const IntAccess&) const = default;
};

// Text held in another form (a row of flags, a switch read leniently): how it is read from
// and given to the struct.
template <class S> struct TextAccess {
    std::string (*get)(const S&);
    void (*set)(S&, const std::string&);
    bool operator==(const TextAccess&) const = default;
};

template <class M> struct MemberOf;
template <class S, class T> struct MemberOf<T S::*> {
    using Struct = S;
};

// An element of an array member as an accessor, named alike by a declaration and by a form:
// key("KoncDobyPrek1", &arrayItem<&Self::limits, 0>).
template <auto Array, std::size_t I> double& arrayItem(typename MemberOf<decltype(Array)>::Struct& s)
{
    return (s.*Array)[I];
}

// One declared key bound to the member of the settings struct S that holds it. Members that
// are not plain fields (an element of an array, an enum) are reached through an accessor.
template <class S> struct Param {
    // A float reads as a double; a value beyond its range gives the default.
    using Member = std::variant<std::string S::*, long S::*, int S::*, double S::*, float S::*, bool S::*,
                                double& (*)(S&), IntAccess<S>, TextAccess<S>>;
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

// What a member or accessor holds: the struct it belongs to and the kind of its key.
template <class S, ParamKind K> struct HeldBy {
    using Struct = S;
    static constexpr ParamKind kind = K;
};
template <class M> struct ParamHeld;
template <class S> struct ParamHeld<std::string S::*> : HeldBy<S, ParamKind::Text> { };
template <class S> struct ParamHeld<TextAccess<S>> : HeldBy<S, ParamKind::Text> { };
template <class S> struct ParamHeld<float S::*> : HeldBy<S, ParamKind::Decimal> { };
template <class S> struct ParamHeld<double S::*> : HeldBy<S, ParamKind::Decimal> { };
template <class S> struct ParamHeld<double& (*)(S&)> : HeldBy<S, ParamKind::Decimal> { };
template <class S> struct ParamHeld<long S::*> : HeldBy<S, ParamKind::Integer> { };
template <class S> struct ParamHeld<int S::*> : HeldBy<S, ParamKind::Integer> { };
template <class S> struct ParamHeld<IntAccess<S>> : HeldBy<S, ParamKind::Integer> { };
template <class S> struct ParamHeld<bool S::*> : HeldBy<S, ParamKind::Flag> { };

// A key of the given section bound to a member; a key missing from the file reads as `def`,
// by default "" for a text and "0" for anything else.
template <class M>
Param<typename ParamHeld<M>::Struct> param(std::string_view section, std::string_view key, M m,
                                           std::optional<std::string_view> def = std::nullopt)
{
    constexpr ParamKind kind = ParamHeld<M>::kind;
    return {{section, key, kind, def.value_or(kind == ParamKind::Text ? "" : "0")}, m};
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
Outcome<double> readParamDecimal(const SettingsFile&, const ParamInfo&);
bool readParamFlag(const SettingsFile&, const ParamInfo&);
float floatOrDefault(double, const ParamInfo&);
// How a value is written back: whole numbers, flags "1"/"0", reals by the key's ParamWrite.
std::string wholeText(long);
std::string decimalText(double, const ParamInfo&);

// Reads one declared key into s; a real value that is not a number gives the default and,
// the first time, its problem in `unreadable`.
template <class S>
void readParam(const SettingsFile& file, const Param<S>& p, S& s, std::optional<Problem>* unreadable)
{
    const ParamInfo& i = p.info;
    auto decimal = [&] {
        Outcome<double> v = readParamDecimal(file, i);
        if (v)
            return *v;
        if (unreadable && !*unreadable)
            *unreadable = v.problem();
        return readParamDouble(file, i);
    };
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
                s.*m = decimal();
            else if constexpr (std::is_same_v<M, float S::*>)
                s.*m = floatOrDefault(decimal(), i);
            else if constexpr (std::is_same_v<M, bool S::*>)
                s.*m = readParamFlag(file, i);
            else if constexpr (std::is_same_v<M, IntAccess<S>>)
                m.set(s, readParamInt(file, i));
            else if constexpr (std::is_same_v<M, TextAccess<S>>)
                m.set(s, readParamText(file, i));
            else
                m(s) = decimal();
        },
        p.member);
}

// The text a declared key is written with.
template <class S> std::string paramText(const S& settings, const Param<S>& p)
{
    S& s = const_cast<S&>(settings);  // the accessors are shared with loading; nothing is changed
    return std::visit(
        [&](auto m) -> std::string {
            using M = decltype(m);
            if constexpr (std::is_same_v<M, std::string S::*>)
                return s.*m;
            else if constexpr (std::is_same_v<M, long S::*> || std::is_same_v<M, int S::*>)
                return wholeText(s.*m);
            else if constexpr (std::is_same_v<M, double S::*> || std::is_same_v<M, float S::*>)
                return decimalText(s.*m, p.info);
            else if constexpr (std::is_same_v<M, bool S::*>)
                return s.*m ? "1" : "0";
            else if constexpr (std::is_same_v<M, IntAccess<S>>)
                return wholeText(m.get(s));
            else if constexpr (std::is_same_v<M, TextAccess<S>>)
                return m.get(s);
            else
                return decimalText(m(s), p.info);
        },
        p.member);
}

// The settings a declaration reads from a file; an empty or missing key gives its default,
// and so does a real value that is not a number (the first such is kept in `unreadable`).
template <class S> S loadSettings(const SettingsFile& file, std::optional<Problem>* unreadable = nullptr)
{
    S s;
    for (const Param<S>& p : S::kParams)
        readParam(file, p, s, unreadable);
    return s;
}

// The settings as a tool's run takes them: a real value that is not a number refuses the
// run with the message naming its section and key, so nothing is computed with a default
// the user did not choose.
template <class S> Outcome<S> readSettings(const SettingsFile& file)
{
    std::optional<Problem> unreadable;
    S s = loadSettings<S>(file, &unreadable);
    if (unreadable)
        return *unreadable;
    return s;
}

// Writes every key the tool writes back; each failed write is reported once by the file and
// the others are still tried. False when any failed.
template <class S> bool saveSettings(const S& settings, const SettingsFile& file, Reporter& reporter)
{
    bool ok = true;
    for (const Param<S>& p : S::kParams)
        if (p.info.write != ParamWrite::Never)
            ok = file.writeString(p.info.section, p.info.key, paramText(settings, p), reporter) && ok;
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

// The declaration of a member of S (a field, an accessor or an IntAccess); null when S
// declares no key for it.
template <class S, class M> const ParamInfo* declaredParam(M member)
{
    for (const Param<S>& p : S::kParams)
        if (auto* held = std::get_if<M>(&p.member); held && *held == member)
            return &p.info;
    return nullptr;
}

// The key declared for a member of S, so that code outside the declaration names no key.
template <class S, class T> std::string_view keyOf(T S::*member)
{
    const ParamInfo* p = declaredParam<S>(member);
    return p ? p->key : std::string_view{};
}

}  // namespace ovd
