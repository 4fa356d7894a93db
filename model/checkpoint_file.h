#pragma once
// The file of intermediate results written after 45, 90, ... 315 degrees (and after the last
// direction of a maximum whose groups' shares follow), so that a run that did not finish can
// be continued. After the blocks of the accumulators come the
// group sums, a signature of the run and a checksum of everything before it; a file that
// does not match the present run in every respect, fails its checksum or holds values no
// run can have is not offered for a restart.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/engine/concentration_state.h"

namespace ovd {

struct CheckpointSignature {
    struct InputFile {
        std::int64_t size = 0;
        std::int64_t modified = 0;  // modification time, nanoseconds
    };
    std::vector<InputFile> inputs;  // in a fixed order chosen by the caller
    static CheckpointSignature ofFiles(const std::vector<std::string>& paths);
};

std::string encodeCheckpoint(const PreparedRun&, const ConcentrationState&, double direction,
                             const CheckpointSignature&);
// The state and last completed direction when the bytes belong to this run, else nothing.
struct CheckpointContents {
    double direction = 0;
    ConcentrationState state;
};
// Why a checkpoint file is not offered.
enum class CheckpointRefusal {
    OtherRun,   // another run's (or no restart point): left out without a word
    OldLayout,  // written before the checksum was added
    Damaged,    // checksum or values wrong
};
std::optional<CheckpointContents> decodeCheckpoint(const PreparedRun&, std::string_view bytes,
                                                   const CheckpointSignature&, CheckpointRefusal* why = nullptr);

bool writeCheckpoint(const std::string& path, const PreparedRun&, const ConcentrationState&, double direction,
                     const CheckpointSignature&);
std::optional<CheckpointContents> readCheckpoint(const std::string& path, const PreparedRun&,
                                                 const CheckpointSignature&, CheckpointRefusal* why = nullptr);
// What the run says about a checkpoint it does not offer; empty for another run's.
std::string checkpointRefusalText(const std::string& checkpointPath, CheckpointRefusal);

// Index of the first direction after a restart: the one after the stored direction.
int restartDirectionIndex(const PreparedRun&, double storedDirection);

// "Poslední běh tohoto výpočtu ..." with the output table and the stored direction.
std::string restartQuestionText(const std::string& outputTable, double storedDirection);

}  // namespace ovd
