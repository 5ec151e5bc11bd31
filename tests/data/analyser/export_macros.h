// Classes that libraries export through a macro between "class" and the name, in every style they
// write it (all capitals, a module's name before "_API" or before "Export" without an underscore,
// a reserved name), before names of capitals and of mixed case; and macros after the name that
// say the class is final, deprecated or aligned, also after names that end in capitals or digits
// after an underscore.
class CV_EXPORTS Mat
{
public:
    Mat();
    int rows;
};

class Core_API URI
{
public:
    URI(const std::string& uri);
    const std::string& getScheme() const;
};

class Net_API HTTPRequest : public HTTPMessage
{
public:
    void setMethod(const std::string& method);
};

class Foundation_API UUID
{
public:
    bool isNull() const;
};

class _OgreExport AABB
{
public:
    bool isNull(void) const;
};

class _OgreExport Vector3
{
public:
    Real length() const;
};

class XMLUTIL_EXPORT XMLURL : public XMemory
{
public:
    XMLURL();
};

class DCMTK_DCMDATA_EXPORT DcmTag : public DcmTagKey
{
public:
    DcmTag();
};

class KCOREADDONS_EXPORT KJob : public QObject
{
public:
    KJob(QObject *parent = nullptr);
};

class ASSIMP_API IOSystem
{
public:
    virtual bool Exists(const char* pFile) const = 0;
};

class DllExport URI
{
public:
    void parse();
};

class DllImport UUID
{
public:
    bool isNull() const;
};

class CoreAPI XML
{
public:
    void load();
};

class GTEST_API_ TestInfo
{
public:
    const char* name() const;
};

class osg_EXPORT Node
{
public:
    void traverse();
};

class __declspec(dllexport) Exported
{
public:
    void go();
};

class CORE_API FString final
{
public:
    int Len() const;
};

class CanonicalIterator U_FINAL : public UObject
{
public:
    void reset();
};

class Sealed Q_DECL_FINAL
{
public:
    int value() const;
};

template <class T> class Holder<T> U_FINAL
{
public:
    T get() const;
};

class Vector_2D MY_DEPRECATED
{
public:
    double length() const;
};

class Image_RGB Q_DECL_FINAL
{
public:
    int width() const;
};

class Matrix_3X3 ALIGN16
{
public:
    float det() const;
};

class Color_RGBA CV_EXPORTS
{
public:
    unsigned pack() const;
};

class myClass_V2 DEPRECATED_ATTR
{
public:
    void run();
};
