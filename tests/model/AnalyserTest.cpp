// The header analyser over header snippets: each case is a header and the textual dump of the
// records it gives. Blank lines separate the classes of a dump.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/CodePage.h"
#include "model/CWorkSpaceObj.h"
#include "ModelTestSupport.h"

using model_test::RecordingShell;
using model_test::S;
using model_test::TempFolder;

namespace {

const char* AccessName(int nAccess) {
  switch (nAccess) {
    case MEMBER_PUBLIC: return "public";
    case MEMBER_PROTECTED: return "protected";
    case MEMBER_PRIVATE: return "private";
    default: return "?";
  }
}

std::string Joined(const CStringList& list) {
  std::string text;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    if (!text.empty()) text += "|";
    text += S(list.GetNext(pos));
  }
  return text;
}

// One line per record:
//   class <name> : <base names> first=<first base> id=<known id> files=<header>,<source>
//   head "<class head>"
//   fn <access>[ virtual][ static] "<return type>" <name>(<parameters>) [unique=..] [// comment]
//   var <access>[ static] "<type>" <name> [unique=..] [// comment]
std::string Dump(const CWorkSpaceObj& project) {
  std::string dump;
  for (POSITION pos = project.m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* c = project.m_FileObjList.GetNext(pos);
    if (!dump.empty()) dump += "\n";
    dump += "class " + S(c->m_strClassName) + " : " + Joined(c->m_BaseClassList) + " first=" +
            S(c->m_strBaseClassName) + " id=" + std::to_string(c->m_nKnownClassId) + " files=" +
            S(c->m_strHeaderFile) + "," + S(c->m_strSourceFile) + "\n";
    dump += "head \"" + S(c->m_strClassHead) + "\"\n";
    for (POSITION p = c->m_MemberFunctionList.GetHeadPosition(); p != nullptr;) {
      const CMemberFunctionObj* f = c->m_MemberFunctionList.GetNext(p);
      dump += std::string("fn ") + AccessName(f->m_nAccess) + (f->m_bVirtual ? " virtual" : "") +
              (f->m_bStatic ? " static" : "") + " \"" + S(f->m_strReturnType) + "\" " + S(f->m_strName) + "(" +
              Joined(f->m_ParameterList) + ")";
      if (f->m_strUniqueName != f->m_strName) dump += " unique=" + S(f->m_strUniqueName);
      if (!f->m_strComment.IsEmpty()) dump += " //" + S(f->m_strComment);
      dump += "\n";
    }
    for (POSITION p = c->m_VariableList.GetHeadPosition(); p != nullptr;) {
      const CVariableObj* v = c->m_VariableList.GetNext(p);
      dump += std::string("var ") + AccessName(v->m_nAccess) + (v->m_bStatic ? " static" : "") + " \"" +
              S(v->m_strType) + "\" " + S(v->m_strName);
      if (v->m_strUniqueName != v->m_strName) dump += " unique=" + S(v->m_strUniqueName);
      if (!v->m_strComment.IsEmpty()) dump += " //" + S(v->m_strComment);
      dump += "\n";
    }
  }
  return dump;
}

std::string Analyse(const std::string& header, const std::string& name = "Snippet.h") {
  TempFolder folder;
  std::string path = folder.Write(name, header);
  CWorkSpaceObj project;
  EXPECT_TRUE(project.ParseSourceFile(path.c_str()));
  return Dump(project);
}

struct Case {
  const char* what;
  std::string header;
  std::string dump;
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) EXPECT_EQ(Analyse(c.header), c.dump) << c.what << "\n" << c.header;
}

// A class Foo around the given body lines.
std::string InClass(const std::string& body) { return "class Foo\n{\n" + body + "\n};\n"; }
const std::string kFooHead = "class Foo :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class Foo\"\n";

}  // namespace

