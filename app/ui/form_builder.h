#pragma once
// Typed builders of the tools' forms. A field names the member of a settings struct it shows
// (`openFile(&Self::points, "...")`), so the member's type fixes which controls may show it,
// and its key, section and default come from the struct's declaration. A member that no
// declaration has cannot be seen by the compiler; the builder records it and the form test
// refuses the form.
#include <initializer_list>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "tool_form.h"

namespace ovd::mainui {

namespace form_detail {

// "ovd::DailySettings" for the type's mangled name.
std::string typeName(const char* mangled);

// The declaration of a member, or null with the miss noted in `undeclared`.
template <class S, class M>
const ParamInfo* resolve(M member, std::string_view use, std::vector<std::string>& undeclared)
{
    const ParamInfo* p = declaredParam<S>(member);
    if (!p)
        undeclared.push_back(std::string(use) + ": a member of " + typeName(typeid(S).name()) +
                             " that no declaration has");
    return p;
}

template <class T> constexpr bool kWhole = std::is_same_v<T, long> || std::is_same_v<T, int>;
// What a radio choice can store: an index, a flag (two options) or an enum's accessor.
template <class T> constexpr bool kChoosable = kWhole<T> || std::is_same_v<T, bool>;

}  // namespace form_detail

class FieldBuilder {
public:
    FieldBuilder(FieldKind kind, const ParamInfo* param, std::string_view label, std::vector<std::string> undeclared)
        : m_field{kind, param, label}
        , m_undeclared(std::move(undeclared))
    { }

    FieldBuilder& tooltip(std::string_view t) { return m_field.tooltip = t, *this; }
    FieldBuilder& title(std::string_view t) { return m_field.fileTitle = t, *this; }
    FieldBuilder& filter(std::string_view f) { return m_field.filter = f, *this; }
    FieldBuilder& optionTips(std::initializer_list<std::string_view> tips) { return m_field.optionTips = tips, *this; }

    // Enabled only while the flag has this value.
    template <class S> FieldBuilder& enabledWhen(bool S::*flag, bool on)
    {
        return m_field.enabledWhen.push_back(condition(flag, {on ? 1 : 0})), *this;
    }
    // Enabled only while the choice stores one of these indices.
    template <class S, class T>
    requires form_detail::kWhole<T> FieldBuilder& enabledWhen(T S::*choice, std::initializer_list<int> indices)
    {
        return m_field.enabledWhen.push_back(condition(choice, indices)), *this;
    }
    // Another label while the flag has this value.
    template <class S> FieldBuilder& labelWhen(bool S::*flag, bool on, std::string_view label)
    {
        m_field.altLabel = label;
        return m_field.altLabelWhen.push_back(condition(flag, {on ? 1 : 0})), *this;
    }

    // A button that opens a tool's dialog.
    FieldBuilder& opens(std::string_view tool, std::string_view tip) { return button(OpenTool{tool}, tip); }
    // ... handing it this field's value in one of its declared keys first.
    template <class S> FieldBuilder& passing(std::string S::*member)
    {
        if (const ParamInfo* p = form_detail::resolve<S>(member, "a value passed by " + label(), m_undeclared))
            lastOpen().passTo = *p;
        return *this;
    }
    // ... or this message while the field is empty.
    FieldBuilder& requiring(std::string_view message) { return lastOpen().needsValue = message, *this; }
    FieldBuilder& launches(Editor e, std::string_view tip) { return button(LaunchEditor{e}, tip); }
    FieldBuilder& button(FieldAction action, std::string_view tip)
    {
        return m_field.buttons.push_back({std::move(action), tip}), *this;
    }

    // List: the member that also receives the chosen item's text.
    template <class S> FieldBuilder& alsoText(std::string S::*member)
    {
        m_field.textParam = form_detail::resolve<S>(member, "the text of " + label(), m_undeclared);
        return *this;
    }
    // DbfColumn, DbfColumnName: the field of the DBF file whose columns the list offers.
    template <class S> FieldBuilder& columnsOf(std::string S::*member)
    {
        if (const ParamInfo* p = form_detail::resolve<S>(member, "the table of " + label(), m_undeclared))
            m_field.columnsOf = p->key;
        return *this;
    }

