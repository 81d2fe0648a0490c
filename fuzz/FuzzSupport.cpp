#include "FuzzSupport.h"

#include "MessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

void QuietMessages()
{
    static const bool quiet = [] {
        SetMessageBoxHandler([](const QString &) {});
        return true;
    }();
    (void)quiet;
}

std::string FirstDifference(const dom::Node &a, const dom::Node &b)
{
    // An explicit stack: fuzzed documents nest deeper than the call stack allows.
    std::vector<std::pair<dom::NodeView, dom::NodeView>> pending{{a.view(), b.view()}};
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        if (x.isNull() != y.isNull())
            return "one side has a node the other lacks after '" +
                   std::string(x ? x.nodeName() : y.nodeName()) + "'";
        if (x.isNull())
            continue;
        // The declaration is written saying UTF-8 whatever encoding it named: only its
        // version must come through.
        const bool declaration = x.nodeType() == dom::NODE_PROCESSING_INSTRUCTION &&
                                 x.nodeName() == "xml" &&
                                 x.parentNode().nodeType() == dom::NODE_DOCUMENT;
        const auto version = [](std::string_view data) { return data.substr(0, data.find(' ')); };
        if (x.nodeType() != y.nodeType() || x.nodeName() != y.nodeName() ||
            (declaration ? version(x.nodeValue()) != version(y.nodeValue())
                         : x.nodeValue() != y.nodeValue()))
            return "node '" + std::string(x.nodeName()) + "' became '" + std::string(y.nodeName()) +
                   "' (kind " + std::to_string(x.nodeType()) + " to " +
                   std::to_string(y.nodeType()) + ")";
        dom::NodeView xa = x.firstAttribute();
        dom::NodeView ya = y.firstAttribute();
        for (; xa && ya; xa = xa.nextAttribute(), ya = ya.nextAttribute()) {
            if (xa.nodeName() != ya.nodeName() || xa.nodeValue() != ya.nodeValue())
                return "attribute '" + std::string(xa.nodeName()) + "' of '" +
                       std::string(x.nodeName()) + "' changed";
        }
        if (xa.isNull() != ya.isNull())
            return "attribute count of '" + std::string(x.nodeName()) + "' changed";
        dom::NodeView xc = x.firstChild();
        dom::NodeView yc = y.firstChild();
        for (; xc || yc; xc = xc ? xc.nextSibling() : xc, yc = yc ? yc.nextSibling() : yc)
            pending.emplace_back(xc, yc);
    }
    return {};
}

void Finding(const std::string &what)
{
    std::fprintf(stderr, "FINDING: %s\n", what.c_str());
    std::abort();
}
