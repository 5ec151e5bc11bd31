// CFileDialog answered by script: the chosen path and its parts, the filter read back, several
// files through GetNextPathName in both formats, an old-style template whose derived class has
// a message map, data exchange and a name check, the Explorer-style child with its notifications,
// and the application's Open and Save As going through the dialog.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AfxTestResources.h"
#include "CommonDialogTestIds.h"
#include "afx/afx.h"
#include "testing/testing.h"

using brambolt::test::ModalAnswers;
using brambolt::test::PrivateStores;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;

namespace {

std::string Text(HWND hwnd) {
  char buffer[MAX_PATH] = {};
  ::GetWindowText(hwnd, buffer, sizeof(buffer));
  return buffer;
}

std::vector<std::string> ListLines(HWND dialog, int id) {
  HWND list = ::GetDlgItem(dialog, id);
  std::vector<std::string> lines;
  for (int i = 0; i < ::SendMessage(list, LB_GETCOUNT, 0, 0); ++i) {
    char text[MAX_PATH] = {};
    ::SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    lines.push_back(text);
  }
  return lines;
}

int LineOf(HWND dialog, int id, const std::string& text) {
  std::vector<std::string> lines = ListLines(dialog, id);
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string trimmed = lines[i].substr(lines[i].find_first_not_of(' '));
    if (trimmed == text) return static_cast<int>(i);
  }
  return -1;
}

// A click in the middle of a dialog's button.
void PressButton(HWND dialog, int id) {
  HWND button = ::GetDlgItem(dialog, id);
  RECT r;
  ::GetClientRect(button, &r);
  brambolt::test::Click(button, POINT{r.right / 2, r.bottom / 2});
}

void DoubleClickLine(HWND dialog, int id, int index) {
  HWND list = ::GetDlgItem(dialog, id);
  RECT r;
  ::SendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  brambolt::test::DoubleClick(list, POINT{r.left + 20, (r.top + r.bottom) / 2});
}

// Chooses filter `index` of the type combo box as a person would, with its notification.
void ChooseFilter(HWND dialog, int index) {
  HWND types = ::GetDlgItem(dialog, cmb1);
  ::SendMessage(types, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
}

// Selects a line of the file list with the notification the list sends.
void SelectFile(HWND dialog, int index) {
  HWND files = ::GetDlgItem(dialog, lst1);
  ::SendMessage(files, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessage(files, LB_SETCARETINDEX, static_cast<WPARAM>(index), 0);
  ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(lst1, LBN_SELCHANGE), reinterpret_cast<LPARAM>(files));
}

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = std::filesystem::weakly_canonical(stores.TempDir()).string() + "/work";
    std::filesystem::create_directories(root + "/docs");
    std::filesystem::create_directories(root + "/my files");
    for (const char* f : {"/a.txt", "/b.txt", "/c.doc", "/docs/d.txt", "/my files/e.txt", "/my files/f.txt"})
      std::ofstream(root + f) << "x";
  }

  UiSession session;
  PrivateStores stores;
  ModalAnswers answers;
  std::string root;
};

