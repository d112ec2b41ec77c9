// Forms, the application object, the error boxes, the busy scope and the modal bookkeeping.
#include "platform/gui/Forms.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QMoveEvent>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyleFactory>
#include <QThread>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

#include <cxxabi.h>

#include <algorithm>
#include <compare>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <typeinfo>

#include "platform/gui/Menus.h"
#include "platform/gui/QtSupport.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/WindowShapes.h"

namespace gui {

TApplication* Application = nullptr;

using namespace detail;

// ---- Modal windows, loops, busy state ---------------------------------------------------------
namespace detail {

std::vector<QPointer<QWidget>>& ModalWindows() {
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

ModalWindowGuard::ModalWindowGuard(QWidget* w) { ModalWindows().emplace_back(w); }

ModalWindowGuard::~ModalWindowGuard() {
    auto& v = ModalWindows();
    if (!v.empty()) v.pop_back();
}

namespace {
std::vector<QEventLoop*>& Loops() {
    static std::vector<QEventLoop*> loops;
    return loops;
}
}  // namespace

void RegisterLoop(QEventLoop* loop) { Loops().push_back(loop); }

void UnregisterLoop(QEventLoop* loop) {
    auto& v = Loops();
    v.erase(std::remove(v.begin(), v.end(), loop), v.end());
}

void ExitAllLoops() {
    for (QEventLoop* l : Loops()) l->exit(0);
}

namespace {

// Depth of the modal-window stack when each live busy scope began, innermost last.
std::vector<std::size_t>& BusyDepths() {
    static std::vector<std::size_t> depths;
    return depths;
}

std::vector<QPointer<QWidget>>& DeferredCloses() {
    static std::vector<QPointer<QWidget>> v;
    return v;
}

bool IsUserInput(QEvent::Type t) {
    switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::NativeGesture:
        return true;
    default:
        return false;
    }
}

class BusyFilter : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (!IsUserInput(e->type()) || BusyDepths().empty()) return false;
        // A window's input is passed on to its widgets, where it is judged.
        if (qobject_cast<QWindow*>(o)) return false;
        if (auto* w = qobject_cast<QWidget*>(o)) {
            // A popup (a combo box's list) belongs to the window that opened it.
            const auto& modal = ModalWindows();
            for (const QWidget* win = w->window(); win;
                 win = win->parentWidget() ? win->parentWidget()->window() : nullptr) {
                for (std::size_t i = BusyDepths().back(); i < modal.size(); ++i)
                    if (modal[i] == win) return false;
            }
        }
        return true;
    }
};

BusyFilter* TheBusyFilter() {
    static BusyFilter* f = new BusyFilter;
    return f;
}

}  // namespace

bool BusyActive() { return !BusyDepths().empty(); }

void DeferClose(TCustomForm* form) {
    auto& v = DeferredCloses();
    for (const auto& p : v)
        if (p == form->Widget()) return;
    v.emplace_back(form->Widget());
}

// The window of a form: menu bar and client area are laid out by the form; close requests
// from the window manager run the form's Close.
class FormWidget : public QWidget {
public:
    TCustomForm* form = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        TCustomForm* f = form;
        if (!f || f->Destroying()) return;
        if (BusyActive()) {
            DeferClose(f);
            return;
        }
        InvokeHandler(f, [f] { f->Close(); });
    }
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        if (!form || form->Destroying()) return;
        form->FrameMeasured();
        form->BoundsFromWindow();
        form->LayoutFrame();
    }
    void moveEvent(QMoveEvent* e) override {
        QWidget::moveEvent(e);
        if (!form || form->Destroying() || !isVisible()) return;
        form->FrameMeasured();
        form->BoundsFromWindow();
    }
    // The window of a form placed with estimated frame extents is watched until it is on the
    // screen: the window manager has framed it then.
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Expose && o == windowHandle() && form && form->placedByEstimate_) {
            QTimer::singleShot(0, this, [this] {
                if (form && !form->Destroying()) form->FrameMeasured();
            });
        }
        return QWidget::eventFilter(o, e);
    }
    void showEvent(QShowEvent* e) override {
        QWidget::showEvent(e);
        if (!form || form->Destroying()) return;
        form->FrameMeasured();
    }
    void changeEvent(QEvent* e) override {
        QWidget::changeEvent(e);
        if (!form || form->Destroying()) return;
        if (e->type() == QEvent::ActivationChange) form->ActivationChanged(isActiveWindow());
        if (e->type() == QEvent::WindowStateChange) {
            const Qt::WindowStates s = windowState();
            form->windowState_ = (s & Qt::WindowMinimized) ? wsMinimized
                                 : (s & Qt::WindowMaximized) ? wsMaximized
                                                             : wsNormal;
        }
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (form && !form->Destroying() && form->DialogKey(e->key())) {
            e->accept();
            return;
        }
        QWidget::keyPressEvent(e);
    }
};

}  // namespace detail

// ---- TBusyScope ---------------------------------------------------------------------------------

TBusyScope::TBusyScope() {
    EnsureQtApplication();
    if (BusyDepths().empty()) QCoreApplication::instance()->installEventFilter(TheBusyFilter());
    BusyDepths().push_back(ModalWindows().size());
}

