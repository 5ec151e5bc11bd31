// The "Edit" class: single- and multi-line text editing with selection, caret, scrolling, the
// clipboard, one level of undo, limits, margins, tab stops, password and case styles. Text is
// bytes in the ANSI code page; a double-byte character is one character everywhere (the caret and
// the selection never stop between its lead and trail byte).
#include <algorithm>
#include <cctype>

#include "base/ByteOrder.h"
#include "controls/Controls.h"
#include "controls/ControlSupport.h"
#include "win/Extensions.h"

namespace brambolt::ctl {
namespace {

constexpr DWORD kDefaultLimit = 32767;

struct Line {
  DWORD start = 0;   // byte offset of the first character
  DWORD length = 0;  // bytes shown, without the line break
  DWORD next = 0;    // start of the following line
};

class EditState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  bool Multi() const { return (style_ & ES_MULTILINE) != 0; }
  bool ReadOnly() const { return (style_ & ES_READONLY) != 0; }
  DWORD SelMin() const { return std::min(anchor_, caret_); }
  DWORD SelMax() const { return std::max(anchor_, caret_); }

  // Text positions.
  DWORD CharStart(DWORD pos) const;
  DWORD NextChar(DWORD pos) const;
  DWORD PrevChar(DWORD pos) const;
  DWORD WordLeft(DWORD pos) const;
  DWORD WordRight(DWORD pos) const;
  int LineOf(DWORD pos) const;

  // Layout and measuring.
  void Relayout();
  RECT FormatRect() const;
  std::string Shown(DWORD start, DWORD length) const;
  int Width(HDC hdc, DWORD start, DWORD length) const;
  // Character boundaries from start to end (both included), at most `most` + 1 of them.
  std::vector<DWORD> Boundaries(DWORD start, DWORD end, size_t most) const;
  // Index of the last boundary whose text from `start` is at most `width` pixels wide.
  size_t LastFitting(HDC hdc, DWORD start, const std::vector<DWORD>& b, int width) const;
  // x of a position from the format rectangle's left edge, before horizontal scrolling.
  int XOf(DWORD pos) const;
  // Where a line starts in a centred or right-aligned edit.
  int Indent(HDC hdc, const Line& line) const;
  DWORD PosFromPoint(POINT p) const;
  int VisibleLines() const;
  void ScrollToCaret();
  void UpdateScrollBars();
  POINT CaretPoint();
  void PlaceCaret();
  void PlaceComposition();

  // Editing.
  // The text as the styles let it in; a single line takes only up to the first line break.
  std::string Filter(const std::string& in, bool cutAtBreak = true) const;
  bool Replace(const std::string& text, bool canUndo, bool typed);
  void SetText(const std::string& text);
  void SetSelection(DWORD anchor, DWORD caret, bool scroll = true);
  void MoveCaret(DWORD pos, bool extend);
  void Notify(UINT code);
  // Whether the text fits a control that does not scroll automatically in that direction.
  bool Fits() const;
  // After a change of the text by the user or EM_REPLACESEL: layout, EN_UPDATE, display, EN_CHANGE.
  void Changed();
  void Copy();
  void Cut();
  void Paste();
  void Clear();
  void Undo();
  void SendToSelf(UINT msg);
  void Char(UINT ch);
  // The edit's own menu of Undo, Cut, Copy, Paste, Delete and Select All at a screen point (-1:
  // from the keyboard, shown over the edit); the command chosen is sent to the edit.
  void ContextMenu(LPARAM at);
  // EM_GETHANDLE: a moveable local block holding the text and its terminator. Once asked for, it
  // follows every change of the text, so LocalLock of it always gives the text shown.
  HLOCAL TextHandle();
  void SyncHandle();
  // ---- life cycle, window messages, mouse and scrolling (the message switch calls these)
  void NcCreate();
  void SetFont(HFONT font, bool redraw);
  void Focus(bool gained);
  void ButtonDown(UINT msg, WPARAM keys, POINT p);
  void MouseMove(POINT p);
  void ButtonUp();
  void ScrollBarMessage(bool vertical, WORD code, int thumb);
  LRESULT ScrollByCode(WPARAM code);
  void ScrollLinesAndChars(int lines, int chars);

  // ---- selection, format rectangle, lines and look
  LRESULT GetSelectionMessage(DWORD* start, DWORD* end) const;
  void SetSelectionMessage(int start, int end);
  void SetFormatRect(const RECT* rect, bool redraw);
  LRESULT LineIndex(int line) const;
  LRESULT LineLength(int index) const;
  LRESULT LineFromChar(int index) const;
  LRESULT GetLine(int line, LPSTR buffer) const;
  LRESULT PosFromChar(DWORD index) const;
  void SetTabStops(WPARAM count, const int* stops);
  void SetPasswordChar(char ch);
  void SetStyleBit(DWORD bit, bool on);
  void SetMargins(WPARAM which, int left, int right);

  // Tab, Enter and Escape in a dialog's multi-line edit; false when the edit handles the key itself.
  bool DialogKey(UINT vk);
  void KeyDown(UINT vk);
  void Scroll(int lines, int pixels);

  void Paint(HDC hdc);
  void Redraw() { InvalidateRect(hwnd_, nullptr, TRUE); }

