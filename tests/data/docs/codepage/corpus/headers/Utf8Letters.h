class CUtf8Letters : public CObject
{
public:
    // 不能在已指定用户的情况下打印安全上下文
    BOOL Action01(int nValue);
    // 无法读取已挂载的文件系统列表
    BOOL Action02(int nValue);
    // α β γ δ
    BOOL Action03(int nValue);
};
