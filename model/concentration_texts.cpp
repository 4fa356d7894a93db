#include "model/concentration_texts.h"

#include <initializer_list>
#include <utility>

#include "common/numbers.h"

namespace ovd {

std::string directionStatusText(bool maximum, double direction, bool dust)
{
    if (dust && !maximum)
        return restartStatusText(direction);
    return maximum ? cformat("Výpočet koncentrace škodlivin pro směr větru  %6.2lf°/360°", direction)
                   : cformat("Výpočet koncentrace škodlivin pro směr větru  %3.2lf°/360°", direction);
}

std::string directionTitleText(bool maximum, double direction, bool dust)
{
    if (dust && !maximum)
        return restartTitleText(direction);
    return maximum ? cformat("%6.2lf°/360° - ", direction) + kMaximumTitle
                   : cformat("%3.2lf°/360° - ", direction) + kAnnualTitle;
}

std::string restartStatusText(double storedDirection)
{
    return cformat("Výpočet koncentrace škodlivin pro směr větru  %1.1lf°/360°", storedDirection);
}

std::string restartTitleText(double storedDirection)
{
    return cformat("%1.1lf°/360° - ", storedDirection) + kAnnualTitle;
}

std::string runLogDateLine(const DbfDate& d)
{
    return cformat("Dnesni datum : %2d. %2d. %4d\n", d.day, d.month, d.year);
}

std::string sourceKindQuestion(bool dustRun)
{
    return dustRun ? "Vstupní soubor se zdroji pravděpodobně neobsahuje hodnoty zdrojů s prachovými částicemi, "
                     "chcete jej přesto použít ?"
                   : "Vstupní soubor se zdroji pravděpodobně neobsahuje hodnoty zdrojů s plynnými látkami, chcete "
                     "jej přesto použít ?";
}

namespace {

// Named files of the protocol's lists, each label padded to the colons' column.
std::string fileLines(std::initializer_list<std::pair<const char*, const std::string*>> files)
{
    std::string out;
    for (const auto& [label, path] : files)
        out += cformat("  %-24s: %s\n", label, path->c_str());
    return out;
}

}  // namespace

std::string protocolInputLines(const ProtocolFiles& f, bool clusters)
{
    std::string out = fileLines({{"BIN soubor s refer. bo.", &f.points},
                                 {"BIN soubor se zdroji", &f.sources},
                                 {"BIN matice THETA", &f.theta},
                                 {"BIN matice DELTA", &f.delta},
                                 {"BIN matice ZMAX", &f.zmax}});
    if (clusters)
        out += fileLines({{"TXT popis shluku", &f.clusters}});
    return out;
}

std::string protocolFilesText(bool nearbySources, bool groupShares, const ProtocolFiles& f, const DbfDate& d)
{
    std::string out = "Vypocet probehl v poradku.\n";
    out += cformat("Vypocet ze dne : %2ld.%2ld.%4ld \n\n", static_cast<long>(d.day), static_cast<long>(d.month),
                   static_cast<long>(d.year));
    out += "Vstupni soubory : \n";
    out += protocolInputLines(f, nearbySources);
    out += fileLines({{"TXT vetrna ruzice", &f.windRose}});
    out += "\nVystupni soubory : \n";
    out += fileLines(
        {{"DBF soubor s ref. b.", &f.output}, {"TXT soubor", &f.protocol}, {"DBF soubor se zdroji", &f.sourceTable}});
    if (groupShares)
        out += fileLines({{"DBF soubor s podily zdr.", &f.groupOutput}});
    return out;
}

std::string protocolText(const PreparedRun& run, const ConcentrationState& st, const ProtocolFiles& f, const DbfDate& d,
                         bool groupTable)
{
    const ConcentrationParameters& par = run.params;
    std::string out = protocolFilesText(par.nearbySources, groupTable, f, d);
    out += cformat("\nTrida latky               : %d\n", par.substanceClass);
    out += cformat("Krok cyklu ve stupnich    : %lf\n", par.step);
    out += cformat("Otoceni vetrne ruzice     : %lf", par.rotation);
    out += par.rotateLeft ? "    - vlevo  \n" : "    - vpravo \n";
    out += cformat("             Upraveno     : %lf\n", run.adjustedRotation);
    for (int m = 0; m < 3; ++m)
        out += cformat("Konc. pro dobu prekr. %d   : %lf\n", m + 1, par.limits[static_cast<std::size_t>(m)]);
    out += par.nearbySources ? "Akceptuji blizke zdroje. \n" : "Neakceptuji blizke zdroje. \n";
    const auto& points = run.study->points;
    for (std::size_t r = 0; r < points.size(); ++r) {
        const ReferencePoint& p = points[r];
        if (run.maximum())
            out += cformat("Cislo Ref : %d,XREF : %lf,  YRef : %lf,  ZREF : %lf,  LRef : %lf .... C max : %lf,    "
                           "Trida : %d,   Rychlost : %lf,  SmerVetru : %lf, C rocni : %lf, Doby prek. 1 : %lf, 2 : "
                           "%lf, 3 : %lf\n",
                           p.number, p.x, p.y, p.z, p.l, st.maxConcentration[r], st.maxClass[r], st.maxSpeed[r],
                           st.maxDirection[r], st.annual[r], st.hours[0][r], st.hours[1][r], st.hours[2][r]);
        else
            out += cformat("Cislo Ref : %d,XREF : %lf,  YRef : %lf,  ZREF : %lf,  LRef : %lf .... CROC : %1.25lf, "
                           "Doby prek. 1 : %lf, 2 : %lf, 3 : %lf \n",
                           p.number, p.x, p.y, p.z, p.l, st.annual[r], st.hours[0][r], st.hours[1][r], st.hours[2][r]);
    }
    return out;
}

}  // namespace ovd
