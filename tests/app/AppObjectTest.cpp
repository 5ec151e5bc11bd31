// The application object's start-up and exit in a private home: languages, extension map,
// recent projects, conversion tables, the tip's profile, the services it installs, the .dcp
// association in the registry and on the desktop; its message boxes and registry helpers.
#include <gtest/gtest.h>
#include <unistd.h>

#include "InkwrightAppSession.h"
#include "app/CInkwrightShellServices.h"
#include "app/CMainFrame.h"
#include "app/CRegKeyHolder.h"
#include "app/DesktopAssociation.h"
#include "editor/app/GWExtAppServices.h"
#include "editor/lang/SECEditLangConfig.h"
#include "model/CWorkSpaceObj.h"
#include "model/ShellServices.h"
#include "os/Help.h"
#include "os/Process.h"
#include "os/Registry.h"
#include "res/Resources.h"
#include "resources/ShellRes.h"

namespace {

using apptest::AnsweredBoxes;
using apptest::AppHome;
using apptest::ReadText;
using apptest::TestApp;

const CString kAppKey = CString("Software\\") + CInkwrightApp::kRegistryKey;

CString ReadString(HKEY hRoot, const CString& strKey, LPCTSTR lpszValue) {
  CRegKeyHolder key;
  CString strValue;
  if (key.Open(hRoot, strKey) != nullptr) key.QueryString(lpszValue, strValue);
  return strValue;
}

BOOL KeyExists(HKEY hRoot, const CString& strKey) {
  CRegKeyHolder key;
  return key.Open(hRoot, strKey) != nullptr;
}

TEST(AppObject, StartsWithItsLanguagesMapsTablesAndServicesAndEndsWritingThemBack) {
  AppHome home;
  // What a previous run left: recent projects with a repeat, and an older association.
  CRegKeyHolder seed;
  seed.Create(HKEY_CURRENT_USER, kAppKey);
  seed.SetString("RecentProjects", "/p/a.dcp;/p/b.dcp;/p/a.dcp;");
  seed.Create(HKEY_CLASSES_ROOT, ".dcp\\Shell\\Stale\\Command");
  seed.SetString(nullptr, "old");
  seed.Close();
  brambolt::test::UiSession session;
  AnsweredBoxes boxes;
  TestApp app;
  // The association is in place before the first modal window, the tip of the day, comes up.
  bool bAssociatedAtTip = false;
  home.onTip = [&] {
    bAssociatedAtTip = KeyExists(HKEY_CLASSES_ROOT, ".dcp\\Shell\\Open\\Command") &&
                       std::filesystem::exists(home.Root() + "/data/applications/visual-brambolt.desktop");
  };
  ASSERT_TRUE(app.InitInstance());
  EXPECT_TRUE(bAssociatedAtTip);

  EXPECT_TRUE(boxes.boxes.empty()) << boxes.Texts().front();
  // The main frame with its bars, shown.
  auto* pFrame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
  ASSERT_NE(pFrame, nullptr);
  EXPECT_TRUE(pFrame->IsWindowVisible());
  EXPECT_TRUE(pFrame->m_wndStatusBar.IsWindowVisible());
  EXPECT_TRUE(pFrame->m_wndProjectExplorer.IsWindowVisible());
  EXPECT_NE(app.m_pProjectTemplate, nullptr);
  EXPECT_TRUE(GWExtGetAppServices()->IsMainFrame());
  EXPECT_EQ(GWExtGetAppServices()->GetMDIClient(), pFrame->m_hWndMDIClient);
  EXPECT_STREQ(app.m_pszAppName, "Brambolt");
  // The recent projects without the repeat; the tables; the templates.
  std::vector<std::string> recent;
  for (POSITION pos = app.m_listRecentProjects.GetHeadPosition(); pos != nullptr;)
    recent.emplace_back(app.m_listRecentProjects.GetNext(pos));
  EXPECT_EQ(recent, (std::vector<std::string>{"/p/a.dcp", "/p/b.dcp"}));
  ASSERT_NE(app.GetGBToBig5Table(), nullptr);
  ASSERT_NE(app.GetBig5ToGBTable(), nullptr);
  EXPECT_NE(app.m_pFileTemplate, nullptr);
  EXPECT_NE(app.m_pClassHirTemplate, nullptr);
  // The editor sees the extension map, the model sees the application.
  const std::pair<const char*, const char*> extensions[] = {
      {".c", "C"},          {".cpp", "C"},        {".inl", "C"},       {".h", "C"},          {".idl", "IDL"},
      {".odl", "IDL"},      {".java", "JScript"}, {".dsm", "VBScript"}, {".vbs", "VBScript"}, {".mod", "VBScript"},
      {".bas", "VBScript"}, {".cls", "VBScript"}, {".frm", "VBScript"}, {".htm", "HTML"},    {".html", "HTML"}};
  for (const auto& [ext, language] : extensions) {
    CString strLanguage;
    EXPECT_TRUE(GWExtGetAppServices()->LookupExtension(ext, strLanguage)) << ext;
    EXPECT_STREQ(strLanguage, language) << ext;
  }
  CString strNone;
  EXPECT_FALSE(GWExtGetAppServices()->LookupExtension(".txt", strNone));
  EXPECT_NE(GWExtGetAppServices()->GetFixedFont(), nullptr);
  EXPECT_EQ(GetShellServices()->GetWorkSpace(), app.m_pWorkSpace);
  EXPECT_EQ(GetShellServices()->GetGBToBig5Table(), app.GetGBToBig5Table());
  // Every language is known, read from its file or resource.
  for (const char* name : {"C", "C from Binary File", "C from Custom Resource", "JScript", "VBScript", "HTML", "IDL"}) {
    SECEditLangConfig* config = SECEditLangConfig::GetLanguage(name);
    ASSERT_NE(config, nullptr) << name;
    EXPECT_GT(config->GetKeywordMap().GetCount(), 0) << name;
  }
  // The tip's first start: tip 1 shown, both values written.
  EXPECT_EQ(home.TipsShown(), std::vector<int>{1});
  EXPECT_EQ(app.GetProfileInt("Tip", "CurrentTip", -1), 1u);
  EXPECT_EQ(app.GetProfileInt("Tip", "ShowAtStartup", -1), 1u);
  // The association, rewritten whole.
  const CString strProgram = CInkwrightApp::GetProgramFolder() + "test_app";
  EXPECT_STREQ(ReadString(HKEY_CLASSES_ROOT, ".dcp", nullptr), ".dcp");
  EXPECT_STREQ(ReadString(HKEY_CLASSES_ROOT, ".dcp\\DefaultIcon", nullptr), strProgram + ",1");
  EXPECT_STREQ(ReadString(HKEY_CLASSES_ROOT, ".dcp\\Shell\\Open\\Command", nullptr), strProgram + " %1");
  EXPECT_STREQ(ReadString(HKEY_CLASSES_ROOT, ".dcp\\Shell\\View with The Quell (Gloamy) Brambolt\\Command", nullptr),
               strProgram + " %1");
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".dcp\\Shell\\Stale"));
  const std::string data = home.Root() + "/data";
  EXPECT_EQ(ReadText(data + "/applications/visual-brambolt.desktop"), MakeDcpDesktopEntry(static_cast<LPCTSTR>(strProgram)));
  EXPECT_EQ(ReadText(data + "/mime/packages/visual-brambolt.xml"), MakeDcpMimePackage());
  // The desktop's caches are brought up to date where their tools are installed.
  for (const char* tool : {"update-desktop-database", "update-mime-database"}) {
    const bool bInstalled = !brambolt::FindProgram(tool).empty();
    const auto& started = home.Started();
    EXPECT_EQ(std::find(started.begin(), started.end(), tool) != started.end(), bInstalled) << tool;
  }

  // Exit: the IDL file written back, the others to the registry, the list saved, services gone.
  // Another instance of the program stored its list meanwhile, with a project opened only there:
  // that project stays in the list this one writes, and one this instance took off stays off.
  seed.Create(HKEY_CURRENT_USER, kAppKey);
  seed.SetString("RecentProjects", "/p/other.dcp;/p/a.dcp;/p/b.dcp;");
  seed.Close();
  app.RemoveRecentProject("/p/b.dcp");
  EXPECT_STREQ(ReadString(HKEY_CURRENT_USER, kAppKey, "RecentProjects"), "/p/a.dcp;/p/other.dcp;");
  std::filesystem::remove(home.Windows() + "/DocSys/idl.ini");
  app.m_listRecentProjects.AddHead("/p/c.dcp");
  seed.Create(HKEY_CURRENT_USER, kAppKey);
  seed.SetString("RecentProjects", "/p/third.dcp;/p/a.dcp;/p/other.dcp;");
  seed.Close();
  EXPECT_EQ(app.End(), 0);
  EXPECT_TRUE(std::filesystem::exists(home.Windows() + "/DocSys/idl.ini"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kAppKey + "\\Brambolt\\JScript"));
  EXPECT_STREQ(ReadString(HKEY_CURRENT_USER, kAppKey, "RecentProjects"), "/p/c.dcp;/p/a.dcp;/p/other.dcp;/p/third.dcp;");
  EXPECT_EQ(app.m_pWorkSpace, nullptr);
  EXPECT_EQ(app.m_pPatternBrush, nullptr);
  EXPECT_EQ(GetShellServices()->GetWorkSpace(), nullptr);
  CString strLanguage;
  EXPECT_FALSE(GWExtGetAppServices()->LookupExtension(".c", strLanguage));
}

