class CGbk : public CObject
{
public:
    // 许可
    BOOL Action01(int nValue);
    // 功能：检查许可证是否有效
    BOOL Action02(int nValue);
    // 创建特殊文件时，必须指定主、次设备号。
    BOOL Action03(int nValue);
    // 同时指定了删除和缩减操作时，必须给定两个字符串。
    BOOL Action04(int nValue);
    // 进行替换操作时，必须给定两个字符串。
    BOOL Action05(int nValue);
    // 镕铸
    BOOL Action06(int nValue);
};
