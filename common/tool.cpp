#include "tool.h"

namespace ovd {

Answer unattendedAnswer(const Question& q)
{
    return q.kind == QuestionKind::Overwrite ? Answer::Yes : Answer::No;
}

Answer RunContext::ask(const Question& q) const
{
    return unattended ? unattendedAnswer(q) : reporter.ask(q);
}

bool RunContext::confirmOverwrite(const std::string& path) const
{
    return unattended || ovd::confirmOverwrite(reporter, path);
}

}  // namespace ovd
