#pragma once
// Initialisation files: "[section]" lines and "key=value" lines. Sections and keys are
// found without regard to case; the first of duplicate sections or keys wins; values
// are trimmed. A write replaces the key's line in place, or appends it to its section,
// or appends a new section at the end, keeping every other line and the file's line
// end; the file is rewritten through a temporary file and created when missing. A
// leading UTF-8 byte-order mark is skipped on reading and kept on writing.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ovd {

// The parsed lines of one file, kept verbatim so a rewrite changes only what it must.
class IniDocument {
public:
    static IniDocument parse(std::string_view bytes);
    std::string serialize() const;

    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // Keys of a section in file order, each with its value (first of duplicates only).
    std::vector<std::pair<std::string, std::string>> section(std::string_view section) const;
    void set(std::string_view section, std::string_view key, std::string_view value);
    bool remove(std::string_view section, std::string_view key);
    // Replaces all key lines of the section with the given ones (creates the section).
    void replaceSection(std::string_view section, const std::vector<std::pair<std::string, std::string>>& keys);

private:
    struct Line {
        std::string text;
        std::string eol;  // the line's own end as read; new lines take the file's first
        enum Kind { Other, Section, Key } kind = Other;
        std::string name;   // section name or key, trimmed
        std::string value;  // trimmed value of a key line
    };
    // Index range [first, last) of the section's body; nullopt when there is no such section.
    std::optional<std::pair<std::size_t, std::size_t>> findSection(std::string_view section) const;
    static Line makeKeyLine(std::string_view key, std::string_view value);
    // A new section's head line at the end of the file.
    void appendSection(std::string_view section);
    std::size_t insertionPoint(std::size_t first, std::size_t last) const;

    std::vector<Line> m_lines;
    std::string m_eol = "\n";
    bool m_terminated = true;
    bool m_bom = false;  // a UTF-8 byte-order mark before the first line, kept on rewrite
};

class IniFile {
public:
    explicit IniFile(std::string path)
        : m_path(std::move(path))
    { }
    const std::string& path() const { return m_path; }

    // The value, or the default when the file, section or key is missing.
    std::string read(std::string_view section, std::string_view key, std::string_view defaultValue = {}) const;
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::vector<std::pair<std::string, std::string>> readSection(std::string_view section) const;
    // False when the file could not be written; the file is then as it was.
    bool write(std::string_view section, std::string_view key, std::string_view value) const;
    bool remove(std::string_view section, std::string_view key) const;
    bool writeSection(std::string_view section, const std::vector<std::pair<std::string, std::string>>& keys) const;

private:
    std::optional<IniDocument> load(bool forWrite) const;
    // Reads, changes and rewrites the file under its lock, so concurrent writers each
    // see the others' keys. `change` returns false when there is nothing to write.
    template <class Change> bool update(Change change) const;
    std::string m_path;
};

}  // namespace ovd
