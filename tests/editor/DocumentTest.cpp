// The source-file document: language by extension, open, edit and save with the modified mark,
// and the watch on disk that follows saves and Save As and reports changes made by others.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <thread>

#include "RecordedBoxes.h"
#include "TestLanguage.h"
#include "afx/CWinApp.h"
#include "editor/app/GWExtAppServices.h"
#include "editor/doc/CEditCodeDoc.h"
#include "testing/UiTest.h"

namespace {

class TestServices : public GWExtAppServices {
 public:
  BOOL LookupExtension(LPCTSTR extension, CString& language) override {
    const CString ext = extension;
    if (ext == ".cpp" || ext == ".h") language = "C";
    else if (ext == ".idl") language = "IDL";
    else return FALSE;
    return TRUE;
  }
};

class CountingDoc : public CEditCodeDoc {
 public:
  void OnFileChangedOnDisk() override {
    ++reports;
    CEditCodeDoc::OnFileChangedOnDisk();
  }
  int reports = 0;
};

class DocumentTest : public ::testing::Test {
 protected:
  DocumentTest() : c("C"), idl("IDL"), def("Default"), scope({&c, &idl, &def}) {
    previous = GWExtSetAppServices(&services);
  }
  ~DocumentTest() override { GWExtSetAppServices(previous); }

