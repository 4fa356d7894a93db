#include "settings_commands.h"

namespace ovd {

ToolStatus runGetSetting(ToolCall& call)
{
    call.out << call.project->readString(call.args[0], call.args[1]) << '\n';
    return ToolStatus::Done;
}

ToolStatus runSetSetting(ToolCall& call)
{
    bool ok = call.project->writeString(call.args[0], call.args[1], call.args[2], call.context.reporter);
    return ok ? ToolStatus::Done : ToolStatus::Failed;
}

}  // namespace ovd
