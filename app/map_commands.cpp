#include "map_commands.h"

#include "common/outcome.h"

namespace ovd {

ToolStatus runMap(ToolCall& call)
{
    MapFileRequest q;
    q.settings = loadSettings<MapSettings>(*call.project);
    const CommandArgs& o = call.options;
    o.take("--table", q.settings.table);
    o.take("--column", q.settings.column);
    o.take("--levels", q.settings.levels);
    if (o.has("--basemap")) {  // one picture over this background, whatever the layers
        o.take("--basemap", q.settings.background);
        q.settings.showLayer(MapLayer::Background, true);
    }
    q.output = *o.text("--out");
    q.width = static_cast<int>(o.integer("--width").value_or(0));
    q.dpi = static_cast<int>(o.integer("--dpi").value_or(0));
    q.landscape = o.has("--landscape");
    if (std::optional<std::string> page = o.text("--page"))
        q.page = mapPageOf(*page).value_or(MapPage::None);
    if (q.page != MapPage::None && o.has("--width")) {
        call.usageError = "Volby --page a --width se vylučují: stránka určuje velikost obrázku.";
        return ToolStatus::Failed;
    }
    if (q.landscape && q.page == MapPage::None) {
        call.usageError = "Volba --landscape platí jen se stránkou (--page A4 nebo A3).";
        return ToolStatus::Failed;
    }
    if (!mapFormatOf(q.output)) {
        call.usageError = unknownMapFormatText(q.output);
        return ToolStatus::Failed;
    }
    const MapRenderer* renderer = call.services.map;
    if (!renderer) {
        Problem::error("Tento program neumí kreslit mapy: chybí mu knihovna pro kreslení.")
            .report(call.context.reporter);
        return ToolStatus::Failed;
    }
    return renderer->render(q, call.context);
}

}  // namespace ovd
