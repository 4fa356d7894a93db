// Any text as a command line: the parser never fails, and every item it keeps has a key.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cmdparams/cmd_params.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    cCMDParams p;
    p.DelimiterChar(std::string(1, static_cast<char>(data[0] % 2 ? '/' : '-')));
    p.CMDParams(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    int count = p.Count();
    for (const cCMD& c : p.NewEnum())
        if (c.Key().empty() || !p.IsExistKey(c.Key()))
            __builtin_trap();
    if (count != static_cast<int>(p.NewEnum().size()))
        __builtin_trap();
    p.Item("ini", "d");
    return 0;
}
