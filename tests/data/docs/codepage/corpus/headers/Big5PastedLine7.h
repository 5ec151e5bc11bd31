class CBig5PastedLine7 : public CObject
{
public:
    // 单 inotify ㎝块ㄆン祇ネ岿粇
    BOOL Action01(int nValue);
    // 眔ヘ玡矪瞶祘竤舱ア毖
    BOOL Action02(int nValue);
    // 眔矪瞶祘癟腹被絏ア毖
    BOOL Action03(int nValue);
    // CPU 时间超出限制
    BOOL Action04(int nValue);
};
