// The dialog manager: creation from templates, dialog units, focus and keyboard navigation, the
// default button, modal loops and EndDialog, item helpers and dialogs as pages.
#include <algorithm>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "ControlsTestSupport.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

class DialogFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingDialog::Reset();
    owner_ = recorder_.Hwnd();
  }

  HWND Modeless(int id = IDD_NAVIGATION) {
    HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(id), owner_, RecordingDialog::Proc, 0);
    EXPECT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    PumpDialog(dialog);
    return dialog;
  }

  // The dialog left for its owner and activated again.
  void Reactivate(HWND dialog) {
    SetActiveWindow(owner_);
    SetActiveWindow(dialog);
    PumpDialog(dialog);
  }

  UiSession session_;
  NotificationRecorder recorder_;
  HWND owner_ = nullptr;
};

using DialogTemplates = DialogFixture;

TEST_F(DialogTemplates, ControlsArePlacedInDialogUnitsOfTheDialogFont) {
  HWND dialog = Modeless();
  auto font = reinterpret_cast<HFONT>(SendMessage(dialog, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  SIZE base = DialogBaseUnitsOf(font);
  RECT ok = RectInParent(GetDlgItem(dialog, IDOK));
  EXPECT_EQ(ok.left, MulDiv(143, base.cx, 4));
  EXPECT_EQ(ok.top, MulDiv(99, base.cy, 8));
  EXPECT_EQ(ok.right - ok.left, MulDiv(50, base.cx, 4));
  EXPECT_EQ(ok.bottom - ok.top, MulDiv(14, base.cy, 8));
  RECT mapped{143, 99, 50, 14};
  MapDialogRect(dialog, &mapped);
  EXPECT_EQ(mapped.left, ok.left);
  EXPECT_EQ(mapped.right, ok.right - ok.left);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, MulDiv(200, base.cx, 4));
  EXPECT_EQ(client.bottom, MulDiv(120, base.cy, 8));
  EXPECT_EQ(SendMessage(GetDlgItem(dialog, IDOK), WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
}

TEST_F(DialogTemplates, BaseUnitsFollowTheDocumentedFormula) {
  HFONT font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent;
  GetTextExtentPoint32(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &extent);
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  SIZE base = DialogBaseUnitsOf(font);
  EXPECT_EQ(base.cx, (extent.cx / 26 + 1) / 2);
  EXPECT_EQ(base.cy, tm.tmHeight);
  DeleteObject(font);
  LONG system = GetDialogBaseUnits();
  EXPECT_GT(LOWORD(system), 0);
  EXPECT_GT(HIWORD(system), LOWORD(system));
}

TEST_F(DialogTemplates, TheEightPointDialogFontHasTheClassicBaseUnits) {
  // 8 points at 96 dots per inch: the dialogs were designed with base units of 6 by 13 pixels.
  for (const char* face : {"MS Sans Serif", "MS Shell Dlg", "Tahoma"}) {
    HFONT font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    SIZE base = DialogBaseUnitsOf(font);
    EXPECT_EQ(base.cx, 6) << face;
    EXPECT_EQ(base.cy, 13) << face;
    DeleteObject(font);
  }
  // "System" is proportional: an i is narrower than a W.
  HFONT system = CreateFont(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "System");
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, system);
  SIZE i{}, w{};
  GetTextExtentPoint32(dc, "i", 1, &i);
  GetTextExtentPoint32(dc, "W", 1, &w);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(system);
  EXPECT_LT(i.cx * 2, w.cx);
}

TEST_F(DialogTemplates, ControlsKeepTheirClassesStylesAndOrder) {
  HWND dialog = Modeless();
  char cls[32];
  GetClassName(dialog, cls, sizeof(cls));
  EXPECT_STREQ(cls, "#32770");
  std::vector<int> ids;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ids.push_back(GetDlgCtrlID(c));
  EXPECT_EQ(ids, (std::vector<int>{IDC_LABEL, IDC_TARGET, IDC_CHECK, IDC_GROUP, IDC_RED, IDC_GREEN, IDC_BLUE,
                                   IDC_DISABLED, IDOK, IDCANCEL}));
  GetClassName(GetDlgItem(dialog, IDC_LABEL), cls, sizeof(cls));
  EXPECT_STREQ(cls, "Static");
  EXPECT_EQ(Text(GetDlgItem(dialog, IDC_CHECK)), "&Check");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_DISABLED)));
  EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
}

// A DLGTEMPLATE built in memory: header, no menu, the default class, a title, the font, and an
// OK button labelled "Go" when asked for.
std::vector<WORD> MemoryTemplate(DWORD style, short x, short y, const char* title, bool withButton) {
  std::vector<WORD> words;
  auto dword = [&](DWORD v) {
    words.push_back(LOWORD(v));
    words.push_back(HIWORD(v));
  };
  auto text = [&](const char* s) {
    for (; *s; ++s) words.push_back(static_cast<WORD>(*s));
    words.push_back(0);
  };
  dword(style | DS_SETFONT);
  dword(0);
  words.push_back(withButton ? 1 : 0);
  for (short v : {x, y, short{100}, short{50}}) words.push_back(static_cast<WORD>(v));
  words.push_back(0);
  words.push_back(0);
  text(title);
  words.push_back(8);
  text("MS Sans Serif");
  if (!withButton) return words;
  if (words.size() % 2) words.push_back(0);
  dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
  dword(0);
  for (short v : {5, 5, 40, 14}) words.push_back(static_cast<WORD>(v));
  words.push_back(IDOK);
  words.push_back(0xFFFF);
  words.push_back(0x0080);
  text("Go");
  words.push_back(0);
  return words;
}

TEST_F(DialogTemplates, RunTimeTemplateMakesAModalDialog) {
  std::vector<WORD> words = MemoryTemplate(WS_POPUP | WS_CAPTION, 10, 10, "Built", true);
  ModalAnswers answers;
  answers.When("#32770", "Built", [](HWND dialog) {
    EXPECT_EQ(Text(GetDlgItem(dialog, IDOK)), "Go");
    SendMessage(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  });
  INT_PTR r = DialogBoxIndirectParam(nullptr, reinterpret_cast<LPCDLGTEMPLATE>(words.data()), owner_,
                                     RecordingDialog::Proc, 0);
  EXPECT_EQ(r, IDOK);
  EXPECT_TRUE(answers.Unanswered().empty());
}

// Where a window's first ink lies, in window coordinates, inside its client area: the top-most
// row and the left-most column of anything not of the window colour.
POINT FirstInk(HWND hwnd) {
  RECT window, client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  const int ox = origin.x - window.left, oy = origin.y - window.top;
  POINT first{-1, -1};
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x)
      if (WindowPixel(hwnd, ox + x, oy + y) != GetSysColor(COLOR_WINDOW)) {
        if (first.y < 0) first.y = oy + y;
        if (first.x < 0 || ox + x < first.x) first.x = ox + x;
      }
  return first;
}

