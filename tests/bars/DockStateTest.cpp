// Saved docking layouts of toolkit bars: round trips through the profile, a persistent tree and
// an archive (rows, shares, sizes, floating frames, hidden bars), the stored forms themselves
// (section numbering, "PctWidth", the version-2 archive bytes, version 1 read), stale
// placeholders, bars recreated by class name, and damaged data that restores nothing harmful.
#include <climits>
#include <cstring>
#include <functional>

#include "DockTestSupport.h"
#include "bars/SECControlBarInfo.h"
#include "bars/SECDialogBar.h"
#include "bars/SECDockState.h"
#include "bars/SECMiniDockFrameWnd.h"
#include "foundation/SECPersistentTreeNode.h"
#include "gdi/SysColors.h"

using namespace brambolt::test;

namespace {

class DockStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ini_ = stores_.TempDir() + "/layout.ini";
    app_.m_pszProfileName = ini_.c_str();
  }
  void TearDown() override { app_.m_pszProfileName = nullptr; }

  PrivateStores stores_;
  UiSession session_;
  CWinApp app_{"Dock State"};
  std::string ini_;
};

// The layout every round trip saves: a and b share the top row (b narrower and taller), c sits
// at the left, d floats, e is hidden at the bottom.
struct Layout {
  DockFrame f;
  SECControlBar *a, *b, *c, *d, *e;
  Layout() {
    a = f.AddBar(CBRS_ALIGN_TOP);
    b = f.AddBar(CBRS_ALIGN_TOP);
    c = f.AddBar(CBRS_ALIGN_LEFT);
    d = f.AddBar(CBRS_ALIGN_TOP);
    e = f.AddBar(CBRS_ALIGN_BOTTOM);
    f.Layout();
  }
  void Arrange() {
    f.Dock(AFX_IDW_DOCKBAR_TOP)->DockControlBarAt(b, 0, 1);
    a->m_fPctWidth = 0.75f;
    b->m_fPctWidth = 0.25f;
    b->m_szHorzDock.cy = 110;
    c->m_szVertDock.cx = 140;
    d->m_szFloat = CSize(170, 90);
    f.frame->FloatControlBar(d, ScreenPoint(f.frame->m_hWnd, POINT{250, 200}), CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
    f.frame->ShowControlBar(e, FALSE, FALSE);
    f.Layout();
    f.Layout();
  }
};

struct Snapshot {
  std::string a, b, c, floating;
  float shareA, shareB;
  bool eVisible;
};

Snapshot Take(Layout& l) {
  Snapshot s;
  s.a = R(l.f.InFrame(*l.a));
  s.b = R(l.f.InFrame(*l.b));
  s.c = R(l.f.InFrame(*l.c));
  CRect fr(0, 0, 0, 0);
  if (auto* frame = dynamic_cast<SECMiniDockFrameWnd*>(l.d->GetParentFrame())) frame->GetWindowRect(&fr);
  s.floating = R(fr);
  s.shareA = l.a->m_fPctWidth;
  s.shareB = l.b->m_fPctWidth;
  s.eVisible = l.e->IsVisible() != FALSE;
  return s;
}

// Saves the arranged layout with `save`, loads it into a fresh frame with `load`, compares.
void RoundTrip(const std::function<void(SECDockState&)>& save, const std::function<void(SECDockState&)>& load) {
  Snapshot before;
  {
    Layout l;
    l.Arrange();
    before = Take(l);
    SECDockState state;
    ASSERT_TRUE(state.GetFrameState(l.f.frame));
    state.RemoveStalePlaceholders();
    save(state);
  }
  Layout l;
  SECDockState state;
  load(state);
  state.SetFrameState(l.f.frame);
  l.f.Layout();
  l.f.Layout();
  Snapshot after = Take(l);
  EXPECT_EQ(after.a, before.a);
  EXPECT_EQ(after.b, before.b);
  EXPECT_EQ(after.c, before.c);
  EXPECT_EQ(after.floating, before.floating);
  EXPECT_NEAR(after.shareA, before.shareA, 1e-5);
  EXPECT_NEAR(after.shareB, before.shareB, 1e-5);
  EXPECT_FALSE(after.eVisible);
  EXPECT_TRUE(l.d->IsFloating());
}

std::vector<BYTE> Bytes(CMemFile& file) {
  std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

}  // namespace

TEST_F(DockStateTest, RoundTripThroughTheProfile) {
  RoundTrip([](SECDockState& s) { s.SaveState("Layout"); }, [](SECDockState& s) { s.LoadState("Layout"); });
  // Sections without gaps, the empty right dock bar left out; shares as millionths.
  const int bars = static_cast<int>(app_.GetProfileInt("Layout-Summary", "Bars", 0));
  EXPECT_GT(bars, 0);
  for (int i = 0; i < bars; ++i) {
    CString section;
    section.Format("Layout-Bar%d", i);
    EXPECT_NE(app_.GetProfileInt(section, "BarID", 0), 0u) << i;
    EXPECT_NE(app_.GetProfileInt(section, "BarID", 0), static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT)) << i;
  }
  bool found = false;
  for (int i = 0; i < bars; ++i) {
    CString section;
    section.Format("Layout-Bar%d", i);
    if (app_.GetProfileInt(section, "BarID", 0) != 24011) continue;
    found = true;
    // b, just docked beside a (0.75) with 0.25, kept a third of the row: 0.333333... truncated.
    EXPECT_STREQ(app_.GetProfileString(section, "PctWidth"), "333333");
    EXPECT_STREQ(app_.GetProfileString(section, "ClassName"), "SECControlBar");
    EXPECT_STREQ(app_.GetProfileString(section, "WindowName"), "Bar 1");
  }
  EXPECT_TRUE(found);
}

