// Not a test of its own: the synthetic study the map's tests draw.
#include <gtest/gtest.h>

#include <memory>

#include "common/dbf_writer.h"
#include "common/file_io.h"
#include "common/source_layout.h"
#include "inputs/binary_inputs.h"
#include "map_test_study.h"

namespace ovd {

MapSettings writeTestStudy(const TempDir& dir)
{
    MapSettings s;
    s.table = dir.path("rocni.dbf");
    s.sources = dir.path("zdroje.bin");
    s.column = "CONC_AVG";
    s.levels = "10;20;50";
    std::vector<DbfField> fields = {{"ID", 8, 0, 0},     {"X_COORD", 12, 2, 0}, {"Y_COORD", 12, 2, 0},
                                    {"Z_ELEV", 8, 1, 0}, {"L_ELEV", 8, 1, 0},   {"CONC_AVG", 15, 6, 1}};
    DbfWriter w;
    w.open(s.table, fields, kStudyPoints, DbfDate{2026, 1, 1});
    int id = 1;
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i) {
            double x = i * 100.0, y = j * 100.0;
            double v = (x == kHotX && y == kHotY) ? kHotValue : (x == kLowX && y == kLowY) ? kLowValue : 12 + i + j;
            std::vector<double> row = {static_cast<double>(id++), x, y, 300, 1.5, v};
            w.writeRecord(row);
        }
    w.finish();
    SourceRecord stack;
    stack.number = 1;
    stack.x = 350;
    stack.y = 50;
    stack.type = kPointSource;
    stack.values[StackParam::kEmission] = 12.5;
    SourceRecord road;
    road.number = 2;
    road.type = kLineSource;
    road.values[LineParam::kStartX] = 0;
    road.values[LineParam::kStartY] = 450;
    road.values[LineParam::kEndX] = 400;
    road.values[LineParam::kEndY] = 450;
    road.values[LineParam::kEmission] = 0.01;
    road.x = 0;
    road.y = 450;
    writeFileAtomically(s.sources, encodeSources({stack, road}, false));
    return s;
}

namespace {

// The application lives from the first test that draws to the end of the run, and is
// destroyed before the statics, as Qt requires.
std::unique_ptr<QGuiApplication> g_app;

class ApplicationEnvironment : public ::testing::Environment {
public:
    void TearDown() override { g_app.reset(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace

void ensureTestApplication()
{
    if (QGuiApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ovd_map_tests";
    static char* argv[] = {name, nullptr};
    g_app = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace ovd
