// The editor controller's searches through the whole text, each showing progress and taking a
// cancel when it runs long: Find Next through a large text in pieces; Replace All and Mark All,
// which gather their matches on the text as it is, then change the model once (a Replace All is
// one edit of the model: one undo step, one repaint), so a cancelled one changes nothing.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "afx/CWinApp.h"
#include "editor/SECEditRegExp.h"
#include "editor/ctl/SECEditController.h"
#include "editor/ctl/SECEditSearchProgress.h"
#include "editor/model/SECEdit.h"
#include "ole/COleException.h"

namespace {

void Report(UINT id, const CString& argument) {
  CString text;
  AfxFormatString1(text, id, argument);
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

// The count of replacements is news, not a warning: a plain box. The framework gives a box
// without icon bits an exclamation icon; a user icon that names no icon shows none.
void ReportCount(UINT id, int count) {
  CString format, text;
  format.LoadString(id);
  text.Format(format, count);
  AfxMessageBox(text, MB_OK | MB_USERICON);
}

}  // namespace

long long SECEditController::SearchDistance(SECEditLineCol from, SECEditLineCol to, BOOL bForward) {
  ISECEditBuffer* buffer = GetEditModel()->GetBuffer();
  const SECEditLineCol end = GetEditModel()->GetEndPosition();
  const long long total = std::max(1, buffer->LineColToOffset(end.m_nLine, end.m_nCol));
  const long long distance = bForward ? buffer->LineColToOffset(to.m_nLine, to.m_nCol) - buffer->LineColToOffset(from.m_nLine, from.m_nCol)
                                      : buffer->LineColToOffset(from.m_nLine, from.m_nCol) - buffer->LineColToOffset(to.m_nLine, to.m_nCol);
  return (distance % total + total) % total;
}

int SECEditController::FindThroughText(_SEC_FIND_REPLACE_STATE* state, SECEditLineCol from, SECEditLineCol* match,
                                       BOOL* cancelled) {
  // Pieces this large take a few milliseconds each.
  constexpr int kPiece = 4 << 20;
  *cancelled = FALSE;
  SECEdit* model = GetEditModel();
  ISECEditBuffer* buffer = model->GetBuffer();
  const SECEditLineCol endPos = model->GetEndPosition();
  const int total = buffer->LineColToOffset(endPos.m_nLine, endPos.m_nCol);
  // A regular expression runs in one piece (the engine takes the text from where it starts), and
  // so does a text short enough to take no time.
  if (state->m_bRegExp || total <= 2 * kPiece) return FindMatch(state, from, state->m_bNext, state->m_bRegExp, match, nullptr);
  const BOOL down = state->m_bNext;
  const int origin = buffer->LineColToOffset(from.m_nLine, from.m_nCol);
  auto at = [buffer](int offset) {
    int line = 0, col = 0;
    buffer->OffsetToLineCol(offset, &line, &col);
    return SECEditLineCol(line, col);
  };
  // Down: from the start to the end, then from the top back to the start; up the other way round.
  const int ranges[2][2] = {{origin, down ? total : 0}, {down ? 0 : total, origin}};
  SECEditSearchProgress progress(m_hWnd, "Find");
  long long done = 0;
  for (const auto& range : ranges) {
    for (int p = range[0]; down ? p < range[1] : p > range[1];) {
      if (!progress.Continue(done, total)) {
        *cancelled = TRUE;
        return 0;
      }
      const int q = down ? std::min(range[1], p + kPiece) : std::max(range[1], p - kPiece);
      const SECEditLineCol stop = at(q);
      if (const int length = FindMatch(state, at(p), down, FALSE, match, &stop)) return length;
      done += down ? q - p : p - q;
      p = q;
    }
  }
  return 0;
}

BOOL SECEditController::GatherMatches(_SEC_FIND_REPLACE_STATE* state, SECEditLineCol from, BOOL bRegExp,
                                      const SECEditLineColPair* scope, std::vector<SECEditLineColPair>* matches,
                                      SECEditSearchProgress* progress) {
  SECEdit* model = GetEditModel();
  const BOOL down = state->m_bNext;
  const SECEditLineCol start = from;
  const long long total = std::max(1, model->GetBuffer()->LineColToOffset(model->GetLastLine(), LineLength(model->GetLastLine())));
  SECEditLineColPair first(-1, -1, -1, -1);
  SECEditLineCol previous(-1, -1);
  BOOL wrapped = FALSE;
  // Every step moves on through the text; the bound only guards against a search that does not.
  for (long long step = 0; step <= total + 1; ++step) {
    if (!progress->Continue(SearchDistance(start, from, down), total)) return FALSE;
    SECEditLineCol match;
    const int length = FindMatch(state, from, down, bRegExp, &match, nullptr);
    if (length == 0) break;
    const SECEditLineCol end = MatchEnd(match.m_nLine, match.m_nCol, length);
    // In the selection, a match past its end or (after wrapping) before its start ends the run.
    if (scope != nullptr && (scope->m_end < end || match < scope->m_start)) break;
    if (first.m_start.m_nLine < 0) {
      first = SECEditLineColPair(match, end);
    } else {
      if (!wrapped && (down ? match < from : from < match)) {
        wrapped = TRUE;
        previous = SECEditLineCol(-1, -1);
      }
      // Round the end of the text, the run stops before the first match (or one overlapping it).
      if (wrapped && (down ? first.m_start < end : match < first.m_end)) break;
    }
    // Searching up, a match that reaches into the one met before it is passed over.
    if (down || previous.m_nLine < 0 || !(previous < end)) {
      matches->emplace_back(match, end);
      previous = match;
    }
    from = down ? end : match;
  }
  return TRUE;
}

int SECEditController::FirstTooLongReplacement(const std::vector<SECEditReplacement>& edits, const std::string& texts,
                                               const std::vector<int>& visit) {
  SECEdit* model = GetEditModel();
  ISECEditBuffer* buffer = model->GetBuffer();
  const SECEditLineCol endPos = model->GetEndPosition();
  LPTSTR text = nullptr;
  const int length = buffer->GetPointer(&text, 0, 0, endPos.m_nLine, endPos.m_nCol);
  const char lineEnd = buffer->GetLineEndChar1();
  const int maxLength = model->GetMaxLineLength();
  int worst = -1;
  std::string line;
  std::vector<size_t> members;
  // One line as it would become, with the replacements on it: the first of them is the answer
  // when the line is too long.
  auto measure = [&] {
    size_t visible = line.size();
    while (visible > 0 && (line[visible - 1] == '\r' || line[visible - 1] == '\n')) --visible;
    line.resize(visible);
    const bool tooLong = visible > static_cast<size_t>(maxLength) &&
                         model->ConvertStringColumn(static_cast<int>(visible), FALSE, line.c_str()) > maxLength;
    if (tooLong)
      for (size_t m : members) worst = worst < 0 ? visit[m] : std::min(worst, visit[m]);
    line.clear();
  };
  auto append = [&](const char* p, size_t n, size_t member) {
    for (const char* nl; (nl = static_cast<const char*>(std::memchr(p, lineEnd, n))) != nullptr;) {
      line.append(p, static_cast<size_t>(nl - p));
      measure();
      members.assign(1, member);
      n -= static_cast<size_t>(nl + 1 - p);
      p = nl + 1;
    }
    line.append(p, n);
  };
  for (size_t i = 0; i < edits.size();) {
    // From the start of the line the replacement is on.
    int lineStart = edits[i].offset;
    while (lineStart > 0 && text[lineStart - 1] != lineEnd) --lineStart;
    line.assign(text + lineStart, static_cast<size_t>(edits[i].offset - lineStart));
    members.clear();
    for (;;) {
      members.push_back(i);
      append(texts.data() + edits[i].textAt, static_cast<size_t>(edits[i].size), i);
      const int pos = edits[i].offset + edits[i].length;
      ++i;
      const char* rest = text + pos;
      const int restLength = (i < edits.size() ? edits[i].offset : length) - pos;
      const char* nl = static_cast<const char*>(std::memchr(rest, lineEnd, static_cast<size_t>(restLength)));
      if (i < edits.size() && nl == nullptr) {
        line.append(rest, static_cast<size_t>(restLength));
        continue;
      }
      const char* lineEndAt = nl != nullptr ? nl : static_cast<const char*>(std::memchr(rest, lineEnd, static_cast<size_t>(length - pos)));
      line.append(rest, static_cast<size_t>((lineEndAt != nullptr ? lineEndAt : text + length) - rest));
      measure();
      break;
    }
  }
  return worst;
}

BOOL SECEditController::ReplaceAll(_SEC_FIND_REPLACE_STATE* state) {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return FALSE;
  if (IsReadOnly()) {
    Report(IDS_SECEDIT_READONLY, state->m_strFind);
    return FALSE;
  }
  const BOOL inSelection = state->m_bInSelection && HasSelection();
  SECEditLineCol from = HasSelection() ? m_selection.GetMin() : m_caret;
  from.m_nCol = std::min(from.m_nCol, LineLength(from.m_nLine));
  const SECEditLineColPair scope(from, inSelection ? m_selection.GetMax() : SECEditLineCol());
  std::vector<SECEditLineColPair> matches;
  {
    SECEditSearchProgress progress(m_hWnd, "Replace All");
    if (!GatherMatches(state, from, state->m_bRegExp, inSelection ? &scope : nullptr, &matches, &progress)) return FALSE;
  }
  if (matches.empty()) {
    Report(IDS_SECEDIT_FINISHED, state->m_strFind);
    return FALSE;
  }
  // The replacements in text order, each knowing when the search met it.
  ISECEditBuffer* buffer = model->GetBuffer();
  std::vector<int> order(matches.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::vector<int> offsets(matches.size());
  for (size_t i = 0; i < matches.size(); ++i)
    offsets[i] = buffer->LineColToOffset(matches[i].m_start.m_nLine, matches[i].m_start.m_nCol);
  std::sort(order.begin(), order.end(), [&](int a, int b) { return offsets[a] < offsets[b]; });
  std::vector<SECEditReplacement> edits;
  std::vector<int> visit;
  edits.reserve(matches.size());
  visit.reserve(matches.size());
  std::string texts;
  std::unique_ptr<SECEditRegExp> regExp;
  if (state->m_bRegExp) {
    regExp = std::make_unique<SECEditRegExp>();
    if (!regExp->Create()) regExp.reset();
    if (regExp) {
      regExp->SetPattern(state->m_strFind);
      regExp->SetIgnoreCase(!state->m_bCase);
    }
  } else {
    texts.assign(state->m_strReplace, static_cast<size_t>(state->m_strReplace.GetLength()));
  }
  for (int i : order) {
    const SECEditLineColPair& m = matches[static_cast<size_t>(i)];
    const int end = buffer->LineColToOffset(m.m_end.m_nLine, m.m_end.m_nCol);
    SECEditReplacement edit{offsets[static_cast<size_t>(i)], end - offsets[static_cast<size_t>(i)], 0,
                            state->m_strReplace.GetLength()};
    if (state->m_bRegExp) {
      CString matched, replacement = state->m_strReplace;
      model->GetText(&matched, m.m_start.m_nLine, m.m_start.m_nCol, m.m_end.m_nLine, m.m_end.m_nCol);
      if (regExp && regExp->Replace(matched, state->m_strReplace, FALSE)) replacement = matched;
      edit.textAt = static_cast<int>(texts.size());
      edit.size = replacement.GetLength();
      texts.append(replacement, static_cast<size_t>(replacement.GetLength()));
    }
    // A match the search met again (the same text after wrapping) is replaced once.
    if (!edits.empty() && edit.offset < edits.back().offset + edits.back().length) continue;
    edits.push_back(edit);
    visit.push_back(i);
  }
  // A line that would grow past the maximum keeps the replacements met before its first one.
  const int tooLong = FirstTooLongReplacement(edits, texts, visit);
  if (tooLong >= 0) {
    size_t kept = 0;
    for (size_t i = 0; i < edits.size(); ++i)
      if (visit[i] < tooLong) {
        edits[kept] = edits[i];
        visit[kept++] = visit[i];
      }
    edits.resize(kept);
    visit.resize(kept);
  }
  // The caret goes to where the last replacement met stands after the change.
  int last = -1;
  long long caretOffset = 0, shift = 0;
  for (size_t i = 0; i < edits.size(); ++i) {
    if (visit[i] > last) {
      last = visit[i];
      caretOffset = edits[i].offset + shift;
    }
    shift += edits[i].size - edits[i].length;
  }
  const int count = static_cast<int>(edits.size());
  if (count > 0 && !model->ReplaceRanges(std::move(edits), std::move(texts))) return FALSE;
  if (count > 0) {
    int line = 0, col = 0;
    buffer->OffsetToLineCol(static_cast<int>(caretOffset), &line, &col);
    ClearSelection(TRUE);
    SetCaretPos(line, col, FALSE);
    EnsureCaretVisible();
  }
  if (tooLong >= 0) {
    ReportLineTooLong();
    return FALSE;
  }
  ReportCount(inSelection ? IDS_SECEDIT_REPLACED_SELECTION : IDS_SECEDIT_REPLACED_DOCUMENT, count);
  return TRUE;
}

BOOL SECEditController::MarkAll(_SEC_FIND_REPLACE_STATE* state) {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return FALSE;
  SECEditLineCol start = m_caret;
  if (HasSelection()) start = state->m_bNext ? m_selection.GetMin() : m_selection.GetMax();
  start.m_nCol = std::min(start.m_nCol, LineLength(start.m_nLine));
  SECEditLineCol from = start;
  const long long total = std::max(1, model->GetBuffer()->LineColToOffset(model->GetLastLine(), LineLength(model->GetLastLine())));
  std::vector<int> lines;
  {
    SECEditSearchProgress progress(m_hWnd, "Mark All");
    // Every line is marked at most once: the walk ends where it began or on the first line again.
    for (int guard = 0; guard <= model->GetLineCount(); ++guard) {
      if (!progress.Continue(SearchDistance(start, from, state->m_bNext), total)) return FALSE;
      SECEditLineCol match;
      if (FindMatch(state, from, state->m_bNext, FALSE, &match, &start) == 0) break;
      if (!lines.empty() && match.m_nLine == lines.front()) break;
      lines.push_back(match.m_nLine);
      if (state->m_bNext) {
        const int next = match.m_nLine + 1;
        from = SECEditLineCol(next > model->GetLastLine() ? 0 : next, 0);
      } else {
        const int previous = match.m_nLine > 0 ? match.m_nLine - 1 : model->GetLastLine();
        from = SECEditLineCol(previous, LineLength(previous));
      }
    }
  }
  if (lines.empty()) {
    CString text;
    text.Format("Cannot find the string '%s'.", static_cast<LPCTSTR>(state->m_strFind));
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  model->SetLineMarks(lines, SECEDIT_MARK_BOOKMARK);
  model->UpdateAllObservers(nullptr, nullptr);
  ClearSelection(TRUE);
  SetCaretPos(lines.front(), 0, FALSE);
  EnsureCaretVisible();
  return TRUE;
}
