// A class documented in English, with one comment and a few signs in GB2312.
class CMixed : public CObject
{
public:
    // Returns the width of the box.
    int GetWidth();
    // See also CBox::GetHeight.
    int GetHeight();
    // 参见①：返回盒子的高度，以像素为单位
    void Resize(int nWidth = 0);
    // α
    double m_dAngle;
    // ā
    CString m_strPinyin;
};
