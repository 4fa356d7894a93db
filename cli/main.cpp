#include <iostream>

#include "cli_main.h"
#include "gis/gdal_services.h"

int main(int argc, char** argv)
{
    ovd::registerGdalServices();
    std::vector<std::string> args(argv + 1, argv + argc);
    int code = ovd::runCli(args, std::cout, stderr, stdin);
    std::cout.flush();
    return code;
}
