// The colour picker and its popup: the keyboard map, the chosen index, placement on the screen,
// the notifications of a choice made with the mouse, the keys or the colour dialog, and drawing.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/CColourPicker.h"
#include "controls/ColorDialog.h"
#include "controls/controls.h"

namespace {

using brambolt::test::ModalAnswers;
constexpr int D = CColourPopup::DEFAULT_BOX_VALUE;
constexpr int C = CColourPopup::CUSTOM_BOX_VALUE;

TEST(ColourPopup, ArrowKeysMoveThroughTheDefaultBoxTheGridAndTheCustomBox) {
  struct Case {
    int from;
    UINT key;
    BOOL withDefault, withCustom;
    int to;
  } cases[] = {
      {D, VK_DOWN, TRUE, TRUE, 0},    {3, VK_DOWN, TRUE, TRUE, 11},  {35, VK_DOWN, TRUE, TRUE, C},
      {35, VK_DOWN, TRUE, FALSE, D},  {35, VK_DOWN, FALSE, FALSE, 0}, {C, VK_DOWN, TRUE, TRUE, D},
      {C, VK_DOWN, FALSE, TRUE, 0},   {11, VK_UP, TRUE, TRUE, 3},    {3, VK_UP, TRUE, TRUE, D},
      {3, VK_UP, FALSE, TRUE, C},     {3, VK_UP, FALSE, FALSE, 39},  {D, VK_UP, TRUE, TRUE, C},
      {D, VK_UP, TRUE, FALSE, 39},    {C, VK_UP, TRUE, TRUE, 39},    {D, VK_RIGHT, TRUE, TRUE, 0},
      {7, VK_RIGHT, TRUE, TRUE, 8},   {39, VK_RIGHT, TRUE, TRUE, C}, {39, VK_RIGHT, TRUE, FALSE, D},
      {39, VK_RIGHT, FALSE, FALSE, 0}, {C, VK_RIGHT, TRUE, TRUE, D}, {8, VK_LEFT, TRUE, TRUE, 7},
      {0, VK_LEFT, TRUE, TRUE, D},    {0, VK_LEFT, FALSE, TRUE, C},  {0, VK_LEFT, FALSE, FALSE, 39},
      {D, VK_LEFT, TRUE, TRUE, C},    {C, VK_LEFT, TRUE, TRUE, 39},  {5, VK_HOME, TRUE, TRUE, 5},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CColourPopup::NextIndex(c.from, c.key, c.withDefault, c.withCustom), c.to)
        << c.from << " key " << c.key << " boxes " << c.withDefault << c.withCustom;
}

TEST(ColourPopup, TheChosenIndexIsTheTableCellTheDefaultBoxOrTheCustomBox) {
  EXPECT_EQ(CColourPopup::FindChosenIndex(RGB(255, 104, 32), TRUE, TRUE), 9);
  EXPECT_EQ(CColourPopup::FindChosenIndex(CLR_DEFAULT, TRUE, TRUE), D);
  EXPECT_EQ(CColourPopup::FindChosenIndex(CLR_DEFAULT, FALSE, TRUE), C);
  EXPECT_EQ(CColourPopup::FindChosenIndex(RGB(1, 2, 3), TRUE, TRUE), C);
  EXPECT_EQ(CColourPopup::FindChosenIndex(RGB(1, 2, 3), TRUE, FALSE), CColourPopup::INVALID_COLOUR);
  EXPECT_STREQ(CColourPopup::GetColourName(35), "Pale green ");
  EXPECT_EQ(CColourPopup::GetColour(39), RGB(255, 255, 255));
}

TEST(ColourPopup, ThePopupStaysOnTheScreenAndOpensAboveAButtonNearTheBottom) {
  const CRect screen(0, 0, 800, 600);
  EXPECT_EQ(CColourPopup::PlaceWindow({100, 100}, {150, 200}, screen, 20), CRect(100, 100, 250, 300));
  EXPECT_EQ(CColourPopup::PlaceWindow({700, 100}, {150, 200}, screen, 20), CRect(650, 100, 800, 300));
  EXPECT_EQ(CColourPopup::PlaceWindow({-30, 100}, {150, 200}, screen, 20), CRect(0, 100, 150, 300));
  EXPECT_EQ(CColourPopup::PlaceWindow({100, 500}, {150, 200}, screen, 20), CRect(100, 280, 250, 480));
}

// A dialog-like window that records the picker's notifications.
class PickerHost : public apptest::Host {
 public:
  struct Note {
    UINT message;
    COLORREF colour;
    LPARAM id;
    bool operator==(const Note&) const = default;
  };
  std::vector<Note> notes;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message >= CPN_SELCHANGE && message <= CPN_SELENDCANCEL)
      notes.push_back({message, static_cast<COLORREF>(wParam), lParam});
    return apptest::Host::WindowProc(message, wParam, lParam);
  }
};

struct PickerSession {
  brambolt::test::UiSession session;
  PickerHost host;
  CColourPicker picker;
  HWND hPicker = nullptr;
  explicit PickerSession(COLORREF colour, int y = 20) {
    InitCommonControls();
    host.MoveWindow(0, y, 300, 300);
    hPicker = ::CreateWindowEx(0, "Button", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 100, 20, host.m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(77)), nullptr, nullptr);
    picker.SubclassWindow(hPicker);
    picker.SetColour(colour);
    brambolt::test::RunUntilIdle();
  }
  // Opens the popup with a click (a while after the last, so it is no double-click) and returns it.
  CColourPopup* Open() {
    brambolt::test::AdvanceClock(1000);
    brambolt::test::Click(hPicker, {5, 5});
    return dynamic_cast<CColourPopup*>(CWnd::FromHandlePermanent(::GetCapture()));
  }
  static POINT Centre(CColourPopup* popup, int index) { return popup->GetCellRect(index).CenterPoint(); }
};

