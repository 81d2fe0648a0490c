#include "BatchMode.h"

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
    std::fprintf(stderr, "usage: pellix --convert IN OUT\n       pellix --check IN\n");
    return 64;
}

bool isEmptyLocalFile(const QString &source)
{
    return ProbeLocalFile(source) == LocalFileKind::Empty;
}

} // namespace

bool IsBatchCommand(const QStringList &arguments)
{
    return arguments.size() > 1 && (arguments.at(1) == QLatin1String("--convert") ||
                                    arguments.at(1) == QLatin1String("--check"));
}

int RunBatchMode(const QStringList &arguments)
{
    const bool convert = arguments.value(1) == QLatin1String("--convert");
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
