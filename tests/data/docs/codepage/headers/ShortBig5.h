class CShortBig5 : public CObject
{
public:
    // 視窗 關閉 參數 隱藏 網路
    void Show();
};
