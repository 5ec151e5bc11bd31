// The project settings dialog and its pages, with the Diagram page's colour legend.
#include "app/CMainProjectSetDlg.h"

#include <cstdlib>

#include "afx/AfxRes.h"
#include "afx/DataExchange.h"
#include "app/DrawShadowRect.h"
#include "app/ProjectDialogs.h"
#include "model/CWorkSpaceObj.h"
#include "model/ShellServices.h"
#include "resources/AppResource.h"

namespace {

// The shadow sizes the spin offers; a typed size must be one of them too.
constexpr int kMinShadowSize = 0;
constexpr int kMaxShadowSize = 20;

// The size a text gives: a whole number within the spin's range, spaces around it allowed.
bool ParseShadowSize(CString strSize, int& nSize) {
  strSize.TrimLeft();
  strSize.TrimRight();
  if (strSize.IsEmpty() || strSize.GetLength() > 3) return false;
  for (int i = 0; i < strSize.GetLength(); ++i)
    if (strSize[i] < '0' || strSize[i] > '9') return false;
  const int nValue = std::atoi(strSize);
  if (nValue < kMinShadowSize || nValue > kMaxShadowSize) return false;
  nSize = nValue;
  return true;
}

}  // namespace

// --- General ---

BEGIN_MESSAGE_MAP(CProjectSettingDlg, CTabPage)
  ON_CBN_SELCHANGE(IDC_PROJECT_LANGUAGE, OnSelChangeLanguage)
END_MESSAGE_MAP()

CProjectSettingDlg::CProjectSettingDlg() : CTabPage(IDD_SETTINGS_GENERAL) {}

void CProjectSettingDlg::DoDataExchange(CDataExchange* pDX) {
  CTabPage::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_DOC_PROTECTED_FUNCTIONS, m_bDocProtectedFunctions);
  DDX_Check(pDX, IDC_DOC_PUBLIC_FUNCTIONS, m_bDocPublicFunctions);
  DDX_Check(pDX, IDC_DOC_PRIVATE_FUNCTIONS, m_bDocPrivateFunctions);
  DDX_Check(pDX, IDC_DOC_PROTECTED_VARIABLES, m_bDocProtectedVariables);
  DDX_Check(pDX, IDC_DOC_PUBLIC_VARIABLES, m_bDocPublicVariables);
  DDX_Check(pDX, IDC_DOC_PRIVATE_VARIABLES, m_bDocPrivateVariables);
  DDX_Text(pDX, IDC_PROJECT_TITLE, m_strTitle);
  DDX_Text(pDX, IDC_SETTINGS_DESCRIPTION, m_strDescription);
}

BOOL CProjectSettingDlg::OnInitDialog() {
  CTabPage::OnInitDialog();
  SetFixedFont(this, {IDC_PROJECT_TITLE, IDC_PROJECT_LANGUAGE, IDC_SETTINGS_DESCRIPTION});
  CComboBox* pLanguages = static_cast<CComboBox*>(GetDlgItem(IDC_PROJECT_LANGUAGE));
  FillLanguageBox(*pLanguages);
  pLanguages->SetCurSel(m_nLanguage - LANGUAGE_CHS);
  return TRUE;
}

void CProjectSettingDlg::OnSelChangeLanguage() {
  CComboBox* pLanguages = static_cast<CComboBox*>(GetDlgItem(IDC_PROJECT_LANGUAGE));
  const int nIndex = pLanguages->GetCurSel();
  if (nIndex != CB_ERR) m_nLanguage = static_cast<int>(pLanguages->GetItemData(nIndex));
}

void CProjectSettingDlg::ReadControls() {
  UpdateData(TRUE);
  m_bLanguageChanged = m_nLanguage != m_nOpenLanguage;
}

// --- Diagram ---

BEGIN_MESSAGE_MAP(CProjectSettingDlg1, CTabPage)
  ON_WM_PAINT()
  ON_BN_CLICKED(IDC_SHADOW, OnShadow)
  ON_EN_CHANGE(IDC_SHADOW_SIZE, OnChangeShadowSize)
  ON_MESSAGE(CPN_SELCHANGE, OnPickerChange)
  ON_MESSAGE(CPN_SELENDOK, OnPickerEnd)
  ON_MESSAGE(CPN_SELENDCANCEL, OnPickerEnd)
  ON_MESSAGE(WM_SETPICKERCOLOUR, OnSetPickerColour)
