// STAND-IN: the part of the container and image-list interface that the fill and alpha objects
// use (change link, container base with its links, the abstract image list, the application-wide
// list routines), with the least behaviour. The full containers replace this file; the alpha
// object then includes their header instead. Nothing here knows KitAppContainer, so no list
// counts as an application-wide one.
#pragma once

#include <string>
#include <vector>

#include "components/base/kitcomponent.h"
#include "platform/gdi/Graphics.h"
#include "platform/rtl/TaggedStream.h"

namespace kit {

class TKitBaseContainer;

// Registered with at most one container; calls OnChange(Sender) on every change of it.
class TKitChangeLink : public rtl::TObject {
public:
    TKitChangeLink() = default;
    ~TKitChangeLink() override;
    TKitChangeLink(const TKitChangeLink&) = delete;
    TKitChangeLink& operator=(const TKitChangeLink&) = delete;

    TKitBaseContainer* Sender = nullptr;
    rtl::TNotifyEvent OnChange;
    virtual void Change();
};

// A component with a list of registered change links (not owned).
class TKitBaseContainer : public TKitCustomComponent {
public:
    explicit TKitBaseContainer(rtl::TComponent* AOwner);
    ~TKitBaseContainer() override;

    // Every link first, in registration order (also under the update lock), then OnChange.
    void Change() override;
    void RegisterChanges(TKitChangeLink* Link);
    void UnRegisterChanges(TKitChangeLink* Link);

private:
    std::vector<TKitChangeLink*> links_;
};

// Images addressed by a list index (the item) and an image index (the image in its strip).
class TKitCustomImageList : public TKitBaseContainer {
public:
    using TKitBaseContainer::TKitBaseContainer;
    virtual bool HasImage(int ListIndex, int ImageIndex) = 0;
    // Copies the image into Bitmap; nothing for a nil Bitmap.
    virtual void GetBitmap(int ListIndex, int ImageIndex, gdi::TBitmap* Bitmap) = 0;
};

// The application-wide lists of the library's container and their names in form files.
bool KitIsInternalList(const TKitCustomImageList* List);
void KitWriteInternalList(rtl::TWriter& Writer, const TKitCustomImageList* List);
TKitCustomImageList* KitReadInternalList(rtl::TReader& Reader);

}  // namespace kit
