#include "components/base/KitFormShape.h"

#include "components/base/kitapp.h"
#include "platform/gdi/Regions.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WindowShapes.h"

namespace kit {

TKitFormShape::TKitFormShape(rtl::TComponent* AOwner)
    : TKitWndProcComponent(AOwner),
      region_(std::make_unique<TKitBorderRegion>()),
      fillObject_(std::make_unique<TKitFillObject>()),
      backBitmap_(std::make_unique<gdi::TBitmap>()),
      changeLink_(std::make_unique<TKitChangeLink>()) {
    region_->Owner = AOwner;
    region_->OnChange = ChangeHandler();
    fillObject_->OnChange = ChangeHandler();
    changeLink_->OnChange = ChangeHandler();
    if (AOwner && AOwner->ComponentState().Contains(rtl::csDesigning) &&
        KitIsInvalidInstance<TKitFormShape>(AOwner, false))
        throw KitEOneInstError("TKitFormShape", 0);
}

TKitFormShape::~TKitFormShape() {
    DoUnhook();
    changeLink_->OnChange = nullptr;
    if (imageList_) imageList_->UnRegisterChanges(changeLink_.get());
    changeLink_.reset();
    fillObject_->OnChange = nullptr;
    region_->OnChange = nullptr;
    region_->Owner = nullptr;
}

// ---- Background service -----------------------------------------------------------------------

bool TKitFormShape::HasBackground() const {
    if (useRgnBitmap_ && region_->Shape() == rsBitmap) return true;
    return fillObject_->Style() != sfNone && !designing();
}

gdi::TBitmap* TKitFormShape::BackgroundBitmap() const {
    if (useRgnBitmap_ && region_->Shape() == rsBitmap) return region_->Mask()->BorderBmp();
    if (fillObject_->Style() != sfNone) return backBitmap_.get();
    return nullptr;
}

bool TKitFormShape::CopyBackground(gdi::TCanvas& Canvas, const gdi::TRect& Rect, unsigned /*Flags*/,
                                   gdi::TPoint Origin) {
    const bool has = HasBackground();
    gdi::TBitmap* back = BackgroundBitmap();
    if (has && back)
        Canvas.CopyRect(Rect, *back->Canvas(), gdi::Bounds(Origin.X, Origin.Y, Rect.Width(), Rect.Height()));
    return has;
}

// ---- Properties ---------------------------------------------------------------------------------

bool TKitFormShape::GetFlag(int Index) const {
    switch (Index) {
    case 0: return showFormCaption_;
    case 1: return formDragable_;
    default: return useRgnBitmap_;
    }
}

void TKitFormShape::SetFlag(int Index, bool Value) {
    switch (Index) {
    case 0:
        if (Value == showFormCaption_) return;
        showFormCaption_ = Value;
        UpdateRegion();
        break;
    case 1: formDragable_ = Value; break;
    default:
        if (Value == useRgnBitmap_) return;
        useRgnBitmap_ = Value;
        GetChange(this);
        break;
    }
}

void TKitFormShape::SetImageList(TKitCustomImageList* Value) {
    if (imageList_) {
        imageList_->UnRegisterChanges(changeLink_.get());
        if (imageList_ != Value) RemoveFreeNotification(imageList_);
    }
    imageList_ = Value;
    if (imageList_) {
        imageList_->RegisterChanges(changeLink_.get());
        FreeNotification(imageList_);
    }
    GetChange(this);
}

bool TKitFormShape::IsImageListStored() const { return imageList_ != nullptr && !KitIsInternalList(imageList_); }

void TKitFormShape::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    TKitWndProcComponent::Notification(AComponent, Operation);
    if (Operation == rtl::TOperation::opRemove && imageList_ &&
        AComponent == static_cast<rtl::TComponent*>(imageList_)) {
        // The dying container has dropped its links already.
        changeLink_->Sender = nullptr;
        imageList_ = nullptr;
        GetChange(this);
    }
}

