// The font and colour dialog: copies of the configuration's groups edited through colour wells
// and "Automatic" boxes, the font chosen through the font dialog, and a sample drawn in them.
#include "editor/ctl/SECEditFontSizeDlg.h"

#include "afx/CFontDialog.h"
#include "afx/DataExchange.h"

namespace {

int ScreenPixelsPerInch() {
  HDC dc = ::GetDC(nullptr);
  const int dpi = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc != nullptr) ::ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

BEGIN_MESSAGE_MAP(SECEditFontSizeDlg, CDialog)
  ON_LBN_SELCHANGE(1000, OnSelChange)
  ON_BN_CLICKED(1027, OnAutomatic)
  ON_BN_CLICKED(1028, OnAutomatic)
  ON_MESSAGE(SEC_WM_COLORCHANGED, OnWellColor)
  ON_BN_CLICKED(1006, OnResetAll)
  ON_BN_CLICKED(1008, OnChooseFont)
  ON_WM_PAINT()
END_MESSAGE_MAP()

SECEditFontSizeDlg::SECEditFontSizeDlg(CWnd* pParent) : CDialog(IDD_SECEDIT_FONTSIZE, pParent) {}

SECEditFontSizeDlg::~SECEditFontSizeDlg() {
  if (m_pConfig != nullptr) m_pConfig->Release();
}

void SECEditFontSizeDlg::SetConfiguration(ISECEditLangConfig* cfg, const LOGFONT& lf) {
  if (m_pConfig != nullptr || !m_groups.empty() || cfg == nullptr) return;
  cfg->AddRef();
  m_pConfig = cfg;
  m_lf = lf;
  LoadFromConfiguration();
}

void SECEditFontSizeDlg::LoadFromConfiguration() {
  ISECEditLangConfig* cfg = m_pConfig;
  lstrcpyn(m_lf.lfFaceName, cfg->GetFontFaceName(), LF_FACESIZE);
  m_lf.lfHeight = -MulDiv(cfg->GetFontSize(), ScreenPixelsPerInch(), 72);
  m_lf.lfItalic = cfg->GetFontItalic() ? 1 : 0;
  m_lf.lfWeight = cfg->GetFontBold() ? FW_BOLD : FW_NORMAL;
  m_groups.clear();
  for (int i = 0; i < cfg->GetColorGroupCount(); ++i)
    if (SECEditColorInfo* group = cfg->GetColorInfo(i); group != nullptr) m_groups.push_back(*group);
  m_nTextGroup = cfg->GetStandardGroupIndex(0);
  m_nSelectionGroup = cfg->GetStandardGroupIndex(1);
}

void SECEditFontSizeDlg::ApplyToConfiguration(ISECEditLangConfig* cfg) {
  if (cfg == nullptr) return;
  cfg->SetFontFaceName(m_lf.lfFaceName);
  cfg->SetFontSize(GetPointSize());
  cfg->SetFontItalic(m_lf.lfItalic != 0);
  cfg->SetFontBold(m_lf.lfWeight >= FW_BOLD);
  for (int i = 0; i < static_cast<int>(m_groups.size()) && i < cfg->GetColorGroupCount(); ++i)
    if (SECEditColorInfo* group = cfg->GetColorInfo(i); group != nullptr) *group = m_groups[static_cast<size_t>(i)];
}

int SECEditFontSizeDlg::GetPointSize() const { return MulDiv(std::abs(m_lf.lfHeight), 72, ScreenPixelsPerInch()); }

SECEditColorInfo* SECEditFontSizeDlg::GetSelectedGroup() {
  CListBox* list = GetSafeHwnd() != nullptr ? List() : nullptr;
  if (list == nullptr || list->GetCurSel() < 0) return nullptr;
  return GetGroup(static_cast<int>(list->GetItemData(list->GetCurSel())));
}

BOOL SECEditFontSizeDlg::OnInitDialog() {
  if (m_pConfig == nullptr) return FALSE;
  CDialog::OnInitDialog();
  for (size_t i = 0; i < m_groups.size(); ++i) {
    if (!m_groups[i].m_bConfigurable) continue;
    const int item = List()->AddString(m_groups[i].m_strName);
    List()->SetItemData(item, i);
  }
  m_wellFore.SubclassDlgItem(1025, this);
  m_wellBack.SubclassDlgItem(1026, this);
  for (kelpwood::foundation::SECWellButton* well : {&m_wellFore, &m_wellBack}) {
    well->SetOtherButton(FALSE);
    well->SetPaletteMode(FALSE);
  }
  if (List()->GetCount() > 0) List()->SetCurSel(0);
  SyncGroup(FALSE);
  UpdateFontTexts();
  return TRUE;
}

void SECEditFontSizeDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_LBString(pDX, 1000, m_strSelected);
}

