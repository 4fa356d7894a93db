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
