#include "rename_journal.h"

namespace ovd {

namespace {

constexpr std::string_view kJournalHeader = "ovardix rename journal 1\n";
constexpr std::string_view kJournalEnd = "end\n";
constexpr std::string_view kTempInfix = ".ovdtmp.";

void (*g_renameHook)() = nullptr;

std::string folderPart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A step the journal may replay: a temporary file of our naming beside its target.
bool replayable(const std::string& from, const std::string& to)
{
    return !from.empty() && !to.empty() && folderPart(from) == folderPart(to) &&
        from.rfind(to + std::string(kTempInfix), 0) == 0 && from.find('\n') == std::string::npos;
}

}  // namespace

std::string journalOf(const std::string& target)
{
    return target + std::string(kJournalSuffix);
}

std::string journalText(const std::vector<RenameStep>& steps)
{
    std::string text(kJournalHeader);
    for (const RenameStep& s : steps)
        text += std::string(s.from) + "\t" + s.to + "\n";
    text += kJournalEnd;
    return text;
}

JournalSteps readJournalText(const std::string& text)
{
    JournalSteps out;
    const bool whole = text.rfind(kJournalHeader, 0) == 0 && text.size() >= kJournalEnd.size() &&
        text.compare(text.size() - kJournalEnd.size(), kJournalEnd.size(), kJournalEnd) == 0;
    out.valid = whole;
    if (!whole)
        return out;
    std::size_t at = kJournalHeader.size();
    const std::size_t end = text.size() - kJournalEnd.size();
    while (at < end) {
        const std::size_t nl = text.find('\n', at);
        const std::string line = text.substr(at, nl - at);
        at = nl + 1;
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos || !replayable(line.substr(0, tab), line.substr(tab + 1))) {
            out.valid = false;
            break;
        }
        out.steps.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return out;
}

void (*renameHook())()
{
    return g_renameHook;
}

void setRenameHookForTests(void (*hook)())
{
    g_renameHook = hook;
}

}  // namespace ovd
