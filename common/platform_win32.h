#pragma once
// The Windows side's own helpers, for the Win32 implementations only.
#include <string>

namespace ovd {

// A UTF-8 path as the UTF-16 the wide Windows API takes; empty when it is not valid UTF-8.
std::wstring widePath(const std::string& utf8);
// UTF-16 from the Windows API as UTF-8.
std::string utf8Text(const std::wstring& wide);

}  // namespace ovd