TEST_F(DockStateTest, RoundTripThroughATree) {
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Workspace", nullptr), 0u);
  RoundTrip([&](SECDockState& s) { s.SaveState(nullptr, &root); },
            [&](SECDockState& s) { EXPECT_TRUE(s.LoadState(&root)); });
  SECPersistentTreeNode* dock = root.FindChild("DockState");
  ASSERT_NE(dock, nullptr);
  int bars = 0;
  dock->GetKeyValueInt("Bars", &bars);
  EXPECT_NE(dock->FindChild("Bar-0"), nullptr);
  EXPECT_NE(dock->FindChild(CString("Bar-") + std::to_string(bars - 1).c_str()), nullptr);
  // A missing node loads nothing and says so.
  SECPersistentTreeNode empty;
  ASSERT_EQ(empty.Create("Empty", nullptr), 0u);
  SECDockState state;
  EXPECT_FALSE(state.LoadState(&empty));
  EXPECT_FALSE(state.LoadState(static_cast<SECPersistentTreeNode*>(nullptr)));
}

TEST_F(DockStateTest, RoundTripThroughAnArchive) {
  CMemFile file;
  RoundTrip(
      [&](SECDockState& s) {
        CArchive ar(&file, CArchive::store);
        s.Serialize(ar);
      },
      [&](SECDockState& s) {
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        s.Serialize(ar);
      });
}

