// CFile over the os file API: open flags, share modes, errors and their causes, status, rename
// and remove.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>
#include <string>

#include "core/CException.h"
#include "core/CFile.h"
#include "FilesTestSupport.h"

using files_test::FileCause;
using files_test::ReadAll;
using files_test::TempFolder;
using files_test::WriteAll;

namespace {

TEST(FileOpen, FailuresReportTheCauseAndTheWin32Error) {
  TempFolder folder;
  struct Case {
    std::string path;
    int cause;
    LONG osError;
  };
  const Case cases[] = {
      {folder / "missing.txt", CFileException::fileNotFound, ERROR_FILE_NOT_FOUND},
      {folder / "no-folder/missing.txt", CFileException::badPath, ERROR_PATH_NOT_FOUND},
      {folder.Path(), CFileException::accessDenied, ERROR_ACCESS_DENIED},
  };
  for (const Case& c : cases) {
    CFile file;
    CFileException e;
    EXPECT_FALSE(file.Open(c.path.c_str(), CFile::modeRead, &e)) << c.path;
    EXPECT_EQ(e.m_cause, c.cause) << c.path;
    EXPECT_EQ(e.m_lOsError, c.osError) << c.path;
    EXPECT_STREQ(static_cast<LPCTSTR>(e.m_strFileName), c.path.c_str());
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
  }
}

TEST(FileOpen, TheThrowingConstructorRaisesWhatOpenReports) {
  TempFolder folder;
  std::string missing = folder / "missing.txt";
  files_test::FileError error = FileCause([&] { CFile file(missing.c_str(), CFile::modeRead); });
  EXPECT_EQ(error.cause, CFileException::fileNotFound);
  EXPECT_EQ(error.osError, ERROR_FILE_NOT_FOUND);
}

TEST(FileOpen, CreateTruncatesUnlessNoTruncateIsGiven) {
  TempFolder folder;
  std::string path = folder / "data.bin";
  WriteAll(path, "old contents");
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    EXPECT_EQ(file.GetLength(), 12u);
    file.SeekToEnd();
    file.Write("+", 1);
  }
  EXPECT_EQ(ReadAll(path), "old contents+");
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.Write("new", 3);
  }
  EXPECT_EQ(ReadAll(path), "new");
}

TEST(FileOpen, AReadOnlyHandleRefusesWrites) {
  TempFolder folder;
  std::string path = folder / "data.bin";
  WriteAll(path, "abc");
  CFile file(path.c_str(), CFile::modeRead);
  EXPECT_EQ(FileCause([&] { file.Write("x", 1); }).cause, CFileException::accessDenied);
  char buffer[8];
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 3u);
}

TEST(FileOpen, BackslashPathsAndOtherLetterCaseReachTheFile) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "Sub");
  WriteAll(folder / "Sub/Name.txt", "x");
  std::string windowsPath = folder.Path() + "\\sub\\NAME.TXT";
  CFile file;
  EXPECT_TRUE(file.Open(windowsPath.c_str(), CFile::modeRead));
}

TEST(FileShare, ModesAreHonouredBetweenHandlesOfTheProcess) {
  TempFolder folder;
  std::string path = folder / "shared.bin";
  WriteAll(path, "abc");
  struct Case {
    UINT first;
    UINT second;
    bool secondOpens;
  };
  const Case cases[] = {
      {CFile::modeRead | CFile::shareExclusive, CFile::modeRead | CFile::shareDenyNone, false},
      {CFile::modeRead, CFile::modeRead | CFile::shareDenyNone, false},  // compatibility is exclusive
      {CFile::modeRead | CFile::shareDenyWrite, CFile::modeRead | CFile::shareDenyWrite, true},
      {CFile::modeRead | CFile::shareDenyWrite, CFile::modeReadWrite | CFile::shareDenyNone, false},
      {CFile::modeReadWrite | CFile::shareDenyNone, CFile::modeReadWrite | CFile::shareDenyNone, true},
      {CFile::modeWrite | CFile::shareDenyRead, CFile::modeRead | CFile::shareDenyNone, false},
      {CFile::modeWrite | CFile::shareDenyRead, CFile::modeWrite | CFile::shareDenyNone, true},
  };
  for (const Case& c : cases) {
    CFile first(path.c_str(), c.first);
    CFile second;
    CFileException e;
    EXPECT_EQ(second.Open(path.c_str(), c.second, &e) != FALSE, c.secondOpens) << c.first << " then " << c.second;
    if (!c.secondOpens) {
      EXPECT_EQ(e.m_cause, CFileException::sharingViolation);
      EXPECT_EQ(e.m_lOsError, ERROR_SHARING_VIOLATION);
    }
  }
  // Closed handles no longer count.
  CFile again(path.c_str(), CFile::modeRead | CFile::shareExclusive);
}

