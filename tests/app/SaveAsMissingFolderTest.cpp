// The program's Save As dialogs (a source file's and a picture's) with a name typed in a folder
// that does not exist: the dialog says that the path does not exist and stays open, and nothing
// is written, in the folder the dialog shows or anywhere else. A picture saved over a file keeps
// that file's permissions, writes through a link into the file it names, and into a file with
// other names so that every name shows it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <functional>
#include <string>

#include "StartedApp.h"
#include "afx/afx.h"
#include "controls/controls.h"
#include "os/FileFaults.h"
#include "resources/resource.h"

namespace {

namespace fs = std::filesystem;

TEST(SaveAsDialogs, ANameTypedInAMissingFolderIsToldAndWrittenNowhere) {
  apptest::StartedApp s;
  brambolt::test::AdvanceClock(3500);  // the splash window, which a key would close, has gone
  const std::string folder = s.home.Folder("saves");
  apptest::WriteRedBitmap(folder + "/red.bmp");
  fs::current_path(folder);  // the folder the dialogs show: where a moved name would go
  struct Case {
    const char* caption;
    std::function<void()> open;
    const char* name;
  } cases[] = {
      {"Save As", [&] { s.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_NEW); }, "lost.cpp"},
      {"Save picture as a Bitmap (BMP/ICO) file", [&] { s.app.OpenClassHirPicture((folder + "/red.bmp").c_str()); },
       "lost.bmp"},
  };
  for (const Case& c : cases) {
    c.open();
    brambolt::test::RunUntilIdle();
    const std::string typed = folder + "/gone/" + c.name;
    std::string told;
    brambolt::test::ModalAnswers answers;
    answers.When(nullptr, c.caption, [&](HWND dialog) {
      answers.When(nullptr, c.caption, [&](HWND box) {
        char text[1024] = {};
        ::GetDlgItemText(box, 0xFFFF, text, sizeof text);
        told = text;
        ::PostMessage(box, WM_COMMAND, IDOK, 0);
      });
      brambolt::test::RunUntilIdle();  // the dialog is up, its name field taking the keys
      ::SendDlgItemMessage(dialog, edt1, EM_SETSEL, 0, -1);
      brambolt::test::TypeText(typed);
      brambolt::test::PressKey(VK_RETURN);
      brambolt::test::RunUntilIdle();
      if (::IsWindowVisible(dialog)) brambolt::test::PressKey(VK_ESCAPE);
    });
    s.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    brambolt::test::RunUntilIdle();
    EXPECT_TRUE(answers.Unanswered().empty()) << c.caption;
    EXPECT_EQ(told, typed + "\nPath does not exist.\nCheck the path and try again.") << c.caption;
    EXPECT_FALSE(fs::exists(folder + "/" + c.name)) << c.caption;
  }
}

// A picture's Save As, typed into its dialog as a user does, with the replace question answered Yes.
void SavePictureAs(apptest::StartedApp& s, const std::string& typed) {
  const char* caption = "Save picture as a Bitmap (BMP/ICO) file";
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, caption, [&](HWND dialog) {
    answers.When(nullptr, caption, [](HWND box) { ::PostMessage(box, WM_COMMAND, IDYES, 0); });
    brambolt::test::RunUntilIdle();
    ::SendDlgItemMessage(dialog, edt1, EM_SETSEL, 0, -1);
    brambolt::test::TypeText(typed);
    brambolt::test::PressKey(VK_RETURN);
    brambolt::test::RunUntilIdle();
  });
  s.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
  brambolt::test::RunUntilIdle();
  EXPECT_TRUE(answers.Unanswered().empty()) << typed;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(SaveAsDialogs, APictureSavedOverAFileKeepsItsPermissionsAndWritesThroughLinks) {
  apptest::StartedApp s;
  brambolt::test::AdvanceClock(3500);
  const std::string folder = s.home.Folder("pictures");
  apptest::WriteRedBitmap(folder + "/red.bmp");
  const std::string old = "an older picture";
  s.app.OpenClassHirPicture((folder + "/red.bmp").c_str());
  brambolt::test::RunUntilIdle();

  // A private picture stays private.
  apptest::WriteText(folder + "/private.bmp", old);
  ::chmod((folder + "/private.bmp").c_str(), 0600);
  SavePictureAs(s, folder + "/private.bmp");
  const std::string red = apptest::ReadText(folder + "/private.bmp");
  EXPECT_EQ(red.substr(0, 2), "BM") << "the picture is written as a bitmap";
  EXPECT_EQ(ModeOf(folder + "/private.bmp"), 0600u);

  // A link stays a link, and the picture it names is the one written, with its permissions.
  const std::string real = s.home.Folder("elsewhere") + "/real.bmp";
  apptest::WriteText(real, old);
  ::chmod(real.c_str(), 0640);
  fs::create_symlink(real, folder + "/link.bmp");
  SavePictureAs(s, folder + "/link.bmp");
  EXPECT_TRUE(fs::is_symlink(folder + "/link.bmp"));
  EXPECT_EQ(apptest::ReadText(real), red);
  EXPECT_EQ(ModeOf(real), 0640u);

  // A file with another name (a hard link): both names show the picture, one file still.
  apptest::WriteText(folder + "/shared.bmp", old);
  ::chmod((folder + "/shared.bmp").c_str(), 0604);
  fs::create_hard_link(folder + "/shared.bmp", folder + "/hard.bmp");
  SavePictureAs(s, folder + "/hard.bmp");
  EXPECT_EQ(apptest::ReadText(folder + "/hard.bmp"), red);
  EXPECT_EQ(apptest::ReadText(folder + "/shared.bmp"), red);
  EXPECT_EQ(fs::hard_link_count(folder + "/hard.bmp"), 2u);
  EXPECT_EQ(ModeOf(folder + "/hard.bmp"), 0604u);
  EXPECT_TRUE(s.boxes.boxes.empty());

  // A folder that takes no new file: the system's reason, not a made-up one, and no file.
  {
    brambolt::ScopedFileFaultHook refusing([&](brambolt::FileStep step, const std::string& path) {
      return step == brambolt::FileStep::Create && path.rfind(folder + "/", 0) == 0 ? EACCES : 0;
    });
    SavePictureAs(s, folder + "/new.bmp");
  }
  EXPECT_FALSE(fs::exists(folder + "/new.bmp"));
  ASSERT_EQ(s.boxes.boxes.size(), 1u);
  EXPECT_EQ(s.boxes.boxes[0].text, folder + "/new.bmp could not be written: Access is denied.\nNo file was made.");
}

}  // namespace