// Dialogs have the 3-D look without asking for it: an edit's WS_BORDER becomes a sunken client
// edge, and the text keeps the client edge's one pixel off it, as in an edit made with the edge,
// one pixel nearer the frame than in an edit made with a plain border outside a dialog.
TEST_F(DialogTemplates, AnEditsBorderBecomesAClientEdgeWithItsInset) {
  std::vector<WORD> words = MemoryTemplate(WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, "Edits", false);
  words[4] = 1;  // one item
  if (words.size() % 2) words.push_back(0);
  words.push_back(LOWORD(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL));
  words.push_back(HIWORD(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL));
  words.push_back(0);
  words.push_back(0);
  for (short v : {5, 5, 80, 14}) words.push_back(static_cast<WORD>(v));
  words.push_back(10);
  words.push_back(0xFFFF);
  words.push_back(0x0081);
  for (const char* c = "HH"; *c; ++c) words.push_back(static_cast<WORD>(*c));
  words.push_back(0);
  words.push_back(0);
  HWND dialog = CreateDialogIndirectParam(nullptr, reinterpret_cast<LPCDLGTEMPLATE>(words.data()), owner_,
                                          RecordingDialog::Proc, 0);
  ASSERT_NE(dialog, nullptr);
  HWND inDialog = GetDlgItem(dialog, 10);
  ASSERT_NE(inDialog, nullptr);
  EXPECT_EQ(GetWindowLong(inDialog, GWL_STYLE) & WS_BORDER, 0);
  EXPECT_NE(GetWindowLong(inDialog, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  RECT format;
  SendMessage(inDialog, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.left, 1);
  EXPECT_EQ(format.top, 1);
  RECT place = RectInParent(inDialog);
  const auto font = SendMessage(dialog, WM_GETFONT, 0, 0);
  auto make = [&](DWORD style, DWORD exStyle, int x) {
    HWND edit = CreateWindowEx(exStyle, "Edit", "HH", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | style, x,
                               place.bottom + 10, 60, place.bottom - place.top, dialog, nullptr, nullptr, nullptr);
    SendMessage(edit, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return edit;
  };
  HWND withEdge = make(0, WS_EX_CLIENTEDGE, place.left), withBorder = make(WS_BORDER, 0, place.left + 70);
  SetFocus(owner_);  // no caret nor selection in the pictures
  PumpDialog(dialog);
  for (HWND edit : {inDialog, withEdge, withBorder}) {
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
  }
  POINT a = FirstInk(inDialog), b = FirstInk(withEdge), c = FirstInk(withBorder);
  ASSERT_GE(a.x, 0);
  EXPECT_EQ(a.x, b.x);
  EXPECT_EQ(a.y, b.y);
  EXPECT_EQ(c.x, a.x + 1) << "a plain border outside a dialog keeps two pixels";
  EXPECT_EQ(c.y, a.y + 1);
  DestroyWindow(dialog);
}

TEST_F(DialogTemplates, DialogStylesPlaceAndDecorateTheWindow) {
  auto make = [&](DWORD style, short x, short y) {
    std::vector<WORD> t = MemoryTemplate(WS_POPUP | WS_CAPTION | style, x, y, "Styled", false);
    return CreateDialogIndirectParam(nullptr, reinterpret_cast<LPCDLGTEMPLATE>(t.data()), owner_,
                                     RecordingDialog::Proc, 0);
  };
  auto clientOrigin = [](HWND h) {
    POINT p{0, 0};
    ClientToScreen(h, &p);
    return p;
  };
  HWND placed = make(0, 10, 20);
  SIZE base = DialogBaseUnitsOf(reinterpret_cast<HFONT>(SendMessage(placed, WM_GETFONT, 0, 0)));
  POINT owner = clientOrigin(owner_), at = clientOrigin(placed);
  EXPECT_EQ(at.x, owner.x + MulDiv(10, base.cx, 4)) << "positions count from the owner's client area";
  EXPECT_EQ(at.y, owner.y + MulDiv(20, base.cy, 8));
  at = clientOrigin(make(DS_ABSALIGN, 10, 20));
  EXPECT_EQ(at.x, MulDiv(10, base.cx, 4)) << "DS_ABSALIGN positions count from the screen";
  HWND centred = make(DS_CENTER, 0, 0);
  RECT o, w;
  GetWindowRect(owner_, &o);
  GetWindowRect(centred, &w);
  EXPECT_NEAR((w.left + w.right) / 2, (o.left + o.right) / 2, 1);
  EXPECT_NEAR((w.top + w.bottom) / 2, (o.top + o.bottom) / 2, 1);
  EXPECT_TRUE(GetWindowLong(make(DS_MODALFRAME, 0, 0), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_TRUE(GetWindowLong(make(DS_SYSMODAL, 0, 0), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLong(make(DS_CONTEXTHELP, 0, 0), GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
}

// A dialog class of the program's own: the dialog's extra bytes, DefDlgProc as its procedure.
const char* OwnDialogClass() {
  WNDCLASS wc{};
  wc.lpfnWndProc = DefDlgProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.lpszClassName = "BramboltTestDialogClass";
  RegisterClass(&wc);  // once; later calls find it registered
  return wc.lpszClassName;
}

TEST_F(DialogTemplates, TemplatesNameTheirOwnDialogClass) {
  OwnDialogClass();
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_CUSTOM_CLASS), owner_, RecordingDialog::Proc, 0);
  ASSERT_NE(dialog, nullptr);
  char cls[64];
  GetClassName(dialog, cls, sizeof(cls));
  EXPECT_STREQ(cls, "BramboltTestDialogClass");
  SendMessage(dialog, WM_CLOSE, 0, 0);
  PumpDialog(dialog);
  ASSERT_EQ(RecordingDialog::Commands().size(), 1u);
  EXPECT_EQ(RecordingDialog::Commands()[0].id, IDCANCEL) << "the class procedure is the dialog manager's";
}

TEST_F(DialogTemplates, MissingTemplateFailsWithMinusOne) {
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(9999), owner_, RecordingDialog::Proc, 0), -1);
  EXPECT_EQ(CreateDialogParam(nullptr, MAKEINTRESOURCE(9999), owner_, RecordingDialog::Proc, 0), nullptr);
}

using DialogFocus = DialogFixture;

TEST_F(DialogFocus, InitDialogReturningTrueFocusesTheFirstTabStop) {
  HWND dialog = Modeless();
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_TARGET));
}

TEST_F(DialogFocus, InitDialogReturningFalseKeepsTheFocusItSet) {
  RecordingDialog::InitAnswer() = FALSE;
  RecordingDialog::FocusIdInInit() = IDCANCEL;
  HWND dialog = Modeless();
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDCANCEL));
}

// An activated dialog takes the keyboard unless it is minimised (then it takes it when it is
// restored): the control remembered when it was left gets the focus back (once); with none
// remembered and the focus outside it, its first control takes it, an edit's selection left as it
// was, or, with no control that can, the dialog itself. Either way Esc reaches the dialog manager
// as a real key press.
TEST_F(DialogFocus, ActivationGivesTheDialogTheKeyboard) {
  std::vector<WORD> bare = MemoryTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU, 10, 10, "Bare", false);
  struct Case {
    const char* name;
    bool withControls;
    bool minimised;
  };
  for (const Case& c : {Case{"controls", true, false}, Case{"no control", false, false},
                        Case{"minimised", true, true}, Case{"minimised, no control", false, true}}) {
    SCOPED_TRACE(c.name);
    RecordingDialog::Reset();
    RecordingDialog::InitAnswer() = FALSE;  // nothing focused, nothing remembered
    SetFocus(owner_);
    HWND dialog = c.withControls
                      ? CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_EVERY_CONTROL), owner_, RecordingDialog::Proc, 0)
                      : CreateDialogIndirectParam(nullptr, reinterpret_cast<LPCDLGTEMPLATE>(bare.data()), owner_,
                                                  RecordingDialog::Proc, 0);
    ASSERT_NE(dialog, nullptr);
    HWND edit = GetDlgItem(dialog, IDC_EDIT);
    if (edit) SendMessage(edit, EM_SETSEL, 1, 1);
    ShowWindow(dialog, c.minimised ? SW_SHOWMINIMIZED : SW_SHOW);
    PumpDialog(dialog);
    ASSERT_EQ(GetActiveWindow(), dialog);
    if (c.minimised) {
      EXPECT_EQ(GetFocus(), nullptr);
      ShowWindow(dialog, SW_RESTORE);  // restored, it takes the keyboard
      PumpDialog(dialog);
    }
    EXPECT_EQ(GetFocus(), c.withControls ? edit : dialog);
    if (edit && !c.minimised) {
      EXPECT_EQ(SendMessage(edit, EM_GETSEL, 0, 0), MAKELONG(1, 1)) << "typing would replace the text";
    }
    if (c.withControls) {
      // Left with a control focused, the dialog gives it back, once; a focus that then leaves
      // while the dialog stays active comes back to the first control, never to nowhere.
      HWND check = GetDlgItem(dialog, IDC_CHECK);
      SetFocus(check);
      SetActiveWindow(owner_);
      EXPECT_EQ(GetFocus(), owner_);
      SetActiveWindow(dialog);
      PumpDialog(dialog);
      EXPECT_EQ(GetFocus(), check);
      SetFocus(nullptr);
      Reactivate(dialog);
      EXPECT_EQ(GetFocus(), edit);
    }
    DialogKey(dialog, VK_ESCAPE);
    const auto& commands = RecordingDialog::Commands();
    EXPECT_EQ(std::count_if(commands.begin(), commands.end(), [](const Command& m) { return m.id == IDCANCEL; }), 1);
    DestroyWindow(dialog);
  }
}

