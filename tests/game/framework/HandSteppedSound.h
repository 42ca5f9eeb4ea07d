// Runs a test's sounds on the hand-stepped mixer (no device; the test steps the output) with full global
// volumes and the default options, and restores the audio device and the options afterwards.
#pragma once

#include "GameOptions.h"
#include "HostSound.h"
#include "KSound.h"

class HandSteppedSound {
public:
    HandSteppedSound() {
        KSound::shutDown();
        host::setSoundOutput(host::SoundOutput::handStepped);
        KSound::setGlobalVolumes(100, 100);
        GameOptions = GameOptionsRecord();
    }
    ~HandSteppedSound() {
        KSound::shutDown();
        host::setSoundOutput(host::SoundOutput::audioDevice);
        GameOptions = GameOptionsRecord();
    }
    HandSteppedSound(const HandSteppedSound&) = delete;
    HandSteppedSound& operator=(const HandSteppedSound&) = delete;
};