    FieldBuilder& inGroup(std::string_view group) { return m_field.group = group, *this; }
    FieldBuilder& startingColumn() { return m_field.startsColumn = true, *this; }
    FieldBuilder& options(std::initializer_list<std::string_view> o) { return m_field.options = o, *this; }

    const FormField& field() const { return m_field; }
    const std::vector<std::string>& undeclared() const { return m_undeclared; }

private:
    std::string label() const { return '"' + std::string(m_field.label) + '"'; }
    OpenTool& lastOpen()
    {
        // Called right after opens(); anything else is a mistake in the form's code.
        return std::get<OpenTool>(m_field.buttons.back().action);
    }
    template <class S, class T> FieldCondition condition(T S::*member, std::initializer_list<int> values)
    {
        FieldCondition c;
        if (const ParamInfo* p = form_detail::resolve<S>(member, "a condition of " + label(), m_undeclared))
            c.key = p->key;
        for (int v : values)
            c.values.push_back(std::to_string(v));
        return c;
    }

    FormField m_field;
    std::vector<std::string> m_undeclared;
};

namespace form_detail {

template <class S, class M> FieldBuilder make(FieldKind kind, M member, std::string_view label)
{
    std::vector<std::string> undeclared;
    const ParamInfo* p = resolve<S>(member, '"' + std::string(label) + '"', undeclared);
    return FieldBuilder(kind, p, label, std::move(undeclared));
}

}  // namespace form_detail

// A field of one kind over members of type T (and its accessors): `integer(&Self::step, "...")`.
// A member of another type does not compile.
template <FieldKind K, class... T> struct FieldOf {
    template <class S, class M>
    requires(std::is_same_v<M, T> || ...) FieldBuilder operator()(M S::*m, std::string_view label) const
    {
        return form_detail::make<S>(K, m, label);
    }
};

// A path chosen with a file dialog, which always has its title and its filter.
template <FieldKind K> struct FileFieldOf {
    template <class S>
    FieldBuilder operator()(std::string S::*m, std::string_view label, std::string_view title,
                            std::string_view filter) const
    {
        return form_detail::make<S>(K, m, label).title(title).filter(filter);
    }
};

// Paths chosen with an open or a save dialog, text, and numbers kept as one text joined by ";".
inline constexpr FileFieldOf<FieldKind::OpenFile> openFile;
inline constexpr FileFieldOf<FieldKind::SaveFile> saveFile;
inline constexpr FieldOf<FieldKind::Text, std::string> text;
inline constexpr FieldOf<FieldKind::ValueList, std::string> valueList;
inline constexpr FieldOf<FieldKind::Integer, long, int> integer;
inline constexpr FieldOf<FieldKind::Check, bool> check;
// The columns of a DBF file and the profile's pollutants, storing the chosen one's index.
inline constexpr FieldOf<FieldKind::DbfColumn, long, int> dbfColumn;
// The columns of a DBF file offered for a name that may also be typed, storing the name.
inline constexpr FieldOf<FieldKind::DbfColumnName, std::string> dbfColumnName;
inline constexpr FieldOf<FieldKind::Substance, long, int> substance;

struct DecimalField : FieldOf<FieldKind::Decimal, double> {
    using FieldOf::operator();
    // A decimal reached through an accessor (an element of an array: &arrayItem<&Self::a, 0>).
    template <class S> FieldBuilder operator()(double& (*item)(S&), std::string_view label) const
    {
        return form_detail::make<S>(FieldKind::Decimal, item, label);
    }
};
inline constexpr DecimalField decimal;

// Radio buttons, one per option, storing the chosen one's index: over an index, a flag (two
// options) or an enum's accessor.
template <class S, class T>
requires form_detail::kChoosable<T> FieldBuilder choice(T S::*m, std::string_view label,
                                                        std::initializer_list<std::string_view> options)
{
    return form_detail::make<S>(FieldKind::Choice, m, label).options(options);
}
template <class S, class T>
requires form_detail::kChoosable<T> FieldBuilder choice(T S::*m, std::initializer_list<std::string_view> options)
{
    return choice(m, "", options);
}
template <class S>
FieldBuilder choice(IntAccess<S> access, std::string_view label, std::initializer_list<std::string_view> options)
{
    return form_detail::make<S>(FieldKind::Choice, access, label).options(options);
}
// A drop-down list of fixed items storing the chosen one's index.
template <class S, class T>
requires form_detail::kWhole<T> FieldBuilder list(T S::*m, std::string_view label,
                                                  std::initializer_list<std::string_view> items)
{
    return form_detail::make<S>(FieldKind::List, m, label).options(items);
}

// Consecutive fields in one frame.
inline std::vector<FieldBuilder> group(std::string_view title, std::initializer_list<FieldBuilder> fields)
{
    std::vector<FieldBuilder> all(fields);
    for (FieldBuilder& f : all)
        f.inGroup(title);
    return all;
}

// One field or a group of them, as a form lists them.
struct FieldSet {
    FieldSet(FieldBuilder f)
        : fields{std::move(f)}
    { }
    FieldSet(std::vector<FieldBuilder> g)
        : fields(std::move(g))
    { }
    std::vector<FieldBuilder> fields;
};

// The run button's label, the progress frame's title (none: the dialog has no progress
// frame), the run button's tip and the close button's label.
struct DialogButtons {
    std::string_view run;
    std::string_view progress = {};
    std::string_view tip = {};
    std::string_view close = "Ukonči";
};

// The buttons of the dialogs that convert a file, and of those that compute.
inline constexpr DialogButtons kConvertButtons{"Převeď", "Průběh převodu "};
inline constexpr DialogButtons kComputeButtons{"Počítej", "Průběh výpočtu "};

class FormBuilder {
public:
    FormBuilder(std::string_view tool, std::string_view title, const DialogButtons& b)
    {
        m_form.id = tool, m_form.title = title;
        m_form.runLabel = b.run, m_form.runTooltip = b.tip;
        m_form.closeLabel = b.close, m_form.progressTitle = b.progress;
    }

