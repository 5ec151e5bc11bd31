// Every command of the program's menus, accelerators and toolbar, and the keys every frame has,
// run in each mode of the main frame (a document restored or maximised, full screen, Print
// Preview, the Customize sheet open, a floating menubar, workbook mode, a menu open), each as a
// person reaches it there: the program must come through whole, the frame and its bars as they
// were or as the command says, and the mode must still be left as a person leaves it. The commands
// are read from the program's own resources. The commands that end the program run in a copy of
// the test program of their own, which must end cleanly with the application's exit run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "afx/AfxRes.h"
#include "afx/CPreviewView.h"
#include "afx/CToolBar.h"
#include "app/CMainFrame.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECMenuBar.h"
#include "bars/SECMenuBarFeature.h"
#include "e2e/Desk.h"
#include "os/Process.h"
#include "os/Registry.h"
#include "res/ResourceTypes.h"
#include "resources/MainFrameRes.h"
#include "win/Accelerators.h"
#include "win/Input.h"
#include "win/MessageBox.h"

namespace {

using brambolt::test::kAlt;
using brambolt::test::kCtrl;
using brambolt::test::kNone;
using brambolt::test::kShift;

// ---- the commands, as the program's resources give them ----

struct Key {
  UINT vk;
  UINT mods;
};

struct Command {
  UINT id = 0;
  std::string name;  // the menu item's text, else the command's number
  char menu = 0;     // the letter of the menubar's menu that holds it, 0 when none does
  std::vector<Key> keys;
  bool onToolBar = false;
};

// The main menus: the frame's own and the menus of its kinds of document.
const UINT kMenus[] = {IDR_MAINFRAME, IDR_SOURCE_FILE_MENU, IDR_PROJECT_MENU, IDR_CLASS_HIERARCHY_MENU};

void CollectMenu(HMENU menu, char letter, std::map<UINT, Command>& commands) {
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    if (HMENU sub = ::GetSubMenu(menu, i)) {
      CollectMenu(sub, letter, commands);
      continue;
    }
    const UINT id = ::GetMenuItemID(menu, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;
    char text[256] = {};
    ::GetMenuString(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    std::string name = text;
    name = name.substr(0, name.find('\t'));
    name.erase(std::remove(name.begin(), name.end(), '&'), name.end());
    Command& command = commands[id];
    command.id = id;
    command.name = name;
    command.menu = letter;
  }
}

BOOL CALLBACK AddName(HMODULE, LPCTSTR, LPTSTR name, LONG_PTR list) {
  reinterpret_cast<std::vector<LPCTSTR>*>(list)->push_back(name);
  return TRUE;
}

std::vector<LPCTSTR> ResourceNames(LPCTSTR type) {
  std::vector<LPCTSTR> names;
  ::EnumResourceNames(nullptr, type, &AddName, reinterpret_cast<LONG_PTR>(&names));
  return names;
}

std::vector<Command> ProgramCommands() {
  std::map<UINT, Command> commands;
  for (UINT menuId : kMenus) {
    HMENU menu = ::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(menuId));
    EXPECT_NE(menu, nullptr) << menuId;
    for (int i = 0; menu != nullptr && i < ::GetMenuItemCount(menu); ++i) {
      char text[64] = {};
      ::GetMenuString(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      const char* amp = std::strchr(text, '&');
      if (HMENU sub = ::GetSubMenu(menu, i); sub != nullptr && amp != nullptr)
        CollectMenu(sub, static_cast<char>(std::toupper(static_cast<unsigned char>(amp[1]))), commands);
    }
    if (menu != nullptr) ::DestroyMenu(menu);
  }
  // Every key table: the frame's and those of the kinds of window (the editor's).
  for (LPCTSTR name : ResourceNames(RT_ACCELERATOR)) {
    HACCEL table = ::LoadAccelerators(AfxGetResourceHandle(), name);
    std::vector<ACCEL> entries(static_cast<size_t>(::CopyAcceleratorTable(table, nullptr, 0)));
    ::CopyAcceleratorTable(table, entries.data(), static_cast<int>(entries.size()));
    for (const ACCEL& entry : entries) {
      if ((entry.fVirt & FVIRTKEY) == 0) continue;
      UINT mods = kNone;
      if (entry.fVirt & FCONTROL) mods |= kCtrl;
      if (entry.fVirt & FSHIFT) mods |= kShift;
      if (entry.fVirt & FALT) mods |= kAlt;
      Command& command = commands[entry.cmd];
      command.id = entry.cmd;
      command.keys.push_back({entry.key, mods});
    }
  }
  for (LPCTSTR name : ResourceNames(RT_TOOLBAR)) {
    SIZE image{};
    std::vector<UINT> ids;
    EXPECT_TRUE(AfxLoadToolBarResource(name, image, ids));
    for (UINT id : ids) {
      if (id == 0) continue;
      commands[id].id = id;
      commands[id].onToolBar = true;
    }
  }
  std::vector<Command> list;
  for (auto& [id, command] : commands) {
    if (command.name.empty()) command.name = std::to_string(id);
    list.push_back(command);
  }
  return list;
}

// The keys the system gives every MDI frame and its children, which no table of the program holds.
const std::vector<std::pair<std::string, Key>> kSystemKeys = {
    {"Ctrl+F4", {VK_F4, kCtrl}},      {"Ctrl+F6", {VK_F6, kCtrl}}, {"Ctrl+Shift+F6", {VK_F6, kCtrl | kShift}},
    {"Alt+Space", {VK_SPACE, kAlt}}, {"Alt+-", {VK_OEM_MINUS, kAlt}}, {"Escape", {VK_ESCAPE, kNone}},
    {"F10", {VK_F10, kNone}},
};

// The keys of a Print Preview.
const std::vector<std::pair<std::string, UINT>> kPreviewKeys = {
    {"Page Down", VK_NEXT}, {"Page Up", VK_PRIOR}, {"Home", VK_HOME}, {"End", VK_END}, {"Down", VK_DOWN},
    {"Up", VK_UP},          {"Right", VK_RIGHT},   {"Left", VK_LEFT}, {"Escape", VK_ESCAPE},
};

// Commands that end the program: run in a process of their own (see the exit tests below).
bool EndsProgram(UINT id) { return id == ID_APP_EXIT; }

// Commands whose effect is the frame's layout (a bar shown or hidden, a mode toggled): run twice,
// they give the layout back.
bool TogglesLayout(UINT id) {
  return id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR || id == ID_VIEW_FULL_SCREEN || id == ID_SECWB_TOGGLE_MODE ||
         id == 32793;
}

std::string WindowClass(HWND window) {
  char name[128] = {};
  ::GetClassName(window, name, sizeof name);
  return name;
}

std::string WindowTitle(HWND window) {
  char text[256] = {};
  ::GetWindowText(window, text, sizeof text);
  return text;
}

// The path of positions to the item of a command in a menu, empty when it has none.
bool FindItem(HMENU menu, UINT id, std::vector<int>& path) {
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    path.push_back(i);
    if (HMENU sub = ::GetSubMenu(menu, i)) {
      if (FindItem(sub, id, path)) return true;
    } else if (::GetMenuItemID(menu, i) == id) {
      return true;
    }
    path.pop_back();
  }
  return false;
}

// ---- the program on a desk, its modal windows answered ----

class Program {
 public:
  explicit Program(e2e::Desk& desk) : desk_(desk) {
    desk_.AnswerModals([this](HWND window) { Answer(window); });
  }
  CMainFrame* Frame() { return desk_.MainFrame(); }
  HWND Main() { return desk_.MainWindow(); }

