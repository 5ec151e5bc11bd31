// The documentation of one project is the same however the project was filled: by the New
// Project wizard, by reopening its project file, or by Insert Files. A header that defines a class
// twice (under different conditions) gives the two definitions the same pages every time.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "StartedApp.h"
#include "app/CNewWizDialog.h"
#include "model/CWorkSpaceObj.h"
#include "resources/AppResource.h"
#include "resources/ShellRes.h"
#include "resources/resource.h"

namespace {

namespace fs = std::filesystem;
using apptest::ReadText;
using apptest::StartedApp;
using apptest::TestApp;
using apptest::WriteText;

constexpr const char* kArrStr =
    "#if wxUSE_STD_CONTAINERS\n"
    "class wxArrayString : public wxArrayStringBase\n{\npublic:\n    void FromStd();\n};\n"
    "#else\n"
    "class wxArrayString\n{\npublic:\n    void Own();\n};\n"
    "#endif\n"
    "class wxSortedArrayString : public wxArrayString\n{\n};\n"
    "class wxCArrayString\n{\n};\n"
    "class wxArrayStringsAdapter\n{\n};\n";

// What a documentation run in the language gives: each class's page name with its first member
// function, and the class pages in the order the index lists them.
struct Documented {
  std::set<std::string> pages;
  std::vector<std::string> indexOrder;
  bool operator==(const Documented& other) const { return pages == other.pages && indexOrder == other.indexOrder; }
};

void PrintTo(const Documented& d, std::ostream* os) {
  *os << ::testing::PrintToString(d.pages) << " " << ::testing::PrintToString(d.indexOrder);
}

Documented Document(TestApp& app, int nLanguage, const char* lpszOutput) {
  CWorkSpaceObj& project = *app.m_pWorkSpace;
  const CString strHtmls = app.m_strProjectFolder + lpszOutput + "\\Htmls\\";
  project.GeneratePages(nLanguage, strHtmls, nullptr);
  Documented d;
  for (POSITION pos = project.m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = project.m_FileObjList.GetNext(pos);
    std::string page(pClass->FileName());
    if (!pClass->m_MemberFunctionList.IsEmpty()) page += " " + std::string(pClass->m_MemberFunctionList.GetHead()->m_strName);
    d.pages.insert(page);
  }
  const std::string index = ReadText(std::string(app.m_strProjectFolder) + lpszOutput + "/Htmls/Index.htm");
  for (size_t at = index.find("<a href=\""); at != std::string::npos; at = index.find("<a href=\"", at + 1)) {
    const std::string link = index.substr(at + 9, index.find('"', at + 9) - at - 9);
    if (link.find('/') != std::string::npos && link.rfind("http", 0) != 0) d.indexOrder.push_back(link);
  }
  return d;
}

// Answers the next Open dialog with the file.
void AnswerOpen(brambolt::test::ModalAnswers& answers, const std::string& path) {
  answers.When(nullptr, "Open", [path](HWND h) {
    ::SetDlgItemText(h, 0x480, path.c_str());
    ::SendMessage(h, WM_COMMAND, IDOK, 0);
  });
}

}  // namespace

TEST(DocumentationOrder, WizardReopenAndInsertFilesGiveTheSameClassesPagesAndOrder) {
  StartedApp s;
  TestApp& app = s.app;
  const std::string location = s.home.Folder("Projects");
  const std::string header = s.home.Folder("sources") + "/arrstr.h";
  WriteText(header, kArrStr);

  brambolt::test::ModalAnswers answers;
  AnswerOpen(answers, header);
  answers.When(nullptr, "New Project", [&](HWND h) {
    auto* wizard = dynamic_cast<CNewWizDialog*>(CWnd::FromHandle(h));
    ASSERT_NE(wizard, nullptr);
    const HWND p0 = wizard->GetActivePage()->GetSafeHwnd();
    ::SetDlgItemText(p0, IDC_PROJECT_NAME, "Strings");
    ::SetDlgItemText(p0, IDC_PROJECT_LOCATION, location.c_str());
    ::SendMessage(h, WM_COMMAND, ID_WIZNEXT, 0);
    ::SendMessage(h, WM_COMMAND, ID_WIZNEXT, 0);
    const HWND p2 = wizard->GetActivePage()->GetSafeHwnd();
    ::SendMessage(p2, WM_COMMAND, MAKEWPARAM(IDC_ADD_FILES, BN_CLICKED),
                  reinterpret_cast<LPARAM>(::GetDlgItem(p2, IDC_ADD_FILES)));
    ::SendMessage(h, WM_COMMAND, ID_WIZNEXT, 0);
    ::SendMessage(h, WM_COMMAND, ID_WIZFINISH, 0);
  });
  app.m_pMainWnd->SendMessage(WM_COMMAND, ID_NEW_PROJECT);
  ASSERT_TRUE(answers.Unanswered().empty());
  ASSERT_STREQ(app.m_strProjectName, "Strings");

  const Documented wizard = Document(app, LANGUAGE_ENG, "Output_Eng");
  EXPECT_EQ(wizard.pages, (std::set<std::string>{"wxArrayString FromStd", "wxArrayString(0) Own", "wxSortedArrayString",
                                                  "wxCArrayString", "wxArrayStringsAdapter"}));
  EXPECT_EQ(wizard.indexOrder,
            (std::vector<std::string>{"wxArrayString/wxArrayString.htm", "wxArrayString(0)/wxArrayString(0).htm",
                                      "wxSortedArrayString/wxSortedArrayString.htm",
                                      "wxCArrayString/wxCArrayString.htm",
                                      "wxArrayStringsAdapter/wxArrayStringsAdapter.htm"}));
  EXPECT_EQ(Document(app, LANGUAGE_CHS, "Output_Chs"), wizard) << "in another language";

  const std::string file = std::string(app.m_strProjectFolder) + "Strings.dcp";
  app.OnSaveProject();
  app.OnCloseProject();
  app.OpenProject(file.c_str());
  ASSERT_STREQ(app.m_strProjectName, "Strings");
  EXPECT_EQ(Document(app, LANGUAGE_ENG, "Output_Eng"), wizard) << "after reopening";
  EXPECT_EQ(Document(app, LANGUAGE_CHS, "Output_Chs"), wizard) << "after reopening, in another language";

  // A header inserted later adds its class after the others.
  const std::string later = s.home.Folder("sources") + "/zlater.h";
  WriteText(later, "class wxLater\n{\n};\n");
  AnswerOpen(answers, later);
  app.m_pMainWnd->SendMessage(WM_COMMAND, ID_INSERT_FILES);
  ASSERT_TRUE(answers.Unanswered().empty());
  Documented inserted = Document(app, LANGUAGE_ENG, "Output_Eng");
  EXPECT_EQ(inserted.pages.erase("wxLater"), 1u);
  ASSERT_FALSE(inserted.indexOrder.empty());
  EXPECT_EQ(inserted.indexOrder.back(), "wxLater/wxLater.htm");
  inserted.indexOrder.pop_back();
  EXPECT_EQ(inserted, wizard) << "after Insert Files";
}
