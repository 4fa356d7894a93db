#pragma once
// The layers of a study's result map, built once from the project's files and then only
// drawn: points coloured by one column, sources, terrain, background, isolines and bands.
#include <QImage>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "map_settings/map_settings.h"
#include "band_polygons.h"
#include "class_breaks.h"
#include "common/reporter.h"
#include "geotools/isoline_tracing.h"
#include "gis/result_points.h"
#include "view_transform.h"

namespace ovd {

struct MapPoint {
    double x = 0, y = 0;
    std::optional<double> value;  // none for a blank cell
    std::size_t row = 0;          // index into MapModel::table.points
};

struct MapSource {
    std::int32_t number = 0;
    int type = 0;           // kPointSource, kAreaSource, kLineSource
    double x = 0, y = 0;    // a line source's start
    double x2 = 0, y2 = 0;  // a line source's end
    double side = 0;        // an area source's square side (its element spacing)
    double emission = 0;    // g/s, a line source g/(s.m)
};

// An image laid over a box of the study, north up.
struct MapRaster {
    QImage image;
    StudyBox box = StudyBox::empty();
    bool empty() const { return image.isNull(); }
};

struct MapIsolines {
    std::vector<IsolineSegment> segments;
    // The segments of each level joined end to end into lines, for their labels.
    struct Chain {
        double level = 0;
        std::vector<QPointF> points;
    };
    std::vector<Chain> chains;
};

struct MapModel {
    std::string table;       // the result table's path
    std::string column;      // the column the points are coloured by
    std::string unit;        // of that column, for the legend
    std::string systemText;  // the study's coordinate system, empty when it has none
    ResultPoints rows;       // every field of every point, for the click
    std::vector<MapPoint> points;
    ClassBreaks breaks;
    std::vector<MapSource> sources;
    MapRaster hillshade, background;
    std::string backgroundCredit;  // printed on the map while the background is drawn
    // The filled bands between the class breaks and the lattice of values they and the
    // isolines are traced on.
    std::vector<BandPolygon> bands;
    Lattice lattice;
    std::vector<double> latticeValues;
    MapIsolines contours;  // of the terrain
    double contourStep = 0;
    MapIsolines isolines;  // of the column, at the class breaks
    MapIsolines fileIsolines;  // the isoline tool's, from its output files
    // Share of the year the wind blows from each direction, clockwise from north at equal steps.
    std::optional<std::vector<double>> windRose;
    StudyBox box = StudyBox::empty();   // points and sources
    double pointSpacing = 0;            // metres between neighbouring points, as if spread evenly; 0 unknown
    std::vector<std::string> warnings;  // layers that could not be built, and why

    std::string title() const;
    // The point nearest to `x, y` within `radius` metres; none when there is none.
    std::optional<std::size_t> pointNear(double x, double y, double radius) const;
    // The table row of a point: every field's name and value, a number with the field's
    // decimals, a decimal comma and the unit of its column ("12,345678 µg/m³").
    std::vector<std::pair<std::string, std::string>> rowOf(std::size_t point) const;
};

// The column name that colours the points by their dominant source group: the GR_ field with
// the largest share (the first of equal ones); a point without any share has no value.
inline constexpr std::string_view kDominantGroupColumn = "SKUPINA";

// Builds the model; a problem when the table cannot be read, the column is not in it or the
// class breaks cannot be made. Optional layers that fail go into `warnings` and stay empty.
// The background is read for a picture of `pictureWidth` pixels (0: a window's view of the
// study, with room to move around it).
Outcome<MapModel> buildMapModel(const MapSettings&, Reporter&, int pictureWidth = 0);

// The unit a result column is given in.
std::string columnUnit(const std::string& column);

}  // namespace ovd
