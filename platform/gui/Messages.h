// Window messages: the record every control's window procedure receives, typed views of it, and
// the message numbers (the window system's WM_*, the class library's CM_* notifications).
#pragma once

#include <cstdint>

namespace gdi {
class TCanvas;
}

namespace gui {

class TControl;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct TMessage {
    unsigned Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Coordinates and sizes travel as two signed 16-bit halves of LParam (low: x or width).
inline LPARAM MakeLParam(int lo, int hi) {
    return static_cast<LPARAM>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(lo)) |
                               (static_cast<std::uint32_t>(static_cast<std::uint16_t>(hi)) << 16));
}
inline int LoWordSigned(LPARAM v) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xFFFF)); }
inline int HiWordSigned(LPARAM v) { return static_cast<std::int16_t>(static_cast<std::uint16_t>((v >> 16) & 0xFFFF)); }
inline unsigned LoWord(LPARAM v) { return static_cast<unsigned>(v & 0xFFFF); }
inline unsigned HiWord(LPARAM v) { return static_cast<unsigned>((v >> 16) & 0xFFFF); }

// ---- Window system messages ------------------------------------------------------------------
inline constexpr unsigned WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003, WM_SIZE = 0x0005, WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A, WM_SETREDRAW = 0x000B, WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D, WM_GETTEXTLENGTH = 0x000E, WM_PAINT = 0x000F, WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012, WM_ERASEBKGND = 0x0014, WM_SYSCOLORCHANGE = 0x0015,
    WM_SHOWWINDOW = 0x0018, WM_SETTINGCHANGE = 0x001A, WM_ACTIVATEAPP = 0x001C,
    WM_CANCELMODE = 0x001F, WM_SETCURSOR = 0x0020, WM_MOUSEACTIVATE = 0x0021,
    WM_GETMINMAXINFO = 0x0024, WM_NEXTDLGCTL = 0x0028, WM_DRAWITEM = 0x002B,
    WM_MEASUREITEM = 0x002C, WM_SETFONT = 0x0030, WM_GETFONT = 0x0031,
    WM_WINDOWPOSCHANGING = 0x0046, WM_WINDOWPOSCHANGED = 0x0047, WM_NOTIFY = 0x004E,
    WM_CONTEXTMENU = 0x007B, WM_STYLECHANGING = 0x007C, WM_STYLECHANGED = 0x007D,
    WM_NCCREATE = 0x0081, WM_NCDESTROY = 0x0082, WM_NCCALCSIZE = 0x0083, WM_NCHITTEST = 0x0084,
    WM_NCPAINT = 0x0085, WM_NCACTIVATE = 0x0086, WM_GETDLGCODE = 0x0087,
    WM_NCMOUSEMOVE = 0x00A0, WM_NCLBUTTONDOWN = 0x00A1, WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102, WM_DEADCHAR = 0x0103, WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106, WM_COMMAND = 0x0111, WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115, WM_INITMENU = 0x0116, WM_INITMENUPOPUP = 0x0117,
    WM_MENUSELECT = 0x011F, WM_CTLCOLOREDIT = 0x0133, WM_CTLCOLORLISTBOX = 0x0134,
    WM_CTLCOLORBTN = 0x0135, WM_CTLCOLORSTATIC = 0x0138, WM_MOUSEFIRST = 0x0200,
    WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209, WM_MOUSEWHEEL = 0x020A, WM_MOUSELAST = 0x020A,
    WM_PARENTNOTIFY = 0x0210, WM_ENTERMENULOOP = 0x0211, WM_EXITMENULOOP = 0x0212,
    WM_SIZING = 0x0214, WM_CAPTURECHANGED = 0x0215, WM_MOVING = 0x0216,
    WM_MOUSEHOVER = 0x02A1, WM_MOUSELEAVE = 0x02A3, WM_CUT = 0x0300, WM_COPY = 0x0301,
    WM_PASTE = 0x0302, WM_CLEAR = 0x0303, WM_UNDO = 0x0304, WM_PRINT = 0x0317,
    WM_PRINTCLIENT = 0x0318, WM_USER = 0x0400, WM_APP = 0x8000;

inline constexpr unsigned WM_NCRBUTTONDOWN = 0x00A4, WM_NCRBUTTONUP = 0x00A5,
    WM_THEMECHANGED = 0x031A;