TBusyScope::~TBusyScope() {
    BusyDepths().pop_back();
    if (!BusyDepths().empty()) return;
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(TheBusyFilter());
    std::vector<QPointer<QWidget>> pending;
    pending.swap(DeferredCloses());
    if (pending.empty()) return;
    // Delivered from the event loop, after the work that held the scope has returned.
    QTimer::singleShot(0, QCoreApplication::instance(), [pending] {
        for (const auto& p : pending) {
            auto* fw = dynamic_cast<FormWidget*>(p.data());
            if (!fw || !fw->form || fw->form->Destroying()) continue;
            TCustomForm* f = fw->form;
            InvokeHandler(f, [f] { f->Close(); });
        }
    });
}

bool TBusyScope::Active() { return BusyActive(); }

// ---- Error boxes --------------------------------------------------------------------------------
namespace {

std::string MessageOf(const std::exception& e) {
    if (auto* x = dynamic_cast<const rtl::Exception*>(&e)) return x->Message;
    return e.what();
}

// The full-stop rule of the error box.
std::string FullStop(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return ".";
    return {};
}

std::string ClassNameOf(const std::exception& e) {
    if (auto* x = dynamic_cast<const rtl::Exception*>(&e)) return x->ClassName();
    int status = 0;
    char* d = abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status);
    std::string r = (status == 0 && d) ? d : typeid(e).name();
    std::free(d);
    return r;
}

}  // namespace

void HandleCurrentException(rtl::TObject* sender) noexcept {
    try {
        if (Application) {
            Application->HandleException(sender);
            return;
        }
        try {
            throw;
        } catch (const rtl::EAbort&) {
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s%s\n", MessageOf(e).c_str(), FullStop(MessageOf(e)).c_str());
        }
    } catch (...) {
        std::fprintf(stderr, "error while showing an exception\n");
    }
}

void ShowStartupError(const std::exception& E) {
    std::string module = rtl::ParamStr(0);
    if (module.empty()) {
        EnsureQtApplication();
        module = SS(QCoreApplication::applicationFilePath());
    }
    const std::string message = MessageOf(E);
    const void* address = &typeid(E);
    MessageBoxRequest r;
    r.caption = "Anwendungsfehler";
    r.text = rtl::Format("Exception %s in Modul %s bei %p.\r\n%s%s\r\n", ClassNameOf(E),
                         rtl::ExtractFileName(module), address, message, FullStop(message));
    r.type = TMsgDlgType::mtError;
    r.buttons = mbOK;
    CurrentPresenter().ShowMessageBox(r);
}

int RunApplication(int argc, char** argv, const std::function<void()>& body) {
    rtl::SetCommandLine(argc, argv);
    static int qtArgc = 0;
    qtArgc = argc;
    std::unique_ptr<QApplication> qtApp;
    if (!QCoreApplication::instance()) qtApp = std::make_unique<QApplication>(qtArgc, argv);
    int code = 0;
    {
        TApplication app;
        try {
            body();
        } catch (const std::exception& e) {
            ShowStartupError(e);
            code = 1;
        } catch (...) {
            ShowStartupError(rtl::Exception("Unbekannte Ausnahme"));
            code = 1;
        }
    }
    return code;
}

// ---- TApplication -------------------------------------------------------------------------------
namespace {

void SetupQtOnce() {
    static bool done = false;
    if (done) return;
    done = true;
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) return;
    QApplication::setQuitOnLastWindowClosed(false);
    if (QStyle* s = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(s);
    // The classic system colours and the default font, as the drawing layer knows them.
    QPalette pal = QApplication::palette();
    auto set = [&](QPalette::ColorRole role, gdi::TColor c) {
        pal.setColor(QPalette::All, role, gdi::ColorToQColor(c));
    };
    set(QPalette::Window, gdi::clBtnFace);
    set(QPalette::WindowText, gdi::clWindowText);
    set(QPalette::Base, gdi::clWindow);
    set(QPalette::Text, gdi::clWindowText);
    set(QPalette::Button, gdi::clBtnFace);
    set(QPalette::ButtonText, gdi::clBtnText);
    set(QPalette::Highlight, gdi::clHighlight);
    set(QPalette::HighlightedText, gdi::clHighlightText);
    set(QPalette::ToolTipBase, gdi::clInfoBk);
    set(QPalette::ToolTipText, gdi::clInfoText);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, gdi::ColorToQColor(gdi::clGrayText));
    pal.setColor(QPalette::Disabled, QPalette::Text, gdi::ColorToQColor(gdi::clGrayText));
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, gdi::ColorToQColor(gdi::clGrayText));
    QApplication::setPalette(pal);
    QApplication::setFont(gdi::FontToQFont(gdi::TFont()));
    // Qt's own dialog texts in German.
    auto* tr = new QTranslator(app);
    if (tr->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(tr);
    else
        delete tr;
}

}  // namespace

TApplication::TApplication() : rtl::TComponent(nullptr) {
    EnsureQtApplication();
    SetupQtOnce();
    previous_ = Application;
    Application = this;
    title_ = rtl::ExtractFileName(ExeName());
    const std::string ext = rtl::ExtractFileExt(title_);
    if (!ext.empty()) title_.resize(title_.size() - ext.size());
}