TEST_F(FileDialogTest, TheChosenFileComesBackWithItsPartsAndTheFilterIndex) {
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     "Text (*.txt)|*.txt|Documents (*.doc)|*.doc|All Files (*.*)|*.*||");
  dialog.m_ofn.lpstrInitialDir = root.c_str();
  answers.When(nullptr, "Open", [&](HWND window) {
    EXPECT_EQ(ListLines(window, lst1), (std::vector<std::string>{"a.txt", "b.txt"}));
    ChooseFilter(window, 1);
    EXPECT_EQ(ListLines(window, lst1), (std::vector<std::string>{"c.doc"}));
    DoubleClickLine(window, lst1, 0);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(std::string(dialog.GetPathName()), root + "/c.doc");
  EXPECT_EQ(std::string(dialog.GetFileName()), "c.doc");
  EXPECT_EQ(std::string(dialog.GetFileExt()), "doc");
  EXPECT_EQ(std::string(dialog.GetFileTitle()), "c");
  EXPECT_EQ(std::string(dialog.GetFolderPath()), root);
  EXPECT_EQ(dialog.m_ofn.nFilterIndex, 2u);
  EXPECT_EQ(dialog.m_hWnd, nullptr) << "the object lets go of the dialog's window";
}

TEST_F(FileDialogTest, CancellingGivesIdCancelAndKeepsTheProposedName) {
  CFileDialog dialog(FALSE, "txt", "draft", OFN_HIDEREADONLY);
  dialog.m_ofn.lpstrInitialDir = root.c_str();
  answers.When(nullptr, "Save As", [&](HWND window) {
    EXPECT_EQ(Text(::GetDlgItem(window, edt1)), "draft");
    ::PostMessage(window, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(std::string(dialog.GetPathName()), "draft");
}

TEST_F(FileDialogTest, SavingAddsTheDefaultExtension) {
  // A filter without its closing "||" ends all the same.
  CFileDialog dialog(FALSE, "txt", "draft", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "Text (*.txt)|*.txt");
  dialog.m_ofn.lpstrInitialDir = root.c_str();
  answers.When(nullptr, "Save As", [&](HWND window) {
    EXPECT_EQ(::SendDlgItemMessage(window, cmb1, CB_GETCOUNT, 0, 0), 1);
    PressButton(window, IDOK);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(std::string(dialog.GetPathName()), root + "/draft.txt");
  EXPECT_EQ(std::string(dialog.GetFileExt()), "txt");
}

// Several files from one choice, in the Explorer format (NUL-separated) and the old one (spaces),
// from a folder whose name holds a space, through a buffer the caller gives.
TEST_F(FileDialogTest, SeveralFilesComeBackOneByOneInBothFormats) {
  for (bool explorer : {true, false}) {
    SCOPED_TRACE(explorer ? "explorer" : "old style");
    std::vector<char> buffer(8192, 'z');
    buffer[0] = '\0';
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
                       "Text (*.txt)|*.txt||");
    if (!explorer) dialog.m_ofn.Flags &= ~static_cast<DWORD>(OFN_EXPLORER);
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    std::string folder = root + "/my files";
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    answers.When(nullptr, "Open", [&](HWND window) {
      HWND files = ::GetDlgItem(window, lst1);
      ::SendMessage(files, LB_SETSEL, TRUE, 0);
      ::SendMessage(files, LB_SETSEL, TRUE, 1);
      PressButton(window, IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    std::vector<std::string> paths;
    for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;) paths.emplace_back(dialog.GetNextPathName(pos));
    EXPECT_EQ(paths, (std::vector<std::string>{folder + "/e.txt", folder + "/f.txt"}));

    // One file chosen of a multiple choice is its whole path.
    answers.When(nullptr, "Open", [&](HWND window) { DoubleClickLine(window, lst1, 1); });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    POSITION pos = dialog.GetStartPosition();
    EXPECT_EQ(std::string(dialog.GetNextPathName(pos)), folder + "/f.txt");
    EXPECT_EQ(pos, nullptr);
  }
}

// Many files picked at once whose names together pass the caller's buffer: the dialog's buffer
// grows as the choice is made, so OK gives every one of them (before, OK acted as Cancel). The
// name field shows the picked names in quotes, as the Explorer-style dialog does.
TEST_F(FileDialogTest, ManyFilesPickedPastTheBuffersSizeAllComeBack) {
  const std::string folder = root + "/many";
  std::filesystem::create_directories(folder);
  std::vector<std::string> expected;
  for (int i = 0; i < 403; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "a_rather_long_header_name_%03d.h", i);
    std::ofstream(folder + "/" + name) << "x";
    expected.push_back(folder + "/" + name);
  }
  std::vector<char> buffer(8192, '\0');
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
                     "Headers (*.h)|*.h||");
  dialog.m_ofn.lpstrFile = buffer.data();
  dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.m_ofn.lpstrInitialDir = folder.c_str();
  std::string shown;
  answers.When(nullptr, "Open", [&](HWND window) {
    HWND files = ::GetDlgItem(window, lst1);
    RECT first;
    ::SendMessage(files, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    brambolt::test::Click(files, POINT{first.left + 20, (first.top + first.bottom) / 2});
    brambolt::test::PressKey(VK_END, brambolt::test::kShift);
    shown = Text(::GetDlgItem(window, edt1));
    PressButton(window, IDOK);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK) << "error " << ::CommDlgExtendedError();
  std::vector<std::string> paths;
  for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;) paths.emplace_back(dialog.GetNextPathName(pos));
  EXPECT_EQ(paths, expected);
  EXPECT_EQ(shown.rfind("\"a_rather_long_header_name_000.h\" \"a_rather_long_header_name_001.h\"", 0), 0u)
      << shown.substr(0, 80);
}

// An application's folder picker: the old-style dialog with its own template and hook, a derived
// class that hides the file controls, exchanges a check box, answers a button of its template,
// and checks the name before it is accepted.
class FolderPicker : public CFileDialog {
 public:
  // Without `hook` the flags are exactly the old-style template's, with no hook asked for.
  explicit FolderPicker(const std::string& initial, bool hook = true)
      : CFileDialog(FALSE, nullptr, nullptr, 0, "(nofiles)|NOFILES.$$$||"), m_initial(initial) {
    m_ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLETEMPLATE | (hook ? OFN_ENABLEHOOK : 0);
    m_ofn.lpTemplateName = MAKEINTRESOURCE(IDD_OLD_STYLE_PICKER);
    m_ofn.lpstrInitialDir = m_initial.c_str();
  }

  int m_bRecurse = BST_UNCHECKED;
  int m_homeClicks = 0;
  std::vector<std::string> m_checked;  // the names OnFileNameOK saw
  bool m_rejectFirst = true;
  bool m_focusOnFolders = false;
  int m_inits = 0;
  int m_f5 = 0;  // F5 presses PreTranslateMessage took

 protected:
  BOOL OnInitDialog() override {
    ++m_inits;
    CFileDialog::OnInitDialog();
    for (int id : {1090, 1152, 1120, 1089, 1136}) GetDlgItem(id)->ShowWindow(SW_HIDE);
    SetDlgItemText(1152, "noclose");
    GetDlgItem(1121)->SetFocus();
    m_focusOnFolders = ::GetFocus() == ::GetDlgItem(m_hWnd, 1121);
    return FALSE;
  }
  void DoDataExchange(CDataExchange* pDX) override { DDX_Check(pDX, IDC_PICK_RECURSE, m_bRecurse); }
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F5) {
      ++m_f5;
      return TRUE;
    }
    return CFileDialog::PreTranslateMessage(pMsg);
  }
  BOOL OnFileNameOK() override {
    m_checked.emplace_back(GetPathName());
    if (m_rejectFirst) {
      m_rejectFirst = false;
      return TRUE;
    }
    return FALSE;
  }
  afx_msg void OnHome() { ++m_homeClicks; }
  DECLARE_MESSAGE_MAP()

 private:
  std::string m_initial;
};

BEGIN_MESSAGE_MAP(FolderPicker, CFileDialog)
  ON_BN_CLICKED(IDC_PICK_HOME, OnHome)
END_MESSAGE_MAP()

TEST_F(FileDialogTest, AnOldStyleTemplateRunsWithTheDerivedClassesMessageMapAndDataExchange) {
  FolderPicker picker(root);
  picker.m_bRecurse = BST_CHECKED;
  answers.When(nullptr, "Pick Folder", [&](HWND window) {
    EXPECT_EQ(CWnd::FromHandlePermanent(window), &picker) << "the object owns the dialog's window";
    EXPECT_TRUE(picker.m_focusOnFolders);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(window, 1152)));
    EXPECT_EQ(::IsDlgButtonChecked(window, IDC_PICK_RECURSE), static_cast<UINT>(BST_CHECKED)) << "data went in";
    PressButton(window, IDC_PICK_HOME);
    EXPECT_EQ(picker.m_homeClicks, 1);
    brambolt::test::PressKey(VK_F5);
    EXPECT_EQ(picker.m_f5, 1) << "the dialog's loop offers its messages to PreTranslateMessage";
    DoubleClickLine(window, 1121, LineOf(window, 1121, "docs"));
    EXPECT_EQ(Text(::GetDlgItem(window, 1088)), root + "/docs");
    PressButton(window, IDC_PICK_RECURSE);
    PressButton(window, IDOK);
    EXPECT_TRUE(::IsWindow(window)) << "the first name was refused";
    PressButton(window, IDOK);
  });
  ASSERT_EQ(picker.DoModal(), IDOK);
  EXPECT_EQ(picker.m_inits, 1);
  EXPECT_EQ(picker.m_bRecurse, BST_UNCHECKED) << "data came out on OK";
  EXPECT_EQ(picker.m_checked, (std::vector<std::string>{root + "/docs/noclose", root + "/docs/noclose"}));
  EXPECT_EQ(std::string(picker.GetPathName()), root + "/docs/noclose");
  EXPECT_EQ(std::string(picker.GetFolderPath()), root + "/docs");
}

TEST_F(FileDialogTest, AnOldStyleTemplateWithoutTheHookStillInitialisesTheDerivedClass) {
  FolderPicker picker(root, false);
  answers.When(nullptr, "Pick Folder", [&](HWND window) {
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(window, 1152)));
    EXPECT_EQ(Text(::GetDlgItem(window, 1152)), "noclose");
    PressButton(window, IDOK);
  });
  ASSERT_EQ(picker.DoModal(), IDOK);
  EXPECT_EQ(picker.m_inits, 1);
  EXPECT_EQ(std::string(picker.GetPathName()), root + "/noclose");
}

