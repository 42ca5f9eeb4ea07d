// What the electric eel adds to its frame step and drawing: the jittering arcs between its three hotspots
// while it sparks, and the arcs round the player and the strike that joins them while it zaps.
#include "AngleTools.h"
#include "BehaviourTools.h"
#include "FrameClock.h"
#include "GF_EntityKinds.h"

#include <algorithm>

void GF_EntityEel::update() {
    GF_Entity::update();
    const double dt = frameTime;
    double px[3], py[3];
    for (int i = 0; i < 3; i++) {
        ownPoints[i].step(dt);
        getHotspotPoint(i, px[i], py[i]);
        px[i] += ownPoints[i].offsetX;
        py[i] += ownPoints[i].offsetY;
    }
    for (int i = 0; i < 3; i++) idleArcs[i].set(px[i], py[i], px[(i + 1) % 3], py[(i + 1) % 3], dt);

    if (zapping && playerEntity) {
        const double halfW = playerEntity->width / 2.0, halfH = playerEntity->height / 2.0;
        const double cornerX[4] = {-halfW, halfW, halfW, -halfW}, cornerY[4] = {-halfH, -halfH, halfH, halfH};
        double cx[4], cy[4];
        for (int i = 0; i < 4; i++) {
            cornerPoints[i].step(dt);
            double ox = cornerX[i], oy = cornerY[i];
            rotateVector(-playerEntity->angle, ox, oy);
            cx[i] = playerEntity->x + ox + cornerPoints[i].offsetX;
            cy[i] = playerEntity->y + oy + cornerPoints[i].offsetY;
        }
        for (int i = 0; i < 4; i++) boxArcs[i].set(cx[i], cy[i], cx[(i + 1) % 4], cy[(i + 1) % 4], dt);
        // The strike joins the idle-arc point nearest the player to the box-arc point nearest the eel.
        double fromX = x, fromY = y, toX = playerEntity->x, toY = playerEntity->y;
        double bestFrom = -1, bestTo = -1;
        for (const ElectricArc& arc : idleArcs) {
            double ax, ay;
            arc.nearestPoint(playerEntity->x, playerEntity->y, ax, ay);
            const double d = distanceBetween(ax, ay, playerEntity->x, playerEntity->y);
            if (bestFrom < 0 || d < bestFrom) bestFrom = d, fromX = ax, fromY = ay;
        }
        for (const ElectricArc& arc : boxArcs) {
            double bx, by;
            arc.nearestPoint(x, y, bx, by);
            const double d = distanceBetween(bx, by, x, y);
            if (bestTo < 0 || d < bestTo) bestTo = d, toX = bx, toY = by;
        }
        strikeArc.set(fromX, fromY, toX, toY, dt);
    }

    const double change = randomFraction() * 2 * dt;
    if (rising) {
        intensity = float(std::min(1.0, intensity + change));
        if (intensity >= 1) rising = 0;
    } else {
        intensity = float(std::max(0.4, intensity - change));
        if (intensity <= 0.4f) rising = 1;
    }
}

void GF_EntityEel::draw(double cameraX, double cameraY) {
    if (sparking)
        for (const ElectricArc& arc : idleArcs) arc.draw(intensity, 1, 0, cameraX, cameraY);
    if (zapping) {
        for (const ElectricArc& arc : boxArcs) arc.draw(intensity, 1, 0, cameraX, cameraY);
        strikeArc.draw(intensity, 1, 0, cameraX, cameraY);
    }
    GF_Entity::draw(cameraX, cameraY);
}
