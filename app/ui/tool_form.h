#pragma once
// A tool dialog described as data: its fields (label, kind of control, the declared key they
// show), the buttons beside them and the tool it runs. Where a key lives, its default and how
// it is read come from the tool's declaration; a form holds only presentation. One dialog
// class builds every tool's window from this.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ovd::mainui {

enum class FieldKind {
    OpenFile,  // path with a browse button (open dialog)
    SaveFile,  // path with a browse button (save dialog)
    Text,
    Integer,
    Decimal,    // "," and "." accepted, stored with "."
    Check,      // "1" / "0"
    Choice,     // radio buttons, stored as the index of the chosen one
    List,       // drop-down list, stored as the index; textKey also gets the chosen text
    DbfColumn,  // drop-down list of the fields of the DBF file named by `source`
    Substance,  // the pollutant list of the profile, stored as "PoziceLatky"
    ValueList,  // a list of numbers, stored joined by ";"
};

struct FieldForm {
    FieldKind kind;
    const char* label;
    const char* key;  // a key declared by the tool's settings
    const char* tooltip = "";
    const char* fileTitle = "";     // title of the file dialog
    const char* filter = "";        // "Name *.x|*.x|Other|*.*"
    const char* options = "";       // Choice, List: items separated by "|"
    const char* group = "";         // consecutive fields of one group share a frame
    const char* enabledWhen = "";   // "KEY=V[,V][;KEY=V]": every condition must hold
    const char* opens = "";         // buttons beside the field, "|"-separated: tool ids, "@editor",
                                    // "+nominal"/"-nominal" (isoline values), "!columns" (re-read)
    const char* opensTooltip = "";  // their tooltips, "|"-separated
    const char* opensPasses = "";   // "SECTION/KEY": the field's value handed to the opened tool
    const char* opensEmpty = "";    // message when a button needs the path and it is empty
    const char* altLabel = "";      // label shown while altLabelWhen holds
    const char* altLabelWhen = "";
    const char* textKey = "";  // List: declared key that also receives the chosen text
    const char* source = "";   // DbfColumn: key of the DBF path field
};

// A button that fills output names from an input name: the input without its last `cut`
// characters followed by `suffix`, or, with `folder`, the input's folder followed by it.
struct NameRule {
    const char* to;
    const char* from;
    int cut;
    const char* suffix;
    bool folder = false;
    // Filled again whenever the input field changes (a shapefile's names follow its table).
    bool follows = false;
};

enum class BeforeRun { Nothing, ChooseDbfColumns };

struct ToolForm {
    const char* id;  // the tool's command in the tool registry
    const char* title;
    const char* runLabel;
    const char* runTooltip;
    const char* closeLabel;
    const char* progressTitle;  // frame of the progress bar and status lines
    std::vector<FieldForm> fields = {};
    const char* nameButtonTooltip = "";
    std::vector<NameRule> nameRules = {};
    // Table tools: the captions ("|"-separated) of the lists shown before a run; a run
    // replaces them with the tables the tool returns.
    const char* outputTitle = "";
    const char* viewLabel = "";    // a check box that shows the input's contents
    const char* viewCommand = "";  // ... through this command, given the viewKey field
    const char* viewKey = "";
    BeforeRun beforeRun = BeforeRun::Nothing;
    // Opened from another dialog's field, a run that ends well hands this field's value
    // back to that field (the grid tool returns the file it made).
    const char* resultKey = "";
    // An argument that makes the view command list what it shows while the check box is
    // off (the matrix header); without one the lists stay empty then.
    const char* viewUncheckedArg = "";
    // Long forms: the field with this key starts a second column, so the dialog fits a
    // laptop screen.
    const char* secondColumn = "";
    // The status line after a run that ended well, where the tool's last line would be a
    // step ("Ukládám ...") rather than the end.
    const char* doneStatus = "";
};

const std::vector<ToolForm>& toolForms();
const ToolForm* findToolForm(std::string_view id);

// "Textový soubor *.txt|*.txt|Všechny soubory *.*|*.*" as a Qt file dialog filter.
std::string qtFilter(std::string_view filter);
// The output name a rule gives for an input name; empty input gives nothing.
std::string applyNameRule(const NameRule&, const std::string& input);

}  // namespace ovd::mainui
