#include "map_inputs.h"

#include "spatial_reference.h"

namespace ovd {

std::string studySystemLabel(const std::string& definition)
{
    Outcome<std::string> name = systemName(definition);
    return name && !name->empty() ? definition + " (" + *name + ")" : definition;
}

}  // namespace ovd
