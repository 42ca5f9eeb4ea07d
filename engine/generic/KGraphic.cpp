// The tables every KGraphic back end shares: blend presets, blend-factor defaults and colour clamping.
#include "KGraphic.h"

bool blendModeFactors(int mode, int& sourceFactor, int& destFactor) {
    switch (mode) {
    case K_BLEND_ADDITIVE:
    case K_BLEND_ADDITIVE_2:
        sourceFactor = K_FACTOR_SRC_ALPHA;
        destFactor = K_FACTOR_ONE;
        return true;
    case K_BLEND_NORMAL:
        sourceFactor = K_FACTOR_SRC_ALPHA;
        destFactor = K_FACTOR_INV_SRC_ALPHA;
        return true;
    case K_BLEND_PREMULTIPLIED:
        sourceFactor = K_FACTOR_ONE;
        destFactor = K_FACTOR_INV_SRC_ALPHA;
        return true;
    case K_BLEND_ERASE:
        sourceFactor = K_FACTOR_ZERO;
        destFactor = K_FACTOR_INV_SRC_ALPHA;
        return true;
    case K_BLEND_MULTIPLY:
        sourceFactor = K_FACTOR_ZERO;
        destFactor = K_FACTOR_SRC_COLOR;
        return true;
    default:
        return false;
    }
}

int validSourceFactor(int factor) {
    return factor >= K_FACTOR_ZERO && factor <= K_FACTOR_INV_SRC_COLOR ? factor : K_FACTOR_SRC_ALPHA;
}

int validDestFactor(int factor) {
    return factor >= K_FACTOR_ZERO && factor <= K_FACTOR_INV_SRC_COLOR ? factor : K_FACTOR_ONE;
}

float clampColorChannel(float value) {
    if (!(value > 0.0f)) return 0.0f; // NaN too
    return value > 1.0f ? 1.0f : value;
}
