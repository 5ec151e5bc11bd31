class CGbPasted : public CObject
{
public:
    // 不能从标准输入同时读取两个文件
    BOOL Action01(int nValue);
    // 字节或字符位置从 1 开始计数
    BOOL Action02(int nValue);
    // 不能既显示总使用量，同时又显示每个项目
    BOOL Action03(int nValue);
    // 當同時重複刪除和縮減時必須給出兩組字串。
    BOOL Action04(int nValue);
};
