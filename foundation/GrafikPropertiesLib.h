// Saving and restoring the drawing state of a canvas, so that a drawing helper leaves the
// canvas as it found it.
#pragma once

#include "platform/gdi/Graphics.h"
#include "platform/rtl/Classes.h"

// Scope guard: remembers the brush (colour, style) and the pen (colour, width, style, mode) of
// a canvas when created and writes them back when destroyed. Create it first in a helper and
// let it go last. A null canvas is accepted and left alone.
class TProps : public rtl::TObject {
public:
    explicit TProps(gdi::TCanvas* Canvas);
    ~TProps() override;
    TProps(const TProps&) = delete;
    TProps& operator=(const TProps&) = delete;

private:
    gdi::TCanvas* canvas_;
    gdi::TColor brushColor_ = gdi::clWhite;
    gdi::TBrushStyle brushStyle_ = gdi::bsSolid;
    gdi::TColor penColor_ = gdi::clBlack;
    int penWidth_ = 1;
    gdi::TPenStyle penStyle_ = gdi::psSolid;
    gdi::TPenMode penMode_ = gdi::pmCopy;
};

// One save slot for brush, pen and font of one canvas. SaveCanvasState fills it (a second save
// before the restore overwrites the first); RestoreCanvasState writes the three back to the
// canvas they came from and empties the slot; with an empty slot it does nothing. The canvas
// must still exist when the restore runs.
void SaveCanvasState(gdi::TCanvas* Canvas);
void RestoreCanvasState();
