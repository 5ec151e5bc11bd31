// Resources through the framework: the string loader of CString, the framework's own strings,
// resource handles, and raw data coming back byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "AfxTestResources.h"
#include "afx/afx.h"

namespace {

TEST(FrameworkStrings, CStringLoadsFromTheProgramsTable) {
  CString text;
  EXPECT_TRUE(text.LoadString(IDS_GREETING));
  EXPECT_EQ(std::string(text), "Hello from the table");
  EXPECT_EQ(std::string(CString(MAKEINTRESOURCE(IDS_GREETING))), "Hello from the table");
}

TEST(FrameworkStrings, LongStringsComeBackWhole) {
  CString text;
  ASSERT_TRUE(text.LoadString(IDS_LONG_TEXT));
  EXPECT_EQ(text.GetLength(), 10 + 400);
  EXPECT_EQ(std::string(text).substr(0, 10), "Long text ");
  EXPECT_EQ(std::string(text).substr(400), "0123456789");
}

TEST(FrameworkStrings, MissingStringFailsAndEmpties) {
  CString text("before");
  EXPECT_FALSE(text.LoadString(4321));
  EXPECT_TRUE(text.IsEmpty());
}

TEST(FrameworkStrings, PlatformSuppliesTheFrameworksOwnStrings) {
  struct Case {
    UINT id;
    const char* text;
  };
  const Case cases[] = {{AFX_IDS_IDLEMESSAGE, "Ready"},
                        {ID_INDICATOR_OVR, "OVR"},
                        {ID_INDICATOR_CAPS, "CAP"},
                        {ID_INDICATOR_NUM, "NUM"},
                        {ID_INDICATOR_SCRL, "SCRL"},
                        {AFX_IDS_HIDE, "&Hide"},
                        {AFX_IDS_UNTITLED, "Untitled"}};
  for (const Case& c : cases) {
    CString text;
    EXPECT_TRUE(text.LoadString(c.id)) << c.id;
    EXPECT_EQ(std::string(text), c.text);
  }
  for (UINT prompt : {AFX_IDS_HELPMODEMESSAGE, AFX_IDP_PARSE_INT, AFX_IDP_FAILED_INVALID_FORMAT,
                      AFX_IDP_FAILED_INVALID_PATH, AFX_IDP_FAILED_DISK_FULL, AFX_IDP_FAILED_ACCESS_READ,
                      AFX_IDP_FAILED_ACCESS_WRITE}) {
    CString text;
    EXPECT_TRUE(text.LoadString(prompt)) << prompt;
  }
  CString path;
  path.LoadString(AFX_IDP_FAILED_INVALID_PATH);
  EXPECT_NE(path.Find("%1"), -1) << "file prompts take the file name as %1";
}

TEST(FrameworkIds, HaveTheFrameworksValues) {
  EXPECT_EQ(AFX_IDS_IDLEMESSAGE, 57345);
  EXPECT_EQ(ID_FILE_SAVE, 57603);
  EXPECT_EQ(ID_FILE_MRU_FILE1, 57616);
  EXPECT_EQ(ID_EDIT_CLEAR, 57632);
  EXPECT_EQ(ID_EDIT_REDO, 57644);
  EXPECT_EQ(ID_NEXT_PANE, 57680);
  EXPECT_EQ(ID_HELP, 57670);
  EXPECT_EQ(AFX_IDW_TOOLBAR, 59392);
  EXPECT_EQ(AFX_IDW_STATUS_BAR, 59393);
  EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, 59419);
  EXPECT_EQ(AFX_IDW_DOCKBAR_FLOAT, 59423);
  EXPECT_EQ(ID_INDICATOR_OVR, 59140);
  EXPECT_EQ(AFX_IDS_HIDE, 61457);
  EXPECT_EQ(AFX_IDP_FAILED_INVALID_FORMAT, 61728);
  EXPECT_EQ(AFX_IDP_FAILED_ACCESS_WRITE, 61732);
}

TEST(FrameworkResourceHandles, FindTheProgramsResources) {
  HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(IDR_RAW), RT_RCDATA);
  EXPECT_EQ(module, AfxGetResourceHandle());
  EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
  HRSRC info = FindResource(module, MAKEINTRESOURCE(IDR_RAW), RT_RCDATA);
  ASSERT_NE(info, nullptr);
  ASSERT_EQ(SizeofResource(module, info), 12u);
  const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, info)));
  const BYTE expected[] = {1, 0, 2, 0, 3, 0, 0, 0, 0xFF, 0xFF, 0x34, 0x12};
  EXPECT_TRUE(std::equal(bytes, bytes + 12, expected));
}

TEST(FrameworkResourceHandles, AnotherResourceHandleIsSearchedFirst) {
  static const HINSTANCE other = reinterpret_cast<HINSTANCE>(0x7000);
  AfxSetResourceHandle(other);
  EXPECT_EQ(AfxGetResourceHandle(), other);
  CString text;
  EXPECT_TRUE(text.LoadString(IDS_GREETING)) << "a module without resources falls back to the program";
  AfxSetResourceHandle(nullptr);
  EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
}

}  // namespace
