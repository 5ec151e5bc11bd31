// Tests of the toolbar manager: default and user bars, the switches it sets on every bar, button
// drags in and out of customise mode, configuration mode, and its saved settings and bar records.
#include "CustomToolBarTestSupport.h"

#include "bars/SECCustomToolBarInfoEx.h"
#include "bars/SECDockState.h"
#include "bars/SECMenuBar.h"
#include "core/CMemFile.h"
#include "foundation/SECPersistentTreeNode.h"

using namespace brambolt::test;

namespace {

class ToolBarManager : public ::testing::Test {
 protected:
  ToolBarManager() { app.SetRegistryKey("ToolBar Manager Test"); }
  UiSession session;
  PrivateStores stores;
  CWinApp app{"ToolBar Manager Test"};
};

// Drags from a bar's button to a screen point (Ctrl for a copy, Alt for a move outside customise
// mode) and lets the bars settle.
void DragTo(SECCustomToolBar* bar, int index, POINT screen, UINT mods = kNone) {
  const POINT from = ScreenPoint(bar->m_hWnd, ToolBarFrame::Centre(bar, index));
  Drag(nullptr, from, screen, 4, mods);
}

POINT CentreOnScreen(SECCustomToolBar* bar, int index) { return ScreenPoint(bar->m_hWnd, ToolBarFrame::Centre(bar, index)); }

TEST_F(ToolBarManager, FirstRunCreatesEachDefaultBarOnceWithItsButtons) {
  ToolBarFrame f;
  static const UINT standard[] = {ID_MT_NEW, 0, ID_MT_OPEN, ID_MT_SAVE};
  static const UINT other[] = {ID_MT_CUT};
  f.manager->DefineDefaultToolBar(59392, "Standard", 4, standard);
  f.manager->DefineDefaultToolBar(59393, "Other", 1, other, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 59392, TRUE, FALSE);
  f.manager->LoadState("BarState");
  f.manager->AdoptBars();
  ASSERT_EQ(f.manager->GetToolBars().size(), 2u);
  SECCustomToolBar* bar = f.manager->FindToolBar(59392);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(ToolBarFrame::Ids(bar), (std::vector<UINT>{ID_MT_NEW, 0, ID_MT_OPEN, ID_MT_SAVE}));
  CString title;
  bar->GetWindowText(title);
  EXPECT_EQ(title, "Standard");
  EXPECT_TRUE(bar->IsWindowVisible());
  EXPECT_FALSE(f.manager->FindToolBar(59393)->IsWindowVisible()) << "defined hidden";
  EXPECT_EQ(bar->GetBarStyle() & CBRS_TOOLTIPS, static_cast<DWORD>(CBRS_TOOLTIPS));
  int count = 0;
  const UINT* ids = nullptr;
  EXPECT_TRUE(f.manager->GetDefaultButtons(59393, count, ids));
  EXPECT_EQ(count, 1);
  EXPECT_FALSE(f.manager->GetDefaultButtons(59000, count, ids));
}

TEST_F(ToolBarManager, FirstRunCreatesTheMenubarFromItsMenusBeforeTheToolbars) {
  ToolBarFrame f;
  static const UINT menus[] = {24250, 24251};  // the second is missing
  EXPECT_FALSE(f.manager->SetMenuInfo(2, menus)) << "the frame has no menubar yet";
  SECMenuBar menuBar;
  f.manager->SetFrameMenuBar(&menuBar);
  EXPECT_FALSE(f.manager->SetMenuInfo(1, menus + 1));
  ASSERT_TRUE(f.manager->SetMenuInfo(2, menus));
  static const UINT standard[] = {ID_MT_NEW};
  f.manager->DefineDefaultToolBar(59392, "Standard", 1, standard);
  f.manager->AdoptBars();
  ASSERT_NE(menuBar.GetSafeHwnd(), nullptr);
  EXPECT_EQ(menuBar.GetDlgCtrlID(), static_cast<int>(SEC_IDW_MENUBAR));
  CString title;
  menuBar.GetWindowText(title);
  EXPECT_EQ(title, "Menu bar");
  EXPECT_EQ(ToolBarFrame::Ids(&menuBar), (std::vector<UINT>{0x80000001, 0x80000002})) << "one per popup";
  EXPECT_EQ(menuBar.GetButton(1)->m_nType, SECStdBtn::MenuBtn) << "made from the menubar's map";
  EXPECT_EQ(f.manager->GetBarTypeID(&menuBar), SEC_BARTYPE_MENUBAR);
  EXPECT_EQ(menuBar.GetParent()->GetDlgCtrlID(), static_cast<int>(AFX_IDW_DOCKBAR_TOP));
  EXPECT_NE(f.manager->FindToolBar(59392), nullptr);
  // Its entry in the restored layout is the frame's own menubar.
  SECControlBarInfo info;
  info.m_dwTypeID = SEC_BARTYPE_MENUBAR;
  info.m_nBarID = SEC_IDW_MENUBAR;
  menuBar.DestroyWindow();
  EXPECT_EQ(f.manager->CreateControlBar(&info), &menuBar);
  EXPECT_EQ(menuBar.GetDlgCtrlID(), static_cast<int>(SEC_IDW_MENUBAR));
  menuBar.DestroyWindow();
}

TEST_F(ToolBarManager, UserBarsTakeTheFirstFreeIdBelowTheMenubar) {
  ToolBarFrame f;
  SECCustomToolBar* first = f.manager->CreateUserToolBar();
  SECCustomToolBar* second = f.manager->CreateUserToolBar("Mine");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetDlgCtrlID(), 59424);
  EXPECT_EQ(second->GetDlgCtrlID(), 59425);
  CString title;
  first->GetWindowText(title);
  EXPECT_EQ(title, "ToolBar1");
  second->GetWindowText(title);
  EXPECT_EQ(title, "Mine");
  first->DestroyWindow();
  SECCustomToolBar* again = f.manager->CreateUserToolBar();
  EXPECT_EQ(again->GetDlgCtrlID(), 59424) << "a freed id is taken again";

