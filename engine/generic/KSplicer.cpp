// The picture splicer: the fixed layouts for the two full-screen sizes and the guillotine packer for the rest.
#include "KSplicer.h"

#include <cstring>

// The full-screen 800 x 600 layout: the top-left 512 x 512 fills texture 0, the rest shares texture 1.
static const PictureSplice kSplices800x600[] = {
    {0, 0, 512, 512, 0, 0, 0},         {0, 511, 512, 600, 1, 0, 0},      {511, 0, 800, 422, 1, 0, 90},
    {511, 421, 733, 600, 1, 290, 91},  {511, 421, 733, 422, 1, 290, 90}, {732, 421, 800, 600, 1, 290, 272},
    {732, 421, 800, 422, 1, 290, 271},
};

// 1024 x 768: four quadrants, one texture each.
static const PictureSplice kSplices1024x768[] = {
    {0, 0, 512, 512, 0, 0, 0},
    {512, 0, 1024, 512, 1, 0, 0},
    {0, 512, 512, 768, 2, 0, 0},
    {512, 512, 1024, 768, 3, 0, 0},
};

template <size_t N> static int copySplices(const PictureSplice (&table)[N], PictureSplice* out) {
    memcpy(out, table, sizeof(table));
    return int(N);
}

int splicePicture(int width, int height, PictureSplice* out) {
    if (width <= 0 || height <= 0) return 0;
    if (width == 800 && height == 600) return copySplices(kSplices800x600, out);
    if (width == 1024 && height == 768) return copySplices(kSplices1024x768, out);

    // The packer's tables are a few KB; one on the stack per upload keeps it safe from any thread.
    KSplicer splicer;
    if (splicer.splicerPack(width, height)) {
        memcpy(out, splicer.splices(), sizeof(PictureSplice) * size_t(splicer.spliceCount()));
        return splicer.spliceCount();
    }
    out[0] = {0, 0, float(width), float(height), 0, 0, 0};
    return 1;
}

// A piece with its border strips, as it would sit in a given texture node.
struct GrownPiece {
    bool left, top, bottom, right; // strips that fit
    int width, height;             // space taken in the texture
};

static GrownPiece growPiece(int x1, int y1, int x2, int y2, bool top, bool bottom, bool left, bool right, int nodeX1,
                            int nodeY1) {
    GrownPiece grown;
    grown.top = top && nodeY1 > 0;
    grown.left = left && nodeX1 > 0;
    grown.height = (y2 - y1) + (grown.top ? 1 : 0);
    grown.width = (x2 - x1) + (grown.left ? 1 : 0);
    grown.bottom = bottom && grown.height < kSpliceTextureSize;
    grown.right = right && grown.width < kSpliceTextureSize;
    grown.height += grown.bottom ? 1 : 0;
    grown.width += grown.right ? 1 : 0;
    return grown;
}

bool KSplicer::fail(const char* error) {
    error_ = error;
    return false;
}

void KSplicer::splicerReset() {
    memset(source_, 0, sizeof(source_));
    memset(target_, 0, sizeof(target_));
    memset(texture_, 0, sizeof(texture_));
    sources_ = targets_ = textures_ = splices_ = 0;
    // The whole picture is the one source node, asking for border strips on every side.
    Node& root = source_[sources_++];
    root.x2 = width_;
    root.y2 = height_;
    root.top = root.bottom = root.left = root.right = true;
}

bool KSplicer::splicerAddTexture() {
    if (textures_ >= kMaxTextures) return fail("Out of Textures");
    if (targets_ >= kMaxTextureNodes) return fail("Out of Nodes");
    Node& node = target_[targets_];
    node = Node{};
    node.x2 = node.y2 = kSpliceTextureSize;
    node.texture = textures_;
    texture_[textures_] = {true, targets_};
    targets_++;
    textures_++;
    return true;
}

bool KSplicer::splicerRestart() {
    int wanted = textures_ + 1;
    if (wanted > kMaxTextures) return fail("Out of Textures");
    splicerReset();
    for (int i = 0; i < wanted; i++)
        if (!splicerAddTexture()) return false;
    return true;
}

int KSplicer::splicerPickTextureNode() {
    // Both sides at least those of the best so far, so on equal sizes the later node wins.
    int best = -1, bestWidth = 0, bestHeight = 0;
    for (int i = 0; i < targets_; i++) {
        const Node& node = target_[i];
        if (node.split || node.used) continue;
        int width = node.x2 - node.x1, height = node.y2 - node.y1;
        if (width >= bestWidth && height >= bestHeight) {
            best = i;
            bestWidth = width;
            bestHeight = height;
        }
    }
    return best;
}

bool KSplicer::splicerSplitTextureNode(int index, int width, int height) {
    if (index < 0 || index >= targets_ || target_[index].split) return fail("NULL Node Pointer");
    if (targets_ + 2 > kMaxTextureNodes) return fail("Out of Nodes");
    Node& node = target_[index];
    Node first = Node{}, second = Node{};
    first.texture = second.texture = node.texture;
    int roomAcross = (node.x2 - node.x1) - width, roomDown = (node.y2 - node.y1) - height;
    // The pixel between the two children stays empty, so filtering never reads a neighbour's texels.
    if (roomDown < roomAcross) {
        first.x1 = node.x1, first.y1 = node.y1, first.x2 = node.x1 + width, first.y2 = node.y2;
        second.x1 = node.x1 + width + 1, second.y1 = node.y1, second.x2 = node.x2, second.y2 = node.y2;
    } else {
        first.x1 = node.x1, first.y1 = node.y1, first.x2 = node.x2, first.y2 = node.y1 + height;
        second.x1 = node.x1, second.y1 = node.y1 + height + 1, second.x2 = node.x2, second.y2 = node.y2;
    }
    node.split = true;
    node.child[0] = targets_;
    node.child[1] = targets_ + 1;
    target_[targets_++] = first;
    target_[targets_++] = second;
    return true;
}