TEST(Analyser, DocumentedCases) {
  RunCases({
      {"class with bases, access labels, virtual and static members",
       "class CFoo : public CBar, protected CBaz\n{\npublic:\n  CFoo();\n  virtual ~CFoo();\n"
       "  int m_nCount; // number of items\nprotected:\n  static CString m_strName;\n};\n",
       "class CFoo : CBar|CBaz first=CBar id=0 files=Snippet.h,Snippet.cpp\n"
       "head \"class CFoo : public CBar, protected CBaz\"\n"
       "fn public \"\" CFoo()\n"
       "fn public virtual \"\" ~CFoo()\n"
       "var public \"int\" m_nCount // number of items\n"
       "var protected static \"CString\" m_strName\n"},
      {"forward declaration", "class CFoo;\n", ""},
      {"class on one line", "class CFoo { int x; };\n", ""},
      {"struct", "struct S\n{\nint x;\n};\n", ""},
      {"export macro before the name", "class AFX_EXT_CLASS CView2 : public CView\n{\n};\n",
       "class CView2 : CView first=CView id=1048 files=Snippet.h,Snippet.cpp\n"
       "head \"class AFX_EXT_CLASS CView2 : public CView\"\n"},
      {"qualified base", "class CFoo : public NS::CBar\n{\n};\n",
       "class CFoo : NS::CBar first=NS::CBar id=0 files=Snippet.h,Snippet.cpp\n"
       "head \"class CFoo : public NS::CBar\"\n"},
      {"two variables in one statement", InClass("int a, b;"), kFooHead},
      {"pointer variable", InClass("int *p;"), kFooHead + "var private \"int *\" p\n"},
      {"parameter list over two lines", InClass("void f(int a,\n int b);"),
       kFooHead + "fn private \"void\" f(int a|int b)\n"},
      {"inline body on one line", InClass("void g() { x = 1; }"), kFooHead + "fn private \"void\" g()\n"},
      {"inline body over lines", InClass("void g()\n{\n  x = 1;\n}"), kFooHead + "fn private \"void\" g()\n"},
      {"nested enum", InClass("enum E { A, B };"), kFooHead},
      {"pure virtual function", InClass("virtual void h() = 0;"), kFooHead + "fn private virtual \"void\" h()\n"},
      {"bit-field", InClass("int x : 3;"), kFooHead},
      {"label with a member on its line", InClass("public: int x;"), kFooHead},
      {"block comment over two lines", InClass("/* first\n   second */\nint y;"),
       kFooHead + "var private \"int\" y // first   second \n"},
      {"line comment inside a closed block comment", InClass("/* a // b */ int z;\nint w;"),
       kFooHead + "var private \"int\" z\nvar private \"int\" w\n"},
  });
}