TEST_F(DockStateTest, ArchiveBytesAndVersionOne) {
  // One record by hand: its version-2 bytes, field by field.
  SECDockState state;
  auto* info = new SECControlBarInfo;
  info->m_nBarID = 24010;
  info->m_pointPos = CPoint(3, 4);
  info->m_bDocking = TRUE;
  info->m_uMRUDockID = AFX_IDW_DOCKBAR_TOP;
  info->m_rectMRUDockPos = CRect(1, 2, 30, 40);
  info->m_dwMRUFloatStyle = CBRS_ALIGN_TOP;
  info->m_ptMRUFloatPos = CPoint(50, 60);
  info->m_dwStyle = 0x2004;
  info->m_dwExStyle = 0x200;
  info->m_fPctWidth = 0.3333333f;
  info->m_szFloat = CSize(7, 8);
  info->m_szHorzDock = CSize(9, 10);
  info->m_szVertDock = CSize(11, 12);
  info->m_dwDockStyle = CBRS_ALIGN_ANY;
  info->m_arrBarID.Add(nullptr);
  state.m_arrBarInfo.Add(info);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    state.Serialize(ar);
  }
  const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
  std::vector<BYTE> expected;
  auto d = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) expected.push_back(static_cast<BYTE>(v >> (8 * i)));
  };
  auto w = [&](uint16_t v) {
    expected.push_back(static_cast<BYTE>(v));
    expected.push_back(static_cast<BYTE>(v >> 8));
  };
  d(2), d(cx), d(cy), w(1);
  d(24010), d(1), d(0), d(1), d(3), d(4);
  d(32767), d(1), d(AFX_IDW_DOCKBAR_TOP), d(1), d(2), d(30), d(40), d(CBRS_ALIGN_TOP), d(50), d(60);
  d(0x2004), d(0x200), d(0), d(0);
  expected.push_back(6);  // "333333"
  for (char ch : std::string("333333")) expected.push_back(static_cast<BYTE>(ch));
  d(7), d(8), d(9), d(10), d(11), d(12);
  d(0), d(CBRS_ALIGN_ANY), d(0);
  w(1), d(0);
  EXPECT_EQ(Bytes(file), expected);

  // Version 1: no screen size, no MRU data; read, then written back as version 2.
  std::vector<BYTE> v1;
  auto d1 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) v1.push_back(static_cast<BYTE>(v >> (8 * i)));
  };
  d1(1);
  v1.push_back(1), v1.push_back(0);
  d1(24012), d1(0), d1(0), d1(1), d1(0xFFFFFFFF), d1(0xFFFFFFFF);
  d1(0x1000), d1(0), d1(0), d1(0);
  v1.push_back(6);
  for (char ch : std::string("500000")) v1.push_back(static_cast<BYTE>(ch));
  d1(1), d1(2), d1(3), d1(4), d1(5), d1(6), d1(0), d1(0), d1(0);
  v1.push_back(0), v1.push_back(0);
  CMemFile old(v1.data(), static_cast<UINT>(v1.size()));
  SECDockState read;
  {
    CArchive ar(&old, CArchive::load);
    read.Serialize(ar);
  }
  ASSERT_EQ(read.GetCount(), 1);
  EXPECT_EQ(read.GetInfo(0)->m_nBarID, 24012u);
  EXPECT_FALSE(read.GetInfo(0)->m_bVisible);
  EXPECT_FLOAT_EQ(read.GetInfo(0)->m_fPctWidth, 0.5f);
  EXPECT_EQ(read.GetInfo(0)->m_szVertDock, CSize(5, 6));
  EXPECT_EQ(read.GetVersion(), 2u);
  CMemFile again;
  {
    CArchive ar(&again, CArchive::store);
    read.Serialize(ar);
  }
  std::vector<BYTE> rewritten = Bytes(again);
  ASSERT_GE(rewritten.size(), 4u);
  EXPECT_EQ(rewritten[0], 2);
}

TEST_F(DockStateTest, StalePlaceholdersAndRepeatsGoWithoutSplittingRows) {
  struct Case {
    std::vector<UINT> in, out;
  } cases[] = {
      // A placeholder of a bar docked elsewhere goes; the row stays one row.
      {{0, 101, 0x10000 | 202, 102, 0, 0}, {0, 101, 102, 0}},
      // Repeated ids go; empty rows collapse; one row end stays at the end.
      {{0, 101, 101, 0, 0, 103, 0, 0, 0}, {0, 101, 0, 103, 0}},
      // A placeholder of a bar docked nowhere stays.
      {{0, 0x10000 | 303, 0}, {0, 0x10000 | 303, 0}},
  };
  for (const Case& c : cases) {
    SECDockState state;
    auto* dock = new SECControlBarInfo;
    for (UINT id : c.in) dock->m_arrBarID.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(id)));
    auto* other = new SECControlBarInfo;
    for (UINT id : {0u, 202u, 0u}) other->m_arrBarID.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(id)));
    state.m_arrBarInfo.Add(dock);
    state.m_arrBarInfo.Add(other);
    state.RemoveStalePlaceholders();
    std::vector<UINT> out;
    for (int i = 0; i < dock->m_arrBarID.GetSize(); ++i)
      out.push_back(static_cast<UINT>(reinterpret_cast<UINT_PTR>(dock->m_arrBarID[i])));
    EXPECT_EQ(out, c.out);
  }
}

