#pragma once
// Test fixture: a folder with the conversion's text inputs and outputs under their usual names.
#include <gtest/gtest.h>

#include <string>

#include "common/file_io.h"
#include "conversion.h"
#include "testing/test_support.h"

namespace ovd {

class ConversionFolder : public ::testing::Test {
protected:
    void write(const std::string& name, const std::string& text)
    {
        ASSERT_TRUE(writeFileAtomically(dir.path(name), text));
    }
    ConversionSettings settings(bool dust = false, bool sort = false)
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
    TempDir dir;
};

}  // namespace ovd
