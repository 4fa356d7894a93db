#include "point_table.h"

#include "common/numbers.h"
#include "geotools/dbf_export.h"
#include "geotools/dbf_input.h"

namespace ovd {

namespace {

constexpr const char* kPointFields[] = {"X_COORD", "Y_COORD", "Z_ELEV", "L_ELEV"};

std::string trimmed(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return std::string(s);
}

bool isNumeric(const DbfFieldInfo& f)
{
    return f.type == 'N' || f.type == 'F';
}

}  // namespace

Outcome<PointTable> PointTable::read(const std::string& path)
{
    Outcome<DbfTable> loaded = DbfTable::load(path, "Vstupní DBF soubor " + path + " se nepodařilo otevřít !");
    if (!loaded)
        return loaded.problem();
    if (loaded->recordCount() < loaded->declaredRecords())
        return Problem::error(truncatedTableMessage(path, *loaded));
    PointTable t;
    t.m_path = path;
    t.m_table = std::move(*loaded);
    const std::vector<DbfFieldInfo>& fields = t.m_table.fields();
    const std::string first = fields.empty() ? std::string() : trimmed(fields[0].name);
    if (first != "ID" && first != "ID_POINT")
        return Problem::error("DBF soubor " + path +
                              " není tabulkou výsledků: jeho první pole má být ID nebo ID_POINT (bodové tabulky "
                              "výpočtu koncentrací)!");
    std::size_t at[4];
    for (int k = 0; k < 4; ++k) {
        std::optional<std::size_t> f = t.m_table.findField(kPointFields[k]);
        if (!f || !isNumeric(fields[*f]))
            return Problem::error("DBF soubor " + path + " není tabulkou výsledků: chybí v něm číselné pole " +
                                  kPointFields[k] + "!");
        at[k] = *f;
    }
    t.m_idField = {first, fields[0].length, 0, 0};
    t.m_live = t.m_table.liveRecords();
    for (std::size_t r : t.m_live) {
        TablePoint p;
        p.record = r + 1;
        p.id = trimmed(t.m_table.fieldText(r, 0));
        p.idValue = parseDouble(p.id).value_or(0);
        double* values[4] = {&p.x, &p.y, &p.z, &p.l};
        for (int k = 0; k < 4; ++k) {
            std::optional<double> v = parseDouble(trimmed(t.m_table.fieldText(r, at[k])));
            if (!v)
                return Problem::error(cformat("DBF soubor %s nemá v záznamu %lu v poli %s číslo!", path.c_str(),
                                              static_cast<unsigned long>(p.record), kPointFields[k]));
            *values[k] = *v;
        }
        t.m_points.push_back(std::move(p));
    }
    if (t.m_points.empty())
        return Problem::error("DBF soubor " + path + " neobsahuje žádný bod!");
    return t;
}

std::vector<DbfField> PointTable::pointFields() const
{
    return {m_idField, {"X_COORD", 15, 6, 0}, {"Y_COORD", 15, 6, 0}, {"Z_ELEV", 15, 6, 1}, {"L_ELEV", 15, 6, 1}};
}

Outcome<std::vector<double>> PointTable::column(const std::string& name) const
{
    std::optional<std::size_t> f = m_table.findField(name, true);
    if (!f) {
        std::string names;
        for (const DbfFieldInfo& i : m_table.fields())
            names += (names.empty() ? "" : ", ") + trimmed(i.name);
        return Problem::error("DBF soubor " + m_path + " nemá sloupec " + name + " (má sloupce " + names + ") !");
    }
    if (!isNumeric(m_table.fields()[*f]))
        return Problem::error("Sloupec " + name + " DBF souboru " + m_path + " neobsahuje čísla!");
    std::vector<double> values;
    values.reserve(m_live.size());
    for (std::size_t i = 0; i < m_live.size(); ++i) {
        std::optional<double> v = parseDouble(trimmed(m_table.fieldText(m_live[i], *f)));
        if (!v)
            return Problem::error("Sloupec " + name + " DBF souboru " + m_path + " nemá u " + pointText(i) + " číslo!");
        values.push_back(*v);
    }
    return values;
}

std::string PointTable::pointText(std::size_t i) const
{
    const TablePoint& p = m_points[i];
    return cformat("bodu %s (záznam %lu, X %.2f, Y %.2f)", p.id.c_str(), static_cast<unsigned long>(p.record), p.x,
                   p.y);
}

}  // namespace ovd
