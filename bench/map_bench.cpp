// The result map of a large study: 30 000 points, 500 sources, a 600 x 600 terrain and a wind
// rose. Opening (every layer built, isolines and bands included) and one redraw of a
// 1366 x 768 view, then a redraw of the layers alone as a pan makes it; and the contouring of
// the points (isolines and bands) alone.
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>

#include "common/file_io.h"
#include "common/reporter_wrapper.h"
#include "common/source_layout.h"
#include "gis/result_points.h"
#include "inputs/binary_inputs.h"
#include "inputs/terrain_matrix.h"
#include "map/map_export.h"
#include "map/map_layers.h"
#include "scattered_table.h"
#include "testing/test_support.h"

using namespace ovd;
using Clock = std::chrono::steady_clock;

static double msSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// The contouring alone, best of three: values on the lattice, the isolines and the bands' polygons.
static double contouringTime(const MapSettings& s, Reporter& r, std::size_t& rings)
{
    double best = 1e9;
    Outcome<MapModel> base = buildMapModel(s, r);
    for (int round = 0; round < 3 && base; ++round) {
        MapModel m = *base;
        m.isolines = {};
        m.bands.clear();
        auto t = Clock::now();
        buildIsolineLayers(m, latticeVertices(m.points.size()));
        best = std::min(best, msSince(t));
        rings = 0;
        for (const BandPolygon& b : m.bands)
            rings += b.rings.size();
    }
    return best;
}

// The study's sources scattered over the square, a wavy terrain and a wind rose, named in `s`.
bool writeStudyLayers(const TempDir& dir, MapSettings& s, int kSources, int kCells, double kX0, double kY0,
                      double kSide, std::mt19937& rng)
{
    std::uniform_real_distribution<double> coord(0, kSide);
    std::vector<SourceRecord> sources(kSources);
    for (int i = 0; i < kSources; ++i) {
        SourceRecord& src = sources[i];
        src.number = i + 1;
        src.type = static_cast<std::int16_t>(1 + i % 3);
        src.x = kX0 + coord(rng);
        src.y = kY0 + coord(rng);
        src.values[StackParam::kEmission] = 1 + i % 7;
        src.values[StackParam::kElementSpacing] = src.type == kAreaSource ? 50 : 0;
        if (src.type == kLineSource) {
            src.values[LineParam::kStartX] = src.x;
            src.values[LineParam::kStartY] = src.y;
            src.values[LineParam::kEndX] = src.x + 300;
            src.values[LineParam::kEndY] = src.y + 200;
        }
    }
    TerrainHeader h;
    h.element = TerrainElement::Int16;
    h.ncols = h.nrows = kCells;
    h.xOrigin = kX0;
    h.yOrigin = kY0;
    h.cellSize = kSide / kCells;
    h.noData = -9999;
    std::string terrain = h.encode();
    for (int r = 0; r < kCells; ++r)
        for (int c = 0; c < kCells; ++c)
            putTerrainElement(terrain, h.element, std::lround(300 + 80 * std::sin(c / 60.0) * std::cos(r / 45.0)), 0);
    std::string rose;
    for (int q = 0; q < 11; ++q) {
        for (int d = 0; d < 36; ++d)
            rose += std::to_string(0.1 + (d % 9) * 0.05) + ",";
        rose += "0.5\n";
    }
    s.sources = dir.path("zdroje.bin");
    s.terrain = dir.path("teren.bin");
    s.windRose = dir.path("ruzice.txt");
    return writeFileAtomically(s.sources, encodeSources(sources, false)) && writeFileAtomically(s.terrain, terrain) &&
        writeFileAtomically(s.windRose, rose);
}

struct DrawTimes {
    double best, open, draw, pan;  // ms; best < 0: the model could not be built
};

// Opening the study and drawing it on a screen, best of three, and redrawing its layers after a pan.
DrawTimes timeOpenAndDraw(const MapSettings& s, Reporter& r)
{
    const QSize screen(1366, 768);
    double best = 1e9, bestOpen = 0, bestDraw = 0, bestPan = 1e9;
    for (int round = 0; round < 3; ++round) {
        auto t0 = Clock::now();
        Outcome<MapModel> model = buildMapModel(s, r);
        if (!model) {
            std::fprintf(stderr, "%s\n", model.problem().text.c_str());
            return {-1, 0, 0, 0};
        }
        double open = msSince(t0);
        QImage img(screen, QImage::Format_ARGB32_Premultiplied);
        ViewTransform view = ViewTransform::fit(model->box, screen);
        auto t1 = Clock::now();
        {
            QPainter p(&img);
            paintMap(p, *model, view, layerSet(s));
        }
        double draw = msSince(t1);
        if (open + draw < best) {
            best = open + draw;
            bestOpen = open;
            bestDraw = draw;
        }
        view.pan(QPointF(120, -40));
        auto t2 = Clock::now();
        {
            QPainter p(&img);
            paintLayers(p, *model, view, layerSet(s));
        }
        bestPan = std::min(bestPan, msSince(t2));
        if (round == 0)
            std::printf("%zu points, %zu sources, %zu isoline segments, %zu contour segments\n", model->points.size(),
                        model->sources.size(), model->isolines.segments.size(), model->contours.segments.size());
    }
    return {best, bestOpen, bestDraw, bestPan};
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    constexpr int kPoints = 30000, kSources = 500, kCells = 600;
    constexpr double kX0 = -750000, kY0 = -1050000, kSide = 20000;
    TempDir dir;
    std::mt19937 rng(7);
    auto hill = [&](double x, double y) {
        double dx = (x - kX0 - kSide / 2) / 3000, dy = (y - kY0 - kSide / 2) / 3000;
        return 100 * std::exp(-(dx * dx + dy * dy) / 2);
    };
    if (!writeScatteredTable(dir.path("rocni.dbf"), kPoints, "ID", "CONC_AVG", kX0, kY0, kSide, hill, rng))
        return 1;

    MapSettings s;
    s.table = dir.path("rocni.dbf");
    if (!writeStudyLayers(dir, s, kSources, kCells, kX0, kY0, kSide, rng))
        return 1;

    NullReporter r(Answer::Yes, stderr);
    const DrawTimes times = timeOpenAndDraw(s, r);
    if (times.best < 0)
        return 1;
    // What of the opening is the reading of the table alone.
    double table = 1e9;
    for (int round = 0; round < 3; ++round) {
        auto t = Clock::now();
        if (!readResultPoints(s.table))
            return 1;
        table = std::min(table, msSince(t));
    }
    std::printf("of the opening, reading the table: %.1f ms\n", table);
    std::size_t rings = 0;
    const double contouring = contouringTime(s, r, rings);
    std::printf("contouring %d points (isolines and %zu band rings): %.1f ms (limit 100 ms)\n", kPoints, rings,
                contouring);
    std::printf("open %.1f ms + redraw %.1f ms = %.1f ms (best of 3; limit 200 ms)\n", times.open, times.draw,
                times.best);
    std::printf("layers redrawn after a pan: %.1f ms\n", times.pan);
    return times.best < 200 && contouring < 100 ? 0 : 3;
}
