// The committed effects: the tool rebuilds them byte for byte from their recipes, and each is
// short, clearly audible, click-free and unlike the others.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;

const char* const effects[] = {"blipn", "bigblip", "good", "bad"};

std::vector<char> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
}

uint32_t le(const std::vector<char>& b, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(b[at + i]);
    return value;
}

// Runs the asset tool and returns its exit status; its standard output goes to *output.
int runAssetgen(const fs::path& assets, const fs::path& out, std::string* output) {
    std::string command = std::string("'") + WANDERKIN_ASSETGEN + "' '" + assets.string() + "' '" +
                          out.string() + "' 2>&1";
    FILE* tool = popen(command.c_str(), "r");
    if (!tool)
        return -1;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, tool))
        *output += buffer;
    int status = pclose(tool);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(SoundAssets, ToolRebuildsTheCommittedEffectsExactly) {
    if (std::string(WANDERKIN_ASSETGEN).empty())
        GTEST_SKIP() << "the asset tool was not built";
    fs::path out = fs::temp_directory_path() / ("wanderkin-sounds-" + std::to_string(getpid()));
    fs::remove_all(out);
    std::string output;
    EXPECT_EQ(runAssetgen(sourcePath("assets"), out, &output), 0) << output;
    for (const char* name : effects) {
        fs::path file = fs::path("audio") / (std::string(name) + ".wav");
        std::vector<char> built = readBytes(out / file);
        ASSERT_FALSE(built.empty()) << file;
        EXPECT_TRUE(built == readBytes(sourcePath(file.string())))
            << file << " differs from what assets/sounds/" << name
            << ".txt makes: run assetgen and commit the result";
    }
    fs::remove_all(out);
}

TEST(SoundAssets, EffectsAreShortAudibleCleanAndDistinct) {
    struct Measure {
        double seconds, peak, crossingsPerSecond;
    };
    std::vector<Measure> measures;
    for (const char* name : effects) {
        std::vector<char> b = readBytes(sourcePath(std::string("audio/") + name + ".wav"));
        ASSERT_GE(b.size(), 44u) << name;
        ASSERT_EQ(std::string(b.data(), 4), "RIFF") << name;
        ASSERT_EQ(std::string(b.data() + 8, 8), "WAVEfmt ") << name;
        EXPECT_EQ(le(b, 20, 2), 1u) << name << ": PCM";
        EXPECT_EQ(le(b, 22, 2), 1u) << name << ": mono";
        EXPECT_EQ(le(b, 24, 4), 44100u) << name;
        EXPECT_EQ(le(b, 34, 2), 16u) << name;
        ASSERT_EQ(le(b, 40, 4), b.size() - 44) << name;
        std::vector<double> s;
        for (size_t i = 44; i + 2 <= b.size(); i += 2)
            s.push_back(static_cast<int16_t>(le(b, i, 2)) / 32768.0);
        Measure m{s.size() / 44100.0, 0, 0};
        for (size_t i = 0; i < s.size(); ++i) {
            m.peak = std::max(m.peak, std::fabs(s[i]));
            if (i > 0 && (s[i] < 0) != (s[i - 1] < 0))
                m.crossingsPerSecond += 1 / m.seconds;
        }
        EXPECT_GT(m.seconds, 0.05) << name;
        EXPECT_LT(m.seconds, 0.6) << name;
        // Loud enough to hear over the background hiss, with headroom left (no clipping).
        EXPECT_GT(m.peak, 0.3) << name;
        EXPECT_LT(m.peak, 0.9) << name;
        // Starts and ends at rest, so neither end clicks.
        EXPECT_LT(std::fabs(s.front()), 0.01) << name;
        for (size_t i = s.size() - 44; i < s.size(); ++i)
            ASSERT_LT(std::fabs(s[i]), 0.01) << name << " ends with a click";
        measures.push_back(m);
    }
    // Any two effects differ clearly in length or in pitch.
    for (size_t i = 0; i < measures.size(); ++i)
        for (size_t j = i + 1; j < measures.size(); ++j) {
            double length = std::fabs(std::log(measures[i].seconds / measures[j].seconds));
            double pitch = std::fabs(
                std::log(measures[i].crossingsPerSecond / measures[j].crossingsPerSecond));
            EXPECT_TRUE(length > 0.3 || pitch > 0.3)
                << effects[i] << " and " << effects[j] << " are too alike";
        }
}
