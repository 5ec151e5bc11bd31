class CBig5Pasted : public CObject
{
public:
    // 當進行取代操作時必須指定兩組字串。
    BOOL Action01(int nValue);
    // 指令必須和調整值配合指定
    BOOL Action02(int nValue);
    // 只有當操作域時才可以指定輸入分隔符號
    BOOL Action03(int nValue);
    // 拸楊肮奀斐膘茞蟈諉摯睫瘍蟈諉
    BOOL Action04(int nValue);
};
