#pragma once
// Dust groups: named particle-size distributions kept in a groups file ("*.spr") and the
// dust text of a point source that either names a group or lists its particles by hand.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/reporter.h"

namespace ovd {

inline constexpr std::string_view kDustGroupsCaption = "Skupiny prachu";
inline constexpr long kMaxDustGroupNumber = 32767;

// One particle as text with "." (diameter [um], share [%/100]).
struct DustParticle {
    std::string diameter, share;
};

// The dust text of a point source: density, group (0 = particles by hand) and particles.
struct DustText {
    std::string density = "0";
    long group = 0;
    std::vector<DustParticle> particles;
};
// Reads "2500,3" or "2500,0,2,10,0.6,50,0.4"; a list shorter than its count keeps the pairs present.
DustText parseDustText(std::string_view text);
std::string formatDustText(const DustText&);

// Adds a particle, or with a listed diameter replaces its share (share 0 removes it).
// A new diameter is added only when diameter and share are both above 0. True when changed.
bool addParticle(std::vector<DustParticle>&, std::string_view diameter, std::string_view share);
// Removes the particle with this diameter; true when there was one.
bool removeParticle(std::vector<DustParticle>&, std::string_view diameter);

struct DustGroup {
    long number = 0;
    std::string name;
    std::string line;  // the file line as read or rebuilt
};

class cSkupinyPrachu {
public:
    // Reads a groups file: data lines in file order, the last comment line as the comment.
    // On a read error the list keeps what it held (reported).
    bool OtevriSkupiny(const std::string& path, Reporter&);
    // Writes the comment line and the group lines, then the project key "VstZdrojSkupTxt"
    // when a project settings file is given. The file becomes the current one.
    bool UlozSkupiny(const std::string& path, const std::string& projectPath, Reporter&);
    // An empty list for a new file.
    void clear();

    int Count() const { return static_cast<int>(m_groups.size()); }
    const std::string& Komentar() const { return m_comment; }
    void Komentar(std::string comment)
    {
        m_comment = std::move(comment);
        m_changed = true;
    }
    const std::string& FileName() const { return m_fileName; }
    // The name, or "(skupina N)" for a group without one.
    std::string SkupinaNazev(int i) const;
    long SkupinaCislo(int i) const { return m_groups.at(static_cast<std::size_t>(i)).number; }
    const std::vector<DustGroup>& groups() const { return m_groups; }
    std::optional<int> find(long number) const;
    std::vector<DustParticle> particles(int i) const;

    // A new group numbered one above the highest ("Nová skupina N"); its index.
    int newGroup();
    void remove(int i);
    // Rebuilds the group's line from its parts, replacing the group with that number or
    // appending a new one.
    void store(long number, const std::string& name, const std::vector<DustParticle>&);
    // Gives group i a new number; the error text when the number is refused.
    std::optional<std::string> renumber(int i, std::string_view numberText);

    bool changed() const { return m_changed; }
    void markSaved() { m_changed = false; }

private:
    std::vector<DustGroup> m_groups;
    std::string m_comment;
    std::string m_fileName;
    bool m_changed = false;
};

// Builds a group line: number, count, pairs, ";" and the name.
std::string dustGroupLine(long number, const std::string& name, const std::vector<DustParticle>&);

}  // namespace ovd
