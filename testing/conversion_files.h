#pragma once
// The conversion's text inputs and binary outputs under their usual names in one folder.
#include <string>

#include "inputs/conversion.h"
#include "testing/test_support.h"

namespace ovd {

inline ConversionSettings conversionFilesIn(const TempDir& dir, bool dust = false, bool sort = false)
{
    ConversionSettings s;
    s.pointsText = dir.path("body.txt");
    s.sourcesText = dir.path("zdroje.txt");
    s.descriptionText = dir.path("popis.txt");
    s.dustText = dir.path("prach.txt");
    s.dustGroupsText = dir.path("skupiny.spr");
    s.pointsBinary = dir.path("body.bin");
    s.sourcesBinary = dir.path("zdroje.bin");
    s.dust = dust;
    s.sortByAlfa = sort;
    return s;
}

}  // namespace ovd
