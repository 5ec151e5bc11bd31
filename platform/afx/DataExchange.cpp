// Dialog data exchange: UpdateData, CDataExchange and the DDX_/DDV_ functions. Values the user
// typed are parsed strictly (the whole text, within the member's type); a failure tells the
// user with the framework's prompt and leaves the focus on the control.
#include "afx/DataExchange.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <type_traits>

#include "afx/AfxControls.h"
#include "afx/AfxRes.h"
#include "afx/AfxState.h"
#include "afx/CWinApp.h"

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  // The controls' notifications while their values are set are not the user's doing.
  _AFX_THREAD_STATE* state = AfxGetThreadState();
  HWND oldLockout = state->m_hLockoutNotifyWindow;
  state->m_hLockoutNotifyWindow = m_hWnd;
  BOOL ok = FALSE;
  try {
    DoDataExchange(&dx);
    ok = TRUE;
  } catch (CUserException* e) {
    e->Delete();  // the user was told already
  } catch (CException* e) {
    AfxMessageBox(AFX_IDP_INTERNAL_FAILURE);
    e->Delete();
  }
  state->m_hLockoutNotifyWindow = oldLockout;
  return ok;
}

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
  // A dialog that names a control it does not have is a programming error, not bad input.
  if (hWndCtrl == nullptr) AfxThrowNotSupportedException();
  m_hWndLastControl = hWndCtrl;
  m_bEditLastControl = FALSE;
  return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWndCtrl = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWndCtrl;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_hWndLastControl != nullptr) {
    if (m_bEditLastControl) {
      ::SetFocus(m_hWndLastControl);
      ::SendMessage(m_hWndLastControl, EM_SETSEL, 0, -1);
    } else {
      ::SendMessage(m_pDlgWnd->GetSafeHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_hWndLastControl), 1);
    }
  }
  AfxThrowUserException();
}

namespace {

CString WindowText(HWND hWnd) {
  CString text;
  int length = ::GetWindowTextLength(hWnd);
  ::GetWindowText(hWnd, text.GetBuffer(length + 1), length + 1);
  text.ReleaseBuffer();
  return text;
}

// Sets the text only when it differs, so an unchanged control sends no change notification.
void SetWindowTextIfChanged(HWND hWnd, LPCTSTR text) {
  if (WindowText(hWnd) != text) ::SetWindowText(hWnd, text);
}

[[noreturn]] void FailWith(CDataExchange* pDX, UINT nIDPrompt) {
  AfxMessageBox(nIDPrompt, MB_ICONEXCLAMATION);
  pDX->Fail();
}

const char* SkipBlanks(const char* p) {
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

// A whole number that fits T: optional blanks and sign, digits, optional blanks, nothing else.
template <class T>
bool ParseWhole(const char* text, T& out) {
  const char* p = SkipBlanks(text);
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
  unsigned long long magnitude = 0;
  for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
    unsigned digit = static_cast<unsigned>(*p - '0');
    if (magnitude > (std::numeric_limits<unsigned long long>::max() - digit) / 10) return false;
    magnitude = magnitude * 10 + digit;
  }
  if (*SkipBlanks(p) != '\0') return false;
  using U = unsigned long long;
  if constexpr (std::is_signed_v<T>) {
    U limit = static_cast<U>(std::numeric_limits<T>::max()) + (negative ? 1 : 0);
    if (magnitude > limit) return false;
    out = static_cast<T>(negative ? static_cast<long long>(~magnitude + 1) : static_cast<long long>(magnitude));
  } else {
    if ((negative && magnitude != 0) || magnitude > static_cast<U>(std::numeric_limits<T>::max())) return false;
    out = static_cast<T>(magnitude);
  }
  return true;
}

template <class T>
void ExchangeWhole(CDataExchange* pDX, int nIDC, T& value, UINT nIDPrompt) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    T parsed{};
    if (!ParseWhole(WindowText(hWndCtrl), parsed)) FailWith(pDX, nIDPrompt);
    value = parsed;
  } else {
    std::string text;
    if constexpr (std::is_signed_v<T>)
      text = std::to_string(static_cast<long long>(value));
    else
      text = std::to_string(static_cast<unsigned long long>(value));
    SetWindowTextIfChanged(hWndCtrl, text.c_str());
  }
}

