#pragma once

// Compares two node stores record by record: kinds, flags, names (as text), links, values.
// Two loads of one document must build the same records in the same order.

#include "NodeStore.h"

#include <string>

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
