#include "model/windrose_expansion.h"

#include <cmath>

#include "common/numbers.h"
#include "common/reporter.h"
#include "model/dispersion_constants.h"

namespace ovd {

namespace {

bool isWhole(double v)
{
    return std::fabs(v - std::round(v)) <= 1e-9 * std::fabs(v);
}

}  // namespace

bool stepFitsCircle(double step)
{
    return std::isfinite(step) && step >= 0.5 && isWhole(45.0 / step);
}

int directionCount(double step)
{
    return static_cast<int>(std::lround(360.0 / step));
}

long rotationSteps(double rotation, double step)
{
    if (rotation == 0.0 || !(step > 0.0))
        return 0;
    return static_cast<long>(std::trunc(rotation / step + 0.5));
}

Outcome<ExpandedRose> expandWindRose(const std::vector<std::vector<double>>& rows, double step, long shiftSteps)
{
    if (rows.size() < static_cast<std::size_t>(kRoseRows))
        return Problem{std::string(kCaptionInfo), "Špatné rozložení vstupního souboru !!!"};
    ExpandedRose rose;
    rose.directions = directionCount(step);
    const long n = rose.directions;
    rose.share.assign(static_cast<std::size_t>(kRoseRows) * static_cast<std::size_t>(n), 0.0);
    std::vector<double> unrotated(static_cast<std::size_t>(n));
    for (int row = 0; row < kRoseRows; ++row) {
        const std::vector<double>& f = rows[static_cast<std::size_t>(row)];
        long sectors = static_cast<long>(f.size()) - 1;
        if (sectors <= 0 || 360 % sectors != 0)
            return Problem::error(cformat("Počet sloupců růžice ( %ld) nedělí 360 !!!", sectors));
        long width = 360 / sectors;
        double w = static_cast<double>(width);
        if (w < step)
            return Problem::error(cformat("Krok výpočtu je větší než rozdělený úsek růžice ( %ld) !!!", width));
        if (!isWhole(w / step))
            return Problem::error(cformat("Krok výpočtu nedělí vytvořený výřez větrné růžice ( %ld) !!!", width));
        const long perSector = std::lround(w / step);
        const double calm = f[static_cast<std::size_t>(sectors)] / static_cast<double>(sectors);
        for (long i = 0; i < n; ++i) {
            long j = i / perSector;
            double x = static_cast<double>(i) * step;
            double a = f[static_cast<std::size_t>(j)] + calm;
            double b = f[static_cast<std::size_t>((j + 1) % sectors)] + calm;
            double jw = static_cast<double>(j) * w;
            unrotated[static_cast<std::size_t>(i)] = (a + (x - jw) * (b - a) / w) * step / (w * 100.0);
        }
        long shift = ((shiftSteps % n) + n) % n;
        for (long i = 0; i < n; ++i)
            rose.share[static_cast<std::size_t>(row * n + i)] = unrotated[static_cast<std::size_t>((i + shift) % n)];
    }
    return rose;
}

}  // namespace ovd