  HWND hwnd_ = nullptr;
  DWORD style_ = 0;
  // The scroll bars asked for at creation: the window's own bits come and go as the bars show.
  DWORD bars_ = 0;
  // Created with WS_BORDER and no client edge of its own (drawn as a sunken client edge): the
  // text keeps SM_CXBORDER+1 pixels off the sides and SM_CYBORDER+1 off the top and bottom, where
  // the height leaves room for it. A dialog hands its edits a client edge in place of the border.
  bool border_ = false;
  // Set once a dialog asks for the edit's keys: a multi-line edit then does the dialog's part
  // for Tab, Enter and Escape.
  bool inDialog_ = false;
  std::string text_;
  // Never empty: the empty text has one empty line, and messages that come before WM_CREATE lays
  // the text out find that line.
  std::vector<Line> lines_{Line{}};
  DWORD anchor_ = 0, caret_ = 0;
  DWORD limit_ = kDefaultLimit;
  bool modified_ = false;
  bool focused_ = false;
  bool selecting_ = false;
  HFONT font_ = nullptr;
  int lineHeight_ = 13;
  int leftMargin_ = 0, rightMargin_ = 0;
  std::vector<int> tabStops_;  // pixels
  char passwordChar_ = 0;
  int xOffset_ = 0;     // pixels scrolled horizontally
  int firstLine_ = 0;   // first visible line of a multi-line edit
  int goalX_ = -1;      // x the caret keeps when moving between lines
  bool hasFormatRect_ = false;
  RECT formatRect_{};
  BYTE pendingLead_ = 0;
  // One level of undo: the text and selection before the last change; typing extends a change.
  bool canUndo_ = false;
  std::string undoText_;
  DWORD undoAnchor_ = 0, undoCaret_ = 0;
  bool typingRun_ = false;
  DWORD typingEnd_ = 0;
  HLOCAL handle_ = nullptr;
};

DWORD EditState::CharStart(DWORD pos) const { return static_cast<DWORD>(CharacterStart(text_, pos)); }

DWORD EditState::NextChar(DWORD pos) const {
  if (pos >= text_.size()) return static_cast<DWORD>(text_.size());
  if (text_[pos] == '\r' && pos + 1 < text_.size() && text_[pos + 1] == '\n') return pos + 2;
  return static_cast<DWORD>(NextCharacter(text_, pos));
}

DWORD EditState::PrevChar(DWORD pos) const {
  if (pos == 0) return 0;
  if (pos >= 2 && text_[pos - 1] == '\n' && text_[pos - 2] == '\r') return pos - 2;
  return static_cast<DWORD>(PreviousCharacter(text_, pos));
}

bool IsWordByte(char c) {
  auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || std::isalnum(u) || c == '_';
}

DWORD EditState::WordLeft(DWORD pos) const {
  while (pos > 0 && !IsWordByte(text_[PrevChar(pos)])) pos = PrevChar(pos);
  while (pos > 0 && IsWordByte(text_[PrevChar(pos)])) pos = PrevChar(pos);
  return pos;
}

DWORD EditState::WordRight(DWORD pos) const {
  DWORD n = static_cast<DWORD>(text_.size());
  while (pos < n && IsWordByte(text_[pos])) pos = NextChar(pos);
  while (pos < n && !IsWordByte(text_[pos]) && text_[pos] != '\r') pos = NextChar(pos);
  return pos;
}

int EditState::LineOf(DWORD pos) const {
  for (size_t i = 1; i < lines_.size(); ++i)
    if (pos < lines_[i].start) return static_cast<int>(i - 1);
  return static_cast<int>(lines_.size()) - 1;
}

RECT EditState::FormatRect() const {
  if (hasFormatRect_) return formatRect_;
  // The client area inset inside the frame, less the margins; a single line sits at its top. An
  // edit made with WS_BORDER alone keeps a border's width and a pixel off its frame; one with a
  // client edge (given, or put in place of the border by a dialog) keeps a pixel off it. Nothing
  // is kept at the top and bottom when less than twice the inset is left beyond one line.
  RECT r;
  GetClientRect(hwnd_, &r);
  int dx = 0, dy = 0;
  if (border_) {
    dx = GetSystemMetrics(SM_CXBORDER) + 1;
    dy = GetSystemMetrics(SM_CYBORDER) + 1;
  } else if (GetWindowLong(hwnd_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
    dx = dy = 1;
  }
  InflateRect(&r, -dx, r.bottom - r.top - lineHeight_ < 2 * dy ? 0 : -dy);
  r.left += leftMargin_;
  r.right -= rightMargin_;
  if (!Multi()) r.bottom = r.top + lineHeight_;
  if (r.right < r.left) r.right = r.left;
  return r;
}

std::string EditState::Shown(DWORD start, DWORD length) const {
  std::string s = text_.substr(start, length);
  if (!passwordChar_) return s;
  std::string masked;
  for (size_t i = 0; i < s.size(); i = NextCharacter(s, i)) masked.push_back(passwordChar_);
  return masked;
}

int EditState::Width(HDC hdc, DWORD start, DWORD length) const {
  if (length == 0) return 0;
  std::string s = Shown(start, length);
  DWORD e = GetTabbedTextExtent(hdc, s.c_str(), static_cast<int>(s.size()), static_cast<int>(tabStops_.size()),
                                tabStops_.empty() ? nullptr : tabStops_.data());
  return LOWORD(e);
}

int EditState::XOf(DWORD pos) const {
  const Line& line = lines_[static_cast<size_t>(LineOf(pos))];
  HDC dc = GetDC(hwnd_);
  int x;
  {
    FontSelection f(dc, font_);
    x = Indent(dc, line) + Width(dc, line.start, std::min(pos, line.start + line.length) - line.start);
  }
  ReleaseDC(hwnd_, dc);
  return x;
}

int EditState::Indent(HDC hdc, const Line& line) const {
  DWORD align = style_ & (ES_CENTER | ES_RIGHT);
  if (align == ES_LEFT) return 0;
  RECT fr = FormatRect();
  // The caret keeps a pixel of its own at the right end.
  int room = (fr.right - fr.left) - 1 - Width(hdc, line.start, line.length);
  if (room <= 0) return 0;
  return align == ES_CENTER ? room / 2 : room;
}

void EditState::Relayout() {
  lines_.clear();
  RECT fr = FormatRect();
  int width = fr.right - fr.left;
  bool wrap = Multi() && !(style_ & ES_AUTOHSCROLL);
  HDC dc = GetDC(hwnd_);
  {
    FontSelection f(dc, font_);
    DWORD n = static_cast<DWORD>(text_.size());
    DWORD start = 0;
    for (;;) {
      DWORD end = start;
      if (Multi())
        while (end < n && text_[end] != '\r' && text_[end] != '\n') end = NextChar(end);
      else
        end = n;
      DWORD lineEnd = end;
      if (wrap && width > 0 && end > start) {
        // Break after the last blank that fits, else after the last character that fits. No
        // character is narrower than a pixel, so a row never holds more characters than pixels.
        std::vector<DWORD> b = Boundaries(start, end, static_cast<size_t>(width) + 1);
        size_t fit = LastFitting(dc, start, b, width);
        if (b[fit] != end) {
          if (fit == 0) fit = 1;
          size_t cut = fit;
          while (cut > 0 && text_[b[cut] - 1] != ' ' && text_[b[cut] - 1] != '\t') --cut;
          lineEnd = b[cut > 0 ? cut : fit];
        }
      }
      Line line{start, lineEnd - start, lineEnd};
      bool hardBreak = lineEnd == end && end < n;
      if (hardBreak) line.next = end + ((text_[end] == '\r' && end + 1 < n && text_[end + 1] == '\n') ? 2 : 1);
      lines_.push_back(line);
      if (lineEnd == end && !hardBreak) break;
      start = line.next;
      if (hardBreak && start >= n) {
        lines_.push_back(Line{n, 0, n});
        break;
      }
    }
  }
  ReleaseDC(hwnd_, dc);
  if (lines_.empty()) lines_.push_back(Line{});
  UpdateScrollBars();
}

int EditState::VisibleLines() const {
  RECT fr = FormatRect();
  return std::max(1, static_cast<int>((fr.bottom - fr.top) / lineHeight_));
}

DWORD EditState::PosFromPoint(POINT p) const {
  RECT fr = FormatRect();
  int index = Multi() ? firstLine_ + (p.y - fr.top) / lineHeight_ - (p.y < fr.top ? 1 : 0) : 0;
  index = std::clamp(index, 0, static_cast<int>(lines_.size()) - 1);
  const Line& line = lines_[static_cast<size_t>(index)];
  HDC dc = GetDC(hwnd_);
  DWORD best;
  {
    FontSelection f(dc, font_);
    int x = p.x - fr.left + xOffset_ - Indent(dc, line);
    std::vector<DWORD> b = Boundaries(line.start, line.start + line.length, line.length + 1);
    // The last boundary left of x, then whichever of it and the next is nearer.
    size_t i = LastFitting(dc, line.start, b, std::max(x, 0));
    best = b[i];
    if (i + 1 < b.size()) {
      int left = Width(dc, line.start, b[i] - line.start), right = Width(dc, line.start, b[i + 1] - line.start);
      if (x >= (left + right) / 2) best = b[i + 1];
    }
  }
  ReleaseDC(hwnd_, dc);
  return best;
}

std::vector<DWORD> EditState::Boundaries(DWORD start, DWORD end, size_t most) const {
  std::vector<DWORD> b{start};
  for (DWORD p = start; p < end && b.size() <= most;) {
    p = std::min(NextChar(p), end);
    b.push_back(p);
  }
  return b;
}

size_t EditState::LastFitting(HDC hdc, DWORD start, const std::vector<DWORD>& b, int width) const {
  size_t lo = 0, hi = b.size() - 1;
  while (lo < hi) {
    size_t mid = (lo + hi + 1) / 2;
    if (Width(hdc, start, b[mid] - start) <= width)
      lo = mid;
    else
      hi = mid - 1;
  }
  return lo;
}

void EditState::UpdateScrollBars() {
  if (!Multi()) return;
  if (bars_ & WS_VSCROLL) {
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, static_cast<int>(lines_.size()) - 1,
                  static_cast<UINT>(VisibleLines()), firstLine_, 0};
    SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  }
  if (bars_ & WS_HSCROLL) {
    RECT fr = FormatRect();
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 2 * (fr.right - fr.left),
                  static_cast<UINT>(fr.right - fr.left), xOffset_, 0};
    SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
  }
}

