#include "common/dbf_reader.h"
#include "common/gis_services.h"
#include "common/number_list.h"
#include "common/numbers.h"
#include "isolines.h"

namespace ovd {

namespace {

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

const std::vector<Param<IsolineSettings>> IsolineSettings::kParams = declare<Self>(
    {inSection(section::kIsolines,
               {key("VstDbf", &Self::input), key("VystShp", &Self::shp), key("VystShx", &Self::shx),
                key("VystDbf", &Self::dbf), key("PozPocOkolBodu", &Self::neighbourPosition),
                key("PocOkolBodu", &Self::neighbourText), key("PozSeznamSloupcu", &Self::column),
                key("TypTvorbyTrojuhelniku", &Self::latticeMode), key("PocetUsekuNaStrane", &Self::segmentsPerSide),
                key("PocetTrojuhelniku", &Self::vertexCount), key("VelikostUsekuNaStrane", &Self::segmentLength),
                key("TypIzolinie", &Self::levelMode), key("SkalaOd", &Self::scaleFrom),
                key("SkalaKrok", &Self::scaleStep), key("JmenHodnota", &Self::nominalValue),
                key("SeznamJmenHodnot", &Self::nominalList)}),
     inSection(section::kGlobal, {key(kStudySystemKey, &Self::coordinateSystem).readOnly()})});

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
    Outcome<std::vector<double>> values = parseNumberList(list);
    return values ? std::optional(*values) : std::nullopt;
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
    auto t = DbfTable::load(input);
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
