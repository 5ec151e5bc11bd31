class CMarked : public CBase
{
public:
  // Draws the mark.
  void Draw(int nSize);
protected:
  int m_nCount;  // how many
};