void EditState::ScrollToCaret() {
  RECT fr = FormatRect();
  int width = fr.right - fr.left;
  int x = XOf(caret_);
  int oldX = xOffset_, oldLine = firstLine_;
  if (!Multi() || (style_ & ES_AUTOHSCROLL)) {
    if (x < xOffset_) xOffset_ = std::max(0, x - width / 4);
    if (x >= xOffset_ + width) xOffset_ = x - width + std::max(1, width / 4);
  } else {
    xOffset_ = 0;
  }
  if (Multi()) {
    int line = LineOf(caret_);
    int visible = VisibleLines();
    if (line < firstLine_) firstLine_ = line;
    if (line >= firstLine_ + visible) firstLine_ = line - visible + 1;
  }
  if (oldX != xOffset_ || oldLine != firstLine_) {
    UpdateScrollBars();
    Redraw();
    if (oldLine != firstLine_) Notify(EN_VSCROLL);
    if (oldX != xOffset_) Notify(EN_HSCROLL);
  }
}

POINT EditState::CaretPoint() {
  RECT fr = FormatRect();
  return POINT{fr.left + XOf(caret_) - xOffset_, fr.top + (LineOf(caret_) - firstLine_) * lineHeight_};
}

void EditState::PlaceCaret() {
  if (!focused_) return;
  POINT at = CaretPoint();
  SetCaretPos(at.x, at.y);
}

// An input method composes at the caret, in the edit's font.
void EditState::PlaceComposition() {
  HIMC context = ImmGetContext(hwnd_);
  if (context == nullptr) return;
  COMPOSITIONFORM form{};
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = CaretPoint();
  ImmSetCompositionWindow(context, &form);
  LOGFONT lf{};
  if (GetObject(font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT), sizeof(lf), &lf) != 0)
    ImmSetCompositionFont(context, &lf);
  ImmReleaseContext(hwnd_, context);
}

void EditState::Notify(UINT code) { NotifyParent(hwnd_, code); }

void EditState::Changed() {
  modified_ = true;
  DefWindowProc(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text_.c_str()));
  SyncHandle();
  Relayout();
  Notify(EN_UPDATE);
  ScrollToCaret();
  Redraw();
  PlaceCaret();
  Notify(EN_CHANGE);
}

std::string EditState::Filter(const std::string& in, bool cutAtBreak) const {
  std::string s = in;
  if (!Multi() && cutAtBreak) {
    size_t cut = s.find_first_of("\r\n");
    if (cut != std::string::npos) s.resize(cut);
  }
  if (style_ & (ES_UPPERCASE | ES_LOWERCASE)) {
    for (size_t i = 0; i < s.size(); i = NextCharacter(s, i)) {
      auto c = static_cast<unsigned char>(s[i]);
      if (c < 0x80) s[i] = static_cast<char>((style_ & ES_UPPERCASE) ? std::toupper(c) : std::tolower(c));
    }
  }
  return s;
}

