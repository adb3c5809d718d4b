// A sheet the icon sheet cannot load is reported by name, and the game goes on without it.
// (The game's own sheet on screen is checked cell by cell by the scene drawing tests.)
#include <gtest/gtest.h>

#include <regex>

#include "app/GameEngine.h"
#include "graphics/IconSheet.h"
#include "tests/TestSupport.h"

TEST(IconSheet, AMissingSheetIsReportedWithSdlsReason) {
    testEngine(); // the window's GL context
    ::testing::internal::CaptureStdout();
    IconSheet("textures/no-such-sheet.bmp").drawIcon(0, 0, 5);
    const std::string said = ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(
        std::regex_match(said, std::regex("Could not load textures/no-such-sheet.bmp: .+\n")))
        << said;
}