// The control a dialog gives the focus back to on activation is the one remembered when the
// dialog was last left; the control focused while it was created is not remembered: a focus the
// program moved inside the dialog stays where it put it, and a focus gone from the dialog comes
// back to its first control, whether the dialog focused its first control or its procedure chose
// another one.
TEST_F(DialogFocus, TheControlFocusedAtCreationIsNotRemembered) {
  struct Case {
    BOOL initAnswer;
    int focusInInit;
  };
  for (const Case& c : {Case{TRUE, IDCANCEL}, Case{FALSE, IDCANCEL}, Case{TRUE, 0}}) {
    SCOPED_TRACE(::testing::Message() << "WM_INITDIALOG answers " << c.initAnswer << " after focusing " << c.focusInInit);
    RecordingDialog::InitAnswer() = c.initAnswer;
    RecordingDialog::FocusIdInInit() = c.focusInInit;
    HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_EVERY_CONTROL), owner_, RecordingDialog::Proc, 0);
    ASSERT_NE(dialog, nullptr);
    HWND focused = GetFocus();
    ASSERT_TRUE(IsChild(dialog, focused));
    HWND list = GetDlgItem(dialog, IDC_LIST);
    SetFocus(list);
    ShowWindow(dialog, SW_SHOW);
    PumpDialog(dialog);
    EXPECT_EQ(GetFocus(), list);
    SetFocus(nullptr);
    Reactivate(dialog);
    EXPECT_EQ(GetActiveWindow(), dialog);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_EDIT)) << "the first control, not the one focused at creation";
    // Left with a control focused, the dialog gives it back.
    HWND check = GetDlgItem(dialog, IDC_CHECK);
    SetFocus(check);
    Reactivate(dialog);
    EXPECT_EQ(GetFocus(), check);
    DestroyWindow(dialog);
  }
}

// A WM_ACTIVATE a program sends a dialog gives the focus back to the control remembered when the
// dialog was left, and with none remembered leaves the focus where it is, nowhere included; the
// window manager's own activation still gives the dialog the keyboard.
TEST_F(DialogFocus, ASentActivationOnlyGivesBackTheRememberedControl) {
  RecordingDialog::InitAnswer() = FALSE;
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_EVERY_CONTROL), owner_, RecordingDialog::Proc, 0);
  ASSERT_NE(dialog, nullptr);
  ShowWindow(dialog, SW_SHOW);
  PumpDialog(dialog);
  HWND edit = GetDlgItem(dialog, IDC_EDIT), check = GetDlgItem(dialog, IDC_CHECK);
  ASSERT_EQ(GetFocus(), edit);
  SetFocus(nullptr);
  SendMessage(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), nullptr) << "nothing remembered: the focus stays nowhere";
  SetFocus(check);
  SendMessage(dialog, WM_ACTIVATE, WA_INACTIVE, 0);
  SetFocus(nullptr);
  SendMessage(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), check);
  SetFocus(nullptr);
  Reactivate(dialog);
  EXPECT_EQ(GetFocus(), edit);
  DestroyWindow(dialog);
}

using DialogNavigation = DialogFixture;

// Alt held with another key is no lone Alt, whoever took that key: after a dialog that the
// program's loop closed on Alt+F (as a sheet's Finish), the Alt's release opens no menu of the
// window that has the keyboard then, while a lone Alt still does.
TEST_F(DialogNavigation, AltWithALetterThatClosedTheDialogIsNoLoneAlt) {
  recorder_.Watch(WM_SYSCOMMAND);
  HWND dialog = Modeless();
  auto pump = [&] {
    MSG msg;
    for (int guard = 0; guard < 100000; ++guard) {
      if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (PendingInputEvents() == 0) break;
        continue;
      }
      if (msg.message == WM_SYSKEYDOWN && msg.wParam == 'F' && IsWindow(dialog)) {
        DestroyWindow(dialog);
        continue;
      }
      if (IsWindow(dialog) && IsDialogMessage(dialog, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  };
  auto menuModes = [&] {
    const auto& records = recorder_.Records();
    return std::count_if(records.begin(), records.end(), [](const NotificationRecorder::Record& r) {
      return r.message == WM_SYSCOMMAND && (r.wParam & 0xFFF0) == SC_KEYMENU;
    });
  };
  InjectKey(VK_MENU, true);
  InjectKey('F', true);
  pump();
  ASSERT_FALSE(IsWindow(dialog));
  InjectKey('F', false);
  InjectKey(VK_MENU, false);
  pump();
  EXPECT_EQ(GetFocus(), owner_);
  EXPECT_EQ(menuModes(), 0);
  InjectKey(VK_MENU, true);
  InjectKey(VK_MENU, false);
  pump();
  EXPECT_EQ(menuModes(), 1);
}

// In a combo box Alt+F4 closes the dialog and drops nothing; F4 alone and Alt+Down drop the list
// and close it again.
TEST_F(DialogNavigation, AltF4OnAComboBoxClosesTheDialog) {
  HWND dialog = Modeless(IDD_LISTS);
  HWND combo = GetDlgItem(dialog, IDC_COMBO);
  ASSERT_EQ(GetFocus(), combo);
  DialogKey(dialog, VK_F4, kAlt);
  EXPECT_FALSE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
  const auto& commands = RecordingDialog::Commands();
  EXPECT_EQ(std::count_if(commands.begin(), commands.end(), [](const Command& m) { return m.id == IDCANCEL; }), 1);
  DestroyWindow(dialog);
  dialog = Modeless(IDD_LISTS);
  combo = GetDlgItem(dialog, IDC_COMBO);
  DialogKey(dialog, VK_F4);
  EXPECT_TRUE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
  DialogKey(dialog, VK_DOWN, kAlt);
  EXPECT_FALSE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
  DestroyWindow(dialog);
}

TEST_F(DialogNavigation, TabVisitsTabStopsInOrderAndWraps) {
  HWND dialog = Modeless();
  std::vector<int> forward;
  for (int i = 0; i < 6; ++i) {
    DialogKey(dialog, VK_TAB);
    forward.push_back(GetDlgCtrlID(GetFocus()));
  }
  EXPECT_EQ(forward, (std::vector<int>{IDC_CHECK, IDC_RED, IDOK, IDCANCEL, IDC_TARGET, IDC_CHECK}));
  std::vector<int> back;
  for (int i = 0; i < 3; ++i) {
    DialogKey(dialog, VK_TAB, kShift);
    back.push_back(GetDlgCtrlID(GetFocus()));
  }
  EXPECT_EQ(back, (std::vector<int>{IDC_TARGET, IDCANCEL, IDOK}));
}

TEST_F(DialogNavigation, ArrowsMoveInsideTheGroupAndCheckRadioButtons) {
  HWND dialog = Modeless();
  SendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_RED)), TRUE);
  PumpDialog(dialog);
  std::vector<int> visited;
  for (int i = 0; i < 3; ++i) {
    DialogKey(dialog, VK_DOWN);
    visited.push_back(GetDlgCtrlID(GetFocus()));
  }
  EXPECT_EQ(visited, (std::vector<int>{IDC_GREEN, IDC_BLUE, IDC_RED}));
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RED), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_BLUE), BST_UNCHECKED);
  DialogKey(dialog, VK_UP);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_BLUE));
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_BLUE), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RED), BST_UNCHECKED);
  // The checked radio button is the group's tab stop.
  EXPECT_TRUE(GetWindowLong(GetDlgItem(dialog, IDC_BLUE), GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLong(GetDlgItem(dialog, IDC_RED), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(DialogNavigation, MnemonicsFocusOrClickTheirControl) {
  HWND dialog = Modeless();
  DialogKey(dialog, VK_TAB);  // on the check box
  DialogKey(dialog, 'O', kAlt);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_RED)) << "a group box hands the focus on";
  DialogKey(dialog, 'N', kAlt);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_TARGET)) << "a label hands the focus to the next control";
  DialogType(dialog, "c");
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_CHECK));
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHECK), BST_CHECKED);
  DialogType(dialog, "G");
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_GREEN), BST_CHECKED);
}

