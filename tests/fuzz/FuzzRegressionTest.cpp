// Every input a fuzz target once failed on, replayed in the ordinary build: the
// fix must hold. A target aborts on a broken property, so a failure here ends
// the test program with the target's message.

#include "FuzzTargets.h"

#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The inputs in folder, in name order.
std::vector<std::string> Inputs(const std::string& folder) {
    std::vector<std::string> files;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(d))
            if (e->d_name[0] != '.' && std::string(e->d_name) != "README.md")
                files.push_back(folder + "/" + e->d_name);
        ::closedir(d);
    }
    std::sort(files.begin(), files.end());
    return files;
}

size_t Replay(const std::string& folder, int (*target)(const uint8_t*, size_t)) {
    const std::vector<std::string> files = Inputs(folder);
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        SCOPED_TRACE(file);
        target(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    return files.size();
}

const std::string kRegressions = PZ_FUZZ_REGRESSIONS;

TEST(FuzzRegressions, ScannerInputs) {
    EXPECT_GT(Replay(kRegressions + "/scanner", FuzzScanner), 0u);
}

TEST(FuzzRegressions, OnePassInputs) {
    EXPECT_GT(Replay(kRegressions + "/one-pass", FuzzOnePass), 0u);
}

TEST(FuzzRegressions, ProtocolInputsAndSeeds) {
    Replay(kRegressions + "/protocol", FuzzProtocol);
    // The seeds cover each message kind, with and without descriptors.
    EXPECT_GT(Replay(PZ_FUZZ_SEEDS "/protocol", FuzzProtocol), 5u);
}

} // namespace