TEST_F(DockStateTest, MissingBarsAreRecreatedByClassName) {
  {
    DockFrame f;
    auto* dialog = new SECDialogBar;
    ASSERT_TRUE(dialog->Create(f.frame, 24000, WS_VISIBLE | CBRS_LEFT, CBRS_EX_GRIPPER, 24030));
    dialog->m_bAutoDelete = TRUE;
    dialog->EnableDocking(CBRS_ALIGN_ANY);
    f.frame->DockControlBar(dialog, f.Dock(AFX_IDW_DOCKBAR_LEFT));
    f.AddBar(CBRS_ALIGN_TOP)->SetWindowText("Named");
    f.Layout();
    SECDockState state;
    state.GetFrameState(f.frame);
    state.SaveState("Layout");
  }
  // A frame without those bars: the base manager makes none, so they come from their classes.
  CPtrList created;
  {
    DockFrame f;
    SECDockState state;
    state.m_pCreatedBars = &created;
    state.LoadState("Layout");
    state.SetFrameState(f.frame);
    f.Layout();
    ASSERT_EQ(created.GetCount(), 2);
    auto* dialog = dynamic_cast<SECDialogBar*>(f.frame->GetControlBar(24030));
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(dialog->GetDlgItem(24001), nullptr) << "made from its template";
    EXPECT_EQ(dialog->m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(dialog->GetExBarStyle(), static_cast<DWORD>(CBRS_EX_GRIPPER));
    CControlBar* named = f.frame->GetControlBar(24010);
    ASSERT_NE(named, nullptr);
    CString text;
    named->GetWindowText(text);
    EXPECT_STREQ(text, "Named");
    EXPECT_EQ(named->m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_TOP));
  }
  // The frame's list owns them: they go after their windows.
  for (POSITION pos = created.GetHeadPosition(); pos != nullptr;) delete static_cast<CControlBar*>(created.GetNext(pos));
}

