#pragma once
// The file of intermediate results written after 45, 90, ... 315 degrees, so that a run
// that did not finish can be continued. After the blocks of the accumulators come the
// group sums and a signature of the run; a file that does not match the present run in
// every respect is not offered for a restart.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/concentration_state.h"

namespace ovd {

struct CheckpointSignature {
    struct InputFile {
        std::int64_t size = 0;
        std::int64_t modified = 0;   // modification time, nanoseconds
    };
    std::vector<InputFile> inputs;   // in a fixed order chosen by the caller
    static CheckpointSignature ofFiles(const std::vector<std::string>& paths);
};

std::string encodeCheckpoint(const PreparedRun&, const ConcentrationState&, double direction,
                             const CheckpointSignature&);
// The state and last completed direction when the bytes belong to this run, else nothing.
struct CheckpointContents {
    double direction = 0;
    ConcentrationState state;
};
std::optional<CheckpointContents> decodeCheckpoint(const PreparedRun&, std::string_view bytes,
                                                   const CheckpointSignature&);

bool writeCheckpoint(const std::string& path, const PreparedRun&, const ConcentrationState&, double direction,
                     const CheckpointSignature&);
std::optional<CheckpointContents> readCheckpoint(const std::string& path, const PreparedRun&,
                                                 const CheckpointSignature&);

// Index of the first direction after a restart: whole part of the stored direction plus a step.
int restartDirectionIndex(const PreparedRun&, double storedDirection);

// "Poslední běh tohoto výpočtu ..." with the output table and the stored direction.
std::string restartQuestionText(const std::string& outputTable, double storedDirection);

}  // namespace ovd
