#include "basemap_service.h"

#include <cpl_minixml.h>
#include <cpl_string.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "common/text.h"

namespace ovd {

namespace {

struct XmlDeleter {
    void operator()(CPLXMLNode* n) const { CPLDestroyXMLNode(n); }
};
using XmlPtr = std::unique_ptr<CPLXMLNode, XmlDeleter>;

// Half the circumference of the web Mercator sphere: the world's extent in its metres.
constexpr const char* kMercatorHalf = "20037508.342789244";
constexpr const char* kMercatorMinusHalf = "-20037508.342789244";
constexpr std::size_t kMaxDescription = 1 << 20;

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool isUrl(std::string_view s)
{
    return startsWithIgnoreCase(s, "http://") || startsWithIgnoreCase(s, "https://");
}

bool contains(std::string_view s, std::string_view part)
{
    return s.find(part) != std::string_view::npos;
}

void replaceAll(std::string& s, std::string_view from, std::string_view to)
{
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

std::string serialized(const CPLXMLNode* root)
{
    char* text = CPLSerializeXMLTree(root);
    std::string out = text ? text : "";
    CPLFree(text);
    return out;
}

void addValue(CPLXMLNode* parent, const char* name, const std::string& value)
{
    CPLCreateXMLElementAndValue(parent, name, value.c_str());
}

// The limits that the description does not set itself.
void addLimits(CPLXMLNode* root, const ServiceLimits& limits)
{
    if (!CPLGetXMLNode(root, "Timeout"))
        addValue(root, "Timeout", std::to_string(limits.timeoutSeconds));
    if (!CPLGetXMLNode(root, "MaxConnections"))
        addValue(root, "MaxConnections", std::to_string(limits.maxConnections));
    if (limits.cacheFolder.empty())
        return;
    CPLXMLNode* cache = CPLGetXMLNode(root, "Cache");
    if (!cache)
        cache = CPLCreateXMLNode(root, CXT_Element, "Cache");
    if (!CPLGetXMLNode(cache, "Path"))
        addValue(cache, "Path", limits.cacheFolder);
}

bool isDescription(std::string_view text)
{
    return startsWithIgnoreCase(text, "<GDAL_WMS>") || startsWithIgnoreCase(text, "<GDAL_WMS ");
}

}  // namespace

BasemapKind basemapKindOf(const std::string& source)
{
    const std::string s = trim(source);
    if (isDescription(s))
        return BasemapKind::Description;
    // GDAL's network file systems wait on a server as a service does.
    if (startsWithIgnoreCase(s, "<GDAL_WMTS") || startsWithIgnoreCase(s, "WMS:") || startsWithIgnoreCase(s, "WMTS:") ||
        startsWithIgnoreCase(s, "/vsicurl"))
        return BasemapKind::Connection;
    if (isUrl(s))
        return contains(s, "{z}") && contains(s, "{x}") && (contains(s, "{y}") || contains(s, "{-y}"))
            ? BasemapKind::TileTemplate
            : BasemapKind::Connection;
    return descriptionInFile(s).empty() ? BasemapKind::File : BasemapKind::Description;
}

std::string tileTemplateDescription(const std::string& urlTemplate, const ServiceLimits& limits)
{
    std::string url = trim(urlTemplate);
    const bool fromSouth = contains(url, "{-y}");
    replaceAll(url, "{-y}", "{y}");
    for (const char* axis : {"{x}", "{y}", "{z}"})
        replaceAll(url, axis, std::string("$") + axis);
    XmlPtr root(CPLCreateXMLNode(nullptr, CXT_Element, "GDAL_WMS"));
    CPLXMLNode* service = CPLCreateXMLNode(root.get(), CXT_Element, "Service");
    CPLAddXMLAttributeAndValue(service, "name", "TMS");
    addValue(service, "ServerUrl", url);
    CPLXMLNode* window = CPLCreateXMLNode(root.get(), CXT_Element, "DataWindow");
    addValue(window, "UpperLeftX", kMercatorMinusHalf);
    addValue(window, "UpperLeftY", kMercatorHalf);
    addValue(window, "LowerRightX", kMercatorHalf);
    addValue(window, "LowerRightY", kMercatorMinusHalf);
    addValue(window, "TileLevel", "19");
    addValue(window, "TileCountX", "1");
    addValue(window, "TileCountY", "1");
    addValue(window, "YOrigin", fromSouth ? "bottom" : "top");
    addValue(root.get(), "Projection", "EPSG:3857");
    addValue(root.get(), "BlockSizeX", "256");
    addValue(root.get(), "BlockSizeY", "256");
    addValue(root.get(), "BandsCount", "4");
    // A tile server answers 404 where it has no tile: that part of the map stays empty.
    addValue(root.get(), "ZeroBlockHttpCodes", "204,404");
    addValue(root.get(), "UserAgent", "Ovardix");
    addLimits(root.get(), limits);
    return serialized(root.get());
}

std::string limitedDescription(const std::string& description, const ServiceLimits& limits)
{
    XmlPtr tree(CPLParseXMLString(trim(description).c_str()));
    CPLXMLNode* root = tree ? CPLGetXMLNode(tree.get(), "=GDAL_WMS") : nullptr;
    if (!root)
        return {};
    addLimits(root, limits);
    return serialized(root);
}

std::string descriptionInFile(const std::string& path)
{
    // Only a regular file is looked into: opening a FIFO would wait for a writer.
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return {};
    std::string text(10, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), f));
    // GDAL takes a description only when nothing precedes its element.
    if (isDescription(text)) {
        text.resize(kMaxDescription);
        text.resize(10 + std::fread(text.data() + 10, 1, text.size() - 10, f));
    } else {
        text.clear();
    }
    std::fclose(f);
    return text;
}

}  // namespace ovd
