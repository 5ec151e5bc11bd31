// The editor view in a frame: creation of viewport and controller on the view's window, keys
// through the view, scroll-bar ranges and scrolling by the bars (the gutter stays), and resizing.
#include <gtest/gtest.h>

#include "afx/CFrameWnd.h"
#include "editor/view/SECEditView.h"
#include "tests/editor/ControllerHost.h"

using brambolt::test::RunUntilIdle;

namespace {

class ModelView : public SECEditView {
 public:
  explicit ModelView(SECEdit* model) : m_model(model) {}
  SECEdit* GetViewModel() override { return m_model; }

 private:
  SECEdit* m_model;
};

struct ViewHost {
  brambolt::test::UiSession session;
  CWinApp app{"Editor View Test"};
  editortest::SwitchableLanguage lang{"C"};
  editortest::SwitchableLanguage def{"Default"};
  editortest::LanguageScope scope{{&lang, &def}};
  SECEdit model;
  CFrameWnd* frame = new CFrameWnd;
  ModelView* view = new ModelView(&model);
  brambolt::ScopedLoopFilter filter{[this](MSG& msg) { return view->PreTranslateMessage(&msg); }};

  explicit ViewHost(int lines) {
    editortest::MakeC(lang);
    model.ResetWithLanguage("C");
    std::string text;
    for (int i = 0; i < lines; ++i) text += "line " + std::to_string(i) + (i + 1 < lines ? "\r\n" : "");
    model.InsertTextAt(0, 0, text.c_str(), -1);
    model.ClearUndoHistory();
    EXPECT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 400)));
    EXPECT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), frame, AFX_IDW_PANE_FIRST));
    view->OnInitialUpdate();
    view->SetFocus();
    RunUntilIdle();
  }
  ~ViewHost() {
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
  }
  SCROLLINFO Info(int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    view->GetScrollInfo(bar, &info, SIF_ALL);
    return info;
  }
  void SetText(const char* text) {
    model.NewDocument();
    model.InsertTextAt(0, 0, text, -1);
    model.ClearUndoHistory();
    RunUntilIdle();
  }
  std::string Text() {
    CString out;
    const SECEditLineCol end = model.GetEndPosition();
    model.GetText(&out, 0, 0, end.m_nLine, end.m_nCol);
    return std::string(out, static_cast<size_t>(out.GetLength()));
  }
  POINT PointOf(int line, int col) {
    CPoint pt;
    view->GetEditController()->PositionToPoint(pt, SECEditLineCol(line, col));
    view->LPtoDP(static_cast<POINT*>(&pt), 1);
    return POINT{pt.x, pt.y + view->GetLineHeight() / 2};
  }
  void Select(int line, int col, int endLine, int endCol) {
    brambolt::test::AdvanceClock(1000);  // no double click with what came before
    view->GetEditController()->SetSelection(SECEditLineColPair(line, col, endLine, endCol), SECEDIT_SEL_STREAM);
  }
  int Rows() { return view->GetVisibleLogRect().Height() / view->GetLineHeight(); }
  int Top() { return view->GetLogOrigin().y / view->GetLineHeight(); }
};

TEST(ViewScrolling, AShortTextFitsAndALongOneScrollsByLinePageAndThumb) {
  {
    ViewHost host(5);
    ASSERT_NE(host.view->GetEditController(), nullptr);
    host.view->UpdateScrollBars();
    const SCROLLINFO info = host.Info(SB_VERT);
    EXPECT_EQ(info.nMax, host.Rows());
    EXPECT_EQ(static_cast<int>(info.nPage), host.Rows() + 1);
    // Keys reach the controller through the view's key map.
    brambolt::test::PressKey(VK_DOWN);
    EXPECT_EQ(host.view->GetEditController()->GetCaretPosition(), SECEditLineCol(1, 0));
    brambolt::test::TypeText("x");
    CString line;
    LPTSTR text = nullptr;
    host.model.GetLine(1, &line, &text);
    EXPECT_EQ(std::string(text, 7), "xline 1");
  }
  ViewHost host(200);
  const int rows = host.Rows(), last = 200 - rows;
  SCROLLINFO info = host.Info(SB_VERT);
  EXPECT_EQ(info.nMax, 199);
  EXPECT_EQ(static_cast<int>(info.nPage), rows);
  host.view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(host.Top(), 1);
  host.view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(host.Top(), 1 + rows);
  host.view->SetScrollPos(SB_VERT, last - 2);
  host.view->SendMessage(WM_VSCROLL, SB_THUMBPOSITION);
  EXPECT_EQ(host.Top(), last - 2);
  host.view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(host.Top(), last);
  host.view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(host.Top(), last);
  EXPECT_EQ(host.Info(SB_VERT).nPos, last);
  host.view->SendMessage(WM_VSCROLL, SB_PAGEUP);
  EXPECT_EQ(host.Top(), last - rows);
  // Horizontal scrolling moves the text, never the gutter.
  RunUntilIdle();
  const COLORREF gutter = brambolt::test::WindowPixel(host.view->GetSafeHwnd(), 3, 3);
  host.view->SendMessage(WM_HSCROLL, SB_LINERIGHT);
  RunUntilIdle();
  EXPECT_EQ(host.view->GetLogOrigin().x, host.view->GetCharWidth());
  EXPECT_EQ(brambolt::test::WindowPixel(host.view->GetSafeHwnd(), 3, 3), gutter);
  host.view->SendMessage(WM_HSCROLL, SB_LINELEFT);
  host.view->SendMessage(WM_HSCROLL, SB_LINELEFT);
  EXPECT_EQ(host.view->GetLogOrigin().x, 0);
  // Drag-over scrolling answers whether a line scroll is possible.
  EXPECT_TRUE(host.view->OnScroll(MAKEWORD(0xFF, SB_LINEUP), 0, FALSE));
  EXPECT_FALSE(host.view->OnScroll(MAKEWORD(SB_LINEUP, 0xFF), 0, FALSE));
}

