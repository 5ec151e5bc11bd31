// Classes as application-framework headers write them: export macros, bases with access words,
// access labels, message-map macros, comments of every kind and overloads.
class CFoo : public CBar, protected CBaz
{
public:
  CFoo();
  virtual ~CFoo();
  int m_nCount; // number of items
protected:
  static CString m_strName;
};

class CFoo;
class CLine { int x; };
struct S
{
  int x;
};

class AFX_EXT_CLASS CView2 : public CView
{
};

class DLL_EXPORT
CMulti
  : public CButton,
    public CHelper // helper
{
public:
  int m_n;
  int a, b;
  int *p;
  int x : 3;
  void f(int a,
         int b);
  void g() { x = 1; }
  enum E { A, B };
  virtual void h() = 0;
  /* first
     second */
  int y;
  /* a // b */ int z;
protected:
  virtual BOOL Create(
    LPCTSTR lpszName,
    DWORD dwStyle = WS_CHILD | WS_VISIBLE,
    CWnd* pParent = NULL);
#ifdef _DEBUG
  virtual void AssertValid() const;
#endif
  DECLARE_MESSAGE_MAP()
  //{{AFX_MSG(CMulti)
  afx_msg void OnPaint();
  //}}AFX_MSG
  void Set();
  void Set(int);
  void Set(char);
};

// leading comment
class CDoc /* the document */ : public CDocument // base
{ // opens
/** Counts. */
  int m_nCount; /* trailing */
  // between

  void Reset(); // resets
  /* a */ int /* b */ m_n2; // c
  class CInner : public CBase
  {
  public:
    void Hidden();
  };
  struct Pod { int a; };
  void Visible();
};
