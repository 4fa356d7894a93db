#pragma once
// A tool dialog described as data: its fields (label, kind of control, the declared key they
// show), the buttons beside them and the tool it runs. Where a key lives, its default and how
// it is read come from the tool's declaration; a form holds only presentation. Forms are
// written with the typed builders of form_builder.h, which name the settings' members, never
// a key; one dialog class builds every tool's window from them.
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/parameters.h"

namespace ovd::mainui {

enum class FieldKind {
    OpenFile,  // path with a browse button (open dialog)
    SaveFile,  // path with a browse button (save dialog)
    Text,
    Integer,
    Decimal,        // "," and "." accepted, stored with "."
    Check,          // "1" / "0"
    Choice,         // radio buttons, stored as the index of the chosen one
    List,           // drop-down list, stored as the index; the text key also gets the chosen text
    DbfColumn,      // drop-down list of the fields of the DBF file named by another field
    DbfColumnName,  // the same list, editable, storing the field's name (empty: the tool's default)
    Substance,      // the pollutant list of the profile, stored as "PoziceLatky"
    ValueList,      // a list of numbers, stored joined by ";"
};

// Holds while the field with this key stores one of the values.
struct FieldCondition {
    std::string_view key;
    std::vector<std::string> values;
};

// The programs a field's button can launch instead of a tool dialog.
enum class Editor {
    WindRose,
    SourcesOnFiles,  // the sources editor on the conversion's three text inputs
};

// What a button beside a field does.
struct OpenTool {
    std::string_view tool;  // a command of the tool registry with a form
    // The declared key of the opened tool that receives this field's value first.
    std::optional<ParamInfo> passTo = std::nullopt;
    // Shown instead of opening the tool while the field is empty.
    std::string_view needsValue = {};
};
struct LaunchEditor {
    Editor editor;
};
struct RereadColumns { };  // reads the field names of the DBF file again
struct AddNominal { };     // adds the field's value to the isoline value list
struct RemoveNominal { };  // removes the chosen value from that list
using FieldAction = std::variant<OpenTool, LaunchEditor, RereadColumns, AddNominal, RemoveNominal>;

struct FieldButton {
    FieldAction action;
    std::string_view tooltip;
};

struct FormField {
    FieldKind kind;
    const ParamInfo* param;  // the declared key the field shows; null: a member no declaration has
    std::string_view label;
    std::string_view tooltip = {};
    std::string_view fileTitle = {};                // title of the file dialog
    std::string_view filter = {};                   // "Name *.x|*.x|Other|*.*"
    std::vector<std::string_view> options = {};     // Choice, List
    std::vector<std::string_view> optionTips = {};  // Choice: one per option
    std::string_view group = {};                    // consecutive fields of one group share a frame
    bool startsColumn = false;                      // long forms: the field starts a second column
    std::vector<FieldCondition> enabledWhen = {};   // every condition must hold
    std::vector<FieldButton> buttons = {};
    std::string_view altLabel = {};  // shown while altLabelWhen holds
    std::vector<FieldCondition> altLabelWhen = {};
    const ParamInfo* textParam = nullptr;  // List: the key that also receives the chosen text
    std::string_view columnsOf = {};       // DbfColumn, DbfColumnName: key of the DBF path field

    std::string_view key() const { return param ? param->key : std::string_view{}; }
    bool listsColumns() const { return kind == FieldKind::DbfColumn || kind == FieldKind::DbfColumnName; }
};

// A button that fills output names from an input name: the input without its last `cut`
// characters followed by `suffix`, or, with `folder`, the input's folder followed by it.
struct NameRule {
    std::string_view to;
    std::string_view from;
    int cut;
    std::string_view suffix;
    bool folder = false;
    // Filled again whenever the input field changes (a shapefile's names follow its table).
    bool follows = false;
};

enum class BeforeRun { Nothing, ChooseDbfColumns };

struct ToolForm {
    std::string_view id;  // the tool's command in the tool registry
    std::string_view title;
    std::string_view runLabel;
    std::string_view runTooltip;
    std::string_view closeLabel;
    std::string_view progressTitle;  // frame of the progress bar and status lines
    std::vector<FormField> fields = {};
    std::string_view nameButtonTooltip = {};
    std::vector<NameRule> nameRules = {};
    // Table tools: the captions of the lists shown before a run; a run replaces them with
    // the tables the tool returns.
    std::vector<std::string_view> outputTitles = {};
    std::string_view viewLabel = {};    // a check box that shows the input's contents
    std::string_view viewCommand = {};  // ... through this command, given the viewKey field
    std::string_view viewKey = {};
    // An argument that makes the view command list what it shows while the check box is
    // off (the matrix header); without one the lists stay empty then.
    std::string_view viewUncheckedArg = {};
    BeforeRun beforeRun = BeforeRun::Nothing;
    // Opened from another dialog's field, a run that ends well hands this field's value
    // back to that field (the grid tool returns the file it made).
    std::string_view resultKey = {};
    // The status line after a run that ended well, where the tool's last line would be a
    // step ("Ukládám ...") rather than the end.
    std::string_view doneStatus = {};
    // Members named by the form that no declaration has, as the builders met them.
    std::vector<std::string> undeclared = {};

    bool twoColumns() const;
    const FormField* field(std::string_view key) const;
};

const std::vector<ToolForm>& toolForms();
const ToolForm* findToolForm(std::string_view id);
// What is wrong with a form that the compiler cannot see: members no declaration has, keys
// the tool does not declare, conditions and rules naming fields the form does not show,
// buttons and views naming tools that do not exist. Empty for a sound form.
std::vector<std::string> formProblems(const ToolForm&);

// "Textový soubor *.txt|*.txt|Všechny soubory *.*|*.*" as a Qt file dialog filter.
std::string qtFilter(std::string_view filter);
// The output name a rule gives for an input name; empty input gives nothing.
std::string applyNameRule(const NameRule&, const std::string& input);

}  // namespace ovd::mainui
