#include "platform/gui/ColorBoxes.h"

#include <cstdint>

namespace gui {

namespace {

struct NamedColor {
    const char* name;
    gdi::TColor color;
};

const NamedColor kColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080}, {"Green", 0x008000},   {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080}, {"Teal", 0x808000},    {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},    {"Lime", 0x00FF00},    {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},   {"White", 0xFFFFFF},
};

}  // namespace

TColorBox::TColorBox(rtl::TComponent* owner) : TComboBox(owner) {
    SetStyle(csOwnerDrawFixed);
    for (const NamedColor& c : kColors)
        Items()->AddObject(c.name, reinterpret_cast<rtl::TObject*>(static_cast<std::uintptr_t>(c.color)));
    SetItemIndex(0);
}

gdi::TColor TColorBox::Colors(int index) const {
    return static_cast<gdi::TColor>(reinterpret_cast<std::uintptr_t>(Items()->Objects(index)));
}

gdi::TColor TColorBox::Selected() const {
    const int i = ItemIndex();
    return i >= 0 ? Colors(i) : gdi::clBlack;
}

void TColorBox::SetSelected(gdi::TColor Value) {
    for (int i = 0; i < Items()->Count(); ++i)
        if (Colors(i) == Value) {
            SetItemIndex(i);
            return;
        }
    SetItemIndex(-1);
}

void TColorBox::DrawItem(int index, gdi::TRect rect, TOwnerDrawState state) {
    gdi::TCanvas* c = Canvas();
    const bool selected = state & odSelected;
    c->Brush()->SetColor(selected ? gdi::clHighlight : gdi::clWindow);
    c->FillRect(rect);
    const int h = rect.Bottom - rect.Top;
    const gdi::TRect swatch{rect.Left + 2, rect.Top + 2, rect.Left + 2 + 2 * h - 4, rect.Bottom - 2};
    c->Brush()->SetColor(Colors(index));
    c->Pen()->SetColor(gdi::clBlack);
    c->Rectangle(swatch);
    c->Brush()->SetColor(selected ? gdi::clHighlight : gdi::clWindow);
    c->Font()->SetColor(selected ? gdi::clHighlightText : gdi::clWindowText);
    const std::string text = Items()->Get(index);
    c->TextOut(swatch.Right + 4, rect.Top + (h - c->TextHeight(text)) / 2, text);
}

}  // namespace gui
