class CBig5Hkscs : public CObject
{
public:
    // 當進行不含縮減的刪除操作時只能指定一組字串。
    BOOL Action01(int nValue);
    // 建立塊裝置檔案時，必需指定主、次裝置號。
    BOOL Action02(int nValue);
    // 解析名稱時發生暫時性錯誤
    BOOL Action03(int nValue);
    // 粵語的嘅字
    BOOL Action04(int nValue);
};
