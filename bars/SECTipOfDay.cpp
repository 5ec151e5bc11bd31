// SECTipOfDay: reading tips line by line (an over-long line keeps its first 511 characters and
// still counts as one tip), moving between them, and painting the tip frame.
#include "bars/SECTipOfDay.h"

#include <climits>
#include <cstring>

#include "bars/SECDialogHelp.h"

IMPLEMENT_DYNAMIC(SECTipOfDay, CDialog)

namespace {

// Reads one line of the tips file; false at its end. The line end ("\n", "\r\n") is dropped
// when there is one, and nothing else.
bool ReadTipLine(CStdioFile& file, CString& line) {
  if (!file.ReadString(line)) return false;
  while (!line.IsEmpty() && (line[line.GetLength() - 1] == '\n' || line[line.GetLength() - 1] == '\r'))
    line = line.Left(line.GetLength() - 1);
  return true;
}

}  // namespace

BEGIN_MESSAGE_MAP(SECTipOfDay, CDialog)
  ON_BN_CLICKED(SECTipOfDay::kNextTip, OnNextTip)
  ON_BN_CLICKED(SECTipOfDay::kPreviousTip, OnPreviousTip)
  ON_BN_CLICKED(SECTipOfDay::kShowAtStartup, OnShowAtStartup)
  ON_BN_CLICKED(SECTipOfDay::kOK, OnOKButton)
  ON_BN_CLICKED(SECTipOfDay::kHelp, OnHelpButton)
  ON_WM_PAINT()
END_MESSAGE_MAP()

SECTipOfDay::SECTipOfDay(LPCTSTR lpszTipsFile, int nStartTip, BOOL bShowAtStartup, UINT nIconID, CWnd* pParent)
    : CDialog(IDD, pParent),
      m_bShowAtStartup(bShowAtStartup),
      m_nCurrentTip(nStartTip),
      m_nNumTips(CountTips(lpszTipsFile)),
      m_strTipsFile(lpszTipsFile),
      m_strHeading("Did you know..."),
      m_nIconID(nIconID) {}

int SECTipOfDay::CountTips(LPCTSTR lpszTipsFile) {
  CStdioFile file;
  if (!file.Open(lpszTipsFile, CFile::modeRead | CFile::typeText | CFile::shareDenyNone)) return -1;
  int count = 0;
  CString line;
  while (ReadTipLine(file, line)) ++count;
  return count;
}

int SECTipOfDay::NextTip(UINT nStored) {
  return nStored >= static_cast<UINT>(INT_MAX) ? 1 : static_cast<int>(nStored) + 1;
}

void SECTipOfDay::ReadTip(int nTip) {
  if (m_nNumTips < 0) return;
  if (nTip < 1) nTip = m_nNumTips;
  if (nTip > m_nNumTips) nTip = 1;
  m_nCurrentTip = nTip;
  m_szTip[0] = '\0';
  CStdioFile file;
  if (nTip < 1 || !file.Open(m_strTipsFile, CFile::modeRead | CFile::typeText | CFile::shareDenyNone)) return;
  CString line;
  for (int i = 0; i < nTip; ++i)
    if (!ReadTipLine(file, line)) return;
  std::strncpy(m_szTip, line, kTipBufferSize - 1);
  m_szTip[kTipBufferSize - 1] = '\0';
}

void SECTipOfDay::InvalidateTipText() {
  if (m_hWnd != nullptr) InvalidateRect(&m_rcTipText, FALSE);
}

BOOL SECTipOfDay::ReadShowAtStartup(CWnd* pDialog) {
  CWnd* check = pDialog->GetDlgItem(kShowAtStartup);
  return check != nullptr && check->SendMessage(BM_GETCHECK) == BST_CHECKED;
}

BOOL SECTipOfDay::OnInitDialog() {
  CDialog::OnInitDialog();
  CheckDlgButton(kShowAtStartup, m_bShowAtStartup ? BST_CHECKED : BST_UNCHECKED);
  const CRect frame = TipFrame();
  m_rcTipText.SetRect(frame.left + 10, frame.top + 56, frame.right - 10, frame.bottom - 10);
  ReadTip(m_nCurrentTip);
  return TRUE;
}

void SECTipOfDay::OnNextTip() {
  ReadTip(NextTip(static_cast<UINT>(m_nCurrentTip)));
  InvalidateTipText();
}

void SECTipOfDay::OnPreviousTip() {
  // Before the first tip comes the last one (ReadTip takes 0 as the last).
  ReadTip(m_nCurrentTip > 1 ? m_nCurrentTip - 1 : 0);
  InvalidateTipText();
}

void SECTipOfDay::OnShowAtStartup() { m_bShowAtStartup = ReadShowAtStartup(this); }

void SECTipOfDay::OnOKButton() { OnOK(); }

CRect SECTipOfDay::TipFrame() {
  CRect frame(0, 0, 0, 0);
  if (CWnd* control = GetDlgItem(kTipFrame)) {
    control->GetWindowRect(&frame);
    ScreenToClient(&frame);
  }
  frame.DeflateRect(5, 10);
  frame.OffsetRect(0, 5);
  return frame;
}

void SECTipOfDay::OnPaint() {
  CPaintDC dc(this);
  const CRect frame = TipFrame();
  m_rcTipText.SetRect(frame.left + 10, frame.top + 56, frame.right - 10, frame.bottom - 10);
  CRect paint = dc.m_ps.rcPaint;
  const bool textOnly = paint.left >= m_rcTipText.left && paint.top >= m_rcTipText.top &&
                        paint.right <= m_rcTipText.right && paint.bottom <= m_rcTipText.bottom;
  if (m_fontBody.GetSafeHandle() == nullptr)
    m_fontBody.CreateFont(17, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
  if (m_fontHeading.GetSafeHandle() == nullptr)
    m_fontHeading.CreateFont(19, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
  const int oldMode = dc.SetBkMode(TRANSPARENT);
  if (textOnly) {
    dc.FillSolidRect(&m_rcTipText, RGB(255, 255, 255));
  } else {
    dc.FillSolidRect(&frame, RGB(255, 255, 255));
    CBrush outline(::GetSysColor(COLOR_3DSHADOW));
    dc.FrameRect(&frame, &outline);
    if (m_nIconID != 0) {
      HICON icon = ::LoadIcon(AfxFindResourceHandle(MAKEINTRESOURCE(m_nIconID), RT_GROUP_ICON),
                              MAKEINTRESOURCE(m_nIconID));
      if (icon != nullptr) dc.DrawIcon(frame.left + 10, frame.top + 10, icon);
    }
    CFont* old = dc.SelectObject(&m_fontHeading);
    CRect heading(frame.left + 50, frame.top + 26, frame.right - 10, frame.bottom - 10);
    dc.DrawText(m_strHeading, &heading, DT_WORDBREAK);
    dc.SelectObject(old);
  }
  CFont* old = dc.SelectObject(&m_fontBody);
  CRect text = m_rcTipText;
  dc.DrawText(m_szTip, static_cast<int>(std::strlen(m_szTip)), &text, DT_WORDBREAK);
  dc.SelectObject(old);
  dc.SetBkMode(oldMode);
}

void SECTipOfDay::OnHelpButton() { SECShowDialogHelp(IDD); }
