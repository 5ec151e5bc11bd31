// Class heads with conditionals inside them: the head is read with the first branch of each.
class
#if defined(BUILDING_LIB)
    LIB_EXPORT
#else
    LIB_IMPORT
#endif
    Renderer : public Base
{
public:
    void Draw();
};

class Stream
#if HAVE_LOCKS
    : public Lockable
#endif
{
    int m_n;
};

#ifdef SHARED
class SHARED_API Logger
#else
class Logger
#endif
    : public Sink
{
    void Write(const char* text);
};

class Counter :
#if USE_ATOMICS
    public AtomicBase
#else
    public PlainBase
#endif
{
    long m_count;
};

// Outside classes every branch is read, so a class defined for each platform is found twice; a
// class under "#if 0" is never compiled and not documented.
#ifdef _WIN32
class Pipe : public WinHandle
{
    HANDLE m_handle;
};
#else
class Pipe : public PosixHandle
{
    int m_fd;
};
#endif

#if 0
class Retired
{
    int m_old;
};
#endif

// The whole head line in each branch, the brace on it.
#ifdef WITH_OBSERVERS
class Model : public Observable {
#else
class Model {
#endif
public:
    void Notify();
};
