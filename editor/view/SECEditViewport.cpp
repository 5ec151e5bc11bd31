// The editor viewport: coordinates on the character grid, painting of lines, runs, selection,
// whitespace glyphs, the blank fill and the gutter, and the repaint each notification asks for.
#include "editor/view/SECEditViewport.h"

#include "editor/ctl/SECEditFindReplaceDlg.h"
#include "editor/model/SECEdit.h"
#include "foundation/SECMemDC.h"

using kelpwood::foundation::IMessage;
using kelpwood::foundation::ISubject;
using kelpwood::foundation::MvcViewport;

SECEditViewport::SECEditViewport() { m_nMapMode = MM_TEXT; }

SECEditViewport::~SECEditViewport() { delete m_pGutterBrush; }

BOOL SECEditViewport::CreateController() {
  SetController(new SECEditController, TRUE);
  return m_pController != nullptr;
}

BOOL SECEditViewport::OnInitialize() {
  if (m_pController == nullptr && !CreateController()) return FALSE;
  if (!MvcViewport::OnInitialize()) return FALSE;
  delete m_pGutterBrush;
  m_pGutterBrush = new CBrush;
  CBitmap bitmap;
  if (!bitmap.LoadBitmap(IDB_SECEDIT_GUTTER)) return TRUE;
  // The pattern takes the DC's text and background colours only as a one-bit bitmap.
  BITMAP info{};
  bitmap.GetBitmap(&info);
  if (info.bmBitsPixel == 1) {
    m_pGutterBrush->CreatePatternBrush(&bitmap);
    return TRUE;
  }
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(&bitmap);
  BYTE rows[8][2] = {};  // rows padded to 16 bits, the leftmost pixel in the high bit
  for (int y = 0; y < 8 && y < info.bmHeight; ++y)
    for (int x = 0; x < 8 && x < info.bmWidth; ++x)
      if (dc.GetPixel(x, y) == RGB(255, 255, 255)) rows[y][0] |= static_cast<BYTE>(0x80 >> x);
  dc.SelectObject(old);
  CBitmap mono;
  if (mono.CreateBitmap(8, 8, 1, 1, rows)) m_pGutterBrush->CreatePatternBrush(&mono);
  return TRUE;
}

// ---- coordinates ----

int SECEditViewport::GetCharWidth() {
  SECEditFontInfo* info = GetFontInfo();
  return info != nullptr ? info->m_nFontWidth : 0;
}

int SECEditViewport::GetLineHeight() {
  SECEditFontInfo* info = GetFontInfo();
  return info != nullptr ? info->m_nLineHeight : 0;
}

CSize SECEditViewport::GetVirtualSize() {
  SECEdit* model = GetEditModel();
  if (model == nullptr || GetFontInfo() == nullptr) return CSize(0, 0);
  return CSize(model->GetMaxLineLength() * GetCharWidth(), model->GetLineCount() * GetLineHeight());
}

CPoint SECEditViewport::SetLogOrigin(int x, int y) {
  const int width = GetCharWidth(), height = GetLineHeight();
  if (width > 0) x -= x % width;
  if (height > 0) y -= y % height;
  return MvcViewport::SetLogOrigin(std::max(0, x), std::max(0, y));
}

void SECEditViewport::LPtoDP(RECT* rect) { LPtoDP(reinterpret_cast<POINT*>(rect), 2); }

void SECEditViewport::LPtoDP(POINT* points, int n) {
  const CPoint origin = GetLogOrigin();
  for (int i = 0; i < n; ++i) {
    points[i].x -= origin.x;
    points[i].y -= origin.y;
  }
}

void SECEditViewport::DPtoLP(RECT* rect) { DPtoLP(reinterpret_cast<POINT*>(rect), 2); }

void SECEditViewport::DPtoLP(POINT* points, int n) {
  const CPoint origin = GetLogOrigin();
  for (int i = 0; i < n; ++i) {
    points[i].x += origin.x;
    points[i].y += origin.y;
  }
}

CPoint SECEditViewport::OffsetOrigin(int dx, int dy) {
  if (dx != 0 || dy != 0) {
    const CPoint origin = GetLogOrigin();
    SetLogOrigin(origin.x + dx, origin.y + dy);
  }
  return GetLogOrigin();
}

CRect SECEditViewport::Scroll(int dx, int dy) {
  MvcViewport::Scroll(dx, dy);
  return GetVisibleLogRect();
}

