// Macro calls in class bodies that wrap no declaration: static assertions, private-data and
// copy macros stay macro calls; a method that a COM macro declares is the method it names, and
// other macro calls before parentheses declare no method. A macro alone on its line (Q_OBJECT)
// takes no macro call of the next line as a member of its own.
class String
{
public:
    XX_STATIC_ASSERT(sizeof(wchar_t) == sizeof(ushort));
    XX_STATIC_ASSERT(sizeof(uint) == 4);
    BOOST_STATIC_ASSERT((is_same<T, U>::value));
    EIGEN_STATIC_ASSERT(Rows > 0, YOU_MADE_A_PROGRAMMING_MISTAKE)
    static_assert(sizeof(int) == 4, "int");
    int size() const;
};

class Widget : public Base
{
    XX_DECLARE_PRIVATE_D(Base::d_ptr.data(), Widget)
    Q_DECLARE_PRIVATE(Widget)
    Q_DISABLE_COPY(Widget)
public:
    explicit Widget(Widget *parent = nullptr);
};

class IStream : public IUnknown
{
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) PURE;
    STDMETHOD_(ULONG, AddRef)(THIS) PURE;
    STDMETHOD_(ULONG, Release)(THIS) PURE;
    STDMETHOD(Read)(void *pv, ULONG cb, ULONG *pcbRead) = 0;
    IFACEMETHODIMP GetSize(ULONG *pcb) override;
    IFACEMETHOD(Clone)(IStream **ppstm);
    IFACEMETHOD_(ULONG, Count)(void);
};

class CStream : public IStream
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv);
    STDMETHODIMP_(ULONG) AddRef();
    STDMETHODIMP_(ULONG) Release() override;
    IFACEMETHODIMP_(ULONG) Count();
    STDMETHOD_(HRESULT, Stat)(STATSTG *pstatstg, DWORD grfStatFlag);
    virtual HRESULT STDMETHODCALLTYPE Write(const void *pv, ULONG cb) = 0;
};

class KJob : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int error READ error NOTIFY result)
    Q_DECLARE_PRIVATE(KJob)
public:
    explicit KJob(QObject *parent = nullptr);
};

class Gadget
{
    Q_GADGET
    Q_DISABLE_COPY(Gadget)
    DECLARE_DYNAMIC(Gadget)
public:
    Q_INVOKABLE
    void run();
};

class Channel
{
public:
    LOG(INFO)(value);
    DECLARE_HANDLE(HFOO)(int);
    CALLBACK_PTR(m_pfn)(int);
    void open();
};
