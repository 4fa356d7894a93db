#pragma once
// Traceability of results: a run that ends well signs, in the project's section "Podpisy",
// every file it wrote with the names and content fingerprints of the files it read. Names
// are relative to the project's folder and only content counts, so a copied study folder
// keeps its signatures; a changed input is found by comparing the fingerprints again.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "command_options.h"
#include "common/parameters.h"
#include "common/settings_file.h"

namespace ovd {

inline constexpr std::string_view kSignatureSection = section::kSignatures;

struct SignedInput {
    std::string name;  // as the project stores a path: relative to its folder when inside it
    std::string hash;  // ContentHash of the content
};

// The files a run names and their state before it: the declared text keys (their values as
// the options given override them) and the options and arguments marked as files.
class RunSignatures {
public:
    // `writable`: the tool may write this key's file (keys a tool only reads are inputs).
    struct Named {
        std::string path;
        bool mayBeInput = true;
    };
    static RunSignatures before(const SettingsFile& project, std::span<const ParamInfo> keys,
                                std::span<const OptionSpec> declared, const CommandArgs& options);
    // After a run that ended well: the signature of each named file the run changed, from
    // the named files it did not change. Nothing is written when it changed none.
    bool record(const SettingsFile& project, Reporter&) const;

private:
    struct State {
        Named file;
        bool exists = false;
        long long size = -1;
        std::int64_t modified = 0;
    };
    static State stateOf(const Named&);
    std::vector<State> m_before;
};

// The value "name|hash;name|hash" and back (nullopt for a value that is not one).
std::string signatureText(const std::vector<SignedInput>&);
std::optional<std::vector<SignedInput>> parseSignature(std::string_view);
// The project key of a file: its name as the project stores it; empty when it cannot be one.
std::string signatureKey(const std::string& path, const std::string& projectFile);

// What the project records of an output, and which of those inputs differ now.
struct SignatureCheck {
    bool signedOutput = false;          // the project holds a signature of the file
    std::vector<std::string> changed;   // inputs (as named) whose content differs or is missing
};
// Follows the inputs that are signed outputs themselves, so that a table computed from a
// matrix whose own inputs changed since is found too.
SignatureCheck checkSignature(const SettingsFile& project, const std::string& output);

}  // namespace ovd
