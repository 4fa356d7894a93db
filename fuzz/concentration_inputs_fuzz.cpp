// Any bytes as a clusters file or as a checkpoint file of a small run: parsing must hold
// up, and a checkpoint is either refused or read back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/checkpoint_file.h"
#include "model/concentration_clusters.h"
#include "model/concentration_study_generator.h"

namespace {

struct SmallRun {
    ovd::ConcentrationStudy study;
    std::optional<ovd::PreparedRun> run;
    SmallRun(ovd::ConcentrationMode mode)
    {
        ovd::StudyShape shape;
        shape.points = 3;
        shape.pointSources = 1;
        shape.areaSources = 1;
        shape.lineSources = 0;
        study = ovd::generateStudy(shape);
        ovd::ConcentrationParameters par;
        par.mode = mode;
        par.step = 45.0;
        par.groupShares = true;
        if (auto prepared = ovd::prepareConcentrationRun(study, par))
            run = std::move(*prepared);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static SmallRun annual(ovd::ConcentrationMode::Annual), maximum(ovd::ConcentrationMode::Maximum);
    if (size == 0)
        return 0;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
    case 0: {
        for (const ovd::ClusterLine& c : ovd::parseClusters(bytes))
            if (c.count < -1000000 || c.count > 1000000)
                __builtin_trap();
        break;
    }
    default: {
        const SmallRun& r = data[0] % 3 == 1 ? annual : maximum;
        const ovd::CheckpointSignature sig;
        if (auto c = ovd::decodeCheckpoint(*r.run, bytes, sig))
            if (ovd::encodeCheckpoint(*r.run, c->state, c->direction, sig) != bytes)
                __builtin_trap();
        break;
    }
    }
    return 0;
}