TEST_F(DialogNavigation, AMnemonicSeveralControlsShareMovesTheFocusAmongThemAndPressesNone) {
  HWND dialog = Modeless();
  HWND check = GetDlgItem(dialog, IDC_CHECK), blue = GetDlgItem(dialog, IDC_BLUE);
  HWND green = GetDlgItem(dialog, IDC_GREEN), cancel = GetDlgItem(dialog, IDCANCEL);
  SetWindowText(blue, "&Cyan");
  SetWindowText(cancel, "&Go away");
  struct Step {
    char key;
    HWND focus;
  };
  for (const Step& step : {Step{'C', check}, Step{'C', blue}, Step{'C', check}, Step{'G', green}, Step{'G', cancel}}) {
    DialogKey(dialog, static_cast<UINT>(step.key), kAlt);
    EXPECT_EQ(GetFocus(), step.focus) << step.key;
  }
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHECK), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_BLUE), BST_UNCHECKED);
  EXPECT_TRUE(RecordingDialog::Commands().empty()) << "Cancel was pressed";
}

TEST_F(DialogNavigation, EnterPressesTheDefaultButtonOrTheFocusedPushButton) {
  HWND dialog = Modeless();
  DialogKey(dialog, VK_TAB);  // the check box: Enter goes to the default button
  DialogKey(dialog, VK_RETURN);
  ASSERT_EQ(RecordingDialog::Commands().size(), 1u);
  EXPECT_EQ(RecordingDialog::Commands()[0].id, IDOK);
  RecordingDialog::Commands().clear();

  dialog = Modeless();
  SendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDCANCEL)), TRUE);
  PumpDialog(dialog);
  DialogKey(dialog, VK_RETURN);
  ASSERT_EQ(RecordingDialog::Commands().size(), 1u);
  EXPECT_EQ(RecordingDialog::Commands()[0].id, IDCANCEL);
}

TEST_F(DialogNavigation, EscapeAndCloseSendCancel) {
  HWND dialog = Modeless();
  DialogKey(dialog, VK_ESCAPE);
  ASSERT_EQ(RecordingDialog::Commands().size(), 1u);
  EXPECT_EQ(RecordingDialog::Commands()[0].id, IDCANCEL);
  EXPECT_EQ(RecordingDialog::Commands()[0].code, BN_CLICKED);
  RecordingDialog::Commands().clear();
  dialog = Modeless();
  SendMessage(dialog, WM_CLOSE, 0, 0);
  PumpDialog(dialog);
  ASSERT_EQ(RecordingDialog::Commands().size(), 1u);
  EXPECT_EQ(RecordingDialog::Commands()[0].id, IDCANCEL);
}

TEST_F(DialogNavigation, FocusedPushButtonBorrowsTheDefaultLook) {
  HWND dialog = Modeless();
  HWND ok = GetDlgItem(dialog, IDOK), cancel = GetDlgItem(dialog, IDCANCEL);
  auto type = [](HWND h) { return GetWindowLong(h, GWL_STYLE) & BS_TYPEMASK; };
  SendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(cancel), TRUE);
  PumpDialog(dialog);
  EXPECT_EQ(type(cancel), BS_DEFPUSHBUTTON);
  EXPECT_EQ(type(ok), BS_PUSHBUTTON);
  SendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_CHECK)), TRUE);
  PumpDialog(dialog);
  EXPECT_EQ(type(cancel), BS_PUSHBUTTON);
  EXPECT_EQ(type(ok), BS_DEFPUSHBUTTON);
  EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
}

TEST_F(DialogNavigation, SetDefIdMovesTheDefaultButton) {
  HWND dialog = Modeless();
  DialogKey(dialog, VK_TAB);  // focus on the check box
  SendMessage(dialog, DM_SETDEFID, IDCANCEL, 0);
  EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDCANCEL, DC_HASDEFID));
  EXPECT_EQ(GetWindowLong(GetDlgItem(dialog, IDCANCEL), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLong(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  DialogKey(dialog, VK_RETURN);
  ASSERT_EQ(RecordingDialog::Commands().size(), 1u);
  EXPECT_EQ(RecordingDialog::Commands()[0].id, IDCANCEL);
}

TEST_F(DialogNavigation, WalksEndFromAnyStart) {
  HWND dialog = Modeless();
  std::vector<HWND> starts{nullptr, owner_, dialog};
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) starts.push_back(c);
  for (HWND start : starts) {
    for (BOOL back : {FALSE, TRUE}) {
      HWND tab = GetNextDlgTabItem(dialog, start, back);
      ASSERT_NE(tab, nullptr);
      EXPECT_TRUE(IsChild(dialog, tab));
      EXPECT_TRUE(GetWindowLong(tab, GWL_STYLE) & WS_TABSTOP);
      HWND group = GetNextDlgGroupItem(dialog, start, back);
      ASSERT_NE(group, nullptr);
      EXPECT_TRUE(IsChild(dialog, group));
    }
  }
  // With every tab stop disabled, the walk still ends.
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) EnableWindow(c, FALSE);
  EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), nullptr);
  HWND label = GetDlgItem(dialog, IDC_LABEL);
  EXPECT_EQ(GetNextDlgTabItem(dialog, label, FALSE), label);
}

TEST_F(DialogNavigation, ChildDialogPageJoinsTheTabOrder) {
  HWND host = Modeless(IDD_PAGE_HOST);
  HWND page = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_PAGE), host, RecordingDialog::Proc, 0);
  ASSERT_NE(page, nullptr);
  SetWindowPos(page, GetDlgItem(host, IDC_HOST_BEFORE), 0, 30, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(page, SW_SHOW);
  SetFocus(GetDlgItem(host, IDC_HOST_BEFORE));
  PumpDialog(host);
  std::vector<int> order;
  for (int i = 0; i < 4; ++i) {
    DialogKey(host, VK_TAB);
    order.push_back(GetDlgCtrlID(GetFocus()));
  }
  EXPECT_EQ(order, (std::vector<int>{IDC_PAGE_FIRST, IDC_PAGE_SECOND, IDC_HOST_AFTER, IDC_HOST_BEFORE}));
}

// Tab and group searches go into a window with WS_EX_CONTROLPARENT, at any depth, and on from
// its last child to the control after it: a radio group runs on through two nested control
// parents up to the next WS_GROUP control, and a container is never a control of its own.
TEST_F(DialogNavigation, TabAndGroupSearchesWalkIntoNestedControlParents) {
  HWND host = Modeless(IDD_PAGE_HOST);
  HWND before = GetDlgItem(host, IDC_HOST_BEFORE), after = GetDlgItem(host, IDC_HOST_AFTER);
  auto make = [](HWND parent, const char* cls, DWORD style, DWORD exStyle = 0) {
    HWND h = CreateWindowEx(exStyle, cls, "x", WS_CHILD | WS_VISIBLE | style, 0, 0, 30, 10, parent, nullptr, nullptr,
                            nullptr);
    EXPECT_NE(h, nullptr);
    return h;
  };
  const DWORD radio = BS_AUTORADIOBUTTON;
  HWND r1 = make(host, "Button", radio | WS_GROUP | WS_TABSTOP);
  HWND box = make(host, "Static", WS_TABSTOP, WS_EX_CONTROLPARENT);
  HWND r2 = make(box, "Button", radio);
  HWND inner = make(box, "Static", 0, WS_EX_CONTROLPARENT);
  HWND r3 = make(inner, "Button", radio | WS_TABSTOP);
  HWND x = make(box, "Button", WS_GROUP | WS_TABSTOP);
  HWND y = make(host, "Button", WS_GROUP | WS_TABSTOP);
  struct Case {
    HWND from;
    BOOL back;
    HWND tab, group;
  };
  const Case cases[] = {
      {after, FALSE, r1, before}, {r1, FALSE, r3, r2},   {r2, FALSE, r3, r3},   {r3, FALSE, x, r1},
      {x, FALSE, y, x},           {y, FALSE, before, y}, {before, TRUE, y, after},
      {y, TRUE, x, y},            {x, TRUE, r3, x},      {r3, TRUE, r1, r2},    {r2, TRUE, r1, r1},
      {r1, TRUE, after, r3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "from " << GetDlgCtrlID(c.from) << " " << c.from << (c.back ? " back" : ""));
    EXPECT_EQ(GetNextDlgTabItem(host, c.from, c.back), c.tab);
    EXPECT_EQ(GetNextDlgGroupItem(host, c.from, c.back), c.group);
  }
  // A child dialog page holds its own groups: they end with its last control, and the host's
  // controls before it make a group of their own.
  HWND page = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_PAGE), host, RecordingDialog::Proc, 0);
  ASSERT_NE(page, nullptr);
  ShowWindow(page, SW_SHOW);
  HWND first = GetDlgItem(page, IDC_PAGE_FIRST), second = GetDlgItem(page, IDC_PAGE_SECOND);
  EXPECT_EQ(GetNextDlgGroupItem(host, second, FALSE), first);
  EXPECT_EQ(GetNextDlgGroupItem(host, first, TRUE), second);
  EXPECT_EQ(GetNextDlgTabItem(host, second, FALSE), before) << "Tab goes on out of the page";
  DestroyWindow(page);
  // Arrows walk the group through the containers, checking the radio buttons on the way.
  SetFocus(r1);
  DialogKey(host, VK_DOWN);
  EXPECT_EQ(GetFocus(), r2);
  DialogKey(host, VK_DOWN);
  EXPECT_EQ(GetFocus(), r3);
  EXPECT_EQ(SendMessage(r3, BM_GETCHECK, 0, 0), BST_CHECKED);
  DialogKey(host, VK_DOWN);
  EXPECT_EQ(GetFocus(), r1);
}

