// The file dialogs: an application's old-style template with a hook that turns it into a folder
// picker, filters and the file list, the default extension and the overwrite question, the
// multi-selection format and the errors a caller can get.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <vector>

#include "CommonDialogTestSupport.h"
#include "os/os.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

class FileDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::weakly_canonical(stores_.TempDir()).string() + "/work";
    std::filesystem::create_directories(root_ + "/docs/old");
    for (const char* f : {"/a.txt", "/b.txt", "/c.doc", "/docs/d.txt"}) std::ofstream(root_ + f) << "x";
    ofn_.lStructSize = sizeof(ofn_);
    ofn_.hwndOwner = owner_.Hwnd();
    ofn_.lpstrFile = buffer_;
    ofn_.nMaxFile = sizeof(buffer_);
    ofn_.lpstrInitialDir = root_.c_str();
  }
  static void DoubleClickLine(HWND dialog, int id, int index) {
    HWND list = GetDlgItem(dialog, id);
    RECT r;
    SendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    DoubleClick(list, POINT{r.left + 20, (r.top + r.bottom) / 2});
  }

  UiSession session_;
  PrivateStores stores_;
  NotificationRecorder owner_;
  ModalAnswers answers_;
  std::string root_;
  char buffer_[260] = {};
  OPENFILENAME ofn_{};
};

// What an application's init hook does to make the old-style dialog pick folders.
UINT_PTR CALLBACK FolderHook(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
  if (msg != WM_INITDIALOG) return 0;
  EXPECT_EQ(reinterpret_cast<OPENFILENAME*>(lParam)->lCustData, 42);
  for (int id : {1090, 1152, 1120, 1089, 1136}) ShowWindow(GetDlgItem(hwnd, id), SW_HIDE);
  SetDlgItemText(hwnd, 1152, "noclose");
  SetFocus(GetDlgItem(hwnd, 1121));
  return 0;
}

TEST_F(FileDialogs, AnOldStyleTemplateWithAHookPicksAFolder) {
  ofn_.hInstance = nullptr;
  ofn_.lpstrFilter = "(nofiles)\0NOFILES.$$$\0\0";
  ofn_.lpstrTitle = "Select Directory";
  ofn_.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
  ofn_.lpTemplateName = MAKEINTRESOURCE(2000);
  ofn_.lpfnHook = FolderHook;
  ofn_.lCustData = 42;
  answers_.When(nullptr, "Select Directory", [&](HWND dialog) {
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 1152)));
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 1121));
    EXPECT_EQ(Text(GetDlgItem(dialog, 1088)), root_);
    std::vector<std::string> folders = ListLines(dialog, 1121);
    ASSERT_GE(folders.size(), 2u);
    EXPECT_EQ(folders.front(), "/");
    EXPECT_EQ(folders.back().substr(folders.back().find_first_not_of(' ')), "docs");
    // The "drives" are the root and the home folder.
    HWND drives = GetDlgItem(dialog, 1137);
    char drive[MAX_PATH] = {};
    SendMessage(drives, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(drive));
    EXPECT_STREQ(drive, "/");
    EXPECT_GE(SendMessage(drives, CB_GETCOUNT, 0, 0), 1);
    DoubleClickLine(dialog, 1121, static_cast<int>(folders.size()) - 1);  // into docs
    EXPECT_EQ(Text(GetDlgItem(dialog, 1088)), root_ + "/docs");
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(GetSaveFileName(&ofn_));
  std::string result = buffer_;
  EXPECT_EQ(result, root_ + "/docs/noclose");
  EXPECT_EQ(result.substr(0, ofn_.nFileOffset), root_ + "/docs/");
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(FileDialogs, TheFilterChoosesTheFilesListedAndADoubleClickOpensOne) {
  ofn_.lpstrFilter = "Text (*.txt)\0*.txt\0Documents\0*.doc;*.txt\0\0";
  ofn_.nFilterIndex = 1;
  ofn_.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  answers_.When(nullptr, "Open", [&](HWND dialog) {
    EXPECT_EQ(ListLines(dialog, 1120), (std::vector<std::string>{"a.txt", "b.txt"}));
    SendDlgItemMessage(dialog, 1136, CB_SETCURSEL, 1, 0);
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1136)));
    EXPECT_EQ(ListLines(dialog, 1120), (std::vector<std::string>{"a.txt", "b.txt", "c.doc"}));
    DoubleClickLine(dialog, 1120, 2);
  });
  ASSERT_TRUE(GetOpenFileName(&ofn_));
  EXPECT_EQ(std::string(buffer_), root_ + "/c.doc");
  EXPECT_EQ(std::string(buffer_ + ofn_.nFileOffset), "c.doc");
  EXPECT_EQ(std::string(buffer_ + ofn_.nFileExtension), "doc");
  EXPECT_EQ(ofn_.nFilterIndex, 2u);
}

