// Fenêtre 窗口 ✓
class CUnicode : public CWnd
{
public:
    // 宽
    int GetWidth();
    // Crée la fenêtre principale ; 返回窗口的宽度，以像素为单位 ✓ 視窗 α①
    BOOL Open(LPCTSTR lpszTitle = "主窗口 ✓", int nMode = 0);
    // Höhe
    int m_n宽度;
};
