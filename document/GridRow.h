#pragma once

#include "NodeType.h"

#include <QString>

// One row of the grid: a copy of an attribute or a character-data child of the node a window
// shows. Editing changes only this copy; the window's edit context writes rows back into the
// node when they are committed.
struct GridRow {
    // Attribute, text, CDATA section, processing instruction or comment.
    dom::NodeType nKind = dom::NODE_ATTRIBUTE;
    QString strName;
    QString strValue;
};
