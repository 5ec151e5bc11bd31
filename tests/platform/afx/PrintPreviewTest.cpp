// Print preview: the preview view in place of the frame's view with the preview toolbar, pages
// one or two at a time with their number in the status line, zoom by button and by click, the
// pages drawn from the same recording the printer gets, and the frame exactly as it was after
// Close or Escape.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "AfxTestResources.h"
#include "afx/CControlBar.h"
#include "afx/CPreviewView.h"
#include "afx/CPrintInfo.h"
#include "afx/CStatusBar.h"
#include "afx/afx.h"
#include "testing/FakeCups.h"
#include "testing/testing.h"
#include "win/ModalLoop.h"

using namespace brambolt::test;

namespace {

// Four pages of text, each with a black box in its top left corner.
class BoxesView : public CView {
  DECLARE_DYNCREATE(BoxesView)

 public:
  static inline int printed = 0;
  static inline CView* preparing = nullptr;  // the view that last prepared a print or preview
  void OnDraw(CDC*) override {}

 protected:
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override {
    preparing = this;
    pInfo->SetMaxPage(4);
    return DoPreparePrinting(pInfo);
  }
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override {
    ++printed;
    EXPECT_TRUE(pInfo->m_bPreview);
    pDC->FillSolidRect(CRect(0, 0, 1200, 1200), RGB(0, 0, 0));
    CString text;
    text.Format("Box page %u", pInfo->m_nCurPage);
    pDC->TextOut(0, 1400, text);
  }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(BoxesView, CView)
BEGIN_MESSAGE_MAP(BoxesView, CView)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
  ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
END_MESSAGE_MAP()

// A bar of the frame's own, which preview hides and Close shows again.
class PlainBar : public CControlBar {
 public:
  using CControlBar::Create;
  BOOL Create(CWnd* parent) {
    m_dwStyle = CBRS_TOP;
    if (!AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG)) return FALSE;
    return CWnd::Create(AFX_WNDCONTROLBAR, "Plain", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), parent, AFX_IDW_TOOLBAR);
  }
  CSize CalcFixedLayout(BOOL bStretch, BOOL) override { return CSize(bStretch ? 32767 : 100, 20); }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

class PrintPreview : public ::testing::Test {
 protected:
  void SetUp() override {
    BoxesView::printed = 0;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(BoxesView);
    frame_ = new CFrameWnd;
    menu_ = ::CreateMenu();
    ::AppendMenu(menu_, MF_STRING, ID_FILE_PRINT_PREVIEW, "Pre&view");
    ASSERT_TRUE(frame_->Create(nullptr, "Boxes", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480), nullptr,
                               nullptr, 0, &context));
    ::SetMenu(frame_->m_hWnd, menu_);
    app_.m_pMainWnd = frame_;
    ASSERT_TRUE(bar_.Create(frame_));
    frame_->RecalcLayout();
    view_ = static_cast<CView*>(CWnd::FromHandlePermanent(::GetDlgItem(frame_->m_hWnd, AFX_IDW_PANE_FIRST)));
    frame_->SetActiveView(view_);
    frame_->GetWindowRect(&viewRectBefore_);
    view_->GetWindowRect(&viewRectBefore_);
    RunUntilIdle();  // the frame as the loop leaves it once made
  }
  void TearDown() override {
    frame_->DestroyWindow();
    app_.m_pMainWnd = nullptr;
  }
  // A command as from a menu or the toolbar, then the idle update that follows.
  void Command(UINT id) {
    frame_->SendMessage(WM_COMMAND, id, 0);
    Idle();
  }
  void Idle() {
    RunUntilIdle();
    app_.OnIdle(0);
  }
  CPreviewView* Preview() const {
    return dynamic_cast<CPreviewView*>(CWnd::FromHandlePermanent(::GetDlgItem(frame_->m_hWnd, AFX_IDW_PANE_FIRST)));
  }
  std::string Status() const { return std::string(frame_->m_strMessage); }
  bool Enabled(UINT id) const {
    // The preview toolbar is a dialog bar: its controls are its children.
    HWND bar = ::GetDlgItem(frame_->m_hWnd, AFX_IDW_PREVIEW_BAR);
    return ::IsWindowEnabled(::GetDlgItem(bar, static_cast<int>(id))) != FALSE;
  }

