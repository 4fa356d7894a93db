#include <cxxabi.h>

#include <cstdlib>
#include <memory>

#include "app/tool_registry.h"
#include "common/paths.h"
#include "form_parts.h"

namespace ovd::mainui {

namespace {

std::vector<ToolForm> makeForms()
{
    return {convertForm(),      checkPointsForm(),    checkSourcesForm(), gridForm(),      terrainForm(),
            checkTerrainForm(), heightsForm(),        coordsTableForm(),  coordsForm(),    coefficientsForm(),
            matrixExportForm(), concentrationsForm(), dailyForm(),        dbfExportForm(), isolinesForm(),
            assessForm(),       compareForm(),        scaleGroupsForm()};
}

bool declares(const std::vector<ParamInfo>& declared, const ParamInfo& p)
{
    for (const ParamInfo& d : declared)
        if (d.section == p.section && d.key == p.key)
            return true;
    return false;
}

// The problems of one field: its keys against the tool's declaration and the form's fields,
// its buttons against the tools there are.
void fieldProblems(const ToolForm& form, const FormField& f, const std::vector<ParamInfo>& declared,
                   std::vector<std::string>& problems)
{
    const std::string label = '"' + std::string(f.label) + '"';
    if (f.param && !declares(declared, *f.param))
        problems.push_back(label + " shows " + std::string(f.param->key) + ", which the tool does not declare");
    if (f.textParam && !declares(declared, *f.textParam))
        problems.push_back(label + " stores its text in a key the tool does not declare");
    for (const auto* conditions : {&f.enabledWhen, &f.altLabelWhen})
        for (const FieldCondition& c : *conditions)
            if (!form.field(c.key))
                problems.push_back(label + " depends on a field the form does not show");
    if (f.listsColumns() && !form.field(f.columnsOf))
        problems.push_back(label + " lists the columns of a field the form does not show");
    for (const FieldButton& b : f.buttons)
        if (const auto* open = std::get_if<OpenTool>(&b.action)) {
            if (!findToolForm(open->tool))
                problems.push_back(label + " opens " + std::string(open->tool) + ", a tool without a form");
            else if (open->passTo && !declares(toolParams(open->tool), *open->passTo))
                problems.push_back(label + " passes its value in a key " + std::string(open->tool) +
                                   " does not declare");
        }
}

}  // namespace

std::string form_detail::typeName(const char* mangled)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(mangled);
}

bool ToolForm::twoColumns() const
{
    for (const FormField& f : fields)
        if (f.startsColumn)
            return true;
    return false;
}

const FormField* ToolForm::field(std::string_view key) const
{
    if (key.empty())
        return nullptr;
    for (const FormField& f : fields)
        if (f.key() == key)
            return &f;
    return nullptr;
}

const std::vector<ToolForm>& toolForms()
{
    static const std::vector<ToolForm> forms = makeForms();
    return forms;
}

const ToolForm* findToolForm(std::string_view id)
{
    for (const ToolForm& s : toolForms())
        if (id == s.id)
            return &s;
    return nullptr;
}

std::vector<std::string> formProblems(const ToolForm& form)
{
    std::vector<std::string> problems = form.undeclared;
    if (!findTool(form.id))
        problems.push_back("the form runs " + std::string(form.id) + ", which is no tool");
    const std::vector<ParamInfo> declared = toolParams(form.id);
    for (const FormField& f : form.fields)
        fieldProblems(form, f, declared, problems);
    for (const NameRule& r : form.nameRules)
        if (!form.field(r.to) || !form.field(r.from))
            problems.push_back("a name rule names a field the form does not show");
    for (std::string_view key : {form.viewKey, form.resultKey})
        if (!key.empty() && !form.field(key))
            problems.push_back("the view or the result names a field the form does not show");
    if (!form.viewCommand.empty() && !findTool(form.viewCommand))
        problems.push_back("the view runs " + std::string(form.viewCommand) + ", which is no tool");
    return problems;
}

std::string qtFilter(std::string_view filter)
{
    std::string out;
    while (!filter.empty()) {
        std::size_t bar = filter.find('|');
        std::string_view name = filter.substr(0, bar);
        std::string_view pattern;
        if (bar == std::string_view::npos) {
            filter = {};
        } else {
            filter.remove_prefix(bar + 1);
            std::size_t next = filter.find('|');
            pattern = filter.substr(0, next);
            filter = next == std::string_view::npos ? std::string_view{} : filter.substr(next + 1);
        }
        if (!out.empty())
            out += ";;";
        out += std::string(name) + " (" + std::string(pattern.empty() ? "*" : pattern) + ")";
    }
    return out;
}

std::string applyNameRule(const NameRule& rule, const std::string& input)
{
    if (input.empty())
        return {};
    if (rule.folder)
        return folderOf(input) + std::string(rule.suffix);
    std::size_t keep = input.size() > static_cast<std::size_t>(rule.cut) ? input.size() - rule.cut : 0;
    return input.substr(0, keep) + std::string(rule.suffix);
}

}  // namespace ovd::mainui
