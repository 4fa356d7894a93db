// Every result table opens in an independent dBASE reader (Python's dbfread, Debian's
// python3-dbfread) with the same field names and values. Skipped where it is missing.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/text.h"
#include "result_tables.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

constexpr const char* kPython = "/usr/bin/python3";

// Prints "F name type length decimals" per field, then "R v1|v2|..." per record.
constexpr const char* kScript = R"(import sys
from dbfread import DBF
t = DBF(sys.argv[1], raw=False)
for f in t.fields:
    print('F', f.name, f.type, f.length, f.decimal_count)
for r in t:
    print('R ' + '|'.join(repr(v) for v in r.values()))
)";

bool haveDbfread()
{
    std::string cmd = std::string(kPython) + " -c 'import dbfread' >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

std::vector<std::string> runReader(const TempDir& dir, const std::string& table)
{
    std::string script = dir.path("read.py");
    writeFileAtomically(script, kScript);
    std::string cmd = std::string(kPython) + " " + script + " " + table + " 2>&1";
    std::string output;
#ifdef _WIN32
    if (std::FILE* p = ::_popen(cmd.c_str(), "r")) {
#else
    if (std::FILE* p = ::popen(cmd.c_str(), "r")) {
#endif
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
            output.append(buf, n);
#ifdef _WIN32
        ::_pclose(p);
#else
        ::pclose(p);
#endif
    }
    return splitLines(output);
}

void expectSameTable(const TempDir& dir, const std::string& path, const std::vector<DbfField>& fields,
                     const std::vector<std::vector<double>>& rows)
{
    std::vector<std::string> lines = runReader(dir, path);
    ASSERT_EQ(lines.size(), fields.size() + rows.size()) << (lines.empty() ? "" : lines.back());
    for (std::size_t i = 0; i < fields.size(); ++i)
        EXPECT_EQ(lines[i], cformat("F %s N %d %d", fields[i].name.c_str(), fields[i].length, fields[i].decimals));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        std::string_view rest = std::string_view(lines[fields.size() + k]).substr(2);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            std::size_t bar = rest.find('|');
            std::optional<double> got = parseDouble(rest.substr(0, bar));
            ASSERT_TRUE(got) << lines[fields.size() + k];
            double tolerance = 0.5 * std::pow(10.0, -fields[i].decimals) + 1e-9;
            EXPECT_NEAR(*got, rows[k][i], tolerance) << fields[i].name << " in record " << k;
            rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
        }
    }
}

void writeTable(const std::string& path, const std::vector<DbfField>& fields,
                const std::vector<std::vector<double>>& rows)
{
    ResultTableWriter w;
    ASSERT_TRUE(w.open(path, fields, static_cast<std::uint32_t>(rows.size()), DbfDate::todayUtc()));
    for (const auto& r : rows)
        ASSERT_TRUE(w.writeRow(r));
    ASSERT_TRUE(w.finish());
}

TEST(ResultTablesInterop, EveryTableOpensInAnIndependentReader)
{
#ifdef _WIN32
    GTEST_SKIP() << "Linux-only: the independent reader is Linux's Python (python3-dbfread)";
#endif
    if (!haveDbfread())
        GTEST_SKIP() << "python3-dbfread is not installed";
    TempDir dir;
    Limits limits = {120.5, 0, 5};

    AnnualRow a;
    a.point = {1, 712345.125, -1045678.5, 412.25, 1.5};
    a.annualMean = 0.123456;
    a.caseMaxima = {1.5, 2.25, 30.125, 4, 5, 6, 7, 8, 9, 10, 0};
    a.hours = {8760, 0, 0.5};
    MaximumRow m{{5, 100, 200, 300, 2}, 55.5, 3, 11, 357.5, 0.75, {12, 6, 1}};
    SourceRow s{1001, 710000, -1040000, 355, 3, 1005, 12, {0.004, 710010, -1040010, 710100, -1040100, 4, 2, 0.8, 24}};
    std::vector<long> groups = {0, 12};
    std::vector<double> sums = {0.25, 0.75};
    struct Table {
        const char* file;
        std::vector<DbfField> fields;
        std::vector<std::vector<double>> rows;
    };
    const Table tables[] = {
        {"roc.dbf", annualTableFields(limits), {annualRowValues(a, limits)}},
        {"max.dbf", maximumTableFields(limits), {maximumRowValues(m, limits)}},
        {"den.dbf", dailyTableFields(), {dailyRowValues({9, 1, 2, 3, 4}, 0.000001)}},
        {"zdroje.dbf", sourceTableFields(), {sourceRowValues(s)}},
        {"podily.dbf",
         groupSharesTableFields(groups),
         {groupSharesRowValues(a.point, sums, 1.0), groupSharesRowValues(a.point, sums, 0.0)}},
    };
    for (const Table& t : tables) {
        writeTable(dir.path(t.file), t.fields, t.rows);
        expectSameTable(dir, dir.path(t.file), t.fields, t.rows);
    }
}

}  // namespace
}  // namespace ovd
