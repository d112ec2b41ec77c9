// Standard controls over Qt widgets.
#include "platform/gui/StdCtrls.h"

#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QFontMetrics>
#include <QGroupBox>
#include <QStyle>
#include <QStyleOption>
#include <QPainter>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>

#include <algorithm>
#include <functional>

#include "platform/gui/Forms.h"
#include "platform/gui/QtSupport.h"

namespace gui {

using namespace detail;

namespace {
[[noreturn]] void ListIndexError(int index) {
    throw rtl::EStringListError(rtl::Format(rtl::msg::ListIndexError, index));
}
Qt::Alignment HorizontalAlignment(TAlignment a) {
    switch (a) {
    case taRightJustify: return Qt::AlignRight;
    case taCenter: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}
}  // namespace

// ---- TLabel -------------------------------------------------------------------------------------

TLabel::TLabel(rtl::TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 13);
    AdjustSize();
}

void TLabel::TextChanged() {
    QString t = StripAccel(caption_);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    display_ = t.toStdString();
    AdjustSize();
    Invalidate();
}

void TLabel::ApplyColor() { colorSet_ = true; }

void TLabel::ApplyFont() {
    AdjustSize();
    Invalidate();
}

void TLabel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout l) {
    layout_ = l;
    Invalidate();
}

void TLabel::SetAutoSize(bool v) {
    autoSize_ = v;
    AdjustSize();
}

void TLabel::SetTransparent(bool v) {
    transparent_ = v;
    Invalidate();
}

void TLabel::SetWordWrap(bool v) {
    wordWrap_ = v;
    AdjustSize();
    Invalidate();
}

// The text as a plain label draws it: the cell filled with Color unless transparent (or Color
// was never set), the text in the font's colour, aligned in the control.
void TLabel::Paint() {
    const bool fill = colorSet_ && !transparent_;
    DrawOnSurface([&](QPainter& p) {
        if (fill) p.fillRect(QRect(0, 0, Width(), Height()), gdi::ColorToQColor(Color()));
        if (display_.empty()) return;
        const Qt::Alignment v = layout_ == tlCenter ? Qt::AlignVCenter : layout_ == tlBottom ? Qt::AlignBottom : Qt::AlignTop;
        int flags = static_cast<int>(HorizontalAlignment(alignment_) | v) | Qt::TextForceLeftToRight;
        if (wordWrap_) flags |= Qt::TextWordWrap;
        p.setFont(gdi::FontToQFont(font_));
        p.setPen(gdi::ColorToQColor(font_.Color()));
        p.drawText(QRect(0, 0, Width(), Height()), flags, QS(display_));
    });
    TGraphicControl::Paint();
}

void TLabel::AdjustSize() {
    if (!autoSize_) return;
    QString t = QS(display_);
    if (t.isEmpty()) t = QStringLiteral(" ");
    const QFontMetrics fm(gdi::FontToQFont(font_));
    int w = 0, h = 0;
    if (wordWrap_) {
        w = Width();
        h = fm.boundingRect(QRect(0, 0, std::max(1, w), 1 << 20), Qt::TextWordWrap, t).height();
    } else {
        const QStringList lines = t.split(QChar('\n'));
        for (const QString& line : lines) w = std::max(w, fm.horizontalAdvance(line));
        h = fm.height() * static_cast<int>(lines.size());
    }
    int left = Left();
    if (!wordWrap_) {
        if (alignment_ == taRightJustify) left = Left() + Width() - w;
        else if (alignment_ == taCenter) left = Left() + (Width() - w) / 2;
    }
    SetBounds(left, Top(), w, h);
}

// ---- TGroupBox ----------------------------------------------------------------------------------

namespace {
// The group box widget keeps the title, font and state the style's group-box drawing reads.
class GroupBoxWidget : public Hooked<QGroupBox> {
public:
    void StyleOption(QStyleOptionGroupBox* option) const { initStyleOption(option); }
};
}  // namespace