bool EditState::Replace(const std::string& raw, bool canUndo, bool typed) {
  std::string insert = Filter(raw);
  DWORD from = SelMin(), to = SelMax();
  DWORD room = text_.size() - (to - from) >= limit_ ? 0 : limit_ - static_cast<DWORD>(text_.size() - (to - from));
  bool truncated = false;
  if (insert.size() > room) {
    insert.resize(CharacterStart(insert, room));  // whole characters only
    truncated = true;
  }
  if (insert.empty() && from == to) {
    if (truncated) Notify(EN_MAXTEXT);
    return false;
  }
  std::string before = text_;
  DWORD beforeAnchor = anchor_, beforeCaret = caret_;
  text_.replace(from, to - from, insert);
  Relayout();
  if (typed && !Fits()) {
    // Without automatic scrolling the user can type only what the control shows.
    text_ = before;
    Relayout();
    Notify(EN_MAXTEXT);
    return false;
  }
  if (truncated) Notify(EN_MAXTEXT);
  if (canUndo) {
    bool extends = typed && typingRun_ && from == to && from == typingEnd_;
    if (!extends) {
      undoText_ = before;
      undoAnchor_ = beforeAnchor;
      undoCaret_ = beforeCaret;
      canUndo_ = true;
    }
    typingRun_ = typed;
  } else {
    canUndo_ = false;
    typingRun_ = false;
  }
  anchor_ = caret_ = from + static_cast<DWORD>(insert.size());
  typingEnd_ = caret_;
  Changed();
  return true;
}

bool EditState::Fits() const {
  RECT fr = FormatRect();
  if (!Multi()) {
    if (style_ & ES_AUTOHSCROLL) return true;
    HDC dc = GetDC(hwnd_);
    int width;
    {
      FontSelection f(dc, font_);
      width = Width(dc, 0, static_cast<DWORD>(text_.size()));
    }
    ReleaseDC(hwnd_, dc);
    return width <= fr.right - fr.left;
  }
  if (style_ & ES_AUTOVSCROLL) return true;
  return static_cast<int>(lines_.size()) <= std::max(1, static_cast<int>((fr.bottom - fr.top) / lineHeight_));
}

void EditState::SetText(const std::string& text) {
  // The limit holds for what the user enters, not for text set by the program.
  text_ = Filter(text, false);
  anchor_ = caret_ = 0;
  xOffset_ = 0;
  firstLine_ = 0;
  modified_ = false;
  canUndo_ = false;
  typingRun_ = false;
  DefWindowProc(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text_.c_str()));
  SyncHandle();
  Relayout();
  Redraw();
  PlaceCaret();
}

HLOCAL EditState::TextHandle() {
  // Only a multi-line edit hands its text out as a block.
  if (!Multi()) return nullptr;
  if (handle_ == nullptr) handle_ = LocalAlloc(LMEM_MOVEABLE, text_.size() + 1);
  SyncHandle();
  return handle_;
}

void EditState::SyncHandle() {
  if (handle_ == nullptr) return;
  if (LocalSize(handle_) != text_.size() + 1) {
    HLOCAL grown = LocalReAlloc(handle_, text_.size() + 1, LMEM_MOVEABLE);
    if (grown == nullptr) return;
    handle_ = grown;
  }
  if (auto* bytes = static_cast<char*>(LocalLock(handle_))) {
    std::memcpy(bytes, text_.c_str(), text_.size() + 1);
    LocalUnlock(handle_);
  }
}

void EditState::SetSelection(DWORD anchor, DWORD caret, bool scroll) {
  DWORD n = static_cast<DWORD>(text_.size());
  anchor_ = CharStart(std::min(anchor, n));
  caret_ = CharStart(std::min(caret, n));
  typingRun_ = false;
  goalX_ = -1;
  if (scroll) ScrollToCaret();
  Redraw();
  PlaceCaret();
}

void EditState::MoveCaret(DWORD pos, bool extend) {
  DWORD anchor = extend ? anchor_ : pos;
  int goal = goalX_;
  SetSelection(anchor, pos);
  goalX_ = goal;
}

void EditState::Copy() {
  if (SelMin() == SelMax() || passwordChar_) return;
  std::string s = text_.substr(SelMin(), SelMax() - SelMin());
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
  if (mem == nullptr) return;
  std::memcpy(GlobalLock(mem), s.c_str(), s.size() + 1);
  GlobalUnlock(mem);
  if (!OpenClipboard(hwnd_)) {
    GlobalFree(mem);
    return;
  }
  EmptyClipboard();
  if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);
  CloseClipboard();
}

void EditState::Cut() {
  if (ReadOnly() || passwordChar_) return;
  Copy();
  Clear();
}

void EditState::Clear() {
  if (ReadOnly() || SelMin() == SelMax()) return;
  Replace("", true, false);
}

