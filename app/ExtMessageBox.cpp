// The system's own message box: its button texts, the layout in pixels, the in-memory dialog
// template in dialog units, and the dialog procedure that gives the results.
#include "app/ExtMessageBox.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/ByteOrder.h"
#include "resources/StatusBarRes.h"

namespace extbox {
namespace {

constexpr int kMaxText = 1023;
constexpr int kMaxButtonText = 99;
constexpr int kButtonWidth = 82;
constexpr int kButtonHeight = 23;
constexpr int kButtonStep = 88;
constexpr int kMargin = 16;

constexpr const char* kEnglish[kTextCount] = {
    "OK",       "Cancel",    "&Ignore",           "&Retry",
    "&Abort",   "&Help",     "&Yes",              "&No",
    "&Continue", "Don't ask me again", "Don't tell me again", "Yes to &All",
    "No to A&ll"};

struct ButtonSpec {
  int nID;
  TextIndex text;
};

// The buttons of a group, in order, with the "All" buttons where their bits ask for them.
std::vector<ButtonSpec> ButtonsOf(DWORD dwStyle) {
  const bool yesToAll = (dwStyle & MB_EXT_YES_TO_ALL) != 0;
  const bool noToAll = (dwStyle & MB_EXT_NO_TO_ALL) != 0;
  auto yesNo = [&] {
    std::vector<ButtonSpec> b{{IDYES, kYes}};
    if (yesToAll) b.push_back({IDEXT_YES_TO_ALL, kYesToAll});
    b.push_back({IDNO, kNo});
    if (noToAll) b.push_back({IDEXT_NO_TO_ALL, kNoToAll});
    return b;
  };
  std::vector<ButtonSpec> buttons;
  switch (dwStyle & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = {{IDOK, kOK}, {IDCANCEL, kCancel}}; break;
    case MB_ABORTRETRYIGNORE: buttons = {{IDABORT, kAbort}, {IDRETRY, kRetry}, {IDIGNORE, kIgnore}}; break;
    case MB_YESNOCANCEL:
      buttons = yesNo();
      buttons.push_back({IDCANCEL, kCancel});
      break;
    case MB_YESNO: buttons = yesNo(); break;
    case MB_RETRYCANCEL: buttons = {{IDRETRY, kRetry}, {IDCANCEL, kCancel}}; break;
    case MB_EXT_CONTINUEABORT: buttons = {{IDEXT_CONTINUE, kContinue}, {IDABORT, kAbort}}; break;
    default: buttons = {{IDOK, kOK}}; break;
  }
  if ((dwStyle & MB_HELP) != 0) buttons.push_back({IDEXT_HELP, kHelp});
  return buttons;
}

bool CancelAllowed(DWORD dwStyle) {
  const DWORD group = dwStyle & MB_TYPEMASK;
  return group == MB_OKCANCEL || group == MB_YESNOCANCEL || group == MB_RETRYCANCEL;
}

}  // namespace

Texts LoadTexts(BOOL bBuiltIn) {
  Texts texts;
  for (int i = 0; i < kTextCount; ++i) {
    CString& text = texts[static_cast<size_t>(i)];
    if (bBuiltIn || !text.LoadString(IDS_EXTBOX_OK + static_cast<UINT>(i)) || text.IsEmpty()) text = kEnglish[i];
    if (text.GetLength() > kMaxButtonText) text = text.Left(kMaxButtonText);
  }
  return texts;
}

Layout LayOut(DWORD dwStyle, const CString& strText, CSize sizeIcon, int cxScreen, const Texts& texts,
              const Measure& measure) {
  Layout layout;
  const bool hasIcon = sizeIcon.cx > 0 && sizeIcon.cy > 0;
  int cxMax = cxScreen / 2 + 100;
  if (hasIcon) cxMax -= 16 + sizeIcon.cx;
  const CSize sizeText = measure(strText, std::max(1, cxMax), true);
  layout.rcText = CRect(CPoint(kMargin, kMargin), sizeText);
  int cx = sizeText.cx + 28;
  int cy = std::max(70, static_cast<int>(sizeText.cy) + 21);
  int contentBottom = layout.rcText.bottom;
  if (hasIcon) {
    layout.rcIcon = CRect(8, 8, sizeIcon.cx + 10, sizeIcon.cy + 10);
    layout.rcText.OffsetRect(sizeIcon.cx + 8, 0);
    cx += sizeIcon.cx + 8;
    contentBottom = std::max(contentBottom, static_cast<int>(layout.rcIcon.bottom));
  }

  const std::vector<ButtonSpec> specs = ButtonsOf(dwStyle);
  const int count = static_cast<int>(specs.size());
  const int rowWidth = kButtonStep * count - (kButtonStep - kButtonWidth);
  const int rowTop = contentBottom + 8;
  cx = std::max(cx, rowWidth + 2 * kMargin);
  cy = std::max(cy, rowTop + kButtonHeight + kMargin);

  // The check box: "Don't ask me again" wins over "Don't tell me again".
  if ((dwStyle & (MB_EXT_DONT_ASK_AGAIN | MB_EXT_DONT_TELL_AGAIN)) != 0) {
    const bool ask = (dwStyle & MB_EXT_DONT_ASK_AGAIN) != 0;
    layout.dwCheckFlag = ask ? MB_EXT_DONT_ASK_AGAIN : MB_EXT_DONT_TELL_AGAIN;
    layout.strCheck = texts[ask ? kDontAsk : kDontTell];
    const CSize sizeCheck = measure(layout.strCheck, cxScreen / 3, false);
    layout.rcCheck = CRect(CPoint(17, rowTop + 35), CSize(sizeCheck.cx + sizeCheck.cx / 3 + 17, 16));
    cy = std::max(cy, static_cast<int>(layout.rcCheck.bottom) + 8);
    cx = std::max(cx, static_cast<int>(layout.rcCheck.right) + kMargin);
  }

  // The row is centred in the final width.
  const int rowLeft = (cx - rowWidth) / 2;
  for (int i = 0; i < count; ++i) {
    const ButtonSpec& spec = specs[static_cast<size_t>(i)];
    const CRect rect(CPoint(rowLeft + i * kButtonStep, rowTop), CSize(kButtonWidth, kButtonHeight));
    layout.buttons.push_back({spec.nID, texts[spec.text], rect});
  }
  // A default-button number beyond the buttons shown gives the first.
  const int nDefault = static_cast<int>((dwStyle & MB_DEFMASK) >> 8);
  layout.nDefaultID = specs[static_cast<size_t>(nDefault < count ? nDefault : 0)].nID;
  layout.bCancelAllowed = CancelAllowed(dwStyle);
  layout.size = CSize(cx, cy);
  return layout;
}

}  // namespace extbox

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME;
constexpr int kHelpPartialKey = 0x105;

