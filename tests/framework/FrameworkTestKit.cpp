#include "FrameworkTestKit.h"

#include <QAction>
#include <QMenu>

#include "CommandRouter.h"

#include <QCoreApplication>
#include <QFile>
#include <QMdiArea>
#include <QSettings>
#include <QSplitter>

CTestView::CTestView(CDocument *pDocument, QWidget *pParent)
    : QWidget(pParent), CView(this, pDocument)
{
    setFocusPolicy(Qt::StrongFocus);
}

bool CTestDoc::OnNewDocument()
{
    m_nViewsAtNew = GetViews().size();
    return CDocument::OnNewDocument();
}

bool CTestDoc::OnOpenDocument(const QString &strPathName)
{
    m_nViewsAtNew = GetViews().size();
    return m_bOpenSucceeds && CDocument::OnOpenDocument(strPathName);
}

bool CTestDoc::OnSaveDocument(const QString &strPathName)
{
    m_savedPaths << strPathName;
    if (!m_bSaveSucceeds)
        return false;
    QFile file(strPathName);
    if (!file.open(QIODevice::WriteOnly) || file.write("<saved/>") < 0)
        return false;
    SetModifiedFlag(false);
    return true;
}

QWidget *CTestFrame::OnCreateClient(const QSize &sizeClient)
{
    m_sizeAtCreate = sizeClient;
    auto *pSplitter = new QSplitter(this);
    m_pLeft = new CTestView(GetActiveDocument(), pSplitter);
    m_pRight = new CTestView(GetActiveDocument(), pSplitter);
    return pSplitter;
}

DialogScript::DialogScript()
{
    m_previousMessage = SetMessageBoxHandler([this](const QString &text) { messages << text; });
    m_previousPrompt = SetYesNoCancelHandler([this](const QString &text) {
        prompts << text;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return MessageBoxResult::Cancel;
        }
        const MessageBoxResult answer = answers.front();
        answers.pop_front();
        return answer;
    });
    m_previousFile = SetFileDialogHandler(
        [this](FileDialogMode, const QString &strInitial, const QString &strFilter) {
            fileDialogInitials << strInitial;
            fileDialogFilters << strFilter;
            if (fileNames.empty())
                return QString();
            const QString strName = fileNames.front();
            fileNames.pop_front();
            return strName;
        });
}

DialogScript::~DialogScript()
{
    SetMessageBoxHandler(std::move(m_previousMessage));
    SetYesNoCancelHandler(std::move(m_previousPrompt));
    SetFileDialogHandler(std::move(m_previousFile));
}

FrameworkTest::FrameworkTest()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    MakeApp();
}

FrameworkTest::~FrameworkTest()
{
    m_pApp.reset();
    FlushDeletes();
}

void FrameworkTest::MakeApp()
{
    m_pApp = std::make_unique<CWinApp>();
    m_pApp->SetRegistryKey(QStringLiteral("Local AppWizard-Generated Applications"));
    m_pApp->LoadStdProfileSettings(4);
    auto pTemplate = std::make_unique<CMultiDocTemplate>(
        kDocString, [] { return std::make_unique<CTestDoc>(); }, [] { return new CTestFrame; });
    m_pTemplate = pTemplate.get();
    m_pApp->AddDocTemplate(std::move(pTemplate));
    auto pMain = std::make_unique<CMDIFrameWnd>();
    pMain->SetTitle(QStringLiteral("Pellix"));
    pMain->resize(800, 600);
    // Updates run when the tests ask; a timer firing in the middle would hide missing ones.
    pMain->GetRouter()->SetIdleInterval(0);
    m_pApp->SetMainFrame(std::move(pMain));
}

void FrameworkTest::RestartApp()
{
    m_pApp.reset();
    FlushDeletes();
    MakeApp();
}

QString FrameworkTest::WriteFile(const QString &strName, const QByteArray &bytes) const
{
    const QString strPath = m_dir.filePath(strName);
    QFile file(strPath);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return strPath;
}

CTestDoc *FrameworkTest::NewDoc()
{
    return static_cast<CTestDoc *>(m_pTemplate->OpenDocumentFile(QString()));
}

CTestDoc *FrameworkTest::OpenDoc(const QString &strPath)
{
    return static_cast<CTestDoc *>(m_pApp->OpenDocumentFile(strPath));
}

CTestFrame *FrameworkTest::FrameOf(CDocument *pDoc, size_t nIndex)
{
    const std::vector<CMDIChildWnd *> frames = pDoc->GetFrames();
    return nIndex < frames.size() ? static_cast<CTestFrame *>(frames[nIndex]) : nullptr;
}

int FrameworkTest::VisibleChildCount() const
{
    int nCount = 0;
    for (QMdiSubWindow *pWindow : m_pApp->GetMainFrame()->GetMDIArea()->subWindowList())
        nCount += pWindow->isHidden() ? 0 : 1;
    return nCount;
}

void FrameworkTest::FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList MenuTexts(const QMenu *pMenu)
{
    QStringList texts;
    for (const QAction *pAction : pMenu->actions()) {
        if (pAction->isVisible())
            texts << (pAction->isSeparator() ? QStringLiteral("-") : pAction->text());
    }
    return texts;
}
