#pragma once
// ovardix-cli map: the result map drawn into a file without a screen. The drawing lives in
// the map library (Qt Gui), which the programs that can draw register at start-up, so this
// core library and the programs without it stay free of Qt.
#include <optional>
#include <string>

#include "map_settings.h"
#include "tool_registry.h"

namespace ovd {

struct MapFileRequest {
    MapSettings settings;  // the project's, with the command's options applied
    std::string output;    // .png, .svg or .pdf
    int width = 0;         // pixels of a PNG (points of an SVG or PDF); 0 for the default
};

using MapFileRenderer = ToolStatus (*)(const MapFileRequest&, const RunContext&);
// Set once at start-up by a program that links the map library; null leaves `map` refused.
void setMapFileRenderer(MapFileRenderer);

ToolStatus runMap(ToolCall&);

}  // namespace ovd
