// The colour list box.
#include "components/controls/KitCustomColorListBox.h"

#include <algorithm>

#include "components/base/KitDrawFrames.h"
#include "components/base/KitDrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/rtl/SysUtils.h"

namespace kit {

using namespace gui;
using gdi::TColor;
using gdi::TRect;

namespace {
constexpr const char* kLetters = "ABCDEFGHIJKLMNOP";

// A hexadecimal value of a custom colour ("FF", "00FF00FF"); False for anything else.
bool HexValue(const std::string& v, long long& out) {
    const std::string t = rtl::Trim(v);
    if (t.empty() || t.size() > 8) return false;
    if (!std::all_of(t.begin(), t.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }))
        return false;
    out = std::stoll(t, nullptr, 16);
    return true;
}

bool IntegerColor(const std::string& s, TColor& c) {
    try {
        c = static_cast<TColor>(rtl::StrToInt64(rtl::Trim(s)));
        return true;
    } catch (const rtl::Exception&) {
        return false;
    }
}
}  // namespace

TKitCustomColorListBox::TKitCustomColorListBox(rtl::TComponent* AOwner)
    : TKitCustomDerivedImageListBox(AOwner), customColors_(std::make_unique<rtl::TStringList>()) {
    customColors_->OnChange = [this](rtl::TObject*) { FillColors(); };
    // A list made in code is filled at once; one loaded from a form again when loading ends.
    FillColors();
}

TKitCustomColorListBox::~TKitCustomColorListBox() { customColors_->OnChange = nullptr; }

void TKitCustomColorListBox::Loaded() {
    TKitCustomDerivedImageListBox::Loaded();
    FillColors();
}

void TKitCustomColorListBox::SetCustomMode(bool Value) {
    if (customMode_ == Value) return;
    customMode_ = Value;
    if (!Loading()) FillColors();
}

void TKitCustomColorListBox::SetOptions(TKitColorCBOptions Value) {
    if (options_ == Value) return;
    options_ = Value;
    if (!customMode_) FillColors();
}

void TKitCustomColorListBox::SetDisplayStyle(TKitColorCBStyle Value) {
    if (displayStyle_ == Value) return;
    displayStyle_ = Value;
    RecreateKeepingColor();
}

void TKitCustomColorListBox::RecreateKeepingColor() {
    const bool had = ItemIndex() >= 0;
    const TColor c = had ? SelectedColor() : gdi::clNone;
    Recreate();
    if (had) SelectColor(c);
}

void TKitCustomColorListBox::SetCustomColors(const rtl::TStrings* Value) {
    if (customMode_) {
        customColors_->BeginUpdate();
        customColors_->Clear();
        if (Value) customColors_->AddStrings(*Value);
        customColors_->EndUpdate();
        return;
    }
    auto change = std::move(customColors_->OnChange);
    customColors_->OnChange = nullptr;
    customColors_->Clear();
    if (Value)
        for (int i = 0; i < 16; ++i) {
            const std::string key = std::string(CustomKeyPrefix) + kLetters[i];
            if (Value->IndexOfName(key) < 0) continue;
            // Custom colours are hexadecimal; other values are not taken over.
            const std::string v = rtl::Trim(Value->Values(key));
            long long n = 0;
            if (HexValue(v, n)) customColors_->Add(key + "=" + v);
        }
    FillColors();
    customColors_->OnChange = std::move(change);
}

bool TKitCustomColorListBox::ItemColor(const std::string& Text, TColor& Color) {
    const auto eq = Text.find('=');
    if (eq != std::string::npos) {
        const std::string v = Text.substr(eq + 1);
        if (Text.find("cl") != std::string::npos) return gdi::IdentToColor(rtl::Trim(v), Color);
        return IntegerColor(v, Color);
    }
    if (!Text.empty() && Text[0] == '$') return IntegerColor(Text, Color);
    return gdi::IdentToColor(Text, Color);
}

TColor TKitCustomColorListBox::SelectedColor() {
    const int i = ItemIndex();
    if (i < 0) return static_cast<TColor>(-1);
    std::string t = Items()->Get(i);
    if (customMode_) {
        const auto eq = t.find('=');
        if (eq != std::string::npos) t = t.substr(eq + 1);
    }
    try {
        return gdi::StringToColor(rtl::Trim(t));
    } catch (const rtl::Exception&) {
        return gdi::clNone;
    }
}

void TKitCustomColorListBox::SelectColor(TColor C) {
    if (customMode_) {
        if (SelectedColor() == C) return;
        for (int i = 0; i < Count(); ++i) {
            TColor c;
            std::string t = Items()->Get(i);
            const auto eq = t.find('=');
            if (eq != std::string::npos) t = t.substr(eq + 1);
            try {
                c = gdi::StringToColor(rtl::Trim(t));
            } catch (const rtl::Exception&) {
                continue;
            }
            if (c == C) {
                SetItemIndex(i);
                return;
            }
        }
        return;
    }
    const std::string n = gdi::ColorToString(C);
    if (ItemIndex() >= 0 && rtl::SameText(Items()->Get(ItemIndex()), n)) return;
    SetItemIndex(Items()->IndexOf(n));
    if (ItemIndex() < 0 && (options_ & coAllowAnyColor) && C != gdi::clNone) SetItemIndex(Items()->Add(n));
}

