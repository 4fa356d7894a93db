#include "background.h"

#include <cmath>

#include "common/czech_plural.h"
#include "common/gis_services.h"
#include "common/numbers.h"
#include "common/paths.h"

namespace ovd {

std::optional<double> backgroundNumber(const std::string& source)
{
    std::optional<double> v = parseDecimal(source);
    if (!v || !std::isfinite(*v) || fileExists(source))
        return std::nullopt;
    return v;
}

Outcome<Background> sampleBackground(const BackgroundSource& s, const PointTable& table)
{
    const std::vector<TablePoint>& points = table.points();
    Background out;
    if (s.source.empty())
        return Problem::error("Nebylo zadáno pozadí: soubor rastru nebo vrstvy polygonů, nebo jedno číslo (volba "
                              "--background, klíč Pozadi v sekci Hodnoceni). Bez pozadí zadejte 0.");
    if (std::optional<double> number = backgroundNumber(s.source)) {
        if (*number < 0)
            return Problem::error("Pozadí " + s.source + " je záporné!");
        out.values.assign(points.size(), *number);
        out.description = "jedno číslo pro celou studii: " + formatDecimal(*number) + " µg/m³";
        return out;
    }
    if (!fileExists(s.source))
        return Problem::error("Soubor pozadí " + s.source + " neexistuje!");
    const GisServices* gis = s.gis;
    if (!gis)
        return noGisServicesProblem();
    std::vector<StudyPoint> at;
    at.reserve(points.size());
    for (const TablePoint& p : points)
        at.push_back({p.x, p.y});
    Outcome<PointSamples> samples = s.column.empty() ? gis->sampleRaster(s.source, s.studySystem, at, s.bilinear)
                                                     : gis->samplePolygons(s.source, s.column, s.studySystem, at);
    if (!samples)
        return samples.problem();
    out.description = s.column.empty()
        ? "rastr " + s.source + (s.bilinear ? ", bilineární interpolace mezi středy buněk" : ", hodnota buňky s bodem")
        : "vrstva polygonů " + s.source + ", sloupec " + s.column;
    std::size_t missing = 0, first = 0;
    out.values.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        if ((*samples)[i]) {
            out.values[i] = *(*samples)[i];
            continue;
        }
        if (missing++ == 0)
            first = i;
        out.values[i] = s.fill.value_or(0);
    }
    if (missing && !s.fill)
        return Problem::error(cformat("Pozadí %s nemá hodnotu u %s: bod leží mimo pozadí nebo na buňce bez hodnoty. "
                                      "Takových bodů je %lu z %lu. Zadejte hodnotu pozadí pro tyto body (volba --fill "
                                      "HODNOTA, klíč PozadiMimo v sekci Hodnoceni).",
                                      s.source.c_str(), table.pointText(first).c_str(),
                                      static_cast<unsigned long>(missing), static_cast<unsigned long>(points.size())));
    out.filled = missing;
    if (missing)
        out.description += "; " + czechCount(static_cast<long long>(missing), "bod", "body", "bodů") +
            " mimo pozadí s hodnotou " + formatDecimal(*s.fill) + " µg/m³";
    return out;
}

}  // namespace ovd
