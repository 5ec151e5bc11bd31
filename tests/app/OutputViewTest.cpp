// The output tree over real output folders: what it shows for each language, and its commands
// on the disk (remove, rename, new folder, conversion between GB2312 and Big5, opening).
#include "app/DatabaseView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "app/CPropDlgMain.h"
#include "ExplorerTestSupport.h"
#include "base/Convert.h"
#include "model/ModelIds.h"
#include "os/FileFaults.h"
#include "os/Shell.h"
#include "platform/os/TempDir.h"
#include "controls/FileDialog.h"
#include "res/ResourceTypes.h"
#include "res/Resources.h"
#include "resources/AppResource.h"
#include "resources/ExplorerRes.h"
#include "resources/OutputViewRes.h"
#include "resources/resource.h"
#include "win/Input.h"

namespace {

using apptest::DlgCommand;
using brambolt::testing_os::TempDir;

// A path as the tree keeps it (the program's separators mixed in), with slashes only.
std::string Slashes(const CString& strPath) {
  std::string path = static_cast<LPCTSTR>(strPath);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

const BYTE* EmbeddedTable(LPCTSTR name) {
  HRSRC hRes = FindResource(nullptr, name, RT_RCDATA);
  return hRes != nullptr ? static_cast<const BYTE*>(LockResource(LoadResource(nullptr, hRes))) : nullptr;
}

// The open project "Demo" in a temporary folder, with the application's conversion tables;
// records the progress it is shown.
class OutputShell : public explorertest::ProjectShell {
 public:
  OutputShell() {
    name = "Demo";
    folder = (root.Path() + "/").c_str();
  }
  const BYTE* GetGBToBig5Table() override { return EmbeddedTable("GBTOBIG"); }
  const BYTE* GetBig5ToGBTable() override { return EmbeddedTable("BIGTOGB"); }
  void BeginProgress(LPCTSTR text, int lower, int upper, BOOL, DWORD style) override {
    progress.push_back(std::string(text) + " " + std::to_string(lower) + "-" + std::to_string(upper) + " " +
                       std::to_string(style));
  }
  void EndProgress() override { progress.push_back("end"); }

  TempDir root;
  std::vector<std::string> progress;
};

// Answers every message box with one button and remembers the texts.
struct Questions {
  static int& Answer() {
    static int answer = IDYES;
    return answer;
  }
  static std::vector<std::string>& Asked() {
    static std::vector<std::string> asked;
    return asked;
  }
  explicit Questions(int answer) {
    Answer() = answer;
    Asked().clear();
    brambolt::afx::SetMessageBoxPresenter([](HWND, LPCTSTR text, LPCTSTR, UINT) {
      Asked().push_back(text);
      return Answer();
    });
  }
  ~Questions() { brambolt::afx::SetMessageBoxPresenter(nullptr); }
};

// The tree with the application's picture view and file copy recorded.
class TestView : public DatabaseView {
 public:
  void OpenPicture(const CString& strPath) override { pictures.push_back(Slashes(strPath)); }
  BOOL CopyFileIntoFolder(const CString& strPath, const CString& strFolder) override {
    const std::filesystem::path source = Slashes(strPath);
    std::filesystem::copy_file(source, Slashes(strFolder) + "/" + source.filename().string(),
                               std::filesystem::copy_options::overwrite_existing);
    return TRUE;
  }
  std::vector<std::string> pictures;
};

struct OutputSession {
  brambolt::test::PrivateStores stores;
  brambolt::test::UiSession session;
  CWinApp app{"Output View Test"};
  OutputShell shell;
  apptest::Host host{300, 500};
  TestView view;

  OutputSession() { InitCommonControls(); }
  // Writes a file below the project folder.
  std::string Write(const std::string& path, const std::string& bytes = "x") { return shell.root.Write(path, bytes); }
  bool Exists(const std::string& path) { return shell.root.Exists(path); }
  std::string Read(const std::string& path) { return shell.root.Read(path); }
  void Create() {
    ASSERT_TRUE(view.Create(WS_CHILD | WS_VISIBLE | 0x37, 0x02000000, CRect(0, 0, 300, 500), &host, 70002));
    brambolt::test::RunUntilIdle();
  }
  // The item reached from the root by the texts of its ancestors and its own, each ancestor
  // opened on the way as the user opens it.
  HTREEITEM Find(std::initializer_list<const char*> texts) {
    HTREEITEM hItem = view.GetRootItem();
    for (const char* text : texts) {
      if (hItem == nullptr) break;
      view.Expand(hItem, TVE_EXPAND);
      hItem = explorertest::ChildNamed(view, hItem, text);
    }
    return hItem;
  }
  void Select(std::initializer_list<const char*> texts) {
    HTREEITEM hItem = Find(texts);
    ASSERT_NE(hItem, nullptr);
    view.SelectItem(hItem);
  }
  void Command(UINT id) { view.SendMessage(WM_COMMAND, id, 0); }
  // One line per item, indented by depth: text, image, and "/" for a folder record, "-" for none;
  // every folder opened, as the user opens them all.
  std::string Dump() {
    std::string out;
    DumpLevel(view.GetRootItem(), 0, out);
    return out;
  }

 private:
  void DumpLevel(HTREEITEM hItem, int depth, std::string& out) {
    for (; hItem != nullptr; hItem = view.GetNextSiblingItem(hItem)) {
      view.Expand(hItem, TVE_EXPAND);
      TVITEM item{};
      item.mask = TVIF_IMAGE;
      item.hItem = hItem;
      view.GetItem(&item);
      const CItemFileObj* pRecord = view.GetItemRecord(hItem);
      out += std::string(2 * depth, ' ') + static_cast<LPCTSTR>(view.GetItemText(hItem)) + " " +
             std::to_string(item.iImage) + (pRecord == nullptr ? " -" : pRecord->m_bFolder ? " /" : "") + "\n";
      DumpLevel(view.GetChildItem(hItem), depth + 1, out);
    }
  }
};

// The output of a small project, in every language folder so that only the chosen one shows.
void WriteOutput(OutputSession& s, const std::string& language) {
  const std::string out = "Output_" + language + "/";
  s.Write(out + "Htmls/index.htm");
  s.Write(out + "Htmls/notes.html");
  s.Write(out + "Htmls/logo.gif");
  s.Write(out + "Htmls/Image2/chart.bmp");
  s.Write(out + "Htmls/Image2/photo.jpg");
  s.Write(out + "Htmls/Image2/legend.htm");
  s.Write(out + "Htmls/classes/image2/deep.htm");
  s.Write(out + "Htmls/classes/CView.htm");
  s.Write(out + "Htmls/classes/members/OnDraw.htm");
  s.Write(out + "Demo.hhc");
  s.Write(out + "Demo.hhk");
  s.Write(out + "Demo.hhp");
  s.Write(out + "Demo.chm");
  s.Write(out + "readme.txt");
  s.Write(out + "top.htm");
  s.Write(out + "shot.png");
  s.Write(out + "chart.bmp");
  s.Write(out + "index_" + language + ".htm");
}

TEST(OutputTree, TheLanguagePicksRootAndFolderAndTheExtensionsPickTheImages) {
  const struct {
    int language;
    const char* folder;
  } cases[] = {{LANGUAGE_CHS, "Chs"}, {LANGUAGE_CHT, "GB5"}, {LANGUAGE_ENG, "Eng"}, {7, "Chs"}};
  for (const auto& c : cases) {
    OutputSession s;
    for (const char* language : {"Chs", "GB5", "Eng"}) WriteOutput(s, language);
    s.shell.workspace.m_nOutputLanguage = c.language;
    s.Create();
    const std::string folder = c.folder;
    // Files before folders; "image2" left out only directly below the pages; a .txt file of the
    // output folder is no item.
    EXPECT_EQ(s.Dump(), "Demo Output_" + folder + " 0 -\n" +
                            "  HTML Files 4 /\n"
                            "    index.htm 3\n"
                            "    logo.gif 9\n"
                            "    notes.html 10\n"
                            "    classes 4 /\n"
                            "      CView.htm 3\n"
                            "      image2 4 /\n"
                            "        deep.htm 3\n"
                            "      members 4 /\n"
                            "        OnDraw.htm 3\n"
                            "  Diagrams 4 -\n"
                            "    chart.bmp 5\n"
                            "    legend.htm 3\n"
                            "    photo.jpg 9\n" +
                            "  chart.bmp 5\n"
                            "  Demo.chm 1\n"
                            "  Demo.hhc 6\n"
                            "  Demo.hhk 7\n"
                            "  Demo.hhp 8\n"
                            "  index_" + folder + ".htm 3\n" +
                            "  shot.png 9\n"
                            "  top.htm 3\n")
        << c.language;
    EXPECT_TRUE(s.view.IsExpanded(s.view.GetRootItem()));
    // One progress run for the pages' sub-folders (Image2 counted, not shown).
    EXPECT_EQ(s.shell.progress, (std::vector<std::string>{"Loading output files... 0-2 16640", "end"}));
    // A refresh builds the same tree again.
    const std::string first = s.Dump();
    s.view.Refresh();
    EXPECT_EQ(s.Dump(), first);
  }
}

// The Properties of a page and of the pages' folder show their location as this system writes
// paths, not with the separators the tree joined them with.
TEST(OutputTree, PropertiesShowTheLocationAsTheSystemWritesIt) {
  OutputSession s;
  WriteOutput(s, "Eng");
  s.shell.workspace.m_nOutputLanguage = LANGUAGE_ENG;
  s.Create();
  const std::string root = s.shell.root.Path();
  const struct {
    std::initializer_list<const char*> item;
    const char* caption;
    std::string location;
  } cases[] = {
      {{"HTML Files", "index.htm"}, "index.htm Properties", root + "/Output_Eng/Htmls/"},
      {{"HTML Files", "classes", "CView.htm"}, "CView.htm Properties", root + "/Output_Eng/Htmls/classes/"},
  };
  for (const auto& c : cases) {
    s.Select(c.item);
    std::string location;
    brambolt::test::ModalAnswers answers;
    answers.When(nullptr, c.caption, [&](HWND h) {
      auto* pDlg = dynamic_cast<CPropDlgMain*>(CWnd::FromHandle(h));
      if (pDlg != nullptr) location = apptest::DlgText(pDlg->m_Page.GetSafeHwnd(), IDC_ITEM_LOCATION);
      DlgCommand(h, IDCANCEL);
    });
    s.Command(ID_EXPLORER_PROPERTIES);
    EXPECT_TRUE(answers.Unanswered().empty()) << c.caption;
    EXPECT_EQ(location, c.location);
  }
}

TEST(OutputTree, WithoutAProjectOrOutputTheTreeIsEmptyOrHasEmptyFolders) {
  OutputSession s;
  s.shell.name.Empty();
  s.Create();
  EXPECT_EQ(s.Dump(), "");
  s.shell.name = "Demo";
  s.view.Refresh();
  EXPECT_EQ(s.Dump(), "Demo Output_Eng 0 -\n  HTML Files 4 /\n  Diagrams 4 -\n");
}

TEST(OutputTree, RemoveAsksThenDeletesFilesAndWholeFoldersButNothingAtTheTop) {
  const struct {
    std::initializer_list<const char*> item;
    int answer;
    const char* path;  // below Output_Eng
    bool asked;
    bool removed;
  } cases[] = {
      {{"HTML Files"}, IDYES, "Htmls", false, false},
      {{"Demo.hhc"}, IDYES, "Demo.hhc", false, false},
      {{"Diagrams", "chart.bmp"}, IDYES, "Htmls/Image2/chart.bmp", false, false},
      {{"HTML Files", "index.htm"}, IDNO, "Htmls/index.htm", true, false},
      {{"HTML Files", "index.htm"}, IDYES, "Htmls/index.htm", true, true},
      {{"HTML Files", "classes"}, IDYES, "Htmls/classes", true, true},
  };
  for (const auto& c : cases) {
    OutputSession s;
    WriteOutput(s, "Eng");
    s.Create();
    Questions questions(c.answer);
    s.Select(c.item);
    s.Command(ID_EXPLORER_REMOVE);
    EXPECT_EQ(Questions::Asked(),
              c.asked ? std::vector<std::string>{"Make sure you really want to remove this item from the project?"}
                      : std::vector<std::string>{})
        << c.path;
    EXPECT_EQ(s.Exists(std::string("Output_Eng/") + c.path), !c.removed) << c.path;
    EXPECT_EQ(s.Find(c.item) == nullptr, c.removed) << c.path;
  }
}

TEST(OutputTree, RemovingAFolderDeletesALinkInItAsALinkAndTheDeleteKeyAsksToo) {
  OutputSession s;
  TempDir outside;
  outside.Write("keep.htm", "kept");
  s.Write("Output_Eng/Htmls/classes/CView.htm");
  std::filesystem::create_directory_symlink(outside.Path(), s.shell.root / "Output_Eng/Htmls/classes/linked");
  s.Create();
  // The linked folder shows, but is not walked into.
  EXPECT_EQ(s.Dump(), "Demo Output_Eng 0 -\n  HTML Files 4 /\n    classes 4 /\n      CView.htm 3\n      linked 4 /\n"
                      "  Diagrams 4 -\n");
  Questions questions(IDYES);
  s.Select({"HTML Files", "classes"});
  s.view.SetFocus();
  brambolt::test::PressKey(VK_DELETE);
  EXPECT_EQ(Questions::Asked().size(), 1U);
  EXPECT_FALSE(s.Exists("Output_Eng/Htmls/classes"));
  EXPECT_EQ(outside.Read("keep.htm"), "kept");
}

// Answers the rename dialog with a new name.
void AnswerRename(brambolt::test::ModalAnswers& answers, const char* newName, std::string* shown) {
  answers.When(nullptr, "Rename", [=](HWND h) {
    *shown = apptest::DlgText(h, IDC_NEW_NAME);
    ::SetDlgItemText(h, IDC_NEW_NAME, newName);
    DlgCommand(h, IDOK);
  });
}

TEST(OutputTree, RenamingAFileRetitlesItAndRenamingAFolderRefillsItFromDisk) {
  OutputSession s;
  WriteOutput(s, "Eng");
  s.Create();
  brambolt::test::ModalAnswers answers;
  std::string shown;
  AnswerRename(answers, "start.htm", &shown);
  s.Select({"HTML Files", "index.htm"});
  s.Command(ID_EXPLORER_RENAME);
  EXPECT_EQ(shown, "index.htm");
  EXPECT_TRUE(s.Exists("Output_Eng/Htmls/start.htm"));
  EXPECT_FALSE(s.Exists("Output_Eng/Htmls/index.htm"));
  HTREEITEM hFile = s.Find({"HTML Files", "start.htm"});
  ASSERT_NE(hFile, nullptr);
  EXPECT_EQ(std::filesystem::path(Slashes(s.view.GetItemRecord(hFile)->m_strPath)).filename(), "start.htm");

  // The folder is written to after the tree was filled: its new item shows the disk.
  s.Write("Output_Eng/Htmls/classes/later.htm");
  AnswerRename(answers, "types", &shown);
  s.Select({"HTML Files", "classes"});
  s.Command(ID_EXPLORER_RENAME);
  EXPECT_EQ(shown, "classes");
  EXPECT_TRUE(s.Exists("Output_Eng/Htmls/types/later.htm"));
  EXPECT_NE(s.Find({"HTML Files", "types", "later.htm"}), nullptr);
  EXPECT_NE(s.Find({"HTML Files", "types", "members", "OnDraw.htm"}), nullptr);
  EXPECT_EQ(s.Find({"HTML Files", "classes"}), nullptr);

  // A new name that differs only in letter case renames the file, and the folder, on disk.
  AnswerRename(answers, "Start.htm", &shown);
  s.Select({"HTML Files", "start.htm"});
  s.Command(ID_EXPLORER_RENAME);
  AnswerRename(answers, "Types", &shown);
  s.Select({"HTML Files", "types"});
  s.Command(ID_EXPLORER_RENAME);
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(s.shell.root / "Output_Eng/Htmls"))
    names.insert(entry.path().filename().string());
  EXPECT_TRUE(names.count("Start.htm") && !names.count("start.htm")) << ::testing::PrintToString(names);
  EXPECT_TRUE(names.count("Types") && !names.count("types")) << ::testing::PrintToString(names);
  EXPECT_NE(s.Find({"HTML Files", "Start.htm"}), nullptr);
  EXPECT_NE(s.Find({"HTML Files", "Types", "later.htm"}), nullptr);
  EXPECT_TRUE(answers.Unanswered().empty());
}

// Names the folder in the New Folder dialog; chooses the file in every Open dialog.
void AnswerNewFolder(brambolt::test::ModalAnswers& answers, const char* name) {
  answers.When(nullptr, "Folder", [=](HWND h) {
    ::SetDlgItemText(h, IDC_FOLDER_NAME, name);
    DlgCommand(h, IDOK);
  });
}

void AnswerOpen(brambolt::test::ModalAnswers& answers, const std::string& path) {
  answers.When(
      nullptr, "Open",
      [=](HWND h) {
        ::SetDlgItemText(h, edt1, path.c_str());
        DlgCommand(h, IDOK);
      },
      true);
}

// Under ja_JP.UTF-8 the code page (1252) cannot hold Japanese: a new name typed or pasted with
// such characters loses them, and what is left (".htm") is not the name given. The Rename and
// New Folder dialogs refuse it with the message the file dialog gives, as often as OK is pressed
// on it, and nothing is renamed or made.
TEST(OutputTree, ANameThatLostCharactersTheCodePageCannotHoldRenamesAndMakesNothing) {
  brambolt::ScopedLocale names("ja_JP.UTF-8");
  OutputSession s;
  WriteOutput(s, "Eng");
  s.Create();
  brambolt::test::ScriptedInputMethod ime(s.session);
  const std::string kTest = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88";  // テスト
  Questions questions(IDOK);
  brambolt::test::ModalAnswers answers;
  // The field's name replaced by one the user gives, OK pressed twice, then Cancel.
  const auto give = [&](const char* caption, int field, bool paste) {
    answers.When(nullptr, caption, [=, &ime, &s](HWND h) {
      ::SetFocus(::GetDlgItem(h, field));
      ::SendDlgItemMessage(h, field, EM_SETSEL, 0, -1);
      if (paste) {
        ::OpenClipboard(nullptr);
        ::EmptyClipboard();
        ::CloseClipboard();
        s.session.Backend().SetForeignClipboardText(kTest + ".htm");
        brambolt::test::PressKey('V', brambolt::test::kCtrl);
      } else {
        ime.Commit(kTest);
        brambolt::test::TypeText(".htm");
      }
      brambolt::test::PressKey(VK_RETURN);
      brambolt::test::PressKey(VK_RETURN);
      DlgCommand(h, IDCANCEL);
    });
  };
  const std::string kRefused = brambolt::RefusedNameMessage();
  for (bool paste : {false, true}) {
    SCOPED_TRACE(paste ? "pasted" : "typed");
    Questions::Asked().clear();
    give("Rename", IDC_NEW_NAME, paste);
    s.Select({"HTML Files", "index.htm"});
    s.Command(ID_EXPLORER_RENAME);
    give("Folder", IDC_FOLDER_NAME, paste);
    s.Select({"HTML Files"});
    s.Command(ID_EXPLORER_NEW_FOLDER);
    EXPECT_EQ(Questions::Asked(), std::vector<std::string>(4, kRefused));
    EXPECT_TRUE(s.Exists("Output_Eng/Htmls/index.htm"));
    EXPECT_FALSE(s.Exists("Output_Eng/Htmls/.htm"));
    EXPECT_NE(s.Find({"HTML Files", "index.htm"}), nullptr);
  }
  EXPECT_TRUE(answers.Unanswered().empty());
}

// Under zh_CN.GB2312 the code page (936) holds 镕 and the locale's charset, GB2312, does not: a new
// name typed with it cannot be made as typed. Rename and New Folder refuse it with the message
// every name field gives, and nothing is renamed or made; a GB2312 name is made as typed.
TEST(OutputTree, ANameTheLocaleCharsetCannotHoldRenamesAndMakesNothing) {
  brambolt::ScopedLocale names("zh_CN.GB2312");
  OutputSession s;
  WriteOutput(s, "Eng");
  s.Create();
  Questions questions(IDOK);
  brambolt::test::ModalAnswers answers;
  const std::string kRong = "\xE9\x46", kChinese = "\xD6\xD0\xCE\xC4";  // 镕 (GBK only), 中文
  const auto give = [&](const char* caption, int field, const std::string& name) {
    answers.When(nullptr, caption, [=](HWND h) {
      ::SetFocus(::GetDlgItem(h, field));
      ::SendDlgItemMessage(h, field, EM_SETSEL, 0, -1);
      brambolt::test::TypeText(name);
      brambolt::test::PressKey(VK_RETURN);
      if (::IsWindow(h)) DlgCommand(h, IDCANCEL);
    });
  };
  give("Rename", IDC_NEW_NAME, kRong + ".htm");
  s.Select({"HTML Files", "index.htm"});
  s.Command(ID_EXPLORER_RENAME);
  give("Folder", IDC_FOLDER_NAME, kRong);
  s.Select({"HTML Files"});
  s.Command(ID_EXPLORER_NEW_FOLDER);
  EXPECT_EQ(Questions::Asked(), std::vector<std::string>(2, brambolt::RefusedNameMessage()));
  EXPECT_TRUE(s.Exists("Output_Eng/Htmls/index.htm"));
  EXPECT_FALSE(s.Exists("Output_Eng/Htmls/" + kRong + ".htm"));
  EXPECT_FALSE(s.Exists("Output_Eng/Htmls/" + kRong));
  give("Folder", IDC_FOLDER_NAME, kChinese);
  s.Select({"HTML Files"});
  s.Command(ID_EXPLORER_NEW_FOLDER);
  EXPECT_TRUE(std::filesystem::is_directory(s.shell.root / ("Output_Eng/Htmls/" + kChinese)));
  EXPECT_TRUE(answers.Unanswered().empty());
}

TEST(OutputTree, NewFolderIsMadeOnDiskAndSortedIn) {
  OutputSession s;
  WriteOutput(s, "Eng");
  s.Create();
  brambolt::test::ModalAnswers answers;
  AnswerNewFolder(answers, "api");
  s.Select({"HTML Files"});
  s.Command(ID_EXPLORER_NEW_FOLDER);
  EXPECT_TRUE(std::filesystem::is_directory(s.shell.root / "Output_Eng/Htmls/api"));
  HTREEITEM hFolder = s.Find({"HTML Files", "api"});
  ASSERT_NE(hFolder, nullptr);
  EXPECT_TRUE(s.view.GetItemRecord(hFolder)->m_bFolder);
  // Sorted by text among the folder's children.
  EXPECT_EQ(s.view.GetChildItem(s.Find({"HTML Files"})), hFolder);
}

std::string Gb(std::string_view utf8) { return brambolt::Utf8ToCodePage(utf8, 936); }
std::string Big5(std::string_view utf8) { return brambolt::Utf8ToCodePage(utf8, 950); }

// The bytes as a link escapes them: each one above ASCII as "%XX", and with bWholeCharacters
// each byte of a double-byte character (a Big5 trail byte that is an ASCII letter too).
std::string Escaped(const std::string& bytes, bool bWholeCharacters = false) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto ch = static_cast<unsigned char>(bytes[i]);
    if (ch < 0x80) {
      out += bytes[i];
      continue;
    }
    for (size_t end = bWholeCharacters && i + 1 < bytes.size() ? i + 1 : i; i <= end; ++i) {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned char>(bytes[i]));
      out += escape;
    }
    --i;
  }
  return out;
}

