// Fuzzes the commit of grid rows: random rows (kinds, names, values with any characters)
// written into an element or the document node through a window's edit context. The DOM must
// stay one Pellix can save and read back, and every row must be written, dropped by the rules
// (an empty attribute name, empty character data) or reported with its reason.

#include "Document.h"
#include "DocumentEditor.h"
#include "EditContext.h"
#include "FuzzSupport.h"
#include "XmlName.h"
#include "XmlWriter.h"

#include <cstdint>
#include <string>

namespace
{

// True when the commit may drop the row without a word.
bool DroppedByTheRules(const GridRow &row)
{
    if (row.nKind == dom::NODE_ATTRIBUTE)
        return row.strName.isEmpty();
    if (row.nKind == dom::NODE_PROCESSING_INSTRUCTION)
        return false;
    // A text of blanks stays only where white space is content (xml:space), which is the
    // commit's to say; the save and reload above hold it to what it kept.
    const std::string value = row.strValue.toStdString();
    return value.empty() || (row.nKind == dom::NODE_TEXT && dom::IsXmlWhiteSpace(value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QuietMessages();
    FuzzedDataProvider input(data, size);
    dom::Document document = dom::Document::create();
    if (document.loadXML("<?xml version=\"1.0\"?><r a=\"1\">t<c/><!--x--></r>") != S_OK)
        Finding("the base document does not load");
    CDocumentEditor editor;
    CEditContext context(&editor, nullptr);
    const dom::Node target = input.ConsumeBool() ? dom::Node(document) : document.documentElement();
    context.Fill(target);
    for (int n = input.ConsumeIntegralInRange(0, 8); n > 0 && input.remaining_bytes() > 0; --n) {
        GridRow row;
        row.nKind = FuzzedRowKind(input);
        row.strName = FuzzedText(input);
        row.strValue = FuzzedText(input);
        context.InsertRow(input.ConsumeIntegralInRange(0, context.GetRowCount()), row);
    }
    if (!context.AreRowsEdited())
        return 0;
    std::vector<GridRow> rows;
    for (int i = 0; i < context.GetRowCount(); ++i)
        rows.push_back(*context.GetRow(i));
    const std::optional<CRowsCommit> result = context.Commit();
    if (!result)
        Finding("edited rows were not committed");

    std::string error;
    const std::string saved = WriteXMLString(document, &error);
    if (!error.empty())
        Finding("the commit left a document that cannot be saved: " + error);
    dom::Document again = dom::Document::create();
    if (again.loadXML(saved) != S_OK)
        Finding("the saved file does not load: " + again.parseError().reason);

    // Each row is in the node, dropped by the rules, or refused with a reason.
    std::size_t refused = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool bRefused = refused < result->refused.size() &&
                              result->refused[refused].nRow == static_cast<int>(i);
        if (bRefused) {
            if (result->refused[refused].strReason.isEmpty())
                Finding("a row was refused without a reason");
            ++refused;
            continue;
        }
        if (DroppedByTheRules(rows[i]))
            continue;
        const std::string name = rows[i].strName.toStdString();
        const std::string value = ReadBackData(rows[i].nKind, name, rows[i].strValue.toStdString());
        bool found = false;
        if (rows[i].nKind == dom::NODE_ATTRIBUTE) {
            std::string stored;
            found = target.getAttribute(name, &stored) == S_OK && stored == value;
        } else {
            for (dom::Node child = target.firstChild(); child && !found;
                 child = child.nextSibling())
                found = child.nodeType() == rows[i].nKind && child.nodeValue() == value;
        }
        // A later attribute row of the same name may have replaced this one's value.
        if (!found && rows[i].nKind != dom::NODE_ATTRIBUTE)
            Finding("row " + std::to_string(i) + " vanished without a report");
    }
    if (refused != result->refused.size())
        Finding("refused rows are out of order");
    return 0;
}
