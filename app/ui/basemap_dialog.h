#pragma once
// "Podklad mapy": the map's background, a raster file or a tile or map service (a tile URL
// template, a GDAL WMS description, a "WMS:"/"WMTS:" address), the folder its tiles are kept
// in and the attribution printed on the map.
#include <QString>

class QWidget;

namespace ovd::mainui {

struct BasemapChoice {
    QString source, cacheFolder, credit;
};

// The dialog filled with `current`; true when the user confirmed, `current` then holding
// what was entered.
bool chooseBasemap(QWidget* parent, BasemapChoice& current);

}  // namespace ovd::mainui
