// Tests of the toolbar customise pages: the Toolbars page (list kept in step with the bars, the
// menubar's fixed check, rename, delete, reset, new toolbar, options), the Toolbars dialog, and
// the Commands page (categories, descriptions, commands dragged onto the bars).
#include "CustomToolBarTestSupport.h"

#include "bars/CommandBarsRes.h"
#include "bars/SECToolBarCmdPage.h"
#include "bars/SECToolBarsPage.h"

using namespace brambolt::test;

namespace {

class CustomizePages : public ::testing::Test {
 protected:
  UiSession session;
};

// A modeless customise sheet over the frame with the given pages.
struct Sheet {
  SECToolBarSheet sheet{"Customize"};
  explicit Sheet(std::initializer_list<CPropertyPage*> pages, CWnd* parent) {
    for (CPropertyPage* page : pages) sheet.AddPage(page);
    EXPECT_TRUE(sheet.Create(parent, WS_POPUP | WS_CAPTION | WS_VISIBLE));
    RunUntilIdle();
  }
  ~Sheet() {
    if (sheet.GetSafeHwnd() != nullptr) sheet.DestroyWindow();
  }
};

CString Text(CWnd* wnd) {
  CString text;
  wnd->GetWindowText(text);
  return text;
}

TEST_F(CustomizePages, ToolbarsPageKeepsItsListInStepWithTheBars) {
  ToolBarFrame f;
  f.AddBar(59647, {ID_MT_NEW});  // the menubar's place
  f.AddBar(59392, {ID_MT_OPEN});
  f.AddBar(59424, {ID_MT_SAVE});
  SECToolBarsPage page;
  page.SetManager(f.manager);
  Sheet sheet({&page}, f.frame);
  CCheckListBox& list = page.m_barList;
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetItemData(0), 59392u);
  EXPECT_EQ(list.GetItemData(1), 59424u);
  EXPECT_EQ(list.GetItemData(2), 59647u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list.GetCheck(i), 1);

  // A new bar goes in by id; a hidden one loses its check; a destroyed one leaves.
  SECCustomToolBar* user = f.manager->CreateUserToolBar("Second");
  ASSERT_EQ(user->GetDlgCtrlID(), 59425);
  EXPECT_EQ(list.GetItemData(2), 59425u);
  CString text;
  list.GetText(2, text);
  EXPECT_EQ(text, "Second");
  f.frame->ShowControlBar(f.manager->FindToolBar(59392), FALSE, FALSE);
  EXPECT_EQ(list.GetCheck(0), 0);
  list.SetCurSel(2);
  user->DestroyWindow();
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetCurSel(), 2) << "the entry now at that place is selected";
  EXPECT_EQ(list.GetItemData(2), 59647u);
}

TEST_F(CustomizePages, MenubarStaysCheckedAndUserBarsCanBeRenamedAndDeleted) {
  ToolBarFrame f;
  f.AddBar(59647, {ID_MT_NEW});
  SECCustomToolBar* user = f.AddBar(59424, {ID_MT_SAVE});
  SECToolBarsPage page;
  page.SetManager(f.manager);
  Sheet sheet({&page}, f.frame);
  CCheckListBox& list = page.m_barList;
  CWnd* edit = page.GetDlgItem(IDC_SEC_TOOLBAR_NAME);
  CWnd* reset = page.GetDlgItem(IDC_SEC_TOOLBAR_RESET);

  // The menubar: Reset, no renaming, and its check comes back.
  CRect item;
  list.GetItemRect(1, &item);
  Click(list.m_hWnd, item.CenterPoint());
  EXPECT_EQ(Text(reset), "&Reset");
  EXPECT_FALSE(edit->IsWindowEnabled());
  Click(list.m_hWnd, CPoint(item.left + 6, item.CenterPoint().y));
  EXPECT_EQ(list.GetCheck(1), 1);
  EXPECT_TRUE(f.manager->FindToolBar(59647)->IsWindowVisible());

  // A user bar: Delete, renaming cut to 128 characters.
  list.GetItemRect(0, &item);
  Click(list.m_hWnd, item.CenterPoint());
  EXPECT_EQ(Text(reset), "&Delete");
  ASSERT_TRUE(edit->IsWindowEnabled());
  Click(edit->m_hWnd, CPoint(5, 5));
  TypeText(std::string(200, 'x'));
  ::SetFocus(list.m_hWnd);
  RunUntilIdle();
  EXPECT_EQ(Text(user).GetLength(), 128);
  EXPECT_EQ(Text(edit).GetLength(), 128);
  CString entry;
  list.GetText(0, entry);
  EXPECT_EQ(entry, Text(user));
  EXPECT_EQ(list.GetCurSel(), 0);

  // Hiding by the check box hides the bar.
  Click(list.m_hWnd, CPoint(item.left + 6, item.CenterPoint().y));
  EXPECT_FALSE(user->IsWindowVisible());

  // Delete asks, and the bar goes with Apply.
  const HWND hUser = user->GetSafeHwnd();
  ModalAnswers answers;
  answers.When("#32770", "Customize", [](HWND box) { Click(::GetDlgItem(box, IDYES), CPoint(5, 5)); });
  Click(reset->m_hWnd, CPoint(5, 5));
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_TRUE(::IsWindow(hUser));
  Click(::GetDlgItem(sheet.sheet.m_hWnd, ID_APPLY_NOW), CPoint(5, 5));
  EXPECT_FALSE(::IsWindow(hUser));
}