// The tip of the day stays modal when the splash goes (about three seconds after the tip came up):
// the main window stays disabled, a click on it leaves the tip active, and Return still answers
// the tip instead of going to the window behind.
TEST(AppObject, TheTipOfTheDayStaysModalWhenTheSplashCloses) {
  AppHome home;
  brambolt::test::UiSession session;
  AnsweredBoxes boxes;
  TestApp app;
  bool splashAtTip = false, splashGone = false, disabledAtTip = false, disabledAfterSplash = false;
  bool tipActiveAfterClick = false, endedByReturn = false;
  home.onTip = [&] {
    const HWND hTip = ::FindWindow(nullptr, "Tips Of Day");
    const HWND hMain = app.m_pMainWnd->GetSafeHwnd();
    splashAtTip = ::FindWindow(nullptr, "SECSplashWnd") != nullptr;
    disabledAtTip = !::IsWindowEnabled(hMain);
    brambolt::test::AdvanceClock(3500);
    splashGone = ::FindWindow(nullptr, "SECSplashWnd") == nullptr;
    disabledAfterSplash = !::IsWindowEnabled(hMain);
    RECT rcClient;
    ::GetClientRect(hMain, &rcClient);
    brambolt::test::Click(hMain, POINT{rcClient.left + 8, rcClient.bottom - 8});  // away from the tip
    tipActiveAfterClick = ::GetActiveWindow() == hTip;
    brambolt::test::PressKey(VK_RETURN);
    endedByReturn = brambolt::DialogEnded(hTip, nullptr);
  };
  ASSERT_TRUE(app.InitInstance());
  EXPECT_TRUE(splashAtTip) << "the splash was up when the tip came";
  EXPECT_TRUE(splashGone);
  EXPECT_TRUE(disabledAtTip);
  EXPECT_TRUE(disabledAfterSplash);
  EXPECT_TRUE(tipActiveAfterClick);
  EXPECT_TRUE(endedByReturn);
  EXPECT_TRUE(::IsWindowEnabled(app.m_pMainWnd->GetSafeHwnd())) << "the tip gave the main window back";
  app.End();
}

