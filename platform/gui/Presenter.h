// Every modal box and dialog goes through one presenter. The application installs the Qt
// presenter; tests install a ScriptedPresenter that answers without a person.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace gui {

class TCustomForm;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message box, as a bit set.
enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0, mbNo = 1u << 1, mbOK = 1u << 2, mbCancel = 1u << 3, mbAbort = 1u << 4,
    mbRetry = 1u << 5, mbIgnore = 1u << 6, mbAll = 1u << 7, mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9, mbHelp = 1u << 10
};
using TMsgDlgButtons = unsigned;

// Modal results.
inline constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                     mrIgnore = 5, mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9,
                     mrYesToAll = 10;

struct MessageBoxRequest {
    std::string caption;
    std::string text;
    TMsgDlgType type = TMsgDlgType::mtInformation;
    TMsgDlgButtons buttons = mbOK;
};

struct FileDialogRequest {
    enum class Kind { Open, Save } kind = Kind::Open;
    std::string title;
    std::string filter;        // "Text (*.txt)|*.txt|Alle (*.*)|*.*"
    int filterIndex = 1;       // 1-based, as on the original platform
    std::string defaultExt;    // without dot
    std::string initialDir;
    std::string fileName;
    bool multiSelect = false;
    bool overwritePrompt = false;
};

struct FileDialogResult {
    bool accepted = false;
    std::vector<std::string> files;  // full paths
    int filterIndex = 1;
};

// The colour dialog: the colour at the start and the 16 custom colour slots ($00BBGGRR;
// $FFFFFFFF marks an empty slot).
struct ColorDialogRequest {
    std::uint32_t color = 0;
    std::vector<std::uint32_t> customColors;
    bool fullOpen = false;
};

struct ColorDialogResult {
    bool accepted = false;
    std::uint32_t color = 0;
    std::vector<std::uint32_t> customColors;
};

class Presenter {
public:
    virtual ~Presenter() = default;
    // Shows a modal message box; returns the modal result of the pressed button.
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    virtual FileDialogResult ShowFileDialog(const FileDialogRequest& request) = 0;
    // Runs a form modally; returns its ModalResult.
    virtual int ShowModalForm(TCustomForm& form) = 0;
    // Shows the colour dialog; a presenter without one answers "cancelled".
    virtual ColorDialogResult ShowColorDialog(const ColorDialogRequest& request);
};

// The presenter in force (the Qt one unless a test installed another).
Presenter& CurrentPresenter();
// Installs p (not owned); nullptr restores the default Qt presenter.
void SetPresenter(Presenter* p);

// A presenter for tests: records every request and answers from queues. An empty queue answers
// a message box with its first button's result (mrOk for an OK box), a file dialog with
// "cancelled", and a modal form by calling the form handler (or mrCancel without one).
class ScriptedPresenter : public Presenter {
public:
    ScriptedPresenter();            // installs itself
    ~ScriptedPresenter() override;  // restores the previous presenter

    int ShowMessageBox(const MessageBoxRequest& request) override;
    FileDialogResult ShowFileDialog(const FileDialogRequest& request) override;
    int ShowModalForm(TCustomForm& form) override;
    // Records the request; answers from colorAnswers, else "cancelled".
    ColorDialogResult ShowColorDialog(const ColorDialogRequest& request) override;
    std::deque<ColorDialogResult> colorAnswers;
    std::vector<ColorDialogRequest> colorDialogs;

    std::deque<int> boxAnswers;
    std::deque<FileDialogResult> fileAnswers;
    std::function<int(TCustomForm&)> formHandler;

    std::vector<MessageBoxRequest> boxes;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<std::string> modalForms;  // captions of forms shown modally

private:
    Presenter* previous_ = nullptr;
};

}  // namespace gui
