#pragma once

struct _xmlError;

// For its lifetime, the errors libxml2 raises on this thread without a handler of their own go
// to fnHandler with pData, and its unstructured messages (which only repeat them) are dropped.
// The handlers in place before come back when it ends.
class CLibxmlErrorScope
{
public:
    using Handler = void (*)(void *pData, _xmlError *pError);

    CLibxmlErrorScope(void *pData, Handler fnHandler);
    ~CLibxmlErrorScope();
    CLibxmlErrorScope(const CLibxmlErrorScope &) = delete;
    CLibxmlErrorScope &operator=(const CLibxmlErrorScope &) = delete;

private:
    using GenericHandler = void (*)(void *pData, const char *pFormat, ...);

    Handler m_previous;
    void *m_pPreviousData;
    GenericHandler m_previousGeneric;
    void *m_pPreviousGenericData;
};
