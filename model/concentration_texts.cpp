#include "model/concentration_texts.h"

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

std::string protocolInputLines(const ProtocolFiles& f, bool clusters)
{
    std::string out = cformat("  BIN soubor s refer. bo. : %s\n", f.points.c_str());
    out += cformat("  BIN soubor se zdroji    : %s\n", f.sources.c_str());
    out += cformat("  BIN matice THETA        : %s\n", f.theta.c_str());
    out += cformat("  BIN matice DELTA        : %s\n", f.delta.c_str());
    out += cformat("  BIN matice ZMAX         : %s\n", f.zmax.c_str());
    if (clusters)
        out += cformat("  TXT popis shluku        : %s\n", f.clusters.c_str());
    return out;
}

std::string protocolFilesText(bool nearbySources, bool groupShares, const ProtocolFiles& f, const DbfDate& d)
{
    std::string out = "Vypocet probehl v poradku.\n";
    out += cformat("Vypocet ze dne : %2ld.%2ld.%4ld \n\n", static_cast<long>(d.day), static_cast<long>(d.month),
                   static_cast<long>(d.year));
    out += "Vstupni soubory : \n";
    out += protocolInputLines(f, nearbySources);
    out += cformat("  TXT vetrna ruzice       : %s\n", f.windRose.c_str());
    out += "\nVystupni soubory : \n";
    out += cformat("  DBF soubor s ref. b.    : %s\n", f.output.c_str());
    out += cformat("  TXT soubor              : %s\n", f.protocol.c_str());
    out += cformat("  DBF soubor se zdroji    : %s\n", f.sourceTable.c_str());
    if (groupShares)
        out += cformat("  DBF soubor s podily zdr.: %s\n", f.groupOutput.c_str());
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
