#include "ValidateCommand.h"

#include "ChildFrame.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "PellixDoc.h"
#include "PellixTreeView.h"
#include "SchemaValidation.h"
#include "ValidationErrorsDlg.h"
#include "WaitCursor.h"

#include <QFileInfo>

namespace
{

const QString kSchemaFilter = QStringLiteral("Schemas (*.xsd *.rng *.dtd);;XML Schema (*.xsd);;"
                                             "RELAX NG (*.rng);;DTD (*.dtd);;All Files (*)");

CPellixDoc *DocumentOf(const CChildFrame *pFrame)
{
    return pFrame != nullptr ? qobject_cast<CPellixDoc *>(pFrame->GetActiveDocument()) : nullptr;
}

} // namespace

bool CanValidate(const CChildFrame *pFrame)
{
    const CPellixDoc *pDoc = DocumentOf(pFrame);
    return pDoc != nullptr && !pDoc->GetXMLDocument().isNull();
}

void RunValidateCommand(CChildFrame *pFrame)
{
    CPellixDoc *pDoc = DocumentOf(pFrame);
    if (!CanValidate(pFrame))
        return;
    const QString strSchema =
        AfxPromptFileName(FileDialogMode::Open, QString(), kSchemaFilter, QString());
    if (strSchema.isEmpty())
        return;
    pDoc->CommitPendingEdits();
    ValidationReport report;
    {
        CWaitCursor wait;
        report = ValidateDocument(pDoc->GetXMLDocument(), strSchema.toStdString());
    }
    // One list per window: the last validation's.
    for (CValidationErrorsDlg *pOld : pFrame->findChildren<CValidationErrorsDlg *>())
        pOld->close();
    switch (report.status) {
    case ValidationReport::Valid:
        AfxMessageBox(QStringLiteral("The document is valid against %1.")
                          .arg(QFileInfo(strSchema).fileName()));
        break;
    case ValidationReport::Invalid: {
        auto *pDialog = new CValidationErrorsDlg(pFrame, pFrame->GetTreePane(), strSchema,
                                                 std::move(report.errors));
        pDialog->show();
        break;
    }
    default:
        AfxMessageBox(QString::fromStdString(report.reason));
        break;
    }
}