// A search from a control parent itself leaves it behind whole: Tab goes on after its children,
// Shift+Tab before them. Without a control to start from, the group search starts from the last
// control (the first searching back): the group around it answers, the control itself included.
TEST_F(DialogNavigation, SearchesFromAControlParentOrFromNoControlStartWhereTheDocumentsSay) {
  HWND host = Modeless(IDD_PAGE_HOST);
  HWND after = GetDlgItem(host, IDC_HOST_AFTER);
  auto make = [](HWND parent, const char* cls, DWORD style, DWORD exStyle = 0) {
    HWND h = CreateWindowEx(exStyle, cls, "x", WS_CHILD | WS_VISIBLE | style, 0, 0, 30, 10, parent, nullptr, nullptr,
                            nullptr);
    EXPECT_NE(h, nullptr);
    return h;
  };
  HWND r1 = make(host, "Button", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP);
  HWND box = make(host, "Static", WS_TABSTOP, WS_EX_CONTROLPARENT);
  make(box, "Button", BS_AUTORADIOBUTTON);
  HWND inner = make(box, "Static", 0, WS_EX_CONTROLPARENT);
  make(inner, "Button", BS_AUTORADIOBUTTON | WS_TABSTOP);
  HWND x = make(box, "Button", WS_GROUP | WS_TABSTOP);
  HWND y = make(host, "Button", WS_GROUP | WS_TABSTOP);
  EXPECT_EQ(GetNextDlgTabItem(host, box, FALSE), y);
  EXPECT_EQ(GetNextDlgTabItem(host, box, TRUE), r1);
  EXPECT_EQ(GetNextDlgTabItem(host, inner, FALSE), x);
  EXPECT_EQ(GetNextDlgTabItem(host, inner, TRUE), r1) << "the radio button before it is no tab stop";
  EXPECT_EQ(GetNextDlgGroupItem(host, nullptr, FALSE), y) << "the last control, a group of its own";
  EXPECT_EQ(GetNextDlgGroupItem(host, nullptr, TRUE), after) << "back from the first control: its group's last";
  EnableWindow(y, FALSE);
  EXPECT_EQ(GetNextDlgGroupItem(host, nullptr, FALSE), nullptr) << "its group has no usable control";
  EXPECT_EQ(GetNextDlgTabItem(host, nullptr, TRUE), x);
}

// Keys given to a child dialog page (DS_CONTROL) work on the dialog that holds it, as one set of
// controls: Tab walks the page and the host in order, mnemonics are found in both, a mnemonic
// shared by a page button and a host button moves the focus first and presses the button it is on.
TEST_F(DialogNavigation, KeysGivenToAChildDialogPageNavigateTheDialogAroundIt) {
  HWND host = Modeless(IDD_PAGE_HOST);
  HWND page = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_PAGE), host, RecordingDialog::Proc, 0);
  ASSERT_NE(page, nullptr);
  SetWindowPos(page, nullptr, 0, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(page, SW_SHOW);
  HWND first = GetDlgItem(page, IDC_PAGE_FIRST), second = GetDlgItem(page, IDC_PAGE_SECOND);
  HWND before = GetDlgItem(host, IDC_HOST_BEFORE), after = GetDlgItem(host, IDC_HOST_AFTER);
  SetWindowText(first, "&Go on");
  SetWindowText(before, "&Go back");
  SetWindowText(after, "&After");
  SetFocus(first);
  PumpDialog(page);
  struct Step {
    UINT key;
    UINT mods;
    HWND focus;
    std::vector<int> commands;  // the buttons pressed so far
  };
  const Step steps[] = {
      {VK_TAB, kNone, second, {}},
      {VK_TAB, kNone, before, {}},  // on round to the host's controls, made before the page
      {VK_TAB, kNone, after, {}},
      {VK_TAB, kNone, first, {}},
      {VK_TAB, kShift, after, {}},
      {VK_TAB, kShift, before, {}},
      {VK_TAB, kShift, second, {}},
      {'G', kAlt, before, {}},  // shared: the next control that has it, in the host
      {'G', kAlt, before, {IDC_HOST_BEFORE}},  // the focus on it: pressed
      {VK_TAB, kNone, after, {IDC_HOST_BEFORE}},
      {'G', kAlt, first, {IDC_HOST_BEFORE}},  // the next one now is in the page
      {'A', kAlt, after, {IDC_HOST_BEFORE, IDC_HOST_AFTER}},  // a mnemonic of one button: pressed
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(::testing::Message() << "key " << step.key << " mods " << step.mods);
    // The keys go to the dialog manager with the innermost dialog that holds the focus, as a
    // framework's pre-translation does.
    DialogKey(IsChild(page, GetFocus()) ? page : host, step.key, step.mods);
    EXPECT_EQ(GetFocus(), step.focus);
    std::vector<int> pressed;
    for (const Command& c : RecordingDialog::Commands())
      if (c.code == BN_CLICKED) pressed.push_back(c.id);
    EXPECT_EQ(pressed, step.commands);
  }
}

using ModalDialogs = DialogFixture;

// A control whose WM_GETDLGCODE answer a test chooses; it records the keys and characters it gets.
struct Probe {
  static LRESULT& Code() {
    thread_local LRESULT code = 0;
    return code;
  }
  static std::vector<std::pair<UINT, WPARAM>>& Got() {
    thread_local std::vector<std::pair<UINT, WPARAM>> got;
    return got;
  }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GETDLGCODE) return Code();
    if (msg == WM_KEYDOWN || msg == WM_CHAR) Got().emplace_back(msg, wParam);
    return DefWindowProc(hwnd, msg, wParam, lParam);
  }
  static HWND Make(HWND dialog) {
    WNDCLASS wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "DialogCodeProbe";
    RegisterClass(&wc);
    HWND h = CreateWindowEx(0, "DialogCodeProbe", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 20, 20, dialog,
                            reinterpret_cast<HMENU>(1500), nullptr, nullptr);
    SetFocus(h);
    Got().clear();
    return h;
  }
  static bool Received(UINT msg, WPARAM key) {
    for (auto& [m, k] : Got())
      if (m == msg && k == key) return true;
    return false;
  }
};

struct CodeCase {
  LRESULT code;
  bool tab, arrow, enter, escape, character;
};

