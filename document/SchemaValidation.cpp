#include "SchemaValidation.h"

#include "ElementLocator.h"
#include "LibxmlErrorScope.h"
#include "LocalFile.h"
#include "XmlWriter.h"

#include <libxml/parser.h>
#include <libxml/relaxng.h>
#include <libxml/valid.h>
#include <libxml/xmlIO.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlschemas.h>

#include <QString>
#include <algorithm>
#include <climits>
#include <memory>
#include <tuple>
#include <unordered_map>

namespace
{

// For its lifetime libxml2 reads what a schema or document refers to only from local files.
class CLocalOnlyLoader
{
public:
    CLocalOnlyLoader() : m_previous(xmlGetExternalEntityLoader())
    {
        xmlSetExternalEntityLoader(xmlNoNetExternalEntityLoader);
    }
    ~CLocalOnlyLoader() { xmlSetExternalEntityLoader(m_previous); }
    CLocalOnlyLoader(const CLocalOnlyLoader &) = delete;
    CLocalOnlyLoader &operator=(const CLocalOnlyLoader &) = delete;

private:
    xmlExternalEntityLoader m_previous;
};

// An error as libxml2 reported it. `pNode` is kept only where the tree outlives the report.
struct RawError {
    long nLine;
    long nColumn;
    std::string message;
    const xmlNode *pNode;
};

// Gathers what libxml2 reports: fatal errors (the input cannot be read) apart from the others.
// Warnings are left out.
struct CErrorCollector {
    std::string fatal;
    std::vector<RawError> errors;
    bool bKeepNodes = false;

    static void Collect(void *pData, xmlError *pError)
    {
        auto *pSelf = static_cast<CErrorCollector *>(pData);
        if (pError == nullptr || pError->level == XML_ERR_WARNING || pError->level == XML_ERR_NONE)
            return;
        std::string message = pError->message != nullptr ? pError->message : "";
        while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
            message.pop_back();
        if (pError->level == XML_ERR_FATAL) {
            if (pSelf->fatal.empty()) {
                pSelf->fatal = pError->line > 0
                                   ? "line " + std::to_string(pError->line) + ", column " +
                                         std::to_string(pError->int2) + ": " + message
                                   : message;
            }
            return;
        }
        pSelf->errors.push_back(
            {pError->line, pError->int2, std::move(message),
             pSelf->bKeepNodes ? static_cast<const xmlNode *>(pError->node) : nullptr});
    }
    // Everything reported, a line each, for a schema that did not load.
    std::string Summary() const
    {
        std::string text = fatal;
        for (const RawError &error : errors)
            text += (text.empty() ? "" : "\n") + error.message;
        return text;
    }
};

struct SchemaFree {
    void operator()(xmlSchema *p) const { xmlSchemaFree(p); }
    void operator()(xmlRelaxNG *p) const { xmlRelaxNGFree(p); }
    void operator()(xmlDtd *p) const { xmlFreeDtd(p); }
    void operator()(xmlDoc *p) const { xmlFreeDoc(p); }
    void operator()(xmlTextReader *p) const { xmlFreeTextReader(p); }
    void operator()(xmlValidCtxt *p) const { xmlFreeValidCtxt(p); }
    void operator()(xmlSchemaParserCtxt *p) const { xmlSchemaFreeParserCtxt(p); }
    void operator()(xmlRelaxNGParserCtxt *p) const { xmlRelaxNGFreeParserCtxt(p); }
};
template <typename T> using Owned = std::unique_ptr<T, SchemaFree>;

// Why a local file cannot be read, or "" when it can be tried.
std::string UnreadableReason(const std::string &path)
{
    switch (ProbeLocalFile(QString::fromStdString(path))) {
    case LocalFileKind::Unreadable:
        return "Cannot open " + path + ":\nThe file does not exist or cannot be read.";
    case LocalFileKind::NotRegular:
        return NotRegularFileMessage(QString::fromStdString(path)).toStdString();
    default:
        return {};
    }
}

// A schema of one of the three kinds, loaded from a file.
class CSchema
{
public:
    // False, with *pReason set, when the file is no schema of its kind or cannot be read.
    bool Load(SchemaKind kind, const std::string &path, std::string *pReason)
    {
        m_kind = kind;
        if (kind == SchemaKind::Unknown) {
            *pReason = "Cannot tell the kind of schema of " + path +
                       ": choose an XML Schema (.xsd), RELAX NG (.rng) or DTD (.dtd) file.";
            return false;
        }
        if (std::string reason = UnreadableReason(path); !reason.empty()) {
            *pReason = std::move(reason);
            return false;
        }
        CLocalOnlyLoader loader;
        CErrorCollector collector;
        CLibxmlErrorScope errorScope(&collector, CErrorCollector::Collect);
        const bool bLoaded = kind == SchemaKind::Xsd       ? LoadXsd(path, &collector)
                             : kind == SchemaKind::RelaxNg ? LoadRng(path, &collector)
                                                           : LoadDtd(path);
        if (!bLoaded) {
            const std::string summary = collector.Summary();
            *pReason = "Cannot read the schema " + path + ":\n" +
                       (summary.empty() ? std::string("It holds no schema of its kind.") : summary);
        }
        return bLoaded;
    }

