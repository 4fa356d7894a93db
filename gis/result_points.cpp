#include "result_points.h"

#include "common/number_texts.h"
#include "common/numbers.h"
#include "common/text.h"
#include "geotools/dbf_input.h"

namespace ovd {

std::optional<std::size_t> ResultPoints::find(const std::string& name) const
{
    for (std::size_t i = 0; i < attributes.size(); ++i)
        if (equalsIgnoreCase(attributes[i].name, trim(name)))
            return i;
    return std::nullopt;
}

std::string ResultPoints::label(const ResultPoint& p) const
{
    return p.texts.empty() || p.texts[0].empty() ? cformat("%zu", p.record) : p.texts[0];
}

Outcome<ResultPoints> readResultPoints(const std::string& path)
{
    auto t = DbfTable::load(path, "Vstupní dbf soubor " + path + " se nepodařilo otevřít !");
    if (!t)
        return t.problem();
    std::optional<std::size_t> fx = t->findField("X_COORD", true);
    std::optional<std::size_t> fy = t->findField("Y_COORD", true);
    if (!fx || !fy)
        return Problem::error("DBF soubor " + path + " neobsahuje sloupec " + (fx ? "Y_COORD" : "X_COORD") + "!");
    ResultPoints out;
    if (t->recordCount() < t->declaredRecords())
        out.truncated = truncatedTableMessage(path, *t);
    for (const DbfFieldInfo& f : t->fields()) {
        AttributeKind kind = AttributeKind::Text;
        if (f.type == 'N' || f.type == 'F')
            kind = f.decimals == 0 ? AttributeKind::Integer : AttributeKind::Real;
        out.attributes.push_back({trim(f.name), kind, f.decimals});
    }
    for (std::size_t record : t->liveRecords()) {
        ResultPoint p;
        p.record = record + 1;
        if (std::optional<Problem> bad = nonFiniteFieldProblem(*t, record, path))
            return *bad;
        for (std::size_t f = 0; f < t->fields().size(); ++f) {
            std::string text = trim(t->fieldText(record, f));
            const bool numeric = out.attributes[f].kind != AttributeKind::Text;
            p.numbers.push_back(numeric ? parseDouble(text) : std::nullopt);
            p.texts.push_back(std::move(text));
        }
        std::optional<double> x = p.numbers[*fx], y = p.numbers[*fy];
        if (!x || !y)
            return Problem::error(cformat("Záznam %zu DBF souboru %s nemá platnou souřadnici %s (\"%s\")!", p.record,
                                          path.c_str(), x ? "Y" : "X", p.texts[x ? *fy : *fx].c_str()));
        p.x = *x;
        p.y = *y;
        out.points.push_back(std::move(p));
    }
    return out;
}

}  // namespace ovd