LPCSTR IconOf(DWORD dwStyle) {
  switch (dwStyle & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
  }
  return nullptr;
}

DWORD ItemStyle(CDialogTemplateExt::ItemKind kind) {
  switch (kind) {
    case CDialogTemplateExt::kButton: return WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    case CDialogTemplateExt::kCheckButton: return WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX;
    case CDialogTemplateExt::kStatic: return WS_CHILD | WS_VISIBLE;
    case CDialogTemplateExt::kAutoCheckBox: return WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
    case CDialogTemplateExt::kPlainCheckBox: return WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;
  }
  return WS_CHILD | WS_VISIBLE;
}

// The class atom of the predefined window class of a kind.
WORD ClassAtom(CDialogTemplateExt::ItemKind kind) { return kind == CDialogTemplateExt::kStatic ? 0x0082 : 0x0080; }

HFONT CreateMessageFont() {
  NONCLIENTMETRICS metrics{};
  metrics.cbSize = sizeof metrics;
  if (!::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  return ::CreateFontIndirect(&metrics.lfMessageFont);
}

// Appends little-endian words to a template.
class TemplateWriter {
 public:
  void Word(WORD w) { brambolt::AppendLE16(bytes_, w); }
  void Dword(DWORD d) { brambolt::AppendLE32(bytes_, d); }
  // A text in UTF-16 from the ANSI code page, with its terminator.
  void Text(LPCTSTR lpsz) {
    const int nLength = lpsz != nullptr ? static_cast<int>(std::strlen(lpsz)) : 0;
    std::vector<WCHAR> wide(static_cast<size_t>(nLength) + 1, 0);
    const int nWide = nLength > 0 ? ::MultiByteToWideChar(CP_ACP, 0, lpsz, nLength, wide.data(), nLength) : 0;
    for (int i = 0; i < nWide; ++i) Word(static_cast<WORD>(wide[static_cast<size_t>(i)]));
    Word(0);
  }
  void AlignDword() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }
  std::vector<BYTE> Take() { return std::move(bytes_); }

 private:
  std::vector<BYTE> bytes_;
};

}  // namespace

