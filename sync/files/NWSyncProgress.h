#pragma once
// The progress sink of a desktop-file sync: the merge announces its steps
// once and then steps through them.

class CNWSyncProgress {
public:
    virtual void SetRange(int total) = 0;
    virtual void SetPos(int position) = 0;
    virtual void Step() = 0;
    virtual ~CNWSyncProgress() = default;
};