// Delete (after its question) and Reset on the Toolbars page of the modal sheet are undone by
// Cancel: the user's bar comes back with its name, buttons and place, the reset bar gets its
// buttons again; with OK they are final.
TEST_F(CustomizePages, CancelGivesBackWhatDeleteAndResetChanged) {
  ToolBarFrame f;
  static const UINT standard[] = {ID_MT_NEW, 0, ID_MT_OPEN};
  f.manager->DefineDefaultToolBar(59392, "Standard", 3, standard);
  SECCustomToolBar* predefined = f.AddBar(59392, {ID_MT_CUT, ID_MT_SAVE});
  SECCustomToolBar* user = f.AddBar(59424, {ID_MT_SAVE, 0, ID_MT_PLAIN});
  user->SetWindowText("Mine");
  const HWND hUser = user->GetSafeHwnd();
  CRect userRect;
  user->GetWindowRect(&userRect);

  auto runSheet = [&](UINT nEnd) {
    SECToolBarsPage page;
    page.SetManager(f.manager);
    SECToolBarSheet sheet("Customize", f.frame);
    sheet.AddPage(&page);
    ModalAnswers answers;
    std::vector<int> asked;  // list entries after each answer
    answers.When(nullptr, "Customize", [&](HWND window) {
      CCheckListBox& list = page.m_barList;
      CWnd* reset = page.GetDlgItem(IDC_SEC_TOOLBAR_RESET);
      CRect item;
      list.GetItemRect(1, &item);
      Click(list.m_hWnd, item.CenterPoint());
      EXPECT_EQ(list.GetItemData(1), 59424u);
      Click(reset->m_hWnd, CPoint(5, 5));  // answered No
      asked.push_back(list.GetCount());
      Click(reset->m_hWnd, CPoint(5, 5));  // answered Yes
      asked.push_back(list.GetCount());
      EXPECT_FALSE(user->IsWindowVisible());
      list.GetItemRect(0, &item);
      Click(list.m_hWnd, item.CenterPoint());
      Click(reset->m_hWnd, CPoint(5, 5));
      EXPECT_EQ(ToolBarFrame::Ids(predefined), (std::vector<UINT>{ID_MT_NEW, 0, ID_MT_OPEN}));
      Click(::GetDlgItem(window, static_cast<int>(nEnd)), CPoint(5, 5));
    });
    answers.When("#32770", "Customize", [](HWND box) { Click(::GetDlgItem(box, IDNO), CPoint(5, 5)); });
    answers.When("#32770", "Customize", [](HWND box) { Click(::GetDlgItem(box, IDYES), CPoint(5, 5)); });
    EXPECT_EQ(sheet.DoModal(), static_cast<INT_PTR>(nEnd));
    EXPECT_EQ(asked, (std::vector<int>{2, 1})) << "No keeps the bar, Yes takes it off the list";
  };

  runSheet(IDCANCEL);
  ASSERT_TRUE(::IsWindow(hUser));
  EXPECT_TRUE(user->IsWindowVisible());
  EXPECT_EQ(Text(user), "Mine");
  EXPECT_EQ(ToolBarFrame::Ids(user), (std::vector<UINT>{ID_MT_SAVE, 0, ID_MT_PLAIN}));
  CRect back;
  user->GetWindowRect(&back);
  EXPECT_EQ(back, userRect);
  EXPECT_EQ(ToolBarFrame::Ids(predefined), (std::vector<UINT>{ID_MT_CUT, ID_MT_SAVE}));

  runSheet(IDOK);
  EXPECT_FALSE(::IsWindow(hUser));
  EXPECT_EQ(ToolBarFrame::Ids(predefined), (std::vector<UINT>{ID_MT_NEW, 0, ID_MT_OPEN}));
  EXPECT_TRUE(f.frame->IsWindowEnabled());
}