// Edit control messages.
inline constexpr unsigned EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_GETRECT = 0x00B2,
    EM_SETRECT = 0x00B3, EM_SETRECTNP = 0x00B4, EM_SCROLL = 0x00B5, EM_LINESCROLL = 0x00B6,
    EM_SCROLLCARET = 0x00B7, EM_GETMODIFY = 0x00B8, EM_SETMODIFY = 0x00B9,
    EM_GETLINECOUNT = 0x00BA, EM_LINEINDEX = 0x00BB, EM_SETHANDLE = 0x00BC,
    EM_GETHANDLE = 0x00BD, EM_GETTHUMB = 0x00BE, EM_LINELENGTH = 0x00C1,
    EM_REPLACESEL = 0x00C2, EM_GETLINE = 0x00C4, EM_LIMITTEXT = 0x00C5, EM_CANUNDO = 0x00C6,
    EM_UNDO = 0x00C7, EM_FMTLINES = 0x00C8, EM_LINEFROMCHAR = 0x00C9,
    EM_SETTABSTOPS = 0x00CB, EM_SETPASSWORDCHAR = 0x00CC, EM_EMPTYUNDOBUFFER = 0x00CD,
    EM_GETFIRSTVISIBLELINE = 0x00CE, EM_SETREADONLY = 0x00CF,
    EM_SETWORDBREAKPROC = 0x00D0, EM_GETWORDBREAKPROC = 0x00D1,
    EM_GETPASSWORDCHAR = 0x00D2, EM_SETMARGINS = 0x00D3, EM_GETMARGINS = 0x00D4,
    EM_GETLIMITTEXT = 0x00D5, EM_POSFROMCHAR = 0x00D6, EM_CHARFROMPOS = 0x00D7;

// List box messages.
inline constexpr unsigned LB_ADDSTRING = 0x0180, LB_INSERTSTRING = 0x0181,
    LB_DELETESTRING = 0x0182, LB_RESETCONTENT = 0x0184, LB_GETTOPINDEX = 0x018E,
    LB_SETHORIZONTALEXTENT = 0x0194, LB_SETITEMHEIGHT = 0x01A0;

// Mouse key flags (WParam of mouse messages). MK_ALT is this platform's own addition: the
// window system leaves Alt out of the flags, the class library reads it separately.
inline constexpr unsigned MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004,
                          MK_CONTROL = 0x0008, MK_MBUTTON = 0x0010, MK_ALT = 0x1000;

// Key data (LParam of key messages): bit 29 Alt as the window system sets it; bits 25 and 26
// (reserved there) carry Shift and Ctrl, bit 30 the previous key state (auto-repeat).
inline constexpr LPARAM KF_SHIFTBIT = LPARAM(1) << 25, KF_CTRLBIT = LPARAM(1) << 26,
                        KF_ALTBIT = LPARAM(1) << 29, KF_REPEATBIT = LPARAM(1) << 30;

// WM_SIZE kinds.
inline constexpr unsigned SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;

// Hit-test results (WM_NCHITTEST, CM_HITTEST, low word of WM_SETCURSOR's LParam).
inline constexpr LRESULT HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1,
                         HTCAPTION = 2, HTBORDER = 18;

// Window styles (CreateParams).
inline constexpr unsigned WS_BORDER = 0x00800000u, WS_CHILD = 0x40000000u,
                          WS_VISIBLE = 0x10000000u, WS_DISABLED = 0x08000000u,
                          WS_CLIPSIBLINGS = 0x04000000u, WS_CLIPCHILDREN = 0x02000000u,
                          WS_TABSTOP = 0x00010000u;
inline constexpr unsigned WS_EX_CLIENTEDGE = 0x00000200u, WS_EX_TRANSPARENT = 0x00000020u;
inline constexpr unsigned WS_HSCROLL = 0x00100000u, WS_VSCROLL = 0x00200000u,
    WS_EX_TOOLWINDOW = 0x00000080u;

