// The asset tool: the committed sheets and effects are its output, and malformed sources each end
// in one "file:line: reason" and a failing status, never in a crash or a write past a buffer.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/TestSupport.h"

namespace fs = std::filesystem;

namespace {
// Runs the tool and returns what it printed; status is its exit status, or -1 if it died.
std::string runTool(const std::string& assets, const std::string& out, int& status) {
    const std::string command =
        "'" + std::string(WANDERKIN_ASSETGEN) + "' '" + assets + "' '" + out + "'";
    FILE* pipe = popen(command.c_str(), "r");
    std::string said(4096, '\0');
    said.resize(std::fread(said.data(), 1, said.size(), pipe));
    const int result = pclose(pipe);
    status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return said;
}
} // namespace

TEST(AssetTool, CommittedSheetsAndEffectsAreItsOutputByteForByte) {
    // On a difference, regenerate with `assetgen assets .` and commit the result.
    const fs::path out =
        fs::temp_directory_path() / ("wanderkin-assets-" + std::to_string(getpid()));
    int status = 0;
    runTool(sourcePath("assets"), out.string(), status);
    ASSERT_EQ(status, 0);
    for (const char* folder : {"textures", "audio"}) {
        const std::string command =
            "diff -rq '" + (out / folder).string() + "' '" + sourcePath(folder) + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
    fs::remove_all(out);
}

TEST(AssetTool, RejectsBadSourcesNamingFileAndLine) {
    const fs::path scratch =
        fs::temp_directory_path() / ("wanderkin-assettool-" + std::to_string(getpid()));
    const std::string note = "length 1\nnote ";
    const std::string icon = "scale 4\n" + std::string(16, '.') + "\n";
    const struct {
        std::string source, text; // a file of the assets copy, and its new text
        std::string said;         // the line the tool must print, from its start
    } cases[] = {
        {"sounds/blipn.txt", note + "68000 0.1 sine 440 440 0.5 0 0.1\n",
         "assets/sounds/blipn.txt:2: start must be in [0, 1) s, found 68000"},
        {"sounds/blipn.txt", note + "0 0.1 sine 440 440 nan 0 0.1\n",
         "assets/sounds/blipn.txt:2: amplitude must be in [0, 100], found nan"},
        {"icons/00.txt", icon + "...Z" + std::string(12, '.') + "\n",
         "assets/icons/00.txt:3: character 'Z' is not in the palette"},
        {"font/glyphs.txt", "# font\nglyph 32 space\n........\n",
         "assets/font/glyphs.txt:2: glyph ends after 1 rows, expected 8"},
    };
    for (const auto& c : cases) {
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        fs::copy(sourcePath("assets"), scratch / "assets", fs::copy_options::recursive);
        std::ofstream(scratch / "assets" / c.source) << c.text;
        int status = 0;
        const std::string said =
            runTool((scratch / "assets").string(), (scratch / "out").string(), status);
        EXPECT_EQ(status, 1) << c.said << "\n" << said;
        EXPECT_NE(said.find((scratch / c.said).string()), std::string::npos)
            << "expected: " << c.said << "\nsaid: " << said;
    }
    fs::remove_all(scratch);
}
