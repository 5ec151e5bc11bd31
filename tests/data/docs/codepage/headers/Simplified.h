// 窗口类
class CChuangKou : public CWnd
{
public:
    // 宽
    int GetWidth();
    // 参见①
    void Close();
    // 返回窗口的宽度，以像素为单位。如果窗口已经关闭，返回零。※ 详见第③节 → 《用户手册》§2 ○●
    BOOL Open(LPCTSTR lpszTitle = "主窗口", int nMode = 0);
    // 宽度
    int m_n宽度;
};
