class CBig5PastedLine6 : public CObject
{
public:
    // 包含所監視檔案的目錄已被刪除
    BOOL Action01(int nValue);
    // 正規表示式符合器發生錯誤
    BOOL Action02(int nValue);
    // 正規表示式搜尋時發生錯誤
    BOOL Action03(int nValue);
    // 拸虴勤砓
    BOOL Action04(int nValue);
};