void TKitFormShape::DefineProperties(rtl::TFiler* Filer) {
    TKitWndProcComponent::DefineProperties(Filer);
    Filer->DefineProperty(
        "Internal", [this](rtl::TReader& reader) { SetImageList(KitReadInternalList(reader)); },
        [this](rtl::TWriter& writer) { KitWriteInternalList(writer, imageList_); }, KitIsInternalList(imageList_));
}

void TKitFormShape::Loaded() {
    TKitWndProcComponent::Loaded();
    if (Enabled()) UpdateRegion();
}

void TKitFormShape::GetChange(rtl::TObject* Sender) {
    TKitWndProcComponent::GetChange(Sender);
    UpdateRegion();
}

// ---- The window region --------------------------------------------------------------------------

void TKitFormShape::UpdateRegion() {
    if (ComponentState().Contains(rtl::csLoading) || ComponentState().Contains(rtl::csDestroying)) return;
    gui::TCustomForm* form = OwnerForm();
    if (!form || form->Destroying()) return;
    const bool child = form->Parent() != nullptr;
    // A shaped top-level form has no window-manager frame here.
    if (!designing() && !child) form->SetFrameless(true);
    const gui::TFormFrameMetrics m = gui::FormFrameMetrics(*form);
    const int fx = m.FrameX, fy = m.FrameY, cap = m.Caption;

    if (!child && region_->Shape() == rsBitmap) {
        const gdi::TBitmap* bmp = region_->Mask()->BorderBmp();
        // Without a border bitmap the form keeps its size (it would shrink to the shadow).
        if (!bmp->Empty()) {
            const int depth = region_->Shadow()->Depth();
            form->SetBounds(form->Left(), form->Top(), bmp->Width() + depth + 2 * fx,
                            bmp->Height() + cap + 2 * fy + depth);
        }
    }

    gdi::TRect R = gdi::Rect(0, 0, form->Width() - 2 * fx, form->Height() - 2 * fy - cap);
    gdi::InflateRect(R, 1, 1);

    gdi::HRGN work = gdi::CreateRectRgn(0, 0, 0, 0);
    bool whole = false;  // no shape: the window keeps no region
    if (!child) {
        bodyRect_ = R;
        region_->BuildRegion(R);
        if (region_->Rgn()) {
            gdi::CombineRgn(work, region_->Rgn(), nullptr, gdi::RGN_COPY);
            gdi::OffsetRgn(work, fx, fy + cap);
            if (region_->Shadow()->Style() != hssNone) {
                gdi::HRGN shadow = gdi::CreateRectRgn(0, 0, 0, 0);
                gdi::CombineRgn(shadow, work, nullptr, gdi::RGN_COPY);
                const int depth = region_->Shadow()->Depth();
                gdi::OffsetRgn(shadow, depth, depth);
                gdi::CombineRgn(work, work, shadow, gdi::RGN_OR);
                gdi::DeleteObject(shadow);
            }
        }
        gdi::HRGN strip = gdi::CreateRectRgn(0, 0, form->Width(), fy + cap);
        const bool withCaption = (showFormCaption_ && form->BorderStyle() != gui::bsNone) || designing();
        gdi::CombineRgn(work, work, strip, withCaption ? gdi::RGN_OR : gdi::RGN_DIFF);
        gdi::DeleteObject(strip);
        // A shape without region data leaves the caption strip, or, with none, the whole
        // window (an empty region would hide the form altogether).
        gdi::TRect box;
        whole = !region_->Rgn() && gdi::GetRgnBox(work, box) == gdi::NULLREGION;
    } else {
        region_->SetRectRegion(gdi::Rect(0, 0, form->Width(), fy + cap));
        if (region_->Rgn()) gdi::CombineRgn(work, region_->Rgn(), nullptr, gdi::RGN_COPY);
    }

    if (!designing()) {
        gui::SetWindowRgn(form, nullptr, false);
        if (!whole) {
            gdi::HRGN windowRgn = gdi::CreateRectRgn(0, 0, 0, 0);
            gdi::CombineRgn(windowRgn, work, nullptr, gdi::RGN_COPY);
            if (!gui::SetWindowRgn(form, windowRgn, true)) gdi::DeleteObject(windowRgn);
        } else {
            form->Invalidate();
        }
    }
    gdi::DeleteObject(work);
}