TEST_F(FileDialogs, TheFileNameHasTheFocusSoANameTypedAtOnceOpensIt) {
  ofn_.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  answers_.When(nullptr, "Open", [&](HWND dialog) {
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 1152));
    TypeText("b.txt");
    PressKey(VK_RETURN);
  });
  ASSERT_TRUE(GetOpenFileName(&ofn_));
  EXPECT_EQ(std::string(buffer_), root_ + "/b.txt");
}

TEST_F(FileDialogs, SavingAddsTheDefaultExtensionAndAsksBeforeReplacing) {
  ofn_.lpstrDefExt = "txt";
  ofn_.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  int asked = 0;
  answers_.When(nullptr, "Save As", [&](HWND dialog) {
    SetDlgItemText(dialog, 1152, "a");  // a.txt exists
    answers_.When(nullptr, "Save As", [&](HWND box) {
      ++asked;
      PostMessage(box, WM_COMMAND, IDNO, 0);
    });
    PressButton(dialog, IDOK);
    EXPECT_TRUE(IsWindowVisible(dialog));
    SetDlgItemText(dialog, 1152, "docs");  // a folder is entered, not chosen
    PressButton(dialog, IDOK);
    EXPECT_EQ(Text(GetDlgItem(dialog, 1088)), root_ + "/docs");
    SetDlgItemText(dialog, 1152, "new");
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(GetSaveFileName(&ofn_));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(std::string(buffer_), root_ + "/docs/new.txt");
}

// A name typed in a folder that does not exist: with OFN_PATHMUSTEXIST the dialog says so and
// stays open; without it the path comes back as typed (the caller's write then fails and names
// it). Neither moves the name into the folder the dialog shows.
TEST_F(FileDialogs, ANameInAMissingFolderIsRefusedOrComesBackAsTyped) {
  for (const DWORD flags : {static_cast<DWORD>(OFN_PATHMUSTEXIST), DWORD{0}}) {
    ofn_.Flags = flags | OFN_HIDEREADONLY;
    buffer_[0] = '\0';
    std::string told;
    answers_.When(nullptr, "Save As", [&](HWND dialog) {
      if (flags != 0)
        answers_.When(nullptr, "Save As", [&](HWND box) {
          told = Text(GetDlgItem(box, 0xFFFF));
          PostMessage(box, WM_COMMAND, IDOK, 0);
        });
      TypeText("nowhere/new.txt");
      PressKey(VK_RETURN);
      RunUntilIdle();
      if (IsWindowVisible(dialog)) PressKey(VK_ESCAPE);
    });
    const BOOL chosen = GetSaveFileName(&ofn_);
    EXPECT_EQ(chosen, flags == 0) << flags;
    EXPECT_EQ(told, flags == 0 ? "" : "nowhere/new.txt\nPath does not exist.\nCheck the path and try again.");
    if (flags == 0) {
      EXPECT_EQ(std::string(buffer_), root_ + "/nowhere/new.txt");
    }
    EXPECT_FALSE(std::filesystem::exists(root_ + "/new.txt"));
  }
}

TEST_F(FileDialogs, SeveralFilesComeBackAsTheFolderAndTheirNames) {
  for (DWORD explorer : {0u, static_cast<DWORD>(OFN_EXPLORER)}) {
    ofn_.Flags = OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | explorer;
    answers_.When(nullptr, "Open", [&](HWND dialog) {
      HWND files = GetDlgItem(dialog, 1120);
      SendMessage(files, LB_SETSEL, TRUE, 0);
      SendMessage(files, LB_SETSEL, TRUE, 2);
      PostMessage(dialog, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(GetOpenFileName(&ofn_));
    char separator = explorer ? '\0' : ' ';
    std::string expected = root_ + separator + "a.txt" + separator + "c.doc";
    EXPECT_EQ(std::string(buffer_, expected.size()), expected);
    EXPECT_EQ(ofn_.nFileOffset, root_.size() + 1);
  }
}

TEST_F(FileDialogs, FailuresAreReportedThroughTheExtendedError) {
  ofn_.Flags = OFN_ENABLETEMPLATE;
  ofn_.lpTemplateName = MAKEINTRESOURCE(9999);
  EXPECT_FALSE(GetOpenFileName(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_FINDRESFAILURE));
  ofn_.Flags = OFN_ENABLEHOOK;
  EXPECT_FALSE(GetOpenFileName(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_NOHOOK));
  ofn_.lStructSize = 12;
  EXPECT_FALSE(GetOpenFileName(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
  ofn_.lStructSize = sizeof(ofn_);
  ofn_.Flags = 0;
  answers_.When(nullptr, "Open", [&](HWND dialog) { PostMessage(dialog, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_FALSE(GetOpenFileName(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), 0u);  // cancelling is no error
}

TEST_F(FileDialogs, ScreenshotShowsTheClassicLayout) {
  ofn_.lpstrFilter = "All files\0*.*\0\0";
  answers_.When(nullptr, "Open", [&](HWND dialog) {
    RunUntilIdle();
    std::string png = (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() /
                       "file-dialog.png").string();
    EXPECT_TRUE(SaveWindowPng(dialog, png));
    RECT name = RectInParent(GetDlgItem(dialog, 1152)), files = RectInParent(GetDlgItem(dialog, 1120));
    RECT folders = RectInParent(GetDlgItem(dialog, 1121)), ok = RectInParent(GetDlgItem(dialog, IDOK));
    EXPECT_EQ(name.left, files.left);
    EXPECT_LT(name.bottom, files.top);
    EXPECT_EQ(files.top, folders.top);
    EXPECT_LT(files.right, folders.left);
    EXPECT_LT(folders.right, ok.left);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    RECT window;
    GetWindowRect(dialog, &window);
    int dx = origin.x - window.left, dy = origin.y - window.top;
    // The lists are white inside their borders; the dialog face around them.
    EXPECT_EQ(WindowPixel(dialog, dx + files.right - 4, dy + files.bottom - 3), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(WindowPixel(dialog, dx + files.right + 2, dy + files.top + 5), GetSysColor(COLOR_3DFACE));
    // No empty band below the lowest control: the dialog ends a margin under the drives box.
    RECT client, drives = RectInParent(GetDlgItem(dialog, 1137));
    GetClientRect(dialog, &client);
    EXPECT_LE(client.bottom - drives.bottom, 16);
    PostMessage(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(GetOpenFileName(&ofn_));
}

TEST_F(FileDialogs, TheLookInBoxShowsTheWayToTheFolderAndGoesUpIt) {
  ofn_.Flags = OFN_EXPLORER;
  ofn_.lpstrFilter = "All files\0*.*\0\0";
  std::string docs = root_ + "/docs";
  ofn_.lpstrInitialDir = docs.c_str();
  answers_.When(nullptr, "Open", [&](HWND dialog) {
    RunUntilIdle();
    std::string png = (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() /
                       "file-dialog-explorer.png").string();
    EXPECT_TRUE(SaveWindowPng(dialog, png));
    HWND lookIn = GetDlgItem(dialog, 1137);
    auto line = [&](int index) {
      char text[MAX_PATH] = {};
      SendMessage(lookIn, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
      return std::string(text);
    };
    int depth = static_cast<int>(std::count(docs.begin(), docs.end(), '/'));
    int current = static_cast<int>(SendMessage(lookIn, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(current, depth);
    EXPECT_EQ(line(0), "/");
    EXPECT_EQ(line(current), std::string(static_cast<std::size_t>(depth), ' ') + "docs");
    EXPECT_EQ(line(current - 1), std::string(static_cast<std::size_t>(depth - 1), ' ') + "work");
    // Choosing the folder above shows its files, and the box follows.
    SendMessage(lookIn, CB_SETCURSEL, static_cast<WPARAM>(current - 1), 0);
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(1137, CBN_SELCHANGE), reinterpret_cast<LPARAM>(lookIn));
    EXPECT_EQ(SendMessage(lookIn, CB_GETCURSEL, 0, 0), current - 1);
    EXPECT_EQ(SendDlgItemMessage(dialog, 1120, LB_GETCOUNT, 0, 0), 3);  // a.txt, b.txt, c.doc
    PostMessage(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(GetOpenFileName(&ofn_));
}

// A relative start folder, or none (the current one), is shown by its full path: the box names
// the folder and every folder above it, never ".".
TEST_F(FileDialogs, ARelativeStartFolderIsShownByItsFullPath) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(root_ + "/docs");
  const std::string docs = root_ + "/docs";
  const int depth = static_cast<int>(std::count(docs.begin(), docs.end(), '/'));
  for (const char* start : {static_cast<const char*>(nullptr), "old/..", "."}) {
    ofn_.Flags = OFN_EXPLORER;
    ofn_.lpstrFilter = "All files\0*.*\0\0";
    ofn_.lpstrInitialDir = start;
    answers_.When(nullptr, "Open", [&](HWND dialog) {
      RunUntilIdle();
      HWND lookIn = GetDlgItem(dialog, 1137);
      const int current = static_cast<int>(SendMessage(lookIn, CB_GETCURSEL, 0, 0));
      char text[MAX_PATH] = {};
      SendMessage(lookIn, CB_GETLBTEXT, static_cast<WPARAM>(current), reinterpret_cast<LPARAM>(text));
      EXPECT_EQ(current, depth) << (start ? start : "(none)");
      EXPECT_EQ(std::string(text), std::string(static_cast<std::size_t>(depth), ' ') + "docs");
      EXPECT_EQ(SendDlgItemMessage(dialog, 1120, LB_GETCOUNT, 0, 0), 1);  // d.txt
      PostMessage(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(GetOpenFileName(&ofn_));
  }
  std::filesystem::current_path(previous);
}

}  // namespace

namespace {

// Under each locale of a desktop: a name typed in the code page is saved in the locale's charset
// and opened again by typing it, and a file another program named in that charset is listed and
// opened by the name typed.
TEST_F(FileDialogs, TypedNamesAreSavedAndOpenedInTheLocalesCharset) {
  const struct {
    const char* locale;
    std::string typed;   // in the code page
    std::string onDisk;  // in the locale's charset
    std::string other;   // a file of another program, as typed
    std::string otherOnDisk;
  } cases[] = {
      {"C.UTF-8", "Gr\xF6\xDF" "e.h", "Gr\xC3\xB6\xC3\x9F" "e.h", "\xE9t\xE9.h", "\xC3\xA9t\xC3\xA9.h"},
      {"de_DE.UTF-8", "Gr\xF6\xDF" "e.h", "Gr\xC3\xB6\xC3\x9F" "e.h", "\xE9t\xE9.h", "\xC3\xA9t\xC3\xA9.h"},
      {"zh_CN.UTF-8", "\xCE\xC4\xB5\xB5.h", "\xE6\x96\x87\xE6\xA1\xA3.h", "\xD6\xD0.h", "\xE4\xB8\xAD.h"},
      {"zh_TW.UTF-8", "\xB3\x5C.h", "\xE8\xA8\xB1.h", "\xA4\xA4.h", "\xE4\xB8\xAD.h"},
      {"zh_CN.GB2312", "\xCE\xC4\xB5\xB5.h", "\xCE\xC4\xB5\xB5.h", "\xD6\xD0.h", "\xD6\xD0.h"},
      {"zh_TW.BIG5", "\xB3\x5C.h", "\xB3\x5C.h", "\xA4\xA4.h", "\xA4\xA4.h"},
  };
  // Each file dialog runs the step of the moment; a name refused (a box that says so) fails the
  // test and the dialog is cancelled, rather than the test held.
  std::function<void(HWND)> onDialog;
  answers_.When(nullptr, nullptr, [&](HWND window) {
    if (GetDlgItem(window, 1152) == nullptr) {
      ADD_FAILURE() << "refused";
      EndDialog(window, IDOK);
      return;
    }
    if (onDialog) std::exchange(onDialog, nullptr)(window);
    if (IsWindow(window) && IsWindowVisible(window)) PressButton(window, IDCANCEL);
  }, true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    ScopedLocale locale(c.locale);
    const std::string folder = root_ + "/" + c.locale;
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/" + c.otherOnDisk) << "x";
    ofn_.lpstrInitialDir = folder.c_str();
    ofn_.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    buffer_[0] = '\0';
    onDialog = [&](HWND) {
      TypeText(c.typed);
      PressKey(VK_RETURN);
    };
    ASSERT_TRUE(GetSaveFileName(&ofn_));
    EXPECT_EQ(std::string(buffer_), folder + "/" + c.typed);
    // Made by the name the dialog gave, as the application makes it.
    CloseHandle(CreateFile(buffer_, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_TRUE(std::filesystem::exists(folder + "/" + c.onDisk));

    for (const std::string& name : {c.typed, c.other}) {
      ofn_.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
      buffer_[0] = '\0';
      onDialog = [&](HWND dialog) {
        const std::vector<std::string> listed = ListLines(dialog, 1120);
        EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end());
        TypeText(name);
        PressKey(VK_RETURN);
      };
      ASSERT_TRUE(GetOpenFileName(&ofn_));
      EXPECT_EQ(std::string(buffer_), folder + "/" + name);
    }
  }
}

// Under ja_JP.UTF-8 the code page (1252) cannot hold Japanese: a name typed with such characters
// through the input method, or pasted from another program, loses them (each refused with a
// beep), so what is left (".h") is not the name given. The dialog says why and stays open, and
// refuses OK again as long as the field holds what is left; the name typed anew is taken.
TEST_F(FileDialogs, ANameGivenWithCharactersTheCodePageCannotHoldIsRefusedUntilEdited) {
  ScopedLocale locale("ja_JP.UTF-8");
  ScriptedInputMethod ime(session_);
  const std::string kRefused =
      "The name is not valid: it holds characters that the program's or the system's character set does not have, "
      "so a file cannot be given that name as it was typed.\nType the name with other characters.";
  const std::string kTest = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88";  // テスト
  struct Case {
    const char* how;
    std::function<void()> give;  // puts the name into the field, the focus on it
  };
  const Case cases[] = {
      {"typed", [&] {
         ime.Commit(kTest);
         TypeText(".h");
       }},
      {"pasted", [&] {
         // Another program copied the name: nothing of this program's is left on the clipboard.
         OpenClipboard(nullptr);
         EmptyClipboard();
         CloseClipboard();
         session_.Backend().SetForeignClipboardText(kTest + ".cpp");
         PressKey(VK_BACK);
         PressKey('V', kCtrl);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    std::vector<std::string> told;
    std::string field;
    bool stayed = false;
    answers_.When(nullptr, "Save As", [&](HWND dialog) {
      for (int i = 0; i < 2; ++i)
        answers_.When(nullptr, "Save As", [&](HWND box) {
          char text[1024] = {};
          GetDlgItemText(box, 0xFFFF, text, sizeof text);
          told.push_back(text);
          PostMessage(box, WM_COMMAND, IDOK, 0);
        });
      RunUntilIdle();
      c.give();
      PressKey(VK_RETURN);
      // OK again on what is left of the name is refused again.
      PressKey(VK_RETURN);
      char text[260] = {};
      GetDlgItemText(dialog, 1152, text, sizeof text);
      field = text;
      stayed = IsWindow(dialog) && IsWindowVisible(dialog);
      // The field's text is selected for the name typed anew.
      TypeText("test.h");
      PressKey(VK_RETURN);
    });
    ofn_.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    buffer_[0] = 0;
    ASSERT_TRUE(GetSaveFileName(&ofn_));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(told, (std::vector<std::string>{kRefused, kRefused}));
    EXPECT_NE(field.find('.'), std::string::npos) << field;  // what is left of the name, kept for editing
    EXPECT_EQ(std::string(buffer_), root_ + "/test.h");
    EXPECT_FALSE(std::filesystem::exists(root_ + "/.h"));
    EXPECT_FALSE(std::filesystem::exists(root_ + "/.cpp"));
  }
}

}  // namespace