  // Runs inside the next modal loop whose window has this caption (class for a menu) instead of
  // the standard answer.
  void OnNext(const std::string& classOrCaption, std::function<void(HWND)> act) {
    next_.emplace_back(classOrCaption, std::move(act));
  }
  void ForgetExpected() { next_.clear(); }

  // A command from the menubar: Alt and its menu's letter, then a click on the item (through its
  // submenus) in the menu that opened; a disabled item leaves the menu open, and it is closed.
  // With a menu already open, Right walks the menubar's menus until the one holding the item is
  // open, and the item is clicked there.
  void ChooseFromMenu(char letter, UINT id) {
    if (brambolt::TrackedMenu() != nullptr) {
      Seek(id, 12);
    } else {
      OnNext("#32768", [id](HWND popup) { ClickItem(popup, id); });
      brambolt::test::PressKey(static_cast<UINT>(letter), kAlt);
      ForgetExpected();  // a mode that shows no menu opens none
    }
    desk_.Pump();
  }
  // The item clicked in the open menu that holds it, else Right pressed for the next menu (a menu
  // loop of its own, or the same one) and the search goes on there.
  void Seek(UINT id, int left) {
    for (HWND top = ::GetWindow(::GetDesktopWindow(), GW_CHILD); top != nullptr; top = ::GetWindow(top, GW_HWNDNEXT)) {
      std::vector<int> path;
      HMENU menu = reinterpret_cast<HMENU>(::SendMessage(top, MN_GETHMENU, 0, 0));
      if (WindowClass(top) == "#32768" && ::IsWindowVisible(top) && menu != nullptr && FindItem(menu, id, path)) {
        ClickItem(top, id);
        return;
      }
    }
    if (left == 0 || brambolt::TrackedMenu() == nullptr) {
      if (brambolt::TrackedMenu() != nullptr) ::EndMenu();
      return;
    }
    bool seen = false;
    OnNext("#32768", [this, id, left, &seen](HWND) {
      seen = true;
      Seek(id, left - 1);
    });
    brambolt::test::PressKey(VK_RIGHT);
    // The menubar opens its next menu in a loop of its own once this one has ended: the search
    // goes on there.
    if (seen || SECMenuBarMessages::IsMenuPending()) return;
    ForgetExpected();
    Seek(id, left - 1);
  }
  // In an open menu: the item clicked, through its submenus.
  static void ClickItem(HWND popup, UINT id) {
    HMENU menu = reinterpret_cast<HMENU>(::SendMessage(popup, MN_GETHMENU, 0, 0));
    std::vector<int> path;
    if (menu != nullptr && FindItem(menu, id, path)) {
      for (int position : path) {
        RECT item{};
        if (!::GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &item)) break;
        brambolt::test::ClickAt(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
        menu = ::GetSubMenu(menu, position);
      }
    }
    if (brambolt::TrackedMenu() != nullptr) ::EndMenu();
  }

