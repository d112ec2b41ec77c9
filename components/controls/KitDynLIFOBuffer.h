// The buffer as a singly linked stack: Add pushes, Pop takes the newest item; with a maximum
// count a full stack drops its oldest item (or refuses the new one). The edit keeps its undo
// and redo steps in two of them.
#pragma once

#include "components/controls/KitBuffer.h"

namespace kit {

class TKitDynLIFOBuffer : public TKitBuffer {
public:
    TKitDynLIFOBuffer() = default;
    ~TKitDynLIFOBuffer() override;

    // Add on a full buffer drops the oldest item instead of refusing the new one.
    bool DropOldest() const { return dropOldest_; }
    void SetDropOldest(bool value) { dropOldest_ = value; }

    // Positions run from the oldest item to the newest.
    void First(TPosition& Pos) override;
    void Next(TPosition& Pos) override;
    void* Data(TPosition Pos) override;
    bool IsEnd(TPosition Pos) override { return Pos == nullptr; }
    bool IsEmpty() override { return head_ == nullptr; }
    bool IsFull() override { return maxCount_ != -1 && count_ >= maxCount_; }
    // A maximum count of 0 holds nothing: with DropOldest the new item is dropped (disposed of
    // as a dropped item is), without it refused.
    bool Add(void* Item) override;
    void* Pop() override;
    void Clear() override;

private:
    struct Node {
        void* item;
        Node* next;  // the next older node
    };
    bool dropOldest_ = true;
    void* reserved_ = nullptr;
    Node* head_ = nullptr;
};

}  // namespace kit
