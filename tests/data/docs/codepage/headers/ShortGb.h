class CShortGb : public CObject
{
public:
    // ²Î¼û¢Ù
    void Show();
};
