#include "map_commands.h"

#include "common/outcome.h"

namespace ovd {

ToolStatus runMap(ToolCall& call)
{
    MapFileRequest q;
    q.settings = loadSettings<MapSettings>(*call.project);
    const CommandArgs& o = call.options;
    o.takeMirrored(q.settings, kMapOptions);
    if (o.has("--basemap"))  // one picture over this background, whatever the layers
        q.settings.showLayer(MapLayer::Background, true);
    q.output = *o.text("--out");
    q.width = static_cast<int>(o.integer("--width").value_or(0));
    q.dpi = static_cast<int>(o.integer("--dpi").value_or(0));
    q.landscape = o.has("--landscape");
    if (std::optional<std::string> page = o.text("--page"))
        q.page = mapPageOf(*page).value_or(MapPage::None);
    if (q.page != MapPage::None && o.has("--width"))
        return call.refuseUsage("Volby --page a --width se vylučují: stránka určuje velikost obrázku.");
    if (q.landscape && q.page == MapPage::None)
        return call.refuseUsage("Volba --landscape platí jen se stránkou (--page A4 nebo A3).");
    if (!mapFormatOf(q.output))
        return call.refuseUsage(unknownMapFormatText(q.output));
    if (!call.services.map)
        return call.lacking("Tento program neumí kreslit mapy: chybí mu knihovna pro kreslení.");
    return call.services.map->render(q, call.context);
}

}  // namespace ovd