  // Closes what a command left open beside the frame (a modeless dialog, the help viewer), so the
  // next command's keys go to the frame.
  void CloseStrays(const std::set<HWND>& before) {
    for (int round = 0; round < 3; ++round) {
      std::vector<HWND> strays;
      for (HWND top = ::GetWindow(::GetDesktopWindow(), GW_CHILD); top != nullptr; top = ::GetWindow(top, GW_HWNDNEXT))
        if (::IsWindowVisible(top) && before.count(top) == 0 && top != Main() && IsStray(top)) strays.push_back(top);
      if (strays.empty()) return;
      for (HWND stray : strays)
        if (::IsWindow(stray)) ::SendMessage(stray, WM_CLOSE, 0, 0);
      desk_.Pump();
    }
  }
  std::set<HWND> TopWindows() {
    std::set<HWND> windows;
    for (HWND top = ::GetWindow(::GetDesktopWindow(), GW_CHILD); top != nullptr; top = ::GetWindow(top, GW_HWNDNEXT))
      windows.insert(top);
    return windows;
  }

 private:
  // A floating bar's frame belongs to the layout; anything else new is closed.
  static bool IsStray(HWND top) {
    CWnd* wnd = CWnd::FromHandlePermanent(top);
    return wnd == nullptr || !wnd->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd));
  }
  void Answer(HWND window) {
    const std::string cls = WindowClass(window), caption = WindowTitle(window);
    for (auto it = next_.begin(); it != next_.end(); ++it) {
      if (it->first != cls && it->first != caption) continue;
      auto act = std::move(it->second);
      next_.erase(it);
      act(window);
      return;
    }
    if (cls == "#32768") {
      ::EndMenu();
    } else if (::GetDlgItem(window, IDC_MESSAGEBOX_TEXT) != nullptr || caption == "Inkwright") {
      // A question is answered No where it offers one (nothing is saved), else with its button.
      if (!e2e::ClickButton(window, "No")) brambolt::test::PressKey(VK_RETURN);
    } else {
      ::SendMessage(window, WM_COMMAND, IDCANCEL, 0);
    }
    if (::IsWindow(window) && ::IsWindowVisible(window)) ::SendMessage(window, WM_CLOSE, 0, 0);
    if (::IsWindow(window) && ::IsWindowVisible(window) && cls != "#32768") ::DestroyWindow(window);
  }

  e2e::Desk& desk_;
  std::vector<std::pair<std::string, std::function<void(HWND)>>> next_;
};

// ---- the frame's modes ----

CPreviewView* PreviewOf(HWND main) {
  return dynamic_cast<CPreviewView*>(CWnd::FromHandlePermanent(::GetDlgItem(main, AFX_IDW_PANE_FIRST)));
}

CMDIChildWnd* ActiveChild(Program& program) {
  CMainFrame* frame = program.Frame();
  return frame != nullptr ? frame->MDIGetActive() : nullptr;
}

// The preview bar's Close button clicked.
void ClosePreview(e2e::Desk& desk, Program& program) {
  if (HWND bar = ::GetDlgItem(program.Main(), AFX_IDW_PREVIEW_BAR))
    if (HWND close = ::GetDlgItem(bar, AFX_ID_PREVIEW_CLOSE)) {
      RECT r{};
      ::GetClientRect(close, &r);
      brambolt::test::Click(close, POINT{r.right / 2, r.bottom / 2});
    }
  desk.Pump();
}

struct Mode {
  const char* name;
  // Puts the frame in the mode from a frame with a document open. A modal mode runs `inside`
  // in its loop and leaves it, and needs no `in` or `leave`.
  std::function<void(e2e::Desk&, Program&, const std::function<void()>& inside)> enter;
  std::function<bool(Program&)> in;
  std::function<void(e2e::Desk&, Program&)> leave;
  // The mode holds the frame against being ended: a preview ends itself instead, the Customize
  // sheet takes no menus.
  bool holdsFrame = false;
  // The mode shows a Print Preview.
  bool preview = false;
};

