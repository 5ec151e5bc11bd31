// 視窗類別
class CShiChuang : public CWnd
{
public:
    // 寬
    int GetWidth();
    // 參見
    void Close();
    // 傳回視窗的寬度，以像素為單位。如果視窗已經關閉，傳回零。※ 詳見第二節 → 《使用者手冊》§2 ○●
    BOOL Open(LPCTSTR lpszTitle = "主視窗", int nMode = 0);
    // 寬度
    int m_n寬度;
};