  for (int i = 0; i < 59646 - 59425; ++i) ASSERT_NE(f.manager->CreateUserToolBar(), nullptr);
  EXPECT_NE(f.manager->FindToolBar(59646), nullptr);
  EXPECT_EQ(f.manager->CreateUserToolBar(), nullptr) << "59647 is the menubar's";
  EXPECT_EQ(f.manager->FindToolBar(59647), nullptr);
}

TEST_F(ToolBarManager, SwitchesApplyToEveryBar) {
  ToolBarFrame f;
  SECCustomToolBar* a = f.AddBar(59392, {ID_MT_NEW});
  SECCustomToolBar* b = f.AddBar(59393, {ID_MT_OPEN, ID_MT_SAVE});
  f.manager->EnableToolTips(FALSE);
  for (SECCustomToolBar* bar : {a, b}) EXPECT_EQ(bar->GetBarStyle() & CBRS_TOOLTIPS, 0u);
  f.manager->EnableCoolLook(TRUE);
  for (SECCustomToolBar* bar : {a, b}) EXPECT_TRUE(bar->IsCoolLook());
  EXPECT_EQ(b->GetExBarStyle() & 0x300u, 0x300u);
  f.manager->EnableLargeButtons(TRUE);
  f.Layout();
  CRect rect;
  b->GetItemRect(1, &rect);
  EXPECT_EQ(rect.Size(), CSize(29, 31));
  f.manager->EnableLargeButtons(FALSE);
  f.manager->EnableCoolLook(FALSE);
  f.Layout();
  b->GetItemRect(1, &rect);
  EXPECT_EQ(rect.Size(), CSize(23, 22));
  EXPECT_FALSE(a->IsCoolLook());
}

TEST_F(ToolBarManager, BarTypesAndRecordsOfTheDockingState) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW});
  EXPECT_EQ(f.manager->GetBarTypeID(bar), SEC_BARTYPE_CUSTOMTOOLBAR);
  EXPECT_EQ(f.manager->GetBarTypeID(f.frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)), 0u);
  SECControlBarInfo info;
  info.m_dwTypeID = SEC_BARTYPE_CUSTOMTOOLBAR;
  info.m_nBarID = 59430;
  std::unique_ptr<SECControlBarInfoEx> ex(f.manager->CreateBarInfoEx(&info));
  EXPECT_NE(dynamic_cast<SECCustomToolBarInfoEx*>(ex.get()), nullptr);
  CControlBar* made = f.manager->CreateControlBar(&info);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetDlgCtrlID(), 59430);
  EXPECT_EQ(f.manager->FindToolBar(59430), made);
  info.m_dwTypeID = SEC_BARTYPE_MENUBAR;
  EXPECT_EQ(f.manager->CreateControlBar(&info), nullptr) << "the frame has no menubar";
}