// A floating bar renamed keeps its name on its frame's caption through every later layout: renamed
// and applied, then deleted and the deletion cancelled, it comes back under the name the list
// shows.
TEST_F(CustomizePages, AFloatingBarRenamedKeepsItsNameOnItsCaption) {
  ToolBarFrame f;
  SECCustomToolBar* user = f.AddBar(59424, {ID_MT_SAVE, ID_MT_OPEN});
  user->SetWindowText("Mine");
  SECFloatControlBar(f.frame, user, CPoint(300, 300));
  f.Layout();
  ASSERT_TRUE(user->IsFloating());
  CFrameWnd* floating = user->GetParentFrame();
  ASSERT_NE(floating, f.frame);
  EXPECT_EQ(Text(floating), "Mine");
  SECToolBarsPage page;
  page.SetManager(f.manager);
  SECToolBarSheet sheet("Customize", f.frame);
  sheet.AddPage(&page);
  ModalAnswers answers;
  CString listed;
  answers.When(nullptr, "Customize", [&](HWND window) {
    CCheckListBox& list = page.m_barList;
    CRect item;
    list.GetItemRect(0, &item);
    Click(list.m_hWnd, item.CenterPoint());
    CWnd* edit = page.GetDlgItem(IDC_SEC_TOOLBAR_NAME);
    Click(edit->m_hWnd, CPoint(5, 5));
    edit->SendMessage(EM_SETSEL, 0, -1);
    TypeText("Tools");
    Click(list.m_hWnd, item.CenterPoint());
    list.GetText(0, listed);
    Click(::GetDlgItem(window, ID_APPLY_NOW), CPoint(5, 5));
    Click(page.GetDlgItem(IDC_SEC_TOOLBAR_RESET)->m_hWnd, CPoint(5, 5));  // Delete, answered Yes
    EXPECT_FALSE(user->IsWindowVisible());
    Click(::GetDlgItem(window, IDCANCEL), CPoint(5, 5));
  });
  answers.When("#32770", "Customize", [](HWND box) { Click(::GetDlgItem(box, IDYES), CPoint(5, 5)); });
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  f.Layout();
  EXPECT_EQ(listed, "Tools");
  ASSERT_TRUE(user->IsWindowVisible());
  EXPECT_EQ(Text(user), "Tools");
  ASSERT_TRUE(user->IsFloating());
  EXPECT_EQ(Text(user->GetParentFrame()), "Tools");
}

TEST_F(CustomizePages, ResetGivesAPredefinedBarItsDefaultButtonsAgain) {
  ToolBarFrame f;
  static const UINT standard[] = {ID_MT_NEW, 0, ID_MT_OPEN};
  f.manager->DefineDefaultToolBar(59392, "Standard", 3, standard);
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_CUT});
  SECCustomToolBar* other = f.AddBar(59393, {ID_MT_CUT});
  SECToolBarsPage page;
  page.SetManager(f.manager);
  Sheet sheet({&page}, f.frame);
  CWnd* reset = page.GetDlgItem(IDC_SEC_TOOLBAR_RESET);
  page.m_barList.SetCurSel(0);
  Click(reset->m_hWnd, CPoint(5, 5));
  EXPECT_EQ(ToolBarFrame::Ids(bar), (std::vector<UINT>{ID_MT_NEW, 0, ID_MT_OPEN}));
  page.m_barList.SetCurSel(1);
  Click(reset->m_hWnd, CPoint(5, 5));
  EXPECT_EQ(ToolBarFrame::Ids(other), std::vector<UINT>{ID_MT_CUT}) << "no definition: left alone";
}

