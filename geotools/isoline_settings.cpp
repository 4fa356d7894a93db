#include "common/dbf_reader.h"
#include "common/numbers.h"
#include "isolines.h"

namespace ovd {

namespace {
constexpr std::string_view kSection = "Izolinie";

std::vector<std::string> splitItems(const std::string& list)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start)
            items.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return items;
}
}  // namespace

IsolineSettings IsolineSettings::load(const Project& p)
{
    IsolineSettings s;
    s.input = p.readString(kSection, "VstDbf");
    s.shp = p.readString(kSection, "VystShp");
    s.shx = p.readString(kSection, "VystShx");
    s.dbf = p.readString(kSection, "VystDbf");
    s.neighbourPosition = static_cast<int>(p.readInt(kSection, "PozPocOkolBodu", 0));
    s.neighbourText = p.readString(kSection, "PocOkolBodu");
    s.column = static_cast<int>(p.readInt(kSection, "PozSeznamSloupcu", 0));
    s.latticeMode = static_cast<int>(p.readInt(kSection, "TypTvorbyTrojuhelniku", 0));
    s.segmentsPerSide = p.readInt(kSection, "PocetUsekuNaStrane", 0);
    s.vertexCount = p.readInt(kSection, "PocetTrojuhelniku", 0);
    s.segmentLength = p.readDouble(kSection, "VelikostUsekuNaStrane", 0);
    s.levelMode = static_cast<int>(p.readInt(kSection, "TypIzolinie", 0));
    s.scaleFrom = p.readDouble(kSection, "SkalaOd", 0);
    s.scaleStep = p.readDouble(kSection, "SkalaKrok", 0);
    s.nominalValue = p.readDouble(kSection, "JmenHodnota", 0);
    s.nominalList = p.readString(kSection, "SeznamJmenHodnot");
    return s;
}

void IsolineSettings::save(Project& p, Reporter& r) const
{
    p.writeString(kSection, "VstDbf", input, r);
    p.writeString(kSection, "VystShp", shp, r);
    p.writeString(kSection, "VystShx", shx, r);
    p.writeString(kSection, "VystDbf", dbf, r);
    p.writeInt(kSection, "PozPocOkolBodu", neighbourPosition, r);
    p.writeString(kSection, "PocOkolBodu", neighbourText, r);
    p.writeInt(kSection, "PozSeznamSloupcu", column, r);
    p.writeInt(kSection, "TypTvorbyTrojuhelniku", latticeMode, r);
    p.writeInt(kSection, "PocetUsekuNaStrane", segmentsPerSide, r);
    p.writeInt(kSection, "PocetTrojuhelniku", vertexCount, r);
    p.writeDouble(kSection, "VelikostUsekuNaStrane", segmentLength, r);
    p.writeInt(kSection, "TypIzolinie", levelMode, r);
    p.writeDouble(kSection, "SkalaOd", scaleFrom, r);
    p.writeDouble(kSection, "SkalaKrok", scaleStep, r);
    p.writeDouble(kSection, "JmenHodnota", nominalValue, r);
    p.writeString(kSection, "SeznamJmenHodnot", nominalList, r);
}

void IsolineSettings::deriveOutputNames()
{
    if (input.empty())
        return;
    std::string base = input.substr(0, input.size() >= 4 ? input.size() - 4 : 0);
    shp = base + "_izolinie.shp";
    shx = base + "_izolinie.shx";
    dbf = base + "_izolinie.dbf";
}

std::optional<std::vector<double>> parseNominalList(const std::string& list)
{
    std::vector<double> values;
    for (const std::string& item : splitItems(list)) {
        std::optional<double> v = parseDouble(item);
        if (!v)
            return std::nullopt;
        values.push_back(*v);
    }
    return values;
}

bool IsolineSettings::addNominalValue(Reporter& r)
{
    std::optional<std::vector<double>> values = parseNominalList(nominalList);
    std::string item = cformat("%lf", nominalValue);
    // Compared as listed, so two values that print alike count as one.
    if (values)
        for (double v : *values)
            if (cformat("%lf", v) == item) {
                r.message(Severity::Error, "Chyba !", "Hodnota je již v seznamu hodnot! ");
                return false;
            }
    nominalList += (nominalList.empty() ? "" : ";") + item;
    return true;
}

void IsolineSettings::removeNominalValue(std::size_t index)
{
    std::vector<std::string> items = splitItems(nominalList);
    if (index >= items.size())
        return;
    items.erase(items.begin() + static_cast<long>(index));
    nominalList.clear();
    for (const std::string& item : items)
        nominalList += (nominalList.empty() ? "" : ";") + item;
}

std::optional<std::vector<std::string>> isolineColumnNames(const std::string& input, Reporter& r)
{
    std::optional<DbfTable> t = DbfTable::load(input);
    if (!t) {
        r.error("Chyba - nelze otevřít vstupní soubor");
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (const DbfFieldInfo& f : t->fields())
        names.push_back(f.name);
    return names;
}

}  // namespace ovd
