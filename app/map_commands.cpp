#include "map_commands.h"

#include <atomic>
#include <charconv>

#include "common/outcome.h"

namespace ovd {

namespace {

std::atomic<MapFileRenderer> g_renderer{nullptr};

constexpr const char* kUsage = "příkaz map přijímá volby --table SOUBOR, --column SLOUPEC, --levels HODNOTY "
                               "(například 1;2;5 nebo limity), --out SOUBOR.png|svg|pdf a --width PIXELY";

// The widest picture anyone would print; beyond it an image would not fit in memory.
constexpr int kMaxWidth = 20000;

}  // namespace

void setMapFileRenderer(MapFileRenderer renderer)
{
    g_renderer.store(renderer);
}

ToolStatus runMap(ToolCall& call)
{
    MapFileRequest q;
    q.settings = loadSettings<MapSettings>(*call.project);
    const std::vector<std::string>& a = call.args;
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::string name = a[i], value;
        if (std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else if (name.rfind("--", 0) == 0 && i + 1 < a.size()) {
            value = a[++i];
        } else {
            call.usageError = kUsage;
            return ToolStatus::Failed;
        }
        if (name == "--table") {
            q.settings.table = value;
        } else if (name == "--column") {
            q.settings.column = value;
        } else if (name == "--levels") {
            q.settings.levels = value;
            if (!q.settings.levelList()) {
                call.usageError = "volba --levels potřebuje čísla oddělená středníkem (například 1;2;5) nebo slovo "
                                  "limity";
                return ToolStatus::Failed;
            }
        } else if (name == "--out") {
            q.output = value;
        } else if (name == "--width") {
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), q.width);
            if (ec != std::errc() || end != value.data() + value.size() || q.width < 100 || q.width > kMaxWidth) {
                call.usageError = "volba --width potřebuje šířku obrázku v pixelech od 100 do 20000";
                return ToolStatus::Failed;
            }
        } else {
            call.usageError = kUsage;
            return ToolStatus::Failed;
        }
    }
    if (q.output.empty()) {
        call.usageError = "chybí volba --out SOUBOR.png|svg|pdf";
        return ToolStatus::Failed;
    }
    MapFileRenderer renderer = g_renderer.load();
    if (!renderer) {
        Problem::error("Tento program neumí kreslit mapy: chybí mu knihovna pro kreslení.")
            .report(call.context.reporter);
        return ToolStatus::Failed;
    }
    return renderer(q, call.context);
}

}  // namespace ovd
