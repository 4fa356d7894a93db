#include "common/le_io.h"

#include <gtest/gtest.h>

using namespace ovd;

TEST(LittleEndian, FieldsAreWrittenLowByteFirstAndReadBack)
{
    std::string b;
    putI16(b, -2);
    putI32(b, 0x01020304);
    putF32(b, 1.0f);
    putF64(b, -2.5);
    ASSERT_EQ(b.size(), 18u);
    EXPECT_EQ(b.substr(0, 6), std::string("\xFE\xFF\x04\x03\x02\x01", 6));
    EXPECT_EQ(b.substr(6, 4), std::string("\x00\x00\x80\x3F", 4));
    ByteReader r(b);
    EXPECT_EQ(r.i16(), -2);
    EXPECT_EQ(r.i32(), 0x01020304);
    EXPECT_EQ(r.f32(), 1.0f);
    EXPECT_EQ(r.f64(), -2.5);
    EXPECT_FALSE(r.failed());
    EXPECT_EQ(r.i32(), 0);
    EXPECT_TRUE(r.failed()) << "reading past the end is noticed";
}
