#include "components/controls/KitDynLIFOBuffer.h"

#include <cstdlib>

namespace kit {

TKitDynLIFOBuffer::~TKitDynLIFOBuffer() { Clear(); }

void TKitDynLIFOBuffer::First(TPosition& Pos) {
    Node* n = head_;
    while (n && n->next) n = n->next;
    Pos = n;
}

void TKitDynLIFOBuffer::Next(TPosition& Pos) {
    Node* n = head_;
    while (n && n->next != Pos) n = n->next;
    Pos = n == Pos ? nullptr : n;
}

void* TKitDynLIFOBuffer::Data(TPosition Pos) {
    return Pos ? static_cast<Node*>(Pos)->item : nullptr;
}

bool TKitDynLIFOBuffer::Add(void* Item) {
    if (IsFull()) {
        if (!dropOldest_) return false;
        if (maxCount_ <= 0) {
            FreeItem(Item);
            return true;
        }
        if (maxCount_ == 1) {
            Clear();
        } else {
            Node* newer = nullptr;
            Node* oldest = head_;
            while (oldest->next) {
                newer = oldest;
                oldest = oldest->next;
            }
            if (newer) newer->next = nullptr;
            else head_ = nullptr;
            FreeItem(oldest->item);
            delete oldest;
            --count_;
        }
    }
    head_ = new Node{Item, head_};  // the stack owns its nodes
    ++count_;
    return true;
}

void* TKitDynLIFOBuffer::Pop() {
    if (!head_) return nullptr;
    Node* n = head_;
    head_ = n->next;
    void* item = n->item;
    delete n;
    --count_;
    return item;
}

void TKitDynLIFOBuffer::Clear() {
    while (head_) {
        Node* n = head_;
        head_ = n->next;
        if (OnFreeItem) OnFreeItem(this, n->item);
        else if (n->item) std::free(n->item);
        delete n;
    }
    count_ = 0;
}

}  // namespace kit
