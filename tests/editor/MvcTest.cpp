// The model-viewport-controller foundation: observers, the transaction model's rings, the
// controller's message filter and routing, and the viewport's coordinates and scrolling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afx/afx.h"
#include "editor/mvc/MvcModel.h"
#include "editor/mvc/MvcViewport.h"
#include "testing/testing.h"

using namespace kelpwood::foundation;

namespace {

class Observer : public IObserver {
 public:
  Observer(std::string name, std::vector<std::string>* log) : m_name(std::move(name)), m_log(log) {}
  bool QueryGuid(REFGUID, void** out) override {
    *out = nullptr;
    return false;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  void OnUpdate(ISubject*, IMessage*) override { m_log->push_back(m_name); }
  ULONG refs = 0;

 private:
  std::string m_name;
  std::vector<std::string>* m_log;
};

// A command that logs what runs and counts the live instances.
class Command : public CMvcCommand {
 public:
  Command(int id, std::string* log, int* live, BOOL effective = TRUE) : m_id(id), m_log(log), m_live(live) {
    m_bEffective = effective;
    ++*m_live;
  }
  ~Command() override { --*m_live; }
  UINT GetTypeID() const override { return 1; }
  void GetDescription(CString& out) const override { out = "command"; }
  BOOL Execute() override {
    *m_log += "+" + std::to_string(m_id);
    return TRUE;
  }
  BOOL Unexecute() override {
    *m_log += "-" + std::to_string(m_id);
    return TRUE;
  }

 private:
  int m_id;
  std::string* m_log;
  int* m_live;
};

TEST(MvcModel, ObserversAreToldInOrderExceptTheExcludedAndDuplicatesGoTogether) {
  std::vector<std::string> log;
  Observer a("a", &log), b("b", &log);
  {
    CMvcModel model;
    model.AddObserver(&a);
    model.AddObserver(&b);
    model.AddObserver(&a);
    model.AddObserver(nullptr);
    model.UpdateAllObservers(nullptr, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "a"}));
    log.clear();
    model.UpdateAllObservers(&a, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"b"}));
    model.RemoveObserver(&a);
    EXPECT_EQ(a.refs, 0u);
    EXPECT_EQ(model.GetObserverCount(), 1);
    void* face = nullptr;
    EXPECT_TRUE(model.QueryGuid(IID_ISubject, &face));
    EXPECT_FALSE(model.QueryGuid(IID_IObserver, &face));
    EXPECT_EQ(face, nullptr);
  }
  EXPECT_EQ(b.refs, 0u);  // the model released it on destruction
}

TEST(MvcTransactionModel, RingKeeps256CommandsAndDeletesTheOverwrittenOne) {
  std::string log;
  int live = 0;
  {
    MvcTransactionModel model;
    for (int i = 0; i < 257; ++i) model.RecordCommand(new Command(i, &log, &live));
    EXPECT_EQ(live, 256);
    for (int i = 0; i < 256; ++i) ASSERT_NE(model.Undo(), nullptr);
    EXPECT_EQ(model.Undo(), nullptr);
    EXPECT_EQ(log.substr(0, 8), "-256-255");
    EXPECT_NE(log.find("-1"), std::string::npos);
    EXPECT_EQ(log.find("-0"), std::string::npos);
    // A new command empties the redo ring.
    model.RecordCommand(new Command(999, &log, &live));
    EXPECT_EQ(live, 1);
    EXPECT_EQ(model.Redo(), nullptr);
  }
  EXPECT_EQ(live, 0);
}

