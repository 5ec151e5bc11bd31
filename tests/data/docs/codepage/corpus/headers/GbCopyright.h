class CGbCopyright : public CObject
{
public:
    // 无法同时设置目标上下文并保留它
    BOOL Action01(int nValue);
    // 无法跳过，超过了组合后的输入的末尾
    BOOL Action02(int nValue);
    // 无法同时指定横向打印和并排打印
    BOOL Action03(int nValue);
    // 并排打印各文件时不能指定列数
    BOOL Action04(int nValue);
    // Copyright 漏 2024
    BOOL Action05(int nValue);
};
