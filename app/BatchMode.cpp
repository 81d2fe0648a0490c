#include "BatchMode.h"

#include "BatchQueries.h"
#include "Document.h"
#include "DomFunctions.h"
#include "Loading.h"
#include "LocalFile.h"
#include "MessageBox.h"
#include "XmlWriter.h"

#include <cstdio>
#include <new>

namespace
{

void printMessage(const QString &text)
{
    QString line = text;
    while (line.endsWith(QLatin1Char('\n')))
        line.chop(1);
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
}

// Loads `source` with its messages; running out of memory is a failed load like any other.
bool loadDocument(const QString &source, dom::Document *document)
{
    try {
        *document = dom::Document::create();
        return LoadDOM(*document, source) == 0;
    } catch (const std::bad_alloc &) {
        *document = dom::Document();
        AfxMessageBox(
            QStringLiteral("Cannot open %1:\nNot enough memory to load the document.").arg(source));
        return false;
    }
}

int usage()
{
    std::fprintf(stderr, "usage: pellix --convert IN OUT\n       pellix --check IN\n"
                         "       pellix --xpath EXPR IN\n       pellix --validate SCHEMA IN\n");
    return 64;
}

bool isEmptyLocalFile(const QString &source)
{
    return ProbeLocalFile(source) == LocalFileKind::Empty;
}

} // namespace

bool IsBatchCommand(const QStringList &arguments)
{
    static const QStringList commands{"--convert", "--check", "--xpath", "--validate"};
    return arguments.size() > 1 && commands.contains(arguments.at(1));
}

int RunBatchMode(const QStringList &arguments)
{
    const QString command = arguments.value(1);
    if (command == QLatin1String("--xpath") || command == QLatin1String("--validate")) {
        if (arguments.size() != 4)
            return usage();
        return command == QLatin1String("--xpath") ? RunXPathBatch(arguments)
                                                   : RunValidateBatch(arguments);
    }
    const bool convert = command == QLatin1String("--convert");
    if (arguments.size() != (convert ? 4 : 3))
        return usage();
    const MessageBoxHandler previous = SetMessageBoxHandler(printMessage);
    const QString source = arguments.at(2);
    int status = 0;
    dom::Document document;
    // An empty file opens as a document without content, and saves as an empty file.
    if (!isEmptyLocalFile(source) && !loadDocument(source, &document)) {
        status = 1;
    } else if (HasDocumentType(document)) {
        AfxMessageBox(QString::fromLatin1(kDtdNotSupported));
    }
    if (status == 0 && convert) {
        if (const std::string message = SaveXMLFile(document, arguments.at(3)); !message.empty()) {
            printMessage(QString::fromStdString(message));
            status = 2;
        }
    }
    SetMessageBoxHandler(previous);
    return status;
}