void SysCommandToChild(e2e::Desk& desk, Program& program, UINT command) {
  if (CMDIChildWnd* child = ActiveChild(program)) ::SendMessage(child->m_hWnd, WM_SYSCOMMAND, command, 0);
  desk.Pump();
}

bool Maximised(Program& program) {
  CMDIChildWnd* child = ActiveChild(program);
  return child != nullptr && (child->GetStyle() & WS_MAXIMIZE) != 0;
}

bool FullScreen(Program& program) { return program.Frame()->m_FullScreen.IsFullScreen() != FALSE; }

// Full screen from the menubar, entered or left.
void ToggleFullScreen(e2e::Desk&, Program& program) { program.ChooseFromMenu('V', ID_VIEW_FULL_SCREEN); }

// File > Print Preview from the menubar.
void OpenPreview(e2e::Desk&, Program& program) { program.ChooseFromMenu('F', ID_FILE_PRINT_PREVIEW); }

// The Customize sheet from the menubar, `inside` run in its loop, then Cancel.
void RunCustomizeSheet(Program& program, const std::function<void()>& inside) {
  program.OnNext("Customize", [inside](HWND sheet) {
    inside();
    if (::IsWindow(sheet) && ::IsWindowVisible(sheet)) e2e::ClickButton(sheet, "Cancel");
  });
  program.ChooseFromMenu('V', ID_VIEW_CUSTOMIZE_TOOLBARS);
}

const std::vector<Mode>& Modes() {
  static const std::vector<Mode> modes = {
      // The frame in no mode: the document restored, no workbook tabs (the program starts with
      // them).
      {"Plain",
       [](e2e::Desk& desk, Program& p, auto&) {
         SysCommandToChild(desk, p, SC_RESTORE);
         if (p.Frame()->GetWorkbookMode()) p.ChooseFromMenu('V', ID_SECWB_TOGGLE_MODE);
       },
       [](Program& p) { return ActiveChild(p) != nullptr && !Maximised(p) && !p.Frame()->GetWorkbookMode(); },
       nullptr},
      {"MaximisedDocument", [](e2e::Desk& desk, Program& p, auto&) { SysCommandToChild(desk, p, SC_MAXIMIZE); },
       [](Program& p) { return Maximised(p); }, nullptr},
      {"FullScreen", [](e2e::Desk& desk, Program& p, auto&) { ToggleFullScreen(desk, p); }, FullScreen,
       ToggleFullScreen},
      {"PrintPreview", [](e2e::Desk& desk, Program& p, auto&) { OpenPreview(desk, p); },
       [](Program& p) { return PreviewOf(p.Main()) != nullptr; }, ClosePreview, true, true},
      {"CustomizeSheet", [](e2e::Desk&, Program& p, const std::function<void()>& inside) { RunCustomizeSheet(p, inside); },
       nullptr, nullptr, true},
      // The modes entered from another mode, and left back into it and out of it.
      {"PreviewFromFullScreen",
       [](e2e::Desk& desk, Program& p, auto&) {
         if (!FullScreen(p)) ToggleFullScreen(desk, p);
         OpenPreview(desk, p);
       },
       // In it while either mode lasts (an action may have closed the preview): both are left.
       [](Program& p) { return PreviewOf(p.Main()) != nullptr || FullScreen(p); },
       [](e2e::Desk& desk, Program& p) {
         if (PreviewOf(p.Main()) != nullptr) ClosePreview(desk, p);
         if (FullScreen(p)) ToggleFullScreen(desk, p);
       },
       true, true},
      {"PreviewFromWorkbookMode",
       [](e2e::Desk&, Program& p, auto&) {
         if (!p.Frame()->GetWorkbookMode()) p.ChooseFromMenu('V', ID_SECWB_TOGGLE_MODE);
         p.ChooseFromMenu('F', ID_FILE_PRINT_PREVIEW);
       },
       [](Program& p) { return PreviewOf(p.Main()) != nullptr && p.Frame()->GetWorkbookMode(); }, ClosePreview, true,
       true},
      {"CustomizeSheetFromFullScreen",
       [](e2e::Desk& desk, Program& p, const std::function<void()>& inside) {
         if (!FullScreen(p)) ToggleFullScreen(desk, p);
         RunCustomizeSheet(p, inside);
         desk.Pump();
         if (::IsWindow(p.Main()) && FullScreen(p)) ToggleFullScreen(desk, p);
       },
       nullptr, nullptr, true},
      {"FloatingMenuBar",
       [](e2e::Desk& desk, Program& p, auto&) {
         CMainFrame* frame = p.Frame();
         RECT main{};
         ::GetWindowRect(p.Main(), &main);
         frame->FloatControlBar(frame->GetMenuBar(), CPoint(main.left + 200, main.top + 200));
         desk.Pump();
       },
       [](Program& p) { return p.Frame()->GetMenuBar() != nullptr && p.Frame()->GetMenuBar()->IsFloating(); },
       nullptr},
      {"WorkbookMode",
       [](e2e::Desk&, Program& p, auto&) {
         if (!p.Frame()->GetWorkbookMode()) p.ChooseFromMenu('V', ID_SECWB_TOGGLE_MODE);
       },
       [](Program& p) { return p.Frame()->GetWorkbookMode() != FALSE; }, nullptr},
      {"MenuOpen",
       [](e2e::Desk& desk, Program& p, const std::function<void()>& inside) {
         p.OnNext("#32768", [inside](HWND) {
           inside();
           if (brambolt::TrackedMenu() != nullptr && !SECMenuBarMessages::IsMenuPending()) ::EndMenu();
         });
         brambolt::test::PressKey('E', kAlt);
         p.ForgetExpected();
         desk.Pump();
       },
       nullptr, nullptr},
  };
  return modes;
}