BOOL SECEditViewport::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (MvcViewport::OnWndMsg(message, wParam, lParam, pResult)) return TRUE;
  if (m_pController != nullptr && message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL)
    return m_pController->OnWndMsg(message, wParam, lParam, pResult);
  return FALSE;
}

// ---- the parts ----

SECEditFontInfo* SECEditViewport::GetFontInfo() {
  SECEdit* model = GetEditModel();
  return model != nullptr ? model->GetFontInfo() : nullptr;
}

SECEdit* SECEditViewport::GetEditModel() { return static_cast<SECEdit*>(m_pModel); }

SECEditController* SECEditViewport::GetEditController() { return static_cast<SECEditController*>(m_pController); }

ISECEditLangConfig* SECEditViewport::GetLangConfig() {
  SECEdit* model = GetEditModel();
  return model != nullptr ? model->GetLangConfig() : nullptr;
}

ISECEditPresentationState* SECEditViewport::GetPresentationState() { return GetEditController(); }

// ---- painting ----

namespace {

// A group's colours with automatic ones taken from the text group, whose own automatic colours
// are the system's window colours.
void ResolveColours(ISECEditLangConfig* cfg, SECEditColorInfo* group, COLORREF* fore, COLORREF* back) {
  SECEditColorInfo* text = cfg->GetStandardColorInfo(0);
  const COLORREF textFore = text == nullptr || text->m_bForeAuto ? ::GetSysColor(COLOR_WINDOWTEXT) : text->m_clrFore;
  const COLORREF textBack = text == nullptr || text->m_bBackAuto ? ::GetSysColor(COLOR_WINDOW) : text->m_clrBack;
  *fore = group == nullptr || group->m_bForeAuto ? textFore : group->m_clrFore;
  *back = group == nullptr || group->m_bBackAuto ? textBack : group->m_clrBack;
}

}  // namespace

void SECEditViewport::FillBackground(CDC* pDC, const RECT* rect, COLORREF colour) { pDC->FillSolidRect(rect, colour); }

CSize SECEditViewport::OutputText(CDC* pDC, int tabWidth, int x, int y, int lineLeft, LPCTSTR text, int count,
                                  COLORREF fore, COLORREF back) {
  // The cell is filled first, so that the gaps tabs leave get the background too. Tab stops
  // count from the tab origin, so a run's width depends on where it starts.
  const int tab = std::max(1, tabWidth);
  const int origin = lineLeft - GetLogOrigin().x;
  const int left = lineLeft + x;
  int pos = left - origin;
  for (int i = 0; i < count;) {
    int j = i;
    while (j < count && text[j] != '\t') ++j;
    if (j > i) pos += pDC->GetTextExtent(text + i, j - i).cx;
    if (j < count) pos = (pos / tab + 1) * tab;
    i = j + 1;
  }
  const CSize size(pos - (left - origin), GetLineHeight());
  pDC->FillSolidRect(left, y, size.cx, size.cy, back);
  pDC->SetTextColor(fore);
  pDC->SetBkMode(TRANSPARENT);
  int stops = tab;
  pDC->TabbedTextOut(left, y, text, count, 1, &stops, origin);
  return size;
}

