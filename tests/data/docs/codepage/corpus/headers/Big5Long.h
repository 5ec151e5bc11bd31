class CBig5Long : public CObject
{
public:
    // 不支援主機名稱的位址家族
    BOOL Action01(int nValue);
    // 以表示失敗的狀態值退出。
    BOOL Action02(int nValue);
    // 以表示成功的狀態值退出。
    BOOL Action03(int nValue);
    // Lucas 質數測試失敗。這不應該發生
    BOOL Action04(int nValue);
    // 沒有位址關聯至此主機名稱
    BOOL Action05(int nValue);
    // 解析名稱時發生無法復原錯誤
    BOOL Action06(int nValue);
    // 中止
    BOOL Action07(LPCTSTR lpszText = "鬧鐘");
    // 備註
    int m_n備註;
};