// ---- Class library notifications -------------------------------------------------------------
inline constexpr unsigned CM_BASE = 0xB000;
inline constexpr unsigned CM_ACTIVATE = CM_BASE + 0, CM_DEACTIVATE = CM_BASE + 1,
    CM_GOTFOCUS = CM_BASE + 2, CM_LOSTFOCUS = CM_BASE + 3, CM_CANCELMODE = CM_BASE + 4,
    CM_DIALOGKEY = CM_BASE + 5, CM_DIALOGCHAR = CM_BASE + 6, CM_FOCUSCHANGED = CM_BASE + 7,
    CM_PARENTFONTCHANGED = CM_BASE + 8, CM_PARENTCOLORCHANGED = CM_BASE + 9,
    CM_HITTEST = CM_BASE + 10, CM_VISIBLECHANGED = CM_BASE + 11,
    CM_ENABLEDCHANGED = CM_BASE + 12, CM_COLORCHANGED = CM_BASE + 13,
    CM_FONTCHANGED = CM_BASE + 14, CM_CURSORCHANGED = CM_BASE + 15,
    CM_TEXTCHANGED = CM_BASE + 18, CM_MOUSEENTER = CM_BASE + 19, CM_MOUSELEAVE = CM_BASE + 20,
    CM_BUTTONPRESSED = CM_BASE + 24, CM_SHOWINGCHANGED = CM_BASE + 25, CM_ENTER = CM_BASE + 26,
    CM_EXIT = CM_BASE + 27, CM_WANTSPECIALKEY = CM_BASE + 30, CM_RELEASE = CM_BASE + 33,
    CM_SHOWHINTCHANGED = CM_BASE + 34, CM_PARENTSHOWHINTCHANGED = CM_BASE + 35,
    CM_SYSCOLORCHANGE = CM_BASE + 36, CM_TABSTOPCHANGED = CM_BASE + 40,
    CM_CONTROLLISTCHANGE = CM_BASE + 44, CM_CHILDKEY = CM_BASE + 46,
    CM_HINTSHOW = CM_BASE + 48, CM_RECREATEWND = CM_BASE + 51, CM_INVALIDATE = CM_BASE + 52,
    CM_SYSFONTCHANGED = CM_BASE + 53, CM_CONTROLCHANGE = CM_BASE + 54,
    CM_CHANGED = CM_BASE + 55, CM_BORDERCHANGED = CM_BASE + 59, CM_MOUSEWHEEL = CM_BASE + 67;
inline constexpr unsigned CM_CTL3DCHANGED = CM_BASE + 16, CM_PARENTCTL3DCHANGED = CM_BASE + 17,
    CM_BIDIMODECHANGED = CM_BASE + 60, CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
inline constexpr unsigned CM_LAST_PLATFORM = CM_MOUSEWHEEL;

// 45261 .. 45270 belong to the component library's private messages; nothing here uses them.
inline constexpr unsigned CM_KIT_RANGE_FIRST = 45261, CM_KIT_RANGE_LAST = 45270;
static_assert(CM_LAST_PLATFORM < CM_KIT_RANGE_FIRST);

// ---- Typed views ------------------------------------------------------------------------------
// Each view reads and writes the message it was made from.
struct TWMMouse {
    TMessage& M;
    unsigned Keys() const { return static_cast<unsigned>(M.WParam); }
    int XPos() const { return LoWordSigned(M.LParam); }
    int YPos() const { return HiWordSigned(M.LParam); }
};

// WM_KEYDOWN / WM_KEYUP: CharCode is the virtual key; setting it to 0 swallows the key.
struct TWMKey {
    TMessage& M;
    unsigned short CharCode() const { return static_cast<unsigned short>(M.WParam); }
    void SetCharCode(unsigned short k) { M.WParam = k; }
    LPARAM KeyData() const { return M.LParam; }
};

// WM_CHAR: CharCode is a Unicode code point; setting it to 0 swallows the character.
struct TWMChar {
    TMessage& M;
    char32_t CharCode() const { return static_cast<char32_t>(M.WParam); }
    void SetCharCode(char32_t c) { M.WParam = c; }
    LPARAM KeyData() const { return M.LParam; }
};

// WM_SIZE: the new client size.
struct TWMSize {
    TMessage& M;
    unsigned SizeType() const { return static_cast<unsigned>(M.WParam); }
    int Width() const { return LoWordSigned(M.LParam); }
    int Height() const { return HiWordSigned(M.LParam); }
};

// WM_ERASEBKGND: the canvas to erase on (the window's surface); Result non-zero = erased.
struct TWMEraseBkgnd {
    TMessage& M;
    gdi::TCanvas* Canvas() const { return reinterpret_cast<gdi::TCanvas*>(M.WParam); }
};

// WM_SETCURSOR: the window under the mouse, the hit-test code and the mouse message;
// Result non-zero = the cursor was set.
struct TWMSetCursor {
    TMessage& M;
    TControl* Control() const { return reinterpret_cast<TControl*>(M.WParam); }
    int HitTest() const { return LoWordSigned(M.LParam); }
    unsigned MouseMsg() const { return HiWord(M.LParam); }
};

// WM_NCHITTEST (screen coordinates) and CM_HITTEST (client coordinates); Result is the hit code.
struct TWMNCHitTest {
    TMessage& M;
    int XPos() const { return LoWordSigned(M.LParam); }
    int YPos() const { return HiWordSigned(M.LParam); }
};

}  // namespace gui
