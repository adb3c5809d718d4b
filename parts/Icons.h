// Icon numbers with a role in the game: the cells of the icon sheet that the scenes place on
// their boards, that the rules look for, and that the drawing puts over the board.
#pragma once

namespace Icon {
// The boy. In the first scene he is still a first form until his mother names him; at the end
// of the sales job he takes his late form. The spare form counts as the boy but no scene uses it.
constexpr int boyFirstForm = 0;
constexpr int boyLateForm = 3;
constexpr int boy = 8;
constexpr int boySpareForm = 11;

// People and things, first forms in the first scene until the mother names them.
constexpr int tableFirstForm = 1;
constexpr int motherFirstForm = 2;
constexpr int table = 9;
constexpr int mother = 10;
// The friend takes offence at the proposition; the stranger round the corner accepts it.
constexpr int oldFriend = 12;
constexpr int stranger = 13;

// Ground the boy can walk on: the room's floor (a first form until named) and the estate's
// lawn (its late form once the boss has opened the boy's eyes).
constexpr int floorFirstForm = 16;
constexpr int floor = 24;
constexpr int groundLateForm = 18;
constexpr int ground = 26;

// Everything else blocks the way.
constexpr int wallFirstForm = 19;
constexpr int wall = 27;
constexpr int house = 25;
// A house in its late form buys after the Z-shape and then shows that it has bought.
constexpr int houseLateForm = 17;
constexpr int soldHouse = 20;
// The black surround of every room, and the whole last scene.
constexpr int voidTile = 32;

// The mouse pointer, drawn over everything; never on a board. Its silhouette, a little larger,
// is drawn first to clear the ground under it, which gives the arrow its dark outline.
constexpr int pointer = 6;
constexpr int pointerSilhouette = 7;
// Legend icon firstLegend + k on a board offers gesture k in that scene; drawn over the boy
// while he blinks with a recognised gesture.
constexpr int firstLegend = 33;

// No cell ever holds it: a line that waits for the boy to walk into it never opens.
constexpr int nowhere = 400;
} // namespace Icon
