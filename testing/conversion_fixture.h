#pragma once
// Test fixture: a folder with the conversion's text inputs and outputs under their usual names.
#include <gtest/gtest.h>

#include <string>

#include "common/file_io.h"
#include "inputs/conversion.h"
#include "testing/conversion_files.h"

namespace ovd {

class ConversionFolder : public ::testing::Test {
protected:
    void write(const std::string& name, const std::string& text)
    {
        ASSERT_TRUE(writeFileAtomically(dir.path(name), text));
    }
    ConversionSettings settings(bool dust = false, bool sort = false) { return conversionFilesIn(dir, dust, sort); }
    TempDir dir;
};

}  // namespace ovd