// ---- Painting -----------------------------------------------------------------------------------

void TKitFormShape::PaintForm(gdi::TCanvas* Canvas) {
    gui::TCustomForm* form = OwnerForm();
    if (!form) return;
    gdi::TCanvas& c = Canvas ? *Canvas : *form->Canvas();
    // The form's own canvas keeps its tools: they are put back afterwards.
    gdi::TPen pen;
    gdi::TBrush brush;
    pen.Assign(*c.Pen());
    brush.Assign(*c.Brush());
    const gdi::TRect R = gdi::Rect(0, 0, form->ClientWidth(), form->ClientHeight());
    TKitRegionMask* mask = region_->Mask();
    if (useRgnBitmap_ && region_->Shape() == rsBitmap) {
        if (!designing()) {
            c.Draw(0, 0, *mask->BorderBmp());
        } else if (mask->RegionDataSize() > 0) {
            gdi::HRGN r = gdi::ExtCreateRegion(nullptr, static_cast<std::uint32_t>(mask->RegionDataSize()),
                                               mask->RegionData());
            if (r) {
                gdi::OffsetRgn(r, 0, -c.ClipRect().Top);
                gdi::FrameRgn(c, r, 1, 1);
                gdi::DeleteObject(r);
            }
        }
    } else if (fillObject_->Style() != sfNone) {
        backBitmap_->SetSize(R.Width(), R.Height());
        if (fillObject_->Style() == sfBitmapList && imageList_ && imageList_->HasImage(listIndex_, imageIndex_))
            imageList_->GetBitmap(listIndex_, imageIndex_, fillObject_->ListBitmap());
        fillObject_->FillCanvas(*backBitmap_->Canvas(), R, 0xFFFFFF);
        if (!designing()) c.Draw(0, 0, *backBitmap_);
    }
    region_->DrawBorder(c, R);
    c.Pen()->Assign(pen);
    c.Brush()->Assign(brush);
}

// ---- Messages -----------------------------------------------------------------------------------

void TKitFormShape::WndProc(gui::TMessage& Message) {
    switch (Message.Msg) {
    case gui::WM_NCHITTEST: {
        TKitWndProcComponent::WndProc(Message);
        gui::TCustomForm* form = OwnerForm();
        if (formDragable_ && form && Message.Result == gui::HTCLIENT && !rightDown_) {
            const gui::TWMNCHitTest hit{Message};
            const gdi::TPoint p = form->ScreenToClient({hit.XPos(), hit.YPos()});
            if (!form->ControlAtPos(p, false)) Message.Result = gui::HTCAPTION;
        }
        return;
    }
    case gui::WM_NCRBUTTONDOWN:
        TKitWndProcComponent::WndProc(Message);
        rightDown_ = true;
        return;
    case gui::WM_NCRBUTTONUP:
    case gui::WM_CAPTURECHANGED:
        TKitWndProcComponent::WndProc(Message);
        rightDown_ = false;
        return;
    case gui::WM_SIZE:
        // The region first, then the form's own size handling.
        UpdateRegion();
        if (gui::TCustomForm* form = OwnerForm()) form->Invalidate();
        TKitWndProcComponent::WndProc(Message);
        return;
    case gui::WM_ERASEBKGND: {
        if (fillObject_->Style() == sfNone && region_->Shape() != rsBitmap) TKitWndProcComponent::WndProc(Message);
        PaintForm(gui::TWMEraseBkgnd{Message}.Canvas());
        Message.Result = 1;
        return;
    }
    default: TKitWndProcComponent::WndProc(Message); return;
    }
}

}  // namespace kit
