// The edit messages as typed calls: each builds the EM_* message, sends it with Perform and
// reads the answer, so that callers never handle the raw WParam/LParam packing. A control that
// keeps its own text (the library's edit) answers them in its window procedure.
#pragma once

#include <string>

#include "platform/gdi/Graphics.h"
#include "platform/gui/Controls.h"

namespace gui {

// Start and end (0-based, end exclusive) of the selection.
inline void EditGetSel(TControl* c, int& start, int& end) {
    int s = 0, e = 0;
    c->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = s;
    end = e;
}
// Start -1 removes the selection; (0, -1) selects all; an end of -1 means the end of the text.
inline void EditSetSel(TControl* c, int start, int end) {
    c->Perform(EM_SETSEL, static_cast<WPARAM>(static_cast<LPARAM>(start)), static_cast<LPARAM>(end));
}
// Replaces the selection by text (UTF-8); canUndo False also empties the undo steps.
inline void EditReplaceSel(TControl* c, const std::string& text, bool canUndo = true) {
    c->Perform(EM_REPLACESEL, canUndo ? 1 : 0, reinterpret_cast<LPARAM>(text.c_str()));
}
inline bool EditGetModify(TControl* c) { return c->Perform(EM_GETMODIFY) != 0; }
inline void EditSetModify(TControl* c, bool v) { c->Perform(EM_SETMODIFY, v ? 1 : 0); }
inline void EditSetReadOnly(TControl* c, bool v) { c->Perform(EM_SETREADONLY, v ? 1 : 0); }
inline void EditLimitText(TControl* c, int limit) { c->Perform(EM_LIMITTEXT, static_cast<WPARAM>(limit)); }
inline int EditGetLimitText(TControl* c) { return static_cast<int>(c->Perform(EM_GETLIMITTEXT)); }
inline bool EditCanUndo(TControl* c) { return c->Perform(EM_CANUNDO) != 0; }
// Undoes the last step; whether more steps remain.
inline bool EditUndo(TControl* c) { return c->Perform(EM_UNDO) != 0; }
inline void EditEmptyUndoBuffer(TControl* c) { c->Perform(EM_EMPTYUNDOBUFFER); }
// The rectangle the text is drawn in (client coordinates).
inline gdi::TRect EditGetRect(TControl* c) {
    gdi::TRect r{};
    c->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}
// The client position of the character at index (0-based); the answer is packed in Result.
inline gdi::TPoint EditPosFromChar(TControl* c, int index) {
    const LRESULT r = c->Perform(EM_POSFROMCHAR, static_cast<WPARAM>(index));
    return gdi::TPoint{LoWordSigned(r), HiWordSigned(r)};
}
// The character (low word) and line (high word) nearest to a client point.
inline void EditCharFromPos(TControl* c, gdi::TPoint p, int& charIndex, int& line) {
    const LRESULT r = c->Perform(EM_CHARFROMPOS, 0, MakeLParam(p.X, p.Y));
    charIndex = static_cast<int>(LoWord(r));
    line = static_cast<int>(HiWord(r));
}
// The text of the line, at most maxBytes bytes of UTF-8 (never a part of a character).
inline std::string EditGetLine(TControl* c, int maxBytes) {
    if (maxBytes <= 0) return {};
    std::string buf(static_cast<std::size_t>(maxBytes), '\0');
    const LRESULT n = c->Perform(EM_GETLINE, static_cast<WPARAM>(maxBytes), reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(static_cast<std::size_t>(n < 0 ? 0 : n));
    return buf;
}
inline int EditLineLength(TControl* c) { return static_cast<int>(c->Perform(EM_LINELENGTH)); }
inline int EditGetLineCount(TControl* c) { return static_cast<int>(c->Perform(EM_GETLINECOUNT)); }

}  // namespace gui
