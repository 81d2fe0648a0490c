// Holds the quick parser to libxml2's load. A document it reads must be one libxml2's load reads,
// with the same records in the same order, however the source splits its bytes; a document it
// declines must leave the store as it found it.

#include "FuzzSupport.h"
#include "LoadComparison.h"
#include "NodeStore.h"
#include "QuickParser.h"
#include "SaxLoader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // White space kept or not, and how many bytes each read gives, follow from the bytes
    // themselves, so that any XML file is a seed as it stands.
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    const bool preserve = (hash & 0x100) != 0;
    const std::size_t chunk = hash % 3 == 0 ? size + 1 : 1 + hash % 97;
    const std::string text(reinterpret_cast<const char *>(data), size);

    dom::DocumentStore quick;
    quick.preserveWhiteSpace = preserve;
    std::size_t offset = 0;
    const dom::QuickParse result =
        dom::QuickParseIntoStore(quick, ChunkedReader(text, chunk, offset), text.size());
    if (result == dom::QuickParse::Stopped)
        Finding("the quick parser stopped without being asked: " + quick.parseError.reason);
    if (result == dom::QuickParse::Declined) {
        if (quick.nodeCount() != dom::DocumentStore().nodeCount() ||
            quick.at(quick.documentNode()).children.first != dom::kNoNode)
            Finding("a declined document left nodes in the store");
        return 0;
    }
    dom::DocumentStore expected;
    expected.preserveWhiteSpace = preserve;
    offset = 0;
    dom::ParseIntoStore(expected, ChunkedReader(text, text.size(), offset), text.size());
    if (expected.parseError.errorCode != 0)
        Finding("the quick parser read a document libxml2's load refuses: " +
                expected.parseError.reason);
    if (const std::string difference = StoreDifference(quick, expected); !difference.empty())
        Finding("the quick parser built other records: " + difference);
    return 0;
}