  UiSession session_;
  FakeCups cups_;
  CWinApp app_{"Preview App"};
  CFrameWnd* frame_ = nullptr;
  CView* view_ = nullptr;
  HMENU menu_ = nullptr;
  PlainBar bar_;
  CRect viewRectBefore_;
};

TEST_F(PrintPreview, PagesOneOrTwoAtATimeWithTheirNumbersAndTheToolbarFollowing) {
  // The status bar stays while the other bars go: the page number is shown there.
  CStatusBar status;
  const UINT indicators[] = {ID_SEPARATOR};
  ASSERT_TRUE(status.Create(frame_));
  status.SetIndicators(indicators, 1);
  frame_->RecalcLayout();
  Command(ID_FILE_PRINT_PREVIEW);
  EXPECT_TRUE(status.IsWindowVisible());
  EXPECT_EQ(std::string(status.GetPaneText(0)), "Page 1");
  CPreviewView* preview = Preview();
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(frame_->GetActiveView(), preview);
  EXPECT_EQ(::GetMenu(frame_->m_hWnd), nullptr);
  EXPECT_FALSE(bar_.IsWindowVisible());
  EXPECT_FALSE(view_->IsWindowVisible());
  HWND toolbar = ::GetDlgItem(frame_->m_hWnd, AFX_IDW_PREVIEW_BAR);
  ASSERT_NE(toolbar, nullptr);
  EXPECT_TRUE(::IsWindowVisible(toolbar));
  EXPECT_EQ(Status(), "Page 1");
  // The pointer leaving a bar puts the status line back to rest: in preview that is the page.
  frame_->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  Idle();
  EXPECT_EQ(std::string(status.GetPaneText(0)), "Page 1");
  EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_PREV));
  EXPECT_TRUE(Enabled(AFX_ID_PREVIEW_NEXT));
  EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_ZOOMOUT));

  Command(AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  EXPECT_EQ(Status(), "Page 2");
  frame_->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  EXPECT_EQ(Status(), "Page 2");
  EXPECT_TRUE(Enabled(AFX_ID_PREVIEW_PREV));
  Command(AFX_ID_PREVIEW_PREV);
  EXPECT_EQ(Status(), "Page 1");

  // Two pages side by side; the button now offers one.
  Command(AFX_ID_PREVIEW_NUMPAGE);
  EXPECT_EQ(preview->GetPagesShown(), 2u);
  EXPECT_EQ(Status(), "Pages 1-2");
  char text[32] = {};
  ::GetDlgItemText(toolbar, AFX_ID_PREVIEW_NUMPAGE, text, sizeof text);
  EXPECT_STREQ(text, "&One Page");
  Command(AFX_ID_PREVIEW_NEXT);
  Command(AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(Status(), "Pages 3-4");
  EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_NEXT));
  Command(AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 3u);
  if (const char* keep = std::getenv("BRAMBOLT_KEEP_RENDERINGS")) SaveWindowPng(frame_->m_hWnd, std::string(keep) + "/preview.png");
  CRect left = preview->GetPageRect(0), right = preview->GetPageRect(1);
  EXPECT_LT(left.right, right.left);
  EXPECT_EQ(left.Size(), right.Size());
  EXPECT_EQ(BoxesView::printed, 4) << "each page printed once";
}

// Without its toolbar's template the preview does not start, the frame stays as it was, and the
// state stays the caller's to delete (it was freed twice).
TEST_F(PrintPreview, AMissingToolbarTemplateLeavesTheStateToTheCaller) {
  auto* state = new CPrintPreviewState;
  EXPECT_FALSE(view_->DoPrintPreview(59999, view_, RUNTIME_CLASS(CPreviewView), state));
  delete state;
  EXPECT_EQ(Preview(), nullptr);
  EXPECT_EQ(frame_->GetActiveView(), view_);
  EXPECT_EQ(::GetMenu(frame_->m_hWnd), menu_);
}