template <class T>
void ExchangeReal(CDataExchange* pDX, int nIDC, T& value, int digits) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    CString text = WindowText(hWndCtrl);
    const char* start = SkipBlanks(text);
    char* end = nullptr;
    double parsed = std::strtod(start, &end);
    if (end == start || *SkipBlanks(end) != '\0' || !std::isfinite(parsed) ||
        std::fabs(parsed) > static_cast<double>(std::numeric_limits<T>::max()))
      FailWith(pDX, AFX_IDP_PARSE_REAL);
    value = static_cast<T>(parsed);
  } else {
    char text[64];
    std::snprintf(text, sizeof(text), "%.*g", digits, static_cast<double>(value));
    SetWindowTextIfChanged(hWndCtrl, text);
  }
}

}  // namespace

// ---- edits ----

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = WindowText(hWndCtrl);
  else
    SetWindowTextIfChanged(hWndCtrl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, LPTSTR value, int nMaxLen) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    ::GetWindowText(hWndCtrl, value, nMaxLen);
  } else {
    ::SendMessage(hWndCtrl, EM_LIMITTEXT, static_cast<WPARAM>(nMaxLen - 1), 0);
    SetWindowTextIfChanged(hWndCtrl, value);
  }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) { ExchangeWhole(pDX, nIDC, value, AFX_IDP_PARSE_INT); }
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) { ExchangeWhole(pDX, nIDC, value, AFX_IDP_PARSE_INT); }
void DDX_Text(CDataExchange* pDX, int nIDC, short& value) { ExchangeWhole(pDX, nIDC, value, AFX_IDP_PARSE_INT); }
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { ExchangeWhole(pDX, nIDC, value, AFX_IDP_PARSE_UINT); }
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) { ExchangeWhole(pDX, nIDC, value, AFX_IDP_PARSE_BYTE); }
void DDX_Text(CDataExchange* pDX, int nIDC, float& value) { ExchangeReal(pDX, nIDC, value, FLT_DIG); }
void DDX_Text(CDataExchange* pDX, int nIDC, double& value) { ExchangeReal(pDX, nIDC, value, DBL_DIG); }

// ---- buttons ----

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = static_cast<int>(::SendMessage(hWndCtrl, BM_GETCHECK, 0, 0));
  else
    ::SendMessage(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  // The group runs from nIDC up to the next control that starts a group.
  int index = 0;
  for (HWND button = hWndCtrl; button != nullptr; button = ::GetWindow(button, GW_HWNDNEXT)) {
    if (button != hWndCtrl && (::GetWindowLong(button, GWL_STYLE) & WS_GROUP)) break;
    if (!(::SendMessage(button, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
    if (pDX->m_bSaveAndValidate) {
      if (::SendMessage(button, BM_GETCHECK, 0, 0) != 0 && value == -1) value = index;
    } else {
      ::SendMessage(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ++index;
  }
}

// ---- combo and list boxes ----

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessage(hWndCtrl, CB_GETCURSEL, 0, 0));
  else
    ::SendMessage(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessage(hWndCtrl, LB_GETCURSEL, 0, 0));
  else
    ::SendMessage(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

namespace {

// Saves the combo's text: the edit's, or (a drop-down list shows no edit) the selected item's.
CString ComboText(HWND hWndCtrl) {
  CString text = WindowText(hWndCtrl);
  if (text.IsEmpty()) {
    auto selected = static_cast<int>(::SendMessage(hWndCtrl, CB_GETCURSEL, 0, 0));
    if (selected >= 0) text = brambolt::afx::ItemText(hWndCtrl, CB_GETLBTEXTLEN, CB_GETLBTEXT, selected);
  }
  return text;
}

void LoadComboString(HWND hWndCtrl, const CString& value, bool exact) {
  LRESULT found = exact ? ::SendMessage(hWndCtrl, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)))
                        : ::SendMessage(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
  if (exact && found != CB_ERR) found = ::SendMessage(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
  // A value that is no item still shows in a combo with an edit.
  if (found == CB_ERR) {
    if ((::GetWindowLong(hWndCtrl, GWL_STYLE) & 0x3) != CBS_DROPDOWNLIST)
      SetWindowTextIfChanged(hWndCtrl, value);
    else
      ::SendMessage(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
}

void ExchangeListString(CDataExchange* pDX, int nIDC, CString& value, bool exact) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    auto selected = static_cast<int>(::SendMessage(hWndCtrl, LB_GETCURSEL, 0, 0));
    value = selected >= 0 ? brambolt::afx::ItemText(hWndCtrl, LB_GETTEXTLEN, LB_GETTEXT, selected) : CString();
    return;
  }
  auto lparam = reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value));
  LRESULT found = exact ? ::SendMessage(hWndCtrl, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lparam)
                        : ::SendMessage(hWndCtrl, LB_FINDSTRING, static_cast<WPARAM>(-1), lparam);
  ::SendMessage(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(found == LB_ERR ? -1 : found), 0);
}

}  // namespace

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = ComboText(hWndCtrl);
  else
    LoadComboString(hWndCtrl, value, false);
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = ComboText(hWndCtrl);
  else
    LoadComboString(hWndCtrl, value, true);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) { ExchangeListString(pDX, nIDC, value, false); }

void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value) { ExchangeListString(pDX, nIDC, value, true); }

void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = ::GetScrollPos(hWndCtrl, SB_CTL);
  else
    ::SetScrollPos(hWndCtrl, SB_CTL, value, TRUE);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd != nullptr) return;
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(hWndCtrl)) AfxThrowNotSupportedException();
}