TEST_F(DialogNavigation, ControlsGetTheKeysTheirDialogCodeAsksFor) {
  const CodeCase cases[] = {
      {0, false, false, false, false, false},
      {DLGC_WANTTAB, true, false, false, false, false},
      {DLGC_WANTARROWS, false, true, false, false, false},
      {DLGC_WANTCHARS, false, false, false, false, true},
      {0x87, true, true, true, true, true},   // arrows, tab, all keys and characters
      {132, true, true, true, true, true},    // all keys and characters
  };
  for (const CodeCase& c : cases) {
    HWND dialog = Modeless();
    HWND probe = Probe::Make(dialog);
    Probe::Code() = c.code;
    RecordingDialog::Commands().clear();
    DialogKey(dialog, VK_TAB);
    EXPECT_EQ(Probe::Received(WM_KEYDOWN, VK_TAB), c.tab) << c.code;
    EXPECT_EQ(GetFocus() == probe, c.tab) << c.code;
    SetFocus(probe);
    DialogKey(dialog, VK_DOWN);
    EXPECT_EQ(Probe::Received(WM_KEYDOWN, VK_DOWN), c.arrow) << c.code;
    SetFocus(probe);
    DialogKey(dialog, VK_RETURN);
    EXPECT_EQ(Probe::Received(WM_KEYDOWN, VK_RETURN), c.enter) << c.code;
    EXPECT_EQ(RecordingDialog::Commands().empty(), c.enter) << "Enter pressed the default button instead";
    if (!IsWindow(dialog)) continue;
    SetFocus(probe);
    DialogType(dialog, "c");
    EXPECT_EQ(Probe::Received(WM_CHAR, 'c'), c.character) << c.code;
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHECK) == BST_CHECKED, !c.character) << "the mnemonic of &Check";
    DestroyWindow(dialog);
  }
}

TEST_F(DialogTemplates, ControlStyleMakesAChildPage) {
  HWND page = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_PAGE), Modeless(IDD_PAGE_HOST), RecordingDialog::Proc, 0);
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(GetWindowLong(page, GWL_STYLE) & WS_CHILD);
  EXPECT_FALSE(GetWindowLong(page, GWL_STYLE) & WS_CAPTION);
  EXPECT_TRUE(GetWindowLong(page, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_FALSE(IsWindowVisible(page)) << "a page without WS_VISIBLE waits to be shown";
}

TEST_F(ModalDialogs, AnotherThreadDrivesTheDialogBySentMessages) {
  struct Driver {
    static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
      if (msg == WM_INITDIALOG) {
        std::thread([dialog] {
          SendMessage(GetDlgItem(dialog, IDC_TARGET), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("from the worker"));
          SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }).detach();
        return TRUE;
      }
      if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) {
        char text[64] = {};
        GetDlgItemText(dialog, IDC_TARGET, text, sizeof(text));
        EndDialog(dialog, std::string(text) == "from the worker" ? 7 : 1);
        return TRUE;
      }
      return FALSE;
    }
  };
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_NAVIGATION), owner_, Driver::Proc, 0), 7);
}

TEST_F(ModalDialogs, EndDialogLeavesControlsReadableUntilTheLoopReturns) {
  ModalAnswers answers;
  HWND seen = nullptr;
  bool ownerDisabled = false;
  answers.When(nullptr, "Navigation", [&](HWND dialog) {
    seen = dialog;
    ownerDisabled = !IsWindowEnabled(owner_);
    CheckDlgButton(dialog, IDC_CHECK, BST_CHECKED);
    EndDialog(dialog, 42);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHECK), BST_CHECKED);
    EXPECT_EQ(Text(GetDlgItem(dialog, IDC_TARGET)), "Target");
  });
  INT_PTR r = DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_NAVIGATION), owner_, RecordingDialog::Proc, 0);
  EXPECT_EQ(r, 42);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_FALSE(IsWindow(seen));
}

TEST_F(ModalDialogs, NestedModalDialogsDisableTheirOwnersInTurn) {
  struct Outer {
    static INT_PTR& Inner() {
      thread_local INT_PTR inner = 0;
      return inner;
    }
    static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
      if (msg == WM_INITDIALOG) return TRUE;
      if (msg == WM_COMMAND && LOWORD(wParam) == IDC_TARGET) {
        Inner() = DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_PAGE_HOST), dialog, RecordingDialog::Proc, 0);
        return TRUE;
      }
      if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    }
  };
  ModalAnswers answers;
  HWND outer = nullptr;
  bool outerDisabled = false, outerEnabledAfter = false, outerActiveAfter = false;
  answers.When(nullptr, "Navigation", [&](HWND dialog) {
    outer = dialog;
    SendMessage(GetDlgItem(dialog, IDC_TARGET), BM_CLICK, 0, 0);
    outerEnabledAfter = IsWindowEnabled(dialog) != FALSE;
    outerActiveAfter = GetActiveWindow() == dialog;
    EndDialog(dialog, IDOK);
  });
  answers.When(nullptr, "Host", [&](HWND inner) {
    outerDisabled = !IsWindowEnabled(outer);
    EXPECT_EQ(GetWindow(inner, GW_OWNER), outer);
    EndDialog(inner, 5);
  });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_NAVIGATION), owner_, Outer::Proc, 0), IDOK);
  EXPECT_EQ(Outer::Inner(), 5);
  EXPECT_TRUE(outerDisabled);
  EXPECT_TRUE(outerEnabledAfter);
  EXPECT_TRUE(outerActiveAfter) << "activation returns to the outer dialog";
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(ModalDialogs, KeysTypedIntoTheLoopNavigate) {
  ModalAnswers answers;
  answers.When(nullptr, "Navigation", [](HWND) {
    InjectKey(VK_TAB, true);
    InjectKey(VK_TAB, false);
    InjectKey(VK_SPACE, true);
    InjectKey(VK_SPACE, false);
    InjectKey(VK_ESCAPE, true);
    InjectKey(VK_ESCAPE, false);
  });
  INT_PTR r = DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_NAVIGATION), owner_, RecordingDialog::Proc, 0);
  EXPECT_EQ(r, IDCANCEL);
  ASSERT_EQ(RecordingDialog::Commands().size(), 2u);
  EXPECT_EQ(RecordingDialog::Commands()[0].id, IDC_CHECK);
  EXPECT_EQ(RecordingDialog::Commands()[1].id, IDCANCEL);
}

namespace {
// A modal dialog takes the mouse capture from the window that held it, and one made without
// WS_VISIBLE shows only once the messages its creation left are handled.
INT_PTR CALLBACK PostsInInit(HWND dialog, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_INITDIALOG) {
    PostMessage(dialog, WM_APP, 0, 0);
    return TRUE;
  }
  if (msg == WM_APP) {
    SetWindowLongPtr(dialog, DWLP_USER, IsWindowVisible(dialog) ? 1 : 2);
    return TRUE;
  }
  return FALSE;
}

TEST_F(ModalDialogs, TakeTheCaptureAndShowOnceTheirCreationMessagesAreHandled) {
  SetCapture(owner_);
  ASSERT_EQ(GetCapture(), owner_);
  ModalAnswers answers;
  HWND capture = owner_;
  LONG_PTR postedSeen = 0;
  bool visible = false;
  answers.When(nullptr, "Navigation", [&](HWND h) {
    capture = GetCapture();
    postedSeen = GetWindowLongPtr(h, DWLP_USER);
    visible = IsWindowVisible(h) != FALSE;
    EndDialog(h, IDOK);
  });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_NAVIGATION), owner_, PostsInInit, 0), IDOK);
  EXPECT_EQ(capture, nullptr);
  EXPECT_EQ(postedSeen, 2) << "1: the dialog was shown before the message posted in WM_INITDIALOG was handled";
  EXPECT_TRUE(visible);
}

// A hidden modal dialog whose timer work takes longer than the timer's period never finds its
// queue empty; it shows once its first WM_TIMER has been handled.
std::vector<bool> g_visibleAtTick;
INT_PTR CALLBACK SlowTimerDialog(HWND dialog, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_INITDIALOG) {
    g_visibleAtTick.clear();
    SetTimer(dialog, 1, 10, nullptr);
    Sleep(50);  // a slow start: the timer is due before the queue first empties
    return TRUE;
  }
  if (msg == WM_TIMER) {
    g_visibleAtTick.push_back(IsWindowVisible(dialog) != FALSE);
    if (g_visibleAtTick.size() == 3) EndDialog(dialog, IDOK);
    Sleep(50);  // the work of each tick outlasts the period
    return TRUE;
  }
  return FALSE;
}

TEST_F(ModalDialogs, AHiddenDialogWithABusyTimerShowsOnceItsFirstTimerIsHandled) {
  HangWatchdog watchdog("a hidden modal dialog whose timer keeps its queue busy");
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_NAVIGATION), owner_, SlowTimerDialog, 0), IDOK);
  EXPECT_EQ(g_visibleAtTick, (std::vector<bool>{false, true, true}));
}

