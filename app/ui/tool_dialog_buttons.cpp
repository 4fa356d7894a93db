// The buttons beside a tool dialog's fields: other tools and the editors, the pollutant
// list, the DBF column lists and the isoline value list.
#include "tool_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include <cmath>

#include "common/dbf_reader.h"
#include "common/numbers.h"
#include "dbf_column_dialog.h"
#include "editor_launch.h"
#include "geotools/dbf_export.h"
#include "geotools/isolines.h"
#include "inputs/conversion.h"
#include "model/substances.h"
#include "substance_dialog.h"
#include "ui_common/qt_text.h"

namespace ovd::mainui {

void ToolDialog::fillDbfColumns(Field& f)
{
    const int keep = f.combo->currentIndex();
    const QString name = f.combo->currentText();  // a column by name stays as typed
    f.combo->clear();
    std::string path = value(f.form->columnsOf).toStdString();
    if (!path.empty())
        if (auto table = DbfTable::load(path))
            for (const DbfFieldInfo& field : table->fields())
                f.combo->addItem(qs(field.shortName()).trimmed());
    if (f.form->kind == FieldKind::DbfColumnName)
        f.combo->setCurrentText(name);
    else if (keep >= 0 && keep < f.combo->count())
        f.combo->setCurrentIndex(keep);
}

bool ToolDialog::chooseDbfColumns(std::vector<std::string>& args)
{
    using S = DbfExportSettings;
    if (value(keyOf(&S::target)) != QString::number(static_cast<int>(DbfExportTarget::Text)))
        return true;
    auto table = DbfTable::load(value(keyOf(&S::input)).toStdString());
    if (!table)
        return true;  // the export itself reports the file that cannot be opened
    std::vector<std::string> labels;
    for (std::size_t i = 0; i < table->fields().size(); ++i)
        labels.push_back(cformat("%02d .. %s", static_cast<int>(i + 1), table->fields()[i].shortName().c_str()));
    std::optional<std::vector<int>> chosen = chooseColumns(labels, this);
    if (!chosen)
        return false;
    if (!chosen->empty()) {
        std::string list;
        for (int c : *chosen)
            list += (list.empty() ? "" : ",") + std::to_string(c);
        args = {"--columns", list};
    }
    return true;
}

void ToolDialog::rereadColumns(Field& f)
{
    // Re-reads the field names of the input, reporting a file that cannot be read.
    std::optional<std::vector<std::string>> names =
        isolineColumnNames(value(f.form->columnsOf).toStdString(), m_reporter);
    f.combo->clear();
    for (const std::string& n : names.value_or(std::vector<std::string>{}))
        f.combo->addItem(qs(n));
    f.combo->setCurrentIndex(f.combo->count() ? 0 : -1);
}

void ToolDialog::changeNominalList(bool add)
{
    using S = IsolineSettings;
    const std::string_view listKey = keyOf(&S::nominalList);
    S s;
    s.nominalList = value(listKey).toStdString();
    if (add) {
        s.nominalValue = parseDouble(value(keyOf(&S::nominalValue)).toStdString()).value_or(0.0);
        if (!s.addNominalValue(m_reporter))
            return;
    } else {
        Field* list = find(listKey);
        if (!list || list->list->currentRow() < 0)
            return;
        s.removeNominalValue(static_cast<std::size_t>(list->list->currentRow()));
    }
    setValue(listKey, qs(s.nominalList));
}

void ToolDialog::onButton(Field& f, const FieldAction& action)
{
    if (const auto* open = std::get_if<OpenTool>(&action))
        openFromField(f, *open);
    else if (const auto* editor = std::get_if<LaunchEditor>(&action))
        launchFromField(editor->editor);
    else if (std::holds_alternative<RereadColumns>(action))
        rereadColumns(f);
    else
        changeNominalList(std::holds_alternative<AddNominal>(action));
}

void ToolDialog::openFromField(Field& f, const OpenTool& open)
{
    QString path = value(f.form->key());
    if (!open.needsValue.empty() && path.isEmpty()) {
        m_reporter.error(open.needsValue);
        return;
    }
    saveFields();
    if (open.passTo)
        m_project.writeString(open.passTo->section, open.passTo->key, path.toStdString(), m_reporter);
    std::optional<QString> result = openTool(open.tool, m_project, m_profile, m_services, this);
    // The opened tool may have written keys this dialog shows.
    loadFields();
    if (result && !result->isEmpty() && f.edit)
        f.edit->setText(*result);
}

void ToolDialog::launchFromField(Editor editor)
{
    saveFields();
    QString project = qs(m_project.path());
    if (editor == Editor::WindRose) {
        runEditor(windRoseEditor(project), prompterOf(m_services), window());
        loadFields();
        return;
    }
    using S = ConversionSettings;
    const QString sources = value(keyOf(&S::sourcesText)), description = value(keyOf(&S::descriptionText));
    const QString dust = value(keyOf(&S::dustText)), groups = value(keyOf(&S::dustGroupsText));
    if (sources.isEmpty())
        return m_reporter.error("Nebyl zadán vstupní TXT soubor se zdroji !");
    if (description.isEmpty())
        return m_reporter.error("Nebyl zadán vstupní TXT soubor s popisem zdrojů !");
    if (value(keyOf(&S::dust)) == "1" && dust.isEmpty())
        return m_reporter.error("Nebyl zadán vstupní TXT soubor s popisem prachu !");
    runEditor(sourcesEditorOnFiles(sources, description, dust, groups, project), prompterOf(m_services), window());
    loadFields();
}

void ToolDialog::loadSubstances(Field& f, long position)
{
    SubstanceList list = SubstanceList::load(m_profile);
    f.combo->clear();
    f.combo->setPlaceholderText(QString::fromUtf8("(vlastní třída a koncentrace)"));
    for (const std::string& e : list.entries())
        f.combo->addItem(qs(e));
    std::optional<std::size_t> at = list.selectedIndex(position);
    f.combo->setCurrentIndex(at ? static_cast<int>(*at) : -1);
}

void ToolDialog::selectSubstance(int index)
{
    Field* f = findRole(ParamRole::SubstancePosition);
    if (!f || index < 0)
        return;
    std::optional<Substance> s = parseSubstanceEntry(f->combo->itemText(index).toStdString());
    if (!s)
        return;
    if (Field* cls = findRole(ParamRole::SubstanceClass))
        setValue(cls->form->key(), QString::number(s->substanceClass - 1));
    for (int i = 0; i < 3; ++i)
        if (Field* limit = findRole(ParamRole::SubstanceLimit, i))
            setValue(limit->form->key(), qs(cformat("%g", s->limits[static_cast<std::size_t>(i)])));
    markSubstance();
}

void ToolDialog::markSubstance()
{
    Field* f = findRole(ParamRole::SubstancePosition);
    if (!f)
        return;
    const Field* cls = findRole(ParamRole::SubstanceClass);
    auto matches = [&](int index) {
        std::optional<Substance> s = parseSubstanceEntry(f->combo->itemText(index).toStdString());
        if (!s || !cls || value(cls->form->key()) != QString::number(s->substanceClass - 1))
            return false;
        for (std::size_t i = 0; i < 3; ++i) {
            const Field* field = findRole(ParamRole::SubstanceLimit, static_cast<int>(i));
            if (!field)
                continue;
            std::optional<double> limit = parseDouble(value(field->form->key()).toStdString());
            if (!limit || std::fabs(*limit - s->limits[i]) > 1e-9 * std::max(1.0, std::fabs(*limit)))
                return false;
        }
        return true;
    };
    int current = f->combo->currentIndex();
    int found = current >= 0 && matches(current) ? current : -1;
    for (int i = 0; i < f->combo->count() && found < 0; ++i)
        if (matches(i))
            found = i;
    f->combo->setCurrentIndex(found);
    f->combo->setToolTip(found < 0 ? QString::fromUtf8("Třída látky a koncentrace jsou zadány ručně, neodpovídají "
                                                       "žádné látce ze seznamu.")
                                   : QString());
}

void ToolDialog::addSubstance(Field& f)
{
    std::optional<Substance> s = askNewSubstance(this);
    if (!s)
        return;
    std::optional<std::size_t> at;
    // Under the list's lock, so an entry added meanwhile by another program is kept.
    SubstanceList::update(m_profile, m_reporter, [&](SubstanceList& list) {
        at = list.add(*s, m_reporter);
        return at.has_value();
    });
    if (!at)
        return;
    loadSubstances(f, static_cast<long>(*at));
    selectSubstance(static_cast<int>(*at));
}

void ToolDialog::deleteSubstance(Field& f)
{
    int index = f.combo->currentIndex();
    if (index < 0)
        return;
    Question q{std::string(kDeleteSubstanceCaption), std::string(kDeleteSubstanceQuestion), Buttons::YesNo,
               Answer::Yes};
    if (m_reporter.ask(q) != Answer::Yes)
        return;
    std::size_t left = 0;
    bool removed = SubstanceList::update(m_profile, m_reporter, [&](SubstanceList& list) {
        bool ok = list.remove(static_cast<std::size_t>(index));
        left = list.entries().size();
        return ok;
    });
    if (!removed)
        return;
    loadSubstances(f, std::min<long>(index, static_cast<long>(left) - 1));
    selectSubstance(f.combo->currentIndex());
}

std::optional<QString> openTool(std::string_view id, Project& project, const Profile& profile, const Services& services,
                                QWidget* parent)
{
    const ToolForm* form = findToolForm(id);
    if (!form)
        return std::nullopt;
    ToolDialog dialog(*form, project, profile, services, parent);
    dialog.exec();
    if (!form->resultKey.empty() && dialog.lastStatus() == ToolStatus::Done)
        return dialog.value(form->resultKey);
    return std::nullopt;
}

}  // namespace ovd::mainui
