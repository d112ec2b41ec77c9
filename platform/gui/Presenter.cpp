// The Qt presenter (message boxes, file dialogs, modal forms) and the scripted test presenter.
#include "platform/gui/Presenter.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QStringList>

#include <utility>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtSupport.h"

namespace gui {

namespace detail {

namespace {

struct ButtonSpec {
    TMsgDlgBtn button;
    int result;
    const char* text;
    QMessageBox::ButtonRole role;
};
// In the order of the button set; texts as the platform shows them.
constexpr ButtonSpec kButtons[] = {
    {mbYes, mrYes, "&Ja", QMessageBox::YesRole},
    {mbNo, mrNo, "&Nein", QMessageBox::NoRole},
    {mbOK, mrOk, "OK", QMessageBox::AcceptRole},
    {mbCancel, mrCancel, "Abbrechen", QMessageBox::RejectRole},
    {mbAbort, mrAbort, "&Abbrechen", QMessageBox::RejectRole},
    {mbRetry, mrRetry, "&Wiederholen", QMessageBox::AcceptRole},
    {mbIgnore, mrIgnore, "&Ignorieren", QMessageBox::AcceptRole},
    {mbAll, mrAll, "&Alle", QMessageBox::YesRole},
    {mbNoToAll, mrNoToAll, "A&lle Nein", QMessageBox::NoRole},
    {mbYesToAll, mrYesToAll, "Alle &Ja", QMessageBox::YesRole},
    {mbHelp, mrNone, "&Hilfe", QMessageBox::HelpRole},
};

int FirstButtonResult(TMsgDlgButtons buttons) {
    for (const ButtonSpec& b : kButtons)
        if ((buttons & b.button) && b.result != mrNone) return b.result;
    return mrOk;
}

// "Text (*.txt)|*.txt|Alle (*.*)|*.*" -> Qt name filters. "*.*" means every file.
QStringList NameFilters(const std::string& filter) {
    QStringList parts = QS(filter).split(QChar('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList masks = parts[i + 1].split(QChar(';'), Qt::SkipEmptyParts);
        for (QString& m : masks) {
            m = m.trimmed();
            if (m == QStringLiteral("*.*")) m = QStringLiteral("*");
        }
        out << parts[i] + QStringLiteral(" (") + masks.join(QChar(' ')) + QChar(')');
    }
    return out;
}

}  // namespace

class QtPresenter : public Presenter {
public:
    int ShowMessageBox(const MessageBoxRequest& request) override {
        EnsureQtApplication();
        QMessageBox box;
        box.setWindowTitle(QS(request.caption));
        box.setText(DisplayText(request.text));
        box.setTextFormat(Qt::PlainText);
        switch (request.type) {
        case TMsgDlgType::mtWarning: box.setIcon(QMessageBox::Warning); break;
        case TMsgDlgType::mtError: box.setIcon(QMessageBox::Critical); break;
        case TMsgDlgType::mtInformation: box.setIcon(QMessageBox::Information); break;
        case TMsgDlgType::mtConfirmation: box.setIcon(QMessageBox::Question); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }
        const TMsgDlgButtons buttons = request.buttons ? request.buttons : mbOK;
        std::vector<std::pair<QAbstractButton*, int>> map;
        QAbstractButton* first = nullptr;
        QAbstractButton* escape = nullptr;
        for (const ButtonSpec& b : kButtons) {
            if (!(buttons & b.button)) continue;
            QPushButton* pb = box.addButton(QString::fromUtf8(b.text), b.role);
            map.emplace_back(pb, b.result);
            if (!first) first = pb;
            if (b.button == mbCancel || (b.button == mbNo && !(buttons & mbCancel))) escape = pb;
        }
        if (!escape && map.size() == 1) escape = first;
        if (auto* pb = qobject_cast<QPushButton*>(first)) box.setDefaultButton(pb);
        if (escape) box.setEscapeButton(escape);
        // A short text would leave the box too narrow for its caption, which the window manager
        // then shortens: a row as wide as the caption needs keeps it whole.
        if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
            const QMargins m = grid->contentsMargins();
            const int width = CaptionClientWidth(request.caption) - m.left() - m.right();
            grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed), grid->rowCount(),
                          0, 1, grid->columnCount());
        }
        ActivationReturn activation;
        ModalWindowGuard guard(&box);
        box.exec();
        QAbstractButton* clicked = box.clickedButton();
        for (const auto& [button, result] : map)
            if (button == clicked) return result;
        return escape ? mrCancel : FirstButtonResult(buttons);
    }