void EditState::Paste() {
  if (ReadOnly() || !OpenClipboard(hwnd_)) return;
  std::string s;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(data))) {
      s.assign(p, strnlen(p, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  if (!s.empty()) Replace(s, true, false);
}

// The clipboard and undo keys send the edit its own messages through its window procedure, so a
// program that subclasses the edit handles them as it handles the messages themselves.
void EditState::SendToSelf(UINT msg) { SendMessage(hwnd_, msg, 0, 0); }

void EditState::Undo() {
  if (!canUndo_ || ReadOnly()) return;
  std::string redo = text_;
  DWORD redoAnchor = anchor_, redoCaret = caret_;
  text_ = undoText_;
  anchor_ = CharStart(std::min<DWORD>(undoAnchor_, static_cast<DWORD>(text_.size())));
  caret_ = CharStart(std::min<DWORD>(undoCaret_, static_cast<DWORD>(text_.size())));
  undoText_ = redo;
  undoAnchor_ = redoAnchor;
  undoCaret_ = redoCaret;
  typingRun_ = false;
  Changed();
}

void EditState::Char(UINT ch) {
  BYTE b = static_cast<BYTE>(ch);
  if (pendingLead_) {
    char pair[2] = {static_cast<char>(pendingLead_), static_cast<char>(b)};
    pendingLead_ = 0;
    if (!ReadOnly()) Replace(std::string(pair, 2), true, true);
    return;
  }
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  switch (b) {
    case 0x03: SendToSelf(WM_COPY); return;   // Ctrl+C
    case 0x16: SendToSelf(WM_PASTE); return;  // Ctrl+V
    case 0x18: SendToSelf(WM_CUT); return;    // Ctrl+X
    case 0x1A: SendToSelf(WM_UNDO); return;   // Ctrl+Z
    case 0x08:
      if (ReadOnly()) return;
      if (SelMin() == SelMax()) {
        if (caret_ == 0) return;
        anchor_ = ctrl ? WordLeft(caret_) : PrevChar(caret_);
      }
      Replace("", true, false);
      return;
    case '\r':
    case '\n':
      // In a dialog, Enter without ES_WANTRETURN pressed the default button; Ctrl+Enter ('\n') breaks.
      if (Multi() && !ReadOnly() && !(b == '\r' && inDialog_ && !(style_ & ES_WANTRETURN)))
        Replace("\r\n", true, true);
      return;
    case '\t':
      if (Multi() && !ReadOnly() && !inDialog_) Replace("\t", true, true);
      return;
    case 0x1B:
      return;
  }
  if (b < 0x20 || ReadOnly()) return;
  if (IsDBCSLeadByte(b)) {
    pendingLead_ = b;
    return;
  }
  if ((style_ & ES_NUMBER) && !std::isdigit(b)) {
    MessageBeep(static_cast<UINT>(-1));
    return;
  }
  Replace(std::string(1, static_cast<char>(b)), true, true);
}

void EditState::ContextMenu(LPARAM at) {
  const HWND hwnd = hwnd_;
  if (GetFocus() != hwnd) SetFocus(hwnd);
  if (!IsWindow(hwnd)) return;
  POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  if (at == -1) {
    RECT r;
    GetWindowRect(hwnd, &r);
    p = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  const bool selected = SelMin() != SelMax(), hidden = passwordChar_ != 0;
  const bool all = SelMin() == 0 && SelMax() == text_.size();
  struct Entry {
    UINT command;  // the message the edit sends itself; 0 for a separator
    const char* text;
    bool enabled;
  } const entries[] = {
      {WM_UNDO, "&Undo", canUndo_ && !ReadOnly()},
      {0, nullptr, false},
      {WM_CUT, "Cu&t", selected && !hidden && !ReadOnly()},
      {WM_COPY, "&Copy", selected && !hidden},
      {WM_PASTE, "&Paste", !ReadOnly() && IsClipboardFormatAvailable(CF_TEXT)},
      {WM_CLEAR, "&Delete", selected && !ReadOnly()},
      {0, nullptr, false},
      {EM_SETSEL, "Select &All", !text_.empty() && !all},
  };
  HMENU menu = CreatePopupMenu();
  for (const Entry& e : entries)
    AppendMenu(menu, e.command == 0 ? MF_SEPARATOR : MF_STRING | (e.enabled ? MF_ENABLED : MF_GRAYED), e.command,
               e.text);
  // The edit owns the menu and is told of it as any owner is (WM_INITMENUPOPUP, WM_MENUSELECT,
  // WM_ENTERIDLE), so a program that subclasses the edit can change the menu or close it.
  const auto chosen = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, p.x, p.y, 0, hwnd, nullptr));
  DestroyMenu(menu);
  // The menu's loop ran other messages: the edit may be gone. An item someone else added to the
  // menu is not one of the edit's messages.
  const bool own = std::any_of(std::begin(entries), std::end(entries),
                               [chosen](const Entry& e) { return e.command != 0 && e.command == chosen; });
  if (!own || !IsWindow(hwnd)) return;
  if (chosen == EM_SETSEL)
    SendMessage(hwnd, EM_SETSEL, 0, -1);
  else
    SendMessage(hwnd, chosen, 0, 0);
}

bool EditState::DialogKey(UINT vk) {
  const HWND dialog = GetParent(hwnd_);
  if (!Multi() || !inDialog_ || dialog == nullptr) return false;
  switch (vk) {
    case VK_TAB:
      // Ctrl+Tab types the tab that Tab alone cannot.
      if (GetKeyState(VK_CONTROL) >= 0)
        SendMessage(dialog, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
      else if (!ReadOnly())
        Replace("\t", true, true);
      return true;
    case VK_RETURN: {
      // A read-only edit cannot take the line break, so Enter is the dialog's even with ES_WANTRETURN.
      // The edit presses the control the dialog names as its default, none when no such control
      // exists (IDOK when the dialog names none).
      if ((style_ & ES_WANTRETURN && !ReadOnly()) || GetKeyState(VK_CONTROL) < 0) return false;
      brambolt::PressDialogDefault(dialog, true);
      return true;
    }
    case VK_ESCAPE:
      PostMessage(dialog, WM_CLOSE, 0, 0);
      return true;
    default:
      return false;
  }
}

void EditState::KeyDown(UINT vk) {
  bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  DWORD n = static_cast<DWORD>(text_.size());
  auto lineMove = [&](int delta) {
    if (!Multi()) return;
    if (goalX_ < 0) goalX_ = XOf(caret_);
    int line = std::clamp(LineOf(caret_) + delta, 0, static_cast<int>(lines_.size()) - 1);
    RECT fr = FormatRect();
    POINT p{fr.left + goalX_ - xOffset_, fr.top + (line - firstLine_) * lineHeight_};
    int goal = goalX_;
    MoveCaret(PosFromPoint(p), shift);
    goalX_ = goal;
  };
  switch (vk) {
    case VK_LEFT:
      if (!shift && SelMin() != SelMax())
        MoveCaret(SelMin(), false);
      else
        MoveCaret(ctrl ? WordLeft(caret_) : PrevChar(caret_), shift);
      break;
    case VK_RIGHT:
      if (!shift && SelMin() != SelMax())
        MoveCaret(SelMax(), false);
      else
        MoveCaret(ctrl ? WordRight(caret_) : NextChar(caret_), shift);
      break;
    case VK_UP: lineMove(-1); break;
    case VK_DOWN: lineMove(1); break;
    case VK_PRIOR: lineMove(-VisibleLines()); break;
    case VK_NEXT: lineMove(VisibleLines()); break;
    case VK_HOME: {
      const Line& line = lines_[static_cast<size_t>(LineOf(caret_))];
      MoveCaret(ctrl ? 0 : line.start, shift);
      break;
    }
    case VK_END: {
      const Line& line = lines_[static_cast<size_t>(LineOf(caret_))];
      MoveCaret(ctrl ? n : line.start + line.length, shift);
      break;
    }
    case VK_DELETE:
      if (ReadOnly()) break;
      if (shift) {
        SendToSelf(WM_CUT);
      } else {
        if (SelMin() == SelMax()) {
          if (caret_ >= n) break;
          anchor_ = ctrl ? WordRight(caret_) : NextChar(caret_);
        }
        Replace("", true, false);
      }
      break;
    case VK_INSERT:
      if (ctrl) SendToSelf(WM_COPY);
      else if (shift) SendToSelf(WM_PASTE);
      break;
  }
}

void EditState::Scroll(int lines, int pixels) {
  int oldLine = firstLine_, oldX = xOffset_;
  if (Multi()) {
    int maxFirst = std::max(0, static_cast<int>(lines_.size()) - 1);
    firstLine_ = std::clamp(firstLine_ + lines, 0, maxFirst);
  }
  xOffset_ = std::max(0, xOffset_ + pixels);
  if (oldLine == firstLine_ && oldX == xOffset_) return;
  UpdateScrollBars();
  Redraw();
  PlaceCaret();
  if (oldLine != firstLine_) Notify(EN_VSCROLL);
  if (oldX != xOffset_) Notify(EN_HSCROLL);
}

void EditState::Paint(HDC hdc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  bool enabled = Enabled(hwnd_);
  UINT kind = (ReadOnly() || !enabled) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  HBRUSH brush = ParentBrush(hwnd_, hdc, kind);
  FillRect(hdc, &client, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
  COLORREF textColor = enabled ? GetTextColor(hdc) : GetSysColor(COLOR_GRAYTEXT);
  RECT fr = FormatRect();
  HRGN clip = CreateRectRgnIndirect(&fr);
  SelectClipRgn(hdc, clip);
  FontSelection f(hdc, font_);
  SetBkMode(hdc, TRANSPARENT);
  bool showSelection = focused_ || (style_ & ES_NOHIDESEL);
  DWORD s0 = SelMin(), s1 = SelMax();
  int last = std::min(static_cast<int>(lines_.size()), firstLine_ + VisibleLines() + 1);
  for (int i = Multi() ? firstLine_ : 0; i < last; ++i) {
    const Line& line = lines_[static_cast<size_t>(i)];
    int y = fr.top + (i - (Multi() ? firstLine_ : 0)) * lineHeight_;
    int x0 = fr.left - xOffset_ + Indent(hdc, line);
    std::string shown = Shown(line.start, line.length);
    SetTextColor(hdc, textColor);
    TabbedTextOut(hdc, x0, y, shown.c_str(), static_cast<int>(shown.size()), static_cast<int>(tabStops_.size()),
                  tabStops_.empty() ? nullptr : tabStops_.data(), x0);
    DWORD a = std::max(s0, line.start), b = std::min(s1, line.start + line.length);
    bool selectsBreak = s0 <= line.start + line.length && s1 > line.start + line.length && line.next > line.start + line.length;
    if (showSelection && s0 != s1 && (a < b || selectsBreak)) {
      int xa = x0 + Width(hdc, line.start, a - line.start);
      int xb = x0 + Width(hdc, line.start, std::max(a, b) - line.start);
      if (selectsBreak) xb += std::max(2, lineHeight_ / 4);
      RECT sel{xa, y, xb, y + lineHeight_};
      FillRect(hdc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
      if (b > a) {
        std::string part = Shown(a, b - a);
        SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        TabbedTextOut(hdc, xa, y, part.c_str(), static_cast<int>(part.size()), static_cast<int>(tabStops_.size()),
                      tabStops_.empty() ? nullptr : tabStops_.data(), x0);
      }
    }
  }
  SelectClipRgn(hdc, nullptr);
  DeleteObject(clip);
}

// ---- life cycle and window messages

void EditState::NcCreate() {
  // A plain border becomes the sunken client edge of the 3-D look; the text keeps the border's
  // inset only when no client edge was asked for as well.
  if (style_ & WS_BORDER) {
    border_ = !(GetWindowLong(hwnd_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    SetWindowLong(hwnd_, GWL_STYLE, static_cast<LONG>(style_ & ~WS_BORDER));
    SetWindowLong(hwnd_, GWL_EXSTYLE, GetWindowLong(hwnd_, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    style_ &= ~WS_BORDER;
  }
  // The password style is for single-line edits only.
  if ((style_ & ES_PASSWORD) && !Multi()) passwordChar_ = '*';
  bars_ = style_ & (WS_HSCROLL | WS_VSCROLL);
  lineHeight_ = LineHeight(font_);
}

void EditState::SetFont(HFONT font, bool redraw) {
  font_ = font;
  lineHeight_ = LineHeight(font_);
  Relayout();
  if (focused_) {
    CreateCaret(hwnd_, nullptr, 1, lineHeight_);
    PlaceCaret();
    ShowCaret(hwnd_);
  }
  if (redraw) Redraw();
}

void EditState::Focus(bool gained) {
  focused_ = gained;
  if (gained) {
    CreateCaret(hwnd_, nullptr, 1, lineHeight_);
    PlaceCaret();
    ShowCaret(hwnd_);
  } else {
    pendingLead_ = 0;
    DestroyCaret();
  }
  Redraw();
  Notify(gained ? EN_SETFOCUS : EN_KILLFOCUS);
}

// ---- mouse

void EditState::ButtonDown(UINT msg, WPARAM keys, POINT p) {
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  DWORD pos = PosFromPoint(p);
  if (msg == WM_LBUTTONDBLCLK) {
    DWORD start = pos, end = pos;
    while (start > 0 && IsWordByte(text_[PrevChar(start)])) start = PrevChar(start);
    while (end < text_.size() && IsWordByte(text_[end])) end = NextChar(end);
    SetSelection(start, end);
    return;
  }
  MoveCaret(pos, (keys & MK_SHIFT) != 0);
  selecting_ = true;
  SetCapture(hwnd_);
}

void EditState::MouseMove(POINT p) {
  if (selecting_ && GetCapture() == hwnd_) MoveCaret(PosFromPoint(p), true);
}

void EditState::ButtonUp() {
  if (!selecting_) return;
  selecting_ = false;
  if (GetCapture() == hwnd_) ReleaseCapture();
}

// ---- scrolling

void EditState::ScrollBarMessage(bool vertical, WORD code, int thumb) {
  int page = vertical ? VisibleLines() : std::max(1, static_cast<int>(FormatRect().right - FormatRect().left) / 2);
  int unit = vertical ? 1 : std::max(1, lineHeight_ / 2);
  int delta = 0;
  switch (code) {
    case SB_LINEUP: delta = -unit; break;
    case SB_LINEDOWN: delta = unit; break;
    case SB_PAGEUP: delta = -page; break;
    case SB_PAGEDOWN: delta = page; break;
    case SB_TOP: delta = vertical ? -firstLine_ : -xOffset_; break;
    case SB_BOTTOM: delta = vertical ? static_cast<int>(lines_.size()) : 0; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: delta = thumb - (vertical ? firstLine_ : xOffset_); break;
  }
  if (vertical)
    Scroll(delta, 0);
  else
    Scroll(0, delta);
}

// EM_SCROLL: the lines scrolled in the low word, TRUE in the high one; FALSE for another code.
LRESULT EditState::ScrollByCode(WPARAM code) {
  int before = firstLine_;
  switch (code) {
    case SB_LINEUP: Scroll(-1, 0); break;
    case SB_LINEDOWN: Scroll(1, 0); break;
    case SB_PAGEUP: Scroll(-VisibleLines(), 0); break;
    case SB_PAGEDOWN: Scroll(VisibleLines(), 0); break;
    default: return FALSE;
  }
  return MAKELONG(static_cast<WORD>(firstLine_ - before), TRUE);
}

// EM_LINESCROLL: lines down and characters (of the average width) across.
void EditState::ScrollLinesAndChars(int lines, int chars) {
  Scroll(lines, chars * static_cast<int>(MetricsOf(font_).tmAveCharWidth));
}

// ---- selection, format and lines

LRESULT EditState::GetSelectionMessage(DWORD* start, DWORD* end) const {
  DWORD a = SelMin(), b = SelMax();
  if (start) *start = a;
  if (end) *end = b;
  return (a > 0xFFFF || b > 0xFFFF) ? -1 : MAKELONG(a, b);
}

// EM_SETSEL: a start of -1 removes the selection; an end below 0 reaches the end of the text.
void EditState::SetSelectionMessage(int start, int end) {
  if (start == -1) {
    SetSelection(caret_, caret_);
    return;
  }
  DWORD a = static_cast<DWORD>(std::max(start, 0));
  DWORD b = end < 0 ? static_cast<DWORD>(text_.size()) : static_cast<DWORD>(end);
  SetSelection(a, b);
}

void EditState::SetFormatRect(const RECT* rect, bool redraw) {
  hasFormatRect_ = rect != nullptr;
  if (rect) formatRect_ = *rect;
  Relayout();
  if (redraw) Redraw();
}

LRESULT EditState::LineIndex(int line) const {
  if (line == -1) line = LineOf(caret_);
  if (line < 0 || line >= static_cast<int>(lines_.size())) return -1;
  return lines_[static_cast<size_t>(line)].start;
}

// EM_LINELENGTH: below 0, the unselected characters on the lines of the selection.
LRESULT EditState::LineLength(int index) const {
  if (index < 0) {
    if (SelMin() == SelMax()) return 0;
    const Line& a = lines_[static_cast<size_t>(LineOf(SelMin()))];
    const Line& b = lines_[static_cast<size_t>(LineOf(SelMax()))];
    return static_cast<LRESULT>((SelMin() - a.start) + (b.start + b.length - SelMax()));
  }
  if (static_cast<DWORD>(index) > text_.size()) return 0;
  return lines_[static_cast<size_t>(LineOf(static_cast<DWORD>(index)))].length;
}

LRESULT EditState::LineFromChar(int index) const {
  if (index < 0) return LineOf(SelMin());
  return LineOf(std::min(static_cast<DWORD>(index), static_cast<DWORD>(text_.size())));
}

// EM_GETLINE: the buffer's first word holds its size; the line is not terminated when it fills it.
// A single-line edit has its one line whatever line is asked for.
LRESULT EditState::GetLine(int line, LPSTR buffer) const {
  if (!Multi()) line = 0;
  if (buffer == nullptr || line < 0 || line >= static_cast<int>(lines_.size())) return 0;
  const WORD size = ReadLE16(ByteSpan(reinterpret_cast<const BYTE*>(buffer), 2));
  const Line& l = lines_[static_cast<size_t>(line)];
  DWORD n = std::min<DWORD>(l.length, size);
  std::memcpy(buffer, text_.data() + l.start, n);
  if (n < size) buffer[n] = 0;
  return n;
}

// EM_POSFROMCHAR: -1 for an index past the last character (the end of the text included).
LRESULT EditState::PosFromChar(DWORD index) const {
  if (index >= text_.size()) return -1;
  RECT fr = FormatRect();
  int line = LineOf(index);
  int x = fr.left + XOf(index) - xOffset_;
  int y = fr.top + (line - (Multi() ? firstLine_ : 0)) * lineHeight_;
  return MAKELONG(static_cast<short>(x), static_cast<short>(y));
}

// ---- look

// Tab stops in dialog units of the edit's font.
void EditState::SetTabStops(WPARAM count, const int* stops) {
  tabStops_.clear();
  SIZE base = DialogBaseUnitsOf(font_);
  for (WPARAM i = 0; i < count && stops; ++i) tabStops_.push_back(MulDiv(stops[i], base.cx, 4));
  Relayout();
  Redraw();
}

void EditState::SetPasswordChar(char ch) {
  passwordChar_ = ch;
  SetStyleBit(ES_PASSWORD, ch != 0);
  Relayout();
  Redraw();
}

void EditState::SetStyleBit(DWORD bit, bool on) {
  SetWindowLong(hwnd_, GWL_STYLE, static_cast<LONG>(on ? (style_ | bit) : (style_ & ~bit)));
}

void EditState::SetMargins(WPARAM which, int left, int right) {
  // Narrow margins from the font's metrics (EC_USEFONTINFO for both, or as either width); none
  // while no font has been set.
  const int fromFont = font_ == nullptr ? 0 : std::max(1, static_cast<int>(DialogBaseUnitsOf(font_).cx)) / 2;
  const auto width = [fromFont](int given) { return static_cast<WORD>(given) == EC_USEFONTINFO ? fromFont : given; };
  if (which == EC_USEFONTINFO) {
    leftMargin_ = rightMargin_ = fromFont;
  } else {
    if (which & EC_LEFTMARGIN) leftMargin_ = width(left);
    if (which & EC_RIGHTMARGIN) rightMargin_ = width(right);
  }
  Relayout();
  Redraw();
  PlaceCaret();
}

LRESULT EditState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  hwnd_ = hwnd;
  style_ = StyleOf(hwnd);
  LRESULT painted;
  if (HandlePaint(hwnd, msg, wParam, [this](HDC hdc) { Paint(hdc); }, &painted)) return painted;
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (msg) {
    case WM_NCCREATE:
      NcCreate();
      return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
      if (handle_) LocalFree(handle_);
      handle_ = nullptr;
      return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
      SetText(cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : "");
      return 0;
    }
    case WM_SIZE:
      Relayout();
      ScrollToCaret();
      Redraw();
      return 0;
    case WM_GETDLGCODE:
      // A multi-line edit takes every key and plays the dialog's part itself (DialogKey).
      if (lParam != 0) inDialog_ = true;
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (Multi() ? DLGC_WANTALLKEYS : 0);
    case WM_SETFONT:
      SetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT:
      SetText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
      if (!Multi()) {
        Notify(EN_UPDATE);
        Notify(EN_CHANGE);
      }
      return TRUE;
    case WM_GETTEXT:
      return CopyTextOut(text_, reinterpret_cast<LPSTR>(lParam), static_cast<size_t>(wParam));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(text_.size());
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Focus(msg == WM_SETFOCUS);
      return 0;
    case WM_ENABLE:
      Redraw();
      return 0;
    case WM_CHAR:
      Char(static_cast<UINT>(wParam));
      return 0;
    case WM_IME_STARTCOMPOSITION:
      PlaceComposition();
      break;
    case WM_KEYDOWN:
      if (!DialogKey(static_cast<UINT>(wParam))) KeyDown(static_cast<UINT>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ButtonDown(msg, wParam, point);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(point);
      return 0;
    case WM_LBUTTONUP:
      ButtonUp();
      return 0;
    case WM_CAPTURECHANGED:
      selecting_ = false;
      return 0;
    case WM_CONTEXTMENU:
      // The parents have the first say; the edit's own menu comes when none of them takes it.
      if (ContextMenuUnclaimed(hwnd, wParam, lParam)) ContextMenu(lParam);
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      ScrollBarMessage(msg == WM_VSCROLL, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      if (Multi()) Scroll(-3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA, 0);
      return 0;

    case WM_COPY:
      Copy();
      return 0;
    case WM_CUT:
      Cut();
      return 0;
    case WM_PASTE:
      Paste();
      return 0;
    case WM_CLEAR:
      Clear();
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      // EM_UNDO always succeeds in a single-line edit, with or without something to undo.
      if (!canUndo_) return msg == EM_UNDO && !Multi() ? TRUE : FALSE;
      Undo();
      return TRUE;
    case EM_CANUNDO:
      return canUndo_ ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
      canUndo_ = false;
      typingRun_ = false;
      return 0;

    case EM_GETSEL:
      return GetSelectionMessage(reinterpret_cast<DWORD*>(wParam), reinterpret_cast<DWORD*>(lParam));
    case EM_SETSEL:
      SetSelectionMessage(static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case EM_REPLACESEL:
      Replace(lParam ? reinterpret_cast<LPCSTR>(lParam) : "", wParam != 0, false);
      return 0;
    case EM_GETRECT:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = FormatRect();
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
      SetFormatRect(reinterpret_cast<const RECT*>(lParam), msg == EM_SETRECT);
      return 0;
    case EM_SCROLL:
      return ScrollByCode(wParam);
    case EM_LINESCROLL:
      if (!Multi()) return FALSE;
      ScrollLinesAndChars(static_cast<int>(lParam), static_cast<int>(wParam));
      return TRUE;
    case EM_SCROLLCARET:
      ScrollToCaret();
      PlaceCaret();
      return TRUE;
    case EM_GETMODIFY:
      return modified_ ? TRUE : FALSE;
    case EM_SETMODIFY:
      modified_ = wParam != 0;
      return 0;
    case EM_GETLINECOUNT:
      return static_cast<LRESULT>(lines_.size());
    case EM_LINEINDEX:
      return LineIndex(static_cast<int>(wParam));
    case EM_LINELENGTH:
      return LineLength(static_cast<int>(wParam));
    case EM_LINEFROMCHAR:
      return LineFromChar(static_cast<int>(wParam));
    case EM_GETLINE:
      return GetLine(static_cast<int>(wParam), reinterpret_cast<LPSTR>(lParam));
    case EM_LIMITTEXT:
      limit_ = wParam ? static_cast<DWORD>(wParam) : (Multi() ? 0xFFFFFFFF : 0x7FFFFFFE);
      return 0;
    case EM_GETLIMITTEXT:
      return limit_;
    case EM_FMTLINES:
      return wParam;
    case EM_SETTABSTOPS:
      if (!Multi()) return FALSE;
      SetTabStops(wParam, reinterpret_cast<const int*>(lParam));
      return TRUE;
    case EM_SETPASSWORDCHAR:
      if (!Multi()) SetPasswordChar(static_cast<char>(wParam));
      return 0;
    case EM_GETPASSWORDCHAR:
      return static_cast<BYTE>(passwordChar_);
    case EM_GETFIRSTVISIBLELINE:
      if (Multi()) return firstLine_;
      return static_cast<LRESULT>(PosFromPoint(POINT{FormatRect().left, FormatRect().top}));
    case EM_SETREADONLY:
      SetStyleBit(ES_READONLY, wParam != 0);
      Redraw();
      return TRUE;
    case EM_SETMARGINS:
      SetMargins(wParam, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 0;
    case EM_GETMARGINS:
      return MAKELONG(leftMargin_, rightMargin_);
    case EM_POSFROMCHAR:
      return PosFromChar(static_cast<DWORD>(wParam));
    case EM_CHARFROMPOS: {
      DWORD pos = PosFromPoint(point);
      return MAKELONG(static_cast<WORD>(pos), static_cast<WORD>(LineOf(pos)));
    }
    case EM_GETHANDLE:
      return reinterpret_cast<LRESULT>(TextHandle());
    case EM_SETHANDLE:
      return 0;
    case EM_GETTHUMB:
      return Multi() ? firstLine_ : xOffset_;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterEditClass() {
  RegisterControlClass(WC_EDIT, ControlProc<EditState>, CS_DBLCLKS, IDC_IBEAM, -1);
}

}  // namespace brambolt::ctl