// EndDialog gives a modeless dialog's disabled owner back, enabled and active, as for a modal one.
TEST_F(ModalDialogs, EndDialogEnablesAndActivatesTheDisabledOwnerOfAModelessDialog) {
  HWND dialog = Modeless();
  EnableWindow(owner_, FALSE);
  ASSERT_EQ(GetActiveWindow(), dialog);
  EndDialog(dialog, IDOK);
  PumpDialog(dialog);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(GetActiveWindow(), owner_);
  DestroyWindow(dialog);
}

// The owner of a modal dialog stays disabled while it runs, whoever enables it meanwhile (a
// splash that took it at start-up and gives it back as it closes); the dialog enables it at its end.
TEST_F(ModalDialogs, TheOwnerStaysDisabledWhileTheDialogRunsWhoeverEnablesIt) {
  EnableWindow(owner_, FALSE);  // disabled by someone else before the dialog
  ModalAnswers answers;
  bool enabledWhileUp = true;
  answers.When(nullptr, "Navigation", [&](HWND h) {
    EnableWindow(owner_, TRUE);  // that someone gives it back
    enabledWhileUp = IsWindowEnabled(owner_) != FALSE;
    EndDialog(h, IDOK);
  });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(IDD_NAVIGATION), owner_, RecordingDialog::Proc, 0), IDOK);
  EXPECT_FALSE(enabledWhileUp);
  EXPECT_TRUE(IsWindowEnabled(owner_)) << "enabled when the dialog ended";
}

INT_PTR CALLBACK AnswersThroughMsgResult(HWND dialog, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_USER + 50) {
    SetWindowLongPtr(dialog, DWLP_MSGRESULT, 1234);
    return TRUE;
  }
  if (msg == WM_USER + 51) return 99;  // handled, but DWLP_MSGRESULT stays 0
  return FALSE;
}
}  // namespace

TEST_F(ModalDialogs, HandledMessagesAnswerWithMsgResult) {
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_NAVIGATION), owner_, AnswersThroughMsgResult, 0);
  EXPECT_EQ(SendMessage(dialog, WM_USER + 50, 0, 0), 1234);
  EXPECT_EQ(SendMessage(dialog, WM_USER + 51, 0, 0), 0);
  EXPECT_EQ(GetWindowLongPtr(dialog, DWLP_DLGPROC), reinterpret_cast<LONG_PTR>(AnswersThroughMsgResult));
}

using DialogItems = DialogFixture;

struct IntCase {
  const char* text;
  BOOL isSigned;
  BOOL translated;
  UINT value;
};

TEST_F(DialogItems, GetDlgItemIntParsesLikeWindows) {
  HWND dialog = Modeless();
  const IntCase cases[] = {
      {"42", FALSE, TRUE, 42},
      {"  17  ", FALSE, TRUE, 17},
      {"-7", TRUE, TRUE, static_cast<UINT>(-7)},
      {"-7", FALSE, FALSE, 0},
      {"12a", FALSE, FALSE, 0},
      {"", TRUE, FALSE, 0},
      {"4294967295", FALSE, TRUE, 4294967295u},
      {"4294967296", FALSE, FALSE, 0},
      {"2147483648", TRUE, FALSE, 0},
      {"-2147483648", TRUE, TRUE, 0x80000000u},
  };
  for (const IntCase& c : cases) {
    SetDlgItemText(dialog, IDC_TARGET, c.text);
    BOOL ok = -1;
    UINT v = GetDlgItemInt(dialog, IDC_TARGET, &ok, c.isSigned);
    EXPECT_EQ(ok, c.translated) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
  SetDlgItemInt(dialog, IDC_TARGET, static_cast<UINT>(-15), TRUE);
  EXPECT_EQ(Text(GetDlgItem(dialog, IDC_TARGET)), "-15");
  SetDlgItemInt(dialog, IDC_TARGET, static_cast<UINT>(-15), FALSE);
  EXPECT_EQ(Text(GetDlgItem(dialog, IDC_TARGET)), "4294967281");
}

TEST_F(DialogItems, CheckRadioButtonChecksOneOfTheRange) {
  HWND dialog = Modeless();
  CheckRadioButton(dialog, IDC_RED, IDC_BLUE, IDC_GREEN);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RED), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_GREEN), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_BLUE), BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_CHECK, BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHECK), BST_CHECKED);
  EXPECT_EQ(SendDlgItemMessage(dialog, IDC_CHECK, BM_GETCHECK, 0, 0), BST_CHECKED);
}

using DialogMultiLineEdit = DialogFixture;

WNDPROC g_multiProc = nullptr;
std::vector<WPARAM> g_multiKeys;
LRESULT CALLBACK RecordingMultiEdit(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_KEYDOWN) g_multiKeys.push_back(wParam);
  return CallWindowProc(g_multiProc, hwnd, msg, wParam, lParam);
}

// A default id that names no control of the dialog.
constexpr int kMissingDefault = 4321;

// The buttons' commands a dialog received (the edit's own notifications left out).
std::vector<int> ButtonCommands() {
  std::vector<int> ids;
  for (const Command& c : RecordingDialog::Commands())
    if (c.id == IDOK || c.id == IDCANCEL || c.id == kMissingDefault) ids.push_back(c.id);
  return ids;
}

TEST_F(DialogMultiLineEdit, EnterAndEscapeReachTheEditFirst) {
  struct Case {
    UINT vk;
    bool wantReturn;
    const char* text;
    std::vector<int> commands;
    bool readOnly = false;
    int defId = IDOK;  // 0: no default id at all
  };
  // Without ES_WANTRETURN, Enter in the edit presses the default button, as the style documents;
  // a read-only edit, which cannot take the line break, leaves Enter to the dialog as well. With
  // no default id, the dialog's rule makes Enter IDOK; a default id that names no control is
  // pressed by nobody, as the edit looks for that control before it presses it.
  const Case cases[] = {{VK_RETURN, true, "one\r\n", {}},
                        {VK_RETURN, false, "one", {IDOK}},
                        {VK_ESCAPE, true, "one", {IDCANCEL}},
                        {VK_RETURN, false, "one", {IDOK}, true},
                        {VK_RETURN, true, "one", {IDOK}, true},
                        {VK_RETURN, true, "one", {IDOK}, true, 0},
                        {VK_RETURN, false, "one", {IDOK}, false, 0},
                        {VK_RETURN, true, "one", {}, true, kMissingDefault},
                        {VK_RETURN, false, "one", {}, false, kMissingDefault}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.vk << (c.wantReturn ? " wants return" : "") << (c.readOnly ? " read-only" : "")
                                      << " default " << c.defId);
    RecordingDialog::Reset();
    HWND dialog = Modeless(IDD_EVERY_CONTROL);
    HWND multi = GetDlgItem(dialog, IDC_MULTI);
    if (!c.wantReturn) SetWindowLong(multi, GWL_STYLE, GetWindowLong(multi, GWL_STYLE) & ~ES_WANTRETURN);
    if (c.readOnly) SendMessage(multi, EM_SETREADONLY, TRUE, 0);
    if (c.defId != IDOK) {
      SendMessage(GetDlgItem(dialog, IDOK), BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
      SendMessage(dialog, DM_SETDEFID, static_cast<WPARAM>(c.defId), 0);
      ASSERT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), c.defId ? MAKELONG(c.defId, DC_HASDEFID) : 0);
    }
    g_multiKeys.clear();
    g_multiProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(multi, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingMultiEdit)));
    MSG key{multi, WM_KEYDOWN, c.vk, 0, 0, {}};
    EXPECT_TRUE(SendMessage(multi, WM_GETDLGCODE, c.vk, reinterpret_cast<LPARAM>(&key)) & DLGC_WANTALLKEYS);
    SetFocus(multi);
    SendMessage(multi, EM_SETSEL, 3, 3);
    DialogKey(dialog, c.vk);
    EXPECT_EQ(Text(multi), c.text);
    EXPECT_EQ(g_multiKeys, std::vector<WPARAM>{c.vk});
    EXPECT_EQ(ButtonCommands(), c.commands);
    DestroyWindow(dialog);
  }
  // The dialog's own Enter, on a control that leaves it to the dialog, sends the id it names.
  RecordingDialog::Reset();
  HWND dialog = Modeless(IDD_EVERY_CONTROL);
  SendMessage(dialog, DM_SETDEFID, kMissingDefault, 0);
  SetFocus(GetDlgItem(dialog, IDC_CHECK));
  DialogKey(dialog, VK_RETURN);
  EXPECT_EQ(ButtonCommands(), std::vector<int>{kMissingDefault});
}