CSize SECEditViewport::DrawTextRun(CDC* pDC, int tabWidth, int x, int y, int lineLeft, LPCTSTR text, int count, int column,
                                   int line, SECEditColorInfo* colours, BOOL bShowWhitespace, BOOL bSelected, int selFirst,
                                   int selLast) {
  if (count <= 0) return CSize(0, GetLineHeight());
  if (bShowWhitespace) {
    int k = 0;
    while (k < count && text[k] != ' ' && text[k] != '\t') ++k;
    if (k < count) {
      int width = 0;
      if (k > 0)
        width += DrawTextRun(pDC, tabWidth, x, y, lineLeft, text, k, column, line, colours, FALSE, bSelected, selFirst,
                             selLast).cx;
      const int cell = DrawTextRun(pDC, tabWidth, x + width, y, lineLeft, text + k, 1, column + k, line, colours, FALSE,
                                   bSelected, selFirst, selLast).cx;
      SECEdit* model = GetEditModel();
      const char glyph = model != nullptr ? model->GetWhitespaceMark(text[k] == '\t') : '.';
      DrawTextRun(pDC, tabWidth, x + width, y, lineLeft, &glyph, 1, column + k, line, colours, FALSE, bSelected, selFirst,
                  selLast);
      width += cell;
      if (k + 1 < count)
        width += DrawTextRun(pDC, tabWidth, x + width, y, lineLeft, text + k + 1, count - k - 1, column + k + 1, line,
                             colours, TRUE, bSelected, selFirst, selLast).cx;
      return CSize(width, GetLineHeight());
    }
  }
  ISECEditLangConfig* cfg = GetLangConfig();
  if (cfg == nullptr) return CSize(0, 0);
  COLORREF fore = 0, back = 0;
  if (bSelected && column < selLast && column + count > selFirst) {
    if (column < selFirst) {
      const int head = selFirst - column;
      const int w = DrawTextRun(pDC, tabWidth, x, y, lineLeft, text, head, column, line, colours, FALSE, FALSE, selFirst,
                                selLast).cx;
      return CSize(w + DrawTextRun(pDC, tabWidth, x + w, y, lineLeft, text + head, count - head, selFirst, line, colours,
                                   FALSE, TRUE, selFirst, selLast).cx,
                   GetLineHeight());
    }
    if (column + count > selLast) {
      const int head = selLast - column;
      const int w = DrawTextRun(pDC, tabWidth, x, y, lineLeft, text, head, column, line, colours, FALSE, TRUE, selFirst,
                                selLast).cx;
      return CSize(w + DrawTextRun(pDC, tabWidth, x + w, y, lineLeft, text + head, count - head, selLast, line, colours,
                                   FALSE, FALSE, selFirst, selLast).cx,
                   GetLineHeight());
    }
    SECEditColorInfo* selection = cfg->GetStandardColorInfo(1);
    fore = selection != nullptr ? selection->m_clrFore : ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    back = selection != nullptr ? selection->m_clrBack : ::GetSysColor(COLOR_HIGHLIGHT);
  } else {
    ResolveColours(cfg, colours, &fore, &back);
  }
  return OutputText(pDC, tabWidth, x, y, lineLeft, text, count, fore, back);
}