TEST_F(ToolBarManager, BarRecordsRoundTripThroughTheBar) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59424, {ID_MT_NEW, 0, ID_MT_SAVE});
  SECControlBarInfo info;
  bar->GetBarInfoEx(&info);
  auto* ex = dynamic_cast<SECCustomToolBarInfoEx*>(info.m_pExtension);
  ASSERT_NE(ex, nullptr);
  EXPECT_EQ(ex->m_strTitle, "Bar 59424");
  EXPECT_EQ(ex->m_btnInfo.Encode(), (std::vector<BYTE>{0x3C, 0x5F, 0, 0, 0, 0, 0, 0, 0, 0, 0x3E, 0x5F, 0, 0, 0}));

  SECCustomToolBar* other = f.AddBar(59392, {ID_MT_CUT});
  ex->m_strTitle = "Restored";
  ex->m_btnInfo.Add(new SECBtnInfo(0x7FFF0000, nullptr, 0));  // no button map knows it
  other->SetBarInfoEx(&info, f.frame);
  EXPECT_EQ(ToolBarFrame::Ids(other), (std::vector<UINT>{ID_MT_NEW, 0, ID_MT_SAVE, 0x7FFF0000}));
  EXPECT_EQ(other->GetButton(3)->m_nType, SECStdBtn::StdBtn);
  CString title;
  other->GetWindowText(title);
  EXPECT_EQ(title, "Restored");
}

TEST_F(ToolBarManager, SavedLayoutBringsBackDefaultAndUserBarsWithTheirButtons) {
  static const UINT standard[] = {ID_MT_NEW, 0, ID_MT_OPEN};
  SECPersistentTreeNode root;
  root.Create("root", nullptr);
  SECPTNFactory factory;
  {
    ToolBarFrame f;
    f.manager->DefineDefaultToolBar(59392, "Standard", 3, standard);
    f.manager->LoadState("Layout");  // no saved state yet: the default bar is made
    SECCustomToolBar* user = f.manager->CreateUserToolBar("Mine");
    ASSERT_NE(user, nullptr);
    user->InsertButton(0, ID_MT_SAVE, FALSE, TRUE);
    user->InsertButton(1, ID_MT_CUT, FALSE, TRUE);
    f.frame->DockControlBar(user, AFX_IDW_DOCKBAR_BOTTOM);
    f.manager->FindToolBar(59392)->RemoveButton(1);
    f.Layout();
    SECDockState state(f.manager);
    ASSERT_TRUE(state.GetFrameState(f.frame));
    state.SaveState("Layout");
    state.SaveState(&factory, &root);
    f.manager->SaveState("Layout");
  }
  for (int form = 0; form < 2; ++form) {
    ToolBarFrame g;
    g.manager->DefineDefaultToolBar(59392, "Standard", 3, standard);
    SECDockState state(g.manager);
    if (form == 0)
      state.LoadState("Layout");
    else
      ASSERT_TRUE(state.LoadState(&root));
    state.SetFrameState(g.frame);
    g.manager->LoadState("Layout");
    g.Layout();
    ASSERT_EQ(g.manager->GetToolBars().size(), 2u) << "form " << form;
    SECCustomToolBar* standardBar = g.manager->FindToolBar(59392);
    SECCustomToolBar* user = g.manager->FindToolBar(59424);
    ASSERT_NE(standardBar, nullptr);
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(ToolBarFrame::Ids(standardBar), (std::vector<UINT>{ID_MT_NEW, ID_MT_OPEN})) << "form " << form;
    EXPECT_EQ(ToolBarFrame::Ids(user), (std::vector<UINT>{ID_MT_SAVE, ID_MT_CUT})) << "form " << form;
    CString title;
    user->GetWindowText(title);
    EXPECT_EQ(title, "Mine");
    EXPECT_EQ(user->GetParent()->GetDlgCtrlID(), static_cast<int>(AFX_IDW_DOCKBAR_BOTTOM));
  }
}

