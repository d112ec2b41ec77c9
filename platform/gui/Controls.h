// Controls: the visual component classes of the class library over Qt Widgets.
//
// Property style (as in platform/rtl and platform/gdi): a getter named like the property
// (Left()), a setter SetLeft(); events are public std::function fields (OnClick). Every control
// owns one Qt widget except TGraphicControl, which is windowless: its parent paints it on its own
// surface and routes its mouse input. Bounds are kept by the control and are valid without a
// parent or while hidden.
//
// Messages: every input, notification and paint step reaches a control as a TMessage through
// Perform: window hooks first (newest first), then WndProc, which a class overrides to handle a
// message and passes everything else to the inherited WndProc; TControl::WndProc calls Dispatch,
// whose built-in handlers run the virtual methods (MouseDown, KeyPress, Paint ...), and whatever
// has no handler goes to DefaultHandler.
//
// Every event handler the user interface runs (mouse, keys, focus, paint, clicks) goes through
// InvokeHandler: an exception leaving it is shown by Application->HandleException and never
// reaches Qt. Handlers run by code (Click(), setting ItemIndex or Position) run directly, so
// their exceptions reach the caller as on the original platform.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/Graphics.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

class QWidget;
class QImage;
class QPainter;

namespace gui {

class TWinControl;
class TCustomForm;

// ---- Basic types --------------------------------------------------------------------------
enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : unsigned {
    ssShift = 1u << 0, ssAlt = 1u << 1, ssCtrl = 1u << 2, ssLeft = 1u << 3,
    ssRight = 1u << 4, ssMiddle = 1u << 5, ssDouble = 1u << 6
};
using TShiftState = unsigned;  // a set of TShiftStateFlag

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// Control styles: what a control says about itself (csOpaque: it paints all of its area;
// csReplicatable ...). Stored for the classes that read them; a windowless control's parent
// paints below it whatever its style says.
enum TControlStyleFlag : std::uint8_t {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
    csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
    csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents
};
using TControlStyle = rtl::TSet<TControlStyleFlag, std::uint32_t>;

using TCursor = int;
inline constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                         crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9,
                         crUpArrow = -10, crHourGlass = -11, crNo = -18, crAppStart = -19,
                         crHandPoint = -21, crSizeAll = -22;
// The cursor while text or an object is dragged.
inline constexpr TCursor crDrag = -12;

// Virtual key codes (letters and digits are their upper-case ASCII codes).
inline constexpr unsigned short VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
                                VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13,
                                VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
                                VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
                                VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
                                VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70, VK_F2 = 0x71,
                                VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75,
                                VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79,
                                VK_F11 = 0x7A, VK_F12 = 0x7B, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91;

using TNotifyEvent = rtl::TNotifyEvent;
using TMouseEvent = std::function<void(rtl::TObject* Sender, TMouseButton Button,
                                       TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(rtl::TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(rtl::TObject* Sender, unsigned short& Key, TShiftState Shift)>;
// Key is a Unicode code point or control code (13 Enter, 27 Escape, 8 Backspace); setting it to
// 0 swallows the key.
using TKeyChar = char32_t;
using TKeyPressEvent = std::function<void(rtl::TObject* Sender, TKeyChar& Key)>;

// ---- Event handler wrapper ------------------------------------------------------------------
// Shows the exception being handled (call inside a catch block) with the application's error
// box; EAbort is silent. Never throws.
void HandleCurrentException(rtl::TObject* sender) noexcept;

// Runs one event handler; returns False when it ended with an exception (already shown).
template <class F>
bool InvokeHandler(rtl::TObject* sender, F&& body) noexcept {
    try {
        body();
        return true;
    } catch (...) {
        HandleCurrentException(sender);
        return false;
    }
}

namespace detail {
class HookBase;
class Surface;
class Overlay;
struct HookEntry;
}

// The window procedure a hook passes a message on to.
using TWndMethod = std::function<void(TMessage&)>;

// ---- TControl -----------------------------------------------------------------------------
class TControl : public rtl::TComponent {
public:
    ~TControl() override;

    // The control's Qt widget (for the platform layer itself; stays valid as long as the control);
    // nullptr for a windowless control.
    QWidget* Widget() const { return widget_; }

    // ---- Messages ----
    // Sends a message synchronously (hooks, then WndProc) and returns its Result.
    LRESULT Perform(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
    void Perform(TMessage& message);
    virtual void WndProc(TMessage& message);
    // Runs the built-in handler for message.Msg, or DefaultHandler when there is none.
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    // A token that expires when the control's destruction begins.
    std::weak_ptr<void> LifeToken() const { return life_; }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    // Negative sizes count as 0; positions and sizes are held within +-16777215 (the window
    // system's limit).
    virtual void SetBounds(int left, int top, int width, int height);
    gdi::TRect BoundsRect() const { return gdi::Bounds(left_, top_, width_, height_); }
    // The client area: the whole control unless a subclass has a border or a menu.
    virtual int ClientWidth() const { return width_; }
    virtual int ClientHeight() const { return height_; }
    void SetClientWidth(int w);
    void SetClientHeight(int h);
    gdi::TRect ClientRect() const { return gdi::Rect(0, 0, ClientWidth(), ClientHeight()); }
    gdi::TPoint ClientToScreen(gdi::TPoint p) const;
    gdi::TPoint ScreenToClient(gdi::TPoint p) const;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent visible (for a form: its window is shown).
    virtual bool Showing() const;

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);

    // Caption and Text are the same window text, as on the original platform.
    std::string Caption() const { return GetTextValue(); }
    void SetCaption(const std::string& s) { SetTextValue(s); }
    std::string Text() const { return GetTextValue(); }
    void SetText(const std::string& s) { SetTextValue(s); }

    gdi::TColor Color() const { return color_; }
    // Setting Color stops following the parent's colour.
    void SetColor(gdi::TColor c);
    // The control takes its parent's Color and follows its changes.
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    // Changes apply at once; a changed font stops following the parent's font.
    gdi::TFont* Font() { return &font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& s);
    bool ShowHint = true;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);

    // Runs OnClick (code path: exceptions reach the caller).
    virtual void Click();
    virtual void DblClick();

    virtual void Invalidate();   // repaint later
    void Update();               // paint pending areas now
    virtual void Repaint();      // paint now
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    bool Destroying() const { return destroying_; }
    // Whether the mouse is over the control (between CM_MOUSEENTER and CM_MOUSELEAVE).
    bool MouseInControl() const { return mouseInControl_; }

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle v) { controlStyle_ = v; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    // `widget` becomes the control's widget (owned; created by the concrete class); nullptr for
    // a windowless control.
    TControl(rtl::TComponent* owner, QWidget* widget);
    // Left-button press and release inside run Click (ControlStyle csClickEvents).
    void SetClickEvents(bool v) { clickEvents_ = v; }

    virtual std::string GetTextValue() const { return caption_; }
    virtual void SetTextValue(const std::string& s);
    // Pushes caption_ into the widget.
    virtual void TextChanged() {}
    // Pushes Color and Font into the widget.
    virtual void ApplyColor();
    virtual void ApplyFont();
    // After the bounds changed.
    virtual void BoundsChanged() {}
    // Geometry of the widget inside its parent's client widget.
    virtual void ApplyBounds();
    // Whether the widget may be shown now (visible and parented).
    virtual void ApplyVisible();

    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

    // Hooks `w` so that its input reaches this control.
    void HookWidget(QWidget* w, bool clickOnRelease);
    void ParentFontChanged(const gdi::TFont& f);

    std::string caption_;
    gdi::TColor color_ = gdi::clBtnFace;
    // The palette role Color sets (a QPalette::ColorRole): the background of containers and
    // labels; edits, lists and grids use the text-field role, buttons the button role.
    int colorRole_ = 0;
    gdi::TFont font_;
    bool parentColor_ = false;
    bool destroying_ = false;

private:
    friend class TWinControl;
    friend class TGraphicControl;
    friend class TCustomForm;
    friend class TWindowHook;
    friend struct ControlAccess;
    friend class detail::Surface;
    void MouseMessage(TMessage& m);
    void InvalidateInParent();
    void ApplyParentColor();

    QWidget* widget_ = nullptr;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
    std::vector<std::shared_ptr<detail::HookEntry>> hooks_;
    bool clickEvents_ = false;
    bool clicked_ = false;
    bool mouseInControl_ = false;
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool parentFont_ = true;
    bool applyingParentFont_ = false;
    std::string hint_;
    TAlign align_ = alNone;
    TCursor cursor_ = crDefault;
    TControlStyle controlStyle_;
};

// ---- TWinControl --------------------------------------------------------------------------
// A parent frees its child controls when it is freed.
class TWinControl : public TControl {
public:
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;  // EListError outside 0..ControlCount-1
    // The widget that holds the children's widgets.
    virtual QWidget* ClientWidget() const;

    void SetFocus();
    bool Focused() const;
    bool CanFocus() const;
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v);
    // Moves the focus to the next (or previous) control in tab order, as a Tab key would; the
    // move is queued, so it happens after the current handler returns.
    void SelectNext(bool forward = true);
    // Lays the aligned children out again.
    void Realign();

    // Sends msg (WParam and LParam 0) to every child control, windowed or not.
    void NotifyControls(unsigned msg);
    // Sends the message to every child until one sets a non-zero Result.
    void Broadcast(TMessage& message);
    // The topmost visible child without a window at client point p (enabled ones only unless
    // allowDisabled), or nullptr.
    TControl* ControlAtPos(gdi::TPoint p, bool allowDisabled = false) const;
    // The windowless child that holds the mouse capture, or nullptr.
    TControl* CaptureControl() const { return capture_; }

    // The border the window's style gives (CreateParams): 2 for WS_EX_CLIENTEDGE, 1 for
    // WS_BORDER, 0 otherwise. The client area sits inside it.
    int BorderExtent() const;
    int ClientWidth() const override;
    int ClientHeight() const override;
    // Re-reads CreateParams and applies the style; children, text and state are kept.
    void RecreateWnd();
    // Repaints the client rectangle r (client coordinates) later.
    void InvalidateRect(const gdi::TRect& r);
    void Invalidate() override;
    void Repaint() override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    TWinControl(rtl::TComponent* owner, QWidget* widget);

    struct TCreateParams {
        unsigned Style = WS_CHILD | WS_CLIPSIBLINGS;
        unsigned ExStyle = 0;
    };
    // The window's style; read when the window is first painted or measured and by RecreateWnd.
    virtual void CreateParams(TCreateParams& params);
    // A self-drawn window: its surface shows its non-client border, erase step, Paint and caret
    // (TCustomControl). Otherwise the Qt widget draws its own look into the surface.
    void SetSelfDrawn(bool v) { selfDrawn_ = v; }
    bool SelfDrawn() const { return selfDrawn_; }
    // Canvases of the window's surface: the whole window rectangle, and the client area
    // (origin at the client's top-left, clipped to it). Drawing outside painting is shown.
    // On a standard control that draws its own look (no surface), they draw on an overlay
    // above the Qt widget, cleared when the control is invalidated, repainted or resized.
    gdi::TCanvas* WindowCanvas();
    gdi::TCanvas* ClientCanvas();
    // A standard control that paints over its own look in WM_PAINT: its look is drawn into a
    // retained surface, then WM_PAINT, and its canvases draw on that surface (no overlay).
    void KeepSurface();

    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void WndProc(TMessage& message) override;

    // Places the aligned children inside rect (the client rectangle, then AdjustClientRect):
    // top, bottom, left, right, then client.
    virtual void AlignControls(TControl* control, gdi::TRect& rect);
    // Shrinks the rectangle aligned children may take (default: the whole client area).
    virtual void AdjustClientRect(gdi::TRect&) {}

    // Virtual key hooks: the defaults run the events. Setting Key to 0 swallows the key.
    virtual void KeyDown(unsigned short& key, TShiftState shift);
    virtual void KeyUp(unsigned short& key, TShiftState shift);
    virtual void KeyPress(TKeyChar& key);
    virtual void DoEnter();
    virtual void DoExit();
    // WM_PAINT of a self-drawn window: draw the client area (TCustomControl runs Paint).
    virtual void PaintWindow() {}
    // WM_NCPAINT: draws the border of the style.
    virtual void PaintBorder(gdi::TCanvas& windowCanvas);
    void BoundsChanged() override;

private:
    friend class TControl;
    friend class TGraphicControl;
    friend struct ControlAccess;
    friend class detail::Surface;
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    bool UsesSurface() const { return selfDrawn_ || graphicChildren_ > 0 || surface_ != nullptr; }
    detail::Surface& SurfaceOf();
    void ClearOverlay();
    bool ControlMouseMessage(TMessage& m);
    void SetHover(TControl* c);
    void ApplyChildBounds();
    std::vector<TControl*> controls_;
    std::unique_ptr<detail::Surface> surface_;
    std::unique_ptr<detail::Overlay> overlay_;
    TControl* capture_ = nullptr;
    TControl* hover_ = nullptr;
    int graphicChildren_ = 0;
    mutable int border_ = -1;   // -1: CreateParams not read yet
    bool selfDrawn_ = false;
    bool tabStop_ = true;
    bool aligning_ = false;
};

// ---- Window hooks -------------------------------------------------------------------------
// Sees every message Perform sends to `control` before the control does; `proc` passes it on
// by calling `next` (or keeps it). Hooks form a chain, the newest first; destroying a hook
// takes it out of the chain. Either side may be destroyed first.
class TWindowHook {
public:
    using Proc = std::function<void(TMessage& message, const TWndMethod& next)>;
    TWindowHook(TControl* control, Proc proc);
    ~TWindowHook();
    TWindowHook(const TWindowHook&) = delete;
    TWindowHook& operator=(const TWindowHook&) = delete;
    // Whether the control still lives.
    bool Attached() const { return !token_.expired(); }

private:
    TControl* control_;
    std::weak_ptr<void> token_;
    std::shared_ptr<detail::HookEntry> entry_;
};

// Delivers the message later through the event loop; never to a control whose destruction has
// begun by then.
void PostMessage(TControl* control, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Synchronous: the same as control->Perform.
LRESULT SendMessage(TControl* control, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);

// ---- Caret --------------------------------------------------------------------------------
// One caret for the process, owned by one self-drawn window: created hidden, shown when
// ShowCaret has been called as often as HideCaret plus once; drawn inverted over the window's
// surface at its client position, blinking at the blink time (the desktop's cursor flash time
// unless set).
bool CreateCaret(TWinControl* owner, int width, int height);
bool DestroyCaret();
bool ShowCaret(TWinControl* owner);
bool HideCaret(TWinControl* owner);
bool SetCaretPos(int x, int y);
gdi::TPoint GetCaretPos();
unsigned GetCaretBlinkTime();
void SetCaretBlinkTime(unsigned ms);
// Whether the caret is shown now (created, visible by its count, in the "on" blink phase).
bool CaretVisible();
// A caret of the bitmap's shape and size: its white pixels invert the window, its black ones
// leave it as it is. Without a bitmap (or an empty one), a solid caret of width x height.
bool CreateCaret(TWinControl* owner, const gdi::TBitmap* bitmap, int width, int height);
// The caret's size; (0, 0) when there is none.
gdi::TSize GetCaretSize();
// The window that has the caret; nullptr when there is none.
TWinControl* GetCaretOwner();

// ---- Painted controls ---------------------------------------------------------------------
// A windowless control: its Canvas is the parent's surface with the origin at the control and
// clipped to it, so that its painting sees and combines with the pixels below. The parent
// paints it (after its own content, below its windowed children, in z-order) and routes its
// mouse input, capture, enter/leave, cursor and hint. Invalidate and Repaint go through the
// parent.
class TGraphicControl : public TControl {
public:
    ~TGraphicControl() override;
    gdi::TCanvas* Canvas();
    void Invalidate() override;
    void Repaint() override;
    TNotifyEvent OnPaint;

protected:
    explicit TGraphicControl(rtl::TComponent* owner);
    // Default: runs OnPaint.
    virtual void Paint();
    void Dispatch(TMessage& message) override;
    // Runs f with a painter on the parent's surface, translated to the control and clipped to
    // it (nothing when there is no parent).
    void DrawOnSurface(const std::function<void(QPainter&)>& f);

private:
    friend class detail::Surface;
    std::unique_ptr<gdi::TCanvas> canvas_;
};

// A self-drawn windowed control: its surface shows the border of its style, the erase step,
// Paint (through Canvas, the client area) and the caret.
class TCustomControl : public TWinControl {
public:
    ~TCustomControl() override;
    gdi::TCanvas* Canvas() { return ClientCanvas(); }
    TNotifyEvent OnPaint;

protected:
    explicit TCustomControl(rtl::TComponent* owner);
    // `widget` becomes the window (a plain Qt widget unless given).
    TCustomControl(rtl::TComponent* owner, QWidget* widget);
    virtual void Paint();
    void PaintWindow() override { Paint(); }
};

// ---- Screen -------------------------------------------------------------------------------
// The screen cursor (shown over all of the program's windows while it is not crDefault), the
// screen size and the work area (the screen less the desktop's panels, where windows are placed).
class TScreen {
public:
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    int Width() const;
    int Height() const;
    gdi::TRect WorkAreaRect() const;
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }

private:
    TCursor cursor_ = crDefault;
};
TScreen* Screen();

// While one lives, the program's windows show a wait cursor: crHourGlass for work that holds
// the program up, crAppStart for work that goes on while the program answers (the hourglass
// wins while both kinds live). They may end in any order; a cursor set through Screen() goes
// before them.
class TWaitCursor {
public:
    explicit TWaitCursor(TCursor Kind = crHourGlass);
    ~TWaitCursor();
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    bool hourGlass_;
};

// Controls are drawn in the 3-D (new) style.
inline constexpr bool NewStyleControls = true;

}  // namespace gui
