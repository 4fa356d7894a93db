#pragma once
// Why a file could not be written, in words for a message.
#include <string>

namespace ovd {

// A short Czech reason for errno `err` ("na disku není dost místa"); 0 gives a general one.
std::string fileErrorReason(int err);

}  // namespace ovd
