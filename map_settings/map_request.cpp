#include "map_request.h"

#include "common/paths.h"
#include "common/text.h"

namespace ovd {

std::optional<MapFormat> mapFormatOf(const std::string& path)
{
    std::string name = toLowerAscii(fileNameOf(path));
    auto ends = [&](std::string_view e) { return name.size() > e.size() && name.ends_with(e); };
    if (ends(".png"))
        return MapFormat::Png;
    if (ends(".svg"))
        return MapFormat::Svg;
    if (ends(".pdf"))
        return MapFormat::Pdf;
    return std::nullopt;
}

std::optional<MapPage> mapPageOf(const std::string& name)
{
    const std::string n = toLowerAscii(trim(name));
    if (n == "a4")
        return MapPage::A4;
    if (n == "a3")
        return MapPage::A3;
    return std::nullopt;
}

std::string unknownMapFormatText(const std::string& path)
{
    return "Soubor " + path + " nemá příponu png, svg ani pdf, mapu do něj nelze zapsat!";
}

}  // namespace ovd
