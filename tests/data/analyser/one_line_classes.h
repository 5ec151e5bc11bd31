// Classes whose whole body stands on the head's line are classes as much as those written over
// several lines; a declaration ("class Forward;") makes no class, and a struct is no class on one
// line as on several.
class CRepro
{
};

class CEmptyOneLine : public CRepro {};

template<class T> class TEmptyOneLine : public CRepro {};

template <class T>
class TestWithParam : public Test, public WithParamInterface<T> {};

struct SEmptyOneLine {};

struct SSeveralLines
{
    int a;
};

class COneMember { int a; };

class CForward;

class CSeveralMembers : public CRepro { int Count() const; void Reset(); };

class CAfterOneLiners
{
public:
    void Run();
};
