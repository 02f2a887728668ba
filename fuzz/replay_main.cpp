// Runs a fuzz target over the files of its corpus (and the empty input),
// so every host test run replays what the fuzzer found.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::size_t inputs = 0;
    // Like the fuzzer, an empty input still comes with a valid pointer.
    static const uint8_t nothing = 0;
    LLVMFuzzerTestOneInput(&nothing, 0);
    for (int i = 1; i < argc; ++i) {
        std::vector<fs::path> files;
        if (fs::is_directory(argv[i])) {
            for (const auto& e : fs::directory_iterator(argv[i]))
                if (e.is_regular_file())
                    files.push_back(e.path());
        } else if (fs::is_regular_file(argv[i])) {
            files.emplace_back(argv[i]);
        } else {
            std::fprintf(stderr, "no corpus at %s\n", argv[i]);
            return 1;
        }
        for (const auto& f : files) {
            std::ifstream in(f, std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            // A buffer of exactly the input's length, as the fuzzer gives it.
            auto copy = std::make_unique<uint8_t[]>(bytes.size() + 1);
            std::copy(bytes.begin(), bytes.end(), copy.get());
            LLVMFuzzerTestOneInput(copy.get(), bytes.size());
            ++inputs;
        }
    }
    std::printf("%zu inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