    SchemaKind Kind() const { return m_kind; }
    xmlSchema *Xsd() const { return m_pXsd.get(); }
    xmlRelaxNG *Rng() const { return m_pRng.get(); }
    xmlDtd *Dtd() const { return m_pDtd.get(); }

private:
    bool LoadXsd(const std::string &path, CErrorCollector *pCollector)
    {
        const Owned<xmlSchemaParserCtxt> pContext(xmlSchemaNewParserCtxt(path.c_str()));
        if (pContext == nullptr)
            return false;
        xmlSchemaSetParserStructuredErrors(pContext.get(), CErrorCollector::Collect, pCollector);
        m_pXsd.reset(xmlSchemaParse(pContext.get()));
        return m_pXsd != nullptr;
    }
    bool LoadRng(const std::string &path, CErrorCollector *pCollector)
    {
        const Owned<xmlRelaxNGParserCtxt> pContext(xmlRelaxNGNewParserCtxt(path.c_str()));
        if (pContext == nullptr)
            return false;
        xmlRelaxNGSetParserStructuredErrors(pContext.get(), CErrorCollector::Collect, pCollector);
        m_pRng.reset(xmlRelaxNGParse(pContext.get()));
        return m_pRng != nullptr;
    }
    bool LoadDtd(const std::string &path)
    {
        m_pDtd.reset(xmlParseDTD(nullptr, reinterpret_cast<const xmlChar *>(path.c_str())));
        return m_pDtd != nullptr;
    }

