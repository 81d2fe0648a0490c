#include "StringTable.h"

#include "Resource.h"

#include <algorithm>
#include <iterator>

namespace
{

struct StringEntry {
    int nID;
    const char *text;
};

// Kept in ascending id order: the lookup is a binary search, and the check below turns a
// duplicate or misplaced id into a compile error.
constexpr StringEntry kStrings[] = {
    {IDR_MAINFRAME, "Pellix"},
    {IDR_PELLIXTYPE,
     "\"\nPellix\nPellix\nXML Files (*.xml)\n.xml\nPellix.Document\nXML Document\"\n"},
    {IDS_BLANK, "  "},
    {IDS_MESSAGE_TITLE, "Pellix : Message"},
    {ID_TREE_INSERTELEMENT, "Insert a new element before this one\nInsert Element"},
    {ID_TREE_INSERTCHILDELEMENT,
     "Insert a new element as the last child of this one\nInsert Child Element"},
    {ID_TREE_PASTE, "Paste the cut or copied element as the last child of this one\nPaste"},
    {ID_TREE_COPY, "Mark this element and its subtree for copying\nCopy"},
    {ID_TREE_CUT, "Mark this element and its subtree for moving\nCut"},
    {ID_TREE_RENAME, "Edit the name of this element\nRename"},
    {ID_TREE_DELETE, "Delete this element and its subtree\nDelete"},
    {ID_FILE_SAVE_ALL, "Save every changed document\nSave All"},
    {ID_TREE_EXPAND, "Expand"},
    {ID_TREE_CONTRACT, "Contract"},
    {ID_MOVE_ABOVE, "Move above"},
    {ID_CUT, "CUT"},
    {ID_COPY, "COPY"},
    {ID_PASTE, "PASTE"},
    {ID_INSERT_TEXTNODE, "Insert text"},
    {ID_TREE_EXPANDALL, "Expand All"},
    {ID_TREE_CONTRACTALL, "Contract All"},
    {ID_INSERT_ELEMENT, "Insert a new element before the current one\nInsert Element"},
    {ID_INSERT_CHILDELEMENT,
     "Insert a new element as the last child of the current one\nInsert Child Element"},
    {ID_INSERT_ATTRIBUTE, "Add an attribute row to the grid\nInsert Attribute"},
    {ID_INSERT_TEXT, "Add a text row to the grid\nInsert Text"},
    {ID_INSERT_COMMENT, "Add a comment row to the grid\nInsert Comment"},
    {ID_INSERT_CDATA, "Insert CData Section"},
    {ID_EDIT_RENAME, "Rename the selected element\nRename"},
    {ID_EDIT_DELETE, "delete"},
    {ID_FILE_OPENURL, "Open XML File From URL\nOpen URL"},
    {ID_HELP_CONTENTS, "Show the table of contents of the help\nHelp Contents"},
    {ID_INSERT_CDATASECTION, "Add a CDATA section row to the grid\nInsert CDATA Section"},
    {ID_INSERT_PROCESSINSTRUCTION,
     "Add a processing instruction row to the grid\nInsert Process Instruction"},
    {ID_EDIT_VALIDATE,
     "Check the document against an XML Schema, RELAX NG schema or DTD\nValidate"},
    {AFX_IDS_APP_TITLE, "Pellix"},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {ID_FILE_NEW, "Start a new document\nNew"},
    {ID_FILE_OPEN, "Open a document from disk\nOpen"},
    {ID_FILE_CLOSE, "Close every window of the active document\nClose"},
    {ID_FILE_SAVE, "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "Save the active document under another name\nSave As"},
    {ID_FILE_PRINT_SETUP, "Choose a printer and its options\nPrint Setup"},
    {ID_FILE_PRINT, "Print the active pane\nPrint"},
    {ID_FILE_PRINT_DIRECT, "Print the active pane with the current settings\nQuick Print"},
    {ID_FILE_PRINT_PREVIEW, "Show the printed pages on screen\nPrint Preview"},
    {ID_FILE_MRU_FILE1, "Open this document"},
    {ID_FILE_MRU_FILE2, "Open this document"},
    {ID_FILE_MRU_FILE3, "Open this document"},
    {ID_FILE_MRU_FILE4, "Open this document"},
    {ID_EDIT_COPY, "Copy the selection\nCopy"},
    {ID_EDIT_CUT, "Remove the selection and keep it for pasting\nCut"},
    {ID_EDIT_FIND, "Search the elements for a text\nFind"},
    {ID_EDIT_PASTE, "Insert what was cut or copied last\nPaste"},
    {ID_EDIT_REPLACE, "Rename the elements that match a text\nReplace"},
    {ID_EDIT_UNDO, "Take back the last change\nUndo"},
    {ID_EDIT_REDO, "Redo the last undone action\nRedo"},
    {ID_WINDOW_NEW, "Open one more window on the active document\nNew Window"},
    {ID_WINDOW_ARRANGE, "Line up the icons of minimized windows\nArrange Icons"},
    {ID_WINDOW_CASCADE, "Stack the windows so that their titles show\nCascade Windows"},
    {ID_WINDOW_TILE_HORZ, "Place the windows side by side\nTile Windows"},
    {ID_WINDOW_SPLIT, "Move the splitter bars of the active window\nSplit"},
    {ID_APP_ABOUT, "Show the program's name and version\nAbout"},
    {ID_APP_EXIT, "Quit Pellix; it asks to save changed documents\nExit"},
    {ID_HELP, "Show help on the current task\nHelp"},
    {ID_NEXT_PANE, "Move to the next pane of the window\nNext Pane"},
    {ID_PREV_PANE, "Move to the previous pane of the window\nPrevious Pane"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_VIEW_TOOLBAR, "Show or hide the tool bar\nToggle Toolbar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle Status Bar"},
    {IDS_LOADING_DOCUMENT, "Loading document..."},
    {IDS_SAVING_DOCUMENT, "Saving document..."},
    {IDS_INVALID_XMLNAME, "Invalid XML name (first char. should be a letter)"},
    {IDS_STEP_INSERT, "Insert"},
    {IDS_STEP_DELETE, "Delete"},
    {IDS_STEP_RENAME, "Rename"},
    {IDS_STEP_MOVE, "Move"},
    {IDS_STEP_EDIT, "Edit"},
    {IDS_STEP_PASTE, "Paste"},
    {IDS_STEP_CUT, "Cut"},
    {IDS_STEP_COPY, "Copy"},
    {IDS_STEP_REPLACE, "Replace"},
    {IDS_STEP_REPLACE_ALL, "Replace All"},
};

constexpr bool IdsAscending()
{
    return std::adjacent_find(std::begin(kStrings), std::end(kStrings),
                              [](const StringEntry &a, const StringEntry &b) {
                                  return a.nID >= b.nID;
                              }) == std::end(kStrings);
}
static_assert(IdsAscending(), "string ids must be unique and in ascending order");

} // namespace

QString LoadResString(int id)
{
    const auto *it =
        std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                         [](const StringEntry &entry, int value) { return entry.nID < value; });
    if (it == std::end(kStrings) || it->nID != id)
        return {};
    return QString::fromUtf8(it->text);
}

QString LoadPrompt(int id)
{
    return LoadResString(id).section(QLatin1Char('\n'), 0, 0);
}

QString LoadTip(int id)
{
    const QString text = LoadResString(id);
    const qsizetype lineFeed = text.indexOf(QLatin1Char('\n'));
    return lineFeed < 0 ? QString() : text.mid(lineFeed + 1);
}

QStringList SplitDocString(const QString &docString)
{
    QStringList fields = docString.split(QLatin1Char('\n'));
    fields.resize(kDocStringFieldCount);
    return fields;
}

QString DocStringField(const QString &docString, DocStringIndex index)
{
    return SplitDocString(docString).at(static_cast<int>(index));
}
