// The component library's private window messages: how parents tell their children that the
// background under them changed, and how controls tell themselves about focus, transparency and
// bevel changes.
#pragma once

#include "platform/gui/Messages.h"

namespace kit {

inline constexpr unsigned CM_KITTRANSPARENTCHANGED = 45261;  // $B0CD
inline constexpr unsigned CM_KITPARENTBACKCHANGED = 45262;   // $B0CE
inline constexpr unsigned CM_KITGOTFOCUS = 45263;            // $B0CF
inline constexpr unsigned CM_KITLOSTFOCUS = 45264;           // $B0D0
inline constexpr unsigned CM_KITBEVELCHANGED = 45265;        // $B0D1
inline constexpr unsigned CM_KITCHILDBACKCHANGED = 45268;    // $B0D4
inline constexpr unsigned CM_KITBACKGROUNDCHANGED = 45270;   // $B0D6

static_assert(CM_KITTRANSPARENTCHANGED == gui::CM_KIT_RANGE_FIRST &&
              CM_KITBACKGROUNDCHANGED == gui::CM_KIT_RANGE_LAST);

}  // namespace kit