TApplication::~TApplication() {
    for (int i = ComponentCount(); i-- > 0;)
        if (auto* f = dynamic_cast<TCustomForm*>(Components(i))) f->DoDestroy();
    DestroyComponents();
    if (Application == this) Application = previous_;
}

void TApplication::FormCreated(TCustomForm* form) {
    if (!mainForm_) mainForm_ = form;
}

void TApplication::Run() {
    if (terminated_) return;
    if (mainForm_) mainForm_->SetVisible(true);
    if (terminated_) return;
    QEventLoop loop;
    mainLoop_ = &loop;
    RegisterLoop(&loop);
    loop.exec();
    UnregisterLoop(&loop);
    mainLoop_ = nullptr;
}

void TApplication::Terminate() {
    terminated_ = true;
    ExitAllLoops();
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TApplication::SetTitle(const std::string& t) {
    title_ = t;
    // The window system captions an untitled window with the application's name.
    QCoreApplication::setApplicationName(QS(t));
}

std::string TApplication::ExeName() const { return SS(QCoreApplication::applicationFilePath()); }

void TApplication::HandleException(rtl::TObject*) {
    std::exception_ptr p = std::current_exception();
    if (!p) return;
    try {
        std::rethrow_exception(p);
    } catch (const rtl::EAbort&) {
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(rtl::Exception("Unbekannte Ausnahme"));
    }
}

void TApplication::ShowException(const std::exception& E) {
    const std::string message = MessageOf(E);
    MessageBoxRequest r;
    r.caption = title_;
    r.text = message + FullStop(message);
    r.type = TMsgDlgType::mtError;
    r.buttons = mbOK;
    CurrentPresenter().ShowMessageBox(r);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
    MessageBoxRequest r;
    r.caption = Caption;
    r.text = Text;
    switch (Flags & 0xF) {
    case MB_OKCANCEL: r.buttons = mbOK | mbCancel; break;
    case MB_ABORTRETRYIGNORE: r.buttons = mbAbort | mbRetry | mbIgnore; break;
    case MB_YESNOCANCEL: r.buttons = mbYes | mbNo | mbCancel; break;
    case MB_YESNO: r.buttons = mbYes | mbNo; break;
    case MB_RETRYCANCEL: r.buttons = mbRetry | mbCancel; break;
    default: r.buttons = mbOK; break;
    }
    switch (Flags & 0xF0) {
    case MB_ICONERROR: r.type = TMsgDlgType::mtError; break;
    case MB_ICONQUESTION: r.type = TMsgDlgType::mtConfirmation; break;
    case MB_ICONWARNING: r.type = TMsgDlgType::mtWarning; break;
    case MB_ICONINFORMATION: r.type = TMsgDlgType::mtInformation; break;
    default: r.type = TMsgDlgType::mtCustom; break;
    }
    return CurrentPresenter().ShowMessageBox(r);
}

// ---- TCustomForm --------------------------------------------------------------------------------

TCustomForm::TCustomForm(rtl::TComponent* owner) : TWinControl(owner, new FormWidget) {
    frame_ = static_cast<FormWidget*>(Widget());
    frame_->form = this;
    frame_->setFocusPolicy(Qt::NoFocus);
    frame_->setAttribute(Qt::WA_QuitOnClose, false);
    auto* client = new Hooked<QWidget>;
    client->setParent(frame_);
    client_ = client;
    HookWidget(client_, true);
    client_->show();
    SetSelfDrawn(true);
    visible_ = false;
    extents_ = EstimatedFrameExtents(borderStyle_);
    ApplyWindowFlags();
    SetBounds(0, 0, 320, 240);
    LayoutFrame();
    InstallClientAreaDrag(this);
}

TCustomForm::~TCustomForm() {
    destroying_ = true;
    if (Application && Application->mainForm_ == this) Application->mainForm_ = nullptr;
    if (modalLoop_) modalLoop_->exit(0);
    if (menu_) {
        menu_->form_ = nullptr;
        if (menu_->bar_) {
            menu_->bar_->hide();
            menu_->bar_->setParent(nullptr);
        }
        menu_ = nullptr;
    }
    frame_->form = nullptr;
}

QWidget* TCustomForm::ClientWidget() const { return client_; }

int TCustomForm::ClientWidth() const {
    return std::max(0, Width() - extents_.Left - extents_.Right);
}

int TCustomForm::ClientHeight() const {
    return std::max(0, Height() - extents_.Top - extents_.Bottom - MenuHeight());
}

int TCustomForm::MenuHeight() const {
    if (!menu_ || !menu_->bar_) return 0;
    return menu_->bar_->sizeHint().height();
}

void TCustomForm::LayoutFrame() {
    const int mh = MenuHeight();
    if (menu_ && menu_->bar_) {
        menu_->bar_->setGeometry(0, 0, ClientWidth(), mh);
        menu_->bar_->show();
    }
    client_->setGeometry(0, mh, ClientWidth(), ClientHeight());
    Realign();
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    if (menu_) {
        menu_->form_ = nullptr;
        if (menu_->bar_) {
            menu_->bar_->hide();
            menu_->bar_->setParent(nullptr);
        }
    }
    menu_ = menu;
    if (menu_) {
        if (menu_->form_ && menu_->form_ != this) menu_->form_->SetMenu(nullptr);
        menu_->form_ = this;
        menu_->MenuBar()->setParent(frame_);
    }
    LayoutFrame();
}

// ---- Frame geometry ------------------------------------------------------------------------------
namespace {

struct MeasuredFrames {
    std::optional<TFrameExtents> byStyle[bsSizeToolWin + 1];
    std::optional<TFrameExtents> any;
    // A title bar and a thin border, for windows shown before any frame has been measured.
    TFrameExtents typical{1, 24, 1, 1};
};

MeasuredFrames& Measured() {
    static MeasuredFrames m;
    return m;
}

}  // namespace

TFrameExtents TCustomForm::EstimatedFrameExtents(TFormBorderStyle style) {
    if (style == bsNone) return {};
    const MeasuredFrames& m = Measured();
    if (m.byStyle[style]) return *m.byStyle[style];
    if (m.any) return *m.any;
    return m.typical;
}

void TCustomForm::ResetFrameEstimate(TFrameExtents typical) { Measured() = {{}, {}, typical}; }

// The client window gets the bounds less the frame; a top-level widget's position is that of
// its frame, so the window manager puts the frame's top-left corner at Left/Top whatever the
// frame turns out to be.
void TCustomForm::ApplyBounds() {
    // The window's own move and resize events must not feed the half-applied geometry back.
    const bool outer = !applyingBounds_;
    applyingBounds_ = true;
    ApplyClientSize();
    if (frame_->testAttribute(Qt::WA_WState_Created)) {
        // A native window is placed by its client area, which the window manager frames where
        // it stands: the client goes inside the frame the form knows of (measured, or estimated
        // until the window has been framed; FrameMeasured mends an estimate that was wrong).
        placedByEstimate_ = !extentsMeasured_ && !Frameless();
        if (placedByEstimate_)
            if (QWindow* w = frame_->windowHandle()) w->installEventFilter(frame_);
        frame_->setGeometry(Left() + extents_.Left, Top() + extents_.Top, frame_->width(),
                            frame_->height());
    } else {
        frame_->move(Left(), Top());
    }
    if (outer) applyingBounds_ = false;
    LayoutFrame();
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
    if (!settingClient_ && (width != Width() || height != Height())) clientSized_ = false;
    TWinControl::SetBounds(left, top, width, height);
}

void TCustomForm::SetClientWidth(int w) {
    settingClient_ = true;
    clientSized_ = true;
    TControl::SetClientWidth(w);
    settingClient_ = false;
}

void TCustomForm::SetClientHeight(int h) {
    settingClient_ = true;
    clientSized_ = true;
    TControl::SetClientHeight(h);
    settingClient_ = false;
}

void TCustomForm::ApplyClientSize() {
    const int w = ClientWidth();
    const int h = std::max(0, Height() - extents_.Top - extents_.Bottom);
    const bool fixed = borderStyle_ != bsSizeable && borderStyle_ != bsSizeToolWin;
    if (fixed) {
        frame_->setFixedSize(w, h);
    } else {
        frame_->setMinimumSize(0, 0);
        frame_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        frame_->resize(w, h);
    }
}

// Once the window manager has framed the shown window, its extents replace the estimate: the
// bounds stay and the client area takes what the frame leaves of them, or, for a form sized by
// its client area, that area stays and the bounds follow the frame.
void TCustomForm::FrameMeasured() {
    if (Frameless() || !frame_->isVisible()) return;
    QWindow* window = frame_->windowHandle();
    if (!window) return;
    const QMargins m = window->frameMargins();
    if (m.isNull()) return;  // not framed yet
    const TFrameExtents e{m.left(), m.top(), m.right(), m.bottom()};
    Measured().byStyle[borderStyle_] = e;
    Measured().any = e;
    extentsMeasured_ = true;
    const std::optional<gdi::TRect> area = centredOn_;
    centredOn_.reset();
    const bool replace = placedByEstimate_;
    placedByEstimate_ = false;
    if (e == extents_) return;
    const int clientWidth = ClientWidth();
    const int clientHeight = std::max(0, Height() - extents_.Top - extents_.Bottom);
    extents_ = e;
    if (clientSized_) {
        const int w = clientWidth + e.Left + e.Right, h = clientHeight + e.Top + e.Bottom;
        if (area) {
            // Centred again with the frame it really has.
            SetBounds(area->Left + (area->Width() - w) / 2, area->Top + (area->Height() - h) / 2, w, h);
            clientSized_ = true;
            KeepOnScreen();
            if (replace) ApplyBounds();
            return;
        }
        ControlAccess::SetBoundsFromWidget(this, Left(), Top(), w, h);
    }
    if (replace) {
        ApplyBounds();  // the frame to Left/Top
        return;
    }
    if (!clientSized_) ApplyClientSize();
    LayoutFrame();
}

// The bounds as the window system has the window now: the frame's position, the client size
// plus the frame.
void TCustomForm::BoundsFromWindow() {
    // A window placed by an estimate stays where it was put until its frame is known.
    if (applyingBounds_ || placedByEstimate_) return;
    const QPoint p = frame_->pos();
    const QSize c = frame_->size();
    ControlAccess::SetBoundsFromWidget(this, p.x(), p.y(),
                                       c.width() + extents_.Left + extents_.Right,
                                       c.height() + extents_.Top + extents_.Bottom);
}

void TCustomForm::ApplyWindowFlags() {
    Qt::WindowFlags f = Qt::Window;
    switch (borderStyle_) {
    case bsNone: f = Qt::Window | Qt::FramelessWindowHint; break;
    case bsDialog: f = Qt::Dialog; break;
    case bsToolWindow:
    case bsSizeToolWin: f = Qt::Tool; break;
    default: break;
    }
    // The window system links only dialog-like windows to the window they belong to.
    if (popupParent_ && f == Qt::Window) f = Qt::Dialog;
    if (frameless_) f |= Qt::FramelessWindowHint;
    if (formStyle_ == fsStayOnTop) f |= Qt::WindowStaysOnTopHint;
    if (!Frameless()) {
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (borderIcons_ & biSystemMenu) {
            f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            if (borderStyle_ == bsSingle || borderStyle_ == bsSizeable) {
                if (borderIcons_ & biMinimize) f |= Qt::WindowMinimizeButtonHint;
                if (borderIcons_ & biMaximize) f |= Qt::WindowMaximizeButtonHint;
            }
        }
    }
    const bool wasVisible = frame_->isVisible();
    frame_->setWindowFlags(f);
    ApplyPopupParent();  // new flags may give the widget a new native window
    if (wasVisible) frame_->show();
}

void TCustomForm::SetPopupParent(TCustomForm* parent) {
    if (parent == this) parent = nullptr;
    if (parent == popupParent_) return;
    if (popupParent_) popupParent_->RemoveFreeNotification(this);
    popupParent_ = parent;
    if (popupParent_) popupParent_->FreeNotification(this);
    ApplyWindowFlags();
}

void TCustomForm::ApplyPopupParent() {
    if (!popupParent_ && !frame_->windowHandle()) return;
    frame_->winId();  // the native window that carries the link
    QWindow* parent = nullptr;
    if (popupParent_) {
        popupParent_->frame_->winId();
        parent = popupParent_->frame_->windowHandle();
    }
    if (QWindow* w = frame_->windowHandle()) w->setTransientParent(parent);
}

void TCustomForm::Notification(rtl::TComponent* component, rtl::TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == popupParent_) {
        popupParent_ = nullptr;
        if (!destroying_) ApplyPopupParent();  // the window keeps its kind until shown anew
    }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    extents_ = Frameless() ? TFrameExtents{} : EstimatedFrameExtents(s);
    extentsMeasured_ = false;
    ApplyWindowFlags();
    ApplyBounds();
}

