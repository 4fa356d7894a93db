#include <iostream>

#include "cli_main.h"
#include "gis/gdal_services.h"
#ifdef OVD_WITH_MAP
#include "map/map_export.h"
#endif

int main(int argc, char** argv)
{
    ovd::registerGdalServices();
#ifdef OVD_WITH_MAP
    ovd::registerMapRenderer();
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    int code = ovd::runCli(args, std::cout, stderr, stdin);
    std::cout.flush();
    return code;
}