void TKitCustomColorListBox::FillColors() {
    const bool had = ItemIndex() >= 0;
    const TColor remembered = had ? SelectedColor() : gdi::clNone;
    Items()->BeginUpdate();
    Items()->Clear();
    counter_ = 0;
    if (customMode_) {
        for (int i = 0; i < customColors_->Count(); ++i) Items()->Add(customColors_->Get(i));
    } else {
        if (options_ & (coDefaultColors | coSystemColors))
            gdi::GetColorValues([this](const std::string& name) {
                if (name == "clNone") return;
                if (counter_ < 16 ? (options_ & coDefaultColors) : (options_ & coSystemColors)) Items()->Add(name);
                ++counter_;
            });
        if ((options_ & coCustomColors) && customColors_->Count() > 0)
            for (int i = 0; i < 16; ++i) {
                const std::string key = std::string(CustomKeyPrefix) + kLetters[i];
                if (customColors_->IndexOfName(key) < 0) continue;
                std::string v = rtl::Trim(customColors_->Values(key));
                if (rtl::SameText(v, "FFFFFFFF")) continue;
                if (v.size() < 8) v.insert(0, 8 - v.size(), '0');
                Items()->Add("$" + v);
            }
    }
    Items()->EndUpdate();
    if (had) SelectColor(remembered);
}

bool TKitCustomColorListBox::ExecuteDialog(rtl::TStrings* Colors) {
    if (customMode_) return false;
    TColorDialog dlg(nullptr);
    // Every slot is named, so that the chosen colours come back under the same keys.
    for (int i = 0; i < 16; ++i) {
        const std::string key = std::string(CustomKeyPrefix) + kLetters[i];
        const std::string v = Colors && Colors->IndexOfName(key) >= 0 ? Colors->Values(key) : "FFFFFFFF";
        dlg.CustomColors()->Add(key + "=" + v);
    }
    dlg.Options = DlgOptions;
    const TColor sel = SelectedColor();
    dlg.Color = sel == static_cast<TColor>(-1) ? gdi::clBlack : sel;
    dlg.HelpContext = DlgHelpContext;
    if (OnBeforeDialogShow) OnBeforeDialogShow(this, &dlg);
    const bool ok = dlg.Execute();
    if (ok) {
        if (Colors == customColors_.get() || !Colors) {
            SetCustomColors(dlg.CustomColors());
        } else {
            Colors->Clear();
            Colors->AddStrings(*dlg.CustomColors());
        }
        SelectColor(dlg.Color);
    }
    if (OnAfterDialogShow) OnAfterDialogShow(this, &dlg);
    return ok;
}

void TKitCustomColorListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbRight && !Designing() && (options_ & coAllowDialog)) {
        ExecuteDialog(customColors_.get());
        return;
    }
    TKitCustomDerivedImageListBox::MouseDown(Button, Shift, X, Y);
}

void TKitCustomColorListBox::WndProc(TMessage& m) {
    if (m.Msg == CM_FONTCHANGED) {
        TKitCustomDerivedImageListBox::WndProc(m);
        RecreateKeepingColor();
        return;
    }
    TKitCustomDerivedImageListBox::WndProc(m);
}

void TKitCustomColorListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState) {
    gdi::TCanvas& c = *Canvas();
    const std::string item = Items()->Get(Index);
    TColor color = gdi::clNone;
    // A value that names no colour gets no swatch, only its text.
    const bool known = ItemColor(item, color);
    if (known && color == gdi::clNone) return;
    const auto eq = item.find('=');
    std::string shown;
    if (eq != std::string::npos) shown = item.substr(0, eq);
    else if (displayStyle_ != csColor) shown = !item.empty() && item[0] == 'c' ? item.substr(std::min<std::size_t>(2, item.size()), 100) : item;

    const gdi::TBrushStyle bs = c.Brush()->Style();
    const TColor bc = c.Brush()->Color();
    int textLeft = Rect.Left + 2;
    switch (displayStyle_) {
    case csColor:
        if (known) {
            c.Brush()->SetColor(color);
            c.Rectangle(Rect.Left + 3, Rect.Top + 3, Rect.Right - 3, Rect.Bottom - 3);
        }
        shown.clear();
        break;
    case csText: break;
    case csColorText:
    case csColor3DText: {
        TRect sw = gdi::Rect(Rect.Left + 4, Rect.Top + 2, Rect.Left + 4 + (Rect.Bottom - Rect.Top) + 4, Rect.Bottom - 2);
        if (known) {
            c.Brush()->SetColor(color);
            if (displayStyle_ == csColorText) {
                c.Rectangle(sw);
            } else {
                c.FillRect(sw);
                TRect f = sw;
                KitDrawBorder(c, f, lsSingleRaised, 0);
            }
        }
        textLeft = sw.Right + 6;
        break;
    }
    }
    c.Brush()->SetColor(bc);
    c.Brush()->SetStyle(gdi::bsClear);
    if (!shown.empty()) {
        const TRect tr = gdi::Rect(textLeft, Rect.Top + 2, Rect.Right, Rect.Bottom);
        KitDrawFxText(c, shown, Font3D(), tr, gdi::DT_NOPREFIX | gdi::DT_SINGLELINE,
                      kftClip | (Enabled() ? kftEnabled : 1), nullptr);
    }
    c.Brush()->SetStyle(bs);
}

}  // namespace kit
