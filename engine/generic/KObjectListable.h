// The two links that let an engine object sit in its class's instance list (KList).
// An object that moves between two lists (a sound between "all sounds" and "playing streams")
// uses the same links for both, so it is in at most one list at a time.
#pragma once

class KObjectListable {
public:
    KObjectListable* listNext = nullptr; // the next newer object, or null
    KObjectListable* listPrev = nullptr; // the next older object, or null
};