CDialogTemplateExt::CDialogTemplateExt(LPCTSTR lpszText, DWORD dwStyle, HWND hWndOwner, UINT nHelpContextId,
                                       HFONT hMessageFont)
    : m_dwStyle(dwStyle), m_hWndOwner(hWndOwner), m_nHelpContextId(nHelpContextId), m_hFont(hMessageFont) {
  const LONG units = ::GetDialogBaseUnits();
  m_baseUnits = CSize(std::max<int>(1, LOWORD(units)), std::max<int>(1, HIWORD(units)));
  CString strText = lpszText != nullptr ? lpszText : "";
  if (strText.GetLength() > extbox::kMaxText) strText = strText.Left(extbox::kMaxText);

  CSize sizeIcon(0, 0);
  if (LPCSTR icon = IconOf(dwStyle)) {
    m_hIcon = ::LoadIcon(nullptr, icon);
    if (m_hIcon != nullptr) sizeIcon = CSize(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
  }
  HDC hdc = ::GetDC(nullptr);
  HGDIOBJ hOld = m_hFont != nullptr ? ::SelectObject(hdc, m_hFont) : nullptr;
  const extbox::Measure measure = [hdc](const CString& text, int cxMax, bool bWrap) {
    CRect rect(0, 0, cxMax, 0);
    const UINT format = DT_CALCRECT | DT_NOPREFIX | (bWrap ? DT_WORDBREAK : DT_SINGLELINE);
    ::DrawText(hdc, text, text.GetLength(), &rect, format);
    return rect.Size();
  };
  m_layout = extbox::LayOut(dwStyle, strText, sizeIcon, ::GetSystemMetrics(SM_CXSCREEN),
                            extbox::LoadTexts((dwStyle & MB_EXT_BUILTIN_TEXTS) != 0), measure);
  if (hOld != nullptr) ::SelectObject(hdc, hOld);
  ::ReleaseDC(nullptr, hdc);

  if (m_hIcon != nullptr) AddItem(kStatic, IDEXT_ICON, &m_layout.rcIcon, "");
  AddItem(kStatic, IDEXT_TEXT, &m_layout.rcText, strText);
  for (const extbox::Layout::Button& button : m_layout.buttons) {
    AddItem(kButton, button.nID, &button.rect, button.strText);
    if (button.nID == m_layout.nDefaultID) m_items.back().dwStyle |= BS_DEFPUSHBUTTON;
  }
  if (m_layout.dwCheckFlag != 0) AddItem(kAutoCheckBox, IDEXT_CHECK, &m_layout.rcCheck, m_layout.strCheck);
}

CDialogTemplateExt::~CDialogTemplateExt() = default;

void CDialogTemplateExt::AddItem(ItemKind kind, int nID, const CRect* pRect, LPCTSTR lpszText) {
  const CRect rect = pRect != nullptr ? *pRect : CRect(0, 0, 10, 10);
  CString strText = lpszText != nullptr ? lpszText : "";
  if (strText.GetLength() > extbox::kMaxText) strText = strText.Left(extbox::kMaxText);
  const CSize size = ToDialogUnits(rect.Size());
  m_items.push_back({ItemStyle(kind), 0, static_cast<short>(rect.left * 4 / m_baseUnits.cx),
                     static_cast<short>(rect.top * 8 / m_baseUnits.cy), static_cast<short>(size.cx),
                     static_cast<short>(size.cy), static_cast<WORD>(nID), kind, strText});
}

CSize CDialogTemplateExt::ToDialogUnits(CSize size) const {
  // Sizes round up, so that a text measured to fit still fits once the dialog manager converts back.
  return CSize((size.cx * 4 + m_baseUnits.cx - 1) / m_baseUnits.cx, (size.cy * 8 + m_baseUnits.cy - 1) / m_baseUnits.cy);
}

DWORD CDialogTemplateExt::GetDialogStyle() const {
  return kDialogStyle | ((m_dwStyle & MB_SYSTEMMODAL) != 0 ? DS_SYSMODAL : 0);
}

std::vector<BYTE> CDialogTemplateExt::BuildTemplate(LPCTSTR lpszCaption) const {
  TemplateWriter out;
  out.Dword(GetDialogStyle());
  out.Dword(0);
  out.Word(static_cast<WORD>(m_items.size()));
  out.Word(0);
  out.Word(0);
  const CSize size = ToDialogUnits(m_layout.size);
  out.Word(static_cast<WORD>(size.cx));
  out.Word(static_cast<WORD>(size.cy));
  out.Word(0);  // no menu
  out.Word(0);  // the dialog class
  out.Text(lpszCaption);
  for (const Item& item : m_items) {
    out.AlignDword();
    out.Dword(item.dwStyle);
    out.Dword(item.dwExStyle);
    for (short v : {item.x, item.y, item.cx, item.cy}) out.Word(static_cast<WORD>(v));
    out.Word(item.wID);
    out.Word(0xFFFF);
    out.Word(ClassAtom(item.kind));
    out.Text(item.strText);
    out.Word(0);  // no creation data
  }
  return out.Take();
}

int CDialogTemplateExt::Display(LPCTSTR lpszCaption) {
  std::vector<BYTE> block;
  try {
    block = BuildTemplate(lpszCaption);
  } catch (const std::bad_alloc&) {
    ::MessageBox(nullptr, "Memory allocation for dialog template failed.", "Allocation Failure", MB_ICONEXCLAMATION);
    return IDCANCEL;
  }
  const INT_PTR result =
      ::DialogBoxIndirectParam(AfxGetInstanceHandle(), reinterpret_cast<LPCDLGTEMPLATE>(block.data()), m_hWndOwner,
                               &CDialogTemplateExt::DialogProc, reinterpret_cast<LPARAM>(this));
  return result < 0 ? IDCANCEL : static_cast<int>(result);
}

INT_PTR CALLBACK CDialogTemplateExt::DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtr(hDlg, DWLP_USER, lParam);
    return reinterpret_cast<CDialogTemplateExt*>(lParam)->OnInitDialog(hDlg);
  }
  auto* self = reinterpret_cast<CDialogTemplateExt*>(::GetWindowLongPtr(hDlg, DWLP_USER));
  if (self == nullptr || message != WM_COMMAND) return FALSE;
  self->OnCommand(hDlg, LOWORD(wParam));
  return TRUE;
}