void TCustomForm::SetFrameless(bool v) {
    if (v == frameless_) return;
    frameless_ = v;
    extents_ = Frameless() ? TFrameExtents{} : EstimatedFrameExtents(borderStyle_);
    extentsMeasured_ = false;
    ApplyWindowFlags();
    ApplyBounds();
}

void TCustomForm::SetFormStyle(TFormStyle s) {
    if (s == formStyle_) return;
    formStyle_ = s;
    ApplyWindowFlags();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (icons == borderIcons_) return;
    borderIcons_ = icons;
    ApplyWindowFlags();
}

void TCustomForm::SetWindowState(TWindowState s) {
    windowState_ = s;
    if (!Visible()) return;
    switch (s) {
    case wsMinimized: frame_->showMinimized(); break;
    case wsMaximized: frame_->showMaximized(); break;
    default: frame_->showNormal(); break;
    }
}

bool TCustomForm::Active() const { return frame_->isActiveWindow(); }

void TCustomForm::TextChanged() { frame_->setWindowTitle(QS(caption_)); }

void TCustomForm::ApplyColor() {
    QPalette pal = frame_->palette();
    pal.setColor(QPalette::Window, gdi::ColorToQColor(color_));
    frame_->setPalette(pal);
    frame_->setAutoFillBackground(true);
}

