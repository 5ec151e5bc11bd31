// The editor controller's clipboard: the text a selection stands for, the data source that
// carries it (plus the column-block format for a column selection), copy, cut and paste, and the
// pasting of a column block row by row at one horizontal place.
#include <algorithm>
#include <cstring>

#include "editor/ctl/SECEditController.h"
#include "editor/model/SECEdit.h"
#include "editor/view/SECEditViewport.h"
#include "ole/COleDataObject.h"
#include "ole/COleDataSource.h"

namespace {

// Registered once: its presence on the clipboard marks the text as a column block.
const CLIPFORMAT g_cfColumnSelect = static_cast<CLIPFORMAT>(::RegisterClipboardFormat("MSDEVColumnSelect"));

// A shared block with the text's bytes and a terminating zero, sized in steps of 4096 bytes.
HGLOBAL MakeTextBlock(const CString& text) {
  const SIZE_T needed = static_cast<SIZE_T>(text.GetLength()) + 1;
  const SIZE_T size = (needed + 4095) / 4096 * 4096;
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, size);
  if (block == nullptr) return nullptr;
  void* bytes = ::GlobalLock(block);
  if (bytes == nullptr) {
    ::GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, static_cast<LPCTSTR>(text), static_cast<size_t>(text.GetLength()));
  ::GlobalUnlock(block);
  return block;
}

}  // namespace

CString& SECEditController::GetSelectedText(CString& out) {
  out.Empty();
  SECEdit* model = GetEditModel();
  if (model == nullptr || !CanReplaceInSelection()) return out;
  if (m_selection.GetMode() == SECEDIT_SEL_COLUMN) {
    const CString terminator = LineTerminator();
    CString row;
    for (int line = m_selection.GetMin().m_nLine; line <= m_selection.GetMax().m_nLine; ++line) {
      int first = 0, last = 0;
      if (GetColumnRange(line, &first, &last)) {
        const int length = LineLength(line);
        last = std::min(last, length);
        if (first <= length && first < last && model->GetText(&row, line, first, line, last)) out += row;
      }
      out += terminator;
    }
    return out;
  }
  int sl = 0, sc = 0, el = 0, ec = 0;
  if (GetSelectionRange(sl, sc, el, ec, FALSE)) model->GetText(&out, sl, sc, el, ec);
  return out;
}

COleDataSource* SECEditController::CreateDataSource() { return new COleDataSource; }

COleDataSource* SECEditController::CreateSelectionDataSource() {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return nullptr;
  CString text;
  if (CanReplaceInSelection()) {
    GetSelectedText(text);
  } else {
    const int line = m_caret.m_nLine;
    if (line < model->GetLastLine())
      model->GetText(&text, line, 0, line + 1, 0);
    else
      model->GetText(&text, line, 0, line, LineLength(line));
  }
  const SECEditLineCol& a = m_selection.GetStart();
  const SECEditLineCol& b = m_selection.GetEnd();
  // A selection wholly in virtual space beyond the line end stands for blanks.
  if (text.IsEmpty() && a.m_nLine == b.m_nLine && a.m_nCol != b.m_nCol)
    text = CString(' ', std::abs(a.m_nCol - b.m_nCol));
  if (text.IsEmpty()) return nullptr;
  HGLOBAL block = MakeTextBlock(text);
  if (block == nullptr) return nullptr;
  COleDataSource* source = CreateDataSource();
  if (m_selection.GetMode() == SECEDIT_SEL_COLUMN) {
    if (HGLOBAL column = MakeTextBlock(text)) source->CacheGlobalData(g_cfColumnSelect, column);
  }
  source->CacheGlobalData(CF_TEXT, block);
  return source;
}

BOOL SECEditController::Copy() {
  if (COleDataSource* source = CreateSelectionDataSource()) {
    source->SetClipboard();
    return TRUE;
  }
  // Nothing to copy empties the clipboard, but a copy that could not get its memory leaves the
  // user's clipboard as it was.
  CString text;
  if (CanReplaceInSelection() ? !GetSelectedText(text).IsEmpty() : LineLength(m_caret.m_nLine) > 0) {
    ::MessageBeep(MB_OK);
    return FALSE;
  }
  if (::OpenClipboard(m_hWnd)) {
    ::EmptyClipboard();
    ::CloseClipboard();
  }
  return TRUE;
}

BOOL SECEditController::Cut() {
  if (IsReadOnly() || IsTrackingMouse()) return FALSE;
  Copy();
  ReplaceSelection("", FALSE);
  return TRUE;
}

BOOL SECEditController::Paste() {
  if (IsReadOnly() || IsTrackingMouse()) return FALSE;
  COleDataObject data;
  if (!data.AttachClipboard()) return FALSE;
  CString text;
  BOOL column = FALSE;
  if (!ReadDataObjectText(&data, text, column)) return FALSE;
  ReplaceSelection(text, column);
  return TRUE;
}

BOOL SECEditController::ReadDataObjectText(COleDataObject* pData, CString& text, BOOL& bColumn) {
  text.Empty();
  bColumn = FALSE;
  if (pData == nullptr) return FALSE;
  FORMATETC format{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (!pData->GetData(CF_TEXT, &medium, &format)) return FALSE;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr) {
    // A block from another program may lack its terminator: read no further than the block.
    const SIZE_T size = ::GlobalSize(medium.hGlobal);
    if (const auto* bytes = static_cast<const char*>(::GlobalLock(medium.hGlobal))) {
      const void* zero = std::memchr(bytes, 0, size);
      const size_t length = zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : size;
      text = CString(bytes, static_cast<int>(length));
      ::GlobalUnlock(medium.hGlobal);
    }
  }
  ::ReleaseStgMedium(&medium);
  bColumn = pData->IsDataAvailable(g_cfColumnSelect);
  // Pasted or dropped text takes this text's line ends (a column block is cut into rows instead).
  SECEdit* model = GetEditModel();
  if (!bColumn && model != nullptr) text = model->WithBreakText(text);
  return TRUE;
}

BOOL SECEditController::InsertColumnBlock(const SECEditLineColPair& pos, const CString& text) {
  SECEdit* model = GetEditModel();
  if (model == nullptr || IsReadOnly()) return FALSE;
  GroupBracket group(this);
  CPoint point;
  PositionToPoint(point, pos.m_start);
  const int lineHeight = std::max(1, LineHeight());
  const CString terminator = LineTerminator();
  // Positions past a line's end stay where the point is: short lines are padded up to it.
  const BOOL wasVirtual = m_bPositioningVirtual;
  m_bPositioningVirtual = TRUE;
  LPCTSTR p = text;
  LPCTSTR end = p + text.GetLength();
  while (p < end) {
    LPCTSTR lf = static_cast<LPCTSTR>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    // A last row without a line end (from another program) is pasted too.
    int length = static_cast<int>((lf != nullptr ? lf : end) - p);
    if (length > 0 && p[length - 1] == '\r') --length;
    CPoint target = point;
    SECEditLineCol at;
    PointToPosition(target, at, TRUE);
    InsertTextPadded(at.m_nLine, at.m_nCol, CString(p, length), length);
    if (lf == nullptr) break;
    if (at.m_nLine >= model->GetLastLine()) model->InsertTextAt(at.m_nLine, LineLength(at.m_nLine), terminator, -1);
    point.y += lineHeight;
    p = lf + 1;
  }
  m_bPositioningVirtual = wasVirtual;
  return TRUE;
}
