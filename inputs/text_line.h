#pragma once
// The line syntax shared by the five text inputs: comment lines, data lines of fields
// separated by commas and ended by a semicolon, records that begin with a number > 0,
// and how a checked line is shown ("Klasifikace", "Správnost").
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/reporter.h"
#include "common/text.h"

namespace ovd {

// "Řádek N souboru PATH je delší než 1 MiB." (caption "Chyba"): a text input with a line
// longer than the readers take is refused.
void reportTooLongLine(Reporter&, const std::string& path, long lineNumber);
// A text input read whole; nullopt after `failure` when it cannot be read (an empty path, a
// missing or non-regular file), or after the message above for a line that is too long.
std::optional<TextFile> readInputText(const std::string& path, Reporter&, std::string_view failure);

// Field values before parsing; a field still holding one afterwards is missing.
inline constexpr double kMissingReal = -99999.9;
inline constexpr long kMissingWhole = -999;

// Only blanks before the first semicolon.
bool isCommentLine(std::string_view line);
// Commas before the first semicolon, or in the whole line when it has none.
long commaCount(std::string_view line);
// The leading whole number (after blanks) when it is greater than 0: the line is a record.
// Read in 64 bits on every system (a long has 32 on Windows), so the same lines are records.
std::optional<std::int64_t> recordNumber(std::string_view line);

// Reads fields in order as the C scanner would: each field may be preceded by blanks, a
// field that does not parse leaves it and every later field at its sentinel.
class FieldScanner {
public:
    explicit FieldScanner(std::string_view text)
        : m_text(text)
    { }
    // A whole number; out of range of `lo`..`hi` counts as not parsed.
    long whole(long lo = -2147483648L, long hi = 2147483647L);
    double real();
    // The literal separator right after the previous field; false stops the scan.
    bool separator(char c = ',');
    // Each field in turn a real after a comma, as far as the commas go.
    void reals(std::initializer_list<double*> fields)
    {
        for (double* f : fields)
            if (separator())
                *f = real();
    }
    bool ok() const { return m_ok; }
    // Blanks, then a comma, a semicolon or the end of the text.
    bool atValueEnd();
    void skipBlanks();
    std::size_t position() const { return m_pos; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

enum class LineClass { Comment, Parameters };
enum class Correctness { Ok, Missing, Extra, OutOfRange, NoLink };
enum class LineIcon { Comment, Correct, Error };

std::string_view classLabel(LineClass);          // "Komentář", "Parametry"
std::string_view correctnessLabel(Correctness);  // "OK", "Chybí", "Navíc", "Mimo rozsah", "Chybí odkaz"

// How a checked line was understood, with the messages it produced for the result list.
struct LineVerdict {
    LineClass lineClass = LineClass::Parameters;
    Correctness correctness = Correctness::Ok;
    std::vector<std::string> messages;
    bool comment() const { return lineClass == LineClass::Comment; }
    bool correct() const { return !comment() && correctness == Correctness::Ok; }
    LineIcon icon() const;
};

// A comment verdict, or the verdict of a comma count outside `lo`..`hi` with its message
// ("zadán nedostatečný/nadbytečný počet vstupních parametrů" after `prefix`).
std::optional<LineVerdict> syntaxVerdict(std::string_view line, long lo, long hi, const std::string& prefix);

}  // namespace ovd
