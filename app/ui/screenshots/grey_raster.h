#pragma once
// A grey background for the map window's pictures and tests: a GeoTIFF of bytes in the
// study's system (EPSG:5514) around the study.
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <cstdint>
#include <string>
#include <vector>

#include "map/view_transform.h"

namespace ovd {

// `size` x `size` pixels over the box widened by `margin` times its size on every side,
// pixel (column, row) of `value(column, row)` from the top left. False when the file could
// not be written.
template <class Value>
bool writeGreyRaster(const std::string& path, const StudyBox& box, int size, double margin, Value value)
{
    GDALDriver* tiff = GetGDALDriverManager()->GetDriverByName("GTiff");
    GDALDataset* d = tiff ? tiff->Create(path.c_str(), size, size, 1, GDT_Byte, nullptr) : nullptr;
    if (!d)
        return false;
    const double w = box.width() * (1 + 2 * margin), h = box.height() * (1 + 2 * margin);
    double gt[6] = {box.xmin - box.width() * margin, w / size, 0, box.ymax + box.height() * margin, 0, -h / size};
    d->SetGeoTransform(gt);
    OGRSpatialReference srs;
    srs.importFromEPSG(5514);
    d->SetSpatialRef(&srs);
    std::vector<std::uint8_t> values(static_cast<std::size_t>(size) * size);
    for (int row = 0; row < size; ++row)
        for (int column = 0; column < size; ++column)
            values[static_cast<std::size_t>(row) * size + column] = static_cast<std::uint8_t>(value(column, row));
    const bool written = d->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, size, size, values.data(), size, size,
                                                       GDT_Byte, 0, 0, nullptr) == CE_None;
    GDALClose(d);
    return written;
}

}  // namespace ovd