// What stays of the frame whatever a command does: which of its bars show.
std::map<UINT, bool> BarsShown(CMainFrame& frame) {
  std::map<UINT, bool> shown;
  for (POSITION pos = frame.m_listControlBars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CControlBar*>(frame.m_listControlBars.GetNext(pos));
    const UINT id = static_cast<UINT>(::GetDlgCtrlID(bar->m_hWnd));
    if (id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_FLOAT) continue;
    shown[id] = shown[id] || bar->IsVisible();
  }
  return shown;
}

std::string Describe(const std::map<UINT, bool>& bars) {
  std::ostringstream out;
  for (auto [id, shown] : bars) out << id << (shown ? "+ " : "- ");
  return out.str();
}

class Sweep : public ::testing::TestWithParam<size_t> {
 protected:
  void Start() {
    desk = std::make_unique<e2e::Desk>();
    ASSERT_TRUE(desk->Start()) << desk->Report();
    program = std::make_unique<Program>(*desk);
    ASSERT_NE(program->Frame(), nullptr);
    commands = ProgramCommands();
  }
  void TearDown() override {
    // The program ends with the desk, its last questions still answered.
    desk.reset();
    program.reset();
  }
  const Mode& ModeUnderTest() const { return Modes()[GetParam()]; }
  // The document windows, the active one first.
  std::vector<HWND> DocumentWindows() {
    std::vector<HWND> windows;
    CMainFrame* frame = program->Frame();
    if (CMDIChildWnd* active = frame->MDIGetActive()) windows.push_back(active->m_hWnd);
    for (HWND child = ::GetWindow(frame->m_hWndMDIClient, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT))
      if (windows.empty() || child != windows.front()) windows.push_back(child);
    return windows;
  }

  // A document to work on, and the frame in the mode (a modal mode is entered around each action).
  bool Ready() {
    if (!::IsWindow(program->Main()) || program->Frame() == nullptr) return false;
    if (ActiveChild(*program) == nullptr) {
      brambolt::test::PressKey('F', kCtrl);  // File > New File
      desk->Pump();
    }
    return ActiveChild(*program) != nullptr;
  }

  // Runs one action in the mode: entered, the action, left; the program must be whole after
  // each step, with the bars the frame had.
  void Run(const std::string& what, const std::function<void()>& action, bool twice) {
    if (HasFatalFailure()) return;
    ASSERT_TRUE(Ready()) << "no document could be opened before " << what;
    const Mode& mode = ModeUnderTest();
    const std::map<UINT, bool> bars = BarsShown(*program->Frame());
    const std::set<HWND> before = program->TopWindows();
    brambolt::test::HangWatchdog watchdog(std::string(mode.name) + ": " + what, 60);
    const bool previewMode = mode.preview;
    // A preview the command opened (File > Print Preview) is closed as a person closes it, before
    // the mode is left.
    auto closePreview = [&] {
      if (!previewMode && ::IsWindow(program->Main()) && PreviewOf(program->Main()) != nullptr)
        ClosePreview(*desk, *program);
    };
    auto once = [&] {
      action();
      desk->Pump();
    };
    auto act = [&] {
      once();
      if (twice && ::IsWindow(program->Main())) once();
      closePreview();
    };
    if (mode.in == nullptr) {
      // A modal mode: a command chosen in it runs once its loop has ended, so a toggle's second
      // run is in the mode entered again.
      mode.enter(*desk, *program, once);
      desk->Pump();
      if (twice && ::IsWindow(program->Main())) {
        mode.enter(*desk, *program, once);
        desk->Pump();
      }
      closePreview();
    } else {
      if (!mode.in(*program)) mode.enter(*desk, *program, act);
      ASSERT_TRUE(mode.in(*program)) << mode.name << " could not be entered before " << what;
      const std::vector<HWND> documents = DocumentWindows();
      act();
      ASSERT_TRUE(::IsWindow(program->Main())) << what << " ended the program in " << mode.name;
      // The preview shows a document: nothing reaches its window while it does.
      if (previewMode) {
        EXPECT_EQ(DocumentWindows(), documents) << what << " in " << mode.name;
      }
      if (mode.leave != nullptr && mode.in(*program)) {
        mode.leave(*desk, *program);
        ASSERT_TRUE(::IsWindow(program->Main())) << "leaving " << mode.name << " after " << what;
        EXPECT_FALSE(mode.in(*program)) << mode.name << " could not be left after " << what;
      }
    }
    desk->Pump();
    ASSERT_TRUE(::IsWindow(program->Main())) << what << " ended the program in " << mode.name;
    program->CloseStrays(before);
    CMainFrame* frame = program->Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(PreviewOf(program->Main()), nullptr) << what << " in " << mode.name;
    EXPECT_TRUE(::IsWindow(frame->m_hWndMDIClient) && ::IsWindowVisible(frame->m_hWndMDIClient))
        << what << " in " << mode.name;
    const std::map<UINT, bool> after = BarsShown(*frame);
    EXPECT_EQ(Describe(after), Describe(bars)) << what << " in " << mode.name;
    ++actions;
  }

