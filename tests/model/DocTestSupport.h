// Helpers of the documentation tests: a small analysed project, reading a written tree, and
// golden trees under tests/data/docs (BRAMBOLT_UPDATE_GOLDEN=1 rewrites them from the output).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "model/CWorkSpaceObj.h"
#include "model/DocumentationRun.h"
#include "ModelTestSupport.h"

namespace doc_test {

namespace fs = std::filesystem;

// Two classes with overloads, statics, a template-typed member, comments and every access.
inline const char* ShapesHeader() {
  return "// Shapes of the drawing.\n"
         "class CShape : public CObject\n"
         "{\n"
         "public:\n"
         "    CShape();\n"
         "    virtual ~CShape();\n"
         "    // draws the shape\n"
         "    virtual void Draw(CDC* pDC);\n"
         "    void Draw(CDC* pDC, int nScale);\n"
         "    BOOL IsEmpty() const;\n"
         "    static int GetCount();\n"
         "    CString m_strName;\n"
         "protected:\n"
         "    CRect m_rect;\n"
         "    static int m_nCount;\n"
         "private:\n"
         "    void SetName(LPCTSTR lpszName);\n"
         "    CArray<int,int> m_values;\n"
         "};\n"
         "\n"
         "class CCircle : public CShape\n"
         "{\n"
         "public:\n"
         "    CCircle(int nRadius);\n"
         "    int GetRadius() const;\n"
         "protected:\n"
         "    int m_nRadius;\n"
         "};\n";
}

// The number of threads the documentation run writes with, for the life of the object.
struct ScopedDocumentationThreads {
  explicit ScopedDocumentationThreads(int nThreads) { SetDocumentationThreads(nThreads); }
  ~ScopedDocumentationThreads() { SetDocumentationThreads(0); }
};

// A header of nClasses classes, each deriving from an earlier one, with members of every access.
inline std::string GeneratedHeader(int nClasses) {
  std::string text;
  const char* const access[] = {"public", "protected", "private"};
  for (int n = 0; n < nClasses; ++n) {
    text += "class CGen" + std::to_string(n) + (n == 0 ? std::string() : " : public CGen" + std::to_string(n / 3)) +
            "\n{\n";
    for (int m = 0; m < 4; ++m) {
      text += std::string(access[m % 3]) + ":\n";
      text += "  // Member " + std::to_string(m) + ".\n";
      text += "  " + std::string(m % 2 == 0 ? "virtual " : "") + "BOOL Get" + std::to_string(m) + "(int nIndex);\n";
      text += "  CString m_value" + std::to_string(m) + ";\n";
    }
    text += "};\n";
  }
  return text;
}

// A project folder (with its trailing separator) holding "Header Files\Shapes.h", analysed.
struct ShapesProject {
  model_test::TempFolder folder;
  CWorkSpaceObj project;
  CString strProjectFolder;

  explicit ShapesProject(const char* header = ShapesHeader()) {
    folder.Write("Header Files/Shapes.h", header);
    strProjectFolder = CString(folder.Path().c_str()) + "/";
    project.m_strProjectTitle = "Shapes & Lines";
    project.m_strDescription = "Classes <of> the drawing.";
    project.m_strCompany = "Mirelund";
    project.m_strHomePage = "http://example.org/";
    project.m_strEmail = "mail@example.org";
    project.AnalyseProjectFiles(strProjectFolder + "Header Files\\*.*");
  }
};

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A page's link as the file name it leads to: its "%XX" escapes as the bytes they stand for.
inline std::string LinkedFileName(const std::string& link) {
  std::string name;
  for (size_t i = 0; i < link.size(); ++i) {
    if (link[i] == '%' && i + 2 < link.size()) {
      name += static_cast<char>(std::stoi(link.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      name += link[i];
    }
  }
  return name;
}

// Every file below the folder whose name ends in one of the extensions, by relative path.
inline std::map<std::string, std::string> ReadTree(const fs::path& root, const std::vector<std::string>& extensions) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const std::string ext = entry.path().extension().string();
    bool bWanted = false;
    for (const std::string& wanted : extensions) bWanted = bWanted || ext == wanted;
    if (bWanted) files[fs::relative(entry.path(), root).generic_string()] = ReadFile(entry.path());
  }
  return files;
}

// The golden trees under tests/data/docs.
inline fs::path GoldenRoot() { return fs::path(BRAMBOLT_TEST_DATA_DIR) / "docs"; }

// Compares the files byte for byte with the golden tree of that name.
inline void ExpectGolden(const std::map<std::string, std::string>& files, const std::string& name) {
  const fs::path golden = GoldenRoot() / name;
  const char* update = std::getenv("BRAMBOLT_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    fs::remove_all(golden);
    for (const auto& [path, bytes] : files) {
      fs::create_directories((golden / path).parent_path());
      std::ofstream(golden / path, std::ios::binary) << bytes;
    }
  }
  std::map<std::string, std::string> expected;
  if (fs::exists(golden))
    for (const auto& entry : fs::recursive_directory_iterator(golden))
      if (entry.is_regular_file()) expected[fs::relative(entry.path(), golden).generic_string()] = ReadFile(entry.path());
  std::vector<std::string> writtenNames, expectedNames;
  for (const auto& file : files) writtenNames.push_back(file.first);
  for (const auto& file : expected) expectedNames.push_back(file.first);
  EXPECT_EQ(writtenNames, expectedNames) << "files of " << golden;
  for (const auto& [path, bytes] : expected) {
    auto it = files.find(path);
    if (it != files.end()) {
      EXPECT_EQ(it->second, bytes) << name << "/" << path;
    }
  }
}

}  // namespace doc_test
