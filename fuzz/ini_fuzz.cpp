// Any bytes as an initialisation file: parsing, lookups and rewrites must hold up.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/ini_file.h"
#include "common/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    ovd::IniDocument doc = ovd::IniDocument::parse(bytes);
    doc.get("Global", "VstReferBodTxt");
    // Real settings: a value either reads as one finite number or is refused.
    for (const auto& [key, value] : doc.section("Global"))
        if (auto v = ovd::parseDecimal(value); v && !std::isfinite(*v))
            __builtin_trap();
    doc.set("Global", "Key", "value");
    doc.set("New", "K", "v");
    doc.remove("Global", "Key");
    doc.replaceSection("Global", {{"a", "1"}});
    std::string out = doc.serialize();
    ovd::IniDocument again = ovd::IniDocument::parse(out);
    if (again.serialize() != out)
        __builtin_trap();
    return 0;
}
