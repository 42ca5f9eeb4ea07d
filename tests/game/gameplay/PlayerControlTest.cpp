// The player's control under scripted keys and mouse: the laser and its charge, the timed weapons and their
// rates, free aim and auto-aim limits, the sword, powerups against cheat weapons, thrust and braking.
#include "BehaviourWorld.h"

#include "../framework/HandSteppedSound.h"
#include "../framework/TempUserFolder.h"
#include "AngleTools.h"
#include "Behaviours.h"
#include "GF_AITorpedo1.h"
#include "GF_AIZuzevirManual.h"
#include "GF_EntityKinds.h"
#include "GameWindow.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "PlayerBarReader.h"
#include "SoundTable.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

double forceAngle(const GF_Entity& e) {
    return wrapAngle(std::atan2(-e.forceY, e.forceX) * kDegreesPerRadian);
}

} // namespace

class PlayerControl : public BehaviourWorld {
protected:
    void SetUp() override {
        BehaviourWorld::SetUp();
        player = placePlayer(400, 300, 0);
        control = playerControl(player);
        ASSERT_NE(control, nullptr);
        mouseAt(700, 300); // straight ahead: no turn
    }
    // One run of the behaviour alone, from zero forces.
    void runBehaviour() {
        player->forceX = player->forceY = player->torque = 0;
        control->update();
    }

    GF_Entity* player = nullptr;
    GF_AIZuzevirManual* control = nullptr;
};

TEST_F(PlayerControl, HoldingTheButtonChargesAndTheReleaseFiresAChargedShotFromHalfASecond) {
    struct Case {
        int heldFrames;
        size_t charged;
        double fraction;
    };
    // The charge after n held frames is n / 64 s.
    const Case cases[] = {{26, 0, 0}, {31, 0, 0}, {32, 1, 0.0}, {80, 1, 0.5}, {128, 1, 1.0}, {300, 1, 1.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.heldFrames);
        for (GF_Entity* e : ofType(kEntityLaser1)) e->removed = 1;
        for (GF_Entity* e : ofType(kEntityLaser2)) e->removed = 1;
        frame();
        frames(1, true);
        EXPECT_EQ(ofType(kEntityLaser1).size(), 1u) << "the press fires one normal laser";
        frames(c.heldFrames - 1, true);
        EXPECT_TRUE(ofType(kEntityLaser2).empty());
        EXPECT_EQ(control->charge, c.heldFrames / 64.0);
        release();
        const auto charged = ofType(kEntityLaser2);
        ASSERT_EQ(charged.size(), c.charged);
        if (!charged.empty()) {
            EXPECT_NEAR(static_cast<GF_EntityLaser2*>(charged[0])->charge, c.fraction, 0.011);
            EXPECT_NEAR(std::hypot(charged[0]->vx, charged[0]->vy), 700, 1e-6);
        }
        EXPECT_EQ(control->charge, 0);
    }
}

TEST_F(PlayerControl, SuperLaserFiresAFullChargeAtThePress) {
    setCheatOn(kCheatSuperLaser, true);
    frames(1, true);
    const auto charged = ofType(kEntityLaser2);
    ASSERT_EQ(charged.size(), 1u);
    EXPECT_DOUBLE_EQ(static_cast<GF_EntityLaser2*>(charged[0])->charge, 1.0);
    EXPECT_TRUE(ofType(kEntityLaser1).empty());
}