  std::unique_ptr<e2e::Desk> desk;
  std::unique_ptr<Program> program;
  std::vector<Command> commands;
  int actions = 0;
  // The programs a command would start (a browser, the mail program) are only recorded.
  brambolt::ScopedSpawnHook spawns{[](const brambolt::SpawnRequest&) { return DWORD{0}; }};
};

TEST_P(Sweep, EveryCommandLeavesTheProgramWhole) {
  Start();
  if (HasFatalFailure()) return;
  ASSERT_GT(commands.size(), 40u);
  for (const Command& command : commands) {
    if (EndsProgram(command.id)) continue;
    const bool twice = TogglesLayout(command.id);
    const UINT id = command.id;
    if (command.menu != 0) {
      const char letter = command.menu;
      Run("menu " + command.name, [this, letter, id] { program->ChooseFromMenu(letter, id); }, twice);
    }
    for (const Key& key : command.keys) {
      Run("key of " + command.name + " " + std::to_string(key.vk) + "/" + std::to_string(key.mods),
          [this, key] {
            // Where the keys of a document go: its view.
            if (CMDIChildWnd* child = ActiveChild(*program); child != nullptr && child->GetActiveView() != nullptr &&
                                                              ::GetActiveWindow() == program->Main())
              child->GetActiveView()->SetFocus();
            brambolt::test::PressKey(key.vk, key.mods);
          },
          twice);
    }
    if (command.onToolBar) {
      Run("toolbar " + command.name,
          [this, id] {
            auto* bar = dynamic_cast<SECCustomToolBar*>(program->Frame()->GetControlBar(AFX_IDW_TOOLBAR));
            if (bar == nullptr || !::IsWindowVisible(bar->m_hWnd)) return;
            const int index = bar->CommandToIndex(id);
            if (index < 0) return;
            RECT rect{};
            bar->GetItemRect(index, &rect);
            brambolt::test::Click(bar->m_hWnd, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
          },
          twice);
    }
    if (HasFatalFailure()) return;
  }
  for (const auto& [name, key] : kSystemKeys) {
    const Key pressed = key;
    Run(name, [pressed] { brambolt::test::PressKey(pressed.vk, pressed.mods); }, false);
    if (HasFatalFailure()) return;
  }
  // The preview bar's buttons (as its template makes them), by click and by their letters, and
  // every key of the preview after a click on each: the keyboard stays the preview's.
  if (ModeUnderTest().preview) {
    ASSERT_TRUE(Ready());
    ModeUnderTest().enter(*desk, *program, [] {});
    const HWND previewBar = ::GetDlgItem(program->Main(), AFX_IDW_PREVIEW_BAR);
    ASSERT_NE(previewBar, nullptr);
    std::vector<std::pair<int, char>> buttons;
    for (HWND child = ::GetWindow(previewBar, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
      const std::string text = WindowTitle(child);
      const size_t amp = text.find('&');
      const char letter =
          amp + 1 < text.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(text[amp + 1]))) : '\0';
      buttons.emplace_back(::GetDlgCtrlID(child), letter);
    }
    ModeUnderTest().leave(*desk, *program);
    ASSERT_GE(buttons.size(), 7u);
    for (const auto& [id, letter] : buttons) {
      const int button = id;
      Run("preview button " + std::to_string(button),
          [this, button] {
            HWND bar = ::GetDlgItem(program->Main(), AFX_IDW_PREVIEW_BAR);
            HWND control = bar != nullptr ? ::GetDlgItem(bar, button) : nullptr;
            if (control == nullptr) return;
            RECT r{};
            ::GetClientRect(control, &r);
            brambolt::test::Click(control, POINT{r.right / 2, r.bottom / 2});
          },
          false);
      for (const auto& [name, key] : kPreviewKeys) {
        const UINT vk = key;
        Run("preview button " + std::to_string(button) + " then " + name,
            [this, button, vk, name = name] {
              HWND bar = ::GetDlgItem(program->Main(), AFX_IDW_PREVIEW_BAR);
              HWND control = bar != nullptr ? ::GetDlgItem(bar, button) : nullptr;
              if (control == nullptr || !::IsWindowEnabled(control)) return;
              RECT r{};
              ::GetClientRect(control, &r);
              brambolt::test::Click(control, POINT{r.right / 2, r.bottom / 2});
              desk->Pump();
              CPreviewView* preview = PreviewOf(program->Main());
              if (preview == nullptr) return;  // the button ended the preview
              brambolt::test::PressKey(vk);
              desk->Pump();
              preview = PreviewOf(program->Main());
              if (vk == VK_ESCAPE) {
                EXPECT_EQ(preview, nullptr) << "Escape after button " << button;
              }
              if (preview == nullptr) return;
              if (vk == VK_HOME) {
                EXPECT_EQ(preview->GetCurrentPage(), 1u) << "Home after button " << button;
              }
              EXPECT_EQ(::GetFocus(), preview->m_hWnd) << name << " after button " << button << " left the keyboard";
            },
            false);
      }
      if (letter == 0) continue;
      const char key = letter;
      Run(std::string("Alt+") + key, [key] { brambolt::test::PressKey(static_cast<UINT>(key), kAlt); }, false);
    }
  }
  RecordProperty("actions", actions);
  EXPECT_GT(actions, 100);
}

