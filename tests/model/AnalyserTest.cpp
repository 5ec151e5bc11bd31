// The header analyser over header snippets: each case is a header and the textual dump of the
// records it gives. Blank lines separate the classes of a dump.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "model/CWorkSpaceObj.h"
#include "AnalyserDump.h"
#include "ModelTestSupport.h"

using model_test::Dump;
using model_test::RecordingShell;
using model_test::S;
using model_test::TempFolder;

namespace {

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
      {"class on one line", "class CFoo { int x; };\n",
       "class CFoo :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class CFoo\"\nvar private \"int\" x\n"},
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
                  "fn public \"bool\" operator()(int x)\nfn public \"\" operator int()\n"},
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

TEST(AnalyseProject, AHeaderThatLinksLeadToIsReadOnceUnderItsOwnName) {
  // A link beside the header, by a relative and by an absolute path, listed before and after it.
  for (const char* linkName : {"AShape.h", "ZShape.h"}) {
    for (bool bAbsolute : {false, true}) {
      SCOPED_TRACE(std::string(linkName) + (bAbsolute ? " absolute" : " relative"));
      TempFolder folder;
      folder.Write("Header Files/Shape.h", "class CShape\n{\npublic:\n    void Draw();\n};\n");
      folder.Write("Header Files/Circle.h", "class CCircle : public CShape\n{\n};\n");
      const std::string target = bAbsolute ? folder.Path() + "/Header Files/Shape.h" : "Shape.h";
      ASSERT_EQ(::symlink(target.c_str(), (folder.Path() + "/Header Files/" + linkName).c_str()), 0);
      CWorkSpaceObj project;
      project.AnalyseProjectFiles((folder.Path() + "/Header Files\\*.*").c_str());
      std::vector<std::string> names;
      for (POSITION pos = project.m_FileObjList.GetHeadPosition(); pos != nullptr;)
        names.push_back(S(project.m_FileObjList.GetNext(pos)->m_strClassName));
      std::sort(names.begin(), names.end());
      EXPECT_EQ(names, (std::vector<std::string>{"CCircle", "CShape"}));
      ASSERT_NE(project.FindClassByName("CShape"), nullptr);
      EXPECT_EQ(S(project.FindClassByName("CShape")->m_strHeaderFile), "Shape.h");
      EXPECT_EQ(project.FindClassByName("CShape")->m_MemberFunctionList.GetCount(), 1);
    }
  }
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
  // In GBK, 0xB0 0x7D is one character whose second byte is "}", and 0xB0 0x7B one with "{". They
  // are characters whatever code page the program runs in.
  const std::string header = "class CHan // \xC0\xE0\n{\npublic:\n"
                             "  void f() { m_s = \"\xB0\x7D\"; }\n"
                             "  int m_n; // \xCA\xFD\xC1\xBF \xB0\x7B\n"
                             "  int m_after;\n};\n";
  for (UINT nCodePage : {936u, 1252u}) {
    brambolt::ScopedCodePage page(nCodePage);
    EXPECT_EQ(Analyse(header), "class CHan :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class CHan\"\n"
                               "fn public \"void\" f()\n"
                               "var public \"int\" m_n // \xCA\xFD\xC1\xBF \xB0\x7B\n"
                               "var public \"int\" m_after\n")
        << "code page " << nCodePage;
  }
}

// Headers as libraries write them today: each group is one construct that the line-oriented
// reading must neither turn into members nor lose.
TEST(Analyser, ConstructorInitialiserListsOverSeveralLines) {
  RunCases({
      {"list on the lines after the head",
       InClass("public:\nFoo(const Foo& other)\n  : _next(other._next),\n    _count(other._count),\n"
               "    _lock()\n{\n  _count++;\n}\nint After();"),
       kFooHead + "fn public \"\" Foo(const Foo& other)\nfn public \"int\" After()\n"},
      {"colon at the end of the head, braces and templates in the list",
       InClass("public:\nFoo(int n) :\n  m_a{n},\n  m_v{1, 2},\n  Base<T, U>{n},\n  m_p(new T<int>(n))\n{}\n"
               "int m_after;"),
       kFooHead + "fn public \"\" Foo(int n)\nvar public \"int\" m_after\n"},
      {"list begun on the head's line, body on its own line",
       InClass("Foo(Lock& lock) noexcept : m_lock(lock),\n  m_owned{true}\n{ m_lock.Acquire(); }\nvoid Run();"),
       kFooHead + "fn private \"\" Foo(Lock& lock)\nfn private \"void\" Run()\n"},
      {"parameters and list over lines",
       InClass("Foo(int a,\n    int b)\n  : m_a(a), m_b(b) {}\nbool m_b;"),
       kFooHead + "fn private \"\" Foo(int a|int b)\nvar private \"bool\" m_b\n"},
  });
}

