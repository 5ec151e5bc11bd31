// Drag and drop inside the program, driven by scripted mouse and keys: a target's calls as the
// mouse enters, moves, leaves and drops, Ctrl flipping copy and move, Escape cancelling, a target
// destroyed in its drop, drag scrolling after its delay, and file lists dropped on windows that
// accept files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "backend/DropFiles.h"
#include "base/Clock.h"
#include "base/GlobalMemory.h"
#include "ole/ole.h"
#include "testing/testing.h"
#include "win/Input.h"

using brambolt::test::UiScript;
using brambolt::test::UiSession;

namespace {

constexpr char kClass[] = "OleDragTestWindow";
std::vector<std::string> g_dropped;  // names WM_DROPFILES delivered

LRESULT CALLBACK TestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DROPFILES) {
    auto drop = reinterpret_cast<HDROP>(wParam);
    for (UINT i = 0, n = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0); i < n; ++i) {
      char name[MAX_PATH];
      DragQueryFile(drop, i, name, sizeof(name));
      g_dropped.push_back(name);
    }
    DragFinish(drop);
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND MakeWindow(int x) {
  WNDCLASS wc{};
  wc.lpfnWndProc = TestProc;
  wc.lpszClassName = kClass;
  RegisterClass(&wc);
  return CreateWindowEx(0, kClass, "", WS_POPUP | WS_VISIBLE, x, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
}

// Records its calls; answers copy with Ctrl, move otherwise; text only.
class LoggingTarget : public COleDropTarget {
 public:
  std::vector<std::string> log;
  bool destroyOnDrop = false;
  bool scrollable = false;

  DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD keys, CPoint point) override {
    log.push_back("enter " + Where(point));
    return Effect(data, keys);
  }
  DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD keys, CPoint point) override {
    log.push_back("over " + Where(point));
    return Effect(data, keys);
  }
  void OnDragLeave(CWnd*) override { log.push_back("leave"); }
  BOOL OnDrop(CWnd* pWnd, COleDataObject* data, DROPEFFECT effect, CPoint point) override {
    HGLOBAL h = data->GetGlobalData(CF_TEXT);
    std::string text = h ? std::string(static_cast<const char*>(GlobalLock(h)), GlobalSize(h) - 1) : "";
    if (h) GlobalUnlock(h), GlobalFree(h);
    log.push_back("drop " + Where(point) + (effect == DROPEFFECT_COPY ? " copy " : " move ") + text);
    if (destroyOnDrop) {
      HWND hwnd = pWnd->m_hWnd;
      delete this;  // as a view deletes itself and its drop target with its window
      DestroyWindow(hwnd);
    }
    return TRUE;
  }
  DROPEFFECT OnDragScroll(CWnd*, DWORD, CPoint point) override {
    if (!scrollable) return DROPEFFECT_NONE;
    log.push_back("scroll " + Where(point) + " at " + std::to_string(GetTickCount()));
    return DROPEFFECT_SCROLL | DROPEFFECT_MOVE;
  }

 private:
  static DROPEFFECT Effect(COleDataObject* data, DWORD keys) {
    if (!data->IsDataAvailable(CF_TEXT)) return DROPEFFECT_NONE;
    return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
  }
  static std::string Where(CPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
};

class RecordingSource : public COleDropSource {
 public:
  std::vector<DROPEFFECT> feedback;
  SCODE GiveFeedback(DROPEFFECT effect) override {
    feedback.push_back(effect);
    return COleDropSource::GiveFeedback(effect);
  }
};

class TrackedSource : public COleDataSource {
 public:
  explicit TrackedSource(bool* deleted) : deleted_(deleted) {}
  ~TrackedSource() override { *deleted_ = true; }

 private:
  bool* deleted_;
};

HGLOBAL Text(const char* text) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
  std::strcpy(static_cast<char*>(GlobalLock(h)), text);
  GlobalUnlock(h);
  return h;
}

class DragDrop : public ::testing::Test {
 protected:
  void SetUp() override {
    source_ = MakeWindow(0);
    targetWindow_ = MakeWindow(300);
    target_ = new LoggingTarget;
    ASSERT_TRUE(target_->Register(CWnd::FromHandle(targetWindow_)));
    brambolt::test::RunUntilIdle();
  }
  void TearDown() override { delete target_; }

  // Presses the left button in the source window, as the user does before a drag.
  void Press() {
    brambolt::InjectMouseButton(WM_LBUTTONDOWN, POINT{50, 50});
    brambolt::test::RunUntilIdle();
  }
  static void Move(int x, int y) { brambolt::InjectMouseMove(POINT{x, y}); }

  UiSession session_;
  HWND source_ = nullptr;
  HWND targetWindow_ = nullptr;
  LoggingTarget* target_ = nullptr;
};

