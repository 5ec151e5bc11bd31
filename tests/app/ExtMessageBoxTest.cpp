// The system's own message box: its layout for each button group, icon and check box, and its
// results through the real dialog (Escape only where cancelling is allowed, Enter on the default
// button, the check box's bit added, the platform's box for system-modal errors).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "app/ExtMessageBox.h"
#include "base/ByteOrder.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

// Seven pixels a character and thirteen a line, wrapped within the width given.
CSize FakeMeasure(const CString& text, int cxMax, bool bWrap) {
  const int cxText = text.GetLength() * 7;
  if (!bWrap || cxText <= cxMax) return CSize(cxText, 13);
  const int perLine = std::max(1, cxMax / 7);
  return CSize(perLine * 7, 13 * ((text.GetLength() + perLine - 1) / perLine));
}

std::vector<int> IdsOf(const extbox::Layout& layout) {
  std::vector<int> ids;
  for (const auto& button : layout.buttons) ids.push_back(button.nID);
  return ids;
}

TEST(ExtMessageBoxLayout, ButtonsDefaultAndSizesFollowTheStyle) {
  const extbox::Texts texts = extbox::LoadTexts(TRUE);
  struct Case {
    const char* name;
    DWORD style;
    std::vector<int> ids;
    int defaultId;
    BOOL cancel;
    CSize size;
  };
  // "Hello": 35 x 13 at (16, 16); the row 8 below it at y 37; the box 16 wider and taller than the row.
  const Case cases[] = {
      {"OK", MB_OK, {IDOK}, IDOK, FALSE, {114, 76}},
      {"OK, Cancel; second default", MB_OKCANCEL | MB_DEFBUTTON2, {IDOK, IDCANCEL}, IDCANCEL, TRUE, {202, 76}},
      {"Yes, No; fourth default falls back to the first", MB_YESNO | MB_DEFBUTTON4, {IDYES, IDNO}, IDYES, FALSE,
       {202, 76}},
      {"Yes, No, Cancel with both All buttons", MB_YESNOCANCEL | MB_EXT_YES_TO_ALL | MB_EXT_NO_TO_ALL,
       {IDYES, IDEXT_YES_TO_ALL, IDNO, IDEXT_NO_TO_ALL, IDCANCEL}, IDYES, TRUE, {466, 76}},
      {"All bits ignored without Yes and No", MB_OKCANCEL | MB_EXT_YES_TO_ALL, {IDOK, IDCANCEL}, IDOK, TRUE,
       {202, 76}},
      {"Abort, Retry, Ignore, Help; third default", MB_ABORTRETRYIGNORE | MB_HELP | MB_DEFBUTTON3,
       {IDABORT, IDRETRY, IDIGNORE, IDEXT_HELP}, IDIGNORE, FALSE, {378, 76}},
      {"Retry, Cancel", MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, IDRETRY, TRUE, {202, 76}},
      {"Continue, Abort", MB_EXT_CONTINUEABORT, {IDEXT_CONTINUE, IDABORT}, IDEXT_CONTINUE, FALSE, {202, 76}},
      {"An unknown group shows one OK", 0x7, {IDOK}, IDOK, FALSE, {114, 76}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const extbox::Layout layout = extbox::LayOut(c.style, "Hello", CSize(0, 0), 1024, texts, FakeMeasure);
    EXPECT_EQ(c.ids, IdsOf(layout));
    EXPECT_EQ(c.defaultId, layout.nDefaultID);
    EXPECT_EQ(c.cancel, layout.bCancelAllowed);
    EXPECT_EQ(c.size, layout.size);
    EXPECT_EQ(CRect(16, 16, 51, 29), layout.rcText);
    EXPECT_TRUE(layout.rcIcon.IsRectEmpty());
    // Buttons of 82 x 23 every 88 pixels, the row centred.
    const int rowWidth = 88 * static_cast<int>(layout.buttons.size()) - 6;
    for (size_t i = 0; i < layout.buttons.size(); ++i)
      EXPECT_EQ(CRect(CPoint((c.size.cx - rowWidth) / 2 + 88 * static_cast<int>(i), 37), CSize(82, 23)),
                layout.buttons[i].rect);
  }
}

TEST(ExtMessageBoxLayout, IconLongTextAndCheckBoxPlaceTheirParts) {
  const extbox::Texts texts = extbox::LoadTexts(TRUE);
  // An icon moves the text right and narrows it: (1024 / 2 + 100) - (16 + 32) = 564 pixels, 80 characters.
  const CString longText(std::string(200, 'x').c_str());
  const extbox::Layout withIcon =
      extbox::LayOut(MB_OK | MB_ICONQUESTION, longText, CSize(32, 32), 1024, texts, FakeMeasure);
  EXPECT_EQ(CRect(8, 8, 42, 42), withIcon.rcIcon);
  EXPECT_EQ(CRect(56, 16, 56 + 560, 16 + 39), withIcon.rcText);
  EXPECT_EQ(CSize(560 + 28 + 40, 16 + 39 + 8 + 23 + 16), withIcon.size);

  // A short text beside a tall icon: the row goes below the icon.
  const extbox::Layout shortText = extbox::LayOut(MB_OK | MB_ICONHAND, "Hi", CSize(32, 32), 1024, texts, FakeMeasure);
  EXPECT_EQ(50, shortText.buttons.front().rect.top);

  // "Don't ask me again" wins over "Don't tell me again"; 35 below the row's top, 16 high, the text
  // width and a third of it and 17 wide.
  const extbox::Layout ask = extbox::LayOut(MB_YESNO | MB_EXT_DONT_ASK_AGAIN | MB_EXT_DONT_TELL_AGAIN, "Hello",
                                            CSize(0, 0), 1024, texts, FakeMeasure);
  EXPECT_EQ(MB_EXT_DONT_ASK_AGAIN, ask.dwCheckFlag);
  EXPECT_EQ("Don't ask me again", std::string(ask.strCheck));
  EXPECT_EQ(CRect(CPoint(17, 37 + 35), CSize(126 + 42 + 17, 16)), ask.rcCheck);
  EXPECT_EQ(72 + 16 + 8, ask.size.cy);
  const extbox::Layout tell =
      extbox::LayOut(MB_OK | MB_EXT_DONT_TELL_AGAIN, "Hello", CSize(0, 0), 1024, texts, FakeMeasure);
  EXPECT_EQ(MB_EXT_DONT_TELL_AGAIN, tell.dwCheckFlag);
  EXPECT_EQ("Don't tell me again", std::string(tell.strCheck));
  EXPECT_GE(tell.size.cx, tell.rcCheck.right);
}

TEST(ExtMessageBoxTemplate, ItemsCarryTheirStylesAndTheTextIsCut) {
  UiSession session;
  CDialogTemplateExt box(std::string(1500, 'a').c_str(), MB_YESNOCANCEL | MB_DEFBUTTON2 | MB_ICONEXCLAMATION |
                                                             MB_SYSTEMMODAL | MB_EXT_DONT_TELL_AGAIN);
  EXPECT_EQ(static_cast<DWORD>(0x90C80882), box.GetDialogStyle());
  const auto& items = box.GetItems();
  ASSERT_EQ(6u, items.size());  // icon, text, three buttons, check box
  EXPECT_EQ(IDEXT_ICON, items[0].wID);
  EXPECT_EQ(IDEXT_TEXT, items[1].wID);
  EXPECT_EQ(1023, items[1].strText.GetLength());
  EXPECT_EQ(static_cast<DWORD>(0x50010000), items[2].dwStyle);
  EXPECT_EQ(static_cast<DWORD>(0x50010001), items[3].dwStyle) << "the second button is the default";
  EXPECT_EQ(IDNO, items[3].wID);
  EXPECT_EQ(static_cast<DWORD>(0x50010003), items[5].dwStyle);
  EXPECT_EQ(IDEXT_CHECK, items[5].wID);
  // Every item starts on a DWORD boundary of the template, after the header and the caption.
  const std::vector<BYTE> bytes = box.BuildTemplate("Inkwright");
  EXPECT_EQ(6, brambolt::ReadLE16(bytes, 8));
  const size_t header = 18 + 4 + 2 * (9 + 1);
  EXPECT_EQ(items[0].dwStyle, brambolt::ReadLE32(bytes, (header + 3) / 4 * 4));
}

// Runs a box and acts on it once it shows; what ExtMessageBox returned.
int RunBox(DWORD style, const std::function<void(HWND)>& act, const char* caption = "Inkwright") {
  apptest::Host host;
  ModalAnswers answers;
  answers.When(nullptr, caption, act);
  const int result = ExtMessageBox(host.m_hWnd, "Save the changes to the project?", caption, style | MB_EXT_NO_SOUND);
  EXPECT_TRUE(answers.Unanswered().empty());
  return result;
}

void ClickItem(HWND box, int id) {
  HWND item = ::GetDlgItem(box, id);
  ASSERT_NE(nullptr, item) << id;
  Click(item, {5, 5});
}

// A box with the check box that a key should have closed is answered with the box checked and
// OK, an answer the key would not have given.
void AnswerOtherwise(HWND box) {
  if (!::IsWindowVisible(box)) return;
  ClickItem(box, IDEXT_CHECK);
  ClickItem(box, IDOK);
}

TEST(ExtMessageBoxDialog, ResultsFollowTheButtonsKeysAndCheckBox) {
  UiSession session;
  struct Case {
    const char* name;
    DWORD style;
    std::function<void(HWND)> act;
    int expected;
  };
  const Case cases[] = {
      {"Escape in a Yes/No box does nothing; its Close is greyed, the default has the focus",
       MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION,
       [](HWND box) {
         EXPECT_EQ(::GetDlgItem(box, IDNO), ::GetFocus());
         EXPECT_NE(nullptr, ::GetDlgItem(box, IDEXT_ICON));
         EXPECT_NE(0u, ::GetMenuState(::GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
         PressKey(VK_ESCAPE);
         EXPECT_TRUE(::IsWindowVisible(box));
         ClickItem(box, IDNO);
       },
       IDNO},
      {"Escape in an OK/Cancel box cancels", MB_OKCANCEL, [](HWND) { PressKey(VK_ESCAPE); }, IDCANCEL},
      // A box whose only answer is OK gives it to Escape and to Alt+F4 (its Close is not greyed);
      // a Yes/No box ignores Alt+F4 as it ignores Escape.
      {"Escape in an OK box answers OK", MB_OK | MB_ICONINFORMATION | MB_EXT_DONT_TELL_AGAIN,
       [](HWND box) {
         EXPECT_EQ(0u, ::GetMenuState(::GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
         PressKey(VK_ESCAPE);
         AnswerOtherwise(box);
       },
       IDOK},
      {"Alt+F4 in an OK box answers OK", MB_OK | MB_EXT_DONT_TELL_AGAIN,
       [](HWND box) {
         PressKey(VK_F4, kAlt);
         AnswerOtherwise(box);
       },
       IDOK},
      {"Alt+F4 in a Yes/No box does nothing",
       MB_YESNO,
       [](HWND box) {
         PressKey(VK_F4, kAlt);
         EXPECT_TRUE(::IsWindowVisible(box));
         ClickItem(box, IDNO);
       },
       IDNO},
      {"Enter presses the default button", MB_OKCANCEL | MB_DEFBUTTON2, [](HWND) { PressKey(VK_RETURN); },
       IDCANCEL},
      {"A checked box adds its bit to Yes",
       MB_YESNO | MB_EXT_DONT_ASK_AGAIN,
       [](HWND box) {
         ClickItem(box, IDEXT_CHECK);
         ClickItem(box, IDYES);
       },
       static_cast<int>(MB_EXT_DONT_ASK_AGAIN) + IDYES},
      {"An unchecked box adds nothing", MB_OK | MB_EXT_DONT_TELL_AGAIN, [](HWND box) { ClickItem(box, IDOK); },
       IDOK},
      {"No to All among five buttons",
       MB_YESNOCANCEL | MB_EXT_YES_TO_ALL | MB_EXT_NO_TO_ALL,
       [](HWND box) {
         EXPECT_EQ("Yes to &All", apptest::DlgText(box, IDEXT_YES_TO_ALL));
         EXPECT_EQ("No to A&ll", apptest::DlgText(box, IDEXT_NO_TO_ALL));
         EXPECT_EQ("Save the changes to the project?", apptest::DlgText(box, IDEXT_TEXT));
         ClickItem(box, IDEXT_NO_TO_ALL);
       },
       IDEXT_NO_TO_ALL},
      {"Help keeps the box open",
       MB_EXT_CONTINUEABORT | MB_HELP,
       [](HWND box) {
         ClickItem(box, IDEXT_HELP);
         EXPECT_TRUE(::IsWindowVisible(box));
         ClickItem(box, IDEXT_CONTINUE);
       },
       IDEXT_CONTINUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, RunBox(c.style, c.act));
  }
}

TEST(ExtMessageBoxDialog, TheMessageFitsItsTextControlOnTheLinesItWasMeasuredFor) {
  UiSession session;
  for (const char* text : {"Save the changes to the project?", "Please enter your name before you click Send.",
                           "One or more project files have not been saved. Save them now?"}) {
    SCOPED_TRACE(text);
    apptest::Host host;
    ModalAnswers answers;
    answers.When(nullptr, "Inkwright", [text](HWND box) {
      HWND label = ::GetDlgItem(box, IDEXT_TEXT);
      CRect rect;
      ::GetClientRect(label, &rect);
      HDC dc = ::GetDC(label);
      HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessage(label, WM_GETFONT, 0, 0)));
      SIZE extent{};
      ::GetTextExtentPoint32(dc, text, static_cast<int>(std::strlen(text)), &extent);
      ::SelectObject(dc, old);
      ::ReleaseDC(label, dc);
      EXPECT_LE(extent.cx, rect.Width()) << "one line, as measured";
      ClickItem(box, IDOK);
    });
    ExtMessageBox(host.m_hWnd, text, "Inkwright", MB_OK | MB_EXT_NO_SOUND);
  }
}

TEST(ExtMessageBoxDialog, SystemModalErrorsUseThePlatformsBoxAndAnEmptyCaptionTheTitle) {
  UiSession session;
  EXPECT_EQ(IDOK, RunBox(MB_ICONHAND | MB_SYSTEMMODAL, [](HWND box) {
              EXPECT_EQ(nullptr, ::GetDlgItem(box, IDEXT_TEXT)) << "not the system's own box";
              ::SendMessage(box, WM_COMMAND, IDOK, 0);
            }));
  CString title;
  if (!title.LoadString(AFX_IDS_APP_TITLE)) title = "Error";
  apptest::Host host;
  ModalAnswers answers;
  answers.When(nullptr, title, [](HWND box) { ClickItem(box, IDOK); });
  EXPECT_EQ(IDOK, ExtMessageBox(host.m_hWnd, "Done.", "", MB_OK | MB_EXT_NO_SOUND));
  EXPECT_TRUE(answers.Unanswered().empty());
}

}  // namespace
