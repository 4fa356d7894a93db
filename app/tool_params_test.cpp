// The declared project keys of all tools, taken together.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>

#include "app/tool_registry.h"

namespace ovd {
namespace {

// Sections and keys are found without regard to case.
std::string name(const ParamInfo& p)
{
    std::string n = std::string(p.section) + "/" + std::string(p.key);
    for (char& c : n)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return n;
}

TEST(ToolParams, AKeySharedByToolsIsDeclaredAlikeEverywhere)
{
    // Tools share keys ("Global" "TypVypoctu" and the binary inputs); a key that one tool
    // read as a number and another as text, or with another default, would make the tools
    // disagree about one project.
    std::map<std::string, std::pair<ParamInfo, std::string>> seen;
    std::size_t declaring = 0;
    for (const ToolEntry& tool : toolRegistry()) {
        if (!tool.params)
            continue;
        ++declaring;
        std::set<std::string> own;
        for (const ParamInfo& p : tool.params()) {
            EXPECT_TRUE(own.insert(name(p)).second) << tool.command << " declares " << name(p) << " twice";
            auto [at, first] = seen.try_emplace(name(p), p, tool.command);
            if (first)
                continue;
            const ParamInfo& other = at->second.first;
            EXPECT_EQ(p.key, other.key) << name(p) << ": written in another case than by " << at->second.second;
            EXPECT_EQ(p.kind, other.kind) << name(p) << " in " << tool.command << " and " << at->second.second;
            EXPECT_EQ(p.def, other.def) << name(p) << " in " << tool.command << " and " << at->second.second;
        }
    }
    EXPECT_GE(declaring, 15u);
    EXPECT_TRUE(toolParams("dbf-show").empty());
    EXPECT_TRUE(toolParams("no-such-tool").empty());
}

}  // namespace
}  // namespace ovd
