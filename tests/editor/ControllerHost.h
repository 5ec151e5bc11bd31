// An editor control window on a headless top-level window, with a C-like language whose
// whitespace options a test can switch, the key map applied as the application's loop applies
// it, and helpers to set and read the text.
#pragma once

#include <string>

#include "afx/afx.h"
#include "editor/model/SECEdit.h"
#include "editor/view/SECEditCtrl.h"
#include "testing/testing.h"
#include "tests/editor/TestLanguage.h"
#include "win/ModalLoop.h"

namespace editortest {

class SwitchableLanguage : public TestLanguage {
 public:
  explicit SwitchableLanguage(const char* name) : TestLanguage(name) {}
  BOOL GetShowWhitespace() override { return showWhitespace; }
  BOOL GetVirtualWhitespace() override { return virtualWhitespace; }
  void SetShowWhitespace(BOOL on) override { showWhitespace = on; }
  void SetVirtualWhitespace(BOOL on) override { virtualWhitespace = on; }
  BOOL showWhitespace = FALSE;
  BOOL virtualWhitespace = FALSE;
};

class ControllerHost {
 public:
  explicit ControllerHost(int width = 400, int height = 320)
      : lang("C"), def("Default"), scope({&lang, &def}), parent(width + 40, height + 40),
        filter([this](MSG& msg) { return ctl.PreTranslateMessage(&msg); }) {
    MakeC(lang);
    // Distinct colours: text black on white, selection white on navy.
    SECEditColorInfo* text = lang.GetColorInfo(0);
    text->m_clrFore = RGB(0, 0, 0);
    text->m_clrBack = RGB(255, 255, 255);
    text->m_bForeAuto = text->m_bBackAuto = FALSE;
    SECEditColorInfo* selection = lang.GetColorInfo(1);
    selection->m_clrFore = RGB(255, 255, 255);
    selection->m_clrBack = RGB(0, 0, 128);
    selection->m_bForeAuto = selection->m_bBackAuto = FALSE;
    model.ResetWithLanguage("C");
    ctl.SetEditModel(&model);
    ctl.Create(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_IBEAM)), "", WS_CHILD | WS_VISIBLE,
               CRect(0, 0, width, height), CWnd::FromHandle(parent.Hwnd()), 100);
    ctl.SetFocus();
    brambolt::test::RunUntilIdle();
  }

  SECEditController& Ctl() { return *ctl.GetController(); }
  HWND Hwnd() { return ctl.GetSafeHwnd(); }
  int LineHeight() { return model.GetFontInfo()->m_nLineHeight; }
  int CharWidth() { return model.GetFontInfo()->m_nFontWidth; }
  int Gutter() { return Ctl().GetGutterWidth(); }

  // Replaces the text; the history starts empty and the caret at (0, 0).
  void SetText(const std::string& text) {
    model.NewDocument();
    if (!text.empty()) model.InsertTextAt(0, 0, text.c_str(), -1);
    model.ClearUndoHistory();
    model.SetModified(FALSE);
    Ctl().ResetState();
    Ctl().GetViewport()->SetLogOrigin(0, 0);
    brambolt::test::RunUntilIdle();
  }
  std::string Text() {
    CString out;
    const SECEditLineCol end = model.GetEndPosition();
    model.GetText(&out, 0, 0, end.m_nLine, end.m_nCol);
    return std::string(out, static_cast<size_t>(out.GetLength()));
  }
  SECEditLineCol Caret() { return Ctl().GetCaretPosition(); }
  void Put(int line, int col) {
    Ctl().ClearSelection(TRUE);
    Ctl().SetCaretPos(line, col, FALSE);
  }
  void Key(UINT vk, UINT mods = brambolt::test::kNone) { brambolt::test::PressKey(vk, mods); }
  void Type(const std::string& text) { brambolt::test::TypeText(text); }
  // The client point of a text position.
  POINT PointOf(int line, int col) {
    CPoint pt;
    Ctl().PositionToPoint(pt, SECEditLineCol(line, col));
    Ctl().GetViewport()->LPtoDP(static_cast<POINT*>(&pt), 1);
    return POINT{pt.x, pt.y + LineHeight() / 2};
  }

  brambolt::test::UiSession session;
  CWinApp app{"Editor Controller Test"};
  SwitchableLanguage lang;
  SwitchableLanguage def;
  LanguageScope scope;
  brambolt::test::NotificationRecorder parent;
  SECEdit model;
  SECEditCtrl ctl;
  brambolt::ScopedLoopFilter filter;
};

}  // namespace editortest
