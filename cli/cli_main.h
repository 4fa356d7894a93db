#pragma once
// ovardix-cli [--yes|--no] [--profile FILE] [--quiet] COMMAND PROJECT.ovd [ARGS]
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace ovd {

// Exit status of the runner.
enum ExitCode { kExitDone = 0, kExitFailed = 1, kExitUsage = 2, kExitDeclined = 3, kExitUnusable = 4 };

int runCli(const std::vector<std::string>& args, std::ostream& out, std::FILE* err, std::FILE* in);

}  // namespace ovd