TGroupBox::TGroupBox(rtl::TComponent* owner) : TCustomControl(owner, new GroupBoxWidget) {
    Widget()->setFocusPolicy(Qt::NoFocus);
    SetParentColor(true);
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::Paint() {
    gdi::TCanvas* c = Canvas();
    QImage* target = c->Target();
    if (!target) return;
    auto* w = static_cast<GroupBoxWidget*>(Widget());
    QStyleOptionGroupBox option;
    w->StyleOption(&option);
    option.rect = QRect(0, 0, ClientWidth(), ClientHeight());
    QPainter p(target);
    // As a widget's own painter does: the style scales the frame's pieces smoothly.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setClipRegion(c->ClipRegion());
    p.translate(c->Origin().X, c->Origin().Y);
    w->style()->drawComplexControl(QStyle::CC_GroupBox, &option, &p, w);
}

void TGroupBox::TextChanged() {
    static_cast<QGroupBox*>(Widget())->setTitle(QS(caption_));
    Invalidate();
}

// ---- TButton ------------------------------------------------------------------------------------

TButton::TButton(rtl::TComponent* owner) : TWinControl(owner, new Hooked<QPushButton>) {
    colorRole_ = QPalette::Button;
    auto* b = static_cast<QPushButton*>(Widget());
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, [this] {
        if (!Destroying()) InvokeHandler(this, [this] { Click(); });
    });
    SetBounds(0, 0, 75, 25);
}

void TButton::Click() {
    if (modalResult_ != mrNone)
        if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(modalResult_);
    TWinControl::Click();
}

void TButton::SetDefault(bool v) {
    default_ = v;
    static_cast<QPushButton*>(Widget())->setDefault(v);
}

void TButton::TextChanged() { static_cast<QPushButton*>(Widget())->setText(QS(caption_)); }

// ---- TCheckBox ----------------------------------------------------------------------------------

