// The picture splicer: textures hold at most 512 x 512 pixels, so a larger picture is cut into pieces (splices)
// packed into several 512 x 512 textures, each piece with one-pixel border strips so that filtering at a cut
// samples the neighbouring pixels. The cut is made once per picture upload.
#pragma once

struct PictureSplice {
    float x1, y1, x2, y2; // source rectangle in picture pixels; right and bottom exclusive
    int texture;          // index of the texture that holds the piece
    float u, v;           // pixel position of the piece's top-left corner in that texture
};

constexpr int kMaxPictureSplices = 32;
constexpr int kSpliceTextureSize = 512;

// Cuts a width x height picture into at most kMaxPictureSplices splices written to out (room for
// kMaxPictureSplices records) and returns their count. 800 x 600 and 1024 x 768 use fixed layouts; any other
// size is packed, and a size the packer cannot fit into 32 textures and 32 splices becomes one splice of the
// whole picture in texture 0.
int splicePicture(int width, int height, PictureSplice* out);

// The guillotine packer behind splicePicture, with its work tables. A failure leaves its reason in lastError()
// ("Out of Textures", "Out of Nodes", "NULL Node Pointer" or "Out of Splices."); it is kept, not logged.
class KSplicer {
public:
    static constexpr int kMaxSourceNodes = 64;
    static constexpr int kMaxTextureNodes = 96;
    static constexpr int kMaxTextures = 32;

    // Packs a width x height picture; true when every part of it found a place. On failure the splices
    // written so far are of no use.
    bool splicerPack(int width, int height);

    int spliceCount() const { return splices_; }
    const PictureSplice* splices() const { return splice_; }
    int textureCount() const { return textures_; }
    const char* lastError() const { return error_; }

private:
    struct Node {
        bool split;
        int child[2];
        int x1, y1, x2, y2; // right and bottom exclusive
        int texture;
        bool used;
        bool top, bottom, left, right; // a set flag asks for a border strip on that side
    };
    struct Texture {
        bool inUse;
        int firstNode;
    };

    void splicerReset();
    bool splicerRestart();
    bool splicerAddTexture();
    int splicerPickTextureNode();
    bool splicerSplitTextureNode(int node, int width, int height);
    bool splicerSplitSourceNode(int node, int target);
    bool packPass();
    bool place(int source, int target);
    bool emit(float x1, float y1, float x2, float y2, int texture, float u, float v);
    bool fail(const char* error);

    Node source_[kMaxSourceNodes];
    Node target_[kMaxTextureNodes];
    Texture texture_[kMaxTextures];
    PictureSplice splice_[kMaxPictureSplices];
    int sources_ = 0, targets_ = 0, textures_ = 0, splices_ = 0;
    int width_ = 0, height_ = 0;
    const char* error_ = "";
};
