// Heads and members that the reading of names must take as they are written: a template header on
// the class's line, a blank before template arguments, qualified template arguments, an elaborated
// return type and a constructor's function-try-block; a pointer's or reference's type written
// against the name without a blank ("ClassData*GetClassData()", "Node&next"); every star that
// leads a name is its type's ("int **m_pp").
template <class T> class SharedPointer : public PointerBase
{
public:
    T* Get() const;
};

template <> class Traits <bool>
{
    static const int size = 1;
};

template <class T>
class Buffer<std::vector<T>> : public BufferBase<std::vector<T>>
{
public:
    struct timeval time(int which) const;
    struct Node* m_head;
    Buffer(int n)
    try : m_n(n)
    {
        Fill();
    }
    catch (...)
    {
        Reset();
    }
    void Fill();
    int m_n;
};

// A macro after the class name (one that stands for "final") is no name.
class XX_COMMON_API CanonicalIterator XX_FINAL : public UObject
{
};

template <class T>
class XX_API Holder<T*> XX_FINAL
{
};

class XX_API POINT
{
};

class Message
{
public:
    const ::google::protobuf::Message::ClassData*GetClassData() const final;
    Node*Make(int n);
    int*m_pCount;
    Node&m_next;
    static Message* *Table();
    _Tp val[m*n];
    char*m_names[kCount*2];
    int **m_pp;
    static Message **Pool(int n);
};
