#pragma once
// A request to draw the result map into a file, and the picture formats the file may have.
// The drawing itself lives in the map library (Qt Gui); a program that links it hands its
// renderer to the tools at start (app/tool_registry.h Services).
#include <optional>
#include <string>

#include "common/tool.h"
#include "map_settings.h"

namespace ovd {

// A printed page the picture fills, or none: a picture of a width in pixels.
enum class MapPage { None, A4, A3 };

// The resolutions a picture may be drawn at, and the default of a page and of a width.
inline constexpr int kMinMapDpi = 72, kMaxMapDpi = 1200, kPageDpi = 150, kScreenDpi = 96;

struct MapFileRequest {
    MapSettings settings;  // the project's, with the command's options applied
    std::string output;    // .png, .svg or .pdf
    int width = 0;         // pixels of a PNG (points of an SVG or PDF); 0 for the default
    MapPage page = MapPage::None;
    bool landscape = false;
    int dpi = 0;  // 0: kPageDpi on a page, else kScreenDpi
};

// "A4", "A3" in any case; nullopt for another name.
std::optional<MapPage> mapPageOf(const std::string& name);

enum class MapFormat { Png, Svg, Pdf };
// By the file's extension, in any case; nullopt for another one.
std::optional<MapFormat> mapFormatOf(const std::string& path);
// The refusal of an output of another format: "Soubor ... nemá příponu png, svg ani pdf, ...".
std::string unknownMapFormatText(const std::string& path);

class MapRenderer {
public:
    virtual ~MapRenderer() = default;
    virtual ToolStatus render(const MapFileRequest&, const RunContext&) const = 0;
};

}  // namespace ovd
