// Any bytes as a dBASE table: the header, the descriptors and every field of every record
// must be readable without reaching outside the file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/dbf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::optional<ovd::DbfTable> table = ovd::DbfTable::parse(bytes);
    if (!table)
        return 0;
    std::size_t total = 0;
    for (std::size_t k : table->liveRecords())
        for (std::size_t f = 0; f < table->fields().size(); ++f) {
            std::string_view text = table->fieldText(k, f);
            if (text.size() != static_cast<std::size_t>(table->fields()[f].length))
                __builtin_trap();
            total += text.size();
        }
    table->findField("X_COORD", true);
    return static_cast<int>(total & 0);
}