TEST(Analyser, RealWorldShapes) {
  RunCases({
      {"export macro with a known base", "class AFX_EXT_CLASS CMyWnd : public CWnd\n{\n};\n",
       "class CMyWnd : CWnd first=CWnd id=1050 files=Snippet.h,Snippet.cpp\n"
       "head \"class AFX_EXT_CLASS CMyWnd : public CWnd\"\n"},
      {"bases written with their namespaces and template arguments",
       "class CMyWnd : public ::CWnd, private Outer::Inner<int, std::vector<int>>\n{\n};\n",
       "class CMyWnd : ::CWnd|Outer::Inner<int, std::vector<int>> first=::CWnd id=1050 files=Snippet.h,Snippet.cpp\n"
       "head \"class CMyWnd : public ::CWnd, private Outer::Inner<int, std::vector<int>>\"\n"},
      {"head over several lines",
       "class DLL_EXPORT\nCMulti\n  : public CButton,\n    public CHelper // helper\n{\npublic:\n  int m_n;\n};\n",
       "class CMulti : CButton|CHelper first=CButton id=1003 files=Snippet.h,Snippet.cpp\n"
       "head \"class DLL_EXPORT CMulti : public CButton, public CHelper\"\n"
       "var public \"int\" m_n\n"},
      {"template class and template base",
       "template <class T>\nclass CVec : public CBase<T, 4>, private std::allocator<T>\n{\npublic:\n"
       "  std::map<int, T> m_map;\n  T& operator[](int i);\n};\n",
       "class CVec : CBase<T, 4>|std::allocator<T> first=CBase<T, 4> id=0 files=Snippet.h,Snippet.cpp\n"
       "head \"class CVec : public CBase<T, 4>, private std::allocator<T>\"\n"
       "fn public \"T&\" operator[](int i)\n"
       "var public \"std::map<int, T>\" m_map\n"},
      {"nested class is skipped with its members",
       "class COuter\n{\npublic:\n  class CInner : public CBase\n  {\n  public:\n    void Hidden();\n  };\n"
       "  struct Pod { int a; };\n  void Visible();\n};\n",
       "class COuter :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class COuter\"\n"
       "fn public \"void\" Visible()\n"},
      {"operator members",
       InClass("public:\nbool operator==(const Foo& other) const;\nFoo& operator=(const Foo&);\n"
               "bool operator()(int x) const;\noperator int() const;"),
       kFooHead + "fn public \"bool\" operator==(const Foo& other)\nfn public \"Foo&\" operator=(const Foo&)\n"
                  "fn public \"bool\" operator()(int x)\nfn public \"operator\" int()\n"},
      {"parameter list opened at the end of a line",
       InClass("protected:\nvirtual BOOL Create(\n  LPCTSTR lpszName,\n  DWORD dwStyle = WS_CHILD | WS_VISIBLE,\n"
               "  CWnd* pParent = NULL);"),
       kFooHead + "fn protected virtual \"BOOL\" Create(LPCTSTR lpszName|DWORD dwStyle = WS_CHILD | WS_VISIBLE|"
                  "CWnd* pParent = NULL)\n"},
      {"default argument that calls a function", InClass("void Set(int n = Limit(3), int m = 0);"),
       kFooHead + "fn private \"void\" Set(int n = Limit(3)|int m = 0)\n"},
      {"qualified member types", InClass("std::string m_name;\nstatic const std::vector<int>* Table();"),
       kFooHead + "fn private static \"const std::vector<int>*\" Table()\nvar private \"std::string\" m_name\n"},
      {"constructor with an initialiser list", InClass("public:\nFoo(int n) : m_n(n), m_p(0) {}\nint m_n;"),
       kFooHead + "fn public \"\" Foo(int n)\nvar public \"int\" m_n\n"},
      {"const inline accessor", InClass("int Get() const { return m_n; }"), kFooHead + "fn private \"int\" Get()\n"},
      {"pure virtual const", InClass("virtual int Size() const = 0;"),
       kFooHead + "fn private virtual \"int\" Size()\n"},
      {"preprocessor lines and framework macros",
       InClass("#ifdef _DEBUG\nvirtual void AssertValid() const;\n#endif\nDECLARE_MESSAGE_MAP()\n"
               "//{{AFX_MSG(Foo)\nafx_msg void OnPaint();\n//}}AFX_MSG"),
       kFooHead + "fn private virtual \"void\" AssertValid()\nfn private \"\" DECLARE_MESSAGE_MAP()\n"
                  "fn private \"afx_msg void\" OnPaint() //{{AFX_MSG(Foo)\n"},
      {"comments everywhere",
       "// leading comment\nclass CDoc /* the document */ : public CDocument // base\n{ // opens\n"
       "/** Counts. */\n  int m_nCount; /* trailing */\n  // between\n\n\n  void Reset(); // resets\n"
       "  /* a */ int /* b */ m_n2; // c\n};\n",
       "class CDoc : CDocument first=CDocument id=1010 files=Snippet.h,Snippet.cpp\n"
       "head \"class CDoc  : public CDocument\"\n"
       "fn private \"void\" Reset() // resets\n"
       // Closed block comments are dropped; the head's last comment is the first member's.
       "var private \"int\" m_nCount // opens\n"
       "var private \"int\" m_n2 // c\n"},
      {"tabs between words", "class\tCTab\t:\tpublic\tCEdit\n{\n\tstatic\tint\tm_n;\n};\n",
       "class CTab : CEdit first=CEdit id=1012 files=Snippet.h,Snippet.cpp\nhead \"class\tCTab\t:\tpublic\tCEdit\"\n"
       "var private static \"int\" m_n\n"},
      {"overloads get unique names", InClass("void f();\nvoid f(int);\nvoid f(char);\nint v;\nint v;"),
       kFooHead + "fn private \"void\" f()\nfn private \"void\" f(int) unique=f(0)\n"
                  "fn private \"void\" f(char) unique=f(1)\nvar private \"int\" v\nvar private \"int\" v unique=v(0)\n"},
      {"virtual inheritance", "class CD : public virtual CB, virtual protected CC\n{\n};\n",
       "class CD : CB|CC first=CB id=0 files=Snippet.h,Snippet.cpp\nhead \"class CD : public virtual CB, virtual protected CC\"\n"},
      {"several classes in one file", "class A\n{\n};\nint x;\nclass B : public A\n{\n  int b;\n};\n",
       "class A :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class A\"\n\n"
       "class B : A first=A id=0 files=Snippet.h,Snippet.cpp\nhead \"class B : public A\"\nvar private \"int\" b\n"},
      {"class head without a name keeps nothing", "class {\nint x;\n};\nclass C\n{\n};\n",
       "class C :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class C\"\n"},
      {"surplus brace in a body ends the class", "class A\n{\n  void f() {} };\nint stray;\nclass B\n{\n};\n",
       "class A :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class A\"\n\n"
       "class B :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class B\"\n"},
      {"file ends inside a class", "class A\n{\npublic:\nint a;\nvoid f(\n", 
       "class A :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class A\"\nvar public \"int\" a\n"},
      {"unclosed block comment ends the file", "class A\n{\nint a;\n/* never closed\nint b;\n",
       "class A :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class A\"\nvar private \"int\" a\n"},
      {"windows line ends", "class A : public CWnd\r\n{\r\npublic:\r\n  int a; // x\r\n};\r\n",
       "class A : CWnd first=CWnd id=1050 files=Snippet.h,Snippet.cpp\nhead \"class A : public CWnd\"\n"
       "var public \"int\" a // x\n"},
  });
}

