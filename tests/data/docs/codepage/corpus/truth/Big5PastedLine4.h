class CBig5PastedLine4 : public CObject
{
public:
    // 無法設定目標情境並將其儲存
    BOOL Action01(int nValue);
    // 無法同時指定相交輸出和平行輸出引數
    BOOL Action02(int nValue);
    // 在平行輸出引數時不能指定欄數
    BOOL Action03(int nValue);
    // 未知类型
    BOOL Action04(int nValue);
};
