// The caret of a self-drawn edit: its shape (a bar of the line height, a block, a line under
// or over the character, or a bitmap), showing and hiding it, and the blink time, which is the
// caret's own while it is shown and the system's otherwise.
#pragma once

#include <cstdint>
#include <memory>

#include "components/base/kitclass.h"
#include "platform/gdi/Graphics.h"
#include "platform/gui/Controls.h"

namespace kit {

class TKitCustomImageList;

enum TKitCaretStyles : std::uint8_t { csDefault, csBlock, csUnder, csOver, csBitmap, csUnderBlock };
enum TKitCaretBitmap : std::uint8_t { cbBmpSize, cbTile, cbStretch };

class TKitCaret : public TKitObject {
public:
    explicit TKitCaret(gui::TWinControl* Owner);
    ~TKitCaret() override;
    void Assign(const rtl::TPersistent* Source) override;

    // Builds the caret of the owner's window by Style and sets the blink rate.
    void CreateCaretShape();
    void DestroyCaretShape();
    void Show();
    void Hide();

    // The two settings kept for the owner (index 1 the first, 0 the second).
    int Setting(int index) const { return settings_[index & 1]; }
    void SetSetting(int index, int value) { settings_[index & 1] = value; }

    // Index 0 Width, 1 Height, 2 ImageIndex, 3 ListIndex, 4 LineHeight.
    std::uint16_t WordValue(int index) const;
    void SetWordValue(int index, std::uint16_t value);
    std::uint16_t Width() const { return width_; }
    void SetWidth(std::uint16_t v) { SetWordValue(0, v); }
    std::uint16_t Height() const { return height_; }
    void SetHeight(std::uint16_t v) { SetWordValue(1, v); }
    std::uint16_t ImageIndex() const { return imageIndex_; }
    void SetImageIndex(std::uint16_t v) { SetWordValue(2, v); }
    std::uint16_t ListIndex() const { return listIndex_; }
    void SetListIndex(std::uint16_t v) { SetWordValue(3, v); }
    std::uint16_t LineHeight() const { return lineHeight_; }
    void SetLineHeight(std::uint16_t v) { SetWordValue(4, v); }

    std::uint16_t BlinkRate() const { return blinkRate_; }
    void SetBlinkRate(std::uint16_t v) { blinkRate_ = v; }
    TKitCaretStyles Style() const { return style_; }
    void SetStyle(TKitCaretStyles v) { style_ = v; }
    TKitCaretBitmap CaretBmpMode() const { return caretBmpMode_; }
    void SetCaretBmpMode(TKitCaretBitmap v) { caretBmpMode_ = v; }
    TKitCustomImageList* ImageList() const { return imageList_; }
    void SetImageList(TKitCustomImageList* v) { imageList_ = v; }
    gdi::TBitmap* Bitmap() const { return bitmap_.get(); }
    // Copies the given bitmap into the caret's own.
    void SetBitmap(const gdi::TBitmap* value);

    gui::TWinControl* Owner() const { return owner_; }
    bool Created() const { return created_; }
    bool Visible() const { return visible_; }
    // The blink time of the system when the caret was made.
    std::uint16_t SystemBlinkTime() const { return systemBlink_; }

private:
    int settings_[2] = {0, 0};
    std::unique_ptr<gdi::TBitmap> prepared_;  // tiled or stretched bitmap caret
    std::unique_ptr<gdi::TBitmap> bitmap_;
    TKitCustomImageList* imageList_ = nullptr;
    std::uint16_t lineHeight_ = 0;
    std::uint16_t systemBlink_ = 0;
    std::uint16_t width_ = 2;
    std::uint16_t height_ = 10;
    std::uint16_t imageIndex_ = 0;
    std::uint16_t listIndex_ = 0;
    std::uint16_t blinkRate_ = 0;
    TKitCaretStyles style_ = csDefault;
    gui::TWinControl* owner_ = nullptr;
    bool created_ = false;
    bool visible_ = false;
    TKitCaretBitmap caretBmpMode_ = cbBmpSize;
};

}  // namespace kit