TEST_F(DialogMultiLineEdit, TabStillMovesTheFocusAndCtrlTabTypesATab) {
  HWND dialog = Modeless(IDD_EVERY_CONTROL);
  HWND multi = GetDlgItem(dialog, IDC_MULTI);
  SetFocus(multi);
  SendMessage(multi, EM_SETSEL, 3, 3);
  DialogKey(dialog, VK_TAB, kCtrl);
  EXPECT_EQ(Text(multi), "one\t");
  DialogKey(dialog, VK_TAB);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_CHECK));
  EXPECT_EQ(Text(multi), "one\t");
}

using DialogDefault = DialogFixture;

// However the focus wanders between check box, list, combo box and push buttons, by mouse or
// keyboard, the default button keeps its look when the focus is on no push button, and Enter
// on the check box answers it.
TEST_F(DialogDefault, TheDefaultButtonKeepsItsLookAndAnswersEnterWhereverTheFocusWent) {
  struct Sequence {
    const char* what;
    std::function<void(HWND)> steps;
  };
  auto center = [](HWND h) {
    RECT r;
    GetClientRect(h, &r);
    return POINT{r.right / 2, r.bottom / 2};
  };
  auto click = [&](HWND dialog, int id) { Click(GetDlgItem(dialog, id), center(GetDlgItem(dialog, id))); };
  const Sequence sequences[] = {
      {"clicks on check box, list, check box", [&](HWND d) {
         click(d, IDC_CHECK);
         click(d, IDC_LIST);
         click(d, IDC_CHECK);
       }},
      {"a press on Cancel let go over the check box, then a click on it", [&](HWND d) {
         HWND cancel = GetDlgItem(d, IDCANCEL), check = GetDlgItem(d, IDC_CHECK);
         ButtonDown(cancel, center(cancel));
         POINT over = center(check);
         MapWindowPoints(check, cancel, &over, 1);
         MoveMouse(cancel, over);
         ButtonUp(cancel, over);
         click(d, IDC_CHECK);
       }},
      {"Tab round every control to the check box", [&](HWND d) {
         SetFocus(GetDlgItem(d, IDC_CHECK));
         for (int i = 0; i < 9; ++i) DialogKey(d, VK_TAB);
         SendMessage(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d, IDC_CHECK)), TRUE);
       }},
      {"the combo dropped, then clicks on the check box (the first closes the list)", [&](HWND d) {
         click(d, IDC_COMBO);
         click(d, IDC_CHECK);
         click(d, IDC_CHECK);
       }},
      {"the combo dropped by the keyboard, then Tab on", [&](HWND d) {
         SetFocus(GetDlgItem(d, IDC_COMBO));
         DialogKey(d, VK_DOWN, kAlt);
         DialogKey(d, VK_TAB);
         SendMessage(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d, IDC_CHECK)), TRUE);
       }},
      {"Cancel focused, then the combo dropped by a click, then the check box", [&](HWND d) {
         SendMessage(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d, IDCANCEL)), TRUE);
         click(d, IDC_COMBO);
         click(d, IDC_CHECK);
         click(d, IDC_CHECK);
       }},
      {"Cancel pressed by the mouse and let go outside, then the check box by its mnemonic", [&](HWND d) {
         HWND cancel = GetDlgItem(d, IDCANCEL);
         ButtonDown(cancel, center(cancel));
         ButtonUp(cancel, POINT{-30, -30});
         DialogKey(d, 'C', kAlt);
         DialogKey(d, VK_SPACE);
       }},
      {"Cancel focused, the dialog left and come back to, then a click on the check box", [&](HWND d) {
         SendMessage(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d, IDCANCEL)), TRUE);
         SetActiveWindow(owner_);
         SetActiveWindow(d);
         PumpDialog(d);
         click(d, IDC_CHECK);
       }},
      {"DM_SETDEFID for the default while Cancel has the focus, then the check box", [&](HWND d) {
         SendMessage(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d, IDCANCEL)), TRUE);
         SendMessage(d, DM_SETDEFID, IDOK, 0);
         click(d, IDC_CHECK);
       }},
  };
  for (const Sequence& sequence : sequences) {
    SCOPED_TRACE(sequence.what);
    RecordingDialog::Reset();
    HWND dialog = Modeless(IDD_EVERY_CONTROL);
    SendDlgItemMessage(dialog, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
    SendDlgItemMessage(dialog, IDC_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
    sequence.steps(dialog);
    PumpDialog(dialog);
    ASSERT_EQ(GetFocus(), GetDlgItem(dialog, IDC_CHECK));
    EXPECT_EQ(GetWindowLong(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLong(GetDlgItem(dialog, IDCANCEL), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    DialogKey(dialog, VK_RETURN);
    EXPECT_EQ(ButtonCommands(), std::vector<int>{IDOK});
    if (IsWindow(dialog)) DestroyWindow(dialog);
  }
}

TEST_F(DialogDefault, WithoutADefaultIdTheDefaultPushButtonAnswers) {
  HWND dialog = Modeless(IDD_LISTS);  // a template without buttons
  EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), 0);
  HWND button = CreateWindowEx(0, "Button", "Go", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 5, 5, 50, 14, dialog,
                               reinterpret_cast<HMENU>(77), nullptr, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), MAKELONG(77, DC_HASDEFID));
  SendMessage(dialog, DM_SETDEFID, IDCANCEL, 0);
  EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDCANCEL, DC_HASDEFID)) << "a set id comes first";
}

TEST_F(DialogDefault, AWindowOfADialogClassMadeWithoutATemplateIsADialog) {
  HWND dialog = CreateWindowEx(0, OwnDialogClass(), "Own", WS_POPUP | WS_CAPTION | WS_VISIBLE, 20, 20, 240, 120,
                               owner_, nullptr, nullptr, nullptr);
  ASSERT_NE(dialog, nullptr);
  auto make = [&](const char* cls, const char* text, DWORD style, int x, int id) {
    return CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, 10, 60, 20, dialog,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  };
  HWND edit = make("Edit", "text", ES_AUTOHSCROLL, 5, IDC_TARGET);
  HWND ok = make("Button", "OK", BS_PUSHBUTTON, 70, IDOK);
  HWND cancel = make("Button", "Cancel", BS_PUSHBUTTON, 135, IDCANCEL);
  auto type = [](HWND h) { return GetWindowLong(h, GWL_STYLE) & BS_TYPEMASK; };
  PumpDialog(dialog);

  EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), 0) << "no default button yet";
  EXPECT_EQ(SendMessage(dialog, DM_SETDEFID, IDCANCEL, 0), TRUE);
  EXPECT_EQ(SendMessage(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDCANCEL, DC_HASDEFID));
  EXPECT_EQ(type(cancel), BS_DEFPUSHBUTTON);

  // WM_NEXTDLGCTL with a handle: the focus goes there, a push button borrows the default look and
  // gives it back when the focus moves on to a control that is no push button.
  SendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok), TRUE);
  EXPECT_EQ(GetFocus(), ok);
  EXPECT_EQ(type(ok), BS_DEFPUSHBUTTON);
  EXPECT_EQ(type(cancel), BS_PUSHBUTTON);
  SendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(SendMessage(edit, EM_GETSEL, 0, 0), MAKELONG(0, 4)) << "an edit gets its text selected";
  EXPECT_EQ(type(ok), BS_PUSHBUTTON);
  EXPECT_EQ(type(cancel), BS_DEFPUSHBUTTON);

  // The focus comes back to the control that had it when the dialog is activated again.
  SendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok), TRUE);
  SetActiveWindow(owner_);
  PumpDialog(dialog);
  EXPECT_NE(GetFocus(), ok);
  SetActiveWindow(dialog);
  PumpDialog(dialog);
  EXPECT_EQ(GetFocus(), ok);
  DestroyWindow(dialog);
}

}  // namespace
