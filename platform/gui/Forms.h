// Forms, the application object, the busy scope and the start-up error box.
//
// A form is a top-level window. Left, Top, Width and Height are its outer frame, title bar and
// border included, as the window manager draws them; the client area is that less the frame and
// the main menu bar. The frame's extents are measured once the window is shown and estimated
// before (from the windows shown so far, else a typical title bar); a window placed with an
// estimate that turns out wrong is moved so that its frame lies at Left/Top. A form opens wholly
// on the screens' work areas where it fits. Controls are placed in client coordinates. A form
// builds its controls in its C++ constructor; OnCreate runs after the constructor when the form
// is made with TApplication::CreateForm or gui::CreateForm (an exception in OnCreate is shown by
// the error box and creation goes on).
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/Presenter.h"

class QEventLoop;

namespace gui {

class TMainMenu;
namespace detail {
class QtPresenter;
class FormWidget;
}  // namespace detail

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;  // controls use bsNone and bsSingle

enum TBorderIconFlag : unsigned { biSystemMenu = 1u << 0, biMinimize = 1u << 1, biMaximize = 1u << 2, biHelp = 1u << 3 };
using TBorderIcons = unsigned;

enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
    poMainFormCenter, poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
// fsStayOnTop keeps the window above the other windows of the desktop.
enum TFormStyle { fsNormal, fsStayOnTop };

// The window manager's frame around a window's client area, in pixels per side.
struct TFrameExtents {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TFrameExtents&) const = default;
};

using TCloseEvent = std::function<void(rtl::TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(rtl::TObject* Sender, bool& CanClose)>;

// ---- TCustomForm ----------------------------------------------------------------------------
class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(rtl::TComponent* owner);
    ~TCustomForm() override;

    QWidget* ClientWidget() const override;
    // The client area is self-drawn: erased in Color, then Paint, then the windowless controls.
    // Canvas is the client area's canvas (the form's surface); drawing outside painting is
    // shown.
    gdi::TCanvas* Canvas() { return ClientCanvas(); }
    // Width and Height less the frame (and the menu bar for the height).
    int ClientWidth() const override;
    // A form sized by its client area keeps that area when the frame turns out other than
    // estimated (the bounds change around it); one sized by its bounds keeps the bounds.
    void SetBounds(int left, int top, int width, int height) override;
    void SetClientWidth(int w);
    void SetClientHeight(int h);
    int ClientHeight() const override;
    // Visible shows or hides the window (OnShow / OnHide run).
    void SetVisible(bool v) override;
    bool Showing() const override { return Visible(); }

    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle s);
    // A frameless form has no window-manager frame whatever its BorderStyle (frame extents 0,
    // the client area is the whole window); BorderStyle keeps its value.
    bool Frameless() const { return frameless_ || borderStyle_ == bsNone; }
    void SetFrameless(bool v);
    // Applied when the form is first shown.
    TPosition Position() const { return position_; }
    // The frame extents the bounds are taken with: measured for this window once it has been
    // shown with a frame, else the estimate for its border style.
    TFrameExtents FrameExtents() const { return extents_; }
    bool FrameExtentsMeasured() const { return extentsMeasured_; }
    // The estimate for a window of this border style not yet shown: the extents last measured
    // for that style, else those of any framed window, else a typical frame. None for bsNone.
    static TFrameExtents EstimatedFrameExtents(TFormBorderStyle style);
    // Starts the estimate anew from the given extents (forgets what was measured).
    static void ResetFrameEstimate(TFrameExtents typical);
    void SetPosition(TPosition p) { position_ = p; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState s);
    // The window this form belongs to on the screen: the form stays above it (the window
    // manager's transient-for link) and is minimised with it. nullptr: a window of its own.
    TCustomForm* PopupParent() const { return popupParent_; }
    void SetPopupParent(TCustomForm* parent);
    bool Active() const;
    // The work area of the screen holding the largest part of the form (the nearest one when
    // none holds any).
    gdi::TRect WorkArea() const;

    int ModalResult() const { return modalResult_; }
    // While the form runs modally, a value other than mrNone ends the modal loop.
    void SetModalResult(int r);
    bool Modal() const { return modal_; }

    // Secondary forms: OnCloseQuery, then OnClose with Action caHide; caHide hides, caFree
    // releases, caMinimize minimises, caNone keeps the form. The main form's close (unless
    // refused) ends the program. A modal form's Close sets ModalResult to mrCancel instead.
    // Closing the window with the window manager's button runs the same path.
    void Close();
    // Runs the form modally through the presenter; returns ModalResult. EInvalidOperation when
    // the form is already visible.
    int ShowModal();
    // Frees the form once the current event handler has returned.
    void Release();
    // Paints the shown form and its controls now: waits (at most half a second, input
    // held back) until the window system has put the window on the screen, then paints it. For
    // a window shown just before a long computation that pumps messages only now and then.
    void PaintNow();
    // OnCloseQuery; True when the form may close.
    virtual bool CloseQuery();

    // Run OnCreate / OnDestroy once each (OnDestroy also for the forms this form owns).
    void DoCreate();
    void DoDestroy();

    // For presenters: the close handlers of a modal form whose ModalResult was set. False (and
    // ModalResult mrNone) when OnCloseQuery refused or OnClose answered caNone.
    bool CloseModal();
    // For presenters: show the form as an application-modal window / hide it again.
    void BeginModalShow();
    void EndModalShow();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    // OnActivate runs when the form becomes the application's active form: another of the
    // program's forms (or none) was active before, or the application is reactivated. The return
    // from a message box or another box opened over the form is no activation; OnDeactivate
    // runs when another form or another application takes the activation from the form.
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    virtual void DoClose(TCloseAction& action);
    // Runs OnPaint.
    virtual void Paint();
    void PaintWindow() override { Paint(); }
    void ApplyBounds() override;
    void ApplyVisible() override {}
    void TextChanged() override;
    void ApplyColor() override;

