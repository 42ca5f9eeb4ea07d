// Intrusive instance list: every live object of a listed class is linked at the tail when it is
// made and unlinked when it goes, so the engine can walk all of them (oldest first), for instance
// to release and recreate device resources around a device reset.
#pragma once

#include "KObjectBase.h"
#include "KObjectListable.h"

// The static list of a class is made with `*new` and never destroyed: an object held by another static
// object may still unlink itself during static destruction (for instance when the program exits from
// inside a call), after a list with static storage would already be gone.
template <class T> class KList : public KObjectListable, public KObjectBase {
public:
    int count = 0;
    T* head = nullptr; // oldest
    T* tail = nullptr; // newest

    void link(T* object) {
        KObjectListable* node = object;
        node->listNext = nullptr;
        node->listPrev = tail;
        if (tail) static_cast<KObjectListable*>(tail)->listNext = node;
        tail = object;
        if (!head) head = object;
        count++;
    }

    // An object with no older neighbour that is not the head is in no list (or at the head of another): it is
    // left alone, so that a second unlink cannot cut the list off.
    void unlink(T* object) {
        KObjectListable* node = object;
        if (!node->listPrev && head != object) return;
        if (node->listPrev)
            node->listPrev->listNext = node->listNext;
        else
            head = static_cast<T*>(node->listNext);
        if (node->listNext)
            node->listNext->listPrev = node->listPrev;
        else
            tail = static_cast<T*>(node->listPrev);
        node->listNext = nullptr;
        node->listPrev = nullptr;
        count--;
    }

    static T* next(T* object) { return static_cast<T*>(static_cast<KObjectListable*>(object)->listNext); }

    // Calls fn(T*) for every object from the oldest to the newest. The next link is read before the
    // call, so fn may unlink (or delete) the object it is given.
    template <class Fn> void forEach(Fn fn) {
        for (T* object = head; object;) {
            T* following = next(object);
            fn(object);
            object = following;
        }
    }
};
