#include <windows.h>

#include <optional>
#include <string>

#include "platform.h"
#include "platform_win32.h"
#include "rename_journal.h"

namespace ovd {

// Windows has no fork: a process killed between two renames cannot have a child finish the
// set. The journal beside every target is what finishes it instead: the next run that writes
// any of the targets (finishInterruptedRenames, called before every output is opened) renames
// the temporary files the killed run left over their targets, so the set is the new one whole.

namespace {

// Open without sharing: no other process can open the file while the handle lives, which is
// how a run tells a live run's journal or temporary file from one a killed run left.
HANDLE openAlone(const std::wstring& path, DWORD access)
{
    return CreateFileW(path.c_str(), access, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// The journals of one set, held open and on the disk while its renames run.
class Journals {
public:
    explicit Journals(const std::vector<RenameStep>& steps)
    {
        const std::string text = journalText(steps);
        for (const RenameStep& s : steps) {
            const std::string path = journalOf(s.to);
            const std::wstring wide = widePath(path);
            HANDLE h = wide.empty() ? INVALID_HANDLE_VALUE
                                    : CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr);
            if (h == INVALID_HANDLE_VALUE)
                continue;  // best effort: the renames follow at once
            DWORD written = 0;
            if (WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size())
                FlushFileBuffers(h);
            m_handles.push_back(h);
            m_paths.push_back(path);
        }
    }
    ~Journals()
    {
        for (HANDLE h : m_handles)
            CloseHandle(h);
        for (const std::string& p : m_paths)
            removeFile(p);
    }
    Journals(const Journals&) = delete;
    Journals& operator=(const Journals&) = delete;

private:
    std::vector<HANDLE> m_handles;
    std::vector<std::string> m_paths;
};

std::optional<std::string> readAll(HANDLE h)
{
    LARGE_INTEGER size{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size) || size.QuadPart > (1 << 20))
        return std::nullopt;
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!text.empty() && !ReadFile(h, text.data(), static_cast<DWORD>(text.size()), &got, nullptr))
        return std::nullopt;
    text.resize(got);
    return text;
}

}  // namespace

void finishInterruptedRenames(const std::string& target)
{
    const std::string path = journalOf(target);
    const std::wstring wide = widePath(path);
    if (wide.empty())
        return;
    HANDLE h = openAlone(wide, GENERIC_READ);
    if (h == INVALID_HANDLE_VALUE)
        return;  // none, or a live run's
    const std::optional<std::string> text = readAll(h);
    CloseHandle(h);
    if (!text)
        return;  // not ours
    const JournalSteps read = readJournalText(*text);
    // Every temporary file was complete on the disk before the journal: the set goes forward.
    if (read.valid)
        for (const auto& [from, to] : read.steps) {
            // A temporary file a live writer holds (a new run's of the same name) is not the set's.
            const std::wstring wideFrom = widePath(from);
            HANDLE t = wideFrom.empty() ? INVALID_HANDLE_VALUE : openAlone(wideFrom, GENERIC_READ);
            if (t == INVALID_HANDLE_VALUE)
                continue;
            const bool disk = GetFileType(t) == FILE_TYPE_DISK;
            CloseHandle(t);
            if (disk)
                replaceFile(from, to);
        }
    for (const auto& step : read.steps)
        if (journalOf(step.second) != path)
            removeFile(journalOf(step.second));
    removeFile(path);
}

std::vector<char> renameTogether(const std::vector<RenameStep>& steps)
{
    std::vector<char> done(steps.size(), 0);
    std::optional<Journals> journals;
    if (steps.size() > 1)
        journals.emplace(steps);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        done[i] = replaceFile(steps[i].from, steps[i].to) ? 1 : 0;
        if (!done[i])
            removeFile(steps[i].from);
        if (renameHook() && i + 1 < steps.size())
            renameHook()();
    }
    return done;
}

}  // namespace ovd