// ---- validation ----

namespace {

template <class T>
std::string NumberText(T value) {
  if constexpr (std::is_floating_point_v<T>) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.*g", std::is_same_v<T, float> ? FLT_DIG : DBL_DIG, static_cast<double>(value));
    return text;
  } else if constexpr (std::is_signed_v<T>) {
    return std::to_string(static_cast<long long>(value));
  } else {
    return std::to_string(static_cast<unsigned long long>(value));
  }
}

// Only values read from the controls are checked; loading them checks nothing.
template <class T>
void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal) {
  if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
  UINT nIDPrompt = std::is_floating_point_v<T> ? AFX_IDP_PARSE_REAL_RANGE : AFX_IDP_PARSE_INT_RANGE;
  CString prompt;
  AfxFormatString2(prompt, nIDPrompt, NumberText(minVal).c_str(), NumberText(maxVal).c_str());
  AfxMessageBox(prompt, MB_ICONEXCLAMATION, nIDPrompt);
  pDX->Fail();
}

}  // namespace

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
  if (pDX->m_bSaveAndValidate) {
    if (value.GetLength() <= nChars) return;
    CString prompt;
    AfxFormatString1(prompt, AFX_IDP_PARSE_STRING_SIZE, std::to_string(nChars).c_str());
    AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
    pDX->Fail();
  }
  // Loading: the edit (or a combo's edit) takes no more than that.
  if (pDX->m_hWndLastControl != nullptr) {
    char className[16] = {};
    ::GetClassName(pDX->m_hWndLastControl, className, sizeof(className));
    UINT message = _stricmp(className, WC_COMBOBOX) == 0 ? CB_LIMITTEXT : EM_LIMITTEXT;
    ::SendMessage(pDX->m_hWndLastControl, message, static_cast<WPARAM>(nChars), 0);
  }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) { CheckRange(pDX, value, minVal, maxVal); }
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
  CheckRange(pDX, value, minVal, maxVal);
}
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) {
  CheckRange(pDX, value, minVal, maxVal);
}
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal) {
  CheckRange(pDX, value, minVal, maxVal);
}
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal) {
  CheckRange(pDX, value, minVal, maxVal);
}
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) {
  CheckRange(pDX, value, minVal, maxVal);
}
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal) {
  CheckRange(pDX, value, minVal, maxVal);
}
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal) {
  CheckRange(pDX, value, minVal, maxVal);
}