TEST_F(DockStateTest, DamagedDataRestoresNothingHarmful) {
  // A huge count, a bad screen size, a share out of range, negative sizes, a short placement.
  app_.WriteProfileInt("Bad-Summary", "Bars", 2000000000);
  app_.WriteProfileInt("Bad-Summary", "ScreenCX", 0);
  app_.WriteProfileInt("Bad-Bar0", "BarID", 24010);
  app_.WriteProfileString("Bad-Bar0", "PctWidth", "99999999999");
  app_.WriteProfileInt("Bad-Bar0", "MRUFloatCX", -40);
  app_.WriteProfileInt("Bad-Bar0", "MDIChild", 1);
  BYTE shortPlacement[10] = {44};
  app_.WriteProfileBinary("Bad-Bar0", "MDIChildWindowPlacement", shortPlacement, sizeof(shortPlacement));
  app_.WriteProfileInt("Bad-Bar1", "BarID", 24011);
  app_.WriteProfileString("Bad-Bar1", "PctWidth", "-5");
  // Bar2 is missing: loading stops there, whatever the count says.
  app_.WriteProfileInt("Bad-Bar3", "BarID", 24013);
  SECDockState state;
  state.LoadState("Bad");
  ASSERT_EQ(state.GetCount(), 2);
  EXPECT_FLOAT_EQ(state.GetInfo(0)->m_fPctWidth, 1.0f);
  EXPECT_FLOAT_EQ(state.GetInfo(1)->m_fPctWidth, 0.0f);
  EXPECT_EQ(state.GetInfo(0)->m_szFloat.cx, 0);
  EXPECT_FALSE(state.GetInfo(0)->m_bHasMDIPlacement);
  EXPECT_EQ(state.GetScreenSize(), CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));

  // Archives cut short or with impossible counts throw, and nothing of them is kept.
  struct Bad {
    const char* what;
    std::vector<BYTE> bytes;
  } archives[] = {
      {"cut short", {2, 0, 0, 0, 0, 4, 0, 0, 0, 3, 0, 0, 1, 0, 0x5A, 0x5E}},
      {"unknown version", {9, 0, 0, 0}},
      {"too many records", {1, 0, 0, 0, 0xFF, 0xFF}},
  };
  for (const Bad& bad : archives) {
    SECDockState read;
    read.m_arrBarInfo.Add(new SECControlBarInfo);
    CMemFile file(const_cast<BYTE*>(bad.bytes.data()), static_cast<UINT>(bad.bytes.size()));
    bool thrown = false;
    try {
      CArchive ar(&file, CArchive::load);
      read.Serialize(ar);
    } catch (CException* e) {
      e->Delete();
      thrown = true;
    }
    EXPECT_TRUE(thrown) << bad.what;
    EXPECT_EQ(read.GetCount(), 0) << bad.what;
  }
  // Applying an empty layout leaves the frame as it is.
  Layout l;
  const std::string before = R(l.f.InFrame(*l.a));
  SECDockState empty;
  empty.LoadState("Nothing");
  empty.SetFrameState(l.f.frame);
  l.f.Layout();
  EXPECT_EQ(R(l.f.InFrame(*l.a)), before);
}

