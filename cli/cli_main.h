#pragma once
// ovardix-cli [--yes|--no] [--profile FILE] [--quiet] COMMAND PROJECT.ovd [ARGS]
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "app/tool_registry.h"

namespace ovd {

// Exit status of the runner.
enum ExitCode { kExitDone = 0, kExitFailed = 1, kExitUsage = 2, kExitDeclined = 3, kExitUnusable = 4 };

// `services` are what the program hands its tools (the GIS library, the map's drawing).
int runCli(const std::vector<std::string>& args, std::ostream& out, std::FILE* err, std::FILE* in,
           const Services& services = {});

}  // namespace ovd
