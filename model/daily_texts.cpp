#include "model/daily_texts.h"

#include "common/numbers.h"

namespace ovd {

std::string dailyRunLogDateLine(const DbfDate& d, bool dust)
{
    return cformat(dust ? "Dnešni datum : %2d. %2d. %4d\n" : "Dnesni datum : %2d. %2d. %4d\n", d.day, d.month, d.year);
}

std::string dailyDoneMessage(bool dust)
{
    return dust ? "Vypočet denních koncentrací proběhl v pořádku ." : "Výpočet denních koncentrací proběhl v pořádku .";
}

std::string dailyProtocolText(const std::vector<ReferencePoint>& points, const std::vector<double>& concentration,
                              const DailyParameters& par, const ProtocolFiles& f)
{
    std::string out = "Vstupni soubory : \n";
    out += protocolInputLines(f, par.nearbySources);
    out += "\nVystupni soubory : \n";
    out += cformat("  DBF soubor s refer. b.  : %s\n", f.output.c_str());
    out += cformat("  TXT soubor              : %s\n", f.protocol.c_str());
    out += cformat("  DBF soubor se zdroji    : %s\n", f.sourceTable.c_str());
    out += cformat("\nTrida stability           : %d\n", par.stabilityClass);
    out += cformat("Rychlost vetru            : %lf\n", par.speed);
    out += cformat("Smer vetru                : %lf\n", dailyDirection(par.direction));
    out += cformat("Trida latky               : %d\n", par.substanceClass);
    out += par.nearbySources ? "Akceptuji blizke zdroje. \n" : "Neakceptuji blizke zdroje. \n";
    out += "-------------------------------------------------. \n\n";
    for (std::size_t r = 0; r < points.size(); ++r) {
        const ReferencePoint& p = points[r];
        out += cformat("Cislo Ref : %d,  XREF : %lf,  YRef : %lf,  ZREF : %lf,  LRef : %lf .... C : %lf\n", p.number,
                       p.x, p.y, p.z, p.l, concentration[r]);
    }
    return out;
}

}  // namespace ovd