TEST_F(PlayerControl, TimedWeaponsFireAtTheirRatesWhileTheButtonIsHeld) {
    struct Case {
        int32_t mode;
        int type;
        size_t perSecond;
    };
    // A shot on the first frame, then each time the clock passes 0.3, 0.1 or 0.25 s.
    const Case cases[] = {{kWeaponTorpedo, kEntityTorpedo1, 4},
                          {kWeaponMachineGun, kEntityBullet, 10},
                          {kWeapon4xDamage, kEntityPowerLaser, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        givePlayerWeapon(player, c.mode, 30);
        frames(64, true);
        EXPECT_EQ(ofType(c.type).size(), c.perSecond);
        EXPECT_TRUE(ofType(kEntityLaser1).empty());
        release();
        frames(1, true); // the clock restarts with the button: a new press fires at once
        EXPECT_EQ(ofType(c.type).size(), c.perSecond + 1);
        release();
    }
}

TEST_F(PlayerControl, ATorpedoLocksOnTheEntityNearestTheMouseAndFliesStraightWithoutOne) {
    givePlayerWeapon(player, kWeaponTorpedo, 30);
    frames(1, true);
    release();
    auto torpedoes = ofType(kEntityTorpedo1);
    ASSERT_EQ(torpedoes.size(), 1u);
    auto* homing = dynamic_cast<GF_AITorpedo1*>(torpedoes[0]->behaviour);
    ASSERT_NE(homing, nullptr);
    EXPECT_EQ(homing->target, nullptr);
    const double heading = torpedoes[0]->angle;
    frames(20);
    EXPECT_NEAR(torpedoes[0]->angle, heading, 1e-9) << "no target: no turn";

    GF_Entity* mine = place(kEntityMine, 700, 500);
    mouseAt(690, 490);
    frames(10, true);
    GF_Entity* first = torpedoes[0];
    torpedoes = ofType(kEntityTorpedo1);
    ASSERT_EQ(torpedoes.size(), 2u);
    homing = dynamic_cast<GF_AITorpedo1*>((torpedoes[0] == first ? torpedoes[1] : torpedoes[0])->behaviour);
    EXPECT_EQ(homing->target, mine);
    GF_AITorpedo1::forgetTarget(mine);
    EXPECT_EQ(homing->target, nullptr);
}

TEST_F(PlayerControl, FreeAimFollowsTheMouseWithinTwentyDegreesOfTheFacing) {
    struct Case {
        double mouseAngle, shotAngle;
    };
    const Case cases[] = {{0, 0}, {10, 10}, {20, 20}, {45, 20}, {340, 340}, {300, 340}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mouseAngle);
        for (GF_Entity* e : ofType(kEntityLaser1)) e->removed = 1;
        frame();
        player->angle = 0;
        player->angularVelocity = 0;
        mouseAt(player->x + 300 * std::cos(c.mouseAngle / kDegreesPerRadian),
                player->y - 300 * std::sin(c.mouseAngle / kDegreesPerRadian));
        frames(1, true);
        const auto shots = ofType(kEntityLaser1);
        ASSERT_EQ(shots.size(), 1u);
        EXPECT_NEAR(angleDifference(shots[0]->angle, c.shotAngle), 0, 0.3);
        EXPECT_NEAR(std::hypot(shots[0]->vx, shots[0]->vy), 1000, 1e-6);
        release();
    }
}

TEST_F(PlayerControl, AutoAimTurnsShotsAtMostSixtyDegreesCloseAndThirtyFromFourHundredPixels) {
    GameOptions.autoAim = true;
    struct Case {
        double distance, targetAngle, shotAngle;
    };
    const Case cases[] = {{150, 10, 10}, {100, 80, 60 - 30 * (80.0 / 380)}, {500, 50, 30}, {500, -70, -30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.targetAngle);
        for (GF_Entity* e : ofType(kEntityLaser1)) e->removed = 1;
        for (GF_Entity* e : ofType(kEntityMine)) e->removed = 1;
        frame();
        player->angle = 0;
        player->angularVelocity = 0;
        const double tx = player->x + c.distance * std::cos(c.targetAngle / kDegreesPerRadian);
        const double ty = player->y - c.distance * std::sin(c.targetAngle / kDegreesPerRadian);
        place(kEntityMine, tx, ty);
        mouseAt(tx, ty);
        frames(1, true);
        const auto shots = ofType(kEntityLaser1);
        ASSERT_EQ(shots.size(), 1u);
        EXPECT_NEAR(angleDifference(shots[0]->angle, wrapAngle(c.shotAngle)), 0, 0.5);
        release();
    }
}