TEST(ViewScrolling, ResizingGivesTheViewportTheClientArea) {
  ViewHost host(20);
  host.view->SetWindowPos(nullptr, 0, 0, 420, 330, SWP_NOZORDER | SWP_NOMOVE);
  RunUntilIdle();
  CRect client;
  host.view->GetClientRect(&client);
  EXPECT_EQ(host.view->GetVisibleLogRect().Size(), client.Size());
  EXPECT_EQ(host.Info(SB_VERT).nMax, host.Rows());
}

TEST(ViewDragDrop, ASelectionMovesOrCopiesWithinTheEditorAndUndoesInOneStep) {
  ViewHost host(1);
  SECEditController* ctl = host.view->GetEditController();
  const HWND hwnd = host.view->GetSafeHwnd();
  host.SetText("one two three");
  host.Select(0, 4, 0, 7);
  brambolt::test::Drag(hwnd, host.PointOf(0, 5), host.PointOf(0, 13), 6);
  EXPECT_EQ(host.Text(), "one  threetwo");
  SECEditLineColPair pair;
  ASSERT_TRUE(ctl->GetSelectionPair(pair, TRUE));
  EXPECT_EQ(pair, SECEditLineColPair(0, 10, 0, 13));
  host.model.Undo();
  EXPECT_EQ(host.Text(), "one two three");
  // With Ctrl the text is copied.
  host.Select(0, 0, 0, 3);
  brambolt::test::Drag(hwnd, host.PointOf(0, 1), host.PointOf(0, 8), 6, brambolt::test::kCtrl);
  EXPECT_EQ(host.Text(), "one two onethree");
  // Dropping inside the selection moves nothing; a click in it without moving clears it.
  host.Select(0, 0, 0, 7);
  brambolt::test::Drag(hwnd, host.PointOf(0, 1), host.PointOf(0, 4), 6);
  EXPECT_EQ(host.Text(), "one two onethree");
  host.Select(0, 0, 0, 7);
  brambolt::test::Click(hwnd, host.PointOf(0, 2));
  EXPECT_FALSE(ctl->HasSelection());
  EXPECT_EQ(ctl->GetCaretPosition(), SECEditLineCol(0, 2));
  EXPECT_EQ(host.model.m_pDragController, nullptr);
}

// A pane view of a splitter, creatable by its run-time class, over one shared model.
class PaneView : public SECEditView {
  DECLARE_DYNCREATE(PaneView)

 public:
  inline static SECEdit* s_model = nullptr;
  SECEdit* GetViewModel() override { return s_model; }
};

IMPLEMENT_DYNCREATE(PaneView, SECEditView)

TEST(ViewSplitter, PanesOfOneColumnFollowTheActivePanesHorizontalOrigin) {
  ViewHost host(200);
  PaneView::s_model = &host.model;
  CSplitterWnd splitter;
  ASSERT_TRUE(splitter.CreateStatic(host.frame, 2, 1));
  splitter.ModifyStyle(0, SPLS_DYNAMIC_SPLIT);  // the panes keep in step in a dynamic splitter only
  ASSERT_TRUE(splitter.CreateView(0, 0, RUNTIME_CLASS(PaneView), CSize(300, 120), nullptr));
  ASSERT_TRUE(splitter.CreateView(1, 0, RUNTIME_CLASS(PaneView), CSize(300, 120), nullptr));
  auto* top = static_cast<PaneView*>(splitter.GetPane(0, 0));
  auto* bottom = static_cast<PaneView*>(splitter.GetPane(1, 0));
  top->OnInitialUpdate();
  bottom->OnInitialUpdate();
  splitter.SetActivePane(0, 0);
  RunUntilIdle();
  // The active pane scrolls by its caret: the pane below takes its horizontal origin only.
  top->SetLogOrigin(5 * top->GetCharWidth(), 7 * top->GetLineHeight());
  EXPECT_EQ(bottom->GetLogOrigin(), CPoint(5 * top->GetCharWidth(), 0));
  // Scrolling by the bar sends no notice.
  top->SendMessage(WM_HSCROLL, SB_LINERIGHT);
  EXPECT_EQ(bottom->GetLogOrigin().x, 5 * top->GetCharWidth());
  splitter.DestroyWindow();
  PaneView::s_model = nullptr;
}

}  // namespace
