// Root of every engine class: a virtual destructor and nothing else, so any engine object
// can be deleted through a base pointer.
#pragma once

class KObjectBase {
public:
    virtual ~KObjectBase() = default;
};