void TCustomForm::PlaceOnFirstShow() {
    if (placed_) return;
    placed_ = true;
    // A form sized by its client area takes the frame estimated now (windows framed since it
    // was made may have taught a better one), so that it is placed with the size it will get.
    if (clientSized_ && !extentsMeasured_ && !Frameless()) {
        const TFrameExtents e = EstimatedFrameExtents(borderStyle_);
        if (e != extents_) {
            const int clientWidth = ClientWidth();
            const int clientHeight = std::max(0, Height() - extents_.Top - extents_.Bottom);
            extents_ = e;
            ControlAccess::SetBoundsFromWidget(this, Left(), Top(), clientWidth + e.Left + e.Right,
                                               clientHeight + e.Top + e.Bottom);
            ApplyBounds();
        }
    }
    auto centreOn = [this](int l, int t, int w, int h) {
        centredOn_ = gdi::Bounds(l, t, w, h);
        SetBounds(l + (w - Width()) / 2, t + (h - Height()) / 2, Width(), Height());
    };
    auto centreOnScreen = [&] {
        const QScreen* s = QGuiApplication::primaryScreen();
        if (!s) return;
        const QRect g = s->availableGeometry();
        centreOn(g.x(), g.y(), g.width(), g.height());
    };
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter: centreOnScreen(); break;
    case poMainFormCenter: {
        TCustomForm* m = Application ? Application->MainForm() : nullptr;
        if (m && m != this && m->Visible()) centreOn(m->Left(), m->Top(), m->Width(), m->Height());
        else centreOnScreen();
        break;
    }
    case poOwnerFormCenter: {
        auto* o = dynamic_cast<TCustomForm*>(Owner());
        if (o && o->Visible()) centreOn(o->Left(), o->Top(), o->Width(), o->Height());
        else centreOnScreen();
        break;
    }
    default: break;
    }
    KeepOnScreen();
}