TEST(FileShare, LockedRangesConflictUntilUnlocked) {
  TempFolder folder;
  std::string path = folder / "locked.bin";
  WriteAll(path, "0123456789");
  CFile a(path.c_str(), CFile::modeReadWrite | CFile::shareDenyNone);
  CFile b(path.c_str(), CFile::modeReadWrite | CFile::shareDenyNone);
  a.LockRange(2, 4);
  EXPECT_EQ(FileCause([&] { b.LockRange(4, 1); }).cause, CFileException::lockViolation);
  b.LockRange(6, 2);
  a.UnlockRange(2, 4);
  b.LockRange(4, 1);
}

TEST(FileAccess, SeekPositionLengthAndSetLength) {
  TempFolder folder;
  std::string path = folder / "seek.bin";
  CFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
  file.Write("0123456789", 10);
  EXPECT_EQ(file.GetPosition(), 10u);
  EXPECT_EQ(file.Seek(-4, CFile::current), 6u);
  EXPECT_EQ(file.Seek(2, CFile::begin), 2u);
  char c = 0;
  file.Read(&c, 1);
  EXPECT_EQ(c, '2');
  EXPECT_EQ(file.SeekToEnd(), 10u);
  file.SeekToBegin();
  EXPECT_EQ(file.GetPosition(), 0u);
  file.SetLength(4);
  EXPECT_EQ(file.GetLength(), 4u);
  EXPECT_EQ(FileCause([&] { file.Seek(-1, CFile::begin); }).cause, CFileException::badSeek);
  file.Close();
  EXPECT_EQ(ReadAll(path), "0123");
  EXPECT_EQ(file.m_hFile, CFile::hFileNull);
}

TEST(FileAccess, NamesOfAnOpenFile) {
  TempFolder folder;
  std::string path = folder / "Report.Final.txt";
  CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
  EXPECT_STREQ(static_cast<LPCTSTR>(file.GetFileName()), "Report.Final.txt");
  EXPECT_STREQ(static_cast<LPCTSTR>(file.GetFileTitle()), "Report.Final");
  EXPECT_STREQ(static_cast<LPCTSTR>(file.GetFilePath()), path.c_str());
  file.SetFilePath("C:\\other\\x.dat");
  EXPECT_STREQ(static_cast<LPCTSTR>(file.GetFileName()), "x.dat");
}

