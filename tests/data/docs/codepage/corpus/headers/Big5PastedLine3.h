class CBig5PastedLine3 : public CObject
{
public:
    // 有多種選擇，無法輸出唯一的
    BOOL Action01(int nValue);
    // 以預設格式無法只顯示名稱或只顯示真實ID
    BOOL Action02(int nValue);
    // 不能顯示特定使用者的安全情境
    BOOL Action03(int nValue);
    // 剿羲腔奪耋
    BOOL Action04(int nValue);
};