void SECEditViewport::Draw(CDC* pDC) {
  pDC->SetMapMode(MM_TEXT);
  pDC->SetWindowOrg(0, 0);
  pDC->SetViewportOrg(0, 0);
  SECEdit* model = GetEditModel();
  SECEditFontInfo* info = GetFontInfo();
  ISECEditLangConfig* cfg = GetLangConfig();
  ISECEditPresentationState* state = GetPresentationState();
  if (model == nullptr || info == nullptr || info->m_fonts.empty() || cfg == nullptr) return;
  const int lineHeight = info->m_nLineHeight;
  if (lineHeight <= 0) return;
  const CPoint origin = GetLogOrigin();
  const CRect visible = GetVisibleLogRect();
  CRect device = visible;
  LPtoDP(static_cast<RECT*>(&device));
  const int gutter = state != nullptr ? state->GetGutterWidth() : 0;

  CRect clip0;
  pDC->GetClipBox(&clip0);
  pDC->ExcludeClipRect(0, 0, gutter, visible.Height());
  CRect clip;
  pDC->GetClipBox(&clip);
  DPtoLP(static_cast<RECT*>(&clip));
  const int first = std::max(0, clip.top / lineHeight);
  const int last = std::min(clip.bottom / lineHeight, model->GetLineCount() - 1);

  CFont* oldFont = pDC->SelectObject(info->m_fonts.front());
  const BOOL showWhitespace = cfg->GetShowWhitespace();
  const int tabSize = std::max(1, cfg->GetTabSize());
  const int blank = std::max(1, info->m_nBlankWidth);
  const int tabWidth = showWhitespace ? (tabSize - 1) * blank + info->m_nTabMarkWidth : tabSize * blank;

  CWnd* wnd = GetWindow();
  const BOOL focused = wnd != nullptr && wnd->GetSafeHwnd() != nullptr && ::GetFocus() == wnd->GetSafeHwnd();
  // The selection shows in the focused view, in a view that keeps its look, and in the view
  // whose find dialog is open.
  _SEC_FIND_REPLACE_STATE* find = state != nullptr ? state->GetFindReplaceState() : nullptr;
  const BOOL selecting = state != nullptr && state->HasSelection() &&
                         (state->IsSelectionKeptActive() || focused || (find != nullptr && find->m_pOwner == this));
  const int mode = state != nullptr ? state->GetSelectionMode() : SECEDIT_SEL_STREAM;
  int sl = 0, sc = 0, el = -1, ec = 0;
  SECEditLineColPair pair;
  if (selecting) {
    state->GetSelectionRange(sl, sc, el, ec, FALSE);
    state->GetSelectionPair(pair, TRUE);
  }
  SECEditColorInfo* textColours = cfg->GetStandardColorInfo(0);
  CString blanks;

  for (int n = first; n <= last; ++n) {
    CString buf;
    LPTSTR text = nullptr;
    int length = model->GetLine(n, &buf, &text);
    if (length < 0 || text == nullptr) {
      length = 0;
      text = const_cast<LPTSTR>("");
    }
    const int y = n * lineHeight - origin.y;
    int x = -origin.x;
    int a = 0, b = 0;
    BOOL s = FALSE;
    const bool inSelection = selecting && n >= sl && n <= el;
    if (inSelection) {
      if (mode == SECEDIT_SEL_STREAM || mode == SECEDIT_SEL_LINES) {
        a = n > sl ? 0 : sc;
        b = n < el ? length : ec;
        s = !(n == el && ec == 0);
      } else if (mode == SECEDIT_SEL_COLUMN) {
        s = state->GetColumnRange(n, &a, &b);
      }
    }
    // The runs of colour, or the whole line in the text group.
    SECEditLineColor* runs = model->GetLineColor(n);
    const SECEditTextColor whole{0, cfg->GetStandardGroupIndex(0)};
    const SECEditTextColor* run = &whole;
    INT_PTR runCount = 1;
    if (runs != nullptr && runs->GetSize() > 0) {
      run = runs->GetData();
      runCount = runs->GetSize();
    }
    const WORD firstGroup = run[0].m_wGroup;
    int c = 0;
    for (INT_PTR i = 0; i < runCount && c < length; ++i) {
      const int count = run[i].m_wLength == 0 ? length - c : std::min<int>(run[i].m_wLength, length - c);
      if (gutter + x >= device.right) break;
      const BOOL selected = s && c < b && c + count > a;
      x += DrawTextRun(pDC, tabWidth, x, y, gutter, text + c, count, c, n, cfg->GetColorInfo(run[i].m_wGroup),
                       showWhitespace, selected, a, b)
               .cx;
      c += count;
    }
    // The rest of the row in blanks: before the selection, highlight, selected, plain.
    if (gutter + x >= device.right) continue;
    const int nb = (device.right - gutter - x) / blank + 1;
    int p = 0, h = 0, q = 0;
    bool pFromStart = false;
    if (inSelection && mode == SECEDIT_SEL_COLUMN && s && a > length) {
      p = a - length;
    } else if (inSelection && (mode == SECEDIT_SEL_STREAM || mode == SECEDIT_SEL_LINES) && n == el && n == sl &&
               pair.m_start.m_nCol > length) {
      p = pair.m_start.m_nCol - length;
      pFromStart = true;
    }
    if (model->HasLineMark(n, SECEDIT_MARK_HIGHLIGHT)) h = nb;
    if (inSelection && (mode == SECEDIT_SEL_STREAM || mode == SECEDIT_SEL_LINES)) {
      if (n < el)
        q = cfg->GetVirtualWhitespace() ? nb : 1;
      else if (pair.m_end.m_nCol > length)
        q = pFromStart ? pair.m_end.m_nCol - pair.m_start.m_nCol : pair.m_end.m_nCol - length;
    } else if (inSelection && mode == SECEDIT_SEL_COLUMN && s) {
      if (a >= length)
        q = b - a;
      else if (b > length)
        q = b - length;
    }
    const int r = p + q < nb ? nb - h - std::max(0, q) - p : 0;
    auto fill = [&](int count, SECEditColorInfo* colours, BOOL selected) {
      if (count <= 0) return;
      if (blanks.GetLength() < count) blanks = CString(' ', count);
      x += DrawTextRun(pDC, tabWidth, x, y, gutter, blanks, count, 0, n, colours, FALSE, selected, 0, count).cx;
    };
    fill(p, textColours, FALSE);
    fill(h, cfg->GetColorInfo(firstGroup), FALSE);
    fill(q, textColours, TRUE);
    fill(r, textColours, FALSE);
  }
  if ((last + 1) * lineHeight < visible.bottom) {
    COLORREF fore = 0, back = 0;
    ResolveColours(cfg, textColours, &fore, &back);
    const CRect below(gutter, (last + 1) * lineHeight - origin.y, device.right, device.bottom);
    FillBackground(pDC, &below, back);
  }
  if (selecting && mode == SECEDIT_SEL_COLUMN_DRAG) DrawDragSelection(pDC);
  pDC->SelectObject(oldFont);
  if (gutter > 0) DrawGutter(clip0);
}

