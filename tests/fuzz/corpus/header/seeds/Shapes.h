// Shapes of the drawing.
class CShape : public CObject
{
public:
    CShape();
    virtual ~CShape();
    // draws the shape
    virtual void Draw(CDC* pDC);
    void Draw(CDC* pDC, int nScale);
    BOOL IsEmpty() const;
    static int GetCount();
    CString m_strName;
    CShape& operator=(const CShape& o);
protected:
    CRect m_rect;
    static int m_nCount;
    /* a block
       comment */
private:
    void SetName(LPCTSTR lpszName) { m_strName = lpszName; }
    CArray<int,int> m_values;
};

template <class T> class CList2 : public CList<T*, T*>, private CNoCopy
{
    DECLARE_DYNAMIC(CList2)
public:
    int Count(int a,
              int b = 3) const;
    enum { kMax = 4 };
};
