// The program's Save As dialogs (a source file's and a picture's) with a name typed in a folder
// that does not exist: the dialog says that the path does not exist and stays open, and nothing
// is written, in the folder the dialog shows or anywhere else.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "StartedApp.h"
#include "afx/afx.h"
#include "controls/controls.h"
#include "resources/resource.h"

namespace {

namespace fs = std::filesystem;

// A bitmap file of 2 x 2 red pixels, 24 bits.
void WriteRedBitmap(const std::string& path) {
  std::string bytes = "BM";
  auto put = [&](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  // The file header, then the information header.
  for (const auto& [value, size] : {std::pair{70u, 4}, {0u, 4}, {54u, 4}, {40u, 4}, {2u, 4}, {2u, 4}, {1u, 2},
                                    {24u, 2}, {0u, 4}, {16u, 4}, {2835u, 4}, {2835u, 4}, {0u, 4}, {0u, 4}})
    put(value, size);
  for (int row = 0; row < 2; ++row) bytes += std::string("\0\0\xFF\0\0\xFF\0\0", 8);  // blue, green, red; padding
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(SaveAsDialogs, ANameTypedInAMissingFolderIsToldAndWrittenNowhere) {
  apptest::StartedApp s;
  brambolt::test::AdvanceClock(3500);  // the splash window, which a key would close, has gone
  const std::string folder = s.home.Folder("saves");
  WriteRedBitmap(folder + "/red.bmp");
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

}  // namespace
