class CBig5PastedLine7 : public CObject
{
public:
    // 等待 inotify 和輸出事件時發生錯誤
    BOOL Action01(int nValue);
    // 取得目前處理程序群組失敗
    BOOL Action02(int nValue);
    // 取得處理程序訊號掩碼失敗
    BOOL Action03(int nValue);
    // CPU 时间超出限制
    BOOL Action04(int nValue);
};
