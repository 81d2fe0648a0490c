#pragma once

#include "NodeType.h"
#include "Resource.h"

#include <array>

// The Insert menu's five row commands and the node kind of the row each appends.
struct CInsertRowCommand {
    int nID;
    dom::NodeType nKind;
};

inline constexpr std::array<CInsertRowCommand, 5> kInsertRowCommands = {{
    {ID_INSERT_ATTRIBUTE, dom::NODE_ATTRIBUTE},
    {ID_INSERT_TEXT, dom::NODE_TEXT},
    {ID_INSERT_COMMENT, dom::NODE_COMMENT},
    {ID_INSERT_PROCESSINSTRUCTION, dom::NODE_PROCESSING_INSTRUCTION},
    {ID_INSERT_CDATASECTION, dom::NODE_CDATA_SECTION},
}};