TEST_F(DragDrop, TargetIsEnteredMovedOverLeftAndDroppedOnWithCtrlChoosingCopy) {
  Press();
  RecordingSource dropSource;
  UiScript script;
  std::vector<std::string> seen;
  std::vector<HCURSOR> cursors;  // what shows after each step
  script.Then([] { Move(320, 20); })
      .Then([] { Move(330, 25); })
      .Then([&] {
        cursors.push_back(::GetCursor());
        brambolt::InjectKey(VK_CONTROL, true);
      })
      .Then([&] {
        cursors.push_back(::GetCursor());
        brambolt::InjectKey(VK_CONTROL, false);
      })
      .Then([] { Move(250, 25); })  // between the windows: nothing there
      .Then([&] {
        cursors.push_back(::GetCursor());
        seen = target_->log;
        Move(340, 30);
      })
      .Then([] { brambolt::InjectMouseButton(WM_LBUTTONUP, POINT{340, 30}); });
  bool deleted = false;
  auto* data = new TrackedSource(&deleted);
  data->CacheGlobalData(CF_TEXT, Text("moved text"));
  DROPEFFECT effect = data->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, &dropSource);
  EXPECT_EQ(effect, DROPEFFECT_MOVE);
  EXPECT_TRUE(dropSource.m_bDragStarted);
  EXPECT_EQ(seen, (std::vector<std::string>{"enter 20,20", "over 30,25", "over 30,25", "over 30,25", "leave"}));
  // The drop asks the target once more for the effect at the drop point.
  std::vector<std::string> last(target_->log.end() - 3, target_->log.end());
  EXPECT_EQ(last, (std::vector<std::string>{"enter 40,30", "over 40,30", "drop 40,30 move moved text"}));
  // Feedback: move, move, copy with Ctrl, move, nothing between the windows, move again.
  std::vector<DROPEFFECT> expected{DROPEFFECT_MOVE, DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_MOVE,
                                   DROPEFFECT_NONE, DROPEFFECT_MOVE};
  EXPECT_EQ(dropSource.feedback, expected);
  // The default cursors follow: the move page, the copy page with its plus, no entry.
  EXPECT_EQ(cursors, (std::vector<HCURSOR>{brambolt::GetDragEffectCursor(DROPEFFECT_MOVE),
                                           brambolt::GetDragEffectCursor(DROPEFFECT_COPY),
                                           ::LoadCursor(nullptr, IDC_NO)}));
  EXPECT_NE(brambolt::GetDragEffectCursor(DROPEFFECT_MOVE), brambolt::GetDragEffectCursor(DROPEFFECT_COPY));
  EXPECT_FALSE(deleted);
  data->InternalRelease();
  EXPECT_TRUE(deleted);
}

// Beyond the program's windows the drag goes on to other programs through the backend's foreign
// drag source: told what the drag offers, left when the drag comes back, dropped on.
TEST_F(DragDrop, BeyondTheProgramTheDragGoesToOtherPrograms) {
  struct Foreign : brambolt::ForeignDragSource {
    std::vector<std::string> calls;
    DWORD DragOver(POINT screen, DWORD keys, DWORD allowed, const brambolt::OutgoingDrag& drag) override {
      calls.push_back("over " + std::to_string(screen.x) + " " + drag.text + ((keys & MK_CONTROL) ? " ctrl" : "") +
                      (allowed == (DROPEFFECT_COPY | DROPEFFECT_MOVE) ? "" : " ?"));
      return DROPEFFECT_COPY;
    }
    void DragLeave() override { calls.push_back("leave"); }
    DWORD Drop(DWORD) override {
      calls.push_back("drop");
      return DROPEFFECT_COPY;
    }
  } foreign;
  brambolt::SetForeignDragSource(&foreign);
  Press();
  UiScript script;
  script.Then([] { Move(700, 20); })        // no window of the program there
      .Then([] { Move(320, 20); })          // back over the program's target
      .Then([] { Move(710, 30); })
      .Then([] { brambolt::InjectMouseButton(WM_LBUTTONUP, POINT{710, 30}); });
  auto* data = new COleDataSource;
  data->CacheGlobalData(CF_TEXT, Text("dragged"));
  DROPEFFECT effect = data->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
  brambolt::SetForeignDragSource(nullptr);
  data->InternalRelease();
  EXPECT_EQ(effect, DROPEFFECT_COPY);
  EXPECT_EQ(foreign.calls, (std::vector<std::string>{"over 700 dragged", "leave", "over 710 dragged", "drop"}));
  EXPECT_EQ(target_->log.front(), "enter 20,20");
}