// New... on the Toolbars page of the modal sheet: the name is asked, the bar floats, and after the
// sheet's OK the frame and its view take input again (configuration mode is as before New...).
TEST_F(CustomizePages, NewToolbarAsksForANameAndFloatsTheBar) {
  ToolBarFrame f;
  SECToolBarsPage page;
  page.SetManager(f.manager);
  SECToolBarSheet sheet("Customize", f.frame);
  sheet.AddPage(&page);
  ModalAnswers answers;
  bool okStartedDisabled = false;
  bool configAfterNew = true;
  int listed = 0;
  answers.When(nullptr, "New Toolbar", [&](HWND dialog) {
    okStartedDisabled = !::IsWindowEnabled(::GetDlgItem(dialog, IDOK));
    Click(::GetDlgItem(dialog, IDC_SEC_NEW_TOOLBAR_NAME), CPoint(5, 5));
    TypeText("Favourites");
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDOK)));
    Click(::GetDlgItem(dialog, IDOK), CPoint(5, 5));
  });
  answers.When(nullptr, "Customize", [&](HWND window) {
    Click(page.GetDlgItem(IDC_SEC_TOOLBAR_NEW)->m_hWnd, CPoint(5, 5));
    configAfterNew = f.manager->InConfigMode() != FALSE;
    listed = page.m_barList.GetCount();
    Click(::GetDlgItem(window, IDOK), CPoint(5, 5));
  });
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_TRUE(okStartedDisabled);
  EXPECT_FALSE(configAfterNew);
  EXPECT_EQ(listed, 1);
  SECCustomToolBar* bar = f.manager->FindToolBar(59424);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(Text(bar), "Favourites");
  EXPECT_TRUE(bar->IsFloating());
  EXPECT_FALSE(f.manager->InConfigMode());
  EXPECT_TRUE(f.frame->IsWindowEnabled());
  EXPECT_TRUE(f.pane.IsWindowEnabled()) << "the frame's view takes input again";
}

TEST_F(CustomizePages, OptionsSwitchTheManagerAndTellTheOtherPages) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW});
  SECToolBarCmdPage commands;
  static const UINT group[] = {ID_MT_OPEN, ID_MT_SAVE};
  commands.DefineBtnGroup("File", 2, group);
  commands.SetManager(f.manager);
  SECToolBarsPage page;
  page.SetManager(f.manager);
  Sheet sheet({&page, &commands}, f.frame);
  sheet.sheet.SetActivePage(1);
  sheet.sheet.SetActivePage(0);
  RunUntilIdle();
  Click(page.GetDlgItem(IDC_SEC_SHOW_TOOLTIPS)->m_hWnd, CPoint(3, 3));
  EXPECT_FALSE(f.manager->ToolTipsEnabled());
  EXPECT_EQ(bar->GetBarStyle() & CBRS_TOOLTIPS, 0u);
  Click(page.GetDlgItem(IDC_SEC_COOL_LOOK)->m_hWnd, CPoint(3, 3));
  EXPECT_TRUE(f.manager->CoolLookEnabled());
  auto* groupBar = static_cast<SECToolBarCmdPage::CBarGroup*>(commands.GetGroups()[0].get())->m_pBar;
  EXPECT_TRUE(groupBar->IsCoolLook()) << "the command page's bars follow";
  Click(page.GetDlgItem(IDC_SEC_LARGE_BUTTONS)->m_hWnd, CPoint(3, 3));
  EXPECT_TRUE(f.manager->LargeButtonsEnabled());
  CRect rect;
  groupBar->GetItemRect(0, &rect);
  EXPECT_EQ(rect.Size(), CSize(29, 31));
}