TCheckBox::TCheckBox(rtl::TComponent* owner) : TWinControl(owner, new Hooked<QCheckBox>) {
    auto* b = static_cast<QCheckBox*>(Widget());
    QObject::connect(b, &QCheckBox::clicked, [this, b] {
        if (Destroying()) return;
        state_ = b->checkState() == Qt::Checked ? cbChecked
                 : b->checkState() == Qt::PartiallyChecked ? cbGrayed
                                                           : cbUnchecked;
        InvokeHandler(this, [this] { Click(); });
    });
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetState(TCheckBoxState s) {
    if (s == state_) return;
    state_ = s;
    auto* b = static_cast<QCheckBox*>(Widget());
    b->setTristate(s == cbGrayed || b->isTristate());
    b->setCheckState(s == cbChecked ? Qt::Checked : s == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    Click();
}

void TCheckBox::TextChanged() { static_cast<QCheckBox*>(Widget())->setText(QS(caption_)); }

// ---- TCustomEdit --------------------------------------------------------------------------------

namespace {
// MaxLength limits what the user types or pastes, counted in characters (code points); text
// set in code is not cut, as on the original platform.
class LengthValidator : public QValidator {
public:
    explicit LengthValidator(QObject* parent) : QValidator(parent) {}
    int max = 0;
    State validate(QString& input, int&) const override {
        if (max <= 0) return Acceptable;
        int n = 0;
        for (QChar c : input)
            if (!c.isLowSurrogate()) ++n;
        return n > max ? Invalid : Acceptable;
    }
};
}  // namespace

TCustomEdit::TCustomEdit(rtl::TComponent* owner) : TWinControl(owner, new Hooked<QLineEdit>) {
    color_ = gdi::clWindow;
    colorRole_ = QPalette::Base;
    auto* e = static_cast<QLineEdit*>(Widget());
    e->setMaxLength(32767);
    e->setValidator(new LengthValidator(e));
    QObject::connect(e, &QLineEdit::textChanged, [this] {
        if (!Destroying()) InvokeHandler(this, [this] { Change(); });
    });
    SetBounds(0, 0, 121, 21);
}

TCustomEdit::~TCustomEdit() { destroying_ = true; }

static QLineEdit* LineEdit(const TCustomEdit* e) { return static_cast<QLineEdit*>(e->Widget()); }

std::string TCustomEdit::GetTextValue() const { return SS(LineEdit(this)->text()); }

// A read-only edit shows a value: its caret goes to the start, so a text wider than the edit
// shows its beginning and is clipped at the far edge (Qt would scroll to the end and cut off the
// leading digits of a number). An editable one keeps the caret at the end for typing on.
void TCustomEdit::SetTextValue(const std::string& s) {
    QLineEdit* e = LineEdit(this);
    e->setText(QS(s));
    if (e->isReadOnly()) e->setCursorPosition(0);
}

void TCustomEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    LineEdit(this)->setReadOnly(v);
}

void TCustomEdit::SetMaxLength(int n) {
    maxLength_ = std::max(0, n);
    auto* v = const_cast<LengthValidator*>(static_cast<const LengthValidator*>(LineEdit(this)->validator()));
    v->max = maxLength_;
}

void TCustomEdit::SetAlignment(TAlignment a) {
    alignment_ = a;
    LineEdit(this)->setAlignment(HorizontalAlignment(a) | Qt::AlignVCenter);
}

void TCustomEdit::SetPasswordChar(char c) {
    passwordChar_ = c;
    LineEdit(this)->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
}

void TCustomEdit::SelectAll() { LineEdit(this)->selectAll(); }

int TCustomEdit::SelStart() const {
    const QLineEdit* e = LineEdit(this);
    return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TCustomEdit::SetSelStart(int start) { LineEdit(this)->setCursorPosition(std::max(0, start)); }

int TCustomEdit::SelLength() const { return static_cast<int>(LineEdit(this)->selectedText().size()); }

void TCustomEdit::SetSelLength(int length) {
    QLineEdit* e = LineEdit(this);
    e->setSelection(SelStart(), std::max(0, length));
}

std::string TCustomEdit::SelText() const { return SS(LineEdit(this)->selectedText()); }

bool TCustomEdit::Modified() const { return LineEdit(this)->isModified(); }

void TCustomEdit::SetModified(bool v) { LineEdit(this)->setModified(v); }

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter() {
    if (AutoSelect && !(QGuiApplication::mouseButtons() & Qt::LeftButton)) SelectAll();
    TWinControl::DoEnter();
}

// ---- TMemo --------------------------------------------------------------------------------------

// The lines of a memo, read from and written to its document. A trailing empty block is not
// a line (the text "a" CR LF has one line).
//
// Lines added at the end are collected and put into the document together once per turn of the
// event loop, in one edit: the layout, the scroll bars and the scroll to the last line then cost
// once per turn however many lines come and however many the memo holds. Every read and every
// other change puts the collected lines in first, so the lines are always all there to read.
// OnChange still runs for each added line when it is added.
class MemoStrings : public rtl::TStrings {
public:
    MemoStrings(QPlainTextEdit* edit, std::function<void()> changed) : edit_(edit), changed_(std::move(changed)) {}

    int Count() const override { return DocumentCount() + static_cast<int>(pending_.size()); }
    std::string Get(int index) const override {
        Flush();
        if (index < 0 || index >= Count()) ListIndexError(index);
        return SS(edit_->document()->findBlockByNumber(index).text());
    }
    void Put(int index, const std::string& s) override {
        Flush();
        if (index < 0 || index >= Count()) ListIndexError(index);
        QTextCursor c(edit_->document()->findBlockByNumber(index));
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        c.insertText(DisplayText(s));
    }
    void Insert(int index, const std::string& s) override {
        Flush();
        const int count = Count();
        if (index < 0 || index > count) ListIndexError(index);
        QTextDocument* d = edit_->document();
        QTextCursor c(d);
        if (index < d->blockCount()) {
            c = QTextCursor(d->findBlockByNumber(index));
            c.insertText(DisplayText(s) + QChar('\n'));
            c.movePosition(QTextCursor::PreviousBlock);
        } else {
            c.movePosition(QTextCursor::End);
            c.insertText(QChar('\n') + DisplayText(s));
            c.movePosition(QTextCursor::StartOfBlock);
        }
        // The caret moves to the new line and the memo scrolls to it.
        edit_->setTextCursor(c);
        edit_->ensureCursorVisible();
    }
    void Delete(int index) override {
        Flush();
        if (index < 0 || index >= Count()) ListIndexError(index);
        QTextDocument* d = edit_->document();
        const QTextBlock b = d->findBlockByNumber(index);
        QTextCursor c(b);
        const QTextBlock next = b.next();
        if (next.isValid()) {
            c.setPosition(next.position(), QTextCursor::KeepAnchor);
        } else if (b.previous().isValid()) {
            c.setPosition(b.previous().position() + b.previous().length() - 1);
            c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        } else {
            c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        }
        c.removeSelectedText();
    }
    void Clear() override {
        pending_.clear();
        edit_->clear();
    }
    int Add(const std::string& s) override {
        const int index = Count();
        if (pending_.empty())
            QMetaObject::invokeMethod(&flushContext_, [this] { Flush(); }, Qt::QueuedConnection);
        pending_.push_back(DisplayText(s));
        if (changed_) changed_();
        return index;
    }

    // Puts the collected lines into the document: appended after the last line, the caret on
    // the last of them and the memo scrolled to it, as one line added alone leaves it.
    void Flush() const {
        if (pending_.empty()) return;
        QStringList lines;
        lines.swap(pending_);
        QTextDocument* d = edit_->document();
        QTextCursor c(d);
        c.movePosition(QTextCursor::End);
        // An empty last block takes the lines, and a new empty block follows them; after a
        // last line of text they start a new block.
        const bool intoEmptyBlock = DocumentCount() < d->blockCount();
        const QString text = intoEmptyBlock ? lines.join(QChar('\n')) + QChar('\n') : QChar('\n') + lines.join(QChar('\n'));
        flushing_ = true;
        c.beginEditBlock();
        c.insertText(text);
        c.endEditBlock();
        flushing_ = false;
        c.movePosition(intoEmptyBlock ? QTextCursor::PreviousBlock : QTextCursor::StartOfBlock);
        // The caret moves to the last new line and the memo scrolls to it.
        edit_->setTextCursor(c);
        edit_->ensureCursorVisible();
    }
    // Forgets the collected lines (the whole text is replaced).
    void Discard() { pending_.clear(); }
    // The document changes because collected lines go in; their OnChange has run.
    bool Flushing() const { return flushing_; }

private:
    int DocumentCount() const {
        const QTextDocument* d = edit_->document();
        int n = d->blockCount();
        if (n > 0 && d->lastBlock().length() <= 1) --n;  // length counts the block separator
        return n;
    }

    QPlainTextEdit* edit_;
    std::function<void()> changed_;
    mutable QStringList pending_;
    mutable bool flushing_ = false;
    // Owns the queued flush: it is dropped with the lines.
    QObject flushContext_;
};

TMemo::TMemo(rtl::TComponent* owner) : TWinControl(owner, new Hooked<QPlainTextEdit>) {
    color_ = gdi::clWindow;
    colorRole_ = QPalette::Base;
    auto* e = static_cast<QPlainTextEdit*>(Widget());
    e->viewport()->setMouseTracking(true);
    e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    e->setUndoRedoEnabled(false);
    auto changed = [this] {
        if (!Destroying()) InvokeHandler(this, [this] { Change(); });
    };
    auto lines = std::make_unique<MemoStrings>(e, changed);
    MemoStrings* l = lines.get();
    lines_ = std::move(lines);
    QObject::connect(e, &QPlainTextEdit::textChanged, [l, changed] {
        if (!l->Flushing()) changed();
    });
    SetScrollBars(ssNone);
    SetBounds(0, 0, 185, 89);
}

TMemo::~TMemo() { destroying_ = true; }

static QPlainTextEdit* PlainEdit(const TMemo* m) { return static_cast<QPlainTextEdit*>(m->Widget()); }

void TMemo::SetScrollBars(TScrollStyle s) {
    scrollBars_ = s;
    QPlainTextEdit* e = PlainEdit(this);
    const bool h = s == ssHorizontal || s == ssBoth;
    const bool v = s == ssVertical || s == ssBoth;
    e->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    e->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::SetReadOnly(bool v) {
    readOnly_ = v;
    PlainEdit(this)->setReadOnly(v);
}

void TMemo::SetWordWrap(bool v) {
    wordWrap_ = v;
    PlainEdit(this)->setLineWrapMode(v ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::Clear() { lines_->Clear(); }

std::string TMemo::GetTextValue() const {
    static_cast<const MemoStrings*>(lines_.get())->Flush();
    QString t = PlainEdit(this)->toPlainText();
    t.replace(QChar('\n'), QStringLiteral("\r\n"));
    return SS(t);
}

void TMemo::SetTextValue(const std::string& s) {
    static_cast<MemoStrings*>(lines_.get())->Discard();
    PlainEdit(this)->setPlainText(DisplayText(s));
}

void TMemo::Change() {
    if (OnChange) OnChange(this);
}

// ---- TComboBox ----------------------------------------------------------------------------------

static QComboBox* Combo(const TComboBox* c) { return static_cast<QComboBox*>(c->Widget()); }

// The items of a combo box, kept in the widget. Changing them in code leaves the selection
// where it was (or none) and the edit text as it was.
class ComboStrings : public rtl::TStrings {
public:
    explicit ComboStrings(QComboBox* box) : box_(box) {}

    int Count() const override { return box_->count(); }
    std::string Get(int index) const override {
        if (index < 0 || index >= Count()) ListIndexError(index);
        return SS(box_->itemText(index));
    }
    void Put(int index, const std::string& s) override {
        if (index < 0 || index >= Count()) ListIndexError(index);
        const Keep keep(box_);
        box_->setItemText(index, QS(s));
    }
    void Insert(int index, const std::string& s) override {
        if (index < 0 || index > Count()) ListIndexError(index);
        const Keep keep(box_);
        const int current = box_->currentIndex();
        box_->insertItem(index, QS(s));
        if (current < 0) box_->setCurrentIndex(-1);
    }
    void Delete(int index) override {
        if (index < 0 || index >= Count()) ListIndexError(index);
        const Keep keep(box_);
        const int current = box_->currentIndex();
        box_->removeItem(index);
        if (current == index) box_->setCurrentIndex(-1);
    }
    void Clear() override {
        box_->clear();
        if (box_->isEditable()) box_->clearEditText();
    }
    rtl::TObject* Objects(int index) const override {
        if (index < 0 || index >= Count()) ListIndexError(index);
        return reinterpret_cast<rtl::TObject*>(box_->itemData(index, Qt::UserRole).value<quintptr>());
    }
    void PutObject(int index, rtl::TObject* object) override {
        if (index < 0 || index >= Count()) ListIndexError(index);
        box_->setItemData(index, QVariant::fromValue(reinterpret_cast<quintptr>(object)), Qt::UserRole);
    }
    void InsertObject(int index, const std::string& s, rtl::TObject* object) override {
        Insert(index, s);
        PutObject(index, object);
    }
    int AddObject(const std::string& s, rtl::TObject* object) override {
        const int index = Add(s);
        PutObject(index, object);
        return index;
    }
    int Add(const std::string& s) override {
        int index = Count();
        if (owner_ && owner_->Sorted()) {
            index = 0;
            while (index < Count() && rtl::CompareText(Get(index), s) <= 0) ++index;
        }
        Insert(index, s);
        return index;
    }
    TComboBox* owner_ = nullptr;

private:
    // Restores the edit text of an editable combo after an item change.
    struct Keep {
        explicit Keep(QComboBox* b) : box(b), text(b->isEditable() ? b->currentText() : QString()) {}
        ~Keep() {
            if (box->isEditable() && box->currentText() != text) box->setEditText(text);
        }
        QComboBox* box;
        QString text;
    };
    QComboBox* box_;
};

// Draws and measures the list items of the owner-drawn styles through the combo box.
class ComboItemDelegate : public QStyledItemDelegate {
public:
    ComboItemDelegate(TComboBox* combo, QObject* parent) : QStyledItemDelegate(parent), combo_(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (!OwnerDrawn() || combo_->Destroying()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QRect r = option.rect;
        if (r.isEmpty()) return;
        QImage image(r.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        gdi::TCanvas& canvas = combo_->canvas_;
        canvas.SetTarget(&image);
        canvas.Font()->Assign(*combo_->Font());
        canvas.Brush()->SetColor(combo_->Color());
        TOwnerDrawState state = 0;
        if (option.state & QStyle::State_Selected) state |= odSelected;
        if (option.state & QStyle::State_HasFocus) state |= odFocused;
        if (!(option.state & QStyle::State_Enabled)) state |= odDisabled;
        InvokeHandler(combo_, [&] { combo_->DrawItem(index.row(), gdi::Rect(0, 0, r.width(), r.height()), state); });
        canvas.SetTarget(nullptr);
        painter->drawImage(r.topLeft(), image);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (!OwnerDrawn() || combo_->Destroying()) return size;
        int height = combo_->ItemHeight();
        combo_->MeasureItem(index.row(), height);
        size.setHeight(std::max(1, height));
        return size;
    }

private:
    bool OwnerDrawn() const {
        return combo_->Style() == csOwnerDrawFixed || combo_->Style() == csOwnerDrawVariable;
    }
    TComboBox* combo_;
};

// Hands the mouse presses on the edit part to EditWndProc.
class ComboEditFilter : public QObject {
public:
    ComboEditFilter(TComboBox* combo, QObject* parent) : QObject(parent), combo_(combo) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress && !combo_->Destroying() &&
            static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
            TMessage m{WM_LBUTTONDOWN, MK_LBUTTON, LPARAM((p.y() & 0xFFFF) << 16 | (p.x() & 0xFFFF)), 0};
            InvokeHandler(combo_, [&] { combo_->EditWndProc(m); });
        }
        return QObject::eventFilter(watched, e);
    }

private:
    TComboBox* combo_;
};

TComboBox::TComboBox(rtl::TComponent* owner) : TWinControl(owner, new Hooked<QComboBox>) {
    color_ = gdi::clWindow;
    colorRole_ = QPalette::Base;
    QComboBox* box = Combo(this);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(8);
    auto strings = std::make_unique<ComboStrings>(box);
    strings->owner_ = this;
    items_ = std::move(strings);
    box->setItemDelegate(new ComboItemDelegate(this, box));
    QObject::connect(box, &QComboBox::activated, [this](int) {
        if (Destroying()) return;
        InvokeHandler(this, [this] { Perform(CN_COMMAND, WPARAM(CBN_SELCHANGE) << 16, 0); });
    });
    // A combo box that keeps a surface shows its look from there: a new item or text is drawn
    // into it again.
    QObject::connect(box, &QComboBox::currentIndexChanged, [this](int) {
        if (!Destroying()) Invalidate();
    });
    QObject::connect(box, &QComboBox::editTextChanged, [this](const QString&) {
        if (!Destroying()) Invalidate();
    });
    SetStyle(csDropDown);
    SetBounds(0, 0, 145, 21);
}

TComboBox::~TComboBox() { destroying_ = true; }

void TComboBox::SetStyle(TComboBoxStyle s) {
    style_ = s;
    QComboBox* box = Combo(this);
    const bool editable = s == csDropDown || s == csSimple;
    if (box->isEditable() == editable) return;
    box->setEditable(editable);
    if (editable) {
        box->setCompleter(nullptr);
        HookEdit();
        QObject::connect(box->lineEdit(), &QLineEdit::textEdited, [this] {
            if (Destroying()) return;
            SyncIndexToText();
            InvokeHandler(this, [this] { Change(); });
        });
    }
}

int TComboBox::ItemIndex() const { return Combo(this)->currentIndex(); }

void TComboBox::SetItemIndex(int index) {
    QComboBox* box = Combo(this);
    if (index < 0 || index >= box->count()) index = -1;
    box->setCurrentIndex(index);
    if (index < 0 && box->isEditable()) box->clearEditText();
}

int TComboBox::DropDownCount() const { return Combo(this)->maxVisibleItems(); }

void TComboBox::SetDropDownCount(int n) { Combo(this)->setMaxVisibleItems(std::max(1, n)); }

void TComboBox::Clear() { items_->Clear(); }

void TComboBox::SyncIndexToText() {
    QComboBox* box = Combo(this);
    const QString text = box->currentText();
    const std::string s = SS(text);
    int match = -1;
    for (int i = 0; i < box->count(); ++i)
        if (rtl::SameText(SS(box->itemText(i)), s)) {
            match = i;
            break;
        }
    if (match == box->currentIndex()) return;
    if (!box->isEditable()) {
        box->setCurrentIndex(match);
        return;
    }
    const int cursor = box->lineEdit()->cursorPosition();
    box->setCurrentIndex(match);
    box->setEditText(text);
    box->lineEdit()->setCursorPosition(cursor);
}

std::string TComboBox::GetTextValue() const { return SS(Combo(this)->currentText()); }

void TComboBox::SetTextValue(const std::string& s) {
    QComboBox* box = Combo(this);
    if (box->isEditable()) {
        box->setEditText(QS(s));
        SyncIndexToText();
        return;
    }
    int match = -1;
    for (int i = 0; i < box->count(); ++i)
        if (rtl::SameText(SS(box->itemText(i)), s)) {
            match = i;
            break;
        }
    box->setCurrentIndex(match);
}

void TComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TComboBox::HookEdit() {
    QLineEdit* edit = Combo(this)->lineEdit();
    if (!edit) return;
    edit->installEventFilter(new ComboEditFilter(this, edit));
    edit->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

void TComboBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        if ((message.WParam >> 16) == CBN_SELCHANGE) {
            Click();
            Change();
        }
        return;
    case CB_SETDROPPEDWIDTH:
        droppedWidth_ = std::max(0, int(message.WParam));
        Combo(this)->view()->setMinimumWidth(droppedWidth_);
        message.Result = droppedWidth_;
        return;
    case CB_GETDROPPEDWIDTH:
        message.Result = std::max(droppedWidth_, Width());
        return;
    default: break;
    }
    TWinControl::WndProc(message);
    if ((message.Msg == WM_SETFOCUS || message.Msg == WM_KILLFOCUS) && Combo(this)->isEditable()) {
        TMessage m{message.Msg, message.WParam, message.LParam, 0};
        EditWndProc(m);
    }
}

void TComboBox::EditWndProc(TMessage&) {}

void TComboBox::DrawItem(int index, gdi::TRect rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    if (state & odSelected) {
        canvas_.Brush()->SetColor(gdi::clHighlight);
        canvas_.Font()->SetColor(gdi::clHighlightText);
    }
    canvas_.FillRect(rect);
    if (index >= 0 && index < items_->Count()) canvas_.TextOut(rect.Left + 2, rect.Top, items_->Get(index));
}

void TComboBox::MeasureItem(int index, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

void TComboBox::SetSorted(bool v) {
    if (sorted_ == v) return;
    sorted_ = v;
    if (!v) return;
    QComboBox* box = Combo(this);
    const QString text = box->currentText();
    const int current = box->currentIndex();
    const QVariant currentData = current >= 0 ? box->itemData(current, Qt::UserRole) : QVariant();
    std::vector<std::pair<std::string, QVariant>> lines;
    for (int i = 0; i < box->count(); ++i) lines.emplace_back(SS(box->itemText(i)), box->itemData(i, Qt::UserRole));
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return rtl::CompareText(a.first, b.first) < 0; });
    const QSignalBlocker block(box);
    box->clear();
    int newCurrent = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        box->addItem(QS(lines[i].first), lines[i].second);
        if (current >= 0 && newCurrent < 0 && QS(lines[i].first) == text && lines[i].second == currentData)
            newCurrent = int(i);
    }
    box->setCurrentIndex(newCurrent);
    if (box->isEditable()) box->setEditText(text);
}

void TComboBox::SetMaxLength(int n) {
    maxLength_ = std::max(0, n);
    if (QLineEdit* edit = Combo(this)->lineEdit()) edit->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

int TComboBox::SelStart() const {
    QLineEdit* edit = Combo(this)->lineEdit();
    if (!edit) return 0;
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

void TComboBox::SetSelStart(int start) {
    if (QLineEdit* edit = Combo(this)->lineEdit()) edit->setCursorPosition(std::clamp(start, 0, int(edit->text().size())));
}

int TComboBox::SelLength() const {
    QLineEdit* edit = Combo(this)->lineEdit();
    return edit ? int(edit->selectedText().size()) : 0;
}

void TComboBox::SetSelLength(int length) {
    QLineEdit* edit = Combo(this)->lineEdit();
    if (!edit) return;
    const int start = SelStart();
    const int n = std::clamp(length, 0, int(edit->text().size()) - start);
    if (n == 0)
        edit->setCursorPosition(start);
    else
        edit->setSelection(start, n);
}

bool TComboBox::DroppedDown() const { return Combo(this)->view()->isVisible(); }

void TComboBox::SetDroppedDown(bool v) {
    if (v == DroppedDown()) return;
    if (v) {
        if (OnDropDown) OnDropDown(this);
        Combo(this)->showPopup();
    } else {
        Combo(this)->hidePopup();
    }
}

void TComboBox::SetItemHeight(int h) {
    if (h > 0) itemHeight_ = h;
}

// ---- TScrollBar ---------------------------------------------------------------------------------

static QScrollBar* Bar(const TScrollBar* s) { return static_cast<QScrollBar*>(s->Widget()); }

TScrollBar::TScrollBar(rtl::TComponent* owner) : TWinControl(owner, new Hooked<QScrollBar>) {
    QScrollBar* b = Bar(this);
    b->setOrientation(Qt::Horizontal);
    b->setRange(min_, max_);
    b->setValue(position_);
    b->setSingleStep(smallChange_);
    b->setPageStep(largeChange_);
    QObject::connect(b, &QScrollBar::valueChanged, [this](int v) {
        if (!updating_ && !Destroying()) UserMoved(v);
    });
    SetBounds(0, 0, 121, 17);
}

void TScrollBar::SetKind(TScrollBarKind k) {
    if (k == kind_) return;
    kind_ = k;
    Bar(this)->setOrientation(k == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
    SetBounds(Left(), Top(), Height(), Width());
}

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) throw rtl::EInvalidOperation("Eigenschaftswert der Bildlaufleiste außerhalb des gültigen Bereichs");
    position = std::clamp(position, min, max);
    min_ = min;
    max_ = max;
    const bool changed = position != position_;
    position_ = position;
    updating_ = true;
    QScrollBar* b = Bar(this);
    b->setRange(min_, std::max(min_, max_ - std::max(0, pageSize_ - 1)));
    b->setValue(position_);
    updating_ = false;
    if (changed) Change();
}

void TScrollBar::SetLargeChange(int v) {
    largeChange_ = std::max(1, v);
    Bar(this)->setPageStep(largeChange_);
}

void TScrollBar::SetSmallChange(int v) {
    smallChange_ = std::max(1, v);
    Bar(this)->setSingleStep(smallChange_);
}

void TScrollBar::SetPageSize(int v) {
    pageSize_ = std::max(0, v);
    updating_ = true;
    Bar(this)->setRange(min_, std::max(min_, max_ - std::max(0, pageSize_ - 1)));
    updating_ = false;
}

void TScrollBar::UserMoved(int value) {
    if (value == position_) return;
    position_ = value;
    InvokeHandler(this, [this] { Change(); });
}

void TScrollBar::Change() {
    if (OnChange) OnChange(this);
}

}  // namespace gui
