// Each scene played from set-up to end as a player would, through handleEvent and update alone.
#include <gtest/gtest.h>

#include "tests/MainPartDriver.h"

namespace {
// The moves of each scene (see SceneDriver::run).
const char* const moves[MainPart::sceneCount] = {
    ".^^<^..<<..^^....",       // the mother, the table, the walls and the floor are named
    "8.U^^^..DvvL<<.",         // point the way to the mother, then to the table
    "10.CDvvL<<<<.",           // end the talk with the U-shape, then go to the table
    ".CDv>4.CDvR>>>>U^^2.P.f", // greet the friend, go round the wall, win the stranger
    "18.^Z.^^Z.v>>>Z.Z.f",     // hear the boss out, then sell to the four houses
    "5..",                     // six lines over the void
};
// Icons the lines' changes leave nowhere by the end: scene 4's estate is new from line 17 on.
const std::vector<int> gone[MainPart::sceneCount] = {{0, 1, 2, 16, 19},   {}, {}, {},
                                                     {25, 26, 27, 8, 17}, {}};

void playScene(SceneDriver& d, int scene) {
    const std::string all = moves[scene];
    d.ended = 0;
    // A frame first: nothing left over from the scene before may end this one.
    d.run("f" + all.substr(0, all.size() - 1));
    ASSERT_EQ(d.ended, 0) << "scene " << scene << " ended early";
    d.run(all.substr(all.size() - 1));
    EXPECT_EQ(d.ended, 1) << "scene " << scene;
    EXPECT_EQ(d.counter, scene + 1);
    for (int icon : gone[scene])
        EXPECT_EQ(d.count(icon), 0) << "scene " << scene << " icon " << icon;
}
} // namespace

TEST(ScenePlay, EachSceneFromItsSetUpToItsEndAndTheSixInARow) {
    SceneDriver inARow(0);
    for (int scene = 0; scene < MainPart::sceneCount; ++scene) {
        SceneDriver alone(scene);
        playScene(alone, scene);
        if (scene > 0)
            inARow.part.setUp(); // the engine starts the part again for each scene
        playScene(inARow, scene);
    }
    EXPECT_EQ(inARow.counter, 6);
}
