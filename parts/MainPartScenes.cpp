// Stand-in scene content: empty boards and scripts until the six scenes land.
#include "parts/MainPart.h"

const int MainPart::sceneGrids[sceneCount][rows][columns] = {};

void MainPart::appendSceneContent(int) {}