TEST_F(ToolBarManager, SavedRecordsSurviveEveryFormAndDamage) {
  ToolBarFrame f;
  CWinApp* app = AfxGetApp();
  ASSERT_NE(app, nullptr);
  SECCustomToolBarInfoEx saved;
  saved.m_strTitle = "Tools";
  const BYTE width[] = {0x96, 0x00};
  saved.m_btnInfo.Add(new SECBtnInfo(ID_MT_NEW, nullptr, 0));
  saved.m_btnInfo.Add(new SECBtnInfo(0, nullptr, 0));
  saved.m_btnInfo.Add(new SECBtnInfo(32771, width, 2));
  const std::vector<BYTE> bytes = saved.m_btnInfo.Encode();

  // Profile form.
  EXPECT_TRUE(saved.SaveState("Test-Bar0"));
  SECCustomToolBarInfoEx fromProfile;
  EXPECT_TRUE(fromProfile.LoadState("Test-Bar0", nullptr));
  EXPECT_EQ(fromProfile.m_strTitle, "Tools");
  EXPECT_EQ(fromProfile.m_btnInfo.Encode(), bytes);
  // A cut "Buttons" value keeps the whole records.
  std::vector<BYTE> cut(bytes.begin(), bytes.end() - 1);
  app->WriteProfileBinary("Test-Bar1", "Buttons", cut.data(), static_cast<UINT>(cut.size()));
  SECCustomToolBarInfoEx damaged;
  EXPECT_TRUE(damaged.LoadState("Test-Bar1", nullptr));
  EXPECT_EQ(damaged.m_btnInfo.GetSize(), 2);
  EXPECT_TRUE(damaged.m_strTitle.IsEmpty());

  // Tree form, an empty bar included.
  SECPersistentTreeNode root;
  root.Create("root", nullptr);
  SECPTNFactory factory;
  SECPersistentTreeNode* node = factory.AddChild("Bar-0", &root);
  EXPECT_TRUE(saved.SaveState(&factory, node));
  SECCustomToolBarInfoEx fromTree;
  EXPECT_TRUE(fromTree.LoadState(node));
  EXPECT_EQ(fromTree.m_btnInfo.Encode(), bytes);
  SECCustomToolBarInfoEx empty;
  SECPersistentTreeNode* emptyNode = factory.AddChild("Bar-1", &root);
  EXPECT_TRUE(empty.SaveState(&factory, emptyNode));
  EXPECT_NE(emptyNode->FindChild("ToolBarInfoEx")->FindKeyValue("Buttons"), nullptr) << "stored though empty";
  EXPECT_FALSE(SECCustomToolBarInfoEx().LoadState(factory.AddChild("Bar-2", &root))) << "no ToolBarInfoEx child";

  // Archive form.
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    saved.SerializeEx(ar);
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  SECCustomToolBarInfoEx fromArchive;
  fromArchive.SerializeEx(ar);
  EXPECT_EQ(fromArchive.m_strTitle, "Tools");
  EXPECT_EQ(fromArchive.m_btnInfo.Encode(), bytes);
}

TEST_F(ToolBarManager, SettingsRoundTripAndMissingValuesKeepTheCurrentOnes) {
  ToolBarFrame f;
  f.AddBar(59392, {ID_MT_NEW});
  f.manager->EnableToolTips(FALSE);
  f.manager->EnableCoolLook(TRUE);
  f.manager->EnableLargeButtons(TRUE);
  f.manager->SaveState("BarState");
  SECPersistentTreeNode root;
  root.Create("root", nullptr);
  SECPTNFactory factory;
  EXPECT_TRUE(f.manager->SaveState(&factory, &root));
  SECPersistentTreeNode* settings = root.FindChild("ToolBarMgr");
  ASSERT_NE(settings, nullptr);
  CString text;
  settings->GetKeyValueString("LargeButtons", text);
  EXPECT_EQ(text, "True");

  SECToolBarManager fromProfile(f.frame);
  fromProfile.LoadState("BarState");
  EXPECT_FALSE(fromProfile.ToolTipsEnabled());
  EXPECT_TRUE(fromProfile.CoolLookEnabled());
  EXPECT_TRUE(fromProfile.LargeButtonsEnabled());

  // Tree form: a missing value keeps the current setting (large buttons stay off).
  settings->RemoveKeyValue("LargeButtons");
  SECToolBarManager fromTree(f.frame);
  EXPECT_TRUE(fromTree.LoadState(&root));
  EXPECT_FALSE(fromTree.ToolTipsEnabled());
  EXPECT_TRUE(fromTree.CoolLookEnabled());
  EXPECT_FALSE(fromTree.LargeButtonsEnabled());

  // No settings node at all: tips and cool look on, large buttons off.
  SECPersistentTreeNode bare;
  bare.Create("bare", nullptr);
  SECToolBarManager defaults(f.frame);
  defaults.EnableToolTips(FALSE);
  defaults.LoadState(&bare);
  EXPECT_TRUE(defaults.ToolTipsEnabled());
  EXPECT_TRUE(defaults.CoolLookEnabled());
  EXPECT_FALSE(defaults.LargeButtonsEnabled());
  // The other managers adopted the bars on loading; the bars go back to the frame's own.
  f.manager->AdoptBars();
}

