#include "foundation/GrafikPropertiesLib.h"

namespace {

void WriteBrush(gdi::TCanvas& canvas, gdi::TColor color, gdi::TBrushStyle style) {
    // The colour first: a colour makes a clear brush solid again.
    canvas.Brush()->SetColor(color);
    canvas.Brush()->SetStyle(style);
}

struct SavedState {
    gdi::TCanvas* canvas = nullptr;
    gdi::TBrush brush;
    gdi::TPen pen;
    gdi::TFont font;
};

SavedState& Slot() {
    static SavedState slot;
    return slot;
}

}  // namespace

TProps::TProps(gdi::TCanvas* Canvas) : canvas_(Canvas) {
    if (!canvas_) return;
    brushColor_ = canvas_->Brush()->Color();
    brushStyle_ = canvas_->Brush()->Style();
    penColor_ = canvas_->Pen()->Color();
    penWidth_ = canvas_->Pen()->Width();
    penStyle_ = canvas_->Pen()->Style();
    penMode_ = canvas_->Pen()->Mode();
}

TProps::~TProps() {
    if (!canvas_) return;
    WriteBrush(*canvas_, brushColor_, brushStyle_);
    gdi::TPen* pen = canvas_->Pen();
    pen->SetColor(penColor_);
    pen->SetWidth(penWidth_);
    pen->SetStyle(penStyle_);
    pen->SetMode(penMode_);
}

void SaveCanvasState(gdi::TCanvas* Canvas) {
    SavedState& slot = Slot();
    slot.canvas = Canvas;
    if (!Canvas) return;
    slot.brush = *Canvas->Brush();
    slot.pen = *Canvas->Pen();
    slot.font = *Canvas->Font();
}

void RestoreCanvasState() {
    SavedState& slot = Slot();
    gdi::TCanvas* canvas = slot.canvas;
    slot.canvas = nullptr;
    if (!canvas) return;
    WriteBrush(*canvas, slot.brush.Color(), slot.brush.Style());
    canvas->Pen()->Assign(slot.pen);
    canvas->Font()->Assign(slot.font);
}