// A page declaring its code page in its head; its body names a code page, as a page about code
// pages may, and is no declaration.
std::string Page(const std::string& charset, const std::string& text) {
  return "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset + "\"></head>\r\n<p>" +
         text + "</p>\r\n<p>charset=big5</p>\r\n";
}

TEST(OutputTree, AFolderConvertedToBig5AndBackIsAsBeforeAndOnlyItsGBNamesAreRenamed) {
  // The names are written as GB2312 and Big5 bytes: on disk as they are under a legacy locale.
  brambolt::ScopedSystemNameCodePage names(CP_ACP);
  OutputSession s;
  TempDir outside;
  const std::string gb = Page("gb2312", Gb("中文大小")), big5 = Page("big5", Big5("中文大小"));
  outside.Write("linked.htm", gb);
  const std::string book = "Output_Eng/Htmls/book/";
  s.Write(book + Gb("中文.htm"), gb);
  s.Write(book + "文档.htm", gb);                // a UTF-8 name: stays UTF-8
  s.Write(book + "plain.txt", gb);               // not a page
  s.Write(book + "note.htm ", gb);               // no double-byte name: kept as it is
  s.Write(book + "image2/skip.htm", gb);         // first level: left out
  s.Write(book + "deep/image2/" + Gb("大小.asp"), gb);  // deeper: converted
  std::filesystem::create_directory_symlink(outside.Path(), s.shell.root / (book + "linked"));
  s.Create();
  Questions questions(IDYES);
  s.Select({"HTML Files", "book"});
  s.Command(ID_EXPLORER_GB_TO_BIG5);
  EXPECT_EQ(Questions::Asked(),
            (std::vector<std::string>{"Are you sure you want to convert the selection folder or file to Big5?"}));
  EXPECT_EQ(s.Read(book + Big5("中文.htm")), big5);
  EXPECT_FALSE(s.Exists(book + Gb("中文.htm")));
  EXPECT_EQ(s.Read(book + "文檔.htm"), big5);
  EXPECT_EQ(s.Read(book + "plain.txt"), gb);
  EXPECT_EQ(s.Read(book + "note.htm "), big5);
  EXPECT_EQ(s.Read(book + "image2/skip.htm"), gb);
  EXPECT_EQ(s.Read(book + "deep/image2/" + Big5("大小.asp")), big5);
  EXPECT_EQ(outside.Read("linked.htm"), gb);
  // The folder item was refilled: it shows the new names.
  EXPECT_NE(s.Find({"HTML Files", "book", Big5("中文.htm").c_str()}), nullptr);

  s.Select({"HTML Files", "book"});
  s.Command(ID_EXPLORER_BIG5_TO_GB);
  EXPECT_EQ(s.Read(book + Gb("中文.htm")), gb);
  EXPECT_EQ(s.Read(book + "文档.htm"), gb);
  EXPECT_EQ(s.Read(book + "deep/image2/" + Gb("大小.asp")), gb);
  EXPECT_FALSE(s.Exists(book + "文檔.htm"));
}