// A hand-edited layout names one bar in two floating frames: the first mention takes it, the
// later one is ignored, and the frame left empty goes without its record being used again.
// Stored rectangles far off any screen are brought back before they are scaled.
TEST_F(DockStateTest, ABarNamedTwiceIsTakenOnceAndHugeRectanglesAreClamped) {
  {
    Layout l;
    l.Arrange();
    l.f.frame->FloatControlBar(l.c, ScreenPoint(l.f.frame->m_hWnd, POINT{400, 300}), CBRS_ALIGN_TOP);
    l.f.Layout();
    SECDockState state;
    ASSERT_TRUE(state.GetFrameState(l.f.frame));
    state.RemoveStalePlaceholders();
    state.SaveState("Twice");
  }
  const int bars = static_cast<int>(app_.GetProfileInt("Twice-Summary", "Bars", 0));
  int floatingLists = 0;
  for (int i = 0; i < bars; ++i) {
    CString section;
    section.Format("Twice-Bar%d", i);
    const int entries = static_cast<int>(app_.GetProfileInt(section, "Bars", 0));
    bool named = false;
    for (int j = 0; j < entries; ++j) {
      CString entry;
      entry.Format("Bar#%d", j);
      // c's floating row now names d: d is named in both floating frames.
      if (app_.GetProfileInt(section, entry, 0) == 24012) app_.WriteProfileInt(section, entry, 24013);
      named = named || app_.GetProfileInt(section, entry, 0) == 24013;
    }
    if (app_.GetProfileInt(section, "Floating", 0) != 0 && named) ++floatingLists;
    if (app_.GetProfileInt(section, "BarID", 0) == 24010) {
      app_.WriteProfileInt(section, "Docking", 1);
      app_.WriteProfileInt(section, "MRUDockLeftPos", -2000000000);
      app_.WriteProfileInt(section, "MRUDockRightPos", 2000000000);
      app_.WriteProfileInt(section, "MRUDockTopPos", 2000000000);
      app_.WriteProfileInt(section, "MRUDockBottomPos", -2000000000);
    }
  }
  ASSERT_EQ(floatingLists, 2);
  app_.WriteProfileInt("Twice-Summary", "ScreenCX", 3 * ::GetSystemMetrics(SM_CXSCREEN));

  Layout l;
  SECDockState state;
  state.LoadState("Twice");
  for (int i = 0; i < state.GetCount(); ++i) {
    const CRect& dock = state.GetInfo(i)->m_rectMRUDockPos;
    EXPECT_LE(std::abs(dock.left), ::GetSystemMetrics(SM_CXSCREEN)) << i;
    EXPECT_LE(dock.Width(), ::GetSystemMetrics(SM_CXSCREEN)) << i;
    EXPECT_LE(dock.Height(), ::GetSystemMetrics(SM_CYSCREEN)) << i;
  }
  state.SetFrameState(l.f.frame);
  l.f.Layout();
  RunUntilIdle();
  EXPECT_TRUE(l.d->IsFloating());
  // One floating frame is left, the one that holds d.
  int floatingFrames = 0;
  for (HWND h = ::GetWindow(::GetDesktopWindow(), GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
    if (dynamic_cast<SECMiniDockFrameWnd*>(CWnd::FromHandlePermanent(h)) && ::IsWindowVisible(h)) ++floatingFrames;
  EXPECT_EQ(floatingFrames, 1);
  EXPECT_TRUE(::IsWindowVisible(l.d->GetParentFrame()->m_hWnd));
  // A record keeps a bar only while its window lives (the empty floating frame went, and its
  // record with it).
  for (int i = 0; i < state.GetCount(); ++i)
    if (state.GetInfo(i)->m_pBar != nullptr) {
      EXPECT_TRUE(::IsWindow(state.GetInfo(i)->m_hWndBar)) << i;
    }
}

// Sizes saved on a larger screen come back scaled to this one in every form, as positions do;
// a size larger than the screen it was saved on is no bar's and is refused: the bar keeps its own.
TEST_F(DockStateTest, SizesAreFittedToTheScreenInEveryForm) {
  const SIZE screen{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  struct ScreenBack {
    SIZE size;
    ~ScreenBack() { brambolt::SetScreenSize(size.cx, size.cy); }
  } back{screen};
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Workspace", nullptr), 0u);
  CMemFile file;
  const struct {
    const char* form;
    std::function<void(SECDockState&)> save, load;
  } forms[] = {
      {"profile", [](SECDockState& s) { s.SaveState("Fit"); }, [](SECDockState& s) { s.LoadState("Fit"); }},
      {"tree", [&](SECDockState& s) { s.SaveState(nullptr, &root); }, [&](SECDockState& s) { s.LoadState(&root); }},
      {"archive",
       [&](SECDockState& s) {
         CArchive ar(&file, CArchive::store);
         s.Serialize(ar);
       },
       [&](SECDockState& s) {
         file.SeekToBegin();
         CArchive ar(&file, CArchive::load);
         s.Serialize(ar);
       }},
  };
  for (const auto& form : forms) {
    brambolt::SetScreenSize(2 * screen.cx, 2 * screen.cy);
    {
      Layout l;
      l.Arrange();
      l.c->m_szVertDock = CSize(300, 2 * screen.cy + 1);  // taller than that screen
      l.d->m_szFloat = CSize(INT_MAX, 90);
      SECDockState state;
      ASSERT_TRUE(state.GetFrameState(l.f.frame));
      form.save(state);
    }
    brambolt::SetScreenSize(screen.cx, screen.cy);
    Layout l;
    const CSize ownFloat = l.d->m_szFloat;
    SECDockState state;
    form.load(state);
    state.SetFrameState(l.f.frame);
    EXPECT_EQ(l.c->m_szVertDock.cx, 150) << form.form;
    EXPECT_GT(l.c->m_szVertDock.cy, 0) << form.form;
    EXPECT_LE(l.c->m_szVertDock.cy, screen.cy) << form.form << ": its own height, laid out";
    EXPECT_EQ(l.d->m_szFloat, CSize(ownFloat.cx, 45)) << form.form;
    EXPECT_EQ(l.b->m_szHorzDock.cy, 55) << form.form;
  }
}