TEST_F(CustomizePages, CommandPageShowsCategoriesDescribesAndCopiesCommands) {
  ToolBarFrame f;
  SECCustomToolBar* target = f.AddBar(59392, {ID_MT_NEW});
  SECToolBarCmdPage commands;
  static const UINT file[] = {ID_MT_OPEN, ID_MT_SAVE};
  static const UINT edit[] = {ID_MT_CUT, ID_MT_PLAIN};
  commands.DefineBtnGroup("File", 2, file);
  commands.DefineMenuGroup("Edit", 2, edit);
  commands.SetManager(f.manager);
  Sheet sheet({&commands}, f.frame);
  EXPECT_TRUE(f.manager->InCustomizeMode());
  EXPECT_TRUE(f.manager->InConfigMode());
  auto* categories = static_cast<CListBox*>(commands.GetDlgItem(IDC_SEC_CATEGORY_LIST));
  ASSERT_EQ(categories->GetCount(), 2);
  auto* fileGroup = static_cast<SECToolBarCmdPage::CBarGroup*>(commands.GetGroups()[0].get());
  auto* editGroup = static_cast<SECToolBarCmdPage::CListGroup*>(commands.GetGroups()[1].get());
  EXPECT_EQ(fileGroup->m_pBar->GetDlgCtrlID(), static_cast<int>(SEC_IDW_FIRST_CMDGROUP));
  EXPECT_EQ(editGroup->m_list.GetDlgCtrlID(), static_cast<int>(SEC_IDW_FIRST_CMDGROUP - 1));
  EXPECT_TRUE(fileGroup->m_pBar->IsWindowVisible());
  EXPECT_FALSE(editGroup->m_list.IsWindowVisible());
  // The group lies inside the "Buttons" frame.
  CRect frame, group;
  commands.GetDlgItem(IDC_SEC_BUTTONS_GROUP)->GetWindowRect(&frame);
  fileGroup->m_pBar->GetWindowRect(&group);
  EXPECT_TRUE(frame.PtInRect(group.TopLeft()) && frame.PtInRect(group.BottomRight()));

  // Dragging a group button onto a bar copies it there and describes it.
  const POINT to = ScreenPoint(target->m_hWnd, ToolBarFrame::Centre(target, 0));
  Drag(nullptr, ScreenPoint(fileGroup->m_pBar->m_hWnd, ToolBarFrame::Centre(fileGroup->m_pBar, 1)), to);
  EXPECT_EQ(ToolBarFrame::Ids(target), (std::vector<UINT>{ID_MT_NEW, ID_MT_SAVE}));
  EXPECT_EQ(ToolBarFrame::Ids(fileGroup->m_pBar), (std::vector<UINT>{ID_MT_OPEN, ID_MT_SAVE}));
  EXPECT_EQ(Text(commands.GetDlgItem(IDC_SEC_DESCRIPTION)), "Save the document");

  // The list category; a command dropped on empty space makes a floating bar of it.
  categories->SetCurSel(1);
  commands.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEC_CATEGORY_LIST, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(categories->m_hWnd));
  EXPECT_FALSE(fileGroup->m_pBar->IsWindowVisible());
  EXPECT_TRUE(editGroup->m_list.IsWindowVisible());
  CRect item;
  editGroup->m_list.GetItemRect(0, &item);
  // Beside the sheet, which covers the middle of the frame.
  Drag(nullptr, ScreenPoint(editGroup->m_list.m_hWnd, item.CenterPoint()), ScreenPoint(f.frame->m_hWnd, CPoint(580, 400)));
  SECCustomToolBar* made = f.manager->FindToolBar(59424);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(ToolBarFrame::Ids(made), std::vector<UINT>{ID_MT_CUT});
  EXPECT_TRUE(made->IsFloating());
  EXPECT_EQ(Text(commands.GetDlgItem(IDC_SEC_DESCRIPTION)), "Cut the selection");
}