TEST_F(PlayerControl, TheSwordIsMadeOnceHeldOnTheMuzzleAndFadesWhenTheWeaponEnds) {
    givePlayerWeapon(player, kWeaponSword, 1);
    frames(3);
    auto swords = ofType(kEntityLaserSword);
    ASSERT_EQ(swords.size(), 1u);
    EXPECT_EQ(control->sword, swords[0]);
    player->vx = 100;
    frames(10);
    EXPECT_EQ(ofType(kEntityLaserSword).size(), 1u);
    double mx, my;
    player->getHotspotPoint(0, mx, my);
    EXPECT_NEAR(swords[0]->x, mx, 1e-9);
    EXPECT_NEAR(swords[0]->y, my, 1e-9);
    EXPECT_EQ(swords[0]->vx, 0);

    for (int i = 0; i < 64 && control->sword; i++) frames(1); // to the end of the one second of the weapon
    EXPECT_EQ(control->weaponMode, kWeaponLaser);
    EXPECT_EQ(control->sword, nullptr);
    frames(1);
    EXPECT_TRUE(swords[0]->dead) << "let go, it expires at once and fades";
    // It fades out in a quarter of a second (16 frames), then leaves the grid.
    int fading = 0;
    while (!ofType(kEntityLaserSword).empty() && fading < 64 * 2) {
        frames(1);
        fading++;
    }
    EXPECT_GE(fading, 16);
    EXPECT_LE(fading, 18);
}

TEST_F(PlayerControl, APowerupGivesItsWeaponUnlessACheatWeaponIsOn) {
    GF_Entity* powerup = place(kEntityPowerup, 100, 100, 0, EntityVars{1, 12});
    powerup->onRemoved();
    EXPECT_EQ(control->weaponMode, kWeaponMachineGun);
    EXPECT_EQ(control->weaponDuration, 12);
    EXPECT_EQ(control->weaponClock, 0);
    double r, g, b;
    control->getWeaponBarColor(r, g, b);
    EXPECT_EQ(r, 0.8);
    int icon = -1;
    EXPECT_TRUE(control->getWeaponIcon(icon));
    EXPECT_EQ(icon, 3);

    setCheatOn(kCheatMachineGun, true);
    GF_Entity* cheated = placePlayer(600, 300);
    GF_AIZuzevirManual* cheatedControl = playerControl(cheated);
    EXPECT_EQ(cheatedControl->weaponMode, kWeaponMachineGun);
    EXPECT_EQ(cheatedControl->weaponDuration, 1000000);
    givePlayerWeapon(cheated, kWeaponTorpedo, 30);
    EXPECT_EQ(cheatedControl->weaponMode, kWeaponMachineGun);
}

TEST_F(PlayerControl, MovementKeysThrustAlongTheirDirectionWeakerAgainstTheFacing) {
    struct Case {
        std::set<int> keys;
        double direction, force;
    };
    const Case cases[] = {
        {{'D'}, 0, 1000},
        {{'W'}, 90, 1000},
        {{0x26}, 90, 1000},     // Up arrow
        {{'S'}, 270, 1000},     // 90 from the facing: still the whole force
        {{'A'}, 180, 750},      // straight back
        {{'W', 'A'}, 135, 875}, // 135 from the facing
        {{'A', 'S'}, 225, 875},
        {{'D', 'W'}, 45, 1000},
        {{'W', 'A', 'S', 'D'}, 315, 1000}, // down+right is the last to apply
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.direction);
        heldKeys() = c.keys;
        player->angle = 0;
        player->vx = player->vy = 0;
        runBehaviour();
        EXPECT_NEAR(std::hypot(player->forceX, player->forceY), c.force, 1e-6);
        EXPECT_NEAR(angleDifference(forceAngle(*player), c.direction), 0, 1e-6);
    }
}

TEST_F(PlayerControl, CheatsScaleTheThrust) {
    heldKeys() = {'D'};
    setCheatOn(kCheatFastRadudod, true);
    runBehaviour();
    EXPECT_NEAR(player->forceX, 2000, 1e-6);
    setCheatOn(kCheatSlowRadudod, true);
    runBehaviour();
    EXPECT_NEAR(player->forceX, 1000, 1e-6);
    setCheatOn(kCheatFastRadudod, false);
    runBehaviour();
    EXPECT_NEAR(player->forceX, 500, 1e-6);
}