  std::string Path(const char* name) const { return stores.TempDir() + "/" + name; }
  std::string MakeFile(const char* name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static CString Language(CEditCodeDoc& doc) {
    CString name;
    doc.GetEdit()->GetLanguageName(&name);
    return name;
  }
  // Runs the loop until the document saw a change on disk (ten seconds at most).
  static bool WaitForChange(CEditCodeDoc& doc) {
    for (int i = 0; i < 1000 && !doc.IsChangedOnDisk(); ++i) {
      brambolt::test::RunUntilIdle();
      if (!doc.IsChangedOnDisk()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return doc.IsChangedOnDisk();
  }
  static void Shell(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

  brambolt::test::UiSession session;
  brambolt::test::PrivateStores stores;
  CWinApp app{"Document Test"};
  TestServices services;
  GWExtAppServices* previous = nullptr;
  editortest::TestLanguage c, idl, def;
  editortest::LanguageScope scope;
};

TEST_F(DocumentTest, LanguageFollowsTheExtensionInLowerCase) {
  const struct {
    const char* path;
    const char* language;
  } cases[] = {{"/src/main.CPP", "C"}, {"dir\\x.h", "C"}, {"a.idl", "IDL"}, {"notes.txt", "Default"},
               {"Makefile", "Default"}, {"some.dir/file", "Default"}};
  for (const auto& k : cases) EXPECT_EQ(CEditCodeDoc::LanguageForPath(k.path), k.language) << k.path;
}

TEST_F(DocumentTest, OpenEditSaveKeepsLineEndsAndMarksTheTitle) {
  const std::string path = MakeFile("main.CPP", "int a;\r\nint b;\r\n");
  CountingDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
  EXPECT_EQ(Language(doc), "C");
  EXPECT_TRUE(doc.IsWatched(path.c_str()));
  doc.SetTitle("main.CPP");
  EXPECT_EQ(doc.GetTitle(), "main.CPP");

  doc.GetEdit()->InsertTextAt(1, 0, "long ", 5);
  EXPECT_TRUE(doc.IsModified());
  doc.SetTitle("main.CPP");
  EXPECT_EQ(doc.GetTitle(), "main.CPP*");

  ASSERT_TRUE(doc.DoSave(path.c_str(), TRUE));
  EXPECT_EQ(ReadFile(path), "int a;\r\nlong int b;\r\n");
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(doc.IsWatched(path.c_str()));

  // The save itself is not reported; a change by another program after it is, once.
  Shell("printf '// more\\r\\n' >> '" + path + "'");
  ASSERT_TRUE(WaitForChange(doc));
  EXPECT_EQ(doc.reports, 1);

  // A failed open (reported in a message box) clears the flag and starts no watch.
  brambolt::test::ModalAnswers answers;
  answers.When("#32770", nullptr, [](HWND box) { ::EndDialog(box, IDOK); });
  CEditCodeDoc missing;
  missing.SetChangedOnDisk(TRUE);
  EXPECT_FALSE(missing.OnOpenDocument(Path("none.cpp").c_str()));
  EXPECT_FALSE(missing.IsChangedOnDisk());
  EXPECT_FALSE(missing.IsRunning());
}

TEST_F(DocumentTest, SaveAsMovesTheWatchAndTheLanguage) {
  const std::string oldPath = MakeFile("shapes.cpp", "class A {};\n");
  const std::string newPath = Path("shapes.idl");
  CountingDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(oldPath.c_str()));
  ASSERT_TRUE(doc.DoSave(newPath.c_str(), TRUE));
  EXPECT_EQ(Language(doc), "IDL");
  EXPECT_EQ(doc.GetWatchedPath(), newPath.c_str());
  EXPECT_FALSE(doc.IsWatched(oldPath.c_str()));
  EXPECT_TRUE(doc.IsWatched(newPath.c_str()));
  EXPECT_EQ(ReadFile(newPath), "class A {};\n");

  // The old file is someone else's now: changing it reports nothing, changing the new one does.
  Shell("printf 'x\\n' >> '" + oldPath + "' && sleep 0.2 && printf 'y\\n' >> '" + newPath + "'");
  ASSERT_TRUE(WaitForChange(doc));
  EXPECT_EQ(doc.reports, 1);

  // A copy saved elsewhere leaves the document, and its watch, on its own file.
  ASSERT_TRUE(doc.DoSave(Path("copy.idl").c_str(), FALSE));
  EXPECT_EQ(doc.GetPathName(), newPath.c_str());
  EXPECT_EQ(doc.GetWatchedPath(), newPath.c_str());
  EXPECT_TRUE(doc.IsWatched(newPath.c_str()));
  EXPECT_FALSE(doc.IsWatched(Path("copy.idl").c_str()));
}

// Another program's text on disk is written over only with the user's word, whatever the watcher
// saw: a file written through the link the window opened it by, an older copy of the same size put
// back by a rename or in place. No keeps the file and the window's text; Yes writes the text.
TEST_F(DocumentTest, ASaveAsksBeforeWritingOverAFileAnotherProgramChanged) {
  Shell("mkdir -p '" + Path("real") + "' '" + Path("links") + "'");
  const struct {
    const char* name;
    const char* open;    // the name the window opens the file by
    const char* change;  // what the other program does to the file ($F)
  } cases[] = {
      {"a write through a link in another folder", "links/l.cpp", "printf 'int theirs;\\n' >> \"$F\""},
      {"an older copy of the same size renamed over it", "m.cpp",
       "printf 'int mind;\\n' > \"$F.bak\" && touch -d 2001-01-01 \"$F.bak\" && "
       "mv \"$F.bak\" \"$F\""},
      {"an older copy of the same size copied in place", "p.cpp",
       "printf 'int mind;\\n' > \"$F.bak\" && touch -d 2001-01-01 \"$F.bak\" && cp -p \"$F.bak\" \"$F\""},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    const std::string opened = Path(k.open);
    std::string file = opened;
    if (std::string(k.open).rfind("links/", 0) == 0) {
      file = MakeFile("real/l.cpp", "int mine;\n");
      Shell("ln -sf ../real/l.cpp '" + opened + "'");
    } else {
      MakeFile(k.open, "int mine;\n");
    }
    CEditCodeDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(opened.c_str()));
    doc.GetEdit()->InsertTextAt(0, 0, "// typed\n", -1);
    std::string command = k.change;
    for (size_t at; (at = command.find("$F")) != std::string::npos;) command.replace(at, 2, file);
    Shell(command);
    const std::string theirs = ReadFile(file);
    ASSERT_NE(theirs, "int mine;\n");

    editortest::RecordedBoxes boxes;
    boxes.Answer(IDNO);
    EXPECT_FALSE(doc.DoSave(opened.c_str(), TRUE));
    ASSERT_EQ(boxes.texts.size(), 1U);
    EXPECT_NE(boxes.Last().find("changed outside the editor"), std::string::npos) << boxes.Last();
    EXPECT_EQ(ReadFile(file), theirs);
    EXPECT_TRUE(doc.IsModified());

    boxes.Answer(IDYES);
    EXPECT_TRUE(doc.DoSave(opened.c_str(), TRUE));
    EXPECT_EQ(boxes.texts.size(), 2U);
    EXPECT_EQ(ReadFile(file), "// typed\nint mine;\n");
    EXPECT_FALSE(doc.IsModified());
    // The file is the window's again: the next save asks nothing.
    doc.GetEdit()->InsertTextAt(0, 0, "// more\n", -1);
    EXPECT_TRUE(doc.DoSave(opened.c_str(), TRUE));
    EXPECT_EQ(boxes.texts.size(), 2U);
    EXPECT_EQ(ReadFile(file), "// more\n// typed\nint mine;\n");
  }
}

// What is not a file of text is refused with the reason, and nothing waits: a named pipe no
// program writes, a device that never ends, a socket, a picture.
TEST_F(DocumentTest, OpeningAPipeADeviceASocketOrAPictureSaysWhyAndNeverWaits) {
  const std::string fifo = Path("pipe.cpp");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string socketPath = Path("sock.cpp");
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const std::string jpeg = MakeFile("photo.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00", 14));
  const struct {
    std::string path;
    const char* reason;
  } cases[] = {{fifo, "not a file of text"}, {"/dev/zero", "not a file of text"}, {socketPath, "not a file of text"},
               {jpeg, "NUL bytes"}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.path);
    editortest::RecordedBoxes boxes;
    CEditCodeDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(k.path.c_str()));
    ASSERT_EQ(boxes.texts.size(), 1U);
    EXPECT_NE(boxes.Last().find(k.reason), std::string::npos) << boxes.Last();
    EXPECT_FALSE(doc.IsRunning());
  }
  ::close(listener);
}

TEST_F(DocumentTest, ClosingEndsTheWatchAndLateReportsAreDropped) {
  const std::string path = MakeFile("late.h", "x\n");
  auto* doc = new CEditCodeDoc;
  ASSERT_TRUE(doc->OnOpenDocument(path.c_str()));
  EXPECT_TRUE(doc->IsRunning());
  // A report posted by the worker just before the document went must not reach it.
  doc->OnFileChanged(CFileEvent::kSizeChanged, path.c_str());
  delete doc;
  EXPECT_GE(brambolt::test::RunUntilIdle(), 0);
}

}  // namespace
