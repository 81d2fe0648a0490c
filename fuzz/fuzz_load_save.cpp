// Fuzzes the loader and the writer together. Whatever loads must save (Pellix never holds a
// document it cannot write), the file must load again to the same tree, and saving that must
// give the same bytes. Nothing may crash or leak on any input.

#include "Document.h"
#include "FuzzSupport.h"
#include "XmlWriter.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QuietMessages();
    dom::Document first = dom::Document::create();
    if (first.loadXML(std::string_view(reinterpret_cast<const char *>(data), size)) != S_OK)
        return 0;
    std::string error;
    const std::string saved = WriteXMLString(first, &error);
    if (!error.empty())
        Finding("a loaded document cannot be saved: " + error);
    dom::Document second = dom::Document::create();
    if (second.loadXML(saved) != S_OK)
        Finding("the saved file does not load: " + second.parseError().reason);
    if (const std::string difference = FirstDifference(first, second); !difference.empty())
        Finding("the saved file loads to another tree: " + difference);
    if (WriteXMLString(second) != saved)
        Finding("saving twice gives other bytes");
    return 0;
}