void SECEditViewport::DrawDragSelection(CDC* pDC) {
  ISECEditPresentationState* state = GetPresentationState();
  CRect rect;
  if (state == nullptr || !state->GetDragRect(&rect)) return;
  LPtoDP(static_cast<RECT*>(&rect));
  pDC->InvertRect(&rect);
}

// ---- the gutter ----

void SECEditViewport::DrawGutterBackground(CDC* pDC, const RECT* rect) {
  pDC->SetBkColor(RGB(255, 255, 255));
  pDC->SetTextColor(::GetSysColor(COLOR_SCROLLBAR));
  if (m_pGutterBrush != nullptr && m_pGutterBrush->GetSafeHandle() != nullptr) {
    pDC->FillRect(rect, m_pGutterBrush);
    return;
  }
  pDC->FillSolidRect(rect, ::GetSysColor(COLOR_SCROLLBAR));
  pDC->MoveTo(rect->right - 1, rect->top);
  pDC->LineTo(rect->right - 1, rect->bottom);
}

void SECEditViewport::DrawGutter(CRect) {
  SECEditController* ctl = GetEditController();
  SECEdit* model = GetEditModel();
  CWnd* wnd = GetWindow();
  const int lineHeight = GetLineHeight();
  if (ctl == nullptr || model == nullptr || wnd == nullptr || wnd->GetSafeHwnd() == nullptr || lineHeight <= 0) return;
  const int gutter = ctl->GetGutterWidth();
  const CRect visible = GetVisibleLogRect();
  const int first = std::max(0, visible.top / lineHeight);
  const int last = std::min(visible.bottom / lineHeight, model->GetLineCount() - 1);
  CClientDC client(wnd);
  CRect r;
  wnd->GetClientRect(&r);
  const CRect area(r.left, r.top, r.left + gutter, r.bottom);
  kelpwood::foundation::SECMemDC mem(&client, area);
  DrawGutterBackground(&mem, &area);
  CRect cell(area.left, r.top, area.right, r.top + lineHeight);
  const BOOL marksFirst = ctl->GetGutterStyle() == SECEDIT_GUTTER_MARKS_NUMBERS;
  for (int line = first; line <= last; ++line) {
    CRect numbers = cell, marks = cell;
    if (marksFirst) {
      numbers.left = area.left + ctl->GetMarkMarginWidth();
      marks.right = numbers.left;
    } else {
      numbers.right = area.left + ctl->GetLineNumberMarginWidth();
      marks.left = numbers.right;
    }
    DrawLineNumber(line, &mem, numbers);
    DrawLineMarks(line, &mem, marks);
    cell.OffsetRect(0, lineHeight);
  }
}

void SECEditViewport::DrawLineMarks(int line, CDC* pDC, CRect cell) {
  DrawMarkUnder(line, pDC, cell);
  DrawBookmarkMark(line, pDC, cell);
  DrawCircleMark(line, pDC, cell);
  DrawMarkOver(line, pDC, cell);
}

void SECEditViewport::DrawLineNumber(int line, CDC* pDC, CRect cell) {
  SECEditController* ctl = GetEditController();
  if (ctl == nullptr) return;
  const UINT style = ctl->GetGutterStyle();
  if (style == SECEDIT_GUTTER_NONE || style == SECEDIT_GUTTER_MARKS) return;
  SECEditFontInfo* info = ctl->GetFontInfo();
  CFont* old = info != nullptr && !info->m_fonts.empty() ? pDC->SelectObject(info->m_fonts.front()) : nullptr;
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF oldColour = pDC->SetTextColor(ctl->GetLineNumberColor());
  const int height = info != nullptr ? info->m_nLineHeight : 0;
  CString text;
  // Lines are numbered from 1, as the status text counts them.
  ctl->FormatLineNumber(text, line + 1);
  pDC->TextOut(cell.left, cell.top + (cell.Height() - height) / 2, text);
  pDC->SetTextColor(oldColour);
  pDC->SetBkMode(oldMode);
  if (old != nullptr) pDC->SelectObject(old);
}

