#pragma once

#include <QString>

// One row of the grid pane: a copy of an attribute or a character-data child of the node the
// tree pane shows. Editing changes only this copy; the tree pane writes rows back into the node.
struct GridRow {
    int nKind = 2; // dom node kind: 2 attribute, 3 text, 4 CDATA section, 7 PI, 8 comment
    QString strName;
    QString strValue;
};
