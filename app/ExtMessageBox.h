// ExtMessageBox: the system's own message box, with "Yes to All" and "No to All", Continue and
// Abort, a Help button and a "Don't ask me again" check box; CDialogTemplateExt lays it out from its
// text and builds it as an in-memory dialog template.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "afx/afx.h"

// Style bits of ExtMessageBox beyond the platform's MB_ ones.
constexpr DWORD MB_EXT_CONTINUEABORT = 0x00000008;  // button group: Continue, Abort
constexpr DWORD MB_EXT_DONT_ASK_AGAIN = 0x01000000;
constexpr DWORD MB_EXT_DONT_TELL_AGAIN = 0x02000000;  // only without MB_EXT_DONT_ASK_AGAIN
constexpr DWORD MB_EXT_YES_TO_ALL = 0x04000000;       // after Yes (Yes/No groups)
constexpr DWORD MB_EXT_NO_TO_ALL = 0x08000000;        // after No (Yes/No groups)
constexpr DWORD MB_EXT_BUILTIN_TEXTS = 0x10000000;    // English button texts, no string table
constexpr DWORD MB_EXT_NO_SOUND = 0x80000000;

// Results beyond IDOK to IDNO; a checked check box adds its style bit to the button's id.
constexpr int IDEXT_CONTINUE = 10;
constexpr int IDEXT_YES_TO_ALL = 11;
constexpr int IDEXT_NO_TO_ALL = 12;
// Control ids of the box.
constexpr int IDEXT_ICON = 1000;
constexpr int IDEXT_TEXT = 1001;
constexpr int IDEXT_HELP = 300;
constexpr int IDEXT_CHECK = 5555;

// Shows lpszText in the system's own box and returns the id of the button pressed (plus the check
// box's style bit when it is checked). hWndOwner null: the desktop owns it. lpszCaption null or
// empty: the application's title. A system-modal box with the hand icon is the platform's own.
int ExtMessageBox(HWND hWndOwner, LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, DWORD dwStyle = MB_OK,
                  UINT nHelpContextId = 0);

namespace extbox {

// The texts of the buttons and check boxes, in the order of the string table (9001 to 9013).
enum TextIndex {
  kOK, kCancel, kIgnore, kRetry, kAbort, kHelp, kYes, kNo, kContinue, kDontAsk, kDontTell, kYesToAll, kNoToAll,
  kTextCount
};
using Texts = std::array<CString, kTextCount>;
// The strings 9001 to 9013, each in English when missing (always with bBuiltIn), cut to 99 characters.
Texts LoadTexts(BOOL bBuiltIn);

// Measures a text in pixels: wrapped within cxMax when bWrap, else on one line.
using Measure = std::function<CSize(const CString& text, int cxMax, bool bWrap)>;

// Where everything of the box goes, in pixels of its client area.
struct Layout {
  struct Button {
    int nID;
    CString strText;
    CRect rect;
  };
  CSize size;     // the client area
  CRect rcIcon;   // empty without an icon
  CRect rcText;
  CRect rcCheck;  // empty without a check box
  CString strCheck;
  DWORD dwCheckFlag = 0;  // the result bit of the check box
  std::vector<Button> buttons;
  int nDefaultID = IDOK;
  BOOL bCancelAllowed = FALSE;
};

// The box's layout for a style, its message, the icon's size (0 x 0 without) and the screen width.
Layout LayOut(DWORD dwStyle, const CString& strText, CSize sizeIcon, int cxScreen, const Texts& texts,
              const Measure& measure);

}  // namespace extbox

// The box as item records in dialog units, built into a dialog template and run.
class CDialogTemplateExt {
 public:
  // Item kinds: each a window class and a style.
  enum ItemKind { kButton = 128, kCheckButton = 129, kStatic = 130, kAutoCheckBox = 131, kPlainCheckBox = 127 };
  struct Item {
    DWORD dwStyle;
    DWORD dwExStyle;
    short x, y, cx, cy;  // dialog units
    WORD wID;
    ItemKind kind;
    CString strText;  // at most 1023 characters
  };

  // Measures and lays out the box for its message (cut to 1023 characters) and style, in the
  // message font, and makes its items.
  CDialogTemplateExt(LPCTSTR lpszText, DWORD dwStyle, HWND hWndOwner = nullptr, UINT nHelpContextId = 0,
                     HFONT hMessageFont = nullptr);
  ~CDialogTemplateExt();
  CDialogTemplateExt(const CDialogTemplateExt&) = delete;
  CDialogTemplateExt& operator=(const CDialogTemplateExt&) = delete;

  // An item at a rectangle in pixels (converted to dialog units); no rectangle: 0, 0, 10 x 10.
  void AddItem(ItemKind kind, int nID, const CRect* pRect, LPCTSTR lpszText);
  // The dialog template: header, caption and every item, each item on a DWORD boundary.
  std::vector<BYTE> BuildTemplate(LPCTSTR lpszCaption) const;
  // Runs the box modally over its owner; the button's id plus the check box's bit.
  int Display(LPCTSTR lpszCaption);

  const extbox::Layout& GetLayout() const { return m_layout; }
  const std::vector<Item>& GetItems() const { return m_items; }
  DWORD GetDialogStyle() const;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK IconProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Pixels to dialog units of the system font.
  CSize ToDialogUnits(CSize size) const;
  BOOL OnInitDialog(HWND hDlg);
  void OnCommand(HWND hDlg, int nID);
  DWORD CheckFlag(HWND hDlg) const;
  bool OnlyOk() const;

  DWORD m_dwStyle;
  HWND m_hWndOwner;
  UINT m_nHelpContextId;
  HFONT m_hFont;
  HICON m_hIcon = nullptr;
  CSize m_baseUnits;
  extbox::Layout m_layout;
  std::vector<Item> m_items;
};
