// What the common dialogs tell their hooks and answer them: the Explorer-style child dialog with
// its CDN_ notifications and CDM_ queries, help to the owner, the colour dialog's OK check and
// colour setting, the font dialog's current font and style name.
#include <cstring>
#include <filesystem>
#include <fstream>

#include "CommonDialogTestSupport.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

struct HookLog {
  HWND child = nullptr;
  HWND parentAtInit = nullptr;
  LPARAM initParam = 0;
  std::vector<UINT> codes;
  std::string folderAtInit;
  std::vector<std::string> pathsAtOk;
  int refuseOk = 0;  // how many CDN_FILEOK to refuse
};
thread_local HookLog* tLog = nullptr;

std::string Query(HWND dialog, UINT message) {
  char buffer[MAX_PATH] = {};
  LRESULT needed = SendMessage(dialog, message, sizeof(buffer), reinterpret_cast<LPARAM>(buffer));
  EXPECT_EQ(needed, static_cast<LRESULT>(std::strlen(buffer) + 1));
  return buffer;
}

UINT_PTR CALLBACK ExplorerHook(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    tLog->child = hwnd;
    tLog->parentAtInit = GetParent(hwnd);
    tLog->initParam = lParam;
    return TRUE;
  }
  if (msg != WM_NOTIFY) return 0;
  auto* notify = reinterpret_cast<OFNOTIFY*>(lParam);
  tLog->codes.push_back(notify->hdr.code);
  HWND dialog = GetParent(hwnd);
  if (notify->hdr.code == CDN_INITDONE) {
    tLog->folderAtInit = Query(dialog, CDM_GETFOLDERPATH);
    SendMessage(dialog, CDM_SETCONTROLTEXT, IDOK, reinterpret_cast<LPARAM>("Pick"));
    SendMessage(dialog, CDM_HIDECONTROL, stc2, 0);
    SendMessage(dialog, CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>("txt"));
  }
  if (notify->hdr.code == CDN_FILEOK) {
    tLog->pathsAtOk.push_back(Query(dialog, CDM_GETSPEC) + " " + Query(dialog, CDM_GETFILEPATH));
    SetWindowLongPtr(hwnd, DWLP_MSGRESULT, tLog->refuseOk > 0 ? 1 : 0);
    if (tLog->refuseOk > 0) --tLog->refuseOk;
    return TRUE;
  }
  return 0;
}

class CommonDialogHooks : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::weakly_canonical(stores_.TempDir()).string();
    tLog = &log_;
  }
  void TearDown() override { tLog = nullptr; }

  UiSession session_;
  PrivateStores stores_;
  NotificationRecorder owner_;
  ModalAnswers answers_;
  HookLog log_;
  std::string root_;
};

TEST_F(CommonDialogHooks, AnExplorerHookIsAChildDialogThatAsksAndMayRefuse) {
  char buffer[MAX_PATH] = {};
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner_.Hwnd();
  ofn.lpstrFile = buffer;
  ofn.nMaxFile = sizeof(buffer);
  ofn.lpstrInitialDir = root_.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_SHOWHELP;
  ofn.lpfnHook = ExplorerHook;
  log_.refuseOk = 1;
  const UINT help = RegisterWindowMessage(HELPMSGSTRING);
  answers_.When(nullptr, "Save As", [&](HWND dialog) {
    EXPECT_EQ(log_.parentAtInit, dialog);
    EXPECT_EQ(log_.initParam, reinterpret_cast<LPARAM>(&ofn));
    EXPECT_EQ(Text(GetDlgItem(dialog, IDOK)), "Pick");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, stc2)));
    PressButton(dialog, pshHelp);
    SetDlgItemText(dialog, edt1, "new");
    PressButton(dialog, IDOK);
    EXPECT_TRUE(IsWindow(dialog)) << "the hook refused the first name";
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(GetSaveFileName(&ofn));
  EXPECT_EQ(std::string(buffer), root_ + "/new.txt") << "the extension the hook set";
  EXPECT_EQ(log_.folderAtInit, root_);
  EXPECT_EQ(log_.codes, (std::vector<UINT>{CDN_INITDONE, CDN_FOLDERCHANGE, CDN_HELP, CDN_FILEOK, CDN_FILEOK}));
  EXPECT_EQ(log_.pathsAtOk, (std::vector<std::string>{"new " + root_ + "/new", "new " + root_ + "/new"}));
  int helps = 0;
  for (const auto& r : owner_.Records())
    if (r.message == help) {
      ++helps;
      EXPECT_EQ(r.lParam, reinterpret_cast<LPARAM>(&ofn));
    }
  EXPECT_EQ(helps, 1) << "help goes to the owner too";
  EXPECT_FALSE(IsWindow(log_.child)) << "the child went with the dialog";
}

// Refuses the colour OK brings when it is black.
UINT_PTR CALLBACK NoBlackHook(HWND, UINT msg, WPARAM, LPARAM lParam) {
  if (msg != RegisterWindowMessage(COLOROKSTRING)) return 0;
  auto* cc = reinterpret_cast<CHOOSECOLOR*>(lParam);
  if (cc->rgbResult != RGB(0, 0, 0)) return 0;
  tLog->codes.push_back(0);
  return 1;
}

TEST_F(CommonDialogHooks, TheColourHookChecksOkAndTheColourCanBeSet) {
  COLORREF custom[16] = {};
  CHOOSECOLOR cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = owner_.Hwnd();
  cc.lpCustColors = custom;
  cc.Flags = CC_FULLOPEN | CC_RGBINIT | CC_ENABLEHOOK;
  cc.rgbResult = RGB(0, 0, 0);
  cc.lpfnHook = NoBlackHook;
  answers_.When(nullptr, "Color", [&](HWND dialog) {
    PressButton(dialog, IDOK);
    EXPECT_TRUE(IsWindow(dialog));
    SendMessage(dialog, RegisterWindowMessage(SETRGBSTRING), 0, static_cast<LPARAM>(RGB(12, 34, 56)));
    EXPECT_EQ(GetDlgItemInt(dialog, COLOR_GREEN, nullptr, FALSE), 34u);
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(ChooseColor(&cc));
  EXPECT_EQ(log_.codes.size(), 1u) << "black was refused once";
  EXPECT_EQ(cc.rgbResult, RGB(12, 34, 56));
}

TEST_F(CommonDialogHooks, TheFontDialogTellsItsFontAndStyleName) {
  LOGFONT lf{};
  std::strcpy(lf.lfFaceName, "DejaVu Sans Mono");
  lf.lfHeight = -16;
  char style[LF_FACESIZE] = "Bold Italic";
  CHOOSEFONT cf{};
  cf.lStructSize = sizeof(cf);
  cf.hwndOwner = owner_.Hwnd();
  cf.lpLogFont = &lf;
  cf.lpszStyle = style;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_USESTYLE;
  answers_.When(nullptr, "Font", [&](HWND dialog) {
    LOGFONT shown{};
    SendMessage(dialog, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_STREQ(shown.lfFaceName, "DejaVu Sans Mono");
    EXPECT_EQ(shown.lfWeight, FW_BOLD) << "the style name chose the style";
    EXPECT_TRUE(shown.lfItalic);
    EXPECT_EQ(shown.lfHeight, -16);
    HWND styles = GetDlgItem(dialog, IDC_FONT_STYLE);
    SendMessage(styles, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Italic"));
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDC_FONT_STYLE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(styles));
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(ChooseFont(&cf));
  EXPECT_STREQ(style, "Italic");
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  EXPECT_TRUE(lf.lfItalic);
}

}  // namespace