TEST(OutputTree, AConvertedFileKeepsItsItemUnderItsNewName) {
  // The names are written as GB2312 and Big5 bytes: on disk as they are under a legacy locale.
  brambolt::ScopedSystemNameCodePage names(CP_ACP);
  OutputSession s;
  s.Write("Output_Eng/Htmls/" + Gb("中文.htm"), Page("gb2312", Gb("中文")));
  s.Write("Output_Eng/Htmls/style.css", "body {}");
  s.Create();
  Questions questions(IDYES);
  s.Select({"HTML Files", "style.css"});
  s.Command(ID_EXPLORER_GB_TO_BIG5);
  EXPECT_TRUE(Questions::Asked().empty());  // not a page: no question
  s.Select({"HTML Files", Gb("中文.htm").c_str()});
  s.Command(ID_EXPLORER_GB_TO_BIG5);
  HTREEITEM hItem = s.Find({"HTML Files", Big5("中文.htm").c_str()});
  ASSERT_NE(hItem, nullptr);
  EXPECT_EQ(s.Read("Output_Eng/Htmls/" + Big5("中文.htm")), Page("big5", Big5("中文")));
  EXPECT_EQ(std::filesystem::path(Slashes(s.view.GetItemRecord(hItem)->m_strPath)).filename(), Big5("中文.htm"));
}