TEST_F(PrintPreview, ZoomByButtonAndByClickAroundThePointClicked) {
  Command(ID_FILE_PRINT_PREVIEW);
  CPreviewView* preview = Preview();
  ASSERT_NE(preview, nullptr);
  CRect whole = preview->GetPageRect(0);
  Command(AFX_ID_PREVIEW_ZOOMIN);
  EXPECT_EQ(preview->GetZoomState(), static_cast<UINT>(CPreviewView::ZOOM_MIDDLE));
  CRect middle = preview->GetPageRect(0);
  EXPECT_GT(middle.Width(), whole.Width());
  Command(AFX_ID_PREVIEW_ZOOMIN);
  EXPECT_EQ(preview->GetZoomState(), static_cast<UINT>(CPreviewView::ZOOM_IN));
  EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_ZOOMIN));
  EXPECT_FALSE(Enabled(AFX_ID_PREVIEW_NUMPAGE));
  // Fully zoomed in the page has its size on paper at the screen's resolution, with scroll bars.
  EXPECT_NEAR(preview->GetPageRect(0).Width(), 8.5 * 96, 2);
  EXPECT_TRUE(preview->GetStyle() & WS_VSCROLL);
  Command(AFX_ID_PREVIEW_ZOOMOUT);
  Command(AFX_ID_PREVIEW_ZOOMOUT);
  EXPECT_EQ(preview->GetZoomState(), static_cast<UINT>(CPreviewView::ZOOM_OUT));
  EXPECT_EQ(preview->GetPageRect(0), whole);

  // A click zooms in keeping the clicked point of the page under the pointer; fully zoomed in,
  // a click shows the whole page again.
  Command(AFX_ID_PREVIEW_ZOOMIN);
  CRect before = preview->GetPageRect(0);
  CPoint at(before.left + before.Width() / 4, before.top + before.Height() / 4);
  double fx = static_cast<double>(at.x - before.left) / before.Width();
  double fy = static_cast<double>(at.y - before.top) / before.Height();
  Click(preview->m_hWnd, at);
  Idle();
  EXPECT_EQ(preview->GetZoomState(), static_cast<UINT>(CPreviewView::ZOOM_IN));
  CRect zoomed = preview->GetPageRect(0);
  EXPECT_NEAR(zoomed.left + fx * zoomed.Width(), at.x, 2);
  EXPECT_NEAR(zoomed.top + fy * zoomed.Height(), at.y, 2);
  Click(preview->m_hWnd, at);
  Idle();
  EXPECT_EQ(preview->GetZoomState(), static_cast<UINT>(CPreviewView::ZOOM_OUT));
  EXPECT_EQ(preview->GetPageRect(0), whole);
}

TEST_F(PrintPreview, ThePageShowsWhatIsPrintedOnIt) {
  Command(ID_FILE_PRINT_PREVIEW);
  CPreviewView* preview = Preview();
  ASSERT_NE(preview, nullptr);
  CRect client;
  preview->GetClientRect(&client);
  {
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.Width(), client.Height());
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    CDC dc;
    dc.Attach(mem);
    preview->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0);
    preview->OnDraw(&dc);
    CRect page = preview->GetPageRect(0);
    // Letter at 600 dpi: the 2-inch box covers the printable area's top left (printed to a
    // file there is no margin), the rest of the sheet is white, and the shadow lies beside it.
    int box = 1200 * page.Width() / 5100;
    EXPECT_EQ(::GetPixel(mem, page.left + box / 2, page.top + box / 2), RGB(0, 0, 0));
    EXPECT_EQ(::GetPixel(mem, page.left + box + 4, page.top + box / 2), RGB(255, 255, 255));
    EXPECT_EQ(::GetPixel(mem, page.right + 1, page.top + page.Height() / 2), ::GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(::GetPixel(mem, page.left - 3, page.top + 10), ::GetSysColor(COLOR_APPWORKSPACE));
    dc.Detach();
    ::SelectObject(mem, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
  }
}