TEST_F(ToolBarManager, CustomiseDragsMoveCopyAndDeleteButtons) {
  ToolBarFrame f;
  SECCustomToolBar* a = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN, ID_MT_SAVE});
  SECCustomToolBar* b = f.AddBar(59393, {ID_MT_CUT});
  f.manager->SetCustomizeMode(TRUE);
  // A press in customise mode never sends the command.
  Click(a->m_hWnd, ToolBarFrame::Centre(a, 0));
  EXPECT_TRUE(f.Commands().empty());

  // Between bars: moved.
  DragTo(a, 0, CentreOnScreen(b, 0));
  EXPECT_EQ(ToolBarFrame::Ids(a), (std::vector<UINT>{ID_MT_OPEN, ID_MT_SAVE}));
  EXPECT_EQ(ToolBarFrame::Ids(b), (std::vector<UINT>{ID_MT_CUT, ID_MT_NEW}));
  EXPECT_EQ(f.manager->GetSelectionBar(), b);
  EXPECT_EQ(b->GetSelectedIndex(), 1);
  // With Ctrl: copied, the source keeps it.
  DragTo(a, 0, CentreOnScreen(b, 0), kCtrl);
  EXPECT_EQ(ToolBarFrame::Ids(a), (std::vector<UINT>{ID_MT_OPEN, ID_MT_SAVE}));
  EXPECT_EQ(ToolBarFrame::Ids(b).size(), 3u);
  // Off the bars into empty space: deleted.
  DragTo(a, 1, ScreenPoint(f.frame->m_hWnd, CPoint(300, 300)));
  EXPECT_EQ(ToolBarFrame::Ids(a), (std::vector<UINT>{ID_MT_OPEN}));
  // Onto the customise dialog: nothing changes.
  CWnd dialog;
  dialog.CreateEx(0, AfxRegisterWndClass(0), "Customize", WS_POPUP | WS_VISIBLE, 400, 380, 200, 100, nullptr, nullptr);
  f.manager->SetCustomizeDialog(&dialog);
  DragTo(a, 0, CPoint(450, 420));
  EXPECT_EQ(ToolBarFrame::Ids(a), (std::vector<UINT>{ID_MT_OPEN}));
  f.manager->SetCustomizeDialog(nullptr);
  dialog.DestroyWindow();
  f.manager->SetCustomizeMode(FALSE);
}

TEST_F(ToolBarManager, CopyOntoEmptySpaceMakesAFloatingUserBar) {
  ToolBarFrame f;
  SECCustomToolBar* a = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN});
  f.manager->SetCustomizeMode(TRUE);
  DragTo(a, 1, ScreenPoint(f.frame->m_hWnd, CPoint(300, 300)), kCtrl);
  SECCustomToolBar* user = f.manager->FindToolBar(59424);
  ASSERT_NE(user, nullptr);
  EXPECT_TRUE(user->IsFloating());
  EXPECT_EQ(ToolBarFrame::Ids(user), std::vector<UINT>{ID_MT_OPEN});
  CString title;
  user->GetWindowText(title);
  EXPECT_EQ(title, "ToolBar1");
  EXPECT_EQ(ToolBarFrame::Ids(a).size(), 2u);

  // Its only button dragged off: the bar goes, once the drag's handler has returned.
  const HWND hUser = user->GetSafeHwnd();
  DragTo(user, 0, CentreOnScreen(a, 0));
  EXPECT_FALSE(::IsWindow(hUser));
  EXPECT_EQ(ToolBarFrame::Ids(a).size(), 3u);
  f.manager->SetCustomizeMode(FALSE);
}