END_MESSAGE_MAP()

CProjectSettingDlg1::CProjectSettingDlg1() : CTabPage(IDD_SETTINGS_DIAGRAM) {}

void CProjectSettingDlg1::DoDataExchange(CDataExchange* pDX) {
  CTabPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SHADOW_SPIN, m_ctlSpin);
  DDX_Control(pDX, IDC_BACKGROUND_COLOUR, m_ctlBackground);
  DDX_Control(pDX, IDC_BASE_COLOUR, m_ctlBase);
  DDX_Control(pDX, IDC_DERIVED_COLOUR, m_ctlDerived);
  DDX_Control(pDX, IDC_COMPONENT_COLOUR, m_ctlComponent);
  DDX_Check(pDX, IDC_SHADOW, m_nShadowCheck);
  DDX_ColourPicker(pDX, IDC_BACKGROUND_COLOUR, m_crBackground);
  DDX_ColourPicker(pDX, IDC_BASE_COLOUR, m_crBase);
  DDX_ColourPicker(pDX, IDC_DERIVED_COLOUR, m_crDerived);
  DDX_ColourPicker(pDX, IDC_COMPONENT_COLOUR, m_crComponent);
}

BOOL CProjectSettingDlg1::OnInitDialog() {
  CTabPage::OnInitDialog();
  // The spin writes its own position into the edit while it is set up; that is not typing.
  m_bInitialised = FALSE;
  m_ctlSpin.SetBase(10);
  m_ctlSpin.SetRange(kMinShadowSize, kMaxShadowSize);
  m_ctlSpin.SetPos(m_nShadowSize);
  SetFixedFont(this, {IDC_SHADOW_SIZE});
  if (const CWorkSpaceObj* pProject = GetShellServices()->GetWorkSpace()) {
    m_bShadow = pProject->GetShadow();
    m_nShadowSize = pProject->GetShadowSize();
  }
  CheckDlgButton(IDC_SHADOW, m_bShadow ? BST_CHECKED : BST_UNCHECKED);
  CString strSize;
  strSize.Format("%d", m_nShadowSize);
  SetDlgItemText(IDC_SHADOW_SIZE, strSize);
  m_bInitialised = TRUE;
  UpdateData(TRUE);
  return TRUE;
}

void CProjectSettingDlg1::ReadColours() {
  m_crBackground = m_ctlBackground.GetColour();
  m_crBase = m_ctlBase.GetColour();
  m_crDerived = m_ctlDerived.GetColour();
  m_crComponent = m_ctlComponent.GetColour();
}

void CProjectSettingDlg1::ReadControls() {
  ReadColours();
  ReadShadowSize();
  RepaintLegend();
}

BOOL CProjectSettingDlg1::ReadShadowSize() {
  CString strSize;
  GetDlgItemText(IDC_SHADOW_SIZE, strSize);
  return ParseShadowSize(strSize, m_nShadowSize) ? TRUE : FALSE;
}

void CProjectSettingDlg1::RefuseShadowSize() {
  CString strMin, strMax, strPrompt;
  strMin.Format("%d", kMinShadowSize);
  strMax.Format("%d", kMaxShadowSize);
  AfxFormatString2(strPrompt, AFX_IDP_PARSE_INT_RANGE, strMin, strMax);
  AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_INT_RANGE);
  if (CWnd* pEdit = GetDlgItem(IDC_SHADOW_SIZE)) {
    pEdit->SetFocus();
    pEdit->SendMessage(EM_SETSEL, 0, -1);
  }
}

CRect CProjectSettingDlg1::LegendRect() const {
  CRect rcLegend;
  if (CWnd* pFrame = GetDlgItem(IDC_LEGEND_FRAME)) {
    pFrame->GetWindowRect(&rcLegend);
    ScreenToClient(&rcLegend);
  }
  return rcLegend;
}

