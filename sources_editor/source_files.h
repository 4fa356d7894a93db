#pragma once
// Loading the three source files into the list (joined by source number) and saving the
// list back, with the header lines and the project keys the main program reads.
#include <string>
#include <vector>

#include "common/reporter.h"
#include "source_list.h"

namespace ovd {

inline constexpr std::string_view kLoadCaption = "Načtení seznamu zdrojů";
inline constexpr std::string_view kSaveCaption = "Uložení vybraných zdrojů";

struct SourcePaths {
    std::string points, description, dust;  // dust empty: no dust file
};

struct LoadResult {
    bool ok = false;  // false: a file could not be read (reported)
    int missingDescriptions = 0;
    int missingDust = 0;
    int outOfRange = 0;     // sources with a numeric field read as 0 for being out of range
    std::size_t added = 0;  // sources appended to the list
};

// Replaces (append = false) or extends the list from the files. Reports the counts of
// sources without a description or dust line; sources added before an error stay.
LoadResult loadSources(SourceList&, SourceNumbering&, const SourcePaths&, bool append, bool acceptMissingDescription,
                       Reporter&);

// The text after ";" of the first comment line of a points file (empty when none).
std::string firstComment(const std::string& pointsPath);

// Writes the sources in the order given, with header lines when the comment is not blank;
// every file is replaced only when all of them are complete. With a project settings file
// the paths go to its section "Global". False when nothing was written (reported).
bool saveSources(const std::vector<const cZdroje*>& sources, const SourcePaths&, const std::string& comment,
                 const std::string& projectPath, Reporter&);

// The dust payload of a dust-file line: the text after its first comma.
std::string dustPayload(std::string_view line);

// Encodes editor text for its files: Windows-1250 lines each ended by CR LF.
std::string encodeLines(const std::vector<std::string>& lines);

// True when the two paths name the same file (existing or not).
bool sameFilePath(const std::string& a, const std::string& b);

}  // namespace ovd
