#include "BatchMode.h"

#include "Document.h"
#include "DomFunctions.h"
#include "Loading.h"
#include "MessageBox.h"
#include "XmlWriter.h"

#include <QFileInfo>
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
    const QFileInfo info(source);
    return info.isFile() && info.size() == 0;
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
            if (HasDocumentType(document))
                AfxMessageBox(QString::fromLatin1(kDtdNotSupported));
        }
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
