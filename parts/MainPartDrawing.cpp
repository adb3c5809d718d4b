// The scene part's frame: the board, the blinking gesture, the message box, the stroke's trail
// and the pointer. Reads the model only.
#include <GL/gl.h>

#include "graphics/FontSet.h"
#include "graphics/IconSheet.h"
#include "graphics/Video.h"
#include "parts/MainPart.h"
#include "parts/SceneLayout.h"

using namespace SceneLayout;

namespace {
// The player alternates with the gesture's legend icon every this many frames.
const int blinkFrames = 10;
} // namespace

void MainPart::draw() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // While a gesture is fresh the player alternates with its legend icon, starting with the
    // icon.
    const bool showGesture = gestureTimer > 0 && (gestureTimer / blinkFrames) % 2 == 0 &&
                             lastGesture >= 0 && lastGesture < gestureCount;
    IconSheet* icons = video->icons;
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r) {
            int icon = grid[r][c];
            if (showGesture && isPlayerIcon(icon))
                icon = Icon::firstLegend + lastGesture;
            icons->drawIcon(cellSize * c, cellSize * r, icon);
        }

    if (textShowing()) {
        video->drawBox(boxLeft, boxTop, boxRight, boxBottom);
        video->font->drawWrappedText(textX, textY, textWidth, shownText.c_str());
    }

    if (stroking) {
        // The trail in the window's pixel projection, untextured, in the white set above.
        glDisable(GL_TEXTURE_2D);
        glBegin(GL_LINE_STRIP);
        for (const StrokePoint& p : recognizer->strokePoints)
            glVertex2f(p.x, p.y);
        glEnd();
    }

    // Scenes that accept no gesture show no pointer.
    if (!recognizer->templates.empty())
        drawPointer(mouseX - pointerTipX, mouseY - pointerTipY);
}

void MainPart::drawPointer(int x, int y) {
    // Added onto the tiles, as everything is drawn since the intro, a white arrow would vanish
    // on light ones: its silhouette first multiplies what lies under it by black, then the
    // arrow is added in. Blending stays on, as every part draws with it.
    glEnable(GL_BLEND);
    GLint source = GL_ONE, destination = GL_ONE;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
    video->icons->drawIcon(x, y, Icon::pointerSilhouette);
    glBlendFunc(GL_ONE, GL_ONE);
    video->icons->drawIcon(x, y, Icon::pointer);
    // Read back rather than set to (one, one), deliberately: the next frames keep the blend
    // function the part was given, which is not additive when the intro never drew a frame.
    glBlendFunc(source, destination);
}
