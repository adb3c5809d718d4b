// The size of the window in pixels: every picture of the game is drawn for exactly this.
#pragma once

constexpr int screenWidth = 640;
constexpr int screenHeight = 480;
