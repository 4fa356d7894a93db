#pragma once
// The wind rose the editor works on: the table, its comment, the file it came from or
// goes to, the changed flag, and whether the editor is bound to one file. Opening,
// saving and the question on closing talk to the user through the Reporter.
#include <functional>
#include <string>

#include "common/reporter.h"
#include "wind_rose_grid.h"

namespace ovd {

inline constexpr std::string_view kSaveChangesQuestion = "Uložit změny ?";
inline constexpr std::string_view kProjectRoseKey = "VstRuziceTxt";

class WindRoseDocument {
public:
    WindRoseGrid& grid() { return m_grid; }
    const WindRoseGrid& grid() const { return m_grid; }
    const std::string& comment() const { return m_comment; }
    void setComment(std::string text);
    const std::string& path() const { return m_path; }
    bool changed() const { return m_changed; }
    void setChanged(bool changed) { m_changed = changed; }
    bool bound() const { return m_bound; }
    const std::string& projectPath() const { return m_projectPath; }

    // The start: a bound editor needs a file name (else it starts free); its file may
    // not exist yet, the first save creates it. A free editor with a file opens it.
    void start(const std::string& file, bool bound, const std::string& projectPath, Reporter&);

    // Clears the rose and the comment, then reads the file; a file of fewer than eleven
    // data lines is taken with a warning. A file that cannot be read leaves the table as
    // it was. Afterwards the table counts as unchanged.
    bool open(const std::string& file, Reporter&);

    // The total check ("Součet polí není roven 100 % !": refused with safeSave, else
    // asked), then the target (the bound file, else chooseTarget(); empty cancels), the
    // write through a temporary file, and "VstRuziceTxt" in the project file.
    bool save(bool safeSave, Reporter&, const std::function<std::string()>& chooseTarget);

    // On closing: with changes, "Uložit změny ?" (Yes/No bound, Yes/No/Cancel free);
    // Yes saves without the total refusal. True when the window may close.
    bool confirmClose(Reporter&, const std::function<std::string()>& chooseTarget);

    // The caption of the main window: the title, then " - [", the path and "]".
    std::string windowTitle(std::string_view applicationTitle) const;

private:
    WindRoseGrid m_grid;
    std::string m_comment;
    std::string m_path;
    std::string m_projectPath;
    bool m_changed = false;
    bool m_bound = false;
};

}  // namespace ovd