void SECEditViewport::DrawBookmarkMark(int line, CDC* pDC, CRect cell) {
  SECEdit* model = GetEditModel();
  if (model == nullptr || !model->HasLineMark(line, SECEDIT_MARK_BOOKMARK)) return;
  CBrush brush(RGB(0, 255, 255));
  CBrush* oldBrush = pDC->SelectObject(&brush);
  CGdiObject* oldPen = pDC->SelectStockObject(BLACK_PEN);
  pDC->RoundRect(cell.left, cell.top, cell.right - 1, cell.bottom, 6, 6);
  pDC->SelectObject(oldPen);
  pDC->SelectObject(oldBrush);
}

void SECEditViewport::DrawCircleMark(int line, CDC* pDC, CRect cell) {
  SECEdit* model = GetEditModel();
  if (model == nullptr || !model->HasLineMark(line, SECEDIT_MARK_F9)) return;
  int d = std::min(cell.Width(), cell.Height()) - 3;
  if (d % 2 == 0) ++d;
  if (d <= 3) return;
  CRect box(cell.left, cell.top, cell.left + d, cell.top + d);
  box.OffsetRect(2, 1);
  if (cell.Height() > cell.Width()) box.OffsetRect(0, (cell.Height() - d) / 2 - 1);
  const COLORREF colour = RGB(128, 0, 0);
  CBrush brush(colour);
  CPen pen(PS_SOLID, 1, colour);
  CBrush* oldBrush = pDC->SelectObject(&brush);
  CPen* oldPen = pDC->SelectObject(&pen);
  pDC->Ellipse(&box);
  pDC->SelectObject(oldPen);
  pDC->SelectObject(oldBrush);
}

// ---- notifications ----

void SECEditViewport::InvalidateLineRange(int first, int last) {
  const int lineHeight = GetLineHeight();
  CRect rect = GetVisibleLogRect();
  rect.top = first * lineHeight;
  if (last != -1) rect.bottom = (last + 1) * lineHeight;
  LPtoDP(static_cast<RECT*>(&rect));
  if (last == -1) rect.bottom = std::max(rect.bottom, GetSize().cy);
  InvalidateRect(&rect, FALSE);
}

void SECEditViewport::RepaintAll() {
  if (m_pWnd != nullptr && m_pWnd->GetSafeHwnd() != nullptr) Invalidate(TRUE, FALSE);
  UpdateScrollBars();
}

void SECEditViewport::OnUpdate(ISubject* subject, IMessage* msg) {
  const bool hasWindow = m_pWnd != nullptr && m_pWnd->GetSafeHwnd() != nullptr;
  if (msg == nullptr) {
    RepaintAll();
    return;
  }
  switch (msg->GetTypeID()) {
    case SECEDIT_MSG_GUTTER:
      if (hasWindow) {
        const CRect rect(0, 0, GetPresentationState() != nullptr ? GetPresentationState()->GetGutterWidth() : 0,
                         m_rcBounds.Height());
        InvalidateRect(&rect, FALSE);
      }
      return;
    case SECEDIT_MSG_PAINT: {
      auto* paint = static_cast<SECEditPaintMsg*>(msg);
      InvalidateLineRange(paint->m_nFirstLine, paint->m_nLastLine);
      return;
    }
    case SECEDIT_MSG_COMPOSITE:
      for (kelpwood::foundation::CMvcCommand* cmd : static_cast<SECEditCompositeCommand*>(msg)->Commands())
        OnUpdate(subject, cmd);
      return;
    default:
      break;
  }
  ISECEditPresentationState* state = GetPresentationState();
  if (state == nullptr) return;
  state->OnUpdate(subject, msg);
  switch (msg->GetTypeID()) {
    case SECEDIT_MSG_INIT_CONTROLLER:
      UpdateScrollBars();
      if (hasWindow) Invalidate(TRUE, FALSE);
      break;
    case SECEDIT_MSG_REPLACE_SET:
      UpdateScrollBars();
      RepaintAll();
      break;
    case SECEDIT_MSG_COMMAND:
      if (hasWindow) {
        const SECEditLineColPair range = static_cast<SECEditCommand*>(msg)->Normalized();
        if (range.m_start.m_nLine == range.m_end.m_nLine) {
          SECEditPaintMsg paint(range.m_start.m_nLine, range.m_start.m_nLine);
          OnUpdate(nullptr, &paint);
        } else {
          SECEditPaintMsg paint(range.m_start.m_nLine, -1);
          OnUpdate(nullptr, &paint);
          UpdateScrollBars();
        }
      }
      break;
    default:
      RepaintAll();
      break;
  }
}
