#pragma once
// A dBASE table's field as the texts of its records, for tests that check a written table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/dbf_reader.h"

namespace ovd {

inline std::vector<std::string> dbfColumnTexts(const std::string& path, const std::string& field)
{
    Outcome<DbfTable> t = DbfTable::load(path);
    EXPECT_TRUE(t) << path;
    std::vector<std::string> out;
    std::optional<std::size_t> f = t ? t->findField(field) : std::nullopt;
    EXPECT_TRUE(f) << field;
    for (std::size_t r = 0; f && r < t->recordCount(); ++r)
        out.emplace_back(t->fieldText(r, *f));
    return out;
}

}  // namespace ovd