// A window given a place partly or wholly off the screens (from another screen's layout, say)
// is moved onto one.
void TCustomForm::KeepOnScreen() {
    if (windowState_ != wsNormal) return;
    const gdi::TRect b = gdi::Bounds(Left(), Top(), Width(), Height());
    const gdi::TRect moved = WindowOntoScreen(b, WorkAreas());
    if (moved != b) SetBounds(moved.Left, moved.Top, Width(), Height());
}

gdi::TRect TCustomForm::WorkArea() const {
    return WorkAreaOf(gdi::Bounds(Left(), Top(), Width(), Height()), WorkAreas());
}

void TCustomForm::SetVisible(bool v) {
    if (v == Visible()) {
        if (v) {
            frame_->raise();
            frame_->activateWindow();
        }
        return;
    }
    if (v) {
        visible_ = true;
        InvokeHandler(this, [this] {
            if (OnShow) OnShow(this);
        });
        if (!Visible() || destroying_) return;
        PlaceOnFirstShow();
        switch (windowState_) {
        case wsMinimized: frame_->showMinimized(); break;
        case wsMaximized: frame_->showMaximized(); break;
        default: frame_->show(); break;
        }
        frame_->raise();
        frame_->activateWindow();
    } else {
        visible_ = false;
        InvokeHandler(this, [this] {
            if (OnHide) OnHide(this);
        });
        frame_->hide();
        if (modal_ && modalLoop_) {
            if (modalResult_ == mrNone) modalResult_ = mrCancel;
            modalLoop_->exit(0);
        }
    }
}

namespace {

// The application's active form: the last of the program's forms that was the active window,
// whether its OnDeactivate has run, and whether the application has lost the activation since.
// A window that is not a form (a message box, a file or colour dialog) changes none of them.
struct ActiveFormState {
    QPointer<QWidget> form;
    bool deactivated = false;
    bool applicationLeft = false;
};

ActiveFormState& ActiveForm() {
    static ActiveFormState state;
    return state;
}

// The application can be left while a box is up; the form under it then counts as activated
// again when the box has closed.
void WatchApplicationState() {
    static QPointer<QGuiApplication> watched;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || watched == app) return;
    watched = app;
    QObject::connect(app, &QGuiApplication::applicationStateChanged, app, [](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive) ActiveForm().applicationLeft = true;
    });
}

}  // namespace

// The window system may report the new form's activation before the old one's loss, so the
// old form's OnDeactivate runs when the new one becomes active; on its own loss only when no
// window of the program is active any more.
void TCustomForm::ActivationChanged(bool active) {
    ActiveFormState& state = ActiveForm();
    WatchApplicationState();
    auto deactivate = [&state](TCustomForm* f) {
        state.deactivated = true;
        InvokeHandler(f, [f] {
            if (f->OnDeactivate) f->OnDeactivate(f);
        });
    };
    if (active) {
        if (state.form == frame_ && !state.applicationLeft) return;  // back from a box over it
        if (state.form && state.form != frame_ && !state.deactivated)
            if (TCustomForm* previous = static_cast<FormWidget*>(state.form.data())->form)
                if (!previous->Destroying()) deactivate(previous);
        state.form = frame_;
        state.deactivated = false;
        state.applicationLeft = false;
        InvokeHandler(this, [this] {
            if (OnActivate) OnActivate(this);
        });
        return;
    }
    if (state.form != frame_ || state.deactivated || QApplication::activeWindow()) return;
    state.applicationLeft = true;
    deactivate(this);
}

namespace {
// Depth-first search for a button among the children of a control.
TButton* FindButton(TWinControl* parent, bool wantDefault) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible() || !c->Enabled()) continue;
        if (auto* b = dynamic_cast<TButton*>(c))
            if (wantDefault ? b->Default() : b->Cancel()) return b;
        if (auto* w = dynamic_cast<TWinControl*>(c))
            if (TButton* b = FindButton(w, wantDefault)) return b;
    }
    return nullptr;
}
}  // namespace

bool TCustomForm::DialogKey(int qtKey) {
    TButton* target = nullptr;
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) {
        if (auto* hb = HookOf(QApplication::focusWidget()))
            if (auto* b = dynamic_cast<TButton*>(hb->control)) target = b;
        if (!target) target = FindButton(this, true);
    } else if (qtKey == Qt::Key_Escape) {
        target = FindButton(this, false);
    }
    if (!target) return false;
    InvokeHandler(target, [target] { target->Click(); });
    return true;
}