TEST_F(PlayerControl, WithoutKeysSpacePushesOnAndOtherwiseTheDolphinBrakes) {
    player->angle = 0;
    player->vx = 50, player->vy = -100; // drifting up and ahead
    heldKeys() = {0x20};
    runBehaviour();
    EXPECT_NEAR(std::hypot(player->forceX, player->forceY), 1000, 1e-6);
    EXPECT_NEAR(forceAngle(*player), pushAngleAway(0, player->getVelocityAngle()), 1e-6);
    EXPECT_GT(forceAngle(*player), 270) << "pushed below the facing, against the upward drift";

    heldKeys().clear();
    runBehaviour();
    EXPECT_NEAR(std::hypot(player->forceX, player->forceY), 500, 1e-6);
    EXPECT_NEAR(forceAngle(*player), wrapAngle(player->getVelocityAngle() + 180), 1e-6) << "against the velocity";

    player->vx = 0, player->vy = -20; // slow: no braking
    runBehaviour();
    EXPECT_EQ(player->forceX, 0);
    EXPECT_EQ(player->forceY, 0);
}

TEST_F(PlayerControl, InAirTheKeysDoNothingUnlessTheDolphinFlies) {
    player->medium = kSubstanceAir;
    heldKeys() = {'D', 0x20};
    runBehaviour();
    EXPECT_EQ(player->forceX, 0);
    EXPECT_EQ(player->forceY, 0);
    mouseAt(player->x, player->y - 300);
    runBehaviour();
    EXPECT_NE(player->torque, 0) << "the mouse still turns the dolphin";

    setCheatOn(kCheatFlyingRadudod, true);
    runBehaviour();
    EXPECT_NEAR(player->forceX, 1000, 1e-6);
}

TEST_F(PlayerControl, RudderControlTurnsAwayFromTheMouse) {
    mouseAt(player->x, player->y - 300); // 90 degrees: a left turn
    player->angularVelocity = 1;         // already turning: from rest the first push is always negative
    runBehaviour();
    EXPECT_GT(player->torque, 0);
    setCheatOn(kCheatRudderControl, true);
    runBehaviour();
    EXPECT_LT(player->torque, 0);
}

TEST_F(PlayerControl, TheChargeSoundsFollowTheChargeAndATimedWeaponSilencesThem) {
    frames(15, true); // 0.23 s
    EXPECT_FALSE(control->chargeSoundOn);
    frames(2, true);
    EXPECT_TRUE(control->chargeSoundOn);
    EXPECT_FALSE(control->fullyCharged);
    frames(112, true); // past 2 s
    EXPECT_TRUE(control->fullyCharged);
    EXPECT_EQ(control->getWeaponBarFraction(), 1.0);

    givePlayerWeapon(player, kWeaponSword, 30); // picked up while charging
    frames(1, true);
    EXPECT_EQ(control->charge, 0);
    EXPECT_FALSE(control->chargeSoundOn);
    EXPECT_FALSE(control->fullyCharged);
    release();
    EXPECT_TRUE(ofType(kEntityLaser2).empty()) << "letting go in sword mode fires nothing";
}

namespace {

using BarColour = std::array<float, 3>;
constexpr BarColour kCharging = {0.8f, 0, 0}, kBlinkOn = {1, 1, 1}, kBlinkOff = {1, 0.2f, 0.2f};

// The player's bars drawn through the game's own reader of the player, on a recording graphic.
class PlayerBarsOfThePlayer : public PlayerControl {
protected:
    void SetUp() override {
        PlayerControl::SetUp();
        sharedGraphic = createGraphic();
        setPlayerBarSource(&playerBarReader);
    }
    void TearDown() override {
        setPlayerBarSource(nullptr);
        delete sharedGraphic;
        sharedGraphic = nullptr;
        PlayerControl::TearDown();
    }
    // The colour of the weapon bar's filled part as the bars draw it now.
    BarColour drawnWeaponColour() {
        KGraphicRecorder::clearCalls();
        drawPlayerBars();
        for (const RecordedDraw& call : KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sharedGraphic)))
            if (call.operation == "fillRect" && call.args[0] == 10 && call.args[1] == 33)
                return {call.args[4], call.args[5], call.args[6]};
        ADD_FAILURE() << "no weapon bar drawn";
        return {};
    }

    ScopedGraphicRecording recording;
};

} // namespace

