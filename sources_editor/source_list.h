#pragma once
// The editor's list of sources and what the main window does with it as a whole:
// automatic numbers, remembered line-source defaults, the duplicates check, middle points
// and the clipboard text.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "source.h"

namespace ovd {

inline constexpr std::int32_t kMaxAutomaticNumber = 99999;
inline constexpr long kMaxMinNewID = 99998;
inline constexpr std::string_view kNumberLimitCaption = "Nový zdroj";
inline constexpr std::string_view kNumberLimitText =
    "Automaticky přidělované číslo zdroje nemůže být větší než 99999.\n"
    "Zkuste upravit hodnotu v 'Možnosti/Obecné/Počáteční hodnota …";

// Counter C of automatic numbers: the next number is C + 1, never above 99999.
class SourceNumbering {
public:
    explicit SourceNumbering(long minNewID = 50000)
        : m_minNewID(minNewID)
        , m_counter(minNewID)
    { }
    // The next number, or nullopt at the limit (the counter is then unchanged).
    std::optional<std::int32_t> next();
    // A cancelled new source gives its number back.
    void giveBack() { --m_counter; }
    // The list became empty: start again at MinNewID.
    void reset() { m_counter = m_minNewID; }
    // A number in the list (loaded, created or typed in): the next automatic number lies
    // above it, so none is offered twice. Numbers beyond the automatic range do not count.
    void noteNumber(long number);
    // A new MinNewID from the options; the counter only ever rises with it.
    void setMinNewID(long value);
    long minNewID() const { return m_minNewID; }
    long counter() const { return m_counter; }
    void setCounter(long value) { m_counter = value; }

private:
    long m_minNewID;
    long m_counter;
};

// MinNewID from the options box: the absolute value rounded halves to even, capped at
// 99998; nullopt when the text is no finite number or lies beyond 32 bits.
std::optional<long> minNewIDFromText(std::string_view text);

// The line-source values the last confirmed segment leaves for the next one.
struct LineDefaults {
    float ml = 0, x2 = 0, y2 = 0, width = 0, height = 0, alfa = 0, hours = 0;
    void remember(const cZdroje& line);
    // A new segment starts where the last one ended.
    void apply(cZdroje& line) const;
};

// A new source of the kind, numbered from the counter; nullptr at the limit.
std::unique_ptr<cZdroje> newSource(int kind, SourceNumbering&, const LineDefaults&);

struct SourceList {
    std::vector<std::unique_ptr<cZdroje>> sources;
    std::string comment;
};

// Positions (into `order`) of the entries the duplicates check selects: the list sorted
// by number and then by kind, each entry equal in (CKU, ICZ, Komin) to the last entry kept
// is a duplicate. `order` holds indices into the source list.
std::vector<std::size_t> findDuplicates(const std::vector<const cZdroje*>& sources);

// Sets X, Y of every selected line source to its segment's middle. True when any changed.
bool computeMiddlePoints(const std::vector<cZdroje*>& selected);

// One line per source: the 9-digit number, a tab, the name, CR LF.
std::string clipboardText(const std::vector<const cZdroje*>& sources);

}  // namespace ovd