TEST_F(PrintPreview, CloseAndEscapeGiveTheFrameBackAsItWas) {
  for (int way = 0; way < 2; ++way) {
    Command(ID_FILE_PRINT_PREVIEW);
    CPreviewView* preview = Preview();
    ASSERT_NE(preview, nullptr);
    if (way == 0) {
      // The toolbar's Close button.
      HWND controls = ::GetDlgItem(frame_->m_hWnd, AFX_IDW_PREVIEW_BAR);
      HWND close = ::GetDlgItem(controls, AFX_ID_PREVIEW_CLOSE);
      RECT r;
      ::GetClientRect(close, &r);
      Click(close, POINT{r.right / 2, r.bottom / 2});
    } else {
      preview->SetFocus();
      PressKey(VK_ESCAPE);
    }
    Idle();
    EXPECT_EQ(Preview(), nullptr) << way;
    EXPECT_EQ(::GetDlgItem(frame_->m_hWnd, AFX_IDW_PREVIEW_BAR), nullptr) << way;
    EXPECT_EQ(::GetDlgItem(frame_->m_hWnd, AFX_IDW_PANE_FIRST), view_->m_hWnd) << way;
    EXPECT_EQ(frame_->GetActiveView(), view_) << way;
    EXPECT_EQ(::GetMenu(frame_->m_hWnd), menu_) << way;
    EXPECT_TRUE(bar_.IsWindowVisible()) << way;
    EXPECT_TRUE(view_->IsWindowVisible()) << way;
    CRect now;
    view_->GetWindowRect(&now);
    EXPECT_EQ(now, viewRectBefore_) << way;
    EXPECT_EQ(Status(), "Ready") << way;
  }
}

TEST_F(PrintPreview, ClosingTheFrameDuringPreviewEndsThePreviewOnly) {
  Command(ID_FILE_PRINT_PREVIEW);
  ASSERT_NE(Preview(), nullptr);
  frame_->SendMessage(WM_CLOSE);
  RunUntilIdle();
  EXPECT_TRUE(::IsWindow(frame_->m_hWnd));
  EXPECT_EQ(Preview(), nullptr);
  EXPECT_EQ(frame_->GetActiveView(), view_);
}