    FormBuilder& fields(const std::vector<FieldSet>& sets)
    {
        for (const FieldSet& set : sets)
            for (const FieldBuilder& f : set.fields) {
                m_form.fields.push_back(f.field());
                m_form.undeclared.insert(m_form.undeclared.end(), f.undeclared().begin(), f.undeclared().end());
            }
        return *this;
    }
    // The "Jména souborů" button: output names from input names.
    FormBuilder& names(std::string_view tip) { return m_form.nameButtonTooltip = tip, *this; }
    // `to` is `from` without its last `cut` characters, followed by `suffix`.
    template <class S> FormBuilder& name(std::string S::*to, std::string S::*from, int cut, std::string_view suffix)
    {
        return m_form.nameRules.push_back(
                   {declaredKey(to, "a name rule"), declaredKey(from, "a name rule"), cut, suffix}),
               *this;
    }
    // The same, and filled again whenever `from` changes (a shapefile's names follow its table).
    template <class S>
    FormBuilder& followingName(std::string S::*to, std::string S::*from, int cut, std::string_view suffix)
    {
        name(to, from, cut, suffix);
        m_form.nameRules.back().follows = true;
        return *this;
    }
    // `to` is the folder of `from` followed by `file`.
    template <class S> FormBuilder& nameInFolder(std::string S::*to, std::string S::*from, std::string_view file)
    {
        return m_form.nameRules.push_back(
                   {declaredKey(to, "a name rule"), declaredKey(from, "a name rule"), 0, file, true}),
               *this;
    }
    FormBuilder& tables(std::initializer_list<std::string_view> titles) { return m_form.outputTitles = titles, *this; }
    // A check box that shows what the member's file holds through a command.
    template <class S>
    FormBuilder& view(std::string_view label, std::string_view command, std::string S::*input,
                      std::string_view uncheckedArg = {})
    {
        m_form.viewLabel = label;
        m_form.viewCommand = command;
        m_form.viewKey = declaredKey(input, "the viewed file");
        return m_form.viewUncheckedArg = uncheckedArg, *this;
    }
    FormBuilder& before(BeforeRun b) { return m_form.beforeRun = b, *this; }
    template <class S> FormBuilder& result(std::string S::*member)
    {
        return m_form.resultKey = declaredKey(member, "the result"), *this;
    }
    FormBuilder& done(std::string_view status) { return m_form.doneStatus = status, *this; }

    operator ToolForm() const { return m_form; }

private:
    template <class S, class T> std::string_view declaredKey(T S::*member, std::string_view use)
    {
        const ParamInfo* p = form_detail::resolve<S>(member, use, m_form.undeclared);
        return p ? p->key : std::string_view{};
    }

    ToolForm m_form;
};

}  // namespace ovd::mainui
