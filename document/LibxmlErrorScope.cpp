#include "LibxmlErrorScope.h"

#include <libxml/xmlerror.h>

namespace
{
void Drop(void *, const char *, ...) {}
} // namespace

CLibxmlErrorScope::CLibxmlErrorScope(void *pData, Handler fnHandler)
    : m_previous(xmlStructuredError), m_pPreviousData(xmlStructuredErrorContext),
      m_previousGeneric(xmlGenericError), m_pPreviousGenericData(xmlGenericErrorContext)
{
    xmlSetStructuredErrorFunc(pData, fnHandler);
    xmlSetGenericErrorFunc(nullptr, Drop);
}

CLibxmlErrorScope::~CLibxmlErrorScope()
{
    xmlSetStructuredErrorFunc(m_pPreviousData, m_previous);
    xmlSetGenericErrorFunc(m_pPreviousGenericData, m_previousGeneric);
}
