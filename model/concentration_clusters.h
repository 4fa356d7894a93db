#pragma once
// The clusters file: each line starts "cluster number, sources in it, distance value".
// Lines that do not start with a number are left out; a line whose count or distance
// cannot be read has count 0 and distance -1, which the run refuses when it is used.
#include <string>
#include <string_view>
#include <vector>

#include "common/outcome.h"
#include "model/concentration_inputs.h"

namespace ovd {

std::vector<ClusterLine> parseClusters(std::string_view text);

// The file read line by line. A line longer than 1 MiB is a problem naming it; a file that
// is not a regular file or cannot be read is the problem `unreadable`, the caller's wording.
Outcome<std::vector<ClusterLine>> readClustersFile(const std::string& path, std::string_view unreadable);

}  // namespace ovd