// Only class heads of the code itself make classes: not the body of a macro (its lines continue
// the directive with a backslash), not a commented-out class, and not a head whose name is no
// C++ name.
TEST(Analyser, MacroBodiesCommentsAndNamesThatAreNoNamesMakeNoClasses) {
  const std::string header =
      "#define DECLARE_WRAPPER(classname, base) \\\n"
      "class classname : public base \\\n"
      "{ \\\n"
      "public: \\\n"
      "    classname(); \\\n"
      "}\n"
      "#define IMPLEMENT_CAST(cls, expmode) \\\n"
      "    class cls##Cast : public CCast<cls, \\\n"
      "class expmode) \\\n"
      "    { }\n"
      "/* The old design:\n"
      "class COldShape : public CObject\n"
      "{\n"
      "};\n"
      "   */\n"
      "class * : public CObject\n{\n  int m_lost;\n};\n"
      "class )\n{\n};\n"
      "class \\\n{\n};\n"
      "class CShape : public CObject\n"
      "{\n"
      "public:\n"
      "    wxString &append(const wxString& s);\n"
      "    CShape &&Moved();\n"
      "};\n"
      "class CList<CShape*>\n{\n};\n";
  EXPECT_EQ(Analyse(header),
            "class CShape : CObject first=CObject id=0 files=Snippet.h,Snippet.cpp\n"
            "head \"class CShape : public CObject\"\n"
            "fn public \"wxString &\" append(const wxString& s)\n"
            "fn public \"CShape &&\" Moved()\n\n"
            "class CList<CShape*> :  first= id=0 files=Snippet.h,Snippet.cpp\n"
            "head \"class CList<CShape*>\"\n");
}

TEST(AnalyseProject, ParsesEveryFileOfTheFolderInListingOrderWithProgress) {
  RecordingShell shell;
  TempFolder folder;
  folder.Write("Header Files/b.h", "class CB : public CA\n{\n};\n");
  folder.Write("Header Files/A.h", "class CA\n{\n};\n");
  folder.Write("Header Files/notes.txt", "class CNote\n{\n};\n");
  folder.Write("Header Files/Sub/CSub.h", "class CSub\n{\n};\n");
  folder.Write("Source Code/x.h", "class CSource\n{\n};\n");
  CWorkSpaceObj project;
  project.AnalyseProjectFiles((folder.Path() + "/Header Files\\*.*").c_str());
  std::vector<std::string> names;
  for (POSITION pos = project.m_FileObjList.GetHeadPosition(); pos != nullptr;)
    names.push_back(S(project.m_FileObjList.GetNext(pos)->m_strClassName));
  EXPECT_EQ(names, (std::vector<std::string>{"CA", "CB", "CNote"}));
  EXPECT_EQ(S(project.FindClassByName("CNote")->m_strHeaderFile), "notes.h");
  const std::vector<std::string> progress = {
      "BeginProgress Reading project file... 0 3 0 16640", "SetProgressPos 1", "SetProgressPos 2",
      "SetProgressPos 3", "EndProgress"};
  EXPECT_EQ(shell.calls, progress);
}

