#pragma once

// What comparing two loads of one document takes: a source that splits its bytes, and a
// comparison of the two node stores, record by record (kinds, flags, names as text, links,
// values): two loads of one document must build the same records in the same order.

#include "NodeStore.h"
#include "SaxLoader.h"

#include <algorithm>
#include <cstring>
#include <string>

// Reads `text` at most `chunk` bytes a call; `offset` is where the next read starts.
inline dom::SourceRead ChunkedReader(const std::string &text, std::size_t chunk,
                                     std::size_t &offset)
{
    return [&text, chunk, &offset](char *buffer, int size) {
        const std::size_t count =
            std::min({static_cast<std::size_t>(size), chunk, text.size() - offset});
        std::memcpy(buffer, text.data() + offset, count);
        offset += count;
        return static_cast<int>(count);
    };
}

inline std::string StoreDifference(const dom::DocumentStore &a, const dom::DocumentStore &b)
{
    if (a.nodeCount() != b.nodeCount())
        return "node count " + std::to_string(a.nodeCount()) + " against " +
               std::to_string(b.nodeCount());
    for (dom::NodeIndex index = 1; index < a.nodeCount(); ++index) {
        const dom::NodeRecord &x = a.at(index);
        const dom::NodeRecord &y = b.at(index);
        const std::string where =
            "node " + std::to_string(index) + " (" + std::string(a.name(x.name)) + "): ";
        if (x.kind != y.kind || x.flags != y.flags)
            return where + "kind or flags";
        if (a.name(x.name) != b.name(y.name))
            return where + "name " + std::string(b.name(y.name));
        if (x.parent != y.parent || x.next != y.next || x.prev != y.prev)
            return where + "links";
        if (dom::HasChildList(x.kind)) {
            if (x.children.first != y.children.first ||
                x.children.firstAttribute != y.children.firstAttribute)
                return where + "children";
        } else if (a.value(x) != b.value(y)) {
            return where + "value \"" + std::string(a.value(x)) + "\" against \"" +
                   std::string(b.value(y)) + "\"";
        }
    }
    return {};
}
