// A person's desk for the end-to-end scenarios: a private home (registry, profile, a Windows
// directory with the DocSys files), the headless screen, and the application object started and
// ended in-process as the program does, driven only by keys, clicks and typing.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "app/CInkwrightApp.h"
#include "app/CMainFrame.h"
#include "testing/testing.h"
#include "win/ModalLoop.h"

namespace e2e {

namespace fs = std::filesystem;

// The fixture folders of the scenarios (Atelier, Sketch).
std::string Fixture(const std::string& name);

std::string ReadFile(const fs::path& path);
// The files under a folder, as paths relative to it, sorted.
std::vector<std::string> ListFiles(const fs::path& folder);

// A dialog as a person sees it: its caption and the texts of its controls.
struct SeenDialog {
  std::string caption;
  std::vector<std::string> texts;
  std::string className;
  std::string Text() const;  // the texts joined with '|'
};

// Answers to the tip of the day once the splash is gone: closed with Enter; or its "Show Tips at
// Startup." clicked off, then OK.
void CloseTip(HWND tip);
void TurnTipOff(HWND tip);

class Desk {
 public:
  Desk();
  ~Desk();
  Desk(const Desk&) = delete;
  Desk& operator=(const Desk&) = delete;

  // The program starting: the application object made and its start-up run. The tip of the day
  // is expected and answered by `tip` (closed by default); a null `tip` expects none. Other
  // dialogs of the start-up are answered by what Expect queued before.
  bool Start(const std::function<void(HWND)>& tip = CloseTip);
  // The program ending: the main window closed as the user closes it, then the exit.
  void Quit();
  CInkwrightApp& App() { return *app_; }
  HWND MainWindow() const;
  // Whether the main window is the application's own main frame (the workbook frame with its
  // explorer, status bar and title) rather than the plain workbook that stands in until it comes.
  bool HasMainFrame() const;
  // The application's main frame; null while the plain workbook stands in for it.
  CMainFrame* MainFrame() { return dynamic_cast<CMainFrame*>(app_ != nullptr ? app_->m_pMainWnd : nullptr); }
  std::string MainTitle() const;

  // What a person sees next: a modal window with this caption, answered by `act` inside its
  // loop. Expected windows are met in order; any other modal window is recorded as unexpected
  // and cancelled so the scenario fails instead of waiting for ever.
  void Expect(const std::string& caption, std::function<void(HWND)> act);
  // A modal window that ends by itself (a progress dialog), left to run.
  void ExpectRunning(const std::string& caption);
  // Every modal window from now on is answered by `answer` alone (expectations no longer apply).
  void AnswerModals(std::function<void(HWND)> answer);
  size_t Pending() const { return expected_.size(); }
  // The message boxes shown so far ("Inkwright" and the framework's), answered with the button
  // whose text is queued by Answer (its '&' left out), else with the default button.
  void Answer(const std::string& button) { answers_.push_back(button); }
  const std::vector<SeenDialog>& Boxes() const { return boxes_; }
  const std::vector<SeenDialog>& Unexpected() const { return unexpected_; }
  // Everything seen so far, for a failure message.
  std::string Report() const;

  // The message loop runs until nothing is left, messages passing the application's
  // PreTranslateMessage as in its own loop (accelerators, dialog keys), then its idle update.
  void Pump();
  // Pumps while other threads work, until `done` holds; false after three minutes of real time.
  bool PumpUntil(const std::function<bool()>& done);
  // Picks the item of a drop-down list whose text starts with `text`: the list clicked open, the
  // arrow keys, Enter. False when no item matches.
  bool Pick(HWND hDlg, int nId, const std::string& text);
  void Press(UINT vk, UINT mods = brambolt::test::kNone);
  // A menu command by keyboard: Alt with the menu's letter, then the item's letters in the menu.
  void Menu(char menu, const std::string& items);
  // The same with keys: lower-case letters typed, anything else pressed (VK_RIGHT into a pop-up).
  void MenuKeys(char menu, const std::vector<UINT>& keys);
  // The next menu to track (a context menu a click opens) is answered with these keys.
  void ExpectMenu(const std::vector<UINT>& keys);
  void Type(const std::string& text);

  // A new folder under the temporary folder.
  std::string Folder(const std::string& name) const;
  const std::string& Root() const { return stores_.Root(); }
  // Where the program's pictures for people go (build/gallery), made on first use.
  static std::string Gallery();
  void Snapshot(HWND hwnd, const std::string& name) const;

 private:
  void OnModal(HWND window);

  brambolt::test::PrivateStores stores_;
  std::string windows_;
  std::string savedHome_;
  brambolt::test::UiSession session_;
  std::unique_ptr<brambolt::test::ModalAnswers> modal_;
  std::unique_ptr<brambolt::ScopedLoopFilter> filter_;
  std::unique_ptr<CInkwrightApp> app_;
  std::deque<std::pair<std::string, std::function<void(HWND)>>> expected_;
  std::deque<std::string> expectedClass_;  // "" for any window class
  std::deque<bool> expectedRunning_;       // left open after its action
  std::deque<std::string> answers_;
  std::vector<SeenDialog> boxes_;
  std::vector<SeenDialog> unexpected_;
};

// ---- a person's hands on a dialog ----

// The visible control with that id among the window's descendants (pages of a wizard included).
HWND Item(HWND root, int nId);
// Clicks the centre of a dialog's control (a button, a check box, an edit).
void ClickItem(HWND hDlg, int nId);
// Clicks the button whose text (without '&') is `text`, among the window's descendants.
bool ClickButton(HWND hWnd, const std::string& text);
// Clicks into an edit, selects its text with the keyboard and types over it.
void TypeInto(HWND hDlg, int nId, const std::string& text);
std::string ItemText(HWND hDlg, int nId);
SeenDialog See(HWND window);
// The first window of this thread, visible or not, whose caption is `caption`.
HWND FindTopWindow(const std::string& caption);

}  // namespace e2e
