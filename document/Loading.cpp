#include "Loading.h"

#include "MessageBox.h"

#include <cstdio>

HRESULT LoadDOM(const dom::Document &document, const QString &source)
{
    if (document.isNull())
        return E_POINTER;
    dom::Document(document).load(source.toStdString());
    return CheckParseResult(document);
}

HRESULT CheckParseResult(const dom::Document &document)
{
    if (document.isNull())
        return E_FAIL;
    const dom::ParseError &error = document.parseError();
    if (error.errorCode != 0)
        ReportParseError(error);
    else
        AfxMessageBox(QStringLiteral("XML document loaded successfully\n"));
    return error.errorCode;
}

HRESULT ReportParseError(const dom::ParseError &error)
{
    std::fprintf(stderr, "%s", error.reason.c_str());
    if (!error.reason.empty() && error.reason.back() != '\n')
        std::fputc('\n', stderr);
    if (error.line > 0) {
        const QString message =
            QStringLiteral("Error on line ") +
            QString::asprintf("%ld, position %ld \n", error.line, error.linepos) +
            QString::fromStdString(error.reason);
        AfxMessageBox(message);
    }
    return E_FAIL;
}