TEST_F(DragDrop, EscapeCancelsAndTheTargetIsLeft) {
  Press();
  UiScript script;
  script.Then([] { Move(320, 20); }).Then([] { brambolt::InjectKey(VK_ESCAPE, true); });
  COleDataSource data;
  data.CacheGlobalData(CF_TEXT, Text("x"));
  EXPECT_EQ(data.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_NONE);
  EXPECT_EQ(target_->log, (std::vector<std::string>{"enter 20,20", "leave"}));
}

TEST_F(DragDrop, ReleasingTheButtonBeforeTheMouseMovesStartsNoDrag) {
  Press();
  UiScript script;
  script.Then([] { brambolt::InjectMouseButton(WM_LBUTTONUP, POINT{50, 50}); });
  COleDataSource data;
  data.CacheGlobalData(CF_TEXT, Text("x"));
  COleDropSource dropSource;
  EXPECT_EQ(data.DoDragDrop(DROPEFFECT_COPY, nullptr, &dropSource), DROPEFFECT_NONE);
  EXPECT_FALSE(dropSource.m_bDragStarted);
  EXPECT_TRUE(target_->log.empty());
}

TEST_F(DragDrop, TargetDestroyedDuringItsDropLeavesTheDataAliveUntilTheDragReturns) {
  Press();
  target_->destroyOnDrop = true;
  target_ = nullptr;  // it deletes itself
  UiScript script;
  script.Then([] { Move(320, 20); })
      .Then([] { brambolt::InjectKey(VK_CONTROL, true); })
      .Then([] { brambolt::InjectMouseButton(WM_LBUTTONUP, POINT{320, 20}); });
  bool deleted = false;
  auto* data = new TrackedSource(&deleted);
  data->CacheGlobalData(CF_TEXT, Text("copied"));
  EXPECT_EQ(data->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_COPY);
  brambolt::InjectKey(VK_CONTROL, false);
  EXPECT_FALSE(IsWindow(targetWindow_));
  EXPECT_FALSE(deleted);
  data->InternalRelease();
  EXPECT_TRUE(deleted);
}

TEST_F(DragDrop, DraggingNearTheEdgeScrollsAfterTheDelay) {
  Press();
  target_->scrollable = true;
  std::vector<std::string> beforeDelay;
  UiScript script;
  script.Then([] { Move(305, 100); })  // 5 pixels from the left edge: in the scroll inset
      .Then([&] {
        beforeDelay = target_->log;
        brambolt::test::AdvanceClock(120);
      })
      .Then([] { Move(320, 100); })  // out of the inset: no more scrolling
      .Then([] { brambolt::test::AdvanceClock(120); })
      .Then([] { brambolt::InjectMouseButton(WM_LBUTTONUP, POINT{320, 100}); });
  COleDataSource data;
  data.CacheGlobalData(CF_TEXT, Text("x"));
  DWORD start = GetTickCount();
  data.DoDragDrop(DROPEFFECT_MOVE);
  EXPECT_EQ(beforeDelay, (std::vector<std::string>{"enter 5,100"}));
  std::vector<std::string> scrolls;
  for (const std::string& line : target_->log)
    if (line.rfind("scroll", 0) == 0) scrolls.push_back(line);
  // The drag asks again every 50 ms while the mouse stands still; scrolling starts once the point
  // has been in the inset for the delay and repeats at the interval.
  ASSERT_EQ(scrolls.size(), 2u);
  EXPECT_EQ(scrolls[0], "scroll 5,100 at " + std::to_string(start + 50));
  EXPECT_EQ(scrolls[1], "scroll 5,100 at " + std::to_string(start + 100));
  EXPECT_EQ(target_->log.back(), "drop 20,100 move x");
}

TEST_F(DragDrop, FileListsDropOnWindowsThatAcceptFiles) {
  g_dropped.clear();
  HWND files = MakeWindow(600);
  DragAcceptFiles(files, TRUE);
  Press();
  UiScript script;
  script.Then([] { Move(650, 50); }).Then([] { brambolt::InjectMouseButton(WM_LBUTTONUP, POINT{650, 50}); });
  // The last name lacks its terminator: it ends with the block.
  DROPFILES header{sizeof(DROPFILES), {0, 0}, FALSE, FALSE};
  std::string block(reinterpret_cast<const char*>(&header), sizeof(header));
  block += std::string("/src/a.h\0/src/b.h", 17);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, block.size());
  std::memcpy(GlobalLock(h), block.data(), block.size());
  GlobalUnlock(h);
  COleDataSource data;
  data.CacheGlobalData(CF_HDROP, h);
  EXPECT_EQ(data.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_COPY);
  brambolt::test::RunUntilIdle();
  EXPECT_EQ(g_dropped, (std::vector<std::string>{"/src/a.h", "/src/b.h"}));
  EXPECT_TRUE(target_->log.empty());
}

}  // namespace