TEST(MvcTransactionModel, UndoPassesOverCommandsThatAreNotEffective) {
  std::string log;
  int live = 0;
  MvcTransactionModel model;
  model.RecordCommand(new Command(1, &log, &live));
  model.RecordCommand(new Command(2, &log, &live, FALSE));
  CMvcCommand* undone = model.Undo();
  ASSERT_NE(undone, nullptr);
  EXPECT_EQ(log, "-1");
  EXPECT_EQ(model.GetRedoCount(), 2);
  EXPECT_EQ(model.Redo(), undone);
  EXPECT_EQ(log, "-1+1");
  model.ClearHistory();
  model.RecordCommand(new Command(3, &log, &live, FALSE));
  model.RecordCommand(new Command(4, &log, &live, FALSE));
  EXPECT_EQ(model.Undo(), nullptr);
  EXPECT_EQ(model.GetRedoCount(), 2);
  // DoCommand executes before recording.
  log.clear();
  EXPECT_TRUE(model.DoCommand(new Command(5, &log, &live)));
  EXPECT_EQ(log, "+5");
  EXPECT_EQ(model.GetRedoCount(), 0);
}

TEST(MvcCollections, RingWrapsAndRefusesAnEmptyCapacity) {
  CCStack_T<int> ring;
  ring.SetCapacity(0);
  EXPECT_EQ(ring.Push(7), 7);  // no storage: handed straight back
  ring.SetCapacity(3);
  ring.Push(1);
  EXPECT_EQ(ring.Pop(), 1);  // top was 0, now capacity - 1
  EXPECT_EQ(ring.Peek(), 0);
  for (int i = 1; i <= 4; ++i) ring.Push(i);
  EXPECT_EQ(ring.GetCount(), 3);
  EXPECT_EQ(ring.Pop(), 4);
  EXPECT_EQ(ring.Pop(), 3);
  EXPECT_EQ(ring.Pop(), 2);
  EXPECT_EQ(ring.Pop(), 0);
}

TEST(MvcCollections, ArrayFindsWithWrapAndIteratorSkipsRefusedEntries) {
  CCArray_T<int> array;
  for (int v : {5, 6, 5, 7}) array.Add(v);
  EXPECT_EQ(array.FindForward(5, 2), 0);
  EXPECT_EQ(array.FindBackward(5, 0), 2);
  EXPECT_EQ(array.IndexOf(7), 3);
  struct Odd : Iterator_T<int> {
    using Iterator_T::Iterator_T;
    bool Accept(const int& v) override { return v % 2 == 1; }
  } it(&array);
  std::vector<int> seen;
  for (int* p = it.First(); p != nullptr; p = it.Next()) seen.push_back(*p);
  EXPECT_EQ(seen, (std::vector<int>{5, 5, 7}));
  array.RemoveValue(5);
  EXPECT_EQ(array.GetCount(), 2);
}

class Listener : public IEventRouterImpl {
 public:
  explicit Listener(bool take) : m_take(take) {}
  bool RouteEvent(IEvent*) override {
    ++calls;
    return m_take;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  int calls = 0;
  int refs = 0;

 private:
  bool m_take;
};

class Event : public IEvent {
 public:
  bool QueryGuid(REFGUID, void** out) override {
    *out = nullptr;
    return false;
  }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
};

TEST(MvcController, RoutesEventsToEveryListenerAndRemovesOneEntryAtATime) {
  Listener a(true), b(true);
  {
    IEventRouterImpl router;
    router.AddListener(&a);
    router.AddListener(&b);
    router.AddListener(&a);
    Event e;
    EXPECT_FALSE(router.RouteEvent(nullptr));
    EXPECT_TRUE(router.RouteEvent(&e));
    EXPECT_EQ(a.calls, 2);
    EXPECT_EQ(b.calls, 1);
    EXPECT_TRUE(router.RemoveListener(&a));
    EXPECT_EQ(a.refs, 1);
  }
  EXPECT_EQ(a.refs, 0);
  EXPECT_EQ(b.refs, 0);
}

class Window : public CWnd {
 public:
  BOOL CreatePopup() { return CreateEx(0, AfxRegisterWndClass(0), "view", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr); }
};

class Controller : public MvcController {
 public:
  std::vector<UINT> seen;

