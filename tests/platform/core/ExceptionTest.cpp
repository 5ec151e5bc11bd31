// The exception classes: deletion rules, CATCH blocks, causes and messages.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "core/core.h"

namespace {

int g_nDestroyed = 0;

class CCountedException : public CException {
 public:
  ~CCountedException() override { ++g_nDestroyed; }
};

std::string MessageOf(const CException& e, UINT nMax = 256) {
  TCHAR szBuffer[256] = "unchanged";
  e.GetErrorMessage(szBuffer, nMax);
  return szBuffer;
}

}  // namespace

TEST(ExceptionLifetime, DeleteFreesHeapExceptionsOnly) {
  g_nDestroyed = 0;
  (new CCountedException)->Delete();
  EXPECT_EQ(g_nDestroyed, 1);
  CCountedException onStack;
  onStack.m_bAutoDelete = FALSE;
  onStack.Delete();
  EXPECT_EQ(g_nDestroyed, 1);
}

TEST(ExceptionLifetime, EndCatchDeletesTheCaughtException) {
  g_nDestroyed = 0;
  bool bCaught = false;
  TRY { THROW(new CCountedException); }
  CATCH(CCountedException, e) {
    bCaught = e != nullptr;
    EXPECT_EQ(g_nDestroyed, 0);
  }
  END_CATCH
  EXPECT_TRUE(bCaught);
  EXPECT_EQ(g_nDestroyed, 1);
}

TEST(ExceptionLifetime, DeleteInsideCatchIsNotRepeated) {
  g_nDestroyed = 0;
  TRY { THROW(new CCountedException); }
  CATCH(CException, e) { e->Delete(); }
  END_CATCH
  EXPECT_EQ(g_nDestroyed, 1);
}

TEST(ExceptionLifetime, ThrowLastPassesTheSameExceptionOut) {
  g_nDestroyed = 0;
  CException* pOuter = nullptr;
  CException* pInner = nullptr;
  TRY {
    TRY { THROW(new CCountedException); }
    CATCH(CException, e) {
      pInner = e;
      THROW_LAST();
    }
    END_CATCH
  }
  CATCH(CException, e) {
    pOuter = e;
    EXPECT_EQ(g_nDestroyed, 0);
  }
  END_CATCH
  EXPECT_EQ(pOuter, pInner);
  EXPECT_EQ(g_nDestroyed, 1);
}

TEST(ExceptionLifetime, RethrowingWithThrowKeepsTheException) {
  g_nDestroyed = 0;
  try {
    TRY { THROW(new CCountedException); }
    CATCH(CException, e) { THROW(e); }
    END_CATCH
  } catch (CException* e) {
    EXPECT_EQ(g_nDestroyed, 0);
    e->Delete();
  }
  EXPECT_EQ(g_nDestroyed, 1);
}

TEST(ExceptionLifetime, AndCatchChoosesTheFirstMatchingHandler) {
  int nHandler = 0;
  TRY { AfxThrowArchiveException(CArchiveException::badSchema); }
  CATCH(CFileException, e) { nHandler = 1; }
  AND_CATCH(CArchiveException, e) {
    nHandler = 2;
    EXPECT_EQ(e->m_cause, CArchiveException::badSchema);
  }
  AND_CATCH_ALL(e) { nHandler = 3; }
  END_CATCH_ALL
  EXPECT_EQ(nHandler, 2);
}

TEST(ExceptionLifetime, MemoryExceptionIsStaticAndSurvivesDelete) {
  CMemoryException* pFirst = nullptr;
  for (int i = 0; i < 2; ++i) {
    try {
      AfxThrowMemoryException();
    } catch (CMemoryException* e) {
      if (pFirst == nullptr) pFirst = e;
      EXPECT_EQ(e, pFirst);
      e->Delete();
    }
  }
  EXPECT_EQ(MessageOf(*pFirst), "Out of memory.");
}

TEST(ExceptionThrowers, EachThrowsItsClass) {
  struct Case {
    void (*pfnThrow)();
    CRuntimeClass* pClass;
  };
  const Case cases[] = {
      {[] { AfxThrowNotSupportedException(); }, RUNTIME_CLASS(CNotSupportedException)},
      {[] { AfxThrowResourceException(); }, RUNTIME_CLASS(CResourceException)},
      {[] { AfxThrowUserException(); }, RUNTIME_CLASS(CUserException)},
      {[] { AfxThrowFileException(CFileException::diskFull); }, RUNTIME_CLASS(CFileException)},
      {[] { AfxThrowArchiveException(CArchiveException::endOfFile); }, RUNTIME_CLASS(CArchiveException)},
  };
  for (const Case& c : cases) {
    CRuntimeClass* pCaught = nullptr;
    try {
      c.pfnThrow();
    } catch (CException* e) {
      pCaught = e->GetRuntimeClass();
      e->Delete();
    }
    EXPECT_EQ(pCaught, c.pClass);
  }
}