void CProjectSettingDlg1::RepaintLegend() { InvalidateRect(LegendRect(), TRUE); }

void CProjectSettingDlg1::OnShadow() {
  m_bShadow = !m_bShadow;
  RepaintLegend();
}

void CProjectSettingDlg1::OnChangeShadowSize() {
  if (m_bInitialised && ReadShadowSize()) RepaintLegend();
}

LRESULT CProjectSettingDlg1::OnPickerChange(WPARAM, LPARAM) {
  ReadColours();
  return 0;
}

LRESULT CProjectSettingDlg1::OnPickerEnd(WPARAM, LPARAM) {
  ReadColours();
  RepaintLegend();
  return 0;
}

LRESULT CProjectSettingDlg1::OnSetPickerColour(WPARAM wParam, LPARAM lParam) {
  const auto crColour = static_cast<COLORREF>(lParam);
  struct Well {
    UINT nID;
    CColourPicker& picker;
    COLORREF& crMember;
  };
  const Well wells[] = {{IDC_BACKGROUND_COLOUR, m_ctlBackground, m_crBackground},
                        {IDC_BASE_COLOUR, m_ctlBase, m_crBase},
                        {IDC_DERIVED_COLOUR, m_ctlDerived, m_crDerived},
                        {IDC_COMPONENT_COLOUR, m_ctlComponent, m_crComponent}};
  for (const Well& well : wells) {
    if (well.nID != wParam) continue;
    // The picker shows the colour too, so OK (which reads the pickers) keeps it.
    well.crMember = crColour;
    well.picker.SetColour(crColour);
    RepaintLegend();
  }
  return 0;
}

void CProjectSettingDlg1::OnPaint() {
  CPaintDC dc(this);
  const CRect rc = LegendRect();
  dc.FillSolidRect(rc, m_crBackground);
  dc.Draw3dRect(rc, RGB(0, 0, 0), RGB(255, 255, 255));
  const int nOldMode = dc.SetBkMode(TRANSPARENT);
  CFont* pOldFont = dc.SelectObject(GetFont());
  const COLORREF crBoxes[] = {m_crBase, m_crDerived, m_crComponent};
  const char* const pszLabels[] = {"Base class", "Derive class", "Third component class"};
  CPen penBlack(PS_SOLID, 1, RGB(0, 0, 0));
  CPen* pOldPen = dc.SelectObject(&penBlack);
  for (int i = 0; i < 3; ++i) {
    const CRect rcBox(rc.left + 20 + 20 * i, rc.top + 20 + 30 * i, rc.left + 200 + 20 * i, rc.top + 40 + 30 * i);
    if (i > 0) {
      dc.MoveTo(rc.left + 10 + 20 * i, rc.top + 10 + 30 * i);
      dc.LineTo(rc.left + 10 + 20 * i, rc.top + 30 + 30 * i);
      dc.LineTo(rcBox.left, rc.top + 30 + 30 * i);
    }
    if (m_bShadow) DrawShadowRect(dc.GetSafeHdc(), rcBox, m_nShadowSize);
    dc.FillSolidRect(rcBox, crBoxes[i]);
    dc.FrameRect(rcBox, CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))));
    CRect rcText = rcBox;
    rcText.left += 10;
    dc.DrawText(pszLabels[i], -1, rcText, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  }
  dc.SelectObject(pOldPen);
  dc.SelectObject(pOldFont);
  dc.SetBkMode(nOldMode);
}

// --- Owner ---

CProjectSettingDlg2::CProjectSettingDlg2() : CTabPage(IDD_SETTINGS_OWNER) {}

void CProjectSettingDlg2::DoDataExchange(CDataExchange* pDX) {
  CTabPage::DoDataExchange(pDX);
  ExchangeAuthorBlock(pDX);
}

BOOL CProjectSettingDlg2::OnInitDialog() {
  CTabPage::OnInitDialog();
  SetAuthorBlockFont(this);
  return TRUE;
}

void CProjectSettingDlg2::ReadControls() { UpdateData(TRUE); }

// --- the dialog ---