TEST(OutputTree, APageThatCannotBeWrittenKeepsItsTextAndItsNameAndTheUserIsTold) {
  OutputSession s;
  const std::string htmls = s.Write("Output_Eng/Htmls/" + Gb("中文.htm"), Page("gb2312", Gb("中文")));
  s.Create();
  Questions questions(IDYES);
  const std::string folder = std::filesystem::path(htmls).parent_path().string();
  brambolt::ScopedFileFaultHook full([&](brambolt::FileStep step, const std::string& path) {
    return step == brambolt::FileStep::Write && path.compare(0, folder.size() + 1, folder + "/") == 0 ? ENOSPC : 0;
  });
  s.Select({"HTML Files", Gb("中文.htm").c_str()});
  s.Command(ID_EXPLORER_GB_TO_BIG5);
  EXPECT_EQ(s.Read("Output_Eng/Htmls/" + Gb("中文.htm")), Page("gb2312", Gb("中文")));
  EXPECT_FALSE(s.Exists("Output_Eng/Htmls/" + Big5("中文.htm")));
  ASSERT_EQ(Questions::Asked().size(), 2u);  // the question, then why it failed
  EXPECT_NE(Questions::Asked()[1].find(Gb("中文.htm")), std::string::npos) << Questions::Asked()[1];
}

// A page that declares the code page it would be converted into is left as it is, and counted in
// the one message: converted twice, or in the wrong direction, no page is garbled.
TEST(OutputTree, APageAlreadyInTheTargetCodePageIsLeftAsItIsAndCounted) {
  OutputSession s;
  const std::string gb = Page("gb2312", Gb("类别名")), big5 = Page("big5", Big5("類別名"));
  s.Write("Output_Eng/Htmls/book/gb.htm", gb);
  s.Write("Output_Eng/Htmls/book/big5.htm", big5);
  s.Create();
  Questions questions(IDYES);
  s.Select({"HTML Files", "book"});
  s.Command(ID_EXPLORER_GB_TO_BIG5);
  EXPECT_EQ(s.Read("Output_Eng/Htmls/book/gb.htm"), big5);
  EXPECT_EQ(s.Read("Output_Eng/Htmls/book/big5.htm"), big5);
  ASSERT_EQ(Questions::Asked().size(), 2u);
  EXPECT_EQ(Questions::Asked()[1], "1 page(s) already declared charset=big5 and were left as they are.");
  for (const UINT command : {ID_EXPLORER_GB_TO_BIG5, ID_EXPLORER_GB_TO_BIG5}) {
    s.Select({"HTML Files", "book"});
    s.Command(command);
    EXPECT_EQ(Questions::Asked().back(), "2 page(s) already declared charset=big5 and were left as they are.");
  }
  s.Select({"HTML Files", "book", "gb.htm"});
  s.Command(ID_EXPLORER_GB_TO_BIG5);
  EXPECT_EQ(s.Read("Output_Eng/Htmls/book/gb.htm"), big5);
  s.Command(ID_EXPLORER_BIG5_TO_GB);
  EXPECT_EQ(s.Read("Output_Eng/Htmls/book/gb.htm"), gb);
  s.Command(ID_EXPLORER_BIG5_TO_GB);  // the wrong way now
  EXPECT_EQ(s.Read("Output_Eng/Htmls/book/gb.htm"), gb);
  EXPECT_EQ(Questions::Asked().back(), "1 page(s) already declared charset=gb2312 and were left as they are.");
}

// "HTML Files" converts every page under it, in folders never opened too; characters with no
// counterpart are counted in the one message.
TEST(OutputTree, TheHtmlFilesFolderConvertsEveryPageUnderItAndCountsCharactersWithoutCounterpart) {
  OutputSession s;
  s.Write("Output_Eng/Htmls/Index.htm", Page("gb2312", Gb("类别①【】")));
  s.Write("Output_Eng/Htmls/CView/CView.htm", Page("gb2312", Gb("中文硷")));
  s.Write("Output_Eng/Htmls/CView/Member Vars/m_n.htm", Page("gb2312", Gb("㈠㈡")));
  s.Create();
  Questions questions(IDYES);
  s.Select({"HTML Files"});
  s.Command(ID_EXPLORER_GB_TO_BIG5);
  // ① is in Big5's extension rows, which browsers read and code page 950 does not.
  EXPECT_EQ(s.Read("Output_Eng/Htmls/Index.htm"), Page("big5", Big5("類別") + "\xC6\xA1" + Big5("【】")));
  EXPECT_EQ(s.Read("Output_Eng/Htmls/CView/CView.htm"), Page("big5", Big5("中文□")));
  EXPECT_EQ(s.Read("Output_Eng/Htmls/CView/Member Vars/m_n.htm"), Page("big5", Big5("□□")));
  EXPECT_EQ(Questions::Asked(),
            (std::vector<std::string>{"Are you sure you want to convert the selection folder or file to Big5?",
                                      "3 character(s) had no counterpart in Big5 and became white squares."}));
  EXPECT_NE(s.Find({"HTML Files", "CView", "CView.htm"}), nullptr);
}