TEST(FileStatus, ReportsSizeTimesAttributesAndFullName) {
  TempFolder folder;
  std::string path = folder / "status.txt";
  WriteAll(path, std::string(1234, 'x'));
  struct utimbuf times {};
  times.actime = 1000000500;
  times.modtime = 1000000000;
  ASSERT_EQ(::utime(path.c_str(), &times), 0);

  CFileStatus status;
  ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
  EXPECT_EQ(status.m_size, 1234u);
  EXPECT_EQ(status.m_mtime.GetTime(), 1000000000);
  EXPECT_EQ(status.m_atime.GetTime(), 1000000500);
  EXPECT_EQ(status.m_attribute, CFile::archive);
  EXPECT_STREQ(status.m_szFullName, path.c_str());

  CFile file(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
  CFileStatus fromHandle;
  ASSERT_TRUE(file.GetStatus(fromHandle));
  EXPECT_EQ(fromHandle.m_size, 1234u);
  EXPECT_EQ(fromHandle.m_mtime.GetTime(), 1000000000);
  EXPECT_EQ(fromHandle.m_attribute, CFile::archive);

  ASSERT_TRUE(CFile::GetStatus(folder.Path().c_str(), status));
  EXPECT_TRUE(status.m_attribute & CFile::directory);
}

TEST(FileStatus, AFolderWithATrailingSeparatorOrAPatternIsRefused) {
  TempFolder folder;
  CFileStatus status;
  EXPECT_TRUE(CFile::GetStatus(folder.Path().c_str(), status));
  EXPECT_FALSE(CFile::GetStatus((folder.Path() + "/").c_str(), status));
  EXPECT_FALSE(CFile::GetStatus((folder.Path() + "\\").c_str(), status));
  EXPECT_FALSE(CFile::GetStatus((folder.Path() + "/*.*").c_str(), status));
  EXPECT_FALSE(CFile::GetStatus((folder / "missing").c_str(), status));
  EXPECT_FALSE(CFile::GetStatus("", status));
}

TEST(FileStatus, SizesBeyondFourGigabytesStayPositive) {
  TempFolder folder;
  std::string path = folder / "sparse.bin";
  const ULONGLONG size = 5ULL << 30;
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    file.SetLength(size);
    EXPECT_EQ(file.GetLength(), size);
    EXPECT_EQ(file.SeekToEnd(), size);
  }
  CFileStatus status;
  ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
  EXPECT_EQ(status.m_size, size);
}

TEST(FileRemove, RemovesFilesButNeverFolders) {
  TempFolder folder;
  std::string sub = folder / "empty-folder";
  std::filesystem::create_directory(sub);
  files_test::FileError error = FileCause([&] { CFile::Remove(sub.c_str()); });
  EXPECT_EQ(error.cause, CFileException::accessDenied);
  EXPECT_TRUE(std::filesystem::is_directory(sub));

  std::string path = folder / "gone.txt";
  WriteAll(path, "x");
  CFile::Remove(path.c_str());
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(FileCause([&] { CFile::Remove(path.c_str()); }).cause, CFileException::fileNotFound);
}

TEST(FileRename, MovesAFileAndReportsAMissingOne) {
  TempFolder folder;
  std::string from = folder / "a.txt";
  std::string to = folder / "b.txt";
  WriteAll(from, "content");
  CFile::Rename(from.c_str(), to.c_str());
  EXPECT_FALSE(std::filesystem::exists(from));
  EXPECT_EQ(ReadAll(to), "content");
  EXPECT_EQ(FileCause([&] { CFile::Rename(from.c_str(), to.c_str()); }).cause, CFileException::fileNotFound);
}

TEST(FileArchive, AnArchiveOverAFileRoundTrips) {
  TempFolder folder;
  std::string path = folder / "project.dcp";
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::shareExclusive | CFile::modeWrite);
    CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete, 4096);
    ar << CString("title") << static_cast<DWORD>(1002);
    ar.Close();
  }
  EXPECT_EQ(ReadAll(path), std::string("\x05title\xEA\x03\0\0", 10));
  CFile file(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
  CArchive ar(&file, CArchive::load, 4096);
  EXPECT_STREQ(static_cast<LPCTSTR>(ar.m_strFileName), path.c_str());
  CString title;
  DWORD language = 0;
  ar >> title >> language;
  EXPECT_STREQ(static_cast<LPCTSTR>(title), "title");
  EXPECT_EQ(language, 1002u);
  try {
    ar >> language;
    ADD_FAILURE() << "read past the end";
  } catch (CArchiveException* e) {
    EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
    e->Delete();
  }
}

}  // namespace