    SchemaKind m_kind = SchemaKind::Unknown;
    Owned<xmlSchema> m_pXsd;
    Owned<xmlRelaxNG> m_pRng;
    Owned<xmlDtd> m_pDtd;
};

// What one validation found, before its errors are tied to elements.
struct RawReport {
    ValidationReport::Status status = ValidationReport::Valid;
    std::string reason;
    std::vector<RawError> errors;
    // The tree a DTD was checked on, which the errors' nodes belong to.
    Owned<xmlDoc> pTree;
};

void Finish(CErrorCollector &collector, bool bRead, RawReport *pReport)
{
    if (!bRead || !collector.fatal.empty()) {
        pReport->status = ValidationReport::SourceFailed;
        pReport->reason =
            collector.fatal.empty() ? "The document cannot be read." : collector.fatal;
        return;
    }
    pReport->errors = std::move(collector.errors);
    pReport->status = pReport->errors.empty() ? ValidationReport::Valid : ValidationReport::Invalid;
}

// XSD and RELAX NG: libxml2's reader validates as it reads. `pReader` is null when the source
// could not be opened.
void ValidateStream(const CSchema &schema, xmlTextReader *pReader, RawReport *pReport)
{
    CErrorCollector collector;
    const Owned<xmlTextReader> reader(pReader);
    if (reader == nullptr) {
        Finish(collector, false, pReport);
        return;
    }
    CLibxmlErrorScope errorScope(&collector, CErrorCollector::Collect);
    // The handler first: the reader hands it on to the validation context it makes.
    xmlTextReaderSetStructuredErrorHandler(reader.get(), CErrorCollector::Collect, &collector);
    const int nSet = schema.Kind() == SchemaKind::Xsd
                         ? xmlTextReaderSetSchema(reader.get(), schema.Xsd())
                         : xmlTextReaderRelaxNGSetSchema(reader.get(), schema.Rng());
    if (nSet != 0) {
        pReport->status = ValidationReport::SchemaFailed;
        pReport->reason = "The schema cannot be used for validation.";
        return;
    }
    int nRead = 0;
    while ((nRead = xmlTextReaderRead(reader.get())) == 1) {
    }
    if (nRead == 0 && collector.errors.empty() && xmlTextReaderIsValid(reader.get()) == 0)
        collector.errors.push_back({0, 0, "The document does not follow the schema.", nullptr});
    Finish(collector, nRead == 0, pReport);
}

// A DTD given apart from the document: libxml2 checks it on a tree only.
void ValidateTree(const CSchema &schema, Owned<xmlDoc> pTree, CErrorCollector &collector,
                  RawReport *pReport)
{
    if (pTree == nullptr) {
        Finish(collector, false, pReport);
        return;
    }
    collector.bKeepNodes = true;
    {
        CLibxmlErrorScope errorScope(&collector, CErrorCollector::Collect);
        const Owned<xmlValidCtxt> pContext(xmlNewValidCtxt());
        if (pContext == nullptr ||
            (xmlValidateDtd(pContext.get(), pTree.get(), schema.Dtd()) == 0 &&
             collector.errors.empty()))
            collector.errors.push_back({0, 0, "The document does not follow the DTD.", nullptr});
    }
    pReport->pTree = std::move(pTree);
    Finish(collector, true, pReport);
}

constexpr int kFileOptions = XML_PARSE_NONET | XML_PARSE_BIG_LINES;
// The writer's own text: large text nodes are real content, and it holds no entity
// references to expand.
constexpr int kWrittenOptions = XML_PARSE_NONET | XML_PARSE_HUGE | XML_PARSE_BIG_LINES;

RawReport Validate(const CSchema &schema, const std::string &sourcePath, std::string_view text)
{
    RawReport report;
    CLocalOnlyLoader loader;
    const bool bFile = !sourcePath.empty();
    if (!bFile && text.size() > static_cast<std::size_t>(INT_MAX)) {
        report.status = ValidationReport::SourceFailed;
        report.reason = "The document is too large to validate (more than 2 GB as text).";
        return report;
    }
    const int nSize = static_cast<int>(text.size());
    if (schema.Kind() != SchemaKind::Dtd) {
        ValidateStream(
            schema,
            bFile ? xmlReaderForFile(sourcePath.c_str(), nullptr, kFileOptions)
                  : xmlReaderForMemory(text.data(), nSize, nullptr, nullptr, kWrittenOptions),
            &report);
        return report;
    }
    CErrorCollector collector;
    Owned<xmlDoc> pTree;
    {
        CLibxmlErrorScope errorScope(&collector, CErrorCollector::Collect);
        pTree.reset(bFile ? xmlReadFile(sourcePath.c_str(), nullptr, kFileOptions)
                          : xmlReadMemory(text.data(), nSize, nullptr, nullptr, kWrittenOptions));
    }
    ValidateTree(schema, std::move(pTree), collector, &report);
    return report;
}

// The index in document order of the element each error's node is or lies in, found in one
// walk of the tree; npos for errors without a node.
std::vector<std::size_t> TreeElementIndices(const RawReport &report)
{
    std::unordered_map<const xmlNode *, std::size_t> wanted;
    for (const RawError &error : report.errors) {
        const xmlNode *pNode = error.pNode;
        while (pNode != nullptr && pNode->type != XML_ELEMENT_NODE)
            pNode = pNode->parent;
        if (pNode != nullptr)
            wanted.emplace(pNode, CElementLocator::npos);
    }
    std::size_t nIndex = 0;
    std::size_t nLeft = wanted.size();
    for (const xmlNode *pNode = xmlDocGetRootElement(report.pTree.get());
         pNode != nullptr && nLeft > 0;) {
        if (pNode->type == XML_ELEMENT_NODE) {
            if (auto found = wanted.find(pNode); found != wanted.end()) {
                found->second = nIndex;
                --nLeft;
            }
            ++nIndex;
            if (pNode->children != nullptr) {
                pNode = pNode->children;
                continue;
            }
        }
        while (pNode != nullptr && pNode->next == nullptr)
            pNode = pNode->parent;
        if (pNode != nullptr)
            pNode = pNode->next;
    }
    std::vector<std::size_t> indices;
    for (const RawError &error : report.errors) {
        const xmlNode *pNode = error.pNode;
        while (pNode != nullptr && pNode->type != XML_ELEMENT_NODE)
            pNode = pNode->parent;
        indices.push_back(pNode != nullptr ? wanted[pNode] : CElementLocator::npos);
    }
    return indices;
}

ValidationReport ToReport(RawReport raw)
{
    ValidationReport report;
    report.status = raw.status;
    report.reason = std::move(raw.reason);
    for (RawError &error : raw.errors)
        report.errors.push_back({error.nLine, error.nColumn, std::move(error.message), {}});
    return report;
}

} // namespace

