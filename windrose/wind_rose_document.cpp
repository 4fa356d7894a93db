#include "wind_rose_document.h"

#include "common/numbers.h"
#include "common/paths.h"
#include "common/project_paths.h"
#include "common/reporter_wrapper.h"
#include "common/settings_file.h"
#include "common/text.h"
#include "wind_rose_table_file.h"

namespace ovd {

namespace {

// Passes messages on and answers Yes: the total question was already asked and answered.
class ConfirmedReporter : public ReporterWrapper {
public:
    using ReporterWrapper::ReporterWrapper;
    Answer ask(const Question&) override { return Answer::Yes; }
};

}  // namespace

void WindRoseDocument::setComment(std::string text)
{
    if (text != m_comment)
        m_changed = true;
    m_comment = std::move(text);
}

void WindRoseDocument::start(const std::string& file, bool bound, const std::string& projectPath, Reporter& reporter)
{
    m_projectPath = projectPath;
    m_bound = bound && !file.empty();
    if (m_bound && !fileExists(file)) {
        m_grid.clearRose();
        m_comment.clear();
        m_path = file;
        m_changed = false;
        return;
    }
    if (!file.empty())
        open(file, reporter);
}

bool WindRoseDocument::open(const std::string& file, Reporter& reporter)
{
    WindRoseTable table;  // all zero: rows the file does not reach stay 0
    std::size_t rows = 0;
    if (!loadWindRoseTable(file, table, reporter, &rows))
        return false;
    m_grid.clearRose();
    m_grid.loadFrom(table);
    m_comment = table.comment;
    m_path = file;
    m_changed = false;
    if (rows < kWindRoseRows)
        reporter.message(Severity::Warning, kOpenCaption,
                         cformat("Soubor obsahuje jen %zu z 11 řádků hodnot, chybějící řádky jsou nulové.", rows));
    return true;
}

bool WindRoseDocument::save(bool safeSave, Reporter& reporter, const std::function<std::string()>& chooseTarget)
{
    WindRoseTable table;
    m_grid.storeTo(table);
    table.comment = m_comment;
    if (m_grid.secondTotal() != kHundredPercent && !confirmTotalNot100(safeSave, reporter))
        return false;
    std::string target = m_bound ? m_path : (chooseTarget ? chooseTarget() : std::string());
    if (target.empty())
        return false;
    ConfirmedReporter confirmed(reporter);
    if (!saveWindRoseTable(target, table, false, confirmed))
        return false;
    if (!m_projectPath.empty())
        SettingsFile(m_projectPath).writeString("Global", kProjectRoseKey, pathForProject(target, m_projectPath), reporter);
    m_path = target;
    m_changed = false;
    return true;
}

bool WindRoseDocument::confirmClose(Reporter& reporter, const std::function<std::string()>& chooseTarget)
{
    if (!m_changed)
        return true;
    Question q{std::string(kCaptionWarning), std::string(kSaveChangesQuestion),
               m_bound ? Buttons::YesNo : Buttons::YesNoCancel, Answer::Yes};
    switch (reporter.ask(q)) {
    case Answer::Yes: return save(false, reporter, chooseTarget);
    case Answer::No: return true;
    case Answer::Cancel: break;
    }
    return false;
}

std::string WindRoseDocument::windowTitle(std::string_view applicationTitle) const
{
    return std::string(applicationTitle) + " - [" + m_path + "]";
}

}  // namespace ovd
