// STAND-IN. The least interface of the image containers (change link, base container, custom
// image list, the application-wide lists) and of the bitmap-effect object with its alpha object
// that the control bases use, until those units are built. Replace this file by them.
#pragma once

#include <vector>

#include "components/base/kitclass.h"
#include "components/base/kitcomponent.h"

namespace rtl {
class TReader;
class TWriter;
}  // namespace rtl

namespace kit {

class TKitBaseContainer;

// Registered with a container, it runs OnChange(container) on every change of the container.
class TKitChangeLink : public rtl::TObject {
public:
    TKitChangeLink() = default;
    ~TKitChangeLink() override;  // leaves its container
    TKitChangeLink(const TKitChangeLink&) = delete;
    TKitChangeLink& operator=(const TKitChangeLink&) = delete;

    TKitBaseContainer* Sender = nullptr;
    rtl::TNotifyEvent OnChange;
    virtual void Change();
};

class TKitBaseContainer : public TKitCustomComponent {
public:
    explicit TKitBaseContainer(rtl::TComponent* AOwner) : TKitCustomComponent(AOwner) {}
    ~TKitBaseContainer() override;

    void RegisterChanges(TKitChangeLink* Link);
    void UnRegisterChanges(TKitChangeLink* Link);
    // Every registered link first (also under the update lock), then OnChange.
    void Change() override;

private:
    std::vector<TKitChangeLink*> links_;
};

// Images addressed by a list index (the item) and an image index within it.
class TKitCustomImageList : public TKitBaseContainer {
public:
    explicit TKitCustomImageList(rtl::TComponent* AOwner) : TKitBaseContainer(AOwner) {}
    virtual bool HasImage(int ListIndex, int ImageIndex) = 0;
};

// The application-wide bitmap and image lists: none exist in this stand-in.
bool KitIsInternalList(const TKitCustomImageList* List);
void KitWriteInternalList(rtl::TWriter& Writer, const TKitCustomImageList* List);
TKitCustomImageList* KitReadInternalList(rtl::TReader& Reader);

// The alpha object's image list reference (not owned).
class TKitAlphaObject : public TKitObject {
public:
    TKitCustomImageList* ImageList() const { return imageList_; }
    void SetImageList(TKitCustomImageList* Value);

private:
    TKitCustomImageList* imageList_ = nullptr;
};

// The background-effect object: here only its buffer state and its alpha object.
class TKitBitmapEffectObject : public TKitObject {
public:
    TKitAlphaObject* AlphaBlend() { return &alpha_; }
    bool BufferValid = false;
    void Invalidate() { BufferValid = false; }
    // No effect is built yet.
    bool IsActive() const { return false; }
    void GetChange(rtl::TObject* Sender) override;
    void Assign(const rtl::TPersistent* Source) override;

private:
    TKitAlphaObject alpha_;
};

}  // namespace kit

namespace kit {

// STAND-IN for the application object's theme switch: ThemesEnabled holds when the switch (on
// from the start) and KitThemesActive hold; KitThemesActive when the theme library was loaded
// and reports its theme active.
bool KitThemesActive();
bool KitAppThemesEnabled();

}  // namespace kit
