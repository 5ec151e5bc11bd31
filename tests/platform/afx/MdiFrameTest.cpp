// MDI frames and children: documents of a multiple-document template open into children, a second
// window on a document numbers the titles, commands reach the active child's document, the frame's
// menu and title follow the active child, the keyboard moves between children.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AfxTestResources.h"
#include "afx/afx.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

class TextDoc : public CDocument {
  DECLARE_DYNCREATE(TextDoc)

 public:
  int firstCommands = 0;

 protected:
  afx_msg void OnFirst() { ++firstCommands; }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(TextDoc, CDocument)
BEGIN_MESSAGE_MAP(TextDoc, CDocument)
  ON_COMMAND(ID_TEST_FIRST, OnFirst)
END_MESSAGE_MAP()

class TextView : public CView {
  DECLARE_DYNCREATE(TextView)

 public:
  void OnDraw(CDC*) override {}
};

IMPLEMENT_DYNCREATE(TextView, CView)

std::string TitleOf(CWnd* wnd) {
  CString text;
  wnd->GetWindowText(text);
  return static_cast<LPCTSTR>(text);
}

class MdiFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new CMDIFrameWnd;
    ASSERT_TRUE(frame->LoadFrame(IDR_MDIFRAME));
    app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    docs = new CMultiDocTemplate(IDR_TEXTTYPE, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(CMDIChildWnd),
                                 RUNTIME_CLASS(TextView));
    app.AddDocTemplate(docs);
    RunUntilIdle();
  }
  void TearDown() override {
    app.CloseAllDocuments(FALSE);
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
  }
  CMDIChildWnd* Active(BOOL* maximized = nullptr) { return frame->MDIGetActive(maximized); }
  int Children() {
    int n = 0;
    for (HWND h = ::GetWindow(frame->m_hWndMDIClient, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) ++n;
    return n;
  }

  UiSession session;
  CWinApp app{"MDI App"};
  CMDIFrameWnd* frame = nullptr;
  CMultiDocTemplate* docs = nullptr;
};

TEST_F(MdiFrame, DocumentsOpenIntoChildrenWithTheirMenu) {
  HMENU frameMenu = ::GetMenu(frame->m_hWnd);
  ASSERT_NE(frame->m_hWndMDIClient, nullptr);
  EXPECT_EQ(::GetDlgCtrlID(frame->m_hWndMDIClient), AFX_IDW_PANE_FIRST);
  CDocument* first = docs->OpenDocumentFile(nullptr);
  CDocument* second = docs->OpenDocumentFile(nullptr);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(Children(), 2);
  CMDIChildWnd* child = Active();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->GetActiveDocument(), second);
  EXPECT_EQ(TitleOf(child), "Text2");
  EXPECT_EQ(TitleOf(frame), "MDI App - Text2");
  // The kind's menu replaced the frame's; its window popup lists the children.
  EXPECT_EQ(::GetMenu(frame->m_hWnd), docs->m_hMenuShared);
  HMENU window = frame->GetWindowMenuPopup(docs->m_hMenuShared);
  ASSERT_NE(window, nullptr);
  int count = ::GetMenuItemCount(window);
  EXPECT_EQ(::GetMenuItemID(window, count - 2), static_cast<UINT>(AFX_IDM_FIRST_MDICHILD));
  EXPECT_EQ(::GetMenuItemID(window, count - 1), static_cast<UINT>(AFX_IDM_FIRST_MDICHILD + 1));

  // A command goes to the active child's document; the kind's accelerators work in the frame.
  frame->SendMessage(WM_COMMAND, ID_TEST_FIRST);
  EXPECT_EQ(static_cast<TextDoc*>(second)->firstCommands, 1);
  EXPECT_EQ(static_cast<TextDoc*>(first)->firstCommands, 0);
  MSG key{frame->m_hWnd, WM_KEYDOWN, VK_F2, 0, 0, {}};
  EXPECT_TRUE(frame->PreTranslateMessage(&key));
  RunUntilIdle();
  EXPECT_EQ(static_cast<TextDoc*>(second)->firstCommands, 2);

  // Ctrl+F6 moves to the other child, whose document then gets the commands.
  KeyDown(VK_CONTROL);
  MSG next{frame->m_hWnd, WM_KEYDOWN, VK_F6, 0, 0, {}};
  EXPECT_TRUE(frame->PreTranslateMessage(&next));
  KeyUp(VK_CONTROL);
  EXPECT_EQ(Active()->GetActiveDocument(), first);
  EXPECT_EQ(TitleOf(frame), "MDI App - Text1");
  frame->SendMessage(WM_COMMAND, ID_TEST_FIRST);
  EXPECT_EQ(static_cast<TextDoc*>(first)->firstCommands, 1);

  // Brought to the front while it is active and the keys go elsewhere in the frame (a document
  // opened again from a bar): the focus comes back into it.
  HWND bar = ::CreateWindowEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, frame->m_hWnd, nullptr, nullptr,
                              nullptr);
  ::SetFocus(bar);
  ASSERT_EQ(::GetFocus(), bar);
  Active()->ActivateFrame();
  EXPECT_TRUE(::IsChild(Active()->m_hWnd, ::GetFocus()));
  ::DestroyWindow(bar);

  // With no child left the frame's own menu and title come back.
  app.CloseAllDocuments(FALSE);
  EXPECT_EQ(Children(), 0);
  EXPECT_EQ(Active(), nullptr);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), frameMenu);
  EXPECT_EQ(TitleOf(frame), "MDI App");
}