 protected:
  afx_msg void OnKeyDown(UINT nChar, UINT, UINT) { seen.push_back(nChar); }
  afx_msg void OnSysKeyDown(UINT nChar, UINT, UINT) { seen.push_back(1000 + nChar); }
  afx_msg void OnLButtonDown(UINT, CPoint pt) { seen.push_back(static_cast<UINT>(2000 + pt.x)); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Controller, MvcController)
  ON_WM_KEYDOWN()
  ON_WM_SYSKEYDOWN()
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

TEST(MvcViewport, PassesTableMessagesInsideItsBoundsToTheController) {
  brambolt::test::UiSession session;
  Window wnd;
  ASSERT_TRUE(wnd.CreatePopup());
  MvcViewport viewport;
  auto* controller = new Controller;
  viewport.SetController(controller, TRUE);
  CRect bounds(10, 10, 200, 100);
  viewport.SetBounds(&bounds);
  ASSERT_TRUE(viewport.Create(&wnd, &wnd));
  EXPECT_TRUE(controller->IsPluggedIn());
  LRESULT result = 0;
  viewport.OnWndMsg(WM_KEYDOWN, 'A', 0, &result);
  viewport.OnWndMsg(WM_SYSKEYDOWN, 'B', 0, &result);
  viewport.OnWndMsg(WM_LBUTTONDOWN, 0, MAKELPARAM(5, 50), &result);   // left of the bounds
  viewport.OnWndMsg(WM_LBUTTONDOWN, 0, MAKELPARAM(50, 50), &result);  // inside
  EXPECT_EQ(controller->seen, (std::vector<UINT>{'A', 2050}));

  MvcController unplugged;
  EXPECT_FALSE(unplugged.Initialize(nullptr, &viewport));
  EXPECT_FALSE(unplugged.IsPluggedIn());
}

TEST(MvcViewport, ConvertsScrollsAndStepsThroughItsMapping) {
  brambolt::test::UiSession session;
  Window wnd;
  ASSERT_TRUE(wnd.CreatePopup());
  MvcViewport viewport;
  CRect bounds(0, 0, 900, 500);
  viewport.SetBounds(&bounds);
  viewport.Create(&wnd, &wnd);
  CPoint pt(37, 41);
  viewport.LPtoDP(&pt, 1);
  EXPECT_EQ(pt, CPoint(37, 41));  // origin 0, extents 1:1

  EXPECT_EQ(viewport.GetYDirection(), 1);
  viewport.SetMapMode(MM_LOMETRIC);
  EXPECT_EQ(viewport.GetYDirection(), -1);
  viewport.SetMapMode(MM_TEXT);
  EXPECT_EQ(viewport.SetLogExtents(5, 5), CSize(1, 1));
  EXPECT_EQ(viewport.GetLogExtents(), CSize(1, 1));
  viewport.SetMapMode(MM_ANISOTROPIC);
  viewport.SetLogExtents(2, 2);
  EXPECT_EQ(viewport.GetLogExtents(), CSize(2, 2));
  EXPECT_EQ(viewport.GetLogSize(), CSize(1800, 1000));
  viewport.SetLogExtents(1, 1);

  // The virtual area equals the visible one here: any scroll stops at once.
  EXPECT_EQ(viewport.Scroll(5000, 0), CRect(0, 0, 900, 500));
  struct Wide : MvcViewport {
    CSize GetVirtualSize() override { return CSize(2000, 600); }
  } wide;
  wide.SetBounds(&bounds);
  wide.Create(&wnd, &wnd);
  EXPECT_EQ(wide.Scroll(5000, -30), CRect(1100, 0, 2000, 500));
  wide.SetLogOrigin(0, 0);
  wide.LineForward(FALSE);
  wide.LineForward(TRUE);
  EXPECT_EQ(wide.GetLogOrigin(), CPoint(20, 20));
  wide.CenterOn(1000, 300);
  EXPECT_EQ(wide.GetLogOrigin(), CPoint(550, 50));
  EXPECT_EQ(wide.Scale(1, 0, 1, 2, FALSE), CSize(900, 250));
}

}  // namespace