// ---- typing ----

// C++ source as a programmer types it, every character of the keyboard among it, "." and "->"
// and "..." in every place: at a line's end, before a space, a digit, a quote, another dot. The
// lines start at the margin, none with a word that opens a block: the editor's indentation then
// adds nothing.
const char* const kSource[] = {
    "#include <vector>",
    "#include \"shape.h\"",
    "// Points, lengths and names: p.x, q->y, s.length; etc.",
    "struct Point { int x, y; };",
    "template <typename T> T Sum(const std::vector<T>& v) {",
    "T total{};",
    "total = 0; for (auto it = v.begin(); it != v.end(); ++it) total += *it;",
    "return total;",
    "}",
    "int Area(const Shape* s) { return s->width * s->height; }",
    "const double half = 1.5 / 2.0 + .25 - 3.;",
    "n = s.length;",
    "p.x = q->r.c + a.b->d.e;",
    "auto f = [&](int k) -> bool { return k % 2 == 0 || k > 10 && !(k < 3); };",
    "printf(\"%s.%d\\n\", name.c_str(), v.size());",
    "char c = '.'; c = '\\''; c ^= 0x1F | 0b10 & ~mask;",
    "x.y.z = a . b;",
    "void Log(const char* format, ...);",
    "std::string t = `tick` + s.substr(0, 2) + \"$@?\";",
    "x = 1; if (a.empty()) { b.clear(); } else { c[0].reset(); }",
    "label: goto label; // done.",
    "s.",
    "a..b",
};

// Types the keys of one character as a person does, without waiting: a loop of the program takes
// them as they come.
void InjectCharacter(char c) {
  const SHORT scan = ::VkKeyScan(c);
  const bool shift = (scan >> 8) & 1;
  if (shift) brambolt::InjectKey(VK_SHIFT, true);
  brambolt::InjectKey(static_cast<UINT>(scan & 0xFF), true);
  brambolt::InjectKey(static_cast<UINT>(scan & 0xFF), false);
  if (shift) brambolt::InjectKey(VK_SHIFT, false);
}