TEST_F(ToolBarManager, NudgingASelectedButtonAddsOrRemovesSeparators) {
  ToolBarFrame f;
  SECCustomToolBar* a = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN, ID_MT_SAVE});
  f.manager->SetCustomizeMode(TRUE);
  const POINT open = CentreOnScreen(a, 1);
  DragTo(a, 1, POINT{open.x + 1, open.y});
  EXPECT_EQ(ToolBarFrame::Ids(a), (std::vector<UINT>{ID_MT_NEW, ID_MT_OPEN, ID_MT_SAVE})) << "one pixel: nothing";
  DragTo(a, 1, POINT{open.x + 4, open.y});
  EXPECT_EQ(ToolBarFrame::Ids(a), (std::vector<UINT>{ID_MT_NEW, 0, ID_MT_OPEN, ID_MT_SAVE}));
  const POINT moved = CentreOnScreen(a, 2);
  DragTo(a, 2, POINT{moved.x - 4, moved.y});
  EXPECT_EQ(ToolBarFrame::Ids(a), (std::vector<UINT>{ID_MT_NEW, ID_MT_OPEN, ID_MT_SAVE}));
  f.manager->SetCustomizeMode(FALSE);
}

TEST_F(ToolBarManager, DraggedButtonIsOutlinedOnTheScreenAndTheOutlineGoes) {
  ToolBarFrame f;
  SECCustomToolBar* a = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN});
  SECCustomToolBar* b = f.AddBar(59393, {ID_MT_CUT});
  f.manager->SetCustomizeMode(TRUE);
  CRect button;
  a->GetItemRect(0, &button);
  a->ClientToScreen(&button);
  const CPoint from = button.CenterPoint(), to = from + CPoint(40, 60);
  // The outline's left edge where the button's rectangle has moved to, over the frame's pane.
  const CPoint edge(button.left + 40, button.CenterPoint().y + 60);
  const std::unique_ptr<brambolt::Surface> before = session.Backend().Screen();
  int changed = -1;
  UiScript script;
  script.Then([&] { brambolt::InjectMouseMove(from + CPoint(20, 30)); })
      .Then([&] { brambolt::InjectMouseMove(to); })
      .Then([&] {
        const std::unique_ptr<brambolt::Surface> during = session.Backend().Screen();
        changed = 0;
        for (int dx = -6; dx < 2; ++dx)
          changed += during->GetPixel(edge.x + dx, edge.y) != before->GetPixel(edge.x + dx, edge.y);
        brambolt::InjectMouseButton(WM_LBUTTONUP, ScreenPoint(b->m_hWnd, ToolBarFrame::Centre(b, 0)));
      });
  brambolt::InjectMouseMove(from);
  brambolt::InjectMouseButton(WM_LBUTTONDOWN, from);
  RunUntilIdle();
  EXPECT_GT(changed, 0) << "the hatched outline shows while the button moves";
  const std::unique_ptr<brambolt::Surface> after = session.Backend().Screen();
  for (int dx = -6; dx < 2; ++dx) EXPECT_EQ(after->GetPixel(edge.x + dx, edge.y), before->GetPixel(edge.x + dx, edge.y));
  EXPECT_EQ(ToolBarFrame::Ids(b).size(), 2u);
  f.manager->SetCustomizeMode(FALSE);
}

TEST_F(ToolBarManager, AltDragMovesButtonsOutsideCustomiseMode) {
  ToolBarFrame f;
  SECCustomToolBar* a = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN});
  SECCustomToolBar* b = f.AddBar(59393, {ID_MT_CUT});
  DragTo(a, 0, CentreOnScreen(b, 0), kAlt);
  EXPECT_EQ(ToolBarFrame::Ids(a), std::vector<UINT>{ID_MT_OPEN});
  EXPECT_EQ(ToolBarFrame::Ids(b), (std::vector<UINT>{ID_MT_CUT, ID_MT_NEW}));
  EXPECT_TRUE(f.Commands().empty());
  EXPECT_EQ(f.manager->GetSelectionBar(), nullptr) << "an Alt move leaves no selection";
  EXPECT_FALSE(SECIsAltDragInProgress());
}

TEST_F(ToolBarManager, ConfigurationModeDisablesTheFrameChildrenButTheDockBars) {
  ToolBarFrame f;
  f.AddBar(59392, {ID_MT_NEW});
  f.frame->EnableWindow(FALSE);  // as a modal customise dialog leaves it
  f.manager->EnterConfigMode();
  EXPECT_TRUE(f.manager->InConfigMode());
  EXPECT_TRUE(f.frame->IsWindowEnabled());
  EXPECT_FALSE(f.pane.IsWindowEnabled());
  EXPECT_TRUE(f.frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)->IsWindowEnabled());
  f.manager->ExitConfigMode();
  EXPECT_FALSE(f.manager->InConfigMode());
  EXPECT_TRUE(f.pane.IsWindowEnabled());
  EXPECT_FALSE(f.frame->IsWindowEnabled());
  f.frame->EnableWindow(TRUE);
}

}  // namespace
