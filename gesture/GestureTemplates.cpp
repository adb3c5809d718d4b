// The gesture templates, written in direction codes (0 right, clockwise on screen to 7 up-right).
#include "gesture/GestureTemplates.h"

const GestureTemplate gestureTemplates[gestureCount] = {
    {pointUp, "666666"},           // straight up
    {pointDown, "222222"},         // straight down
    {pointLeft, "444444"},         // straight left
    {pointRight, "000000"},        // straight right
    {uShape, "2234566"},           // a U begun at its right-hand top
    {zShape, "0033300"},           // a Z
    {proposition, "110776543701"}, // a loop to the right and back, ending with a flourish
};
