#include "basemap_source.h"

#include <cpl_conv.h>
#include <cpl_vsi.h>
#include <gdal_utils.h>

#include <filesystem>
#include <optional>
#include <utility>

#include "basemap_pixels.h"
#include "basemap_service.h"
#include "common/numbers.h"
#include "common/text.h"
#include "gdal_dataset.h"
#include "gdal_input_files.h"
#include "gdal_session.h"
#include "spatial_reference.h"

namespace ovd {

namespace {

// GDAL's settings for this thread while a background is read; the earlier ones come back after.
class ThreadOptions {
public:
    ThreadOptions() = default;
    ThreadOptions(const ThreadOptions&) = delete;
    ThreadOptions& operator=(const ThreadOptions&) = delete;
    ~ThreadOptions()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            CPLSetThreadLocalConfigOption(it->first, it->second ? it->second->c_str() : nullptr);
    }
    void set(const char* key, const std::string& value)
    {
        const char* old = CPLGetThreadLocalConfigOption(key, nullptr);
        m_saved.emplace_back(key, old ? std::optional<std::string>(old) : std::nullopt);
        CPLSetThreadLocalConfigOption(key, value.c_str());
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

// How the messages name the source ("Soubor X", "Službu X"): a description given as text is
// not repeated whole.
struct Source {
    std::string subject;
    bool service = false;
    Problem problem(const std::string& why, GdalMessages& messages) const
    {
        return Problem::error(withGdalDetail(subject + " nelze použít jako podklad mapy: " + why, messages));
    }
};

Source sourceOf(const std::string& source, BasemapKind kind)
{
    const std::string s = trim(source);
    if (kind == BasemapKind::File)
        return {"Soubor " + s, false};
    return {s.rfind('<', 0) == 0 ? std::string("Zadaný popis služby") : "Službu " + s, true};
}

// The cache folder, made when missing; empty (and a note) when it cannot be.
std::string usableCacheFolder(const std::string& folder, std::vector<std::string>& notes)
{
    if (trim(folder).empty())
        return {};
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (std::filesystem::is_directory(folder, ec))
        return folder;
    notes.push_back("Nelze vytvořit složku " + folder + " pro mezipaměť podkladu mapy, dlaždice se stahují bez ní.");
    return {};
}

// What GDAL opens for the source: the file, the service's description with this system's
// limits, or the connection as given (its limits then come from the thread's options).
Outcome<std::string> openName(const std::string& source, BasemapKind kind, const ServiceLimits& limits,
                              const Source& src, GdalMessages& messages)
{
    const std::string s = trim(source);
    switch (kind) {
    case BasemapKind::File:
        if (std::optional<std::string> why = unsafeGdalInput(s))
            return src.problem(*why, messages);
        return s;
    case BasemapKind::TileTemplate: return tileTemplateDescription(s, limits);
    case BasemapKind::Description: {
        std::string text = limitedDescription(s.rfind('<', 0) == 0 ? s : descriptionInFile(s), limits);
        if (text.empty())
            return src.problem("popis služby není platný soubor XML.", messages);
        return text;
    }
    case BasemapKind::Connection: break;
    }
    return s;
}

Outcome<DatasetPtr> openSource(const std::string& name, const Source& src, GdalMessages& messages)
{
    DatasetPtr d(GDALDataset::Open(name.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    if (!d)
        return src.problem(src.service ? "knihovna GDAL ji nepřečte." : "knihovna GDAL jej nepřečte.", messages);
    if (d->GetRasterCount() < 1) {
        if (d->GetMetadata("SUBDATASETS"))
            return src.problem("nabízí více vrstev, zvolte jednu z nich (například WMTS:adresa,layer=vrstva).",
                               messages);
        return src.problem("neobsahuje žádné pásmo hodnot.", messages);
    }
    double geo[6];
    if (d->GetGeoTransform(geo) != CE_None)
        return src.problem("neobsahuje polohu (souřadnice rohu a velikost buňky).", messages);
    for (double g : geo)
        if (!std::isfinite(g))
            return src.problem("jeho poloha (souřadnice rohu nebo velikost buňky) není konečné číslo.", messages);
    if (geo[1] * geo[5] - geo[2] * geo[4] == 0)
        return src.problem("jeho buňky mají nulovou velikost.", messages);
    return d;
}

// A "WMS:" address opens as a description GDAL makes itself, without a cache or the limits:
// it is opened again from that description with them. Other datasets stay as they are.
DatasetPtr withLimits(DatasetPtr d, const ServiceLimits& limits)
{
    GDALDriver* driver = d->GetDriver();
    if (!driver || std::string_view(driver->GetDescription()) != "WMS")
        return d;
    const std::string copy = cformat("/vsimem/ovd_basemap_%p.xml", static_cast<void*>(d.get()));
    DatasetPtr written(driver->CreateCopy(copy.c_str(), d.get(), FALSE, nullptr, nullptr, nullptr));
    written.reset();
    vsi_l_offset size = 0;
    GByte* bytes = VSIGetMemFileBuffer(copy.c_str(), &size, TRUE);
    std::string xml(reinterpret_cast<const char*>(bytes), bytes ? static_cast<std::size_t>(size) : 0);
    CPLFree(bytes);
    std::string limited = limitedDescription(xml, limits);
    DatasetPtr again(limited.empty() ? nullptr : GDALDataset::Open(limited.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    return again ? std::move(again) : std::move(d);
}

// The words of the failed request GDAL gives ("HTTP status code: 0, error: Operation timed
// out ..."), else its first line.
std::string requestDetail(const std::string& detail)
{
    std::size_t at = detail.find("HTTP status code:");
    std::size_t from = at == std::string::npos ? 0 : at;
    return trim(detail.substr(from, detail.find('\n', from) - from));
}

// Why the service failed: no answer in time, an HTTP error (its page is not repeated), or
// what GDAL said about the connection.
Problem requestProblem(const Source& src, const BasemapRequest& q, GdalMessages& messages)
{
    const std::string detail = messages.take();
    const std::size_t code = detail.find("HTTP status code: ");
    std::string why = "služba neodpověděla";
    bool withDetail = !detail.empty();
    if (detail.find("timed out") != std::string::npos) {
        why = "služba neodpověděla do " + std::to_string(q.timeoutSeconds) + " s";
    } else if (code != std::string::npos && detail.compare(code + 18, 2, "0,") != 0) {
        why = "služba odpověděla chybou HTTP " + detail.substr(code + 18, detail.find(',', code) - code - 18);
        withDetail = false;
    } else if (withDetail) {
        why = "služba není dostupná";
    }
    std::string text = src.subject + " nelze použít jako podklad mapy: " + why;
    if (withDetail)
        text += " (GDAL: " + requestDetail(detail) + ")";
    return Problem::error(text + ". Mapa je nakreslena bez podkladu.");
}

// The study's system as WKT; empty for a study without one.
Outcome<std::string> systemWkt(const std::string& definition)
{
    if (trim(definition).empty())
        return std::string();
    Outcome<OGRSpatialReference> study = spatialReference(definition);
    if (!study)
        return study.problem();
    char* wkt = nullptr;
    study->exportToWkt(&wkt);
    std::string text = wkt ? wkt : "";
    CPLFree(wkt);
    return text;
}

Problem cancelledProblem()
{
    return Problem::error("Načítání podkladu mapy bylo přerušeno.");
}

std::string number(double v)
{
    return cformat("%.17g", v);
}

// The warp of the view: its extent at its pixels in the study's system, an alpha band where
// the source has no data; GDAL chooses the source's overview for the resolution.
std::vector<std::string> warpArguments(const BasemapRequest& q, const std::string& studyWkt, bool ownSystem,
                                       bool paletted)
{
    std::vector<std::string> a = {"-of", "MEM", "-te", number(q.xmin), number(q.ymin), number(q.xmax), number(q.ymax),
                                  "-ts", std::to_string(q.width), std::to_string(q.height),
                                  // Palette indices are not averaged.
                                  "-r", paletted ? "near" : "bilinear", "-dstalpha"};
    if (!studyWkt.empty()) {
        a.insert(a.end(), {"-t_srs", studyWkt});
        if (!ownSystem)
            a.insert(a.end(), {"-s_srs", studyWkt});  // a file without a system is in the study's
    }
    return a;
}

Outcome<DatasetPtr> warpView(GDALDataset* source, const std::vector<std::string>& args, Reporter& r)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    GDALWarpAppOptions* options = GDALWarpAppOptionsNew(argv.data(), nullptr);
    if (!options)
        return Problem::error("Podklad mapy nelze převést do souřadnicového systému studie.");
    GDALWarpAppOptionsSetProgress(options, basemapKeepGoing, &r);
    GDALDatasetH in = GDALDataset::ToHandle(source);
    int usageError = 0;
    DatasetPtr out(GDALDataset::FromHandle(GDALWarp("", nullptr, 1, &in, options, &usageError)));
    GDALWarpAppOptionsFree(options);
    if (!out)
        return Problem::error({});
    return out;
}

}  // namespace

bool isBasemapService(const std::string& source)
{
    return basemapKindOf(source) != BasemapKind::File;
}

Outcome<BackgroundPixels> readBasemap(const BasemapRequest& q, Reporter& r, std::vector<std::string>& notes)
{
    initGdal();
    GdalMessages messages;
    const BasemapKind kind = basemapKindOf(q.source);
    const Source src = sourceOf(q.source, kind);
    if (q.width < 1 || q.height < 1 || !(q.xmax > q.xmin) || !(q.ymax > q.ymin))
        return Problem::error("Podklad mapy nelze načíst: mapa nemá žádnou plochu.");
    if (src.service && trim(q.studySystem).empty())
        return src.problem("studie nemá zadaný souřadnicový systém, do kterého by se podklad promítl.", messages);
    ThreadOptions options;
    ServiceLimits limits{q.timeoutSeconds, 4, src.service ? usableCacheFolder(q.cacheFolder, notes) : std::string()};
    if (src.service) {
        options.set("GDAL_HTTP_TIMEOUT", std::to_string(q.timeoutSeconds));
        options.set("GDAL_HTTP_CONNECTTIMEOUT", std::to_string(q.timeoutSeconds));
        options.set("GDAL_HTTP_MAX_RETRY", "0");
        options.set("GDAL_MAX_CONNECTIONS", std::to_string(limits.maxConnections));
        options.set("GDAL_ENABLE_WMS_CACHE", limits.cacheFolder.empty() ? "NO" : "YES");
        if (!limits.cacheFolder.empty())
            options.set("GDAL_DEFAULT_WMS_CACHE_PATH", limits.cacheFolder);
    }
    Outcome<std::string> name = openName(q.source, kind, limits, src, messages);
    if (!name)
        return name.problem();
    Outcome<DatasetPtr> source = openSource(*name, src, messages);
    if (!source)
        return source.problem();
    if (kind == BasemapKind::Connection)
        *source = withLimits(std::move(*source), limits);
    Outcome<std::string> studyWkt = systemWkt(q.studySystem);
    if (!studyWkt)
        return studyWkt.problem();
    GDALDataset* from = source->get();
    if (src.service && !answersAtCentre(from, q, r))
        return r.cancelled() ? cancelledProblem() : requestProblem(src, q, messages);
    DatasetPtr reduced = src.service ? DatasetPtr() : decimatedView(from, q, *studyWkt);
    const bool paletted = from->GetRasterBand(1)->GetColorTable() != nullptr;
    const bool ownSystem = from->GetSpatialRef() != nullptr;
    Outcome<DatasetPtr> view =
        warpView(reduced ? reduced.get() : from, warpArguments(q, *studyWkt, ownSystem, paletted), r);
    if (r.cancelled())
        return cancelledProblem();
    if (!view)
        return src.service ? requestProblem(src, q, messages)
                           : src.problem("nelze jej převést do souřadnicového systému studie.", messages);
    Outcome<BackgroundPixels> pixels = viewPixels(view->get(), from->GetRasterBand(1)->GetColorTable(),
                                                  src.service ? std::nullopt : greyRange(from));
    if (!pixels)
        return src.service ? requestProblem(src, q, messages) : src.problem(pixels.problem().text, messages);
    pixels->xmin = q.xmin;
    pixels->ymin = q.ymin;
    pixels->xmax = q.xmax;
    pixels->ymax = q.ymax;
    return pixels;
}

}  // namespace ovd