// On a full disk the run stops at the first page it cannot write, every page stays whole, and
// one message says which, why, and how many pages were and were not converted.
TEST(OutputTree, AFolderConvertedOnAFullDiskStopsAndSaysSoOnce) {
  OutputSession s;
  for (int i = 0; i < 3; ++i)
    s.Write("Output_Eng/Htmls/book/top" + std::to_string(i) + ".htm", Page("gb2312", Gb("中文")));
  for (int i = 0; i < 25; ++i)
    s.Write("Output_Eng/Htmls/book/full/p" + std::to_string(i) + ".htm", Page("gb2312", Gb("中文")));
  s.Create();
  Questions questions(IDYES);
  const std::string full = s.shell.root / "Output_Eng/Htmls/book/full/";
  brambolt::ScopedFileFaultHook fault([&](brambolt::FileStep step, const std::string& path) {
    return step == brambolt::FileStep::Write && path.compare(0, full.size(), full) == 0 ? ENOSPC : 0;
  });
  s.Select({"HTML Files", "book"});
  s.Command(ID_EXPLORER_GB_TO_BIG5);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(s.Read("Output_Eng/Htmls/book/top" + std::to_string(i) + ".htm"), Page("big5", Big5("中文")));
  for (int i = 0; i < 25; ++i)
    EXPECT_EQ(s.Read("Output_Eng/Htmls/book/full/p" + std::to_string(i) + ".htm"), Page("gb2312", Gb("中文")));
  ASSERT_EQ(Questions::Asked().size(), 2u);
  const std::string& told = Questions::Asked()[1];
  EXPECT_EQ(told.rfind("Converting stopped at ", 0), 0u) << told;
  EXPECT_NE(told.find("Disk full"), std::string::npos) << told;
  EXPECT_NE(told.find("3 page(s) were converted to Big5, 25 were not."), std::string::npos) << told;
}

// A converted page names its new code page where it named the old one, so a browser reads it;
// converted back, it is the page it was.
TEST(OutputTree, AConvertedPageNamesItsNewCodePage) {
  OutputSession s;
  const auto page = [](const std::string& lower, const std::string& upper, const std::string& chinese) {
    return "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + lower + "\">\r\n" +
           "<META CONTENT=\"TEXT/HTML; CHARSET=" + upper + "\">\r\n<p>" + chinese +
           " charset=gb2312x charset=big5-hkscs</p>\r\n";
  };
  const std::string gb = page("gb2312", "GB2312", Gb("中文"));
  s.Write("Output_Eng/Htmls/page.htm", gb);
  s.Create();
  Questions questions(IDYES);
  s.Select({"HTML Files", "page.htm"});
  s.Command(ID_EXPLORER_GB_TO_BIG5);
  EXPECT_EQ(s.Read("Output_Eng/Htmls/page.htm"), page("big5", "BIG5", Big5("中文")));
  s.Command(ID_EXPLORER_BIG5_TO_GB);
  EXPECT_EQ(s.Read("Output_Eng/Htmls/page.htm"), gb);
}

// A page is converted from the code page its head declares, in each form HTML allows, and then
// declares the new one in the same form; converted again, it is left as it is; converted back, it
// is the page it was.
TEST(OutputTree, APageIsConvertedFromTheCharsetItDeclaresInAnyForm) {
  OutputSession s;
  const auto page = [](const std::string& head, const std::string& charset, const std::string& text) {
    const size_t at = head.find('@');
    return "<html><head>" + head.substr(0, at) + charset + head.substr(at + 1) + "</head>\r\n<p>" + text +
           "</p></html>\r\n";
  };
  const std::vector<std::string> heads = {
      "<meta charset=\"@\">", "<meta charset=@>", "<META CHARSET='@'>",
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset = @\">",
      "<meta http-equiv=\"Content-Type\" content='text/html; charset=\"@\"'>"};
  for (size_t i = 0; i < heads.size(); ++i)
    s.Write("Output_Eng/Htmls/forms/p" + std::to_string(i) + ".htm", page(heads[i], "gb2312", Gb("中文①")));
  s.Create();
  Questions questions(IDYES);
  s.Select({"HTML Files", "forms"});
  s.Command(ID_EXPLORER_GB_TO_BIG5);
  EXPECT_EQ(Questions::Asked().size(), 1u);  // the question only: every page converted
  for (size_t i = 0; i < heads.size(); ++i) {
    EXPECT_EQ(s.Read("Output_Eng/Htmls/forms/p" + std::to_string(i) + ".htm"),
              page(heads[i], "big5", Big5("中文") + "\xC6\xA1"))
        << heads[i];
  }
  s.Select({"HTML Files", "forms"});
  s.Command(ID_EXPLORER_GB_TO_BIG5);
  EXPECT_EQ(Questions::Asked().back(), "5 page(s) already declared charset=big5 and were left as they are.");
  s.Select({"HTML Files", "forms"});
  s.Command(ID_EXPLORER_BIG5_TO_GB);
  for (size_t i = 0; i < heads.size(); ++i)
    EXPECT_EQ(s.Read("Output_Eng/Htmls/forms/p" + std::to_string(i) + ".htm"),
              page(heads[i], "gb2312", Gb("中文①")))
        << heads[i];
}

// A page in UTF-8, in another charset, or declaring none in an English project is no page of
// GB2312 or Big5: either conversion leaves its bytes as they are and counts it.
TEST(OutputTree, APageInAnotherCharsetIsLeftAsItIsAndCounted) {
  OutputSession s;
  const std::string utf8 = "<html><head><meta charset=\"utf-8\"></head>\r\n<p>中文 主页 視窗</p></html>\r\n";
  const std::string latin = Page("iso-8859-1", "Cr\xE9\xE9 la fen\xEAtre");
  const std::string none = "<p>" + Gb("中文") + "</p>\r\n";
  const std::string book = "Output_Eng/Htmls/book/";
  s.Write(book + "utf8.htm", utf8);
  s.Write(book + "latin.htm", latin);
  s.Write(book + "none.htm", none);
  s.Write(book + "gb.htm", Page("gb2312", Gb("中文")));
  s.Create();
  Questions questions(IDYES);
  const struct {
    UINT nCommand;
    std::string page;
    std::string told;
  } runs[] = {{ID_EXPLORER_GB_TO_BIG5, Page("big5", Big5("中文")),
               "3 page(s) were in another charset than gb2312 and were left as they are."},
              {ID_EXPLORER_BIG5_TO_GB, Page("gb2312", Gb("中文")),
               "3 page(s) were in another charset than big5 and were left as they are."}};
  for (const auto& run : runs) {
    s.Select({"HTML Files", "book"});
    s.Command(run.nCommand);
    EXPECT_EQ(s.Read(book + "utf8.htm"), utf8);
    EXPECT_EQ(s.Read(book + "latin.htm"), latin);
    EXPECT_EQ(s.Read(book + "none.htm"), none);
    EXPECT_EQ(s.Read(book + "gb.htm"), run.page);
    EXPECT_EQ(Questions::Asked().back(), run.told);
  }
}

// A page that declares no charset is in the project's: a GB2312 project's is converted to Big5, a
// Big5 project's to GB2312, and neither the other way.
TEST(OutputTree, APageThatDeclaresNoCharsetIsInTheProjects) {
  const struct {
    int nLanguage;
    const char* folder;
    std::string text;
    UINT nConverts;
    std::string converted;
    UINT nLeaves;
  } projects[] = {
      {LANGUAGE_CHS, "Output_Chs", Gb("中文"), ID_EXPLORER_GB_TO_BIG5, Big5("中文"), ID_EXPLORER_BIG5_TO_GB},
      {LANGUAGE_CHT, "Output_GB5", Big5("中文"), ID_EXPLORER_BIG5_TO_GB, Gb("中文"), ID_EXPLORER_GB_TO_BIG5}};
  for (const auto& project : projects) {
    OutputSession s;
    s.shell.workspace.m_nOutputLanguage = project.nLanguage;
    const std::string path = std::string(project.folder) + "/Htmls/page.htm";
    s.Write(path, "<p>" + project.text + "</p>\r\n");
    s.Create();
    Questions questions(IDYES);
    s.Select({"HTML Files", "page.htm"});
    s.Command(project.nLeaves);
    EXPECT_EQ(s.Read(path), "<p>" + project.text + "</p>\r\n") << project.folder;
    s.Command(project.nConverts);
    EXPECT_EQ(s.Read(path), "<p>" + project.converted + "</p>\r\n") << project.folder;
  }
}