TEST_F(PrintPreview, PrintEndsThePreviewAndOpensThePrintDialog) {
  ModalAnswers answers;
  bool asked = false;
  answers.When(nullptr, "Print", [&](HWND dialog) {
    asked = true;
    EXPECT_EQ(Preview(), nullptr);
    ::PostMessage(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  Command(ID_FILE_PRINT_PREVIEW);
  ASSERT_NE(Preview(), nullptr);
  Command(AFX_ID_PREVIEW_PRINT);
  EXPECT_TRUE(asked);
  EXPECT_EQ(frame_->GetActiveView(), view_);
}

// The preview's keys: Home and End go to the first and last page, the arrows and Page Down and
// Page Up turn the pages, also after a letter of the preview bar pressed a button; the vertical
// scroll bar runs over the pages and turns them; zoomed in, the arrows scroll and Home goes back
// to the top of the first page.
TEST_F(PrintPreview, KeysAndTheScrollBarTurnThePagesAlsoAfterTheBarsLetters) {
  // Keys pass the application's PreTranslateMessage, as in its own loop.
  brambolt::ScopedLoopFilter loop([this](MSG& msg) { return app_.PreTranslateMessage(&msg); });
  Command(ID_FILE_PRINT_PREVIEW);
  CPreviewView* preview = Preview();
  ASSERT_NE(preview, nullptr);
  ASSERT_EQ(::GetFocus(), preview->m_hWnd);
  const UINT shown = preview->GetPagesShown();
  auto bar = [&] {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ::GetScrollInfo(preview->m_hWnd, SB_VERT, &info);
    return std::vector<int>{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
  };
  EXPECT_NE(preview->GetStyle() & WS_VSCROLL, 0u);
  EXPECT_EQ(bar(), (std::vector<int>{1, 4, static_cast<int>(shown), 1}));
  PressKey(VK_END);
  EXPECT_EQ(preview->GetCurrentPage(), 5 - shown);
  EXPECT_EQ(bar(), (std::vector<int>{1, 4, static_cast<int>(shown), static_cast<int>(5 - shown)}));
  PressKey(VK_HOME);
  EXPECT_EQ(preview->GetCurrentPage(), 1u);
  PressKey(VK_DOWN);
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  PressKey(VK_UP);
  EXPECT_EQ(preview->GetCurrentPage(), 1u);
  // The scroll bar's lower arrow, at the bottom of the view's right edge.
  CRect window;
  preview->GetWindowRect(&window);
  const int arrow = ::GetSystemMetrics(SM_CYVSCROLL);
  ClickAt(POINT{window.right - ::GetSystemMetrics(SM_CXVSCROLL) / 2, window.bottom - arrow / 2});
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  EXPECT_EQ(bar()[3], 2);
  // Alt+N presses Next Page; the preview keeps the keyboard.
  PressKey('N', kAlt);
  Idle();
  EXPECT_EQ(preview->GetCurrentPage(), std::min(3u, 5 - shown));
  PressKey(VK_HOME);
  PressKey(VK_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  PressKey(VK_PRIOR);
  EXPECT_EQ(preview->GetCurrentPage(), 1u);
  // Zoomed in all the way, the arrows scroll the page and Home goes back to its top.
  Command(AFX_ID_PREVIEW_ZOOMIN);
  Command(AFX_ID_PREVIEW_ZOOMIN);
  ASSERT_EQ(preview->GetZoomState(), static_cast<UINT>(CPreviewView::ZOOM_IN));
  preview->SetFocus();
  PressKey(VK_HOME);
  const int top = ::GetScrollPos(preview->m_hWnd, SB_VERT);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  EXPECT_GT(::GetScrollPos(preview->m_hWnd, SB_VERT), top);
  PressKey(VK_HOME);
  EXPECT_EQ(::GetScrollPos(preview->m_hWnd, SB_VERT), top);
  // Escape still closes the preview after the bar's letters.
  PressKey('O', kAlt);
  PressKey(VK_ESCAPE);
  Idle();
  EXPECT_EQ(Preview(), nullptr);
}

// A click on a button of the preview bar leaves the preview its keys: Home, Page Down and End
// turn the pages after each button that keeps the preview open, and Escape closes it.
TEST_F(PrintPreview, ItsKeysWorkAfterAClickOnABarButton) {
  brambolt::ScopedLoopFilter loop([this](MSG& msg) { return app_.PreTranslateMessage(&msg); });
  Command(ID_FILE_PRINT_PREVIEW);
  ASSERT_NE(Preview(), nullptr);
  const HWND bar = ::GetDlgItem(frame_->m_hWnd, AFX_IDW_PREVIEW_BAR);
  for (UINT id : {AFX_ID_PREVIEW_NEXT, AFX_ID_PREVIEW_PREV, AFX_ID_PREVIEW_NUMPAGE, AFX_ID_PREVIEW_ZOOMIN,
                  AFX_ID_PREVIEW_ZOOMOUT}) {
    SCOPED_TRACE(id);
    const HWND button = ::GetDlgItem(bar, static_cast<int>(id));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(::IsWindowEnabled(button));
    RECT r{};
    ::GetClientRect(button, &r);
    Click(button, POINT{r.right / 2, r.bottom / 2});
    Idle();
    CPreviewView* preview = Preview();
    ASSERT_NE(preview, nullptr);
    PressKey(VK_HOME);
    EXPECT_EQ(preview->GetCurrentPage(), 1u);
    PressKey(VK_NEXT);
    EXPECT_EQ(preview->GetCurrentPage(), 2u);
    PressKey(VK_END);
    EXPECT_EQ(preview->GetCurrentPage(), 5 - preview->GetPagesShown());
    Idle();
  }
  PressKey(VK_ESCAPE);
  Idle();
  EXPECT_EQ(Preview(), nullptr);
}

class PreviewDoc : public CDocument {
  DECLARE_DYNCREATE(PreviewDoc)
};

IMPLEMENT_DYNCREATE(PreviewDoc, CDocument)

// An MDI frame with one document window of the four-page view open.
class PrintPreviewInMdi : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new CMDIFrameWnd;
    ASSERT_TRUE(frame->LoadFrame(IDR_MDIFRAME));
    app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    auto* docs = new CMultiDocTemplate(IDR_TEXTTYPE, RUNTIME_CLASS(PreviewDoc), RUNTIME_CLASS(CMDIChildWnd),
                                       RUNTIME_CLASS(BoxesView));
    app.AddDocTemplate(docs);
    ASSERT_NE(docs->OpenDocumentFile(nullptr), nullptr);
    RunUntilIdle();
  }
  void TearDown() override {
    frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
  }
  void StartPreview() {
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    RunUntilIdle();
    ASSERT_NE(dynamic_cast<CPreviewView*>(frame->GetActiveView()), nullptr);
  }
  UiSession session;
  FakeCups cups;
  CWinApp app{"Preview MDI"};
  CMDIFrameWnd* frame = nullptr;
};

// The view of an MDI child previews in the main frame; closed, the preview gives the main frame
// back the active view it had (none) instead of the child's view, which would dangle there once
// the child is gone, and the child's view has the focus again.
TEST_F(PrintPreviewInMdi, ClosingGivesTheMainFrameBackItsOwnActiveView) {
  CView* view = frame->MDIGetActive()->GetActiveView();
  ASSERT_NE(view, nullptr);
  CView* before = frame->GetActiveView();
  ASSERT_NE(before, view);
  StartPreview();
  PressKey(VK_ESCAPE);
  RunUntilIdle();
  EXPECT_EQ(frame->GetActiveView(), before);
  EXPECT_EQ(::GetFocus(), view->m_hWnd);
  app.CloseAllDocuments(FALSE);
  EXPECT_EQ(frame->GetActiveView(), before);
}

// A document opened while the preview shows another (by a program, a drop) becomes the active one
// behind the preview: the preview's Print still prints the document it shows.
TEST_F(PrintPreviewInMdi, PrintPrintsThePreviewedDocumentWhateverOpenedMeanwhile) {
  CView* previewed = frame->MDIGetActive()->GetActiveView();
  StartPreview();
  ASSERT_NE(app.GetFirstDocTemplatePosition(), nullptr);
  POSITION pos = app.GetFirstDocTemplatePosition();
  ASSERT_NE(app.GetNextDocTemplate(pos)->OpenDocumentFile(nullptr), nullptr);
  RunUntilIdle();
  ASSERT_NE(frame->MDIGetActive()->GetActiveView(), previewed);
  ModalAnswers answers;
  CView* printing = nullptr;
  answers.When(nullptr, "Print", [&](HWND dialog) {
    printing = BoxesView::preparing;
    ::PostMessage(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  const HWND print = ::GetDlgItem(::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR), AFX_ID_PREVIEW_PRINT);
  ASSERT_NE(print, nullptr);
  RECT r{};
  ::GetClientRect(print, &r);
  BoxesView::preparing = nullptr;
  Click(print, POINT{r.right / 2, r.bottom / 2});
  RunUntilIdle();
  EXPECT_EQ(printing, previewed);
}

// The preview holds back the keys of the document windows (Ctrl+F4 would close the window it
// shows); a document closed under the preview another way ends the preview with it, and the
// frame is given back whole, its menu and keys included.
TEST_F(PrintPreviewInMdi, HoldsBackTheWindowKeysAndEndsWithItsDocument) {
  const HWND child = frame->MDIGetActive()->m_hWnd;
  StartPreview();
  for (UINT mods : {UINT{kCtrl}, UINT{kCtrl | kShift}}) {
    PressKey(VK_F6, mods);
    PressKey(VK_F4, kCtrl);
  }
  RunUntilIdle();
  EXPECT_TRUE(::IsWindow(child)) << "Ctrl+F4 closed the previewed window";
  ASSERT_NE(dynamic_cast<CPreviewView*>(frame->GetActiveView()), nullptr);
  // The document goes as a program closes it: the preview ends with it.
  app.CloseAllDocuments(FALSE);
  RunUntilIdle();
  EXPECT_FALSE(::IsWindow(child));
  EXPECT_EQ(::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR), nullptr);
  EXPECT_EQ(dynamic_cast<CPreviewView*>(frame->GetActiveView()), nullptr);
  // The frame's own menu, with no document left.
  EXPECT_EQ(::GetMenu(frame->m_hWnd), frame->m_hMenuDefault);
  EXPECT_TRUE(::IsWindowVisible(frame->m_hWndMDIClient));
  // Nothing of the preview answers any more.
  PressKey(VK_ESCAPE);
  frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
  RunUntilIdle();
  EXPECT_TRUE(::IsWindow(frame->m_hWnd));
}

}  // namespace