// The status bar's lock indicators show the keys as they are from the first paint, while the tip
// of the day still holds the start: blank with every lock off, CAP alone with Caps Lock on (as the
// desktop tells it the keyboard's locks); they stay so once the tip has closed.
TEST(AppObject, TheLockIndicatorsShowTheKeysAsTheyAreWhileTheTipOfTheDayIsUp) {
  for (const bool bCapsOn : {false, true}) {
    SCOPED_TRACE(bCapsOn ? "Caps Lock on" : "every lock off");
    AppHome home;
    brambolt::test::UiSession session;
    AnsweredBoxes boxes;
    TestApp app;
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CAPITAL] = bCapsOn ? 1 : 0;
    ::SetKeyboardState(keys);
    // Whether the CAP, NUM and SCRL panes show text: dark pixels drawn in them.
    auto shown = [&app] {
      auto& bar = static_cast<CMainFrame*>(app.m_pMainWnd)->m_wndStatusBar;
      std::vector<bool> inked;
      for (const UINT id : {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) {
        CRect pane, window;
        bar.GetItemRect(bar.CommandToIndex(id), &pane);
        bar.ClientToScreen(&pane);
        bar.GetWindowRect(&window);
        pane.OffsetRect(-window.left, -window.top);
        bool ink = false;
        for (int y = pane.top + 1; y < pane.bottom - 1 && !ink; ++y)
          for (int x = pane.left + 1; x < pane.right - 1 && !ink; ++x) {
            const COLORREF colour = brambolt::test::WindowPixel(bar.GetSafeHwnd(), x, y);
            ink = GetRValue(colour) < 0x60 && GetGValue(colour) < 0x60 && GetBValue(colour) < 0x60;
          }
        inked.push_back(ink);
      }
      return inked;
    };
    const std::vector<bool> expected = {bCapsOn, false, false};
    std::vector<bool> atTip;
    bool bPaintedAtTip = false;
    home.onTip = [&] {
      brambolt::test::RunUntilIdle();
      bPaintedAtTip = ::GetUpdateRect(static_cast<CMainFrame*>(app.m_pMainWnd)->m_wndStatusBar.GetSafeHwnd(),
                                      nullptr, FALSE) == FALSE;
      atTip = shown();
    };
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(bPaintedAtTip) << "the status bar was drawn while the tip was up";
    EXPECT_EQ(atTip, expected);
    brambolt::test::RunUntilIdle();
    app.OnIdle(0);
    brambolt::test::RunUntilIdle();
    EXPECT_EQ(shown(), expected);
    app.End();
  }
}