// A page named in GB2312 gets its name in Big5; one named in UTF-8 keeps a UTF-8 name, its
// characters converted as the links to it in the converted pages are, so they still lead to it.
// So under a legacy locale (names are the program's bytes) and under UTF-8 ones whatever the
// program's code page: there the GB2312 name reaches the program as its bytes and the UTF-8 one
// as the code page spells it, where it can.
TEST(OutputTree, PageNamesInGB2312AndInUtf8FollowTheLinksToThem) {
  for (const char* locale : {"C", "zh_CN.GB2312", "C.UTF-8", "zh_CN.UTF-8", "zh_TW.UTF-8"}) {
    SCOPED_TRACE(locale);
    brambolt::ScopedLocale names(locale);
    OutputSession s;
    const std::string htmls = "Output_Eng/Htmls/";
    s.Write(htmls + "主页.htm", Page("gb2312", Gb("主页")));
    s.Write(htmls + "café.htm", Page("gb2312", Gb("主页")));  // reads in GB2312 too, as "caf茅"
    s.Write(htmls + Gb("目录.htm"), Page("gb2312", "<a href=\"" + Gb("主页.htm") + "\">" + Gb("主页") + "</a>"));
    // Links with the names' bytes percent-escaped, as browsers and editors write them.
    const auto links = [](const std::string& home, const std::string& contents, bool bWholeCharacters = false) {
      return "<a href=\"" + Escaped(home, bWholeCharacters) + ".htm\">1</a> <A HREF='" +
             Escaped(contents, bWholeCharacters) + ".htm#top'>2</A> <a href=\"http://example.com/" +
             Escaped(contents) + ".htm\">3</a>";
    };
    s.Write(htmls + "links.htm", Page("gb2312", links("主页", Gb("目录"))));
    // A Big5 page whose link leaves the trail byte of 窗 (A466, "f") as itself, as a browser does.
    const std::string window = "<a href=\"" + Escaped(Big5("視窗口")) + ".htm\">4</a>";
    ASSERT_NE(window.find("%A4f.htm"), std::string::npos);
    s.Write(htmls + "window.htm", Page("big5", window));
    s.Create();
    Questions questions(IDYES);
    s.Select({"HTML Files"});
    s.Command(ID_EXPLORER_GB_TO_BIG5);
    EXPECT_EQ(s.Read(htmls + "主頁.htm"), Page("big5", Big5("主頁")));
    EXPECT_FALSE(s.Exists(htmls + "主页.htm"));
    EXPECT_EQ(s.Read(htmls + "café.htm"), Page("big5", Big5("主頁")));
    // The link names the page as the file system does: 主頁.htm, in the page's code page.
    EXPECT_EQ(s.Read(htmls + Big5("目錄.htm")),
              Page("big5", "<a href=\"" + Big5("主頁.htm") + "\">" + Big5("主頁") + "</a>"));
    EXPECT_FALSE(s.Exists(htmls + Gb("目录.htm")));
    // Escaped links name the renamed pages; one to another site is left alone.
    const std::string converted = links("主頁", Big5("目錄"), true);
    EXPECT_EQ(s.Read(htmls + "links.htm"),
              Page("big5", converted.substr(0, converted.find("http")) + "http://example.com/" + Escaped(Gb("目录")) +
                               ".htm\">3</a>"));
    // The page converted on its own keeps its item, under the name the program lists it by.
    const std::string home = brambolt::ProgramNameOf("主頁.htm"), back = brambolt::ProgramNameOf("主页.htm");
    s.Select({"HTML Files", home.c_str()});
    s.Command(ID_EXPLORER_BIG5_TO_GB);
    const HTREEITEM hHome = s.Find({"HTML Files", back.c_str()});
    ASSERT_NE(hHome, nullptr);
    EXPECT_EQ(std::filesystem::path(Slashes(s.view.GetItemRecord(hHome)->m_strPath)).filename(), back);
    EXPECT_EQ(s.Read(htmls + "主页.htm"), Page("gb2312", Gb("主页")));
    s.Select({"HTML Files"});
    s.Command(ID_EXPLORER_BIG5_TO_GB);
    EXPECT_EQ(s.Read(htmls + Gb("目录.htm")),
              Page("gb2312", "<a href=\"" + Gb("主页.htm") + "\">" + Gb("主页") + "</a>"));
    EXPECT_FALSE(s.Exists(htmls + "主頁.htm"));
    EXPECT_NE(s.Find({"HTML Files", back.c_str()}), nullptr);
    EXPECT_EQ(s.Read(htmls + "links.htm"), Page("gb2312", links("主页", Gb("目录"))));
    // The link is read as the bytes it names: 视窗口.htm.
    EXPECT_EQ(s.Read(htmls + "window.htm"), Page("gb2312", "<a href=\"" + Escaped(Gb("视窗口")) + ".htm\">4</a>"));
  }
}

// The files the escaped links of a page name (href and src), each path unescaped, relative to the
// page's folder.
std::vector<std::string> EscapedLinkTargets(const std::string& page) {
  std::vector<std::string> targets;
  for (size_t at = page.find("=\""); at != std::string::npos; at = page.find("=\"", at + 1)) {
    if (page.compare(at - 4, 4, "href") != 0 && page.compare(at - 3, 3, "src") != 0) continue;
    const size_t begin = at + 2;
    std::string target;
    for (size_t i = begin; i < page.size() && page[i] != '"'; ++i) {
      unsigned int byte = 0;
      if (page[i] == '%' && std::sscanf(page.c_str() + i + 1, "%2X", &byte) == 1) {
        target += static_cast<char>(byte);
        i += 2;
      } else {
        target += page[i];
      }
    }
    targets.push_back(target);
  }
  return targets;
}

// Converted to Big5 from the output tree (right-click, Convert Code From GB to Big5, Yes), every
// escaped link of the converted pages still leads to a page: to one the conversion renamed under
// its new name; to one it could not rename (許 ends in the byte of "\", which no file name may
// hold) under its old one; through a folder, which no conversion renames, under the folder's name;
// and a picture's, which the conversion leaves as it is, to the picture.
TEST(OutputTree, EscapedLinksLeadToTheirPagesWhatTheConversionCouldRename) {
  for (const char* locale : {"C", "zh_CN.GB2312", "zh_CN.UTF-8"}) {
    SCOPED_TRACE(locale);
    brambolt::ScopedLocale names(locale);
    OutputSession s;
    const std::string htmls = "Output_Eng/Htmls/";
    s.Write(htmls + Gb("主页.htm"), Page("gb2312", Gb("主页")));
    s.Write(htmls + Gb("许可.htm"), Page("gb2312", Gb("许可")));
    s.Write(htmls + Gb("类/类.htm"), Page("gb2312", Gb("类")));
    s.Write(htmls + Gb("Image2/类.bmp"), "BM");
    const auto link = [](const std::string& path) { return "<a href=\"" + Escaped(path) + "\">x</a> "; };
    s.Write(htmls + "links.htm",
            Page("gb2312", link(Gb("主页.htm")) + link(Gb("许可.htm")) + link(Gb("类/类.htm")) + "<img src=\"" +
                               Escaped(Gb("Image2/类.bmp")) + "\">"));
    s.Create();
    Questions questions(IDYES);
    brambolt::test::ModalAnswers answers;
    answers.When("#32768", nullptr, [](HWND) { brambolt::test::PressKey('G'); });
    brambolt::test::Click(s.view.m_hWnd, explorertest::LabelPoint(s.view, s.Find({"HTML Files"})),
                          brambolt::test::kNone, WM_RBUTTONDOWN);
    brambolt::test::RunUntilIdle();
    const std::string links = s.Read(htmls + "links.htm");
    ASSERT_NE(links.find("charset=big5\""), std::string::npos) << links;
    EXPECT_TRUE(s.Exists(htmls + Big5("主頁.htm")));
    EXPECT_TRUE(s.Exists(htmls + Gb("许可.htm")));
    const std::vector<std::string> targets = EscapedLinkTargets(links);
    ASSERT_EQ(targets.size(), 4u) << links;
    for (const std::string& target : targets) EXPECT_TRUE(s.Exists(htmls + target)) << links;
    // And back to GB2312 (Convert Code From Big5 to GB): the pages have their names again, and the
    // links lead to them.
    answers.When("#32768", nullptr, [](HWND) { brambolt::test::PressKey('B'); });
    brambolt::test::Click(s.view.m_hWnd, explorertest::LabelPoint(s.view, s.Find({"HTML Files"})),
                          brambolt::test::kNone, WM_RBUTTONDOWN);
    brambolt::test::RunUntilIdle();
    const std::string back = s.Read(htmls + "links.htm");
    ASSERT_NE(back.find("charset=gb2312\""), std::string::npos) << back;
    for (const std::string& name : {Gb("主页.htm"), Gb("许可.htm"), Gb("类/类.htm"), Gb("Image2/类.bmp")})
      EXPECT_TRUE(s.Exists(htmls + name)) << brambolt::AnsiToUtf8(name, 936);
    EXPECT_FALSE(s.Exists(htmls + Big5("主頁.htm")));
    const std::vector<std::string> backTargets = EscapedLinkTargets(back);
    ASSERT_EQ(backTargets.size(), 4u) << back;
    for (const std::string& target : backTargets) EXPECT_TRUE(s.Exists(htmls + target)) << back;
  }
}

