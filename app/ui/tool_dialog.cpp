#include "tool_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>

#include "editor_launch.h"
#include "result_view.h"
#include "ui_common/dialogs.h"
#include "ui_common/qt_text.h"

namespace ovd::mainui {

namespace {

// The fields a pollutant entry fills in.
bool setBySubstance(const ParamInfo& p)
{
    return p.role == ParamRole::SubstanceClass || p.role == ParamRole::SubstanceLimit;
}

bool isPath(FieldKind k)
{
    return k == FieldKind::OpenFile || k == FieldKind::SaveFile;
}

// The symbol of a button beside a field.
QString buttonText(const FieldAction& action)
{
    struct Text {
        QString operator()(const OpenTool&) const { return QString::fromUtf8("⚙"); }
        QString operator()(const LaunchEditor&) const { return QString::fromUtf8("✎"); }
        QString operator()(const RereadColumns&) const { return QString::fromUtf8("↻"); }
        QString operator()(const AddNominal&) const { return QString("+"); }
        QString operator()(const RemoveNominal&) const { return QString("-"); }
    };
    return std::visit(Text{}, action);
}

}  // namespace

ToolDialog::ToolDialog(const ToolForm& form, Project& project, const Profile& profile, const Services& services,
                       QWidget* parent)
    : QDialog(parent)
    , m_form(form)
    , m_project(project)
    , m_profile(profile)
    , m_services(services)
    , m_reporter(prompterOf(services), this)
{
    setWindowTitle(qs(form.title));
    setDialogFrame(this, !form.outputTitles.empty());
    build();
    // Qt would open a window at no more than two thirds of the screen, squeezing the lists
    // of the checks; the whole size it asks for is given, as far as the screen has room.
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        resize(sizeHint().boundedTo(screen->availableGeometry().size() - QSize(40, 60)).expandedTo(minimumSizeHint()));
    loadFields();
    // A viewer shows what its stored input holds (the matrix header) as it opens.
    if (!m_form.viewKey.empty() && QFileInfo(value(m_form.viewKey)).isFile())
        refreshView();
}

ToolDialog::~ToolDialog() = default;

void ToolDialog::build()
{
    auto* top = new QVBoxLayout(this);
    buildFields(top);
    auto* buttons = new QHBoxLayout;
    addOptionButtons(buttons);
    if (!m_form.outputTitles.empty()) {
        m_results = new ResultView(this);
        showTables({});
        top->addWidget(m_results, 1);
    }
    top->addWidget(buildProgress());
    addRunButtons(buttons);
    top->addLayout(buttons);
}

// The form's fields in framed groups, in one column or, for long forms, two.
void ToolDialog::buildFields(QVBoxLayout* top)
{
    auto* columns = new QHBoxLayout;
    auto* column = new QVBoxLayout;
    columns->addLayout(column, 1);
    top->addLayout(columns);
    QGroupBox* groupBox = nullptr;
    QGridLayout* grid = nullptr;
    std::string_view currentGroup;
    m_fields.reserve(m_form.fields.size());
    for (const FormField& fs : m_form.fields) {
        if (fs.startsColumn) {
            column->addStretch(1);
            column = new QVBoxLayout;
            columns->addSpacing(12);
            columns->addLayout(column, 1);
            grid = nullptr;
        }
        if (!grid || currentGroup != fs.group) {
            currentGroup = fs.group;
            QWidget* holder;
            if (!fs.group.empty()) {
                groupBox = new QGroupBox(qs(fs.group), this);
                holder = groupBox;
            } else {
                groupBox = nullptr;
                holder = new QWidget(this);
            }
            grid = new QGridLayout(holder);
            if (fs.group.empty())
                grid->setContentsMargins(0, 0, 0, 0);
            column->addWidget(holder);
        }
        if (!fs.param)  // every form's members are checked against the declarations by the tests
            throw std::logic_error(std::string("undeclared field ") + std::string(fs.label));
        m_fields.push_back(Field{&fs});
        Field& f = m_fields.back();
        int row = grid->rowCount();
        QWidget* holder = groupBox ? static_cast<QWidget*>(groupBox) : grid->parentWidget();
        if (fs.kind == FieldKind::Check || fs.kind == FieldKind::Choice) {
            grid->addWidget(buildField(f, holder), row, 0, 1, 3);
            continue;
        }
        f.label = new QLabel(qs(fs.label), holder);
        f.widgets.push_back(f.label);
        grid->addWidget(f.label, row, 0);
        grid->addWidget(buildField(f, holder), row, 1);
    }
    if (m_form.twoColumns())
        column->addStretch(1);
}

// The check box that shows the input's contents and the button that fills output names.
void ToolDialog::addOptionButtons(QHBoxLayout* buttons)
{
    if (!m_form.viewLabel.empty()) {
        m_viewCheck = new QCheckBox(qs(m_form.viewLabel), this);
        connect(m_viewCheck, &QCheckBox::toggled, this, [this] { refreshView(); });
        m_controls.push_back(m_viewCheck);
        buttons->addWidget(m_viewCheck);
    }
    if (!m_form.nameRules.empty()) {
        auto* names = new QPushButton(QString::fromUtf8("Jména souborů"), this);
        names->setToolTip(qs(m_form.nameButtonTooltip));
        connect(names, &QPushButton::clicked, this, [this] { fillNames(); });
        m_controls.push_back(names);
        buttons->addWidget(names);
    }
}

QWidget* ToolDialog::buildProgress()
{
    QWidget* holder;
    if (!m_form.progressTitle.empty())
        holder = new QGroupBox(qs(m_form.progressTitle), this);
    else
        holder = new QWidget(this);
    auto* layout = new QVBoxLayout(holder);
    for (QLabel*& s : m_status) {
        s = new QLabel(holder);
        layout->addWidget(s);
    }
    m_progress = new QProgressBar(holder);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    layout->addWidget(m_progress);
    return holder;
}

void ToolDialog::addRunButtons(QHBoxLayout* buttons)
{
    buttons->addStretch(1);
    m_run = new QPushButton(qs(m_form.runLabel), this);
    m_run->setToolTip(qs(m_form.runTooltip));
    m_run->setDefault(true);
    m_cancel = new QPushButton(QString::fromUtf8("Přerušit"), this);
    m_cancel->setEnabled(false);
    m_close = new QPushButton(qs(m_form.closeLabel), this);
    connect(m_run, &QPushButton::clicked, this, [this] { onRun(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { requestCancel(); });
    connect(m_close, &QPushButton::clicked, this, [this] { reject(); });
    m_controls.push_back(m_run);
    m_controls.push_back(m_close);
    buttons->addWidget(m_run);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_close);
}

// A control of the field that the dialog enables and disables as a whole.
void ToolDialog::track(Field& f, QWidget* w)
{
    f.widgets.push_back(w);
    m_controls.push_back(w);
}

QWidget* ToolDialog::buildField(Field& f, QWidget* parent)
{
    const FormField& fs = *f.form;
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    switch (fs.kind) {
    case FieldKind::Check:
        f.check = new QCheckBox(qs(fs.label), box);
        f.check->setToolTip(qs(fs.tooltip));
        connect(f.check, &QCheckBox::toggled, this, [this] { applyRules(); });
        row->addWidget(f.check);
        track(f, f.check);
        break;
    case FieldKind::Choice: buildChoice(f, box, row); break;
    case FieldKind::List:
    case FieldKind::DbfColumn:
    case FieldKind::DbfColumnName:
    case FieldKind::Substance: buildList(f, box, row); break;
    case FieldKind::ValueList:
        f.list = new QListWidget(box);
        f.list->setMaximumHeight(90);
        row->addWidget(f.list, 1);
        track(f, f.list);
        break;
    default: buildEdit(f, box, row); break;
    }
    addFieldButtons(f, box, row);
    return box;
}

void ToolDialog::buildChoice(Field& f, QWidget* box, QHBoxLayout* row)
{
    const FormField& fs = *f.form;
    if (!fs.label.empty()) {
        auto* caption = new QLabel(qs(fs.label), box);
        row->addWidget(caption);
        f.widgets.push_back(caption);
    }
    f.choice = new QButtonGroup(box);
    const std::vector<std::string_view>& tips = fs.optionTips;
    const std::vector<std::string_view>& options = fs.options;
    // A long choice wraps into rows of three, so that the dialog fits a laptop screen.
    auto* rows = options.size() > 4 ? new QGridLayout : nullptr;
    if (rows)
        row->addLayout(rows);
    int i = 0;
    for (std::string_view option : options) {
        auto* radio = new QRadioButton(qs(option), box);
        if (static_cast<std::size_t>(i) < tips.size())
            radio->setToolTip(qs(tips[static_cast<std::size_t>(i)]));
        if (rows)
            rows->addWidget(radio, i / 3, i % 3);
        else
            row->addWidget(radio);
        f.choice->addButton(radio, i++);
        track(f, radio);
    }
    connect(f.choice, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            applyRules();
    });
    if (setBySubstance(*f.form->param))
        connect(f.choice, &QButtonGroup::buttonClicked, this, [this] { markSubstance(); });
    row->addStretch(1);
}

// Drop-down lists: fixed items, a DBF file's columns, or the pollutants with their + and - buttons.
void ToolDialog::buildList(Field& f, QWidget* box, QHBoxLayout* row)
{
    const FormField& fs = *f.form;
    f.combo = new QComboBox(box);
    f.combo->setToolTip(qs(fs.tooltip));
    f.combo->setMinimumWidth(m_form.twoColumns() ? 200 : 260);
    for (std::string_view option : fs.options)
        f.combo->addItem(qs(option));
    f.combo->setEditable(fs.kind == FieldKind::DbfColumnName);
    row->addWidget(f.combo, 1);
    track(f, f.combo);
    if (fs.kind != FieldKind::Substance)
        return;
    connect(f.combo, &QComboBox::activated, this, [this](int index) { selectSubstance(index); });
    auto* add = new QToolButton(box);
    add->setText("+");
    add->setToolTip(QString::fromUtf8("Nový záznam s údaji o znečišťující látce"));
    auto* del = new QToolButton(box);
    del->setText("-");
    del->setToolTip(QString::fromUtf8("Smazání vybraného záznamu"));
    const std::size_t index = m_fields.size() - 1;
    connect(add, &QToolButton::clicked, this, [this, index] { addSubstance(m_fields[index]); });
    connect(del, &QToolButton::clicked, this, [this, index] { deleteSubstance(m_fields[index]); });
    row->addWidget(add);
    row->addWidget(del);
    track(f, add);
    track(f, del);
}

// Text, numbers and paths (with a browse button).
void ToolDialog::buildEdit(Field& f, QWidget* box, QHBoxLayout* row)
{
    const FormField& fs = *f.form;
    f.edit = new QLineEdit(box);
    f.edit->setToolTip(isPath(fs.kind) ? QString() : qs(fs.tooltip));
    // Two columns share the width of a laptop screen.
    f.edit->setMinimumWidth(isPath(fs.kind) ? (m_form.twoColumns() ? 200 : 320) : 100);
    row->addWidget(f.edit, 1);
    track(f, f.edit);
    if (setBySubstance(*f.form->param))
        connect(f.edit, &QLineEdit::textEdited, this, [this] { markSubstance(); });
    if (isPath(fs.kind)) {
        auto* browseButton = new QToolButton(box);
        browseButton->setText("...");
        browseButton->setToolTip(!fs.tooltip.empty() ? qs(fs.tooltip) : qs(fs.fileTitle));
        const std::size_t index = m_fields.size() - 1;
        connect(browseButton, &QToolButton::clicked, this, [this, index] { browse(m_fields[index]); });
        row->addWidget(browseButton);
        track(f, browseButton);
    }
    if (std::any_of(m_form.nameRules.begin(), m_form.nameRules.end(),
                    [&](const NameRule& r) { return r.follows && r.from == fs.key(); }))
        connect(f.edit, &QLineEdit::editingFinished, this,
                [this, key = std::string(fs.key())] { fillFollowingNames(key); });
    if (std::any_of(m_form.fields.begin(), m_form.fields.end(), [&](const FormField& other) {
            return other.kind == FieldKind::DbfColumnName && other.columnsOf == fs.key();
        }))
        connect(f.edit, &QLineEdit::editingFinished, this, [this, key = std::string(fs.key())] {
            // a typed table offers its columns to the fields that name one
            for (Field& other : m_fields)
                if (other.form->kind == FieldKind::DbfColumnName && other.form->columnsOf == key)
                    fillDbfColumns(other);
        });
    if (!m_form.viewKey.empty() && m_form.viewKey == fs.key())
        connect(f.edit, &QLineEdit::editingFinished, this, [this] {
            // Leaving the field unchanged (a click on "zobrazit hodnoty") re-reads nothing,
            // so the click is not lost to controls disabled by a reading.
            if (value(m_form.viewKey) != m_viewedPath)
                refreshView();
        });
}

void ToolDialog::addFieldButtons(Field& f, QWidget* parent, QHBoxLayout* row)
{
    const std::size_t index = m_fields.size() - 1;
    for (const FieldButton& b : f.form->buttons) {
        auto* button = new QToolButton(parent);
        button->setText(buttonText(b.action));
        if (!b.tooltip.empty())
            button->setToolTip(qs(b.tooltip));
        const FieldAction* action = &b.action;
        connect(button, &QToolButton::clicked, this, [this, index, action] { onButton(m_fields[index], *action); });
        row->addWidget(button);
        f.widgets.push_back(button);
        m_controls.push_back(button);
    }
}

ToolDialog::Field* ToolDialog::findRole(ParamRole role, int nth)
{
    for (Field& f : m_fields)
        if (f.form->param->role == role && nth-- == 0)
            return &f;
    return nullptr;
}

ToolDialog::Field* ToolDialog::find(std::string_view key)
{
    for (Field& f : m_fields)
        if (key == f.form->key())
            return &f;
    return nullptr;
}

const ToolDialog::Field* ToolDialog::find(std::string_view key) const
{
    return const_cast<ToolDialog*>(this)->find(key);
}

QWidget* ToolDialog::fieldWidget(std::string_view key) const
{
    const Field* f = find(key);
    if (!f)
        return nullptr;
    if (f->edit)
        return f->edit;
    if (f->check)
        return f->check;
    if (f->combo)
        return f->combo;
    if (f->list)
        return f->list;
    return f->choice ? f->choice->button(0) : nullptr;
}

QString ToolDialog::value(std::string_view key) const
{
    const Field* f = find(key);
    if (!f)
        return {};
    if (f->check)
        return f->check->isChecked() ? "1" : "0";
    if (f->choice)
        return QString::number(std::max(0, f->choice->checkedId()));
    if (f->combo && f->form->kind == FieldKind::Substance && f->combo->currentIndex() < 0)
        return f->loaded;  // class and limits of no entry: the stored position stays
    if (f->combo && f->form->kind == FieldKind::DbfColumnName)
        return f->combo->currentText().trimmed();
    if (f->combo)
        return QString::number(std::max(0, f->combo->currentIndex()));
    if (f->list) {
        QStringList items;
        for (int i = 0; i < f->list->count(); ++i)
            items << f->list->item(i)->text();
        return items.join(';');
    }
    QString text = f->edit->text().trimmed();
    if (f->form->kind == FieldKind::Decimal)
        text.replace(',', '.');
    return text;
}

void ToolDialog::setValue(std::string_view key, const QString& v)
{
    Field* f = find(key);
    if (!f)
        return;
    if (f->check) {
        f->check->setChecked(v.trimmed() == "1");
    } else if (f->choice) {
        QAbstractButton* b = f->choice->button(v.toInt());
        if (!b)
            b = f->choice->button(0);
        if (b)
            b->setChecked(true);
    } else if (f->list) {
        f->list->clear();
        for (const QString& item : v.split(';', Qt::SkipEmptyParts))
            f->list->addItem(item.trimmed());
    } else if (f->combo && f->form->kind == FieldKind::DbfColumnName) {
        f->combo->setCurrentText(v.trimmed());
    } else if (f->combo) {
        int i = v.toInt();
        f->combo->setCurrentIndex(i >= 0 && i < f->combo->count() ? i : (f->combo->count() ? 0 : -1));
    } else {
        f->edit->setText(v);
    }
    applyRules();
}

void ToolDialog::loadFields()
{
    for (Field& f : m_fields) {
        const FormField& fs = *f.form;
        const ParamInfo& p = *f.form->param;
        QString v = qs(m_project.readString(p.section, p.key, p.def));
        if (fs.kind == FieldKind::Substance) {
            f.loaded = v;
            loadSubstances(f, v.toLong());
            continue;
        }
        if (fs.listsColumns())
            fillDbfColumns(f);
        setValue(fs.key(), v);
    }
    applyRules();
    markSubstance();
}

void ToolDialog::saveFields()
{
    for (const Field& f : m_fields) {
        const ParamInfo& p = *f.form->param;
        m_project.writeString(p.section, p.key, value(p.key).toStdString(), m_reporter);
        if (const ParamInfo* text = f.combo ? f.form->textParam : nullptr)
            m_project.writeString(text->section, text->key, f.combo->currentText().toStdString(), m_reporter);
    }
}

bool ToolDialog::conditionsHold(const std::vector<FieldCondition>& conditions) const
{
    for (const FieldCondition& c : conditions) {
        const QString current = value(c.key);
        bool any = false;
        for (const std::string& allowed : c.values)
            any = any || current == qs(allowed);
        if (!any)
            return false;
    }
    return true;
}

void ToolDialog::applyRules()
{
    if (running())
        return;
    for (Field& f : m_fields) {
        bool on = conditionsHold(f.form->enabledWhen);
        for (QWidget* w : f.widgets)
            w->setEnabled(on);
        if (f.label && !f.form->altLabel.empty())
            f.label->setText(qs(conditionsHold(f.form->altLabelWhen) ? f.form->altLabel : f.form->label));
    }
}

void ToolDialog::setRunning(bool on)
{
    for (QWidget* w : m_controls)
        w->setEnabled(!on);
    m_cancel->setEnabled(on);
    if (!on)
        applyRules();
}

void ToolDialog::showStatus(int line, const QString& text)
{
    m_status[line]->setText(text);
}

void ToolDialog::showProgress(long value, long maximum)
{
    // QProgressBar counts in int; long runs are scaled into its range.
    long scale = 1;
    while (maximum / scale > 1000000)
        scale *= 10;
    m_progress->setRange(0, static_cast<int>(std::max(1L, maximum / scale)));
    m_progress->setValue(static_cast<int>(std::clamp(value / scale, 0L, std::max(1L, maximum / scale))));
}

QString ToolDialog::outputText() const
{
    return m_results ? m_results->text() : QString();
}

// The run's tables; a tool that gives only lines (a summary) has them shown as the first list.
std::vector<ResultTable> ToolDialog::shownTables(ToolResult result) const
{
    if (!result.tables.empty() || result.lines.empty() || m_form.outputTitles.empty())
        return std::move(result.tables);
    ResultTable summary;
    summary.title = m_form.outputTitles.front();
    for (std::string& line : result.lines)
        summary.addLine(std::move(line));
    return {std::move(summary)};
}

void ToolDialog::showTables(std::vector<ResultTable> tables)
{
    if (!m_results)
        return;
    if (!tables.empty()) {
        m_results->setTables(std::move(tables));
        return;
    }
    // Before a run, or a run that gave nothing to show: empty lists.
    QStringList titles;
    for (std::string_view t : m_form.outputTitles)
        titles << qs(t);
    m_results->showEmpty(titles);
}

QString ToolDialog::statusText(int line) const
{
    return m_status[line]->text();
}

ToolStatus ToolDialog::runTool(const std::vector<std::string>& extraArgs, bool unattended)
{
    const ToolEntry* tool = findTool(m_form.id);
    if (!tool || running())
        return ToolStatus::Failed;
    saveFields();
    std::vector<std::string> args = extraArgs;
    if (m_form.beforeRun == BeforeRun::ChooseDbfColumns && !unattended && !chooseDbfColumns(args))
        return ToolStatus::Declined;
    QWidget* mainWindow = parentWidget() ? parentWidget()->window() : nullptr;
    const Field* minimized = findRole(ParamRole::RunMinimized);
    bool minimize = minimized && value(minimized->form->key()) == "1" && mainWindow;
    if (minimize)
        mainWindow->showMinimized();
    for (QLabel* s : m_status)
        s->clear();
    m_progress->setValue(0);
    setRunning(true);
    m_reporter.setUnattended(unattended);
    CollectingSink result;
    ToolCall call{&m_project, m_profile, args, RunContext{m_reporter, unattended, m_project.path(), m_profile.path()},
                  result};
    call.provide(m_services);
    ToolStatus status = m_reporter.run([&] { return runWithArgs(*tool, call); });
    m_lastStatus = status;
    if (!call.usageError.empty())
        m_reporter.error(call.usageError);
    setRunning(false);
    if (m_reporter.cancelled() && status != ToolStatus::Done)
        m_status[1]->setText(QString::fromUtf8("Výpočet byl přerušen."));
    // A run that stopped leaves no angle of its progress in the title.
    if (status != ToolStatus::Done)
        setWindowTitle(qs(m_form.title));
    else if (!m_form.doneStatus.empty())
        m_status[0]->setText(qs(m_form.doneStatus));
    if (minimize)
        mainWindow->showNormal();
    if (m_results)
        showTables(shownTables(std::move(result.result)));
    if (m_closeAfterRun)
        QDialog::reject();
    return status;
}

void ToolDialog::onRun()
{
    runTool();
}

void ToolDialog::reject()
{
    if (editorRunning())
        return;  // an editor opened from this dialog holds the user's work
    if (running()) {
        // Closing a running tool cancels it; the dialog closes once the tool has stopped.
        m_closeAfterRun = true;
        requestCancel();
        return;
    }
    QDialog::reject();
}

void ToolDialog::closeEvent(QCloseEvent* e)
{
    if (running()) {
        e->ignore();
        reject();
        return;
    }
    QDialog::closeEvent(e);
}

void ToolDialog::browse(Field& f)
{
    const FormField& fs = *f.form;
    QString start = f.edit->text();
    QString chosen = fs.kind == FieldKind::OpenFile
        ? QFileDialog::getOpenFileName(this, qs(fs.fileTitle), start, qs(qtFilter(fs.filter)))
        : QFileDialog::getSaveFileName(this, qs(fs.fileTitle), start, qs(qtFilter(fs.filter)), nullptr,
                                       QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return;
    f.edit->setText(chosen);
    fillFollowingNames(fs.key());
    if (!m_form.viewKey.empty() && m_form.viewKey == fs.key())
        refreshView();
    for (Field& other : m_fields)
        if (other.form->listsColumns() && other.form->columnsOf == fs.key())
            fillDbfColumns(other);
}

void ToolDialog::fillNames()
{
    for (const NameRule& rule : m_form.nameRules) {
        std::string name = applyNameRule(rule, value(rule.from).toStdString());
        if (!name.empty())
            setValue(rule.to, qs(name));
    }
}

void ToolDialog::fillFollowingNames(std::string_view inputKey)
{
    for (const NameRule& rule : m_form.nameRules)
        if (rule.follows && rule.from == inputKey) {
            std::string name = applyNameRule(rule, value(rule.from).toStdString());
            if (!name.empty() && value(rule.to).toStdString() != name)
                setValue(rule.to, qs(name));
        }
}

void ToolDialog::refreshView()
{
    if (!m_results || !m_viewCheck)
        return;
    if (m_reporter.running()) {
        m_viewStale = true;  // read again once the reading under way has ended
        return;
    }
    // The controls stay enabled while the file is read (a run waits for the reading), so a
    // click on "zobrazit hodnoty" is never swallowed by a disabled box.
    do {
        m_viewStale = false;
        QString path = value(m_form.viewKey);
        m_viewedPath = path;
        const ToolEntry* tool = findTool(m_form.viewCommand);
        const bool checked = m_viewCheck->isChecked();
        if (path.isEmpty() || !tool || (!checked && m_form.viewUncheckedArg.empty())) {
            showTables({});
            continue;
        }
        std::vector<std::string> args{path.toStdString()};
        if (!checked)
            args.emplace_back(m_form.viewUncheckedArg);
        CollectingSink result;
        ToolCall call{nullptr, m_profile, args, RunContext{m_reporter, false}, result};
        call.provide(m_services);
        m_reporter.setUnattended(false);
        m_reporter.run([&] { return runWithArgs(*tool, call); });
        showTables(std::move(result.result.tables));
    } while (m_viewStale);
    if (m_closeAfterRun)
        QDialog::reject();
}

}  // namespace ovd::mainui