private:
    friend class detail::QtPresenter;
    friend class detail::FormWidget;
    friend class TMainMenu;
    void ApplyWindowFlags();
    void ApplyPopupParent();
    void PlaceOnFirstShow();
    void KeepOnScreen();
    void LayoutFrame();
    void ApplyClientSize();
    void FrameMeasured();
    void BoundsFromWindow();
    int MenuHeight() const;
    void ActivationChanged(bool active);
    bool DialogKey(int qtKey);

    detail::FormWidget* frame_ = nullptr;
    QWidget* client_ = nullptr;
    TMainMenu* menu_ = nullptr;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TFormStyle formStyle_ = fsNormal;
    bool frameless_ = false;
    TPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    TCustomForm* popupParent_ = nullptr;
    int modalResult_ = mrNone;
    bool modal_ = false;
    TFrameExtents extents_;
    bool extentsMeasured_ = false;
    // Placed by the client area with estimated frame extents.
    bool placedByEstimate_ = false;
    bool applyingBounds_ = false;
    bool clientSized_ = false;
    // The area the form was centred on at its first show, until its frame is measured.
    std::optional<gdi::TRect> centredOn_;
    bool settingClient_ = false;
    bool placed_ = false;
    bool created_ = false;
    bool destroyed_ = false;
    bool releaseAfterModal_ = false;
    bool releasing_ = false;
    QEventLoop* modalLoop_ = nullptr;
};

class TForm : public TCustomForm {
public:
    explicit TForm(rtl::TComponent* owner) : TCustomForm(owner) {}
};

// Places the windows of one kind so that a new one never lies exactly on the one opened before:
// while the last window of the kind is shown, the next opens a title bar's height lower and
// further right (back at the work area's top left when that would push it past the work
// area's right or bottom edge); otherwise it keeps its Position.
class TFormCascade : public rtl::TComponent {
public:
    TFormCascade() : rtl::TComponent(nullptr) {}
    ~TFormCascade() override;
    // Call before the form is first shown; the form becomes the last of the kind.
    void Place(TCustomForm* form);
    TCustomForm* Last() const { return last_; }

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    TCustomForm* last_ = nullptr;
};

// ---- Screens and window places -----------------------------------------------------------------
// The work area of every screen (the screen less the desktop's panels), the primary screen's
// first; empty when there is no screen.
std::vector<gdi::TRect> WorkAreas();

// Whether the window (its frame) lies wholly on the work areas; a window across two screens that
// meet counts as well.
bool WindowOnScreen(const gdi::TRect& bounds, const std::vector<gdi::TRect>& workAreas);
// The work area holding the largest part of the window, else the nearest one (the first of
// equally good ones); an empty rectangle when there is none.
gdi::TRect WorkAreaOf(const gdi::TRect& bounds, const std::vector<gdi::TRect>& workAreas);
// Bounds on the screens (WindowOnScreen) come back as they are; others are moved by the least
// distance into WorkAreaOf(bounds). A window wider or taller than that work area goes to its left
// or top edge, so that its top left corner lies in it. The size stays.
gdi::TRect WindowOntoScreen(const gdi::TRect& bounds, const std::vector<gdi::TRect>& workAreas);