TEST(AnalyseProject, EmptyOrMissingFolderStillShowsProgress) {
  RecordingShell shell;
  TempFolder folder;
  folder.Write("Header Files/Sub/CSub.h", "class CSub\n{\n};\n");
  CWorkSpaceObj project;
  project.AnalyseProjectFiles((folder.Path() + "/Header Files\\*.*").c_str());
  project.AnalyseProjectFiles((folder.Path() + "/Missing\\*.*").c_str());
  EXPECT_TRUE(project.m_FileObjList.IsEmpty());
  const std::vector<std::string> progress = {"BeginProgress Reading project file... 0 1 0 16640", "EndProgress",
                                             "BeginProgress Reading project file... 0 1 0 16640", "EndProgress"};
  EXPECT_EQ(shell.calls, progress);
}

TEST(AnalyseProject, UnreadableFileIsSkipped) {
  TempFolder folder;
  CWorkSpaceObj project;
  EXPECT_FALSE(project.ParseSourceFile((folder / "missing.h").c_str()));
  EXPECT_TRUE(project.m_FileObjList.IsEmpty());
}

TEST(AnalyseProject, LongRunsOfBlankAndCommentLinesAreRead) {
  std::string header = "class CLong\n{\n";
  for (int i = 0; i < 200000; ++i) header += (i % 2 != 0) ? "\n" : "   // filler\n";
  header += "int m_last;\n};\n";
  EXPECT_EQ(Analyse(header), "class CLong :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class CLong\"\n"
                             "var private \"int\" m_last // filler\n");
}

TEST(AnalyserSteps, ListSplitting) {
  CWorkSpaceObj project;
  struct Case {
    const char* text;
    std::string bases;
    std::string first;
    std::string parameters;
  };
  const Case cases[] = {
      {"", "", "", ""},
      {"public CBar", "CBar", "CBar", "public CBar"},
      {"public A, protected B, private C", "A|B|C", "A", "public A|protected B|private C"},
      {"A, A", "A", "A", "A|A"},
      {"A, , B", "A||B", "A", "A||B"},
      {"A,", "A", "A", "A"},
      {"publicity", "ity", "ity", "publicity"},
      {"X<int, char>, Y<Z<1, 2>>", "X<int, char>|Y<Z<1, 2>>", "X<int, char>", "X<int, char>|Y<Z<1, 2>>"},
      {"int (*pfn)(int, int), int n", "int (*pfn)(int, int)|int n", "int (*pfn)(int, int)", "int (*pfn)(int, int)|int n"},
  };
  for (const Case& c : cases) {
    CStringList bases;
    CStringList parameters;
    std::string first = S(project.SplitBaseList(c.text, bases));
    project.SplitParameterList(c.text, parameters);
    auto joined = [](const CStringList& list) {
      std::string text;
      for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        if (pos != list.GetHeadPosition()) text += "|";
        text += S(list.GetNext(pos));
      }
      return text;
    };
    EXPECT_EQ(joined(bases), c.bases) << c.text;
    EXPECT_EQ(first, c.first) << c.text;
    EXPECT_EQ(joined(parameters), c.parameters) << c.text;
  }
}

TEST(AnalyserSteps, CountingFindsOverlappingTokens) {
  CWorkSpaceObj project;
  EXPECT_EQ(project.CountOccurrences("{ { } }}", "}"), 3);
  EXPECT_EQ(project.CountOccurrences("aaaa", "aa"), 3);
  EXPECT_EQ(project.CountOccurrences("", "{"), 0);
  EXPECT_EQ(project.CountOccurrences("abc", ""), 0);
}

TEST(Analyser, DoubleByteTextKeepsItsTrailBytes) {
  // In GBK, 0xB0 0x7D is one character whose second byte is "}", and 0xB0 0x7B one with "{".
  const std::string header = "class CHan // \xC0\xE0\n{\npublic:\n"
                             "  void f() { m_s = \"\xB0\x7D\"; }\n"
                             "  int m_n; // \xCA\xFD\xC1\xBF \xB0\x7B\n"
                             "  int m_after;\n};\n";
  {
    brambolt::ScopedCodePage page(936);
    EXPECT_EQ(Analyse(header), "class CHan :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class CHan\"\n"
                               "fn public \"void\" f()\n"
                               "var public \"int\" m_n // \xCA\xFD\xC1\xBF \xB0\x7B\n"
                               "var public \"int\" m_after\n");
  }
  // Read as single bytes, the same "}" byte closes the class after f.
  brambolt::ScopedCodePage page(1252);
  EXPECT_EQ(Analyse(header), "class CHan :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class CHan\"\n");
}