// An old-style dialog tells its derived class about selections in the file list.
class SelectionWatcher : public CFileDialog {
 public:
  SelectionWatcher() : CFileDialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "Text|*.txt||") {
    m_ofn.Flags &= ~static_cast<DWORD>(OFN_EXPLORER);
  }
  std::vector<std::string> m_seen;

 protected:
  void OnLBSelChangedNotify(UINT nIDBox, UINT iCurSel, UINT nCode) override {
    m_seen.push_back(std::to_string(nIDBox) + ":" + std::to_string(iCurSel) + ":" + std::to_string(nCode));
  }
};

TEST_F(FileDialogTest, TheOldStyleDialogReportsFileListSelections) {
  SelectionWatcher dialog;
  dialog.m_ofn.lpstrInitialDir = root.c_str();
  answers.When(nullptr, "Open", [&](HWND window) {
    SelectFile(window, 1);
    SelectFile(window, 0);
    ::PostMessage(window, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  std::string list = std::to_string(lst1);
  EXPECT_EQ(dialog.m_seen, (std::vector<std::string>{list + ":1:0", list + ":0:0"}));
}

// An Explorer-style dialog made taller by its derived class, as an application does with the
// dialog window around its hook (the name and type controls and OK and Cancel move down, the
// file list grows); the notifications come in the documented order.
class TallFileDialog : public CFileDialog {
 public:
  explicit TallFileDialog(bool withTemplate)
      : CFileDialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "Text|*.txt|Documents|*.doc||") {
    if (withTemplate) {
      m_ofn.Flags |= OFN_ENABLETEMPLATE;
      m_ofn.lpTemplateName = MAKEINTRESOURCE(IDD_EXPLORER_EXTRA);
    }
  }
  std::vector<std::string> m_events;
  HWND m_parentSeen = nullptr;
  int m_bPreview = BST_UNCHECKED;
  bool m_hasPreview = false;

 protected:
  BOOL OnInitDialog() override {
    CWnd* dialog = GetParent();
    m_parentSeen = dialog->GetSafeHwnd();
    CRect rect;
    dialog->GetWindowRect(&rect);
    dialog->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height() + 120, SWP_NOMOVE | SWP_NOZORDER);
    for (int id : {stc3, stc2, edt1, cmb1, IDOK, IDCANCEL}) {
      CWnd* item = dialog->GetDlgItem(id);
      item->GetWindowRect(&rect);
      dialog->ScreenToClient(&rect);
      item->SetWindowPos(nullptr, rect.left, rect.top + 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    CWnd* files = dialog->GetDlgItem(lst1);
    files->GetWindowRect(&rect);
    files->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height() + 120, SWP_NOMOVE | SWP_NOZORDER);
    m_hasPreview = ::GetDlgItem(m_hWnd, IDC_EXTRA_PREVIEW) != nullptr;
    m_events.push_back("init");
    return CFileDialog::OnInitDialog();
  }
  void DoDataExchange(CDataExchange* pDX) override {
    if (m_hasPreview) DDX_Check(pDX, IDC_EXTRA_PREVIEW, m_bPreview);
  }
  void OnInitDone() override { m_events.push_back("done"); }
  void OnFolderChange() override { m_events.push_back("folder " + std::string(GetFolderPath())); }
  void OnTypeChange() override { m_events.push_back("type " + std::to_string(m_ofn.nFilterIndex)); }
  void OnFileNameChange() override { m_events.push_back("name " + std::string(GetFileName())); }
  BOOL OnFileNameOK() override {
    m_events.push_back("ok " + std::string(GetPathName()));
    return FALSE;
  }
};

TEST_F(FileDialogTest, AnExplorerStyleHookIsAChildOfTheDialogAndHearsWhatHappens) {
  int plainHeight = 0;
  {
    CFileDialog plain(TRUE);
    plain.m_ofn.lpstrInitialDir = root.c_str();
    answers.When(nullptr, "Open", [&](HWND window) {
      RECT r;
      ::GetWindowRect(window, &r);
      plainHeight = r.bottom - r.top;
      ::PostMessage(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(plain.DoModal(), IDCANCEL);
  }
  TallFileDialog dialog(false);
  dialog.m_ofn.lpstrInitialDir = root.c_str();
  answers.When(nullptr, "Open", [&](HWND window) {
    EXPECT_EQ(dialog.m_parentSeen, window);
    EXPECT_EQ(::GetParent(dialog.m_hWnd), window);
    RECT r;
    ::GetWindowRect(window, &r);
    EXPECT_EQ(r.bottom - r.top, plainHeight + 120);
    // The grown list ends above the moved name field, and everything stays inside the dialog.
    RECT files, name, cancel, client;
    ::GetWindowRect(::GetDlgItem(window, lst1), &files);
    ::GetWindowRect(::GetDlgItem(window, edt1), &name);
    ::GetWindowRect(::GetDlgItem(window, IDCANCEL), &cancel);
    ::GetClientRect(window, &client);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&cancel), 2);
    EXPECT_LT(files.bottom, name.top);
    EXPECT_LE(cancel.bottom, client.bottom);
    EXPECT_EQ(std::string(dialog.GetFolderPath()), root);
    ChooseFilter(window, 1);
    SelectFile(window, 0);
    EXPECT_EQ(std::string(dialog.GetPathName()), root + "/c.doc") << "what the name field names while up";
    DoubleClickLine(window, 1121, LineOf(window, 1121, "docs"));
    ChooseFilter(window, 0);
    DoubleClickLine(window, lst1, 0);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_events, (std::vector<std::string>{"init", "done", "folder " + root, "type 2", "name c.doc",
                                                       "folder " + root + "/docs", "type 1", "name d.txt",
                                                       "ok " + root + "/docs/d.txt"}));
  EXPECT_EQ(std::string(dialog.GetPathName()), root + "/docs/d.txt");
}

TEST_F(FileDialogTest, AnExplorerStyleTemplateAddsItsControlsBelowTheDialogs) {
  TallFileDialog dialog(true);
  dialog.m_ofn.lpstrInitialDir = root.c_str();
  dialog.m_bPreview = BST_CHECKED;
  answers.When(nullptr, "Open", [&](HWND window) {
    ASSERT_TRUE(dialog.m_hasPreview);
    HWND preview = ::GetDlgItem(dialog.m_hWnd, IDC_EXTRA_PREVIEW);
    EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_EXTRA_PREVIEW), static_cast<UINT>(BST_CHECKED));
    RECT box, types;
    ::GetWindowRect(preview, &box);
    ::GetWindowRect(::GetDlgItem(window, cmb1), &types);
    EXPECT_GT(box.top, types.bottom) << "below the standard controls";
    PressButton(dialog.m_hWnd, IDC_EXTRA_PREVIEW);
    DoubleClickLine(window, lst1, 0);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_bPreview, BST_UNCHECKED);
  EXPECT_EQ(std::string(dialog.GetPathName()), root + "/a.txt");
}

// ---- the application's prompts ----

class NoteDoc : public CDocument {
  DECLARE_DYNCREATE(NoteDoc)
};
IMPLEMENT_DYNCREATE(NoteDoc, CDocument)

class NoteView : public CView {
  DECLARE_DYNCREATE(NoteView)

 public:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(NoteView, CView)

class PromptTest : public FileDialogTest {
 protected:
  PromptTest() {
    app.AddDocTemplate(new CMultiDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(NoteDoc), RUNTIME_CLASS(CFrameWnd),
                                             RUNTIME_CLASS(NoteView)));
  }
  ~PromptTest() override { app.CloseAllDocuments(TRUE); }
  CWinApp app{"Prompt App"};
};

TEST_F(PromptTest, SaveAsRunsTheFileDialogWithTheTemplatesFilters) {
  auto* doc = static_cast<NoteDoc*>(app.OpenDocumentFile(nullptr));
  ASSERT_NE(doc, nullptr);
  std::string folder = root + "/docs";
  std::vector<std::string> filters;
  answers.When(nullptr, "Save As", [&](HWND window) {
    EXPECT_EQ(Text(::GetDlgItem(window, edt1)), std::string(doc->GetTitle()) + ".tdc") << "the title is proposed";
    HWND types = ::GetDlgItem(window, cmb1);
    for (int i = 0; i < ::SendMessage(types, CB_GETCOUNT, 0, 0); ++i) {
      char text[MAX_PATH] = {};
      ::SendMessage(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      filters.emplace_back(text);
    }
    ::SetDlgItemText(window, edt1, (folder + "/report").c_str());
    PressButton(window, IDOK);
  });
  ASSERT_TRUE(doc->DoSave(nullptr));
  EXPECT_EQ(filters, (std::vector<std::string>{"Test Files (*.tdc)", "All Files (*.*)"}));
  EXPECT_EQ(std::string(doc->GetPathName()), folder + "/report.tdc") << "the template's extension is the default";
  EXPECT_TRUE(std::filesystem::exists(folder + "/report.tdc"));

  // Save As again proposes the document's file; cancelling saves nothing.
  answers.When(nullptr, "Save As", [&](HWND window) {
    EXPECT_EQ(Text(::GetDlgItem(window, edt1)), "report.tdc");
    EXPECT_EQ(Text(::GetDlgItem(window, stc1)), folder);
    ::PostMessage(window, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(doc->DoSave(nullptr)) << "cancelled";
}

TEST_F(PromptTest, OpenRunsTheFileDialogAndOpensTheChosenDocument) {
  {
    auto* doc = static_cast<NoteDoc*>(app.OpenDocumentFile(nullptr));
    ASSERT_TRUE(doc->DoSave((root + "/kept.tdc").c_str()));
    doc->OnCloseDocument();
  }
  answers.When(nullptr, "Open", [&](HWND window) {
    ::SetDlgItemText(window, edt1, (root + "/kept.tdc").c_str());
    PressButton(window, IDOK);
  });
  app.OnFileOpen();
  ASSERT_EQ(app.m_pDocManager->GetOpenDocumentCount(), 1);
  POSITION pos = app.GetFirstDocTemplatePosition();
  CDocTemplate* tmpl = app.GetNextDocTemplate(pos);
  POSITION docPos = tmpl->GetFirstDocPosition();
  auto* opened = static_cast<NoteDoc*>(tmpl->GetNextDoc(docPos));
  EXPECT_EQ(std::string(opened->GetPathName()), root + "/kept.tdc");
}

}  // namespace
