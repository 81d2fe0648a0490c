#pragma once

#include <QString>
#include <QStringList>

// The program's string table. Command strings have the form "status bar prompt\ntool tip";
// a command without a tip has the prompt only.

// The string stored under `id`; an empty string when there is none.
QString LoadResString(int id);

// The status bar prompt of command `id` (the part before the first line feed); empty when
// the id has no string.
QString LoadPrompt(int id);

// The tool tip of command `id` (the part after the first line feed); empty when the string
// has no tip.
QString LoadTip(int id);

// Fields of a document string, in the order they are stored.
enum class DocStringIndex {
    windowTitle,     // unused by a multiple-document frame
    docName,         // base of new documents' titles: "Pellix1", "Pellix2", ...
    fileNewName,     // name offered by a New dialog
    filterName,      // file dialog filter text
    filterExt,       // default extension, with its dot
    regFileTypeId,   // file type id for the desktop registration
    regFileTypeName, // file type name for the desktop registration
};
inline constexpr int kDocStringFieldCount = 7;

// Splits a document string at its line feeds into exactly seven fields: fields the string
// lacks are empty, and whatever follows the seventh line feed is dropped.
QStringList SplitDocString(const QString &docString);

// One field of the document string `docString`; empty when the string lacks it.
QString DocStringField(const QString &docString, DocStringIndex index);