TEST_F(MdiFrame, NewWindowNumbersTheTitlesAndClosingOneRemovesTheNumber) {
  CDocument* doc = docs->OpenDocumentFile(nullptr);
  ASSERT_NE(doc, nullptr);
  CMDIChildWnd* original = Active();
  frame->SendMessage(WM_COMMAND, ID_WINDOW_NEW);
  CMDIChildWnd* second = Active();
  ASSERT_NE(second, original);
  EXPECT_EQ(second->GetActiveDocument(), doc);
  EXPECT_EQ(TitleOf(original), "Text1:1");
  EXPECT_EQ(TitleOf(second), "Text1:2");
  EXPECT_EQ(TitleOf(frame), "MDI App - Text1:2");

  // Maximised, the child's title goes into the frame's caption and its buttons into the menu bar.
  int items = ::GetMenuItemCount(::GetMenu(frame->m_hWnd));
  frame->MDIMaximize(second);
  BOOL maximized = FALSE;
  EXPECT_EQ(Active(&maximized), second);
  EXPECT_TRUE(maximized);
  EXPECT_EQ(TitleOf(frame), "MDI App - [Text1:2]");
  EXPECT_EQ(::GetMenuItemCount(::GetMenu(frame->m_hWnd)), items + 4);
  // The close button of the menu bar closes the child through the framework.
  frame->SendMessage(WM_COMMAND, SC_CLOSE);
  RunUntilIdle();
  EXPECT_EQ(Children(), 1);
  EXPECT_EQ(Active(), original);
  EXPECT_TRUE(::IsZoomed(original->m_hWnd)) << "the next child takes over the maximised state";
  EXPECT_EQ(TitleOf(original), "Text1");
  EXPECT_EQ(TitleOf(frame), "MDI App - [Text1]");
  frame->MDIRestore(original);
  EXPECT_EQ(::GetMenuItemCount(::GetMenu(frame->m_hWnd)), items);
  EXPECT_EQ(TitleOf(frame), "MDI App - Text1");
}

TEST_F(MdiFrame, WindowCommandsArrangeTheChildren) {
  docs->OpenDocumentFile(nullptr);
  docs->OpenDocumentFile(nullptr);
  frame->SendMessage(WM_COMMAND, ID_WINDOW_TILE_HORZ);
  CRect client;
  ::GetClientRect(frame->m_hWndMDIClient, &client);
  CMDIChildWnd* top = Active();
  CRect r;
  top->GetWindowRect(&r);
  EXPECT_EQ(r.Width(), client.Width());
  EXPECT_EQ(r.Height(), client.Height() / 2);
  // A click in the other child activates it.
  frame->MDINext();
  EXPECT_NE(Active(), top);
  CRect inner;
  top->GetClientRect(&inner);
  Click(top->m_hWnd, CPoint(inner.Width() / 2, inner.Height() / 2));
  EXPECT_EQ(Active(), top);
}

TEST_F(MdiFrame, MoreWindowsChoosesAChildFromTheSelectWindowDialog) {
  for (int i = 0; i < 10; ++i) docs->OpenDocumentFile(nullptr);
  HMENU window = frame->GetWindowMenuPopup(::GetMenu(frame->m_hWnd));
  int count = ::GetMenuItemCount(window);
  ASSERT_EQ(::GetMenuItemID(window, count - 1), static_cast<UINT>(AFX_IDM_FIRST_MDICHILD + 9));
  // The dialog lists every child; choosing the third and OK activates it.
  std::vector<std::string> listed;
  ModalAnswers answers;
  answers.When("#32770", "Select Window", [&](HWND dialog) {
    HWND list = ::GetDlgItem(dialog, 100);
    int n = static_cast<int>(::SendMessage(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[64] = {};
      ::SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      listed.push_back(text);
    }
    ::SendMessage(list, LB_SETCURSEL, 2, 0);
    ::SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  frame->SendMessage(WM_COMMAND, AFX_IDM_FIRST_MDICHILD + 9);
  ASSERT_EQ(listed.size(), 10u);
  EXPECT_EQ(listed[0], "Text1");
  EXPECT_EQ(TitleOf(Active()), listed[2]);
}

}  // namespace

// A frame loaded from a resource id that also names an icon takes that icon into its window class
// (its caption and a maximised child's menu button show it), the big image as its icon and the
// 16-pixel one as its small icon; other frames have none.
TEST(FrameIcon, AFrameLoadedFromAnIconsIdShowsThatIcon) {
  UiSession session;
  CWinApp app{"Icon App"};
  auto widthOf = [](ULONG_PTR icon) {
    ICONINFO info{};
    BITMAP bitmap{};
    if (icon == 0 || !::GetIconInfo(reinterpret_cast<HICON>(icon), &info)) return 0L;
    ::GetObject(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return static_cast<long>(bitmap.bmWidth);
  };
  for (UINT id : {static_cast<UINT>(IDI_TESTICON), static_cast<UINT>(IDR_MDIFRAME)}) {
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->LoadFrame(id, WS_OVERLAPPEDWINDOW));
    const bool icon = id == IDI_TESTICON;
    EXPECT_EQ(icon ? 32 : 0, widthOf(::GetClassLongPtr(frame->m_hWnd, GCLP_HICON))) << id;
    EXPECT_EQ(icon ? 16 : 0, widthOf(::GetClassLongPtr(frame->m_hWnd, GCLP_HICONSM))) << id;
    frame->DestroyWindow();
  }
}
