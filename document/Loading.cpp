#include "Loading.h"

#include "MessageBox.h"

#include <QRegularExpression>

HRESULT LoadDOM(const dom::Document &document, const QString &source,
                const dom::LoadProgress &progress)
{
    if (document.isNull())
        return E_POINTER;
    // The user who stopped the load needs no message about it.
    if (dom::Document(document).load(source.toStdString(), progress) == DOM_E_CANCELLED)
        return DOM_E_CANCELLED;
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

namespace
{

// http://, https://, file:// and the like; anything else is a path.
bool IsUrl(const QString &source)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(source).hasMatch();
}

} // namespace

HRESULT ReportParseError(const dom::ParseError &error)
{
    QString reason = QString::fromStdString(error.reason);
    if (error.line > 0) {
        AfxMessageBox(QStringLiteral("Error on line ") +
                      QString::asprintf("%ld, position %ld \n", error.line, error.linepos) +
                      reason);
        return E_FAIL;
    }
    // No position: the source itself could not be read.
    while (reason.endsWith(QLatin1Char('\n')))
        reason.chop(1);
    const QString source = QString::fromStdString(error.url);
    AfxMessageBox(IsUrl(source) ? QStringLiteral("Cannot open URL:\n%1\n%2").arg(source, reason)
                                : QStringLiteral("Cannot open %1:\n%2").arg(source, reason));
    return E_FAIL;
}