    FileDialogResult ShowFileDialog(const FileDialogRequest& request) override {
        EnsureQtApplication();
        FileDialogResult result;
        QFileDialog dlg;
        dlg.setOption(QFileDialog::DontUseNativeDialog, true);
        dlg.setOption(QFileDialog::HideNameFilterDetails, true);
        dlg.setWindowTitle(QS(request.title));
        const bool save = request.kind == FileDialogRequest::Kind::Save;
        dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(save ? QFileDialog::AnyFile
                        : request.multiSelect ? QFileDialog::ExistingFiles
                                              : QFileDialog::ExistingFile);
        if (save && !request.overwritePrompt) dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
        const QStringList filters = NameFilters(request.filter);
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            const int index = request.filterIndex >= 1 && request.filterIndex <= filters.size()
                                  ? request.filterIndex - 1
                                  : 0;
            dlg.selectNameFilter(filters[index]);
        }
        QString ext = QS(request.defaultExt);
        while (ext.startsWith(QChar('*')) || ext.startsWith(QChar('.'))) ext.remove(0, 1);
        if (!ext.isEmpty() && !ext.contains(QChar('*'))) dlg.setDefaultSuffix(ext);
        if (!request.initialDir.empty()) dlg.setDirectory(QS(request.initialDir));
        if (!request.fileName.empty()) dlg.selectFile(QS(request.fileName));
        ActivationReturn activation;
        ModalWindowGuard guard(&dlg);
        if (dlg.exec() != QDialog::Accepted) return result;
        result.accepted = true;
        for (const QString& f : dlg.selectedFiles()) result.files.push_back(SS(f));
        const qsizetype chosen = filters.indexOf(dlg.selectedNameFilter());
        result.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : request.filterIndex;
        return result;
    }

    ColorDialogResult ShowColorDialog(const ColorDialogRequest& request) override {
        EnsureQtApplication();
        auto toQ = [](std::uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); };
        auto fromQ = [](const QColor& q) {
            return static_cast<std::uint32_t>(q.red() | (q.green() << 8) | (q.blue() << 16));
        };
        const int slotCount = QColorDialog::customCount();
        for (int i = 0; i < slotCount && i < static_cast<int>(request.customColors.size()); ++i)
            QColorDialog::setCustomColor(i, request.customColors[i] == 0xFFFFFFFFu ? QColor(Qt::white)
                                                                                  : toQ(request.customColors[i]));
        QColorDialog dlg;
        dlg.setOption(QColorDialog::DontUseNativeDialog, true);
        dlg.setCurrentColor(toQ(request.color));
        ActivationReturn activation;
        ModalWindowGuard guard(&dlg);
        ColorDialogResult result;
        if (dlg.exec() != QDialog::Accepted) return result;
        result.accepted = true;
        result.color = fromQ(dlg.selectedColor());
        for (int i = 0; i < slotCount && i < 16; ++i) result.customColors.push_back(fromQ(QColorDialog::customColor(i)));
        return result;
    }

    int ShowModalForm(TCustomForm& form) override {
        form.BeginModalShow();
        ModalWindowGuard guard(form.Widget());
        for (;;) {
            if (form.modalResult_ == mrNone && form.Visible() && !(Application && Application->Terminated())) {
                QEventLoop loop;
                form.modalLoop_ = &loop;
                RegisterLoop(&loop);
                loop.exec();
                UnregisterLoop(&loop);
                form.modalLoop_ = nullptr;
            }
            if ((Application && Application->Terminated()) || !form.Visible()) {
                if (form.modalResult_ == mrNone) form.modalResult_ = mrCancel;
                break;
            }
            if (form.modalResult_ != mrNone && form.CloseModal()) break;
        }
        return form.modalResult_;
    }
};

namespace {
Presenter*& Installed() {
    static Presenter* p = nullptr;
    return p;
}
}  // namespace

}  // namespace detail

Presenter& CurrentPresenter() {
    if (Presenter* p = detail::Installed()) return *p;
    static detail::QtPresenter qt;
    return qt;
}

void SetPresenter(Presenter* p) { detail::Installed() = p; }

ColorDialogResult Presenter::ShowColorDialog(const ColorDialogRequest&) { return {}; }

// ---- ScriptedPresenter --------------------------------------------------------------------------

ScriptedPresenter::ScriptedPresenter() : previous_(detail::Installed()) { SetPresenter(this); }

ScriptedPresenter::~ScriptedPresenter() { SetPresenter(previous_); }

int ScriptedPresenter::ShowMessageBox(const MessageBoxRequest& request) {
    boxes.push_back(request);
    if (!boxAnswers.empty()) {
        const int r = boxAnswers.front();
        boxAnswers.pop_front();
        return r;
    }
    return detail::FirstButtonResult(request.buttons);
}

FileDialogResult ScriptedPresenter::ShowFileDialog(const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    if (!fileAnswers.empty()) {
        FileDialogResult r = fileAnswers.front();
        fileAnswers.pop_front();
        return r;
    }
    return {};
}

// The form is shown as a modal window would be (OnShow runs), the handler plays the user, and the
// close handlers run as after a real modal loop; a refusal leaves ModalResult mrNone.
int ScriptedPresenter::ShowModalForm(TCustomForm& form) {
    modalForms.push_back(form.Caption());
    form.BeginModalShow();
    int r = mrCancel;
    try {
        r = formHandler ? formHandler(form) : mrCancel;
    } catch (...) {
        form.EndModalShow();
        throw;
    }
    if (r != mrNone) form.SetModalResult(r);
    else if (form.ModalResult() == mrNone) form.SetModalResult(mrCancel);
    form.CloseModal();
    form.EndModalShow();
    return form.ModalResult();
}

ColorDialogResult ScriptedPresenter::ShowColorDialog(const ColorDialogRequest& request) {
    colorDialogs.push_back(request);
    if (!colorAnswers.empty()) {
        ColorDialogResult r = colorAnswers.front();
        colorAnswers.pop_front();
        return r;
    }
    return {};
}

}  // namespace gui
