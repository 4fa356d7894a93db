// Replays a fuzzer's inputs without libFuzzer: every regular file under the folders and
// files named on the command line, in name order, then the empty input. A crash or trap in
// the entry point fails the run; so does finding no input at all, which would prove nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsUnder(const fs::path& root)
{
    std::vector<fs::path> files;
    if (fs::is_regular_file(root))
        files.push_back(root);
    else if (fs::is_directory(root))
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

int replay(const std::string& bytes)
{
    // A copy of exactly the input's length, so reading past its end is caught by ASan.
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    return LLVMFuzzerTestOneInput(data.data(), data.size());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " SEED_FOLDER_OR_FILE...\n";
        return 2;
    }
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path& file : inputsUnder(argv[i])) {
            std::ifstream in(file, std::ios::binary);
            if (!in) {
                std::cerr << "cannot read " << file.string() << "\n";
                return 1;
            }
            std::cout << file.string() << std::endl;  // the last one named is the culprit
            replay(std::string(std::istreambuf_iterator<char>(in), {}));
            ++count;
        }
    }
    if (count == 0) {
        std::cerr << "no inputs found\n";
        return 1;
    }
    replay(std::string());
    std::cout << "replayed " << count << " inputs and the empty one\n";
    return 0;
}
