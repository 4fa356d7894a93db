#pragma once
// The one dialog class of the tools: built from a ToolForm, it loads its fields from the
// project when it opens, writes them when the tool runs, and runs the tool on a worker
// thread through the QtReporter while every control but "Přerušit" is disabled.
#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "app/tool_registry.h"
#include "qt_reporter.h"
#include "tool_form.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QHBoxLayout;
class QVBoxLayout;

namespace ovd::mainui {

class ResultView;

class ToolDialog : public QDialog, private ProgressView {
public:
    // `services` are the program's, handed to every tool the dialog runs.
    ToolDialog(const ToolForm&, Project&, const Profile&, const Services& services, QWidget* parent = nullptr);
    ~ToolDialog() override;

    const ToolForm& form() const { return m_form; }
    // Fields as text, the way they are stored ("1"/"0", choice index, "." decimals).
    QString value(std::string_view key) const;
    void setValue(std::string_view key, const QString&);
    // Writes every field into the project (a failed write is reported per key).
    void saveFields();
    void loadFields();
    // Writes the fields and runs the tool; extra arguments follow the command's own.
    ToolStatus runTool(const std::vector<std::string>& extraArgs = {}, bool unattended = false);
    bool running() const { return m_reporter.running(); }
    // How the last run of the tool in this dialog ended, if it ran.
    std::optional<ToolStatus> lastStatus() const { return m_lastStatus; }
    void requestCancel() { m_reporter.requestCancel(); }

    QPushButton* runButton() const { return m_run; }
    QPushButton* cancelButton() const { return m_cancel; }
    // The lists of a table tool (null for other tools) and their contents as text.
    ResultView* results() const { return m_results; }
    QString outputText() const;
    QString statusText(int line) const;
    QWidget* fieldWidget(std::string_view key) const;

    void reject() override;

protected:
    void closeEvent(QCloseEvent*) override;

private:
    struct Field {
        const FormField* form;  // with the declared key the field shows
        QLabel* label = nullptr;
        QLineEdit* edit = nullptr;
        QCheckBox* check = nullptr;
        QButtonGroup* choice = nullptr;
        QComboBox* combo = nullptr;
        QListWidget* list = nullptr;
        std::vector<QWidget*> widgets = {};  // everything the enabling rule switches
        QString loaded = {};                 // the stored value (a pollutant position kept as is)
    };

    void showStatus(int line, const QString&) override;
    void showProgress(long value, long maximum) override;
    void showTitle(const QString& title) override { setWindowTitle(title); }

    void build();
    void buildFields(QVBoxLayout* top);
    void addOptionButtons(QHBoxLayout* buttons);
    QWidget* buildProgress();
    void addRunButtons(QHBoxLayout* buttons);
    void track(Field&, QWidget*);
    QWidget* buildField(Field&, QWidget* parent);
    void buildChoice(Field&, QWidget* box, QHBoxLayout* row);
    void buildList(Field&, QWidget* box, QHBoxLayout* row);
    void buildEdit(Field&, QWidget* box, QHBoxLayout* row);
    void addFieldButtons(Field&, QWidget* parent, QHBoxLayout* row);
    Field* find(std::string_view key);
    const Field* find(std::string_view key) const;
    // The n-th field whose key plays this role, if the form shows one.
    Field* findRole(ParamRole, int nth = 0);
    bool conditionsHold(const std::vector<FieldCondition>&) const;
    void applyRules();
    void setRunning(bool);
    void onRun();
    void onButton(Field&, const FieldAction&);
    void openFromField(Field&, const OpenTool&);
    void launchFromField(Editor);
    void rereadColumns(Field&);
    void changeNominalList(bool add);
    void browse(Field&);
    void fillNames();
    // The names that follow the input field `inputKey`, filled from its value.
    void fillFollowingNames(std::string_view inputKey);
    void refreshView();
    std::vector<ResultTable> shownTables(ToolResult) const;
    void showTables(std::vector<ResultTable>);
    void fillDbfColumns(Field&);
    void loadSubstances(Field&, long position);
    void selectSubstance(int index);
    // Shows which pollutant entry the class and limits come from, or that none matches.
    void markSubstance();
    void addSubstance(Field&);
    void deleteSubstance(Field&);
    bool chooseDbfColumns(std::vector<std::string>& args);

    const ToolForm& m_form;
    Project& m_project;
    const Profile& m_profile;
    const Services m_services;
    QtReporter m_reporter;
    std::vector<Field> m_fields;
    QPushButton* m_run = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_close = nullptr;
    QCheckBox* m_viewCheck = nullptr;
    QLabel* m_status[2] = {nullptr, nullptr};
    QProgressBar* m_progress = nullptr;
    ResultView* m_results = nullptr;
    std::vector<QWidget*> m_controls;  // disabled while the tool runs
    bool m_closeAfterRun = false;
    QString m_viewedPath;
    bool m_viewStale = false;  // the input the view shows, so leaving its field unchanged re-reads nothing
    std::optional<ToolStatus> m_lastStatus;
};

// Opens the dialog of a tool modally. Returns the value of the tool's result field when its last run ended well.
std::optional<QString> openTool(std::string_view id, Project&, const Profile&, const Services&, QWidget* parent);

}  // namespace ovd::mainui