// A folder converted, or renamed, is refilled from disk but stays where it was among its
// siblings, and stays selected.
TEST(OutputTree, AConvertedOrRenamedFolderKeepsItsPlaceAndItsSelection) {
  OutputSession s;
  for (const char* folder : {"alpha", "book", "zeta"}) s.Write("Output_Eng/Htmls/" + std::string(folder) + "/page.htm", Gb("中文"));
  s.Create();
  Questions questions(IDYES);
  brambolt::test::ModalAnswers answers;
  std::string shown;
  AnswerRename(answers, "bookcase", &shown);
  const std::pair<UINT, const char*> steps[] = {
      {ID_EXPLORER_GB_TO_BIG5, "book"}, {ID_EXPLORER_BIG5_TO_GB, "book"}, {ID_EXPLORER_RENAME, "bookcase"}};
  for (const auto& [command, name] : steps) {
    s.Select({"HTML Files", "book"});
    s.Command(command);
    const HTREEITEM hPages = s.Find({"HTML Files"});
    EXPECT_EQ(explorertest::TextsOf(s.view, hPages), (std::vector<std::string>{"alpha", name, "zeta"})) << command;
    EXPECT_EQ(s.view.GetSelectedItem(), s.Find({"HTML Files", name})) << command;
  }
  EXPECT_EQ(s.Read("Output_Eng/Htmls/bookcase/page.htm"), Gb("中文"));
}

TEST(OutputTree, OpenSendsPicturesToThePictureViewAndOtherFilesToTheShell) {
  OutputSession s;
  WriteOutput(s, "Eng");
  const std::string marker = s.shell.root / "opened";
  const std::string opener = s.Write("open.sh", "#!/bin/sh\necho \"$1\" > '" + marker + "'\n");
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  brambolt::SetShellAssociation(".htm", opener);
  s.Create();
  s.Select({"HTML Files"});
  s.Command(ID_EXPLORER_OPEN);  // a folder opens nothing
  s.Select({"Diagrams", "chart.bmp"});
  s.view.SetFocus();
  brambolt::test::PressKey(VK_RETURN);
  brambolt::test::DoubleClick(s.view.m_hWnd, explorertest::LabelPoint(s.view, s.Find({"top.htm"})));
  // The script makes the file before it writes the line: wait for the line.
  ASSERT_TRUE(apptest::PumpUntil([&] { return s.shell.root.Read("opened").find('\n') != std::string::npos; }));
  brambolt::ResetShellAssociations();
  EXPECT_EQ(s.view.pictures, (std::vector<std::string>{s.shell.root / "Output_Eng/Htmls/Image2/chart.bmp"}));
  EXPECT_EQ(s.shell.root.Read("opened"), s.shell.root / "Output_Eng/top.htm\n");
}