using Note = PickerHost::Note;

TEST(ColourPicker, AClickOnACellChoosesItsColourAndTellsTheParentInOrder) {
  const COLORREF start = RGB(0, 0, 255);
  PickerSession s(start);
  CColourPopup* popup = s.Open();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(s.picker.IsPopupActive());
  EXPECT_EQ(popup->GetChosenIndex(), 13);
  HWND hPopup = popup->m_hWnd;
  const POINT orange = PickerSession::Centre(popup, 9);
  brambolt::test::MoveMouse(hPopup, orange);
  // Hovering without tracking leaves the button as it was.
  EXPECT_EQ(s.picker.GetColour(), start);
  brambolt::test::Click(hPopup, orange);
  EXPECT_FALSE(::IsWindow(hPopup));
  EXPECT_FALSE(s.picker.IsPopupActive());
  const COLORREF chosen = RGB(255, 104, 32);
  EXPECT_EQ(s.picker.GetColour(), chosen);
  EXPECT_EQ(s.host.notes, (std::vector<Note>{{CPN_DROPDOWN, start, 77},
                                             {CPN_SELCHANGE, chosen, 77},
                                             {CPN_CLOSEUP, chosen, 77},
                                             {CPN_SELENDOK, chosen, 77},
                                             {CPN_SELCHANGE, chosen, 77}}));
  // The same colour again: no change is reported at the end.
  s.host.notes.clear();
  popup = s.Open();
  ASSERT_NE(popup, nullptr);
  brambolt::test::Click(popup->m_hWnd, PickerSession::Centre(popup, 9));
  EXPECT_EQ(s.host.notes.back(), (Note{CPN_SELENDOK, chosen, 77}));
}

TEST(ColourPicker, TrackingShowsTheHotColourAndEscapeOrAClickOutsideRestoresTheStart) {
  const COLORREF start = RGB(0, 0, 0);
  PickerSession s(start);
  s.picker.SetTrackSelection(TRUE);
  CColourPopup* popup = s.Open();
  ASSERT_NE(popup, nullptr);
  brambolt::test::PressKey(VK_RIGHT);
  brambolt::test::PressKey(VK_DOWN);
  EXPECT_EQ(popup->GetCurrentIndex(), 9);
  EXPECT_EQ(s.picker.GetColour(), RGB(255, 104, 32));
  brambolt::test::PressKey(VK_ESCAPE);
  EXPECT_EQ(s.picker.GetColour(), start);
  ASSERT_GE(s.host.notes.size(), 2u);
  EXPECT_EQ(std::vector<Note>(s.host.notes.end() - 2, s.host.notes.end()),
            (std::vector<Note>{{CPN_CLOSEUP, start, 77}, {CPN_SELENDCANCEL, start, 77}}));
  s.host.notes.clear();
  popup = s.Open();
  ASSERT_NE(popup, nullptr);
  brambolt::test::MoveMouse(popup->m_hWnd, PickerSession::Centre(popup, 20));
  brambolt::test::ClickAt({299, 299});
  EXPECT_EQ(s.picker.GetColour(), start);
  EXPECT_EQ(s.host.notes.back(), (Note{CPN_SELENDCANCEL, start, 77}));
}

TEST(ColourPicker, MoreColoursOpensTheColourDialogWhoseCancelCancelsTheChoice) {
  const COLORREF start = RGB(1, 2, 3);
  for (bool accept : {false, true}) {
    PickerSession s(start);
    ModalAnswers answers;
    answers.When(nullptr, "Color", [&](HWND window) {
      if (accept) ::SetDlgItemText(window, COLOR_RED, "200");
      ::SendMessage(window, WM_COMMAND, MAKEWPARAM(accept ? IDOK : IDCANCEL, BN_CLICKED), 0);
    });
    CColourPopup* popup = s.Open();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetChosenIndex(), C);
    brambolt::test::PressKey(VK_RETURN);
    const COLORREF expected = accept ? RGB(200, 2, 3) : start;
    EXPECT_EQ(s.picker.GetColour(), expected);
    EXPECT_EQ(s.host.notes.back(), (Note{static_cast<UINT>(accept ? CPN_SELCHANGE : CPN_SELENDCANCEL), expected, 77}));
    EXPECT_EQ(::GetCapture(), nullptr);
  }
}

TEST(ColourPicker, TheButtonShowsItsColourAndThePopupItsCellsAboveAButtonNearTheBottom) {
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  PickerSession s(RGB(0, 147, 0), screenHeight - 60);
  const CRect arrow = s.picker.GetArrowRect();
  CRect client;
  s.picker.GetClientRect(&client);
  EXPECT_EQ(client.Height(), arrow.Height() + 2 * ::GetSystemMetrics(SM_CYEDGE));
  EXPECT_EQ(arrow.right, client.right - ::GetSystemMetrics(SM_CXEDGE));
  EXPECT_EQ(brambolt::test::WindowPixel(s.hPicker, arrow.left / 2, client.Height() / 2), RGB(0, 147, 0));
  CColourPopup* popup = s.Open();
  ASSERT_NE(popup, nullptr);
  CRect popupRect, buttonRect;
  popup->GetWindowRect(&popupRect);
  s.picker.GetWindowRect(&buttonRect);
  EXPECT_LE(popupRect.bottom, buttonRect.top);
  brambolt::test::RunUntilIdle();
  const CPoint teal = PickerSession::Centre(popup, 12);
  EXPECT_EQ(brambolt::test::WindowPixel(popup->m_hWnd, teal.x, teal.y), RGB(56, 142, 142));
  brambolt::test::PressKey(VK_ESCAPE);
}

}  // namespace
