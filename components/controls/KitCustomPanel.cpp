#include "components/controls/KitCustomPanel.h"

#include "platform/gui/Forms.h"

namespace kit {

using namespace gdi;
using namespace gui;

TKitCustomPanel::TKitCustomPanel(rtl::TComponent* AOwner) : TKitCustomControl(AOwner) {
    TControlStyle style;
    for (auto f : {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks,
                   csReplicatable})
        style.Include(f);
    SetControlStyle(style);
    SetColor(clBtnFace);
}

TKitFormShape* TKitCustomPanel::ParentFormShape() const {
    TWinControl* form = Parent();
    if (!dynamic_cast<TCustomForm*>(form)) return nullptr;
    const int i = KitFindComponentIndex(form, rtl::TComponentClass::Of<TKitFormShape>());
    return i >= 0 ? static_cast<TKitFormShape*>(form->Components(i)) : nullptr;
}

bool TKitCustomPanel::HasBackBitmap() {
    if (!Transparent()) return false;
    if (auto* kit = dynamic_cast<TKitCustomControl*>(Parent())) return kit->HasBackBitmap();
    if (TKitFormShape* shape = ParentFormShape()) return shape->HasBackground();
    return false;
}

TBitmap* TKitCustomPanel::GetBackBitmap() {
    if (!HasBackBitmap()) return nullptr;
    TBitmap* bmp = nullptr;
    if (auto* kit = dynamic_cast<TKitCustomControl*>(Parent())) bmp = kit->GetBackBitmap();
    else if (TKitFormShape* shape = ParentFormShape()) bmp = shape->BackgroundBitmap();
    if (bmp && BackFX()->IsActive()) bmp->SetPixelFormat(pf24bit);
    return bmp;
}

void TKitCustomPanel::BackMapPoint(TPoint P, TPoint& Result) {
    if (!HasBackBitmap()) {
        TKitCustomControl::BackMapPoint(P, Result);
        return;
    }
    if (auto* kit = dynamic_cast<TKitCustomControl*>(Parent())) {
        TPoint origin;
        kit->BackMapPoint(TPoint{Left(), Top()}, origin);
        Result = TPoint{origin.X + P.X, origin.Y + P.Y};
    } else {
        const TKitFormShape* shape = ParentFormShape();
        const TPoint p{Left() + P.X, Top() + P.Y};
        Result = shape ? shape->MapPoint(p) : p;
    }
    // The border on one side.
    Result.X += (Width() - ClientWidth()) / 2;
    Result.Y += (Height() - ClientHeight()) / 2;
}

bool TKitCustomPanel::DrawBackBitmap(TCanvas& Canvas, const TRect& Rect, TPoint Origin,
                                     unsigned short Flags) {
    bool result = TKitCustomControl::DrawBackBitmap(Canvas, Rect, Origin, Flags);
    if (Loading() || Destroying() || ComponentState().Contains(rtl::csDestroying)) return result;
    TBitmap* back = GetBackBitmap();
    if (!back) return result;

    TPoint offset{Left(), Top()};
    if (auto* kit = dynamic_cast<TKitCustomControl*>(Parent())) kit->BackMapPoint(offset, offset);
    else if (const TKitFormShape* shape = ParentFormShape()) offset = shape->MapPoint(offset);
    TRect source = gdi::Rect(offset.X, offset.Y, offset.X + ClientWidth(), offset.Y + ClientHeight());
    OffsetRect(source, (Width() - ClientWidth()) / 2, (Height() - ClientHeight()) / 2);
    TRect src = Rect;
    OffsetRect(src, source.Left + Origin.X, source.Top + Origin.Y);

    TKitBitmapEffectObject* fx = BackFX();
    if (fx->IsActive() && !ThemePainted()) {
        // The effects work on a picture of the client area alone.
        OffsetRect(src, -source.Left, -source.Top);
        if (fx->BufferValid && fx->Buffer()) {
            Canvas.CopyRect(Rect, *fx->Buffer()->Canvas(), src);
        } else {
            const int w = source.Right - source.Left, h = source.Bottom - source.Top;
            TBitmap temp;
            temp.SetPixelFormat(pf24bit);
            temp.SetSize(w + 2, h + 2);
            fx->Apply(*back, source, temp, gdi::Rect(0, 0, w, h));
            Canvas.CopyRect(Rect, *temp.Canvas(), src);
        }
    } else {
        Canvas.CopyRect(Rect, *back->Canvas(), src);
    }
    return true;
}

void TKitCustomPanel::Paint() { TKitCustomControl::Paint(); }

void TKitCustomPanel::WndProc(TMessage& m) {
    std::weak_ptr<void> life = LifeToken();
    TKitCustomControl::WndProc(m);
    if (life.expired() || Destroying()) return;
    if (m.Msg == WM_SIZE) BackFX()->Invalidate();
}

}  // namespace kit