void SECEditFontSizeDlg::SyncGroup(BOOL bFromControls) {
  SECEditColorInfo* g = GetSelectedGroup();
  CWnd* controls[] = {GetDlgItem(1025), GetDlgItem(1026), GetDlgItem(1027), GetDlgItem(1028)};
  if (g == nullptr) {
    for (CWnd* control : controls)
      if (control != nullptr) control->EnableWindow(FALSE);
    return;
  }
  if (!bFromControls) {
    for (CWnd* box : {controls[2], controls[3]})
      if (box != nullptr) box->EnableWindow(TRUE);
    m_wellFore.EnableWindow(!g->m_bForeAuto);
    m_wellBack.EnableWindow(!g->m_bBackAuto);
    if (!g->m_bForeAuto && m_wellFore.GetColor() != g->m_clrFore) m_wellFore.SetColor(g->m_clrFore);
    if (!g->m_bBackAuto && m_wellBack.GetColor() != g->m_clrBack) m_wellBack.SetColor(g->m_clrBack);
    m_crLastFore = g->m_clrFore;
    m_crLastBack = g->m_clrBack;
    CheckDlgButton(1027, g->m_bForeAuto ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(1028, g->m_bBackAuto ? BST_CHECKED : BST_UNCHECKED);
    DrawSample();
    return;
  }
  g->m_bForeAuto = IsDlgButtonChecked(1027) == BST_CHECKED;
  g->m_bBackAuto = IsDlgButtonChecked(1028) == BST_CHECKED;
  if (!g->m_bForeAuto) g->m_clrFore = m_crLastFore;
  if (!g->m_bBackAuto) g->m_clrBack = m_crLastBack;
  SECEditColorInfo* text = GetGroup(m_nTextGroup);
  SECEditColorInfo* selection = GetGroup(m_nSelectionGroup);
  // The selection's automatic colours are the text colours inverted.
  auto deriveSelection = [&](SECEditColorInfo* s) {
    if (s == nullptr || text == nullptr) return;
    if (s->m_bForeAuto) s->m_clrFore = text->m_clrBack;
    if (s->m_bBackAuto) s->m_clrBack = text->m_clrFore;
  };
  if (g == text) {
    if (g->m_bForeAuto) g->m_clrFore = ::GetSysColor(COLOR_WINDOWTEXT);
    if (g->m_bBackAuto) g->m_clrBack = ::GetSysColor(COLOR_WINDOW);
    for (SECEditColorInfo& other : m_groups) {
      if (&other == text) continue;
      if (&other == selection) {
        deriveSelection(&other);
        continue;
      }
      if (other.m_bForeAuto) other.m_clrFore = text->m_clrFore;
      if (other.m_bBackAuto) other.m_clrBack = text->m_clrBack;
    }
  } else if (g == selection) {
    deriveSelection(g);
  } else if (text != nullptr) {
    if (g->m_bForeAuto) g->m_clrFore = text->m_clrFore;
    if (g->m_bBackAuto) g->m_clrBack = text->m_clrBack;
  }
  SyncGroup(FALSE);
}

void SECEditFontSizeDlg::UpdateFontTexts() {
  SetDlgItemText(1012, m_lf.lfFaceName);
  CString size;
  size.Format("%d pt", GetPointSize());
  SetDlgItemText(1013, size);
}

void SECEditFontSizeDlg::DrawSample() {
  CWnd* sample = GetDlgItem(1011);
  if (sample == nullptr || sample->GetSafeHwnd() == nullptr) return;
  SECEditColorInfo* g = GetSelectedGroup();
  const COLORREF fore = g != nullptr ? g->m_clrFore : RGB(0, 0, 0);
  const COLORREF back = g != nullptr ? g->m_clrBack : RGB(255, 255, 255);
  CClientDC dc(sample);
  CRect rect;
  sample->GetClientRect(&rect);
  rect.DeflateRect(5, 15, 5, 5);
  CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
  CBrush brush(back);
  CPen* oldPen = dc.SelectObject(&pen);
  CBrush* oldBrush = dc.SelectObject(&brush);
  dc.Rectangle(&rect);
  CFont font;
  font.CreateFontIndirect(&m_lf);
  CFont* oldFont = dc.SelectObject(&font);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(fore);
  dc.SetBkColor(back);
  rect.DeflateRect(2, 2);
  CRgn clip;
  clip.CreateRectRgnIndirect(&rect);
  dc.SelectClipRgn(&clip);
  dc.DrawText("AaBbCcXxYyZz", -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  dc.SelectClipRgn(nullptr);
  dc.SelectObject(oldFont);
  dc.SelectObject(oldBrush);
  dc.SelectObject(oldPen);
}

void SECEditFontSizeDlg::OnSelChange() {
  SyncGroup(FALSE);
  DrawSample();
}

void SECEditFontSizeDlg::OnAutomatic() { SyncGroup(TRUE); }

LRESULT SECEditFontSizeDlg::OnWellColor(WPARAM wParam, LPARAM lParam) {
  const COLORREF colour = static_cast<COLORREF>(lParam);
  if (wParam == 1025) m_crLastFore = colour;
  if (wParam == 1026) m_crLastBack = colour;
  SyncGroup(TRUE);
  return 0;
}

void SECEditFontSizeDlg::OnResetAll() {
  if (m_pConfig == nullptr) return;
  LoadFromConfiguration();
  if (List()->GetCount() > 0) List()->SetCurSel(0);
  SyncGroup(FALSE);
  UpdateFontTexts();
  DrawSample();
}

void SECEditFontSizeDlg::OnChooseFont() {
  DWORD flags = m_dwFontFlags;
  if (m_lf.lfCharSet != 0) flags |= CF_SELECTSCRIPT;
  LOGFONT lf = m_lf;
  CFontDialog dialog(&lf, flags, nullptr, this);
  // The dialog is laid out by the editor's own template.
  dialog.m_cf.Flags |= CF_ENABLETEMPLATE;
  dialog.m_cf.hInstance = AfxFindResourceHandle(MAKEINTRESOURCE(IDD_SECEDIT_FONT_TEMPLATE), RT_DIALOG);
  dialog.m_cf.lpTemplateName = MAKEINTRESOURCE(IDD_SECEDIT_FONT_TEMPLATE);
  if (dialog.DoModal() != IDOK) return;
  m_lf = dialog.m_lf;
  UpdateFontTexts();
  DrawSample();
}

void SECEditFontSizeDlg::OnPaint() {
  CPaintDC dc(this);
  DrawSample();
}

BOOL SECEditFontSizeDlg::Run(ISECEditLangConfig* cfg, LOGFONT* lf) {
  SECEditFontSizeDlg dialog;
  dialog.SetConfiguration(cfg, *lf);
  if (dialog.DoModal() != IDOK) return FALSE;
  dialog.ApplyToConfiguration(cfg);
  *lf = dialog.GetLogFont();
  return TRUE;
}