// Real source typed into the editor, once key by key with the program idle between the keys (the
// key after a "." comes while the menu it offered is open), once typed ahead as fast as the keys
// come: the file saved is what was typed, character for character.
TEST(Typing, SourceTypedIntoTheEditorIsSavedAsTyped) {
  e2e::Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  Program program(desk);
  brambolt::test::HangWatchdog watchdog("typing source", 120);
  std::string expected;
  for (const char* line : kSource) expected += std::string(line) + "\r\n";
  for (const bool ahead : {false, true}) {
    SCOPED_TRACE(ahead ? "typed ahead" : "key by key");
    const std::string path = desk.Folder(ahead ? "ahead" : "keys") + "/typed.cpp";
    std::ofstream(path, std::ios::binary) << "\r\n";  // the lines typed go before its line end
    program.OnNext("Open", [&path](HWND) {
      brambolt::test::TypeText(path);
      brambolt::test::PressKey(VK_RETURN);
    });
    brambolt::test::PressKey('O', kCtrl);
    desk.Pump();
    program.ForgetExpected();
    ASSERT_NE(ActiveChild(program), nullptr);
    for (const char* line : kSource) {
      const std::string text = line;
      bool enterTyped = false;
      if (ahead) {
        desk.Type(text);
      } else {
        for (size_t i = 0; i < text.size(); ++i) {
          if (text[i] != '.') {
            desk.Type(std::string(1, text[i]));
            continue;
          }
          // The next key (Enter at the line's end) is pressed while the menu is open.
          const char next = i + 1 < text.size() ? text[i + 1] : '\n';
          bool offered = false;
          program.OnNext("#32768", [next, &offered](HWND) {
            offered = true;
            if (next == '\n') {
              brambolt::InjectKey(VK_RETURN, true);
              brambolt::InjectKey(VK_RETURN, false);
            } else {
              InjectCharacter(next);
            }
          });
          desk.Type(".");
          program.ForgetExpected();
          if (offered) ++i;
          enterTyped = offered && next == '\n';
        }
      }
      if (!enterTyped && line != kSource[std::size(kSource) - 1]) desk.Press(VK_RETURN);
    }
    program.ChooseFromMenu('F', ID_FILE_SAVE);
    EXPECT_EQ(e2e::ReadFile(path), expected);
    EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
    brambolt::test::PressKey(VK_F4, kCtrl);
    desk.Pump();
  }
}

// The ways a person ends the program from a mode: File > Exit from the menubar, and the close
// the window manager asks for (the X11 backend posts it to an enabled window).
enum class Ending { kMenuExit, kWindowClose };

// In a copy of the test program: the program started, a document open, the mode entered, the
// program ended that way (a mode that holds the frame, as a preview or a modal sheet does, is
// left first as a person leaves it, and the program then ended again). The copy ends with 0 only
// when the application's exit ran and saved the recent projects.
void EndFromMode(size_t modeIndex, Ending ending) {
  e2e::Desk desk;
  if (!desk.Start()) std::_Exit(10);
  Program program(desk);
  brambolt::ScopedSpawnHook spawns{[](const brambolt::SpawnRequest&) { return DWORD{0}; }};
  brambolt::test::PressKey('F', kCtrl);
  desk.Pump();
  if (ActiveChild(program) == nullptr) std::_Exit(11);
  auto* app = dynamic_cast<CInkwrightApp*>(&desk.App());
  const CString marker = "/sweep/Marker.dcp";
  app->m_listRecentProjects.AddHead(marker);
  const Mode& mode = Modes()[modeIndex];
  auto end = [&] {
    if (ending == Ending::kMenuExit) {
      program.ChooseFromMenu('F', ID_APP_EXIT);
    } else if (HWND main = program.Main(); main != nullptr && ::IsWindowEnabled(main)) {
      ::PostMessage(main, WM_SYSCOMMAND, SC_CLOSE, 0);
      desk.Pump();
    }
  };
  if (mode.in == nullptr || !mode.in(program)) mode.enter(desk, program, end);
  if (mode.in != nullptr && mode.in(program)) end();
  desk.Pump();
  MSG quit;
  if (!::PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) {
    if (!mode.holdsFrame) std::_Exit(16);
    // The mode held the frame: it is left, and the program ended again.
    if (mode.leave != nullptr && ::IsWindow(program.Main()) && mode.in(program)) mode.leave(desk, program);
    end();
    desk.Pump();
  }
  if (!::PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) std::_Exit(12);
  if (::IsWindow(program.Main())) std::_Exit(13);
  // The program's own loop takes the quit and runs the exit.
  desk.App().Run();
  HKEY key = nullptr;
  char text[4096] = {};
  DWORD size = sizeof text;
  if (::RegOpenKeyEx(HKEY_CURRENT_USER, (std::string("Software\\") + CInkwrightApp::kRegistryKey).c_str(), 0, KEY_READ,
                     &key) != ERROR_SUCCESS)
    std::_Exit(14);
  const LONG read = ::RegQueryValueEx(key, "RecentProjects", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
  ::RegCloseKey(key);
  if (read != ERROR_SUCCESS || std::string(text).find("Marker.dcp") == std::string::npos) std::_Exit(15);
  std::_Exit(0);
}

TEST_P(Sweep, TheProgramEndsCleanlyFromTheModeAndRunsItsExit) {
  // The copy of the program starts from its own desk.
  for (Ending ending : {Ending::kMenuExit, Ending::kWindowClose}) {
    EXPECT_EXIT(EndFromMode(GetParam(), ending), ::testing::ExitedWithCode(0), "")
        << ModeUnderTest().name << (ending == Ending::kMenuExit ? ": File > Exit" : ": the window's close");
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, Sweep, ::testing::Range<size_t>(0, Modes().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return std::string(Modes()[info.param].name);
                         });

}  // namespace
