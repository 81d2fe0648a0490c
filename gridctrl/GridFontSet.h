#pragma once

#include "GridListConstants.h"

#include <QFont>

// A font and its bold, italic and underlined forms, and the one a cell format's GRIDF_* flags
// choose: bold before italic before underline, else the plain font.
struct GridFontSet {
    QFont normal;
    QFont bold;
    QFont italic;
    QFont underline;

    static GridFontSet From(const QFont &font)
    {
        GridFontSet fonts{font, font, font, font};
        fonts.bold.setBold(true);
        fonts.italic.setItalic(true);
        fonts.underline.setUnderline(true);
        return fonts;
    }
    const QFont &Pick(quint32 dwFlags) const
    {
        if ((dwFlags & GRIDF_BOLD) != 0)
            return bold;
        if ((dwFlags & GRIDF_ITALIC) != 0)
            return italic;
        if ((dwFlags & GRIDF_UNDERLINE) != 0)
            return underline;
        return normal;
    }
};
