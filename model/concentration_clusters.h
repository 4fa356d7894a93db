#pragma once
// The clusters file: each line starts "cluster number, sources in it, distance value".
// Lines that do not start with a number are left out; a line whose count or distance
// cannot be read has count 0 and distance -1, which the run refuses when it is used.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/concentration_inputs.h"

namespace ovd {

std::vector<ClusterLine> parseClusters(std::string_view text);

// The file read line by line. Nothing when it is not a regular file or cannot be read,
// or when a line is longer than 1 MiB (its number then goes to *tooLongLine).
std::optional<std::vector<ClusterLine>> readClustersFile(const std::string& path, long* tooLongLine);

}  // namespace ovd
