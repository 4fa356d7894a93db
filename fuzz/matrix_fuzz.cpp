// Any bytes as a coefficient matrix (viewer rows and text export), or split into a terrain
// matrix, a reference-point file and a source file for a whole coefficient run: no crash,
// and a run either ends with complete matrices or leaves none.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "common/file_io.h"
#include "common/le_io.h"
#include "common/paths.h"
#include "model/coefficient_matrices_reader.h"
#include "model/coefficient_run.h"
#include "model/matrix_text.h"
#include "model/matrix_view.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace {

void viewAndExport(const ovd::TempDir& dir, const std::string& bytes)
{
    ovd::writeFileAtomically(dir.path("m.bin"), bytes);
    ovd::RecordingReporter rep;
    ovd::MatrixView view;
    if (view.open(dir.path("m.bin"), rep)) {
        if (view.rowCount() > 0 &&
            bytes.size() != 8 + 4ull * static_cast<std::uint64_t>(view.rowCount()) * (view.columnHeadings().size() - 1))
            __builtin_trap();
        std::vector<std::string> cells;
        for (std::int32_t r = 0; r < view.rowCount(); ++r)
            if (!view.row(r, cells))
                __builtin_trap();
    }
    // The same bytes as all three matrices of a concentration run: read only with usable values.
    ovd::CoefficientMatrices m;
    if (ovd::readCoefficientMatrices(dir.path("m.bin"), dir.path("m.bin"), dir.path("m.bin"), m, rep))
        for (float v : m.delta)
            if (!(v >= 0.0f && v <= 1.0f))
                __builtin_trap();
    std::remove(dir.path("m.txt").c_str());
    ovd::MatrixExportSettings s{dir.path("m.bin"), dir.path("m.txt")};
    ovd::ToolStatus status = ovd::exportMatrixText(s, ovd::RunContext{rep, true});
    if ((status == ovd::ToolStatus::Done) != ovd::fileExists(s.textOutput))
        __builtin_trap();
}

void coefficientRun(const ovd::TempDir& dir, const std::string& bytes)
{
    if (bytes.size() < 6)
        return;
    // Two lengths, the step and the switch, then the three files one after the other.
    std::size_t terrainLength =
        std::min<std::size_t>(bytes.size() - 6, ovd::getU16(reinterpret_cast<const unsigned char*>(bytes.data())));
    std::size_t pointsLength = std::min<std::size_t>(
        bytes.size() - 6 - terrainLength, ovd::getU16(reinterpret_cast<const unsigned char*>(bytes.data()) + 2));
    ovd::CoefficientSettings s;
    s.step = static_cast<unsigned char>(bytes[4]) - 8;
    s.interpolate = bytes[5] & 1;
    s.dust = bytes[5] & 2;
    s.terrain = dir.path("t.bin");
    s.points = dir.path("p.bin");
    s.sources = dir.path("s.bin");
    s.deriveOutputNames();
    ovd::writeFileAtomically(s.terrain, bytes.substr(6, terrainLength));
    ovd::writeFileAtomically(s.points, bytes.substr(6 + terrainLength, pointsLength));
    ovd::writeFileAtomically(s.sources, bytes.substr(6 + terrainLength + pointsLength));
    for (const std::string* out : {&s.theta, &s.delta, &s.zmax})
        std::remove(out->c_str());
    ovd::RecordingReporter rep({ovd::Answer::Yes});
    ovd::ToolStatus status = ovd::computeCoefficients(s, ovd::RunContext{rep, false}, 2);
    bool written = ovd::fileExists(s.theta) && ovd::fileExists(s.delta) && ovd::fileExists(s.zmax);
    bool none = !ovd::fileExists(s.theta) && !ovd::fileExists(s.delta) && !ovd::fileExists(s.zmax);
    if (status == ovd::ToolStatus::Done ? !written : !none)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ovd::TempDir dir;
    if (size == 0)
        return 0;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1)
        coefficientRun(dir, bytes);
    else
        viewAndExport(dir, bytes);
    return 0;
}