// While the modal sheet shows the Commands page, the buttons of the frame's docked bars are
// moved within a bar, to another bar and off the bars (removed) by the mouse; the rest of the
// frame stays out of reach, and takes input again once the sheet is gone.
TEST_F(CustomizePages, FrameBarsTakeButtonDragsWhileTheModalSheetRuns) {
  ToolBarFrame f;
  SECCustomToolBar* first = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN, ID_MT_SAVE});
  SECCustomToolBar* second = f.AddBar(59393, {ID_MT_CUT});
  SECToolBarCmdPage commands;
  static const UINT group[] = {ID_MT_PLAIN};
  commands.DefineBtnGroup("Edit", 1, group);
  commands.SetManager(f.manager);
  SECToolBarSheet sheet("Customize", f.frame);
  sheet.AddPage(&commands);
  ModalAnswers answers;
  bool paneOutOfReach = false;
  std::vector<std::vector<UINT>> steps;
  answers.When(nullptr, "Customize", [&](HWND window) {
    paneOutOfReach = !f.pane.IsWindowEnabled();
    auto screen = [](SECCustomToolBar* bar, int index) { return ScreenPoint(bar->m_hWnd, ToolBarFrame::Centre(bar, index)); };
    // NEW onto the right half of SAVE: after it.
    CRect save;
    first->GetItemRect(2, &save);
    Drag(nullptr, screen(first, 0), ScreenPoint(first->m_hWnd, CPoint(save.right - 2, save.CenterPoint().y)));
    steps.push_back(ToolBarFrame::Ids(first));
    // OPEN onto the other bar.
    Drag(nullptr, screen(first, 0), screen(second, 0));
    steps.push_back(ToolBarFrame::Ids(second));
    // SAVE off the bars, beside the sheet.
    Drag(nullptr, screen(first, 0), ScreenPoint(f.frame->m_hWnd, CPoint(580, 400)));
    steps.push_back(ToolBarFrame::Ids(first));
    Click(::GetDlgItem(window, IDOK), CPoint(5, 5));
  });
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_TRUE(paneOutOfReach);
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0], (std::vector<UINT>{ID_MT_OPEN, ID_MT_SAVE, ID_MT_NEW}));
  EXPECT_EQ(steps[1].size(), 2u);
  EXPECT_NE(std::find(steps[1].begin(), steps[1].end(), ID_MT_OPEN), steps[1].end());
  EXPECT_EQ(steps[2], std::vector<UINT>{ID_MT_NEW});
  EXPECT_EQ(f.manager->FindToolBar(59424), nullptr) << "a button dragged off makes no bar";
  EXPECT_FALSE(f.manager->InConfigMode());
  EXPECT_TRUE(f.frame->IsWindowEnabled());
  EXPECT_TRUE(f.pane.IsWindowEnabled());
}

TEST_F(CustomizePages, ToolbarsDialogRunsInCustomiseModeAndCustomizeEndsIt) {
  ToolBarFrame f;
  f.AddBar(59392, {ID_MT_NEW});
  SECToolBarsDlg dialog(f.manager, f.frame);
  ModalAnswers answers;
  bool customising = false;
  answers.When(nullptr, "Toolbars", [&](HWND window) {
    customising = f.manager->InCustomizeMode() && f.manager->InConfigMode();
    Click(::GetDlgItem(window, IDC_SEC_TOOLBAR_CUSTOMIZE), CPoint(5, 5));
  });
  EXPECT_EQ(dialog.DoModal(), 43099);
  EXPECT_TRUE(customising);
  EXPECT_FALSE(f.manager->InCustomizeMode());
  EXPECT_FALSE(f.manager->InConfigMode());
  EXPECT_EQ(f.manager->GetCustomizeDialog(), nullptr);
}

// The Toolbars dialog ended with Escape gives back a toolbar deleted in it, and with Close makes
// the deletion final.
TEST_F(CustomizePages, ToolbarsDialogEscapeGivesBackADeletedToolbar) {
  ToolBarFrame f;
  SECCustomToolBar* user = f.AddBar(59424, {ID_MT_SAVE});
  const HWND hUser = user->GetSafeHwnd();
  for (const bool escape : {true, false}) {
    SECToolBarsDlg dialog(f.manager, f.frame);
    ModalAnswers answers;
    answers.When(nullptr, "Toolbars", [&](HWND window) {
      CRect item;
      dialog.m_barList.GetItemRect(0, &item);
      Click(dialog.m_barList.m_hWnd, item.CenterPoint());
      ModalAnswers box;
      box.When("#32770", "Toolbars", [](HWND question) { Click(::GetDlgItem(question, IDYES), CPoint(5, 5)); });
      Click(::GetDlgItem(window, IDC_SEC_TOOLBAR_RESET), CPoint(5, 5));
      EXPECT_FALSE(user->IsWindowVisible());
      if (escape)
        PressKey(VK_ESCAPE);
      else
        Click(::GetDlgItem(window, IDOK), CPoint(5, 5));
      if (::IsWindowVisible(window)) {
        ADD_FAILURE() << "the dialog did not end: the keyboard left it";
        ::EndDialog(window, escape ? IDCANCEL : IDOK);
      }
    });
    EXPECT_EQ(dialog.DoModal(), escape ? IDCANCEL : IDOK);
    if (escape) {
      ASSERT_TRUE(::IsWindow(hUser));
      EXPECT_TRUE(user->IsWindowVisible());
      EXPECT_EQ(ToolBarFrame::Ids(user), std::vector<UINT>{ID_MT_SAVE});
    }
  }
  EXPECT_FALSE(::IsWindow(hUser));
}

}  // namespace
