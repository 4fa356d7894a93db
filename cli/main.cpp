#include <iostream>

#include "cli_main.h"
#include "common/platform.h"
#ifdef OVD_WITH_GIS
#include "gis/gdal_services.h"
#endif
#ifdef OVD_WITH_MAP
#include "map/map_export.h"
#endif
#ifdef OVD_WITH_REPORT
#include "report/report_tool.h"
#endif

int main(int argc, char** argv)
{
    ovd::Services services;
#ifdef OVD_WITH_GIS
    services.gis = &ovd::gdalServices();
#endif
#ifdef OVD_WITH_MAP
    static const ovd::FileMapRenderer renderer;
    services.map = &renderer;
#endif
#ifdef OVD_WITH_REPORT
    static const ovd::FileReportWriter reportWriter;
    services.report = &reportWriter;
#endif
    ovd::useUtf8Console();
    std::vector<std::string> args = ovd::programArguments(argc, argv);
    int code = ovd::runCli(args, std::cout, stderr, stdin, services);
    std::cout.flush();
    return code;
}
