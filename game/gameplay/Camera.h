// The camera: the world position of the game area's top-left corner, which every world drawing subtracts.
// In play it follows one subject (the player) smoothly, leading towards the mouse and ahead of the subject's
// motion, and never shows anything outside the level's bounds. The editor moves its own view directly.
#pragma once

// What the camera follows: anything with a centre and a velocity in world pixels. The entity base is one.
class CameraSubject {
public:
    virtual double getCameraSubjectX() const = 0;
    virtual double getCameraSubjectY() const = 0;
    virtual double getCameraSubjectVX() const = 0;
    virtual double getCameraSubjectVY() const = 0;

protected:
    ~CameraSubject() = default;
};

extern double cameraX, cameraY;

// Follows the subject from now on: the view is centred on it at once, then held to the bounds.
void setCameraTarget(const CameraSubject* subject);
// Stops following (a level load does this before the new player exists); the view stays where it is.
void clearCameraTarget();
const CameraSubject* getCameraTarget();
// One smoothing step with the frame time and the mouse position in game-area pixels; nothing while no
// subject is followed.
void updateCamera();
void updateCamera(double dt, double mouseX, double mouseY);
// Keeps the view inside the level's bounds; with bounds narrower than the screen the right (or bottom)
// limit wins.
void clampCamera();
double getCameraX();
double getCameraY();
