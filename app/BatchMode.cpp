#include "BatchMode.h"

#include "Document.h"
#include "Loading.h"
#include "LocalFile.h"
#include "MessageBox.h"
#include "XmlWriter.h"

#include <cstdio>

namespace
{

void printMessage(const QString &text)
{
    QString line = text;
    while (line.endsWith(QLatin1Char('\n')))
        line.chop(1);
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
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
    if (!isEmptyLocalFile(source)) {
        document = dom::Document::create();
        if (LoadDOM(document, source) != 0) {
            status = 1;
        } else {
            for (dom::Node child = document.firstChild(); child; child = child.nextSibling()) {
                if (child.nodeType() == dom::NODE_DOCUMENT_TYPE)
                    AfxMessageBox(
                        QStringLiteral("DTD Reference is not supported in this version!"));
            }
        }
    }
    if (status == 0 && convert && FAILED(WriteXMLFile(document, arguments.at(3))))
        status = 2;
    SetMessageBoxHandler(previous);
    return status;
}
