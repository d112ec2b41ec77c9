#include "platform/gui/ColorDialogs.h"

#include <array>
#include <cctype>

#include "platform/gui/Presenter.h"
#include "platform/rtl/SysUtils.h"

namespace gui {

TColorDialog::TColorDialog(rtl::TComponent* owner)
    : rtl::TComponent(owner), customColors_(std::make_unique<rtl::TStringList>()) {}

TColorDialog::~TColorDialog() = default;

namespace {
// The slot of a name ending in A..P; -1 otherwise.
int SlotOf(const std::string& name) {
    if (name.empty()) return -1;
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name.back())));
    return c >= 'A' && c <= 'P' ? c - 'A' : -1;
}
}  // namespace

bool TColorDialog::Execute() {
    ColorDialogRequest request;
    request.color = gdi::ColorToRGB(Color);
    request.fullOpen = (Options & cdFullOpen) != 0;
    request.customColors.assign(16, 0xFFFFFFFFu);
    std::array<std::string, 16> names;
    std::string prefix = "Color";
    for (int i = 0; i < customColors_->Count(); ++i) {
        const std::string name = customColors_->Names(i);
        const int slot = SlotOf(name);
        if (slot < 0) continue;
        if (i == 0) prefix = name.substr(0, name.size() - 1);
        names[static_cast<std::size_t>(slot)] = name;
        try {
            const long long v = rtl::StrToInt64("$" + rtl::Trim(customColors_->Values(name)));
            request.customColors[static_cast<std::size_t>(slot)] = static_cast<std::uint32_t>(v);
        } catch (const rtl::Exception&) {
            // not a hexadecimal value: the slot stays empty
        }
    }
    const ColorDialogResult result = CurrentPresenter().ShowColorDialog(request);
    if (!result.accepted) return false;
    Color = static_cast<gdi::TColor>(result.color);
    for (std::size_t i = 0; i < result.customColors.size() && i < 16; ++i) {
        const std::string name = names[i].empty() ? prefix + static_cast<char>('A' + i) : names[i];
        customColors_->SetValue(name, rtl::IntToHex(static_cast<long long>(result.customColors[i]), 6));
    }
    return true;
}

}  // namespace gui
