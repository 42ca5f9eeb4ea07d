// The vertex batch record KGraphic::drawBatchTransformed takes: each back end that draws batches derives the
// record it reads (KBatchGL, KBatchD3DVertices) and takes only its own.
#pragma once

#include "KObjectBase.h"

class KBatch : public KObjectBase {
public:
    ~KBatch() override = default;
};