LRESULT CALLBACK CDialogTemplateExt::IconProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = ::BeginPaint(hWnd, &ps);
      auto* self = reinterpret_cast<CDialogTemplateExt*>(::GetWindowLongPtr(::GetParent(hWnd), DWLP_USER));
      if (self != nullptr && self->m_hIcon != nullptr) ::DrawIcon(hdc, 0, 0, self->m_hIcon);
      ::EndPaint(hWnd, &ps);
      return 0;
    }
    case WM_DESTROY:
    case WM_NCDESTROY: {
      // The static's own procedure still frees what it holds.
      auto previous = reinterpret_cast<WNDPROC>(::GetProp(hWnd, "ExtBoxIconProc"));
      if (message == WM_NCDESTROY) ::RemoveProp(hWnd, "ExtBoxIconProc");
      return previous != nullptr ? ::CallWindowProc(previous, hWnd, message, wParam, lParam) : 0;
    }
  }
  return 0;
}

BOOL CDialogTemplateExt::OnInitDialog(HWND hDlg) {
  if (m_hFont != nullptr) {
    auto setFont = [&](int nID) {
      if (HWND hCtl = ::GetDlgItem(hDlg, nID)) ::SendMessage(hCtl, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
    };
    setFont(IDEXT_TEXT);
    for (int nID = 1; nID <= 17; ++nID) setFont(nID);
    setFont(IDEXT_HELP);
    setFont(IDEXT_CHECK);
  }
  ::SendMessage(hDlg, DM_SETDEFID, static_cast<WPARAM>(m_layout.nDefaultID), 0);
  if (HWND hDefault = ::GetDlgItem(hDlg, m_layout.nDefaultID)) ::SetFocus(hDefault);
  if (!m_layout.bCancelAllowed && !OnlyOk())
    if (HMENU hMenu = ::GetSystemMenu(hDlg, FALSE)) ::EnableMenuItem(hMenu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  if (HWND hIcon = ::GetDlgItem(hDlg, IDEXT_ICON)) {
    const LONG_PTR previous = ::SetWindowLongPtr(hIcon, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IconProc));
    ::SetProp(hIcon, "ExtBoxIconProc", reinterpret_cast<HANDLE>(previous));
  }
  return FALSE;
}

// A box whose one answer is OK (Help aside) takes Escape and the close box as OK, as the
// system's own boxes do, so a notice never holds the keyboard.
bool CDialogTemplateExt::OnlyOk() const {
  return std::all_of(m_layout.buttons.begin(), m_layout.buttons.end(),
                     [](const extbox::Layout::Button& b) { return b.nID == IDOK || b.nID == IDEXT_HELP; });
}

DWORD CDialogTemplateExt::CheckFlag(HWND hDlg) const {
  if (m_layout.dwCheckFlag == 0) return 0;
  return ::IsDlgButtonChecked(hDlg, IDEXT_CHECK) == BST_CHECKED ? m_layout.dwCheckFlag : 0;
}

void CDialogTemplateExt::OnCommand(HWND hDlg, int nID) {
  switch (nID) {
    case IDCLOSE:
    case IDEXT_CHECK:
      return;
    case IDCANCEL:
      if (m_layout.bCancelAllowed)
        ::EndDialog(hDlg, static_cast<INT_PTR>(IDCANCEL | CheckFlag(hDlg)));
      else if (OnlyOk())
        ::EndDialog(hDlg, static_cast<INT_PTR>(IDOK | CheckFlag(hDlg)));
      return;
    case IDEXT_HELP: {
      // The help file beside the program, named after it.
      char szPath[MAX_PATH] = {};
      ::GetModuleFileName(nullptr, szPath, MAX_PATH);
      CString strHelp = szPath;
      const int nDot = strHelp.ReverseFind('.');
      const int nSlash = std::max(strHelp.ReverseFind('/'), strHelp.ReverseFind('\\'));
      if (nDot > nSlash) strHelp = strHelp.Left(nDot);
      strHelp += ".hlp";
      if (m_nHelpContextId != 0)
        ::WinHelp(hDlg, strHelp, HELP_CONTEXT, m_nHelpContextId);
      else
        ::WinHelp(hDlg, strHelp, kHelpPartialKey, 0);
      return;
    }
    default:
      ::EndDialog(hDlg, static_cast<INT_PTR>(static_cast<DWORD>(nID) | CheckFlag(hDlg)));
  }
}

int ExtMessageBox(HWND hWndOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, DWORD dwStyle, UINT nHelpContextId) {
  // Without an owner the box stands alone, as one owned by the desktop does.
  HWND hOwner = hWndOwner;
  CString strCaption = lpszCaption != nullptr ? lpszCaption : "";
  if (strCaption.IsEmpty() && !strCaption.LoadString(AFX_IDS_APP_TITLE)) strCaption = "Error";
  // The platform's own box for system-modal errors.
  if ((dwStyle & MB_ICONMASK) == MB_ICONHAND && (dwStyle & MB_SYSTEMMODAL) != 0)
    return ::MessageBox(hOwner, lpszText, strCaption, dwStyle & 0xFFFF);
  HFONT hFont = CreateMessageFont();
  int nResult = IDCANCEL;
  {
    CDialogTemplateExt box(lpszText, dwStyle, hOwner, nHelpContextId, hFont);
    if ((dwStyle & MB_EXT_NO_SOUND) == 0) ::MessageBeep(dwStyle & MB_ICONMASK);
    nResult = box.Display(strCaption);
  }
  if (hFont != nullptr) ::DeleteObject(hFont);
  return nResult;
}