TEST(Analyser, InlineBodiesAfterTrailingSpecifiers) {
  RunCases({
      {"every specifier before a body, and after a declaration",
       InClass("public:\nvoid A() noexcept { }\nvoid B() override { }\nvoid C() final {}\nint D() const noexcept {\n"
               "  return 1;\n}\nauto E() -> int { return 0; }\nauto F() const -> const T& { return t; }\n"
               "void G() noexcept(noexcept(T())) {}\nvoid H() & { }\nvoid I() && noexcept;\n"
               "void J() const override final;\nvoid K() throw() {}\n"
               "size_type L() const _GLIBCXX_NOEXCEPT { return n; }\nvoid M() requires C<T> {}"),
       kFooHead +
           "fn public \"void\" A()\nfn public \"void\" B()\nfn public \"void\" C()\nfn public \"int\" D()\n"
           "fn public \"auto\" E()\nfn public \"auto\" F()\nfn public \"void\" G()\nfn public \"void\" H()\n"
           "fn public \"void\" I()\nfn public \"void\" J()\nfn public \"void\" K()\nfn public \"size_type\" L()\n"
           "fn public \"void\" M()\n"},
      {"defaulted, deleted and pure",
       InClass("public:\nFoo() = default;\nFoo(const Foo&) = delete;\nFoo& operator=(Foo&&) noexcept = default;\n"
               "virtual ~Foo() = default;\nvirtual void P() const = 0;\nbool operator==(const Foo&) const = default;"),
       kFooHead + "fn public \"\" Foo()\nfn public \"\" Foo(const Foo&) unique=Foo(0)\n"
                  "fn public \"Foo&\" operator=(Foo&&)\nfn public virtual \"\" ~Foo()\nfn public virtual \"void\" P()\n"
                  "fn public \"bool\" operator==(const Foo&)\n"},
      {"a member template, a macro declaring members, initialised variables",
       InClass("template <class U>\nvoid Put(U u);\ntemplate <class U> static U Get();\nDECLARE_DYNAMIC(Foo)\n"
               "int m_n = Count(1, 2);\nstd::atomic<int> m_count{0};\nstatic constexpr int kSize = 4;\n"
               "int m_table[3] = {1, 2, 3};"),
       kFooHead + "fn private \"void\" Put(U u)\nfn private static \"U\" Get()\nfn private \"\" DECLARE_DYNAMIC(Foo)\n"
                  "var private \"int\" m_n\nvar private \"std::atomic<int>\" m_count\n"
                  "var private static \"constexpr int\" kSize\nvar private \"int\" m_table[3]\n"},
  });
}

TEST(Analyser, PartialSpecialisationsWithBlanks) {
  RunCases({
      {"arguments with blanks, with and without bases",
       "template <class Arg, class Owner>\nclass Runner<void, Arg, Owner> : public RunnerBase<Arg>\n{\npublic:\n"
       "  void Run(Arg a);\n};\ntemplate <class T>\nclass Holder<std::pair<T, Lock> >\n{\n  T m_t;\n};\n",
       "class Runner<void, Arg, Owner> : RunnerBase<Arg> first=RunnerBase<Arg> id=0 files=Snippet.h,Snippet.cpp\n"
       "head \"class Runner<void, Arg, Owner> : public RunnerBase<Arg>\"\nfn public \"void\" Run(Arg a)\n\n"
       "class Holder<std::pair<T, Lock> > :  first= id=0 files=Snippet.h,Snippet.cpp\n"
       "head \"class Holder<std::pair<T, Lock> >\"\nvar private \"T\" m_t\n"},
      {"a final class", "class EXPORT Sealed final : public CWnd\n{\n};\nclass Last final\n{\n};\n",
       "class Sealed : CWnd first=CWnd id=1050 files=Snippet.h,Snippet.cpp\n"
       "head \"class EXPORT Sealed final : public CWnd\"\n\n"
       "class Last :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class Last final\"\n"},
  });
}

