// Conversion of 30000 reference points and 5000 sources (gas and dust, sorted by ALFA).
#include <chrono>
#include <cstdio>
#include <string>

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/reporter_wrapper.h"
#include "inputs/conversion.h"
#include "testing/conversion_files.h"

namespace { }  // namespace

int main()
{
    using namespace ovd;
    TempDir dir;
    std::string points, coords, desc, dust;
    for (int i = 1; i <= 30000; ++i)
        points += cformat("%d, %lf, %lf, %lf, 1.500000\r\n", i, 1000.0 + (i % 173) * 25, 1000.0 + (i / 173) * 25,
                          300.0 + i % 50);
    for (int i = 1; i <= 5000; ++i) {
        int type = i % 3 + 1;
        coords += cformat("%09d, %07d, %07d, %04d, %d, 0, %d ;Zdroj %d\r\n", i, 1000 + i % 4000, 1000 + i % 3000, 300,
                          type, i % 150, i);
        desc +=
            cformat("%d, %.7g, 40, 5, 150, 1, 10, %.4f, 24, 0\r\n", i, 0.1 + i * 1e-3, (i * 7919 % 10000) / 10000.0);
        dust += i % 2 ? cformat("%d,2200,0,3,2.5,0.3,10,0.5,50,0.2\r\n", i) : cformat("%d,2000,1\r\n", i);
    }
    writeFileAtomically(dir.path("body.txt"), points);
    writeFileAtomically(dir.path("zdroje.txt"), coords);
    writeFileAtomically(dir.path("popis.txt"), desc);
    writeFileAtomically(dir.path("prach.txt"), dust);
    writeFileAtomically(dir.path("skupiny.spr"), ";skupiny\r\n1,2,5,0.5,10,0.5;Popílek\r\n");

    ovd::NullReporter reporter(ovd::Answer::Yes, stderr);
    for (bool isDust : {false, true}) {
        const ConversionSettings s = conversionFilesIn(dir, isDust, true);
        const int runs = 5;
        auto start = std::chrono::steady_clock::now();
        for (int r = 0; r < runs; ++r)
            if (convertTextInputs(s, RunContext{reporter, true}) != ToolStatus::Done)
                return 1;
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / runs;
        std::printf("conversion %s, sorted: 30000 points + 5000 sources in %.3f s (%.0f lines/s)\n",
                    isDust ? "dust" : "gas", seconds, 35000 / seconds);
    }
    return 0;
}