TEST(AppObject, TipStaysHiddenAndItsNumberUnchangedWhenTheUserTurnedItOff) {
  AppHome home;
  brambolt::test::UiSession session;
  AnsweredBoxes boxes;
  TestApp app;
  app.SetRegistryKey(CInkwrightApp::kRegistryKey);
  app.WriteProfileInt("Tip", "ShowAtStartup", 0);
  app.WriteProfileInt("Tip", "CurrentTip", 7);
  ASSERT_TRUE(app.InitInstance());
  EXPECT_EQ(app.GetProfileInt("Tip", "CurrentTip", -1), 7u);
  EXPECT_TRUE(home.TipsShown().empty());
  EXPECT_EQ(app.m_nCurrentTip, 7);
  EXPECT_EQ(app.m_bShowTipAtStartup, 0);
  app.End();
}

TEST(AppObject, ATipNumberAtItsLargestOrDamagedWrapsToTheFirstTip) {
  for (const UINT stored : {2147483647u, 4294967295u}) {
    AppHome home;
    brambolt::test::UiSession session;
    AnsweredBoxes boxes;
    TestApp app;
    app.SetRegistryKey(CInkwrightApp::kRegistryKey);
    app.WriteProfileInt("Tip", "CurrentTip", static_cast<int>(stored));
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(home.TipsShown(), std::vector<int>{1}) << stored;
    EXPECT_EQ(app.GetProfileInt("Tip", "CurrentTip", -1), 1u) << stored;
    app.End();
  }
}

