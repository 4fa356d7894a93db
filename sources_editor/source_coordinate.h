#pragma once
// A source's X, Y or Z as the editor holds it: the whole metres and, when the value has a
// fractional part, its decimals as they were loaded or typed (at most six), so a value the
// user did not touch is written back as it was read.
#include <cstdint>
#include <string>
#include <string_view>

namespace ovd {

class Coordinate {
public:
    Coordinate() = default;
    // A whole value (the middle point of a line source, a new source).
    static Coordinate whole(std::int32_t value);
    // Any finite value: its decimals rounded to six, trailing zeros dropped.
    static Coordinate of(double value, bool* outOfRange = nullptr);
    // Reads a field leniently as the editor reads its numbers; a decimal comma counts as
    // the point (the dialog's boxes). Text without a number gives 0; a value whose whole
    // part is beyond the 32-bit range gives 0 and sets *outOfRange.
    static Coordinate read(std::string_view text, bool* outOfRange = nullptr);

    double value() const;
    bool hasFraction() const { return !m_decimals.empty(); }
    // The whole part zero-padded to `width` digits with the sign before it, then "." and
    // the decimals when there are any ("0371", "0370.950000", "-0865400.500000").
    std::string written(int width) const;
    // The text of the dialog's box: as written, without the padding.
    std::string shown() const;

    bool operator==(const Coordinate&) const = default;

private:
    bool m_negative = false;
    std::uint32_t m_whole = 0;  // the magnitude of the whole part
    std::string m_decimals;     // 1 to 6 digits, not all zeros; empty for a whole value
};

}  // namespace ovd
