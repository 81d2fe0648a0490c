#pragma once

#include <QStringList>

// "--xpath EXPR IN": loads IN and prints one line per node of the result on stdout, its path,
// a tab and its string value (cut to 200 characters, line ends and tabs shown as blanks); a
// result that is no node set prints its value. Returns 0 with a result, 1 when IN does not
// load (or is too large to search), 3 for an invalid expression, 4 when no node matched.
int RunXPathBatch(const QStringList &arguments);

// "--validate SCHEMA IN": validates the file IN against SCHEMA (.xsd, .rng or .dtd) and
// prints "line:column: message" per error on stdout. Returns 0 when IN is valid, 3 when it is
// not, 1 when IN cannot be read or is not well-formed, 2 when SCHEMA does not load.
int RunValidateBatch(const QStringList &arguments);
