#include "tiles/study_signature.h"

#include <algorithm>

#include "common/content_hash.h"
#include "common/numbers.h"
#include "common/text.h"
#include "inputs/conversion.h"
#include "model/coefficient_settings.h"
#include "model/concentration_settings.h"

namespace ovd {

namespace {

struct OwnFile {
    std::string_view key, name;
};
// The files a tile writes or holds alone; every other file key names a shared input.
constexpr OwnFile kOwnFiles[] = {
    {"VstReferBodTxt", "body.txt"}, {"VstReferBodBin", "body.bin"},  {"VstZdrojBodBin", "zdroje.bin"},
    {"VstThetaBin", "theta.bin"},   {"VstDeltaBin", "delta.bin"},    {"VstZmaxBin", "zmax.bin"},
    {"VystDbf", "vysledky.dbf"},    {"VystDbfPodily", "podily.dbf"},
};

bool sameKey(std::string_view a, std::string_view b)
{
    return toLowerAscii(a) == toLowerAscii(b);
}

// Keys that change nothing in the results: the pollutant's place in the user's list (its
// class and limits are keys of their own) and the window state during a run.
bool affectsResults(const ParamInfo& p)
{
    return p.role != ParamRole::SubstancePosition && p.role != ParamRole::RunMinimized;
}

std::string valueText(const SettingsFile& f, const ParamInfo& p)
{
    switch (p.kind) {
    case ParamKind::Integer: return std::to_string(readParamInt(f, p));
    case ParamKind::Decimal: return cformat("%.17g", readParamDouble(f, p));
    case ParamKind::Flag: return readParamFlag(f, p) ? "1" : "0";
    case ParamKind::Text: break;
    }
    return readParamText(f, p);
}

}  // namespace

std::vector<ParamInfo> mainRoadParams()
{
    std::vector<ParamInfo> out;
    auto add = [&](const std::vector<ParamInfo>& infos) {
        for (const ParamInfo& p : infos) {
            bool known = std::any_of(out.begin(), out.end(), [&](const ParamInfo& q) {
                return sameKey(q.section, p.section) && sameKey(q.key, p.key);
            });
            if (!known)
                out.push_back(p);
        }
    };
    add(paramInfos<ConversionSettings>());
    add(paramInfos<CoefficientSettings>());
    add(paramInfos<ConcentrationSettings>());
    return out;
}

std::string_view tileOwnFileName(std::string_view key)
{
    for (const OwnFile& f : kOwnFiles)
        if (sameKey(f.key, key))
            return f.name;
    return {};
}

std::vector<NamedPath> sharedInputs(const SettingsFile& f)
{
    const ConcentrationSettings s = loadSettings<ConcentrationSettings>(f);
    std::vector<NamedPath> out;
    for (const ParamInfo& p : mainRoadParams()) {
        if (p.kind != ParamKind::Text || !tileOwnFileName(p.key).empty())
            continue;
        // the dust files only for dust, the clusters only with nearby sources
        if ((sameKey(p.key, "VstZdrojPrachTxt") || sameKey(p.key, "VstZdrojSkupTxt")) && !s.dust)
            continue;
        if (sameKey(p.key, "VstPopisTxt") && !s.nearbySources)
            continue;
        out.push_back({std::string(p.key), readParamText(f, p)});
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> sharedInputHashes(const SettingsFile& f)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const NamedPath& input : sharedInputs(f))
        out.emplace_back(input.role, input.path.empty() ? std::string() : fileHashHex(input.path).value_or(""));
    return out;
}

std::string signatureChangeText(const SettingsFile& f, const std::vector<std::pair<std::string, std::string>>& recorded)
{
    if (recorded.empty())
        return "Vstupní soubory nebo nastavení studie se od rozdělení na dlaždice změnily";
    for (const NamedPath& input : sharedInputs(f)) {
        std::optional<std::string> now = input.path.empty() ? std::nullopt : fileHashHex(input.path);
        auto then =
            std::find_if(recorded.begin(), recorded.end(), [&](const auto& r) { return r.first == input.role; });
        if (then == recorded.end() || !now || *now != then->second)
            return "Vstupní soubor " + input.path + " (klíč " + input.role + ") se od rozdělení na dlaždice změnil";
    }
    return "Nastavení výpočtu studie nebo rychlosti větru profilu se od rozdělení na dlaždice změnily";
}

Outcome<std::string> studySignature(const SettingsFile& f, const std::array<double, 3>& speeds)
{
    ContentHash h;
    for (const ParamInfo& p : mainRoadParams())
        if (p.kind != ParamKind::Text && affectsResults(p))
            h.addField(p.section).addField(p.key).addField(valueText(f, p));
    for (double v : speeds)
        h.addField(cformat("%.17g", v));
    for (const NamedPath& input : sharedInputs(f)) {
        std::optional<std::string> content = input.path.empty() ? std::nullopt : fileHashHex(input.path);
        if (!content)
            return Problem::error(
                cformat("Vstupní soubor \"%s\" (nastavení %s) nelze přečíst!", input.path.c_str(), input.role.c_str()));
        h.addField(input.role).addField(*content);
    }
    return h.hex();
}

}  // namespace ovd
