class CGbLong : public CObject
{
public:
    // 以表示失败的状态码退出。
    BOOL Action01(int nValue);
    // 以表示成功的状态码退出。
    BOOL Action02(int nValue);
    // FIFO 文件没有主、次设备号。
    BOOL Action03(int nValue);
    // Lucas 素数测试失败。这不应该发生
    BOOL Action04(int nValue);
    // 域名解析出现无法恢复的错误
    BOOL Action05(int nValue);
    // 指定了删除操作而未指定缩减操作时，只能给定一个字符串。
    BOOL Action06(int nValue);
    // 很久
    BOOL Action07(LPCTSTR lpszText = "闹钟");
    // 可用
    int m_n可用;
};