// Places windows that belong to another one (`owner`, its frame) within `work`, one after the
// other in the order of `sizes`. Of the owner they may cover only `coverable` and what lies to
// its right and below it; everything of the owner left of coverable's left edge or above its
// top edge stays free. Each window goes where it covers the least of that free part, then the
// least of the windows placed before it, then the least of the owner: beside the owner where
// the work area has room, else over the lower right of `coverable`. The places tried, kept
// inside `work` as far as the window fits: to the right of the owner, at the work area's right
// edge, at coverable's right edge, to the left of the owner, each level with the owner's top,
// right below or right above a window placed before, at coverable's bottom edge, at the work
// area's bottom or at coverable's top edge; of equally good places the first in this order.
// Windows already there (`taken`) count as windows placed before.
std::vector<gdi::TRect> PlaceBeside(const gdi::TRect& work, const gdi::TRect& owner,
                                    const gdi::TRect& coverable,
                                    const std::vector<gdi::TSize>& sizes,
                                    const std::vector<gdi::TRect>& taken = {});

// The form a control sits on (walking up the parents), or nullptr.
TCustomForm* GetParentForm(TControl* control);

// Creates a form of class T (constructor T(owner, args...)) inside a loading scope (csLoading
// on the form and what is created with it; Loaded on each, in creation order, once built) and
// then runs its OnCreate.
template <class T, class... A>
T* CreateForm(rtl::TComponent* owner, A&&... args) {
    T* form = nullptr;
    {
        rtl::TLoadingScope loading;
        form = new T(owner, std::forward<A>(args)...);
        loading.End();
    }
    form->DoCreate();
    return form;
}

// ---- Message box flags of TApplication::MessageBox --------------------------------------------
inline constexpr unsigned MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2,
                          MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5,
                          MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10,
                          MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30,
                          MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40,
                          MB_ICONINFORMATION = 0x40;
inline constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6,
                     IDNO = 7;

// ---- TApplication ---------------------------------------------------------------------------
class TApplication : public rtl::TComponent {
public:
    // Creates the Qt application when there is none yet and makes this the global Application
    // (the previous one comes back when this one is destroyed).
    TApplication();
    ~TApplication() override;

    void Initialize() {}
    // The title: caption of the error box and of ShowMessage, and of any window or dialog that
    // has no caption of its own; the executable's name by default.
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& t);

    // Creates a form owned by the application; the first form created becomes the main form.
    // `reference` is set as soon as the form exists, before its Loaded and OnCreate run. The
    // form is built inside a loading scope, as gui::CreateForm does.
    template <class T>
    T* CreateForm(T*& reference) {
        T* form = nullptr;
        {
            rtl::TLoadingScope loading;
            form = new T(this);
            reference = form;
            loading.End();
        }
        FormCreated(form);
        form->DoCreate();
        return form;
    }
    TCustomForm* MainForm() const { return mainForm_; }

    // Shows the main form and processes events until Terminate is called or the main form is
    // closed. Returns at once when Terminate was requested before.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Processes the pending events (paint, timers and, unless a busy scope is active, input).
    void ProcessMessages();
    // Full path of the executable.
    std::string ExeName() const;

    // Shows the exception being handled (call inside a catch block); EAbort is silent.
    void HandleException(rtl::TObject* Sender);
    // The error box: the message with a full stop added when it is not empty and its last
    // character sorts above '.', the title as caption, one OK button and the stop icon.
    void ShowException(const std::exception& E);
    // A message box with MB_* buttons and icon; returns the ID* of the pressed button.
    int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags = MB_OK);

private:
    void FormCreated(TCustomForm* form);
    friend class TCustomForm;
    std::string title_;
    TCustomForm* mainForm_ = nullptr;
    TApplication* previous_ = nullptr;
    bool terminated_ = false;
    QEventLoop* mainLoop_ = nullptr;
};

extern TApplication* Application;

// The box for an exception that escaped before the message loop ran: caption
// "Anwendungsfehler", text Format("Exception %s in Modul %s bei %p.\r\n%s%s\r\n", class name,
// executable file name, address, message, full stop by the error-box rule). The address is the
// address of the exception class's type information: stable for one class within a run, as the
// code address of the original cannot be had.
void ShowStartupError(const std::exception& E);

// The program's main block: sets the command line, creates the Qt application and Application,
// runs body (which creates the forms and calls Application->Run()). An exception leaving body
// is shown by ShowStartupError and gives exit code 1; otherwise 0.
int RunApplication(int argc, char** argv, const std::function<void()>& body);

// ---- Busy scope -------------------------------------------------------------------------------
// While a scope is alive, user input to the program's windows (mouse, keys, wheel, context menu,
// shortcuts) is dropped; painting and timers go on. A window's close request is remembered and
// delivered as a normal Close once the outermost scope has ended. Windows opened modally inside
// the scope (message boxes, dialogs) take input as usual. Scopes nest.
class TBusyScope {
public:
    TBusyScope();
    ~TBusyScope();
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;
    static bool Active();
};

}  // namespace gui