CMainProjectSetDlg::CMainProjectSetDlg(CWnd* pParent) : CTabbedPagesDlg(IDD_PROJECT_SETTINGS, pParent) {
  AddPage(&m_GeneralPage, IDS_TAB_GENERAL);
  AddPage(&m_DiagramPage, IDS_TAB_DIAGRAM);
  AddPage(&m_OwnerPage, IDS_TAB_OWNER);
}

void CMainProjectSetDlg::OnOK() {
  // A size the spin could not have given (or none) is not taken: the user is told, on the page
  // that holds it, and the dialog stays.
  if (!m_DiagramPage.CheckShadowSize()) {
    m_wndTab.ActivateTab(&m_DiagramPage);
    m_DiagramPage.RefuseShadowSize();
    return;
  }
  m_GeneralPage.ReadControls();
  m_DiagramPage.ReadControls();
  m_OwnerPage.ReadControls();
  CTabbedPagesDlg::OnOK();
}

BOOL EditProjectSettings(CWorkSpaceObj& project, CWnd* pParent) {
  CMainProjectSetDlg dlg(pParent);
  CProjectSettingDlg& general = dlg.m_GeneralPage;
  CProjectSettingDlg1& diagram = dlg.m_DiagramPage;
  CProjectSettingDlg2& owner = dlg.m_OwnerPage;
  general.m_nLanguage = general.m_nOpenLanguage = project.m_nOutputLanguage;
  general.m_strTitle = project.m_strProjectTitle;
  general.m_strDescription = project.m_strDescription;
  general.m_bDocProtectedFunctions = project.m_bDocProtectedFunctions;
  general.m_bDocPublicFunctions = project.m_bDocPublicFunctions;
  general.m_bDocPrivateFunctions = project.m_bDocPrivateFunctions;
  general.m_bDocProtectedVariables = project.m_bDocProtectedVariables;
  general.m_bDocPublicVariables = project.m_bDocPublicVariables;
  general.m_bDocPrivateVariables = project.m_bDocPrivateVariables;
  diagram.m_bShadow = project.GetShadow();
  diagram.m_nShadowSize = project.GetShadowSize();
  diagram.m_crBackground = project.m_crChartBack;
  diagram.m_crBase = project.m_crBaseClass;
  diagram.m_crDerived = project.m_crDerivedClass;
  diagram.m_crComponent = project.m_crComponentClass;
  owner.m_strAuthor = project.m_strAuthor;
  owner.m_strDepartment = project.m_strDepartment;
  owner.m_strEmail = project.m_strEmail;
  owner.m_strURL = project.m_strHomePage;
  owner.m_strCompany = project.m_strCompany;
  owner.m_strCopyright = project.m_strCopyright;
  if (dlg.DoModal() != IDOK) return FALSE;

  project.m_nOutputLanguage = general.m_nLanguage;
  project.m_strProjectTitle = general.m_strTitle;
  project.m_strDescription = general.m_strDescription;
  project.m_bDocProtectedFunctions = general.m_bDocProtectedFunctions;
  project.m_bDocPublicFunctions = general.m_bDocPublicFunctions;
  project.m_bDocPrivateFunctions = general.m_bDocPrivateFunctions;
  project.m_bDocProtectedVariables = general.m_bDocProtectedVariables;
  project.m_bDocPublicVariables = general.m_bDocPublicVariables;
  project.m_bDocPrivateVariables = general.m_bDocPrivateVariables;
  project.SetShadow(diagram.m_bShadow);
  project.SetShadowSize(diagram.m_nShadowSize);
  project.m_crChartBack = diagram.m_crBackground;
  project.m_crBaseClass = diagram.m_crBase;
  project.m_crDerivedClass = diagram.m_crDerived;
  project.m_crComponentClass = diagram.m_crComponent;
  project.m_strAuthor = owner.m_strAuthor;
  project.m_strDepartment = owner.m_strDepartment;
  project.m_strEmail = owner.m_strEmail;
  project.m_strHomePage = owner.m_strURL;
  project.m_strCompany = owner.m_strCompany;
  project.m_strCopyright = owner.m_strCopyright;
  if (general.m_bLanguageChanged) GetShellServices()->RefreshOutputTree();
  project.m_bModified = TRUE;
  return TRUE;
}