TEST_F(PlayerBarsOfThePlayer, TheLaserBarIsDarkRedWhileChargingAndBlinksEveryFifthOfASecondWhenFull) {
    EXPECT_EQ(drawnWeaponColour(), kCharging) << "the laser at rest";
    frames(64, true); // one second of the two
    EXPECT_EQ(drawnWeaponColour(), kCharging);
    frames(63, true); // one frame short of full
    EXPECT_EQ(drawnWeaponColour(), kCharging);
    // Drawn once per frame at full charge: 12 frames white, then 13 frames each way (0.2 s is 12.8 frames).
    std::vector<BarColour> shown;
    for (int i = 0; i < 64; i++) {
        frames(1, true);
        shown.push_back(drawnWeaponColour());
    }
    for (size_t i = 0; i < shown.size(); i++) {
        const size_t run = i < 12 ? 0 : (i - 12) / 13 + 1;
        EXPECT_EQ(shown[i], run % 2 == 0 ? kBlinkOn : kBlinkOff) << "frame " << i << " at full charge";
    }
    release();
    EXPECT_EQ(drawnWeaponColour(), kCharging) << "the shot fired, the charge starts again";
}

TEST_F(PlayerBarsOfThePlayer, ATimedWeaponColoursTheBarAndShowsItsIcon) {
    const struct {
        int32_t mode;
        BarColour colour;
    } cases[] = {{kWeaponTorpedo, {1, 0, 1}},
                 {kWeaponSword, {0.2f, 0.4f, 1}},
                 {kWeaponMachineGun, {0.8f, 0.8f, 0.8f}},
                 {kWeapon4xDamage, {1, 0, 0.5f}}};
    for (const auto& c : cases) {
        givePlayerWeapon(player, c.mode, 30);
        EXPECT_EQ(drawnWeaponColour(), c.colour) << c.mode;
        EXPECT_GE(playerBarReader.getWeaponIcon(), 0) << c.mode;
    }
    playerEntity = nullptr;
    float r = 0, g = 0, b = 0;
    EXPECT_FALSE(playerBarReader.getWeaponBarColor(r, g, b)) << "no player, no colour";
    playerEntity = player;
}

namespace {

// The player's control with the game's sounds on the hand-stepped mixer.
class PlayerSounds : public PlayerControl {
protected:
    void SetUp() override {
        PlayerControl::SetUp();
        buildSoundTable();
    }
    void TearDown() override {
        freeSoundTable();
        PlayerControl::TearDown();
    }
    static bool sounding(int id) {
        for (const auto& copy : getSoundEntry(id)->copies)
            if (copy->sound->isPlaying()) return true;
        return false;
    }

    HandSteppedSound sound;
    TempUserFolder home;
};

} // namespace

TEST_F(PlayerSounds, TheFullChargeThrobRepeatsForAsLongAsTheChargeIsHeld) {
    constexpr int kThrob = 17;
    frames(127, true);
    EXPECT_FALSE(sounding(kThrob));
    frames(1, true); // full
    EXPECT_TRUE(sounding(kThrob));
    for (int round = 0; round < 3; round++) {
        getSoundEntry(kThrob)->stop(); // the throb has played to its end
        frames(1, true);
        EXPECT_TRUE(sounding(kThrob)) << "round " << round;
    }
    getSoundEntry(kThrob)->stop();
    release();
    frames(1);
    EXPECT_FALSE(sounding(kThrob)) << "the charge let go";
}
