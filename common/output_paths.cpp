#include "output_paths.h"

#include "file_io.h"

namespace ovd {

std::string sharedFileText(const NamedPath& first, const NamedPath& second)
{
    return "Soubor " + second.path + " je zadán jako " + first.role + " i jako " + second.role +
        ".\nZvolte pro výstup jiný soubor.";
}

bool refuseSharedFiles(Reporter& rep, const std::vector<NamedPath>& inputs, const std::vector<NamedPath>& outputs)
{
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const NamedPath& out = outputs[i];
        if (out.path.empty())
            continue;
        for (const NamedPath& in : inputs)
            if (samePath(in.path, out.path)) {
                rep.error(sharedFileText(in, out));
                return false;
            }
        for (std::size_t j = 0; j < i; ++j)
            if (samePath(outputs[j].path, out.path)) {
                rep.error(sharedFileText(outputs[j], out));
                return false;
            }
    }
    return true;
}

}  // namespace ovd
