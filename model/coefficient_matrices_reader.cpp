#include "model/coefficient_matrices_reader.h"

#include "common/numbers.h"
#include "model/matrix_file.h"

namespace ovd {

namespace {

bool readMatrix(const std::string& path, const char* name, CoefficientMatrices& m, std::vector<float>& into,
                Reporter& rep)
{
    MatrixFileReader reader;
    switch (reader.open(path)) {
    case MatrixFileReader::OpenResult::CannotOpen:
        rep.error(cformat("Vstupní soubor s maticí %s nelze otevřít !", name));
        return false;
    case MatrixFileReader::OpenResult::NotMatrix:
        rep.error(cformat("Vstupní soubor s maticí %s nemá délku odpovídající své hlavičce !", name));
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
    into.clear();
    into.reserve(static_cast<std::size_t>(m.rows) * static_cast<std::size_t>(m.columns));
    std::vector<float> row;
    for (std::int32_t r = 0; r < m.rows; ++r) {
        if (!reader.readRow(r, row)) {
            rep.error(cformat("Vstupní soubor s maticí %s nelze přečíst !", name));
            return false;
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
