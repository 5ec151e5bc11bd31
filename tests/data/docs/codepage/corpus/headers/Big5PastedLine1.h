class CBig5PastedLine1 : public CObject
{
public:
    // 不能從標準輸入同時讀取兩個檔案
    BOOL Action01(int nValue);
    // 不能既顯示總用量，同時又顯示每個項目
    BOOL Action02(int nValue);
    // 無法取得有效用的 GID
    BOOL Action03(int nValue);
    // 恅璃癹秶
    BOOL Action04(int nValue);
};
