#include "model/coefficient_matrices_reader.h"

#include <cmath>

#include "common/numbers.h"
#include "model/matrix_file.h"

namespace ovd {

namespace {

// What the formulas can use: Theta weights two reflections (0 to 1), Delta is a direction
// in degrees, ZMax a height above the source's base. Empty when the value is usable.
std::string valueProblem(const char* name, float v)
{
    if (!std::isfinite(v))
        return "hodnotu, která není konečné číslo";
    if (name[0] == 'T' && !(v >= 0.0f && v <= 1.0f))
        return cformat("hodnotu %g mimo rozsah 0 až 1", static_cast<double>(v));
    if (name[0] == 'D' && !(v >= 0.0f && v <= 360.0f))
        return cformat("hodnotu %g mimo rozsah 0 až 360", static_cast<double>(v));
    if (name[0] == 'Z' && !(v >= 0.0f))
        return cformat("zápornou hodnotu %g", static_cast<double>(v));
    return {};
}

bool readMatrix(const std::string& path, const char* name, CoefficientMatrices& m, MatrixValues& into, Reporter& rep)
{
    MatrixFileReader reader;
    switch (reader.open(path)) {
    case MatrixFileReader::OpenResult::CannotOpen:
        rep.error(cformat("Vstupní soubor s maticí %s nelze otevřít !", name));
        return false;
    case MatrixFileReader::OpenResult::NotMatrix:
        rep.error(cformat("Vstupní soubor s maticí %s nemá délku odpovídající své hlavičce!", name));
        return false;
    case MatrixFileReader::OpenResult::Ok: break;
    }
    if (&into != &m.theta && (reader.rows() != m.rows || reader.columns() != m.columns)) {
        // all three must have the same size; the size checks name the difference
        m.rows = reader.rows() != m.rows ? -1 : m.rows;
        m.columns = reader.columns() != m.columns ? -1 : m.columns;
        return true;
    }
    m.rows = reader.rows();
    m.columns = reader.columns();
    const std::size_t count = static_cast<std::size_t>(m.rows) * static_cast<std::size_t>(m.columns);
    // Mapped where the system can: the largest studies then need no memory for the matrices.
    if (count > 0 && into.map(path, kMatrixHeaderSize, count)) {
        const float* values = into.data();
        for (std::size_t i = 0; i < count; ++i) {
            std::string problem = valueProblem(name, values[i]);
            if (!problem.empty()) {
                const std::size_t columns = static_cast<std::size_t>(m.columns);
                rep.error(cformat("Vstupní soubor s maticí %s (%s) obsahuje v řádku %zu, sloupci %zu %s!", name,
                                  path.c_str(), i / columns + 1, i % columns + 1, problem.c_str()));
                return false;
            }
        }
        return true;
    }
    into.clear();
    into.reserve(static_cast<std::size_t>(m.rows) * static_cast<std::size_t>(m.columns));
    std::vector<float> row;
    // A matrix without columns has nothing to read in any of its rows (however many the
    // header claims); the size checks of the run judge it.
    for (std::int32_t r = 0; r < m.rows && m.columns > 0; ++r) {
        if (!reader.readRow(r, row)) {
            rep.error(cformat("Vstupní soubor s maticí %s nelze přečíst!", name));
            return false;
        }
        for (std::size_t c = 0; c < row.size(); ++c) {
            std::string problem = valueProblem(name, row[c]);
            if (!problem.empty()) {
                rep.error(cformat("Vstupní soubor s maticí %s (%s) obsahuje v řádku %ld, sloupci %zu %s!", name,
                                  path.c_str(), static_cast<long>(r) + 1, c + 1, problem.c_str()));
                return false;
            }
        }
        into.insert(into.end(), row.begin(), row.end());
    }
    return true;
}

}  // namespace

bool readCoefficientMatrices(const std::string& theta, const std::string& delta, const std::string& zmax,
                             CoefficientMatrices& m, Reporter& rep)
{
    return readMatrix(theta, "THETA", m, m.theta, rep) && readMatrix(delta, "DELTA", m, m.delta, rep) &&
        readMatrix(zmax, "ZMAX", m, m.zmax, rep);
}

}  // namespace ovd
