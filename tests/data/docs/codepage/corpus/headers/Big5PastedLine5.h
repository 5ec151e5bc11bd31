class CBig5PastedLine5 : public CObject
{
public:
    // 無法由多於一種的來源來指定時間
    BOOL Action01(int nValue);
    // 無法以多於一種的方式切分輸入
    BOOL Action02(int nValue);
    // 相容模式最多支援一個檔案
    BOOL Action03(int nValue);
    // 植祥躲呴睫瘍蟈諉
    BOOL Action04(int nValue);
};