// Right-clicks an item and reads its context menu: each entry's id and whether it is grayed.
std::vector<std::pair<UINT, bool>> ContextMenu(OutputSession& s, HTREEITEM hItem) {
  std::vector<std::pair<UINT, bool>> entries;
  brambolt::test::ModalAnswers answers;
  answers.When("#32768", nullptr, [&](HWND menu) {
    HMENU popup = reinterpret_cast<HMENU>(::SendMessage(menu, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
      const UINT id = ::GetMenuItemID(popup, i);
      if (id != 0) entries.emplace_back(id, (::GetMenuState(popup, i, MF_BYPOSITION) & MF_GRAYED) != 0);
    }
    brambolt::test::PressKey(VK_ESCAPE);
  });
  brambolt::test::Click(s.view.m_hWnd, explorertest::LabelPoint(s.view, hItem), brambolt::test::kNone, WM_RBUTTONDOWN);
  return entries;
}

TEST(OutputTree, TheContextMenuGraysWhatTheClickedItemCannotDo) {
  OutputSession s;
  WriteOutput(s, "Eng");
  s.Create();
  s.view.Expand(s.Find({"HTML Files"}), TVE_EXPAND);
  const std::vector<UINT> ids = {ID_EXPLORER_NEW_FOLDER, ID_EXPLORER_ADD_FILES, ID_EXPLORER_COPY_LIVE_FOLDER,
                                 ID_EXPLORER_OPEN,       ID_EXPLORER_RENAME,    ID_EXPLORER_GB_TO_BIG5,
                                 ID_EXPLORER_BIG5_TO_GB, ID_EXPLORER_REMOVE,    ID_EXPLORER_REFRESH,
                                 ID_EXPLORER_PROPERTIES};
  auto grayed = [&](const std::vector<std::pair<UINT, bool>>& entries) {
    std::vector<UINT> out;
    for (const auto& [id, bGrayed] : entries)
      if (bGrayed) out.push_back(id);
    return out;
  };
  const auto folder = ContextMenu(s, s.Find({"HTML Files", "classes"}));
  ASSERT_EQ(folder.size(), ids.size());
  for (size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(folder[i].first, ids[i]);
  EXPECT_EQ(grayed(folder), std::vector<UINT>{ID_EXPLORER_OPEN});
  EXPECT_EQ(grayed(ContextMenu(s, s.Find({"HTML Files", "index.htm"}))),
            (std::vector<UINT>{ID_EXPLORER_NEW_FOLDER, ID_EXPLORER_ADD_FILES, ID_EXPLORER_COPY_LIVE_FOLDER}));
  // The root and "Diagrams" have no menu of their own.
  EXPECT_TRUE(ContextMenu(s, s.view.GetRootItem()).empty());
  EXPECT_TRUE(ContextMenu(s, s.Find({"Diagrams"})).empty());
}

// A refresh reads the folders the user sees: a class folder's pages are read when it is first
// opened, and then show as they are on disk then, its own folders again to be opened.
TEST(OutputTree, AFolderIsReadWhenFirstOpenedAndShowsItsPages) {
  OutputSession s;
  WriteOutput(s, "Eng");
  s.Create();
  HTREEITEM hClasses = s.Find({"HTML Files", "classes"});
  ASSERT_NE(hClasses, nullptr);
  EXPECT_EQ(s.view.GetChildItem(hClasses), nullptr) << "not read before it is opened";
  auto canOpen = [&s](HTREEITEM h) {
    TVITEM item{};
    item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = h;
    return s.view.GetItem(&item) && item.cChildren == 1;
  };
  EXPECT_TRUE(canOpen(hClasses)) << "but it shows it can be opened";
  s.Write("Output_Eng/Htmls/classes/CDoc.htm");
  s.view.Expand(hClasses, TVE_EXPAND);
  std::vector<std::string> children;
  for (HTREEITEM h = s.view.GetChildItem(hClasses); h != nullptr; h = s.view.GetNextSiblingItem(h))
    children.emplace_back(static_cast<LPCTSTR>(s.view.GetItemText(h)));
  std::sort(children.begin(), children.end());
  EXPECT_EQ(children, (std::vector<std::string>{"CDoc.htm", "CView.htm", "image2", "members"}));
  HTREEITEM hMembers = explorertest::ChildNamed(s.view, hClasses, "members");
  ASSERT_NE(hMembers, nullptr);
  EXPECT_EQ(s.view.GetChildItem(hMembers), nullptr);
  EXPECT_NE(s.Find({"HTML Files", "classes", "members", "OnDraw.htm"}), nullptr);
  // An empty folder, once opened, has nothing to open.
  s.Write("Output_Eng/Htmls/empty/.keep");
  s.Command(ID_EXPLORER_REFRESH);
  HTREEITEM hEmpty = s.Find({"HTML Files", "empty"});
  ASSERT_NE(hEmpty, nullptr);
  s.view.Expand(hEmpty, TVE_EXPAND);
  EXPECT_FALSE(canOpen(hEmpty));
}

// New Folder and Add Files on a folder never opened read it first: opened afterwards, it shows
// each item once, sorted, as the disk holds it; so does it after a conversion or a live-folder
// copy into it.
TEST(OutputTree, CommandsOnAFolderNeverOpenedShowEachItemOnce) {
  OutputSession s;
  WriteOutput(s, "Eng");
  TempDir source;
  const std::string added = source.Write("added.htm", "new page");
  source.Write("web/live.htm", "live page");
  s.Create();
  brambolt::test::ModalAnswers answers;
  AnswerNewFolder(answers, "api");
  AnswerOpen(answers, added);
  answers.When(nullptr, "Please select a folder", [&](HWND h) {
    ::SetDlgItemText(h, IDC_SOURCE_FOLDER, (source / "web").c_str());
    DlgCommand(h, IDOK);
  });
  Questions questions(IDYES);
  for (const UINT command :
       {ID_EXPLORER_NEW_FOLDER, ID_EXPLORER_ADD_FILES, ID_EXPLORER_GB_TO_BIG5, ID_EXPLORER_COPY_LIVE_FOLDER}) {
    s.Command(ID_EXPLORER_REFRESH);
    HTREEITEM hClasses = s.Find({"HTML Files", "classes"});
    ASSERT_NE(hClasses, nullptr);
    ASSERT_EQ(s.view.GetChildItem(hClasses), nullptr) << "not read yet";
    s.view.SelectItem(hClasses);
    s.Command(command);
    hClasses = s.Find({"HTML Files", "classes"});
    ASSERT_NE(hClasses, nullptr);
    s.view.Expand(hClasses, TVE_EXPAND);
    const std::vector<std::string> shown = explorertest::TextsOf(s.view, hClasses);
    if (command == ID_EXPLORER_NEW_FOLDER || command == ID_EXPLORER_ADD_FILES) {
      s.view.SortChildren(hClasses);
      EXPECT_EQ(explorertest::TextsOf(s.view, hClasses), shown) << "sorted, " << command;
    }
    std::vector<std::string> onDisk;
    for (const auto& entry : std::filesystem::directory_iterator(s.shell.root / "Output_Eng/Htmls/classes"))
      onDisk.push_back(entry.path().filename().string());
    std::vector<std::string> sorted = shown;
    std::sort(sorted.begin(), sorted.end());
    std::sort(onDisk.begin(), onDisk.end());
    EXPECT_EQ(sorted, onDisk) << command;
  }
  EXPECT_EQ(s.Read("Output_Eng/Htmls/classes/live.htm"), "live page");
}

TEST(OutputTree, AddedFilesAreCopiedInOnceAndSorted) {
  OutputSession s;
  WriteOutput(s, "Eng");
  TempDir source;
  const std::string added = source.Write("aaa.htm", "new page");
  s.Create();
  brambolt::test::ModalAnswers answers;
  AnswerOpen(answers, added);
  s.Select({"HTML Files"});
  s.Command(ID_EXPLORER_ADD_FILES);
  s.Command(ID_EXPLORER_ADD_FILES);  // copied over itself: still one item
  EXPECT_EQ(s.Read("Output_Eng/Htmls/aaa.htm"), "new page");
  HTREEITEM hPages = s.Find({"HTML Files"});
  HTREEITEM hFirst = s.view.GetChildItem(hPages);
  EXPECT_EQ(s.view.GetItemText(hFirst), "aaa.htm");
  EXPECT_NE(s.view.GetItemText(s.view.GetNextSiblingItem(hFirst)), "aaa.htm");
}

TEST(OutputTree, ALiveFolderIsCopiedInAndTheFolderShowsTheDisk) {
  OutputSession s;
  WriteOutput(s, "Eng");
  TempDir source;
  source.Write("web/page.htm", "p");
  source.Write("web/sub/inner.htm", "i");
  s.Create();
  brambolt::test::ModalAnswers answers;
  std::string location;
  answers.When(nullptr, "Please select a folder", [&](HWND h) {
    location = apptest::DlgText(h, IDC_CURRENT_LOCATION);
    ::SetDlgItemText(h, IDC_SOURCE_FOLDER, (source / "web").c_str());
    DlgCommand(h, IDOK);
  });
  s.Select({"HTML Files", "classes"});
  s.Command(ID_EXPLORER_COPY_LIVE_FOLDER);
  EXPECT_EQ(Slashes(location.c_str()), s.shell.root / "Output_Eng/Htmls/classes");
  EXPECT_EQ(s.Read("Output_Eng/Htmls/classes/sub/inner.htm"), "i");
  // The refilled folder went to the end of its siblings.
  HTREEITEM hLast = s.view.GetChildItem(s.Find({"HTML Files"}));
  while (s.view.GetNextSiblingItem(hLast) != nullptr) hLast = s.view.GetNextSiblingItem(hLast);
  EXPECT_EQ(s.view.GetItemText(hLast), "classes");
  EXPECT_NE(s.Find({"HTML Files", "classes", "page.htm"}), nullptr);
  EXPECT_NE(s.Find({"HTML Files", "classes", "sub", "inner.htm"}), nullptr);
}

// A file that cannot be copied and a link to a file are not brought in, nor the files of a folder
// that cannot be read or of a link to a folder: the command names each with its reason, in one
// message once the copy has ended; the other files are copied.
TEST(OutputTree, ALiveFolderCopyNamesTheFilesItDidNotBringIn) {
  OutputSession s;
  WriteOutput(s, "Eng");
  TempDir source;
  source.Write("web/page.htm", "p");
  source.Write("web/locked.htm", "l");
  source.Write("web/closed/inside.htm", "i");
  source.Write("elsewhere/far.htm", "f");
  std::filesystem::create_symlink(source / "web/page.htm", source / "web/link.htm");
  std::filesystem::create_directory_symlink(source / "elsewhere", source / "web/away");
  s.Create();
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Please select a folder", [&](HWND h) {
    ::SetDlgItemText(h, IDC_SOURCE_FOLDER, (source / "web").c_str());
    DlgCommand(h, IDOK);
  });
  const std::string locked = s.shell.root / "Output_Eng/Htmls/classes/locked.htm";
  const std::string closed = source / "web/closed/";
  brambolt::ScopedFileFaultHook refuse([&](brambolt::FileStep step, const std::string& path) {
    const bool refused = (step == brambolt::FileStep::Create && path == locked) ||
                         (step == brambolt::FileStep::List && path == closed);
    return refused ? EACCES : 0;
  });
  Questions told(IDOK);
  s.Select({"HTML Files", "classes"});
  s.Command(ID_EXPLORER_COPY_LIVE_FOLDER);
  EXPECT_EQ(s.Read("Output_Eng/Htmls/classes/page.htm"), "p");
  EXPECT_FALSE(s.Exists("Output_Eng/Htmls/classes/locked.htm"));
  EXPECT_FALSE(s.Exists("Output_Eng/Htmls/classes/link.htm"));
  ASSERT_EQ(Questions::Asked().size(), 1u);
  const std::string text = Questions::Asked()[0];
  EXPECT_FALSE(s.Exists("Output_Eng/Htmls/classes/closed/inside.htm"));
  EXPECT_FALSE(s.Exists("Output_Eng/Htmls/classes/away/far.htm"));
  EXPECT_EQ(text.rfind("2 file(s) and 2 folder(s) were not brought in:", 0), 0u) << text;
  EXPECT_NE(text.find("web\\closed: it cannot be read (Access is denied), so the files in it are not brought in."),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("web\\away: it is a link to a folder, which is not followed, so the files in it are not "
                      "brought in."),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("web\\link.htm: it is a symbolic link, which is not followed."), std::string::npos)
      << text;
  EXPECT_NE(text.find("web\\locked.htm: it could not be copied ("), std::string::npos) << text;
}

}  // namespace
