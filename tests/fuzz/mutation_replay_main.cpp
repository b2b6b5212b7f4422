// Runs a fuzz entry point without libFuzzer: every seed file, then a fixed number of seeded
// random mutations of the seeds (byte flips, insertions, deletions, splices). Deterministic,
// so a failure here reproduces on every run.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::string> readSeeds(const std::filesystem::path& folder) {
    std::vector<std::string> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (seeds.empty()) seeds.emplace_back();
    return seeds;
}

std::string mutate(std::string input, const std::vector<std::string>& seeds, std::mt19937& random) {
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < edits; ++i) {
        const size_t at = input.empty() ? 0 : random() % input.size();
        switch (random() % 5) {
            case 0:
                if (!input.empty()) input[at] = static_cast<char>(random());
                break;
            case 1:
                input.insert(at, 1, static_cast<char>(random()));
                break;
            case 2:
                if (!input.empty()) input.erase(at, 1 + random() % 16);
                break;
            case 3: {
                const std::string& other = seeds[random() % seeds.size()];
                if (!other.empty())
                    input.insert(at, other.substr(random() % other.size(), 1 + random() % 32));
                break;
            }
            default: {
                static const char* tokens[] = {"<",
                                               ">",
                                               "/>",
                                               "\"",
                                               "=",
                                               "nan",
                                               "inf",
                                               "-",
                                               "1e999",
                                               "99999999999999999999",
                                               "&amp;",
                                               "<!--",
                                               "\xE5\xB9\xB3",
                                               "\xC6"};
                input.insert(at, tokens[random() % (sizeof tokens / sizeof *tokens)]);
            }
        }
    }
    return input;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER ITERATIONS\n", argv[0]);
        return 2;
    }
    const auto seeds = readSeeds(argv[1]);
    const long iterations = std::stol(argv[2]);
    for (const auto& seed : seeds)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(seed.data()), seed.size());
    std::mt19937 random(20261209);
    for (long i = 0; i < iterations; ++i) {
        const std::string input = mutate(seeds[random() % seeds.size()], seeds, random);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    std::printf("%ld passed, 0 failed\n", static_cast<long>(seeds.size()) + iterations);
    return 0;
}