bool KSplicer::splicerSplitSourceNode(int index, int target) {
    if (index < 0 || index >= sources_ || source_[index].split) return fail("NULL Node Pointer");
    if (sources_ + 2 > kMaxSourceNodes) return fail("Out of Nodes");
    Node& node = source_[index];
    const Node& room = target_[target];
    int roomWidth = room.x2 - room.x1, roomHeight = room.y2 - room.y1;
    Node first = node, second = node;
    first.split = second.split = false;
    // The first child takes the texture node's width (or height); the second overlaps it by one pixel unless it
    // is still too long for one texture and will be cut again. A first child that, with its border strips, still
    // does not fit is cut again, until the tables run out and the pass starts over with one texture more.
    if ((node.x2 - node.x1) - roomWidth > (node.y2 - node.y1) - roomHeight) {
        first.x2 = node.x1 + roomWidth;
        first.right = true;
        second.x1 = node.x2 - (first.x2 - 1) > kSpliceTextureSize ? first.x2 : first.x2 - 1;
        second.left = false;
    } else {
        first.y2 = node.y1 + roomHeight;
        first.bottom = true;
        second.y1 = node.y2 - (first.y2 - 1) > kSpliceTextureSize ? first.y2 : first.y2 - 1;
        second.top = false;
    }
    node.split = true;
    node.child[0] = sources_;
    node.child[1] = sources_ + 1;
    source_[sources_++] = first;
    source_[sources_++] = second;
    return true;
}

bool KSplicer::emit(float x1, float y1, float x2, float y2, int texture, float u, float v) {
    if (splices_ >= kMaxPictureSplices) return fail("Out of Splices.");
    splice_[splices_++] = {x1, y1, x2, y2, texture, u, v};
    return true;
}

bool KSplicer::place(int sourceIndex, int targetIndex) {
    Node& source = source_[sourceIndex];
    Node& node = target_[targetIndex];
    bool left = source.left && node.x1 > 0, top = source.top && node.y1 > 0;
    bool bottom = source.bottom && node.y2 < kSpliceTextureSize, right = source.right && node.x2 < kSpliceTextureSize;
    float x1 = float(source.x1), y1 = float(source.y1), x2 = float(source.x2), y2 = float(source.y2);
    float u = float(node.x1 + (left ? 1 : 0)), v = float(node.y1 + (top ? 1 : 0));
    int texture = node.texture;
    // Each strip is the piece's own outermost column or row, laid in the texture right beside the piece.
    if (!emit(x1, y1, x2, y2, texture, u, v)) return false;
    if (left && !emit(x1, y1, x1 + 1, y2, texture, float(node.x1), v)) return false;
    if (top && !emit(x1, y1, x2, y1 + 1, texture, u, float(node.y1))) return false;
    if (bottom && !emit(x1, y2 - 1, x2, y2, texture, u, float(node.y2 - 1))) return false;
    if (right && !emit(x2 - 1, y1, x2, y2, texture, float(node.x2 - 1), v)) return false;
    source.used = node.used = true;
    return true;
}

bool KSplicer::packPass() {
    for (;;) {
        int source = -1;
        long long freeSourceArea = 0, freeTextureArea = 0;
        for (int i = 0; i < sources_; i++) {
            const Node& node = source_[i];
            if (node.split || node.used) continue;
            if (source < 0) source = i;
            freeSourceArea += (long long)(node.x2 - node.x1) * (node.y2 - node.y1);
        }
        if (source < 0) return true;
        for (int i = 0; i < targets_; i++) {
            const Node& node = target_[i];
            if (!node.split && !node.used) freeTextureArea += (long long)(node.x2 - node.x1) * (node.y2 - node.y1);
        }
        if (freeTextureArea > 0 && freeSourceArea > freeTextureArea && !splicerAddTexture()) return false;

        int target = splicerPickTextureNode();
        if (target < 0) {
            if (!splicerAddTexture()) return false;
            target = splicerPickTextureNode();
            if (target < 0) return fail("NULL Node Pointer");
        }

        // Cut the texture node down, or the source node into parts, until the two match.
        for (;;) {
            const Node& piece = source_[source];
            const Node& node = target_[target];
            GrownPiece grown = growPiece(piece.x1, piece.y1, piece.x2, piece.y2, piece.top, piece.bottom, piece.left,
                                         piece.right, node.x1, node.y1);
            int width = node.x2 - node.x1, height = node.y2 - node.y1;
            if (grown.width == width && grown.height == height) {
                if (!place(source, target)) return false;
                break;
            }
            if (width >= grown.width && height >= grown.height) {
                if (!splicerSplitTextureNode(target, grown.width, grown.height)) return false;
                target = target_[target].child[0];
            } else {
                if (!splicerSplitSourceNode(source, target)) return false;
                source = source_[source].child[0];
            }
        }
    }
}

bool KSplicer::splicerPack(int width, int height) {
    width_ = width;
    height_ = height;
    error_ = "";
    splicerReset();
    // A pass that runs out of room starts over with one texture more than it had.
    while (!packPass())
        if (!splicerRestart()) return false;
    error_ = "";
    return true;
}