TEST(Analyser, OperatorFunctions) {
  RunCases({
      {"symbol operators and conversions",
       InClass("public:\nT& operator*() const;\nT* operator->() const noexcept { return p; }\nFoo* operator&();\n"
               "Foo& operator &= (int);\nbool operator()() const;\nR operator ()(A a, B b);\noperator C*() const;\n"
               "explicit operator bool() const noexcept { return p; }\noperator const char *() const;\n"
               "void* operator new(size_t n);\nFoo& operator<<(int);\nbool operator<(const Foo&) const;\n"
               "auto operator<=>(const Foo&) const = default;"),
       kFooHead + "fn public \"T&\" operator*()\nfn public \"T*\" operator->()\nfn public \"Foo*\" operator&()\n"
                  "fn public \"Foo&\" operator&=(int)\nfn public \"bool\" operator()()\n"
                  "fn public \"R\" operator()(A a|B b) unique=operator()(0)\nfn public \"\" operator C*()\n"
                  "fn public \"explicit\" operator bool()\nfn public \"\" operator const char*()\n"
                  "fn public \"void*\" operator new(size_t n)\nfn public \"Foo&\" operator<<(int)\n"
                  "fn public \"bool\" operator<(const Foo&)\nfn public \"auto\" operator<=>(const Foo&)\n"},
  });
}

TEST(Analyser, FriendsAndOtherDeclarationsAreNoMembers) {
  RunCases({
      {"friends, aliases and assertions",
       InClass("public:\nfriend class Bar;\nfriend struct Baz;\nfriend bool operator==(const Foo& a, const Foo& b);\n"
               "friend void swap(Foo& a, Foo& b) noexcept {\n  a.Swap(b);\n}\ntemplate <class U> friend class Other;\n"
               "typedef int size_type;\ntypedef void (*Callback)(int);\nusing value_type = T;\nusing Base::Run;\n"
               "static_assert(sizeof(T) > 1, \"size\");\nint (*m_pfn)(int);\nvoid Swap(Foo& b);"),
       kFooHead + "fn public \"void\" Swap(Foo& b)\nvar public \"int (*)(int)\" m_pfn\n"},
  });
}

TEST(Analyser, LiteralsAreText) {
  RunCases({
      {"colons, braces, angle brackets, quotes and slashes in strings and characters",
       InClass("public:\nFoo(LPCTSTR pszSep = \":\", char c = '{');\nvoid Open(const char* mode = \"r:{<\");\n"
               "void Url(std::string s = \"http://host/*x\");\nvoid Quote(char q = '\\'', char b = '}');\n"
               "void Esc(const char* s = \"a\\\"; }\");\nvoid Tern(int n = a ? 1 : 2);\n"
               "CString m_sep = \"::\";\nint m_big = 1'000'000;\nvoid Raw(const char* s = R\"(a\")})\");\nint m_last;"),
       kFooHead + "fn public \"\" Foo(LPCTSTR pszSep = \":\"|char c = '{')\n"
                  "fn public \"void\" Open(const char* mode = \"r:{<\")\n"
                  "fn public \"void\" Url(std::string s = \"http://host/*x\")\n"
                  "fn public \"void\" Quote(char q = '\\''|char b = '}')\n"
                  "fn public \"void\" Esc(const char* s = \"a\\\"; }\")\nfn public \"void\" Tern(int n = a ? 1 : 2)\n"
                  "fn public \"void\" Raw(const char* s = R\"(a\")})\")\n"
                  "var public \"CString\" m_sep\nvar public \"int\" m_big\nvar public \"int\" m_last\n"},
      {"an inline body with literals", InClass("void f() { puts(\"}\"); putc('{'); }\nint m_after;"),
       kFooHead + "fn private \"void\" f()\nvar private \"int\" m_after\n"},
  });
}

// Trail bytes of the project's double-byte code pages that are ASCII punctuation: in Big5 開 is
// B6 7D ("}"), 州 A6 7B ("{"), 許 B3 5C ("\"), 育 A8 7C ("|"); in GBK 癩 B0 7D, 癧 B0 7B, 琝 AC 5C.
// Whatever code page the program runs in, they are characters of the literal or comment.
TEST(Analyser, DoubleByteLiteralsAndCommentsAreText) {
  const std::string header =
      "class CBig5 // \xB6\x7D \xA6\x7B\n{\npublic:\n"
      "  void Open(LPCTSTR pszMode = \"\xB6\x7D\");\n"
      "  void Put(char c = '\xB3\x5C', LPCTSTR s = \"\xA6\x7B\xB3\x5C\");\n"
      "  int m_n; // \xA8\x7C \xB3\x5C\n"
      "  void Show() { Say(\"\xB6\x7D\"); }\n"
      "#define BIG5_NOTE 1 // \xB3\x5C\n"
      "  void Sep(LPCTSTR s = \"\xA8\x7C\", LPCTSTR t = \"\xB0\x7D\xB0\x7B\xAC\x5C\");\n"
      "  /* \xB6\x7D \xB3\x5C */ int m_last;\n"
      "};\n"
      "#define NOTE 2 // \xB3\x5C\n"
      "class CAfter\n{\n};\n";
  const std::string dump =
      "class CBig5 :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class CBig5\"\n"
      "fn public \"void\" Open(LPCTSTR pszMode = \"\xB6\x7D\")\n"
      "fn public \"void\" Put(char c = '\xB3\x5C'|LPCTSTR s = \"\xA6\x7B\xB3\x5C\")\n"
      "fn public \"void\" Show()\n"
      "fn public \"void\" Sep(LPCTSTR s = \"\xA8\x7C\"|LPCTSTR t = \"\xB0\x7D\xB0\x7B\xAC\x5C\")\n"
      "var public \"int\" m_n // \xA8\x7C \xB3\x5C\n"
      "var public \"int\" m_last\n\n"
      "class CAfter :  first= id=0 files=Snippet.h,Snippet.cpp\nhead \"class CAfter\"\n";
  for (UINT nCodePage : {950u, 936u, 1252u}) {
    brambolt::ScopedCodePage page(nCodePage);
    EXPECT_EQ(Analyse(header), dump) << "code page " << nCodePage;
  }
}

