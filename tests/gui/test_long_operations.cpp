// Long loads and saves show their progress and can be cancelled, leaving the windows and the
// files as they were before the command.

#include "GuiTestKit.h"

#include "DocumentEditor.h"
#include "LongOperation.h"
#include "OpenURLDlg.h"
#include "PellixDoc.h"
#include "Resource.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QProgressDialog>
#include <QTest>
#include <QThread>
#include <QUrl>

namespace
{

// Stops every long command whose label is `strLabel` at its first step; counts the steps seen.
class CancelFirstStep
{
public:
    explicit CancelFirstStep(QString strLabel)
    {
        m_previous = SetLongOperationHandler(
            [this, strLabel](const QString &strSeen, std::uint64_t, std::uint64_t) {
                ++steps;
                return strSeen != strLabel;
            });
    }
    ~CancelFirstStep() { SetLongOperationHandler(m_previous); }
    CancelFirstStep(const CancelFirstStep &) = delete;
    CancelFirstStep &operator=(const CancelFirstStep &) = delete;

    int steps = 0;

private:
    LongOperationHandler m_previous;
};

const QString kLoading = QStringLiteral("Loading document...");
const QString kSaving = QStringLiteral("Saving document...");

QProgressDialog *ShownProgressDialog()
{
    for (QWidget *pWidget : QApplication::topLevelWidgets()) {
        if (auto *pDialog = qobject_cast<QProgressDialog *>(pWidget);
            pDialog && pDialog->isVisible())
            return pDialog;
    }
    return nullptr;
}

} // namespace

using LongOperations = PellixTest;

TEST_F(LongOperations, ACancelledOpenLeavesNoWindowAndNoMessage)
{
    ASSERT_TRUE(StartApp());
    const QString strPath = WriteFile("big.xml", "<root><a/><b/></root>");
    {
        CancelFirstStep cancel(kLoading);
        EXPECT_EQ(OpenDoc(strPath), nullptr);
        EXPECT_GE(cancel.steps, 1);
    }
    FlushDeletes();
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(VisibleChildCount(), 0);
    EXPECT_TRUE(m_messages.messages().isEmpty());

    // The same from Open URL: no window stays behind.
    {
        CancelFirstStep cancel(kLoading);
        COpenURLDlg dialog(&Main());
        dialog.show();
        dialog.GetURLCombo()->setEditText(QUrl::fromLocalFile(strPath).toString());
        dialog.accept();
    }
    FlushDeletes();
    EXPECT_TRUE(Documents().empty());
    EXPECT_TRUE(m_messages.messages().isEmpty());

    // Not cancelled, the same file opens as usual.
    CPellixDoc *pDoc = OpenDoc(strPath);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->GetXMLDocument().documentElement().nodeName(), "root");
}

TEST_F(LongOperations, ACancelledSaveKeepsTheFileAndTheChanges)
{
    ASSERT_TRUE(StartApp());
    const std::string original = "<root><a/></root>";
    const QString strPath = WriteFile("kept.xml", original);
    CPellixDoc *pDoc = OpenDoc(strPath);
    ASSERT_NE(pDoc, nullptr);
    const dom::Node root = pDoc->GetXMLDocument().documentElement();
    ASSERT_EQ(
        pDoc->GetEditor()->InsertNode(root, root.ownerDocument().createElement("b"), dom::Node()),
        S_OK);
    ASSERT_TRUE(pDoc->IsModified());
    m_messages.clear();
    {
        CancelFirstStep cancel(kSaving);
        Execute(ID_FILE_SAVE);
        EXPECT_GE(cancel.steps, 1);
    }
    EXPECT_EQ(ReadBytes(strPath.toStdString()), original);
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_TRUE(m_messages.messages().isEmpty());
    // No temporary file stays beside it.
    EXPECT_EQ(QDir(QFileInfo(strPath).absolutePath()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"kept.xml"});

    Execute(ID_FILE_SAVE);
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_NE(ReadBytes(strPath.toStdString()).find("<b>"), std::string::npos);
}

// Without a handler: nothing shows for the first half second; then a modal dialog does, and
// Escape on it stops the command at its next step.
TEST_F(LongOperations, TheDialogShowsAfterHalfASecondAndEscapeCancels)
{
    ASSERT_TRUE(StartApp());
    CLongOperation operation(kLoading);
    EXPECT_TRUE(operation.Step(0, 100));
    EXPECT_EQ(ShownProgressDialog(), nullptr);
    QThread::msleep(CLongOperation::kShowAfterMilliseconds + 50);
    EXPECT_TRUE(operation.Step(40, 100));
    QProgressDialog *pDialog = ShownProgressDialog();
    ASSERT_NE(pDialog, nullptr);
    EXPECT_EQ(pDialog->labelText(), kLoading);
    EXPECT_EQ(pDialog->value(), 400);
    EXPECT_EQ(pDialog->windowModality(), Qt::ApplicationModal);

    // The dialog gone with a window is no request to stop: it comes again.
    delete pDialog;
    QThread::msleep(CLongOperation::kUpdateMilliseconds + 10);
    EXPECT_TRUE(operation.Step(45, 100));
    pDialog = ShownProgressDialog();
    ASSERT_NE(pDialog, nullptr);
    EXPECT_EQ(pDialog->parentWidget(), &Main());

    QTest::keyClick(pDialog, Qt::Key_Escape);
    QThread::msleep(CLongOperation::kUpdateMilliseconds + 10);
    EXPECT_FALSE(operation.Step(50, 100));
    EXPECT_TRUE(operation.IsCancelled());
    EXPECT_FALSE(operation.Step(60, 100));
}
