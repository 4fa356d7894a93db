#include "gdal_input_files.h"

#include <cpl_minixml.h>
#include <sys/stat.h>

#include <filesystem>

#include "common/paths.h"
#include "common/text.h"

namespace ovd {

namespace {

constexpr int kMaxVrtDepth = 8;

struct XmlTree {
    CPLXMLNode* root = nullptr;
    ~XmlTree() { CPLDestroyXMLNode(root); }
};

// A path that exists and is not a regular file (symlinks followed).
bool isSpecial(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

std::string notRegular(const std::string& path)
{
    return "soubor " + path + " není obyčejný soubor.";
}

bool looksLikeVrt(const std::string& path)
{
    std::string head(64, '\0');
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    head.resize(std::fread(head.data(), 1, head.size(), f));
    std::fclose(f);
    return head.find("<VRTDataset") != std::string::npos;
}

std::optional<std::string> checkFile(const std::string& path, int depth);

// Every <SourceFilename> and <SourceDataset> under `node`.
std::optional<std::string> checkSources(const CPLXMLNode* node, const std::string& folder, int depth)
{
    for (; node; node = node->psNext) {
        if (node->eType != CXT_Element)
            continue;
        const std::string name = node->pszValue;
        if (name == "SourceFilename" || name == "SourceDataset") {
            std::string source = trim(CPLGetXMLValue(node, nullptr, ""));
            const bool relative = std::string(CPLGetXMLValue(node, "relativeToVRT", "0")) == "1";
            // GDAL's virtual file systems (memory, archives, network) are not files here.
            if (!source.empty() && source.rfind("/vsi", 0) != 0) {
                if (relative && source.front() != '/')
                    source = folder + source;
                if (std::optional<std::string> why = checkFile(source, depth + 1))
                    return why;
            }
        }
        if (std::optional<std::string> why = checkSources(node->psChild, folder, depth))
            return why;
    }
    return std::nullopt;
}

std::optional<std::string> checkFile(const std::string& path, int depth)
{
    if (isSpecial(path))
        return notRegular(path);
    // Files GDAL looks for beside the raster: its name with a suffix, or with another extension.
    const std::string folder = folderOf(path);
    const std::string name = fileNameOf(path);
    const std::string stem = name.substr(0, name.rfind('.'));
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, ec)) {
        const std::string other = entry.path().filename().string();
        if (other != name && other.rfind(stem, 0) == 0 && isSpecial(folder + other) &&
            !std::filesystem::is_directory(entry.path(), ec))
            return notRegular(folder + other);
    }
    if (depth >= kMaxVrtDepth)
        return "odkazy mezi soubory VRT jsou vnořeny příliš hluboko (" + path + ").";
    if (!looksLikeVrt(path))
        return std::nullopt;
    XmlTree tree;
    tree.root = CPLParseXMLFile(path.c_str());
    return tree.root ? checkSources(tree.root, folder, depth) : std::nullopt;
}

}  // namespace

std::optional<std::string> unsafeGdalInput(const std::string& path)
{
    return checkFile(path, 0);
}

}  // namespace ovd
