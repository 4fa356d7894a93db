// Any bytes as a raster GDAL opens: a GeoTIFF, an ESRI grid or a VRT (the first byte chooses
// the name, and whether the study has a coordinate system into which it is warped), as the
// terrain conversion and the map's background read it. Nothing blocks
// (a FIFO lies in the folder for a VRT to name), a size the header claims is never
// allocated, and what is accepted has a finite position.
#include <sys/stat.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/file_io.h"
#include "common/reporter_wrapper.h"
#include "gis/basemap_source.h"
#include "gis/gdal_services.h"
#include "gis/gdal_session.h"
#include "gis/height_raster.h"
#include "scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = [] {
        ovd::initGdal();
        ::mkfifo((scratchFolder() + "fifo").c_str(), 0600);
        ::mkfifo((scratchFolder() + "r.tif.aux.xml.fifo").c_str(), 0600);
        return true;
    }();
    (void)ready;
    static const char* const kNames[] = {"r.tif", "r.vrt", "r.asc", "r.img"};
    const std::string name = scratchFolder() + kNames[size ? data[0] % 4 : 0];
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ovd::writeFileAtomically(name, size ? bytes.substr(1) : bytes);

    const std::string system = size && (data[0] & 4) ? "EPSG:5514" : "";
    ovd::Outcome<std::unique_ptr<ovd::HeightRaster>> raster = ovd::openGdalHeightRaster(name, system);
    if (raster) {
        const ovd::RasterGeometry& g = (*raster)->geometry();
        if (!std::isfinite(g.xOrigin) || !std::isfinite(g.yOrigin) || !(g.cellSize > 0) || !std::isfinite(g.cellSize) ||
            (g.noData && !std::isfinite(*g.noData)))
            __builtin_trap();
        std::vector<double> row;
        for (std::int32_t r = 0; r < std::min(g.nrows, 4); ++r)
            if (!(*raster)->readRow(r, row) && row.size() != static_cast<std::size_t>(g.ncols))
                __builtin_trap();
    }
    ovd::BasemapRequest q{name, "", system, -700000, -1000000, -699960, -999980, 32, 16};
    ovd::NullReporter quiet;
    std::vector<std::string> notes;
    ovd::Outcome<ovd::BackgroundPixels> px = ovd::readBasemap(q, quiet, notes);
    if (px &&
        (px->width != 32 || px->height != 16 || px->argb.size() != static_cast<std::size_t>(px->width) * px->height))
        __builtin_trap();
    std::remove(name.c_str());
    return 0;
}
