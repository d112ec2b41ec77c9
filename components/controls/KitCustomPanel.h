// Windowed containers of the library: a panel hands the background bitmap of its own parent (a
// library control or a shaped form) down to transparent children, mapped by its offset and
// drawn through its background effects; the bevel panel adds an owned bevel as its frame, keeps
// aligned children inside it, turns bmWindows into the window's own sunken border, and in Flat
// mode shows the bevel only while focused or under the mouse.
#pragma once

#include <memory>

#include "components/base/kitcustomcontrol.h"

namespace kit {

class TKitCustomPanel : public TKitCustomControl {
public:
    explicit TKitCustomPanel(rtl::TComponent* AOwner);

    gdi::TBitmap* GetBackBitmap() override;
    bool HasBackBitmap() override;
    bool DrawBackBitmap(gdi::TCanvas& Canvas, const gdi::TRect& Rect, gdi::TPoint Origin,
                        unsigned short Flags) override;
    void BackMapPoint(gdi::TPoint P, gdi::TPoint& Result) override;

protected:
    void WndProc(gui::TMessage& Message) override;
    void Paint() override;

private:
    // The shaped form among the parent form's own components, or nullptr.
    TKitFormShape* ParentFormShape() const;
};

}  // namespace kit
