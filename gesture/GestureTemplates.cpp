// The gesture templates, written in direction codes (0 right, clockwise to 7 up-right).
#include "gesture/GestureTemplates.h"

const GestureTemplate gestureTemplates[7] = {
    {0, "666666"},       // straight up
    {1, "222222"},       // straight down
    {2, "444444"},       // straight left
    {3, "000000"},       // straight right
    {4, "2234566"},      // a U begun at its right-hand top: ends a conversation
    {5, "0033300"},      // a Z: sells to a house
    {6, "110776543701"}, // the proposition
};