TEST(Analyser, DocumentationCommentMarkers) {
  RunCases({
      {"markers of documentation comments",
       InClass("/// Counts.\nint m_a;\n//! Names.\nint m_b;\nint m_c; ///< After.\n/** Block\n   continued. */\nint m_d;\n"
               "/*! Note\n*/\nint m_e;\n//// Rule.\nint m_f;"),
       kFooHead + "var private \"int\" m_a // Counts.\nvar private \"int\" m_b // Names.\n"
                  "var private \"int\" m_c // After.\nvar private \"int\" m_d // Block   continued. \n"
                  "var private \"int\" m_e // Note\nvar private \"int\" m_f // Rule.\n"},
  });
}

// GNU-style headers put a template header, a requires clause, a return type, a macro or a
// function's specifiers on lines of their own; the declaration is read across them.
TEST(Analyser, DeclarationsSpreadOverLinesAsGnuHeadersWriteThem) {
  RunCases({
      {"one part a line",
       InClass("public:\niterator\nbegin() noexcept\n{ return iterator(this->_M_start); }\n"
               "template<typename _Iter>\n#if __cpp_lib_concepts\n  requires __convertible<_Iter>\n"
               "    && assignable_from<_Iterator&, const _Iter&>\n#endif\n  _GLIBCXX17_CONSTEXPR\n  Foo&\n"
               "  operator=(const Foo<_Iter>& __x)\n  _GLIBCXX_NOEXCEPT_IF(noexcept(current = __x.current))\n"
               "  { return *this; }\ntemplate<typename _Iter>\n  Foo(const Foo<_Iter>& __x)\n"
               "  _GLIBCXX_NOEXCEPT\n  : current(__x.current)\n  { }\nconstexpr ~Foo()\n"
               "requires (!is_trivially_destructible_v<_Tp>)\n    || (!is_trivially_destructible_v<_Er>)\n{ }\n"
               "size_type\nsize() const;"),
       kFooHead + "fn public \"iterator\" begin()\nfn public \"_GLIBCXX17_CONSTEXPR Foo&\" operator=(const Foo<_Iter>& __x)\n"
                  "fn public \"\" Foo(const Foo<_Iter>& __x)\nfn public \"constexpr\" ~Foo()\n"
                  "fn public \"size_type\" size()\n"},
      {"friends, aliases and types over lines; macros and labels stay apart",
       InClass("template<typename _Bp>\n  friend bool\n  __detail::__regex_algo_impl(_Bp, _Bp,\n      int);\n"
               "using __hashtable_base = __detail::\n  _Hashtable_base<_Key, _Value,\n      _Traits>;\n"
               "using __safe = __and_<\n  is_convertible<typename U::pointer, pointer>,\n  __not_<is_array<_Up>>\n  >;\n"
               "typedef num_put<_CharT, ostreambuf_iterator<_CharT, _Traits> >\n      __num_put_type;\n"
               "Q_OBJECT\npublic:\nDECLARE_DYNAMIC(Foo)\nDECLARE_MESSAGE_MAP()\nconst FieldType Class::*field_;\n"
               "static const Bits kMask = ~static_cast<Bits>(0) >>\n    (kBitCount - kFractionBitCount);\n"
               "std::function<Result(Args...)> function_;\nvoid (NativeArray::*clone_)(const Element*, size_t);"),
       kFooHead + "fn public \"\" DECLARE_DYNAMIC(Foo)\nfn public \"\" DECLARE_MESSAGE_MAP()\n"
                  "var public \"const FieldType Class::*\" field_\nvar public static \"const Bits\" kMask\n"
                  "var public \"std::function<Result(Args...)>\" function_\n"
                  "var public \"void (NativeArray::*)(const Element*, size_t)\" clone_\n"},
  });
}
