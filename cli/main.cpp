#include <iostream>

#include "cli_main.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    int code = ovd::runCli(args, std::cout, stderr, stdin);
    std::cout.flush();
    return code;
}
