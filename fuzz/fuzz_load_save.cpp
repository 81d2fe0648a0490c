// Fuzzes the loader and the writer together: whatever loads must save, load again and save
// to the same bytes, and nothing may crash or leak on any input.

#include "Document.h"
#include "MessageBox.h"
#include "XmlWriter.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool quiet = [] {
        SetMessageBoxHandler([](const QString &) {});
        return true;
    }();
    (void)quiet;
    dom::Document first = dom::Document::create();
    if (first.loadXML(std::string_view(reinterpret_cast<const char *>(data), size)) != S_OK)
        return 0;
    std::string error;
    const std::string saved = WriteXMLString(first, &error);
    if (saved.empty())
        return 0; // content the writer refuses, reported in `error`
    dom::Document second = dom::Document::create();
    if (second.loadXML(saved) != S_OK)
        std::abort(); // the writer produced a file that does not read back
    if (WriteXMLString(second) != saved)
        std::abort(); // saving twice must give the same bytes
    return 0;
}
