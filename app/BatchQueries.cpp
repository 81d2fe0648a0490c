#include "BatchQueries.h"

#include "Document.h"
#include "Loading.h"
#include "MessageBox.h"
#include "SchemaValidation.h"
#include "XPathQuery.h"

#include <algorithm>
#include <cstdio>
#include <new>

namespace
{

constexpr std::size_t kValueCharacters = 200;

void printError(const std::string &text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

// One result, one line: line ends and tabs in a value are shown as blanks.
std::string flattened(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    return text;
}

void printLine(std::string line)
{
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
}

} // namespace

int RunXPathBatch(const QStringList &arguments)
{
    const std::string expression = arguments.at(2).toStdString();
    dom::Document document;
    try {
        document = dom::Document::create();
        if (document.load(arguments.at(3).toStdString()) != 0) {
            const MessageBoxHandler previous = SetMessageBoxHandler(
                [](const QString &text) { printError(text.trimmed().toStdString()); });
            ReportParseError(document.parseError());
            SetMessageBoxHandler(previous);
            return 1;
        }
    } catch (const std::bad_alloc &) {
        printError("Cannot open " + arguments.at(3).toStdString() +
                   ":\nNot enough memory to load the document.");
        return 1;
    }
    const XPathOutcome outcome = EvaluateXPath(document, expression, [](const CXPathHit &hit) {
        printLine(hit.GetPath() + '\t' + flattened(hit.GetValue(kValueCharacters)));
    });
    std::fflush(stdout);
    if (!outcome.Succeeded()) {
        printError(outcome.error);
        return outcome.bExpressionFailed ? 3 : 1;
    }
    if (outcome.kind != XPathKind::Nodes) {
        printLine(flattened(outcome.value));
        return 0;
    }
    return outcome.nCount > 0 ? 0 : 4;
}

int RunValidateBatch(const QStringList &arguments)
{
    const ValidationReport report =
        ValidateFile(arguments.at(2).toStdString(), arguments.at(3).toStdString());
    for (const ValidationError &error : report.errors)
        printLine(std::to_string(error.nLine) + ":" + std::to_string(error.nColumn) + ": " +
                  flattened(error.message));
    std::fflush(stdout);
    switch (report.status) {
    case ValidationReport::Valid:
        return 0;
    case ValidationReport::Invalid:
        return 3;
    case ValidationReport::SourceFailed:
        printError(report.reason);
        return 1;
    case ValidationReport::SchemaFailed:
        printError(report.reason);
        return 2;
    }
    return 1;
}
