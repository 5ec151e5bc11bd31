class CGbEuro : public CObject
{
public:
    // 指定调整值时，必须同时指定命令
    BOOL Action01(int nValue);
    // 只有在按字段进行操作时才可以指定输入分隔符
    BOOL Action02(int nValue);
    // 未检测到 avx2 支持
    BOOL Action03(int nValue);
    // 价格：100€
    BOOL Action04(int nValue);
};