TEST(AppObject, MissingConversionTablesAreReportedAndStartUpGoesOn) {
  AppHome home;
  brambolt::test::UiSession session;
  AnsweredBoxes boxes;
  TestApp app;
  // A module with resources but not the tables stands for a program built without them: its
  // image holds only the empty entry that opens every .res file.
  static const DWORD kEmptyRes[8] = {0, 32, 0xFFFF, 0xFFFF, 0, 0, 0, 0};
  const auto hModule = reinterpret_cast<HINSTANCE>(0x5150);
  ASSERT_TRUE(brambolt::RegisterResourceImage(hModule, kEmptyRes, sizeof kEmptyRes));
  const HINSTANCE hPrevious = AfxGetResourceHandle();
  AfxSetResourceHandle(hModule);
  app.LoadConversionTables();
  AfxSetResourceHandle(hPrevious);
  EXPECT_EQ(app.GetGBToBig5Table(), nullptr);
  EXPECT_EQ(app.GetBig5ToGBTable(), nullptr);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"fail to load GB2BIG Resource", "fail to load Big2GB Resource"}));
  EXPECT_EQ(GetShellServices()->GetGBToBig5Table(), nullptr);
}

TEST(AppObject, MessageBoxesGetAnIconByTheirButtonsAndTheSystemsCaption) {
  brambolt::test::UiSession session;
  AnsweredBoxes boxes;
  TestApp app;
  struct Case {
    UINT type, shown;
  };
  const Case cases[] = {
      {MB_OK, MB_OK | MB_ICONEXCLAMATION},
      {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
      {MB_YESNOCANCEL, MB_YESNOCANCEL | MB_ICONEXCLAMATION},
      {MB_YESNO, MB_YESNO | MB_ICONEXCLAMATION},
      {MB_ABORTRETRYIGNORE, MB_ABORTRETRYIGNORE},
      {MB_RETRYCANCEL, MB_RETRYCANCEL},
      {MB_YESNO | MB_ICONINFORMATION, MB_YESNO | MB_ICONINFORMATION},
  };
  for (const Case& c : cases) {
    boxes.Answer(IDRETRY);
    EXPECT_EQ(AfxMessageBox("text", c.type), IDRETRY);
    EXPECT_EQ(boxes.boxes.back().type, c.shown) << c.type;
    EXPECT_EQ(boxes.boxes.back().caption, "Inkwright");
  }
}

// While a box is up the rest of the program waits: the modeless windows the main window owns are
// disabled, and so is the main window when the box belongs to one of them; the help context is
// the prompt's. Answered, everything is as it was.
TEST(AppObject, AMessageBoxHoldsTheModelessWindowsAndTheHelpContextWhileItIsUp) {
  AppHome home;
  brambolt::test::UiSession session;
  AnsweredBoxes boxes;
  TestApp app;
  ASSERT_TRUE(app.InitInstance());
  brambolt::test::AdvanceClock(3100);  // the splash gone
  brambolt::test::RunUntilIdle();
  const HWND hMain = app.m_pMainWnd->GetSafeHwnd();
  ASSERT_TRUE(::IsWindowEnabled(hMain));
  auto modeless = [&](const char* title, int x) {
    return ::CreateWindowEx(0, AfxRegisterWndClass(0), title, WS_POPUP | WS_CAPTION | WS_VISIBLE, x, 40, 120, 80,
                            hMain, nullptr, nullptr, nullptr);
  };
  const HWND hTool = modeless("Tool", 40), hOther = modeless("Other", 200);
  // A window the tool window owns in turn.
  const HWND hNested = ::CreateWindowEx(0, AfxRegisterWndClass(0), "Nested", WS_POPUP | WS_CAPTION | WS_VISIBLE, 60,
                                        160, 120, 80, hTool, nullptr, nullptr, nullptr);
  struct Seen {
    bool main, tool, other;
    DWORD context;
  };
  std::vector<Seen> seen;
  boxes.whileUp = [&] {
    seen.push_back({::IsWindowEnabled(hMain) != FALSE, ::IsWindowEnabled(hTool) != FALSE,
                    ::IsWindowEnabled(hOther) != FALSE, app.m_dwPromptContext});
  };
  for (HWND hActive : {hMain, hTool, hNested}) {
    ::SetActiveWindow(hActive);
    AfxMessageBox(IDS_OLE_INIT_FAILED);
    ASSERT_EQ(boxes.boxes.size(), seen.size());
    EXPECT_EQ(boxes.boxes.back().owner, hActive);
    EXPECT_EQ(seen.back().main, hActive == hMain) << "the main window waits for a box of another window";
    EXPECT_EQ(seen.back().tool, hActive == hTool) << "the owner is left to the box itself";
    EXPECT_FALSE(seen.back().other);
    EXPECT_EQ(seen.back().context, HID_BASE_PROMPT + IDS_OLE_INIT_FAILED);
    EXPECT_TRUE(::IsWindowEnabled(hMain) && ::IsWindowEnabled(hTool) && ::IsWindowEnabled(hOther));
    EXPECT_EQ(app.m_dwPromptContext, 0u);
  }
  ::DestroyWindow(hNested);
  ::DestroyWindow(hTool);
  ::DestroyWindow(hOther);
  app.End();
}

TEST(AppObject, RecentFilesPopupIsEnabledOnlyWhileItHasAFileToList) {
  AppHome home;
  brambolt::test::UiSession session;
  AnsweredBoxes boxes;
  TestApp app;
  app.SetRegistryKey(CInkwrightApp::kRegistryKey);
  CMenu menu, popup;
  menu.CreateMenu();
  popup.CreatePopupMenu();
  popup.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
  menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.GetSafeHmenu()), "&Recent Files");
  auto popupState = [&] {
    CCmdUI cmdUI;
    cmdUI.m_nID = ID_FILE_MRU_FILE1;
    cmdUI.m_pMenu = &menu;
    cmdUI.m_pSubMenu = &popup;
    cmdUI.m_nIndex = 0;
    app.OnCmdMsg(ID_FILE_MRU_FILE1, CN_UPDATE_COMMAND_UI, &cmdUI, nullptr);
    return menu.GetMenuState(0, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED);
  };
  EXPECT_EQ(popupState(), UINT(MF_DISABLED | MF_GRAYED));  // no list at all
  app.LoadStdProfileSettings(4);
  EXPECT_EQ(popupState(), UINT(MF_DISABLED | MF_GRAYED));  // an empty list
  app.AddToRecentFileList("/tmp/some.cpp");
  EXPECT_EQ(popupState(), 0u);
}

