// User tools: the archive form, a tool run in its initial folder with its arguments (a shell that
// writes them to a file), a tool that cannot start, and the page's list rules.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "bars/SECUserToolsPage.h"
#include "controls/FolderPicker.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

TEST(UserTool, ArchiveKeepsBothFlagsAndAllTexts) {
  SECUserTool tool;
  tool.m_dwFlags = 7;
  tool.m_strMenuText = "&Grep";
  tool.m_strCommand = "/usr/bin/grep";
  tool.m_strArgs = "-n main";
  tool.m_strInitialDir = "/tmp";
  tool.m_dwFlags2 = 0;
  CMemFile file;
  {
    CArchive out(&file, CArchive::store);
    out << &tool;
  }
  file.SeekToBegin();
  CObject* read = nullptr;
  {
    CArchive in(&file, CArchive::load);
    in >> read;
  }
  auto* back = dynamic_cast<SECUserTool*>(read);
  ASSERT_NE(nullptr, back);
  EXPECT_EQ(7u, back->m_dwFlags);
  EXPECT_EQ(CString("&Grep"), back->m_strMenuText);
  EXPECT_EQ(CString("/usr/bin/grep"), back->m_strCommand);
  EXPECT_EQ(CString("-n main"), back->m_strArgs);
  EXPECT_EQ(CString("/tmp"), back->m_strInitialDir);
  EXPECT_EQ(0u, back->m_dwFlags2);
  delete back;
}

TEST(UserTool, RunsInItsFolderWithItsArgumentsOrSaysItCannot) {
  UiSession session;
  PrivateStores stores;
  SECUserTool tool;
  tool.m_strCommand = "/bin/sh";
  tool.m_strArgs = "-c \"echo $0 $1 > args.txt\" first \"second word\"";
  tool.m_strInitialDir = stores.TempDir().c_str();
  ASSERT_TRUE(tool.Execute());
  const std::string out = stores.TempDir() + "/args.txt";
  std::string text;
  for (int i = 0; i < 400 && text.empty(); ++i) {
    std::ifstream in(out);
    std::getline(in, text);
    if (text.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_EQ("first second word", text);

  SECUserTool missing;
  missing.m_strCommand = (stores.TempDir() + "/no-such-tool").c_str();
  ModalAnswers answers;
  std::string message;
  answers.When("#32770", nullptr, [&](HWND box) {
    char buffer[256] = {};
    ::GetDlgItemText(box, 0xFFFF, buffer, sizeof(buffer));
    message = buffer;
    ::SendMessage(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_FALSE(missing.Execute());
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_NE(std::string::npos, message.find("no-such-tool")) << message;
}

TEST(UserTool, PageAddsUpToNineToolsMovesAndRemovesThemAndBrowsesForTheirFiles) {
  UiSession session;
  PrivateStores stores;
  const std::string program = stores.TempDir() + "/tool.sh";
  std::ofstream(program) << "#!/bin/sh\n";
  CTypedPtrArray<CObArray, SECUserTool*> tools;
  for (const char* name : {"One", "Two"}) {
    auto* tool = new SECUserTool;
    tool->m_strMenuText = name;
    tools.Add(tool);
  }
  SECUserToolsPage page(tools);
  CPropertySheet sheet("Customize");
  sheet.AddPage(&page);
  ModalAnswers answers;
  answers.When(nullptr, "Select Program", [&](HWND dialog) {
    ::SetDlgItemText(dialog, edt1, program.c_str());
    ::SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  std::string folderTitle;
  answers.When(nullptr, "Browse for Folder", [&](HWND dialog) {
    char text[64] = {};
    ::GetDlgItemText(dialog, IDC_BROWSE_TITLE, text, sizeof(text));
    folderTitle = text;
    ::SetDlgItemText(dialog, IDC_BROWSE_PATH, stores.TempDir().c_str());
    ::SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  answers.When(nullptr, "Customize", [&](HWND) {
    HWND hwnd = page.m_hWnd;
    auto command = [hwnd](UINT id) { ::SendMessage(hwnd, WM_COMMAND, id, reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, id))); };
    auto enabled = [hwnd](UINT id) { return ::IsWindowEnabled(::GetDlgItem(hwnd, id)) != FALSE; };
    EXPECT_FALSE(enabled(SECUserToolsPage::kMoveUp));
    EXPECT_TRUE(enabled(SECUserToolsPage::kMoveDown));
    ::SetDlgItemText(hwnd, SECUserToolsPage::kCommand, "/bin/true");
    command(SECUserToolsPage::kMoveDown);  // One goes below Two, its command kept
    EXPECT_TRUE(enabled(SECUserToolsPage::kMoveUp));
    EXPECT_FALSE(enabled(SECUserToolsPage::kMoveDown));
    for (int i = 0; i < 8; ++i) command(SECUserToolsPage::kNew);
    EXPECT_FALSE(enabled(SECUserToolsPage::kNew)) << "nine tools at most";
    ::SetDlgItemText(hwnd, SECUserToolsPage::kMenuText, "&Ninth");
    command(SECUserToolsPage::kRemove);  // the last goes, the new last is selected
    EXPECT_EQ(7, ::SendDlgItemMessage(hwnd, SECUserToolsPage::kList, LB_GETCURSEL, 0, 0));
    // The browse steps fill the program and the folder of the selected tool.
    command(SECUserToolsPage::kBrowseCommand);
    command(SECUserToolsPage::kBrowseDir);
    EXPECT_TRUE(enabled(SECUserToolsPage::kNew));
    ::SendMessage(::GetParent(hwnd), WM_COMMAND, IDOK, 0);
  });
  sheet.DoModal();
  ASSERT_EQ(8, tools.GetSize());
  EXPECT_EQ(CString("Two"), tools[0]->m_strMenuText);
  EXPECT_EQ(CString("One"), tools[1]->m_strMenuText);
  EXPECT_EQ(CString("/bin/true"), tools[1]->m_strCommand);
  EXPECT_EQ(CString("(new tool)"), tools[7]->m_strMenuText);
  EXPECT_EQ(CString(program.c_str()), tools[7]->m_strCommand);
  EXPECT_EQ("Select Initial Directory", folderTitle);
  EXPECT_EQ(0, tools[7]->m_strInitialDir.Find(stores.TempDir().c_str())) << tools[7]->m_strInitialDir;
  for (INT_PTR i = 0; i < tools.GetSize(); ++i) delete tools[i];
}

}  // namespace