void TCustomForm::SetModalResult(int r) {
    modalResult_ = r;
    if (r != mrNone && modalLoop_) modalLoop_->exit(0);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Paint() {
    if (OnPaint) OnPaint(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
    if (modal_) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

bool TCustomForm::CloseModal() {
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            DoClose(action);
        }
        if (action == caNone) {
            modalResult_ = mrNone;
            return false;
        }
        if (action == caFree) releaseAfterModal_ = true;
        return true;
    } catch (...) {
        modalResult_ = mrNone;
        HandleCurrentException(this);
        return false;
    }
}

void TCustomForm::BeginModalShow() {
    frame_->setWindowModality(Qt::ApplicationModal);
    SetVisible(true);
}

void TCustomForm::EndModalShow() {
    if (Visible()) SetVisible(false);
    frame_->setWindowModality(Qt::NonModal);
}

int TCustomForm::ShowModal() {
    if (Visible() || modal_)
        throw rtl::EInvalidOperation("Aus einem sichtbaren Fenster kann kein modales gemacht werden");
    modal_ = true;
    modalResult_ = mrNone;
    releaseAfterModal_ = false;
    int result = mrNone;
    {
        const ActivationReturn activation;
        try {
            result = CurrentPresenter().ShowModalForm(*this);
        } catch (...) {
            modal_ = false;
            EndModalShow();
            throw;
        }
        modal_ = false;
        EndModalShow();
    }
    if (releaseAfterModal_) Release();
    return result;
}

void TCustomForm::Release() {
    if (releasing_) return;
    releasing_ = true;
    visible_ = false;
    frame_->hide();
    QPointer<QWidget> guard(frame_);
    QTimer::singleShot(0, QCoreApplication::instance(), [guard, this] {
        if (!guard) return;
        DoDestroy();
        delete this;
    });
}

void TCustomForm::PaintNow() {
    if (!Visible() || !frame_->isVisible()) return;
    QElapsedTimer waited;
    waited.start();
    const QWindow* window = frame_->windowHandle();
    while (window && !window->isExposed() && waited.elapsed() < 500) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(2);
    }
    frame_->repaint();
}

void TCustomForm::DoCreate() {
    if (created_) return;
    created_ = true;
    InvokeHandler(this, [this] {
        if (OnCreate) OnCreate(this);
    });
}

void TCustomForm::DoDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    InvokeHandler(this, [this] {
        if (OnDestroy) OnDestroy(this);
    });
    for (int i = ComponentCount(); i-- > 0;)
        if (auto* f = dynamic_cast<TCustomForm*>(Components(i))) f->DoDestroy();
}

TFormCascade::~TFormCascade() {
    if (last_) last_->RemoveFreeNotification(this);
}

void TFormCascade::Place(TCustomForm* form) {
    if (!form || form == last_) return;
    if (last_ && last_->Visible()) {
        const int step = std::max(last_->FrameExtents().Top, 20);
        int left = last_->Left() + step;
        int top = last_->Top() + step;
        const gdi::TRect work = Screen()->WorkAreaRect();
        // Back to the top left once the cascade would push a window that fits past the edge.
        const int w = form->Width(), h = form->Height();
        const bool pastRight = left > work.Left && w <= work.Width() && left + w > work.Right;
        const bool pastBottom = top > work.Top && h <= work.Height() && top + h > work.Bottom;
        if (!work.IsEmpty() && (pastRight || pastBottom)) {
            left = work.Left;
            top = work.Top;
        }
        form->SetPosition(poDesigned);
        form->SetBounds(left, top, form->Width(), form->Height());
    }
    if (last_) last_->RemoveFreeNotification(this);
    last_ = form;
    last_->FreeNotification(this);
}

void TFormCascade::Notification(rtl::TComponent* component, rtl::TOperation operation) {
    rtl::TComponent::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == last_) last_ = nullptr;
}

// ---- Screens and window places -------------------------------------------------------------

std::vector<gdi::TRect> WorkAreas() {
    EnsureQtApplication();
    std::vector<gdi::TRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    auto add = [&areas](const QScreen* s) {
        const QRect g = s->availableGeometry();
        areas.push_back(gdi::Bounds(g.x(), g.y(), g.width(), g.height()));
    };
    if (primary) add(primary);
    for (const QScreen* s : QGuiApplication::screens())
        if (s != primary) add(s);
    return areas;
}

namespace {

// The square of the distance between two rectangles (0 when they meet).
long long DistanceSquared(const gdi::TRect& a, const gdi::TRect& b) {
    const long long dx = std::max({0LL, static_cast<long long>(b.Left) - a.Right,
                                   static_cast<long long>(a.Left) - b.Right});
    const long long dy = std::max({0LL, static_cast<long long>(b.Top) - a.Bottom,
                                   static_cast<long long>(a.Top) - b.Bottom});
    return dx * dx + dy * dy;
}

long long OverlapArea(const gdi::TRect& a, const gdi::TRect& b) {
    const long long w = std::min<long long>(a.Right, b.Right) - std::max<long long>(a.Left, b.Left);
    const long long h = std::min<long long>(a.Bottom, b.Bottom) - std::max<long long>(a.Top, b.Top);
    return w > 0 && h > 0 ? w * h : 0;
}

// A window of the given size at (left, top), moved into `area` as far as it fits there, the
// top left first.
gdi::TRect KeptInside(int left, int top, int width, int height, const gdi::TRect& area) {
    left = width >= area.Width() ? area.Left : std::clamp(left, area.Left, area.Right - width);
    top = height >= area.Height() ? area.Top : std::clamp(top, area.Top, area.Bottom - height);
    return gdi::Bounds(left, top, width, height);
}

}  // namespace

