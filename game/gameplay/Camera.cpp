// The camera's follow, look-ahead and mouse lead, and its hold on the level's bounds.
#include "Camera.h"

#include "FrameClock.h"
#include "GameWindow.h"
#include "InputState.h"
#include "TileMap.h"

#include <algorithm>

double cameraX = 0, cameraY = 0;

namespace {

constexpr double kFollowRate = 5.0;    // per second, towards the centred position
constexpr double kMouseLead = 0.3;     // share of the mouse's distance from the screen centre
constexpr double kLookAhead = 1.5;     // seconds of the smoothed velocity
constexpr double kVelocityBlend = 0.2; // per update, not scaled by the frame time

const CameraSubject* followed = nullptr;
double smoothedVX = 0, smoothedVY = 0;

} // namespace

void setCameraTarget(const CameraSubject* subject) {
    followed = subject;
    smoothedVX = smoothedVY = 0; // no look-ahead carried over from an earlier subject
    if (!subject) return;
    cameraX = subject->getCameraSubjectX() - kGameWidth / 2;
    cameraY = subject->getCameraSubjectY() - kGameHeight / 2;
    clampCamera();
}

void clearCameraTarget() {
    followed = nullptr;
}

const CameraSubject* getCameraTarget() {
    return followed;
}

void updateCamera() {
    updateCamera(frameTime, MouseState.x, MouseState.y);
}

void updateCamera(double dt, double mouseX, double mouseY) {
    if (!followed) return;
    constexpr int halfW = kGameWidth / 2, halfH = kGameHeight / 2;
    smoothedVX += (followed->getCameraSubjectVX() - smoothedVX) * kVelocityBlend;
    smoothedVY += (followed->getCameraSubjectVY() - smoothedVY) * kVelocityBlend;
    cameraX += dt * kFollowRate * ((followed->getCameraSubjectX() - halfW - cameraX) + kMouseLead * (mouseX - halfW)) +
               dt * kLookAhead * smoothedVX;
    cameraY += dt * kFollowRate * ((followed->getCameraSubjectY() - halfH - cameraY) + kMouseLead * (mouseY - halfH)) +
               dt * kLookAhead * smoothedVY;
    clampCamera();
}

void clampCamera() {
    // In doubles: the bounds are whatever whole numbers the level holds, and the screen is taken from them.
    cameraX = std::max(cameraX, double(tileMap.boundsLeft));
    cameraX = std::min(cameraX, double(tileMap.boundsRight) - kGameWidth);
    cameraY = std::max(cameraY, double(tileMap.boundsTop));
    cameraY = std::min(cameraY, double(tileMap.boundsBottom) - kGameHeight);
}

double getCameraX() {
    return cameraX;
}

double getCameraY() {
    return cameraY;
}
