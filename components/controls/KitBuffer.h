// A store of untyped items (memory blocks or records of the owner) with a stream format:
// Int32 23, the text "@KitBufferStream-V0.1@" with a zero byte, then per item, oldest first,
// an Int32 size and that many bytes.
#pragma once

#include <functional>

#include "components/base/kitclass.h"

namespace kit {

// Disposes of an item the buffer drops.
using TKitBufferFreeItemEvent = std::function<void(rtl::TObject* Sender, void* Item)>;
// The byte size of an item for SaveToStream.
using TKitBufferItemSizeEvent = std::function<void(rtl::TObject* Sender, void* Item, int& Size)>;

inline constexpr const char* KitBufferStreamHeader = "@KitBufferStream-V0.1@";

class TKitBuffer : public TKitObject {
public:
    // An opaque position of an item.
    using TPosition = void*;

    TKitBuffer() = default;

    // -1: no limit.
    int MaxCount() const { return maxCount_; }
    void SetMaxCount(int value) { maxCount_ = value; }
    int Count() const { return count_; }

    // Without OnFreeItem a dropped item's memory block (std::malloc) is freed by the buffer.
    TKitBufferFreeItemEvent OnFreeItem;
    // Without OnGetItemSize every item is saved with size 0.
    TKitBufferItemSizeEvent OnGetItemSize;

    virtual void First(TPosition& Pos) = 0;
    virtual void Next(TPosition& Pos) = 0;
    virtual void* Data(TPosition Pos) = 0;
    virtual bool IsEnd(TPosition Pos) = 0;
    virtual bool IsEmpty() = 0;
    virtual bool IsFull() = 0;
    // The buffer owns Item once stored. False when the item was refused: the caller keeps it.
    virtual bool Add(void* Item) = 0;
    // The newest item, handed to the caller; nullptr when empty.
    virtual void* Pop() = 0;
    virtual void Clear() = 0;
    // The whole stream is read and checked first: a stream of another kind leaves the buffer
    // as it is; a damaged one raises EReadError and leaves it as it is too. Otherwise the
    // buffer is cleared and the items are added in file order (the newest ends on top).
    virtual void LoadFromStream(rtl::TStream& Stream);
    virtual void SaveToStream(rtl::TStream& Stream);

protected:
    // Disposes of an item: OnFreeItem, or std::free of its block.
    void FreeItem(void* Item);

    int maxCount_ = -1;
    int count_ = 0;
};

}  // namespace kit
