#include "model/vector_width.h"

#include <algorithm>
#include <cstdlib>

#include "common/numbers.h"

namespace ovd {

std::vector<VectorWidth> supportedWidths()
{
    std::vector<VectorWidth> out;
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("x86-64-v4"))
        out.push_back(VectorWidth::Avx512);
    if (__builtin_cpu_supports("x86-64-v3"))
        out.push_back(VectorWidth::Avx2);
#endif
    out.push_back(VectorWidth::Sse2);
    return out;
}

const char* vectorWidthName(VectorWidth w)
{
    switch (w) {
    case VectorWidth::Avx512: return "avx512";
    case VectorWidth::Avx2: return "avx2";
    case VectorWidth::Sse2: break;
    }
    return "sse2";
}

std::optional<VectorWidth> parseVectorWidth(std::string_view text)
{
    for (VectorWidth w : {VectorWidth::Sse2, VectorWidth::Avx2, VectorWidth::Avx512})
        if (text == vectorWidthName(w))
            return w;
    return std::nullopt;
}

Outcome<VectorWidth> chooseVectorWidth(std::string_view setting)
{
    const std::vector<VectorWidth> here = supportedWidths();
    if (setting.empty())
        return here.front();
    const std::optional<VectorWidth> wanted = parseVectorWidth(setting);
    if (!wanted) {
        return Problem::error(cformat("Proměnná OVARDIX_VECTOR_WIDTH má neznámou hodnotu \"%s\" (povoleno sse2, avx2, "
                                      "avx512), výpočet nelze spustit!",
                                      std::string(setting).c_str()));
    }
    if (std::find(here.begin(), here.end(), *wanted) == here.end()) {
        return Problem::error(cformat("Procesor tohoto počítače nepodporuje šířku vektorů %s zvolenou proměnnou "
                                      "OVARDIX_VECTOR_WIDTH, výpočet nelze spustit!",
                                      vectorWidthName(*wanted)));
    }
    return *wanted;
}

Outcome<VectorWidth> vectorWidthFromEnvironment()
{
    const char* value = std::getenv("OVARDIX_VECTOR_WIDTH");
    return chooseVectorWidth(value ? value : "");
}

}  // namespace ovd
