// Test fixture: a width x height picture cut by the splicer and uploaded into 512 x 512 textures the way the
// renderer does. Every picture pixel holds its own index + 1 (0 = a texel never written), and each texel counts
// how often it was written, so tests can check coverage, overlaps and what filtering at an edge would read.
#pragma once

#include "KSplicer.h"

#include <algorithm>
#include <vector>

struct SplicedUpload {
    int width, height, count;
    PictureSplice splices[kMaxPictureSplices];
    std::vector<std::vector<int>> texel, writes;

    SplicedUpload(int width, int height) : width(width), height(height), count(splicePicture(width, height, splices)) {
        int textures = 0;
        for (int i = 0; i < count; i++) textures = std::max(textures, splices[i].texture + 1);
        texel.assign(textures, std::vector<int>(kSpliceTextureSize * kSpliceTextureSize, 0));
        writes = texel;
        for (int i = 0; i < count; i++) {
            const PictureSplice& s = splices[i];
            for (int y = int(s.y1); y < int(s.y2); y++)
                for (int x = int(s.x1); x < int(s.x2); x++) {
                    int tx = int(s.u) + x - int(s.x1), ty = int(s.v) + y - int(s.y1);
                    texel[s.texture][ty * kSpliceTextureSize + tx] = pixel(x, y);
                    writes[s.texture][ty * kSpliceTextureSize + tx]++;
                }
        }
    }
    // The texel's value, or -1 outside the texture.
    int at(int texture, int tx, int ty) const {
        if (tx < 0 || ty < 0 || tx >= kSpliceTextureSize || ty >= kSpliceTextureSize) return -1;
        return texel[texture][ty * kSpliceTextureSize + tx];
    }
    int pixel(int x, int y) const { return y * width + x + 1; }
};