TEST(AppObject, RegistryKeyHolderReadsOnlyStringValuesAndDeletesWholeTrees) {
  brambolt::test::PrivateStores stores;
  brambolt::ResetRegistryForTesting();
  CRegKeyHolder key;
  ASSERT_NE(key.Create(HKEY_CURRENT_USER, "Software\\HolderTest"), nullptr);
  const DWORD dwNumber = 5;
  ::RegSetValueExA(key.GetKey(), "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwNumber), sizeof dwNumber);
  ::RegSetValueExA(key.GetKey(), "Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("%HOME%"), 7);
  EXPECT_TRUE(key.SetString("Plain", "text"));
  EXPECT_TRUE(key.SetString("Deep", "inside", "A\\B"));
  key.Close();

  ASSERT_NE(key.Open(HKEY_CURRENT_USER, "Software\\HolderTest"), nullptr);
  struct Case {
    const char* value;
    const char* subKey;
    BOOL found;
    const char* text;
  };
  const Case cases[] = {{"Plain", nullptr, TRUE, "text"},   {"Expand", nullptr, TRUE, "%HOME%"},
                        {"Number", nullptr, FALSE, ""},     {"Missing", nullptr, FALSE, ""},
                        {"Deep", "A\\B", TRUE, "inside"},   {"Deep", "A\\Missing", FALSE, ""}};
  for (const Case& c : cases) {
    CString strValue = "left over";
    EXPECT_EQ(key.QueryString(c.value, strValue, c.subKey), c.found) << c.value;
    EXPECT_STREQ(strValue, c.text) << c.value;
  }
  key.Close();

  EXPECT_TRUE(CInkwrightApp::DeleteRegKeyRecursive(HKEY_CURRENT_USER, "Software\\HolderTest", "Plain"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\HolderTest\\A\\B"));
  EXPECT_TRUE(CInkwrightApp::DeleteRegKeyRecursive(HKEY_CURRENT_USER, "Software\\HolderTest", nullptr));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\HolderTest"));
  EXPECT_FALSE(CInkwrightApp::DeleteRegKeyRecursive(HKEY_CURRENT_USER, "Software\\HolderTest", nullptr));
  brambolt::ResetRegistryForTesting();
}

TEST(AppObject, DesktopEntryReplacesALinkPlantedAtItsNameAndRefusesAPathItCannotHold) {
  brambolt::test::PrivateStores stores;
  brambolt::ScopedSpawnHook noPrograms([](const brambolt::SpawnRequest&) { return DWORD{0}; });
  const std::string entry = stores.Root() + "/data/applications/visual-brambolt.desktop";
  const std::string victim = stores.Root() + "/victim.txt";
  apptest::WriteText(victim, "the user's own file");
  std::filesystem::create_directories(std::filesystem::path(entry).parent_path());
  std::filesystem::create_symlink(victim, entry);
  EXPECT_TRUE(RegisterDcpWithDesktop("/opt/vb/visual-brambolt"));
  EXPECT_EQ(ReadText(victim), "the user's own file");
  EXPECT_FALSE(std::filesystem::is_symlink(entry));
  EXPECT_EQ(ReadText(entry), MakeDcpDesktopEntry("/opt/vb/visual-brambolt"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(entry).parent_path()),
                          std::filesystem::directory_iterator()),
            1);
  // A line end (or a byte that is not UTF-8) in the program's path would add to the entry: no
  // entry is written for it, the one there stays.
  for (const char* program : {"/opt/vb\nNoDisplay=true\n/visual-brambolt", "/opt/vb/\xff/visual-brambolt"}) {
    EXPECT_FALSE(RegisterDcpWithDesktop(program)) << program;
    EXPECT_EQ(ReadText(entry), MakeDcpDesktopEntry("/opt/vb/visual-brambolt"));
  }
  EXPECT_TRUE(RegisterDcpWithDesktop("/opt/\xe6\x96\x87/visual-brambolt"));
}

TEST(AppObject, DesktopEntryQuotesAProgramPathThatNeedsIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"/opt/vb/visual-brambolt", "Exec=/opt/vb/visual-brambolt %f\n"},
      {"/home/ann/my tools/visual-brambolt", "Exec=\"/home/ann/my tools/visual-brambolt\" %f\n"},
      {"/home/ann/100%/$x\"y", "Exec=\"/home/ann/100%%/\\\\$x\\\\\"y\" %f\n"},
  };
  for (const auto& [program, exec] : cases) {
    const std::string entry = MakeDcpDesktopEntry(program);
    EXPECT_NE(entry.find(exec), std::string::npos) << entry;
    EXPECT_NE(entry.find("MimeType=application/x-brambolt-project;\n"), std::string::npos);
  }
  EXPECT_NE(MakeDcpMimePackage().find("<glob pattern=\"*.dcp\"/>"), std::string::npos);
}

}  // namespace