SchemaKind SchemaKindOf(std::string_view path)
{
    const std::size_t nDot = path.rfind('.');
    if (nDot == std::string_view::npos || path.find('/', nDot) != std::string_view::npos)
        return SchemaKind::Unknown;
    const QString extension =
        QString::fromUtf8(path.data() + nDot + 1, static_cast<qsizetype>(path.size() - nDot - 1))
            .toLower();
    if (extension == QLatin1String("xsd"))
        return SchemaKind::Xsd;
    if (extension == QLatin1String("rng"))
        return SchemaKind::RelaxNg;
    if (extension == QLatin1String("dtd"))
        return SchemaKind::Dtd;
    return SchemaKind::Unknown;
}

ValidationReport ValidateFile(const std::string &schemaPath, const std::string &sourcePath)
{
    ValidationReport report;
    CSchema schema;
    if (!schema.Load(SchemaKindOf(schemaPath), schemaPath, &report.reason)) {
        report.status = ValidationReport::SchemaFailed;
        return report;
    }
    if (std::string reason = UnreadableReason(sourcePath); !reason.empty()) {
        report.status = ValidationReport::SourceFailed;
        report.reason = std::move(reason);
        return report;
    }
    return ToReport(Validate(schema, sourcePath, {}));
}

ValidationReport ValidateDocument(const dom::Document &document, const std::string &schemaPath)
{
    ValidationReport report;
    CSchema schema;
    if (!schema.Load(SchemaKindOf(schemaPath), schemaPath, &report.reason)) {
        report.status = ValidationReport::SchemaFailed;
        return report;
    }
    if (document.isNull() || document.documentElement().isNull()) {
        report.status = ValidationReport::SourceFailed;
        report.reason = "The document has no element to validate.";
        return report;
    }
    XmlSink sink;
    std::vector<std::size_t> starts;
    // An upper bound: pages of it that no element fills are never touched.
    starts.reserve(document.nodeCount());
    sink.setElementStarts(&starts);
    if (!WriteXMLNode(document, sink, 0)) {
        report.status = ValidationReport::SourceFailed;
        report.reason = sink.error();
        return report;
    }
    RawReport raw = Validate(schema, {}, sink.text());
    const CElementLocator locator(sink.text(), std::move(starts));
    std::vector<std::size_t> indices;
    if (schema.Kind() == SchemaKind::Dtd) {
        indices = TreeElementIndices(raw);
    } else {
        for (const RawError &error : raw.errors)
            indices.push_back(locator.ElementFor(error.nLine, error.nColumn,
                                                 CElementLocator::NamedElement(error.message)));
    }
    // Nodes are found in one walk: ask for them in document order.
    std::vector<std::size_t> order(indices.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return indices[a] < indices[b]; });
    std::vector<std::size_t> sorted;
    for (const std::size_t i : order)
        sorted.push_back(indices[i]);
    const std::vector<dom::Node> nodes = CElementLocator::NodesAt(document, sorted);
    const bool bTree = schema.Kind() == SchemaKind::Dtd;
    raw.pTree.reset();
    report = ToReport(std::move(raw));
    for (std::size_t k = 0; k < order.size(); ++k) {
        ValidationError &error = report.errors[order[k]];
        const std::size_t nIndex = sorted[k];
        if (bTree) {
            error.element = nodes[k];
            if (nIndex != CElementLocator::npos)
                std::tie(error.nLine, error.nColumn) = locator.PositionOf(nIndex);
        } else {
            error.element =
                CElementLocator::Refine(nodes[k], CElementLocator::NamedElement(error.message));
            // libxml2's reader gives no column: the element's own start tag on the line does.
            const auto [nLine, nColumn] = locator.PositionOf(nIndex);
            if (error.nColumn == 0 && error.element == nodes[k] && nLine == error.nLine)
                error.nColumn = nColumn;
        }
    }
    return report;
}