bool WindowOnScreen(const gdi::TRect& bounds, const std::vector<gdi::TRect>& workAreas) {
    if (bounds.Width() <= 0 || bounds.Height() <= 0) {
        return std::any_of(workAreas.begin(), workAreas.end(), [&bounds](const gdi::TRect& a) {
            return bounds.Left >= a.Left && bounds.Left < a.Right && bounds.Top >= a.Top &&
                   bounds.Top < a.Bottom;
        });
    }
    // The window cut along every work area's edges: each cell lies wholly inside or outside
    // each work area, so its top left corner tells.
    std::vector<int> xs = {bounds.Left, bounds.Right}, ys = {bounds.Top, bounds.Bottom};
    for (const gdi::TRect& a : workAreas) {
        for (const int x : {a.Left, a.Right})
            if (x > bounds.Left && x < bounds.Right) xs.push_back(x);
        for (const int y : {a.Top, a.Bottom})
            if (y > bounds.Top && y < bounds.Bottom) ys.push_back(y);
    }
    std::sort(xs.begin(), xs.end());
    std::sort(ys.begin(), ys.end());
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        if (xs[i] == xs[i + 1]) continue;
        for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
            if (ys[j] == ys[j + 1]) continue;
            const int x = xs[i], y = ys[j];
            const bool covered =
                std::any_of(workAreas.begin(), workAreas.end(), [x, y](const gdi::TRect& a) {
                    return x >= a.Left && x < a.Right && y >= a.Top && y < a.Bottom;
                });
            if (!covered) return false;
        }
    }
    return true;
}

gdi::TRect WorkAreaOf(const gdi::TRect& bounds, const std::vector<gdi::TRect>& workAreas) {
    const gdi::TRect* best = nullptr;
    long long largest = 0;
    for (const gdi::TRect& a : workAreas) {
        const long long common = OverlapArea(bounds, a);
        if (common > largest) {
            best = &a;
            largest = common;
        }
    }
    if (best) return *best;
    long long nearest = 0;
    for (const gdi::TRect& a : workAreas) {
        const long long d = DistanceSquared(bounds, a);
        if (!best || d < nearest) {
            best = &a;
            nearest = d;
        }
    }
    return best ? *best : gdi::TRect{};
}

gdi::TRect WindowOntoScreen(const gdi::TRect& bounds, const std::vector<gdi::TRect>& workAreas) {
    if (workAreas.empty() || WindowOnScreen(bounds, workAreas)) return bounds;
    const gdi::TRect area = WorkAreaOf(bounds, workAreas);
    return KeptInside(bounds.Left, bounds.Top, bounds.Width(), bounds.Height(), area);
}

std::vector<gdi::TRect> PlaceBeside(const gdi::TRect& work, const gdi::TRect& owner,
                                    const gdi::TRect& coverable,
                                    const std::vector<gdi::TSize>& sizes,
                                    const std::vector<gdi::TRect>& taken) {
    // The part of the owner a window may lie on: from coverable's top left to the owner's
    // bottom right.
    const gdi::TRect open = gdi::Rect(std::max(coverable.Left, owner.Left),
                                      std::max(coverable.Top, owner.Top), owner.Right,
                                      owner.Bottom);
    struct Cost {
        long long free, others, owner;
        auto operator<=>(const Cost&) const = default;
    };
    std::vector<gdi::TRect> placed = taken;
    placed.reserve(taken.size() + sizes.size());
    for (const gdi::TSize& size : sizes) {
        const int w = size.cx, h = size.cy;
        const int xs[] = {owner.Right, work.Right - w, coverable.Right - w, owner.Left - w};
        std::vector<int> ys = {owner.Top};
        for (const gdi::TRect& p : placed) ys.push_back(p.Bottom);
        for (const gdi::TRect& p : placed) ys.push_back(p.Top - h);
        ys.insert(ys.end(), {coverable.Bottom - h, work.Bottom - h, coverable.Top});
        std::optional<gdi::TRect> best;
        Cost bestCost{};
        for (const int x : xs) {
            for (const int y : ys) {
                const gdi::TRect r = KeptInside(x, y, w, h, work);
                Cost c{OverlapArea(r, owner) - OverlapArea(r, open), 0, OverlapArea(r, owner)};
                for (const gdi::TRect& p : placed) c.others += OverlapArea(r, p);
                if (!best || c < bestCost) {
                    best = r;
                    bestCost = c;
                }
            }
        }
        placed.push_back(*best);
    }
    placed.erase(placed.begin(), placed.begin() + static_cast<std::ptrdiff_t>(taken.size()));
    return placed;
}

TCustomForm* GetParentForm(TControl* control) {
    TControl* c = control;
    while (c && !dynamic_cast<TCustomForm*>(c)) c = c->Parent();
    return dynamic_cast<TCustomForm*>(c);
}

}  // namespace gui