TEST(FileException, CarriesCauseOsErrorAndFileName) {
  try {
    AfxThrowFileException(CFileException::accessDenied, 5, "C:\\data\\a.dcp");
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::accessDenied);
    EXPECT_EQ(e->m_lOsError, 5);
    EXPECT_STREQ(e->m_strFileName, "C:\\data\\a.dcp");
    EXPECT_EQ(MessageOf(*e), "Access to C:\\data\\a.dcp was denied.");
    e->Delete();
  }
}

TEST(FileException, MessagesNameTheFileOrSayUnnamed) {
  EXPECT_EQ(MessageOf(CFileException(CFileException::fileNotFound, 2, "x.txt")), "x.txt was not found.");
  EXPECT_EQ(MessageOf(CFileException(CFileException::badPath)), "an unnamed file contains an incorrect path.");
  EXPECT_EQ(MessageOf(CFileException(99, -1, "y")), "An unexpected error occurred while accessing y.");
  EXPECT_EQ(MessageOf(CArchiveException(CArchiveException::endOfFile, "p.dcp")),
            "Unexpected end of file while reading p.dcp.");
  EXPECT_EQ(MessageOf(CUserException()), "");
}

TEST(FileException, MessageIsCutAtTheBufferWithoutSplittingACharacter) {
  EXPECT_EQ(MessageOf(CFileException(CFileException::fileNotFound, 2, "abc"), 6), "abc w");
  brambolt::ScopedCodePage codePage(936);
  // "\xD6\xD0" is one character; five bytes hold "a" and two characters, not half a third.
  EXPECT_EQ(MessageOf(CFileException(CFileException::fileNotFound, 2, "a\xD6\xD0\xD6\xD0\xD6\xD0"), 7),
            "a\xD6\xD0\xD6\xD0");
  EXPECT_EQ(MessageOf(CFileException(CFileException::fileNotFound, 2, "a\xD6\xD0\xD6\xD0\xD6\xD0"), 5), "a\xD6\xD0");
}

TEST(FileException, OsErrorsMapToCauses) {
  const std::pair<LONG, int> cases[] = {
      {0, CFileException::none},           {2, CFileException::fileNotFound},
      {3, CFileException::badPath},        {4, CFileException::tooManyOpenFiles},
      {5, CFileException::accessDenied},   {32, CFileException::sharingViolation},
      {33, CFileException::lockViolation}, {38, CFileException::endOfFile},
      {112, CFileException::diskFull},     {123, CFileException::badPath},
      {25, CFileException::badSeek},       {9999, CFileException::genericException},
  };
  for (auto [lOsError, nCause] : cases) EXPECT_EQ(CFileException::OsErrorToException(lOsError), nCause) << lOsError;
}

TEST(FileException, ErrnoMapsToCauses) {
  const std::pair<int, int> cases[] = {
      {ENOENT, CFileException::fileNotFound}, {ENOTDIR, CFileException::badPath},
      {EACCES, CFileException::accessDenied}, {EMFILE, CFileException::tooManyOpenFiles},
      {ENOSPC, CFileException::diskFull},     {ESPIPE, CFileException::badSeek},
      {EIO, CFileException::hardIO},          {EBADF, CFileException::invalidFile},
      {0, CFileException::none},              {EPROTO, CFileException::genericException},
  };
  for (auto [nErrno, nCause] : cases) EXPECT_EQ(CFileException::ErrnoToException(nErrno), nCause) << nErrno;
}

TEST(FileException, ThrowOsErrorThrowsOnlyForErrors) {
  EXPECT_NO_THROW(CFileException::ThrowOsError(0, "f"));
  try {
    CFileException::ThrowErrno(ENOENT, "gone.txt");
    FAIL() << "nothing thrown";
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
    EXPECT_EQ(e->m_lOsError, ENOENT);
    EXPECT_STREQ(e->m_strFileName, "gone.txt");
    e->Delete();
  }
}

TEST(ExceptionReport, ReportErrorShowsTheMessageThroughTheReporter) {
  static std::string s_shown;
  static UINT s_nType = 0;
  AfxSetErrorReporter([](LPCTSTR lpszText, UINT nType) {
    s_shown = lpszText;
    s_nType = nType;
    return 2;
  });
  CFileException e(CFileException::diskFull, 112, "out.htm");
  EXPECT_EQ(e.ReportError(0x30), 2);
  EXPECT_EQ(s_shown, "Disk full while accessing out.htm.");
  EXPECT_EQ(s_nType, 0x30u);
  CUserException quiet;
  quiet.ReportError();
  EXPECT_EQ(s_shown, "No error message is available.");
  AfxSetErrorReporter(nullptr);
}
