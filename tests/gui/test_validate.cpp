// Edit > Validate in the running program: the schema asked for, the document as edited, the
// error list and the elements its entries select.

#include "GuiTestKit.h"

#include "ChildFrame.h"
#include "EditContext.h"
#include "PellixDoc.h"
#include "PellixTreeView.h"
#include "Resource.h"
#include "TreePath.h"
#include "ValidationErrorsDlg.h"

#include <QTreeWidget>

namespace
{

const char *const kSchema = R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:element name="catalog"><xs:complexType><xs:sequence>
    <xs:element name="record" maxOccurs="unbounded"><xs:complexType><xs:sequence>
      <xs:element name="price" type="xs:decimal"/>
    </xs:sequence><xs:attribute name="kind" use="required"/></xs:complexType></xs:element>
  </xs:sequence></xs:complexType></xs:element>
</xs:schema>)";

const std::string kCatalog = "<catalog><record kind=\"a\"><price>1</price></record>"
                             "<record><price>2</price></record></catalog>";

class ValidateTest : public PellixTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartApp());
        m_schema = WriteFile("catalog.xsd", kSchema);
    }
    // Runs Validate with `strSchema` chosen; the error list it opened, or null.
    CValidationErrorsDlg *Validate(CPellixDoc *pDoc, const QString &strSchema)
    {
        m_script.fileNames.push_back(strSchema);
        EXPECT_TRUE(Execute(ID_EDIT_VALIDATE));
        FlushDeletes();
        const auto dialogs = FrameOf(pDoc)->findChildren<CValidationErrorsDlg *>();
        return dialogs.isEmpty() ? nullptr : dialogs.last();
    }
    QString m_schema;
};

} // namespace

TEST_F(ValidateTest, ErrorsAreListedAndSelectTheirElements)
{
    EXPECT_FALSE(IsEnabled(ID_EDIT_VALIDATE));
    CPellixDoc *pDoc = OpenDoc(WriteFile("c.xml", kCatalog));
    ASSERT_NE(pDoc, nullptr);
    m_messages.clear();
    EXPECT_TRUE(IsEnabled(ID_EDIT_VALIDATE));
    CPellixTreeView *pTree = FrameOf(pDoc)->GetTreePane();

    CValidationErrorsDlg *pDialog = Validate(pDoc, m_schema);
    ASSERT_NE(pDialog, nullptr);
    EXPECT_EQ(m_script.fileDialogFilters.last().left(32), "Schemas (*.xsd *.rng *.dtd);;XML");
    EXPECT_TRUE(pDialog->isVisible() && !pDialog->isModal());
    QTreeWidget *pList = pDialog->GetList();
    ASSERT_EQ(pList->topLevelItemCount(), 1);
    QTreeWidgetItem *pError = pList->topLevelItem(0);
    EXPECT_EQ(pError->text(0), "3");
    EXPECT_TRUE(pError->text(2).contains("'kind' is required")) << pError->text(2).toStdString();
    emit pList->itemActivated(pError, 0);
    EXPECT_EQ(pTree->GetSelectedItem(), ItemAtPath(pTree, "catalog/record").GetNextSibling());
    EXPECT_TRUE(m_messages.messages().isEmpty());

    // A new validation replaces the list; an error whose element was deleted says so.
    pTree->SelectItem(ItemAtPath(pTree, "catalog/record"));
    CValidationErrorsDlg *pSecond = Validate(pDoc, m_schema);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(FrameOf(pDoc)->findChildren<CValidationErrorsDlg *>().size(), 1);
    ASSERT_TRUE(pTree->RemoveItem(ItemAtPath(pTree, "catalog/record").GetNextSibling()));
    EXPECT_FALSE(pSecond->ShowError(0));
    EXPECT_EQ(m_messages.messages(),
              QStringList{"The element of this error is no longer in the document."});
}

// The rows shown in the grid count, edited or not yet committed.
TEST_F(ValidateTest, TheDocumentIsValidatedWithTheEditsInTheGrid)
{
    CPellixDoc *pDoc = OpenDoc(WriteFile("c.xml", "<catalog><record kind=\"a\">"
                                                  "<price>1</price></record></catalog>"));
    ASSERT_NE(pDoc, nullptr);
    m_messages.clear();
    EXPECT_EQ(Validate(pDoc, m_schema), nullptr);
    EXPECT_EQ(m_messages.messages(), QStringList{"The document is valid against catalog.xsd."});

    CPellixTreeView *pTree = FrameOf(pDoc)->GetTreePane();
    pTree->SelectItem(ItemAtPath(pTree, "catalog/record/price"));
    CEditContext *pRows = FrameOf(pDoc)->GetEditContext();
    ASSERT_EQ(pRows->GetRowCount(), 2);
    ASSERT_TRUE(pRows->SetValue(0, "cheap"));
    CValidationErrorsDlg *pDialog = Validate(pDoc, m_schema);
    ASSERT_NE(pDialog, nullptr);
    ASSERT_EQ(pDialog->GetList()->topLevelItemCount(), 1);
    EXPECT_TRUE(pDialog->GetList()->topLevelItem(0)->text(2).contains("'cheap'"));
    EXPECT_TRUE(pDialog->ShowError(0));
    EXPECT_EQ(pTree->GetSelectedItem(), ItemAtPath(pTree, "catalog/record/price"));
}

TEST_F(ValidateTest, SchemasThatCannotBeUsedAreReportedAndCancelDoesNothing)
{
    CPellixDoc *pDoc = OpenDoc(WriteFile("c.xml", kCatalog));
    ASSERT_NE(pDoc, nullptr);
    m_messages.clear();
    EXPECT_EQ(Validate(pDoc, QString()), nullptr);
    EXPECT_TRUE(m_messages.messages().isEmpty());
    EXPECT_EQ(Validate(pDoc, WriteFile("broken.xsd", "<xs:schema")), nullptr);
    EXPECT_EQ(Validate(pDoc, WriteFile("schema.txt", kSchema)), nullptr);
    ASSERT_EQ(m_messages.messages().size(), 2);
    EXPECT_TRUE(m_messages.messages()[0].startsWith("Cannot read the schema"));
    EXPECT_TRUE(m_messages.messages()[1].startsWith("Cannot tell the kind of schema"));
    EXPECT_FALSE(pDoc->IsModified());
}
